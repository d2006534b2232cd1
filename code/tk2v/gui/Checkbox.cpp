#include "tk2v/gui/Checkbox.h"

#include "tk2v/util/log.h"

namespace GUI {

Checkbox::Checkbox(const std::string& name) : ImageButton(name) {
    AddProperty("Checked", &m_checkedProp);
    AddProperty("RightAlign", &m_rightAlignProp);
    AddEvent("CheckChanged");
}

void Checkbox::MakeFromScript() {
    ImageButton::MakeFromScript();
    if (m_checkedProp.changed)
        SetChecked(ParseBool(m_checkedProp.value));
    if (m_rightAlignProp.changed)
        m_rightAlign = ParseBool(m_rightAlignProp.value);
}

void Checkbox::Initialize() {
    Widget::Initialize();
    m_checkWidget = FindChild(GetName() + "_auto_check", true);
    if (m_checkWidget)
        m_checkWidget->SetVisible(m_checked);
    else
        log("Checkbox::Initialize - Check widget for checkbox '%s' not found", GetName().c_str());
}

void Checkbox::SetChecked(bool checked) {
    if (m_checkWidget)
        m_checkWidget->SetVisible(checked);
    if (checked == m_checked)
        return;
    m_checked = checked;
    WidgetEventArgs args(this);
    OnCheckChanged(args);
}

void Checkbox::OnCheckChanged(WidgetEventArgs& e) {
    LaunchEvent("CheckChanged", e);
}

void Checkbox::OnClick(MouseEventArgs& e) {
    if (e.button == MOUSE_LEFT)
        SetChecked(!m_checked);
    ImageButton::OnClick(e);
}

void Checkbox::OnDoubleClick(MouseEventArgs& e) {
    if (e.button == MOUSE_LEFT)
        SetChecked(!m_checked);
    ImageButton::OnDoubleClick(e);
}

void Checkbox::DrawSelf() {
    // The box and the caption each draw into their own part of the area, written without events.
    const aRect area = m_area;
    const aRect& box = GetImageRect(LOOK_NORMAL);
    const i32 boxX = m_rightAlign ? area.x + area.w - box.w : area.x;
    SetAreaRaw(aRect{i16(boxX), i16(area.y + (i32(area.h) - i32(box.h)) / 2), box.w, box.h});
    DrawImages();
    const u16 captionW = area.w > box.w ? u16(area.w - box.w) : 0;
    SetAreaRaw(aRect{i16(m_rightAlign ? area.x : area.x + box.w), area.y, captionW, area.h});
    ButtonBase::DrawSelf();
    SetAreaRaw(area);
}

} // namespace GUI
