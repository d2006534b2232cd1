#include "Canvas.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <jpeglib.h>
#include <png.h>
#include <zlib.h>

namespace {

constexpr int kSamples = 4;

uint8_t channel(Canvas::Color c, int shift) {
    return uint8_t(c >> shift);
}

void appendBytes(png_structp png, png_bytep data, size_t size) {
    auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + size);
}

void appendU32(std::vector<uint8_t>& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(uint8_t(v >> shift));
}

// Length, type, data and the CRC over type and data, as PNG and JNG chunks go.
void appendChunk(std::vector<uint8_t>& out, const char (&type)[5], const std::vector<uint8_t>& data) {
    appendU32(out, uint32_t(data.size()));
    const size_t typeAt = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    appendU32(out, uint32_t(crc32(0, out.data() + typeAt, uInt(out.size() - typeAt))));
}

} // namespace

Canvas::Color mixColor(Canvas::Color a, Canvas::Color b, float t) {
    Canvas::Color out = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        float v = channel(a, shift) + (channel(b, shift) - channel(a, shift)) * t;
        out |= Canvas::Color(std::lround(std::clamp(v, 0.0f, 255.0f))) << shift;
    }
    return out;
}

Canvas::Canvas(int width, int height, Color fill)
    : m_width(width), m_height(height), m_pixels(size_t(width) * height, fill) {}

void Canvas::blend(int x, int y, Color color, float coverage) {
    if (x < 0 || y < 0 || x >= m_width || y >= m_height || coverage <= 0)
        return;
    Color& dst = m_pixels[size_t(y) * m_width + x];
    const float sa = channel(color, 24) / 255.0f * std::min(coverage, 1.0f);
    const float da = channel(dst, 24) / 255.0f;
    const float oa = sa + da * (1 - sa);
    if (oa <= 0) {
        dst = 0;
        return;
    }
    Color out = Color(std::lround(oa * 255)) << 24;
    for (int shift = 0; shift < 24; shift += 8) {
        float v = (channel(color, shift) * sa + channel(dst, shift) * da * (1 - sa)) / oa;
        out |= Color(std::lround(std::clamp(v, 0.0f, 255.0f))) << shift;
    }
    dst = out;
}

void Canvas::fillShape(float x0, float y0, float x1, float y1,
                       const std::function<bool(float, float)>& inside, Color color) {
    const int px0 = std::max(0, int(std::floor(x0))), py0 = std::max(0, int(std::floor(y0)));
    const int px1 = std::min(m_width, int(std::ceil(x1))), py1 = std::min(m_height, int(std::ceil(y1)));
    for (int y = py0; y < py1; ++y)
        for (int x = px0; x < px1; ++x) {
            int hits = 0;
            for (int sy = 0; sy < kSamples; ++sy)
                for (int sx = 0; sx < kSamples; ++sx)
                    hits += inside(x + (sx + 0.5f) / kSamples, y + (sy + 0.5f) / kSamples);
            blend(x, y, color, float(hits) / (kSamples * kSamples));
        }
}

void Canvas::fillRect(int x, int y, int w, int h, Color color) {
    for (int py = std::max(0, y); py < std::min(m_height, y + h); ++py)
        for (int px = std::max(0, x); px < std::min(m_width, x + w); ++px)
            blend(px, py, color);
}

void Canvas::verticalGradient(int x, int y, int w, int h, Color top, Color bottom) {
    for (int row = 0; row < h; ++row)
        fillRect(x, y + row, w, 1, mixColor(top, bottom, h > 1 ? float(row) / float(h - 1) : 0.0f));
}

void Canvas::fillCircle(float cx, float cy, float r, Color color) {
    fillShape(
        cx - r, cy - r, cx + r, cy + r,
        [=](float x, float y) { return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r; }, color);
}

void Canvas::fillRing(float cx, float cy, float outer, float inner, Color color) {
    fillShape(
        cx - outer, cy - outer, cx + outer, cy + outer,
        [=](float x, float y) {
            float d = (x - cx) * (x - cx) + (y - cy) * (y - cy);
            return d <= outer * outer && d >= inner * inner;
        },
        color);
}

void Canvas::fillRoundRect(float x, float y, float w, float h, float r, Color color) {
    fillRoundRectGradient(x, y, w, h, r, color, color);
}

void Canvas::fillTriangle(float ax, float ay, float bx, float by, float cx, float cy, Color color) {
    auto edge = [](float x0, float y0, float x1, float y1, float x, float y) {
        return (x1 - x0) * (y - y0) - (y1 - y0) * (x - x0);
    };
    fillShape(
        std::min({ax, bx, cx}), std::min({ay, by, cy}), std::max({ax, bx, cx}), std::max({ay, by, cy}),
        [=](float x, float y) {
            float e0 = edge(ax, ay, bx, by, x, y), e1 = edge(bx, by, cx, cy, x, y),
                  e2 = edge(cx, cy, ax, ay, x, y);
            return (e0 >= 0 && e1 >= 0 && e2 >= 0) || (e0 <= 0 && e1 <= 0 && e2 <= 0);
        },
        color);
}

