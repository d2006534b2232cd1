#include "GuiServerFixture.h"

using namespace GUI;

namespace {

constexpr u8 KEY_A = 0x1E, KEY_S = 0x1F, KEY_LSHIFT = 0x2A, KEY_LCTRL = 0x1D, KEY_RCTRL = 0x9D,
             KEY_LALT = 0x38, KEY_CAPS = 0x3A;

const char* const Script = R"(widget panel
{
  AreaRect 100 100 200 200
  widget button
  {
    AreaRect 10 10 50 50
    Hotkey ctrl|s
    MouseAutoRepeat 1
    AutoRepeatDelay 0.5
    AutoRepeatRate 0.25
  }
  focusable edit
  {
    AreaRect 100 10 50 50
    AutoRepeatDelay 0.5
    AutoRepeatRate 0.25
  }
  focusable other
  {
    AreaRect 100 100 50 50
  }
}
widget off
{
  AreaRect 400 100 50 50
  Enabled 0
}
)";

struct GuiInput : GuiServerTest {
    Widget *panel, *button, *edit, *other;

    GuiInput() {
        load(Script);
        server->InitializeWidgets();
        panel = find("panel");
        button = find("button");
        edit = find("edit");
        other = find("other");
        for (Widget* w : {root(), panel, button, edit, other, find("off")})
            trace.watch(*w);
    }

    void moveTo(i32 x, i32 y, f32 seconds = 0.016f) {
        input.setCursor(x, y);
        frame(seconds);
    }
    // Focuses `edit` by a click, then forgets the events that caused.
    void focusEdit() {
        moveTo(210, 120);
        input.click(MOUSE_LEFT);
        frame();
        frame();
        ASSERT_EQ(server->GetFocus(), edit);
        trace.lines.clear();
    }
};

} // namespace

TEST_F(GuiInput, HoverChainsChangeOutermostFirst) {
    moveTo(120, 120);
    EXPECT_EQ(trace.lines,
              (Lines{"__root__:MouseEnter", "panel:MouseEnter", "button:MouseEnter", "button:MouseMove"}));
    trace.lines.clear();
    moveTo(121, 120);
    EXPECT_EQ(trace.lines, Lines{"button:MouseMove"});
    EXPECT_EQ(trace.lastMouse.x, 11);
    EXPECT_EQ(trace.lastMouse.dx, 1);
    trace.lines.clear();
    moveTo(210, 120);
    EXPECT_EQ(trace.lines, (Lines{"button:MouseLeave", "edit:MouseEnter", "edit:MouseMove"}));
    EXPECT_TRUE(panel->IsHovered());
    trace.lines.clear();
    moveTo(420, 120);
    EXPECT_EQ(trace.lines, (Lines{"__root__:MouseLeave", "panel:MouseLeave", "edit:MouseLeave"}))
        << "a disabled widget under the mouse counts as none";
    EXPECT_EQ(server->GetHovered(), nullptr);
}

TEST_F(GuiInput, APressGoesToTheHoveredWidgetWhichKeepsTheMouseUntilRelease) {
    moveTo(120, 120);
    trace.lines.clear();
    input.buttonDown(MOUSE_LEFT);
    frame();
    moveTo(220, 120);
    input.keyDown(KEY_A); // no key is taken while a button is held
    frame();
    input.buttonUp(MOUSE_LEFT);
    frame();
    EXPECT_EQ(trace.lines, (Lines{"button:MouseDown", "button:MouseMove", "button:MouseUp",
                                  "button:MouseLeave", "edit:MouseEnter"}));
    EXPECT_EQ(trace.lastMouse.x, 110) << "relative to the pressed widget";
    EXPECT_EQ(trace.lastMouse.button, MOUSE_LEFT);
    trace.lines.clear();
    input.click(MOUSE_RIGHT);
    frame();
    frame();
    // The key held since the button was reached no focus on the release; the focus change lets the new
    // focus see it as a press.
    EXPECT_EQ(trace.lines, (Lines{"edit:MouseDown", "edit:FocusGain", "edit:MouseUp", "edit:KeyDown"}))
        << "a right press focuses too";
}

TEST_F(GuiInput, ClickNeedsTheReleaseOverTheWidget) {
    moveTo(120, 120);
    input.click(MOUSE_LEFT);
    frame();
    frame();
    EXPECT_NE(std::find(trace.lines.begin(), trace.lines.end(), "button:Click"), trace.lines.end());
    EXPECT_EQ(server->GetFocus(), nullptr) << "a widget that cannot take the focus does not get it";
}

TEST_F(GuiInput, KeysGoToTheFocusWithTheirCharacter) {
    focusEdit();
    input.keyDown(KEY_LSHIFT);
    frame();
    input.tapKey(KEY_A);
    frame();
    EXPECT_EQ(trace.lastKey.key, KEY_A);
    EXPECT_EQ(trace.lastKey.character, 'A');
    EXPECT_EQ(trace.lastKey.modifiers, u32(MOD_SHIFT));
    frame();
    input.keyUp(KEY_LSHIFT);
    frame();
    EXPECT_EQ(trace.lines, (Lines{"edit:KeyDown", "edit:KeyDown", "edit:KeyUp", "edit:KeyUp"}));
}

TEST_F(GuiInput, AHotkeyClicksWithoutAKeyDownAndDoesNotRepeat) {
    focusEdit();
    input.keyDown(KEY_LCTRL);
    frame();
    input.keyDown(KEY_S);
    for (int i = 0; i < 10; ++i)
        frame(0.125f);
    EXPECT_EQ(trace.lines, (Lines{"edit:KeyDown", "button:Click"}));
    EXPECT_TRUE(trace.lastMouse.handled);
}

