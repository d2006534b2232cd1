#include "game/SpyGame/Rooms/Toolkit/cMoveItemsManager.h"
#include "ToolkitKit.h"
#include "game/SpyGame/Rooms/Toolkit/cRoomTransform.h"
#include "tk2v/gui/EventArgs.h"

#include <cmath>
#include <optional>

namespace {

using namespace std::string_literals;

struct Counter : GUI::Subscriber {
    explicit Counter(int& count) : count(count) {}
    bool operator()(const GUI::EventArgs&) override { return ++count, true; }
    int& count;
};

// A room drawn 100 pixels right of the screen's edge. Targets A (0, 0) and B (50, 0), whose area
// reaches 5 units further to either side, and C (100, 0), each 40 x 40; TILE1 lies on A, TILE2 on B,
// TILE3 nowhere.
class MoveItemsTest : public ToolkitTest {
protected:
    void SetUp() override {
        ToolkitTest::SetUp();
        tile1 = add("TILE1", {100, 0});
        tile2 = add("TILE2", {150, 0});
        tile3 = add("TILE3", {400, 300});
        rebuild();
    }

    void rebuild() {
        manager.emplace(transform);
        manager->AddRect("A", {0, 0, 40, 40}, {0, 0, 40, 40});
        manager->AddRect("B", {50, 0, 40, 40}, {45, 0, 50, 40});
        manager->AddRect("C", {100, 0, 40, 40}, {100, 0, 40, 40});
        for (CSpyItem* tile : {tile1, tile2, tile3})
            manager->AddItem(tile, false, true);
        manager->SetOnPut(std::make_unique<Counter>(puts));
        manager->SetOnTake(std::make_unique<Counter>(takes));
    }

    // One frame of the manager with the button in that state.
    CSpyItem* frame(Button button, CSpyItem* held, CSpyItem* under) {
        mouse(0, 0, button);
        return manager->ProcessMouse(0.02f, held, under);
    }
    // Takes the tile and carries it to the room point.
    void carry(CSpyItem* tile, SpyPoint local) {
        ASSERT_EQ(frame(Press, nullptr, tile), tile);
        frame(Release, tile, nullptr);
        tile->SetPos(local.x + 100, local.y);
    }

