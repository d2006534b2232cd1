#include "game/SpyGame/CDialogMessage.h"

#include "game/CResManager.h"
#include "game/GameConstants.h"
#include "game/SaveLoadSystem.h"
#include "game/SpyGame/DialogText.h"
#include "game/SpyGame/WideTextField.h"
#include "tk2v/gfx/aImageManager.h"
#include "tk2v/gui/StaticImage.h"
#include "tk2v/sound/aSound.h"
#include "tk2v/sound/aSoundManager.h"

namespace {
const char* const ICON_GROUP = "GamePanel";
} // namespace

CDialogMessage::CDialogMessage() : SaveLoadEntity("<DialogMessage>"), m_hiddenY(i16(SCREEN_HEIGHT)) {}

CDialogMessage::~CDialogMessage() {
    if (GUI::Widget* window = m_window.Get()) {
        window->SetPosition(m_window.Initial().x, m_window.Initial().y);
        window->SetAlpha(m_window.InitialAlpha());
    }
}

void CDialogMessage::Create() {
    if (!CreateRoot("Message"))
        return;
    m_window.Watch(m_rootWindow);
    m_text = FindControl("text");
    m_icon = FindControl("PersIcon");
    // The window's own name already carries state 2 for its drawing, so its clicks get a handler.
    SubscribeBinder(FindControl("Close"), "Click", this, &CDialogMessage::OnHideClick);
    SubscribeBinder(m_rootWindow, "Click", this, &CDialogMessage::OnHideClick);
    CResManager* res = CResManager::getSingleton();
    m_sound = res ? res->getSoundManager()->getSound("message_appear") : nullptr;
    CDialogBase::Create();
}

bool CDialogMessage::OnHideClick(const GUI::EventArgs&) {
    Hide();
    return true;
}

void CDialogMessage::Show() {
    if (m_state == STATE_NOT_CREATED || !m_rootWindow)
        return;
    m_rootWindow->SetY(m_hiddenY);
    m_mode = SLIDE_IN;
    m_progress = 0;
    if (m_sound)
        m_sound->play();
    CDialogBase::Show();
}

void CDialogMessage::Hide() {
    m_mode = SLIDE_STILL;
    CDialogBase::Hide();
}

bool CDialogMessage::IsVisible() const {
    return CDialogBase::IsVisible() || m_mode == SLIDE_IN;
}

void CDialogMessage::SetTextOf(const std::string& key, const std::string& section) {
    m_key = key;
    SetDialogText(m_text, key, section);
}

void CDialogMessage::ShowText(const std::string& key, const std::string& section) {
    if (IsVisible() && m_key == key)
        return;
    SetTextOf(key, section);
    Show();
}

void CDialogMessage::ShowTimed(const std::string& key, const std::string& section, f32 seconds) {
    const bool onScreen = IsVisible() && m_key == key;
    if (!onScreen)
        SetTextOf(key, section);
    m_timer = seconds;
    m_timed = 1;
    if (!onScreen)
        Show();
}

void CDialogMessage::SetIcon(const std::string& name) {
    m_iconName = name;
    if (!m_icon || !m_icon->IsA("StaticImage"))
        return;
    CResManager* res = CResManager::getSingleton();
    aImageManager* images = res ? res->getImageManager() : nullptr;
    const std::string image = name + "_icon";
    static_cast<GUI::StaticImage*>(m_icon)->SetImage(
        images && images->hasImage(image, ICON_GROUP) ? images->getImage(image, ICON_GROUP) : nullptr);
}

void CDialogMessage::Update(f32 dt) {
    if (IsVisible() && m_timed) {
        m_timer -= dt;
        if (m_timer <= 0) {
            // Running out while the box still slides in loses the timer: the box stays up.
            m_timed = 0;
            if (IsVisible() && m_mode == SLIDE_STILL) {
                m_mode = SLIDE_OUT;
                m_progress = 1;
            }
        }
    }
    if (m_mode == SLIDE_IN) {
        m_progress += SLIDE_SPEED * dt;
        if (m_progress >= 1) {
            m_progress = 1;
            m_mode = SLIDE_STILL;
        }
        PlaceBySlide();
    } else if (m_mode == SLIDE_OUT) {
        m_progress -= SLIDE_SPEED * dt;
        if (m_progress <= 0) {
            m_progress = 0;
            m_mode = SLIDE_STILL;
            Hide();
        }
        PlaceBySlide();
    }
}

void CDialogMessage::PlaceBySlide() {
    if (!m_rootWindow)
        return;
    m_rootWindow->SetAlpha(m_progress);
    m_rootWindow->SetY(i16(f32(m_hiddenY) - f32(m_hiddenY - m_window.Initial().y) * m_progress));
}

u8* CDialogMessage::SaveSelf(SaveLoadSystem& sys, u8* pos) {
    pos = sys.writeU32(pos, u32(m_state));
    pos = sys.writeF32(pos, m_timer);
    pos = sys.writeU8(pos, m_timed);
    pos = sys.writeF32(pos, m_progress);
    pos = sys.writeU32(pos, m_mode);
    pos = SaveWideText(sys, pos, m_text ? m_text->GetText() : std::wstring());
    pos = sys.writeString(pos, m_key);
    pos = sys.writeString(pos, m_iconName);
    pos = sys.writeI32(pos, m_text ? m_text->GetArea().x : 0);
    return sys.writeI32(pos, m_text ? m_text->GetArea().y : 0);
}

const u8* CDialogMessage::LoadSelf(SaveLoadSystem& sys, const u8* pos) {
    u32 state = 0;
    std::wstring text;
    i32 textX = 0, textY = 0;
    pos = sys.readU32(pos, state);
    pos = sys.readF32(pos, m_timer);
    pos = sys.readU8(pos, m_timed);
    pos = sys.readF32(pos, m_progress);
    pos = sys.readU32(pos, m_mode);
    pos = LoadWideText(sys, pos, text);
    pos = sys.readString(pos, m_key);
    pos = sys.readString(pos, m_iconName);
    pos = sys.readI32(pos, textX);
    pos = sys.readI32(pos, textY);
    // A damaged record must not place the window from a progress outside 0..1.
    if (!(m_progress >= 0 && m_progress <= 1))
        m_progress = m_progress > 1 ? 1 : 0;
    if (m_text) {
        m_text->SetText(text);
        m_text->SetPosition(i16(textX), i16(textY));
    }
    SetIcon(m_iconName);
    // The saved word only says whether the box was up; a created dialog stays created.
    if (state == STATE_SHOWN)
        Show();
    else
        Hide();
    return pos;
}
