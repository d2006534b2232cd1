#include "tk2v/gui/ScrollContainer.h"

#include "tk2v/gui/Scrollbar.h"
#include "tk2v/gui/ThumbTrack.h"

namespace GUI {

ScrollContainer::ScrollContainer(const std::string& name) : Widget(name) {
    AddEvent("PositionChanged");
}

void ScrollContainer::Initialize() {
    Widget::Initialize();
    m_subscriptions.Clear();
    m_horizontalScrollbar = FindScrollbar("_auto_hscroll", &ScrollContainer::OnHScroll);
    m_verticalScrollbar = FindScrollbar("_auto_vscroll", &ScrollContainer::OnVScroll);
}

// A widget of another class under a scrollbar's name cannot scroll anything and is left out.
Scrollbar* ScrollContainer::FindScrollbar(const char* suffix,
                                          bool (ScrollContainer::*onScroll)(const EventArgs&)) {
    auto* scrollbar = dynamic_cast<Scrollbar*>(FindChild(GetName() + suffix, true));
    if (scrollbar) {
        m_subscriptions.Add(*scrollbar, "PositionChanged", this, onScroll);
        // Scrollbars usually sit along the container's edges, outside its rectangle.
        scrollbar->SetClipByParent(false);
    }
    return scrollbar;
}

void ScrollContainer::OnSized(WidgetEventArgs& e) {
    UpdatePageSizes();
    Widget::OnSized(e);
}

void ScrollContainer::UpdatePageSizes() {
    if (m_horizontalScrollbar)
        m_horizontalScrollbar->SetPageSize(GetArea().w);
    if (m_verticalScrollbar)
        m_verticalScrollbar->SetPageSize(GetArea().h);
}

bool ScrollContainer::TakeScroll(const Scrollbar* scrollbar, f32& coordinate) {
    if (m_updating || !scrollbar)
        return false;
    coordinate = FiniteOrZero(scrollbar->GetPosition());
    FireScrolled();
    return true;
}

bool ScrollContainer::OnHScroll(const EventArgs&) {
    return TakeScroll(m_horizontalScrollbar, m_scrollX);
}
bool ScrollContainer::OnVScroll(const EventArgs&) {
    return TakeScroll(m_verticalScrollbar, m_scrollY);
}

void ScrollContainer::OnScrolled(WidgetEventArgs& e) {
    LaunchEvent("PositionChanged", e);
}

void ScrollContainer::FireScrolled() {
    WidgetEventArgs args(this);
    OnScrolled(args);
}

namespace {
f32 KeepInside(f32 coordinate, f32 limit) {
    coordinate = FiniteOrZero(coordinate);
    if (limit < 0 || coordinate < 0)
        return 0;
    return coordinate < limit ? coordinate : limit;
}
} // namespace

void ScrollContainer::SetScrollPosition(f32 x, f32 y) {
    x = KeepInside(x, m_contentWidth - GetArea().w);
    y = KeepInside(y, m_contentHeight - GetArea().h);
    if (x == m_scrollX && y == m_scrollY)
        return;
    m_updating = true;
    if (m_horizontalScrollbar)
        m_horizontalScrollbar->SetPosition(x);
    if (m_verticalScrollbar)
        m_verticalScrollbar->SetPosition(y);
    m_scrollX = x;
    m_scrollY = y;
    m_updating = false;
    FireScrolled();
}

void ScrollContainer::SetContentSize(f32 width, f32 height) {
    m_contentWidth = FiniteOrZero(width);
    m_contentHeight = FiniteOrZero(height);
    if (m_horizontalScrollbar)
        m_horizontalScrollbar->SetDocumentSize(m_contentWidth);
    if (m_verticalScrollbar)
        m_verticalScrollbar->SetDocumentSize(m_contentHeight);
    SetScrollPosition(m_scrollX, m_scrollY);
}

} // namespace GUI
