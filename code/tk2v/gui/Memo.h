#pragma once
#include "tk2v/gui/Editbox.h"
#include "tk2v/gui/History.h"
#include "tk2v/gui/MemberSubscriptions.h"

#include <memory>
#include <string>
#include <vector>

namespace GUI {

class Scrollbar;

// The multi-line text editor: an edit box whose text holds line breaks, laid out in lines wrapped
// at the widget's width, with the caret moving between lines, two optional child scrollbars (named
// after the memo with "_auto_hscroll" and "_auto_vscroll"), the mouse wheel, and an optional undo
// history driven by Ctrl+Z and Ctrl+Y.
class Memo : public Editbox {
public:
    // A laid-out line: the text's units [first, end), its line break included.
    struct Line {
        u32 first = 0, end = 0;
        std::wstring text;
    };

    explicit Memo(const std::string& name);
    ~Memo() override;

    void MakeFromScript() override;
    const char* GetTypeName() const override { return "Memo"; }
    bool IsA(const std::string& typeName) const override;
    void Initialize() override;
    void DrawSelf() override;
    void UpdateSelf(f32 dt) override;
    void OnMouseWheel(MouseEventArgs& e) override;
    void OnKeyDown(KeybEventArgs& e) override;
    void OnTextChanged(WidgetEventArgs& e) override;
    void OnFontChanged(WidgetEventArgs& e) override;
    void OnSized(WidgetEventArgs& e) override;
    void SetCursorPos(u32 index) override;
    bool InsertChar(u16 c) override;
    void EraseText(u32 index, u32 count) override;
    void PasteFromClipboard() override;
    void CursorHome(u32 modifiers) override;
    void CursorEnd(u32 modifiers) override;
    virtual bool OnHorzScroll(const EventArgs& e);
    virtual bool OnVertScroll(const EventArgs& e);

    // Above 0: a history of that capacity (at most 65535), made when there is none; else none.
    void SetHistorySize(i32 size);
    History* GetHistory() const { return m_history.get(); }
    // The line holding the index (the end of the last line counts as inside it); -1 when none.
    i32 LineOf(u32 index) const;
    // The caret `delta` lines up or down, keeping its column where the line allows.
    void MoveLines(u32 modifiers, i32 delta);
    // Only with a font of the memo's own; fires "RebuildLayout".
    void RebuildLayout();

    const std::vector<Line>& GetLines() const { return m_lines; }
    f32 GetContentHeight() const { return m_contentHeight; }
    f32 GetWidestLine() const { return m_widestLine; }
    bool GetWordWrap() const { return m_wordWrap; }
    void SetWordWrap(bool wrap);
    f32 GetLineSpacing() const { return m_lineSpacing; }
    void SetLineSpacing(f32 spacing);
    // The font's line height at the memo's own size, plus the line spacing.
    f32 LineHeight() const;
    Scrollbar* GetHorizontalScrollbar() const { return m_hscroll; }
    Scrollbar* GetVerticalScrollbar() const { return m_vscroll; }

private:
    friend class HistoryInsertTextEvent;

    // The font's line height at the memo's own size; 0 without a font of its own.
    f32 FontLineHeight() const;
    bool HasGlyph(const aFont& font, wchar_t unit) const;
    // Clears the dirty mark and rebuilds.
    void LayOut();
    void LayOutIfDirty();
    // Takes the units without a glyph out of the text, moving the caret and the selection with it.
    void DropGlyphless(const aFont& font);
    void BreakLines(const aFont& font);
    void ConfigureScrollbar(Scrollbar* scrollbar, f32 size);
    void EnsureLineVisible(i32 line);
    void EnsureCaretVisibleHorizontally(u32 caret);
    void ScrollVertically(f32 delta);
    Scrollbar* AdoptScrollbar(const char* suffix, bool (Memo::*onScroll)(const EventArgs&), f32 pageSize);
    void DrawLines(aFont& font, f32 screenX, f32 screenY);
    void DrawSelection(aFont& font, const Line& line, f32 x, f32 y);
    void DrawCaret(aFont& font, f32 x, f32 y);

    std::vector<Line> m_lines;
    f32 m_contentHeight = 0;
    f32 m_widestLine = 0;
    bool m_layoutDirty = false;
    f32 m_horizontalPosition = 0;
    f32 m_verticalPosition = 0;
    Scrollbar* m_hscroll = nullptr;
    Scrollbar* m_vscroll = nullptr;
    bool m_wordWrap = true;
    f32 m_lineSpacing = 0;
    std::unique_ptr<History> m_history;

    Property m_propLineSpacing, m_propWordWrap, m_propHistorySize;
    MemberSubscriptions m_subscriptions;
};

} // namespace GUI
