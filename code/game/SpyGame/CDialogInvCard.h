#pragma once
#include "game/SpyGame/CInGameDialog.h"

namespace GUI {
class StaticImage;
}

// Shows an inventory card that was picked up or clicked.
class CDialogInvCard : public CInGameDialog {
public:
    CDialogInvCard() : CInGameDialog("InvCard", {{"Continue", CMD_YES}}) {}

    // "InvCardArea" shows the card and takes its size.
    void SetCard(const aImage* image);
    // The card goes first.
    void Hide() override;

protected:
    void FindWidgets() override;

private:
    GUI::StaticImage* m_area = nullptr;
};
