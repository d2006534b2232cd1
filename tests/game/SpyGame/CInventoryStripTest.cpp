#include "PanelKit.h"
#include "game/SpyGame/CInventory.h"
#include "game/SpyGame/CSpyItem.h"
#include "game/SpyGame/CSpyItemManager.h"
#include "support/PulledAudioOutput.h"
#include "support/game/FakeRooms.h"
#include "tk2v/platform/AudioSystem.h"
#include "tk2v/sound/aSound.h"

#include <functional>

namespace {

using namespace std::string_literals;

// Items I0 .. I9 of room Hall, each 30 x 20, the two sounds of the strip on an output nobody pulls
// (a started sound plays until it is stopped), and a panel with an inventory of Ann made afresh
// over a new GUI for each strip.
class StripTest : public PanelScriptTest {
public:
    StripTest() {
        EXPECT_TRUE(platform::AudioSystem::shared().init(44100, 64, std::make_unique<PulledAudioOutput>()));
        for (const std::string file : {"inventory_item_put.wav", "inventory_item_take.wav"}) {
            writeWav(file);
            res->getSoundManager()->loadResource(dir.path(), file + " 1.0", "");
        }
        for (int i = 0; i < 10; ++i) {
            items.push_back(
                hall.CreateItem(std::string(1, 'I') += char('0' + i), "Hall", {0, 0}, 30, 20, true));
            items.back()->Reset();
        }
        rooms.rooms["Hall"] = &hall;
    }
    ~StripTest() override {
        strip.reset();
        platform::AudioSystem::shared().close();
    }

    struct Strip {
        CDialogSpyGamePanel panel;
        CInventory inventory;
    };

    // Five cells from x 103 unless the area says otherwise; the first `count` items, item `first` in
    // the first cell.
    CInventory& build(u32 count, u32 first, const std::string& area = "100 650 209 50") {
        strip.reset();
        gui.reset();
        gui = std::make_unique<GUI::Server>(res->getImageManager(), res->getSoundManager());
        load(fonts() + panelScript(area));
        strip = std::make_unique<Strip>();
        strip->panel.Create();
        strip->inventory.Init("Ann", &strip->panel, &rooms);
        std::string record = le32(count) + le32(count);
        for (u32 i = 0; i < count; ++i)
            (record += "Hall:I") += std::to_string(i) + '\0';
        EXPECT_TRUE(loadRecord(strip->inventory, record + le32(first) + f32bytes(0)));
        return strip->inventory;
    }
    std::string order() const {
        std::string text;
        for (CSpyItem* item : strip->inventory.GetItems())
            text += item->GetName().substr(1);
        return text;
    }
    bool arrow(const char* name) const { return find(name)->IsVisible(true); }
    // Whether the sound was started since the last look.
    bool played(const char* name) {
        aSound* sound = res->getSoundManager()->getSound(name);
        const bool was = sound->isPlaying();
        sound->stop();
        return was;
    }
    // A click on the arrow, then the strip's frame reads it.
    void press(const char* arrowName, f32 dt = 0) {
        click(find(arrowName));
        strip->inventory.FrameMove(dt);
    }

    CSpyItemManager hall;
    FakeRooms rooms;
    std::vector<CSpyItem*> items;
    std::unique_ptr<Strip> strip;
};

TEST_F(StripTest, CellsFitTheArea) {
    struct Case {
        const char* area;
        u32 cells;
        i32 firstCellX;
    } cases[] = {
        {"100 650 200 50", 4, 119}, // 100 + 3 + (196 - 164) / 2
        {"100 650 209 50", 5, 103},
        {"100 650 44 50", 0, 123}, // narrower than one cell
        {"", 0, 1},                // no area widget at all
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.area);
        CInventory& inventory = build(0, 0, c.area);
        EXPECT_EQ(inventory.GetVisibleCells(), c.cells);
        EXPECT_EQ(inventory.GetFirstCellX(), c.firstCellX);
    }
}

