#pragma once
#include "tk2v/gui/MemberSubscriptions.h"
#include "tk2v/gui/ThumbDrag.h"
#include "tk2v/gui/Widget.h"

#include <string>

namespace GUI {

// A value from 0 to 1 shown by a thumb child on a track; dragging the thumb changes it. The thumb
// is the descendant named after the slider with "_auto_thumb" appended.
class Slider : public Widget {
public:
    explicit Slider(const std::string& name);

    void MakeFromScript() override;
    const char* GetTypeName() const override { return "Slider"; }
    bool IsA(const std::string& typeName) const override { return typeName == "Slider"; }
    void Initialize() override;

    // The thumb's mouse events, relative to the thumb.
    virtual bool OnThumbMouseDown(const EventArgs& e);
    virtual bool OnThumbMouseUp(const EventArgs& e);
    virtual bool OnThumbMouseMove(const EventArgs& e);
    virtual void OnThumbTrackStarted(WidgetEventArgs& e);
    virtual void OnThumbTrackFinished(WidgetEventArgs& e);
    virtual void OnPositionChanged(WidgetEventArgs& e);

    // Fires "PositionChanged" also when the value stays; NaN and the infinities count as 0.
    void SetValue(f32 value);
    f32 GetValue() const { return m_value; }
    bool IsVertical() const { return m_drag.IsVertical(); }
    void SetVertical(bool vertical) { m_drag.SetVertical(vertical); }
    Widget* GetThumb() const { return m_drag.GetThumb(); }
    bool IsDragging() const { return m_drag.IsDragging(); }

private:
    void Fire(void (Slider::*handler)(WidgetEventArgs&));

    ThumbDrag m_drag;
    f32 m_value = 0;
    Property m_propVertical;
    MemberSubscriptions m_subscriptions;
};

} // namespace GUI
