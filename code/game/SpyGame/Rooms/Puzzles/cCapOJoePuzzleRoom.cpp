#include "game/SpyGame/Rooms/Puzzles/cCapOJoePuzzleRoom.h"

#include "game/CResManager.h"
#include "game/SaveLoadSystem.h"
#include "game/SpyGame/CInventory.h"
#include "game/SpyGame/CPersonage.h"
#include "game/SpyGame/CPersonagesManager.h"
#include "game/SpyGame/CSpyItem.h"
#include "game/SpyGame/ItemRefs.h"
#include "game/SpyGame/Rooms/CRoomsManager.h"
#include "game/SpyGame/Rooms/Toolkit/PuzzleHelpers.h"
#include "game/SpyGame/Rooms/Toolkit/PuzzleStrings.h"
#include "game/SpyGame/SaveCounts.h"
#include "tk2v/gfx/aApplication.h"
#include "tk2v/input/aInputServer.h"
#include "tk2v/platform/Random.h"
#include "tk2v/sound/aSound.h"
#include "tk2v/util/log.h"
#include "tk2v/util/str.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <cwctype>

namespace {

constexpr f32 Pi = 3.1415927f;
constexpr size_t WordLines = 6;
constexpr size_t GroupCount = WordLines + 1;
constexpr size_t RowCount = 5;
constexpr f32 BoardScale = 0.9f;
constexpr i32 LastCoin = 29;
constexpr i32 TokenKinds = 5;
// Every coin clone back in the machine: the player has none left to drop.
constexpr size_t CoinsInMachine = 27;
constexpr i32 CoinsForALostGame = 5;
constexpr u32 MarkGreen = 0x0000FF00;
// Smallest saved found mark, game, word and coin reference.
constexpr u32 SavedMarkSize = 12;
constexpr u32 SavedTestSize = 4 + 2;
constexpr u32 SavedWordSize = 2;

f32 Number(const std::string& text) {
    return f32(std::atof(text.c_str()));
}

std::string Masked(const std::string& word) {
    std::string mask = word;
    for (char& ch : mask)
        if (ch != ' ')
            ch = '#';
    return mask;
}

bool SameLetter(char a, char b) {
    return a == b || a == char(b & ~0x20) || char(a & ~0x20) == b;
}

bool Holds(const std::string& letters, char letter) {
    return std::any_of(letters.begin(), letters.end(), [&](char ch) { return SameLetter(ch, letter); });
}

// A lamp's level runs from 0 to 2: it brightens up to 1 and fades again.
u32 LampColor(f32 level) {
    const f32 a = level <= 1 ? level : 2 - level;
    return SetColorAlpha(0x00FFFFFF, u8(std::clamp(std::lround(a * 255), 0l, 255l)));
}

// The counter's text fills its first integer conversion with the value; any other "%" stands as
// written, so a text the translators got wrong cannot read arguments that are not there.
std::wstring FormatCount(const std::wstring& format, u32 value) {
    std::wstring out;
    bool filled = false;
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] != L'%' || filled) {
            out += format[i];
            continue;
        }
        size_t end = i + 1;
        while (end < format.size() && std::wcschr(L"-+ #0", format[end]) && format[end] != 0)
            ++end;
        while (end < format.size() && std::iswdigit(format[end]) && end - i < 8)
            ++end;
        if (end < format.size() && std::wcschr(L"diuoxX", format[end]) && format[end] != 0) {
            const std::string spec = str_toString(format.substr(i, end - i + 1));
            char text[64];
            std::snprintf(text, sizeof text, spec.c_str(), value);
            out += str_toWString(text);
            filled = true;
            i = end;
        } else {
            out += format[i];
        }
    }
    return out;
}

} // namespace

bool cCapOJoePuzzleRoom::CoinOrder::operator()(const CSpyItem* a, const CSpyItem* b) const {
    std::string nameA = a->GetName(), nameB = b->GetName();
    const int numberA = CutTrailingNumber(nameA), numberB = CutTrailingNumber(nameB);
    if (numberA != numberB)
        return numberA < numberB;
    return a->GetFullName() < b->GetFullName();
}

cCapOJoePuzzleRoom::cCapOJoePuzzleRoom() : m_Board("fonts:Font_CapOJoe.ini", this) {
    m_Propertys.SolveButtonShown = 1;
    m_LightsLeft.waveLength = m_LightsRight.waveLength = 2.0f;
}

cCapOJoePuzzleRoom::~cCapOJoePuzzleRoom() = default;

CSpyItem* cCapOJoePuzzleRoom::Find(const std::string& name) {
    return m_Items.HasItem(name) ? m_Items.GetItem(name) : nullptr;
}

std::string cCapOJoePuzzleRoom::Text(const std::string& id) const {
    return m_pResManager ? str_toString(m_pResManager->GetString(id, m_Name)) : std::string();
}

CInventory* cCapOJoePuzzleRoom::Inventory() const {
    CPersonage* personage = CurrentPersonage();
    return personage ? &personage->GetInventory() : nullptr;
}

void cCapOJoePuzzleRoom::Play(const char* sound) const {
    if (aSound* s = GetSound(sound))
        s->play();
}

bool cCapOJoePuzzleRoom::MousePressed() const {
    const aInputServer* input = aApplication::inputServer();
    return input && input->mouseButtons[0] == KEY_PRESSED;
}

const cCapOJoePuzzleRoom::WordTest* cCapOJoePuzzleRoom::CurrentTest() const {
    if (m_CurrentTest < 0 || size_t(m_CurrentTest) >= m_Tests.size())
        return nullptr;
    return &m_Tests[size_t(m_CurrentTest)];
}

// --- Reading room.ini -----------------------------------------------------------------------------

