#include "game/SpyGame/Rooms/Toolkit/cPaintLayer.h"

#include "game/SaveLoadSystem.h"
#include "game/SpyGame/SaveCounts.h"
#include "game/SpyGame/SpyPoint.h"
#include "tk2v/gfx/aApplication.h"
#include "tk2v/input/aInputServer.h"
#include "tk2v/util/log.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

constexpr u32 RgbMask = 0x00FFFFFF;

// The part [t0, t1] of the segment p + t d (t in 0..1) inside [low, high] along one axis; false when
// none is.
bool ClipAxis(double p, double d, double low, double high, double& t0, double& t1) {
    if (d == 0)
        return p >= low && p <= high;
    double a = (low - p) / d, b = (high - p) / d;
    if (a > b)
        std::swap(a, b);
    t0 = std::max(t0, a);
    t1 = std::min(t1, b);
    return t0 <= t1;
}

} // namespace

void cPaintLayer::Setup(aImage* source, i16 placeX, i16 placeY, u16 brushW, u16 brushH, u32 baseColor,
                        u8 alphaLimit, f32 speed) {
    m_Source = source;
    m_PlaceX = placeX;
    m_PlaceY = placeY;
    m_BrushW = brushW;
    m_BrushH = brushH;
    m_BaseColor = baseColor;
    m_AlphaLimit = alphaLimit;
    m_Speed = speed;
}

void cPaintLayer::SetRect(const aRect& page) {
    m_Page = page;
    m_Dirty[0] = m_Dirty[2] = 0;
    if (page.w > MaxSide || page.h > MaxSide)
        log("cPaintLayer::SetRect(). A page of %u x %u is larger than a texture may be", page.w, page.h);
    if (page.w == 0 || page.h == 0 || page.w > MaxSide || page.h > MaxSide) {
        m_Page.w = m_Page.h = 0;
        m_Texture.clear();
        m_Colors.clear();
        m_Alphas.clear();
        return;
    }
    m_Texture.create(page.w, page.h);
    m_Colors.assign(size_t(page.w) * page.h, m_BaseColor & RgbMask);
    m_Alphas.assign(m_Colors.size(), 0);
}

void cPaintLayer::Reset() {
    m_Painted = 0;
    ResetLastPoint();
    std::fill(m_Colors.begin(), m_Colors.end(), m_BaseColor & RgbMask);
    std::fill(m_Alphas.begin(), m_Alphas.end(), 0);
    if (m_Source && !m_Colors.empty()) {
        // The source's pixels that lie on the page, in room coordinates.
        const i32 dx = m_PlaceX - m_Page.x, dy = m_PlaceY - m_Page.y;
        const i32 x0 = std::max(0, -dx), x1 = std::min<i32>(m_Source->getWidth(), m_Page.w - dx);
        const i32 y0 = std::max(0, -dy), y1 = std::min<i32>(m_Source->getHeight(), m_Page.h - dy);
        for (i32 y = y0; y < y1; ++y)
            for (i32 x = x0; x < x1; ++x)
                m_Colors[size_t(y + dy) * m_Page.w + size_t(x + dx)] = m_Source->getPixel(x, y) & RgbMask;
    }
    Upload(Whole());
}

bool cPaintLayer::Update(f32 strength) {
    const aInputServer* input = aApplication::inputServer();
    if (!input || !input->isMouseButtonDown(0)) {
        ResetLastPoint();
        return false;
    }
    i32 mx = 0, my = 0;
    input->getMousePos(mx, my);
    const SpyPoint local = m_Transform.ScreenToLocal(f32(mx), f32(my));
    const i32 x = TruncToInt(local.x), y = TruncToInt(local.y);
    const bool painted = m_LastX == -1 && m_LastY == -1 ? Spot(x, y, 2 * strength) : Stroke(x, y, strength);
    m_LastX = x;
    m_LastY = y;
    return painted;
}

bool cPaintLayer::Stroke(i32 x, i32 y, f32 strength) {
    const double dx = double(x) - m_LastX, dy = double(y) - m_LastY;
    const double length = std::sqrt(dx * dx + dy * dy);
    if (length < 0.5 || m_Alphas.empty())
        return false;
    // Only the steps whose spot can reach the page are walked: a stroke from far off the page (a
    // point from an old save, a tiny room scale) would otherwise take billions of steps to no effect.
    double t0 = 0, t1 = 1;
    const bool near =
        ClipAxis(m_LastX, dx, double(m_Page.x) - m_BrushW - 1, double(m_Page.x) + m_Page.w + 1, t0, t1) &&
        ClipAxis(m_LastY, dy, double(m_Page.y) - m_BrushH - 1, double(m_Page.y) + m_Page.h + 1, t0, t1);
    if (!near)
        return false;
    const f32 stepX = f32(dx / length * 0.5), stepY = f32(dy / length * 0.5);
    const u64 last = u64(std::floor(t1 * length * 2));
    bool painted = false;
    for (u64 k = std::max<u64>(1, u64(std::ceil(t0 * length * 2))); k <= last; ++k)
        painted |= Spot(TruncToInt(f32(m_LastX) + stepX * f32(k)), TruncToInt(f32(m_LastY) + stepY * f32(k)),
                        strength);
    return painted;
}