TEST_F(StripTest, LayoutScrollTakeAndPut) {
    struct Case {
        const char* what;
        u32 count, first;
        std::function<void(StripTest&, CInventory&)> act;
        std::string order;
        u32 firstAfter;
        bool left, right;
    } cases[] = {
        {"one empty cell at the right is kept", 7, 3, [](StripTest&, CInventory&) {}, "0123456", 3, true,
         false},
        {"two are not", 7, 4, [](StripTest&, CInventory&) {}, "0123456", 2, true, false},
        {"a sixth item scrolls into the last cell", 5, 0,
         [](StripTest& t, CInventory& inv) { inv.AddItem(t.items[5]); }, "012345", 1, true, false},
        {"left at the start does nothing", 6, 0, [](StripTest& t, CInventory&) { t.press("ArrowLeft"); },
         "012345", 0, false, true},
        {"right moves one cell", 6, 0, [](StripTest& t, CInventory&) { t.press("ArrowRight"); }, "012345", 1,
         true, false},
        {"right at the end does nothing", 6, 1, [](StripTest& t, CInventory&) { t.press("ArrowRight"); },
         "012345", 1, true, false},
        {"put left of the margin goes before the first visible", 6, 1,
         [](StripTest& t, CInventory& inv) { EXPECT_TRUE(inv.PutItemAtPoint(102, 660, t.items[9])); },
         "0912345", 1, true, true},
        {"put cells count from the margin", 6, 1,
         [](StripTest& t, CInventory& inv) { EXPECT_TRUE(inv.PutItemAtPoint(103 + 41, 660, t.items[9])); },
         "0192345", 1, true, true},
        {"put in the last three pixels goes after the last cell", 6, 1,
         [](StripTest& t, CInventory& inv) { EXPECT_TRUE(inv.PutItemAtPoint(307, 660, t.items[9])); },
         "0123459", 1, true, true},
        {"put past the last item appends", 2, 0,
         [](StripTest& t, CInventory& inv) { EXPECT_TRUE(inv.PutItemAtPoint(250, 660, t.items[9])); }, "019",
         0, false, false},
        {"put outside the area is refused", 2, 0,
         [](StripTest& t, CInventory& inv) { EXPECT_FALSE(inv.PutItemAtPoint(99, 660, t.items[9])); }, "01",
         0, false, false},
        {"take between items gives nothing", 3, 0,
         [](StripTest&, CInventory& inv) { EXPECT_EQ(inv.TakeItemAtPoint(103 + 35, 660), nullptr); }, "012",
         0, false, false},
        {"take hits the item's own columns and leaves it marked carried", 7, 2,
         [](StripTest& t, CInventory& inv) {
             t.items[3]->SetInInventory(true);
             EXPECT_EQ(inv.TakeItemAtPoint(103 + 41 + 29, 660), t.items[3]);
             EXPECT_TRUE(t.items[3]->IsInInventory());
         },
         "012456", 2, true, false},
        {"take outside the area gives nothing", 3, 0,
         [](StripTest&, CInventory& inv) { EXPECT_EQ(inv.TakeItemAtPoint(103, 700), nullptr); }, "012", 0,
         false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CInventory& inventory = build(c.count, c.first);
        c.act(*this, inventory);
        EXPECT_EQ(order(), c.order);
        EXPECT_EQ(inventory.GetFirstVisible(), c.firstAfter);
        EXPECT_EQ(arrow("ArrowLeft"), c.left);
        EXPECT_EQ(arrow("ArrowRight"), c.right);
        EXPECT_LE(inventory.GetFirstDrawn(), inventory.GetEndDrawn());
        EXPECT_LE(inventory.GetEndDrawn(), inventory.GetItems().size());
    }
}

TEST_F(StripTest, AScrollSlidesToRestAtExactlyZero) {
    CInventory& inventory = build(6, 0);
    press("ArrowRight");
    EXPECT_EQ(inventory.GetScrollOffset(), 41.0f);
    // Item 0 slides out at the left, one cell before the first.
    EXPECT_EQ(inventory.GetFirstDrawn(), 0u);
    EXPECT_EQ(items[0]->GetPos().x, 103.0f);
    for (f32 expected : {26.0f, 11.0f, 0.0f}) {
        inventory.FrameMove(0.05f);
        EXPECT_FLOAT_EQ(inventory.GetScrollOffset(), expected);
    }
    EXPECT_EQ(inventory.GetFirstDrawn(), 1u);
    EXPECT_EQ(items[1]->GetPos().x, 103.0f);
    EXPECT_EQ(items[1]->GetPos().y, 665.0f); // 650 + (50 - 20) / 2

    press("ArrowLeft");
    EXPECT_EQ(inventory.GetScrollOffset(), -41.0f);
    EXPECT_EQ(items[0]->GetPos().x, 62.0f);
    for (f32 expected : {-26.0f, -11.0f, 0.0f}) {
        inventory.FrameMove(0.05f);
        EXPECT_FLOAT_EQ(inventory.GetScrollOffset(), expected);
    }
}

TEST_F(StripTest, OnlyAHitOrAPutPlaysItsSound) {
    CInventory& inventory = build(3, 0);
    EXPECT_EQ(inventory.TakeItemAtPoint(103 + 35, 660), nullptr);
    EXPECT_FALSE(played("inventory_item_take"));
    CSpyItem* taken = inventory.TakeItemAtPoint(103 + 41, 660);
    EXPECT_EQ(taken, items[1]);
    EXPECT_TRUE(played("inventory_item_take"));
    EXPECT_FALSE(played("inventory_item_put"));
    EXPECT_TRUE(inventory.PutItemAtPoint(103, 660, taken));
    EXPECT_TRUE(played("inventory_item_put"));
    EXPECT_EQ(order(), "102");
}

TEST_F(StripTest, WithoutAnAreaNothingIsTakenOrPutAndTheFirstItemStaysInRange) {
    CInventory& inventory = build(3, 0, "");
    // With no cells "first visible + cells - 1" is -1, not a number past every count.
    EXPECT_EQ(inventory.GetFirstVisible(), 0u);
    EXPECT_FALSE(inventory.IsPointInArea(0, 0));
    EXPECT_EQ(inventory.TakeItemAtPoint(0, 0), nullptr);
    EXPECT_FALSE(inventory.PutItemAtPoint(0, 0, items[5]));
    EXPECT_EQ(order(), "012");
}

TEST_F(StripTest, LockingHidesTheArrowsAndUnlockingShowsThoseThatCanScroll) {
    CInventory& inventory = build(7, 1);
    inventory.SetShown(false);
    EXPECT_FALSE(strip->panel.IsInventoryUnlocked());
    EXPECT_FALSE(arrow("ArrowLeft"));
    EXPECT_FALSE(arrow("ArrowRight"));
    inventory.SetShown(true);
    EXPECT_TRUE(strip->panel.IsInventoryUnlocked());
    EXPECT_TRUE(arrow("ArrowLeft"));
    EXPECT_TRUE(arrow("ArrowRight"));
}

TEST_F(StripTest, TheRecordIsCountNamesFirstVisibleAndOffset) {
    CInventory& inventory = build(7, 1);
    press("ArrowRight", 0.05f);
    EXPECT_EQ(saveRecord(inventory), le32(7) + le32(7) +
                                         "Hall:I0\0Hall:I1\0Hall:I2\0Hall:I3\0Hall:I4\0Hall:I5\0Hall:I6\0"s +
                                         le32(2) + f32bytes(26.0f));
}

} // namespace
