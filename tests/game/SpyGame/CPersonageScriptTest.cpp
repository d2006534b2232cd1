#include "game/SpyGame/CPersonage.h"
#include "game/SpyGame/CPersonagesManager.h"
#include "support/LogCapture.h"
#include "support/TempDir.h"
#include "tk2v/file/aOptionsFile.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> Titles(const std::vector<CFindItemsGroup>& groups) {
    std::vector<std::string> titles;
    for (const CFindItemsGroup& group : groups)
        titles.push_back(group.GetTitle() + "/" + std::to_string(group.GetItems().front().GetType()));
    return titles;
}

// Two personages; Ann has a global-map script, a script per room and one for the investigation.
class ScriptFolder : public testing::Test {
protected:
    void SetUp() override {
        dir.write("_investigation.ini", "[Personages]\nPersonagesList = Ann, Bob\nStartPersonages = Ann\n");
        dir.write("_rooms.list", "room_Hall\nroom_Study\n");
        dir.write("GlobalMap.AI/Ann.ai", "[INVESTIGATION]\nMustClickItems = MAP\n");
        dir.write("room_Hall/Ann.ai",
                  "[INVESTIGATION]\nEvidencesToFind = KNIFE\n"
                  "[ROOM]\nFirstEnter = HALL_FIRST\nISpyItemsCount = 4\nISpyDiffLevel = 2\n"
                  "[KEY]\nAbout = KEY_ABOUT\nBadUse = KEY_BAD\nUseTo = room_Study:SAFE\n");
        dir.write("room_Study/Ann.ai", "[INVESTIGATION]\nMustUseItems = SAFE\n[KEY]\nClickUse = KEY_CLICK\n");
        dir.write("Ann.ai", "[INVESTIGATION]\nInvTask = FIND_IT\nMustClickItems = NOTE\n"
                            "[ROOM]\nRoomTask = SOLVE\n");
        dir.write("Bob.ai", "[INVESTIGATION]\nMustClickItems = PHONE\n");
        manager.CreatePersonages(aOptionsFile(dir.file("_investigation.ini")), nullptr, nullptr);
        manager.LoadScripts(dir.path() + "GlobalMap.AI/", "_GlobalMap");
        manager.LoadInvestigationScripts(dir.path(), "Demo");
    }

    TempDir dir;
    CPersonagesManager manager;
};

TEST_F(ScriptFolder, InvestigationListsAccumulateInReadingOrder) {
    CPersonage& ann = *manager.GetPersonage("Ann");
    EXPECT_EQ(Titles(ann.GetInvestigationInfo().m_TaskGroups),
              (std::vector<std::string>{"MAP/2", "KNIFE/1", "SAFE/4", "NOTE/2"}));
    EXPECT_EQ(ann.GetInvestigationInfo().m_InvTask, "FIND_IT");
    EXPECT_EQ(Titles(manager.GetPersonage("Bob")->GetInvestigationInfo().m_TaskGroups),
              (std::vector<std::string>{"PHONE/2"}));
}

TEST_F(ScriptFolder, RoomSectionsGoUnderTheirFilesRoomKey) {
    CPersonage& ann = *manager.GetPersonage("Ann");
    const CPersonage::CRoomInfo* hall = ann.FindRoomInfo("room_Hall");
    ASSERT_NE(hall, nullptr);
    EXPECT_EQ(hall->m_ScriptFirstEnter, "HALL_FIRST");
    EXPECT_EQ(hall->m_ISpyItemsCount, 4u);
    EXPECT_EQ(hall->m_DiffLevel, 2u);
    ASSERT_NE(ann.FindRoomInfo("Demo"), nullptr);
    EXPECT_EQ(ann.FindRoomInfo("Demo")->m_ScriptRoomTask, "SOLVE");
    EXPECT_EQ(ann.FindRoomInfo("room_Study"), nullptr);
}