void cCapOJoePuzzleRoom::AfterLoadInit() {
    const bool due = IsLoadInitDue();
    CRoomBase::AfterLoadInit();
    if (!due)
        return;
    m_GroupNames.clear();
    m_Tests.clear();
    ReadGroupNames();
    if (!m_GroupNames.empty())
        ReadTests();
    m_pTicket = GetItem("TICKET");
    m_pTicketHole = GetItem("TICKET_HOLE");
    m_pSolve = GetItem("SOLVE");
    m_pSolvePushed = GetItem("SOLVE_PUSHED");
    m_pSolveDisabled = GetItem("SOLVE_DISABLED");
    m_pMoneyHole = GetItem("MONEY_HOLE");
    m_pMoneyHoleLeft = GetItem("MONEY_HOLE_LEFT");
    m_pMoneyHoleRight = GetItem("MONEY_HOLE_RIGHT");
    m_pRollingCoin = nullptr;
    ReadOptions();
    m_SlotLampsLeft.clear();
    m_SlotLampsRight.clear();
    m_LightsSlot.lights.clear();
    for (int i = 1; i <= 3; ++i) {
        m_LightsSlot.lights.push_back({});
        m_SlotLampsLeft.push_back(GetItem("ENTER_TOKEN_SL" + DoubleToString(i)));
        m_SlotLampsRight.push_back(GetItem("ENTER_TOKEN_SR" + DoubleToString(i)));
    }
    CloneCoins();
    m_pDisabledScreen = GetItem("DISABLED_SCREEN");
    m_Timer.SetOnTick(MakeHandler(this, &cCapOJoePuzzleRoom::OnShuffleTick));
    m_Timer.SetOnFinish(MakeHandler(this, &cCapOJoePuzzleRoom::OnShuffleFinished));
    CloneLampItems();
    m_pCountInfo = GetItem("COUNT_INFO");
    m_pTextBuyALetter = GetItem("TEXT_BUY_A_LETTER");
    m_pTextWords = GetItem("TEXT_WORDS");
    m_pTextCommonTheme = GetItem("TEXT_COMMON_THEME");
    m_pTextTokenBonus = GetItem("TEXT_TOKEN_BONUS");
    m_pText5FreeLetters = GetItem("TEXT_5_FREE_LETTERS");
    m_pTextOutOfTokens = GetItem("TEXT_OUT_OF_TOKENS");
    m_Board.SetTypingSound(GetSound("cupojoe_type_letter"));
    BuildMenus();
}

void cCapOJoePuzzleRoom::ReadGroupNames() {
    if (!m_Ini.selectSection("GroupNames"))
        return;
    std::vector<std::string> names;
    m_Ini.getStringList(names, "Names");
    m_Alphabet = Text(m_Ini.getString("chars"));
    m_OpenAtStart = u16(m_Ini.getInt("OpenAtStartChars"));
    const f32 x = Number(m_Ini.getString("wordsx"));
    const f32 dx = Number(m_Ini.getString("wordsdx"));
    std::vector<i32> rows;
    m_Ini.getIntList(rows, "wordsy");
    // The layout has six word lines in two columns, the theme's line and the row of letters.
    if (names.size() < GroupCount || rows.size() < RowCount) {
        log("cCapOJoePuzzleRoom : GroupNames needs %u names and %u wordsy values, the machine stays empty",
            u32(GroupCount), u32(RowCount));
        return;
    }
    m_GroupNames = names;
    for (size_t i = 0; i < WordLines; ++i)
        m_Board.AddLine(names[i], "", i < 3 ? x : x + dx, f32(rows[i % 3]), false);
    m_SolutionLine = names[WordLines];
    m_ThemeBoardPos = {x, f32(rows[3])};
    m_Board.AddLine(m_SolutionLine, "", x, f32(rows[3]), false);
    m_Board.AddLine(CharsLine, "", x, f32(rows[4]), true);
    m_Board.SetScale(BoardScale);
}

void cCapOJoePuzzleRoom::ReadTests() {
    auto upper = [&](const std::string& id) {
        std::string text = Text(id);
        StrToUpper(text);
        return text;
    };
    for (i32 n = 1; m_Ini.selectSection("Test" + DoubleToString(n)); ++n) {
        WordTest test;
        for (const std::string& group : m_GroupNames) {
            WordEntry entry;
            entry.word = upper(m_Ini.getString(group));
            entry.display = Masked(entry.word);
            test.words.push_back(entry);
        }
        if (m_Ini.hasKey("autoshowwords"))
            test.autoShow = upper(m_Ini.getString("autoshowwords"));
        if (m_Ini.hasKey("disabledStartGenWords"))
            test.noStartLetters = upper(m_Ini.getString("disabledStartGenWords"));
        m_Tests.push_back(test);
    }
}

void cCapOJoePuzzleRoom::ReadOptions() {
    m_TargetTest = -1;
    if (!m_Ini.selectSection("Options"))
        return ReadLamps();
    auto number = [&](const char* key) { return Number(m_Ini.getString(key)); };
    m_ThemePos = {number("entertheme.x"), number("entertheme.y")};
    m_MoneyHoleSpeed = number("MoneyHole.moveSpeed");
    m_TicketHoleSpeed = number("TicketHole.moveSpeed");
    m_Timer.SetTime(number("SimpleTimer.time"), u16(m_Ini.getInt("SimpleTimer.count")));
    if (m_Ini.hasKey("nTargetTest"))
        m_TargetTest = m_Ini.getInt("nTargetTest");
    m_LettersPerCoin = u16(m_Ini.getInt("nSmblsToVinACoin"));
    m_FoundMarkTime = number("FindedSmblTime");
    m_LampRadius = number("Lights.r");
    ReadLamps();
}

void cCapOJoePuzzleRoom::ReadLamps() {
    m_LightsLeft.lights.clear();
    m_LightsRight.lights.clear();
    if (!m_Ini.selectSection("Options"))
        return;
    auto number = [&](const char* key) { return Number(m_Ini.getString(key)); };
    const f32 y0 = number("Lights.y0"), yN = number("Lights.yN"), dy = number("Lights.dy");
    const f32 x1 = number("Lights.x1"), x2 = number("Lights.x2");
    if (dy <= 0 && y0 < yN) {
        log("cCapOJoePuzzleRoom : Lights.dy %g never reaches Lights.yN, the machine has no lamps", dy);
        return;
    }
    for (f32 y = y0; y < yN; y += dy) {
        m_LightsLeft.lights.push_back({x1, y, m_LightsLeft.base});
        m_LightsRight.lights.push_back({x2, y, m_LightsRight.base});
    }
}

void cCapOJoePuzzleRoom::CloneCoins() {
    m_CoinItems.clear();
    m_CoinPool.clear();
    m_pMoneyItem = GetItem("MONEY1");
    if (!m_pMoneyItem)
        return;
    m_pMoneyItem->SetVisible(false);
    for (i32 i = 2; i <= LastCoin; ++i)
        if (CSpyItem* coin = m_Items.CloneItem("MONEY1", "MONEY" + DoubleToString(i)))
            m_CoinItems.push_back(coin);
}

