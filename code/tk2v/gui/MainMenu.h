#pragma once
#include "tk2v/gui/MenuBase.h"

namespace GUI {

class MainMenu : public MenuBase {
public:
    using MenuBase::MenuBase;
    ~MainMenu() override = default;

    const char* GetTypeName() const override { return "MainMenu"; }
    bool IsA(const std::string& typeName) const override {
        return typeName == "MainMenu" || MenuBase::IsA(typeName);
    }
};

} // namespace GUI
