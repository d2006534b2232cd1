#pragma once
#include "tk2v/gui/Widget.h"

namespace GUI {

// A script class of its own with nothing beyond the widget base.
class Tooltip : public Widget {
public:
    using Widget::Widget;
    ~Tooltip() override = default;

    const char* GetTypeName() const override { return "Tooltip"; }
    bool IsA(const std::string& typeName) const override { return typeName == "Tooltip"; }
};

} // namespace GUI
