#pragma once
#include "game/SpyGame/CInGameDialog.h"

// The notice at the end of a search.
class CDialogSearchFinish : public CInGameDialog {
public:
    CDialogSearchFinish() : CInGameDialog("SearchFinish", {{"Ok", CMD_YES}}) {}

    void SetText(const std::string& key, const std::string& section) { SetTextByKey(key, section); }
};
