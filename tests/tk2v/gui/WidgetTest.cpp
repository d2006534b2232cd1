#include "tk2v/gui/Widget.h"

#include "WidgetTrace.h"
#include "support/BmpWriter.h"
#include "support/TempDir.h"
#include "tk2v/gui/Region.h"

#include <gtest/gtest.h>

#include <memory>

using namespace GUI;

namespace {

// A widget with its handlers and its hit test open to the test.
struct TestWidget : Widget {
    using Widget::LaunchEvent;
    using Widget::Widget;
    bool canFocus = false;
    bool CanFocus() const override { return canFocus; }
};

std::unique_ptr<TestWidget> make(const std::string& name, aRect area = {0, 0, 100, 100}) {
    auto w = std::make_unique<TestWidget>(name);
    w->SetAreaRaw(area);
    return w;
}

MouseEventArgs mouse(Widget* w, i32 button = MOUSE_LEFT, i32 x = 1, i32 y = 1) {
    MouseEventArgs e(w);
    e.button = button;
    e.x = x;
    e.y = y;
    return e;
}

void press(Widget& w, i32 button = MOUSE_LEFT) {
    MouseEventArgs e = mouse(&w, button);
    w.OnMouseDown(e);
}

void release(Widget& w, i32 button = MOUSE_LEFT, i32 x = 1) {
    MouseEventArgs e = mouse(&w, button, x);
    w.OnMouseUp(e);
}

} // namespace

TEST(Widget, ScriptPropertiesApplyInTheirOwnOrderAndAreaRectIsQuiet) {
    TestWidget w("w");
    w.SetMinSize(50, 50);
    WidgetTrace trace;
    trace.watch(w);
    // Set in an order unlike the one they are applied in.
    for (auto [name, value] : {std::pair{"Visible", "0"},
                               {"Enabled", "0"},
                               {"Text", "Hello"},
                               {"FontSize", "2"},
                               {"Font", "nofont"},
                               {"AreaRect", "5 6 7 8"},
                               {"Tag", "0x10"},
                               {"Alpha", "0.5"},
                               {"Hotkey", "ctrl|s"},
                               {"Parent", "x"},
                               {"HorizontalAlign", "right"}})
        w.Set(name, value);
    w.MakeFromScript();
    EXPECT_EQ(trace.lines,
              (Lines{"w:FontChanged", "w:FontChanged", "w:TextChanged", "w:Disabled", "w:Hide"}));
    EXPECT_EQ(w.GetArea(), (aRect{5, 6, 7, 8})) << "no size limits for a script area";
    EXPECT_EQ(w.GetText(), L"Hello");
    EXPECT_EQ(w.GetTag(), 16);
    EXPECT_FLOAT_EQ(w.GetAlpha(), 0.5f);
    EXPECT_EQ(w.GetHotkeyKey(), 0x1Fu);
    EXPECT_EQ(w.GetHotkeyModifiers(), 2u);
    EXPECT_EQ(w.GetHorizontalAlign(), ALIGN_RIGHT);
    EXPECT_EQ(w.Get("Parent"), "x");

    trace.lines.clear();
    w.ClearChanged();
    w.Set("Text", "Hello");
    w.MakeFromScript();
    EXPECT_EQ(trace.lines, Lines{"w:TextChanged"}) << "a value set again is applied again";
}

