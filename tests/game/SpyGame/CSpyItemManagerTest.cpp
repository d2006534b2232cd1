#include "game/SpyGame/CSpyItemManager.h"
#include "game/SaveLoadSystem.h"
#include "game/SpyGame/CSpyItem.h"
#include "game/SpyGame/CSpyItemContainer.h"
#include "game/SpyGame/CSpyItemDoor.h"
#include "game/SpyGame/CSpyItemZoomRoom.h"
#include "game/SpyGame/CSpyObject.h"
#include "support/LogCapture.h"
#include "support/game/ItemKit.h"
#include "support/game/SaveRecords.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string objects(std::initializer_list<const char*> names) {
    std::string text;
    for (const char* name : names)
        text += std::string("[") + name + "]\nClass = object\n";
    return text;
}

std::vector<std::string> names(const CSpyItemManager::ItemList* items) {
    std::vector<std::string> out;
    if (items)
        for (const CSpyItem* item : *items)
            out.push_back(item->GetName());
    return out;
}

std::vector<std::string> walk(CSpyItemManager& manager) {
    std::vector<std::string> out;
    for (manager.FirstItem(); !manager.IsCursorAtEnd(); manager.NextItem())
        out.push_back(manager.GetCursorItem()->GetName() + "/" + manager.GetCursorItem()->GetClassName());
    return out;
}

using CSpyItemManagerTest = ItemKit;

TEST_F(CSpyItemManagerTest, CreatesOneItemPerObjectInObjectOrderThenTheObjectlessOnes) {
    LogCapture capture;
    CSpyItemManager& hall =
        room("Hall", objects({"a", "cup1", "#s_a", "cup2", "hov", "lamp", "Cup1"}),
             "[Cups]\nObject = cup1, cup2, Cup1\nIsISpyItem = 1\nISpyGroup = Mugs\nGroup = Kitchen\n"
             "[Note]\nClass = Door\nIsISpyItem = 1\nIsQuestItem = 3\n"
             "[A]\nObject = a\nObjectOnMouseHover = hov\nGroup = Kitchen\n"
             "[Lamp]\nObject = lamp\nClass = Lantern\n");
    EXPECT_EQ(hall.getName(), "SpyItemManager : Hall");
    EXPECT_EQ(walk(hall),
              (std::vector<std::string>{"A/Item", "CUP1/Item", "CUP2/Item", "CUP1/Item", "Note/Door"}));
    EXPECT_EQ(
        capture.messages(),
        (std::vector<std::string>{
            "CSpyObjManager::CreateItems(). Not find class 'Lantern' for item 'Lamp'",
            "CSpyItem::OneTimeInit(). Error, item 'Note' have two mutually exclusive flags - IsISpyItem and "
            "IsQuestItem!",
            "aOptionsFile. Cannot find key \"UseRoom\" in current section!"}));

    // The split items read their own sections, though two of them share a name.
    hall.FirstItem();
    hall.NextItem();
    hall.NextItem();
    hall.NextItem();
    EXPECT_EQ(hall.GetCursorItem()->GetObjectName(), "Cup1");
    EXPECT_EQ(names(hall.GetISpyGroupItems("Cups")), (std::vector<std::string>{"CUP1", "CUP2", "CUP1"}));
    EXPECT_EQ(hall.GetISpyGroupItems("Mugs"), nullptr);
    EXPECT_EQ(names(hall.GetGroupItems("Kitchen")), (std::vector<std::string>{"A", "CUP1", "CUP2", "CUP1"}));
    const CSpyItem& note = *hall.GetItem("Note");
    EXPECT_TRUE(note.IsQuestItem() && note.IsQuestItemBit2() && note.IsISpyItem());
    EXPECT_EQ(dynamic_cast<const CSpyItemDoor&>(note).UseRoom(), "");

    hall.DeleteItems();
    EXPECT_EQ(hall.GetItemCount(), 0u);
    EXPECT_EQ(hall.GetGroupItems("Kitchen"), nullptr);
    EXPECT_EQ(hall.GetISpyGroupItems("Cups"), nullptr);

    // A room loaded again starts from no objects.
    hall.CreateItems(&rooms, "Hall", folders.back()->path());
    EXPECT_EQ(hall.GetObjManager().GetObjects().size(), 7u);
    EXPECT_EQ(walk(hall).size(), 5u);
}

