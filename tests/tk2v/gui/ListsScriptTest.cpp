#include "RecordedEvents.h"
#include "support/FakeClock.h"
#include "support/ScriptedInput.h"
#include "support/TempDir.h"
#include "support/engine/TestApplication.h"
#include "support/engine/TestEngine.h"
#include "tk2v/gui/Listbox.h"
#include "tk2v/gui/ListboxItem.h"
#include "tk2v/gui/Scrollbar.h"
#include "tk2v/gui/Server.h"
#include "tk2v/gui/Slider.h"
#include "tk2v/input/aInputServer.h"
#include "tk2v/platform/Clock.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace GUI;

namespace {

const char* const kScript = R"(widget Options
{
  AreaRect 100 100 400 300
  slider Volume
  {
    AreaRect 20 20 200 20
    widget Volume_auto_thumb
    {
      AreaRect 0 0 20 20
    }
  }
  listbox Names
  {
    AreaRect 20 60 100 80
    Multiselect 1
    Bounds 0 0 0 0
    scrollbar Names_auto_vscroll
    {
      AreaRect 100 0 10 80
      Vertical 1
      widget Names_auto_vscroll_auto_thumb
      {
        AreaRect 0 0 10 10
      }
    }
  }
}
)";

struct Name : ListboxItem {
    void GetSize(f32& w, f32& h) const override {
        w = 80;
        h = 10;
    }
    void Draw(const aRect&) override {}
    void Update(f32) override {}
    bool IsGreater(const ListboxItem&) const override { return false; }
    bool IsLess(const ListboxItem&) const override { return false; }
};

// The script loaded into a GUI server fed by scripted mouse input, one frame at a time.
struct ScriptRig {
    const u64 realNow = platform::counter();
    FakeClock clock;
    ScriptedInput input;
    TempDir dir;
    std::unique_ptr<aInputServer> inputServer;
    std::unique_ptr<Server> gui;
    std::vector<Name> names = std::vector<Name>(20);

    ScriptRig() {
        clock.advanceNs(realNow);
        testGraphServer();
        testApp().clearHooks();
        inputServer = std::make_unique<aInputServer>();
        gui = std::make_unique<Server>(nullptr, nullptr);
        dir.write("lists.agui", kScript);
        gui->load(dir.path() + "/lists.agui");
        gui->InitializeWidgets();
        if (list())
            for (Name& name : names)
                list()->AddItem(&name);
    }
    ~ScriptRig() { gui.reset(); }

    Slider* slider() const { return dynamic_cast<Slider*>(gui->GetRoot()->FindChild("Volume", true)); }
    Listbox* list() const { return dynamic_cast<Listbox*>(gui->GetRoot()->FindChild("Names", true)); }
    void frame() {
        clock.advanceMs(16);
        inputServer->update();
        gui->Update(0.016f);
    }
    void moveTo(i32 x, i32 y) {
        input.move(x - input.cursor().x, y - input.cursor().y);
        frame();
    }
    void click(u32 key = 0) {
        if (key)
            input.keyDown(u8(key));
        input.buttonDown(0);
        frame();
        input.buttonUp(0);
        frame();
        if (key)
            input.keyUp(u8(key));
        frame();
    }
};

} // namespace

TEST(ListsScript, DraggingTheSliderThumbChangesTheValue) {
    ScriptRig rig;
    ASSERT_TRUE(rig.slider());
    Slider& slider = *rig.slider();
    ASSERT_NE(slider.GetThumb(), nullptr);
    RecordedEvents events;
    for (const char* name : {"ThumbTrackStarted", "PositionChanged", "ThumbTrackFinished"})
        events.listen(slider, name);

    rig.moveTo(125, 130); // over the thumb, 5 pixels into it
    rig.input.buttonDown(0);
    rig.frame();
    for (int step = 0; step < 3; ++step)
        rig.moveTo(140 + 15 * step, 131);
    rig.input.buttonUp(0);
    rig.frame();

    // Grabbed 5 pixels in, the thumb follows the pointer: 15, 30, 45.
    EXPECT_EQ(slider.GetThumb()->GetArea().x, 45);
    EXPECT_FLOAT_EQ(slider.GetValue(), 45.0f / 180.0f);
    EXPECT_FALSE(slider.IsDragging());
    EXPECT_EQ(events.names,
              (std::vector<std::string>{"ThumbTrackStarted", "PositionChanged", "PositionChanged",
                                        "PositionChanged", "ThumbTrackFinished"}));
}

TEST(ListsScript, ClickingRowsSelectsThemAndTakesTheFocus) {
    ScriptRig rig;
    ASSERT_TRUE(rig.list());
    Listbox& list = *rig.list();
    ASSERT_NE(list.GetVerticalScrollbar(), nullptr);
    EXPECT_EQ(list.GetVerticalScrollbar()->GetThumb()->GetArea().h, 32);
    RecordedEvents events;
    events.listen(list, "SelectionChanged");

    constexpr u32 kLeftShift = 0x2A;
    rig.moveTo(130, 165); // row 0 starts at y 160
    rig.click();
    rig.moveTo(130, 195); // row 3
    rig.click(kLeftShift);
    EXPECT_TRUE(list.IsItemSelected(0));
    EXPECT_TRUE(list.IsItemSelected(3));
    EXPECT_EQ(list.GetSelectedCount(), 4u);
    EXPECT_EQ(events.count("SelectionChanged"), 2);
    EXPECT_EQ(rig.gui->GetFocus(), &list);
}
