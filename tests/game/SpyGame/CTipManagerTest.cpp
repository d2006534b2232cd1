#include "game/SpyGame/CTipManager.h"
#include "InGameKit.h"
#include "game/Profile.h"
#include "tk2v/gui/Window.h"

namespace {

const char* const Tips = R"([General]
FadeTime = 0.5
CloseAnywhereTime = 3
[once]
TimesPerLevel = 1
LevelsCount = 2
[corner]
X = 100
Y = 200
[lower_right]
Quarter = 3
X = 700
Y = 600
)";

class TipsTest : public InGameTest {
public:
    TipsTest() {
        g_currentProfile = DEFAULT_PROFILE;
        writeWav("show_tip.wav");
        res->getSoundManager()->loadResource(dir.path(), "show_tip.wav 1.0", "");
        texts("tip.corner = \"Look here\"\ntip.lower_right = \"Down there\"\n");
        std::string styles;
        for (int i = 0; i < 4; ++i)
            styles += "style tip_style" + std::to_string(i) + "\n{\n}\n";
        // Tail offset 30, balloon top 20, at least 120 high; text margin 24; toggle gap 76.
        load(fonts() + styles +
             widget("window", "ToolTip", "0 0 1024 768", {"Visible 0"},
                    {widget("window", "balloon", "30 20 320 120", {},
                            {text("text", "20 24 280 40"), widget("widget", "close", "220 72 80 32"),
                             widget("widget", "dont_show", "20 76 190 24", {},
                                    {widget("widget", "dont_show_auto_check", "0 0 24 24")})})}));
    }
    ~TipsTest() override { g_currentProfile = DEFAULT_PROFILE; }

    void loadTips(CTipManager& manager, const std::string& ini = Tips) {
        dir.write("tips.ini", ini);
        manager.Load(dir.file("tips.ini"));
    }
    GUI::Widget* balloon() const { return find("balloon"); }
    const CTipManager::Tip& tip(const CTipManager& manager, const std::string& id) const {
        return *manager.FindTip(id);
    }
};

TEST_F(TipsTest, CountsPerLevelAndLevelsWithDisabledTipsSpendingTheirShowings) {
    CTipManager tips;
    loadTips(tips);
    tips.ResetCounters(true);
    struct Step {
        const char* what;
        std::function<void()> act;
        bool shows;
    };
    const Step steps[] = {
        {"first in level 1", [] {}, true},
        {"second in level 1", [] {}, false},
        {"level 2", [&] { tips.EndLevel(); }, true},
        {"level 3", [&] { tips.EndLevel(); }, false},
        {"level 4", [&] { tips.EndLevel(); }, false},
        {"counters of the level only", [&] { tips.ResetCounters(false); }, false},
        {"all counters", [&] { tips.ResetCounters(true); }, true},
        {"disabled spends the showing",
         [&] {
             tips.ResetCounters(false);
             tips.SetTipEnabled("once", false);
         },
         false},
        {"enabled again, nothing left", [&] { tips.SetTipEnabled("once", true); }, false},
        {"tips off spend it too",
         [&] {
             tips.ResetCounters(false);
             g_currentProfile.showTips = false;
         },
         false},
        {"tips on, nothing left", [&] { g_currentProfile.showTips = true; }, false},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        step.act();
        EXPECT_EQ(tips.ShowTip("once"), step.shows);
        EXPECT_EQ(tips.IsTipShown(), step.shows);
        EXPECT_EQ(find("ToolTip")->IsVisible(), step.shows);
        tips.HideTip();
    }
    EXPECT_FALSE(tips.ShowTip("nope"));
    tips.SetTipEnabled("nope", false);
    EXPECT_EQ(logged("CTipManager::FindTip - tip 'nope' not defined"), 2u) << logText();
}

TEST_F(TipsTest, PlacementByQuarterAroundThePoint) {
    CTipManager tips;
    loadTips(tips);
    tips.ResetCounters(true);
    // "Look here" is one line: 184 = toggle 24 + 2 x margin 24 + gap 76 + top 20 + text 16.
    struct Case {
        const char* id;
        i32 x, y;
        i32 quarter;
        aRect balloon;
    };
    const Case cases[] = {
        {"corner", -1, -1, 0, {70, 200, 320, 184}}, // the tip's own point, right of and below it
        {"corner", 511, 384, 0, {481, 384, 320, 184}},
        {"corner", 512, 100, 1, {222, 100, 320, 184}}, // left of the point
        {"corner", 100, 385, 2, {70, 201, 320, 184}},  // above it
        {"corner", -1, 385, 2, {70, 201, 320, 184}},   // decided on the point as passed
        {"lower_right", -1, -1, 3, {410, 416, 320, 184}},
        {"lower_right", 100, 100, 3, {-190, -84, 320, 184}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.id << " at " << c.x << ", " << c.y);
        ASSERT_TRUE(tips.ShowTip(c.id, c.x, c.y));
        EXPECT_EQ(balloon()->GetArea(), c.balloon);
        EXPECT_EQ(static_cast<GUI::Window*>(balloon())->GetNormalStyle(),
                  gui->GetStyle("tip_style" + std::to_string(c.quarter)));
        const i32 textY = c.quarter & 2 ? 24 : 44;
        EXPECT_EQ(find("text")->GetArea(), (aRect{20, i16(textY), 280, 16}));
        EXPECT_EQ(find("close")->GetArea().y, textY + 76 + 16);
        EXPECT_EQ(find("dont_show")->GetArea().y, textY + 76 + 16);
        EXPECT_FALSE(find("dont_show_auto_check")->IsVisible(true));
        EXPECT_EQ(balloon()->GetAlpha(true), 0.0f);
    }
    // A text of the caller's own, and "General" is a tip like the others.
    ASSERT_TRUE(tips.ShowTip("General", 0, 0, L"one\ntwo\nthree\nfour\nfive\nsix\nseven\neight"));
    EXPECT_EQ(find("text")->GetText(), L"one\ntwo\nthree\nfour\nfive\nsix\nseven\neight");
    EXPECT_EQ(balloon()->GetArea(), (aRect{-30, 0, 320, 296}));
}