TEST_F(ScriptFolder, EachRoomKeyHasItsOwnItemRecordAndScriptValuesWaitForReset) {
    CPersonage& ann = *manager.GetPersonage("Ann");
    const CPersonage::CItemInfo* hallKey = ann.FindItemInfo({"room_Hall", "KEY"});
    ASSERT_NE(hallKey, nullptr);
    EXPECT_EQ(hallKey->m_ScriptAbout, "KEY_ABOUT");
    EXPECT_EQ(hallKey->m_ScriptUseTo, CPersonage::ItemKey("room_Study", "SAFE"));
    EXPECT_EQ(hallKey->m_About, "");
    EXPECT_EQ(ann.FindItemInfo({"room_Study", "KEY"})->m_ScriptClickUse, "KEY_CLICK");
}

TEST(PersonageScript, ALaterItemSectionReplacesTheRecordWhole) {
    TempDir dir;
    dir.write("Ann.ai", "[KEY]\nAbout = A\nBadUse = B\nChangeItemInfoAtUse = About:X\n[KEY]\nClickUse = C\n");
    CPersonage ann("Ann");
    ASSERT_TRUE(ann.LoadScript(dir.path(), "Hall"));
    const CPersonage::CItemInfo* key = ann.FindItemInfo({"Hall", "KEY"});
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(key->m_ScriptAbout, "");
    EXPECT_EQ(key->m_ScriptBadUse, "");
    EXPECT_TRUE(key->m_UseChanges.empty());
    EXPECT_EQ(key->m_ScriptClickUse, "C");
}

TEST(PersonageScript, MissingFilesAndNamelessPersonagesReadNothing) {
    TempDir dir;
    dir.write(".ai", "[ROOM]\nRoomTask = T\n");
    CPersonage ann("Ann");
    CPersonage nameless("");
    LogCapture capture;
    EXPECT_FALSE(ann.LoadScript(dir.path(), "Hall"));
    EXPECT_FALSE(nameless.LoadScript(dir.path(), "Hall"));
    EXPECT_TRUE(capture.messages().empty());
    EXPECT_TRUE(nameless.GetRoomInfos().empty());
}

TEST(PersonageScript, DifficultyBoundAndCountFromTheRoomSection) {
    struct Case {
        const char* keys;
        u32 bound;
        u32 count;
    } cases[] = {
        {"ISpyDiffLevel = 9\nISpyItemsCount = 3\n", 5, 3},
        {"ISpyDiffLevel = -1\n", 5, 0},
        {"ISpyDiffLevel = 4\n", 4, 0},
        {"ISpyDiffLevel = 0\n", 0, 0},
        {"RoomTask = T\n", 3, 0},
    };
    for (const Case& c : cases) {
        TempDir dir;
        dir.write("Ann.ai", std::string("[ROOM]\n") + c.keys);
        CPersonage ann("Ann");
        ASSERT_TRUE(ann.LoadScript(dir.path(), "Hall"));
        EXPECT_EQ(ann.GetRoomInfo("Hall").m_DiffLevel, c.bound) << c.keys;
        EXPECT_EQ(ann.GetRoomInfo("Hall").m_ISpyItemsCount, c.count) << c.keys;
    }
    CPersonage bob("Bob");
    EXPECT_EQ(bob.GetRoomInfo("Hall").m_DiffLevel, 2u);
}

TEST(PersonageScript, RoomListsAppendOneGroupPerToken) {
    TempDir dir;
    dir.write("Ann.ai", "[ROOM]\nQuestItemsToFind = A, B\nQuestItemsGroupsToFind = Cups,Plates\n"
                        "MustClickItems = C\nMustUseItems = D  E\n");
    CPersonage ann("Ann");
    ASSERT_TRUE(ann.LoadScript(dir.path(), "Hall"));
    const CPersonage::CRoomInfo& room = ann.GetRoomInfo("Hall");
    EXPECT_EQ(Titles(room.m_QuestGroups), (std::vector<std::string>{"A/1", "B/1"}));
    EXPECT_EQ(room.m_QuestGroupNames, (std::list<std::string>{"Cups", "Plates"}));
    EXPECT_EQ(Titles(room.m_MustClickGroups), (std::vector<std::string>{"C/2"}));
    EXPECT_EQ(Titles(room.m_MustUseGroups), (std::vector<std::string>{"D/4", "E/4"}));
    EXPECT_EQ(room.m_QuestGroups[0].GetGroupName(), "");
    EXPECT_EQ(room.m_QuestGroups[0].GetRemaining(), 1);
}

