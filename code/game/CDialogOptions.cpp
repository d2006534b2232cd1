#include "game/CDialogOptions.h"

#include "game/CResManager.h"
#include "game/Profile.h"
#include "tk2v/gfx/aApplication.h"
#include "tk2v/gfx/aGraphServer.h"
#include "tk2v/gui/Checkbox.h"
#include "tk2v/gui/Slider.h"
#include "tk2v/sound/aMusicManager.h"
#include "tk2v/sound/aSoundManager.h"

namespace {
const std::string OPTIONS_WINDOW = "OptionsMenu";
const std::string TEST_SOUND = "test_volume";

template <class W> W* typed(GUI::Widget* widget, const char* typeName) {
    return widget && widget->IsA(typeName) ? static_cast<W*>(widget) : nullptr;
}

CResManager* resources() {
    return CResManager::exists() ? CResManager::getSingleton() : nullptr;
}

aMusicManager* music() {
    CResManager* res = resources();
    return res ? res->getMusicManager() : nullptr;
}
} // namespace

void CDialogOptions::Create() {
    if (!CreateRoot(OPTIONS_WINDOW))
        return;
    m_soundVolume = typed<GUI::Slider>(FindControl("sound_vol"), "Slider");
    m_musicVolume = typed<GUI::Slider>(FindControl("music_vol"), "Slider");
    m_fullScreen = typed<GUI::Checkbox>(FindControl("fullscreen"), "Checkbox");
    m_showTips = typed<GUI::Checkbox>(FindControl("show_tips"), "Checkbox");
    m_apply = FindControl("btn_apply");
    m_cancel = FindControl("btn_cancel");
    SubscribeBinder(m_apply, "Click", this, &CDialogOptions::OnApply);
    SubscribeBinder(m_cancel, "Click", this, &CDialogOptions::OnCancel);
    SubscribeBinder(m_musicVolume, "PositionChanged", this, &CDialogOptions::OnMusicVolumeChanged);
    SubscribeBinder(m_soundVolume, "ThumbTrackFinished", this, &CDialogOptions::OnSoundVolumeReleased);
    CDialogBase::Create();
}

void CDialogOptions::Show() {
    if (m_state == STATE_NOT_CREATED)
        return;
    if (m_soundVolume)
        m_soundVolume->SetValue(g_currentProfile.soundVolume);
    if (m_musicVolume)
        m_musicVolume->SetValue(g_currentProfile.musicVolume);
    if (m_fullScreen)
        m_fullScreen->SetChecked(g_currentProfile.fullScreen);
    if (m_showTips)
        m_showTips->SetChecked(g_currentProfile.showTips);
    CDialogBase::Show();
}

void CDialogOptions::ApplyOptions() {
    if (CResManager* res = resources()) {
        if (res->getSoundManager())
            res->getSoundManager()->setVolume(g_currentProfile.soundVolume);
        if (res->getMusicManager())
            res->getMusicManager()->setVolume(g_currentProfile.musicVolume);
    }
    aGraphServer* graph = aApplication::graphServer();
    if (graph && graph->isFullscreen() != g_currentProfile.fullScreen)
        graph->setFullscreen(g_currentProfile.fullScreen);
}

bool CDialogOptions::OnApply(const GUI::EventArgs&) {
    if (m_soundVolume)
        g_currentProfile.soundVolume = m_soundVolume->GetValue();
    if (m_musicVolume)
        g_currentProfile.musicVolume = m_musicVolume->GetValue();
    if (m_fullScreen)
        g_currentProfile.fullScreen = m_fullScreen->IsChecked();
    if (m_showTips)
        g_currentProfile.showTips = m_showTips->IsChecked();
    ApplyOptions();
    m_state = CMD_APPLY;
    return true;
}

bool CDialogOptions::OnCancel(const GUI::EventArgs&) {
    // Only the music previews the slider; the sound volume was never changed.
    aMusicManager* manager = music();
    if (manager && m_musicVolume && m_musicVolume->GetValue() != g_currentProfile.musicVolume)
        manager->setVolume(g_currentProfile.musicVolume);
    m_state = CMD_CANCEL;
    return true;
}

bool CDialogOptions::OnMusicVolumeChanged(const GUI::EventArgs&) {
    if (aMusicManager* manager = music())
        manager->setVolume(m_musicVolume->GetValue());
    return true;
}

bool CDialogOptions::OnSoundVolumeReleased(const GUI::EventArgs&) {
    CResManager* res = resources();
    aSound* sound = res && res->getSoundManager() ? res->getSoundManager()->getSound(TEST_SOUND) : nullptr;
    if (sound) {
        sound->setMasterVolume(m_soundVolume->GetValue());
        sound->play();
    }
    return true;
}
