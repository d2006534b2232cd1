#include "tk2v/gui/RadioButton.h"

namespace GUI {

RadioButton::RadioButton(const std::string& name) : Checkbox(name) {
    AddProperty("GroupID", &m_groupIdProp);
}

void RadioButton::MakeFromScript() {
    Checkbox::MakeFromScript();
    if (m_groupIdProp.changed)
        m_groupId = ParseInt(m_groupIdProp.value);
    // "Checked" was applied before the group was known: apply the group rule now, to the siblings
    // that exist at this moment.
    if (m_checkedProp.changed && m_checked)
        UncheckGroup();
}

void RadioButton::OnClick(MouseEventArgs& e) {
    if (e.button == MOUSE_LEFT && !m_checked)
        SetChecked(true);
    Widget::OnClick(e);
}

void RadioButton::OnDoubleClick(MouseEventArgs& e) {
    if (e.button == MOUSE_LEFT && !m_checked)
        SetChecked(true);
    Widget::OnDoubleClick(e);
}

void RadioButton::OnCheckChanged(WidgetEventArgs&) {
    UncheckGroup();
}

void RadioButton::UncheckGroup() {
    if (!m_checked || m_groupId == 0 || !m_parent)
        return;
    // A copy: unchecking shows and hides marks, whose handlers may change the tree.
    const std::vector<Widget*> siblings = m_parent->GetChildren();
    for (Widget* sibling : siblings) {
        if (sibling == this || !sibling->IsA("RadioButton"))
            continue;
        RadioButton* radio = static_cast<RadioButton*>(sibling);
        if (radio->m_groupId == m_groupId && radio->m_checked)
            radio->SetChecked(false);
    }
}

} // namespace GUI
