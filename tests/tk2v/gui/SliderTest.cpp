#include "tk2v/gui/Slider.h"
#include "RecordedEvents.h"
#include "support/LogCapture.h"

#include <gtest/gtest.h>

#include <limits>

using namespace GUI;

namespace {

// A horizontal slider 200 wide whose thumb is 20 wide.
struct SliderRig {
    Slider slider{"Volume"};
    Widget thumb{"Volume_auto_thumb"};
    RecordedEvents events;

    SliderRig() {
        slider.SetArea(0, 0, 200, 20);
        thumb.SetArea(0, 0, 20, 20);
        slider.AddChild(&thumb);
        slider.Initialize();
        for (const char* name : {"ThumbTrackStarted", "ThumbTrackFinished", "PositionChanged"})
            events.listen(slider, name);
    }
};

MouseEventArgs Mouse(Widget* w, i32 button, i32 x, i32 dx) {
    MouseEventArgs e(w);
    e.button = button;
    e.x = x;
    e.dx = dx;
    return e;
}

} // namespace

TEST(Slider, SetValueMovesTheThumbAndAlwaysFires) {
    SliderRig rig;
    rig.slider.SetValue(0.5f);
    EXPECT_EQ(rig.thumb.GetArea().x, 90);
    EXPECT_EQ(rig.events.count("PositionChanged"), 1);

    rig.thumb.SetPosition(33, 0); // the same value again must not place the thumb anew
    rig.slider.SetValue(0.5f);
    EXPECT_EQ(rig.thumb.GetArea().x, 33);
    EXPECT_EQ(rig.events.count("PositionChanged"), 2);

    rig.slider.SetValue(2);
    EXPECT_EQ(rig.slider.GetValue(), 1.0f);
    EXPECT_EQ(rig.thumb.GetArea().x, 180);
    rig.slider.SetValue(-1);
    EXPECT_EQ(rig.slider.GetValue(), 0.0f);
    EXPECT_EQ(rig.thumb.GetArea().x, 0);
}

TEST(Slider, NonFiniteValuesCountAsZero) {
    for (f32 bad : {std::numeric_limits<f32>::quiet_NaN(), std::numeric_limits<f32>::infinity(),
                    -std::numeric_limits<f32>::infinity()}) {
        SliderRig rig;
        rig.slider.SetValue(0.75f);
        rig.slider.SetValue(bad);
        EXPECT_EQ(rig.slider.GetValue(), 0.0f) << bad;
        EXPECT_EQ(rig.thumb.GetArea().x, 0) << bad;
    }
}

TEST(Slider, DragMovesValueBetweenTrackStartedAndFinished) {
    SliderRig rig;
    MouseEventArgs press = Mouse(&rig.thumb, MOUSE_LEFT, 5, 0);
    rig.thumb.OnMouseDown(press);
    EXPECT_TRUE(rig.slider.IsDragging());

    MouseEventArgs move = Mouse(&rig.thumb, MOUSE_LEFT, 50, 45);
    rig.thumb.OnMouseMove(move);
    EXPECT_EQ(rig.thumb.GetArea().x, 45);
    EXPECT_FLOAT_EQ(rig.slider.GetValue(), 45.0f / 180.0f);

    MouseEventArgs far = Mouse(&rig.thumb, MOUSE_LEFT, 400, 400);
    rig.thumb.OnMouseMove(far);
    EXPECT_EQ(rig.slider.GetValue(), 1.0f);

    MouseEventArgs release = Mouse(&rig.thumb, MOUSE_LEFT, 0, 0);
    rig.thumb.OnMouseUp(release);
    EXPECT_FALSE(rig.slider.IsDragging());
    EXPECT_EQ(rig.events.names, (std::vector<std::string>{"ThumbTrackStarted", "PositionChanged",
                                                          "PositionChanged", "ThumbTrackFinished"}));

    // Not held any more: moves do nothing.
    MouseEventArgs after = Mouse(&rig.thumb, MOUSE_LEFT, -50, -60);
    rig.thumb.OnMouseMove(after);
    EXPECT_EQ(rig.slider.GetValue(), 1.0f);
}

TEST(Slider, RightButtonStartsNoDrag) {
    SliderRig rig;
    MouseEventArgs press = Mouse(&rig.thumb, MOUSE_RIGHT, 5, 0);
    rig.thumb.OnMouseDown(press);
    MouseEventArgs move = Mouse(&rig.thumb, MOUSE_RIGHT, 50, 45);
    rig.thumb.OnMouseMove(move);
    MouseEventArgs release = Mouse(&rig.thumb, MOUSE_RIGHT, 50, 0);
    rig.thumb.OnMouseUp(release);
    EXPECT_TRUE(rig.events.names.empty());
    EXPECT_EQ(rig.thumb.GetArea().x, 0);
}

TEST(Slider, VerticalFromScriptTracksHeight) {
    Slider slider("v");
    Widget thumb("V_AUTO_THUMB"); // names compare without regard to case
    slider.Set("Vertical", "1");
    slider.MakeFromScript();
    slider.SetArea(0, 0, 20, 100);
    thumb.SetArea(3, 0, 20, 10);
    slider.AddChild(&thumb);
    slider.Initialize();
    slider.SetValue(0.5f);
    EXPECT_EQ(thumb.GetArea().x, 3);
    EXPECT_EQ(thumb.GetArea().y, 45);
}

TEST(Slider, MissingThumbIsLoggedAndValueStillSets) {
    LogCapture log;
    Slider slider("Volume");
    slider.Initialize();
    EXPECT_TRUE(log.contains("Slider::Initialize - Thumb for slider 'Volume' not found"));
    slider.SetValue(0.25f);
    EXPECT_EQ(slider.GetValue(), 0.25f);
}

TEST(Slider, ThumbThatOutlivesTheSliderNoLongerCallsIt) {
    Widget thumb("s_auto_thumb");
    {
        Slider slider("s");
        slider.SetArea(0, 0, 100, 10);
        slider.AddChild(&thumb);
        slider.Initialize();
        slider.RemoveChild(&thumb);
    }
    MouseEventArgs press = Mouse(&thumb, MOUSE_LEFT, 0, 0);
    thumb.OnMouseDown(press); // would reach the gone slider if still subscribed
    EXPECT_EQ(thumb.GetEvent("MouseDown")->GetSubscriberCount(), 0u);
}
