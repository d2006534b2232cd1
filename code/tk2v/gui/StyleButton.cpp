#include "tk2v/gui/StyleButton.h"

#include "tk2v/gui/Server.h"
#include "tk2v/gui/Style.h"

namespace GUI {

namespace {
// In ButtonLook order.
const char* const StyleNames[LOOK_COUNT] = {"NormalStyle", "DisabledStyle", "HoverStyle", "PushedStyle"};
} // namespace

StyleButton::StyleButton(const std::string& name) : ButtonBase(name) {
    for (u32 look = 0; look < LOOK_COUNT; ++look)
        AddProperty(StyleNames[look], &m_styleProps[look]);
}

void StyleButton::MakeFromScript() {
    ButtonBase::MakeFromScript();
    for (u32 look = 0; look < LOOK_COUNT; ++look)
        if (m_styleProps[look].changed)
            m_styles[look] = Server::getSingleton()->GetStyle(m_styleProps[look].value);
}

void StyleButton::DrawSelf() {
    u32 present = 0;
    for (u32 look = 0; look < LOOK_COUNT; ++look)
        present |= u32(m_styles[look] != nullptr) << look;
    const ButtonLayers layers = ChooseLayers(present);
    const aRect screen{i16(GetScreenX()), i16(GetScreenY()), m_area.w, m_area.h};
    for (u32 i = 0; i < layers.count; ++i)
        m_styles[layers.look[i]]->Draw(screen, LayerColor(layers.alpha[i]));
    ButtonBase::DrawSelf();
}

} // namespace GUI
