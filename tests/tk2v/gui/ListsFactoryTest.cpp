#include "support/LogCapture.h"
#include "tk2v/gui/Widget.h"
#include "tk2v/gui/WidgetFactory.h"

#include <gtest/gtest.h>

using namespace GUI;

TEST(ListsFactory, ScriptClassesMakeSlidersScrollbarsAndListboxes) {
    const struct {
        const char* className;
        const char* typeName;
    } cases[] = {{"slider", "Slider"}, {"SCROLLBAR", "Scrollbar"}, {"ListBox", "Listbox"}};
    for (const auto& c : cases) {
        LogCapture log;
        std::unique_ptr<Widget> widget = WidgetFactory::Instance().NewWidget(c.className, "w");
        ASSERT_TRUE(widget) << c.className;
        EXPECT_STREQ(widget->GetTypeName(), c.typeName);
        EXPECT_TRUE(widget->IsA(c.typeName));
        EXPECT_TRUE(log.contains(std::string("Created new ") + c.typeName + " 'w'"));
    }
    // The container is abstract and has no script class.
    EXPECT_FALSE(WidgetFactory::Instance().NewWidget("scrollcontainer", "w"));
}
