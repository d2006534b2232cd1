#include "LabRoomsKit.h"
#include "game/SpyGame/CInventory.h"
#include "support/game/SaveRecords.h"
#include "tk2v/gfx/SceneCapture.h"
#include "tk2v/platform/Random.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

// Where the computers' screen items stand: each a 20 x 20 picture, the grayed buttons over their
// buttons, the result entries over each other, and the typed line and the answer as texts.
struct ScreenSpot {
    const char* item;
    int x, y;
};
constexpr ScreenSpot ScreenSpots[] = {
    {"CAPTION_CRIME_COMPUTER", 20, 10},
    {"BTN_VICTIMID", 20, 40},
    {"BTN_VICTIMID_GRAYED", 20, 40},
    {"BTN_LOOKNAME", 20, 70},
    {"BTN_LOOKNAME_GRAYED", 20, 70},
    {"BTN_LOOKPHONE", 20, 100},
    {"BTN_LOOKPHONE_GRAYED", 20, 100},
    {"CHECK_VICKID", 50, 40},
    {"CHECK_LUN", 50, 70},
    {"CHECK_LUPN", 50, 100},
    {"CAPTION_VICTIMIDREPORT", 120, 10},
    {"BTN_ENTER_NAME", 120, 40},
    {"BTN_CHECK_MISSING_PERSONS", 120, 70},
    {"BTN_CHECK_ID_DATA_BASE", 120, 100},
    {"BTN_CHECK_ID_DATA_BASE_GRAYED", 120, 100},
    {"CHECK_EN", 150, 40},
    {"CHECK_CMP", 150, 70},
    {"CHECK_CIDB", 150, 100},
    {"CAPT_ENTER_NAME", 220, 10},
    {"CAPT_ENTER_PHONE", 250, 10},
    {"TESTWINDOW", 280, 10},
    {"PROFILE_TITLE", 310, 10},
    {"MESSAGE", 340, 10},
    {"ANSWERDLG", 370, 10},
    {"FINGERPRINTS_MENU", 220, 100},
    {"PROGRESS_BACK", 250, 100},
    {"PERSON_NOT_FOUND", 220, 40},
    {"ERR_NOT_ENOUGHT_INFO", 220, 40},
    {"ERR_NO_MISSING_PERSONS_MATCH", 220, 40},
    {"ERR_NO_MATCH_IN_DB", 220, 40},
    {"SUBMIT", 150, 250},
    {"ESCAPE", 200, 250},
    {"ID_REPORT", 300, 200},
    {"PHONE1", 340, 200},
    {"TWO_NUMBERS", 370, 200},
    {"MOVIE_DETECTOR", 370, 250},
    {"FINGERPRINTS", 20, 150},
    {"FINGERPRINTS1", 20, 150},
    {"FINGERPRINTS2", 20, 150},
    {"FINGERPRINTS3", 20, 150},
    {"FINGERPRINTS4", 20, 150},
    {"FINGERPRINTS_FIND", 50, 150},
    {"BTN_ENTER_FINGERPRINTS", 80, 150},
    {"FINGERPRINTS_PROGRESS", 110, 150},
    {"M1", 250, 200},
};

// The three computers without a single screen item: room and class.
constexpr const char* BareComputers[][2] = {{"zoom_BareProfile", "VictimId2PuzzleRoom"},
                                            {"zoom_BareId", "VictimIdPuzzleRoom"},
                                            {"zoom_BareSearcher", "CrimeSearcherRoom"}};

