#pragma once
#include "game/SaveLoadEntity.h"

#include <string>

class CStoryWorld;
class CTipPanel;

// Decides each frame of play which tutorial tip is due. The rules name the places, personages and
// items of the first cases; the first tip shown ends the frame's work. Saves whether the personages
// help was opened, so that it opens once per game.
class CTipEvents : public SaveLoadEntity {
public:
    // How long the crab tip waits once its room's tasks are done.
    static constexpr f32 CrabWaitSeconds = 20.0f;

    CTipEvents();
    ~CTipEvents() override = default;

    const u8* LoadSelf(SaveLoadSystem& sys, const u8* pos) override;
    u8* SaveSelf(SaveLoadSystem& sys, u8* pos) override;

    // Gives the panel and the investigation, and makes the triggers ready.
    void Init(CTipPanel* panel, CStoryWorld* investigation);
    // True when a tip or the personages help was shown in this frame.
    bool FrameMove(f32 dt);
    void Reset() { m_personagesHelpShown = 0; }

    bool IsPersonagesHelpShown() const { return m_personagesHelpShown != 0; }

private:
    struct Frame;

    bool ShowCardsTip();
    bool ShowHintTips();
    bool ShowCrabTip(const Frame& frame, f32 dt);
    bool ShowHintButtonTips(const Frame& frame);
    bool ShowReportTip(const Frame& frame);

    u32 m_ready = 0;
    CTipPanel* m_panel = nullptr;
    CStoryWorld* m_investigation = nullptr;
    u8 m_personagesHelpShown = 0;
};
