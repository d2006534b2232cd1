#include "tk2v/gui/Style.h"
#include "tk2v/gfx/aImage.h"
#include "tk2v/gui/DrawHelpers.h"
#include "tk2v/gui/Server.h"
#include "tk2v/util/log.h"

#include <algorithm>

namespace GUI {

namespace {

const char* const kSliceNames[Style::SLICE_COUNT] = {
    "TopLeft", "TopRight", "BottomLeft", "BottomRight", "Left", "Top", "Right", "Bottom", "Interior"};
const char* const kEdgeNames[Style::EDGE_COUNT] = {"EdgeLeft", "EdgeTop", "EdgeRight", "EdgeBottom"};

} // namespace

Style::Style() {
    AddProperty("FillType", &m_props.fillType);
    AddProperty("AutoSlice", &m_props.autoSlice);
    AddProperty("EdgeGlobal", &m_props.edgeGlobal);
    AddProperty("Image", &m_props.image);
    for (u32 i = 0; i < SLICE_COUNT; ++i)
        AddProperty(kSliceNames[i], &m_props.slices[i]);
    for (u32 i = 0; i < EDGE_COUNT; ++i)
        AddProperty(kEdgeNames[i], &m_props.edges[i]);
}

i32 Style::ParseDrawType(const std::string& text) {
    if (NoCaseEqual(text, "none"))
        return DRAW_NONE;
    if (NoCaseEqual(text, "stretch"))
        return DRAW_STRETCH;
    if (NoCaseEqual(text, "tile"))
        return DRAW_TILE;
    return DRAW_UNSET;
}

void Style::MakeFromScript() {
    m_image = Server::exists() ? Server::getSingleton()->GetImage(m_props.image.value) : nullptr;
    ReadEdgeTypes();
    ReadFillType();
    ReadSlices();
}

void Style::ReadEdgeTypes() {
    if (m_props.edgeGlobal.changed) {
        const i32 type = ParseDrawType(m_props.edgeGlobal.value);
        if (type == DRAW_UNSET)
            log("Style::MakeFromScript - invalid EdgeType = '%s'", m_props.edgeGlobal.value.c_str());
        else
            std::fill(std::begin(m_edgeTypes), std::end(m_edgeTypes), type);
        return;
    }
    for (u32 i = 0; i < EDGE_COUNT; ++i) {
        const i32 type = ParseDrawType(m_props.edges[i].value);
        if (type == DRAW_UNSET)
            log("Style::MakeFromScript - invalid %s = '%s'", kEdgeNames[i], m_props.edges[i].value.c_str());
        else
            m_edgeTypes[i] = type;
    }
}

void Style::ReadFillType() {
    const i32 type = ParseDrawType(m_props.fillType.value);
    if (type == DRAW_UNSET)
        log("Style::MakeFromScript - invalid FillType = '%s'", m_props.fillType.value.c_str());
    else
        m_fillType = type;
}

void Style::ReadSlices() {
    if (m_props.autoSlice.changed) {
        const std::string& value = m_props.autoSlice.value;
        if (!NoCaseEqual(value, "all"))
            AutoSlice(ParseRect(value));
        else if (m_image)
            AutoSlice(aRect{0, 0, m_image->getWidth(), m_image->getHeight()});
        else
            AutoSlice(aRect{});
        return;
    }
    for (u32 i = 0; i < SLICE_COUNT; ++i) {
        const bool leftOut = i == SLICE_INTERIOR
                                 ? m_fillType == DRAW_NONE
                                 : i >= SLICE_LEFT && m_edgeTypes[i - SLICE_LEFT] == DRAW_NONE;
        if (!leftOut)
            m_slices[i] = ParseRect(m_props.slices[i].value);
    }
}

void Style::AutoSlice(const aRect& area) {
    // Row by row: the top corners with the top edge between them, and so on down.
    static const Slice grid[3][3] = {{SLICE_TOP_LEFT, SLICE_TOP, SLICE_TOP_RIGHT},
                                     {SLICE_LEFT, SLICE_INTERIOR, SLICE_RIGHT},
                                     {SLICE_BOTTOM_LEFT, SLICE_BOTTOM, SLICE_BOTTOM_RIGHT}};
    const u16 cellW = area.w / 3, cellH = area.h / 3;
    for (i32 row = 0; row < 3; ++row)
        for (i32 col = 0; col < 3; ++col)
            m_slices[grid[row][col]] =
                aRect{i16(area.x + col * cellW), i16(area.y + row * cellH), cellW, cellH};
}

void Style::DrawPart(Slice slice, i32 type, i32 x, i32 y, i32 w, i32 h, u32 color) const {
    if (w <= 0 || h <= 0)
        return;
    const aRect target{i16(x), i16(y), u16(w), u16(h)};
    if (type == DRAW_STRETCH)
        DrawImageScaled(m_image, m_slices[slice], target, color);
    else if (type == DRAW_TILE)
        DrawImageTiled(m_image, m_slices[slice], target, color);
}

void Style::Draw(const aRect& rect, u32 color) const {
    if (!m_image || (color >> 24) == 0)
        return;
    const aRect* s = m_slices;
    const i32 x = rect.x, y = rect.y, w = rect.w, h = rect.h;
    const i32 left = s[SLICE_LEFT].w, right = s[SLICE_RIGHT].w, top = s[SLICE_TOP].h,
              bottom = s[SLICE_BOTTOM].h;
    const aRect &tl = s[SLICE_TOP_LEFT], &tr = s[SLICE_TOP_RIGHT], &bl = s[SLICE_BOTTOM_LEFT],
                &br = s[SLICE_BOTTOM_RIGHT];

    DrawPart(SLICE_INTERIOR, m_fillType, x + left, y + top, w - left - right, h - top - bottom, color);
    // An edge stretches only along itself: its target is as thick as its slice.
    DrawPart(SLICE_TOP, m_edgeTypes[EDGE_TOP], x + tl.w, y, w - tl.w - tr.w, top, color);
    DrawPart(SLICE_BOTTOM, m_edgeTypes[EDGE_BOTTOM], x + bl.w, y + h - bottom, w - bl.w - br.w, bottom,
             color);
    DrawPart(SLICE_LEFT, m_edgeTypes[EDGE_LEFT], x, y + tl.h, left, h - tl.h - bl.h, color);
    DrawPart(SLICE_RIGHT, m_edgeTypes[EDGE_RIGHT], x + w - right, y + tr.h, right, h - tr.h - br.h, color);

    const auto corner = [&](const aRect& slice, i32 cx, i32 cy) {
        m_image->draw(f32(cx), f32(cy), slice.x, slice.y, slice.w, slice.h, color, nullptr, 0, nullptr, true);
    };
    corner(tl, x, y);
    corner(tr, x + w - tr.w, y);
    corner(bl, x, y + h - bl.h);
    corner(br, x + w - br.w, y + h - br.h);
}

u16 Style::GetMinWidth() const {
    const aRect* s = m_slices;
    return u16(std::max(s[SLICE_TOP_LEFT].w + s[SLICE_TOP_RIGHT].w,
                        s[SLICE_BOTTOM_LEFT].w + s[SLICE_BOTTOM_RIGHT].w));
}

u16 Style::GetMinHeight() const {
    const aRect* s = m_slices;
    return u16(std::max(s[SLICE_TOP_LEFT].h + s[SLICE_BOTTOM_LEFT].h,
                        s[SLICE_TOP_RIGHT].h + s[SLICE_BOTTOM_RIGHT].h));
}

} // namespace GUI
