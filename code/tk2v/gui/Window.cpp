#include "tk2v/gui/Window.h"
#include "tk2v/gui/Server.h"
#include "tk2v/gui/Style.h"

#include <algorithm>

namespace GUI {

namespace {

Style* styleNamed(const std::string& name) {
    return Server::exists() ? Server::getSingleton()->GetStyle(name) : nullptr;
}

// Into 0..size - 1; 0 for an empty size.
i32 clampInto(i32 value, i32 size) {
    return std::max(0, std::min(value, size - 1));
}

// White with the alpha byte of a 0..1 alpha.
u32 tint(f32 alpha) {
    return u32(ColorByte(alpha)) << 24 | 0x00FFFFFFu;
}

} // namespace

Window::Window(const std::string& name) : Widget(name) {
    AddProperty("Drag", &m_windowProps.drag);
    AddProperty("NormalStyle", &m_windowProps.normalStyle);
    AddProperty("HoverStyle", &m_windowProps.hoverStyle);
    AddProperty("DisabledStyle", &m_windowProps.disabledStyle);
    AddEvent("DragStarted");
    AddEvent("Dragging");
    AddEvent("DragFinished");
}

void Window::MakeFromScript() {
    Widget::MakeFromScript();
    if (m_windowProps.drag.changed)
        m_drag = ParseBool(m_windowProps.drag.value);
    if (m_windowProps.normalStyle.changed)
        m_normalStyle = styleNamed(m_windowProps.normalStyle.value);
    if (m_windowProps.hoverStyle.changed)
        m_hoverStyle = styleNamed(m_windowProps.hoverStyle.value);
    if (m_windowProps.disabledStyle.changed)
        m_disabledStyle = styleNamed(m_windowProps.disabledStyle.value);
}

bool Window::IsA(const std::string& typeName) const {
    return typeName == "Window";
}

void Window::DrawSelf() {
    const aRect rect{i16(GetScreenX()), i16(GetScreenY()), m_area.w, m_area.h};
    const f32 alpha = GetAlpha(false);
    if (!IsEnabled(false) && m_disabledStyle) {
        m_disabledStyle->Draw(rect, tint(alpha));
        return;
    }
    if (m_normalStyle)
        m_normalStyle->Draw(rect, tint(alpha));
    if (m_hoverStyle)
        m_hoverStyle->Draw(rect, tint(alpha * m_fadeLevel));
}

void Window::OnMouseDown(MouseEventArgs& e) {
    Widget::OnMouseDown(e);
    if (!m_drag || e.button != MOUSE_LEFT || !m_parent)
        return;
    m_anchorX = GetRelativeX() + e.x;
    m_anchorY = GetRelativeY() + e.y;
    if (m_parent->HitTest(m_anchorX, m_anchorY)) {
        m_dragging = true;
        WidgetEventArgs args(this);
        OnDragStarted(args);
    }
}

void Window::OnMouseMove(MouseEventArgs& e) {
    Widget::OnMouseMove(e);
    if (!m_dragging || !m_parent || (e.dx == 0 && e.dy == 0))
        return;
    // The grabbed point stays inside the parent, so the window cannot leave it entirely.
    const i32 x = clampInto(GetRelativeX() + e.x, m_parent->GetArea().w);
    const i32 y = clampInto(GetRelativeY() + e.y, m_parent->GetArea().h);
    SetPosition(i16(m_area.x + x - m_anchorX), i16(m_area.y + y - m_anchorY));
    m_anchorX = x;
    m_anchorY = y;
    WidgetEventArgs args(this);
    OnDragging(args);
}

void Window::OnMouseUp(MouseEventArgs& e) {
    Widget::OnMouseUp(e);
    if (!m_dragging || e.button != MOUSE_LEFT)
        return;
    m_dragging = false;
    WidgetEventArgs args(this);
    OnDragFinished(args);
}

void Window::OnDragStarted(WidgetEventArgs& e) {
    LaunchEvent("DragStarted", e);
}

void Window::OnDragging(WidgetEventArgs& e) {
    LaunchEvent("Dragging", e);
}

void Window::OnDragFinished(WidgetEventArgs& e) {
    LaunchEvent("DragFinished", e);
}

} // namespace GUI
