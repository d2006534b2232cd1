#include "game/SpyGame/Rooms/Toolkit/cRoomTransform.h"

#include "tk2v/gfx/aFont.h"

SpyPoint cRoomTransform::ScreenToLocal(f32 x, f32 y) const {
    const SpyPoint offset = Offset(), divisor = Divisor();
    return {(x - offset.x) / divisor.x, (y - offset.y) / divisor.y};
}

SpyPoint cRoomTransform::LocalToScreen(f32 x, f32 y) const {
    const SpyPoint offset = Offset(), scale = Scale();
    return {scale.x * x + offset.x, scale.y * y + offset.y};
}

SpyPoint cRoomTransform::UnscaleSize(f32 w, f32 h) const {
    const SpyPoint divisor = Divisor();
    return {w / divisor.x, h / divisor.y};
}

SpyPoint cRoomTransform::ScaleSize(f32 w, f32 h) const {
    const SpyPoint scale = Scale();
    return {scale.x * w, scale.y * h};
}

void cRoomTransform::SetFontSize(aFont& font, f32 size) const {
    const SpyPoint scale = Scale();
    font.setScale(size * (scale.x + scale.y) * 0.5555555f);
}
