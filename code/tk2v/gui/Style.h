#pragma once
#include "tk2v/gfx/aRect.h"
#include "tk2v/gui/PropertySet.h"
#include "tk2v/util/types.h"

class aImage;

namespace GUI {

// A named nine-slice picture: one image cut into four corners, four edges and an interior, drawn into
// any rectangle with the corners unscaled and the edges and interior stretched, tiled or left out.
class Style : public PropertySet {
public:
    // How the interior and each edge are drawn. 0 is no type: nothing is drawn for it.
    enum DrawType : i32 { DRAW_UNSET = 0, DRAW_NONE = 1, DRAW_STRETCH = 2, DRAW_TILE = 3 };
    enum Slice : u32 {
        SLICE_TOP_LEFT,
        SLICE_TOP_RIGHT,
        SLICE_BOTTOM_LEFT,
        SLICE_BOTTOM_RIGHT,
        SLICE_LEFT,
        SLICE_TOP,
        SLICE_RIGHT,
        SLICE_BOTTOM,
        SLICE_INTERIOR,
        SLICE_COUNT
    };
    enum Edge : u32 { EDGE_LEFT, EDGE_TOP, EDGE_RIGHT, EDGE_BOTTOM, EDGE_COUNT };

    Style();
    ~Style() override = default;

    void MakeFromScript() override;
    // Every slice modulated by the colour (0xAARRGGBB); nothing without an image or at alpha 0.
    void Draw(const aRect& rect, u32 color) const;

    // The larger width of the two top corners and of the two bottom corners side by side.
    u16 GetMinWidth() const;
    // The larger height of the two left corners and of the two right corners stacked.
    u16 GetMinHeight() const;

    aImage* GetImage() const { return m_image; }
    const aRect& GetSlice(Slice slice) const { return m_slices[slice]; }
    i32 GetFillType() const { return m_fillType; }
    i32 GetEdgeType(Edge edge) const { return m_edgeTypes[edge]; }

    // "none" 1, "stretch" 2, "tile" 3, any other text 0.
    static i32 ParseDrawType(const std::string& text);

private:
    void ReadEdgeTypes();
    void ReadFillType();
    void ReadSlices();
    void AutoSlice(const aRect& area);
    // Stretched or tiled over the target; nothing for another type or an empty target.
    void DrawPart(Slice slice, i32 type, i32 x, i32 y, i32 w, i32 h, u32 color) const;

    aImage* m_image = nullptr;
    aRect m_slices[SLICE_COUNT];
    i32 m_fillType = DRAW_UNSET;
    i32 m_edgeTypes[EDGE_COUNT] = {DRAW_UNSET, DRAW_UNSET, DRAW_UNSET, DRAW_UNSET};

    struct Properties {
        Property fillType, autoSlice, edgeGlobal, image;
        Property slices[SLICE_COUNT];
        Property edges[EDGE_COUNT];
    } m_props;
};

} // namespace GUI
