#pragma once
#include "tk2v/gfx/aRect.h"
#include "tk2v/util/types.h"

namespace GUI {

// One row of a list box, supplied and owned by the list box's user: the list box only points at it,
// asks its size, draws and updates it, orders it and keeps its selected flag.
class ListboxItem {
public:
    virtual ~ListboxItem() = default;

    virtual void GetSize(f32& width, f32& height) const = 0;
    // Into the row's rectangle inside the list box's margins, in screen coordinates.
    virtual void Draw(const aRect& rect) = 0;
    virtual void Update(f32 dt) = 0;
    // The orderings of descending and ascending sorting.
    virtual bool IsGreater(const ListboxItem& other) const = 0;
    virtual bool IsLess(const ListboxItem& other) const = 0;

    bool selected = false;
};

} // namespace GUI
