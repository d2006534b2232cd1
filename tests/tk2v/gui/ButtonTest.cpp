#include "WidgetKit.h"
#include "support/LogCapture.h"
#include "tk2v/gui/Checkbox.h"
#include "tk2v/gui/ImageButton.h"
#include "tk2v/gui/OptionButton.h"
#include "tk2v/gui/RadioButton.h"
#include "tk2v/gui/Style.h"
#include "tk2v/gui/StyleButton.h"

#include <gtest/gtest.h>

using namespace guidraw;
using namespace widgetkit;
using GUI::ButtonLook;

namespace {

constexpr u32 Red = 0xFF0000, Grey = 0x808080, Green = 0x00FF00, Blue = 0x0000FF;

GUI::MouseEventArgs mouse(GUI::Widget* w, i32 button) {
    GUI::MouseEventArgs e(w);
    e.button = button;
    return e;
}

class Buttons : public ::testing::Test {
protected:
    Gui gui;
    aImage red = loadImage(gui.dir, "red.png", 4, 4, flat(4, 4, 0xFF000000 | Red));
    aImage grey = loadImage(gui.dir, "grey.png", 4, 4, flat(4, 4, 0xFF000000 | Grey));
    aImage green = loadImage(gui.dir, "green.png", 4, 4, flat(4, 4, 0xFF000000 | Green));
    aImage blue = loadImage(gui.dir, "blue.png", 4, 4, flat(4, 4, 0xFF000000 | Blue));
    aImage redBox = loadImage(gui.dir, "box.png", 16, 16, flat(16, 16, 0xFF000000 | Red));
    aFont font{writeFont(gui.dir, "plain.fnt", false)};

