#include "tk2v/gui/Listbox.h"
#include "RecordedEvents.h"
#include "support/LogCapture.h"
#include "tk2v/gui/ListboxItem.h"
#include "tk2v/gui/Scrollbar.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <vector>

using namespace GUI;

namespace {

struct Row : ListboxItem {
    Row(int key, f32 width, f32 height) : key(key), width(width), height(height) {}
    void GetSize(f32& w, f32& h) const override {
        w = width;
        h = height;
    }
    void Draw(const aRect& rect) override { drawn.push_back(rect); }
    void Update(f32 dt) override { elapsed += dt; }
    bool IsGreater(const ListboxItem& other) const override {
        return key > static_cast<const Row&>(other).key;
    }
    bool IsLess(const ListboxItem& other) const override { return key < static_cast<const Row&>(other).key; }

    int key;
    f32 width, height;
    f32 elapsed = 0;
    std::vector<aRect> drawn;
};

// A list box 100 x 80 of rows 10 high (eight fit), with a vertical scrollbar.
struct ListRig {
    Listbox list{"List"};
    Scrollbar vscroll{"List_auto_vscroll"};
    Widget thumb{"List_auto_vscroll_auto_thumb"};
    std::vector<std::unique_ptr<Row>> rows;
    RecordedEvents events;

    explicit ListRig(int count, bool multiselect = true) {
        list.SetArea(0, 0, 100, 80);
        vscroll.SetVertical(true);
        vscroll.SetArea(100, 0, 10, 80);
        thumb.SetArea(0, 0, 10, 10);
        vscroll.AddChild(&thumb);
        list.AddChild(&vscroll);
        vscroll.Initialize();
        list.Initialize();
        list.SetMultiselect(multiselect);
        for (int i = 0; i < count; ++i)
            add(i, 10);
        for (const char* name : {"ListContentsChanged", "SelectionChanged", "SortingModeChanged",
                                 "MultiselectModeChanged", "PositionChanged", "MouseDown"})
            events.listen(list, name);
    }
    Row& add(int key, f32 height, f32 width = 50) {
        rows.push_back(std::make_unique<Row>(key, width, height));
        list.AddItem(rows.back().get());
        return *rows.back();
    }
    void press(i32 x, i32 y, u32 modifiers = 0, i32 button = MOUSE_LEFT) {
        MouseEventArgs e(&list);
        e.x = x;
        e.y = y;
        e.modifiers = modifiers;
        e.button = button;
        list.OnMouseDown(e);
    }
    void click(i32 index, u32 modifiers = 0) { press(5, index * 10 + 5, modifiers); }
    std::vector<int> selected() const {
        std::vector<int> out;
        for (u32 i = 0; i < list.GetItemCount(); ++i)
            if (list.GetItem(i32(i))->selected)
                out.push_back(i32(i));
        return out;
    }
};

struct Click {
    i32 index;
    u32 modifiers;
    std::vector<int> selected;
    i32 anchor, lastClicked;
    int selectionEvents;
};

} // namespace

