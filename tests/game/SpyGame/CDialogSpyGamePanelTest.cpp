#include "PanelKit.h"
#include "game/Profile.h"
#include "game/SpyGame/CFindItemsGroup.h"
#include "support/PulledAudioOutput.h"
#include "tk2v/platform/AudioSystem.h"

namespace {

using namespace std::string_literals;

// Pixels as the read-back gives them, 0xRRGGBBAA.
constexpr u32 WHITE = 0xFFFFFFFF, BLACK = 0x000000FF, BLUE = 0x0000FFFF;

TEST_F(PanelTest, EachButtonWritesItsCommandAndDrawingThePanelWritesTwo) {
    loadPanel();
    panel.Show();
    const std::pair<const char*, i32> cases[] = {{"Back", 3},      {"Map", 4},        {"Menu", 5},
                                                 {"ArrowLeft", 6}, {"ArrowRight", 7}, {"Clues", 8},
                                                 {"Evidences", 9}, {"Solve", 12}};
    for (const auto& [name, command] : cases) {
        SCOPED_TRACE(name);
        click(find(name));
        EXPECT_EQ(panel.GetState(), command);
        render();
        EXPECT_EQ(panel.GetState(), CDialogSpyGamePanel::CMD_DRAWN);
    }
}

TEST_F(PanelTest, TheLastHintDisablesTheButtonAndAPressOnItThenAsksForMore) {
    loadPanel();
    panel.Show();
    panel.SetHintCount(1);
    EXPECT_EQ(find("HintsCount")->GetText(), L"1");
    click(find("Hints"));
    EXPECT_EQ(panel.GetState(), CDialogSpyGamePanel::CMD_HINT_USED);
    EXPECT_EQ(panel.GetHintCount(), 0u);
    EXPECT_EQ(find("HintsCount")->GetText(), L"0");
    EXPECT_FALSE(find("Hints")->IsEnabled());
    render();

    // Only the frame on which the button goes down over the disabled button counts.
    input.setCursor(740, 630);
    input.buttonDown(0);
    clock.advanceMs(20);
    inputServer->update();
    panel.Update(0.02f);
    EXPECT_EQ(panel.GetState(), CDialogSpyGamePanel::CMD_HINTS_REFUSED);
    render();
    clock.advanceMs(20);
    inputServer->update();
    panel.Update(0.02f);
    EXPECT_EQ(panel.GetState(), CDialogSpyGamePanel::CMD_DRAWN);

    panel.SetHintCount(5);
    EXPECT_TRUE(find("Hints")->IsEnabled());
    panel.SetHintsAllowed(false);
    EXPECT_FALSE(find("Hints")->IsEnabled());
    EXPECT_EQ(panel.GetHintCount(), 5u);
    panel.SetHintsAllowed(true);
    EXPECT_TRUE(find("Hints")->IsEnabled());
}

TEST_F(PanelTest, ThePulseWrapsOnTheFrameItReachesTwo) {
    loadPanel();
    for (auto [dt, phase] : {std::pair{2.0f, 1.4f}, {0.8f, 1.96f}, {0.1f, 0.0f}, {1.0f, 0.7f}}) {
        panel.Update(dt);
        EXPECT_NEAR(panel.GetPulsePhase(), phase, 1e-5f);
    }
}

TEST_F(PanelTest, PersonagesWithoutPhotoTitleOrNotepadAreLoggedAndOnlyANotepadIsKept) {
    loadPanel();
    LogCapture capture;
    panel.SetPersonage("Ann");
    EXPECT_EQ(panel.GetPersonageName(), "Ann");
    panel.SetPersonage("Bob");
    EXPECT_EQ(panel.GetPersonageName(), "Ann");
    EXPECT_EQ(capture.messages(),
              (std::vector<std::string>{
                  "CDialogSpyGamePanel::SetPersonage(). Title for personage 'Bob' not exist",
                  "CDialogSpyGamePanel::SetPersonage(). Notepad for personage 'Bob' not exist"}));
    EXPECT_TRUE(find("PersonagesFotos")->FindChild("Bob")->IsVisible(true));
    EXPECT_FALSE(find("PersonagesFotos")->FindChild("Ann")->IsVisible(true));
    EXPECT_FALSE(find("PersonagesTitles")->FindChild("Ann")->IsVisible(true));
    EXPECT_FALSE(find("PersonagesNotepads")->FindChild("Ann")->IsVisible(true));
}

TEST_F(PanelTest, LabelsPointsOverThePanelAndARefusedTip) {
    texts("investigation = \"Investigation\"\n");
    loadPanel();
    panel.Show();
    panel.SetLevelNumber(1);
    EXPECT_EQ(find("LevelNumber")->GetText(), L"Investigation 1");
    struct Case {
        i32 x, y;
        bool backShown, over;
    } cases[] = {{0, 600, false, true},  {1023, 767, false, true}, {0, 599, false, false},
                 {950, 30, true, true},  {950, 30, false, false},  {1023, 59, true, true},
                 {1023, 60, true, false}};
    for (const Case& c : cases) {
        find("BackBtnPanel")->SetVisible(c.backShown);
        EXPECT_EQ(panel.IsPointOverPanel(c.x, c.y), c.over) << c.x << ", " << c.y;
    }
    // No tips were loaded: nothing shows and the backdrop stays down.
    EXPECT_FALSE(panel.ShowTip("General"));
    EXPECT_FALSE(find("BlockWidget")->IsVisible(true));
}

// Ann's notepad text starts at (15, 150): her tasks are a group of coins and a lone item.
class PanelTasksTest : public PanelTest {
public:
    PanelTasksTest() {
        texts("coins_3 = \"Three coins\"\ncoins_1 = \"One\"\nHEAD = \"Find\"\n", "Tasks");
        groups.resize(3);
        groups[0].SetGroupName("coins");
        for (int i = 0; i < 3; ++i)
            groups[0].AddItem("coin", 0);
        groups[0].SetRemaining(3);
        groups[1] = groups[0];
        groups[1].SetRemaining(0);
        groups[2].AddItem("vase", 0);
        groups[2].SetRemaining(1);
    }
    std::vector<CFindItemsGroup> groups;
};

TEST_F(PanelTasksTest, GroupKeysCarryTheCountAndAClosedGroupIsStruckThrough) {
    loadPanel();
    panel.Show();
    panel.SetPersonage("Ann");
    panel.ShowInvestigationTasks("", &groups, "Tasks");
    EXPECT_EQ(find("text")->GetText(), L"");
    const RgbaImage image = capture(0, 0, 300, 300);
    // Lines of 16 pixels, the text of each glyph from its third row: "- Three coins", "- One" struck
    // through 8 + 3 pixels below its top, "- @vase".
    EXPECT_EQ(image.pixel(140, 155), BLUE);  // "Three coins" reaches x 145
    EXPECT_EQ(image.pixel(60, 171), BLUE);   // "One" ends at x 65
    EXPECT_EQ(image.pixel(140, 171), WHITE); // and is not "One coin"
    for (i32 x : {15, 100, 194})
        EXPECT_EQ(image.pixel(u32(x), 177), BLACK) << x;
    EXPECT_EQ(image.pixel(100, 176), WHITE);
    EXPECT_EQ(image.pixel(100, 178), WHITE);
    EXPECT_EQ(image.pixel(195, 177), WHITE);
    EXPECT_EQ(image.pixel(16, 161), BLUE); // the open group is not struck
    EXPECT_EQ(image.pixel(80, 187), BLUE); // "@vase" is 5 glyphs from x 35
    EXPECT_EQ(image.pixel(90, 187), WHITE);
}

TEST_F(PanelTasksTest, AHeaderPushesTheListDownAndNotepadsWithoutTextOrFontDrawNoList) {
    loadPanel();
    panel.Show();
    panel.SetPersonage("Ann");
    panel.ShowRoomTasks("HEAD", &groups, "Tasks");
    EXPECT_EQ(find("PersonagesNotepads")->FindChild("Ann")->FindChild("text2")->GetText(), L"Find");
    EXPECT_EQ(panel.GetRoomTasksPos("Ann"), (SpyPoint{15, 340 + 16}));

    for (const char* personage : {"Cid", "Dan"}) {
        SCOPED_TRACE(personage);
        panel.SetPersonage(personage);
        panel.ClearTasks();
        panel.ShowInvestigationTasks("", &groups, "Tasks");
        panel.ShowRoomTasks("", &groups, "Tasks");
        const RgbaImage image = capture(0, 0, 300, 600);
        u32 drawn = 0;
        for (u32 y = 0; y < image.height; ++y)
            for (u32 x = 0; x < image.width; ++x)
                drawn += image.pixel(x, y) != WHITE;
        EXPECT_EQ(drawn, 0u);
    }
}

} // namespace

