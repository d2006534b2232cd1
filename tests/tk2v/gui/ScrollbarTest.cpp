#include "tk2v/gui/Scrollbar.h"
#include "RecordedEvents.h"
#include "support/LogCapture.h"

#include <gtest/gtest.h>

#include <limits>

using namespace GUI;

namespace {

// A vertical scrollbar 100 high with a thumb and both step buttons.
struct ScrollbarRig {
    Scrollbar bar{"Bar"};
    Widget thumb{"Bar_auto_thumb"};
    Widget increment{"Bar_auto_incbtn"}, decrement{"Bar_auto_decbtn"};
    RecordedEvents events;

    explicit ScrollbarRig(bool vertical = true) {
        bar.SetVertical(vertical);
        bar.SetArea(0, 0, vertical ? 16 : 100, vertical ? 100 : 16);
        thumb.SetArea(0, 0, 16, 16);
        for (Widget* part : {&thumb, &increment, &decrement})
            bar.AddChild(part);
        bar.Initialize();
        for (const char* name : {"ThumbTrackStarted", "ThumbTrackFinished", "PositionChanged"})
            events.listen(bar, name);
    }
    void pages(f32 page, f32 document) {
        bar.SetPageSize(page);
        bar.SetDocumentSize(document);
    }
};

MouseEventArgs Mouse(Widget* w, i32 button, i32 y, i32 dy) {
    MouseEventArgs e(w);
    e.button = button;
    e.y = y;
    e.dy = dy;
    return e;
}

} // namespace

TEST(Scrollbar, PositionClampsToRangeAndFiresOnlyOnChange) {
    ScrollbarRig rig;
    rig.pages(100, 400);
    EXPECT_EQ(rig.thumb.GetArea().h, 25);
    rig.bar.SetPosition(500);
    EXPECT_EQ(rig.bar.GetPosition(), 300.0f);
    EXPECT_EQ(rig.thumb.GetArea().y, 75);
    rig.bar.SetPosition(300);
    rig.bar.SetPosition(150);
    EXPECT_EQ(rig.thumb.GetArea().y, 37);
    rig.bar.SetPosition(-5);
    EXPECT_EQ(rig.bar.GetPosition(), 0.0f);
    EXPECT_EQ(rig.events.count("PositionChanged"), 3);
}

TEST(Scrollbar, DraggingTheThumbScrollsByTheTrack) {
    ScrollbarRig rig;
    rig.pages(100, 400);
    MouseEventArgs press = Mouse(&rig.thumb, MOUSE_LEFT, 10, 0);
    rig.thumb.OnMouseDown(press);
    MouseEventArgs move = Mouse(&rig.thumb, MOUSE_LEFT, 40, 30);
    rig.thumb.OnMouseMove(move);
    EXPECT_EQ(rig.thumb.GetArea().y, 30);
    EXPECT_EQ(rig.bar.GetPosition(), 120.0f);
    MouseEventArgs release = Mouse(&rig.thumb, MOUSE_LEFT, 0, 0);
    rig.thumb.OnMouseUp(release);
    EXPECT_EQ(rig.events.names,
              (std::vector<std::string>{"ThumbTrackStarted", "PositionChanged", "ThumbTrackFinished"}));
}

TEST(Scrollbar, RightButtonOnTheThumbStartsNoDrag) {
    ScrollbarRig rig;
    rig.pages(100, 400);
    MouseEventArgs press = Mouse(&rig.thumb, MOUSE_RIGHT, 10, 0);
    rig.thumb.OnMouseDown(press);
    MouseEventArgs move = Mouse(&rig.thumb, MOUSE_RIGHT, 40, 30);
    rig.thumb.OnMouseMove(move);
    EXPECT_FALSE(rig.bar.IsDragging());
    EXPECT_TRUE(rig.events.names.empty());
}

TEST(Scrollbar, DocumentThatFitsHidesOrFillsByTheFlags) {
    struct Case {
        bool autoHide, stretch;
        bool barVisible, thumbVisible, buttonsEnabled;
        u16 thumbLength;
    } cases[] = {
        {true, true, false, true, true, 25},  // the whole bar hides
        {false, true, true, true, true, 100}, // the thumb fills the track
        {false, false, true, false, false, 25},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "autoHide " << c.autoHide << " stretch " << c.stretch);
        ScrollbarRig rig;
        rig.pages(100, 400);
        rig.bar.SetPosition(200);
        rig.bar.SetAutoHide(c.autoHide);
        rig.bar.SetStretch(c.stretch);
        rig.bar.SetDocumentSize(100);
        EXPECT_EQ(rig.bar.IsVisible(true), c.barVisible);
        EXPECT_EQ(rig.thumb.IsVisible(true), c.thumbVisible);
        EXPECT_EQ(rig.increment.IsEnabled(true), c.buttonsEnabled);
        EXPECT_EQ(rig.decrement.IsEnabled(true), c.buttonsEnabled);
        EXPECT_EQ(rig.thumb.GetArea().h, c.thumbLength);

        // A document larger than the page again brings everything back.
        rig.bar.SetDocumentSize(200);
        EXPECT_TRUE(rig.bar.IsVisible(true));
        EXPECT_TRUE(rig.thumb.IsVisible(true));
        EXPECT_TRUE(rig.increment.IsEnabled(true));
        EXPECT_EQ(rig.thumb.GetArea().h, c.stretch ? 50 : 25);
    }
}