TEST_F(CSpyItemManagerTest, ReadsEveryKeyOfTheSection) {
    sound("tick");
    aSound* own = sound("tick", "Hall");
    aSound* shared = sound("bell");
    CSpyItemManager& hall = room("Hall", objects({"box"}),
                                 "[Box]\nObject = box\nDiffLevel = 3\nAutoRestartAnim = 2/6\nUserData = a b\n"
                                 "SoundOnPick = tick\nSoundOnStartAnim = bell\nSoundOnUnlock = none\n"
                                 "[Slow]\nAutoRestartAnim = 5\n[Plain]\n");
    const CSpyItem& box = *hall.GetItem("Box");
    EXPECT_EQ(box.DiffLevel(), 3);
    EXPECT_EQ(box.UserData(), "a b");
    EXPECT_EQ(box.GetSound(CSpyItem::PickSound), own);
    EXPECT_EQ(box.GetSound(CSpyItem::StartAnimSound), shared);
    EXPECT_EQ(box.GetSound(CSpyItem::UnlockSound), nullptr);
    EXPECT_EQ(hall.GetItem("Plain")->DiffLevel(), 1);
    hall.ResetItems();
    EXPECT_TRUE(hall.GetItem("Plain")->IsVisible());
}

TEST_F(CSpyItemManagerTest, LookupsTakeTheFirstAndMovingToTopOnlyReorders) {
    CSpyItemManager& hall =
        room("Hall", objects({"a", "b"}), "[A]\nObject = a\nUserData = 1\n[A]\nObject = b\n");
    hall.CreateItem("Z", "Hall", {1, 2}, 3, 4, true);
    LogCapture capture;
    CSpyItem* first = hall.GetItem("A");
    EXPECT_EQ(first->UserData(), "1");
    EXPECT_FALSE(hall.HasItem("Q"));
    EXPECT_TRUE(capture.messages().empty());
    EXPECT_EQ(hall.GetItem("Q"), nullptr);
    EXPECT_TRUE(capture.contains("CSpyItemManager::GetItem(). Cannot find item: Q"));

    hall.MoveItemToTop("A");
    hall.MoveItemToTop("missing");
    EXPECT_EQ(walk(hall), (std::vector<std::string>{"A/Item", "Z/Item", "A/Item"}));
    EXPECT_EQ(hall.GetItem("A")->GetObjectName(), "b") << "the other A comes first now";
    EXPECT_EQ(first->UserData(), "1");
    hall.FirstItem();
    hall.NextItem();
    hall.NextItem();
    EXPECT_EQ(hall.GetCursorItem(), first);
}

TEST_F(CSpyItemManagerTest, CreatedAndClonedItemsMakeTheirObjectsInLowerCase) {
    CSpyItemManager& hall = room("Hall",
                                 objects({"frame", "#s_frame", "hov", "shut"}) +
                                     "[pic]\nClass = object\nX = 4\nColor = ff102030\n",
                                 "[Frame]\nObject = frame\n[Pic]\nObject = pic\nObjectOnMouseHover = "
                                 "hov\nClass = Door\nUseRoom = Study\n"
                                 "Group = Wall\n[Spare]\nObjectOnItemLocked = shut\n");
    CSpyItem* made = hall.CreateItem("NewBox", "Hall", {5, 6}, 10, 8, false);
    CSpyItem* clone = hall.CloneItem("Pic", "Pic2", SpyPoint{50, 60});
    CSpyItem* bare = hall.CloneItem("Spare", "Spare2");
    CSpyItem* unnamed = hall.CloneItem("Pic", "");
    EXPECT_EQ(hall.CloneItem("Nothing", "N"), nullptr);
    hall.ResetItems();

    EXPECT_EQ(made->GetObjectName(), "newbox");
    EXPECT_EQ(made->GetPos(), (SpyPoint{5, 6}));
    EXPECT_EQ(made->GetWidth(), 10);
    EXPECT_FALSE(made->IsVisible());
    EXPECT_EQ(made->DiffLevel(), 1);

    EXPECT_EQ(clone->GetClassName(), "Door");
    EXPECT_EQ(dynamic_cast<CSpyItemDoor&>(*clone).UseRoom(), "Study");
    EXPECT_EQ(clone->GetObjectName(), "pic2");
    EXPECT_EQ(clone->GetPos(), (SpyPoint{50, 60}));
    EXPECT_EQ(clone->GetOrigColor(), 0xff102030u);
    EXPECT_EQ(bare->GetObjectName(), "");
    EXPECT_EQ(bare->GetMainObject(), nullptr);
    EXPECT_EQ(unnamed->GetObjectName(), "");
    EXPECT_EQ(names(hall.GetGroupItems("Wall")), (std::vector<std::string>{"Pic"}));
    EXPECT_EQ(hall.GetGroupItems("Wall")->size(), 1u) << "made and cloned items stay out of the indexes";

    // The clone and its source move one hover object.
    clone->SetPos(60.0f, 60.0f);
    EXPECT_EQ(hall.GetObjManager().GetObject("hov")->GetPos(), (SpyPoint{10, 0}));
}

