#pragma once
#include "game/CDialogBase.h"
#include "game/SaveLoadEntity.h"
#include "game/SpyGame/CWidgetWatch.h"

#include <string>

class aSound;

// The current personage's line at the bottom of the screen: slides up from below the screen while
// it fades in, may close itself after a time, and slides back out. "Close" or a click on the box
// hides it at once.
class CDialogMessage : public CDialogBase, public SaveLoadEntity {
public:
    enum Slide : u32 { SLIDE_STILL = 0, SLIDE_IN = 1, SLIDE_OUT = 2 };
    static constexpr f32 SLIDE_SPEED = 3.0f;

    CDialogMessage();
    // Puts the window back where the script had it, when it still lives.
    ~CDialogMessage() override;

    void Create() override;
    // Starts the slide in from below the screen.
    void Show() override;
    // Also stops a slide, so a box hidden while it came in counts as hidden.
    void Hide() override;
    // Also while the box slides in.
    bool IsVisible() const override;

    // Nothing when the box already shows the key.
    void ShowText(const std::string& key, const std::string& section);
    // For the key already on screen only the timer starts again.
    void ShowTimed(const std::string& key, const std::string& section, f32 seconds);
    // "PersIcon" shows "<name>_icon" of the "GamePanel" images, or nothing when there is none.
    void SetIcon(const std::string& name);
    void Update(f32 dt);

    u32 GetSlideMode() const { return m_mode; }
    f32 GetProgress() const { return m_progress; }
    bool IsTimed() const { return m_timed != 0; }
    f32 GetTimer() const { return m_timer; }

    const u8* LoadSelf(SaveLoadSystem& sys, const u8* pos) override;
    u8* SaveSelf(SaveLoadSystem& sys, u8* pos) override;

private:
    bool OnHideClick(const GUI::EventArgs& args);
    void SetTextOf(const std::string& key, const std::string& section);
    void PlaceBySlide();

    GUI::Widget* m_text = nullptr;
    GUI::Widget* m_icon = nullptr;
    CWidgetWatch m_window;
    i16 m_hiddenY;
    f32 m_timer = 0;
    u8 m_timed = 0;
    f32 m_progress = 0;
    u32 m_mode = SLIDE_STILL;
    std::string m_key;
    std::string m_iconName;
    aSound* m_sound = nullptr;
};
