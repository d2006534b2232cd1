#pragma once
#include "tk2v/gui/ColorF.h"
#include "tk2v/gui/Widget.h"

namespace GUI {

// The looks a button can have, one image or style each.
enum ButtonLook : u32 { LOOK_NORMAL = 0, LOOK_DISABLED = 1, LOOK_HOVER = 2, LOOK_PUSHED = 3, LOOK_COUNT = 4 };

// What a button draws, bottom first: at most two looks, each with a factor for the widget's alpha.
struct ButtonLayers {
    u32 count = 0;
    ButtonLook look[2] = {LOOK_NORMAL, LOOK_NORMAL};
    f32 alpha[2] = {1, 1};
};

// The common base of the buttons: the pushed state, the caption colour of the current state and the
// caption itself, drawn line by line inside the button. Subclasses draw their background first.
class ButtonBase : public Widget {
public:
    // Caption alignment codes; not those of the static text.
    enum HorzAlign : i32 { TEXT_LEFT = 0, TEXT_HCENTER = 1, TEXT_RIGHT = 2 };
    enum VertAlign : i32 { TEXT_TOP = 0, TEXT_VCENTER = 1, TEXT_BOTTOM = 2 };

    explicit ButtonBase(const std::string& name);
    ~ButtonBase() override = 0;

    void MakeFromScript() override;
    const char* GetTypeName() const override { return "ButtonBase"; }
    bool IsA(const std::string& typeName) const override { return typeName == "ButtonBase"; }
    void DrawSelf() override;
    void OnMouseDown(MouseEventArgs& e) override;
    void OnMouseUp(MouseEventArgs& e) override;

    void SetTextNormalColor(u32 argb) { m_normalColor = ColorF::FromARGB(argb); }
    void SetTextDisabledColor(u32 argb) { m_disabledColor = ColorF::FromARGB(argb); }
    void SetTextHoverColor(u32 argb) { m_hoverColor = ColorF::FromARGB(argb); }
    void SetTextPushedColor(u32 argb) { m_pushedColor = ColorF::FromARGB(argb); }
    void SetTextColors(u32 normal, u32 hover, u32 pushed, u32 disabled);
    // The caption colour of the current state as 0xAARRGGBB; between normal and hover it follows
    // the hover fade.
    u32 GetTextColor() const;
    bool IsPushed() const { return m_pushed; }

protected:
    // Which looks to draw for the current state, given the looks that exist (a bit per ButtonLook).
    ButtonLayers ChooseLayers(u32 present) const;
    // Alpha for a look layer: the widget's effective alpha times the layer's factor, over white.
    u32 LayerColor(f32 factor) const;

    ColorF m_normalColor, m_disabledColor, m_hoverColor, m_pushedColor;
    f32 m_pushOffsetX = 0, m_pushOffsetY = 0;
    f32 m_extentX = 0, m_extentY = 0;
    i32 m_textHorzAlign = TEXT_HCENTER;
    i32 m_textVertAlign = TEXT_VCENTER;
    f32 m_lineSpacing = 0;
    bool m_pushed = false;
    u32 m_drawFlags = 16;

private:
    struct Properties {
        Property textHorzAlign, textVertAlign, textPushOffset, textExtent, textColor, textNormalColor,
            textDisabledColor, textHoverColor, textPushedColor, lineSpacing, forceIntXY;
    } m_buttonProps;
};

} // namespace GUI