// The victim-profile, victim-identification and search computers beside the hall, with the hub's
// evidence ID_CARD, FINGERPRINTS, INFORMATION and PHONE_NUMBER lying hidden in the hall.
class LabComputersTest : public LabRoomsTest {
protected:
    void SetUp() override {
        writeComputer("zoom_VictimId2",
                      "Class = VictimId2PuzzleRoom\n[editbox]\nname = NAME1, NAME2\n"
                      "[Inventory]\nitem = ID_CARD\n[WinInfo]\nReport = ID_REPORT\nTestBack = TESTWINDOW\n",
                      "NAME1 = \"john\"\nNAME2 = \"smith\"\nMSG_ENTERWRONGNAME = \"Nobody of that name.\"\n");
        writeComputer("zoom_VictimId2Plain", "Class = VictimId2PuzzleRoom\n[Inventory]\nitem = ID_CARD\n",
                      "");
        writeComputer("zoom_VictimId",
                      "Class = VictimIdPuzzleRoom\n[CellsManager]\ndx = 5\ndy = -1\ngroups = M1, 3\nM1 = 2\n"
                      "[ProgressInfo]\nmaintimer = 1.04\nrighttimer = 0.27\nlefttimer = 0.15\n",
                      "");
        writeComputer(
            "zoom_CrimeSearcher", "Class = CrimeSearcherRoom\n",
            "TRUE_PHONE1 = \"5551\"\nTRUE_PHONE2 = \"5552\"\nTRUE_PHONE3 = \"5553\"\n"
            "TRUE_NAME1 = \"Smith\"\nTRUE_NAME2 = \"Doe\"\nNameRes1 = \"Born here\"\nNameRes10 = \"Left\"\n"
            "MSG_PHONE2INFO = \"The docks\"\nMSG_PHONE3INFO = \"The tower\"\n");
        // The profile computer that asks for the keys of the net puzzle, which this case lacks.
        writeComputer("zoom_VictimId2Keys", "Class = VictimId2PuzzleRoom\n", "");
        // Screens without a single item of theirs.
        for (const auto& [bare, className] : BareComputers)
            writeLabRoom(bare, std::string("Class = ") + className + "\n", "", "", {}, "");
        platform::srand(3);
        play(objects({{"dot", 380, 280}}), "", "[ROOM]\n",
             "zoom_VictimId2\nzoom_VictimId2Plain\nzoom_VictimId\nzoom_CrimeSearcher\n"
             "zoom_VictimId2Keys\nzoom_BareProfile\nzoom_BareId\nzoom_BareSearcher\n");
    }

    static std::string screenObjects() {
        std::string text;
        for (const ScreenSpot& spot : ScreenSpots) {
            std::string object = spot.item;
            std::transform(object.begin(), object.end(), object.begin(), ::tolower);
            text += "[" + object + "]\nClass = image\nImage = dot\nX = " + std::to_string(spot.x) +
                    "\nY = " + std::to_string(spot.y) + "\n";
        }
        for (int i = 1; i <= 12; ++i)
            text += "[fingerprintsr" + std::to_string(i) + "]\nClass = image\nImage = dot\nX = 50\nY = 180\n";
        return text + textObject("editboxtext", 220, 150, 150, 16) +
               textObject("find_dlg", 220, 170, 150, 60);
    }
    static std::string screenItems() {
        std::vector<std::string> names;
        for (const ScreenSpot& spot : ScreenSpots)
            names.push_back(spot.item);
        for (int i = 1; i <= 12; ++i)
            names.push_back("FINGERPRINTSR" + std::to_string(i));
        names.push_back("EDITBOXTEXT");
        names.push_back("FIND_DLG");
        return itemsOver(names, "", "Visible = 0\n");
    }
    void writeComputer(const std::string& name, const std::string& roomIni, const std::string& texts) {
        std::vector<std::string> onSelf;
        for (const ScreenSpot& spot : ScreenSpots)
            onSelf.push_back(spot.item);
        writeLabRoom(name, roomIni, screenObjects(), screenItems(), onSelf, texts);
    }

    // Evidence of that name, made in the hall and handed to Rusca.
    CSpyItem* give(const std::string& name) {
        CSpyItem* evidence = hall->GetItemManager().HasItem(name)
                                 ? hall->GetItem(name)
                                 : hall->GetItemManager().CreateItem(name, "Hall", {380, 280}, 20, 20, false);
        evidence->Reset();
        ann->GetInventory().AddItem(evidence);
        return evidence;
    }

