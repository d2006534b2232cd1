#include "ToolkitKit.h"
#include "game/SpyGame/Rooms/Toolkit/cChineseBoxDisk.h"
#include "game/SpyGame/Rooms/Toolkit/cPlaceByName.h"
#include "game/SpyGame/Rooms/Toolkit/cPlaceInSlot.h"
#include "game/SpyGame/Rooms/Toolkit/cRoomTransform.h"

namespace {

class PlacementTest : public ToolkitTest {
protected:
    void SetUp() override {
        ToolkitTest::SetUp();
        slot = add("SLOT", {100, 100}, 40, 40);
        marker = add("MARK", {100, 100}, 10, 10);
        element = add("ELEMENT", {0, 0}, 40, 40);
        element->SetVisible(false);
        piece = add("PIECE", {0, 0});
        piece->SetInInventory(true);
        places.RegisterPiece("PIECE", slot, {marker, element});
    }

    // The press of a click at the point with `under` as the item under the cursor.
    CSpyItem* putAt(i32 x, i32 y, CSpyItem* under) {
        mouse(x, y, Press);
        CSpyItem* placed = places.Put(piece, under);
        mouse(x, y, Release);
        return placed;
    }

    SpyPoint offset{0, 0}, scale{1, 1};
    cRoomTransform transform{&offset, &scale};
    cPlaceInSlot places{transform};
    CSpyItem *slot = nullptr, *marker = nullptr, *element = nullptr, *piece = nullptr;
};

TEST_F(PlacementTest, APieceGoesIntoAFreeSlotClickedWithinItsMarkersArea) {
    CSpyItem* stranger = add("STRANGER", {0, 0});
    struct Case {
        const char* what;
        i32 x, y;
        CSpyItem* under;
        std::function<void()> before;
    } refused[] = {
        {"another item under the cursor", 110, 110, stranger, [] {}},
        {"beside the marker's area", 145, 110, slot, [] {}},
        {"a closed slot", 110, 110, slot, [&] { slot->SetDisabled(true); }},
        {"a piece of no slot", 110, 110, slot, [&] { slot->SetDisabled(false), piece = stranger; }},
    };
    CSpyItem* carried = piece;
    for (const Case& c : refused) {
        c.before();
        EXPECT_EQ(putAt(c.x, c.y, c.under), nullptr) << c.what;
        EXPECT_FALSE(element->IsVisible()) << c.what;
    }
    piece = carried;
    mouse(110, 110, Press);
    mouse(110, 110, Hold);
    EXPECT_EQ(places.Put(piece, slot), nullptr) << "only the press puts";
    mouse(110, 110, Release);

    marker->SetPos(300.0f, 200.0f);
    EXPECT_FALSE(places.IsInSlotArea(slot, 110, 110));
    EXPECT_TRUE(places.IsInSlotArea(slot, 339, 239)) << "the slot's size at the marker";
    EXPECT_FALSE(places.IsInSlotArea(marker, 305, 205)) << "not a slot";
    EXPECT_EQ(putAt(310, 210, slot), element);
    EXPECT_TRUE(element->IsVisible());
    EXPECT_EQ(element->GetPos(), (SpyPoint{300, 200}));
    EXPECT_FALSE(piece->IsVisible());
    EXPECT_FALSE(piece->IsInInventory());
    EXPECT_TRUE(slot->IsDisabled());
    EXPECT_EQ(putAt(310, 210, slot), nullptr) << "the slot is taken";
    EXPECT_EQ(places.Find("PIECE"), element);
    EXPECT_EQ(places.Find("NONE"), nullptr);
}

TEST_F(PlacementTest, TheSlotsTellWhetherEveryPieceIsSetInForGood) {
    EXPECT_FALSE(cChineseBoxDisk::AreItemsLocked(places.GetItems())) << "the element is not shown yet";
    // An element that is its own slot closes itself when its piece goes in.
    cPlaceInSlot own{transform};
    element->SetPos(100.0f, 100.0f);
    element->SetVisible(true);
    own.RegisterPiece("PIECE", element, {element, element});
    EXPECT_FALSE(cChineseBoxDisk::AreItemsLocked(own.GetItems()));
    mouse(110, 110, Press);
    EXPECT_EQ(own.Put(piece, element), element);
    EXPECT_TRUE(cChineseBoxDisk::AreItemsLocked(own.GetItems()));
    EXPECT_TRUE(cChineseBoxDisk::AreItemsLocked(cPlaceInSlot{transform}.GetItems()));
}

TEST_F(PlacementTest, ByNameAPieceBecomesItsItemOnItsPlaceOrAnywhere) {
    cPlaceByName disks;
    CSpyItem* disk = add("DISK", {200, 100}, 40, 40);
    disk->SetVisible(false);
    disks.RegisterTarget("PIECE", disk);
    const auto putAt = [&](i32 x, i32 y, bool anywhere) {
        mouse(x, y, Press);
        CSpyItem* placed = disks.Put(piece, anywhere);
        mouse(x, y, Release);
        return placed;
    };
    EXPECT_EQ(putAt(10, 10, false), nullptr) << "off its place";
    EXPECT_FALSE(disk->IsVisible());
    mouse(210, 110, Press);
    mouse(210, 110, Hold);
    EXPECT_EQ(disks.Put(piece, true), nullptr) << "only the press puts";
    mouse(210, 110, Release);
    EXPECT_EQ(putAt(210, 110, false), disk) << "its place counts while it is hidden";
    EXPECT_TRUE(disk->IsVisible());
    EXPECT_FALSE(piece->IsVisible());
    EXPECT_FALSE(piece->IsInInventory());

    disk->SetVisible(false);
    EXPECT_EQ(putAt(10, 10, true), disk);
    EXPECT_EQ(disks.Find("PIECE"), disk);
    CSpyItem* stranger = add("STRANGER", {0, 0});
    mouse(210, 110, Press);
    EXPECT_EQ(disks.Put(stranger, true), nullptr);
    EXPECT_EQ(disks.Put(nullptr, true), nullptr);
}

} // namespace
