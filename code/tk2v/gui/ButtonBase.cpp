#include "tk2v/gui/ButtonBase.h"

#include "tk2v/gfx/aFont.h"

#include <algorithm>
#include <string_view>

namespace GUI {

ButtonBase::ButtonBase(const std::string& name) : Widget(name) {
    AddProperty("TextHorzAlign", &m_buttonProps.textHorzAlign);
    AddProperty("TextVertAlign", &m_buttonProps.textVertAlign);
    AddProperty("TextPushOffset", &m_buttonProps.textPushOffset);
    AddProperty("TextExtent", &m_buttonProps.textExtent);
    AddProperty("TextColor", &m_buttonProps.textColor);
    AddProperty("TextNormalColor", &m_buttonProps.textNormalColor);
    AddProperty("TextDisabledColor", &m_buttonProps.textDisabledColor);
    AddProperty("TextHoverColor", &m_buttonProps.textHoverColor);
    AddProperty("TextPushedColor", &m_buttonProps.textPushedColor);
    AddProperty("LineSpacing", &m_buttonProps.lineSpacing);
    AddProperty("ForceIntXY", &m_buttonProps.forceIntXY);
}

ButtonBase::~ButtonBase() = default;

void ButtonBase::MakeFromScript() {
    Widget::MakeFromScript();
    Properties& p = m_buttonProps;
    // The single colours come after the four, so each overrides its entry of "TextColor".
    if (p.textColor.changed) {
        u32 colors[4];
        ParseColor4(p.textColor.value, colors);
        SetTextColors(colors[0], colors[1], colors[2], colors[3]);
    }
    if (p.textNormalColor.changed)
        SetTextNormalColor(ParseColor(p.textNormalColor.value));
    if (p.textDisabledColor.changed)
        SetTextDisabledColor(ParseColor(p.textDisabledColor.value));
    if (p.textHoverColor.changed)
        SetTextHoverColor(ParseColor(p.textHoverColor.value));
    if (p.textPushedColor.changed)
        SetTextPushedColor(ParseColor(p.textPushedColor.value));
    if (p.textExtent.changed)
        ParsePoint(p.textExtent.value, m_extentX, m_extentY);
    if (p.textPushOffset.changed)
        ParsePoint(p.textPushOffset.value, m_pushOffsetX, m_pushOffsetY);
    if (p.textHorzAlign.changed)
        m_textHorzAlign = ParseHorizontalAlign(p.textHorzAlign.value);
    if (p.textVertAlign.changed)
        m_textVertAlign = ParseVerticalAlign(p.textVertAlign.value);
    if (p.lineSpacing.changed)
        m_lineSpacing = ParseFloat(p.lineSpacing.value);
    if (p.forceIntXY.changed)
        m_drawFlags = ParseBool(p.forceIntXY.value) ? u32(aFont::PRINT_SNAP) : 0u;
}

void ButtonBase::SetTextColors(u32 normal, u32 hover, u32 pushed, u32 disabled) {
    SetTextNormalColor(normal);
    SetTextHoverColor(hover);
    SetTextPushedColor(pushed);
    SetTextDisabledColor(disabled);
}

u32 ButtonBase::GetTextColor() const {
    if (!IsEnabled(false))
        return PackColor(m_disabledColor.r, m_disabledColor.g, m_disabledColor.b, m_disabledColor.a);
    if (m_pushed)
        return PackColor(m_pushedColor.r, m_pushedColor.g, m_pushedColor.b, m_pushedColor.a);
    const ColorF& n = m_normalColor;
    const ColorF& h = m_hoverColor;
    const f32 t = m_fadeLevel;
    return PackColor(n.r + (h.r - n.r) * t, n.g + (h.g - n.g) * t, n.b + (h.b - n.b) * t,
                     n.a + (h.a - n.a) * t);
}

ButtonLayers ButtonBase::ChooseLayers(u32 present) const {
    auto has = [present](ButtonLook look) { return (present >> look) & 1; };
    ButtonLayers layers;
    auto add = [&layers](ButtonLook look, f32 alpha) {
        layers.look[layers.count] = look;
        layers.alpha[layers.count] = alpha;
        ++layers.count;
    };
    if (!IsEnabled(false) && has(LOOK_DISABLED)) {
        add(LOOK_DISABLED, 1);
    } else if (m_pushed && has(LOOK_PUSHED)) {
        add(LOOK_PUSHED, 1);
    } else if (m_fadeInTime == 0 && m_fadeOutTime == 0) {
        // Without fading the hover look shows only once the hover is complete.
        if (m_fadeLevel == 1 && has(LOOK_HOVER))
            add(LOOK_HOVER, 1);
        else if (has(LOOK_NORMAL))
            add(LOOK_NORMAL, 1);
    } else {
        if (has(LOOK_NORMAL))
            add(LOOK_NORMAL, 1);
        if (has(LOOK_HOVER))
            add(LOOK_HOVER, m_fadeLevel);
    }
    return layers;
}

u32 ButtonBase::LayerColor(f32 factor) const {
    return PackColor(1, 1, 1, GetAlpha(false) * factor);
}

void ButtonBase::DrawSelf() {
    const std::wstring& text = GetText();
    aFont* font = GetFont(false);
    if (text.empty() || !font)
        return;
    font->setScale(GetFontSize(false));
    // The caption breaks at LF only; a CR stays part of its line.
    const size_t lineCount = std::count(text.begin(), text.end(), L'\n') + 1;
    const f32 lineStep = font->getHeight() * font->getScale() + m_lineSpacing;
    const f32 sx = f32(GetScreenX()), sy = f32(GetScreenY());
    const f32 w = m_area.w, h = m_area.h, captionHeight = f32(lineCount) * lineStep;
    f32 y = sy + m_extentY;
    if (m_textVertAlign == TEXT_VCENTER)
        y = sy + (h - captionHeight) * 0.5f;
    else if (m_textVertAlign == TEXT_BOTTOM)
        y = sy + h - m_extentY - captionHeight;
    font->color = GetTextColor();
    const f32 pushX = m_pushed ? m_pushOffsetX : 0, pushY = m_pushed ? m_pushOffsetY : 0;
    std::wstring_view rest = text;
    for (size_t i = 0; i < lineCount; ++i, y += lineStep) {
        const size_t end = rest.find(L'\n');
        const std::wstring_view line = rest.substr(0, end);
        rest = end == std::wstring_view::npos ? std::wstring_view() : rest.substr(end + 1);
        const f32 lineWidth = font->getTextSizeW(line).width;
        f32 x = sx + m_extentX;
        if (m_textHorzAlign == TEXT_HCENTER)
            x = sx + (w - lineWidth) * 0.5f;
        else if (m_textHorzAlign == TEXT_RIGHT)
            x = sx + w - m_extentX - lineWidth;
        font->printW(x + pushX, y + pushY, line, m_drawFlags);
    }
}

void ButtonBase::OnMouseDown(MouseEventArgs& e) {
    m_pushed = e.button == MOUSE_LEFT;
    Widget::OnMouseDown(e);
}

void ButtonBase::OnMouseUp(MouseEventArgs& e) {
    m_pushed = false;
    Widget::OnMouseUp(e);
}

} // namespace GUI