TEST(Widget, SetAreaClampsThenFiresMovedBeforeSized) {
    struct Case {
        aRect to;
        aRect stored;
        Lines events;
    } cases[] = {
        {{0, 0, 100, 100}, {0, 0, 100, 100}, {}},
        {{1, 0, 100, 100}, {1, 0, 100, 100}, {"w:Moved"}},
        {{0, 0, 10, 100}, {0, 0, 50, 100}, {"w:Sized"}},
        {{0, 0, 500, 500}, {0, 0, 200, 300}, {"w:Sized"}},
        {{3, 4, 60, 70}, {3, 4, 60, 70}, {"w:Moved", "w:Sized"}},
    };
    for (const Case& c : cases) {
        TestWidget w("w");
        w.SetAreaRaw({0, 0, 100, 100});
        w.SetMinSize(50, 20);
        w.SetMaxSize(200, 300);
        WidgetTrace trace;
        trace.watch(w, {"Moved", "Sized"});
        w.SetArea(c.to);
        EXPECT_EQ(w.GetArea(), c.stored);
        EXPECT_EQ(trace.lines, c.events);
    }
    TestWidget w("w");
    w.SetAreaRaw({0, 0, 100, 100});
    w.SetMinSize(100, 0);
    WidgetTrace trace;
    trace.watch(w, {"Moved", "Sized"});
    w.SetWidth(40);
    EXPECT_TRUE(trace.lines.empty()) << "clamped back to the old size: no Sized";
    w.SetY(9);
    w.SetHeight(9);
    w.SetPosition(2, 9);
    w.SetSize(120, 9);
    EXPECT_EQ(trace.lines, (Lines{"w:Moved", "w:Sized", "w:Moved", "w:Sized"}));
}

TEST(Widget, AlignmentPlacesChildrenInTheirParent) {
    struct Case {
        i32 horizontal, vertical;
        i32 x, y;
    } cases[] = {{ALIGN_LEFT, ALIGN_TOP, -90, 20},
                 {ALIGN_HCENTER, ALIGN_VCENTER, 422, 404},
                 {ALIGN_RIGHT, ALIGN_BOTTOM, 934, 788}};
    auto root = make("root", {10, 20, 1024, 768});
    for (const Case& c : cases) {
        auto child = make("child", {-100, 0, 10, 10});
        root->AddChild(child.get());
        child->SetHorizontalAlign(c.horizontal);
        child->SetVerticalAlign(c.vertical);
        EXPECT_EQ(child->GetScreenX(), c.x);
        EXPECT_EQ(child->GetScreenY(), c.y);
    }
    auto alone = make("alone", {-100, 5, 1, 1});
    alone->SetHorizontalAlign(ALIGN_RIGHT);
    EXPECT_EQ(alone->GetScreenX(), -100) << "without a parent alignment adds nothing";
}

TEST(Widget, FlagsAlphaAndFontsComeDownTheTree) {
    auto top = make("top"), mid = make("mid"), leaf = make("leaf");
    top->AddChild(mid.get());
    mid->AddChild(leaf.get());
    top->SetAlpha(0.5f);
    leaf->SetAlpha(0.5f);
    EXPECT_FLOAT_EQ(leaf->GetAlpha(), 0.25f);
    EXPECT_FLOAT_EQ(leaf->GetAlpha(true), 0.5f);
    mid->SetInheritsAlpha(false);
    EXPECT_FLOAT_EQ(leaf->GetAlpha(), 0.5f);

    top->SetVisible(false);
    EXPECT_FALSE(leaf->IsVisible());
    EXPECT_TRUE(leaf->IsVisible(true));
    mid->SetEnabled(false);
    EXPECT_FALSE(leaf->IsEnabled());
    EXPECT_TRUE(top->IsEnabled());

    aFont* font = reinterpret_cast<aFont*>(0x1000);
    top->SetFont(font);
    top->SetFontSize(3);
    mid->SetFontSize(0);
    leaf->SetFontSize(0);
    EXPECT_EQ(leaf->GetFont(), font);
    EXPECT_EQ(leaf->GetFont(true), nullptr);
    EXPECT_FLOAT_EQ(leaf->GetFontSize(), 3.0f);
    EXPECT_FLOAT_EQ(leaf->GetFontSize(true), 0.0f);
    mid->SetFontSize(2);
    EXPECT_FLOAT_EQ(leaf->GetFontSize(), 2.0f);
    EXPECT_FALSE(top->IsA("Widget")) << "the base answers false even for its own name";
}

