#include "game/SpyGame/CTipManager.h"

#include "game/CDialogBase.h"
#include "game/CResManager.h"
#include "game/Profile.h"
#include "game/SaveLoadSystem.h"
#include "tk2v/file/aOptionsFile.h"
#include "tk2v/gui/Server.h"
#include "tk2v/gui/StaticText.h"
#include "tk2v/gui/Window.h"
#include "tk2v/sound/aSound.h"
#include "tk2v/sound/aSoundManager.h"
#include "tk2v/util/log.h"

#include <algorithm>
#include <cstdlib>
#include <sstream>

namespace {
// Past these the point lies in the right or the lower half of the screen.
constexpr i32 RIGHT_HALF_FROM = 512;
constexpr i32 LOWER_HALF_AFTER = 384;
constexpr u16 UNBOUNDED_TEXT_HEIGHT = 10000;

GUI::Widget* FindIn(GUI::Widget* parent, const char* name) {
    return parent ? parent->FindChild(name, true) : nullptr;
}

void SetYOf(GUI::Widget* widget, i32 y) {
    if (widget)
        widget->SetY(i16(y));
}
} // namespace

CTipManager::CTipManager() : SaveLoadEntity("<tip_manager>") {}

void CTipManager::Load(const std::string& iniFile) {
    FindWidgets();
    ReadTips(iniFile);
}

void CTipManager::FindWidgets() {
    m_subscriptions.Clear();
    GUI::Widget* root = CDialogBase::GetGuiRoot();
    m_window = FindIn(root, "ToolTip");
    m_balloon = FindIn(m_window, "balloon");
    m_close = FindIn(m_window, "close");
    m_dontShow = FindIn(m_window, "dont_show");
    m_text = FindIn(m_window, "text");
    for (GUI::Widget* widget : {m_window, m_balloon, m_close}) {
        if (widget)
            m_subscriptions.Add(*widget, "Click", this, &CTipManager::OnClick);
    }
    if (m_dontShow)
        m_subscriptions.Add(*m_dontShow, "Click", this, &CTipManager::OnToggle);

    CResManager* res = CResManager::getSingleton();
    m_showSound = res ? res->getSoundManager()->getSound("show_tip") : nullptr;
    GUI::Server* server = GUI::Server::getSingleton();
    for (int i = 0; i < 4; ++i) {
        std::ostringstream name;
        name << "tip_style" << i;
        m_styles[i] = server ? server->GetStyle(name.str()) : nullptr;
    }
    if (m_balloon) {
        m_tailOffset = m_balloon->GetArea().x;
        m_balloonTop = m_balloon->GetArea().y;
        m_balloonMinHeight = m_balloon->GetArea().h;
    }
    m_textMargin = m_text ? m_text->GetArea().y : 0;
    m_toggleGap = m_dontShow ? m_dontShow->GetArea().y : 0;
}

void CTipManager::ReadTips(const std::string& iniFile) {
    aOptionsFile ini(iniFile);
    m_fadeTime = f32(std::atof(ini.getValue("General", "FadeTime").c_str()));
    m_closeAnywhereTime = f32(std::atof(ini.getValue("General", "CloseAnywhereTime").c_str()));
    // Every section is a tip, "General" too.
    for (ini.first(); !ini.isEnd(); ini.nextSection()) {
        Tip& tip = m_tips[ini.getSectionName()];
        if (ini.hasKey("Quarter"))
            tip.quarter = ini.getInt("Quarter");
        if (ini.hasKey("TimesPerLevel"))
            tip.timesPerLevel = u32(ini.getInt("TimesPerLevel"));
        if (ini.hasKey("LevelsCount"))
            tip.levelsCount = u32(ini.getInt("LevelsCount"));
        tip.x = ini.hasKey("X") ? ini.getInt("X") : 0;
        tip.y = ini.hasKey("Y") ? ini.getInt("Y") : 0;
    }
}

CTipManager::Tip* CTipManager::Find(const std::string& id) {
    auto found = m_tips.find(id);
    if (found == m_tips.end()) {
        log("CTipManager::FindTip - tip '%s' not defined", id.c_str());
        return nullptr;
    }
    return &found->second;
}

const CTipManager::Tip* CTipManager::FindTip(const std::string& id) const {
    auto found = m_tips.find(id);
    return found == m_tips.end() ? nullptr : &found->second;
}

bool CTipManager::ShowTip(const std::string& id, i32 x, i32 y, const std::wstring& text) {
    Tip* tip = Find(id);
    // Without its window no tip can appear, so none is spent either.
    if (!tip || !m_window || !m_balloon || !m_text)
        return false;
    if (tip->levelsLeft == 0 || tip->timesLeft == 0)
        return false;
    --tip->timesLeft;
    if (!tip->enabled || !g_currentProfile.showTips)
        return false;
    m_current = tip;
    Place(id, x, y, text);
    m_balloon->SetAlpha(0);
    m_window->SetVisible(true);
    m_window->MoveToFront();
    if (m_showSound)
        m_showSound->play();
    m_time = 0;
    return true;
}

