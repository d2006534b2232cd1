#pragma once
#include "game/SpyGame/CInGameDialog.h"

// The menu the panel's "Menu" button opens.
class CDialogInGameMenu : public CInGameDialog {
public:
    enum Command : i32 { CMD_RESUME = 3, CMD_OPTIONS = 4, CMD_EXIT = 5, CMD_HELP = 6 };

    CDialogInGameMenu()
        : CInGameDialog(
              "InGameMenu",
              {{"resume", CMD_RESUME}, {"options", CMD_OPTIONS}, {"exit", CMD_EXIT}, {"help", CMD_HELP}}) {}
};