TEST(Scrollbar, EmptyRangesAndPagesKeepTheThumbAtTheTrackStart) {
    struct Case {
        f32 page, document, request;
        f32 position;
    } cases[] = {
        {100, 100, 50, 0},  // nothing to scroll
        {100, 40, 50, -60}, // a document smaller than the page: every position is the negative range
        {0, 0, 50, 0},      {0, 300, 50, 50}, {-20, 300, 500, 320},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "page " << c.page << " document " << c.document);
        ScrollbarRig rig;
        rig.pages(c.page, c.document);
        rig.bar.SetPosition(c.request);
        EXPECT_EQ(rig.bar.GetPosition(), c.position);
        const i32 track = 100 - rig.thumb.GetArea().h;
        EXPECT_GE(rig.thumb.GetArea().y, 0);
        EXPECT_LE(rig.thumb.GetArea().y, track);
        if (c.document <= c.page) {
            EXPECT_EQ(rig.thumb.GetArea().y, 0);
        }
    }
}

TEST(Scrollbar, NonFinitePositionsCountAsZero) {
    for (f32 bad : {std::numeric_limits<f32>::quiet_NaN(), std::numeric_limits<f32>::infinity()}) {
        ScrollbarRig rig;
        rig.pages(100, 400);
        rig.bar.SetPosition(200);
        rig.bar.SetPosition(bad);
        EXPECT_EQ(rig.bar.GetPosition(), 0.0f) << bad;
        EXPECT_EQ(rig.thumb.GetArea().y, 0) << bad;
    }
}

TEST(Scrollbar, InitializeUnclipsItsPartsAndStepButtonsOnlyAnswer) {
    ScrollbarRig rig;
    rig.pages(100, 400);
    for (Widget* part : {&rig.thumb, &rig.increment, &rig.decrement})
        EXPECT_FALSE(part->GetClipByParent()) << part->GetName();
    MouseEventArgs click(&rig.increment);
    rig.increment.OnClick(click);
    EXPECT_TRUE(click.handled);
    EXPECT_EQ(rig.bar.GetPosition(), 0.0f);
}

TEST(Scrollbar, ScriptSetsFlagsWithoutResizingTheThumb) {
    ScrollbarRig rig(false);
    rig.bar.ClearChanged();
    rig.bar.Set("Vertical", "1");
    rig.bar.Set("StepValue", "2.5");
    rig.bar.Set("Stretch", "0");
    rig.bar.Set("AutoHide", "1");
    rig.bar.MakeFromScript();
    EXPECT_TRUE(rig.bar.IsVertical());
    EXPECT_EQ(rig.bar.GetStepValue(), 2.5f);
    EXPECT_FALSE(rig.bar.GetStretch());
    EXPECT_TRUE(rig.bar.GetAutoHide());
    EXPECT_EQ(rig.thumb.GetArea(), (aRect{0, 0, 16, 16}));
}

TEST(Scrollbar, MissingThumbIsLogged) {
    LogCapture log;
    Scrollbar bar("Lonely");
    bar.Initialize();
    EXPECT_TRUE(log.contains("Scrollbar::Initialize - Thumb for scrollbar 'Lonely' not found"));
    bar.SetPageSize(10);
    bar.SetDocumentSize(50);
    bar.SetPosition(20);
    EXPECT_EQ(bar.GetPosition(), 20.0f);
}

// A view that answers a scroll by moving the scrollbar again, as a memo keeping its caret in view does.
TEST(Scrollbar, HandlerMayMoveTheFiringScrollbarAgain) {
    struct Snapper {
        Scrollbar* bar;
        std::vector<f32> seen;
        bool OnScroll(const EventArgs&) {
            seen.push_back(bar->GetPosition());
            if (bar->GetPosition() > 100)
                bar->SetPosition(100);
            return true;
        }
    };
    ScrollbarRig rig;
    rig.pages(100, 400);
    Snapper snapper{&rig.bar, {}};
    _memberBinder<Snapper, bool, const EventArgs&> binder(&snapper, &Snapper::OnScroll);
    rig.bar.SubscribeEvent("PositionChanged", &binder);
    rig.bar.SetPosition(250);
    EXPECT_EQ(snapper.seen, (std::vector<f32>{250, 100}));
    EXPECT_EQ(rig.bar.GetPosition(), 100.0f);
    EXPECT_EQ(rig.thumb.GetArea().y, 25);
}
