#include "tk2v/gui/MouseCursor.h"
#include "GuiDraw.h"
#include "support/LogCapture.h"
#include "support/engine/TestApplication.h"
#include "tk2v/input/aInputServer.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

using namespace guidraw;
using GUI::MouseCursor;

namespace {

using Props = std::vector<std::pair<std::string, std::string>>;

class MouseCursorTest : public ::testing::Test {
protected:
    MouseCursorTest() { gui.add("strip", 8, 4, gridPixels(8, 4)); }
    ~MouseCursorTest() override { testApp().setSystemCursor(SYSTEM_ARROW); }

    static std::unique_ptr<MouseCursor> make(const Props& props) {
        auto cursor = std::make_unique<MouseCursor>();
        cursor->ClearChanged();
        for (const auto& [name, value] : props)
            cursor->Set(name, value);
        cursor->MakeFromScript();
        return cursor;
    }

    static std::vector<aRect> frames(const MouseCursor& cursor) {
        aAnim anim(cursor.GetAnim());
        std::vector<aRect> out;
        for (u16 i = 0; i < anim.getFrameCount(); ++i) {
            anim.setFrame(i);
            out.push_back(anim.getFrame()->rect);
        }
        return out;
    }

    static constexpr u32 SYSTEM_ARROW = MouseCursor::SYSTEM_ARROW;
    GuiImages gui;
    LogCapture logs;
};

TEST_F(MouseCursorTest, FramesAreCutFromTheImageWithDefaultsForWhatIsNotSet) {
    const struct {
        Props props;
        std::vector<aRect> frames;
        f32 frameTime;
    } cases[] = {
        {{{"Image", "strip"}}, {{0, 0, 1, 1}}, 1.0f / 40},
        {{{"Image", "strip"}, {"NumFrames", "3"}, {"FrameSize", "2 2"}, {"FPS", "10"}},
         {{0, 0, 2, 2}, {2, 0, 2, 2}, {4, 0, 2, 2}},
         0.1f},
        {{{"Image", "strip"}, {"ImageRect", "2 2 4 2"}, {"NumFrames", "2"}, {"FrameSize", "2.9 2"}},
         {{2, 2, 2, 2}, {4, 2, 2, 2}},
         1.0f / 40},
        // Counts, sizes and rates that make no frames or no time fall back.
        {{{"Image", "strip"}, {"NumFrames", "0"}}, {}, 1.0f / 40},
        {{{"Image", "strip"}, {"NumFrames", "-3"}}, {}, 1.0f / 40},
        {{{"Image", "strip"}, {"FrameSize", "0 4"}}, {}, 1.0f / 40},
        {{{"Image", "strip"}, {"FrameSize", "-2 4"}}, {}, 1.0f / 40},
        {{{"Image", "strip"}, {"FPS", "0"}}, {{0, 0, 1, 1}}, 1.0f / 40},
        {{{"Image", "strip"}, {"FPS", "-5"}}, {{0, 0, 1, 1}}, 1.0f / 40},
        {{{"Image", "strip"}, {"FPS", "fast"}}, {{0, 0, 1, 1}}, 1.0f / 40},
        {{{"Image", "nothing"}}, {}, 1.0f / 40},
        {{{"NumFrames", "2"}}, {}, 0.025f},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        const auto cursor = make(cases[i].props);
        EXPECT_EQ(frames(*cursor), cases[i].frames) << "case " << i;
        EXPECT_FLOAT_EQ(cursor->GetAnim().frameTime, cases[i].frameTime) << "case " << i;
    }
    EXPECT_TRUE(logs.contains("GUI::Server::GetImage - image \"nothing\" not found!"));
}

TEST_F(MouseCursorTest, TheHotSpotIsTruncatedAndOnlyTakenWhenSet) {
    const auto cursor = make({{"HotSpot", "3.7 -2.5"}});
    EXPECT_EQ(cursor->GetHotSpotX(), 3);
    EXPECT_EQ(cursor->GetHotSpotY(), -2);
    cursor->ClearChanged();
    cursor->MakeFromScript();
    EXPECT_EQ(cursor->GetHotSpotX(), 3);
}

TEST_F(MouseCursorTest, ShownTheFramesOrTheArrowBecomeTheCursorAndHiddenNone) {
    TestApplication& app = testApp();
    auto input = std::make_unique<aInputServer>();
    const auto animated =
        make({{"Image", "strip"}, {"NumFrames", "2"}, {"FrameSize", "2 2"}, {"HotSpot", "1 1"}});
    const auto frameless = make({});

    animated->Show(true);
    ASSERT_NE(app.getCursorAnim(), nullptr);
    EXPECT_EQ(app.getCursorAnim()->getFrameCount(), 2);
    EXPECT_EQ(input->hotX, 1);
    animated->SetHotSpot(2, 3);
    EXPECT_EQ(input->hotX, 2);
    EXPECT_EQ(input->hotY, 3);

    animated->Show(false);
    EXPECT_EQ(app.getCursorAnim(), nullptr);
    EXPECT_EQ(app.getSystemCursor(), 0u);
    animated->SetHotSpot(4, 4); // hidden: stored only
    EXPECT_EQ(input->hotX, 2);

    frameless->Show(true);
    EXPECT_EQ(app.getCursorAnim(), nullptr);
    EXPECT_EQ(app.getSystemCursor(), SYSTEM_ARROW);

    // Deleted while shown, a sprite cursor gives way to the arrow.
    auto passing = make({{"Image", "strip"}});
    passing->Show(true);
    ASSERT_NE(app.getCursorAnim(), nullptr);
    app.setSystemCursor(0);
    passing.reset();
    EXPECT_EQ(app.getCursorAnim(), nullptr);
    EXPECT_EQ(app.getSystemCursor(), SYSTEM_ARROW);
}

} // namespace
