#pragma once
#include "game/SpyGame/SpyPoint.h"
#include "tk2v/util/types.h"

class aFont;

// Where a room is drawn: a view of the offset and scale the room owns, mapping room coordinates to
// the screen and back. Without a room it maps one to one.
class cRoomTransform {
public:
    cRoomTransform() = default;
    cRoomTransform(const SpyPoint* offset, const SpyPoint* scale) : m_Offset(offset), m_Scale(scale) {}

    SpyPoint ScreenToLocal(f32 x, f32 y) const;
    SpyPoint LocalToScreen(f32 x, f32 y) const;
    SpyPoint UnscaleSize(f32 w, f32 h) const;
    SpyPoint ScaleSize(f32 w, f32 h) const;
    // Text drawn in the room grows with it.
    void SetFontSize(aFont& font, f32 size) const;

    // What ScreenToLocal subtracts and divides by: equal pairs map every point alike.
    SpyPoint Offset() const { return m_Offset ? *m_Offset : SpyPoint{}; }
    // A room not yet reset has a scale of 0; dividing by it would put everything at infinity.
    SpyPoint Divisor() const {
        const SpyPoint scale = Scale();
        return {scale.x == 0 ? 1.0f : scale.x, scale.y == 0 ? 1.0f : scale.y};
    }

private:
    SpyPoint Scale() const { return m_Scale ? *m_Scale : SpyPoint{1, 1}; }

    const SpyPoint* m_Offset = nullptr;
    const SpyPoint* m_Scale = nullptr;
};
