#include "game/SpyGame/DialogText.h"

#include "game/CResManager.h"
#include "tk2v/file/aLocaleServer.h"
#include "tk2v/gui/StaticText.h"
#include "tk2v/util/str.h"

std::wstring DialogText(const std::string& key, const std::string& section) {
    CResManager* res = CResManager::getSingleton();
    aLocaleServer* locale = res ? res->getLocaleServer() : nullptr;
    if (const std::wstring* text = locale ? locale->findString(key, section) : nullptr)
        return *text;
    if (res)
        res->GetString(key, section); // the miss is logged as every text lookup logs it
    return L"String '" + str_utf8ToWString(key) + L"' not found!";
}

void SetDialogText(GUI::Widget* widget, const std::string& key, const std::string& section) {
    if (!widget)
        return;
    widget->SetText(DialogText(key, section));
    if (widget->IsA("StaticText"))
        static_cast<GUI::StaticText*>(widget)->GetTextHeight();
}
