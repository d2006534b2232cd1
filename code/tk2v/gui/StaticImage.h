#pragma once
#include "tk2v/gfx/aRect.h"
#include "tk2v/gui/ColorF.h"
#include "tk2v/gui/Widget.h"

#include <memory>

class aImage;

namespace GUI {

// An image region stretched over the widget, tinted and optionally rotated, with its own image for
// the disabled state.
class StaticImage : public Widget {
public:
    explicit StaticImage(const std::string& name);
    ~StaticImage() override;

    void MakeFromScript() override;
    const char* GetTypeName() const override { return "StaticImage"; }
    bool IsA(const std::string& typeName) const override { return typeName == "StaticImage"; }
    void DrawSelf() override;

    // Without a rectangle the whole image; null drops the image.
    void SetImage(const aImage* image, const aRect* rect = nullptr);
    void SetColor(u32 argb) { m_color = ColorF::FromARGB(argb); }
    const aImage* GetImage() const { return m_normalImage.get(); }
    const aRect& GetImageRect() const { return m_normalRect; }

private:
    std::unique_ptr<aImage> m_normalImage, m_disabledImage;
    aRect m_normalRect, m_disabledRect;
    ColorF m_color;
    f32 m_rotAngle = 0;
    f32 m_rotCenter[2] = {0, 0};
    bool m_hasRotCenter = false;

    struct Properties {
        Property normalImage, normalRect, disabledImage, disabledRect, color, rotAngle, rotCenter;
    } m_ownProps;
};

} // namespace GUI
