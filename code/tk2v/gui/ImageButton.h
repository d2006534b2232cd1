#pragma once
#include "tk2v/gfx/aRect.h"
#include "tk2v/gui/ButtonBase.h"

#include <memory>

class aImage;

namespace GUI {

// A button whose background is one image per state, or one frame per state of an image strip,
// optionally rotated.
class ImageButton : public ButtonBase {
public:
    explicit ImageButton(const std::string& name);
    ~ImageButton() override;

    void MakeFromScript() override;
    const char* GetTypeName() const override { return "ImageButton"; }
    bool IsA(const std::string& typeName) const override {
        return typeName == "ImageButton" || ButtonBase::IsA(typeName);
    }
    void DrawSelf() override;

    // Null drops the look's image; without a rectangle the whole image.
    void SetImage(ButtonLook look, const aImage* image, const aRect* rect = nullptr);
    const aImage* GetImage(ButtonLook look) const { return m_images[look].get(); }
    const aRect& GetImageRect(ButtonLook look) const { return m_rects[look]; }

protected:
    // The background of the current state, into the widget's screen rectangle.
    void DrawImages();

private:
    void ApplyStrip();

    std::unique_ptr<aImage> m_images[LOOK_COUNT];
    aRect m_rects[LOOK_COUNT];
    f32 m_rotAngle = 0;
    f32 m_rotCenter[2] = {0, 0};
    bool m_hasRotCenter = false;

    struct Properties {
        Property image, imageRect, layout, glyphCount;
        Property images[LOOK_COUNT], rects[LOOK_COUNT];
        Property rotAngle, rotCenter;
    } m_imageProps;
};

} // namespace GUI
