#include "GuiDraw.h"
#include "support/TempDir.h"
#include "tk2v/file/aLocaleServer.h"
#include "tk2v/gui/Style.h"
#include "tk2v/gui/Window.h"

#include <gtest/gtest.h>

#include <memory>

using namespace guidraw;

namespace {

// A window filled with one flat colour.
struct FlatWindow {
    std::unique_ptr<GUI::Style> style = std::make_unique<GUI::Style>();
    GUI::Window window{"w"};

    FlatWindow(const std::string& image, aRect area) {
        style->ClearChanged();
        for (const auto& [key, value] : {std::pair{"Image", image.c_str()},
                                         {"AutoSlice", "all"},
                                         {"EdgeGlobal", "stretch"},
                                         {"FillType", "stretch"}})
            style->Set(key, value);
        style->MakeFromScript();
        window.SetNormalStyle(style.get());
        window.SetAreaRaw(area);
    }
};

} // namespace

TEST(WidgetRender, ChildrenAreClippedToTheirParentUnlessTheySayNot) {
    GuiImages gui;
    gui.add("blue", 6, 6, std::vector<u32>(36, 0xFF0000FF));
    GUI::Widget desk("desk");
    desk.SetAreaRaw({0, 0, 40, 20});
    GUI::Widget parent("parent");
    parent.SetAreaRaw({2, 2, 10, 10});
    desk.AddChild(&parent);
    FlatWindow outside("blue", {12, 0, 6, 6});   // wholly right of its parent
    FlatWindow straddling("blue", {7, 7, 6, 6}); // half in, half out
    FlatWindow free("blue", {24, 0, 6, 6});
    free.window.SetClipByParent(false);
    for (FlatWindow* w : {&outside, &straddling, &free})
        parent.AddChild(&w->window);

    const RgbaImage frame = capture(40, 20, [&] { desk.Render(); });
    EXPECT_EQ(countLit(frame), 3 * 3 + 36)
        << "only the parent's part of the straddling child, and the free one";
    EXPECT_EQ(rgb(frame, 11, 11), 0x0000FFu);
    EXPECT_EQ(rgb(frame, 12, 12), 0u);
    EXPECT_EQ(rgb(frame, 15, 3), 0u);
    EXPECT_EQ(rgb(frame, 27, 4), 0x0000FFu);
    EXPECT_EQ(testGraphServer().getViewport(), (aRect{0, 0, 1024, 768})) << "the clip is put back";
}

TEST(WidgetRender, TextPropertiesAreLanguageKeys) {
    TempDir dir;
    dir.write("texts.txt", "Greeting = \"Hello\"\n");
    aLocaleServer locale;
    locale.loadFile(dir.file("texts.txt"), "");
    GUI::Widget w("w");
    w.Set("Text", "Greeting");
    w.MakeFromScript();
    EXPECT_EQ(w.GetText(), L"Hello");
    w.Set("Text", "No such key \xC0");
    w.MakeFromScript();
    EXPECT_EQ(w.GetText(), L"No such key \x0410") << "the key itself, widened from the 8-bit code page";
}
