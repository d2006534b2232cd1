#include "tk2v/gui/DrawHelpers.h"
#include "tk2v/gfx/aAnim.h"
#include "tk2v/gfx/aImage.h"

#include <algorithm>

namespace GUI {

namespace {

bool invisible(u32 color) {
    return (color >> 24) == 0;
}

} // namespace

void DrawImageScaled(aImage* image, const aRect& src, const aRect& dst, u32 color, f32 angle,
                     const f32* centre) {
    if (!image || invisible(color) || src.w == 0 || src.h == 0)
        return;
    const f32 scale[2] = {f32(dst.w) / f32(src.w), f32(dst.h) / f32(src.h)};
    image->draw(dst.x, dst.y, src.x, src.y, src.w, src.h, color, scale, angle, centre, true);
}

void DrawAnimScaled(const aAnim* anim, const aRect& dst, u32 color, f32 angle, const f32* centre) {
    if (!anim || invisible(color))
        return;
    const u16 w = anim->getFrameWidth(), h = anim->getFrameHeight();
    if (w == 0 || h == 0)
        return;
    const f32 scale[2] = {f32(dst.w) / f32(w), f32(dst.h) / f32(h)};
    anim->draw(dst.x, dst.y, color, scale, angle, centre);
}

void DrawImageTiled(aImage* image, const aRect& src, const aRect& dst, u32 color) {
    if (!image || invisible(color))
        return;
    const i32 tileW = std::min(src.w, dst.w), tileH = std::min(src.h, dst.h);
    if (tileW == 0 || tileH == 0)
        return;
    const i32 right = dst.x + dst.w, bottom = dst.y + dst.h;
    for (i32 y = dst.y; y < bottom; y += tileH) {
        const u16 h = u16(std::min(tileH, bottom - y));
        for (i32 x = dst.x; x < right; x += tileW) {
            const u16 w = u16(std::min(tileW, right - x));
            image->draw(f32(x), f32(y), src.x, src.y, w, h, color, nullptr, 0, nullptr, true);
        }
    }
}

void SetImageRef(const aImage* image, const aRect* rect, std::unique_ptr<aImage>& ref, aRect& rectOut) {
    const bool same = image && ref && image->hasTexture() && image->getTexture() == ref->getTexture();
    if (!same)
        ref = image ? std::make_unique<aImage>(*image) : nullptr;
    if (rect)
        rectOut = *rect;
    else if (image)
        rectOut = aRect{0, 0, image->getWidth(), image->getHeight()};
    else
        rectOut.x = rectOut.y = 0;
}

} // namespace GUI
