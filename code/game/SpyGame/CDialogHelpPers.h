#pragma once
#include "game/SpyGame/CInGameDialog.h"

// The window that introduces the personages, opened once per saved game.
class CDialogHelpPers : public CInGameDialog {
public:
    CDialogHelpPers() : CInGameDialog("PersonagesHelp", {{"Continue", CMD_YES}}) {}
};
