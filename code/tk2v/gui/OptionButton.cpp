#include "tk2v/gui/OptionButton.h"

#include "tk2v/gfx/aFont.h"

namespace GUI {

OptionButton::OptionButton(const std::string& name) : ButtonBase(name) {
    AddEvent("OptionChanged");
}

void OptionButton::DrawSelf() {
    aFont* font = GetFont(false);
    if (!font)
        return;
    font->setScale(GetFontSize(false));
    const aFont::Size caption = font->getTextSizeW(GetText());
    const f32 sx = f32(GetScreenX()), sy = f32(GetScreenY());
    f32 y = sy + m_extentY;
    if (m_textVertAlign == TEXT_VCENTER)
        y = sy + (f32(m_area.h) - caption.height) * 0.5f;
    else if (m_textVertAlign == TEXT_BOTTOM)
        y = sy + f32(m_area.h) - m_extentY - caption.height;
    const bool pushed = m_pushed && IsEnabled(false);
    const f32 pushX = pushed ? m_pushOffsetX : 0, pushY = pushed ? m_pushOffsetY : 0;
    font->color = GetTextColor();
    font->printW(sx + m_extentX + pushX, y + pushY, GetText(), m_drawFlags);
    if (m_selected < 0 || size_t(m_selected) >= m_options.size())
        return;
    const std::wstring& option = m_options[m_selected];
    const f32 x = sx + f32(m_area.w) - m_extentX - font->getTextSizeW(option).width;
    font->printW(x + pushX, y + pushY, option, m_drawFlags);
}

void OptionButton::OnClick(MouseEventArgs& e) {
    ButtonBase::OnClick(e);
    if (m_options.empty())
        return;
    // From none, and from the last, to the first.
    m_selected = m_selected < 0 || size_t(m_selected) + 1 >= m_options.size() ? 0 : m_selected + 1;
    WidgetEventArgs args(this);
    OnOptionChanged(args);
}

void OptionButton::OnOptionChanged(WidgetEventArgs& e) {
    LaunchEvent("OptionChanged", e);
}

} // namespace GUI