    template <class Room> Traced<Room>* open(const std::string& name) {
        Traced<Room>* room = enter<Room>(name);
        screen = room;
        return room;
    }
    CSpyItem& at(const std::string& name) { return *screen->GetItem(name); }
    bool shown(const std::string& name) { return at(name).IsVisible(); }
    // A press on the item's place, and a frame to let go.
    void press(const std::string& name) {
        const SpyPoint p = at(name).GetPos();
        frame(i32(p.x) + 5, i32(p.y) + 5);
        clickAt(i32(p.x) + 5, i32(p.y) + 5);
        frame(390, 290);
    }
    // The computers' sounds that play now, but the hover sound every press brings.
    std::vector<std::string> sounds() {
        std::vector<std::string> names = played();
        std::erase_if(
            names, [](const std::string& n) { return n.rfind("pc_", 0) != 0 || n == "pc_button_mouseover"; });
        return names;
    }
    std::vector<std::string> messages() { return std::exchange(shownOf(), {}); }
    std::vector<std::string>& shownOf() {
        if (auto* r = dynamic_cast<Traced<cVictimId2PuzzleRoom>*>(screen))
            return r->shown;
        if (auto* r = dynamic_cast<Traced<cVictimIdPuzzleRoom>*>(screen))
            return r->shown;
        return dynamic_cast<Traced<cCrimeSearcherRoom>*>(screen)->shown;
    }
    // Types into the find dialog's line and presses Enter.
    void enterText(const std::string& text) {
        for (char ch : text) {
            frame(390, 290, {.taps = {ScanCodeOf(ch)}});
            frame(390, 290);
        }
        type("\n");
    }

    CRoomBase* screen = nullptr;
};

TEST_F(LabComputersTest, TheProfileComputerPrintsTheProfileForTheRightNameWhileTheCardIsHeld) {
    open<cVictimId2PuzzleRoom>("zoom_VictimId2");
    EXPECT_TRUE(shown("BTN_VICTIMID"));
    EXPECT_TRUE(shown("BTN_LOOKNAME_GRAYED"));
    EXPECT_FALSE(shown("BTN_LOOKNAME"));
    press("BTN_VICTIMID");
    EXPECT_TRUE(shown("BTN_ENTER_NAME"));
    EXPECT_FALSE(shown("BTN_VICTIMID"));
    sounds();

    press("BTN_ENTER_NAME");
    press("BTN_CHECK_MISSING_PERSONS");
    EXPECT_EQ(sounds(), std::vector<std::string>{"pc_button_mouseclick"})
        << "without the card nothing happens";
    EXPECT_FALSE(shown("FIND_DLG"));

    give("ID_CARD");
    press("BTN_ENTER_NAME");
    EXPECT_TRUE(shown("FIND_DLG"));
    EXPECT_TRUE(shown("EDITBOXTEXT"));
    enterText("smith doe");
    EXPECT_EQ(messages(), std::vector<std::string>{"MSG_ENTERWRONGNAME"});
    EXPECT_TRUE(shown("FIND_DLG")) << "the dialog stays open";
    EXPECT_EQ(sounds(),
              (std::vector<std::string>{"pc_button_mouseclick", "pc_type_symbol", "pc_result_failed"}));

    for (int i = 0; i < 9; ++i) {
        frame(390, 290, {.taps = {14}});
        frame(390, 290);
    }
    enterText("smith john");
    EXPECT_TRUE(shown("TESTWINDOW"));
    EXPECT_TRUE(shown("PROFILE_TITLE"));
    EXPECT_FALSE(shown("SUBMIT")) << "the profile closes by its way out only";
    EXPECT_FALSE(shown("FIND_DLG"));
    sounds();

    press("ESCAPE");
    EXPECT_TRUE(shown("ID_REPORT"));
    EXPECT_TRUE(shown("CHECK_EN"));
    EXPECT_TRUE(shown("CHECK_CMP"));
    EXPECT_FALSE(ann->GetInventory().HasItem("ID_CARD"));
    EXPECT_EQ(sounds(), (std::vector<std::string>{"pc_button_mouseclick", "pc_result_complete"}));

    press("ESCAPE");
    press("BTN_VICTIMID");
    EXPECT_EQ(sounds(), (std::vector<std::string>{"pc_button_mouseclick"}))
        << "once solved the report just shows";
}

TEST_F(LabComputersTest, WithoutAWrongNameTextTheProfileComputerShowsNotFoundAndGoesBackToTheDialog) {
    open<cVictimId2PuzzleRoom>("zoom_VictimId2Plain");
    give("ID_CARD");
    press("BTN_VICTIMID");
    press("BTN_ENTER_NAME");
    enterText("anyone");
    // No accepted names: any name is right.
    EXPECT_TRUE(shown("TESTWINDOW"));
    press("SUBMIT");
    EXPECT_TRUE(shown("ID_REPORT"));
}

