#pragma once
#include "game/SpyGame/CInGameDialog.h"

// Shown when an item is picked up, before it goes into the inventory.
class CDialogPickItem : public CInGameDialog {
public:
    CDialogPickItem() : CInGameDialog("PickItem", {{"Continue", CMD_YES}}) {}

    void SetText(const std::string& key, const std::string& section) { SetTextByKey(key, section); }
};
