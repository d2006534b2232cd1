#pragma once
#include "tk2v/gui/ScrollContainer.h"

#include <string>
#include <vector>

namespace GUI {

class ListboxItem;

// A vertical list of caller-supplied items with single or multiple selection, optional sorting,
// margins around each item inside its row and a highlight behind selected rows. Rows follow each
// other without gaps; a row is its item's height (truncated) plus the top and bottom margins.
class Listbox : public ScrollContainer {
public:
    enum SortingMode : i32 { SORT_ASCEND = 0, SORT_DESCEND = 1, SORT_NONE = 2 };

    explicit Listbox(const std::string& name);

    void MakeFromScript() override;
    const char* GetTypeName() const override { return "Listbox"; }
    bool IsA(const std::string& typeName) const override;
    void Initialize() override;
    void DrawSelf() override;
    // Updates the items only: a list box has no hover fade and its click timer stands still.
    void UpdateSelf(f32 dt) override;
    bool CanFocus() const override { return true; }
    // A left press on an item changes the selection (Ctrl toggles, Shift selects from the anchor
    // when multiselect is on) with one "SelectionChanged", and brings the item into view.
    void OnMouseDown(MouseEventArgs& e) override;
    void OnScrolled(WidgetEventArgs& e) override;
    virtual void DrawSelection(const aRect& rect);
    virtual void OnListContentsChanged(WidgetEventArgs& e);
    virtual void OnSelectionChanged(WidgetEventArgs& e);
    virtual void OnSortingModeChanged(WidgetEventArgs& e);
    virtual void OnMultiselectModeChanged(WidgetEventArgs& e);

    // The list box never deletes an item. Adding under a sorting mode keeps the order; removing
    // forgets the anchor and the last clicked item. Each fires "ListContentsChanged".
    void AddItem(ListboxItem* item);
    // An index out of range is logged and ignored.
    void RemoveItem(i32 index);
    void Clear();
    u32 GetItemCount() const { return u32(m_items.size()); }
    // Null out of range.
    ListboxItem* GetItem(i32 index) const;

    // Any mode other than ascend or descend means none.
    void SetSortingMode(i32 mode);
    i32 GetSortingMode() const { return m_sortingMode; }
    void SetMultiselect(bool multiselect);
    bool IsMultiselect() const { return m_multiselect; }
    void ClearSelection(bool notify);
    void SetItemSelected(i32 index, bool selected);
    bool IsItemSelected(i32 index) const;
    u32 GetSelectedCount() const;
    // The item under a point relative to the widget; -1 for none.
    i32 GetItemAt(i32 x, i32 y) const;

    void SetMargins(u32 left, u32 right, u32 top, u32 bottom);
    u32 GetLeftMargin() const { return m_leftMargin; }
    u32 GetRightMargin() const { return m_rightMargin; }
    u32 GetTopMargin() const { return m_topMargin; }
    u32 GetBottomMargin() const { return m_bottomMargin; }
    // 0xAARRGGBB.
    void SetSelectionColor(u32 color);
    const f32* GetSelectionColor() const { return m_selectionColor; }
    i32 GetLastClickedIndex() const { return m_lastClicked; }
    i32 GetAnchorIndex() const { return m_anchor; }
    u32 GetFirstVisibleIndex() const { return m_firstVisibleIndex; }
    i32 GetFirstVisibleOffset() const { return m_firstVisibleOffset; }

private:
    void SelectClicked(i32 index, u32 modifiers);
    void BringIntoView(i32 index);
    void SortItems();
    // The item's height, truncated and kept within 16 bits.
    i32 ItemHeight(const ListboxItem& item) const;
    i32 RowHeight(const ListboxItem& item) const {
        return ItemHeight(item) + Margin(m_topMargin) + Margin(m_bottomMargin);
    }
    i32 RowWidth(const ListboxItem& item) const;
    // Margins are pixels of 16 bits; larger ones stop there rather than wrap.
    static i32 Margin(u32 margin) { return margin < 0xFFFF ? i32(margin) : 0xFFFF; }
    // The first row reaching below the scroll position; nothing changes when there is none.
    void FindFirstVisible();
    void UpdateContentSize();
    bool InRange(i32 index) const { return index >= 0 && size_t(index) < m_items.size(); }
    void Fire(void (Listbox::*handler)(WidgetEventArgs&));

    std::vector<ListboxItem*> m_items;
    i32 m_sortingMode = SORT_NONE;
    bool m_multiselect = false;
    u32 m_rightMargin = 0, m_leftMargin = 0, m_bottomMargin = 0, m_topMargin = 0;
    i32 m_lastClicked = -1;
    i32 m_anchor = -1;
    u32 m_firstVisibleIndex = 0;
    i32 m_firstVisibleOffset = 0;
    f32 m_selectionColor[4] = {1, 1, 1, 1};
    Property m_propSorting, m_propMultiselect, m_propBounds, m_propSelectionColor;
    // Kept as items come, so adding many items stays linear.
    i64 m_rowsHeight = 0;
    i32 m_rowsWidth = 0;
};

} // namespace GUI
