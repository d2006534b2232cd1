#include "game/SpyGame/ScenePlayer.h"
#include "InGameKit.h"
#include "tk2v/gui/StaticImage.h"
#include "tk2v/sound/aMusicManager.h"

namespace {

class ScenePlayerTest : public InGameTest {
public:
    ScenePlayerTest() {
        for (const char* track : {"menu_theme", "comic"}) {
            writeWav(std::string(track) + ".wav");
            res->getMusicManager()->loadResource(dir.path(), std::string(track) + ".wav", "");
        }
        load(fonts() +
             widget("window", "Comics", "0 0 1024 768", {"Visible 0"},
                    {widget("staticimage", "picture", "0 0 1024 768", {"FadeInTime 0.5", "FadeOutTime 0.5"}),
                     widget("widget", "prev", "20 700 140 48", {"Tag -1"}),
                     widget("widget", "next", "864 700 140 48", {"Tag 1"}),
                     widget("widget", "skip", "442 700 140 48"),
                     widget("widget", "finish", "864 700 140 48")}));
        // Pages 1 and 2, and a page 4 after the gap, each of its own width.
        for (int page : {1, 2, 4})
            writePage("Case_p" + std::to_string(page) + ".jpg", u32(30 + 10 * page));
        player.Init();
    }

    void writePage(const std::string& name, u32 width) {
        dir.write(name,
                  imagefiles::text(imagefiles::jpeg(width, 30, std::vector<u32>(width * 30, 0xFF336699))));
    }
    // The buttons shown, as "prev next skip finish" with "-" for a hidden one.
    std::string buttons() const {
        std::string shown;
        for (const char* name : {"prev", "next", "skip", "finish"})
            shown += (find(name)->IsVisible(true) ? std::string(name) : "-") + " ";
        return shown;
    }
    f32 pictureAlpha() const { return find("picture")->GetAlpha(true); }
    u16 pictureWidth() const {
        const aImage* image = static_cast<GUI::StaticImage*>(find("picture"))->GetImage();
        return image ? image->getWidth() : 0;
    }
    std::string music() const {
        std::string group;
        return res->getMusicManager()->getCurrent(group);
    }
    void update(f32 dt, int frames = 1) {
        for (int i = 0; i < frames; ++i) {
            frame(dt);
            player.Update(dt);
        }
    }

    ScenePlayer player;
};

TEST_F(ScenePlayerTest, TwoPagesForwardAndBackUntilAStepBeforeTheFirstCloses) {
    res->getMusicManager()->play("menu_theme", "", false);
    player.PlayScene(dir.path(), "Case", true, "comic", "");
    EXPECT_TRUE(player.IsActive());
    EXPECT_EQ(player.GetPageCount(), 2u) << "counting stops at the gap";
    EXPECT_TRUE(find("Comics")->IsVisible());
    EXPECT_EQ(music(), "comic");
    EXPECT_EQ(buttons(), "- next skip - ");

    click(find("next"));
    EXPECT_EQ(player.GetTargetPage(), 0) << "nothing shown yet";
    update(0.1f);
    EXPECT_EQ(player.GetCurrentPage(), 0);
    EXPECT_EQ(pictureWidth(), 40);
    EXPECT_EQ(player.GetIdleTime(), -1.0f);
    update(0.25f);
    EXPECT_EQ(pictureAlpha(), 0.5f);
    click(find("next"));
    EXPECT_EQ(player.GetTargetPage(), 0) << "still fading in";
    update(0.25f);
    EXPECT_EQ(pictureAlpha(), 1.0f);

    click(find("next"));
    EXPECT_EQ(player.GetTargetPage(), 1);
    update(0.25f);
    EXPECT_EQ(pictureAlpha(), 0.5f);
    EXPECT_EQ(player.GetCurrentPage(), 0);
    update(0.25f);
    EXPECT_EQ(player.GetCurrentPage(), 1);
    EXPECT_EQ(pictureWidth(), 50);
    EXPECT_EQ(buttons(), "prev - - finish ");
    update(0.25f, 2);

    // Past the last page there is nothing: the step stays on it.
    click(find("next"));
    EXPECT_EQ(player.GetTargetPage(), 1);
    update(0.25f);
    EXPECT_EQ(pictureAlpha(), 1.0f);

    click(find("prev"));
    update(0.25f, 2);
    EXPECT_EQ(player.GetCurrentPage(), 0);
    EXPECT_EQ(buttons(), "- next skip - ");
    update(0.25f, 2);
    click(find("prev"));
    EXPECT_EQ(player.GetTargetPage(), -1);
    update(0.25f, 2);
    EXPECT_FALSE(player.IsActive());
    EXPECT_FALSE(find("Comics")->IsVisible());
    EXPECT_EQ(music(), "menu_theme");
}

TEST_F(ScenePlayerTest, ButtonsFadeAfterTwoIdleSecondsAndReturnOnInput) {
    player.PlayScene(dir.path(), "Case", true, "", "");
    update(0.1f);
    update(0.25f, 2);
    GUI::Widget* next = find("next");
    EXPECT_EQ(player.GetIdleTime(), 0.25f) << "idle from the frame the page is whole";
    update(0.25f, 6);
    EXPECT_EQ(next->GetAlpha(true), 1.0f);
    update(0.25f);
    EXPECT_EQ(player.GetIdleTime(), 2.0f);
    EXPECT_FLOAT_EQ(next->GetAlpha(true), 0.5f);
    update(0.25f);
    EXPECT_EQ(next->GetAlpha(true), 0.0f);
    input.setCursor(10, 10);
    update(0.25f);
    EXPECT_EQ(player.GetIdleTime(), 0.0f);
    EXPECT_FLOAT_EQ(next->GetAlpha(true), 0.5f);
}

TEST_F(ScenePlayerTest, FinishSkipAndTheSceneOptions) {
    res->getMusicManager()->play("menu_theme", "", false);
    player.PlayScene(dir.path(), "Case", false, "", "");
    EXPECT_EQ(music(), "menu_theme") << "a scene without music keeps what plays";
    EXPECT_EQ(buttons(), "- next - - ");
    update(0.1f);
    update(0.25f, 2);
    click(find("next"));
    update(0.25f, 4);
    EXPECT_EQ(buttons(), "prev - - finish ");
    click(find("finish"));
    EXPECT_FALSE(player.IsActive());
    EXPECT_EQ(music(), "menu_theme");

    player.PlayScene(dir.path(), "Case", true, "", "");
    click(find("skip"));
    EXPECT_FALSE(player.IsActive());

    player.PlayScene(dir.path(), "Nothing", true, "comic", "");
    EXPECT_TRUE(log.contains("ScenePlayer::PlayScene - scene 'Nothing' has 0 pages!"));
    EXPECT_FALSE(player.IsActive());
    EXPECT_EQ(music(), "menu_theme");
}

TEST_F(ScenePlayerTest, WithoutItsWindowTheSceneStillCountsAndCloses) {
    load(fonts() + window("Other", {}));
    ScenePlayer bare;
    bare.Init();
    bare.PlayScene(dir.path(), "Case", true, "", "");
    EXPECT_TRUE(bare.IsActive());
    for (int i = 0; i < 5; ++i)
        bare.Update(0.1f);
    EXPECT_EQ(bare.GetCurrentPage(), 0);
    bare.Close();
    EXPECT_FALSE(bare.IsActive());
}

} // namespace
