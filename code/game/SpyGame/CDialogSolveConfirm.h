#pragma once
#include "game/SpyGame/CInGameDialog.h"

// Asks whether the room's puzzle shall solve itself: "Yes" 3, "No" 4.
class CDialogSolveConfirm : public CInGameDialog {
public:
    CDialogSolveConfirm() : CInGameDialog("SolveConfirm", {{"Yes", CMD_YES}, {"No", CMD_NO}}) {}
};
