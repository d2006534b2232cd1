#include "game/SpyGame/Rooms/Puzzles/cCapOJoePuzzleRoom.h"
#include "WordsRoomKit.h"
#include "game/SpyGame/CInventory.h"
#include "tk2v/platform/Random.h"

#include <algorithm>

namespace {

using Names = std::vector<std::string>;

constexpr u8 KEY_C = 46, KEY_O = 24, KEY_F = 33, KEY_E = 18, KEY_X = 45;

struct MachineProbe : cCapOJoePuzzleRoom {
    using cCapOJoePuzzleRoom::m_Board;
    using cCapOJoePuzzleRoom::m_bSolutionMode;
    using cCapOJoePuzzleRoom::m_bWon;
    using cCapOJoePuzzleRoom::m_CoinPool;
    using cCapOJoePuzzleRoom::m_CurrentTest;
    using cCapOJoePuzzleRoom::m_FoundSinceBonus;
    using cCapOJoePuzzleRoom::m_LampItems;
    using cCapOJoePuzzleRoom::m_LettersToPick;
    using cCapOJoePuzzleRoom::m_MessageMenu;
    using cCapOJoePuzzleRoom::m_pRollingCoin;
    using cCapOJoePuzzleRoom::m_SolutionMenu;
    using cCapOJoePuzzleRoom::m_Tests;
    using cCapOJoePuzzleRoom::m_Timer;
    using cCapOJoePuzzleRoom::StartTest;
};

// Where the machine's things stand (20 x 20 pictures unless sized below).
struct Thing {
    const char* item;
    int x, y;
    bool visible;
};
const Thing kThings[] = {
    {"MONEY_HOLE_LEFT", 150, 250, true},
    {"MONEY_HOLE", 170, 250, true},
    {"MONEY_HOLE_RIGHT", 190, 250, true},
    {"TICKET", 300, 250, false},
    {"TICKET_HOLE", 300, 250, true},
    {"SOLVE", 350, 200, true},
    {"SOLVE_PUSHED", 350, 200, false},
    {"SOLVE_DISABLED", 350, 200, true},
    {"ENTER_TOKEN", 170, 230, true},
    {"ENTER_TOKEN_SL1", 120, 230, true},
    {"ENTER_TOKEN_SL2", 120, 250, true},
    {"ENTER_TOKEN_SL3", 120, 270, true},
    {"ENTER_TOKEN_SR1", 220, 230, true},
    {"ENTER_TOKEN_SR2", 220, 250, true},
    {"ENTER_TOKEN_SR3", 220, 270, true},
    {"DISABLED_SCREEN", 0, 280, true},
    {"TEXT_BUY_A_LETTER", 20, 280, true},
    {"TEXT_WORDS", 40, 280, true},
    {"TEXT_COMMON_THEME", 60, 280, true},
    {"MAINWINDOW_CAPTION", 80, 280, true},
    {"INPUT_MESSAGE", 100, 200, false},
    {"INPUT_STAR1", 100, 200, false},
    {"INPUT_STAR2", 120, 200, false},
    {"INPUT_CAPTION", 140, 200, false},
    {"INPUT_CAPTION1", 160, 200, false},
    {"BTN_CANCEL", 100, 220, false},
    {"BTN_CANCEL_PRESSED", 100, 220, false},
    {"BTN_ENTER_SOLUTION", 140, 220, false},
    {"BTN_ENTER_SOLUTION_PRESSED", 140, 220, false},
    {"BTN_CONCEDE_GAME", 100, 220, false},
    {"BTN_CONCEDE_GAME_PRESSED", 100, 220, false},
    {"MESSAGE_MENU", 250, 150, false},
    {"TEXT_TOKEN_BONUS", 250, 150, false},
    {"TEXT_5_FREE_LETTERS", 250, 150, false},
    {"TEXT_OUT_OF_TOKENS", 250, 150, false},
    {"LIGHT", 0, 0, true},
};

// The word machine of two games at scale 0.9 of the 10 x 16 test font: cells stand 10.08 apart
// and are 9.36 x 17.28 pixels from their corner. Game 1 is "CUP TEA MILK BEAN MUG SUGAR" on the
// theme "COFFEE", game 2 another; the theme's line is at (20, 110), typed at (20, 200); the letters
// for sale, "ABCEFGIKLMNOPRSTUZ", at (20, 160). A shuffle of 0.3 s in 2 ticks ends on game 1; two
// letters show for free; every 3 letters found pay a coin.
class Machine : public WordsRoomTest<MachineProbe> {
protected:
    static constexpr const char* Row = "ABCEFGIKLMNOPRSTUZ";

