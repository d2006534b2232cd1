#include "game/SpyGame/CPersonage.h"
#include "support/LogCapture.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

// Ann's script for room Hall, reset so that the current values hold the script's.
std::unique_ptr<CPersonage> Scripted(const std::string& name, const std::string& script,
                                     const std::string& room = "Hall") {
    TempDir dir;
    dir.write(name + ".ai", script);
    auto personage = std::make_unique<CPersonage>(name);
    personage->LoadScript(dir.path(), room);
    personage->Reset(false);
    personage->EnterRoom(room);
    return personage;
}

TEST(PersonageRules, TheCarriedRecordIsTheFirstByRoomNameInAnyRoom) {
    TempDir dir;
    dir.write("Study/Ann.ai", "[KEY]\nUseTo = Study:SAFE\nSuccessApply = FROM_STUDY\n");
    dir.write("Attic/Ann.ai", "[KEY]\nUseTo = Attic:BOX\nSuccessApply = FROM_ATTIC\n");
    CPersonage ann("Ann");
    ann.LoadScript(dir.path() + "Study/", "Study");
    ann.LoadScript(dir.path() + "Attic/", "Attic");
    ann.Reset(false);
    EXPECT_EQ(ann.GetItemUseTo("KEY"), CPersonage::ItemKey("Attic", "BOX"));
    EXPECT_EQ(ann.GetItemSuccessApplyText("KEY"), "FROM_ATTIC");
    EXPECT_EQ(ann.GetItemUseTo("NONE"), CPersonage::ItemKey());

    LogCapture capture;
    ann.EnterRoom("Study");
    ann.SetFocusedItem("SAFE");
    ann.OnUseInventoryItemToFocusedItem("KEY");
    EXPECT_TRUE(capture.contains(
        "CPersonage::OnUseInventoryItemToFocusedItem(). [Ann] Error use item 'KEY' to 'SAFE'"));
    EXPECT_EQ(ann.GetItemUseCount("Study", "SAFE"), 0u);
    ann.EnterRoom("Attic");
    ann.SetFocusedItem("BOX");
    ann.OnUseInventoryItemToFocusedItem("KEY");
    EXPECT_EQ(ann.GetItemUseCount("Attic", "BOX"), 1u);
    EXPECT_EQ(ann.GetItemTouchCount("Attic", "BOX"), 1u);
    EXPECT_EQ(ann.GetItemTouchCount("Attic", "KEY"), 1u);
    ann.OnUseInventoryItemToFocusedItem("PEN");
    EXPECT_TRUE(capture.contains(
        "CPersonage::OnUseInventoryItemToFocusedItem(). [Ann] Not specification use item 'PEN' to 'BOX'"));
}

TEST(PersonageRules, UseOnItselfIgnoresTheTargetRoom) {
    auto ann = Scripted("Ann", "[LID]\nUseTo = Elsewhere:ONESELF\nChangeItemInfoAtUse = About:OPENED\n"
                               "[ROOM]\nMustUseItems = LID\n");
    ann->Reset(true);
    ann->EnterRoom("Hall");
    ann->SetFocusedItem("LID");
    EXPECT_TRUE(ann->IsFocusedItemUsedOnSelf());
    EXPECT_FALSE(ann->CanPickFocusedItem());
    ann->OnClickAtFocusedItem("Hall", "LID");
    EXPECT_EQ(ann->GetItemUseCount("Hall", "LID"), 1u);
    EXPECT_EQ(ann->FindItemInfo({"Hall", "LID"})->m_About, "OPENED");

    LogCapture capture;
    ann->OnClickAtFocusedItem("Hall", "DOOR");
    EXPECT_TRUE(capture.contains(
        "CPersonage::OnClickAtFocusedItem(). [Ann] Not specification use item 'Hall':'DOOR'"));
    EXPECT_EQ(ann->FindItemInfo({"Hall", "DOOR"}), nullptr);
}

TEST(PersonageRules, ChangeRulesReachPersonagesRoomsAndPatterns) {
    auto ann = Scripted("Ann", "[DOOR1]\n[DOOR2]\n[DOOR12]\n[KEY]\n"
                               "ChangeItemInfoAtPick = $DOOR?:About:LOCKED,@ALL:$ROOM:RoomTask:NEXT,"
                               "@Bob:$KEY:UseTo:NOCOLON,@Zed:About:X,#Study:$DOOR1:BadUse:STUDY\n");
    auto bob = Scripted("Bob", "[DOOR1]\n[KEY]\nUseTo = Hall:SAFE\n");
    TempDir dir;
    dir.write("Ann.ai", "[DOOR1]\n");
    ann->LoadScript(dir.path(), "Study");

    LogCapture capture;
    ann->SetFocusedItem("KEY");
    ann->OnPickFocusedItem();
    EXPECT_EQ(ann->FindItemInfo({"Hall", "DOOR1"})->m_About, "LOCKED");
    EXPECT_EQ(ann->FindItemInfo({"Hall", "DOOR2"})->m_About, "LOCKED");
    EXPECT_EQ(ann->FindItemInfo({"Hall", "DOOR12"})->m_About, "");
    EXPECT_EQ(ann->FindItemInfo({"Study", "DOOR1"})->m_About, "");
    EXPECT_EQ(ann->FindItemInfo({"Hall", "DOOR?"}), nullptr);
    EXPECT_EQ(ann->FindRoomInfo("Hall")->m_RoomTask, "NEXT");
    EXPECT_EQ(bob->FindRoomInfo("Hall")->m_RoomTask, "NEXT");
    // A target without a room can never be the focused key again.
    EXPECT_EQ(bob->GetItemUseTo("KEY"), CPersonage::ItemKey("", "NOCOLON"));
    EXPECT_TRUE(
        capture.contains("CPersonage::ApplyItemScripts(). [Ann] Not found dest item '' for personage 'Zed'"));
    EXPECT_EQ(ann->FindItemInfo({"Study", "DOOR1"})->m_BadUse, "STUDY");
}

