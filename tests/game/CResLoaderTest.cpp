#include "game/CResLoader.h"
#include "game/CResManager.h"
#include "support/FakeClock.h"
#include "support/ImageFiles.h"
#include "support/LogCapture.h"
#include "support/TempDir.h"
#include "support/engine/TestEngine.h"
#include "tk2v/gfx/aApplication.h"
#include "tk2v/gfx/aImageManager.h"
#include "tk2v/gui/Server.h"
#include "tk2v/gui/StaticText.h"
#include "tk2v/gui/Widget.h"
#include "tk2v/platform/Clock.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

// The loading screen's widgets; the bar is 401 wide at x 300.
const char* const LoadingScript = "window LoadingScreen\n{\n  AreaRect 0 0 1024 768\n"
                                  "  widget LoadMenuBlood\n  {\n  }\n"
                                  "  widget LoadMenu\n  {\n  }\n"
                                  "  widget LoadInvText\n  {\n    Visible 0\n  }\n"
                                  "  widget InvNumberFrame\n  {\n    Visible 0\n"
                                  "    widget InvNumber\n    {\n    }\n  }\n"
                                  "  widget ColoredInlay\n  {\n    AreaRect 300 600 401 16\n  }\n"
                                  "  widget ProgressBar\n  {\n    AreaRect 300 600 401 16\n  }\n}\n";

// The log's stamps run on the manual clock, also while the fixture's members are made: it starts at
// the real time, so they stay positive.
struct ManualClock : FakeClock {
    explicit ManualClock(u64 realNow) { advanceNs(realNow); }
};

class ResLoaderTest : public testing::Test {
protected:
    void SetUp() override {
        testGraphServer();
        aFileServer& files = testApplication().getFileServer();
        files.setAssign("images", dir.path());
        files.setAssign("language", dir.path());
        files.setAssign("gui", dir.path());
        dir.write("LoadingScreen.agui", LoadingScript);
        // Missing pictures cost their minimum size and still count as loaded: two equal costs.
        dir.write("two.list", "a.png 8888 8888\nb.png 8888 8888\n");
    }

    GUI::Widget* widget(const std::string& name) const { return gui.GetRoot()->FindChild(name, true); }
    const aRect& bar() const { return widget("ProgressBar")->GetArea(); }

    // Init, show for the menu, queue the two pictures and start the pass.
    void start() {
        loader.Init();
        loader.Show(CResLoader::NO_INVESTIGATION);
        res.getImageManager()->AddListToTask(dir.file("two.list"), "");
        loader.StartLoading();
    }

    ManualClock clock{platform::counter()};
    TempDir dir;
    LogCapture capture;
    CResManager res{false};
    GUI::Server gui{res.getImageManager(), res.getSoundManager()};
    CResLoader loader;
};

TEST_F(ResLoaderTest, BarWidthRoundsHalvesUpAndGrowsFromTheMiddle) {
    struct Case {
        u16 full;
        f32 progress;
        u16 width;
        i16 x;
    };
    const Case cases[] = {{401, 0.5f, 201, 100}, {7, 0.5f, 4, 1}, {400, 0.0f, 0, 200}, {400, 1.0f, 400, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.full);
        const u16 width = CResLoader::BarWidth(c.full, c.progress);
        EXPECT_EQ(width, c.width);
        EXPECT_EQ(CResLoader::BarX(0, c.full, width), c.x);
    }
}

TEST_F(ResLoaderTest, InitHidesTheScreenAndShowPicksThePairForMenuOrInvestigation) {
    loader.Init();
    EXPECT_EQ(loader.GetState(), CResLoader::HIDDEN);
    ASSERT_EQ(loader.GetWindow(), widget("LoadingScreen"));
    EXPECT_FALSE(loader.GetWindow()->IsVisible(true));

    loader.Show(3);
    EXPECT_EQ(loader.GetState(), CResLoader::SHOWN);
    EXPECT_TRUE(loader.GetWindow()->IsVisible(true));
    EXPECT_TRUE(widget("LoadInvText")->IsVisible(true));
    EXPECT_TRUE(widget("InvNumberFrame")->IsVisible(true));
    EXPECT_FALSE(widget("LoadMenu")->IsVisible(true));
    EXPECT_FALSE(widget("LoadMenuBlood")->IsVisible(true));
    EXPECT_EQ(widget("InvNumber")->GetText(), L"3");
    EXPECT_EQ(bar().w, 0);
    EXPECT_EQ(widget("ColoredInlay")->GetAlpha(true), 0.0f);

    // Shown: a second Show is refused, also with another number.
    loader.Show(CResLoader::NO_INVESTIGATION);
    EXPECT_TRUE(widget("LoadInvText")->IsVisible(true));
    loader.StartLoading();
    loader.Show(CResLoader::NO_INVESTIGATION);
    EXPECT_EQ(loader.GetState(), CResLoader::LOADING);
    EXPECT_TRUE(widget("LoadInvText")->IsVisible(true));
}

