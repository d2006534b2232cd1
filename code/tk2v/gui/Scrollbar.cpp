#include "tk2v/gui/Scrollbar.h"

#include "tk2v/gui/ThumbTrack.h"
#include "tk2v/util/log.h"

namespace GUI {

Scrollbar::Scrollbar(const std::string& name) : Widget(name) {
    AddProperty("Vertical", &m_propVertical);
    AddProperty("StepValue", &m_propStepValue);
    AddProperty("Stretch", &m_propStretch);
    AddProperty("AutoHide", &m_propAutoHide);
    AddEvent("ThumbTrackStarted");
    AddEvent("ThumbTrackFinished");
    AddEvent("PositionChanged");
}

void Scrollbar::MakeFromScript() {
    Widget::MakeFromScript();
    if (m_propVertical.changed)
        SetVertical(ParseBool(m_propVertical.value));
    if (m_propStepValue.changed)
        m_stepValue = ParseFloat(m_propStepValue.value);
    if (m_propStretch.changed)
        m_stretch = ParseBool(m_propStretch.value);
    if (m_propAutoHide.changed)
        m_autoHide = ParseBool(m_propAutoHide.value);
}

// The thumb and the step buttons often reach past the bar's own rectangle, so none of them is clipped
// by it.
void Scrollbar::Initialize() {
    Widget::Initialize();
    m_subscriptions.Clear();
    Widget* thumb = FindChild(GetName() + "_auto_thumb", true);
    m_drag.SetThumb(thumb);
    if (thumb) {
        m_subscriptions.Add(*thumb, "MouseDown", this, &Scrollbar::OnThumbMouseDown);
        m_subscriptions.Add(*thumb, "MouseUp", this, &Scrollbar::OnThumbMouseUp);
        m_subscriptions.Add(*thumb, "MouseMove", this, &Scrollbar::OnThumbMouseMove);
        thumb->SetClipByParent(false);
    } else {
        log("Scrollbar::Initialize - Thumb for scrollbar '%s' not found", GetName().c_str());
    }
    m_incrementButton = FindButton("_auto_incbtn", &Scrollbar::OnIncrementClick);
    m_decrementButton = FindButton("_auto_decbtn", &Scrollbar::OnDecrementClick);
}

Widget* Scrollbar::FindButton(const char* suffix, bool (Scrollbar::*onClick)(const EventArgs&)) {
    Widget* button = FindChild(GetName() + suffix, true);
    if (button) {
        m_subscriptions.Add(*button, "Click", this, onClick);
        button->SetClipByParent(false);
    }
    return button;
}

bool Scrollbar::OnThumbMouseDown(const EventArgs& e) {
    const auto* mouse = dynamic_cast<const MouseEventArgs*>(&e);
    if (mouse && m_drag.Press(*mouse))
        Fire(&Scrollbar::OnThumbTrackStarted);
    return true;
}

bool Scrollbar::OnThumbMouseUp(const EventArgs& e) {
    const auto* mouse = dynamic_cast<const MouseEventArgs*>(&e);
    if (mouse && m_drag.Release(*mouse))
        Fire(&Scrollbar::OnThumbTrackFinished);
    return true;
}

bool Scrollbar::OnThumbMouseMove(const EventArgs& e) {
    const auto* mouse = dynamic_cast<const MouseEventArgs*>(&e);
    if (!mouse)
        return true;
    i32 track = m_drag.TrackLength(*this);
    if (std::optional<i32> offset = m_drag.Move(*mouse, track)) {
        m_position = ScrollPositionAt(Range(), *offset, track);
        Fire(&Scrollbar::OnPositionChanged);
    }
    return true;
}

// The step buttons are wired but step nothing: the views that use the scrollbar move by dragging
// and by their own keys.
bool Scrollbar::OnIncrementClick(const EventArgs&) {
    return true;
}
bool Scrollbar::OnDecrementClick(const EventArgs&) {
    return true;
}

void Scrollbar::OnThumbTrackStarted(WidgetEventArgs& e) {
    LaunchEvent("ThumbTrackStarted", e);
}
void Scrollbar::OnThumbTrackFinished(WidgetEventArgs& e) {
    LaunchEvent("ThumbTrackFinished", e);
}
void Scrollbar::OnPositionChanged(WidgetEventArgs& e) {
    LaunchEvent("PositionChanged", e);
}

void Scrollbar::SetPageSize(f32 size) {
    m_pageSize = size;
    UpdateThumb();
}

void Scrollbar::SetDocumentSize(f32 size) {
    m_documentSize = size;
    UpdateThumb();
}

void Scrollbar::SetPosition(f32 position) {
    position = ClampScrollPosition(position, Range());
    if (position == m_position)
        return;
    m_position = position;
    PlaceThumb();
    Fire(&Scrollbar::OnPositionChanged);
}

void Scrollbar::PlaceThumb() {
    m_drag.MoveThumb(ThumbOffset(ScrollFraction(m_position, Range()), m_drag.TrackLength(*this)));
}

void Scrollbar::UpdateThumb() {
    Widget* thumb = m_drag.GetThumb();
    const aRect& area = GetArea();
    ThumbFit fit = FitThumb(m_documentSize, m_pageSize, IsVertical() ? area.h : area.w);
    if (fit.fits) {
        if (m_autoHide) {
            SetVisible(false);
            return;
        }
        if (!thumb)
            return;
        if (m_stretch) {
            m_drag.SetThumbLength(fit.thumbLength);
            m_drag.MoveThumb(0);
        } else {
            thumb->SetVisible(false);
            EnableButtons(false);
        }
        return;
    }
    if (thumb) {
        if (m_stretch)
            m_drag.SetThumbLength(fit.thumbLength);
        thumb->SetVisible(true);
    }
    EnableButtons(true);
    PlaceThumb();
    SetVisible(true);
}

void Scrollbar::EnableButtons(bool enabled) {
    if (m_incrementButton)
        m_incrementButton->SetEnabled(enabled);
    if (m_decrementButton)
        m_decrementButton->SetEnabled(enabled);
}

void Scrollbar::Fire(void (Scrollbar::*handler)(WidgetEventArgs&)) {
    WidgetEventArgs args(this);
    (this->*handler)(args);
}

} // namespace GUI