TEST(PersonageRules, LookingMarksClickedAndEachListIsSearchedOnItsOwn) {
    auto ann = Scripted("Ann", "[INVESTIGATION]\nMustClickItems = CUP\nMustUseItems = LID\n"
                               "[ROOM]\nMustClickItems = CUP\nMustUseItems = LID\n"
                               "[CUP]\nAbout = CUP_ABOUT\n[LID]\nUseTo = ONESELF\n");
    ann->Reset(true);
    ann->EnterRoom("Hall");
    CPersonage::CRoomInfo& hall = ann->GetRoomInfo("Hall");
    hall.m_GeneratedGroups.emplace_back("LID", CFindItem::TypeUse);
    ann->SetFocusedItem("CUP");
    EXPECT_EQ(ann->GetFocusedItemAbout(), "CUP_ABOUT");
    EXPECT_EQ(ann->GetItemTouchCount("Hall", "CUP"), 1u);
    EXPECT_EQ(ann->GetInvestigationInfo().m_TaskGroups[0].GetRemaining(), 0);
    EXPECT_EQ(hall.m_TaskList[0].GetRemaining(), 0);

    ann->SetFocusedItem("LID");
    ann->OnClickAtFocusedItem("Hall", "LID");
    EXPECT_EQ(ann->GetInvestigationInfo().m_TaskGroups[1].GetRemaining(), 0);
    EXPECT_EQ(hall.m_TaskList[1].GetRemaining(), 0);
    // Uses never tick the generated hidden-object groups.
    EXPECT_EQ(hall.m_GeneratedGroups[0].GetRemaining(), 1);
    EXPECT_TRUE(ann->IsRoomTaskListDone("Hall"));
    EXPECT_FALSE(ann->IsRoomISpyListDone("Hall"));
    EXPECT_TRUE(ann->IsRoomISpyListDone("Nowhere"));
}

TEST(PersonageRules, PickingToolsAndHiddenObjects) {
    auto ann = Scripted("Ann", "[KEY]\nUseTo = Study:SAFE\n[LID]\nUseTo = ONESELF\n[NOTE]\nAbout = N\n");
    ann->GetRoomInfo("Hall").m_GeneratedGroups.emplace_back("PEN", CFindItem::TypePick);
    struct Case {
        const char* item;
        bool canPick;
    } cases[] = {{"KEY", true}, {"LID", false}, {"NOTE", false}, {"PEN", true}, {"CUP", false}};
    for (const Case& c : cases) {
        ann->SetFocusedItem(c.item);
        EXPECT_EQ(ann->CanPickFocusedItem(), c.canPick) << c.item;
    }
    ann->SetFocusedItem("PEN");
    ann->OnPickFocusedItem();
    EXPECT_FALSE(ann->CanPickFocusedItem());
    EXPECT_TRUE(ann->IsRoomISpyListDone("Hall"));
    // The pick made an empty record for the scriptless item.
    EXPECT_NE(ann->FindItemInfo({"Hall", "PEN"}), nullptr);
}

TEST(PersonageRules, EnterTextsAndInvestigationTasks) {
    auto ann = Scripted("Ann", "[ROOM]\nFirstEnter = FIRST\nEnterToRoom = AGAIN\n"
                               "[INVESTIGATION]\nMustClickItems = A\nEvidencesToFind = A\n");
    EXPECT_EQ(ann->GetRoomEnterText(), "FIRST");
    ann->EnterRoom("Hall");
    EXPECT_EQ(ann->GetRoomEnterText(), "AGAIN");
    ann->SetRoomText("Hall", "FirstEnter", "");
    ann->Reset(false);
    ann->EnterRoom("Hall");
    EXPECT_EQ(ann->GetRoomEnterText(), "FIRST");

    auto& groups = ann->GetInvestigationInfo().m_TaskGroups;
    EXPECT_TRUE(ann->CompleteInvestigationTask("A"));
    EXPECT_EQ(groups[0].GetRemaining(), 1);
    EXPECT_EQ(groups[1].GetRemaining(), 0);
    EXPECT_FALSE(groups[1].GetItems()[0].IsPicked());
    EXPECT_FALSE(ann->CompleteInvestigationTask("B"));
}

} // namespace
