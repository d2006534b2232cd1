#include "game/CDialogBase.h"

#include "tk2v/gui/Server.h"
#include "tk2v/gui/Widget.h"
#include "tk2v/util/log.h"

CDialogBase::CDialogBase() {
    // A dialog belongs to the GUI: without a server its singleton accessor says so now.
    GUI::Server::getSingleton();
}

CDialogBase::~CDialogBase() {
    for (auto& [name, entry] : m_subscriptions) {
        for (const GUI::Connection& connection : entry.connections)
            connection.Disconnect();
        entry.connections.clear();
        entry.commandId = -1;
    }
}

GUI::Widget* CDialogBase::GetGuiRoot() {
    GUI::Server* server = GUI::Server::getSingleton();
    return server ? server->GetRoot() : nullptr;
}

void CDialogBase::Create() {
    if (m_state != STATE_NOT_CREATED)
        return;
    m_state = STATE_HIDDEN;
    Hide();
}

void CDialogBase::Show() {
    if (m_state == STATE_NOT_CREATED || !m_rootWindow)
        return;
    m_rootWindow->SetVisible(true);
    m_rootWindow->MoveToFront();
    m_state = STATE_SHOWN;
}

bool CDialogBase::IsVisible() const {
    return m_rootWindow && m_rootWindow->IsVisible(true);
}

void CDialogBase::Hide() {
    if (m_state == STATE_NOT_CREATED || !m_rootWindow)
        return;
    m_rootWindow->SetVisible(false);
    m_state = STATE_HIDDEN;
}

aRect CDialogBase::GetArea() const {
    return m_rootWindow ? m_rootWindow->GetArea() : aRect{};
}

bool CDialogBase::IsPointInside(i16 x, i16 y) const {
    if (!IsVisible())
        return false;
    const aRect& area = m_rootWindow->GetArea();
    const i32 left = m_rootWindow->GetScreenX(), top = m_rootWindow->GetScreenY();
    return x >= left && x < left + area.w && y >= top && y < top + area.h;
}

CDialogBase::SubscriptionEntry& CDialogBase::Entry(GUI::Widget* widget) {
    return m_subscriptions[widget->GetName()];
}

void CDialogBase::Connect(SubscriptionEntry& entry, GUI::Widget* widget, const std::string& eventName,
                          std::unique_ptr<GUI::Subscriber> subscriber) {
    entry.widget = widget;
    entry.connections.push_back(widget->SubscribeEvent(eventName, subscriber.get()));
    entry.binders.push_back(std::move(subscriber));
}

bool CDialogBase::Subscribe(GUI::Widget* widget, const std::string& eventName, i32 commandId) {
    if (!widget)
        return false;
    SubscriptionEntry& entry = Entry(widget);
    if (entry.commandId != -1)
        return false;
    Connect(entry, widget, eventName,
            std::make_unique<GUI::_memberBinder<CDialogBase, bool, const GUI::EventArgs&>>(
                this, &CDialogBase::OnWidgetEvent));
    entry.commandId = commandId;
    return true;
}

bool CDialogBase::SubscribeBinder(GUI::Widget* widget, const std::string& eventName,
                                  std::unique_ptr<GUI::Subscriber> subscriber) {
    if (!widget || !subscriber)
        return false;
    Connect(Entry(widget), widget, eventName, std::move(subscriber));
    return true;
}

bool CDialogBase::OnWidgetEvent(const GUI::EventArgs& args) {
    const auto* widgetArgs = dynamic_cast<const GUI::WidgetEventArgs*>(&args);
    if (!widgetArgs || !widgetArgs->widget)
        return false;
    auto it = m_subscriptions.find(widgetArgs->widget->GetName());
    if (it == m_subscriptions.end() || it->second.commandId == -1)
        return false;
    m_state = it->second.commandId;
    return true;
}

bool CDialogBase::CreateRoot(const std::string& windowName) {
    if (m_state != STATE_NOT_CREATED)
        return false;
    GUI::Widget* guiRoot = GetGuiRoot();
    m_rootWindow = guiRoot ? guiRoot->FindChild(windowName, true) : nullptr;
    if (!m_rootWindow) {
        if (!m_missingRootLogged)
            log("CDialogBase::Create(). Cannot find window: %s", windowName.c_str());
        m_missingRootLogged = true;
        return false;
    }
    m_rootWindow->SetNotifyRender(true);
    Subscribe(m_rootWindow, "BeginRender", STATE_SHOWN);
    return true;
}

GUI::Widget* CDialogBase::FindControl(const std::string& name) const {
    return m_rootWindow ? m_rootWindow->FindChild(name, true) : nullptr;
}
