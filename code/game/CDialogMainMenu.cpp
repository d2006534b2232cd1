#include "game/CDialogMainMenu.h"

#include "game/CGameIni.h"
#include "game/CParticleManager.h"
#include "game/CResManager.h"
#include "tk2v/file/file.h"
#include "tk2v/gfx/aParticleSystem.h"
#include "tk2v/gui/Widget.h"
#include "tk2v/sound/aAmbientSoundSystem.h"
#include "tk2v/util/str.h"

#include <algorithm>
#include <cmath>

namespace {
const std::string MENU_WINDOW = "MainMenu";
const std::string BACKGROUND_VIDEO = "video:waves.ogg";
const std::string AMBIENT_FILE = "sounds:main_menu_ambient.ini";
const std::string AMBIENT_GROUP = "Ambient";

CResManager* resources() {
    return CResManager::exists() ? CResManager::getSingleton() : nullptr;
}
} // namespace

CDialogMainMenu::CDialogMainMenu() = default;

CDialogMainMenu::~CDialogMainMenu() = default;

void CDialogMainMenu::Create() {
    if (!CreateRoot(MENU_WINDOW))
        return;
    FindWidgets();
    Subscribe(m_play, "Click", CMD_PLAY);
    Subscribe(m_options, "Click", CMD_OPTIONS);
    Subscribe(m_help, "Click", CMD_HELP);
    Subscribe(m_credits, "Click", CMD_CREDITS);
    Subscribe(m_exit, "Click", CMD_EXIT);
    Subscribe(FindControl("ChangeProfile"), "Click", CMD_CHANGE_PROFILE);
    for (GUI::Widget* button : m_hoverButtons) {
        SubscribeBinder(button, "MouseEnter", this, &CDialogMainMenu::OnButtonEnter);
        SubscribeBinder(button, "MouseLeave", this, &CDialogMainMenu::OnButtonLeave);
    }
    if (m_selector) {
        m_selectorY = m_selectorTargetY = m_selector->GetArea().y;
        m_selector->SetAlpha(0);
    }
    m_hovering = false;
    if ((m_background = FindControl("Background"))) {
        m_background->SetNotifyRender(true);
        SubscribeBinder(m_background, "EndRender", this, &CDialogMainMenu::OnBackgroundDrawn);
    }
    StartParticles();
    CreateAmbient();
    CDialogBase::Create();
}

void CDialogMainMenu::FindWidgets() {
    m_userName = FindControl("UserName");
    m_selector = FindControl("Selector");
    m_play = FindControl("Play");
    m_options = FindControl("Options");
    m_help = FindControl("Help");
    m_credits = FindControl("Credits");
    m_exit = FindControl("Exit");
    for (GUI::Widget* button : {m_play, m_options, m_help, m_credits, m_exit})
        if (button)
            m_hoverButtons.push_back(button);
}

void CDialogMainMenu::StartParticles() {
    CResManager* res = resources();
    if (!res || !res->getParticleManager())
        return;
    if ((m_fog = res->getParticleManager()->getParticle("Fog"))) {
        m_fog->reset();
        m_fog->startAt(700, 600);
    }
    if ((m_windowLight = res->getParticleManager()->getParticle("WindowsLight"))) {
        m_windowLight->reset();
        m_windowLight->startAt(730, 525);
    }
}

void CDialogMainMenu::CreateAmbient() {
    CResManager* res = resources();
    if (!res || !CGameIni::exists() || !CGameIni::getSingleton()->IsAmbientEnabled() ||
        !file_exists(AMBIENT_FILE))
        return;
    m_ambient = std::make_shared<aAmbientSoundSystem>(AMBIENT_FILE, res->getSoundManager(), AMBIENT_GROUP);
}

void CDialogMainMenu::Show() {
    if (m_state == STATE_NOT_CREATED)
        return;
    m_video.open(BACKGROUND_VIDEO, true);
    m_video.update(0);
    if (m_ambient)
        m_ambient->start();
    CDialogBase::Show();
}

void CDialogMainMenu::Hide() {
    if (m_state == STATE_NOT_CREATED)
        return;
    m_video.close();
    if (m_ambient)
        m_ambient->stop();
    if (m_selector)
        m_selector->SetAlpha(0);
    CDialogBase::Hide();
}

void CDialogMainMenu::SetVisibleIfFound(GUI::Widget* widget, bool visible) {
    if (widget)
        widget->SetVisible(visible);
}

void CDialogMainMenu::SetMenuVisible(bool visible) {
    SetVisibleIfFound(m_selector, visible);
    for (GUI::Widget* button : m_hoverButtons)
        button->SetVisible(visible);
    SetVisibleIfFound(FindControl("GameBrand"), visible);
    SetVisibleIfFound(FindControl("GameName"), visible);
    SetWelcomeVisible(visible);
}

void CDialogMainMenu::SetWelcomeVisible(bool visible) {
    SetVisibleIfFound(FindControl("Welcome"), visible);
}

void CDialogMainMenu::SetUserName(const std::string& name) {
    if (m_userName)
        m_userName->SetText(str_toWString(name));
}

bool CDialogMainMenu::OnButtonEnter(const GUI::EventArgs& args) {
    const auto* widgetArgs = dynamic_cast<const GUI::WidgetEventArgs*>(&args);
    if (widgetArgs && widgetArgs->widget)
        m_selectorTargetY = widgetArgs->widget->GetArea().y;
    m_hovering = true;
    // A bar that has faded out entirely appears at the button instead of gliding from its old place.
    if (m_selector && m_selector->GetAlpha(true) == 0)
        m_selectorY = m_selectorTargetY;
    return true;
}

bool CDialogMainMenu::OnButtonLeave(const GUI::EventArgs&) {
    m_hovering = false;
    return true;
}

void CDialogMainMenu::Update(f32 dt, bool animationsOnly) {
    if (!animationsOnly)
        UpdateSelector(dt);
    m_video.update(dt);
    if (m_fog)
        m_fog->update(dt);
    if (m_windowLight)
        m_windowLight->update(dt);
    if (m_ambient)
        m_ambient->update(dt);
}

void CDialogMainMenu::UpdateSelector(f32 dt) {
    if (!m_selector)
        return;
    const f32 fade = SELECTOR_FADE_SPEED * dt;
    const f32 alpha = m_selector->GetAlpha(true);
    m_selector->SetAlpha(m_hovering ? std::min(1.0f, alpha + fade) : std::max(0.0f, alpha - fade));
    if (m_selectorY != m_selectorTargetY) {
        const f32 distance = m_selectorTargetY - m_selectorY;
        const f32 step = distance * dt * SELECTOR_GLIDE_SPEED;
        m_selectorY = std::abs(step) >= std::abs(distance) ? m_selectorTargetY : m_selectorY + step;
    }
    m_selector->SetPosition(m_selector->GetArea().x, i16(i32(m_selectorY)));
}

bool CDialogMainMenu::OnBackgroundDrawn(const GUI::EventArgs&) {
    if (m_video.isPlaying()) {
        const f32 x = f32(m_background->GetScreenX() + m_background->GetArea().w - i32(m_video.getWidth()));
        const f32 y = f32(m_background->GetScreenY() + m_background->GetArea().h - i32(m_video.getHeight()));
        m_video.draw(x, y, VIDEO_COLOR);
    }
    if (m_windowLight)
        m_windowLight->render();
    if (m_fog)
        m_fog->render();
    return true;
}
