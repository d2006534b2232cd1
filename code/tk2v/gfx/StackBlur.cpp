#include "tk2v/gfx/StackBlur.h"

#include <algorithm>
#include <vector>

namespace {

constexpr int kChannels = 4;

// The quotients of (r + 1) squared: a table while it stays small, plain division beyond.
class Divider {
public:
    explicit Divider(u32 radius) : m_divisor((radius + 1) * (radius + 1)) {
        if (m_divisor <= kTableDivisorLimit) {
            m_table.resize(256 * size_t(m_divisor));
            for (size_t i = 0; i < m_table.size(); ++i)
                m_table[i] = u8(i / m_divisor);
        }
    }
    u32 operator()(u32 sum) const { return m_table.empty() ? sum / m_divisor : m_table[sum]; }

private:
    static constexpr u32 kTableDivisorLimit = 65 * 65;
    u32 m_divisor;
    std::vector<u8> m_table;
};

u32 channel(u32 argb, int c) {
    return (argb >> (c * 8)) & 0xFF;
}

// Running sums of one line (a row, or a column): `sum` is the weighted window
// around the current pixel, `left` the r + 1 pixels up to and including it, `right` the r + 1 after it.
struct Window {
    u32 sum[kChannels], left[kChannels], right[kChannels];
};

// `at(i)` reads the pixel i steps into the line, clamped to the line.
template <typename At> void startWindow(Window& w, i64 radius, const At& at) {
    for (int c = 0; c < kChannels; ++c)
        w.sum[c] = w.left[c] = w.right[c] = 0;
    for (i64 i = -radius; i <= radius + 1; ++i) {
        u32 p = at(i);
        u32 weight = u32(radius + 1 - (i < 0 ? -i : i));
        for (int c = 0; c < kChannels; ++c) {
            u32 v = channel(p, c);
            if (i <= radius)
                w.sum[c] += weight * v;
            (i <= 0 ? w.left : w.right)[c] += v;
        }
    }
}

// Moves the window from pixel x to x + 1.
template <typename At> void advanceWindow(Window& w, i64 x, i64 radius, const At& at) {
    u32 leaving = at(x - radius), entering = at(x + radius + 2), passing = at(x + 1);
    for (int c = 0; c < kChannels; ++c) {
        w.sum[c] += w.right[c] - w.left[c];
        w.left[c] += channel(passing, c) - channel(leaving, c);
        w.right[c] += channel(entering, c) - channel(passing, c);
    }
}

u32 packed(const Window& w, const Divider& divide) {
    u32 out = 0;
    for (int c = 0; c < kChannels; ++c)
        out |= divide(w.sum[c]) << (c * 8);
    return out;
}

void blurRow(const u32* in, u32* out, i64 width, i64 radius, const Divider& divide) {
    auto at = [&](i64 i) { return in[std::clamp<i64>(i, 0, width - 1)]; };
    Window w;
    startWindow(w, radius, at);
    for (i64 x = 0; x < width; ++x) {
        out[x] = packed(w, divide);
        if (x + 1 < width)
            advanceWindow(w, x, radius, at);
    }
}

// Every column at once, a row at a time, so that the pass reads and writes memory in order.
void blurColumns(const u32* in, u32* out, i64 width, i64 height, i64 radius, const Divider& divide) {
    std::vector<Window> windows(static_cast<size_t>(width));
    for (i64 x = 0; x < width; ++x) {
        auto at = [&](i64 y) { return in[std::clamp<i64>(y, 0, height - 1) * width + x]; };
        startWindow(windows[size_t(x)], radius, at);
    }
    for (i64 y = 0; y < height; ++y) {
        for (i64 x = 0; x < width; ++x) {
            out[y * width + x] = packed(windows[size_t(x)], divide);
            if (y + 1 < height) {
                auto at = [&](i64 row) { return in[std::clamp<i64>(row, 0, height - 1) * width + x]; };
                advanceWindow(windows[size_t(x)], y, radius, at);
            }
        }
    }
}

} // namespace

void stackBlur(u32* argb, u32 width, u32 height, u32 radius) {
    if (radius == 0 || width == 0 || height == 0)
        return;
    const Divider divide(radius);
    std::vector<u32> rows(size_t(width) * height);
    for (u32 y = 0; y < height; ++y)
        blurRow(argb + size_t(y) * width, rows.data() + size_t(y) * width, width, radius, divide);
    blurColumns(rows.data(), argb, width, height, radius, divide);
}