namespace {

// Pulse 0.7, 3 hints not allowed, inventory unlocked, both markers; window shown, backdrop shown,
// back hidden, solve shown, map disabled, clues and evidences enabled, left arrow hidden.
const std::string LOADED = "\x33\x33\x33\x3F"s + "\3\0\0\0"s + "\0\1\1\1"s + "\1\0\0\1\0\1\1\0\1"s;

TEST_F(PanelTest, TheRecordIsTwentyOneBytesWithVisibilityThroughTheAncestors) {
    loadPanel();
    panel.Show();
    const std::string fresh = f32bytes(0) + "\1\0\0\0"s + "\1\0\0\0"s + "\1\1\1\1\1\1\1\1\1"s;
    EXPECT_EQ(saveRecord(panel), fresh);
    // Back hides with its container; the backdrop byte says hidden.
    find("BackBtnPanel")->SetVisible(false);
    find("Map")->SetEnabled(false);
    EXPECT_EQ(saveRecord(panel), f32bytes(0) + "\1\0\0\0"s + "\1\0\0\0"s + "\1\1\0\1\0\1\1\1\1"s);
    panel.Hide();
    EXPECT_EQ(saveRecord(panel).substr(12), "\0\1\0\0\0\1\1\0\0"s);
}

TEST_F(PanelTest, LoadingClearsTheTasksFirstAndSetsTheContainersOfBackAndSolve) {
    loadPanel();
    panel.SetPersonage("Ann");
    texts("HEAD = \"Find\"\n");
    panel.ShowInvestigationTasks("HEAD", nullptr, "");
    ASSERT_EQ(LOADED.size(), 21u);
    ASSERT_TRUE(loadRecord(panel, LOADED));
    EXPECT_EQ(find("PersonagesNotepads")->FindChild("Ann")->FindChild("text")->GetText(), L"");
    EXPECT_NEAR(panel.GetPulsePhase(), 0.7f, 1e-6f);
    EXPECT_EQ(panel.GetHintCount(), 3u);
    EXPECT_FALSE(panel.GetHintsAllowed());
    EXPECT_FALSE(find("Hints")->IsEnabled());
    EXPECT_TRUE(panel.IsInventoryUnlocked());
    EXPECT_TRUE(panel.GetGlowEvidences());
    EXPECT_TRUE(panel.GetGlowClues());
    EXPECT_TRUE(panel.IsVisible());
    EXPECT_TRUE(find("BlockWidget")->IsVisible(true));
    EXPECT_FALSE(find("BackBtnPanel")->IsVisible(true));
    EXPECT_TRUE(find("Back")->IsVisible(true));
    EXPECT_TRUE(find("SolveBtnPanel")->IsVisible(true));
    EXPECT_FALSE(find("Map")->IsEnabled(true));
    EXPECT_FALSE(find("ArrowLeft")->IsVisible(true));
    EXPECT_EQ(saveRecord(panel), LOADED);
}

TEST_F(PanelTest, APulseOutsideItsPeriodLoadsAsZero) {
    loadPanel();
    for (f32 phase : {-1.0f, 2.0f, std::numeric_limits<f32>::quiet_NaN()}) {
        ASSERT_TRUE(loadRecord(panel, f32bytes(phase) + LOADED.substr(4)));
        EXPECT_EQ(panel.GetPulsePhase(), 0.0f) << phase;
    }
}

// The effect's sound comes from a file of the given number of frames at 44.1 kHz, or is missing.
class CompletionTest : public PanelTest {
public:
    CompletionTest() {
        EXPECT_TRUE(platform::AudioSystem::shared().init(44100, 64, std::make_unique<PulledAudioOutput>()));
    }
    ~CompletionTest() override { platform::AudioSystem::shared().close(); }

