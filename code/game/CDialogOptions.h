#pragma once
#include "game/CDialogBase.h"

namespace GUI {
class Checkbox;
class Slider;
} // namespace GUI

// The player's settings: sound and music volume, full screen and tutorial tips. The music follows
// its slider at once and the "test_volume" sound plays when the sound slider is let go; Apply keeps
// the values in the current profile and applies them (command 4), Cancel puts the music back (command 3).
class CDialogOptions : public CDialogBase {
public:
    enum Command : i32 { CMD_CANCEL = 3, CMD_APPLY = 4 };

    CDialogOptions() = default;
    ~CDialogOptions() = default;

    void Create() override;
    // The widgets take the current profile's values first.
    void Show() override;

    // The current profile's volumes to the sound and music managers, and its full-screen flag to the
    // graph server when it differs from the mode the server is in.
    static void ApplyOptions();

private:
    bool OnApply(const GUI::EventArgs& args);
    bool OnCancel(const GUI::EventArgs& args);
    bool OnMusicVolumeChanged(const GUI::EventArgs& args);
    bool OnSoundVolumeReleased(const GUI::EventArgs& args);

    GUI::Slider* m_soundVolume = nullptr;
    GUI::Slider* m_musicVolume = nullptr;
    GUI::Checkbox* m_fullScreen = nullptr;
    GUI::Checkbox* m_showTips = nullptr;
    GUI::Widget* m_apply = nullptr;
    GUI::Widget* m_cancel = nullptr;
};