TEST_F(GuiInput, AHeldKeyRepeatsAfterTheDelayThenAtTheRate) {
    focusEdit();
    input.keyDown(KEY_A);
    std::vector<int> repeatFrames;
    for (int i = 1; i <= 8; ++i) {
        const size_t before = trace.lines.size();
        frame(0.125f);
        if (trace.lines.size() > before)
            repeatFrames.push_back(i);
    }
    EXPECT_EQ(repeatFrames, (std::vector<int>{1, 4, 6, 8}));
    EXPECT_EQ(trace.lastKey.key, KEY_A);
}

TEST_F(GuiInput, AKeyHeldWhileTheFocusChangesComesAgainAsANewPress) {
    focusEdit();
    input.keyDown(KEY_A);
    frame();
    server->SetFocus(button);
    EXPECT_EQ(server->GetFocus(), edit) << "the button cannot take the focus";
    server->SetFocus(other);
    frame();
    EXPECT_EQ(trace.lines, (Lines{"edit:KeyDown", "edit:FocusLost", "other:FocusGain", "other:KeyDown"}));
    EXPECT_FALSE(edit->IsFocused());
    EXPECT_TRUE(other->IsFocused());
}

TEST_F(GuiInput, AHeldButtonRepeatsMouseDownOnlyOverAnAutoRepeatingWidget) {
    moveTo(120, 120);
    trace.lines.clear();
    input.buttonDown(MOUSE_LEFT);
    for (int i = 0; i < 6; ++i)
        frame(0.125f);
    input.setCursor(20, 20);
    frame(0.125f);
    frame(0.125f);
    input.buttonUp(MOUSE_LEFT);
    frame();
    // Frames 4 (0.5 s) and 6 repeat; frame 8 would, but the mouse is no longer over the button.
    Lines seen;
    for (const std::string& l : trace.lines)
        if (l.rfind("button:", 0) == 0)
            seen.push_back(l);
    EXPECT_EQ(seen, (Lines{"button:MouseDown", "button:MouseDown", "button:MouseDown", "button:MouseMove",
                           "button:MouseUp", "button:MouseLeave"}));
}

TEST_F(GuiInput, TheWheelTurnsOverTheHoveredWidget) {
    moveTo(120, 120);
    trace.lines.clear();
    input.wheel(-2);
    frame();
    EXPECT_EQ(trace.lines, Lines{"button:MouseWheel"});
    EXPECT_EQ(trace.lastMouse.wheel, -2);
}

TEST_F(GuiInput, DestroyingAWidgetForgetsHoverAndFocusInsideIt) {
    FocusWidget held("held");
    held.SetAreaRaw({150, 150, 20, 20});
    panel->AddChild(&held);
    moveTo(255, 255);
    server->SetFocus(&held);
    ASSERT_EQ(server->GetHovered(), &held);
    delete panel;
    EXPECT_EQ(server->GetHovered(), nullptr);
    EXPECT_EQ(server->GetFocus(), nullptr);
    EXPECT_EQ(held.GetParent(), nullptr) << "a widget the game holds outlives its parent";
    input.tapKey(KEY_A);
    moveTo(256, 255);
    server->SetFocus(edit = nullptr);
}

TEST_F(GuiInput, InitializeWidgetsForgetsHoverAndFocusQuietly) {
    focusEdit();
    server->InitializeWidgets();
    EXPECT_TRUE(trace.lines.empty());
    EXPECT_EQ(server->GetFocus(), nullptr);
    EXPECT_EQ(server->GetHovered(), nullptr);
    EXPECT_FALSE(edit->IsFocused());
}

TEST_F(GuiInput, ModifiersFollowTheKeysAndLockStates) {
    struct Case {
        u8 key;
        u32 mask;
    } cases[] = {{KEY_LSHIFT, MOD_SHIFT}, {KEY_RCTRL, MOD_CTRL}, {KEY_LALT, MOD_ALT}};
    for (const Case& c : cases) {
        input.keyDown(c.key);
        frame();
        EXPECT_EQ(server->GetModifiers() & 7, c.mask) << int(c.key);
        input.keyUp(c.key);
        frame();
        EXPECT_EQ(server->GetModifiers() & 7, 0u);
    }
    const u32 caps = server->GetModifiers() & MOD_CAPSLOCK;
    input.tapKey(KEY_CAPS);
    frame();
    EXPECT_NE(server->GetModifiers() & MOD_CAPSLOCK, caps);
    input.tapKey(KEY_CAPS);
    frame();
}

TEST(GuiKeys, KeyToCharFollowsTheUsLayoutWithShiftAndCaps) {
    struct Case {
        u32 key, modifiers;
        u8 expected;
    } cases[] = {
        {0x1E, 0, 'a'},
        {0x1E, MOD_SHIFT, 'A'},
        {0x1E, MOD_CAPSLOCK, 'A'},
        {0x1E, MOD_SHIFT | MOD_CAPSLOCK, 'a'},
        {0x02, MOD_SHIFT, '!'},
        {0x02, MOD_CAPSLOCK, '1'},
        {0x0B, 0, '0'},
        {0x39, 0, ' '},
        {0x39, MOD_SHIFT, 0},
        {0x1C, 0, 0},
        {0x33, MOD_SHIFT, '<'},
        {0x2B, 0, '\\'},
        {0x28, MOD_SHIFT, '"'},
        {0x29, MOD_SHIFT, '~'},
        {0x1E, MOD_CTRL, 'a'},
        {0x52, 0, 0},
        {300, 0, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Server::KeyToChar(c.key, c.modifiers), c.expected) << c.key << " " << c.modifiers;
}