TEST_F(LabComputersTest, TheProfileComputerWantsTheNetPuzzlesKeysThatThisCaseLacks) {
    open<cVictimId2PuzzleRoom>("zoom_VictimId2Keys");
    give("ID_CARD");
    press("BTN_VICTIMID");
    press("BTN_ENTER_NAME");
    EXPECT_FALSE(shown("FIND_DLG"));
    EXPECT_FALSE(screen->ProcessAutoActions());
}

TEST_F(LabComputersTest, ScreensWithoutTheirItemsPlaySearchAndSolve) {
    give("FINGERPRINTS");
    give("PHONE_NUMBER");
    for (const auto& [bare, className] : BareComputers) {
        CRoomBase* room = rooms.GetRoom(bare);
        playing = screen = room;
        room->Enter("Demo", nullptr);
        for (int i = 0; i < 20; ++i) {
            Input in{.dt = 0.1f};
            if (i % 3 == 0)
                in.taps = {ScanCodeOf(i % 2 ? 'a' : '\n')};
            frame(20 + 10 * i, 40 + 5 * i, in);
            clickAt(20 + 10 * i, 40 + 5 * i);
        }
        room->ProcessAutoActions();
        for (int i = 0; i < 20; ++i)
            frame(390, 290, {.dt = 0.1f});
        expectResaveEqual(bare);
    }
}

TEST_F(LabComputersTest, TheIdentificationComputerRunsTheFingerprintSearchUnderItsBar) {
    auto* room = open<cVictimIdPuzzleRoom>("zoom_VictimId");
    press("BTN_VICTIMID");
    press("BTN_CHECK_ID_DATA_BASE");
    EXPECT_TRUE(shown("FINGERPRINTS_MENU"));
    EXPECT_TRUE(shown("BTN_ENTER_FINGERPRINTS"));
    EXPECT_EQ(messages(), std::vector<std::string>{"MSG_NOFINGERPRINTS"});
    sounds();

    CSpyItem* card = give("FINGERPRINTS");
    ann->GetInventory().RemoveItem("FINGERPRINTS");
    room->SetItemOnCursor(card, nullptr);
    press("ESCAPE");
    EXPECT_EQ(room->GetItemOnCursor(), card) << "not laid in over the way out";
    // Laid in the scanner, the card starts the search in the same frame.
    frame(255, 105);
    clickAt(255, 105);
    EXPECT_EQ(room->GetItemOnCursor(), nullptr);
    EXPECT_TRUE(shown("FINGERPRINTS_FIND"));
    EXPECT_EQ(sounds(), (std::vector<std::string>{"pc_result_complete", "pc_searching_process"}));
    // At dt 0.1 the prints step every 0.15 s and stay at the last; results flicker every 0.27 s, one
    // at a time.
    std::vector<std::string> trace;
    for (int i = 0; i < 11; ++i) {
        frame(390, 290, {.dt = 0.1f});
        std::string seen;
        for (int f = 0; f <= 4; ++f)
            if (shown(f ? "FINGERPRINTS" + std::to_string(f) : std::string("FINGERPRINTS")))
                seen += char('0' + f);
        int results = 0;
        for (int r = 1; r <= 12; ++r)
            results += shown("FINGERPRINTSR" + std::to_string(r));
        trace.push_back(seen + "/" + std::to_string(results));
    }
    EXPECT_EQ(trace, (std::vector<std::string>{"0/0", "1/0", "1/1", "2/1", "2/1", "3/1", "3/1", "4/1", "4/1",
                                               "4/1", "/0"}));
    EXPECT_TRUE(shown("ERR_NO_MATCH_IN_DB"));
    EXPECT_EQ(messages(), (std::vector<std::string>{"MSG_NOMATCHFOUNDINDB", "MSG_NOFILLPHYSTABLE"}));
}

