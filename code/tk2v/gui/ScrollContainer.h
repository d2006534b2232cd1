#pragma once
#include "tk2v/gui/MemberSubscriptions.h"
#include "tk2v/gui/Widget.h"

#include <string>

namespace GUI {

class Scrollbar;

// A widget whose contents are larger than itself, moved by a horizontal and a vertical scrollbar
// among its descendants (named after it with "_auto_hscroll" and "_auto_vscroll" appended; either
// may be missing). It keeps the scroll position inside the content and the scrollbars in step with
// it, and announces each change with "PositionChanged". Subclasses draw the contents.
class ScrollContainer : public Widget {
public:
    explicit ScrollContainer(const std::string& name);

    const char* GetTypeName() const override { return "ScrollContainer"; }
    bool IsA(const std::string& typeName) const override { return typeName == "ScrollContainer"; }
    void Initialize() override;
    void DrawSelf() override = 0;
    // The scrollbars' pages follow the widget's size.
    void OnSized(WidgetEventArgs& e) override;
    virtual bool OnHScroll(const EventArgs& e);
    virtual bool OnVScroll(const EventArgs& e);
    // Fires "PositionChanged".
    virtual void OnScrolled(WidgetEventArgs& e);

    // Each coordinate is kept in 0..content size - widget size (0 when the content is the smaller).
    void SetScrollPosition(f32 x, f32 y);
    // The scrollable extent; the scrollbars' documents follow it and the position is kept inside it.
    void SetContentSize(f32 width, f32 height);

    f32 GetScrollX() const { return m_scrollX; }
    f32 GetScrollY() const { return m_scrollY; }
    f32 GetContentWidth() const { return m_contentWidth; }
    f32 GetContentHeight() const { return m_contentHeight; }
    Scrollbar* GetHorizontalScrollbar() const { return m_horizontalScrollbar; }
    Scrollbar* GetVerticalScrollbar() const { return m_verticalScrollbar; }

protected:
    void FireScrolled();
    // The scrollbars' pages become the widget's width and height.
    void UpdatePageSizes();

private:
    Scrollbar* FindScrollbar(const char* suffix, bool (ScrollContainer::*onScroll)(const EventArgs&));
    // The position a scrollbar moved to, unless the container is moving it itself.
    bool TakeScroll(const Scrollbar* scrollbar, f32& coordinate);

    Scrollbar* m_horizontalScrollbar = nullptr;
    Scrollbar* m_verticalScrollbar = nullptr;
    f32 m_contentWidth = 0, m_contentHeight = 0;
    f32 m_scrollX = 0, m_scrollY = 0;
    bool m_updating = false;
    MemberSubscriptions m_subscriptions;
};

} // namespace GUI
