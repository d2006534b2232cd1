#include "BasicsRoomKit.h"
#include "support/game/SaveRecords.h"
#include "tk2v/gfx/aGraphServer.h"

namespace {

using namespace std::string_literals;
using Names = std::vector<std::string>;

constexpr u8 SHIFT = 42, CAPS = 0x3A, KEY_A = 30, KEY_B = 48, KEY_C = 46, MINUS = 12;
constexpr u8 BACK = 14, ENTER = 28, PAD_ENTER = 156, HOME = 199, LEFT = 203, RIGHT = 205, END = 207,
             DEL = 211;

class EditBoxes : public BasicsRoomTest {
protected:
    cEditBox& focused() { return *room->boxes.GetFocused(); }
    std::string text() { return focused().GetText(); }
    // Each key tapped in a frame of its own, with a frame between.
    void type(const std::vector<u8>& keys) {
        for (u8 key : keys) {
            frame(300, 280, {.taps = {key}});
            frame(300, 280, Input{});
        }
    }
};

TEST_F(EditBoxes, AHeldKeyTypesAtOnceThenRepeatsAfterTheFirstDelay) {
    constexpr f32 dt = 0.0625f;
    std::vector<int> typed;
    frame(300, 280, {.keysDown = {KEY_A}, .dt = dt});
    if (text().size() == 1)
        typed.push_back(1);
    for (int i = 2; i <= 16; ++i) {
        const size_t before = text().size();
        frame(300, 280, {.dt = dt});
        if (text().size() > before)
            typed.push_back(i);
    }
    EXPECT_EQ(text(), "aaaaa");
    EXPECT_EQ(typed, (std::vector<int>{1, 13, 14, 15, 16}));
    EXPECT_EQ(item("BOX1").GetText(), L"aaaaa");
    EXPECT_EQ(toolkitSounds(), Names{"type_key"});
}

TEST_F(EditBoxes, ShiftCapsLockAndTheKeypadTypeAsOnAKeyboard) {
    frame(300, 280, {.keysDown = {SHIFT}});
    type({KEY_A});
    frame(300, 280, {.keysUp = {SHIFT}});
    type({CAPS, KEY_A});
    frame(300, 280, {.keysDown = {SHIFT}});
    type({KEY_A});
    frame(300, 280, {.keysUp = {SHIFT}});
    type({CAPS, 79, 82, 57, 52});
    EXPECT_EQ(text(), "AAa10 .");
}

TEST_F(EditBoxes, OnlyTheFirstAllowedCharacterOfAFrameGoesIn) {
    frame(300, 280, {.taps = {MINUS, KEY_B}});
    frame(300, 280, Input{});
    frame(300, 280, {.taps = {KEY_C, KEY_A}});
    frame(300, 280, Input{});
    EXPECT_EQ(text(), "ba");
    // A full box takes no more.
    for (int i = 0; i < 12; ++i)
        type({KEY_C});
    EXPECT_EQ(text(), "bacccccccccc");
}

TEST_F(EditBoxes, TheCaretMovesAndDeletesWithinTheText) {
    type({BACK, DEL});
    EXPECT_EQ(text(), "");
    type({KEY_A, KEY_B, KEY_C});
    type({DEL});
    EXPECT_EQ(text(), "abc");
    type({LEFT, BACK});
    EXPECT_EQ(text(), "ac");
    EXPECT_EQ(focused().GetCaret(), 1);
    type({HOME, BACK, DEL});
    EXPECT_EQ(text(), "c");
    type({END, KEY_B, LEFT, LEFT, LEFT, RIGHT, KEY_A});
    EXPECT_EQ(text(), "cab");
    EXPECT_EQ(item("BOX1").GetText(), L"cab");
}

TEST_F(EditBoxes, EnterCallsItsHandlerForEveryFireAndLeavesTheText) {
    type({KEY_A, ENTER, PAD_ENTER});
    EXPECT_EQ(room->calls, (Names{"enter", "enter"}));
    EXPECT_EQ(text(), "a");
    room->calls.clear();
    // Held: once at once, then after the first delay every repeat.
    frame(300, 280, {.keysDown = {ENTER}, .dt = 0.5f});
    frame(300, 280, {.dt = 0.5f});
    frame(300, 280, {.dt = 0.5f});
    EXPECT_EQ(room->calls, (Names{"enter", "enter"}));
}

TEST_F(EditBoxes, ABoxThatIsNotEditableRefusesEveryKey) {
    type({KEY_A});
    focused().SetEditable(false);
    room->calls.clear();
    quiet();
    type({KEY_B});
    EXPECT_EQ(room->calls, Names{"refuse"});
    room->calls.clear();
    // Editing keys and Enter are also tried by the sweep over all keys.
    type({LEFT});
    type({ENTER});
    EXPECT_EQ(room->calls, (Names{"refuse", "refuse", "refuse", "refuse"}));
    EXPECT_EQ(text(), "a");
    EXPECT_EQ(toolkitSounds(), Names{});
}

TEST_F(EditBoxes, TypingGoesToTheFocusedActiveBoxOnly) {
    room->boxes.SelectByItem(&item("BOX2"));
    type({KEY_B});
    room->boxes.SelectByItem(&item("MENU"));
    type({KEY_C});
    EXPECT_EQ(room->boxes.GetBoxes().front().GetText(), "");
    EXPECT_EQ(room->boxes.GetBoxes().back().GetText(), "bc");
    focused().SetActive(false);
    EXPECT_FALSE(item("BOX2").IsVisible());
    type({KEY_A});
    EXPECT_EQ(text(), "bc");
    focused().SetActive(true);
    room->boxes.Reset();
    EXPECT_EQ(room->boxes.GetFocused(), nullptr);
    type({KEY_A});
    EXPECT_EQ(room->boxes.GetBoxes().back().GetText(), "");
    EXPECT_EQ(item("BOX2").GetText(), L"");
}

TEST_F(EditBoxes, AddingABoxShowsItsItemAndLeavesTheFocus) {
    cEditBoxManager boxes;
    item("MENU").SetVisible(false);
    cEditBox* box = boxes.AddEditBox(&item("MENU"), false);
    EXPECT_TRUE(box->IsActive());
    EXPECT_TRUE(item("MENU").IsVisible());
    EXPECT_EQ(boxes.GetFocused(), nullptr);
    boxes.ActivateBox(&item("BOX1"));
    EXPECT_EQ(boxes.GetFocused(), nullptr);
    boxes.ActivateBox(&item("MENU"));
    EXPECT_EQ(boxes.GetFocused(), box);
}

TEST_F(EditBoxes, TheRecordKeepsTheTextAndALoadPutsTheCaretBackAtZero) {
    type({KEY_A, KEY_B, LEFT});
    frame(300, 280, {.keysDown = {KEY_C}});
    SaveRecords records;
    HostEntity host;
    cEditBox& box = focused();
    host.save = [&](SaveLoadSystem& sys, u8* pos) { return box.SaveSelf(sys, pos); };
    const std::string saved = records.save(host);
    // Caret '|', size and colour of the font, the item, the text, the caret at 2, key C tracked.
    ASSERT_GT(saved.size(), 30u);
    EXPECT_EQ(saved.substr(0, 1), "|");
    EXPECT_EQ(saved.substr(9, 21), "zoom_Basics:BOX1\0acb\0"s);
    EXPECT_EQ(saved.substr(30, 8), "\2\0\0\0\x2E\0\0\0"s);
    const std::string tail = saved.substr(saved.size() - 4);
    EXPECT_EQ(tail, "\1\1\x0C\0"s);

    box.SetCaretColor(0xFF000000);
    host.load = [&](SaveLoadSystem& sys, const u8* pos) { return box.LoadSelf(rooms, sys, pos); };
    ASSERT_TRUE(records.load(host, saved));
    EXPECT_EQ(host.leftAfterLoad, 0u);
    EXPECT_EQ(box.GetText(), "acb");
    EXPECT_EQ(box.GetCaret(), 0);
    // At rest the record comes back as it was saved.
    const std::string resting = records.save(host);
    ASSERT_TRUE(records.load(host, resting));
    EXPECT_EQ(records.save(host), resting);
    EXPECT_EQ(resting.substr(30, 8), "\0\0\0\0\xFF\xFF\xFF\xFF"s);

    // The manager: every box, then the focused one counted from 1.
    host.save = [this](SaveLoadSystem& sys, u8* pos) { return room->boxes.SaveSelf(sys, pos); };
    const std::string both = records.save(host);
    EXPECT_EQ(both.substr(both.size() - 4), "\1\0\0\0"s);
    for (const std::string& focus : {"\2\0\0\0"s, "\0\0\0\0"s, "\3\0\0\0"s}) {
        host.load = [this](SaveLoadSystem& sys, const u8* pos) {
            return room->boxes.LoadSelf(rooms, sys, pos);
        };
        ASSERT_TRUE(records.load(host, both.substr(0, both.size() - 4) + focus));
        EXPECT_EQ(room->boxes.GetFocused(), focus[0] == 2 ? &room->boxes.GetBoxes().back() : nullptr);
    }
}

TEST_F(EditBoxes, ABoxWithoutItemOrFontStillTypesAndDrawsNoCaret) {
    cEditBoxManager boxes;
    cEditBox* bare = boxes.AddEditBox(nullptr, true);
    cEditBox* picture = boxes.AddEditBox(&item("MENU"), false);
    for (cEditBox* box : {bare, picture}) {
        boxes.SelectByItem(box->GetItem());
        room->boxes.Reset();
        beforeRoom = [&] { boxes.Update(0.05f); };
        frame(300, 280, {.taps = {KEY_A}});
        frame(300, 280, Input{});
        EXPECT_EQ(box->GetText(), "a");
        aGraphServer& graph = testGraphServer();
        ASSERT_TRUE(graph.beginScene());
        boxes.Render();
        graph.endScene();
    }
    beforeRoom = nullptr;
}

} // namespace
