#include "GuiServerFixture.h"
#include "support/BmpWriter.h"
#include "tk2v/gui/MouseCursor.h"

using namespace GUI;

TEST_F(GuiServerTest, RootCoversTheScreen) {
    EXPECT_EQ(root()->GetName(), "__root__");
    EXPECT_EQ(root()->GetArea(), (aRect{0, 0, 1024, 768}));
    EXPECT_EQ(Server::getSingleton(), server.get());
}

TEST_F(GuiServerTest, HeadersNameWidgetsOrGenerateNames) {
    load("widget\n{\n}\n"
         "widget a\n{\n}\n"
         "Widget <T>\n{\n}\n"
         "WIDGET named\n{\n  widget\n  {\n  }\n}\n");
    const std::vector<Widget*>& top = root()->GetChildren();
    ASSERT_EQ(top.size(), 4u);
    EXPECT_EQ(top[0]->GetName(), "auto0000");
    EXPECT_EQ(top[1]->GetName(), "auto0001") << "a one-character name is no name";
    EXPECT_EQ(top[2]->GetName(), "auto0002");
    EXPECT_EQ(top[3]->GetName(), "named");
    ASSERT_EQ(top[3]->GetChildren().size(), 1u);
    EXPECT_EQ(top[3]->GetChildren()[0]->GetName(), "auto0003");
    EXPECT_TRUE(log.contains("Server::ApplyTemplate - template 'T' not found"));
    EXPECT_TRUE(log.contains("Created new Widget 'named'"));
    EXPECT_TRUE(log.contains("GUI script '" + dir.file("test.agui") + "' parsing started"));
    EXPECT_TRUE(log.contains("GUI script '" + dir.file("test.agui") + "' parsing finished"));

    Server other(&images, &sounds);
    other.load(dir.writeLinked("other.agui", "widget\n{\n}\n"));
    EXPECT_EQ(other.GetRoot()->GetChildren()[0]->GetName(), "auto0000") << "each server counts its own";
}

TEST_F(GuiServerTest, TemplatesApplyBeforeTheWidgetsOwnEntries) {
    load("template Small\n{\n  AreaRect 1 2 3 4\n  Tag 5\n}\n"
         "template Tagged\n{\n  Tag 7\n  Text two words\n}\n"
         "template Small\n{\n  Tag 9\n}\n"
         "template\n{\n}\n"
         "widget win <Small> <Tagged> bad <x\n{\n  Tag 8\n}\n"
         "widget <Small> <>\n{\n}\n");
    Widget* w = find("win");
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->GetArea(), (aRect{1, 2, 3, 4}));
    EXPECT_EQ(w->GetTag(), 8);
    EXPECT_EQ(w->GetText(), L"two words");
    EXPECT_TRUE(log.contains("Server - template 'Small' already exists"));
    EXPECT_TRUE(log.contains("Server. Template name not specified section header"));
    EXPECT_TRUE(log.contains("Server - invalid template parameter 3"));
    EXPECT_TRUE(log.contains("Server - invalid template parameter 4"));
    EXPECT_TRUE(log.contains("Server - invalid template parameter 2")) << "numbered from the first parameter";
    EXPECT_EQ(root()->GetChildren()[1]->GetTag(), 5);
}

TEST_F(GuiServerTest, RejectedSectionsAreSkippedWithTheirContents) {
    load("gadget gad\n{\n  Tag 1\n  widget inside\n  {\n  }\n}\n"
         "fontlist\n{\n  widget nested\n  {\n  }\n  lonely\n}\n"
         "widget after\n{\n  NoSuchProperty 1\n}\n");
    EXPECT_TRUE(
        log.contains("WidgetFactory::NewWidget - cannot create widget 'gad' of unregistered class 'gadget'"));
    EXPECT_TRUE(log.contains("PropertySet::Set - property 'NoSuchProperty' not found"));
    EXPECT_EQ(find("inside"), nullptr);
    EXPECT_EQ(find("nested"), nullptr);
    ASSERT_EQ(root()->GetChildren().size(), 1u);
    EXPECT_EQ(root()->GetChildren()[0]->GetName(), "after");
}

TEST_F(GuiServerTest, AnUnclosedScriptLeavesNothingOpenForTheNext) {
    load("widget open\n{\n  widget inner\n  {\n", "bad.agui");
    load("widget next\n{\n}\n");
    Widget* next = find("next");
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(next->GetParent(), root());
}

TEST_F(GuiServerTest, SectionEndAppliesTheProperties) {
    load("widget win\n{\n  Visible 0\n  Text t\n  Enabled 0\n}\n");
    Widget* w = find("win");
    ASSERT_NE(w, nullptr);
    EXPECT_FALSE(w->IsVisible(true));
    EXPECT_FALSE(w->IsEnabled(true));
    EXPECT_TRUE(w->IsOwnedByParent());
}

