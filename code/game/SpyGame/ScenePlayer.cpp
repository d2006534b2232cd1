#include "game/SpyGame/ScenePlayer.h"

#include "game/CDialogBase.h"
#include "game/CResManager.h"
#include "game/Profile.h"
#include "tk2v/file/file.h"
#include "tk2v/gfx/aApplication.h"
#include "tk2v/gfx/aImage.h"
#include "tk2v/gfx/aImageManager.h"
#include "tk2v/gui/StaticImage.h"
#include "tk2v/input/aInputServer.h"
#include "tk2v/sound/aMusicManager.h"
#include "tk2v/util/log.h"

#include <algorithm>
#include <cstdio>

namespace {
aMusicManager* Music() {
    CResManager* res = CResManager::exists() ? CResManager::getSingleton() : nullptr;
    return res ? res->getMusicManager() : nullptr;
}

void SetVisible(GUI::Widget* widget, bool visible) {
    if (widget)
        widget->SetVisible(visible);
}
} // namespace

void ScenePlayer::Init() {
    m_subscriptions.Clear();
    GUI::Widget* root = CDialogBase::GetGuiRoot();
    m_window = root ? root->FindChild("Comics", true) : nullptr;
    auto find = [this](const char* name) { return m_window ? m_window->FindChild(name, true) : nullptr; };
    GUI::Widget* picture = find("picture");
    m_picture = picture && picture->IsA("StaticImage") ? static_cast<GUI::StaticImage*>(picture) : nullptr;
    m_skip = find("skip");
    m_prev = find("prev");
    m_next = find("next");
    m_finish = find("finish");
    for (GUI::Widget* button : {m_skip, m_finish}) {
        if (button)
            m_subscriptions.Add(*button, "Click", this, &ScenePlayer::OnClose);
    }
    for (GUI::Widget* button : {m_prev, m_next}) {
        if (button)
            m_subscriptions.Add(*button, "Click", this, &ScenePlayer::OnStep);
    }
    m_active = 0;
}

std::string ScenePlayer::PageFile(u32 index) const {
    char name[260];
    std::snprintf(name, sizeof name, "%s%s_p%i.jpg", m_folder.c_str(), m_scene.c_str(), int(index + 1));
    return name;
}

void ScenePlayer::PlayScene(const std::string& folder, const std::string& scene, bool skipAllowed,
                            const std::string& musicTrack, const std::string& musicGroup) {
    m_folder = folder;
    m_scene = scene;
    m_musicTrack = musicTrack;
    m_musicGroup = musicGroup;
    m_pageCount = 0;
    while (file_exists(PageFile(m_pageCount)))
        ++m_pageCount;
    if (m_pageCount == 0) {
        log("ScenePlayer::PlayScene - scene '%s' has 0 pages!", scene.c_str());
        return;
    }
    m_active = 1;
    if (m_window) {
        m_window->SetVisible(true);
        m_window->MoveToFront();
    }
    m_skipAllowed = skipAllowed;
    m_currentPage = -1;
    m_targetPage = 0;
    if (m_picture)
        m_picture->SetAlpha(0);
    UpdateButtons();
    aMusicManager* music = Music();
    if (!musicTrack.empty() && music) {
        m_savedTrack = music->getCurrent(m_savedGroup);
        music->pause(false);
        music->play(musicTrack, musicGroup, false, true);
    }
}

void ScenePlayer::Close() {
    if (!m_active)
        return;
    m_active = 0;
    SetVisible(m_window, false);
    aMusicManager* music = Music();
    if (!m_musicTrack.empty() && music)
        music->changeMusic(m_savedTrack, g_currentProfile.musicVolume, false, false, m_savedGroup);
}

void ScenePlayer::UpdateButtons() {
    const i32 last = i32(m_pageCount) - 1;
    SetVisible(m_finish, m_targetPage == last);
    SetVisible(m_skip, m_skipAllowed && m_targetPage != last);
    SetVisible(m_prev, m_targetPage >= 1);
    SetVisible(m_next, m_targetPage < last);
}

bool ScenePlayer::OnStep(const GUI::EventArgs& args) {
    const auto* widgetArgs = dynamic_cast<const GUI::WidgetEventArgs*>(&args);
    const f32 alpha = m_picture ? m_picture->GetAlpha(true) : 1.0f;
    if (!m_active || !widgetArgs || !widgetArgs->widget || alpha != 1.0f)
        return true;
    // A step past the last page stays on it; a step before the first still closes the scene.
    m_targetPage = std::min(m_currentPage + widgetArgs->widget->GetTag(), i32(m_pageCount) - 1);
    return true;
}

bool ScenePlayer::OnClose(const GUI::EventArgs&) {
    Close();
    return true;
}

void ScenePlayer::ShowPage() {
    if (!m_picture)
        return;
    const aImage page(PageFile(u32(m_currentPage)), aImageManager::formatOfCode("0565"),
                      aImageManager::formatOfCode("8888"));
    m_picture->SetImage(&page);
}

bool ScenePlayer::ReaderActed() {
    const aInputServer* input = aApplication::inputServer();
    if (!input)
        return false;
    i32 x = 0, y = 0;
    input->getMousePos(x, y);
    const bool moved = x != m_mouseX || y != m_mouseY || input->mouseDx != 0 || input->mouseDy != 0;
    m_mouseX = x;
    m_mouseY = y;
    return moved || input->anyMouseButtonPressed() || input->anyKeyPressed();
}

void ScenePlayer::Update(f32 dt) {
    // The mouse is followed also while no scene plays, so that the first page starts from rest.
    const bool acted = ReaderActed();
    if (!m_active)
        return;
    f32 alpha = m_picture ? m_picture->GetAlpha(true) : 1.0f;
    if (m_currentPage == m_targetPage) {
        const f32 fadeIn = m_picture ? m_picture->GetFadeInTime() : 0;
        alpha = fadeIn > 0 ? std::min(alpha + dt / fadeIn, 1.0f) : 1.0f;
        m_idleTime = alpha == 1.0f && !acted ? m_idleTime + dt : 0;
    } else {
        const f32 fadeOut = m_picture ? m_picture->GetFadeOutTime() : 0;
        alpha = fadeOut > 0 ? alpha - dt / fadeOut : 0;
        if (alpha <= 0) {
            alpha = 0;
            m_currentPage = m_targetPage;
            if (m_targetPage >= 0) {
                UpdateButtons();
                ShowPage();
            } else {
                Close();
            }
        }
        m_idleTime = -1;
    }
    if (m_picture)
        m_picture->SetAlpha(alpha);
    FadeButtons(dt);
}

void ScenePlayer::FadeButtons(f32 dt) {
    for (GUI::Widget* button : {m_skip, m_prev, m_next, m_finish}) {
        if (!button)
            continue;
        if (m_idleTime == -1) {
            button->SetAlpha(1.0f);
            continue;
        }
        const f32 step = m_idleTime < BUTTONS_IDLE_AFTER ? BUTTONS_FADE_SPEED * dt : -BUTTONS_FADE_SPEED * dt;
        button->SetAlpha(std::clamp(button->GetAlpha(true) + step, 0.0f, 1.0f));
    }
}
