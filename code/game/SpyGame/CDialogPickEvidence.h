#pragma once
#include "game/SpyGame/CInGameDialog.h"
#include "game/SpyGame/CWidgetWatch.h"
#include "tk2v/gfx/aRect.h"

// Shown when an evidence item is picked up; the caller draws the item inside the "panel" slot, which
// grows with the item while the window stays centred where the script put it.
class CDialogPickEvidence : public CInGameDialog {
public:
    // Room around the item inside the slot.
    static constexpr i32 SLOT_PADDING = 40;

    CDialogPickEvidence() : CInGameDialog("PickEvidence", {{"Continue", CMD_YES}}) {}
    // Puts the window, the slot and its frame back as the script had them, where they still live.
    ~CDialogPickEvidence();

    // Sizes the slot for a w x h item, always from the script's rectangles.
    void SetContentSize(i32 w, i32 h);
    // The slot on the screen; empty without it.
    aRect GetSlotRect() const;

protected:
    void FindWidgets() override;

private:
    CWidgetWatch m_window, m_panel, m_frame;
};
