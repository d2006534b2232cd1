#pragma once
#include "tk2v/gui/Widget.h"
#include "tk2v/util/types.h"

#include <string>

namespace GUI {

class Style;

// The container dialogs and screens are built from: drawn with a normal, a hover and a disabled
// style, cross-fading to the hover style with the fade level, and draggable with the left button
// inside its parent.
class Window : public Widget {
public:
    explicit Window(const std::string& name);
    ~Window() override = default;

    // The widget's properties, then "Drag" and the three styles, each only when changed.
    void MakeFromScript() override;
    const char* GetTypeName() const override { return "Window"; }
    bool IsA(const std::string& typeName) const override;
    void DrawSelf() override;
    void OnMouseMove(MouseEventArgs& e) override;
    void OnMouseDown(MouseEventArgs& e) override;
    void OnMouseUp(MouseEventArgs& e) override;
    // Fire "DragStarted", "Dragging" and "DragFinished".
    virtual void OnDragStarted(WidgetEventArgs& e);
    virtual void OnDragging(WidgetEventArgs& e);
    virtual void OnDragFinished(WidgetEventArgs& e);

    bool GetDrag() const { return m_drag; }
    void SetDrag(bool drag) { m_drag = drag; }
    bool IsDragging() const { return m_dragging; }

    Style* GetNormalStyle() const { return m_normalStyle; }
    Style* GetHoverStyle() const { return m_hoverStyle; }
    Style* GetDisabledStyle() const { return m_disabledStyle; }
    void SetNormalStyle(Style* style) { m_normalStyle = style; }
    void SetHoverStyle(Style* style) { m_hoverStyle = style; }
    void SetDisabledStyle(Style* style) { m_disabledStyle = style; }

private:
    bool m_drag = false;
    bool m_dragging = false;
    Style* m_normalStyle = nullptr;
    Style* m_hoverStyle = nullptr;
    Style* m_disabledStyle = nullptr;
    // The last mouse position in the parent's coordinates during a drag.
    i32 m_anchorX = 0, m_anchorY = 0;

    struct Properties {
        Property drag, normalStyle, hoverStyle, disabledStyle;
    } m_windowProps;
};

} // namespace GUI
