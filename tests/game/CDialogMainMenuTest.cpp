#include "game/CDialogMainMenu.h"
#include "DialogKit.h"
#include "game/CGameIni.h"
#include "game/CMainMenuScreen.h"
#include "game/CParticleManager.h"
#include "support/Golden.h"
#include "tk2v/file/aFileServer.h"
#include "tk2v/gfx/aParticleSystem.h"
#include "tk2v/sound/aAmbientSoundSystem.h"

#include <filesystem>

namespace {

// The menu's parts, laid out so that a frame shows the background's bottom-right corner: the
// buttons stand one above the other at y 100, 200, 133, 300 and 400.
const char* const MenuScript = R"(window MainMenu
{
  AreaRect 0 0 1024 768
  staticimage Background
  {
    AreaRect 624 528 400 240
    NormalImage bg
    Static 1
  }
  staticimage GameBrand
  {
    AreaRect 960 700 40 40
    NormalImage brand
    Static 1
  }
  widget GameName
  {
    AreaRect 0 40 10 10
  }
  staticimage Selector
  {
    AreaRect 40 100 100 20
    NormalImage bar
    Static 1
  }
  widget Play
  {
    AreaRect 50 100 80 20
  }
  widget Options
  {
    AreaRect 50 200 80 20
  }
  widget Help
  {
    AreaRect 50 133 80 20
  }
  widget Credits
  {
    AreaRect 50 300 80 20
  }
  widget Exit
  {
    AreaRect 50 400 80 20
  }
  widget Welcome
  {
    AreaRect 300 40 80 20
  }
  widget UserName
  {
    AreaRect 300 60 80 20
  }
  widget ChangeProfile
  {
    AreaRect 300 10 80 20
  }
}
)";

const char* const ParticleScript = "max_particles 20\nfps 30\nemitter_type 1\nemitter_life -1\n"
                                   "emitter_size 10 10\nemit_per_sec 50\nparticle_life 1 2\nvelocity 1 2\n"
                                   "size 1 1 0\ncolor FFFFFFFF FFFFFFFF 0 0\ntexture dot\n";

class MainMenuTest : public DialogTest {
public:
    MainMenuTest() {
        const std::string video = RVH_DEMO_DATA "GameData/Video/waves.ogg";
        std::filesystem::copy_file(video, dir.file("waves.ogg"));
        files().setAssign("video", dir.path());
        files().setAssign("sounds", dir.path());
        addImage("bg", 4, 4, 0xFF2050A0);
        addImage("brand", 4, 4, 0xFFE02020);
        addImage("bar", 4, 4, 0xFFFFFFFF);
        addImage("dot", 2, 2, 0xFFFFFFFF, "particles");
        for (const char* name : {"Fog", "WindowsLight"}) {
            dir.write(std::string(name) + ".psys", ParticleScript);
            res->getParticleManager()->loadResource(dir.path(), name, "");
        }
        load(MenuScript);
    }
    ~MainMenuTest() override {
        files().setAssign("video", savedVideo);
        files().setAssign("sounds", savedSounds);
    }

    static aFileServer& files() { return *aFileServer::getInstance(); }
    // The point in the middle of a widget.
    void clickOn(const std::string& name) {
        GUI::Widget* w = find(name);
        clickAt(w->GetScreenX() + w->GetArea().w / 2, w->GetScreenY() + w->GetArea().h / 2);
    }
    void hover(const std::string& name) {
        GUI::Widget* w = find(name);
        moveTo(w->GetScreenX() + 1, w->GetScreenY() + 1);
    }
    f32 selectorAlpha() const { return find("Selector")->GetAlpha(true); }
    i32 selectorWidgetY() const { return find("Selector")->GetArea().y; }

    const std::string savedVideo = aFileServer::resolve("video:");
    const std::string savedSounds = aFileServer::resolve("sounds:");
};

