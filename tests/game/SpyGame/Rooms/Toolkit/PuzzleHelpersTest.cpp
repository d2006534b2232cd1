#include "game/SpyGame/Rooms/Toolkit/PuzzleHelpers.h"
#include "game/DialogKit.h"
#include "game/SpyGame/CSpyItem.h"
#include "game/SpyGame/CSpyItemManager.h"
#include "game/SpyGame/Rooms/Toolkit/cRoomTransform.h"
#include "support/LogCapture.h"
#include "tk2v/file/aOptionsFile.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

TEST(RoomTransform, MapsBothWaysAndTakesAScaleOfZeroAsOne) {
    SpyPoint offset{100, 50}, scale{2, 0.5f};
    const cRoomTransform room(&offset, &scale);
    EXPECT_EQ(room.LocalToScreen(10, 20), (SpyPoint{120, 60}));
    EXPECT_EQ(room.ScreenToLocal(120, 60), (SpyPoint{10, 20}));
    EXPECT_EQ(room.ScaleSize(10, 20), (SpyPoint{20, 10}));
    EXPECT_EQ(room.UnscaleSize(20, 10), (SpyPoint{10, 20}));

    // A room before its first reset.
    scale = {0, 0};
    EXPECT_EQ(room.ScreenToLocal(120, 60), (SpyPoint{20, 10}));
    EXPECT_EQ(room.UnscaleSize(20, 10), (SpyPoint{20, 10}));
    EXPECT_EQ(room.LocalToScreen(10, 20), (SpyPoint{100, 50}));

    const cRoomTransform none;
    EXPECT_EQ(none.LocalToScreen(10, 20), (SpyPoint{10, 20}));
    EXPECT_EQ(none.ScreenToLocal(10, 20), (SpyPoint{10, 20}));
}

TEST(PuzzleGeometry, RectangleTestsAreHalfOpenAndSidesExcludeTheCorners) {
    EXPECT_TRUE(PointInRectF(10, 10, 5, 5, 10, 14.9f));
    EXPECT_FALSE(PointInRectF(10, 10, 5, 5, 15, 12));
    EXPECT_FALSE(PointInRectF(10, 10, 5, 5, 12, 15));
    EXPECT_EQ(ClampF(-1, 0, 1), 0);
    EXPECT_EQ(ClampF(2, 0, 1), 1);
    EXPECT_EQ(ClampF(0.5f, 0, 1), 0.5f);

    const aRect r{10, 20, 30, 40};
    struct Case {
        i32 x, y;
        u8 side;
    } cases[] = {{5, 30, 0},  {10, 30, 0}, {40, 30, 1}, {50, 59, 1}, {20, 20, 2}, {39, 0, 2}, {20, 60, 3},
                 {20, 99, 3}, {10, 20, 4}, {40, 60, 4}, {5, 20, 4},  {20, 30, 4}, {0, 0, 4},  {10, 60, 4}};
    for (const Case& c : cases)
        EXPECT_EQ(GetRectSide(r, c.x, c.y), c.side) << c.x << ", " << c.y;

    EXPECT_EQ(GetRectCenter({10, 20, 31, 41}), (SpyPoint{25, 40}));
    EXPECT_EQ(MakeRectLeftOf(r, 5, 8), (aRect{-3, 20, 8, 40}));
    EXPECT_EQ(MakeRectRightOf(r, 5, 8), (aRect{45, 20, 8, 40}));
    EXPECT_EQ(MakeRectAbove(r, 5, 8), (aRect{10, 7, 30, 8}));
    EXPECT_EQ(MakeRectBelow(r, 5, 8), (aRect{10, 65, 30, 8}));
    EXPECT_EQ(SetColorAlpha(0x12345678, 0xAB), 0xAB345678u);
}

TEST(PuzzleGeometry, RectanglesReadAsTheCLibraryReadsShorts) {
    const std::map<std::string, aRect> cases{
        {"1 2 3 4", {1, 2, 3, 4}},
        {"  -5\t6\n7 8 9", {-5, 6, 7, 8}},
        {"010 0x10 -1 -2", {8, 16, 65535, 65534}},
        {"5 6", {5, 6, 0, 0}},
        {"1,2,3,4", {1, 0, 0, 0}},
        {"x 1 2 3", {0, 0, 0, 0}},
        {"", {0, 0, 0, 0}},
        {"40000 65537 0 0", {-25536, 1, 0, 0}},
    };
    for (const auto& [text, rect] : cases)
        EXPECT_EQ(ParseRect(text), rect) << text;
}