TEST(Listbox, ClicksSelectWithCtrlAndShiftOneEventPerClick) {
    const std::vector<std::vector<Click>> scenarios = {
        {{1, 0, {1}, 1, 1, 1}, {1, 0, {1}, 1, 1, 0}, {3, 0, {3}, 3, 3, 1}},
        // Shift selects from the anchor, which stays.
        {{2, 0, {2}, 2, 2, 1}, {5, MOD_SHIFT, {2, 3, 4, 5}, 2, 5, 1}, {0, MOD_SHIFT, {0, 1, 2}, 2, 0, 1}},
        // Without an anchor, shift starts one at the item.
        {{4, MOD_SHIFT, {4}, 4, 4, 1}},
        // Ctrl adds and removes, but never the last selected item.
        {{1, 0, {1}, 1, 1, 1},
         {4, MOD_CTRL, {1, 4}, 4, 4, 1},
         {1, MOD_CTRL, {4}, -1, -1, 1},
         {4, MOD_CTRL, {4}, -1, -1, 0},
         {6, MOD_CTRL | MOD_SHIFT, {4, 6}, 6, 6, 1}},
        // A plain click on one of several selected items keeps only it.
        {{0, 0, {0}, 0, 0, 1}, {3, MOD_SHIFT, {0, 1, 2, 3}, 0, 3, 1}, {2, 0, {2}, 2, 2, 1}},
    };
    for (size_t s = 0; s < scenarios.size(); ++s) {
        ListRig rig(8);
        for (size_t c = 0; c < scenarios[s].size(); ++c) {
            const Click& click = scenarios[s][c];
            SCOPED_TRACE(testing::Message() << "scenario " << s << " click " << c);
            rig.events.clear();
            rig.click(click.index, click.modifiers);
            EXPECT_EQ(rig.selected(), click.selected);
            EXPECT_EQ(rig.list.GetAnchorIndex(), click.anchor);
            EXPECT_EQ(rig.list.GetLastClickedIndex(), click.lastClicked);
            EXPECT_EQ(rig.events.count("SelectionChanged"), click.selectionEvents);
            EXPECT_EQ(rig.events.count("MouseDown"), 1);
        }
    }
}

TEST(Listbox, WithoutMultiselectModifiersAreIgnored) {
    ListRig rig(8, false);
    rig.click(2);
    rig.click(5, MOD_SHIFT);
    EXPECT_EQ(rig.selected(), std::vector<int>{5});
    rig.click(6, MOD_CTRL);
    EXPECT_EQ(rig.selected(), std::vector<int>{6});
}

TEST(Listbox, PressesOnNoItemOrWithOtherButtonsOnlyReachTheWidget) {
    ListRig rig(3);
    rig.press(5, 50);                // below the last item
    rig.press(5, 5, 0, MOUSE_RIGHT); // on an item, right button
    rig.press(-1, 5);
    rig.press(100, 5);
    EXPECT_TRUE(rig.selected().empty());
    EXPECT_EQ(rig.events.count("SelectionChanged"), 0);
    EXPECT_EQ(rig.events.count("MouseDown"), 4);
}

TEST(Listbox, BoundsAreHexMarginsLeftRightTopBottom) {
    ListRig rig(0);
    rig.list.Set("Bounds", "10 0 2 2");
    rig.list.MakeFromScript();
    EXPECT_EQ(rig.list.GetLeftMargin(), 16u);
    EXPECT_EQ(rig.list.GetRightMargin(), 0u);
    EXPECT_EQ(rig.list.GetTopMargin(), 2u);
    EXPECT_EQ(rig.list.GetBottomMargin(), 2u);
    rig.add(0, 10);
    rig.add(1, 10);
    // Rows are 14 high now: y 20 is in the second one.
    EXPECT_EQ(rig.list.GetItemAt(0, 13), 0);
    EXPECT_EQ(rig.list.GetItemAt(0, 14), 1);
    EXPECT_EQ(rig.list.GetItemAt(0, 28), -1);
    EXPECT_EQ(rig.list.GetContentHeight(), 28.0f);
}

TEST(Listbox, ScriptSetsSortingMultiselectAndSelectionColour) {
    Listbox list("l");
    RecordedEvents events;
    events.listen(list, "SortingModeChanged");
    events.listen(list, "MultiselectModeChanged");
    list.Set("Sorting", "Descend");
    list.Set("Multiselect", "1");
    list.Set("SelectionColor", "80FF0000");
    list.MakeFromScript();
    EXPECT_EQ(list.GetSortingMode(), Listbox::SORT_DESCEND);
    EXPECT_TRUE(list.IsMultiselect());
    EXPECT_FLOAT_EQ(list.GetSelectionColor()[0], 1.0f);
    EXPECT_FLOAT_EQ(list.GetSelectionColor()[1], 0.0f);
    EXPECT_FLOAT_EQ(list.GetSelectionColor()[3], 128.0f / 255.0f);
    list.MakeFromScript(); // the same mode again changes nothing
    EXPECT_EQ(events.names, (std::vector<std::string>{"SortingModeChanged", "MultiselectModeChanged"}));
    list.ClearChanged();
    list.Set("Sorting", "sideways");
    list.MakeFromScript();
    EXPECT_EQ(list.GetSortingMode(), Listbox::SORT_NONE);
}

