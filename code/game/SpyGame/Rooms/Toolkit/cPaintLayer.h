#pragma once
#include "game/SpyGame/Rooms/Toolkit/cRoomTransform.h"
#include "tk2v/gfx/aImage.h"
#include "tk2v/gfx/aRect.h"
#include "tk2v/util/types.h"

#include <vector>

class CRoomItemLookup;
class SaveLoadSystem;

// A layer over a rectangle of a puzzle page, clear at first, that gains opacity where the cursor
// rubs while the mouse button is down; under a source picture the revealed colour is the picture's,
// elsewhere a base colour. The texels live in memory and the texture mirrors them.
class cPaintLayer {
public:
    // A page larger than this each way has no texture.
    static constexpr u16 MaxSide = 2048;

    explicit cPaintLayer(cRoomTransform transform = {}) : m_Transform(transform) {}
    cPaintLayer(const cPaintLayer&) = delete;
    cPaintLayer& operator=(const cPaintLayer&) = delete;

    // The source is placed at `place` in room coordinates; a brush spot covers brushW x brushH texels
    // from its point right- and downwards; each unit of strength adds speed x 255 alpha, up to the limit.
    void Setup(aImage* source, i16 placeX, i16 placeY, u16 brushW, u16 brushH, u32 baseColor, u8 alphaLimit,
               f32 speed);
    // Where the layer lies in room coordinates; the texture takes its size.
    void SetRect(const aRect& page);
    // Nothing painted, no stroke; every texel clear in its colour.
    void Reset();
    void ResetLastPoint() { m_LastX = m_LastY = -1; }
    // Paints while the left button is down; true when a spot fell on the page.
    bool Update(f32 strength);
    void Render();
    u8* SaveSelf(SaveLoadSystem& sys, u8* pos);
    const u8* LoadSelf(CRoomItemLookup& rooms, SaveLoadSystem& sys, const u8* pos);

    // The alpha gained over every texel since the last reset.
    f32 GetPaintedAmount() const { return m_Painted; }
    const aRect& GetRect() const { return m_Page; }

private:
    bool Spot(i32 x, i32 y, f32 strength);
    // Half-texel steps from the last point towards (x, y), short of overshooting it.
    bool Stroke(i32 x, i32 y, f32 strength);
    // Copies the texels of the rectangle (texture coordinates) into the texture.
    void Upload(const aRect& area);
    void MarkDirty(i32 x0, i32 y0, i32 x1, i32 y1);
    aRect Whole() const { return {0, 0, m_Page.w, m_Page.h}; }

    cRoomTransform m_Transform;
    aImage* m_Source = nullptr;
    aImage m_Texture;
    i32 m_LastX = -1, m_LastY = -1;
    i16 m_PlaceX = 0, m_PlaceY = 0;
    u16 m_BrushW = 0, m_BrushH = 0;
    aRect m_Page;
    u32 m_BaseColor = 0;
    f32 m_Speed = 0;
    f32 m_Painted = 0;
    u8 m_AlphaLimit = 0;
    // The texels in two planes, rows of the page's width: the colour (RGB) and the alpha, which is
    // what painting changes and what the record holds.
    std::vector<u32> m_Colors;
    std::vector<u8> m_Alphas;
    // Texels painted since the last upload, as x0, y0, x1, y1 (exclusive); empty when x0 >= x1.
    i32 m_Dirty[4] = {0, 0, 0, 0};
};
