#pragma once
#include "GuiDraw.h"
#include "tk2v/gfx/aFont.h"
#include "tk2v/gfx/aImageManager.h"
#include "tk2v/gui/Server.h"
#include "tk2v/gui/SubscriberInterface.h"
#include "tk2v/gui/Widget.h"

#include <algorithm>
#include <memory>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

// Fonts, flat pictures and a GUI server for the widget tests.
namespace widgetkit {

// Every glyph is 10 x 16: printable characters share one glyph lit at x 1..8, y 2..13 (white), the
// space is empty. The "spaced" font adds 1 between glyphs and gives "w" 2 before and 3 after it.
inline std::string writeFont(const TempDir& dir, const std::string& name, bool spaced) {
    if (dir.read("glyphs.png").empty()) {
        std::vector<u32> pixels(32 * 16, 0);
        for (u32 y = 2; y < 14; ++y)
            for (u32 x = 1; x < 9; ++x)
                pixels[y * 32 + x] = 0xFFFFFFFF;
        dir.write("glyphs.png", imagefiles::text(imagefiles::png(32, 16, pixels)));
    }
    std::ostringstream fnt;
    fnt << "[General]\nTexture = glyphs.png\nFormat16 = 8888\nFormat32 = 8888\nCharSpacing = "
        << (spaced ? 1 : 0) << "\n[Charlist]\n20 = 16 0 10 16 0 0\n";
    for (u32 c = 0x21; c < 0x7F; ++c)
        fnt << std::hex << std::uppercase << c
            << (spaced && c == 'w' ? " = 0 0 10 16 2 3\n" : " = 0 0 10 16 0 0\n");
    dir.write(name, fnt.str());
    return dir.file(name);
}

// A picture of one colour.
inline std::vector<u32> flat(u32 width, u32 height, u32 argb) {
    return std::vector<u32>(width * height, argb);
}

// The GUI server over an image manager holding the pictures the test adds.
struct Gui {
    TempDir dir;
    aImageManager images;
    GUI::Server server{&images, nullptr};

    Gui() { testGraphServer(); }
    // Known to the server as `name`.
    void addImage(const std::string& name, u32 width, u32 height, const std::vector<u32>& argb) {
        dir.write(name + ".png", imagefiles::text(imagefiles::png(width, height, argb)));
        images.loadResource(dir.path(), name + ".png 8888 8888", "");
    }
    // Script properties, then MakeFromScript, as the end of a script section does.
    static void script(GUI::Widget& widget,
                       const std::vector<std::pair<std::string, std::string>>& properties) {
        widget.ClearChanged();
        for (const auto& [name, value] : properties)
            widget.Set(name, value);
        widget.MakeFromScript();
    }
    // Hangs the widget under the root; the root keeps it until the server goes.
    template <class W> W& add(std::unique_ptr<W> widget, GUI::Widget* parent = nullptr) {
        W& w = *widget;
        w.SetOwnedByParent(true);
        (parent ? parent : server.GetRoot())->AddChild(widget.release());
        return w;
    }
};

// The smallest rectangle around the lit pixels of a capture (inclusive edges), or of a part of it.
struct Bounds {
    i32 left = 1 << 20, top = 1 << 20, right = -1, bottom = -1;
    bool operator==(const Bounds&) const = default;
};
inline std::ostream& operator<<(std::ostream& out, const Bounds& b) {
    return out << "(" << b.left << ", " << b.top << ") - (" << b.right << ", " << b.bottom << ")";
}
inline Bounds litBounds(const RgbaImage& image, u32 x0 = 0, u32 y0 = 0, u32 x1 = ~0u, u32 y1 = ~0u) {
    Bounds b;
    for (u32 y = y0; y < std::min(y1, image.height); ++y)
        for (u32 x = x0; x < std::min(x1, image.width); ++x)
            if (guidraw::rgb(image, x, y) != 0) {
                b.left = std::min(b.left, i32(x));
                b.top = std::min(b.top, i32(y));
                b.right = std::max(b.right, i32(x));
                b.bottom = std::max(b.bottom, i32(y));
            }
    return b;
}

// Counts the firings of an event.
struct Counter : GUI::Subscriber {
    int count = 0;
    bool operator()(const GUI::EventArgs&) override {
        ++count;
        return false;
    }
};

} // namespace widgetkit