void cCapOJoePuzzleRoom::CloneLampItems() {
    m_LampItems.clear();
    CSpyItem* first = GetItem("LIGHT");
    if (!first)
        return;
    const size_t lamps = m_LightsLeft.lights.size() + m_LightsRight.lights.size();
    m_LampItems.push_back(first);
    for (i32 n = 1; m_LampItems.size() < lamps; ++n) {
        CSpyItem* lamp = m_Items.CloneItem("LIGHT", "LIGHT" + DoubleToString(n));
        if (!lamp)
            break;
        m_LampItems.push_back(lamp);
    }
}

void cCapOJoePuzzleRoom::BuildMenus() {
    m_SolutionMenu.Clear();
    m_SolutionMenu.AddItem(GetItem("BTN_CANCEL"), MakeHandler(this, &cCapOJoePuzzleRoom::OnCancel),
                           GetItem("BTN_CANCEL_PRESSED"));
    m_SolutionMenu.AddItem(GetItem("BTN_ENTER_SOLUTION"),
                           MakeHandler(this, &cCapOJoePuzzleRoom::OnEnterSolution),
                           GetItem("BTN_ENTER_SOLUTION_PRESSED"));
    m_SolutionMenu.SetBackground(GetItem("INPUT_MESSAGE"));
    m_SolutionMenu.ClearPlainItems();
    for (const char* name : {"INPUT_STAR1", "INPUT_STAR2", "INPUT_CAPTION", "INPUT_CAPTION1"})
        if (CSpyItem* item = GetItem(name))
            m_SolutionMenu.AddPlainItem(item);
    m_MessageMenu.SetBackground(GetItem("MESSAGE_MENU"));
}

// --- Games ----------------------------------------------------------------------------------------

bool cCapOJoePuzzleRoom::StartTest(i32 index) {
    if (index < 0 || size_t(index) >= m_Tests.size()) {
        log("cCapOJoePuzzleRoom : Cann't start test \xB9 %d", index);
        return false;
    }
    Play("cupojoe_shuffling_letters");
    m_CurrentTest = i16(index);
    WordTest& test = m_Tests[size_t(index)];
    for (size_t w = 0; w < test.words.size() && w < m_GroupNames.size(); ++w) {
        test.words[w].display = Masked(test.words[w].word);
        m_Board.SetLineText(m_GroupNames[w], test.words[w].display);
    }
    m_Board.SetLineText(CharsLine, m_Alphabet);
    m_Board.SetLineDimmed(CharsLine, true);
    for (const std::string& group : m_GroupNames)
        m_Board.SetLineDimmed(group, true);
    OpenStartLetters(test);
    m_FoundMarks.clear();
    m_FoundSinceBonus = 0;
    m_LettersToPick = 0;
    m_bSolutionMode = false;
    UpdateCounter();
    return true;
}

// A letter of the row, still for sale, that the start may give and that still hides in a word.
bool cCapOJoePuzzleRoom::StartLetterLeft(const WordTest& test) {
    m_Board.SelectLine(CharsLine);
    for (i32 i = 0; i < m_Board.GetCellCount(); ++i) {
        const char letter = m_Board.GetCellChar(i);
        if (!m_Board.IsCellOpen(i) || Holds(test.noStartLetters, letter))
            continue;
        for (const WordEntry& entry : test.words)
            for (size_t p = 0; p < entry.word.size() && p < entry.display.size(); ++p)
                if (entry.display[p] != entry.word[p] && SameLetter(entry.word[p], letter))
                    return true;
    }
    return false;
}

// Uncovers the row's letter at `index` in the words; true when that used it up.
bool cCapOJoePuzzleRoom::OpenStartLetter(i32 index) {
    m_Board.SelectLine(CharsLine);
    if (index < 0 || !m_Board.IsCellOpen(index))
        return false;
    if (OpenLetter(m_Board.GetCellChar(index), false))
        return false;
    m_Board.SelectLine(CharsLine);
    m_Board.SetCellOpen(index, false);
    return true;
}

void cCapOJoePuzzleRoom::OpenStartLetters(const WordTest& test) {
    u32 remaining = m_OpenAtStart;
    m_Board.SelectLine(CharsLine);
    const i32 n = m_Board.GetCellCount();
    if (!test.autoShow.empty()) {
        for (size_t i = 0; i < test.autoShow.size() && remaining > 0; ++i) {
            m_Board.SelectLine(CharsLine);
            const char letter = test.autoShow[i];
            if (!Holds(test.noStartLetters, letter) && OpenStartLetter(m_Board.FindChar(letter)))
                --remaining;
        }
        return;
    }
    // Drawn at random, never the same cell twice in a row, until enough letters show or none is left
    // that could.
    i32 previous = -1;
    while (remaining > 0 && n > 0 && StartLetterLeft(test)) {
        i32 index = platform::rand() % n;
        while (n > 1 && index == previous)
            index = platform::rand() % n;
        previous = index;
        m_Board.SelectLine(CharsLine);
        if (!Holds(test.noStartLetters, m_Board.GetCellChar(index)) && OpenStartLetter(index))
            --remaining;
    }
}

void cCapOJoePuzzleRoom::AddMark(const std::string& line, i32 cell) {
    m_Board.SelectLine(line);
    const SpyPoint at = m_Board.GetCellPos(cell);
    m_FoundMarks.push_back({at.x, at.y, 0});
}

void cCapOJoePuzzleRoom::Uncover(size_t word, size_t position) {
    WordEntry& entry = m_Tests[size_t(m_CurrentTest)].words[word];
    entry.display[position] = entry.word[position];
    if (word >= m_GroupNames.size())
        return;
    m_Board.SelectLine(m_GroupNames[word]);
    m_Board.SetCellChar(i32(position), entry.word[position], true);
    AddMark(m_GroupNames[word], i32(position));
}

bool cCapOJoePuzzleRoom::OpenLetter(char letter, bool all) {
    if (!CurrentTest())
        return true;
    bool nothingFound = true;
    std::vector<WordEntry>& words = m_Tests[size_t(m_CurrentTest)].words;
    for (size_t w = 0; w < words.size(); ++w)
        for (size_t p = 0; p < words[w].word.size() && p < words[w].display.size(); ++p) {
            const char ch = words[w].word[p];
            if (words[w].display[p] == ch || !(all || ch == letter || ch == char(letter & ~0x20)))
                continue;
            Uncover(w, p);
            nothingFound = false;
        }
    return nothingFound;
}

