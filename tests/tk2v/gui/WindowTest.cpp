#include "tk2v/gui/Window.h"
#include "GuiDraw.h"
#include "GuiServerFixture.h"
#include "support/LogCapture.h"
#include "tk2v/gui/Style.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace guidraw;
using GUI::MouseEventArgs;
using GUI::Style;
using GUI::Window;

namespace {

// Writes the name of each event it is given into a shared trace.
struct Recorder : GUI::Subscriber {
    Recorder(std::string n, std::vector<std::string>& t) : name(std::move(n)), trace(t) {}
    bool operator()(const GUI::EventArgs&) override {
        trace.push_back(name);
        return false;
    }
    std::string name;
    std::vector<std::string>& trace;
};

// A flat style of one colour, corners and all.
std::unique_ptr<Style> flatStyle(GuiImages& gui, const std::string& name, u32 argb) {
    gui.add(name, 6, 6, std::vector<u32>(36, argb));
    auto style = std::make_unique<Style>();
    style->ClearChanged();
    for (const auto& [key, value] : {std::pair{"Image", name.c_str()},
                                     {"AutoSlice", "all"},
                                     {"EdgeGlobal", "stretch"},
                                     {"FillType", "stretch"}})
        style->Set(key, value);
    style->MakeFromScript();
    return style;
}

class WindowDrawing : public ::testing::Test {
protected:
    WindowDrawing() {
        desk.SetAreaRaw(aRect{0, 0, 48, 12});
        normal = flatStyle(gui, "red", 0xFFFF0000);
        hover = flatStyle(gui, "green", 0xFF00FF00);
        disabled = flatStyle(gui, "gray", 0xFF808080);
    }

    // A 10 x 10 window at (x, 1) with the given styles, inside its own parent on the desk.
    Window& window(i16 x, Style* n, Style* h, Style* d) {
        parents.push_back(std::make_unique<GUI::Widget>("parent"));
        GUI::Widget& parent = *parents.back();
        parent.SetAreaRaw(aRect{x, 1, 10, 10});
        desk.AddChild(&parent);
        windows.push_back(std::make_unique<Window>("window"));
        Window& w = *windows.back();
        w.SetAreaRaw(aRect{0, 0, 10, 10});
        w.SetNormalStyle(n);
        w.SetHoverStyle(h);
        w.SetDisabledStyle(d);
        parent.AddChild(&w);
        return w;
    }

    // Hovered for half of its fade-in time.
    static void halfFaded(Window& w) {
        w.SetFadeInTime(1.0f);
        GUI::WidgetEventArgs e(&w);
        w.OnMouseEnter(e);
        w.Update(0.5f);
    }

    GuiImages gui;
    GUI::Widget desk{"desk"};
    std::vector<std::unique_ptr<GUI::Widget>> parents;
    std::vector<std::unique_ptr<Window>> windows;
    std::unique_ptr<Style> normal, hover, disabled;
};

TEST_F(WindowDrawing, AlphaFadeAndDisabledStylesGolden) {
    Window& half = window(1, normal.get(), nullptr, disabled.get());
    half.SetAlpha(0.5f);
    Window& fading = window(13, normal.get(), hover.get(), nullptr);
    halfFaded(fading);
    Window& inDisabled = window(25, normal.get(), hover.get(), disabled.get());
    inDisabled.GetParent()->SetEnabled(false);
    Window& disabledPlain = window(37, normal.get(), hover.get(), nullptr);
    disabledPlain.SetEnabled(false);
    halfFaded(disabledPlain);

    const RgbaImage frame = capture(48, 12, [&] { desk.Render(); });
    EXPECT_TRUE(matchesGolden("window_states", frame, 0));
    EXPECT_EQ(rgb(frame, 5, 5), 0x800000u);  // alpha 0.5 is byte 128, not 127
    EXPECT_EQ(rgb(frame, 17, 5), 0x7F8000u); // green at half the fade over red
    EXPECT_EQ(rgb(frame, 29, 5), 0x808080u); // only the disabled style
    EXPECT_EQ(rgb(frame, 41, 5), 0x7F8000u); // no disabled style: drawn as enabled
}

class WindowDrag : public ::testing::Test {
protected:
    WindowDrag() {
        desk.SetAreaRaw(aRect{0, 0, 100, 80});
        win.SetAreaRaw(aRect{10, 10, 30, 20});
        win.SetDrag(true);
        desk.AddChild(&win);
        for (const char* name : {"DragStarted", "Dragging", "DragFinished", "Moved"}) {
            recorders.push_back(std::make_unique<Recorder>(name, trace));
            win.SubscribeEvent(name, recorders.back().get());
        }
    }

