#pragma once
#include "game/CDialogBase.h"

#include <string>
#include <vector>

class aImage;

// A dialog over a room: its window of the GUI scripts found by name and its buttons, each bound to
// the command its click writes into the state word. Missing buttons are skipped; a missing window is
// logged once and leaves the dialog inert.
class CInGameDialog : public CDialogBase {
public:
    enum Command : i32 { CMD_YES = 3, CMD_NO = 4 };
    struct Button {
        const char* name;
        i32 command;
    };

    CInGameDialog(std::string windowName, std::vector<Button> buttons);

    void Create() override;

protected:
    // The text of the key on the dialog's "text" widget, looked up each time.
    void SetTextByKey(const std::string& key, const std::string& section);
    // The named image widget shows the image (null clears it); nothing when it is missing.
    void SetImageOf(const std::string& widgetName, const aImage* image);
    // The window's own widgets, after the buttons are bound and before the dialog is hidden.
    virtual void FindWidgets() {}

private:
    std::string m_windowName;
    std::vector<Button> m_buttons;
};