void Canvas::fillPolygon(const std::vector<float>& points, Color color) {
    float x0 = points[0], y0 = points[1], x1 = x0, y1 = y0;
    for (size_t i = 0; i + 1 < points.size(); i += 2) {
        x0 = std::min(x0, points[i]);
        x1 = std::max(x1, points[i]);
        y0 = std::min(y0, points[i + 1]);
        y1 = std::max(y1, points[i + 1]);
    }
    fillShape(
        x0, y0, x1, y1,
        [&points](float x, float y) {
            bool inside = false;
            const size_t n = points.size() / 2;
            for (size_t i = 0, j = n - 1; i < n; j = i++) {
                const float xi = points[2 * i], yi = points[2 * i + 1];
                const float xj = points[2 * j], yj = points[2 * j + 1];
                if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi)
                    inside = !inside;
            }
            return inside;
        },
        color);
}

void Canvas::fillRoundRectGradient(float x, float y, float w, float h, float r, Color top, Color bottom) {
    for (int row = int(std::floor(y)); row < int(std::ceil(y + h)); ++row) {
        const Color c = mixColor(top, bottom, h > 1 ? (row - y) / (h - 1) : 0.0f);
        fillShape(
            x, float(row), x + w, float(row + 1),
            [=](float px, float py) {
                float dx = std::max({x + r - px, 0.0f, px - (x + w - r)});
                float dy = std::max({y + r - py, 0.0f, py - (y + h - r)});
                return dx * dx + dy * dy <= r * r && py >= y && py < y + h;
            },
            c);
    }
}

void Canvas::radialGlow(float cx, float cy, float r, Color color) {
    for (int y = std::max(0, int(cy - r)); y < std::min(m_height, int(std::ceil(cy + r))); ++y)
        for (int x = std::max(0, int(cx - r)); x < std::min(m_width, int(std::ceil(cx + r))); ++x) {
            float d = std::hypot(x + 0.5f - cx, y + 0.5f - cy) / r;
            if (d < 1)
                blend(x, y, color, (1 - d) * (1 - d));
        }
}

void Canvas::draw(const Canvas& src, int x, int y) {
    for (int sy = 0; sy < src.height(); ++sy)
        for (int sx = 0; sx < src.width(); ++sx)
            blend(x + sx, y + sy, src.at(sx, sy));
}

std::vector<uint8_t> Canvas::png() const {
    const bool opaque =
        std::all_of(m_pixels.begin(), m_pixels.end(), [](Color c) { return c >> 24 == 0xFF; });
    std::vector<uint8_t> out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_write_fn(png, &out, appendBytes, nullptr);
    png_set_compression_level(png, 9);
    png_set_IHDR(png, info, png_uint_32(m_width), png_uint_32(m_height), 8,
                 opaque ? PNG_COLOR_TYPE_RGB : PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    const int channels = opaque ? 3 : 4;
    std::vector<uint8_t> row(size_t(m_width) * channels);
    for (int y = 0; y < m_height; ++y) {
        for (int x = 0; x < m_width; ++x) {
            Color c = at(x, y);
            uint8_t* p = &row[size_t(x) * channels];
            p[0] = channel(c, 16);
            p[1] = channel(c, 8);
            p[2] = channel(c, 0);
            if (!opaque)
                p[3] = channel(c, 24);
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

std::vector<uint8_t> Canvas::jpeg(int quality) const {
    jpeg_compress_struct cinfo;
    jpeg_error_mgr error;
    cinfo.err = jpeg_std_error(&error);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = JDIMENSION(m_width);
    cinfo.image_height = JDIMENSION(m_height);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    // The exact integer transform, so that every build writes the same bytes.
    cinfo.dct_method = JDCT_ISLOW;
    jpeg_set_quality(&cinfo, quality, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<uint8_t> row(size_t(m_width) * 3);
    while (cinfo.next_scanline < cinfo.image_height) {
        for (int x = 0; x < m_width; ++x) {
            const Color c = at(x, int(cinfo.next_scanline));
            row[size_t(x) * 3] = channel(c, 16);
            row[size_t(x) * 3 + 1] = channel(c, 8);
            row[size_t(x) * 3 + 2] = channel(c, 0);
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::vector<uint8_t> out(buffer, buffer + size);
    std::free(buffer);
    return out;
}

std::vector<uint8_t> Canvas::jng(int quality) const {
    std::vector<uint8_t> out = {0x8B, 'J', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    std::vector<uint8_t> header;
    appendU32(header, uint32_t(m_width));
    appendU32(header, uint32_t(m_height));
    // Colour (10), 8-bit samples, JPEG compression (8), sequential; no alpha (depth 0).
    for (uint8_t byte : {10, 8, 8, 0, 0, 0, 0, 0})
        header.push_back(byte);
    appendChunk(out, "JHDR", header);
    appendChunk(out, "JDAT", jpeg(quality));
    appendChunk(out, "IEND", {});
    return out;
}