TEST(PuzzleGeometry, ItemPlacesAreWholePixelsAndMissingItemsAreEmpty) {
    CSpyItemManager hall;
    CSpyItem* item = hall.CreateItem("Box", "Hall", {10.75f, -3.5f}, 31, 21, true);
    item->Reset();
    EXPECT_EQ(GetItemRect(item), (aRect{10, -3, 31, 21}));
    EXPECT_EQ(GetItemCenter(item), (SpyPoint{25.75f, 6.5f}));
    SetItemCenter(item, {100, 100});
    EXPECT_EQ(item->GetPos(), (SpyPoint{85, 90}));

    item->SetPos(1e9f, -1e9f);
    EXPECT_EQ(GetItemRect(item), (aRect{32767, -32768, 31, 21}));

    EXPECT_EQ(GetItemRect(nullptr), aRect{});
    EXPECT_EQ(GetItemCenter(nullptr), SpyPoint{});
    SetItemCenter(nullptr, {1, 1});

    CSpyItem* other = hall.CreateItem("Lid", "Hall", {0, 0}, 5, 5, false);
    other->Reset();
    CSpyItem* slot = nullptr;
    SwapVisibleItem(slot, item);
    EXPECT_TRUE(item->IsVisible());
    SwapVisibleItem(slot, other);
    EXPECT_FALSE(item->IsVisible());
    EXPECT_TRUE(other->IsVisible());
    EXPECT_EQ(slot, other);
    SwapVisibleItem(slot, nullptr);
    EXPECT_FALSE(other->IsVisible());
    EXPECT_EQ(slot, nullptr);
}

TEST(PuzzleData, AMissingSectionNamesTheSectionAndTheRoom) {
    TempDir dir;
    dir.write("room.ini", "[Room]\nClass = RoomBase\n[Cells]\ndx = 4\n");
    aOptionsFile ini(dir.file("room.ini"));
    LogCapture capture;
    EXPECT_TRUE(CheckRoomSection(ini, "Cells", "zoom_Pc"));
    EXPECT_EQ(ini.getInt("dx"), 4);
    EXPECT_FALSE(CheckRoomSection(ini, "Menu", "zoom_Pc"));
    EXPECT_EQ(capture.messages(), std::vector<std::string>{"Cann't find Section \"Menu\" in room <zoom_Pc>"});
}

TEST(TypedCharacters, KeysTypeTheirCharactersWithShiftCapsLockAndTheKeypad) {
    struct Case {
        u8 code;
        u32 modifiers;
        char typed;
    } cases[] = {
        {30, 0, 'a'},
        {30, KEYMOD_SHIFT, 'A'},
        {30, KEYMOD_CAPSLOCK, 'A'},
        {30, KEYMOD_SHIFT | KEYMOD_CAPSLOCK, 'a'},
        {30, KEYMOD_CTRL | KEYMOD_ALT | KEYMOD_NUMLOCK, 'a'},
        {2, 0, '1'},
        {2, KEYMOD_SHIFT, '!'},
        {2, KEYMOD_CAPSLOCK, '1'},
        {11, 0, '0'},
        {82, 0, '0'},
        {79, 0, '1'},
        {71, 0, '7'},
        {71, KEYMOD_SHIFT, '&'},
        {83, 0, 0},
        {57, 0, ' '},
        {57, KEYMOD_SHIFT, 0},
        {52, 0, '.'},
        {52, KEYMOD_SHIFT, '>'},
        {41, KEYMOD_SHIFT, '~'},
        {1, 0, 0},
        {28, 0, 0},
        {255, 0, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ScanCodeToChar(c.code, c.modifiers), c.typed) << int(c.code) << " " << c.modifiers;

    // Every printable character has exactly one key and Shift state that types it.
    std::map<char, int> keys;
    for (int code = 0; code < 71; ++code)
        for (u32 shift : {0u, u32(KEYMOD_SHIFT)})
            if (const char c = ScanCodeToChar(u8(code), shift))
                ++keys[c];
    ASSERT_EQ(keys.size(), 95u);
    for (const auto& [c, count] : keys)
        EXPECT_EQ(count, 1) << c;
}

class KeyModifiers : public DialogTest {};

TEST_F(KeyModifiers, DownKeysAndLockKeysThatAreOnSetTheirBits) {
    frame();
    const u32 locks = GetKeyModifiers();
    EXPECT_EQ(locks & (KEYMOD_SHIFT | KEYMOD_CTRL | KEYMOD_ALT), 0u);
    input.keyDown(54);
    input.keyDown(157);
    frame();
    EXPECT_EQ(GetKeyModifiers(), locks | KEYMOD_SHIFT | KEYMOD_CTRL);
    input.keyUp(54);
    input.keyUp(157);
    input.keyDown(56);
    frame();
    EXPECT_EQ(GetKeyModifiers(), locks | KEYMOD_ALT);
    input.keyUp(56);
    input.tapKey(0x3A);
    input.tapKey(0x46);
    input.tapKey(0x45);
    frame();
    EXPECT_EQ(GetKeyModifiers(), locks ^ (KEYMOD_CAPSLOCK | KEYMOD_SCROLLLOCK | KEYMOD_NUMLOCK));
}

TEST_F(KeyModifiers, TheCursorIsOverAVisibleItemItHits) {
    CSpyItemManager hall;
    CSpyItem* item = hall.CreateItem("Box", "Hall", {100, 100}, 20, 20, true);
    item->Reset();
    input.setCursor(105, 105);
    frame();
    EXPECT_TRUE(IsCursorOverItem(item));
    EXPECT_FALSE(IsCursorOverItem(nullptr));
    item->SetVisible(false);
    EXPECT_FALSE(IsCursorOverItem(item));
    item->SetVisible(true);
    input.setCursor(125, 105);
    frame();
    EXPECT_FALSE(IsCursorOverItem(item));
}

} // namespace
