#include "game/SpyGame/CDialogInvCard.h"

#include "tk2v/gfx/aImage.h"
#include "tk2v/gui/StaticImage.h"

void CDialogInvCard::FindWidgets() {
    GUI::Widget* area = FindControl("InvCardArea");
    m_area = area && area->IsA("StaticImage") ? static_cast<GUI::StaticImage*>(area) : nullptr;
}

void CDialogInvCard::SetCard(const aImage* image) {
    if (!m_area)
        return;
    m_area->SetImage(image);
    if (image)
        m_area->SetSize(image->getWidth(), image->getHeight());
}

void CDialogInvCard::Hide() {
    if (m_area)
        m_area->SetImage(nullptr);
    CInGameDialog::Hide();
}
