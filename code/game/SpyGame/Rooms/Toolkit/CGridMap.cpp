#include "game/SpyGame/Rooms/Toolkit/CGridMap.h"

#include "game/SaveLoadSystem.h"
#include "game/SpyGame/Rooms/Toolkit/CGridPath.h"
#include "game/SpyGame/SaveCounts.h"
#include "tk2v/file/aFileBuffer.h"
#include "tk2v/file/file.h"
#include "tk2v/util/log.h"

#include <cstring>

namespace {

constexpr u32 HeaderSize = 9;

u32 ReadLE32(const u8* p) {
    return u32(p[0]) | u32(p[1]) << 8 | u32(p[2]) << 16 | u32(p[3]) << 24;
}

void PutLE32(u8* p, u32 value) {
    for (int i = 0; i < 4; ++i)
        p[i] = u8(value >> (8 * i));
}

bool SideFits(u32 side) {
    return side > 0 && side <= CGridMap::MaxSide;
}

} // namespace

void CGridMap::Resize(u32 width, u32 height) {
    Assign(width, height, std::vector<u8>(size_t(width) * height, 0));
}

void CGridMap::Assign(u32 width, u32 height, std::vector<u8> cells) {
    m_width = width;
    m_height = height;
    m_cells = std::move(cells);
    m_distances.assign(m_cells.size(), Unreached);
}

bool CGridMap::LoadMap(const std::string& name) {
    aFileBuffer file(name);
    if (!file.isLoaded()) {
        log("Map with name \"%s\" not found", name.c_str());
        return false;
    }
    const u32 size = file.getSize();
    const u32 width = size >= HeaderSize ? ReadLE32(file.getData() + 1) : 0;
    const u32 height = size >= HeaderSize ? ReadLE32(file.getData() + 5) : 0;
    if (!SideFits(width) || !SideFits(height) || size - HeaderSize < u64(width) * height) {
        log("Map with name \"%s\" is not a whole map (%u bytes for %u x %u cells)", name.c_str(), size, width,
            height);
        return false;
    }
    const u8* cells = file.getData() + HeaderSize;
    Assign(width, height, std::vector<u8>(cells, cells + size_t(width) * height));
    return true;
}

bool CGridMap::SaveMap(const std::string& name) const {
    std::vector<u8> image(HeaderSize + m_cells.size());
    PutLE32(image.data() + 1, m_width);
    PutLE32(image.data() + 5, m_height);
    if (!m_cells.empty())
        std::memcpy(image.data() + HeaderSize, m_cells.data(), m_cells.size());
    return file_writeFull(name, image.data(), u32(image.size()));
}

bool CGridMap::IsFreeSquare(i64 x, i64 y, u32 size) const {
    const i64 h = size / 2;
    if (x - h < 0 || y - h < 0 || x + h + 1 > m_width || y + h + 1 > m_height)
        return false;
    for (i64 cx = x - h; cx <= x + h; ++cx) {
        const u8* column = &m_cells[Index(u32(cx), 0)];
        for (i64 cy = y - h; cy <= y + h; ++cy)
            if (column[cy] == Wall)
                return false;
    }
    return true;
}

bool CGridMap::SetCell(u32 x, u32 y, u8 value) {
    if (x >= m_width || y >= m_height)
        return false;
    m_cells[Index(x, y)] = value;
    return true;
}

bool CGridMap::FindPathWave(u32 startX, u32 startY, u32 targetX, u32 targetY, CGridPath& path, u32 size,
                            u16 maxWave) {
    path.Clear();
    if (!Contains(startX, startY))
        return false;
    u32 wave = 1;
    if (!RunWave(startX, startY, targetX, targetY, size, maxWave, wave))
        return false;
    Descend(startX, startY, targetX, targetY, wave, path);
    return true;
}

bool CGridMap::RunWave(u32 startX, u32 startY, u32 targetX, u32 targetY, u32 size, u16 maxWave, u32& wave) {
    m_distances.assign(m_cells.size(), Unreached);
    m_queue.clear();
    m_queue.emplace_back(startX, startY);
    m_distances[Index(startX, startY)] = 0;
    if (maxWave == 1)
        return false;
    return size > 1 ? Waves<true>(targetX, targetY, size, maxWave, wave)
                    : Waves<false>(targetX, targetY, size, maxWave, wave);
}