TEST(Widget, VisibleAndEnabledFireOnlyOnChange) {
    TestWidget w("w");
    WidgetTrace trace;
    trace.watch(w);
    w.SetVisible(true);
    w.SetVisible(false);
    w.SetVisible(false);
    w.SetEnabled(false);
    w.SetEnabled(true);
    w.SetFontSize(1);
    w.SetFontSize(2);
    w.SetFont(nullptr);
    w.SetTextF(L"%d-%ls", 7, L"x");
    EXPECT_EQ(trace.lines, (Lines{"w:Hide", "w:Disabled", "w:Enabled", "w:FontChanged", "w:FontChanged",
                                  "w:TextChanged"}));
    EXPECT_EQ(w.GetText(), L"7-x");
}

TEST(Widget, TreeKeepsDrawingOrderAndRefusesLoops) {
    auto root = make("root"), a = make("a"), b = make("b"), top = make("top"), c = make("c");
    top->SetAlwaysOnTop(true);
    root->AddChild(a.get());
    root->AddChild(top.get());
    root->AddChild(b.get());
    EXPECT_EQ(root->GetDrawingOrder(), (std::vector<Widget*>{a.get(), b.get(), top.get()}));
    EXPECT_EQ(root->GetChildren(), (std::vector<Widget*>{a.get(), top.get(), b.get()}));
    a->MoveToFront();
    EXPECT_EQ(root->GetDrawingOrder(), (std::vector<Widget*>{b.get(), a.get(), top.get()}));
    b->SetRiseOnClick(true);
    b->AddChild(c.get());
    c->RiseToFront();
    EXPECT_EQ(root->GetDrawingOrder(), (std::vector<Widget*>{a.get(), b.get(), top.get()}));

    c->AddChild(root.get());
    c->AddChild(c.get());
    EXPECT_EQ(root->GetParent(), nullptr) << "an ancestor is never added below its descendant";
    EXPECT_TRUE(c->GetChildren().empty());

    c->SetParent(a.get());
    EXPECT_EQ(c->GetParent(), a.get());
    EXPECT_TRUE(b->GetChildren().empty());
    c->SetParent(nullptr);
    EXPECT_EQ(c->GetParent(), nullptr);
    EXPECT_TRUE(a->GetChildren().empty());
}

TEST(Widget, FindChildIsDepthFirstAndIgnoresCase) {
    auto root = make("root"), a = make("a"), deep = make("Target"), b = make("target");
    root->AddChild(a.get());
    a->AddChild(deep.get());
    root->AddChild(b.get());
    EXPECT_EQ(root->FindChild("TARGET"), b.get());
    EXPECT_EQ(root->FindChild("target", true), deep.get());
    EXPECT_EQ(root->FindChild("none", true), nullptr);
}

TEST(Widget, DestroyingDetachesFromTheParentAndDeletesOnlyOwnedChildren) {
    auto root = make("root");
    TestWidget* owned = new TestWidget("owned");
    owned->SetOwnedByParent(true);
    auto held = make("held");
    auto child = make("child");
    root->AddChild(owned);
    root->AddChild(held.get());
    owned->AddChild(child.get());
    child.reset();
    EXPECT_TRUE(owned->GetChildren().empty()) << "a destroyed child leaves its parent";
    root.reset(); // deletes `owned`, lets `held` go
    EXPECT_EQ(held->GetParent(), nullptr);
}