TEST_F(ResLoaderTest, ShowForTheMenuHidesTheInvestigationPair) {
    loader.Init();
    loader.Show(CResLoader::NO_INVESTIGATION);
    EXPECT_TRUE(widget("LoadMenu")->IsVisible(true));
    EXPECT_TRUE(widget("LoadMenuBlood")->IsVisible(true));
    EXPECT_FALSE(widget("LoadInvText")->IsVisible(true));
    EXPECT_FALSE(widget("InvNumberFrame")->IsVisible(true));
}

TEST_F(ResLoaderTest, EachUpdateLoadsOneResourceAndTheBarFollowsTheProgress) {
    start();
    struct Step {
        u64 ms;
        u32 state;
        u16 width;
        i16 x;
    };
    // Half the cost is loaded in the first step at 0.2 s: half the bar. The second picture fills
    // it; a third step finds nothing left, loads the rest and reports done; then hidden.
    const Step steps[] = {
        {200, CResLoader::LOADING, 201, 400},
        {200, CResLoader::LOADING, 401, 300},
        {10, CResLoader::DONE, 401, 300},
        {10, CResLoader::HIDDEN, 401, 300},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.state);
        clock.advanceMs(s.ms);
        EXPECT_EQ(loader.Update(0.01f), s.state);
        EXPECT_EQ(bar().w, s.width);
        EXPECT_EQ(bar().x, s.x);
        EXPECT_EQ(bar().y, 600);
        EXPECT_EQ(bar().h, 16);
    }
    EXPECT_FLOAT_EQ(widget("ColoredInlay")->GetAlpha(true), 1.0f);

    // Done and hidden: the screen may be shown again.
    loader.Show(CResLoader::NO_INVESTIGATION);
    EXPECT_EQ(loader.GetState(), CResLoader::SHOWN);
    EXPECT_EQ(bar().w, 0);
}

TEST_F(ResLoaderTest, TheBarStaysEmptyForTheFirstTenthOfASecond) {
    start();
    clock.advanceMs(100);
    loader.Update(0.1f);
    EXPECT_EQ(bar().w, 0);
    EXPECT_EQ(bar().x, 500);
    clock.advanceMs(10);
    loader.Update(0.01f);
    // 0.11 s at the speed of the first picture (loaded in 0.1 s), capped at both pictures.
    EXPECT_EQ(bar().w, 401);
}

// Nothing updates the GUI while a pass loads, so the texts on the screen are laid out when it is
// shown: for the menu and for an investigation, after the screen was shown and hidden once.
TEST_F(ResLoaderTest, ShowLaysOutTheTextsItShows) {
    dir.write("glyph.png", imagefiles::text(imagefiles::png(8, 16, std::vector<u32>(8 * 16, 0xFFFFFFFF))));
    dir.write("text.fnt",
              "[General]\nTexture = glyph.png\nFormat16 = 4444\nFormat32 = 8888\nCharSpacing = 0\n"
              "[Charlist]\n37 = 0 0 8 16 0 0\n41 = 0 0 8 16 0 0\n");
    auto text = [](const char* name, const char* extra) {
        return std::string("  statictext ") + name + "\n  {\n    AreaRect 0 0 200 40\n    Font blair\n" +
               "    Text A\n" + extra + "  }\n";
    };
    dir.write("LoadingScreen.agui",
              "fontlist\n{\n  blair gui:text.fnt\n}\nwindow LoadingScreen\n{\n  AreaRect 0 0 1024 768\n" +
                  text("LoadMenu", "") + text("LoadInvText", "    Visible 0\n") +
                  "  widget InvNumberFrame\n  {\n    Visible 0\n" + text("InvNumber", "") + "  }\n}\n");
    auto width = [this](const char* name) {
        return static_cast<GUI::StaticText*>(widget(name))->GetTextWidth();
    };

    start();
    EXPECT_GT(width("LoadMenu"), 0.0f);
    while (loader.Update(0.01f) != CResLoader::HIDDEN)
        clock.advanceMs(10);
    loader.Show(7);
    EXPECT_GT(width("LoadInvText"), 0.0f);
    EXPECT_GT(width("InvNumber"), 0.0f);
}

TEST_F(ResLoaderTest, AScriptWithoutTheWindowLeavesTheScreenInertButItsStatesRun) {
    dir.write("LoadingScreen.agui", "widget Other\n{\n}\n");
    start();
    EXPECT_TRUE(capture.contains("CResLoader::Init(). Cannot find window: LoadingScreen"));
    EXPECT_EQ(loader.GetWindow(), nullptr);
    u32 state = CResLoader::LOADING;
    for (int i = 0; i < 3; ++i)
        state = loader.Update(0.01f);
    EXPECT_EQ(state, CResLoader::DONE);
    loader.Render();
}

} // namespace