    // Looks present as bits of ButtonLook.
    GUI::ImageButton& imageButton(u32 present) {
        auto& b = gui.add(std::make_unique<GUI::ImageButton>("button"));
        b.SetAreaRaw(aRect{10, 10, 20, 20});
        const aImage* images[GUI::LOOK_COUNT] = {&red, &grey, &green, &blue};
        for (u32 look = 0; look < GUI::LOOK_COUNT; ++look)
            if (present >> look & 1)
                b.SetImage(ButtonLook(look), images[look]);
        return b;
    }
};

TEST_F(Buttons, DisabledThenPushedThenHoverChooseTheLook) {
    constexpr u32 All = 15, NoDisabled = 13, NoPushed = 7, NormalOnly = 1, HoverOnly = 4;
    struct Case {
        u32 present;
        bool disabled, pushed;
        f32 fadeTime, hoverFor; // fade times (both) and how long the mouse has been over it
        u32 centre;
    };
    const Case cases[] = {
        {All, false, false, 0, -1, Red},
        {All, true, false, 0, -1, Grey},
        {All, true, true, 0, 1, Grey},
        {All, false, true, 0, 1, Blue},
        {All, false, false, 0, 0, Green},
        {NormalOnly, false, false, 0, 0, Red},
        {NoDisabled, true, false, 0, -1, Red},
        {NoPushed, false, true, 0, -1, Red},
        // With fading the hover look lies over the normal one at the fade level's alpha.
        {All, false, false, 1, 0.5f, 0x808000},
        {HoverOnly, false, false, 1, 0.5f, 0x008000},
        {All, false, false, 1, -1, Red},
        {0, false, false, 0, -1, 0},
    };
    for (const Case& c : cases) {
        GUI::ImageButton& b = imageButton(c.present);
        b.SetEnabled(!c.disabled);
        b.SetFadeInTime(c.fadeTime);
        b.SetFadeOutTime(c.fadeTime);
        if (c.hoverFor >= 0) {
            GUI::WidgetEventArgs enter(&b);
            b.OnMouseEnter(enter);
            b.Update(c.hoverFor);
        }
        if (c.pushed) {
            GUI::MouseEventArgs down = mouse(&b, GUI::MOUSE_LEFT);
            b.OnMouseDown(down);
        }
        const RgbaImage frame = capture(40, 40, [&] { b.DrawSelf(); });
        const u32 centre = rgb(frame, 20, 20);
        for (int shift = 0; shift < 24; shift += 8)
            EXPECT_NEAR(i32(centre >> shift & 0xFF), i32(c.centre >> shift & 0xFF), 2)
                << "present " << c.present << " disabled " << c.disabled << " pushed " << c.pushed << " fade "
                << c.fadeTime << " hover " << c.hoverFor << ": " << std::hex << centre;
        delete &b;
    }
}

TEST_F(Buttons, OnlyALeftPressPushesAndAnyReleaseClears) {
    GUI::ImageButton& b = imageButton(15);
    GUI::MouseEventArgs right = mouse(&b, GUI::MOUSE_RIGHT), left = mouse(&b, GUI::MOUSE_LEFT);
    b.OnMouseDown(right);
    EXPECT_FALSE(b.IsPushed());
    b.OnMouseDown(left);
    EXPECT_TRUE(b.IsPushed());
    right.x = right.y = -50; // released far away
    b.OnMouseUp(right);
    EXPECT_FALSE(b.IsPushed());
}

TEST_F(Buttons, CaptionColourFollowsStateAndFade) {
    GUI::ImageButton& b = imageButton(0);
    Gui::script(b, {{"TextColor", "FF000000 FFFFFFFF"}, {"TextHoverColor", "80FFFFFF"}});
    EXPECT_EQ(b.GetTextColor(), 0xFF000000u);
    b.SetFadeInTime(1);
    GUI::WidgetEventArgs enter(&b);
    b.OnMouseEnter(enter);
    b.Update(0.5f);
    // Every channel, alpha too, halfway from normal to hover.
    EXPECT_EQ(b.GetTextColor(), 0xC0808080u);
    GUI::MouseEventArgs down = mouse(&b, GUI::MOUSE_LEFT);
    b.OnMouseDown(down);
    EXPECT_EQ(b.GetTextColor(), 0u) << "pushed: missing entries of TextColor are 0";
    b.SetEnabled(false);
    EXPECT_EQ(b.GetTextColor(), 0u);
    b.SetTextDisabledColor(0x11223344);
    EXPECT_EQ(b.GetTextColor(), 0x11223344u);
}

TEST_F(Buttons, CaptionLinesAreAlignedInsideTheMargins) {
    struct Case {
        const wchar_t* text;
        const char* horz;
        const char* vert;
        bool pushed;
        Bounds lit;
    };
    // Glyphs are lit at x 1..8, y 2..13 of their 10 x 16 cell; the button is 100 x 48 at 0, 0 with
    // margins 5, 4 and a push offset of 3, 2.
    const Case cases[] = {
        {L"ab", "center", "center", false, {41, 18, 58, 29}},
        {L"ab", "left", "top", false, {6, 6, 23, 17}},
        {L"ab", "right", "bottom", false, {76, 30, 93, 41}},
        {L"ab\ncd", "center", "bottom", false, {41, 14, 58, 41}},
        {L"ab\nc", "right", "top", false, {76, 6, 93, 33}},
        {L"ab", "center", "center", true, {44, 20, 61, 31}},
        {L"ab", "middle", "middle", false, {6, 6, 23, 17}},
    };
    for (const Case& c : cases) {
        GUI::ImageButton& b = imageButton(0);
        b.SetFont(&font);
        Gui::script(b, {{"AreaRect", "0 0 100 48"},
                        {"TextExtent", "5 4"},
                        {"TextPushOffset", "3 2"},
                        {"TextHorzAlign", c.horz},
                        {"TextVertAlign", c.vert}});
        b.SetText(c.text);
        if (c.pushed) {
            GUI::MouseEventArgs down = mouse(&b, GUI::MOUSE_LEFT);
            b.OnMouseDown(down);
        }
        const RgbaImage frame = capture(110, 60, [&] { b.DrawSelf(); });
        EXPECT_EQ(litBounds(frame), c.lit) << c.horz << " " << c.vert << " pushed " << c.pushed;
        delete &b;
    }
}

TEST_F(Buttons, StripFramesGiveTheLooksInOrder) {
    gui.addImage("strip", 64, 128, flat(64, 128, 0xFFFFFFFF));
    using R = aRect;
    struct Case {
        const char* layout;
        const char* count;
        const char* area;
        R normal, pushed, hover, disabled;
        const char* logged;
    };
    const Case cases[] = {
        {nullptr, "2", nullptr, {0, 0, 64, 64}, {0, 64, 64, 64}, {}, {}, nullptr},
        {"horizontal",
         nullptr,
         "0 8 64 32",
         {0, 8, 16, 32},
         {16, 8, 16, 32},
         {32, 8, 16, 32},
         {48, 8, 16, 32},
         nullptr},
        {"Vertical", "3", "4 0 60 90", {4, 0, 60, 30}, {4, 30, 60, 30}, {4, 60, 60, 30}, {}, nullptr},
        {"sideways",
         nullptr,
         nullptr,
         {0, 0, 64, 32},
         {0, 32, 64, 32},
         {0, 64, 64, 32},
         {0, 96, 64, 32},
         "ImageButton::EndFillProperties - invalid layout type 'sideways'"},
        {nullptr,
         "0",
         nullptr,
         {0, 0, 64, 32},
         {0, 32, 64, 32},
         {0, 64, 64, 32},
         {0, 96, 64, 32},
         "ImageButton::EndFillProperties - invalid glyph count '0'"},
        {nullptr,
         "-3",
         nullptr,
         {0, 0, 64, 32},
         {0, 32, 64, 32},
         {0, 64, 64, 32},
         {0, 96, 64, 32},
         "ImageButton::EndFillProperties - invalid glyph count '-3'"},
    };
    for (const Case& c : cases) {
        LogCapture log;
        GUI::ImageButton b("strip_button");
        std::vector<std::pair<std::string, std::string>> props = {{"AreaRect", "5 6"}, {"Image", "strip"}};
        if (c.layout)
            props.push_back({"Layout", c.layout});
        if (c.count)
            props.push_back({"GlyphCount", c.count});
        if (c.area)
            props.push_back({"ImageRect", c.area});
        Gui::script(b, props);
        const std::string label = std::string(c.layout ? c.layout : "-") + " " + (c.count ? c.count : "-");
        EXPECT_EQ(b.GetImageRect(GUI::LOOK_NORMAL), c.normal) << label;
        EXPECT_EQ(b.GetImageRect(GUI::LOOK_PUSHED), c.pushed) << label;
        EXPECT_EQ(b.GetImageRect(GUI::LOOK_HOVER), c.hover) << label;
        EXPECT_EQ(b.GetImageRect(GUI::LOOK_DISABLED), c.disabled) << label;
        EXPECT_EQ(b.GetImage(GUI::LOOK_HOVER) != nullptr, c.hover.w != 0) << label;
        // A script size of 0 takes the normal frame's.
        EXPECT_EQ(b.GetArea(), (aRect{5, 6, c.normal.w, c.normal.h})) << label;
        if (c.logged) {
            EXPECT_TRUE(log.contains(c.logged)) << label;
        }
    }
}

TEST_F(Buttons, SingleImagesOverrideTheStripAndRectanglesNeedTheirImage) {
    gui.addImage("strip", 64, 128, flat(64, 128, 0xFFFFFFFF));
    gui.addImage("single", 8, 6, flat(8, 6, 0xFFFFFFFF));
    GUI::ImageButton b("b");
    Gui::script(b, {{"Image", "strip"},
                    {"HoverImage", "single"},
                    {"PushedImage", "single"},
                    {"PushedRect", "1 2 3 4"},
                    {"DisabledRect", "1 1 1 1"}});
    EXPECT_EQ(b.GetImageRect(GUI::LOOK_NORMAL), (aRect{0, 0, 64, 32}));
    EXPECT_EQ(b.GetImageRect(GUI::LOOK_HOVER), (aRect{0, 0, 8, 6}));
    EXPECT_EQ(b.GetImageRect(GUI::LOOK_PUSHED), (aRect{1, 2, 3, 4}));
    EXPECT_EQ(b.GetImageRect(GUI::LOOK_DISABLED), (aRect{0, 96, 64, 32}));
    EXPECT_EQ(b.GetArea(), (aRect{0, 0, 1, 1})) << "the default size is not 0";
}

TEST_F(Buttons, CheckBoxTogglesOnClicksAndShowsItsMark) {
    LogCapture log;
    auto& box = gui.add(std::make_unique<GUI::Checkbox>("opt"));
    auto& mark = gui.add(std::make_unique<GUI::Widget>("opt_auto_check"), &box);
    Counter changed;
    box.SubscribeEvent("CheckChanged", &changed);
    box.Initialize();
    EXPECT_FALSE(mark.IsVisible(true));

    GUI::MouseEventArgs left = mouse(&box, GUI::MOUSE_LEFT), right = mouse(&box, GUI::MOUSE_RIGHT);
    box.OnClick(left);
    EXPECT_TRUE(box.IsChecked());
    EXPECT_TRUE(mark.IsVisible(true));
    box.OnClick(right);
    EXPECT_TRUE(box.IsChecked());
    // The press of a double click toggles once more after the click before it.
    box.OnDoubleClick(left);
    EXPECT_FALSE(box.IsChecked());
    EXPECT_EQ(changed.count, 2);
    box.SetChecked(false);
    EXPECT_EQ(changed.count, 2);
    mark.SetVisible(true);
    box.SetChecked(false);
    EXPECT_FALSE(mark.IsVisible(true)) << "the mark follows even an unchanged value";

    GUI::Checkbox lonely("lonely");
    lonely.Initialize();
    EXPECT_TRUE(log.contains("Checkbox::Initialize - Check widget for checkbox 'lonely' not found"));
    lonely.SetChecked(true);
    EXPECT_TRUE(lonely.IsChecked());
}

TEST_F(Buttons, CheckBoxDrawsItsBoxBesideTheCaptionWithoutMovingIt) {
    for (bool rightAlign : {true, false}) {
        auto& box = gui.add(std::make_unique<GUI::Checkbox>("box"));
        box.SetFont(&font);
        box.SetImage(GUI::LOOK_NORMAL, &redBox);
        Gui::script(box, {{"AreaRect", "10 20 100 20"},
                          {"RightAlign", rightAlign ? "1" : "0"},
                          {"TextHorzAlign", "left"}});
        box.SetText(L"a");
        Counter moved, sized;
        box.SubscribeEvent("Moved", &moved);
        box.SubscribeEvent("Sized", &sized);
        const RgbaImage frame = capture(130, 50, [&] { box.DrawSelf(); });
        // The red box is 16 x 16, 2 below the top; the glyph starts at the caption area's left.
        const i32 boxX = rightAlign ? 10 + 84 : 10;
        EXPECT_EQ(rgb(frame, boxX, 22), Red) << rightAlign;
        EXPECT_EQ(rgb(frame, boxX + 15, 37), Red) << rightAlign;
        EXPECT_EQ(rgb(frame, boxX, 21), 0u) << rightAlign;
        EXPECT_EQ(rgb(frame, boxX + 16, 22), 0u) << rightAlign;
        const i32 glyphX = (rightAlign ? 10 : 26) + 1;
        EXPECT_EQ(rgb(frame, glyphX, 20 + 2 + 2), 0xFFFFFFu) << rightAlign;
        EXPECT_EQ(rgb(frame, glyphX - 2, 24), rightAlign ? 0u : Red) << rightAlign;
        EXPECT_EQ(box.GetArea(), (aRect{10, 20, 100, 20}));
        EXPECT_EQ(moved.count + sized.count, 0);
        delete &box;
    }
}

TEST_F(Buttons, RadioButtonsUncheckTheirGroupAmongSiblings) {
    auto& a = gui.add(std::make_unique<GUI::RadioButton>("a"));
    auto& b = gui.add(std::make_unique<GUI::RadioButton>("b"));
    auto& free = gui.add(std::make_unique<GUI::RadioButton>("free"));
    auto& box = gui.add(std::make_unique<GUI::Checkbox>("box"));
    auto& other = gui.add(std::make_unique<GUI::Widget>("other"));
    auto& cousin = gui.add(std::make_unique<GUI::RadioButton>("cousin"), &other);
    for (GUI::Widget* w : {&a, &b, &cousin})
        Gui::script(*w, {{"GroupID", "3"}});
    Gui::script(box, {{"GroupID", "3"}}); // not a property of check boxes: logged and ignored
    Gui::script(free, {{"Checked", "1"}});
    box.SetChecked(true);
    cousin.SetChecked(true);
    Counter changed;
    a.SubscribeEvent("CheckChanged", &changed);

    GUI::MouseEventArgs left = mouse(&a, GUI::MOUSE_LEFT);
    a.OnClick(left);
    EXPECT_TRUE(a.IsChecked());
    b.OnClick(left);
    EXPECT_FALSE(a.IsChecked());
    EXPECT_TRUE(b.IsChecked());
    b.OnClick(left);
    b.OnDoubleClick(left);
    EXPECT_TRUE(b.IsChecked()) << "clicking a checked radio button keeps it checked";
    EXPECT_TRUE(free.IsChecked()) << "group 0 is no group";
    EXPECT_TRUE(box.IsChecked()) << "check boxes are not in groups";
    EXPECT_TRUE(cousin.IsChecked()) << "only siblings";
    EXPECT_EQ(changed.count, 0) << "radio buttons fire no CheckChanged";

    // "Checked" from a script applies the rule to the siblings already there.
    Gui::script(a, {{"GroupID", "3"}, {"Checked", "1"}});
    EXPECT_TRUE(a.IsChecked());
    EXPECT_FALSE(b.IsChecked());
}

TEST_F(Buttons, OptionButtonStepsThroughItsOptions) {
    auto& opt = gui.add(std::make_unique<GUI::OptionButton>("opt"));
    Counter changed, clicked;
    opt.SubscribeEvent("OptionChanged", &changed);
    opt.SubscribeEvent("Click", &clicked);
    GUI::MouseEventArgs left = mouse(&opt, GUI::MOUSE_LEFT);
    opt.OnClick(left);
    EXPECT_EQ(opt.GetSelectedIndex(), -1);
    EXPECT_EQ(changed.count, 0);
    EXPECT_EQ(clicked.count, 1);
    for (const wchar_t* o : {L"low", L"mid", L"high"})
        opt.AddOption(o);
    const i32 expected[] = {0, 1, 2, 0};
    for (i32 want : expected) {
        opt.OnClick(left);
        EXPECT_EQ(opt.GetSelectedIndex(), want);
    }
    EXPECT_EQ(changed.count, 4);
}

TEST_F(Buttons, OptionButtonDrawsCaptionLeftAndOptionRight) {
    auto& opt = gui.add(std::make_unique<GUI::OptionButton>("opt"));
    opt.SetFont(&font);
    Gui::script(opt, {{"AreaRect", "0 0 100 30"}, {"TextExtent", "5 0"}});
    opt.SetText(L"a");
    opt.AddOption(L"bc");
    GUI::MouseEventArgs left = mouse(&opt, GUI::MOUSE_LEFT);
    opt.OnClick(left);
    const RgbaImage frame = capture(110, 40, [&] { opt.DrawSelf(); });
    // Caption at 5, option ending 5 before the right edge, both centred: (30 - 16) / 2 = 7.
    EXPECT_EQ(litBounds(frame), (Bounds{6, 9, 93, 20}));
    EXPECT_EQ(rgb(frame, 6, 9), 0xFFFFFFu);
    EXPECT_EQ(rgb(frame, 76, 9), 0xFFFFFFu);
    EXPECT_EQ(rgb(frame, 20, 9), 0u);
}

} // namespace

