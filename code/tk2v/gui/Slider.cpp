#include "tk2v/gui/Slider.h"

#include "tk2v/gui/ThumbTrack.h"
#include "tk2v/util/log.h"

namespace GUI {

Slider::Slider(const std::string& name) : Widget(name) {
    AddProperty("Vertical", &m_propVertical);
    AddEvent("ThumbTrackStarted");
    AddEvent("ThumbTrackFinished");
    AddEvent("PositionChanged");
}

void Slider::MakeFromScript() {
    Widget::MakeFromScript();
    if (m_propVertical.changed)
        SetVertical(ParseBool(m_propVertical.value));
}

void Slider::Initialize() {
    Widget::Initialize();
    m_subscriptions.Clear();
    Widget* thumb = FindChild(GetName() + "_auto_thumb", true);
    m_drag.SetThumb(thumb);
    if (!thumb) {
        log("Slider::Initialize - Thumb for slider '%s' not found", GetName().c_str());
        return;
    }
    m_subscriptions.Add(*thumb, "MouseDown", this, &Slider::OnThumbMouseDown);
    m_subscriptions.Add(*thumb, "MouseUp", this, &Slider::OnThumbMouseUp);
    m_subscriptions.Add(*thumb, "MouseMove", this, &Slider::OnThumbMouseMove);
}

bool Slider::OnThumbMouseDown(const EventArgs& e) {
    const auto* mouse = dynamic_cast<const MouseEventArgs*>(&e);
    if (mouse && m_drag.Press(*mouse))
        Fire(&Slider::OnThumbTrackStarted);
    return true;
}

bool Slider::OnThumbMouseUp(const EventArgs& e) {
    const auto* mouse = dynamic_cast<const MouseEventArgs*>(&e);
    if (mouse && m_drag.Release(*mouse))
        Fire(&Slider::OnThumbTrackFinished);
    return true;
}

bool Slider::OnThumbMouseMove(const EventArgs& e) {
    const auto* mouse = dynamic_cast<const MouseEventArgs*>(&e);
    if (!mouse)
        return true;
    i32 track = m_drag.TrackLength(*this);
    if (std::optional<i32> offset = m_drag.Move(*mouse, track)) {
        m_value = SliderValueAt(*offset, track);
        Fire(&Slider::OnPositionChanged);
    }
    return true;
}

void Slider::OnThumbTrackStarted(WidgetEventArgs& e) {
    LaunchEvent("ThumbTrackStarted", e);
}
void Slider::OnThumbTrackFinished(WidgetEventArgs& e) {
    LaunchEvent("ThumbTrackFinished", e);
}
void Slider::OnPositionChanged(WidgetEventArgs& e) {
    LaunchEvent("PositionChanged", e);
}

void Slider::SetValue(f32 value) {
    value = FiniteOrZero(value);
    if (value != m_value) {
        m_value = ClampSliderValue(value);
        m_drag.MoveThumb(ThumbOffset(m_value, m_drag.TrackLength(*this)));
    }
    Fire(&Slider::OnPositionChanged);
}

void Slider::Fire(void (Slider::*handler)(WidgetEventArgs&)) {
    WidgetEventArgs args(this);
    (this->*handler)(args);
}

} // namespace GUI