    void SetUp() override {
        for (const char* sound :
             {"cupojoe_solve", "cupojoe_token_putting", "cupojoe_true_char", "cupojoe_close_msg",
              "cupojoe_lost", "cupojoe_won", "cupojoe_token_bonus", "cupojoe_out_of_tockens",
              "cupojoe_shuffling_letters", "cupojoe_5_free_letters", "cupojoe_type_letter"})
            addSound(sound);
        dir.write("Font_CapOJoe.ini", dir.read("text.fnt"));
        aFileServer::getInstance()->setAssign("fonts", dir.path());
        dir.write(std::string("lang/Investigations/Demo/") + Name + "/room.txt", texts);
        platform::srand(11);
        std::string objectsIni =
            "[count]\nClass = text\nFont = text\nX = 300\nY = 10\nWidth = 90\nHeight = 16\n";
        std::string itemsIni = "[COUNT_INFO]\nObject = count\n";
        std::vector<Spot> spots;
        for (const Thing& t : kThings) {
            std::string object = t.item;
            std::transform(object.begin(), object.end(), object.begin(), ::tolower);
            objectsIni += objects({{object.c_str(), t.x, t.y}});
            itemsIni += std::string("[") + t.item + "]\nObject = " + object + "\n" +
                        (t.visible ? "" : "Visible = 0\n");
        }
        // The coins paid out are taken like any quest item.
        objectsIni += objects({{"money1", 0, 0}});
        itemsIni += "[MONEY1]\nObject = money1\nVisible = 0\nIsQuestItem = 1\n";
        std::string script = "[ROOM]\n[TICKET]\nUseTo = NONE\n";
        for (int i = 1; i <= 29; ++i)
            script += "[MONEY" + std::to_string(i) + "]\nUseTo = " + Name + ":MONEY_HOLE\n";
        open(ini, objectsIni, itemsIni, objects({{"token1", 10, 10}, {"token2", 40, 10}, {"cup", 70, 10}}),
             "[TOKEN1]\nObject = token1\nIsQuestItem = 1\n[TOKEN2]\nObject = token2\nIsQuestItem = 1\n"
             "[CUP]\nObject = cup\nIsQuestItem = 1\n",
             script);
        ann->GetInventory().AddItem(&hallItem("TOKEN1"));
        ann->GetInventory().AddItem(&hallItem("TOKEN2"));
    }

    // The shuffle played out and its message box closed.
    void shuffle() {
        for (int i = 0; i < 10 && room->m_Timer.IsRunning(); ++i)
            frame(5, 5);
        ASSERT_TRUE(room->m_MessageMenu.IsVisible());
        clickAt(5, 5);
        frame(5, 5);
    }
    // The token taken from the strip and dropped on the slot, then rolled in.
    void dropToken(const std::string& name = "TOKEN1") {
        inventory().RemoveItem(name);
        room->SetItemOnCursor(&hallItem(name), nullptr);
        frame(175, 252);
        clickAt(175, 252);
        for (int i = 0; i < 30 && room->m_pRollingCoin; ++i)
            frame(5, 5);
    }
    i32 rowCell(char letter) {
        room->m_Board.SelectLine("chars");
        return room->m_Board.FindChar(letter);
    }
    // A press of its own: the button comes up in the next frame.
    void click(i32 x, i32 y) {
        frame(x, y);
        clickAt(x, y);
        frame(x, y);
    }
    void buy(char letter) { click(24 + i32(f32(rowCell(letter)) * 10.08f), 165); }
    void typeTheme(const u8 (&keys)[6]) {
        room->m_Board.SelectLine("THEME");
        for (i32 i = 0; i < 6; ++i)
            if (room->m_Board.GetCellState(i) == cLetterBoard::Open) {
                click(24 + i32(f32(i) * 10.08f), 205);
                frame(5, 5, {.taps = {keys[i]}});
            }
    }
    std::string line(const std::string& name) { return room->m_Board.GetLineText(name); }
    Names machineSounds() {
        Names names = started();
        std::erase_if(names, [](const std::string& n) { return !n.starts_with("cupojoe"); });
        return names;
    }

