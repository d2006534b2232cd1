#include "tk2v/gui/Shape.h"

#include "tk2v/gfx/aGDI.h"

namespace GUI {

namespace {

// One drawer for every shape, made on first use.
aGDI& Drawer() {
    static aGDI drawer;
    return drawer;
}

u32 Pack(const ColorF& c) {
    return PackColor(c.r, c.g, c.b, c.a);
}

} // namespace

Shape::Shape(const std::string& name) : Widget(name) {
    AddProperty("ShapeStyle", &m_ownProps.shapeStyle);
    AddProperty("PenWidth", &m_ownProps.penWidth);
    AddProperty("PenColor", &m_ownProps.penColor);
    AddProperty("FillColor", &m_ownProps.fillColor);
}

void Shape::MakeFromScript() {
    Widget::MakeFromScript();
    Properties& p = m_ownProps;
    if (p.shapeStyle.changed)
        m_style = NoCaseEqual(p.shapeStyle.value, "ellipse") ? SHAPE_ELLIPSE : SHAPE_RECTANGLE;
    if (p.penWidth.changed)
        m_penWidth = ParseFloat(p.penWidth.value);
    if (p.penColor.changed)
        SetPenColor(ParseColor(p.penColor.value));
    if (p.fillColor.changed)
        SetFillColor(ParseColor(p.fillColor.value));
}

void Shape::DrawSelf() {
    aGDI& gdi = Drawer();
    const f32 x = f32(GetScreenX()), y = f32(GetScreenY()), w = m_area.w, h = m_area.h, p = m_penWidth;
    const f32 cx = x + w / 2, cy = y + h / 2;
    const u32 fill = Pack(m_fillColor);
    if (fill >> 24) {
        gdi.color = fill;
        if (m_style == SHAPE_ELLIPSE)
            gdi.drawEllipse(cx, cy, w / 2 - p, h / 2 - p, true);
        else
            gdi.drawRect(x + p, y + p, w - 2 * p, h - 2 * p, true);
    }
    gdi.color = Pack(m_penColor);
    if (m_style == SHAPE_ELLIPSE) {
        gdi.drawRing(cx, cy, w / 2, h / 2, cx, cy, w / 2 - p, h / 2 - p);
        return;
    }
    gdi.drawRect(x, y, p, h, true);
    gdi.drawRect(x, y, w, p, true);
    gdi.drawRect(x + w - p, y, p, h, true);
    gdi.drawRect(x, y + h - p, w, p, true);
}

} // namespace GUI
