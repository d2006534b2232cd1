#include "game/SpyGame/CWidgetWatch.h"

#include "tk2v/gui/Widget.h"

namespace {
bool Ignore(const GUI::EventArgs&) {
    return false;
}
} // namespace

CWidgetWatch::~CWidgetWatch() {
    m_connection.Disconnect();
}

void CWidgetWatch::Watch(GUI::Widget* widget) {
    m_connection.Disconnect();
    m_widget = widget;
    m_connection = {};
    m_initial = widget ? widget->GetArea() : aRect{};
    m_initialAlpha = widget ? widget->GetAlpha(true) : 1.0f;
    if (!widget)
        return;
    if (!m_probe)
        m_probe = std::make_unique<GUI::_freeBinder<bool, const GUI::EventArgs&>>(&Ignore);
    m_connection = widget->SubscribeEvent("Moved", m_probe.get());
}

GUI::Widget* CWidgetWatch::Get() const {
    return m_widget && !m_connection.alive.expired() ? m_widget : nullptr;
}

void CWidgetWatch::RestoreArea() const {
    if (GUI::Widget* widget = Get())
        widget->SetArea(m_initial);
}
