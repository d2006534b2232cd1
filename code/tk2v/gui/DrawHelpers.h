#pragma once
#include "tk2v/gfx/aRect.h"
#include "tk2v/util/types.h"

#include <memory>

class aAnim;
class aImage;

namespace GUI {

// Draws the source part of the image stretched over the target, with the glow clip on. The centre
// (x, y relative to the source rectangle) is null for the source's middle. Nothing is drawn without
// an image, with an empty source or target, or when the colour's alpha byte is 0.
void DrawImageScaled(aImage* image, const aRect& src, const aRect& dst, u32 color, f32 angle = 0,
                     const f32* centre = nullptr);
// The same for the animation's current frame, scaled from its frame size.
void DrawAnimScaled(const aAnim* anim, const aRect& dst, u32 color, f32 angle = 0,
                    const f32* centre = nullptr);
// Fills the target with unscaled copies of the source rectangle from its top-left corner, cutting the
// last column and row so that nothing lands outside the target.
void DrawImageTiled(aImage* image, const aRect& src, const aRect& dst, u32 color);

// Points `ref` at its own handle on `image` (sharing its texture), replacing the handle it held
// unless that already shares the image's texture; null drops it. `rectOut` becomes `rect`, or the
// whole image without one; with neither it moves to 0, 0 and keeps its size.
void SetImageRef(const aImage* image, const aRect* rect, std::unique_ptr<aImage>& ref, aRect& rectOut);

} // namespace GUI