TEST(Listbox, SortingOrdersByTheItemsAndKeepsOrderWhileAdding) {
    ListRig rig(0);
    for (int key : {3, 1, 4, 1, 5})
        rig.add(key, 10);
    rig.events.clear();
    auto keys = [&] {
        std::vector<int> out;
        for (u32 i = 0; i < rig.list.GetItemCount(); ++i)
            out.push_back(static_cast<Row*>(rig.list.GetItem(i32(i)))->key);
        return out;
    };
    rig.list.SetSortingMode(Listbox::SORT_DESCEND);
    EXPECT_EQ(keys(), (std::vector<int>{5, 4, 3, 1, 1}));
    rig.add(2, 10);
    EXPECT_EQ(keys(), (std::vector<int>{5, 4, 3, 2, 1, 1}));
    rig.list.SetSortingMode(Listbox::SORT_ASCEND);
    rig.list.SetSortingMode(Listbox::SORT_NONE);
    EXPECT_EQ(keys(), (std::vector<int>{1, 1, 2, 3, 4, 5}));
    EXPECT_EQ(rig.events.count("SortingModeChanged"), 3);
    EXPECT_EQ(rig.events.count("ListContentsChanged"), 1);
}

TEST(Listbox, ScrollPositionStaysInsideTheContent) {
    ListRig rig(20); // 200 high in an 80 high box
    rig.list.SetScrollPosition(0, 500);
    EXPECT_EQ(rig.list.GetScrollY(), 120.0f);
    EXPECT_EQ(rig.vscroll.GetPosition(), 120.0f);
    EXPECT_EQ(rig.list.GetFirstVisibleIndex(), 12u);
    rig.list.SetScrollPosition(30, -4); // the content is narrower than the box
    EXPECT_EQ(rig.list.GetScrollX(), 0.0f);
    EXPECT_EQ(rig.list.GetScrollY(), 0.0f);
    EXPECT_EQ(rig.events.count("PositionChanged"), 2);

    ListRig small(3);
    small.list.SetScrollPosition(0, 10);
    EXPECT_EQ(small.list.GetScrollY(), 0.0f);
    EXPECT_EQ(small.events.count("PositionChanged"), 0);
}

TEST(Listbox, DraggedScrollbarMovesTheRows) {
    ListRig rig(20);
    EXPECT_EQ(rig.thumb.GetArea().h, 32); // 80 of 200
    rig.vscroll.SetPosition(55);
    EXPECT_EQ(rig.list.GetScrollY(), 55.0f);
    EXPECT_EQ(rig.list.GetFirstVisibleIndex(), 5u);
    EXPECT_EQ(rig.list.GetFirstVisibleOffset(), -5);
    EXPECT_EQ(rig.list.GetItemAt(0, 0), 5);
    EXPECT_EQ(rig.list.GetItemAt(0, 5), 6);
    EXPECT_EQ(rig.events.count("PositionChanged"), 1);
}

TEST(Listbox, ClickedRowsAreBroughtIntoView) {
    ListRig rig(20);
    rig.list.SetScrollPosition(0, 55); // rows 5 (half hidden) .. 13 (half hidden)
    rig.press(5, 2);
    EXPECT_EQ(rig.list.GetScrollY(), 50.0f);
    rig.press(5, 75); // row 12 reaches to 80 - 0: fully shown, nothing moves
    EXPECT_EQ(rig.list.GetScrollY(), 50.0f);
    rig.list.SetScrollPosition(0, 55);
    rig.press(5, 78); // row 13, half hidden below
    EXPECT_EQ(rig.list.GetScrollY(), 60.0f);
    EXPECT_EQ(rig.selected(), std::vector<int>{13});
}

