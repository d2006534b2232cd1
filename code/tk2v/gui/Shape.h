#pragma once
#include "tk2v/gui/ColorF.h"
#include "tk2v/gui/Widget.h"

namespace GUI {

// A filled rectangle or ellipse with a border, over the widget's rectangle. It ignores the
// widget's alpha and enabled state.
class Shape : public Widget {
public:
    enum ShapeStyle : u32 { SHAPE_RECTANGLE = 0, SHAPE_ELLIPSE = 1 };

    explicit Shape(const std::string& name);
    ~Shape() override = default;

    void MakeFromScript() override;
    const char* GetTypeName() const override { return "Shape"; }
    bool IsA(const std::string& typeName) const override { return typeName == "Shape"; }
    void DrawSelf() override;

    void SetPenColor(u32 argb) { m_penColor = ColorF::FromARGB(argb); }
    void SetFillColor(u32 argb) { m_fillColor = ColorF::FromARGB(argb); }
    void SetShapeStyle(ShapeStyle style) { m_style = style; }
    void SetPenWidth(f32 width) { m_penWidth = width; }

private:
    ColorF m_penColor, m_fillColor;
    ShapeStyle m_style = SHAPE_RECTANGLE;
    f32 m_penWidth = 1;

    struct Properties {
        Property shapeStyle, penWidth, penColor, fillColor;
    } m_ownProps;
};

} // namespace GUI