    void withSound(u32 frames) {
        std::string file = "RIFF" + le32(36 + frames * 2) + "WAVEfmt " + le32(16) + le16(1) + le16(1) +
                           le32(44100) + le32(88200) + le16(2) + le16(16) + "data" + le32(frames * 2);
        dir.write("investigation_completed.wav", file + std::string(frames * 2, '\x10'));
        res->getSoundManager()->loadResource(dir.path(), "investigation_completed.wav 1.0", "");
    }
};

TEST_F(CompletionTest, TheSoundSetsTheLengthAndWithoutOneItLastsSevenSeconds) {
    EXPECT_EQ(panel.GetCompletionEffect().GetState(), CompletionEffect::NOT_INITIALISED);
    panel.GetCompletionEffect().Start(false);
    EXPECT_FALSE(panel.GetCompletionEffect().IsPlaying());
    struct Case {
        const char* what;
        i32 frames;
        f32 duration;
    } cases[] = {{"no sound", -1, 7.0f}, {"empty sound", 0, 7.0f}, {"half a second", 22050, 0.5f}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        gui.reset();
        res.reset();
        res = std::make_unique<CResManager>(false);
        gui = std::make_unique<GUI::Server>(res->getImageManager(), res->getSoundManager());
        if (c.frames >= 0)
            withSound(u32(c.frames));
        CompletionEffect effect;
        effect.Init();
        EXPECT_NEAR(effect.GetDuration(), c.duration, 1e-4f);
        EXPECT_EQ(effect.GetState(), CompletionEffect::IDLE);
    }
}

TEST_F(CompletionTest, PhasesEndAtHalfTheLengthTheLengthAndOneSecondMore) {
    CompletionEffect& effect = panel.GetCompletionEffect();
    effect.Init();
    effect.Start(true);
    const std::pair<f32, u32> steps[] = {{3.5f, 1},  {0.01f, 2}, {3.49f, 2},
                                         {0.01f, 3}, {0.98f, 3}, {0.02f, 4}};
    for (auto [dt, state] : steps) {
        effect.Update(dt);
        EXPECT_EQ(effect.GetState(), state) << effect.GetTime();
    }
    EXPECT_FALSE(effect.IsPlaying());
    effect.Start(false);
    EXPECT_TRUE(effect.IsPlaying());
    panel.HideAll();
    EXPECT_EQ(effect.GetState(), CompletionEffect::IDLE);
}

} // namespace