    SpyPoint offset{100, 0}, scale{1, 1};
    cRoomTransform transform{&offset, &scale};
    std::optional<cMoveItemsManager> manager;
    CSpyItem *tile1 = nullptr, *tile2 = nullptr, *tile3 = nullptr;
    int puts = 0, takes = 0;
};

TEST_F(MoveItemsTest, OnlyAPressCarryingAMovableItemOverAFreeEnabledTargetPutsIt) {
    struct Case {
        const char* what;
        std::function<void()> setUp;
        Button button;
        bool put;
    } cases[] = {
        {"free", [] {}, Press, true},
        {"held down", [] {}, Hold, false},
        {"released", [] {}, Release, false},
        {"disabled target", [&] { manager->SetRectEnabled("C", false); }, Press, false},
        {"locked item", [&] { tile3->SetDisabled(true); }, Press, false},
        {"disabled item", [&] { manager->SetItemEnabled(tile3, false); }, Press, false},
        {"puts not allowed", [&] { manager->GetDragState().allowPut = false; }, Press, false},
        {"outside every target", [&] { tile3->SetPos(400.0f, 300.0f); }, Press, false},
    };
    for (const Case& c : cases) {
        rebuild();
        tile3->SetDisabled(false);
        carry(tile3, {110, 10});
        c.setUp();
        puts = 0;
        if (c.button != Press)
            mouse(0, 0, Press);
        CSpyItem* next = frame(c.button, tile3, nullptr);
        EXPECT_EQ(next, c.put ? nullptr : tile3) << c.what;
        EXPECT_EQ(puts, c.put ? 1 : 0) << c.what;
        EXPECT_EQ(manager->GetDragState().lastAction, u32(c.put ? 2 : 0)) << c.what;
        EXPECT_EQ(tile3->IsInInventory(), !c.put) << c.what;
        frame(Release, next, nullptr);
    }
    // The last put of the table's first row, once more, to look at where it went.
    rebuild();
    carry(tile3, {112, 15});
    ASSERT_EQ(frame(Press, tile3, nullptr), nullptr);
    EXPECT_EQ(tile3->GetPos(), (SpyPoint{200, 0})) << "the place's corner, on the screen";
    EXPECT_TRUE(tile3->IsVisible());
    EXPECT_EQ(manager->GetDragState().rectName, "C");
    EXPECT_EQ(manager->GetDragState().lastItem, tile3);
    EXPECT_EQ(manager->GetRectOfItem(tile3), "C");
    EXPECT_EQ(manager->GetItemInRect("C"), tile3);
}

TEST_F(MoveItemsTest, APressOnAMovableItemTakesItWhenNothingIsHeld) {
    struct Case {
        const char* what;
        std::function<void()> setUp;
        Button button;
        CSpyItem* held;
        bool taken;
    } cases[] = {
        {"free hand", [] {}, Press, nullptr, true},
        {"held down", [] {}, Hold, nullptr, false},
        {"disabled item", [&] { manager->SetItemEnabled(tile1, false); }, Press, nullptr, false},
        {"takes not allowed", [&] { manager->GetDragState().allowTake = false; }, Press, nullptr, false},
        {"something else held", [] {}, Press, tile2, false},
    };
    for (const Case& c : cases) {
        rebuild();
        tile1->SetInInventory(false);
        c.setUp();
        takes = 0;
        if (c.button != Press)
            mouse(0, 0, Press);
        EXPECT_EQ(frame(c.button, c.held, tile1), c.taken ? tile1 : c.held) << c.what;
        EXPECT_EQ(takes, c.taken ? 1 : 0) << c.what;
        EXPECT_EQ(tile1->IsInInventory(), c.taken) << c.what;
        EXPECT_EQ(manager->GetDragState().lastAction, u32(c.taken ? 3 : 0)) << c.what;
        frame(Release, nullptr, nullptr);
    }
    EXPECT_TRUE(manager->IsMovable(tile1, false));
    EXPECT_FALSE(manager->IsMovable(nullptr, false));
}

TEST_F(MoveItemsTest, ATakenItemSwapsWithTheItemLyingOnTheTarget) {
    carry(tile1, {60, 10});
    ASSERT_EQ(manager->GetItemInRect("B"), tile2);
    puts = 0;
    EXPECT_EQ(frame(Press, tile1, tile2), nullptr);
    EXPECT_EQ(manager->GetDragState().lastAction, 1u);
    EXPECT_EQ(puts, 1);
    EXPECT_EQ(tile1->GetPos(), (SpyPoint{150, 0}));
    EXPECT_EQ(tile2->GetPos(), (SpyPoint{100, 0})) << "where the carried tile was taken from";
    EXPECT_EQ(manager->GetDragState().displaced, tile2);
    EXPECT_EQ(manager->GetRectOfItem(tile2), "A");
    frame(Release, nullptr, nullptr);

    // Over a target another tile lies on, a tile swaps only when it was taken here and not put since.
    struct Case {
        const char* what;
        std::function<void()> setUp;
    } kept[] = {
        {"never taken here", [&] { tile2->SetInInventory(true); }},
        {"put since",
         [&] {
             carry(tile2, {110, 10});
             frame(Press, tile2, nullptr);
             frame(Release, nullptr, nullptr);
             tile2->SetInInventory(true);
         }},
        {"swaps not allowed",
         [&] {
             carry(tile2, {10, 10});
             manager->GetDragState().allowSwap = false;
         }},
    };
    for (const Case& c : kept) {
        rebuild();
        tile1->SetPos(100.0f, 0.0f);
        tile1->SetInInventory(false);
        tile2->SetInInventory(false);
        c.setUp();
        tile2->SetPos(110.0f, 10.0f);
        EXPECT_EQ(frame(Press, tile2, tile1), tile2) << c.what;
        EXPECT_EQ(tile1->GetPos(), (SpyPoint{100, 0})) << c.what;
        frame(Release, tile2, nullptr);
    }
}

TEST_F(MoveItemsTest, PointsRoundToWholeUnitsAndSaturate) {
    // Only TILE3 lies anywhere.
    tile1->SetInInventory(true);
    tile2->SetInInventory(true);
    struct Case {
        SpyPoint screen;
        const char* rect;
    } cases[] = {
        {{139.4f, 0}, "A"},    {{139.6f, 0}, ""}, // 39.6 rounds to 40, past A
        {{146, 0}, "B"},                          // B's area, not its place
        {{99.4f, -0.9f}, "A"},                    // -0.1 and -0.4 truncate to 0
        {{100, -1.6f}, ""},    {{std::nanf(""), 0}, ""},
    };
    for (const Case& c : cases) {
        tile3->SetPos(c.screen.x, c.screen.y);
        const std::string found = manager->GetItemInRect("A") == tile3   ? "A"
                                  : manager->GetItemInRect("B") == tile3 ? "B"
                                                                         : "";
        EXPECT_EQ(found, c.rect) << c.screen.x << ", " << c.screen.y;
    }
    manager->AddRect("FAR", {32700, 0, 100, 10}, {32700, 0, 100, 10});
    tile3->SetPos(1e7f, 5.0f);
    EXPECT_EQ(manager->GetRectOfItem(tile3), "FAR") << "beyond the 16-bit range stays at its end";
    EXPECT_TRUE(manager->IsItemInRect(tile3, "FAR"));
    tile3->SetPos(146.0f, 0.0f);
    EXPECT_FALSE(manager->IsItemInRect(tile3, "B")) << "the place only";
    EXPECT_FALSE(manager->IsItemInRect(tile3, "NONE"));
    EXPECT_EQ(manager->GetItemInRect("NONE"), nullptr);
}

TEST_F(MoveItemsTest, WalksOverManyItemsAgreeWithTheRoundedRoomPointWhereverTheRoomStands) {
    // GetRectOfItem rounds the one item's room point; IsItemInRect and GetItemInRect test screen
    // points. They must agree on every float around the place's edges, for any move or scale, a
    // mirrored one included.
    tile1->SetInInventory(true);
    tile2->SetInInventory(true);
    manager->AddRect("P", {-7, -40, 23, 5}, {-7, -40, 23, 5});
    const SpyPoint rooms[][2] = {{{13.37f, -2.9f}, {0.731f, 1.37f}},
                                 {{100, 0}, {1, 1}},
                                 {{-512.25f, 7}, {3.1f, 0.2f}},
                                 {{5, 5}, {-1, 2}},
                                 {{0, 0}, {1e-30f, 1}}};
    for (const auto& room : rooms) {
        offset = room[0];
        scale = room[1];
        int inside = 0;
        // The place's edges half a unit out, where rounding turns, and its middle.
        const SpyPoint locals[] = {{-7.5f, -38}, {15.5f, -38}, {0, -40.5f}, {0, -35.5f}, {0, -38}};
        for (const SpyPoint local : locals)
            for (int step = -3; step <= 3; ++step) {
                SpyPoint at = transform.LocalToScreen(local.x, local.y);
                for (int k = 0; k < std::abs(step); ++k) {
                    at.x = std::nextafter(at.x, step < 0 ? -INFINITY : INFINITY);
                    at.y = std::nextafter(at.y, step < 0 ? -INFINITY : INFINITY);
                }
                tile3->SetPos(at.x, at.y);
                const bool rounded = manager->GetRectOfItem(tile3) == "P";
                inside += rounded;
                EXPECT_EQ(manager->IsItemInRect(tile3, "P"), rounded) << at.x << ", " << at.y;
                EXPECT_EQ(manager->GetItemInRect("P") == tile3, rounded) << at.x << ", " << at.y;
            }
        EXPECT_GT(inside, 0) << "offset " << offset.x << " scale " << scale.x;
    }
}

TEST_F(MoveItemsTest, RegistrationRefusesRepeatsAndRectsOfItemsFollowTheirPlace) {
    LogCapture capture;
    manager->AddRect("A", {1, 1, 1, 1}, {1, 1, 1, 1});
    manager->AddItem(tile1, false, true);
    manager->AddItem(nullptr, true, true);
    EXPECT_EQ(capture.messages(),
              (std::vector<std::string>{"cMoveItemsManager. cann't add: rect exsist A",
                                        "cMoveItemsManager. cann't add: item exsist TILE1"}));
    CSpyItem* lamp = add("LAMP", {300, 50}, 30, 20);
    manager->AddItem(lamp, true, false);
    EXPECT_TRUE(manager->IsMovable(lamp, false));
    EXPECT_FALSE(manager->IsMovable(lamp, true));
    capture.clear();
    manager->AddRect("LAMP", {0, 0, 1, 1}, {0, 0, 1, 1});
    EXPECT_EQ(capture.messages().size(), 1u) << "the lamp has a target of its own";
    std::list<CSpyItem*> items;
    manager->GetItems(items);
    EXPECT_EQ(items, (std::list<CSpyItem*>{tile1, tile2, tile3, lamp}));
}

TEST_F(MoveItemsTest, ResetAndClearForgetTheMoveAndEnableEverything) {
    carry(tile1, {10, 10});
    manager->SetRectEnabled("C", false);
    manager->SetItemEnabled(tile3, false);
    manager->ClearLastMove();
    EXPECT_EQ(manager->GetLastMoved(), nullptr);
    EXPECT_EQ(manager->GetDragState().lastItem, tile1);
    manager->Reset();
    EXPECT_EQ(manager->GetDragState().lastItem, nullptr);
    EXPECT_TRUE(manager->IsMovable(tile3, true));
    carry(tile3, {110, 10});
    EXPECT_EQ(frame(Press, tile3, nullptr), nullptr) << "C takes it again";
}

TEST_F(MoveItemsTest, TheRecordLoadsIntoTheSameRegistrationAndSavesTheSameBytes) {
    carry(tile1, {110, 10});
    manager->SetItemEnabled(tile3, false);
    manager->SetRectEnabled("B", false);
    frame(Idle, tile1, nullptr);
    const auto save = [&](SaveLoadSystem& sys, u8* pos) { return manager->SaveSelf(sys, pos); };
    const std::string bytes = record(save);
    EXPECT_EQ(bytes.substr(0, 3), "\1\1\0"s) << "item flags in registration order";
    EXPECT_EQ(bytes.substr(3, 17), "\0\0\0\0\x28\0\x28\0\0\0\0\0\x28\0\x28\0\1"s);
    EXPECT_EQ(bytes.substr(3 + 17, 17), "\x2d\0\0\0\x32\0\x28\0\x32\0\0\0\x28\0\x28\0\0"s);
    // Allowed take, put, swap; the preview colour; no action this frame; no rect, nothing displaced;
    // the last item; the preview shown; the origin (0, 0); taken, not put; last moved and carried.
    const std::string tail = "\1\1\1"s + "\xff\xff\xff\x40"s + "\0\0\0\0"s + "\0\0"s + "Hall:TILE1\0"s +
                             "\1"s + std::string(8, '\0') + "\0"s + "Hall:TILE1\0Hall:TILE1\0"s;
    EXPECT_EQ(bytes.substr(3 + 3 * 17), tail);

    rebuild();
    ASSERT_TRUE(
        load(bytes, [&](SaveLoadSystem& sys, const u8* pos) { return manager->LoadSelf(rooms, sys, pos); }));
    EXPECT_EQ(record(save), bytes);
    EXPECT_EQ(host.leftAfterLoad, 0u);
    EXPECT_FALSE(manager->IsMovable(tile3, true));
}

} // namespace