TEST(Widget, WidgetAtFindsTheTopmostHitAndStopsBelowAModalOne) {
    auto root = make("root", {0, 0, 200, 200});
    auto below = make("below", {0, 0, 200, 200});
    auto panel = make("panel", {10, 10, 50, 50});
    auto inner = make("inner", {40, 40, 30, 30}); // reaches outside the panel
    auto flat = make("flat", {150, 150, 20, 20});
    root->AddChild(below.get());
    root->AddChild(panel.get());
    panel->AddChild(inner.get());
    root->AddChild(flat.get());
    flat->SetStatic(true);

    struct Case {
        i32 x, y;
        bool skipStatic;
        Widget* expected;
    } cases[] = {
        {5, 5, true, below.get()},   {20, 20, true, panel.get()},   {55, 55, true, inner.get()},
        {75, 75, true, below.get()}, {155, 155, true, below.get()}, {155, 155, false, flat.get()},
        {500, 500, true, nullptr},
    };
    for (const Case& c : cases)
        EXPECT_EQ(root->WidgetAt(c.x, c.y, true, c.skipStatic), c.expected) << c.x << "," << c.y;
    inner->SetClipByParent(false);
    EXPECT_EQ(root->WidgetAt(75, 75, true, true), inner.get()) << "no clip: hit outside the parent";
    EXPECT_EQ(root->WidgetAt(55, 55, false, true), panel.get());

    panel->SetModal(true);
    EXPECT_EQ(root->WidgetAt(5, 5, true, true), nullptr) << "nothing below a modal sibling";
    panel->SetVisible(false);
    EXPECT_EQ(root->WidgetAt(5, 5, true, true), below.get());
    EXPECT_EQ(root->WidgetAt(20, 20, true, true), below.get());
    root->SetVisible(false);
    EXPECT_EQ(root->WidgetAt(5, 5, true, true), nullptr);
}

TEST(Widget, RegionsAreStretchedOverTheWidget) {
    TempDir dir;
    std::vector<bool> bits(100 * 50, false);
    bits[30 * 100 + 75] = true;
    dir.write("mask.bmp", bmpfiles::oneBit(100, 50, bits));
    Region region;
    ASSERT_TRUE(region.LoadFromBitmap(dir.file("mask.bmp")));
    auto root = make("root", {0, 0, 400, 400});
    auto w = make("w", {0, 0, 200, 100});
    root->AddChild(w.get());
    w->SetRegion(&region);
    EXPECT_TRUE(w->HitTest(150, 60));
    EXPECT_TRUE(w->HitTest(151, 61));
    EXPECT_FALSE(w->HitTest(152, 60));
    EXPECT_FALSE(w->HitTest(-1, 60));
    EXPECT_EQ(root->WidgetAt(150, 60, true, true), w.get());
    EXPECT_EQ(root->WidgetAt(10, 10, true, true), nullptr);
    w->SetAreaRaw({0, 0, 0, 100});
    EXPECT_FALSE(w->HitTest(0, 60)) << "a widget of no width has nothing to hit";
}

TEST(Widget, ClicksWithAndWithoutMultiClick) {
    struct Case {
        bool multiClick;
        Lines events;
    } cases[] = {
        {false,
         {"w:MouseDown", "w:MouseUp", "w:Click", "w:MouseDown", "w:MouseUp", "w:Click", "w:MouseDown",
          "w:MouseUp", "w:Click"}},
        {true,
         {"w:MouseDown", "w:MouseUp", "w:Click", "w:MouseDown", "w:DoubleClick", "w:MouseUp", "w:MouseDown",
          "w:TripleClick", "w:MouseUp"}},
    };
    for (const Case& c : cases) {
        TestWidget w("w");
        w.SetAreaRaw({0, 0, 10, 10});
        w.SetMultiClick(c.multiClick);
        w.SetMultiClickTime(0.5f);
        WidgetTrace trace;
        trace.watch(w);
        for (int i = 0; i < 3; ++i) {
            press(w);
            w.UpdateSelf(0.1f);
            release(w);
        }
        EXPECT_EQ(trace.lines, c.events) << c.multiClick;
    }
}

TEST(Widget, MovesAndSlowPressesEndMultiClickCounting) {
    TestWidget w("w");
    w.SetAreaRaw({0, 0, 10, 10});
    w.SetMultiClick(true);
    w.SetMultiClickTime(0.5f);
    WidgetTrace trace;
    trace.watch(w, {"Click", "DoubleClick"});
    press(w);
    release(w);
    MouseEventArgs move = mouse(&w);
    move.dx = 1;
    w.OnMouseMove(move);
    press(w);
    release(w);
    w.UpdateSelf(0.6f);
    press(w);
    release(w);
    press(w);
    release(w, MOUSE_LEFT, 50); // a double click released outside: nothing more
    press(w, MOUSE_RIGHT);
    release(w, MOUSE_RIGHT);
    EXPECT_EQ(trace.lines, (Lines{"w:Click", "w:Click", "w:Click", "w:DoubleClick"}));
}