TEST_F(MainMenuTest, TheSelectorFadesInAndGlidesToTheHoveredButtonTruncatedToWholePixels) {
    CDialogMainMenu menu;
    menu.Create();
    menu.Show();
    hover("Play");
    EXPECT_FLOAT_EQ(menu.GetSelectorY(), 100); // faded out: in place at once
    menu.Update(0.1f, false);
    EXPECT_FLOAT_EQ(selectorAlpha(), 0.7f);
    hover("Options");
    ASSERT_TRUE(menu.IsHovering());
    EXPECT_FLOAT_EQ(menu.GetSelectorTargetY(), 200);

    const struct {
        f32 dt;
        const char* hovered;
        f32 y;
        i32 widgetY;
        f32 alpha;
    } steps[] = {
        {0.05f, nullptr, 150, 150, 1},            // half the way: the fade stops at 1
        {0.05f, nullptr, 175, 175, 1},            // half the rest
        {0.1f, nullptr, 200, 200, 1},             // a step over the whole distance ends on the target
        {0.05f, "Help", 166.5f, 166, 1},          // from 200 toward 133; the widget's y is truncated
        {0.05f, "UserName", 149.75f, 149, 0.65f}, // no button under the mouse: fades, still glides
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.y);
        if (s.hovered)
            hover(s.hovered);
        menu.Update(s.dt, false);
        EXPECT_FLOAT_EQ(menu.GetSelectorY(), s.y);
        EXPECT_EQ(selectorWidgetY(), s.widgetY);
        EXPECT_FLOAT_EQ(selectorAlpha(), s.alpha);
        EXPECT_EQ(find("Selector")->GetArea().x, 40);
    }
}

TEST_F(MainMenuTest, OnlyAFullyFadedSelectorJumpsToTheButton) {
    const struct {
        f32 alpha;
        f32 y;
    } cases[] = {{0.0f, 300}, {0.001f, 100}, {1.0f, 100}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.alpha);
        CDialogMainMenu menu;
        menu.Create();
        menu.Show();
        moveTo(600, 10);
        find("Selector")->SetAlpha(c.alpha);
        hover("Credits");
        EXPECT_FLOAT_EQ(menu.GetSelectorY(), c.y);
        EXPECT_FLOAT_EQ(menu.GetSelectorTargetY(), 300);
        menu.Hide();
    }
    // Hiding fades the selector out at once.
    EXPECT_EQ(selectorAlpha(), 0.0f);
}

TEST_F(MainMenuTest, AnimationsOnlyLeavesTheSelectorAndMovesTheParticlesAndTheVideo) {
    CDialogMainMenu menu;
    menu.Create();
    const std::shared_ptr<aParticleSystem> fog = res->getParticleManager()->getParticle("Fog");
    const std::shared_ptr<aParticleSystem> light = res->getParticleManager()->getParticle("WindowsLight");
    EXPECT_EQ(fog->getX(), 700);
    EXPECT_EQ(fog->getY(), 600);
    EXPECT_EQ(light->getX(), 730);
    EXPECT_EQ(light->getY(), 525);
    menu.Show();
    ASSERT_TRUE(menu.GetVideo().isPlaying());
    hover("Play");
    menu.Update(0.1f, false);
    hover("Exit");
    menu.Update(0.5f, true);
    EXPECT_FLOAT_EQ(menu.GetSelectorY(), 100);
    EXPECT_FLOAT_EQ(selectorAlpha(), 0.7f);
    EXPECT_GT(fog->getLiveCount(), 0u);
    EXPECT_GT(light->getLiveCount(), 0u);
    EXPECT_FLOAT_EQ(fog->getClock(), light->getClock());
    menu.Hide();
    EXPECT_FALSE(menu.GetVideo().isPlaying());
}

