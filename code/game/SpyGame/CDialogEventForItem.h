#pragma once
#include "game/SpyGame/CInGameDialog.h"

// A story event's text beside a character's picture.
class CDialogEventForItem : public CInGameDialog {
public:
    CDialogEventForItem() : CInGameDialog("EventForItem", {{"Continue", CMD_YES}}) {}

    void SetText(const std::string& key, const std::string& section) { SetTextByKey(key, section); }
    // The character's picture on "NPC", looked up each time.
    void SetImage(const aImage* image) { SetImageOf("NPC", image); }
};