namespace {

// A 9 x 9 picture: a one-pixel frame of `edge` around `inside`, cut into nine stretched slices.
std::unique_ptr<GUI::Style> frameStyle(Gui& gui, const std::string& name, u32 edge, u32 inside) {
    std::vector<u32> pixels(81, inside);
    for (u32 i = 0; i < 9; ++i)
        pixels[i] = pixels[72 + i] = pixels[i * 9] = pixels[i * 9 + 8] = edge;
    gui.addImage(name, 9, 9, pixels);
    auto style = std::make_unique<GUI::Style>();
    style->ClearChanged();
    for (const auto& [key, value] : std::vector<std::pair<std::string, std::string>>{
             {"Image", name}, {"AutoSlice", "all"}, {"FillType", "stretch"}, {"EdgeGlobal", "stretch"}})
        style->Set(key, value);
    style->MakeFromScript();
    return style;
}

TEST_F(Buttons, StyleButtonStatesMatchTheGoldenImage) {
    const std::unique_ptr<GUI::Style> styles[GUI::LOOK_COUNT] = {
        frameStyle(gui, "normal", 0xFFC0C0C0, 0xFF404040),
        frameStyle(gui, "disabled", 0xFF606060, 0xFF202020), frameStyle(gui, "hover", 0xFFFFFF00, 0xFF406040),
        frameStyle(gui, "pushed", 0xFFFF8000, 0xFF204060)};
    // Normal, hovered, hovered half-way with fading, pushed, disabled, and hovered without a hover style.
    std::vector<GUI::StyleButton*> buttons;
    for (i16 i = 0; i < 6; ++i) {
        auto& b = gui.add(std::make_unique<GUI::StyleButton>("button"));
        b.SetFont(&font);
        for (u32 look = 0; look < GUI::LOOK_COUNT; ++look)
            if (i != 5 || look != GUI::LOOK_HOVER)
                b.SetStyle(ButtonLook(look), styles[look].get());
        Gui::script(b, {{"AreaRect", std::to_string(4 + i * 64) + " 4 60 32"},
                        {"TextColor", "FFFFFFFF FFFFFF00 FFFF8000 FF808080"},
                        {"TextPushOffset", "2 2"}});
        b.SetText(L"ok");
        buttons.push_back(&b);
    }
    GUI::WidgetEventArgs enter;
    for (GUI::StyleButton* b : {buttons[1], buttons[2], buttons[5]}) {
        enter.widget = b;
        b->OnMouseEnter(enter);
    }
    buttons[2]->SetFadeInTime(1);
    for (GUI::StyleButton* b : buttons)
        b->Update(0.5f);
    GUI::MouseEventArgs down = mouse(buttons[3], GUI::MOUSE_LEFT);
    buttons[3]->OnMouseDown(down);
    buttons[4]->SetEnabled(false);
    const RgbaImage frame = capture(388, 40, [&] {
        for (GUI::StyleButton* b : buttons)
            b->DrawSelf();
    });
    EXPECT_TRUE(matchesGolden("style_button_states", frame));
}

} // namespace
