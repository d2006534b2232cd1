#include "support/Golden.h"
#include "tk2v/gfx/SceneCapture.h"
#include "tk2v/gfx/aGDI.h"
#include "tk2v/gui/Listbox.h"
#include "tk2v/gui/ListboxItem.h"
#include "tk2v/gui/Slider.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace GUI;

namespace {

aGDI& Painter(u32 color) {
    static aGDI painter;
    painter.color = color;
    return painter;
}

// A flat rectangle of one colour, standing in for the image and style widgets of real scripts.
struct Block : Widget {
    Block(const std::string& name, u32 color) : Widget(name), color(color) {}
    void DrawSelf() override {
        Painter(color).drawRect(f32(GetScreenX()), f32(GetScreenY()), GetArea().w, GetArea().h, true);
    }
    u32 color;
};

struct ColorRow : ListboxItem {
    ColorRow(u32 color, f32 height) : color(color), height(height) {}
    void GetSize(f32& w, f32& h) const override {
        w = width;
        h = height;
    }
    void Draw(const aRect& rect) override {
        drawn.push_back(rect);
        Painter(color).drawRectS(rect, true);
    }
    void Update(f32) override {}
    bool IsGreater(const ListboxItem&) const override { return false; }
    bool IsLess(const ListboxItem&) const override { return false; }

    u32 color;
    f32 height;
    f32 width = 40;
    std::vector<aRect> drawn;
};

struct ListScene {
    Listbox list{"list"};
    std::vector<std::unique_ptr<ColorRow>> rows;

    ListScene(int count, const char* bounds) {
        list.Set("Bounds", bounds);
        list.Set("SelectionColor", "FFFFFF00");
        list.MakeFromScript();
        list.SetArea(10, 40, 60, 50);
        list.Initialize();
        const u32 colors[] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFF00FFFF};
        for (int i = 0; i < count; ++i) {
            rows.push_back(std::make_unique<ColorRow>(colors[i % 4], f32(8 + i % 3)));
            list.AddItem(rows.back().get());
        }
    }
};

} // namespace

TEST(ListsDraw, SliderAndListboxGolden) {
    Block panel("panel", 0xFF404040);
    panel.SetArea(0, 0, 80, 100);
    Slider slider("vol");
    Block thumb("vol_auto_thumb", 0xFFFF8000);
    slider.SetArea(10, 10, 60, 12);
    thumb.SetArea(0, 0, 8, 12);
    slider.AddChild(&thumb);
    panel.AddChild(&slider);
    slider.Initialize();
    slider.SetValue(0.25f);

    ListScene scene(12, "2 3 1 1");
    scene.list.SetItemSelected(3, true);
    scene.list.SetItemSelected(4, true);
    scene.list.SetScrollPosition(0, 14); // the top row is cut by the box
    panel.AddChild(&scene.list);

    const RgbaImage image = drawScene({0, 0, 80, 100}, [&] { panel.Render(); });
    EXPECT_TRUE(matchesGolden("slider_listbox", image));
}

TEST(ListsDraw, OnlyVisibleRowsDrawInsideTheirMargins) {
    testGraphServer();
    ListScene scene(20, "4 6 1 2");
    scene.list.SetScrollPosition(0, 25);
    drawScene({0, 0, 8, 8}, [&] { scene.list.Render(); });
    std::vector<size_t> drawnRows;
    for (size_t i = 0; i < scene.rows.size(); ++i)
        if (!scene.rows[i]->drawn.empty())
            drawnRows.push_back(i);
    // Rows are 11, 12, 13 high, repeating: row 2 ends at 36 > 25, and rows go on until one starts
    // at or below the box's bottom (25 + 50).
    EXPECT_EQ(drawnRows, (std::vector<size_t>{2, 3, 4, 5, 6}));
    const aRect first = scene.rows[2]->drawn.at(0);
    EXPECT_EQ(first, (aRect{10 + 4, i16(40 + 23 - 25 + 1), 60 - 4 - 6, 10}));
}

TEST(ListsDraw, MarginsWiderThanTheRowLeaveNoWidthRatherThanWrapping) {
    testGraphServer();
    for (const char* bounds : {"40 40 0 0", "ffff 10 0 0", "12345678 0 0 0"}) {
        ListScene scene(1, bounds);
        drawScene({0, 0, 8, 8}, [&] { scene.list.Render(); });
        ASSERT_EQ(scene.rows[0]->drawn.size(), 1u) << bounds;
        EXPECT_EQ(scene.rows[0]->drawn[0].w, 0) << bounds;
    }
}

TEST(ListsDraw, HorizontalScrollMovesRowsLeftByTheTruncatedPosition) {
    testGraphServer();
    ListScene scene(2, "2 3 0 0"); // items 40 wide: rows of 45 in a box 60 wide scroll nowhere
    scene.list.SetScrollPosition(10, 0);
    EXPECT_EQ(scene.list.GetScrollX(), 0.0f);

    for (auto& row : scene.rows)
        row->width = 100;
    scene.list.Set("Bounds", "2 3 0 0"); // margins again: the content is measured anew
    scene.list.MakeFromScript();
    EXPECT_EQ(scene.list.GetContentWidth(), 105.0f);
    scene.list.SetScrollPosition(7.5f, 0);
    drawScene({0, 0, 8, 8}, [&] { scene.list.Render(); });
    EXPECT_EQ(scene.rows[0]->drawn.at(0).x, 2 + 2); // 10 - 7.5 truncated, plus the left margin
}