TEST_F(MainMenuTest, EachButtonIsACommandForOnePollUntilTheNextDrawing) {
    CMainMenuScreen screen;
    screen.Create();
    CDialogMainMenu& menu = screen.GetMainMenu();
    menu.Show();
    EXPECT_EQ(menu.GetState(), 2);
    const struct {
        const char* button;
        i32 command;
    } buttons[] = {{"Play", 3},    {"Options", 4}, {"Help", 5},
                   {"Credits", 6}, {"Exit", 7},    {"ChangeProfile", 8}};
    for (const auto& b : buttons) {
        SCOPED_TRACE(b.button);
        clickOn(b.button);
        EXPECT_EQ(menu.GetState(), b.command);
        render();
        EXPECT_EQ(menu.GetState(), 2);
    }
}

TEST_F(MainMenuTest, HidingTheMenuKeepsThePlayersCornerAndTheNameIsWidened) {
    CDialogMainMenu menu;
    menu.Create();
    menu.Show();
    const std::vector<std::string> menuParts = {"Selector", "Play",      "Options",  "Help",   "Credits",
                                                "Exit",     "GameBrand", "GameName", "Welcome"};
    for (bool visible : {false, true}) {
        menu.SetMenuVisible(visible);
        for (const std::string& name : menuParts)
            EXPECT_EQ(find(name)->IsVisible(true), visible) << name;
        EXPECT_TRUE(find("ChangeProfile")->IsVisible(true));
        EXPECT_TRUE(find("UserName")->IsVisible(true));
    }
    menu.SetWelcomeVisible(false);
    EXPECT_FALSE(find("Welcome")->IsVisible(true));
    EXPECT_TRUE(find("GameName")->IsVisible(true));

    menu.SetUserName("Ann \xC0");
    EXPECT_EQ(find("UserName")->GetText(), L"Ann \u0410");
}

TEST_F(MainMenuTest, AmbientSoundOnlyWithTheOptionAndTheFile) {
    const struct {
        bool option, file, ambient;
    } cases[] = {{true, true, true}, {true, false, false}, {false, true, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.option << c.file);
        dir.write("Game.ini", std::string("[Graphics]\n[Sound]\nAmbient = ") + (c.option ? "1" : "0") + "\n");
        CGameIni ini;
        ini.Load(dir.file("Game.ini"));
        std::filesystem::remove(dir.file("main_menu_ambient.ini"));
        if (c.file)
            dir.write("main_menu_ambient.ini", "");
        CDialogMainMenu menu;
        menu.Create();
        EXPECT_EQ(menu.GetAmbient() != nullptr, c.ambient);
        if (!c.ambient)
            continue;
        menu.Show();
        EXPECT_TRUE(menu.GetAmbient()->isRunning());
        menu.Hide();
        EXPECT_FALSE(menu.GetAmbient()->isRunning());
    }
}

TEST_F(MainMenuTest, FirstFrameDrawsTheVideoInTheBackgroundsCornerUnderTheLaterWidgets) {
    CMainMenuScreen screen;
    screen.Create();
    screen.GetMainMenu().Show();
    aGraphServer& graph = testGraphServer();
    graph.clearColor = 0xFF000000;
    ASSERT_TRUE(graph.beginScene());
    screen.Render();
    graph.getSprite()->flush();
    RgbaImage image;
    ASSERT_TRUE(platform::succeeded(graph.getDevice()->readBackBuffer({600, 480, 424, 288}, image.rgba)));
    image.width = 424;
    image.height = 288;
    graph.endScene();
    // The video's 320 x 192 frame has its bottom-right corner on the background's, at (1024, 768).
    const u32 background = 0x2050A0FF;
    EXPECT_EQ(image.pixel(103, 200), background);
    EXPECT_NE(image.pixel(104, 200), background);
    EXPECT_EQ(image.pixel(200, 95), background);
    EXPECT_NE(image.pixel(200, 96), background);
    EXPECT_TRUE(matchesGolden("main_menu_first_frame", image));
}

} // namespace
