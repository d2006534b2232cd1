#include "GuiServerFixture.h"
#include "WidgetKit.h"
#include "tk2v/gui/Checkbox.h"
#include "tk2v/gui/RadioButton.h"
#include "tk2v/gui/Scrollbar.h"
#include "tk2v/gui/StaticText.h"

namespace {

// Labels and buttons made by a script, clicked through the server's input dispatch.
struct ScriptedWidgets : GuiServerTest {
    ScriptedWidgets() {
        widgetkit::writeFont(dir, "plain.fnt", false);
        load("fontlist\n{\n  plain @/plain.fnt\n}\n"
             "widget panel\n{\n  AreaRect 0 0 400 300\n"
             "  radiobutton low\n  {\n    AreaRect 10 10 50 20\n    GroupID 1\n    Checked 1\n  }\n"
             "  radiobutton high\n  {\n    AreaRect 10 40 50 20\n    GroupID 1\n  }\n"
             "  checkbox tips\n  {\n    AreaRect 10 70 100 20\n"
             "    widget tips_auto_check\n    {\n      AreaRect 0 0 10 10\n      Static 1\n    }\n  }\n"
             "  statictext notes\n  {\n    AreaRect 100 100 100 32\n    Font plain\n    Text one two three\n "
             " }\n"
             "}\n"
             "widget elsewhere\n{\n  scrollbar notes_auto_vscroll\n  {\n    AreaRect 0 0 10 32\n  }\n}\n");
        server->InitializeWidgets();
    }
    template <class W> W& get(const std::string& name) { return *static_cast<W*>(find(name)); }
};

TEST_F(ScriptedWidgets, ClicksCheckBoxesAndRadioButtons) {
    auto& low = get<GUI::RadioButton>("low");
    auto& high = get<GUI::RadioButton>("high");
    auto& tips = get<GUI::Checkbox>("tips");
    ASSERT_TRUE(low.IsA("RadioButton") && high.IsA("RadioButton") && tips.IsA("Checkbox"));
    EXPECT_TRUE(low.IsChecked());
    EXPECT_FALSE(find("tips_auto_check")->IsVisible(true));

    clickAt(30, 50);
    EXPECT_TRUE(high.IsChecked());
    EXPECT_FALSE(low.IsChecked());
    clickAt(30, 80);
    EXPECT_TRUE(tips.IsChecked());
    EXPECT_TRUE(find("tips_auto_check")->IsVisible(true));
    EXPECT_FALSE(tips.IsPushed());
    clickAt(30, 80);
    EXPECT_FALSE(tips.IsChecked());
}

TEST_F(ScriptedWidgets, ALabelTakesItsScrollbarFromAnywhereInTheTree) {
    auto& notes = get<GUI::StaticText>("notes");
    ASSERT_TRUE(notes.IsA("StaticText"));
    GUI::Scrollbar* bar = notes.GetVertScrollbar();
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->GetParent(), &notes);
    EXPECT_EQ(find("elsewhere")->GetChildren().size(), 0u);
    EXPECT_EQ(notes.GetText(), L"one two three");
    EXPECT_EQ(notes.GetTextHeight(), 32);
    EXPECT_EQ(bar->GetDocumentSize(), 32);
    EXPECT_EQ(bar->GetPageSize(), 32);
}

} // namespace