bool cCapOJoePuzzleRoom::PickLetter(i32 index, bool& nothingFound, bool showMessage, bool markAlways) {
    nothingFound = true;
    m_Board.SelectLine(CharsLine);
    if (index < 0 || !m_Board.IsCellOpen(index))
        return false;
    nothingFound = OpenLetter(m_Board.GetCellChar(index), false);
    if (showMessage && nothingFound)
        ShowMessage("MSG_NotFindSymbols");
    if (!nothingFound || markAlways) {
        m_Board.SelectLine(CharsLine);
        m_Board.SetCellOpen(index, false);
    }
    return true;
}

bool cCapOJoePuzzleRoom::CheckSolved() {
    const WordTest* test = CurrentTest();
    if (!test || test->words.empty())
        return false;
    if (m_Board.GetLineText(m_SolutionLine) == test->words.back().word) {
        Win();
        return true;
    }
    if (m_FoundSinceBonus >= m_LettersPerCoin) {
        m_FoundSinceBonus = 0;
        GiveBonusCoin();
    }
    return false;
}

void cCapOJoePuzzleRoom::Win() {
    if (m_bWon)
        return;
    Play("cupojoe_won");
    m_Board.ClearSelection();
    m_Timer.Stop();
    OpenLetter(0, true);
    m_bWon = true;
    m_LightsLeft.Start();
    m_LightsRight.Start();
    if (m_pTicket) {
        m_pTicket->SetVisible(true);
        m_bTicketMoving = true;
    }
    for (CSpyItem* item : {Find("MAINWINDOW_CAPTION"), m_pTextBuyALetter, m_pTextWords, m_pTextCommonTheme})
        if (item)
            item->SetSmoothFlash(true);
    if (CInventory* inventory = Inventory())
        for (i32 i = 1; i <= LastCoin; ++i) {
            inventory->RemoveItem("MONEY" + DoubleToString(i));
            inventory->RemoveItem("TOKEN" + DoubleToString(i));
        }
}

void cCapOJoePuzzleRoom::ShowMessageBox(CSpyItem* text) {
    m_MessageMenu.SetVisible(false);
    m_MessageMenu.ClearPlainItems();
    if (text)
        m_MessageMenu.AddPlainItem(text);
    m_MessageMenu.SetVisible(true);
}

void cCapOJoePuzzleRoom::GiveBonusCoin() {
    if (m_CoinPool.empty()) {
        ShowMessage("MSG_NoManey");
        return;
    }
    CSpyItem* coin = *m_CoinPool.begin();
    m_CoinPool.erase(m_CoinPool.begin());
    m_pRollingCoin = coin;
    m_bGoingIn = false;
    m_bFromLeft = true;
    StartRolling(*coin, m_pMoneyHoleRight);
    ShowMessageBox(m_pTextTokenBonus);
    Play("cupojoe_token_bonus");
}

// The coin's picture on the slot's line at one of its ends, drawn under the slot's front.
void cCapOJoePuzzleRoom::StartRolling(CSpyItem& drawn, CSpyItem* end) {
    if (m_pMoneyHole && end) {
        const SpyPoint hole = m_pMoneyHole->GetPos();
        drawn.SetPos(end->GetPos().x,
                     hole.y + f32(m_pMoneyHole->GetHeight() / 2) - f32(drawn.GetHeight() / 2));
    }
    drawn.SetInInventory(false);
    m_Items.MoveItemToTop(drawn.GetName());
    for (CSpyItem* front : {m_pMoneyHoleLeft, m_pMoneyHoleRight})
        if (front)
            m_Items.MoveItemToTop(front->GetName());
    drawn.SetVisible(true);
}

void cCapOJoePuzzleRoom::CheckOutOfTokens() {
    CInventory* inventory = Inventory();
    for (i32 i = 1; i <= TokenKinds; ++i)
        if (inventory && inventory->HasItem("TOKEN" + DoubleToString(i)))
            return;
    if (m_LettersToPick >= 2 || m_FoundSinceBonus > m_LettersPerCoin || m_CoinPool.size() <= CoinsInMachine ||
        m_bSolutionMode || m_Timer.IsRunning())
        return;
    m_bOutOfTokens = true;
    ShowMessageBox(m_pTextOutOfTokens);
    Play("cupojoe_out_of_tockens");
    m_SolutionMenu.SetEntry(nullptr, GetItem("BTN_CONCEDE_GAME"), GetItem("BTN_CONCEDE_GAME_PRESSED"));
    ToggleSolutionMode();
}

void cCapOJoePuzzleRoom::SetLabels() {
    auto glow = [](CSpyItem* item, bool on) {
        if (item)
            item->SetSmoothFlash(on);
    };
    glow(m_pTextWords, !m_bSolutionMode);
    glow(m_pTextCommonTheme, m_bSolutionMode);
    glow(m_pTextBuyALetter, m_LettersToPick != 0);
}

void cCapOJoePuzzleRoom::ToggleSolutionMode() {
    Play("cupojoe_solve");
    const bool opening = !m_bSolutionMode;
    m_Board.SetLineDimmed(m_SolutionLine, !opening);
    m_bSolutionMode = opening;
    for (const std::string& group : m_GroupNames)
        if (group != m_SolutionLine)
            m_Board.SetLineDimmed(group, true);
    SetLabels();
    m_SolutionMenu.SetVisible(opening);
    m_Board.SetLinePos(m_SolutionLine, opening ? m_ThemePos : m_ThemeBoardPos);
    if (opening) {
        m_SavedSolution = m_Board.GetLineText(m_SolutionLine);
    } else if (!m_bWon && m_Board.SelectLine(m_SolutionLine)) {
        // The letters typed in go; what the line showed comes back, its cells as they were.
        for (i32 i = 0; i < m_Board.GetCellCount() && size_t(i) < m_SavedSolution.size(); ++i)
            m_Board.SetCellChar(i, m_SavedSolution[size_t(i)], m_Board.GetCellState(i) & cLetterBoard::Shown);
    }
}