TEST(PersonageScript, ChangeScriptTokensGiveFiveParts) {
    struct Case {
        const char* token;
        ItemInfoChange change;
        bool typeMissing;
    } cases[] = {
        {"About:TXT", {"", "", "", "About", "TXT"}, false},
        {"@Soleth:#Hall:$KEY:BadUse:CLS", {"Soleth", "Hall", "KEY", "BadUse", ""}, false},
        {"#Hall:$ROOM:RoomTask:T2", {"", "Hall", "ROOM", "RoomTask", "T2"}, false},
        // Markers are searched from the moving position: the "$" part before "#" is lost.
        {"$KEY:#Hall:About:X", {"", "Hall", "", "About", "X"}, false},
        {"UseTo:Hall:SAFE", {"", "", "", "UseTo", "Hall:SAFE"}, false},
        {"About:CLSX", {"", "", "", "About", "CLSX"}, false},
        {"About", {"", "", "", "", "About"}, true},
        // A marker without a ':' after it takes the rest of the token.
        {"@Ann", {"Ann", "", "", "", ""}, true},
        {"@Ann:#Hall", {"Ann", "Hall", "", "", ""}, true},
    };
    CPersonage ann("Ann");
    for (const Case& c : cases) {
        LogCapture capture;
        std::vector<ItemInfoChange> out;
        ann.ParseKey_ChangeItemInfo({c.token}, out);
        ASSERT_EQ(out.size(), 1u) << c.token;
        EXPECT_EQ(out[0], c.change) << c.token;
        std::string line =
            std::string("CPersonage::ParseKey_ChangeItemInfo(). [Ann] Not found type in script '") + c.token +
            "'";
        EXPECT_EQ(capture.contains(line), c.typeMissing) << c.token;
    }
}

TEST(PersonageScript, SeparatorsCollapseAndStateScriptsKeepTriples) {
    TempDir dir;
    dir.write("Ann.ai", "[KEY]\nChangeItemInfoAtPick = About:A, , About:B\n"
                        "ChangeStateAtUse = @Bob:Mood:happy,Mood:calm,calm\nUseTo = KEY\n"
                        "[LID]\nUseTo = Hall:ONESELF\n[BOX]\nUseTo = a:b:c\n");
    CPersonage ann("Ann");
    LogCapture capture;
    ASSERT_TRUE(ann.LoadScript(dir.path(), "Hall"));
    const CPersonage::CItemInfo& key = *ann.FindItemInfo({"Hall", "KEY"});
    EXPECT_EQ(key.m_PickChanges.size(), 2u);
    EXPECT_EQ(key.m_StateScripts,
              (std::vector<StringTriple>{{"Bob", "Mood", "happy"}, {"", "Mood", "calm"}, {"", "", "calm"}}));
    EXPECT_TRUE(capture.contains("CPersonage::ChangeState(). [Ann] Not found type in script 'calm'"));
    EXPECT_EQ(key.m_ScriptUseTo, CPersonage::ItemKey("", "KEY"));
    EXPECT_EQ(ann.FindItemInfo({"Hall", "LID"})->m_ScriptUseTo, CPersonage::ItemKey("Hall", "ONESELF"));
    EXPECT_EQ(ann.FindItemInfo({"Hall", "BOX"})->m_ScriptUseTo, CPersonage::ItemKey("a", "b:c"));
}

} // namespace