TEST(Widget, HotkeysAskVisibleEnabledChildrenFirstAndStopBelowModal) {
    auto root = make("root");
    auto save = make("save"), dialog = make("dialog"), ok = make("ok"), hidden = make("hidden");
    root->AddChild(save.get());
    root->AddChild(dialog.get());
    dialog->AddChild(ok.get());
    root->AddChild(hidden.get());
    save->SetHotkey(0x1F, MOD_CTRL);
    ok->SetHotkey(0x1C, 0);
    hidden->SetHotkey(0x1F, MOD_CTRL);
    hidden->SetVisible(false);
    WidgetTrace trace;
    trace.watch(*save, {"Click"});
    trace.watch(*ok, {"Click"});
    trace.watch(*hidden, {"Click"});

    struct Case {
        u32 key, modifiers;
        bool fired;
    } cases[] = {
        {0x1F, MOD_CTRL, true},
        {0x1F, MOD_CTRL | MOD_CAPSLOCK | MOD_NUMLOCK, true},
        {0x1F, MOD_CTRL | MOD_SHIFT, false},
        {0x1F, 0, false},
        {0x1C, 0, true},
        {0, 0, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(root->HandleHotkey(c.key, c.modifiers), c.fired) << c.key << " " << c.modifiers;
    EXPECT_EQ(trace.lines, (Lines{"save:Click", "save:Click", "ok:Click"}));
    EXPECT_TRUE(trace.lastMouse.handled);
    EXPECT_EQ(trace.lastMouse.button, MOUSE_LEFT);

    dialog->SetModal(true);
    EXPECT_FALSE(root->HandleHotkey(0x1F, MOD_CTRL)) << "a modal sibling above hides the hotkey";
    ok->SetEnabled(false);
    EXPECT_FALSE(root->HandleHotkey(0x1C, 0));
}

TEST(Widget, FadeFollowsHover) {
    TestWidget w("w");
    w.SetFadeInTime(0.5f);
    WidgetEventArgs e(&w);
    w.OnMouseEnter(e);
    w.UpdateSelf(0.25f);
    EXPECT_FLOAT_EQ(w.GetFadeLevel(), 0.5f);
    w.UpdateSelf(1.0f);
    EXPECT_FLOAT_EQ(w.GetFadeLevel(), 1.0f);
    w.OnMouseLeave(e);
    EXPECT_FALSE(w.IsHovered());
    w.UpdateSelf(0.01f);
    EXPECT_FLOAT_EQ(w.GetFadeLevel(), 0.0f) << "no fade-out time: at once";
}

TEST(Widget, RenderWalksVisibleWidgetsWithNotifyRender) {
    auto root = make("root"), a = make("a"), b = make("b"), c = make("c");
    root->AddChild(a.get());
    root->AddChild(b.get());
    a->AddChild(c.get());
    WidgetTrace trace;
    for (Widget* w : {root.get(), a.get(), b.get(), c.get()}) {
        w->SetNotifyRender(true);
        trace.watch(*w, {"BeginRender", "EndRender"});
    }
    b->SetNotifyRender(false);
    a->MoveToFront();
    root->Update(0.1f);
    root->Render();
    EXPECT_EQ(trace.lines, (Lines{"root:BeginRender", "a:BeginRender", "c:BeginRender", "c:EndRender",
                                  "a:EndRender", "root:EndRender"}));
    trace.lines.clear();
    a->SetVisible(false);
    root->Render();
    c->Render();
    EXPECT_EQ(trace.lines, (Lines{"root:BeginRender", "root:EndRender"}));
}