bool cCapOJoePuzzleRoom::OnEnterSolution(const GUI::EventArgs&) {
    m_SolutionMenu.SetVisible(false);
    Play("cupojoe_close_msg");
    CheckSolved();
    if (m_bSolutionMode)
        ToggleSolutionMode();
    if (!m_bWon) {
        ShowMessage("MSG_WRONGANSWER");
        if (m_bOutOfTokens)
            OnCancel({});
    }
    UpdateCounter();
    return true;
}

bool cCapOJoePuzzleRoom::OnCancel(const GUI::EventArgs&) {
    if (!m_bOutOfTokens) {
        m_SolutionMenu.SetVisible(false);
        Play("cupojoe_close_msg");
        if (m_bSolutionMode)
            ToggleSolutionMode();
        return true;
    }
    // The game is lost: the machine starts over where it stands and gives the player coins to go on.
    const SpyPoint origin = m_Origin, scale = m_Scale;
    const aRect active = m_ActiveRect;
    const std::string entryName = m_EntryName;
    CSpyItem* entryItem = m_pEntryItem;
    Reset();
    SetScale(scale, false);
    SetPosition(origin, active);
    Enter(entryName, entryItem);
    CInventory* inventory = Inventory();
    for (i32 i = 0; i < CoinsForALostGame && !m_CoinPool.empty() && inventory; ++i) {
        inventory->AddItem(*m_CoinPool.begin());
        m_CoinPool.erase(m_CoinPool.begin());
    }
    ShowMessage("MSG_LOST");
    Play("cupojoe_lost");
    return true;
}

bool cCapOJoePuzzleRoom::OnShuffleTick(const GUI::EventArgs&) {
    const i32 count = i32(m_Tests.size());
    // One game can only be shown once; with none there is nothing to show.
    if (count == 1 && m_CurrentTest != 0)
        StartTest(0);
    if (count < 2)
        return true;
    i32 index = platform::rand() % count;
    while (index == m_CurrentTest)
        index = platform::rand() % count;
    StartTest(index);
    return true;
}

bool cCapOJoePuzzleRoom::OnShuffleFinished(const GUI::EventArgs&) {
    if (m_TargetTest >= 0 && size_t(m_TargetTest) < m_Tests.size())
        StartTest(m_TargetTest);
    ShowMessageBox(m_pText5FreeLetters);
    Play("cupojoe_5_free_letters");
    return true;
}

void cCapOJoePuzzleRoom::OnCoinAccepted() {
    Play("cupojoe_token_putting");
    m_Board.SetLineDimmed(CharsLine, false);
    ++m_LettersToPick;
    SetLabels();
}

void cCapOJoePuzzleRoom::UpdateCounter() {
    if (!m_pCountInfo || !m_pResManager)
        return;
    const u32 value = m_FoundSinceBonus >= m_LettersPerCoin ? 0 : m_FoundSinceBonus;
    m_pCountInfo->SetText(FormatCount(m_pResManager->GetString("COUNTINFO", m_Name), value));
}

// --- Frame ----------------------------------------------------------------------------------------

u32 cCapOJoePuzzleRoom::FrameMove(f32 dt, bool paused) {
    m_bPausedCopy = m_MessageMenu.IsVisible();
    UpdateGame(dt);
    return CRoomBase::FrameMove(dt, paused);
}

void cCapOJoePuzzleRoom::UpdateGame(f32 dt) {
    if (m_bWon && m_bTicketMoving)
        UpdateTicket(dt);
    if (m_pRollingCoin)
        UpdateRollingCoin(dt);
    if (m_SolutionMenu.IsVisible())
        m_SolutionMenu.FrameMove(dt * Pi);
    if (m_MessageMenu.IsVisible()) {
        if (CSpyItem* background = m_MessageMenu.GetBackground())
            background->FrameMove(dt * Pi);
        if (MousePressed() && !m_pCursorItem) {
            m_MessageMenu.SetVisible(false);
            Play("cupojoe_close_msg");
        }
        return;
    }
    if (m_pRollingCoin)
        return;
    m_LightsLeft.Update(2 * dt);
    m_LightsRight.Update(dt);
    m_LightsSlot.Update(dt);
    m_Timer.Update(dt);
    for (FoundMark& mark : m_FoundMarks)
        mark.age += dt;
    std::erase_if(m_FoundMarks, [&](const FoundMark& mark) { return mark.age > m_FoundMarkTime; });
    UpdateLamps();
}

void cCapOJoePuzzleRoom::UpdateLamps() {
    const size_t left = m_LightsLeft.lights.size();
    for (size_t i = 0; i < m_LampItems.size(); ++i) {
        const std::vector<cAnimatedLights::Light>& lights =
            i < left ? m_LightsLeft.lights : m_LightsRight.lights;
        const size_t index = i < left ? i : i - left;
        if (index < lights.size())
            m_LampItems[i]->SetColor(LampColor(lights[index].level));
    }
    for (size_t i = 0; i < m_LightsSlot.lights.size(); ++i)
        for (const std::vector<CSpyItem*>* side : {&m_SlotLampsLeft, &m_SlotLampsRight})
            if (i < side->size() && (*side)[i])
                (*side)[i]->SetColor(LampColor(m_LightsSlot.lights[i].level));
}

void cCapOJoePuzzleRoom::UpdateTicket(f32 dt) {
    if (!m_pTicket)
        return;
    const SpyPoint orig = m_pTicket->GetOrigPos();
    const f32 home = m_Transform.LocalToScreen(orig.x, orig.y).y;
    const SpyPoint at = m_pTicket->GetPos();
    if (home - at.y <= f32(m_pTicket->GetWidth())) {
        m_pTicket->SetPos(at.x, at.y - m_TicketHoleSpeed * dt);
        return;
    }
    m_bTicketMoving = false;
    ShowMessage("MSG_HaveACap");
}

CSpyItem* cCapOJoePuzzleRoom::RollingDrawn() const {
    if (!m_pRollingCoin)
        return nullptr;
    return m_pRollingCoin->GetName().starts_with("TOKEN") ? m_pMoneyItem : m_pRollingCoin;
}

