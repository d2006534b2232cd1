#include "tk2v/gui/Listbox.h"

#include "tk2v/gfx/aApplication.h"
#include "tk2v/gfx/aGDI.h"
#include "tk2v/gfx/aGraphServer.h"
#include "tk2v/gui/ListboxItem.h"
#include "tk2v/gui/PixelClamp.h"
#include "tk2v/util/log.h"

#include <algorithm>
#include <cmath>
#include <memory>

namespace GUI {

namespace {

// One drawing object for every list box, made when the first selection is drawn. It remembers the
// graph server it was made under, so it is made again for a new one.
aGDI& SelectionDrawer() {
    static std::unique_ptr<aGDI> drawer;
    static aGraphServer* madeFor = nullptr;
    if (!drawer || madeFor != aApplication::graphServer()) {
        drawer = std::make_unique<aGDI>();
        madeFor = aApplication::graphServer();
    }
    return *drawer;
}

} // namespace

Listbox::Listbox(const std::string& name) : ScrollContainer(name) {
    AddProperty("Sorting", &m_propSorting);
    AddProperty("Multiselect", &m_propMultiselect);
    AddProperty("Bounds", &m_propBounds);
    AddProperty("SelectionColor", &m_propSelectionColor);
    AddEvent("ListContentsChanged");
    AddEvent("SelectionChanged");
    AddEvent("SortingModeChanged");
    AddEvent("MultiselectModeChanged");
}

bool Listbox::IsA(const std::string& typeName) const {
    return typeName == "Listbox" || ScrollContainer::IsA(typeName);
}

void Listbox::MakeFromScript() {
    ScrollContainer::MakeFromScript();
    if (m_propSorting.changed) {
        const std::string& word = m_propSorting.value;
        SetSortingMode(NoCaseEqual(word, "ascend")    ? SORT_ASCEND
                       : NoCaseEqual(word, "descend") ? SORT_DESCEND
                                                      : SORT_NONE);
    }
    if (m_propMultiselect.changed)
        SetMultiselect(ParseBool(m_propMultiselect.value));
    if (m_propBounds.changed) {
        u32 bounds[4];
        ParseColor4(m_propBounds.value, bounds);
        SetMargins(bounds[0], bounds[1], bounds[2], bounds[3]);
    }
    if (m_propSelectionColor.changed)
        SetSelectionColor(ParseColor(m_propSelectionColor.value));
}

void Listbox::Initialize() {
    ScrollContainer::Initialize();
    UpdatePageSizes();
    UpdateContentSize();
}

void Listbox::UpdateSelf(f32 dt) {
    for (ListboxItem* item : m_items)
        item->Update(dt);
}

// Items

ListboxItem* Listbox::GetItem(i32 index) const {
    return InRange(index) ? m_items[size_t(index)] : nullptr;
}

void Listbox::AddItem(ListboxItem* item) {
    if (!item)
        return;
    auto at = m_items.end();
    if (m_sortingMode == SORT_ASCEND)
        at = std::upper_bound(m_items.begin(), m_items.end(), item,
                              [](const ListboxItem* a, const ListboxItem* b) { return a->IsLess(*b); });
    else if (m_sortingMode == SORT_DESCEND)
        at = std::upper_bound(m_items.begin(), m_items.end(), item,
                              [](const ListboxItem* a, const ListboxItem* b) { return a->IsGreater(*b); });
    i32 index = i32(at - m_items.begin());
    m_items.insert(at, item);
    // Rows after the new one moved down by one.
    if (m_anchor >= index)
        ++m_anchor;
    if (m_lastClicked >= index)
        ++m_lastClicked;
    m_rowsHeight += RowHeight(*item);
    m_rowsWidth = std::max(m_rowsWidth, RowWidth(*item));
    if (u32(index) <= m_firstVisibleIndex)
        FindFirstVisible();
    SetContentSize(f32(m_rowsWidth), f32(m_rowsHeight));
    Fire(&Listbox::OnListContentsChanged);
}

void Listbox::RemoveItem(i32 index) {
    if (!InRange(index)) {
        log("Listbox::RemoveItem - item index %i is out of range", index);
        return;
    }
    m_items.erase(m_items.begin() + index);
    // Indices past the removed row now name other items.
    m_anchor = -1;
    m_lastClicked = -1;
    m_firstVisibleIndex = 0;
    m_firstVisibleOffset = 0;
    UpdateContentSize();
    FindFirstVisible();
    Fire(&Listbox::OnListContentsChanged);
}

void Listbox::Clear() {
    m_items.clear();
    m_anchor = -1;
    m_lastClicked = -1;
    m_firstVisibleIndex = 0;
    m_firstVisibleOffset = 0;
    UpdateContentSize();
    Fire(&Listbox::OnListContentsChanged);
}

i32 Listbox::ItemHeight(const ListboxItem& item) const {
    f32 width = 0, height = 0;
    item.GetSize(width, height);
    return std::isfinite(height) ? i32(std::clamp(height, 0.0f, 65535.0f)) : 0;
}

i32 Listbox::RowWidth(const ListboxItem& item) const {
    f32 width = 0, height = 0;
    item.GetSize(width, height);
    i32 w = std::isfinite(width) ? i32(std::clamp(width, 0.0f, 65535.0f)) : 0;
    return w + Margin(m_leftMargin) + Margin(m_rightMargin);
}

void Listbox::UpdateContentSize() {
    m_rowsHeight = 0;
    m_rowsWidth = 0;
    for (const ListboxItem* item : m_items) {
        m_rowsHeight += RowHeight(*item);
        m_rowsWidth = std::max(m_rowsWidth, RowWidth(*item));
    }
    SetContentSize(f32(m_rowsWidth), f32(m_rowsHeight));
}

void Listbox::SetMargins(u32 left, u32 right, u32 top, u32 bottom) {
    m_leftMargin = left;
    m_rightMargin = right;
    m_topMargin = top;
    m_bottomMargin = bottom;
    UpdateContentSize();
    FindFirstVisible();
}

void Listbox::SetSelectionColor(u32 color) {
    for (int i = 0; i < 3; ++i)
        m_selectionColor[i] = f32((color >> (16 - 8 * i)) & 0xFF) / 255.0f;
    m_selectionColor[3] = f32(color >> 24) / 255.0f;
}

// Sorting

void Listbox::SortItems() {
    // A merge sort: an item ordering that contradicts itself gives an odd order, never a walk
    // outside the list.
    if (m_sortingMode == SORT_ASCEND)
        std::stable_sort(m_items.begin(), m_items.end(),
                         [](const ListboxItem* a, const ListboxItem* b) { return a->IsLess(*b); });
    else if (m_sortingMode == SORT_DESCEND)
        std::stable_sort(m_items.begin(), m_items.end(),
                         [](const ListboxItem* a, const ListboxItem* b) { return a->IsGreater(*b); });
    FindFirstVisible();
}

void Listbox::SetSortingMode(i32 mode) {
    if (mode != SORT_ASCEND && mode != SORT_DESCEND)
        mode = SORT_NONE;
    if (mode == m_sortingMode)
        return;
    m_sortingMode = mode;
    SortItems();
    Fire(&Listbox::OnSortingModeChanged);
}

void Listbox::SetMultiselect(bool multiselect) {
    if (multiselect == m_multiselect)
        return;
    m_multiselect = multiselect;
    Fire(&Listbox::OnMultiselectModeChanged);
}

// Selection

void Listbox::ClearSelection(bool notify) {
    bool changed = false;
    for (ListboxItem* item : m_items) {
        changed |= item->selected;
        item->selected = false;
    }
    m_lastClicked = -1;
    if (notify && changed)
        Fire(&Listbox::OnSelectionChanged);
}

void Listbox::SetItemSelected(i32 index, bool selected) {
    if (!InRange(index)) {
        log("Listbox::SetItemSelected - item index %i is out of range", index);
        return;
    }
    ListboxItem* item = m_items[size_t(index)];
    if (item->selected == selected)
        return;
    item->selected = selected;
    Fire(&Listbox::OnSelectionChanged);
}

bool Listbox::IsItemSelected(i32 index) const {
    if (!InRange(index)) {
        log("Listbox::IsItemSelected - item index %i is out of range", index);
        return false;
    }
    return m_items[size_t(index)]->selected;
}

u32 Listbox::GetSelectedCount() const {
    return u32(std::count_if(m_items.begin(), m_items.end(),
                             [](const ListboxItem* item) { return item->selected; }));
}

// Scrolling and hits

void Listbox::FindFirstVisible() {
    i64 bottom = 0;
    for (size_t i = 0; i < m_items.size(); ++i) {
        i64 top = bottom;
        bottom += RowHeight(*m_items[i]);
        if (f32(bottom) > GetScrollY()) {
            m_firstVisibleIndex = u32(i);
            m_firstVisibleOffset = i32(f32(top) - GetScrollY());
            return;
        }
    }
}

void Listbox::OnScrolled(WidgetEventArgs& e) {
    FindFirstVisible();
    ScrollContainer::OnScrolled(e);
}

i32 Listbox::GetItemAt(i32 x, i32 y) const {
    if (x < 0 || y < 0 || x >= GetArea().w || y >= GetArea().h)
        return -1;
    i64 bottom = m_firstVisibleOffset;
    for (size_t i = m_firstVisibleIndex; i < m_items.size(); ++i) {
        bottom += RowHeight(*m_items[i]);
        if (bottom > y)
            return i32(i);
    }
    return -1;
}

void Listbox::OnMouseDown(MouseEventArgs& e) {
    i32 index = e.button == MOUSE_LEFT ? GetItemAt(e.x, e.y) : -1;
    if (index >= 0) {
        SelectClicked(index, e.modifiers);
        BringIntoView(index);
    }
    ScrollContainer::OnMouseDown(e);
}

void Listbox::SelectClicked(i32 index, u32 modifiers) {
    ListboxItem* item = m_items[size_t(index)];
    bool shift = (modifiers & MOD_SHIFT) != 0, ctrl = (modifiers & MOD_CTRL) != 0;
    if (!m_multiselect || (!shift && !ctrl)) {
        // A press on the only selected item changes nothing.
        if (!item->selected || GetSelectedCount() > 1) {
            ClearSelection(false);
            m_anchor = m_lastClicked = index;
            SetItemSelected(index, true);
        }
    } else if (ctrl) {
        if (!item->selected) {
            SetItemSelected(index, true);
            m_anchor = m_lastClicked = index;
        } else if (GetSelectedCount() >= 2) {
            // The last selected item cannot be deselected this way.
            SetItemSelected(index, false);
            m_anchor = m_lastClicked = -1;
        }
    } else {
        if (m_anchor == -1)
            m_anchor = index;
        i32 low = std::min(m_anchor, index), high = std::max(m_anchor, index);
        for (size_t i = 0; i < m_items.size(); ++i)
            m_items[i]->selected = i32(i) >= low && i32(i) <= high;
        m_lastClicked = index;
        Fire(&Listbox::OnSelectionChanged);
    }
}

void Listbox::BringIntoView(i32 index) {
    if (u32(index) == m_firstVisibleIndex && m_firstVisibleOffset != 0) {
        SetScrollPosition(GetScrollX(), GetScrollY() + f32(m_firstVisibleOffset));
        return;
    }
    i64 sum = m_firstVisibleOffset;
    for (size_t i = m_firstVisibleIndex; i <= size_t(index) && i < m_items.size(); ++i)
        sum += ItemHeight(*m_items[i]);
    if (sum > GetArea().h)
        SetScrollPosition(GetScrollX(), GetScrollY() + f32(sum - GetArea().h));
}

// Drawing

void Listbox::DrawSelf() {
    aGraphServer* graphServer = aApplication::graphServer();
    if (!graphServer)
        return;
    const aRect& area = GetArea();
    const aRect saved = graphServer->getViewport();
    aRect screen{ClampToI16(GetScreenX()), ClampToI16(GetScreenY()), area.w, area.h};
    aRect clip;
    graphServer->setViewport(saved.intersect(clip, screen));

    const i32 left = Margin(m_leftMargin), top = Margin(m_topMargin), bottom = Margin(m_bottomMargin);
    const u16 innerWidth = ClampToU16(i32(area.w) - left - Margin(m_rightMargin));
    const i32 rowX = i32(f32(GetScreenX()) - GetScrollX());
    const i32 screenBottom = GetScreenY() + area.h;
    i32 rowY = GetScreenY() + m_firstVisibleOffset;
    for (size_t i = m_firstVisibleIndex; i < m_items.size() && rowY < screenBottom; ++i) {
        ListboxItem* item = m_items[i];
        const i32 itemHeight = ItemHeight(*item), rowHeight = itemHeight + top + bottom;
        if (item->selected)
            DrawSelection(aRect{ClampToI16(rowX), ClampToI16(rowY), area.w, ClampToU16(rowHeight)});
        item->Draw(
            aRect{ClampToI16(rowX + left), ClampToI16(rowY + top), innerWidth, ClampToU16(itemHeight)});
        rowY += rowHeight;
    }
    graphServer->setViewport(saved);
}

void Listbox::DrawSelection(const aRect& rect) {
    aGDI& drawer = SelectionDrawer();
    drawer.color = u32(ColorByte(m_selectionColor[3])) << 24 | u32(ColorByte(m_selectionColor[0])) << 16 |
                   u32(ColorByte(m_selectionColor[1])) << 8 | ColorByte(m_selectionColor[2]);
    drawer.drawRectS(rect, true);
}

// Events

void Listbox::OnListContentsChanged(WidgetEventArgs& e) {
    LaunchEvent("ListContentsChanged", e);
}
void Listbox::OnSelectionChanged(WidgetEventArgs& e) {
    LaunchEvent("SelectionChanged", e);
}
void Listbox::OnSortingModeChanged(WidgetEventArgs& e) {
    LaunchEvent("SortingModeChanged", e);
}
void Listbox::OnMultiselectModeChanged(WidgetEventArgs& e) {
    LaunchEvent("MultiselectModeChanged", e);
}

void Listbox::Fire(void (Listbox::*handler)(WidgetEventArgs&)) {
    WidgetEventArgs args(this);
    (this->*handler)(args);
}

} // namespace GUI
