#pragma once
#include "game/SpyGame/CInGameDialog.h"
#include "tk2v/gfx/aRect.h"

// A character identifies an item, which the caller draws centred in the rectangle of "IdentItem".
class CDialogItemIdent : public CInGameDialog {
public:
    CDialogItemIdent() : CInGameDialog("ItemIdent", {{"Continue", CMD_YES}}) {}

    void SetText(const std::string& key, const std::string& section) { SetTextByKey(key, section); }
    void SetImage(const aImage* image) { SetImageOf("NPC", image); }
    // "IdentItem"'s rectangle moved by the window's position; empty without either.
    aRect GetItemPos() const;
};