void cCapOJoePuzzleRoom::UpdateRollingCoin(f32 dt) {
    CSpyItem* drawn = RollingDrawn();
    if (!drawn || !m_pMoneyHole || !m_pMoneyHoleLeft) {
        m_pRollingCoin = nullptr;
        return;
    }
    const SpyPoint at = drawn->GetPos();
    const f32 width = f32(drawn->GetWidth());
    const f32 hole = m_pMoneyHole->GetPos().x;
    if (m_bGoingIn && (m_bFromLeft ? at.x > hole + width / 2 : at.x < hole - width / 2.5f)) {
        // A token stays in the machine; a coin goes back among those it pays out.
        if (!m_pRollingCoin->GetName().starts_with("T"))
            m_CoinPool.insert(m_pRollingCoin);
        drawn->SetVisible(false);
        m_pRollingCoin->SetVisible(false);
        m_pRollingCoin = nullptr;
        OnCoinAccepted();
        return;
    }
    if (!m_bGoingIn && at.x <= m_pMoneyHoleLeft->GetPos().x - width) {
        m_pRollingCoin = nullptr;
        return;
    }
    const f32 dx = m_MoneyHoleSpeed * dt * (m_bGoingIn ? 1.0f : -1.0f) * (m_bFromLeft ? 1.0f : -1.0f);
    drawn->SetPos(at.x + dx, at.y);
    if (width > 0)
        drawn->SetRotation(drawn->GetRotation() - 2 * dx / width);
}

// --- Input ----------------------------------------------------------------------------------------

void cCapOJoePuzzleRoom::HandleCursorItemInput(f32 dt) {
    if (m_pRollingCoin || m_MessageMenu.IsVisible() || m_bPausedCopy)
        return;
    const bool open =
        !m_bWon && !m_Timer.IsRunning() && MousePressed() && m_pMoneyHole && m_pMoneyHole->IsVisible();
    if (open && m_pCursorItem && TakeCoin(*m_pCursorItem))
        return;
    CRoomBase::HandleCursorItemInput(dt);
}

bool cCapOJoePuzzleRoom::TakeCoin(CSpyItem& carried) {
    if (!m_pMoneyHoleLeft || !m_pMoneyHoleRight)
        return false;
    const SpyPoint at = carried.GetPos(), hole = m_pMoneyHole->GetPos();
    const f32 w = f32(carried.GetWidth()), h = f32(carried.GetHeight());
    const f32 left = m_pMoneyHoleLeft->GetPos().x;
    const f32 right = m_pMoneyHoleRight->GetPos().x + f32(m_pMoneyHoleRight->GetWidth());
    const bool over = at.y >= hole.y - h && at.y <= hole.y + f32(m_pMoneyHole->GetHeight()) &&
                      at.x >= left - w && at.x <= right;
    const std::string& name = carried.GetName();
    if (!over || !(name.starts_with("MONEY") || name.starts_with("TOKEN")))
        return false;
    m_bGoingIn = true;
    m_pRollingCoin = &carried;
    const f32 centre = at.x + w / 2, slotCentre = hole.x + f32(m_pMoneyHole->GetWidth()) / 2;
    m_bFromLeft = m_pItemUnderCursor == m_pMoneyHoleLeft || centre < slotCentre;
    SetItemOnCursor(nullptr, nullptr);
    if (CSpyItem* drawn = RollingDrawn())
        StartRolling(*drawn, m_bFromLeft ? m_pMoneyHoleLeft : m_pMoneyHoleRight);
    return true;
}

void cCapOJoePuzzleRoom::HandleInput(f32 dt) {
    if (m_pRollingCoin || m_MessageMenu.IsVisible() || m_bPausedCopy)
        return;
    cLetterBoard::Typed typed;
    m_Board.HandleInput(dt, typed);
    if (typed.letter && !m_SolutionMenu.IsVisible())
        JudgeTypedLetter(typed);
    HandleSolveButton();
    if (MousePressed() && !m_SolutionMenu.IsVisible())
        PickFromRow();
    m_SolutionMenu.Update(m_pItemUnderCursor);
    m_MessageMenu.Update(m_pItemUnderCursor);
    // The prize and the coins paid out are taken like any item.
    CSpyItem* under = m_pItemUnderCursor;
    const bool loose = under && (under == m_pTicket || std::find(m_CoinItems.begin(), m_CoinItems.end(),
                                                                 under) != m_CoinItems.end());
    if (loose && MousePressed())
        CRoomBase::HandleInput(dt);
}

void cCapOJoePuzzleRoom::JudgeTypedLetter(const cLetterBoard::Typed& typed) {
    const WordTest* test = CurrentTest();
    auto group = std::find(m_GroupNames.begin(), m_GroupNames.end(), typed.line);
    if (!test || group == m_GroupNames.end())
        return;
    const size_t word = size_t(group - m_GroupNames.begin());
    const size_t cell = size_t(typed.cell);
    if (word >= test->words.size() || cell >= test->words[word].word.size() ||
        !SameLetter(test->words[word].word[cell], typed.letter))
        return;
    Uncover(word, cell);
    ++m_FoundSinceBonus;
    Play("cupojoe_true_char");
    m_Board.SelectLine(CharsLine);
    bool nothingFound = true;
    if (i32 index = m_Board.FindChar(typed.letter); index >= 0)
        PickLetter(index, nothingFound, false, true);
    CheckSolved();
    UpdateCounter();
}

void cCapOJoePuzzleRoom::HandleSolveButton() {
    auto show = [](CSpyItem* item, bool on) {
        if (item)
            item->SetVisible(on);
    };
    if (m_bWon || m_Timer.IsRunning() || m_SolutionMenu.IsVisible()) {
        show(m_pSolveDisabled, true);
        show(m_pSolve, false);
        show(m_pSolvePushed, false);
        return;
    }
    show(m_pSolveDisabled, false);
    const aInputServer* input = aApplication::inputServer();
    i32 mx = 0, my = 0;
    if (input)
        input->getMousePos(mx, my);
    const bool over = (m_pSolve && m_pSolve->HitTest(i16(mx), i16(my))) ||
                      (m_pSolvePushed && m_pSolvePushed->HitTest(i16(mx), i16(my)));
    const bool pushed = over && input && input->isMouseButtonDown(0);
    show(m_pSolvePushed, pushed);
    show(m_pSolve, !pushed);
    if (pushed && MousePressed())
        ToggleSolutionMode();
}

