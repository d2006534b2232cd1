#pragma once
#include "game/CDialogBase.h"
#include "tk2v/video/aTheoraVideo.h"

#include <memory>
#include <string>
#include <vector>

class aAmbientSoundSystem;
class aParticleSystem;

// The title screen: Play, Options, Help, Credits and Exit with a highlight bar that fades in and
// glides to the button under the mouse, the button that changes the player, the player's name, and
// behind them a looping video with two particle effects and an ambient soundscape.
class CDialogMainMenu : public CDialogBase {
public:
    // The command ids the buttons write into the state word.
    enum Command : i32 {
        CMD_PLAY = 3,
        CMD_OPTIONS = 4,
        CMD_HELP = 5,
        CMD_CREDITS = 6,
        CMD_EXIT = 7,
        CMD_CHANGE_PROFILE = 8,
    };
    // How fast the highlight bar fades (alpha per second) and glides (share of the distance per second).
    static constexpr f32 SELECTOR_FADE_SPEED = 7.0f;
    static constexpr f32 SELECTOR_GLIDE_SPEED = 10.0f;
    // The background's colour is a slightly darkened video.
    static constexpr u32 VIDEO_COLOR = 0xFFC0C0C0;

    CDialogMainMenu();
    ~CDialogMainMenu();

    void Create() override;
    // Starts the video and the ambient sound.
    void Show() override;
    // Stops them and fades the highlight bar out at once.
    void Hide() override;
    // The five buttons, the highlight bar and the titles; the player's corner stays.
    virtual void SetMenuVisible(bool visible);
    virtual void SetWelcomeVisible(bool visible);

    void SetUserName(const std::string& name);
    // With `animationsOnly` the highlight bar stands still while the video, particles and ambient
    // sound go on.
    void Update(f32 dt, bool animationsOnly);

    f32 GetSelectorY() const { return m_selectorY; }
    f32 GetSelectorTargetY() const { return m_selectorTargetY; }
    bool IsHovering() const { return m_hovering; }
    const aTheoraVideo& GetVideo() const { return m_video; }
    const std::shared_ptr<aAmbientSoundSystem>& GetAmbient() const { return m_ambient; }

private:
    bool OnButtonEnter(const GUI::EventArgs& args);
    bool OnButtonLeave(const GUI::EventArgs& args);
    bool OnBackgroundDrawn(const GUI::EventArgs& args);
    void UpdateSelector(f32 dt);
    void FindWidgets();
    void StartParticles();
    void CreateAmbient();
    void SetVisibleIfFound(GUI::Widget* widget, bool visible);

    std::vector<GUI::Widget*> m_hoverButtons;
    GUI::Widget* m_background = nullptr;
    GUI::Widget* m_selector = nullptr;
    GUI::Widget* m_play = nullptr;
    GUI::Widget* m_options = nullptr;
    GUI::Widget* m_help = nullptr;
    GUI::Widget* m_credits = nullptr;
    GUI::Widget* m_exit = nullptr;
    GUI::Widget* m_userName = nullptr;
    bool m_hovering = false;
    f32 m_selectorY = 0;
    f32 m_selectorTargetY = 0;
    aTheoraVideo m_video;
    // The particle manager's own systems, shared with it.
    std::shared_ptr<aParticleSystem> m_fog;
    std::shared_ptr<aParticleSystem> m_windowLight;
    std::shared_ptr<aAmbientSoundSystem> m_ambient;
};