TEST_F(CSpyItemManagerTest, ASaveOfABAndCLoadsIntoARoomOfAAndC) {
    CSpyItemManager& before =
        room("Hall", objects({"a", "b", "c"}), "[A]\nObject = a\n[B]\nObject = b\n[C]\nObject = c\n");
    before.ResetItems();
    before.FrameMoveItems(0.1f);
    before.GetItem("A")->SetCurrentUserData("first");
    before.GetItem("B")->SetCurrentUserData("middle one");
    before.GetItem("C")->SetInInventory(true);
    before.GetObjManager().GetObject("c")->SetPos(70, 80);
    before.MoveItemToTop("A");
    TempDir saves;
    SaveLoadSystem save;
    save.BeginSave(saves.file("game.save"), 4056);
    save.SaveEntity(before);
    ASSERT_TRUE(save.Finish());

    CSpyItemManager& after = room("Hall", objects({"a", "c"}), "[A]\nObject = a\n[C]\nObject = c\n");
    after.ResetItems();
    SaveLoadSystem load;
    LogCapture capture;
    ASSERT_TRUE(load.Load(saves.file("game.save"), 4056));
    ASSERT_TRUE(load.LoadEntity(after));
    load.Finish();
    EXPECT_TRUE(capture.messages().empty()) << "B is dropped without a message";
    EXPECT_EQ(after.GetItem("A")->GetCurrentUserData(), "first");
    EXPECT_FALSE(after.GetItem("A")->IsLocked());
    EXPECT_TRUE(after.GetItem("C")->IsInInventory());
    EXPECT_EQ(after.GetItem("C")->GetPos(), (SpyPoint{70, 80})) << "the objects load first";
    // Drawn in the order play left them: A on top.
    EXPECT_EQ(after.GetItemAt(0), after.GetItem("C"));
    EXPECT_EQ(after.GetItemAt(1), after.GetItem("A"));
}

TEST_F(CSpyItemManagerTest, CountsThatCannotFitTheRecordStopTheLoad) {
    CSpyItemManager& hall = room("Hall", objects({"a"}), "[A]\nObject = a\n");
    hall.ResetItems();
    SaveRecords records;
    std::string saved = records.save(hall);
    ASSERT_EQ(saved.size(), 4 + 2 + CSpyItem::MinRecordSize);
    EXPECT_EQ(saved.substr(0, 6), SaveRecords::hex("01 00 00 00 41 00"));

    hall.GetItem("A")->SetCurrentUserData("kept");
    LogCapture capture;
    saved[0] = 2;
    ASSERT_TRUE(records.load(hall, saved));
    EXPECT_EQ(capture.messages(),
              (std::vector<std::string>{"CSpyItemManager::LoadSelf(). Count 2 does not fit the "
                                        "31 bytes left in the record"}));
    EXPECT_EQ(hall.GetItem("A")->GetCurrentUserData(), "kept");

    // An entry whose user data runs to the end of the record is not read past it.
    capture.clear();
    hall.GetItem("A")->SetCurrentUserData("saved");
    std::string two = records.save(hall);
    two[0] = 2;
    two += two.substr(4);
    two.pop_back();
    hall.GetItem("A")->SetCurrentUserData("kept");
    ASSERT_TRUE(records.load(hall, two));
    EXPECT_EQ(capture.messages(),
              (std::vector<std::string>{"CSpyItemManager::LoadSelf(). Entry 1 of 2 runs past the end "
                                        "of the record"}));
    EXPECT_EQ(hall.GetItem("A")->GetCurrentUserData(), "saved");
}