void cCapOJoePuzzleRoom::PickFromRow() {
    if (m_LettersToPick != 0) {
        const aInputServer* input = aApplication::inputServer();
        i32 mx = 0, my = 0;
        if (input)
            input->getMousePos(mx, my);
        m_Board.SelectLine(CharsLine);
        bool nothingFound = true;
        if (PickLetter(m_Board.HitTest(f32(mx), f32(my)), nothingFound, true, true)) {
            if (!nothingFound) {
                ++m_FoundSinceBonus;
                CheckSolved();
            }
            if (!m_bWon)
                CheckOutOfTokens();
            --m_LettersToPick;
            UpdateCounter();
        }
    }
    if (m_LettersToPick == 0) {
        m_Board.SetLineDimmed(CharsLine, true);
        SetLabels();
    }
}

// --- Solve, leave, draw -----------------------------------------------------------------------------

bool cCapOJoePuzzleRoom::ProcessAutoActions() {
    if (m_Timer.IsRunning() && m_TargetTest >= 0 && size_t(m_TargetTest) < m_Tests.size())
        StartTest(m_TargetTest);
    if (m_bSolutionMode)
        ToggleSolutionMode();
    Win();
    return true;
}

void cCapOJoePuzzleRoom::Leave() {
    if (CInventory* inventory = Inventory(); inventory && inventory->HasItem("TICKET"))
        inventory->RemoveItem("TICKET");
    CRoomBase::Leave();
}

void cCapOJoePuzzleRoom::RenderItems() {
    CRoomBase::RenderItems();
    const f32 size = m_Board.CellSize();
    for (const FoundMark& mark : m_FoundMarks) {
        if (m_FoundMarkTime <= 0)
            break;
        const SpyPoint at = m_Transform.LocalToScreen(mark.x, mark.y);
        const f32 alpha = std::clamp(1 - mark.age / m_FoundMarkTime, 0.0f, 1.0f);
        m_Gdi.color = SetColorAlpha(MarkGreen, u8(std::lround(alpha * 255)));
        m_Gdi.drawRect(at.x, at.y, cLetterBoard::CellWidth * size, cLetterBoard::CellHeight * size, true);
    }
    m_Board.Render();
    if (m_SolutionMenu.IsVisible()) {
        m_SolutionMenu.Render();
        m_Board.RenderLine(m_SolutionLine);
    }
    if (m_MessageMenu.IsVisible())
        m_MessageMenu.Render();
    if (m_pDisabledScreen) {
        const bool visible = m_pDisabledScreen->IsVisible();
        m_pDisabledScreen->SetVisible(true);
        m_pDisabledScreen->Render();
        m_pDisabledScreen->SetVisible(visible);
    }
    if (m_pTicket && m_pTicket->IsVisible())
        m_pTicket->Render();
    if (m_pTicketHole && m_pTicketHole->IsVisible())
        m_pTicketHole->Render();
}

// --- Reset and record -----------------------------------------------------------------------------

void cCapOJoePuzzleRoom::Reset() {
    if (m_State <= ResourcesQueued)
        return;
    m_bOutOfTokens = false;
    CRoomBase::Reset();
    m_pRollingCoin = nullptr;
    m_Board.ClearSelection();
    m_Timer.Start();
    m_LettersToPick = m_FoundSinceBonus = 0;
    m_bWon = m_bSolutionMode = m_bTicketMoving = false;
    for (CSpyItem* coin : m_CoinItems) {
        m_CoinPool.insert(coin);
        coin->SetVisible(false);
    }
    m_LightsLeft.Reset();
    m_LightsRight.Reset();
    m_LightsSlot.Reset();
    const size_t left = m_LightsLeft.lights.size();
    for (size_t i = 0; i < m_LampItems.size(); ++i) {
        const std::vector<cAnimatedLights::Light>& lights =
            i < left ? m_LightsLeft.lights : m_LightsRight.lights;
        const size_t index = i < left ? i : i - left;
        if (index < lights.size())
            SetItemCenter(m_LampItems[i], m_Transform.LocalToScreen(lights[index].x, lights[index].y));
        m_LampItems[i]->SetRotation(f32(platform::rand()) * 2 * Pi / 32767);
    }
    m_LightsSlot.Start();
    UpdateCounter();
    SetLabels();
    m_SolutionMenu.Reset();
    m_MessageMenu.Reset();
    m_Board.SetLinePos(m_SolutionLine, m_ThemeBoardPos);
    m_SavedSolution.clear();
    m_SolutionMenu.SetEntry(nullptr, Find("BTN_CANCEL"), Find("BTN_CANCEL_PRESSED"));
}

u8* cCapOJoePuzzleRoom::SaveSelf(SaveLoadSystem& sys, u8* pos) {
    pos = CRoomBase::SaveSelf(sys, pos);
    pos = m_Board.Save(sys, pos);
    pos = sys.writeString(pos, m_Alphabet);
    pos = sys.writeU16(pos, u16(m_CurrentTest));
    pos = sys.writeString(pos, m_SolutionLine);
    pos = sys.writeU16(pos, m_FoundSinceBonus);
    pos = sys.writeI32(pos, m_TargetTest);
    pos = sys.writeU16(pos, m_LettersToPick);
    pos = sys.writeU16(pos, m_OpenAtStart);
    pos = sys.writeU16(pos, m_LettersPerCoin);
    pos = sys.writeBool(pos, m_bSolutionMode);
    pos = sys.writeString(pos, m_SavedSolution);
    pos = sys.writeBool(pos, m_bWon);
    pos = m_Timer.SaveSelf(sys, pos);
    for (CSpyItem* item : {m_pMoneyHole, m_pMoneyHoleLeft, m_pMoneyHoleRight, m_pRollingCoin})
        pos = SaveItemRef(sys, pos, item);
    pos = sys.writeBool(pos, m_bFromLeft);
    pos = sys.writeF32(pos, m_MoneyHoleSpeed);
    pos = sys.writeBool(pos, m_bGoingIn);
    pos = SaveItemRefVector(sys, pos, std::vector<CSpyItem*>(m_CoinPool.begin(), m_CoinPool.end()));
    pos = SaveItemRefVector(sys, pos, m_CoinItems);
    pos = SaveItemRef(sys, pos, m_pTicket);
    pos = SaveItemRef(sys, pos, m_pTicketHole);
    pos = sys.writeF32(pos, m_TicketHoleSpeed);
    pos = sys.writeBool(pos, m_bTicketMoving);
    pos = sys.writeU32(pos, u32(m_FoundMarks.size()));
    for (const FoundMark& mark : m_FoundMarks)
        pos = sys.writeF32(sys.writeF32(sys.writeF32(pos, mark.x), mark.y), mark.age);
    pos = sys.writeF32(pos, m_FoundMarkTime);
    pos = m_LightsLeft.SaveSelf(sys, pos);
    pos = m_LightsRight.SaveSelf(sys, pos);
    pos = m_LightsSlot.SaveSelf(sys, pos);
    pos = m_SolutionMenu.SaveSelf(sys, pos);
    for (f32 value : {m_ThemePos.x, m_ThemePos.y, m_ThemeBoardPos.x, m_ThemeBoardPos.y})
        pos = sys.writeF32(pos, value);
    pos = m_MessageMenu.SaveSelf(sys, pos);
    pos = sys.writeF32(pos, m_LampRadius);
    pos = sys.writeU32(pos, m_Gdi.color);
    pos = SaveItemRef(sys, pos, m_pMoneyItem);
    pos = SaveItemRef(sys, pos, m_pCountInfo);
    pos = sys.writeBool(pos, m_bOutOfTokens);
    pos = sys.writeBool(pos, m_bPausedCopy);
    pos = sys.writeU32(pos, u32(m_Tests.size()));
    for (const WordTest& test : m_Tests) {
        pos = sys.writeU32(pos, u32(test.words.size()));
        for (const WordEntry& entry : test.words)
            pos = sys.writeString(sys.writeString(pos, entry.word), entry.display);
        pos = sys.writeString(sys.writeString(pos, test.autoShow), test.noStartLetters);
    }
    return pos;
}

