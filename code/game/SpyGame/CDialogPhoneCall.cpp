#include "game/SpyGame/CDialogPhoneCall.h"

#include "game/CResManager.h"
#include "game/GameConstants.h"
#include "game/SpyGame/DialogText.h"
#include "tk2v/gui/StaticText.h"

#include <algorithm>

CDialogPhoneCall::~CDialogPhoneCall() {
    for (const CWidgetWatch* part : {&m_box, &m_frame, &m_text})
        part->RestoreArea();
}

void CDialogPhoneCall::FindWidgets() {
    GUI::Widget* box = FindControl("DialogWindow");
    m_box.Watch(box);
    m_frame.Watch(box ? box->FindChild("over_style", true) : nullptr);
    m_text.Watch(box ? box->FindChild("text", true) : nullptr);
    SubscribeBinder(m_rootWindow, "BeginRender", this, &CDialogPhoneCall::OnBeginRender);
}

void CDialogPhoneCall::Show() {
    if (m_state == STATE_NOT_CREATED)
        return;
    m_fade = 0;
    CInGameDialog::Show();
}

void CDialogPhoneCall::Update(f32 dt) {
    if (m_state == STATE_SHOWN)
        m_fade = std::min(m_fade + FADE_SPEED * dt, 1.0f);
}

bool CDialogPhoneCall::OnBeginRender(const GUI::EventArgs&) {
    m_state = STATE_SHOWN;
    if (CResManager* res = CResManager::getSingleton()) {
        aGDI& gdi = res->getGDI();
        gdi.color = u32(m_fade * 0.5f * 255.0f) << 24;
        gdi.drawRect(0, 0, SCREEN_WIDTH, SCREEN_HEIGHT, true);
    }
    return false;
}

void CDialogPhoneCall::SetText(const std::string& key, const std::string& section) {
    GUI::Widget* text = m_text.Get();
    if (!text)
        return;
    SetDialogText(text, key, section);
    const i32 height = text->IsA("StaticText")
                           ? i32(static_cast<GUI::StaticText*>(text)->GetTextHeight() + 0.5f)
                           : i32(m_text.Initial().h);
    text->SetHeight(u16(height));
    const i32 grow = height - m_text.Initial().h;
    if (GUI::Widget* frame = m_frame.Get())
        frame->SetHeight(u16(std::max(m_frame.Initial().h + grow, 0)));
    if (GUI::Widget* box = m_box.Get()) {
        const i32 boxHeight = std::max(m_box.Initial().h + grow, 0);
        box->SetArea(box->GetArea().x, i16(m_box.Initial().y + m_box.Initial().h - boxHeight),
                     box->GetArea().w, u16(boxHeight));
    }
}
