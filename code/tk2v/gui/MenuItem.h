#pragma once
#include "tk2v/gui/Widget.h"

namespace GUI {

class MenuItem : public Widget {
public:
    using Widget::Widget;
    ~MenuItem() override = default;

    const char* GetTypeName() const override { return "MenuItem"; }
    bool IsA(const std::string& typeName) const override { return typeName == "MenuItem"; }
};

} // namespace GUI
