#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// An RGBA picture in straight (not premultiplied) alpha, drawn from simple shapes. Edges are
// smoothed by sampling every pixel of a shape's bounding box 4 x 4 times.
class Canvas {
public:
    using Color = uint32_t; // 0xAARRGGBB

    Canvas(int width, int height, Color fill = 0);

    int width() const { return m_width; }
    int height() const { return m_height; }
    Color at(int x, int y) const { return m_pixels[size_t(y) * m_width + x]; }
    void set(int x, int y, Color c) { m_pixels[size_t(y) * m_width + x] = c; }

    // Draws `color` over the pixel with the given coverage (0..1) scaling its alpha.
    void blend(int x, int y, Color color, float coverage = 1.0f);
    // Fills every point of the box (x0, y0)-(x1, y1) for which `inside` holds, smoothing edges.
    void fillShape(float x0, float y0, float x1, float y1, const std::function<bool(float, float)>& inside,
                   Color color);

    void fillRect(int x, int y, int w, int h, Color color);
    // Every row of the rectangle in one colour, from `top` down to `bottom`.
    void verticalGradient(int x, int y, int w, int h, Color top, Color bottom);
    void fillCircle(float cx, float cy, float r, Color color);
    void fillRing(float cx, float cy, float outer, float inner, Color color);
    void fillRoundRect(float x, float y, float w, float h, float r, Color color);
    void fillTriangle(float ax, float ay, float bx, float by, float cx, float cy, Color color);
    // Points as x, y pairs; inside by the even-odd rule.
    void fillPolygon(const std::vector<float>& points, Color color);
    // A rounded rectangle whose rows run from `top` to `bottom`.
    void fillRoundRectGradient(float x, float y, float w, float h, float r, Color top, Color bottom);
    // A soft round spot whose alpha falls from the centre to the rim.
    void radialGlow(float cx, float cy, float r, Color color);
    // Copies another canvas in, drawn over this one.
    void draw(const Canvas& src, int x, int y);

    // PNG bytes: RGB when every pixel is opaque, else RGBA.
    std::vector<uint8_t> png() const;
    // Baseline JPEG bytes of the colour channels (alpha is dropped), 4:2:0 at the given quality.
    std::vector<uint8_t> jpeg(int quality) const;
    // A JNG file: the JPEG above in a JDAT chunk behind a JHDR, no alpha channel.
    std::vector<uint8_t> jng(int quality) const;

private:
    int m_width, m_height;
    std::vector<Color> m_pixels;
};

// Mixes two colours channel by channel, t from 0 (a) to 1 (b).
Canvas::Color mixColor(Canvas::Color a, Canvas::Color b, float t);
