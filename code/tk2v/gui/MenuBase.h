#pragma once
#include "tk2v/gui/Widget.h"

namespace GUI {

// Menu classes that scripts can name; they behave as plain widgets.
class MenuBase : public Widget {
public:
    using Widget::Widget;
    ~MenuBase() override = default;

    const char* GetTypeName() const override { return "MenuBase"; }
    bool IsA(const std::string& typeName) const override { return typeName == "MenuBase"; }
};

} // namespace GUI