const u8* cCapOJoePuzzleRoom::LoadSelf(SaveLoadSystem& sys, const u8* pos) {
    pos = CRoomBase::LoadSelf(sys, pos);
    if (!m_pRoomsManager)
        return pos;
    CRoomItemLookup& rooms = *m_pRoomsManager;
    pos = m_Board.Load(rooms, sys, pos);
    pos = sys.readString(pos, m_Alphabet);
    u16 current = 0;
    pos = sys.readU16(pos, current);
    m_CurrentTest = i16(current);
    pos = sys.readString(pos, m_SolutionLine);
    pos = sys.readU16(pos, m_FoundSinceBonus);
    pos = sys.readI32(pos, m_TargetTest);
    pos = sys.readU16(pos, m_LettersToPick);
    pos = sys.readU16(pos, m_OpenAtStart);
    pos = sys.readU16(pos, m_LettersPerCoin);
    pos = sys.readBool(pos, m_bSolutionMode);
    pos = sys.readString(pos, m_SavedSolution);
    pos = sys.readBool(pos, m_bWon);
    pos = m_Timer.LoadSelf(rooms, sys, pos);
    for (CSpyItem** item : {&m_pMoneyHole, &m_pMoneyHoleLeft, &m_pMoneyHoleRight, &m_pRollingCoin})
        pos = LoadItemRef(rooms, sys, pos, *item);
    pos = sys.readBool(pos, m_bFromLeft);
    pos = sys.readF32(pos, m_MoneyHoleSpeed);
    pos = sys.readBool(pos, m_bGoingIn);
    std::vector<CSpyItem*> pool;
    pos = LoadItemRefVector(rooms, sys, pos, pool);
    m_CoinPool.clear();
    for (CSpyItem* coin : pool)
        if (coin)
            m_CoinPool.insert(coin);
    pos = LoadItemRefVector(rooms, sys, pos, m_CoinItems);
    std::erase(m_CoinItems, nullptr);
    pos = LoadItemRef(rooms, sys, pos, m_pTicket);
    pos = LoadItemRef(rooms, sys, pos, m_pTicketHole);
    pos = sys.readF32(pos, m_TicketHoleSpeed);
    pos = sys.readBool(pos, m_bTicketMoving);
    u32 count = 0;
    pos = sys.readU32(pos, count);
    m_FoundMarks.clear();
    if (!countFits(sys, pos, count, SavedMarkSize, "cCapOJoePuzzleRoom::LoadSelf() found marks"))
        return pos + sys.bytesLeftInRecord(pos);
    m_FoundMarks.resize(count);
    for (FoundMark& mark : m_FoundMarks)
        pos = sys.readF32(sys.readF32(sys.readF32(pos, mark.x), mark.y), mark.age);
    pos = sys.readF32(pos, m_FoundMarkTime);
    pos = m_LightsLeft.LoadSelf(rooms, sys, pos);
    pos = m_LightsRight.LoadSelf(rooms, sys, pos);
    pos = m_LightsSlot.LoadSelf(rooms, sys, pos);
    pos = m_SolutionMenu.LoadSelf(rooms, sys, pos);
    for (f32* value : {&m_ThemePos.x, &m_ThemePos.y, &m_ThemeBoardPos.x, &m_ThemeBoardPos.y})
        pos = sys.readF32(pos, *value);
    pos = m_MessageMenu.LoadSelf(rooms, sys, pos);
    pos = sys.readF32(pos, m_LampRadius);
    pos = sys.readU32(pos, m_Gdi.color);
    pos = LoadItemRef(rooms, sys, pos, m_pMoneyItem);
    pos = LoadItemRef(rooms, sys, pos, m_pCountInfo);
    pos = sys.readBool(pos, m_bOutOfTokens);
    pos = sys.readBool(pos, m_bPausedCopy);
    return LoadTests(sys, pos);
}

const u8* cCapOJoePuzzleRoom::LoadTests(SaveLoadSystem& sys, const u8* pos) {
    m_Tests.clear();
    u32 count = 0;
    pos = sys.readU32(pos, count);
    if (!countFits(sys, pos, count, SavedTestSize, "cCapOJoePuzzleRoom::LoadSelf() games"))
        return pos + sys.bytesLeftInRecord(pos);
    m_Tests.resize(count);
    for (WordTest& test : m_Tests) {
        u32 words = 0;
        pos = sys.readU32(pos, words);
        if (!countFits(sys, pos, words, SavedWordSize, "cCapOJoePuzzleRoom::LoadSelf() words"))
            return pos + sys.bytesLeftInRecord(pos);
        test.words.resize(words);
        for (WordEntry& entry : test.words)
            pos = sys.readString(sys.readString(pos, entry.word), entry.display);
        pos = sys.readString(sys.readString(pos, test.autoShow), test.noStartLetters);
    }
    return pos;
}
