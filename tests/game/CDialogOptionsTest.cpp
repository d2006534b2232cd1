#include "game/CDialogOptions.h"
#include "DialogKit.h"
#include "game/Profile.h"
#include "tk2v/gui/Checkbox.h"
#include "tk2v/gui/Slider.h"
#include "tk2v/sound/aMusicManager.h"
#include "tk2v/sound/aSound.h"

namespace {

const char* const Script = R"(window OptionsMenu
{
  AreaRect 100 100 400 300
  slider sound_vol
  {
    AreaRect 10 10 210 20
    widget sound_vol_auto_thumb
    {
      AreaRect 0 0 10 20
    }
  }
  slider music_vol
  {
    AreaRect 10 40 210 20
    widget music_vol_auto_thumb
    {
      AreaRect 0 0 10 20
    }
  }
  checkbox fullscreen
  {
    AreaRect 10 70 100 20
  }
  checkbox show_tips
  {
    AreaRect 10 100 100 20
  }
  widget btn_apply
  {
    AreaRect 10 200 80 20
  }
  widget btn_cancel
  {
    AreaRect 100 200 80 20
  }
}
)";

class OptionsTest : public DialogTest {
public:
    OptionsTest() {
        g_currentProfile = DEFAULT_PROFILE;
        g_currentProfile.fullScreen = false;
        writeWav("test_volume.wav");
        res->getSoundManager()->loadResource(dir.path(), "test_volume.wav 1.0", "");
        writeWav("menu_theme.wav");
        res->getMusicManager()->loadResource(dir.path(), "menu_theme.wav", "");
        load(Script);
        dialog.Create();
    }
    ~OptionsTest() override {
        g_currentProfile = DEFAULT_PROFILE;
        testGraphServer(); // back to windowed
    }

    GUI::Slider& slider(const char* name) const { return *static_cast<GUI::Slider*>(find(name)); }
    GUI::Checkbox& check(const char* name) const { return *static_cast<GUI::Checkbox*>(find(name)); }
    aSound& testSound() const { return *res->getSoundManager()->getSound("test_volume"); }
    // Asked without testGraphServer(), which puts the server back into a window.
    static bool fullScreen() { return testApp().getGraphServer()->isFullscreen(); }
    f32 musicVolume() const { return res->getMusicManager()->getStreamVolume(0); }
    // Takes the slider's thumb 100 pixels to the right: half the track.
    void drag(GUI::Slider& s) {
        GUI::Widget* thumb = s.GetThumb();
        GUI::MouseEventArgs press(thumb), move(thumb), release(thumb);
        press.x = 5;
        thumb->OnMouseDown(press);
        move.x = 105;
        move.dx = 100;
        thumb->OnMouseMove(move);
        thumb->OnMouseUp(release);
    }

    CDialogOptions dialog;
};

TEST_F(OptionsTest, ShowTakesTheCurrentProfilesSettings) {
    for (bool flags : {false, true}) {
        g_currentProfile.soundVolume = flags ? 0.25f : 0.5f;
        g_currentProfile.musicVolume = flags ? 0.75f : 0.1f;
        g_currentProfile.fullScreen = flags;
        g_currentProfile.showTips = flags;
        dialog.Show();
        EXPECT_EQ(dialog.GetState(), 2);
        EXPECT_FLOAT_EQ(slider("sound_vol").GetValue(), g_currentProfile.soundVolume);
        EXPECT_FLOAT_EQ(slider("music_vol").GetValue(), g_currentProfile.musicVolume);
        EXPECT_EQ(check("fullscreen").IsChecked(), flags);
        EXPECT_EQ(check("show_tips").IsChecked(), flags);
        dialog.Hide();
    }
}

TEST_F(OptionsTest, ApplyKeepsAndAppliesTheValues) {
    dialog.Show();
    slider("sound_vol").SetValue(0.2f);
    slider("music_vol").SetValue(0.9f);
    check("fullscreen").SetChecked(true);
    check("show_tips").SetChecked(false);
    click(find("btn_apply"));
    EXPECT_EQ(dialog.GetState(), 4);
    EXPECT_FLOAT_EQ(g_currentProfile.soundVolume, 0.2f);
    EXPECT_FLOAT_EQ(g_currentProfile.musicVolume, 0.9f);
    EXPECT_TRUE(g_currentProfile.fullScreen);
    EXPECT_FALSE(g_currentProfile.showTips);
    EXPECT_FLOAT_EQ(testSound().getMasterVolume(), 0.2f);
    EXPECT_FLOAT_EQ(musicVolume(), 0.9f);
    EXPECT_TRUE(fullScreen());
    render();
    EXPECT_EQ(dialog.GetState(), 2);

    // The display mode changes only when it differs.
    g_currentProfile.fullScreen = false;
    CDialogOptions::ApplyOptions();
    EXPECT_FALSE(fullScreen());
}

TEST_F(OptionsTest, TheMusicFollowsItsSliderAndCancelPutsItBackLeavingTheSound) {
    g_currentProfile.musicVolume = 0.3f;
    g_currentProfile.soundVolume = 0.6f;
    CDialogOptions::ApplyOptions();
    dialog.Show();
    drag(slider("music_vol"));
    EXPECT_FLOAT_EQ(musicVolume(), 0.8f);
    click(find("btn_cancel"));
    EXPECT_EQ(dialog.GetState(), 3);
    EXPECT_FLOAT_EQ(musicVolume(), 0.3f);
    EXPECT_FLOAT_EQ(g_currentProfile.musicVolume, 0.3f);
    EXPECT_FLOAT_EQ(testSound().getMasterVolume(), 0.6f);
}

TEST_F(OptionsTest, LettingGoOfTheSoundSliderPlaysTheTestSoundAtItsVolume) {
    g_currentProfile.soundVolume = 0.25f;
    dialog.Show();
    EXPECT_FALSE(testSound().isPlaying());
    drag(slider("sound_vol"));
    EXPECT_TRUE(testSound().isPlaying());
    EXPECT_FLOAT_EQ(testSound().getMasterVolume(), 0.75f);
    EXPECT_FLOAT_EQ(g_currentProfile.soundVolume, 0.25f);
}

} // namespace