TEST_F(GuiServerTest, ResourcesAreLookedUpByNameAndDuplicatesRefused) {
    std::vector<bool> bits(4, true);
    dir.write("mask.bmp", bmpfiles::oneBit(2, 2, bits));
    load("regionlist\n{\n  Mask @/mask.bmp\n  mask @/other.bmp\n  short\n}\n"
         "widget win\n{\n  Region MASK\n  Font none\n  SoundClick none\n}\n");
    EXPECT_TRUE(log.contains("Server - region with name 'mask' already exists"));
    Widget* w = find("win");
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->GetRegion(), server->GetRegion("mask"));
    EXPECT_NE(w->GetRegion(), nullptr);
    EXPECT_TRUE(log.contains("Server::GetFont - font 'none' not found!"));
    EXPECT_TRUE(log.contains("Server::NewSound - sound 'none' not found!"));
    EXPECT_EQ(server->GetImage("none"), nullptr);
    EXPECT_TRUE(log.contains("GUI::Server::GetImage - image \"none\" not found!"));
    EXPECT_EQ(server->GetStyle("none"), nullptr);
    EXPECT_TRUE(log.contains("Server::GetStyle - style 'none' not found!"));
    EXPECT_EQ(server->GetMouseCursor("none"), nullptr);
    EXPECT_TRUE(log.contains("Server::GetMouseCursor - mouse cursor 'none' not found!"));
}

TEST(WidgetFactory, CreatesByClassNameInAnyCase) {
    LogCapture log;
    WidgetFactory& factory = WidgetFactory::Instance();
    for (const char* name : {"Widget", "WIDGET", "widget"}) {
        std::unique_ptr<Widget> w = factory.NewWidget(name, "x");
        ASSERT_NE(w, nullptr);
        EXPECT_STREQ(w->GetTypeName(), "Widget");
        EXPECT_EQ(w->GetParent(), nullptr);
    }
    EXPECT_TRUE(log.contains("Created new Widget 'x'"));
    EXPECT_FALSE(factory.RegisterClass("Spinner", &WidgetFactory::Create<Widget>));
    EXPECT_STREQ(factory.NewWidget("spinner", "s")->GetTypeName(), "Spinner");
    EXPECT_EQ(factory.NewWidget("nothing", "n"), nullptr);
}

TEST_F(GuiServerTest, StylesAndCursorsComeFromTheirSections) {
    load("style Frame\n{\n  AutoSlice all\n  widget nested\n  {\n  }\n}\n"
         "style\n{\n}\n"
         "style FRAME\n{\n}\n"
         "cursor\n{\n}\n"
         "cursor Arrow\n{\n  HotSpot 3 4\n}\n"
         "cursor arrow\n{\n  HotSpot 9 9\n}\n"
         "cursor hand\n{\n}\n"
         "widget win\n{\n  Cursor hand\n}\n");
    EXPECT_TRUE(log.contains("Server - style name not specified in section header"));
    EXPECT_TRUE(log.contains("Server - style 'FRAME' already exists"));
    EXPECT_TRUE(log.contains("Server - mouse cursor name not specified in section header"));
    EXPECT_TRUE(log.contains("Server - mouse cursor 'arrow' already exists"));
    EXPECT_NE(server->GetStyle("frame"), nullptr);
    EXPECT_EQ(find("nested"), nullptr) << "no widgets inside a style";
    MouseCursor* arrow = server->GetMouseCursor("ARROW");
    MouseCursor* hand = server->GetMouseCursor("hand");
    ASSERT_NE(arrow, nullptr);
    EXPECT_EQ(arrow->GetHotSpotX(), 3);
    EXPECT_EQ(arrow->GetHotSpotY(), 4);

    server->SetMouseCursor("arrow");
    EXPECT_EQ(server->GetCurrentCursor(), arrow);
    EXPECT_FALSE(arrow->IsShown()) << "nothing is shown before the widgets are initialised";
    server->InitializeWidgets();
    server->SetMouseCursor("arrow");
    EXPECT_TRUE(arrow->IsShown());
    MouseEventArgs move(find("win"));
    move.dx = 1;
    find("win")->OnMouseMove(move);
    EXPECT_EQ(server->GetCurrentCursor(), hand);
    EXPECT_FALSE(arrow->IsShown());
    EXPECT_TRUE(hand->IsShown());
    server->SetMouseCursor("");
    server->SetMouseCursor("missing");
    EXPECT_EQ(server->GetCurrentCursor(), hand);
}

TEST_F(GuiServerTest, WidgetSoundsAreInstancesGivenBackWithTheWidget) {
    struct Sounding : Widget {
        using Widget::Widget;
        aSound* click() const { return m_clickSound; }
        aSound* move() const { return m_moveSound; }
    };
    sounds.loadResource(dir.path(), "click.wav 1", "");
    auto w = std::make_unique<Sounding>("sounding");
    w->Set("SoundClick", "click");
    w->Set("SoundMove", "CLICK");
    w->MakeFromScript();
    aSound* click = w->click();
    ASSERT_NE(click, nullptr);
    EXPECT_NE(click, w->move()) << "an instance of its own for each";
    EXPECT_NE(click, sounds.getSound("click"));
    aSound* move = w->move();
    w->Set("SoundClick", "click"); // a new instance in place of the first
    w->MakeFromScript();
    aSound* second = w->click();
    ASSERT_NE(second, nullptr);
    w.reset();
    EXPECT_FALSE(sounds.deleteClone(second)) << "the instances went back with the widget";
    EXPECT_FALSE(sounds.deleteClone(move));
}
