#pragma once
#include "game/SpyGame/CInGameDialog.h"

// Asks whether to save and leave the game: "btn_yes" 3, "btn_no" 4.
class CDialogConfirmSaveExit : public CInGameDialog {
public:
    CDialogConfirmSaveExit() : CInGameDialog("ConfirmSaveExit", {{"btn_yes", CMD_YES}, {"btn_no", CMD_NO}}) {}
};
