#include "tk2v/gui/ImageButton.h"

#include "tk2v/gfx/aImage.h"
#include "tk2v/gui/DrawHelpers.h"
#include "tk2v/gui/Server.h"
#include "tk2v/util/log.h"

namespace GUI {

namespace {

// In ButtonLook order.
const char* const ImageNames[LOOK_COUNT] = {"NormalImage", "DisabledImage", "HoverImage", "PushedImage"};
const char* const RectNames[LOOK_COUNT] = {"NormalRect", "DisabledRect", "HoverRect", "PushedRect"};
// The looks of a strip's frames, first frame first.
const ButtonLook StripLooks[LOOK_COUNT] = {LOOK_NORMAL, LOOK_PUSHED, LOOK_HOVER, LOOK_DISABLED};
constexpr i32 DefaultGlyphCount = 4;
constexpr f32 DegreesToRadians = 3.1415927f / 180.0f;

aImage* FindImage(const std::string& name) {
    return Server::exists() ? Server::getSingleton()->GetImage(name) : nullptr;
}

} // namespace

ImageButton::ImageButton(const std::string& name) : ButtonBase(name) {
    Properties& p = m_imageProps;
    AddProperty("Image", &p.image);
    AddProperty("ImageRect", &p.imageRect);
    AddProperty("Layout", &p.layout);
    AddProperty("GlyphCount", &p.glyphCount);
    for (u32 look = 0; look < LOOK_COUNT; ++look)
        AddProperty(ImageNames[look], &p.images[look]);
    for (u32 look = 0; look < LOOK_COUNT; ++look)
        AddProperty(RectNames[look], &p.rects[look]);
    AddProperty("RotAngle", &p.rotAngle);
    AddProperty("RotCenter", &p.rotCenter);
}

ImageButton::~ImageButton() = default;

void ImageButton::SetImage(ButtonLook look, const aImage* image, const aRect* rect) {
    SetImageRef(image, rect, m_images[look], m_rects[look]);
}

void ImageButton::ApplyStrip() {
    const Properties& p = m_imageProps;
    const aImage* image = FindImage(p.image.value);
    aRect area = p.imageRect.changed ? ParseRect(p.imageRect.value) : aRect{};
    if (!p.imageRect.changed && image)
        area = aRect{0, 0, image->getWidth(), image->getHeight()};
    bool vertical = true;
    if (p.layout.changed && !NoCaseEqual(p.layout.value, "vertical")) {
        if (NoCaseEqual(p.layout.value, "horizontal"))
            vertical = false;
        else
            log("ImageButton::EndFillProperties - invalid layout type '%s'", p.layout.value.c_str());
    }
    i32 count = p.glyphCount.changed ? ParseInt(p.glyphCount.value) : DefaultGlyphCount;
    if (count < 1) {
        // No frame layout exists for it, and it would divide by zero.
        log("ImageButton::EndFillProperties - invalid glyph count '%s'", p.glyphCount.value.c_str());
        count = DefaultGlyphCount;
    }
    const u16 frameW = vertical ? area.w : u16(area.w / count);
    const u16 frameH = vertical ? u16(area.h / count) : area.h;
    for (i32 i = 0; i < count && i < i32(LOOK_COUNT); ++i) {
        const aRect frame{i16(area.x + (vertical ? 0 : i * frameW)),
                          i16(area.y + (vertical ? i * frameH : 0)), frameW, frameH};
        SetImage(StripLooks[i], image, &frame);
    }
}

void ImageButton::MakeFromScript() {
    ButtonBase::MakeFromScript();
    Properties& p = m_imageProps;
    if (p.rotAngle.changed)
        m_rotAngle = ParseFloat(p.rotAngle.value);
    if (p.rotCenter.changed) {
        ParsePoint(p.rotCenter.value, m_rotCenter[0], m_rotCenter[1]);
        m_hasRotCenter = true;
    }
    if (p.image.changed)
        ApplyStrip();
    // The single images override the strip's frames; a rectangle counts only beside its image.
    for (u32 look = 0; look < LOOK_COUNT; ++look) {
        if (!p.images[look].changed)
            continue;
        const aRect rect = ParseRect(p.rects[look].value);
        SetImage(ButtonLook(look), FindImage(p.images[look].value), p.rects[look].changed ? &rect : nullptr);
    }
    if (m_area.w == 0)
        m_area.w = m_rects[LOOK_NORMAL].w;
    if (m_area.h == 0)
        m_area.h = m_rects[LOOK_NORMAL].h;
}

void ImageButton::DrawImages() {
    u32 present = 0;
    for (u32 look = 0; look < LOOK_COUNT; ++look)
        present |= u32(m_images[look] != nullptr) << look;
    const ButtonLayers layers = ChooseLayers(present);
    const aRect screen{i16(GetScreenX()), i16(GetScreenY()), m_area.w, m_area.h};
    for (u32 i = 0; i < layers.count; ++i) {
        const ButtonLook look = layers.look[i];
        DrawImageScaled(m_images[look].get(), m_rects[look], screen, LayerColor(layers.alpha[i]),
                        m_rotAngle * DegreesToRadians, m_hasRotCenter ? m_rotCenter : nullptr);
    }
}

void ImageButton::DrawSelf() {
    DrawImages();
    ButtonBase::DrawSelf();
}

} // namespace GUI
