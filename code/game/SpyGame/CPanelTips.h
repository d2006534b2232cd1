#pragma once
#include "game/SpyGame/CTipPanel.h"

class CDialogSpyGamePanel;

// The tip triggers' view of the game panel: its command word, its tips and its personages help.
// Answers nothing without a panel.
class CPanelTips : public CTipPanel {
public:
    void SetPanel(CDialogSpyGamePanel* panel) { m_panel = panel; }

    u32 GetCommandWord() const override;
    bool ShowTip(const std::string& id, i32 x, i32 y) override;
    bool ShowManagerTip(const std::string& id) override;
    void SetTipEnabled(const std::string& id, bool on) override;
    void ShowPersonagesHelp() override;

private:
    CDialogSpyGamePanel* m_panel = nullptr;
};
