#pragma once
#include "tk2v/util/types.h"

#include <string>

// What the tip triggers ask of the game panel and its tip manager.
class CTipPanel {
public:
    virtual ~CTipPanel() = default;

    // The panel's command word of this frame.
    virtual u32 GetCommandWord() const = 0;
    // Shows the tip through the panel, behind the dialog backdrop; (-1, -1) is the tip's own place.
    virtual bool ShowTip(const std::string& id, i32 x, i32 y) = 0;
    // Shows the tip through the tip manager alone, without the backdrop.
    virtual bool ShowManagerTip(const std::string& id) = 0;
    virtual void SetTipEnabled(const std::string& id, bool on) = 0;
    // Shows the backdrop and the personages help dialog.
    virtual void ShowPersonagesHelp() = 0;
};
