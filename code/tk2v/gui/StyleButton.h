#pragma once
#include "tk2v/gui/ButtonBase.h"

namespace GUI {

class Style;

// A button whose background is one of four named styles, by state.
class StyleButton : public ButtonBase {
public:
    explicit StyleButton(const std::string& name);
    ~StyleButton() override = default;

    void MakeFromScript() override;
    const char* GetTypeName() const override { return "StyleButton"; }
    bool IsA(const std::string& typeName) const override {
        return typeName == "StyleButton" || ButtonBase::IsA(typeName);
    }
    void DrawSelf() override;

    void SetStyle(ButtonLook look, Style* style) { m_styles[look] = style; }
    Style* GetStyle(ButtonLook look) const { return m_styles[look]; }

private:
    Style* m_styles[LOOK_COUNT] = {};
    Property m_styleProps[LOOK_COUNT];
};

} // namespace GUI