bool cPaintLayer::Spot(i32 x, i32 y, f32 strength) {
    const i64 x0 = std::max<i64>(x, m_Page.x), x1 = std::min<i64>(i64(x) + m_BrushW, m_Page.x + m_Page.w);
    const i64 y0 = std::max<i64>(y, m_Page.y), y1 = std::min<i64>(i64(y) + m_BrushH, m_Page.y + m_Page.h);
    if (x0 >= x1 || y0 >= y1)
        return false;
    const u32 amount = u32(TruncToInt(m_Speed * strength * 255.0f)) & 0xFF;
    u32 gained = 0;
    for (i64 row = y0; row < y1; ++row) {
        u8* alpha = &m_Alphas[size_t(row - m_Page.y) * m_Page.w + size_t(x0 - m_Page.x)];
        for (i64 col = x0; col < x1; ++col, ++alpha) {
            const u32 before = *alpha, raised = std::min<u32>(before + amount, m_AlphaLimit);
            gained += raised > before ? raised - before : 0;
            *alpha = u8(raised);
        }
    }
    m_Painted += f32(gained);
    MarkDirty(i32(x0 - m_Page.x), i32(y0 - m_Page.y), i32(x1 - m_Page.x), i32(y1 - m_Page.y));
    return true;
}

void cPaintLayer::MarkDirty(i32 x0, i32 y0, i32 x1, i32 y1) {
    if (m_Dirty[0] >= m_Dirty[2]) {
        m_Dirty[0] = x0, m_Dirty[1] = y0, m_Dirty[2] = x1, m_Dirty[3] = y1;
        return;
    }
    m_Dirty[0] = std::min(m_Dirty[0], x0);
    m_Dirty[1] = std::min(m_Dirty[1], y0);
    m_Dirty[2] = std::max(m_Dirty[2], x1);
    m_Dirty[3] = std::max(m_Dirty[3], y1);
}

void cPaintLayer::Upload(const aRect& area) {
    m_Dirty[0] = m_Dirty[2] = 0;
    u32* bits = nullptr;
    i32 pitch = 0;
    if (m_Alphas.empty() || !m_Texture.hasTexture() || !m_Texture.lock(&bits, &pitch, &area, false))
        return;
    for (u16 row = 0; row < area.h; ++row) {
        const size_t from = size_t(area.y + row) * m_Page.w + size_t(area.x);
        const u32* color = m_Colors.data() + from;
        const u8* alpha = m_Alphas.data() + from;
        u32* texel = bits + size_t(row) * pitch;
        for (u16 x = 0; x < area.w; ++x)
            texel[x] = color[x] | u32(alpha[x]) << 24;
    }
    m_Texture.unlock();
}

void cPaintLayer::Render() {
    if (m_Dirty[0] < m_Dirty[2])
        Upload(
            {i16(m_Dirty[0]), i16(m_Dirty[1]), u16(m_Dirty[2] - m_Dirty[0]), u16(m_Dirty[3] - m_Dirty[1])});
    if (m_Alphas.empty())
        return;
    const SpyPoint at = m_Transform.LocalToScreen(m_Page.x, m_Page.y);
    m_Texture.drawAtF(at.x, at.y);
}

u8* cPaintLayer::SaveSelf(SaveLoadSystem& sys, u8* pos) {
    pos = sys.writeI32(pos, m_LastX);
    pos = sys.writeI32(pos, m_LastY);
    for (u16 field :
         {u16(m_PlaceX), u16(m_PlaceY), m_BrushW, m_BrushH, u16(m_Page.x), u16(m_Page.y), m_Page.w, m_Page.h})
        pos = sys.writeU16(pos, field);
    pos = sys.writeU32(pos, m_BaseColor);
    pos = sys.writeF32(pos, m_Speed);
    pos = sys.writeF32(pos, m_Painted);
    pos = sys.writeU8(pos, m_AlphaLimit);
    return m_Alphas.empty() ? pos : sys.write(pos, m_Alphas.data(), m_Alphas.size());
}

const u8* cPaintLayer::LoadSelf(CRoomItemLookup&, SaveLoadSystem& sys, const u8* pos) {
    pos = sys.readI32(pos, m_LastX);
    pos = sys.readI32(pos, m_LastY);
    u16 fields[8] = {};
    for (u16& field : fields)
        pos = sys.readU16(pos, field);
    m_PlaceX = i16(fields[0]);
    m_PlaceY = i16(fields[1]);
    m_BrushW = fields[2];
    m_BrushH = fields[3];
    pos = sys.readU32(pos, m_BaseColor);
    pos = sys.readF32(pos, m_Speed);
    pos = sys.readF32(pos, m_Painted);
    pos = sys.readU8(pos, m_AlphaLimit);
    const u32 w = fields[6], h = fields[7];
    if (!countFits(sys, pos, w * h, 1, "cPaintLayer::LoadSelf()"))
        return pos + sys.bytesLeftInRecord(pos);
    if (w != m_Page.w || h != m_Page.h) {
        log("cPaintLayer::LoadSelf(). The saved page of %u x %u does not fit the layer of %u x %u", w, h,
            m_Page.w, m_Page.h);
        return pos + w * h;
    }
    m_Page.x = i16(fields[4]);
    m_Page.y = i16(fields[5]);
    if (m_Alphas.empty())
        return pos;
    pos = sys.read(pos, m_Alphas.data(), m_Alphas.size());
    Upload(Whole());
    return pos;
}