    // A mouse record at a point of the desk, relative to the window as the server makes it.
    MouseEventArgs at(i32 deskX, i32 deskY, i32 button = GUI::MOUSE_LEFT, i32 dx = 1, i32 dy = 1) {
        MouseEventArgs e(&win);
        e.button = button;
        e.x = deskX - win.GetScreenX();
        e.y = deskY - win.GetScreenY();
        e.dx = dx;
        e.dy = dy;
        return e;
    }
    void press(i32 x, i32 y, i32 button = GUI::MOUSE_LEFT) {
        MouseEventArgs e = at(x, y, button);
        win.OnMouseDown(e);
    }
    void move(i32 x, i32 y, i32 dx = 1, i32 dy = 1) {
        MouseEventArgs e = at(x, y, GUI::MOUSE_LEFT, dx, dy);
        win.OnMouseMove(e);
    }
    void release(i32 x, i32 y, i32 button = GUI::MOUSE_LEFT) {
        MouseEventArgs e = at(x, y, button);
        win.OnMouseUp(e);
    }

    GUI::Widget desk{"desk"};
    Window win{"win"};
    std::vector<std::string> trace;
    std::vector<std::unique_ptr<Recorder>> recorders;
};

TEST_F(WindowDrag, TheGrabbedPointFollowsTheMouseAndStaysInsideTheParent) {
    press(15, 15);
    move(25, 20);
    EXPECT_EQ(win.GetArea(), (aRect{20, 15, 30, 20}));
    move(25, 20, 0, 0); // no movement, no drag step
    move(150, -20);     // past the right and top edges: the grabbed point stops on them
    EXPECT_EQ(win.GetArea(), (aRect{94, -5, 30, 20}));
    EXPECT_TRUE(win.IsDragging());
    release(150, -20);
    EXPECT_FALSE(win.IsDragging());
    move(60, 60);
    EXPECT_EQ(trace, (std::vector<std::string>{"DragStarted", "Moved", "Dragging", "Moved", "Dragging",
                                               "DragFinished"}));
}

TEST_F(WindowDrag, NoDragWithoutLeftButtonDragFlagParentOrAGrabInsideTheParent) {
    press(15, 15, GUI::MOUSE_RIGHT);
    move(30, 30);
    EXPECT_FALSE(win.IsDragging());

    win.SetDrag(false);
    press(15, 15);
    EXPECT_FALSE(win.IsDragging());
    win.SetDrag(true);

    // Grabbed where the parent is not: the window hangs over the desk's right edge.
    win.SetAreaRaw(aRect{90, 10, 30, 20});
    press(105, 15);
    EXPECT_FALSE(win.IsDragging());

    desk.RemoveChild(&win);
    press(15, 15);
    move(30, 30);
    EXPECT_FALSE(win.IsDragging());
    EXPECT_EQ(win.GetArea(), (aRect{90, 10, 30, 20}));
    EXPECT_TRUE(trace.empty());
}

struct WindowScript : GuiServerTest {};

TEST_F(WindowScript, ScriptsMakeWindowsWithDragAndStylesByName) {
    load("style Frame\n{\n  FillType none\n}\n"
         "style Lit\n{\n  FillType none\n}\n"
         "window win\n{\n  Drag 1\n  NormalStyle frame\n  HoverStyle LIT\n  DisabledStyle gone\n}\n");
    auto* w = dynamic_cast<Window*>(find("win"));
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(log.contains("Created new Window 'win'"));
    EXPECT_TRUE(w->GetDrag());
    EXPECT_EQ(w->GetNormalStyle(), server->GetStyle("Frame"));
    EXPECT_EQ(w->GetHoverStyle(), server->GetStyle("Lit"));
    EXPECT_NE(w->GetHoverStyle(), nullptr);
    EXPECT_EQ(w->GetDisabledStyle(), nullptr);
    EXPECT_TRUE(log.contains("Server::GetStyle - style 'gone' not found!"));

    // Applied again, only the changed records count: the styles stay.
    w->ClearChanged();
    w->Set("Drag", "0");
    w->MakeFromScript();
    EXPECT_FALSE(w->GetDrag());
    EXPECT_EQ(w->GetNormalStyle(), server->GetStyle("Frame"));
    EXPECT_STREQ(w->GetTypeName(), "Window");
    EXPECT_TRUE(w->IsA("Window"));
    EXPECT_FALSE(w->IsA("window"));
}

} // namespace
