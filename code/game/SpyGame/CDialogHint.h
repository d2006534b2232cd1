#pragma once
#include "game/CDialogBase.h"
#include "game/SpyGame/CWidgetWatch.h"

#include <string>

class aSound;

// The name of the item under the mouse in a small balloon above the pointer. It may open once the
// mouse has rested, fades in, and goes as soon as the mouse moves or a button is down, or after 20 s.
class CDialogHint : public CDialogBase {
public:
    static constexpr f32 REST_BEFORE_SHOW = 0.5f;
    static constexpr f32 SHOWN_AT_MOST = 20.0f;
    static constexpr f32 FADE_IN_SPEED = 5.0f;

    CDialogHint() = default;
    // Gives the window back its script size, when it still lives.
    ~CDialogHint();

    void Create() override;
    // Also forgets how long the mouse has rested.
    void Hide() override;

    // Opens the hint for the point, at least `width` wide, above the point or below it near the top.
    void ShowHint(i32 x, i32 y, i32 width, const std::string& key, const std::string& section);
    // Hidden, the mouse has rested long enough, and the point is not the one shown last.
    bool CanShowAt(i32 x, i32 y) const;
    void Update(f32 dt);

    f32 GetRestTime() const { return m_restTime; }

private:
    GUI::Widget* m_text = nullptr;
    CWidgetWatch m_window;
    i32 m_lastX = -1, m_lastY = -1;
    f32 m_alpha = 0;
    f32 m_shownTime = 0;
    f32 m_restTime = 0;
    aSound* m_sound = nullptr;
    // Where the mouse was at the last update.
    i32 m_mouseX = 0, m_mouseY = 0;
};
