#include "game/SpyGame/CPanelTips.h"

#include "game/SpyGame/CDialogSpyGamePanel.h"
#include "tk2v/gui/Widget.h"

u32 CPanelTips::GetCommandWord() const {
    return m_panel ? u32(m_panel->GetState()) : 0;
}

bool CPanelTips::ShowTip(const std::string& id, i32 x, i32 y) {
    return m_panel && m_panel->ShowTip(id, x, y);
}

bool CPanelTips::ShowManagerTip(const std::string& id) {
    return m_panel && m_panel->GetTipManager().ShowTip(id);
}

void CPanelTips::SetTipEnabled(const std::string& id, bool on) {
    if (m_panel)
        m_panel->GetTipManager().SetTipEnabled(id, on);
}

void CPanelTips::ShowPersonagesHelp() {
    if (!m_panel)
        return;
    if (GUI::Widget* backdrop = m_panel->GetWidget("BlockWidget"))
        backdrop->SetVisible(true);
    m_panel->GetHelpPers().Show();
}
