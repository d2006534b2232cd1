#pragma once
#include "tk2v/util/types.h"

#include <string>
#include <vector>

namespace GUI {

// A one-bit hit mask read from a monochrome bitmap: a widget with a region is hit only where the
// mask is set.
class Region {
public:
    Region() = default;
    virtual ~Region() = default;

    // Replaces the mask with the bitmap's; a file that is not a whole 1-bit bitmap is logged and
    // leaves the old mask.
    bool LoadFromBitmap(const std::string& fileName);
    // Coordinates are unsigned, so negative ones wrap to outside.
    bool IsSet(u32 x, u32 y) const;

    u32 GetWidth() const { return m_width; }
    u32 GetHeight() const { return m_height; }

private:
    u32 m_width = 0, m_height = 0;
    // Row by row from the top; non-zero means inside.
    std::vector<u8> m_mask;
};

} // namespace GUI
