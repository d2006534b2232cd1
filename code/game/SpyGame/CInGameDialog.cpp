#include "game/SpyGame/CInGameDialog.h"

#include "game/SpyGame/DialogText.h"
#include "tk2v/gui/StaticImage.h"

CInGameDialog::CInGameDialog(std::string windowName, std::vector<Button> buttons)
    : m_windowName(std::move(windowName)), m_buttons(std::move(buttons)) {}

void CInGameDialog::Create() {
    if (!CreateRoot(m_windowName))
        return;
    for (const Button& button : m_buttons)
        Subscribe(FindControl(button.name), "Click", button.command);
    FindWidgets();
    CDialogBase::Create();
}

void CInGameDialog::SetTextByKey(const std::string& key, const std::string& section) {
    SetDialogText(FindControl("text"), key, section);
}

void CInGameDialog::SetImageOf(const std::string& widgetName, const aImage* image) {
    GUI::Widget* widget = FindControl(widgetName);
    if (widget && widget->IsA("StaticImage"))
        static_cast<GUI::StaticImage*>(widget)->SetImage(image);
}