TEST_F(LabComputersTest, TheFingerprintWindowHoldsWhileTheSearchRuns) {
    auto* room = open<cVictimIdPuzzleRoom>("zoom_VictimId");
    press("BTN_VICTIMID");
    press("BTN_CHECK_ID_DATA_BASE");
    CSpyItem* card = give("FINGERPRINTS");
    ann->GetInventory().RemoveItem("FINGERPRINTS");
    room->SetItemOnCursor(card, nullptr);
    press("PROGRESS_BACK");
    sounds();
    press("ESCAPE");
    press("SUBMIT");
    EXPECT_TRUE(shown("FINGERPRINTS_MENU"));
    EXPECT_EQ(sounds(), std::vector<std::string>{"pc_button_mouseclick"});
}

// Half of the 1.04 s search gone: the scanner's prints at their fourth image, the bar half filled.
TEST_F(LabComputersTest, TheFingerprintWindowDrawsItsBarHalfFilledHalfwayThroughTheSearch) {
    auto* room = open<cVictimIdPuzzleRoom>("zoom_VictimId");
    press("BTN_VICTIMID");
    press("BTN_CHECK_ID_DATA_BASE");
    CSpyItem* card = give("FINGERPRINTS");
    ann->GetInventory().RemoveItem("FINGERPRINTS");
    room->SetItemOnCursor(card, nullptr);
    frame(255, 105);
    clickAt(255, 105);
    frame(390, 290, {.dt = 0.52f});
    EXPECT_TRUE(
        matchesGolden("fingerprint_search_half", drawScene({0, 0, 400, 300}, [room] { room->Render(); })));
}

TEST_F(LabComputersTest, TheIdentificationComputerPrintsTheReportOnceBothChecksHaveRun) {
    auto* room = open<cVictimIdPuzzleRoom>("zoom_VictimId");
    press("BTN_VICTIMID");
    press("BTN_CHECK_MISSING_PERSONS");
    EXPECT_TRUE(shown("TESTWINDOW"));
    sounds();
    press("SUBMIT");
    EXPECT_EQ(messages(), std::vector<std::string>{"MSG_WRONGPHYSTABLE"});
    EXPECT_EQ(sounds(), (std::vector<std::string>{"pc_button_mouseclick", "pc_result_failed"}));
    frame(305, 205);
    clickAt(305, 205);
    frame(390, 290);
    press("SUBMIT");
    EXPECT_EQ(messages(), std::vector<std::string>{"MSG_NOMISSINGPERSONMTD"});
    EXPECT_TRUE(shown("ERR_NO_MISSING_PERSONS_MATCH"));
    press("ESCAPE");
    EXPECT_TRUE(shown("CHECK_CMP"));

    EXPECT_TRUE(room->ProcessAutoActions() == false) << "no prints and no search: nothing to solve";
    give("FINGERPRINTS");
    EXPECT_TRUE(room->ProcessAutoActions());
    EXPECT_TRUE(shown("ID_REPORT"));
    EXPECT_TRUE(shown("CHECK_VICKID"));
    EXPECT_TRUE(at("BTN_VICTIMID").IsDisabled()) << "printed: the report button is done";
}

TEST_F(LabComputersTest, TheSearchTerminalFindsTheNumbersInTheirOrder) {
    auto* room = open<cCrimeSearcherRoom>("zoom_CrimeSearcher");
    EXPECT_TRUE(shown("BTN_VICTIMID_GRAYED"));
    give("INFORMATION");
    press("BTN_LOOKPHONE");
    EXPECT_TRUE(shown("CAPT_ENTER_PHONE"));
    sounds();
    enterText("5552");
    EXPECT_TRUE(shown("PERSON_NOT_FOUND")) << "the second number means nothing before the first";
    EXPECT_EQ(sounds(), (std::vector<std::string>{"pc_type_symbol", "pc_result_complete"}));
    press("ESCAPE");

    press("BTN_LOOKPHONE");
    enterText("5551");
    EXPECT_EQ(messages(), std::vector<std::string>{"MSG_ABOUTPHONE"});
    EXPECT_TRUE(shown("PROFILE_TITLE"));
    EXPECT_TRUE(shown("PHONE1"));
    EXPECT_FALSE(ann->GetInventory().HasItem("INFORMATION")) << "name and number known";
    press("ESCAPE");
    EXPECT_TRUE(shown("CHECK_LUPN"));
    EXPECT_TRUE(at("BTN_LOOKPHONE").IsDisabled());

    give("PHONE_NUMBER");
    room->Leave();
    room->Enter("Demo", nullptr);
    EXPECT_FALSE(shown("CHECK_LUPN")) << "a new number opens the look-up again";
    press("BTN_LOOKPHONE");
    enterText("5552");
    EXPECT_EQ(at("FIND_DLG").GetText(), L"The docks");
    EXPECT_EQ(messages(), (std::vector<std::string>{"MSG_ABOUTPHONE2"}));
    for (int i = 0; i < 4; ++i) {
        frame(390, 290, {.taps = {14}});
        frame(390, 290);
    }
    enterText("5553");
    EXPECT_EQ(messages(), (std::vector<std::string>{"MSG_ABOUTPHONE3"}));
    EXPECT_TRUE(shown("TWO_NUMBERS"));
    EXPECT_FALSE(ann->GetInventory().HasItem("PHONE_NUMBER"));
}