namespace {

TEST_F(PanelTest, InitCreatesEveryMemberAndThePanelMayOutliveTheGui) {
    load(fonts() + panelScript("100 650 209 50") +
         widget("window", "Message", "112 560 800 100", {"Visible 0"}, {text("text", "100 14 600 72")}));
    panel.Init();
    EXPECT_EQ(panel.GetState(), CDialogBase::STATE_HIDDEN);
    EXPECT_EQ(panel.GetMessage().GetState(), CDialogBase::STATE_HIDDEN);
    // Without their windows the other dialogs say so once and stay uncreated.
    EXPECT_EQ(logged("CDialogBase::Create(). Cannot find window: SolveConfirm"), 1u);
    EXPECT_EQ(panel.GetSolveConfirm().GetState(), CDialogBase::STATE_NOT_CREATED);
    EXPECT_EQ(panel.GetCompletionEffect().GetState(), CompletionEffect::IDLE);
    panel.ShowMessage("HELLO", "", true);
    EXPECT_TRUE(panel.GetMessage().IsTimed());
    EXPECT_EQ(panel.GetMessage().GetTimer(), CDialogSpyGamePanel::TIMED_MESSAGE_SECONDS);
    panel.HideAll();
    EXPECT_FALSE(find("Message")->IsVisible(true));
    EXPECT_EQ(panel.GetMessage().GetState(), CDialogBase::STATE_HIDDEN);
    gui.reset();
}

} // namespace