TEST_F(TipsTest, FadesInAndClosesByTheButtonOrAnywhereLater) {
    CTipManager tips;
    loadTips(tips);
    tips.ResetCounters(true);
    tips.ShowTip("corner");
    tips.Update(0.1f);
    EXPECT_EQ(balloon()->GetAlpha(true), 0.0f);
    click(find("close"));
    EXPECT_NEAR(tips.GetTime(), -0.1f, 1e-6f) << "out from where the fade got to";
    tips.Update(0.0f);
    EXPECT_NEAR(balloon()->GetAlpha(true), 0.2f, 1e-6f);
    tips.Update(0.1f);
    EXPECT_FALSE(tips.IsTipShown());
    EXPECT_FALSE(find("ToolTip")->IsVisible());

    tips.ShowTip("corner");
    for (int i = 0; i < 4; ++i)
        tips.Update(0.5f);
    EXPECT_EQ(tips.GetTime(), 2.0f);
    click(balloon());
    click(find("ToolTip"));
    EXPECT_EQ(tips.GetTime(), 2.0f) << "too early to close anywhere";
    for (int i = 0; i < 5; ++i)
        tips.Update(0.5f);
    EXPECT_EQ(tips.GetTime(), 3.5f) << "stops at fade plus close-anywhere time";
    EXPECT_EQ(balloon()->GetAlpha(true), 1.0f);
    click(find("ToolTip"));
    EXPECT_EQ(tips.GetTime(), -0.5f);
}

TEST_F(TipsTest, TheToggleTurnsTipsOffOnlyOnceTheTipIsUp) {
    CTipManager tips;
    loadTips(tips);
    tips.ResetCounters(true);
    tips.ShowTip("corner");
    click(find("dont_show"));
    EXPECT_TRUE(g_currentProfile.showTips) << "at time 0";
    tips.Update(0.1f);
    click(find("dont_show"));
    EXPECT_FALSE(g_currentProfile.showTips);
    EXPECT_TRUE(find("dont_show_auto_check")->IsVisible(true));
    click(find("dont_show"));
    EXPECT_TRUE(g_currentProfile.showTips);
    EXPECT_FALSE(find("dont_show_auto_check")->IsVisible(true));
}

TEST_F(TipsTest, WithoutAFadeTimeAClosedTipGoesAtOnce) {
    CTipManager tips;
    loadTips(tips, "[corner]\nX = 100\n");
    EXPECT_EQ(tips.GetFadeTime(), 0.0f);
    tips.ResetCounters(true);
    ASSERT_TRUE(tips.ShowTip("corner"));
    tips.Update(0.1f);
    EXPECT_EQ(balloon()->GetAlpha(true), 1.0f);
    click(find("close"));
    EXPECT_FALSE(tips.IsTipShown());
    EXPECT_FALSE(find("ToolTip")->IsVisible());
    tips.Update(0.1f);
    EXPECT_FALSE(tips.IsTipShown());
}

TEST_F(TipsTest, WithoutTheTipWindowNothingShowsAndNothingIsSpent) {
    gui.reset();
    gui = std::make_unique<GUI::Server>(res->getImageManager(), res->getSoundManager());
    load(fonts() + window("Other", {}));
    CTipManager tips;
    loadTips(tips);
    tips.ResetCounters(true);
    EXPECT_FALSE(tips.ShowTip("once"));
    EXPECT_EQ(tip(tips, "once").timesLeft, 1u);
    tips.Update(1.0f);
    tips.EndLevel();
}

TEST_F(TipsTest, RecordHoldsEachTipsFlagAndCountersInIdOrder) {
    CTipManager tips;
    loadTips(tips);
    tips.ResetCounters(true);
    tips.ShowTip("once");
    tips.EndLevel();
    tips.SetTipEnabled("corner", false);
    const std::string all = le32(0xFFFFFFFF);
    // "General", "corner", "lower_right", "once".
    const std::string expected =
        le32(4) + '\1' + all + all + '\0' + all + all + '\1' + all + all + '\1' + le32(1) + le32(1);
    const std::string record = saveRecord(tips);
    EXPECT_EQ(record, expected);

    CTipManager loaded;
    loadTips(loaded);
    ASSERT_TRUE(loadRecord(loaded, record));
    EXPECT_EQ(saveRecord(loaded), record);
    EXPECT_FALSE(tip(loaded, "corner").enabled);

    // A shorter record renews only the first tips.
    ASSERT_TRUE(loadRecord(loaded, le32(1) + '\0' + le32(7) + le32(8)));
    EXPECT_EQ(tip(loaded, "General").timesLeft, 7u);
    EXPECT_EQ(tip(loaded, "General").levelsLeft, 8u);
    EXPECT_EQ(tip(loaded, "once").levelsLeft, 1u);
}

} // namespace
