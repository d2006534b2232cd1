#include "tk2v/gui/StaticImage.h"
#include "WidgetKit.h"
#include "support/LogCapture.h"
#include "tk2v/gui/Shape.h"
#include "tk2v/gui/StaticAnim.h"
#include "tk2v/gui/WidgetFactory.h"

#include <gtest/gtest.h>

#include <set>

using namespace guidraw;
using namespace widgetkit;

namespace {

using Props = std::vector<std::pair<std::string, std::string>>;

class StaticImages : public ::testing::Test {
protected:
    Gui gui;
    StaticImages() {
        gui.addImage("white", 8, 6, flat(8, 6, 0xFFFFFFFF));
        gui.addImage("blue", 8, 6, flat(8, 6, 0xFF0000FF));
        // Eight 4 x 4 frames side by side, frame i of grey level 0x20 x (i + 1).
        std::vector<u32> strip(32 * 4);
        for (u32 i = 0; i < strip.size(); ++i)
            strip[i] = 0xFF000000 | 0x010101 * (0x20 * (i % 32 / 4 + 1));
        gui.addImage("strip", 32, 4, strip);
    }
};

TEST_F(StaticImages, ImageSizeFillsOnlyASizeOfZero) {
    struct Case {
        Props props;
        aRect area, rect;
    };
    const Case cases[] = {
        {{{"AreaRect", "10 20"}, {"NormalImage", "white"}}, {10, 20, 8, 6}, {0, 0, 8, 6}},
        {{{"NormalImage", "white"}}, {0, 0, 1, 1}, {0, 0, 8, 6}},
        {{{"AreaRect", "1 2 0 9"}, {"NormalImage", "white"}, {"NormalRect", "1 1 4 3"}},
         {1, 2, 4, 9},
         {1, 1, 4, 3}},
        // A rectangle counts only beside its image.
        {{{"AreaRect", "0 0 0 0"}, {"NormalRect", "1 1 4 3"}}, {0, 0, 0, 0}, {}},
    };
    for (const Case& c : cases) {
        GUI::StaticImage image("image");
        Gui::script(image, c.props);
        EXPECT_EQ(image.GetArea(), c.area) << c.props.size();
        EXPECT_EQ(image.GetImageRect(), c.rect) << c.props.size();
    }
}

TEST_F(StaticImages, TintsWithTheColourButTakesAlphaFromTheWidget) {
    struct Case {
        Props props;
        bool disabled;
        f32 alpha;
        u32 centre;
    };
    const Case cases[] = {
        {{{"Color", "00FF8000"}}, false, 1, 0xFF8000},
        {{{"Color", "FFFF8000"}}, false, 0.5f, 0x804000},
        {{{"Color", "FFFF8000"}}, true, 1, 0xFF8000},
        {{{"Color", "FFFF8000"}, {"DisabledImage", "blue"}}, true, 1, 0x0000FF},
        {{{"Color", "FFFF8000"}, {"DisabledImage", "blue"}}, false, 0, 0},
    };
    for (const Case& c : cases) {
        auto& image = gui.add(std::make_unique<GUI::StaticImage>("image"));
        Props props = c.props;
        props.push_back({"AreaRect", "0 0 16 12"});
        props.push_back({"NormalImage", "white"});
        Gui::script(image, props);
        image.SetEnabled(!c.disabled);
        image.SetAlpha(c.alpha);
        const u32 centre = rgb(capture(20, 20, [&] { image.DrawSelf(); }), 8, 6);
        for (int shift = 0; shift < 24; shift += 8)
            EXPECT_NEAR(i32(centre >> shift & 0xFF), i32(c.centre >> shift & 0xFF), 2) << std::hex << centre;
        delete &image;
    }
}

TEST_F(StaticImages, SetImageTakesARectangleOrTheWholeImage) {
    aImage* white = gui.server.GetImage("white");
    GUI::StaticImage image("image");
    const aRect part{2, 1, 3, 3};
    image.SetImage(white, &part);
    EXPECT_EQ(image.GetImageRect(), part);
    image.SetImage(white, nullptr);
    EXPECT_EQ(image.GetImageRect(), (aRect{0, 0, 8, 6}));
    image.SetImage(nullptr, nullptr);
    EXPECT_EQ(image.GetImage(), nullptr);
}

TEST_F(StaticImages, AnimationScriptsSetModeFramesAndStart) {
    struct Case {
        Props props;
        u32 mode;
        u16 frames, start, width;
        const char* logged;
    };
    const Case cases[] = {
        {{{"AnimType", "noloop back"}, {"StartFrame", "3"}}, aAnim::MODE_BACKWARD, 8, 3, 4, nullptr},
        {{{"AnimType", "pingpong"}, {"StartFrame", "0"}},
         aAnim::MODE_LOOP | aAnim::MODE_PINGPONG,
         8,
         0,
         4,
         nullptr},
        {{{"AnimType", "x y z noloop"}, {"StartFrame", "1"}}, aAnim::MODE_LOOP, 8, 1, 4, nullptr},
        {{{"NumFrames", "0"}},
         aAnim::MODE_LOOP,
         1,
         0,
         4,
         "StaticAnim::MakeFromScript - invalid NumFrames '0'"},
        {{{"NumFrames", "-4"}},
         aAnim::MODE_LOOP,
         1,
         0,
         4,
         "StaticAnim::MakeFromScript - invalid NumFrames '-4'"},
    };
    for (const Case& c : cases) {
        LogCapture log;
        GUI::StaticAnim anim("anim");
        Props props = {
            {"AreaRect", "0 0 0 10"}, {"NormalImage", "strip"}, {"FrameSize", "4 4"}, {"NumFrames", "8"}};
        props.insert(props.end(), c.props.begin(), c.props.end());
        Gui::script(anim, props);
        const aAnim& a = anim.GetNormalAnim();
        const std::string label = c.props.front().second;
        EXPECT_EQ(a.playMode, c.mode) << label;
        EXPECT_EQ(a.getFrameCount(), c.frames) << label;
        EXPECT_EQ(a.getFrameIndex(), c.start) << label;
        EXPECT_FALSE(a.stopped) << label;
        EXPECT_EQ(anim.GetArea(), (aRect{0, 0, c.width, 10})) << label;
        EXPECT_EQ(anim.GetDisabledAnim().getFrameCount(), 0) << label;
        if (c.logged) {
            EXPECT_TRUE(log.contains(c.logged)) << label;
        }
    }
}

TEST_F(StaticImages, AnimationsStartOnRandomFramesAndPlayUnlessStopped) {
    std::set<u16> starts;
    for (int i = 0; i < 16; ++i) {
        GUI::StaticAnim anim("anim");
        Gui::script(anim, {{"NormalImage", "strip"}, {"FrameSize", "4 4"}, {"NumFrames", "8"}});
        starts.insert(anim.GetNormalAnim().getFrameIndex());
    }
    EXPECT_GT(starts.size(), 1u);

    auto& anim = gui.add(std::make_unique<GUI::StaticAnim>("anim"));
    Gui::script(anim, {{"AreaRect", "0 0 8 8"},
                       {"NormalImage", "strip"},
                       {"DisabledImage", "blue"},
                       {"FrameSize", "4 4"},
                       {"NumFrames", "8"},
                       {"FPS", "10"},
                       {"StartFrame", "2"}});
    EXPECT_EQ(rgb(capture(10, 10, [&] { anim.DrawSelf(); }), 4, 4), 0x606060u);
    anim.Update(0.1f);
    EXPECT_EQ(anim.GetNormalAnim().getFrameIndex(), 3);
    EXPECT_EQ(rgb(capture(10, 10, [&] { anim.DrawSelf(); }), 4, 4), 0x808080u);
    anim.SetStopped(true);
    anim.Update(0.1f);
    EXPECT_EQ(anim.GetNormalAnim().getFrameIndex(), 3);
    anim.SetEnabled(false);
    EXPECT_EQ(rgb(capture(10, 10, [&] { anim.DrawSelf(); }), 4, 4), 0x0000FFu);
}

TEST_F(StaticImages, ShapesMatchTheGoldenImage) {
    const Props shapes[] = {
        {{"AreaRect", "4 4 40 30"}, {"PenWidth", "3"}, {"PenColor", "FFFF0000"}, {"FillColor", "FF0000FF"}},
        {{"AreaRect", "50 4 40 30"}, {"PenWidth", "2"}, {"PenColor", "FF00FF00"}, {"FillColor", "00FFFFFF"}},
        {{"AreaRect", "96 4 40 30"}, {"PenWidth", "0"}, {"PenColor", "FFFFFFFF"}, {"FillColor", "FF808080"}},
        {{"AreaRect", "4 40 40 30"},
         {"ShapeStyle", "ellipse"},
         {"PenWidth", "4"},
         {"PenColor", "FFFFFF00"},
         {"FillColor", "FF00FFFF"}},
        {{"AreaRect", "50 40 40 30"},
         {"ShapeStyle", "Ellipse"},
         {"PenWidth", "2"},
         {"PenColor", "FFFF00FF"},
         {"FillColor", "00000000"}},
        {{"AreaRect", "96 40 40 30"},
         {"ShapeStyle", "star"},
         {"PenColor", "FFFFFFFF"},
         {"FillColor", "FF404040"}},
    };
    std::vector<std::unique_ptr<GUI::Shape>> widgets;
    for (const Props& props : shapes) {
        widgets.push_back(std::make_unique<GUI::Shape>("shape"));
        Gui::script(*widgets.back(), props);
        // Neither alpha nor the enabled state matters.
        widgets.back()->SetAlpha(0.25f);
        widgets.back()->SetEnabled(false);
    }
    const RgbaImage frame = capture(140, 74, [&] {
        for (auto& shape : widgets)
            shape->DrawSelf();
    });
    EXPECT_TRUE(matchesGolden("shapes", frame));
}

TEST_F(StaticImages, FactoryMakesEveryClassUnderItsScriptName) {
    struct Case {
        const char* className;
        const char* typeName;
        std::vector<const char*> isA, isNot;
    };
    const Case cases[] = {
        {"statictext", "StaticText", {"StaticText"}, {"statictext", "Widget"}},
        {"StaticImage", "StaticImage", {"StaticImage"}, {"Widget"}},
        {"staticanim", "StaticAnim", {"StaticAnim"}, {}},
        {"SHAPE", "Shape", {"Shape"}, {}},
        {"tooltip", "Tooltip", {"Tooltip"}, {"Widget"}},
        {"stylebutton", "StyleButton", {"StyleButton", "ButtonBase"}, {"ImageButton"}},
        {"imagebutton", "ImageButton", {"ImageButton", "ButtonBase"}, {"StyleButton"}},
        {"checkbox", "Checkbox", {"Checkbox", "ImageButton", "ButtonBase"}, {"RadioButton"}},
        {"radiobutton", "RadioButton", {"RadioButton", "Checkbox", "ImageButton", "ButtonBase"}, {}},
        {"optionbutton", "OptionButton", {"OptionButton", "ButtonBase"}, {"ImageButton"}},
        {"mainmenu", "MainMenu", {"MainMenu", "MenuBase"}, {"Widget", "PopupMenu"}},
        {"popupmenu", "PopupMenu", {"PopupMenu", "MenuBase"}, {"MainMenu"}},
        {"menuitem", "MenuItem", {"MenuItem"}, {"MenuBase", "MainMenu", "Widget"}},
    };
    for (const Case& c : cases) {
        std::unique_ptr<GUI::Widget> w = GUI::WidgetFactory::Instance().NewWidget(c.className, "w");
        ASSERT_TRUE(w) << c.className;
        EXPECT_STREQ(w->GetTypeName(), c.typeName);
        for (const char* name : c.isA)
            EXPECT_TRUE(w->IsA(name)) << c.className << " " << name;
        for (const char* name : c.isNot)
            EXPECT_FALSE(w->IsA(name)) << c.className << " " << name;
    }
    LogCapture log;
    EXPECT_FALSE(GUI::WidgetFactory::Instance().NewWidget("menubase", "m"));
    EXPECT_FALSE(GUI::WidgetFactory::Instance().NewWidget("buttonbase", "b"));
}

} // namespace
