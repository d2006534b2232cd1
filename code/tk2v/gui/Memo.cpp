#include "tk2v/gui/Memo.h"
#include "tk2v/gfx/aApplication.h"
#include "tk2v/gfx/aFont.h"
#include "tk2v/gfx/aGDI.h"
#include "tk2v/gfx/aGraphServer.h"
#include "tk2v/gui/HistoryInsertTextEvent.h"
#include "tk2v/gui/Scrollbar.h"
#include "tk2v/gui/TextEntry.h"

#include <algorithm>
#include <cmath>

namespace GUI {
namespace {

constexpr wchar_t kLineBreak = 10;

} // namespace

Memo::Memo(const std::string& name) : Editbox(name) {
    AddProperty("LineSpacing", &m_propLineSpacing);
    AddProperty("WordWrap", &m_propWordWrap);
    AddProperty("HistorySize", &m_propHistorySize);
    AddEvent("RebuildLayout");
}

Memo::~Memo() = default;

void Memo::MakeFromScript() {
    Editbox::MakeFromScript();
    if (m_propLineSpacing.changed)
        SetLineSpacing(ParseFloat(m_propLineSpacing.value));
    if (m_propWordWrap.changed)
        SetWordWrap(ParseBool(m_propWordWrap.value));
    if (m_propHistorySize.changed)
        SetHistorySize(ParseInt(m_propHistorySize.value));
}

bool Memo::IsA(const std::string& typeName) const {
    return typeName == "Memo" || typeName == "Editbox";
}

void Memo::SetWordWrap(bool wrap) {
    if (wrap == m_wordWrap)
        return;
    m_wordWrap = wrap;
    m_layoutDirty = true;
}

void Memo::SetLineSpacing(f32 spacing) {
    if (spacing == m_lineSpacing)
        return;
    m_lineSpacing = spacing;
    m_layoutDirty = true;
}

void Memo::SetHistorySize(i32 size) {
    if (size <= 0) {
        m_history.reset();
        return;
    }
    if (!m_history)
        m_history = std::make_unique<History>();
    m_history->SetCapacity(u16(std::min<i32>(size, 0xFFFF)));
}

Scrollbar* Memo::AdoptScrollbar(const char* suffix, bool (Memo::*onScroll)(const EventArgs&), f32 pageSize) {
    Scrollbar* scrollbar = dynamic_cast<Scrollbar*>(FindChild(GetName() + suffix, true));
    if (!scrollbar)
        return nullptr;
    scrollbar->SetParent(this);
    m_subscriptions.Add(*scrollbar, "PositionChanged", this, onScroll);
    scrollbar->SetPageSize(pageSize);
    return scrollbar;
}

void Memo::Initialize() {
    Editbox::Initialize();
    m_subscriptions.Clear();
    m_hscroll = AdoptScrollbar("_auto_hscroll", &Memo::OnHorzScroll, f32(m_area.w));
    m_vscroll = AdoptScrollbar("_auto_vscroll", &Memo::OnVertScroll, f32(m_area.h));
}

f32 Memo::FontLineHeight() const {
    const aFont* font = GetFont(true);
    return font ? font->getHeight() * GetFontSize(true) : 0;
}

f32 Memo::LineHeight() const {
    return FontLineHeight() + m_lineSpacing;
}

bool Memo::HasGlyph(const aFont& font, wchar_t unit) const {
    return unit == kLineBreak || font.getGlyphRect(u32(unit)).w > 0;
}

i32 Memo::LineOf(u32 index) const {
    if (m_lines.empty())
        return -1;
    if (index == m_lines.back().end)
        return i32(m_lines.size() - 1);
    const auto it = std::upper_bound(m_lines.begin(), m_lines.end(), index,
                                     [](u32 i, const Line& line) { return i < line.first; });
    if (it == m_lines.begin())
        return -1;
    const Line& line = *(it - 1);
    return index < line.end ? i32(it - 1 - m_lines.begin()) : -1;
}

void Memo::LayOut() {
    m_layoutDirty = false;
    RebuildLayout();
}

void Memo::LayOutIfDirty() {
    if (m_layoutDirty)
        LayOut();
}

void Memo::DropGlyphless(const aFont& font) {
    u32 kept = 0, caret = m_caret, selStart = m_selStart, selEnd = m_selEnd;
    for (u32 i = 0; i < m_text.size(); ++i) {
        if (HasGlyph(font, m_text[i])) {
            m_text[kept++] = m_text[i];
            continue;
        }
        caret -= i < m_caret;
        selStart -= i < m_selStart;
        selEnd -= i < m_selEnd;
    }
    m_text.resize(kept);
    m_caret = caret;
    SetSelection(selStart, selEnd);
}

// Lines end after a line break, or before the unit that would reach the widget's width; a word cut
// that way moves to the next line whole unless it began the line. Every line takes at least one
// unit, so a unit wider than the widget stands on a line of its own.
void Memo::BreakLines(const aFont& font) {
    const u32 length = u32(m_text.size());
    const f32 width = f32(m_area.w);
    u32 i = 0;
    while (i < length) {
        Line line{i, i, {}};
        f32 lineWidth = 0;
        u32 space = length;
        while (i < length) {
            const wchar_t c = m_text[i];
            if (c == kLineBreak) {
                ++i;
                break;
            }
            if (c == L' ')
                space = i;
            const f32 advance = f32(font.getGlyphRect(u32(c)).w);
            if (m_wordWrap && advance + lineWidth >= width && i > line.first) {
                if (space < length && space + 1 < i)
                    i = space + 1;
                break;
            }
            ++i;
            lineWidth += advance;
        }
        line.end = i;
        line.text = m_text.substr(line.first, i - line.first);
        m_widestLine = std::max(m_widestLine, font.getTextSizeW(line.text).width);
        m_lines.push_back(std::move(line));
    }
    if (length > 0 && m_text.back() == kLineBreak)
        m_lines.push_back({length, length + 1, {}});
}

void Memo::RebuildLayout() {
    aFont* font = ScaledOwnFont();
    if (!font)
        return;
    DropGlyphless(*font);
    m_widestLine = 0;
    m_lines.clear();
    BreakLines(*font);
    m_contentHeight = m_lines.empty() ? 0 : f32(m_lines.size() + 1) * LineHeight();
    ConfigureScrollbar(m_hscroll, m_widestLine + FontLineHeight());
    ConfigureScrollbar(m_vscroll, m_contentHeight);
    WidgetEventArgs e(this);
    LaunchEvent("RebuildLayout", e);
}

void Memo::ConfigureScrollbar(Scrollbar* scrollbar, f32 size) {
    if (!scrollbar || size == scrollbar->GetDocumentSize())
        return;
    f32 position = scrollbar->GetPosition();
    if (scrollbar->GetDocumentSize() != 0 && !m_lines.empty() && LineOf(m_caret) == i32(m_lines.size() - 1))
        position = size;
    scrollbar->SetDocumentSize(size);
    scrollbar->SetPosition(position);
}

void Memo::EnsureLineVisible(i32 line) {
    if (!m_vscroll || !m_vscroll->IsVisible(true) || line < 0 || line >= i32(m_lines.size()))
        return;
    const f32 lineHeight = LineHeight();
    const f32 top = f32(line) * lineHeight;
    const f32 relative = top - m_vscroll->GetPosition();
    if (relative < 0)
        m_vscroll->SetPosition(top);
    else if (relative >= f32(m_area.h) - lineHeight)
        m_vscroll->SetPosition(top + 2 * lineHeight - f32(m_area.h));
}

void Memo::EnsureCaretVisibleHorizontally(u32 caret) {
    const i32 lineIndex = LineOf(caret);
    aFont* font = ScaledOwnFont();
    if (!m_hscroll || !m_hscroll->IsVisible(true) || lineIndex < 0 || !font)
        return;
    const Line& line = m_lines[size_t(lineIndex)];
    const u32 end = std::min<u32>({caret, line.end, u32(m_text.size())});
    const f32 x = font->getTextSizeW(std::wstring_view(m_text).substr(line.first, end - line.first)).width;
    const f32 relative = x - m_hscroll->GetPosition();
    const f32 fontLine = FontLineHeight();
    if (relative < 0)
        m_hscroll->SetPosition(x);
    else if (relative >= f32(m_area.w) - fontLine)
        m_hscroll->SetPosition(x - m_hscroll->GetPageSize() + fontLine);
}

void Memo::SetCursorPos(u32 index) {
    Editbox::SetCursorPos(index);
    LayOutIfDirty();
    const i32 line = LineOf(m_caret);
    if (line >= 0) {
        EnsureLineVisible(line);
        EnsureCaretVisibleHorizontally(m_caret);
    }
}

bool Memo::InsertChar(u16 c) {
    if (c != kLineBreak) {
        c = FilterChar(c);
        const aFont* font = GetFont(true);
        // A unit the layout would drop is not inserted, so no undo record points past the text.
        if (c == 0 || (font && !HasGlyph(*font, wchar_t(c))))
            return true;
    }
    if (m_maxLength > 0 && m_text.size() >= m_maxLength)
        return false;
    DeleteSelection();
    m_text.insert(m_caret, 1, wchar_t(c));
    if (m_history)
        m_history->Push(
            std::make_unique<HistoryInsertTextEvent>(this, m_caret, std::wstring(1, wchar_t(c)), false));
    FireTextChanged();
    SetCursorPos(m_caret + 1);
    SetSelection(m_caret, m_caret);
    m_layoutDirty = true;
    return true;
}

void Memo::EraseText(u32 index, u32 count) {
    if (!m_history)
        return Editbox::EraseText(index, count);
    index = std::min<u32>(index, u32(m_text.size()));
    auto record =
        std::make_unique<HistoryInsertTextEvent>(this, index, m_text.substr(index, count), count > 1);
    record->Toggle();
    m_history->Push(std::move(record));
}

// The whole clipboard text goes in at once: units the layout would drop are left out first, the
// rest pass the filter and the length limit, then one insertion, one layout and one record.
void Memo::PasteFromClipboard() {
    DeleteSelection();
    const u32 position = m_caret;
    const aFont* font = GetFont(true);
    std::wstring inserted;
    for (const wchar_t unit : GetClipboardText()) {
        if (font && !HasGlyph(*font, unit))
            continue;
        const u16 c = unit == kLineBreak ? u16(kLineBreak) : FilterChar(u16(unit));
        if (c == 0)
            continue;
        if (m_maxLength > 0 && m_text.size() + inserted.size() >= m_maxLength)
            break;
        inserted += wchar_t(c);
    }
    m_text.insert(position, inserted);
    if (m_history)
        m_history->Push(std::make_unique<HistoryInsertTextEvent>(this, position, inserted, true));
    FireTextChanged();
    const u32 end = position + u32(inserted.size());
    SetCursorPos(end);
    SetSelection(end, end);
}

void Memo::CursorHome(u32 modifiers) {
    const i32 line = LineOf(m_caret);
    MoveCaret(line < 0 ? 0 : m_lines[size_t(line)].first, modifiers);
}

void Memo::CursorEnd(u32 modifiers) {
    const i32 line = LineOf(m_caret);
    const bool last = line < 0 || line == i32(m_lines.size() - 1);
    MoveCaret(last ? u32(m_text.size()) : m_lines[size_t(line)].end - 1, modifiers);
}

void Memo::MoveLines(u32 modifiers, i32 delta) {
    if (m_text.empty() || m_lines.empty())
        return;
    const i32 current = std::max(LineOf(m_caret), 0);
    const i32 target = std::clamp(current + delta, 0, i32(m_lines.size()) - 1);
    if (target == current)
        return;
    const u32 column = m_caret - m_lines[size_t(current)].first;
    const Line& line = m_lines[size_t(target)];
    MoveCaret(line.first + column < line.end - 1 ? line.first + column : line.end - 1, modifiers);
}

void Memo::ScrollVertically(f32 delta) {
    if (m_vscroll)
        m_vscroll->SetPosition(m_vscroll->GetPosition() + delta);
}

void Memo::OnKeyDown(KeybEventArgs& e) {
    LayOutIfDirty();
    const bool ctrl = e.modifiers & MOD_CTRL;
    const f32 lineHeight = LineHeight();
    // Whole lines a page holds; none without a line height.
    const i32 page = lineHeight > 0 ? i32(std::min(f32(m_area.h) / lineHeight, 1e6f)) : 0;
    switch (e.key) {
    case KEY_BACK:
    case KEY_C:
    case KEY_V:
    case KEY_DELETE:
        m_layoutDirty = true;
        break;
    case KEY_Y:
    case KEY_Z:
        if (ctrl && m_history) {
            if (e.key == KEY_Z)
                m_history->Undo();
            else
                m_history->Redo();
            return Widget::OnKeyDown(e);
        }
        break;
    case KEY_ENTER:
        InsertChar(u16(kLineBreak));
        break;
    case KEY_HOME:
        if (ctrl)
            Editbox::CursorHome(e.modifiers);
        break;
    case KEY_END:
        if (ctrl)
            Editbox::CursorEnd(e.modifiers);
        break;
    case KEY_UP:
        if (ctrl)
            ScrollVertically(lineHeight); // scrolls down, as it always did
        else
            MoveLines(e.modifiers, -1);
        break;
    case KEY_DOWN:
        if (ctrl)
            ScrollVertically(-lineHeight);
        else
            MoveLines(e.modifiers, 1);
        break;
    case KEY_PAGEUP:
        MoveLines(e.modifiers, -page);
        break;
    case KEY_PAGEDOWN:
        MoveLines(e.modifiers, page);
        break;
    default:
        break;
    }
    Editbox::OnKeyDown(e);
}

void Memo::OnMouseWheel(MouseEventArgs& e) {
    if (e.wheel > 0)
        ScrollVertically(-LineHeight());
    else if (e.wheel < 0)
        ScrollVertically(LineHeight());
    Widget::OnMouseWheel(e);
}

void Memo::OnTextChanged(WidgetEventArgs& e) {
    m_layoutDirty = true;
    Editbox::OnTextChanged(e);
}

void Memo::OnFontChanged(WidgetEventArgs& e) {
    m_layoutDirty = true;
    Editbox::OnFontChanged(e);
}

void Memo::OnSized(WidgetEventArgs& e) {
    m_layoutDirty = true;
    if (m_hscroll)
        m_hscroll->SetPageSize(f32(m_area.w));
    if (m_vscroll)
        m_vscroll->SetPageSize(f32(m_area.h));
    Editbox::OnSized(e);
}

void Memo::UpdateSelf(f32 dt) {
    LayOutIfDirty();
    Editbox::UpdateSelf(dt);
}

bool Memo::OnHorzScroll(const EventArgs&) {
    m_horizontalPosition = std::max(m_hscroll->GetPosition(), 0.0f);
    if (m_hscroll->GetPosition() < 0)
        m_hscroll->SetPosition(0);
    return true;
}

bool Memo::OnVertScroll(const EventArgs&) {
    m_verticalPosition = std::max(m_vscroll->GetPosition(), 0.0f);
    if (m_vscroll->GetPosition() < 0)
        m_vscroll->SetPosition(0);
    return true;
}

void Memo::DrawSelection(aFont& font, const Line& line, f32 x, f32 y) {
    const u32 start = std::max(m_selStart, line.first), end = std::min(m_selEnd, line.end);
    if (start >= end)
        return;
    const std::wstring_view text(line.text);
    const u32 from = std::min<u32>(start - line.first, u32(text.size()));
    const u32 to = std::min<u32>(end - line.first, u32(text.size()));
    aGDI gdi;
    gdi.color = Effective(m_selectionColor);
    gdi.drawRect(x + font.getTextSizeW(text.substr(0, from)).width, y,
                 font.getTextSizeW(text.substr(from, to - from)).width, font.getHeight() * font.getScale(),
                 true);
}

void Memo::DrawCaret(aFont& font, f32 x, f32 y) {
    font.color = Effective(m_cursorColor);
    font.print(x, y, std::string(1, m_cursorChar), m_textDrawFlags);
}

void Memo::DrawLines(aFont& font, f32 screenX, f32 screenY) {
    const f32 lineHeight = LineHeight();
    if (!(lineHeight > 0))
        return;
    const bool live = m_focused && IsEnabled();
    const bool selection = live && m_allowCopyPaste && m_selStart != m_selEnd;
    const f32 x = screenX - m_horizontalPosition;
    const size_t first = size_t(std::max(m_verticalPosition / lineHeight, 0.0f));
    for (size_t k = 0; first + k < m_lines.size() && f32(k) * lineHeight < f32(m_area.h); ++k) {
        const Line& line = m_lines[first + k];
        const f32 y = screenY + f32(k) * lineHeight;
        if (selection)
            DrawSelection(font, line, x, y);
        font.color = TextColor();
        font.printW(x, y, line.text, aFont::PRINT_SNAP);
        const bool caretHere = (m_caret >= line.first && m_caret < line.end) ||
                               (first + k == m_lines.size() - 1 && m_caret == line.end);
        if (live && m_cursorVisible && caretHere) {
            const u32 column = std::min<u32>(m_caret - line.first, u32(line.text.size()));
            DrawCaret(font, x + font.getTextSizeW(std::wstring_view(line.text).substr(0, column)).width, y);
        }
    }
}

void Memo::DrawSelf() {
    aFont* font = ScaledOwnFont();
    aGraphServer* graph = aApplication::graphServer();
    if (!font || !graph)
        return;
    const aRect previous = graph->getViewport();
    const f32 screenX = f32(GetScreenX()), screenY = f32(GetScreenY());
    // An axis without its scrollbar is not clipped to the memo.
    aRect area{i16(screenX), i16(screenY), m_area.w, m_area.h};
    if (!m_hscroll) {
        area.x = previous.x;
        area.w = previous.w;
    }
    if (!m_vscroll) {
        area.y = previous.y;
        area.h = previous.h;
    }
    aRect clip;
    graph->setViewport(area.intersect(clip, previous));
    if (m_lines.empty()) {
        if (m_focused && IsEnabled() && m_cursorVisible)
            DrawCaret(*font, screenX - m_horizontalPosition, screenY);
    } else {
        DrawLines(*font, screenX, screenY);
    }
    graph->setViewport(previous);
}

} // namespace GUI
