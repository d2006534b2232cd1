#pragma once
#include "game/SpyGame/Rooms/Toolkit/CGridMap.h"

#include <deque>
#include <initializer_list>
#include <string>
#include <vector>

// Grids drawn as rows of text ('#' a wall, anything else free) and a breadth-first search written
// plainly, to hold the grid's own search against.
inline CGridMap gridOf(std::initializer_list<std::string> rows) {
    CGridMap grid;
    const std::vector<std::string> lines(rows);
    grid.Resize(u32(lines.empty() ? 0 : lines[0].size()), u32(lines.size()));
    for (u32 y = 0; y < lines.size(); ++y)
        for (u32 x = 0; x < lines[y].size(); ++x)
            if (lines[y][x] == '#')
                grid.SetWall(x, y);
    return grid;
}

// The four-neighbour distance from the start to every cell (-1 unreached), with the grid's rule for
// what may be entered: a cell that is no wall, or a free square of the given size; the start is
// entered whatever it holds.
inline std::vector<std::vector<int>> plainDistances(const CGridMap& grid, u32 sx, u32 sy, u32 size) {
    std::vector<std::vector<int>> d(grid.GetWidth(), std::vector<int>(grid.GetHeight(), -1));
    std::deque<std::pair<u32, u32>> todo{{sx, sy}};
    d[sx][sy] = 0;
    while (!todo.empty()) {
        auto [x, y] = todo.front();
        todo.pop_front();
        const int nx[4] = {int(x) - 1, int(x) + 1, int(x), int(x)};
        const int ny[4] = {int(y), int(y), int(y) - 1, int(y) + 1};
        for (int i = 0; i < 4; ++i) {
            if (!grid.Contains(nx[i], ny[i]) || d[nx[i]][ny[i]] >= 0)
                continue;
            const bool open = size > 1 ? grid.IsFreeSquare(nx[i], ny[i], size)
                                       : grid.GetCell(u32(nx[i]), u32(ny[i])) != CGridMap::Wall;
            if (open) {
                d[nx[i]][ny[i]] = d[x][y] + 1;
                todo.push_back({u32(nx[i]), u32(ny[i])});
            }
        }
    }
    return d;
}
