#pragma once
#include "tk2v/gui/ColorF.h"
#include "tk2v/gui/Widget.h"

#include <bitset>
#include <string>

class aFont;

namespace GUI {

// The colour as 0xAARRGGBB, its alpha multiplied by `alpha` first.
u32 ColorToArgb(const ColorF& color, f32 alpha);

// The single-line text entry: a caret and a selection in the widget's text, typed characters
// filtered by a character set and a case rule, a limit by count or by the widget's width, sideways
// scrolling that keeps the caret in view, a blinking caret drawn as a glyph of the font, and copy,
// cut and paste.
class Editbox : public Widget {
public:
    enum CharCase : i32 { CASE_UPPER = 0, CASE_LOWER = 1, CASE_UNCHANGED = 2 };
    // Scan codes of the keys the text widgets act on.
    enum Key : u32 {
        KEY_BACK = 0x0E,
        KEY_Y = 0x15,
        KEY_ENTER = 0x1C,
        KEY_A = 0x1E,
        KEY_Z = 0x2C,
        KEY_X = 0x2D,
        KEY_C = 0x2E,
        KEY_V = 0x2F,
        KEY_HOME = 0xC7,
        KEY_UP = 0xC8,
        KEY_PAGEUP = 0xC9,
        KEY_LEFT = 0xCB,
        KEY_RIGHT = 0xCD,
        KEY_END = 0xCF,
        KEY_DOWN = 0xD0,
        KEY_PAGEDOWN = 0xD1,
        KEY_DELETE = 0xD3,
    };

    explicit Editbox(const std::string& name);

    void MakeFromScript() override;
    const char* GetTypeName() const override { return "Editbox"; }
    bool IsA(const std::string& typeName) const override;
    void DrawSelf() override;
    void UpdateSelf(f32 dt) override;
    bool CanFocus() const override { return true; }
    void OnFocusGain(WidgetEventArgs& e) override;
    void OnKeyDown(KeybEventArgs& e) override;
    // Keeps the caret and the selection inside a text that was set from outside.
    void OnTextChanged(WidgetEventArgs& e) override;

    // The caret to min(index, length); "PositionChanged" when it moved. The selection stays.
    virtual void SetCursorPos(u32 index);
    // False when the limit refuses the character; true when it was inserted or the filter dropped it.
    virtual bool InsertChar(u16 c);
    // Removes the units without an event; the callers fire "TextChanged".
    virtual void EraseText(u32 index, u32 count);
    // Inserts the clipboard's units in order up to the first one refused.
    virtual void PasteFromClipboard();
    virtual void CursorHome(u32 modifiers);
    virtual void CursorEnd(u32 modifiers);
    virtual void OnPositionChanged(WidgetEventArgs& e);
    virtual void OnEditboxFull(WidgetEventArgs& e);

    // [min(a, b), max(a, b)).
    void SetSelection(u32 a, u32 b);
    // The character after the case rule, or 0 when the character set refuses it.
    u16 FilterChar(u16 c) const;
    void DeleteSelection();
    void CursorLeft(u32 modifiers);
    void CursorRight(u32 modifiers);
    void Backspace(u32 modifiers);
    void DeleteForward(u32 modifiers);

    u32 GetCursorPos() const { return m_caret; }
    u32 GetSelectionStart() const { return m_selStart; }
    u32 GetSelectionEnd() const { return m_selEnd; }
    f32 GetScrollOffset() const { return m_scrollOffset; }
    bool IsCursorVisible() const { return m_cursorVisible; }
    u32 GetMaxLength() const { return m_maxLength; }
    void SetMaxLength(u32 length) { m_maxLength = length; }
    bool GetAllowCopyPaste() const { return m_allowCopyPaste; }
    void SetAllowCopyPaste(bool allow) { m_allowCopyPaste = allow; }
    bool GetAllowCyrillic() const { return m_allowCyrillic; }
    void SetAllowCyrillic(bool allow) { m_allowCyrillic = allow; }
    i32 GetCharCase() const { return m_charCase; }
    void SetCharCase(i32 charCase) { m_charCase = charCase; }
    // Exactly the codes of the text's bytes become allowed.
    void SetCharset(const std::string& codes);

protected:
    // The own font at the own size, or null: the text widgets never use inherited ones.
    aFont* ScaledOwnFont() const;
    // The caret to the target, then the selection: collapsed without Shift, else from the anchor.
    void MoveCaret(u32 target, u32 modifiers);
    // Where Ctrl+Left and Ctrl+Right go from the caret.
    u32 WordLeft() const;
    u32 WordRight() const;
    // The key's own action; false for a key that types.
    bool HandleEditKey(KeybEventArgs& e);
    void TypeCharacter(KeybEventArgs& e);
    void KeepCaretInView();
    void FireTextChanged();
    // The text colour for the enabled state, with the effective alpha.
    u32 TextColor() const;
    void ClampToText();

    char m_cursorChar = '|';
    ColorF m_normalTextColor;
    ColorF m_disabledTextColor{128 / 255.0f, 128 / 255.0f, 128 / 255.0f, 1};
    ColorF m_cursorColor;
    ColorF m_selectionColor{0, 0, 1, 128 / 255.0f};
    bool m_centered = false;
    u32 m_maxLength = 0;
    u32 m_caret = 0;
    f32 m_cursorOnTime = 0.7f;
    f32 m_cursorOffTime = 0.7f;
    f32 m_blinkTimer = 0;
    bool m_cursorVisible = false;
    std::bitset<256> m_charset;
    i32 m_charCase = CASE_UNCHANGED;
    u32 m_selStart = 0, m_selEnd = 0;
    bool m_allowCopyPaste = false;
    f32 m_scrollOffset = 0;
    u32 m_textDrawFlags = 16;
    bool m_allowCyrillic = false;

    struct Properties {
        Property centered, maxLength, charset, charCase, normalTextColor, disabledTextColor, cursorOnTime,
            cursorOffTime, cursorChar, cursorColor, selectionColor, allowCopyPaste, forceIntXY, allowCyrillic;
    } m_editProps;
};

} // namespace GUI