    std::string ini =
        "[GroupNames]\nNames = W1, W2, W3, W4, W5, W6, THEME\nchars = CHARS\nOpenAtStartChars = 2\n"
        "wordsx = 20\nwordsdx = 200\nwordsy = 20, 50, 80, 110, 160\n"
        "[Test1]\nW1 = A1\nW2 = A2\nW3 = A3\nW4 = A4\nW5 = A5\nW6 = A6\nTHEME = A7\n"
        "[Test2]\nW1 = B1\nW2 = B2\nW3 = B3\nW4 = B4\nW5 = B5\nW6 = B6\nTHEME = B7\n"
        "disabledStartGenWords = NOSTART\n"
        "[Options]\nentertheme.x = 20\nentertheme.y = 200\nMoneyHole.moveSpeed = 400\n"
        "TicketHole.moveSpeed = 200\nSimpleTimer.time = 0.3\nSimpleTimer.count = 2\nnTargetTest = 0\n"
        "nSmblsToVinACoin = 3\nFindedSmblTime = 0.5\nLights.y0 = 20\nLights.yN = 80\nLights.dy = 30\n"
        "Lights.x1 = 5\nLights.x2 = 395\nLights.r = 4\n";
    std::string texts =
        "CHARS = \"ABCEFGIKLMNOPRSTUZ\"\nA1 = \"cup\"\nA2 = \"tea\"\nA3 = \"milk\"\nA4 = \"bean\"\n"
        "A5 = \"mug\"\nA6 = \"sugar\"\nA7 = \"coffee\"\nB1 = \"sip\"\nB2 = \"pot\"\nB3 = \"lid\"\n"
        "B4 = \"urn\"\nB5 = \"tin\"\nB6 = \"cup\"\nB7 = \"kettle\"\nNOSTART = \"T\"\n"
        "COUNTINFO = \"%d found, 100% sure %s\"\n";
};

TEST_F(Machine, TheShuffleShowsGamesThenTheTargetWithTwoLettersForFree) {
    EXPECT_TRUE(room->m_Timer.IsRunning());
    EXPECT_EQ(room->m_Tests.size(), 2u);
    EXPECT_EQ(room->m_Tests[0].words.back().word, "COFFEE");
    // 29 coins: MONEY1 and its 28 clones, all in the machine.
    EXPECT_EQ(room->m_CoinPool.size(), 28u);
    EXPECT_EQ(room->m_LampItems.size(), 4u);
    shuffle();
    EXPECT_EQ(room->m_CurrentTest, 0);
    const Names sounds = machineSounds();
    EXPECT_NE(std::find(sounds.begin(), sounds.end(), "cupojoe_shuffling_letters"), sounds.end());
    EXPECT_NE(std::find(sounds.begin(), sounds.end(), "cupojoe_5_free_letters"), sounds.end());
    EXPECT_EQ(sounds.back(), "cupojoe_close_msg");
    // Two letters of the row used up by the start, each showing in the words.
    room->m_Board.SelectLine("chars");
    int used = 0;
    for (i32 i = 0; i < room->m_Board.GetCellCount(); ++i)
        used += room->m_Board.IsCellOpen(i) ? 0 : 1;
    EXPECT_EQ(used, 2);
    EXPECT_EQ(line("THEME").size(), 6u);
    EXPECT_EQ(item("COUNT_INFO").GetText(), L"0 found, 100% sure %s");
}

TEST_F(Machine, ATokenBuysALetterThatShowsWhereverTheWordsHoldIt) {
    dropToken();
    EXPECT_EQ(room->m_LettersToPick, 0) << "not taken while the shuffle runs";
    room->SetItemOnCursor(nullptr, nullptr);
    inventory().AddItem(&hallItem("TOKEN1"));
    shuffle();
    quiet();
    dropToken();
    EXPECT_EQ(room->m_LettersToPick, 1);
    EXPECT_EQ(machineSounds(), Names{"cupojoe_token_putting"});
    EXPECT_FALSE(hallItem("TOKEN1").IsVisible());
    EXPECT_EQ(room->m_CoinPool.size(), 28u) << "a token stays in the machine";
    const std::string theme = line("THEME");
    const char letter = theme.find('F') == std::string::npos ? 'F' : 'E';
    buy(letter);
    EXPECT_NE(line("THEME"), theme);
    EXPECT_EQ(room->m_FoundSinceBonus, 1);
    EXPECT_EQ(room->m_LettersToPick, 0);
    EXPECT_EQ(room->shown, Names{});
    // A letter no word holds is marked used and said so.
    dropToken("TOKEN2");
    buy('Z');
    EXPECT_EQ(shown(), Names{"MSG_NotFindSymbols"});
}

TEST_F(Machine, TheThemeTypedRightWinsAndTheTicketSlidesOut) {
    shuffle();
    quiet();
    click(355, 205);
    EXPECT_TRUE(room->m_bSolutionMode);
    EXPECT_TRUE(room->m_SolutionMenu.IsVisible());
    EXPECT_EQ(room->m_Board.GetLinePos("THEME").y, 200);
    // Each hidden cell of the theme, selected and typed.
    typeTheme({KEY_C, KEY_O, KEY_F, KEY_F, KEY_E, KEY_E});
    EXPECT_EQ(line("THEME"), "COFFEE");
    click(145, 225);
    EXPECT_TRUE(room->m_bWon);
    EXPECT_FALSE(inventory().HasItem("TOKEN1")) << "the machine keeps what was left";
    EXPECT_TRUE(item("TICKET").IsVisible());
    for (int i = 0; i < 20 && room->shown.empty(); ++i)
        frame(5, 5);
    EXPECT_EQ(shown(), Names{"MSG_HaveACap"});
    EXPECT_LE(item("TICKET").GetPos().y, 250 - 20) << "risen by its width";
    const Names sounds = machineSounds();
    EXPECT_NE(std::find(sounds.begin(), sounds.end(), "cupojoe_won"), sounds.end());
}

TEST_F(Machine, AWrongThemePutsTheLineBack) {
    shuffle();
    const std::string before = line("THEME");
    click(355, 205);
    typeTheme({KEY_X, KEY_X, KEY_X, KEY_X, KEY_X, KEY_X});
    EXPECT_NE(line("THEME"), before);
    click(145, 225);
    EXPECT_FALSE(room->m_bWon);
    EXPECT_FALSE(room->m_bSolutionMode);
    EXPECT_EQ(line("THEME"), before);
    EXPECT_EQ(room->m_Board.GetLinePos("THEME").y, 110);
    EXPECT_EQ(shown(), Names{"MSG_WRONGANSWER"});
}

TEST_F(Machine, TheSolveWinsEvenDuringTheShuffle) {
    room->ProcessAutoActions();
    EXPECT_TRUE(room->m_bWon);
    EXPECT_EQ(room->m_CurrentTest, 0);
    EXPECT_EQ(line("THEME"), "COFFEE");
    EXPECT_FALSE(room->m_Timer.IsRunning());
}

TEST_F(Machine, TheRecordKeepsTheMachineShufflingAndWithACoinRolling) {
    expectSameBytesAfterReload();
    shuffle();
    inventory().RemoveItem("TOKEN1");
    room->SetItemOnCursor(&hallItem("TOKEN1"), nullptr);
    frame(175, 252);
    clickAt(175, 252);
    ASSERT_TRUE(room->m_pRollingCoin);
    expectSameBytesAfterReload();
    EXPECT_EQ(room->m_pRollingCoin, &hallItem("TOKEN1"));
    EXPECT_EQ(line("THEME").size(), 6u);
}

TEST_F(Machine, EveryThirdLetterFoundPaysACoinThatRollsOutToBeTaken) {
    shuffle();
    quiet();
    std::string letters;
    for (char ch : std::string("ABCEFGIKLMNOPRSTU")) {
        room->m_Board.SelectLine("chars");
        if (room->m_Board.IsCellOpen(rowCell(ch)) && letters.size() < 3)
            letters += ch;
    }
    for (char ch : letters) {
        room->m_LettersToPick = 1;
        room->m_Board.SetLineDimmed("chars", false);
        buy(ch);
    }
    EXPECT_EQ(room->m_FoundSinceBonus, 0);
    CSpyItem* coin = room->m_pRollingCoin;
    ASSERT_TRUE(coin);
    EXPECT_EQ(coin->GetName(), "MONEY2") << "the lowest coin of the machine";
    EXPECT_TRUE(room->m_MessageMenu.IsVisible());
    EXPECT_TRUE(item("TEXT_TOKEN_BONUS").IsVisible());
    const Names sounds = machineSounds();
    EXPECT_NE(std::find(sounds.begin(), sounds.end(), "cupojoe_token_bonus"), sounds.end());
    for (int i = 0; i < 40 && room->m_pRollingCoin; ++i)
        frame(5, 5);
    EXPECT_EQ(room->m_pRollingCoin, nullptr);
    EXPECT_LE(coin->GetPos().x, 150 - 20) << "out past the slot's left end";
    EXPECT_TRUE(coin->IsVisible());
    click(5, 5);
    EXPECT_FALSE(room->m_MessageMenu.IsVisible());
    click(i32(coin->GetPos().x) + 10, i32(coin->GetPos().y) + 10);
    EXPECT_FALSE(coin->IsVisible()) << "taken like any find";
}

TEST_F(Machine, OutOfTokensTheConcededGameStartsOverWithFiveCoins) {
    inventory().RemoveItem("TOKEN2");
    shuffle();
    dropToken();
    // A letter no word holds: nothing found, nothing left to pay with.
    buy('Z');
    EXPECT_TRUE(room->m_bSolutionMode) << "the last chance is to type the theme";
    EXPECT_TRUE(item("TEXT_OUT_OF_TOKENS").IsVisible());
    EXPECT_TRUE(item("BTN_CONCEDE_GAME").IsVisible());
    click(5, 5);
    quiet();
    shown();
    click(105, 225);
    EXPECT_EQ(shown(), Names{"MSG_LOST"});
    EXPECT_TRUE(room->m_Timer.IsRunning()) << "the machine starts over";
    EXPECT_EQ(room->m_CoinPool.size(), 23u);
    for (int i = 2; i <= 6; ++i)
        EXPECT_TRUE(inventory().HasItem("MONEY" + std::to_string(i))) << i;
    EXPECT_FALSE(item("BTN_CONCEDE_GAME").IsVisible());
    const Names sounds = machineSounds();
    EXPECT_NE(std::find(sounds.begin(), sounds.end(), "cupojoe_lost"), sounds.end());
}

TEST_F(Machine, TheWinTakesEveryCoinAndTokenAndLeavingTakesTheTicket) {
    shuffle();
    inventory().AddItem(&item("MONEY29"));
    room->ProcessAutoActions();
    EXPECT_FALSE(inventory().HasItem("TOKEN1"));
    EXPECT_FALSE(inventory().HasItem("TOKEN2"));
    EXPECT_FALSE(inventory().HasItem("MONEY29"));
    // A token dropped after the win is not taken.
    inventory().AddItem(&hallItem("TOKEN1"));
    dropToken();
    EXPECT_EQ(room->m_LettersToPick, 0);
    room->SetItemOnCursor(nullptr, nullptr);
    inventory().AddItem(&item("TICKET"));
    room->Leave();
    EXPECT_FALSE(inventory().HasItem("TICKET"));
}

TEST_F(Machine, AStartNeverShowsALetterItMustNot) {
    for (int run = 0; run < 20; ++run) {
        room->StartTest(1);
        for (const std::string& word : {line("W2"), line("W5"), line("THEME")})
            EXPECT_EQ(word.find('T'), std::string::npos) << word;
    }
}

// What the room makes of data that does not add up.
class MachineOfBadData : public Machine {
protected:
    void SetUp() override {
        ini = "[GroupNames]\nNames = W1, W2, THEME\nchars = CHARS\nOpenAtStartChars = 2\nwordsx = 20\n"
              "wordsdx = 200\nwordsy = 20, 50\n[Test1]\nW1 = A1\nW2 = A2\nTHEME = A7\n"
              "[Options]\nSimpleTimer.time = 0.3\nSimpleTimer.count = 2\nLights.y0 = 20\nLights.yN = 80\n"
              "Lights.dy = 0\n";
        Machine::SetUp();
    }
};

TEST_F(MachineOfBadData, AShortLayoutLeavesTheMachineEmptyAndItsLampsOff) {
    EXPECT_TRUE(log.contains("cCapOJoePuzzleRoom : GroupNames needs 7 names and 5 wordsy values, the machine "
                             "stays empty"));
    EXPECT_TRUE(log.contains("cCapOJoePuzzleRoom : Lights.dy 0 never reaches Lights.yN, the machine has no "
                             "lamps"));
    EXPECT_TRUE(room->m_Tests.empty());
    EXPECT_TRUE(room->m_LampItems.size() <= 1);
    // Without a game the shuffle shows nothing, and the solve still wins.
    for (int i = 0; i < 10; ++i)
        frame(5, 5);
    EXPECT_EQ(room->m_CurrentTest, -1);
    room->ProcessAutoActions();
    EXPECT_TRUE(room->m_bWon);
}

class MachineOfOneGame : public Machine {
protected:
    void SetUp() override {
        const size_t second = ini.find("[Test2]");
        ini.erase(second, ini.find("[Options]") - second);
        Machine::SetUp();
    }
};

TEST_F(MachineOfOneGame, TheShuffleOfOneGameShowsItOnce) {
    shuffle();
    EXPECT_EQ(room->m_CurrentTest, 0);
    EXPECT_EQ(line("THEME").size(), 6u);
}

} // namespace