TEST(Listbox, RemovalForgetsAnchorAndRecountsVisibleRows) {
    ListRig rig(20);
    rig.list.SetScrollPosition(0, 120);
    rig.click(3, 0);
    ASSERT_EQ(rig.list.GetAnchorIndex(), 12 + 3);
    rig.events.clear();
    for (int i = 0; i < 10; ++i)
        rig.list.RemoveItem(0);
    EXPECT_EQ(rig.list.GetAnchorIndex(), -1);
    EXPECT_EQ(rig.list.GetLastClickedIndex(), -1);
    // Ten rows left: the position is kept inside them and the visible rows counted again.
    EXPECT_EQ(rig.list.GetScrollY(), 20.0f);
    EXPECT_EQ(rig.list.GetFirstVisibleIndex(), 2u);
    EXPECT_EQ(rig.list.GetFirstVisibleOffset(), 0);
    EXPECT_EQ(rig.events.count("ListContentsChanged"), 10);
    rig.click(1, MOD_SHIFT); // a fresh anchor, not a stale index
    EXPECT_EQ(rig.selected(), std::vector<int>{3});

    rig.list.Clear();
    EXPECT_EQ(rig.list.GetItemCount(), 0u);
    EXPECT_EQ(rig.list.GetScrollY(), 0.0f);
    EXPECT_EQ(rig.list.GetFirstVisibleIndex(), 0u);
    EXPECT_EQ(rig.list.GetItemAt(5, 5), -1);

    LogCapture log;
    rig.list.RemoveItem(0);
    EXPECT_TRUE(log.contains("Listbox::RemoveItem - item index 0 is out of range"));
}

TEST(Listbox, OutOfRangeIndicesAreLogged) {
    ListRig rig(2);
    LogCapture log;
    rig.list.SetItemSelected(2, true);
    EXPECT_FALSE(rig.list.IsItemSelected(-1));
    EXPECT_TRUE(log.contains("Listbox::SetItemSelected - item index 2 is out of range"));
    EXPECT_TRUE(log.contains("Listbox::IsItemSelected - item index -1 is out of range"));
    EXPECT_EQ(rig.events.count("SelectionChanged"), 0);
}

TEST(Listbox, ClearSelectionNotifiesOnceAndOnlyOnChange) {
    ListRig rig(4);
    rig.list.ClearSelection(true);
    rig.list.SetItemSelected(1, true);
    rig.list.SetItemSelected(2, true);
    rig.list.SetItemSelected(2, true);
    rig.events.clear();
    rig.list.ClearSelection(true);
    rig.list.ClearSelection(true);
    EXPECT_EQ(rig.events.count("SelectionChanged"), 1);
    EXPECT_EQ(rig.list.GetSelectedCount(), 0u);
}

TEST(Listbox, UpdateReachesItemsButNotTheHoverFade) {
    ListRig rig(2);
    WidgetEventArgs enter(&rig.list);
    rig.list.OnMouseEnter(enter);
    rig.list.Update(0.25f);
    EXPECT_EQ(rig.list.GetFadeLevel(), 0.0f);
    EXPECT_EQ(rig.rows[0]->elapsed, 0.25f);
    EXPECT_TRUE(rig.list.CanFocus());
    EXPECT_TRUE(rig.list.IsA("Listbox"));
    EXPECT_TRUE(rig.list.IsA("ScrollContainer"));
    EXPECT_FALSE(rig.list.IsA("Widget"));
    EXPECT_FALSE(rig.list.IsA("listbox"));
}

TEST(Listbox, ScrollbarsAreFoundByNameUnclippedAndOnlyWhenTheyAreScrollbars) {
    ListRig rig(20);
    EXPECT_EQ(rig.list.GetVerticalScrollbar(), &rig.vscroll);
    EXPECT_FALSE(rig.vscroll.GetClipByParent());

    Listbox list("other");
    Widget impostor("other_auto_hscroll");
    list.AddChild(&impostor);
    list.Initialize();
    EXPECT_EQ(list.GetHorizontalScrollbar(), nullptr);
    EXPECT_TRUE(impostor.GetClipByParent());
}