TEST_F(LabComputersTest, TheSearchTerminalTakesNamesInAnyCaseButExactly) {
    auto* room = open<cCrimeSearcherRoom>("zoom_CrimeSearcher");
    struct Case {
        const char* typed;
        bool found;
    } cases[] = {{"smith", true}, {"doe", true}, {" smith", false}, {"smith ", false}, {"", false}};
    for (const Case& c : cases) {
        // A found name checks its button off: each try on a fresh screen.
        room->Reset();
        room->Enter("Demo", nullptr);
        press("BTN_LOOKNAME");
        enterText(c.typed);
        EXPECT_EQ(shown("PERSON_NOT_FOUND"), !c.found) << "'" << c.typed << "'";
        if (c.found) {
            EXPECT_EQ(at("FIND_DLG").GetText().substr(0, 10), L"1Born here") << c.typed;
            EXPECT_EQ(messages(), std::vector<std::string>{"MSG_ABOUTNAME"});
        }
        EXPECT_EQ(sounds().back(), "pc_result_complete") << "every submit";
    }
}

TEST_F(LabComputersTest, TheScreenRecordFollowsTheRoomsAndReloadsToTheSameBytes) {
    auto* room = open<cVictimId2PuzzleRoom>("zoom_VictimId2");
    give("ID_CARD");
    press("BTN_VICTIMID");
    press("BTN_ENTER_NAME");
    SaveRecords records;
    HostEntity whole, base;
    whole.save = [&](SaveLoadSystem& sys, u8* pos) { return room->SaveSelf(sys, pos); };
    base.save = [&](SaveLoadSystem& sys, u8* pos) { return room->CRoomBase::SaveSelf(sys, pos); };
    const std::string after = records.save(whole).substr(records.save(base).size());
    const std::string refs("zoom_VictimId2:SUBMIT\0zoom_VictimId2:ESCAPE\0zoom_VictimId2:ID_REPORT\0", 69);
    EXPECT_EQ(after.substr(0, refs.size()), refs);
    // The last group, missing persons, unchecked, then the solved flag.
    const std::string tail("zoom_VictimId2:CHECK_CMP\0zoom_VictimId2:BTN_CHECK_MISSING_PERSONS\0\0\0", 68);
    EXPECT_EQ(after.substr(after.size() - tail.size()), tail);
    // Screens and stages where no key is pending: a loaded line starts with its key countdowns at 0.
    expectResaveEqual("find dialog");
    open<cVictimIdPuzzleRoom>("zoom_VictimId");
    press("BTN_VICTIMID");
    press("BTN_CHECK_ID_DATA_BASE");
    CSpyItem* card = give("FINGERPRINTS");
    ann->GetInventory().RemoveItem("FINGERPRINTS");
    screen->SetItemOnCursor(card, nullptr);
    press("PROGRESS_BACK");
    expectResaveEqual("search running");
    open<cCrimeSearcherRoom>("zoom_CrimeSearcher")->ProcessAutoActions();
    expectResaveEqual("first number");
    give("PHONE_NUMBER");
    screen->ProcessAutoActions();
    expectResaveEqual("both numbers");
    for (int i = 0; i < 30; ++i)
        frame(390, 290, {.dt = 0.1f});
    open<cVictimIdPuzzleRoom>("zoom_VictimId")->ProcessAutoActions();
    expectResaveEqual("identified");
    open<cVictimId2PuzzleRoom>("zoom_VictimId2")->ProcessAutoActions();
    expectResaveEqual("profiled");
}

} // namespace