// The passes of the wave, one front at a time: the front as it stood when the pass began, the cells
// it reaches making the next.
template <bool Square> bool CGridMap::Waves(u32 targetX, u32 targetY, u32 size, u16 maxWave, u32& wave) {
    bool found = false;
    auto take = [&](u32 x, u32 y) {
        u16& distance = m_distances[Index(x, y)];
        if (distance == Unreached && (Square ? IsFreeSquare(x, y, size) : m_cells[Index(x, y)] != Wall)) {
            distance = u16(wave);
            m_next.emplace_back(x, y);
        }
    };
    while (!found && !m_queue.empty()) {
        m_next.clear();
        for (const auto& [x, y] : m_queue) {
            if (x == targetX && y == targetY) {
                found = true;
                break;
            }
            if (x > 0)
                take(x - 1, y);
            if (x + 1 < m_width)
                take(x + 1, y);
            if (y > 0)
                take(x, y - 1);
            if (y + 1 < m_height)
                take(x, y + 1);
        }
        ++wave;
        m_queue.swap(m_next);
        // A wave of 0xFFFF would write the unreached mark itself.
        if (u16(wave) == maxWave || u16(wave) == Unreached)
            break;
    }
    return found;
}

void CGridMap::Descend(u32 startX, u32 startY, u32 targetX, u32 targetY, u32 wave, CGridPath& path) const {
    static constexpr i32 Steps[8][2] = {{-1, -1}, {1, -1}, {-1, 1}, {1, 1}, {-1, 0}, {1, 0}, {0, -1}, {0, 1}};
    u32 x = targetX, y = targetY, best = wave;
    while (x != startX || y != startY) {
        bool stepped = false;
        u32 nextX = 0, nextY = 0;
        for (const auto& step : Steps) {
            // Unsigned: one step left of column 0 lands far outside.
            const u32 nx = x + u32(step[0]), ny = y + u32(step[1]);
            if (nx >= m_width || ny >= m_height || m_cells[Index(nx, ny)] == Wall)
                continue;
            const u16 distance = m_distances[Index(nx, ny)];
            if (distance < best) {
                best = distance;
                nextX = nx;
                nextY = ny;
                stepped = true;
            }
        }
        if (!stepped)
            break;
        path.Cells().emplace_back(nextX, nextY);
        x = nextX;
        y = nextY;
    }
}

u8* CGridMap::Save(SaveLoadSystem& sys, u8* pos) const {
    pos = sys.writeU32(pos, m_width);
    for (u32 x = 0; x < m_width; ++x) {
        pos = sys.writeU32(pos, m_height);
        pos = sys.write(pos, m_cells.data() + Index(x, 0), m_height);
    }
    pos = sys.writeU32(pos, m_width);
    return sys.writeU32(pos, m_height);
}

const u8* CGridMap::Load(SaveLoadSystem& sys, const u8* pos) {
    static const char* const Reader = "CGridMap::Load()";
    u32 columns = 0;
    pos = sys.readU32(pos, columns);
    if (!countFits(sys, pos, columns, 4, Reader))
        return pos + sys.bytesLeftInRecord(pos);
    std::vector<u8> cells;
    u32 rows = 0;
    bool even = columns <= MaxSide;
    for (u32 x = 0; x < columns; ++x) {
        u32 count = 0;
        pos = sys.readU32(pos, count);
        if (!countFits(sys, pos, count, 1, Reader))
            return pos + sys.bytesLeftInRecord(pos);
        if (x == 0)
            rows = count;
        even = even && count == rows && count <= MaxSide;
        if (even && count > 0) {
            cells.resize(cells.size() + count);
            pos = sys.read(pos, cells.data() + cells.size() - count, count);
        } else {
            pos += count;
        }
    }
    u32 width = 0, height = 0;
    pos = sys.readU32(pos, width);
    pos = sys.readU32(pos, height);
    if (!even || width != columns || height > MaxSide || (columns > 0 && height != rows)) {
        log("%s. A grid of %u x %u does not match its %u columns; the grid is kept", Reader, width, height,
            columns);
        return pos;
    }
    Assign(width, height, std::move(cells));
    return pos;
}