namespace {

TEST_F(PanelTest, AWindowWithoutItsWidgetsSkipsThemAll) {
    load(widget("window", "SpyGameInterface", "0 0 1024 768"));
    panel.Create();
    panel.Show();
    LogCapture capture;
    panel.SetHintCount(0);
    panel.SetHintsAllowed(false);
    panel.SetLevelNumber(2);
    panel.SetPersonage("Ann");
    panel.ShowInvestigationTasks("", nullptr, "");
    panel.ClearTasks();
    EXPECT_FALSE(panel.IsPointOverPanel(0, 700));
    panel.SetGlowEvidences(true);
    panel.Update(0.1f);
    render();
    EXPECT_EQ(panel.GetState(), CDialogSpyGamePanel::CMD_DRAWN);
    EXPECT_EQ(capture.messages().size(), 3u); // the personage's photo, title and notepad
    const std::string record = saveRecord(panel);
    EXPECT_EQ(record.substr(4), "\0\0\0\0\0\0\1\0"s + "\1\1\0\0\0\0\0\0\0"s);
    EXPECT_TRUE(loadRecord(panel, record));
    EXPECT_EQ(saveRecord(panel), record);
}

TEST_F(CompletionTest, HalfWayThroughTheGrowthTheScreenIsHalfDarkAndThePictureMissingIsNotDrawn) {
    addImage("The_end", 100, 50, 0xFFFF0000);
    loadPanel();
    CompletionEffect& effect = panel.GetCompletionEffect();
    effect.Init();
    effect.Start(true);
    effect.Update(1.75f); // k = 0.5 of the 7-second effect
    RgbaImage image = capture(0, 0, 1024, 768);
    auto near = [](u32 pixel, u32 r, u32 g, u32 b) {
        const u32 channels[] = {pixel >> 24, pixel >> 16 & 0xFF, pixel >> 8 & 0xFF};
        const u32 wanted[] = {r, g, b};
        for (int i = 0; i < 3; ++i)
            if (channels[i] + 3 < wanted[i] || channels[i] > wanted[i] + 3)
                return false;
        return true;
    };
    EXPECT_TRUE(near(image.pixel(10, 10), 127, 127, 127)) << std::hex << image.pixel(10, 10);
    // The picture at 1.15 times its size about the centre, at alpha 0.8.
    EXPECT_TRUE(near(image.pixel(512, 384), 229, 25, 25)) << std::hex << image.pixel(512, 384);
    EXPECT_TRUE(near(image.pixel(456, 357), 229, 25, 25)) << std::hex << image.pixel(456, 357);
    EXPECT_TRUE(near(image.pixel(452, 384), 127, 127, 127)) << std::hex << image.pixel(452, 384);

    effect.Start(false);
    effect.Update(1.75f);
    image = capture(0, 0, 1024, 768);
    EXPECT_TRUE(near(image.pixel(512, 384), 127, 127, 127)) << std::hex << image.pixel(512, 384);
}

} // namespace

namespace {

TEST_F(PanelTest, AShownTipBringsUpTheBackdrop) {
    g_currentProfile = DEFAULT_PROFILE;
    texts("tip.corner = \"Look here\"\n");
    std::string styles;
    for (int i = 0; i < 4; ++i)
        styles += "style tip_style" + std::to_string(i) + "\n{\n}\n";
    loadPanel({});
    load(styles + widget("window", "ToolTip", "0 0 1024 768", {"Visible 0"},
                         {widget("window", "balloon", "30 20 320 120", {},
                                 {text("text", "20 24 280 40"), widget("widget", "close", "220 72 80 32")})}),
         "tips.agui");
    dir.write("tips.ini", "[General]\nFadeTime = 0.5\n[corner]\nX = 100\nY = 200\nTimesPerLevel = 1\n");
    panel.GetTipManager().Load(dir.file("tips.ini"));
    panel.GetTipManager().ResetCounters(true);
    EXPECT_TRUE(panel.ShowTip("corner"));
    EXPECT_TRUE(find("BlockWidget")->IsVisible(true));
    find("BlockWidget")->SetVisible(false);
    // Its one showing in this level is spent.
    panel.GetTipManager().HideTip();
    EXPECT_FALSE(panel.ShowTip("corner"));
    EXPECT_FALSE(find("BlockWidget")->IsVisible(true));
}

} // namespace
