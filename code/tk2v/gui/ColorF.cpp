#include "tk2v/gui/ColorF.h"

#include "tk2v/gui/PropertySet.h"

namespace GUI {

u32 PackColor(f32 r, f32 g, f32 b, f32 a) {
    return u32(ColorByte(a)) << 24 | u32(ColorByte(r)) << 16 | u32(ColorByte(g)) << 8 | ColorByte(b);
}

} // namespace GUI
