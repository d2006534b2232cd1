#pragma once
#include "game/SpyGame/CInGameDialog.h"

// The notice at the end of a location, before the map.
class CDialogLocFinish : public CInGameDialog {
public:
    CDialogLocFinish() : CInGameDialog("LocFinish", {{"Ok", CMD_YES}}) {}

    void SetText(const std::string& key, const std::string& section) { SetTextByKey(key, section); }
};
