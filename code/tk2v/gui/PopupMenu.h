#pragma once
#include "tk2v/gui/MenuBase.h"

namespace GUI {

class PopupMenu : public MenuBase {
public:
    using MenuBase::MenuBase;
    ~PopupMenu() override = default;

    const char* GetTypeName() const override { return "PopupMenu"; }
    bool IsA(const std::string& typeName) const override {
        return typeName == "PopupMenu" || MenuBase::IsA(typeName);
    }
};

} // namespace GUI