TEST_F(CSpyItemManagerTest, ContainerShowsAndHidesTheItemsItLists) {
    aSound* click = sound("click", "Hall");
    CSpyItemManager& hall =
        room("Hall", objects({"box", "lid", "pen", "key"}),
             "[Box]\nObject = box\nClass = Container\nContainerShow = Lid,Pen, Key,Study:Lamp\nContainerHide "
             "= Box\n"
             "SoundOnClickUse = click\nDependenceFromInvisibleItem = Key\n"
             "[Lid]\nObject = lid\nVisible = 0\n[Pen]\nObject = pen\nVisible = 0\n[Key]\nObject = key\n");
    const auto& box = dynamic_cast<CSpyItemContainer&>(*hall.GetItem("Box"));
    EXPECT_EQ(box.GetContainerShow(), (std::vector<std::string>{"Lid", "Pen", " Key", "Study:Lamp"}));
    LogCapture capture;
    hall.ResetItems();
    EXPECT_EQ(capture.messages(),
              (std::vector<std::string>{"Container 'Box' - not exist item with name ' Key'",
                                        "Container 'Box' - not exist item with name 'Study:Lamp'"}));
    hall.FrameMoveItems(0.1f);
    EXPECT_FALSE(hall.GetItem("Box")->ClickUse()) << "locked while the key is visible";
    EXPECT_EQ(playing({{"click", click}}), "");

    hall.GetItem("Key")->SetInInventory(true);
    hall.GetItem("Pen")->SetInInventory(true);
    hall.FrameMoveItems(0.1f);
    capture.clear();
    EXPECT_TRUE(hall.GetItem("Box")->ClickUse());
    EXPECT_EQ(playing({{"click", click}}), "click");
    EXPECT_TRUE(hall.GetItem("Lid")->IsVisible());
    EXPECT_FALSE(hall.GetItem("Pen")->IsVisible()) << "an item in the inventory stays there";
    EXPECT_FALSE(hall.GetItem("Box")->IsVisible());
    EXPECT_TRUE(capture.contains("CSpyItemManager::GetItem(). Cannot find item:  Key"));
    EXPECT_TRUE(capture.contains("CRoomManager::GetRoom(). Cannot find room: Study"));
}

TEST_F(CSpyItemManagerTest, DoorsHighlightUnderTheMouseAndCloseUpsSparkleWhateverTheyAsk) {
    CSpyItemManager& hall =
        room("Hall", objects({"door", "desk"}),
             "[Door]\nObject = door\nClass = Door\nUseRoom = Study\nHighlightOnMouseHover = 0\n"
             "[Desk]\nObject = desk\nClass = ZoomRoom\nUseRoom = Desk\nMagicStars = 0\n");
    hall.ResetItems();
    SaveRecords records;
    const std::string door = records.save(*hall.GetItem("Door"));
    const std::string desk = records.save(*hall.GetItem("Desk"));
    EXPECT_EQ(dynamic_cast<CSpyItemDoor&>(*hall.GetItem("Door")).UseRoom(), "Study");
    EXPECT_EQ(dynamic_cast<CSpyItemZoomRoom&>(*hall.GetItem("Desk")).UseRoom(), "Desk");
    EXPECT_EQ(door[5], 1) << "highlight on hover";
    EXPECT_EQ(door[17], 0) << "magic stars";
    EXPECT_EQ(desk[5], 1);
    EXPECT_EQ(desk[17], 1);
}

} // namespace