void CTipManager::Place(const std::string& id, i32 x, i32 y, const std::wstring& text) {
    i32 quarter = m_current->quarter;
    if (quarter == AUTO_QUARTER)
        quarter = (x >= RIGHT_HALF_FROM ? QUARTER_LEFT : 0) | (y > LOWER_HALF_AFTER ? QUARTER_ABOVE : 0);

    m_text->SetHeight(UNBOUNDED_TEXT_HEIGHT);
    CResManager* res = CResManager::getSingleton();
    m_text->SetText(!text.empty() || !res ? text : res->GetString("tip." + id));
    const f32 laidOut =
        m_text->IsA("StaticText") ? static_cast<GUI::StaticText*>(m_text)->GetTextHeight() : 0;
    const i32 textHeight = i32(laidOut + 0.5f);
    m_text->SetHeight(u16(std::clamp(textHeight, 0, 0xFFFF)));

    const i32 toggleHeight = m_dontShow ? m_dontShow->GetArea().h : 0;
    const i32 height = std::max(i32(m_balloonMinHeight),
                                toggleHeight + 2 * m_textMargin + m_toggleGap + m_balloonTop + textHeight);
    m_balloon->SetHeight(u16(height));
    if (m_balloon->IsA("Window"))
        static_cast<GUI::Window*>(m_balloon)->SetNormalStyle(m_styles[quarter & 3]);

    const i32 px = x == -1 ? m_current->x : x;
    const i32 py = y == -1 ? m_current->y : y;
    const i32 width = m_balloon->GetArea().w;
    const i32 left = quarter & QUARTER_LEFT ? px + m_tailOffset - width : px - m_tailOffset;
    const bool above = quarter & QUARTER_ABOVE;
    const i32 top = above ? py - height : py;
    const i32 textY = above ? m_textMargin : m_balloonTop + m_textMargin;
    m_text->SetY(i16(textY));
    SetYOf(m_close, textY + m_toggleGap + textHeight);
    SetYOf(m_dontShow, textY + m_toggleGap + textHeight);
    if (GUI::Widget* check = FindIn(m_dontShow, "dont_show_auto_check"))
        check->SetVisible(false);
    m_balloon->SetPosition(i16(left), i16(top));
}

void CTipManager::SetTipEnabled(const std::string& id, bool enabled) {
    if (Tip* tip = Find(id))
        tip->enabled = enabled;
}

void CTipManager::HideTip() {
    if (!m_current)
        return;
    if (m_window)
        m_window->SetVisible(false);
    m_current = nullptr;
}

void CTipManager::ResetCounters(bool all) {
    for (auto& [id, tip] : m_tips) {
        tip.timesLeft = tip.timesPerLevel;
        if (all) {
            tip.levelsLeft = tip.levelsCount;
            tip.enabled = 1;
        }
    }
}

void CTipManager::EndLevel() {
    HideTip();
    for (auto& [id, tip] : m_tips) {
        if (tip.timesLeft != tip.timesPerLevel) {
            tip.timesLeft = tip.timesPerLevel;
            --tip.levelsLeft;
        }
    }
}

void CTipManager::Update(f32 dt) {
    if (!m_current)
        return;
    if (m_time < 0) {
        m_time += dt;
        if (m_time < 0)
            m_balloon->SetAlpha(-m_time / m_fadeTime);
        else
            HideTip();
        return;
    }
    m_balloon->SetAlpha(m_time < m_fadeTime ? m_time / m_fadeTime : 1.0f);
    if (m_time < m_fadeTime + m_closeAnywhereTime)
        m_time += dt;
}

bool CTipManager::OnClick(const GUI::EventArgs& args) {
    if (!m_current)
        return true;
    const auto* widgetArgs = dynamic_cast<const GUI::WidgetEventArgs*>(&args);
    const bool onClose = widgetArgs && widgetArgs->widget == m_close;
    if ((onClose && m_time > 0) || m_time >= m_fadeTime + m_closeAnywhereTime) {
        // The fade out starts from the alpha reached; without a fade time to run it closes at once.
        const f32 fadeOut = m_time < m_fadeTime ? -m_time : -m_fadeTime;
        if (fadeOut < 0)
            m_time = fadeOut;
        else
            HideTip();
    }
    return true;
}

bool CTipManager::OnToggle(const GUI::EventArgs&) {
    if (!(m_time > 0))
        return true;
    g_currentProfile.showTips = !g_currentProfile.showTips;
    if (GUI::Widget* check = FindIn(m_dontShow, "dont_show_auto_check"))
        check->SetVisible(!g_currentProfile.showTips);
    return true;
}

u8* CTipManager::SaveSelf(SaveLoadSystem& sys, u8* pos) {
    pos = sys.writeU32(pos, u32(m_tips.size()));
    for (const auto& [id, tip] : m_tips) {
        pos = sys.writeU8(pos, tip.enabled);
        pos = sys.writeU32(pos, tip.timesLeft);
        pos = sys.writeU32(pos, tip.levelsLeft);
    }
    return pos;
}

const u8* CTipManager::LoadSelf(SaveLoadSystem& sys, const u8* pos) {
    u32 count = 0;
    pos = sys.readU32(pos, count);
    for (auto it = m_tips.begin(); it != m_tips.end() && count > 0; ++it, --count) {
        pos = sys.readU8(pos, it->second.enabled);
        pos = sys.readU32(pos, it->second.timesLeft);
        pos = sys.readU32(pos, it->second.levelsLeft);
    }
    return pos;
}
