#include "tk2v/gui/Editbox.h"
#include "tk2v/gfx/aApplication.h"
#include "tk2v/gfx/aFont.h"
#include "tk2v/gfx/aGDI.h"
#include "tk2v/gfx/aGraphServer.h"
#include "tk2v/gui/TextEntry.h"
#include "tk2v/util/str.h"

#include <algorithm>
#include <cmath>

namespace GUI {

Editbox::Editbox(const std::string& name) : Widget(name) {
    for (u32 c = 32; c <= 127; ++c)
        m_charset.set(c);
    for (u32 c = 192; c <= 253; ++c)
        m_charset.set(c);
    AddProperty("Centered", &m_editProps.centered);
    AddProperty("MaxLength", &m_editProps.maxLength);
    AddProperty("Charset", &m_editProps.charset);
    AddProperty("CharCase", &m_editProps.charCase);
    AddProperty("NormalTextColor", &m_editProps.normalTextColor);
    AddProperty("DisabledTextColor", &m_editProps.disabledTextColor);
    AddProperty("CursorOnTime", &m_editProps.cursorOnTime);
    AddProperty("CursorOffTime", &m_editProps.cursorOffTime);
    AddProperty("CursorChar", &m_editProps.cursorChar);
    AddProperty("CursorColor", &m_editProps.cursorColor);
    AddProperty("SelectionColor", &m_editProps.selectionColor);
    AddProperty("AllowCopyPaste", &m_editProps.allowCopyPaste);
    AddProperty("ForceIntXY", &m_editProps.forceIntXY);
    AddProperty("AllowCyrillic", &m_editProps.allowCyrillic);
    AddEvent("PositionChanged");
    AddEvent("EditboxFull");
}

void Editbox::MakeFromScript() {
    Widget::MakeFromScript();
    const Properties& p = m_editProps;
    if (p.maxLength.changed)
        m_maxLength = u32(ParseInt(p.maxLength.value));
    if (p.cursorOnTime.changed)
        m_cursorOnTime = ParseFloat(p.cursorOnTime.value);
    if (p.cursorOffTime.changed)
        m_cursorOffTime = ParseFloat(p.cursorOffTime.value);
    if (p.cursorChar.changed)
        m_cursorChar = p.cursorChar.value.empty() ? '\0' : p.cursorChar.value[0];
    if (p.cursorColor.changed)
        m_cursorColor = ColorF::FromARGB(ParseColor(p.cursorColor.value));
    if (p.charset.changed)
        SetCharset(p.charset.value);
    if (p.charCase.changed)
        m_charCase = NoCaseEqual(p.charCase.value, "upper")   ? CASE_UPPER
                     : NoCaseEqual(p.charCase.value, "lower") ? CASE_LOWER
                                                              : CASE_UNCHANGED;
    if (p.normalTextColor.changed)
        m_normalTextColor = ColorF::FromARGB(ParseColor(p.normalTextColor.value));
    if (p.disabledTextColor.changed)
        m_disabledTextColor = ColorF::FromARGB(ParseColor(p.disabledTextColor.value));
    if (p.centered.changed)
        m_centered = ParseBool(p.centered.value);
    if (p.selectionColor.changed)
        m_selectionColor = ColorF::FromARGB(ParseColor(p.selectionColor.value));
    if (p.allowCopyPaste.changed)
        m_allowCopyPaste = ParseBool(p.allowCopyPaste.value);
    if (p.forceIntXY.changed)
        m_textDrawFlags = ParseBool(p.forceIntXY.value) ? u32(aFont::PRINT_SNAP) : 0u;
    if (p.allowCyrillic.changed)
        m_allowCyrillic = ParseBool(p.allowCyrillic.value);
}

bool Editbox::IsA(const std::string& typeName) const {
    return typeName == "Editbox";
}

void Editbox::SetCharset(const std::string& codes) {
    m_charset.reset();
    for (const char c : codes)
        m_charset.set(u8(c));
}

aFont* Editbox::ScaledOwnFont() const {
    aFont* font = GetFont(true);
    if (font)
        font->setScale(GetFontSize(true));
    return font;
}

void Editbox::SetCursorPos(u32 index) {
    const u32 caret = std::min<u32>(index, u32(m_text.size()));
    if (caret == m_caret)
        return;
    m_caret = caret;
    WidgetEventArgs e(this);
    OnPositionChanged(e);
}

void Editbox::SetSelection(u32 a, u32 b) {
    m_selStart = std::min(a, b);
    m_selEnd = std::max(a, b);
}

u16 Editbox::FilterChar(u16 c) const {
    const u16 lower = c | 0x20;
    if ((lower >= 'a' && lower <= 'z') || (lower >= 0x430 && lower <= 0x44F)) {
        if (m_charCase == CASE_UPPER)
            c = u16(c & ~0x20);
        else if (m_charCase == CASE_LOWER)
            c = lower;
    }
    return c > 255 || m_charset.test(c) ? c : 0;
}

bool Editbox::InsertChar(u16 c) {
    c = FilterChar(c);
    if (c == 0)
        return true;
    if (m_maxLength == 0) {
        if (aFont* font = ScaledOwnFont()) {
            std::wstring probe = m_text;
            probe += wchar_t(u8(m_cursorChar));
            probe += wchar_t(c);
            if (f32(m_area.w) < font->getTextSizeW(probe).width)
                return false;
        }
    } else if (m_text.size() >= m_maxLength) {
        return false;
    }
    DeleteSelection();
    m_text.insert(m_caret, 1, wchar_t(c));
    FireTextChanged();
    SetCursorPos(m_caret + 1);
    SetSelection(m_caret, m_caret);
    return true;
}

void Editbox::EraseText(u32 index, u32 count) {
    if (index < m_text.size())
        m_text.erase(index, count);
}

void Editbox::DeleteSelection() {
    if (m_selStart == m_selEnd)
        return;
    const u32 start = m_selStart;
    EraseText(start, m_selEnd - start);
    m_selEnd = start;
    SetCursorPos(start);
    FireTextChanged();
}

void Editbox::PasteFromClipboard() {
    for (const wchar_t unit : GetClipboardText())
        if (!InsertChar(u16(unit)))
            return;
}

void Editbox::MoveCaret(u32 target, u32 modifiers) {
    const u32 anchor = m_caret == m_selStart ? m_selEnd : m_selStart;
    SetCursorPos(target);
    if (modifiers & MOD_SHIFT)
        SetSelection(anchor, m_caret);
    else
        SetSelection(m_caret, m_caret);
}

u32 Editbox::WordLeft() const {
    if (m_caret == 0)
        return 0;
    const size_t space = m_text.rfind(L' ', m_caret - 1);
    return space == std::wstring::npos ? 0 : u32(space + 1);
}

u32 Editbox::WordRight() const {
    const size_t space = m_text.find(L' ', m_caret);
    if (space == std::wstring::npos)
        return u32(m_text.size());
    const size_t word = m_text.find_first_not_of(L' ', space);
    return word == std::wstring::npos ? u32(m_text.size()) : u32(word);
}

void Editbox::CursorLeft(u32 modifiers) {
    if (m_caret == 0)
        return;
    MoveCaret(modifiers & MOD_CTRL ? WordLeft() : m_caret - 1, modifiers);
}

void Editbox::CursorRight(u32 modifiers) {
    MoveCaret(modifiers & MOD_CTRL ? WordRight() : m_caret + 1, modifiers);
}

void Editbox::CursorHome(u32 modifiers) {
    MoveCaret(0, modifiers);
}

void Editbox::CursorEnd(u32 modifiers) {
    MoveCaret(u32(m_text.size()), modifiers);
}

void Editbox::Backspace(u32 modifiers) {
    if (m_selStart != m_selEnd)
        return DeleteSelection();
    if (m_caret == 0)
        return;
    const u32 count = modifiers & MOD_CTRL ? m_caret - WordLeft() : 1;
    const u32 caret = m_caret - count;
    SetCursorPos(caret);
    SetSelection(caret, caret);
    EraseText(caret, count);
    FireTextChanged();
}

void Editbox::DeleteForward(u32 modifiers) {
    if (m_selStart != m_selEnd)
        return DeleteSelection();
    if (m_caret >= m_text.size())
        return;
    const u32 count = modifiers & MOD_CTRL ? WordRight() - m_caret : 1;
    EraseText(m_caret, count);
    FireTextChanged();
}

void Editbox::FireTextChanged() {
    WidgetEventArgs e(this);
    OnTextChanged(e);
}

void Editbox::ClampToText() {
    const u32 length = u32(m_text.size());
    m_caret = std::min(m_caret, length);
    m_selStart = std::min(m_selStart, length);
    m_selEnd = std::min(m_selEnd, length);
}

void Editbox::OnTextChanged(WidgetEventArgs& e) {
    ClampToText();
    Widget::OnTextChanged(e);
}

bool Editbox::HandleEditKey(KeybEventArgs& e) {
    const u32 mods = e.modifiers;
    const bool clipboardKey = (mods & MOD_CTRL) && m_allowCopyPaste;
    switch (e.key) {
    case KEY_BACK:
        Backspace(mods);
        return true;
    case KEY_DELETE:
        DeleteForward(mods);
        return true;
    case KEY_LEFT:
        CursorLeft(mods);
        return true;
    case KEY_RIGHT:
        CursorRight(mods);
        return true;
    case KEY_HOME:
        CursorHome(mods);
        return true;
    case KEY_END:
        CursorEnd(mods);
        return true;
    case KEY_A:
        if (!clipboardKey)
            return false;
        SetSelection(0, u32(m_text.size()));
        SetCursorPos(u32(m_text.size()));
        return true;
    case KEY_C:
    case KEY_X:
        if (!clipboardKey)
            return false;
        CopyTextToClipboard(m_text.substr(m_selStart, m_selEnd - m_selStart));
        if (e.key == KEY_X)
            DeleteForward(mods);
        return true;
    case KEY_V:
        if (!clipboardKey)
            return false;
        PasteFromClipboard();
        return true;
    default:
        return false;
    }
}

void Editbox::TypeCharacter(KeybEventArgs& e) {
    if (m_allowCyrillic)
        e.character = MapKeyToCyrillic(e.character);
    const std::wstring wide = str_toWString(std::string(1, char(e.character)));
    InsertChar(u16(wide[0]));
}

void Editbox::KeepCaretInView() {
    aFont* font = ScaledOwnFont();
    if (!font)
        return;
    const f32 cursor = font->getTextSize(std::string(1, m_cursorChar)).width;
    const f32 x = font->getTextSizeW(std::wstring_view(m_text).substr(0, m_caret)).width;
    if (x + m_scrollOffset + cursor > f32(m_area.w))
        m_scrollOffset = f32(m_area.w) - x - cursor;
    else if (x + m_scrollOffset < 0)
        m_scrollOffset = -x;
}

void Editbox::OnKeyDown(KeybEventArgs& e) {
    ClampToText();
    if (!HandleEditKey(e))
        TypeCharacter(e);
    m_blinkTimer = 0;
    KeepCaretInView();
    Widget::OnKeyDown(e);
}

void Editbox::UpdateSelf(f32 dt) {
    if (m_focused) {
        const f32 period = m_cursorOnTime + m_cursorOffTime;
        // A script's zero or broken times leave the caret shown rather than the timer at NaN.
        m_blinkTimer = period > 0 ? std::fmod(m_blinkTimer + dt, period) : 0;
        m_cursorVisible = !(period > 0) || m_blinkTimer < m_cursorOnTime;
    }
    Widget::UpdateSelf(dt);
}

void Editbox::OnFocusGain(WidgetEventArgs& e) {
    if (m_allowCopyPaste)
        SetSelection(0, u32(m_text.size()));
    else
        SetSelection(u32(m_text.size()), u32(m_text.size()));
    m_blinkTimer = 0;
    m_cursorVisible = true;
    SetCursorPos(u32(m_text.size()));
    Widget::OnFocusGain(e);
}

void Editbox::OnPositionChanged(WidgetEventArgs& e) {
    LaunchEvent("PositionChanged", e);
}

void Editbox::OnEditboxFull(WidgetEventArgs& e) {
    LaunchEvent("EditboxFull", e);
}

u32 Editbox::Effective(const ColorF& color) const {
    return PackColor(color.r, color.g, color.b, color.a * GetAlpha());
}

u32 Editbox::TextColor() const {
    return Effective(IsEnabled() ? m_normalTextColor : m_disabledTextColor);
}

void Editbox::DrawSelf() {
    aFont* font = ScaledOwnFont();
    aGraphServer* graph = aApplication::graphServer();
    if (!font || !graph)
        return;
    const aRect previous = graph->getViewport();
    const aRect screen{i16(GetScreenX()), i16(GetScreenY()), m_area.w, m_area.h};
    aRect clip;
    graph->setViewport(screen.intersect(clip, previous));

    const f32 textWidth = font->getTextSizeW(m_text).width;
    const f32 x = m_centered && m_scrollOffset == 0 ? (f32(m_area.w) - textWidth) * 0.5f : m_scrollOffset;
    const f32 drawX = std::trunc(f32(screen.x) + x), drawY = f32(screen.y);
    const std::wstring_view text(m_text);
    const bool live = m_focused && IsEnabled();
    if (m_allowCopyPaste && m_selStart != m_selEnd && live) {
        aGDI gdi;
        gdi.color = Effective(m_selectionColor);
        gdi.drawRect(drawX + font->getTextSizeW(text.substr(0, m_selStart)).width, drawY,
                     font->getTextSizeW(text.substr(m_selStart, m_selEnd - m_selStart)).width,
                     font->getHeight() * font->getScale(), true);
    }
    font->color = TextColor();
    font->printW(drawX, drawY, m_text, m_textDrawFlags);
    if (live && m_cursorVisible) {
        font->color = Effective(m_cursorColor);
        font->print(drawX + font->getTextSizeW(text.substr(0, m_caret)).width, drawY,
                    std::string(1, m_cursorChar), m_textDrawFlags);
    }
    graph->setViewport(previous);
}

} // namespace GUI
