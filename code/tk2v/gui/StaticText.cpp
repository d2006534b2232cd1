#include "tk2v/gui/StaticText.h"

#include "tk2v/gfx/aApplication.h"
#include "tk2v/gfx/aFont.h"
#include "tk2v/gfx/aGraphServer.h"
#include "tk2v/gui/Scrollbar.h"
#include "tk2v/gui/Server.h"

#include <algorithm>
#include <cmath>

namespace GUI {

namespace {

TextFormatting ParseHorzFormatting(const std::string& text) {
    if (NoCaseEqual(text, "center"))
        return TF_CENTER;
    if (NoCaseEqual(text, "right"))
        return TF_RIGHT;
    if (NoCaseEqual(text, "width"))
        return TF_WIDTH;
    return TF_LEFT;
}

TextFormatting ParseVertFormatting(const std::string& text) {
    if (NoCaseEqual(text, "center"))
        return TF_CENTER;
    if (NoCaseEqual(text, "bottom"))
        return TF_BOTTOM;
    return TF_TOP;
}

} // namespace

StaticText::StaticText(const std::string& name) : Widget(name) {
    AddProperty("TextNormalColor", &m_ownProps.textNormalColor);
    AddProperty("TextDisabledColor", &m_ownProps.textDisabledColor);
    AddProperty("HorzFormatting", &m_ownProps.horzFormatting);
    AddProperty("VertFormatting", &m_ownProps.vertFormatting);
    AddProperty("LineSpacing", &m_ownProps.lineSpacing);
    AddProperty("WordWrap", &m_ownProps.wordWrap);
}

StaticText::~StaticText() {
    m_hscrollConnection.Disconnect();
    m_vscrollConnection.Disconnect();
}

void StaticText::MakeFromScript() {
    Widget::MakeFromScript();
    if (m_ownProps.textNormalColor.changed)
        SetTextColor(ParseColor(m_ownProps.textNormalColor.value));
    if (m_ownProps.textDisabledColor.changed)
        SetDisabledTextColor(ParseColor(m_ownProps.textDisabledColor.value));
    if (m_ownProps.horzFormatting.changed)
        SetHorzFormatting(ParseHorzFormatting(m_ownProps.horzFormatting.value));
    if (m_ownProps.vertFormatting.changed)
        SetVertFormatting(ParseVertFormatting(m_ownProps.vertFormatting.value));
    if (m_ownProps.lineSpacing.changed)
        SetLineSpacing(ParseFloat(m_ownProps.lineSpacing.value));
    if (m_ownProps.wordWrap.changed)
        SetWordWrap(ParseBool(m_ownProps.wordWrap.value));
}

Scrollbar* StaticText::BindScrollbar(const char* suffix, std::unique_ptr<Subscriber>& binder,
                                     Connection& connection, bool (StaticText::*handler)(const EventArgs&),
                                     f32 pageSize) {
    connection.Disconnect();
    connection = Connection{};
    if (!Server::exists())
        return nullptr;
    Widget* found = Server::getSingleton()->GetRoot()->FindChild(GetName() + suffix, true);
    Scrollbar* bar = found && found->IsA("Scrollbar") ? static_cast<Scrollbar*>(found) : nullptr;
    if (!bar)
        return nullptr;
    bar->SetParent(this);
    binder = std::make_unique<_memberBinder<StaticText, bool, const EventArgs&>>(this, handler);
    connection = bar->SubscribeEvent("PositionChanged", binder.get());
    bar->SetPageSize(pageSize);
    return bar;
}

void StaticText::Initialize() {
    Widget::Initialize();
    m_hscroll = BindScrollbar("_auto_hscroll", m_hscrollBinder, m_hscrollConnection, &StaticText::OnHScroll,
                              m_area.w);
    m_vscroll = BindScrollbar("_auto_vscroll", m_vscrollBinder, m_vscrollConnection, &StaticText::OnVScroll,
                              m_area.h);
    m_hscrollOffset = 0;
    m_vscrollOffset = 0;
}

void StaticText::UpdateSelf(f32 dt) {
    if (m_layoutDirty) {
        LayoutText();
        m_layoutDirty = false;
    }
    Widget::UpdateSelf(dt);
}

void StaticText::OnTextChanged(WidgetEventArgs& e) {
    m_layoutDirty = true;
    Widget::OnTextChanged(e);
}

void StaticText::OnFontChanged(WidgetEventArgs& e) {
    m_layoutDirty = true;
    Widget::OnFontChanged(e);
}

void StaticText::OnSized(WidgetEventArgs& e) {
    m_layoutDirty = true;
    if (m_hscroll)
        m_hscroll->SetPageSize(m_area.w);
    if (m_vscroll)
        m_vscroll->SetPageSize(m_area.h);
    Widget::OnSized(e);
}

bool StaticText::OnHScroll(const EventArgs&) {
    m_hscrollOffset = m_hscroll ? m_hscroll->GetPosition() : 0;
    return true;
}

bool StaticText::OnVScroll(const EventArgs&) {
    m_vscrollOffset = m_vscroll ? m_vscroll->GetPosition() : 0;
    return true;
}

void StaticText::SetHorzFormatting(TextFormatting formatting) {
    if (formatting != m_horzFormatting)
        m_layoutDirty = true;
    m_horzFormatting = formatting;
}

void StaticText::SetVertFormatting(TextFormatting formatting) {
    if (formatting != m_vertFormatting)
        m_layoutDirty = true;
    m_vertFormatting = formatting;
}

void StaticText::SetWordWrap(bool wrap) {
    if (wrap != m_wordWrap)
        m_layoutDirty = true;
    m_wordWrap = wrap;
}

void StaticText::SetLineSpacing(f32 spacing) {
    if (spacing == m_lineSpacing)
        return;
    m_lineSpacing = spacing;
    m_layoutDirty = true;
}

void StaticText::SetPixelSnap(bool snap) {
    m_drawFlags = snap ? u32(aFont::PRINT_SNAP) : 0u;
}

f32 StaticText::GetTextHeight() {
    if (m_layoutDirty) {
        LayoutText();
        m_layoutDirty = false;
    }
    if (m_vscroll && m_textHeight > m_area.h)
        return m_area.h;
    return m_textHeight;
}

void StaticText::LayoutText() {
    // A static text measures with its own font only, never an ancestor's.
    aFont* font = GetFont(true);
    if (!font)
        return;
    const f32 scale = GetFontSize(true);
    font->setScale(scale);
    const std::wstring& text = GetText();
    const f32 spacing = font->getCharSpacing();
    auto advanceOf = [&](u32 c) {
        const f32 body = f32(font->getGlyphRect(c).w) + spacing + font->getGlyphPostOffset(c);
        return CharAdvance{body * scale, font->getGlyphPreOffset(c) * scale};
    };
    // Most text is ASCII: its advances are looked up once a layout, not once a character.
    CharAdvance ascii[128];
    for (u32 c = 0; c < 128; ++c)
        ascii[c] = advanceOf(c);
    m_advances.resize(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const u32 c = u32(text[i]);
        m_advances[i] = c < 128 ? ascii[c] : advanceOf(c);
    }
    m_layout.build(text, m_advances, m_area.w, m_horzFormatting, m_wordWrap);
    m_textWidth = m_layout.width();
    m_textHeight = m_layout.height(font->getHeight() * scale, m_lineSpacing);
    if (m_hscroll)
        m_hscroll->SetDocumentSize(m_textWidth);
    if (m_vscroll)
        m_vscroll->SetDocumentSize(m_textHeight);
}

u32 StaticText::DrawColor() const {
    const ColorF& c = IsEnabled(false) ? m_normalColor : m_disabledColor;
    return PackColor(c.r, c.g, c.b, c.a * GetAlpha(false));
}

u32 StaticText::FirstVisibleLine(f32 lineStep) const {
    // The offset may be stale (the text got shorter), negative (a document smaller than the page)
    // or meaningless (a line step of 0): the first line is kept among the lines.
    if (!(lineStep > 0) || !(m_vscrollOffset > 0))
        return 0;
    const f32 first = std::floor(m_vscrollOffset / lineStep);
    const f32 last = f32(m_layout.lines().size() - 1);
    return first < last ? u32(first) : u32(last);
}

f32 StaticText::GetLineStep() const {
    aFont* font = GetFont(true);
    return font ? font->getHeight() * GetFontSize(true) + m_lineSpacing : 0;
}

void StaticText::DrawSelf() {
    aFont* font = GetFont(true);
    aGraphServer* graph = aApplication::graphServer();
    if (!font || !graph || m_layout.lines().empty())
        return;
    const aRect saved = graph->getViewport();
    const i32 sx = GetScreenX(), sy = GetScreenY();
    // Along an axis without a scrollbar the text may leave the widget.
    aRect clip{i16(sx), i16(sy), m_area.w, m_area.h};
    if (!m_hscroll) {
        clip.x = 0;
        clip.w = graph->getWidth();
    }
    if (!m_vscroll) {
        clip.y = 0;
        clip.h = graph->getHeight();
    }
    aRect visible;
    graph->setViewport(clip.intersect(visible, saved));

    const f32 scale = GetFontSize(true);
    font->setScale(scale);
    font->color = DrawColor();
    const f32 x0 = f32(sx) - m_hscrollOffset;
    const f32 lineStep = GetLineStep();
    f32 y0 = f32(sy);
    if (m_vertFormatting == TF_CENTER)
        y0 += (f32(m_area.h) - m_textHeight) * 0.5f;
    else if (m_vertFormatting == TF_BOTTOM)
        y0 += f32(m_area.h) - m_textHeight;

    const auto& lines = m_layout.lines();
    f32 r = 0;
    for (u32 l = FirstVisibleLine(lineStep); l < lines.size() && r < m_area.h; ++l, r += lineStep) {
        for (u32 w = lines[l].firstWord; w < lines[l].firstWord + lines[l].wordCount; ++w) {
            const StaticTextLayout::Word& word = m_layout.words()[w];
            font->printW(x0 + word.x, y0 + r, m_layout.text(word), m_drawFlags);
        }
    }
    graph->setViewport(saved);
}

} // namespace GUI
