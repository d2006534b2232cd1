#pragma once
#include "tk2v/gui/MemberSubscriptions.h"
#include "tk2v/gui/ThumbDrag.h"
#include "tk2v/gui/Widget.h"

#include <string>

namespace GUI {

// A scroll position over a document larger than the visible page, shown by a thumb child sized to
// the visible part. Its parts are the descendants named after it with "_auto_thumb", "_auto_incbtn"
// and "_auto_decbtn" appended; the step buttons are optional and do nothing.
class Scrollbar : public Widget {
public:
    explicit Scrollbar(const std::string& name);

    // Applies "Vertical", "StepValue", "Stretch" and "AutoHide" without re-sizing the thumb.
    void MakeFromScript() override;
    const char* GetTypeName() const override { return "Scrollbar"; }
    bool IsA(const std::string& typeName) const override { return typeName == "Scrollbar"; }
    void Initialize() override;

    // The thumb's mouse events, relative to the thumb.
    virtual bool OnThumbMouseDown(const EventArgs& e);
    virtual bool OnThumbMouseUp(const EventArgs& e);
    virtual bool OnThumbMouseMove(const EventArgs& e);
    virtual bool OnIncrementClick(const EventArgs& e);
    virtual bool OnDecrementClick(const EventArgs& e);
    virtual void OnThumbTrackStarted(WidgetEventArgs& e);
    virtual void OnThumbTrackFinished(WidgetEventArgs& e);
    virtual void OnPositionChanged(WidgetEventArgs& e);

    // Each re-sizes and places the thumb.
    void SetPageSize(f32 size);
    void SetDocumentSize(f32 size);
    // Kept in 0..document size - page size; fires "PositionChanged" only on a change. NaN and the
    // infinities count as 0.
    void SetPosition(f32 position);

    f32 GetPageSize() const { return m_pageSize; }
    f32 GetDocumentSize() const { return m_documentSize; }
    f32 GetPosition() const { return m_position; }
    f32 GetStepValue() const { return m_stepValue; }
    void SetStepValue(f32 step) { m_stepValue = step; }
    bool IsVertical() const { return m_drag.IsVertical(); }
    void SetVertical(bool vertical) { m_drag.SetVertical(vertical); }
    bool GetAutoHide() const { return m_autoHide; }
    void SetAutoHide(bool autoHide) { m_autoHide = autoHide; }
    bool GetStretch() const { return m_stretch; }
    void SetStretch(bool stretch) { m_stretch = stretch; }
    Widget* GetThumb() const { return m_drag.GetThumb(); }
    Widget* GetIncrementButton() const { return m_incrementButton; }
    Widget* GetDecrementButton() const { return m_decrementButton; }
    bool IsDragging() const { return m_drag.IsDragging(); }

private:
    // Sizes the thumb for page / document, hides or shows what the fit asks.
    void UpdateThumb();
    f32 Range() const { return m_documentSize - m_pageSize; }
    void PlaceThumb();
    void EnableButtons(bool enabled);
    Widget* FindButton(const char* suffix, bool (Scrollbar::*onClick)(const EventArgs&));
    void Fire(void (Scrollbar::*handler)(WidgetEventArgs&));

    Widget* m_incrementButton = nullptr;
    Widget* m_decrementButton = nullptr;
    f32 m_pageSize = 0;
    f32 m_documentSize = 0;
    f32 m_position = 0;
    f32 m_stepValue = 0;
    bool m_autoHide = false;
    bool m_stretch = true;
    ThumbDrag m_drag;
    Property m_propVertical, m_propStepValue, m_propStretch, m_propAutoHide;
    MemberSubscriptions m_subscriptions;
};

} // namespace GUI
