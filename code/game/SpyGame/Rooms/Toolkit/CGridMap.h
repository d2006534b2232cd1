#pragma once
#include "tk2v/util/types.h"

#include <string>
#include <utility>
#include <vector>

class CGridPath;
class SaveLoadSystem;

// The walkable map of a maze: byte cells, 255 a wall and anything else walkable, kept column by
// column as the ".map" files and the save records hold them, with the scratch of its path search.
// One search at a time: the scratch lives here, and the cells must not change during a search.
class CGridMap {
public:
    static constexpr u8 Wall = 255;
    static constexpr u16 Unreached = 0xFFFF;
    // The largest side a map file or a record may give: beyond it width x height overflows.
    static constexpr u32 MaxSide = 4096;

    void Resize(u32 width, u32 height);
    // A file that cannot be read, or whose header promises more than it holds or a side of 0 or
    // above MaxSide, is refused with one log line and the grid kept; bytes past the cells are ignored.
    bool LoadMap(const std::string& name);
    bool SaveMap(const std::string& name) const;

    // The square of side 2 x (size / 2) + 1 centred on (x, y) lies inside the grid and holds no wall.
    bool IsFreeSquare(i64 x, i64 y, u32 size) const;
    bool SetFree(u32 x, u32 y) { return SetCell(x, y, 0); }
    bool SetWall(u32 x, u32 y) { return SetCell(x, y, Wall); }
    // False, changing nothing, off the grid.
    bool SetCell(u32 x, u32 y, u8 value);
    // A four-neighbour wave from the start, then an eight-neighbour descent from the target into
    // `path` (the target left out, the start last). A search may reach distance maxWave - 2 (maxWave
    // 0: as far as the distances can count); a start outside the grid finds nothing.
    bool FindPathWave(u32 startX, u32 startY, u32 targetX, u32 targetY, CGridPath& path, u32 size,
                      u16 maxWave);

    u8* Save(SaveLoadSystem& sys, u8* pos) const;
    // A record whose columns disagree with its own width and height, or with a side above MaxSide,
    // keeps the grid as it was (one log line); one whose counts the record cannot hold stops at its end.
    const u8* Load(SaveLoadSystem& sys, const u8* pos);

    u32 GetWidth() const { return m_width; }
    u32 GetHeight() const { return m_height; }
    bool Contains(i64 x, i64 y) const { return x >= 0 && y >= 0 && x < m_width && y < m_height; }
    // The caller keeps (x, y) inside the grid.
    u8 GetCell(u32 x, u32 y) const { return m_cells[Index(x, y)]; }
    u16 GetDistance(u32 x, u32 y) const { return m_distances[Index(x, y)]; }

private:
    using Cell = std::pair<u32, u32>;

    size_t Index(u32 x, u32 y) const { return size_t(x) * m_height + y; }
    bool RunWave(u32 startX, u32 startY, u32 targetX, u32 targetY, u32 size, u16 maxWave, u32& wave);
    template <bool Square> bool Waves(u32 targetX, u32 targetY, u32 size, u16 maxWave, u32& wave);
    void Descend(u32 startX, u32 startY, u32 targetX, u32 targetY, u32 wave, CGridPath& path) const;
    void Assign(u32 width, u32 height, std::vector<u8> cells);

    u32 m_width = 0;
    u32 m_height = 0;
    // Column-major: cell (x, y) at x x height + y.
    std::vector<u8> m_cells;
    std::vector<u16> m_distances;
    // The wave's front and the next one; their storage is kept from search to search.
    std::vector<Cell> m_queue;
    std::vector<Cell> m_next;
};
