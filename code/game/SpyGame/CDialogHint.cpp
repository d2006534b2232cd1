#include "game/SpyGame/CDialogHint.h"

#include "game/CResManager.h"
#include "game/GameConstants.h"
#include "game/SpyGame/DialogText.h"
#include "tk2v/gfx/aApplication.h"
#include "tk2v/gui/StaticText.h"
#include "tk2v/input/aInputServer.h"
#include "tk2v/sound/aSound.h"
#include "tk2v/sound/aSoundManager.h"

#include <algorithm>

CDialogHint::~CDialogHint() {
    if (GUI::Widget* window = m_window.Get())
        window->SetSize(m_window.Initial().w, m_window.Initial().h);
}

void CDialogHint::Create() {
    if (!CreateRoot("Hint"))
        return;
    m_window.Watch(m_rootWindow);
    m_text = FindControl("text");
    CResManager* res = CResManager::getSingleton();
    m_sound = res ? res->getSoundManager()->getSound("show_hint") : nullptr;
    CDialogBase::Create();
}

void CDialogHint::Hide() {
    CDialogBase::Hide();
    m_restTime = 0;
}

void CDialogHint::ShowHint(i32 x, i32 y, i32 width, const std::string& key, const std::string& section) {
    if (m_state == STATE_NOT_CREATED || !m_rootWindow)
        return;
    m_lastX = x;
    m_lastY = y;
    const i32 w = std::max(width, i32(m_window.Initial().w));
    // The text's left margin serves on every side.
    const i32 margin = m_text ? m_text->GetArea().x : 0;
    i32 textHeight = 0;
    m_rootWindow->SetWidth(u16(w));
    if (m_text) {
        m_text->SetWidth(u16(std::max(w - 2 * margin, 0)));
        SetDialogText(m_text, key, section);
        if (m_text->IsA("StaticText"))
            textHeight = i32(static_cast<GUI::StaticText*>(m_text)->GetTextHeight() + 0.5f);
        m_text->SetHeight(u16(textHeight));
    }
    const i32 h = textHeight + 2 * margin;
    m_rootWindow->SetHeight(u16(h));
    i32 top = y - h - 2;
    if (top < 0)
        top = y + 24;
    top = std::min(top, i32(SCREEN_HEIGHT) - h);
    i32 left = std::max(x - w / 2, 0);
    left = std::min(left, i32(SCREEN_WIDTH) - w);
    m_rootWindow->SetPosition(i16(left), i16(top));
    m_alpha = 0;
    m_rootWindow->SetAlpha(m_alpha);
    m_shownTime = 0;
    if (m_sound)
        m_sound->play();
    Show();
}

bool CDialogHint::CanShowAt(i32 x, i32 y) const {
    if (IsVisible() || m_restTime < REST_BEFORE_SHOW)
        return false;
    return x != m_lastX || y != m_lastY;
}

void CDialogHint::Update(f32 dt) {
    const aInputServer* input = aApplication::inputServer();
    if (!input)
        return;
    i32 x = 0, y = 0;
    input->getMousePos(x, y);
    const bool moved = x != m_mouseX || y != m_mouseY;
    m_mouseX = x;
    m_mouseY = y;
    m_restTime = moved ? 0 : m_restTime + dt;
    if (!IsVisible())
        return;
    if (moved || input->isMouseButtonDown(0) || input->isMouseButtonDown(1)) {
        Hide();
        return;
    }
    m_alpha = std::min(m_alpha + FADE_IN_SPEED * dt, 1.0f);
    m_rootWindow->SetAlpha(m_alpha);
    m_shownTime += dt;
    if (m_shownTime >= SHOWN_AT_MOST)
        Hide();
}
