#include "MazeGrids.h"
#include "game/SpyGame/Rooms/Toolkit/CGridPath.h"
#include "support/LogCapture.h"
#include "support/TempDir.h"
#include "support/game/SaveRecords.h"
#include "tk2v/platform/Random.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

using namespace std::string_literals;
using Cells = std::vector<CGridPath::Cell>;

const std::string kSmallMap = "\0\3\0\0\0\2\0\0\0\xFF\0\0\0\0\xFF"s;

std::string mapFile(u32 width, u32 height, const std::string& cells) {
    std::string bytes(1, '\0');
    SaveRecords::putU32(bytes, width);
    SaveRecords::putU32(bytes, height);
    return bytes + cells;
}

TEST(CGridMap, MapFileReadsColumnByColumnAndWritesBackTheSameBytes) {
    TempDir dir;
    dir.write("small.map", kSmallMap);
    CGridMap grid;
    ASSERT_TRUE(grid.LoadMap(dir.file("small.map")));
    ASSERT_EQ(grid.GetWidth(), 3u);
    ASSERT_EQ(grid.GetHeight(), 2u);
    std::string walls;
    for (u32 y = 0; y < 2; ++y)
        for (u32 x = 0; x < 3; ++x)
            walls += grid.GetCell(x, y) == CGridMap::Wall ? '#' : '.';
    EXPECT_EQ(walls, "#....#");
    ASSERT_TRUE(grid.SaveMap(dir.file("copy.map")));
    EXPECT_EQ(dir.read("copy.map"), kSmallMap);

    // Bytes past the cells are not the map's.
    dir.write("long.map", kSmallMap + "tail");
    CGridMap longer;
    ASSERT_TRUE(longer.LoadMap(dir.file("long.map")));
    ASSERT_TRUE(longer.SaveMap(dir.file("copy.map")));
    EXPECT_EQ(dir.read("copy.map"), kSmallMap);
}

TEST(CGridMap, MapFilesThatCannotHoldTheirCellsAreRefusedAndTheGridKept) {
    TempDir dir;
    struct Case {
        const char* what;
        std::string bytes;
        const char* line;
    } cases[] = {
        {"missing", "", "not found"},
        {"header cut", "\0\3\0\0\0"s, "is not a whole map"},
        {"cells cut", kSmallMap.substr(0, 14), "is not a whole map"},
        {"no columns", mapFile(0, 2, ""), "is not a whole map"},
        {"no rows", mapFile(3, 0, ""), "is not a whole map"},
        {"sides overflowing", mapFile(0x10000, 0x10000, "x"), "is not a whole map"},
        {"side above 4096", mapFile(4097, 1, std::string(4097, '\0')), "is not a whole map"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (!c.bytes.empty())
            dir.write("bad.map", c.bytes);
        CGridMap grid = gridOf({"#.", ".#"});
        LogCapture log;
        EXPECT_FALSE(grid.LoadMap(dir.file(c.bytes.empty() ? "none.map" : "bad.map")));
        const std::string name = dir.file(c.bytes.empty() ? "none.map" : "bad.map");
        // The file layer names a file it cannot open besides.
        ASSERT_EQ(log.messages().size(), c.bytes.empty() ? 2u : 1u);
        EXPECT_EQ(log.messages().back().rfind("Map with name \"" + name + "\" " + c.line, 0), 0u)
            << log.messages().back();
        EXPECT_EQ(grid.GetWidth(), 2u);
        EXPECT_EQ(grid.GetCell(0, 0), CGridMap::Wall);
        EXPECT_EQ(grid.GetCell(1, 0), 0);
    }
}

TEST(CGridMap, SquaresLieWhollyInsideTheGridAndClearOfWalls) {
    const CGridMap grid = gridOf({".....", ".....", "....#", ".....", "....."});
    struct Case {
        i64 x, y;
        u32 size;
        bool free;
    } cases[] = {
        {4, 2, 1, false},  {3, 2, 1, true},  {2, 2, 2, true},  {2, 2, 3, true},  {3, 3, 3, false},
        {3, 1, 2, false},  {0, 0, 1, true},  {0, 0, 3, false}, {1, 1, 3, true},  {-1, 2, 1, false},
        {2, -1, 1, false}, {5, 0, 1, false}, {2, 2, 5, false}, {3, 4, 3, false}, {1, 3, 3, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(grid.IsFreeSquare(c.x, c.y, c.size), c.free) << c.x << "," << c.y << " size " << c.size;
}

TEST(CGridMap, WaveSearchCases) {
    struct Case {
        const char* what;
        std::vector<std::string> rows;
        u32 sx, sy, tx, ty, size;
        u16 maxWave;
        bool found;
        Cells path;
    } cases[] = {
        {"open ground, diagonals win",
         {"....", "....", "....", "...."},
         0,
         0,
         3,
         3,
         1,
         1000,
         true,
         {{2, 2}, {1, 1}, {0, 0}}},
        {"start is target", {"...", "..."}, 1, 1, 1, 1, 1, 1000, true, {}},
        {"target on a wall", {"..#", "..."}, 0, 0, 2, 0, 1, 1000, false, {}},
        {"target walled off", {"..#.", "..#."}, 0, 0, 3, 1, 1, 1000, false, {}},
        {"target off the grid", {"..", ".."}, 0, 0, 5, 0, 1, 1000, false, {}},
        {"limit 1 searches nothing", {"..", ".."}, 0, 0, 0, 0, 1, 1, false, {}},
        {"limit 2 reaches the start only", {"..", ".."}, 0, 0, 0, 0, 1, 2, true, {}},
        {"limit 2, one cell away", {"..", ".."}, 0, 0, 1, 0, 1, 2, false, {}},
        {"limit 3, one cell away", {"..", ".."}, 0, 0, 1, 0, 1, 3, true, {{0, 0}}},
        {"limit 3, two cells away", {"...", "..."}, 0, 0, 2, 0, 1, 3, false, {}},
        {"limit 0 is unlimited",
         {"....", "....", "....", "...."},
         0,
         0,
         3,
         3,
         1,
         0,
         true,
         {{2, 2}, {1, 1}, {0, 0}}},
        {"past a wall corner", {"..#.", ".#..", "...."}, 0, 0, 2, 1, 1, 1000, true, {{1, 0}, {0, 0}}},
        {"start on a wall: the descent stops short", {"#..", "..."}, 0, 0, 2, 0, 1, 1000, true, {{1, 0}}},
        {"start off the grid", {"..", ".."}, 2, 0, 0, 0, 1, 1000, false, {}},
        {"square too big for a corridor", {"#####", ".....", "#####"}, 0, 1, 4, 1, 3, 1000, false, {}},
        {"square of 3 in a hall of 3: straight on, the descent tests single cells",
         {".......", ".......", "......."},
         1,
         1,
         5,
         1,
         2,
         1000,
         true,
         {{4, 1}, {3, 1}, {2, 1}, {1, 1}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CGridMap grid;
        grid.Resize(u32(c.rows[0].size()), u32(c.rows.size()));
        for (u32 y = 0; y < c.rows.size(); ++y)
            for (u32 x = 0; x < c.rows[y].size(); ++x)
                if (c.rows[y][x] == '#')
                    grid.SetWall(x, y);
        CGridPath path;
        path.Cells() = {{9, 9}};
        EXPECT_EQ(grid.FindPathWave(c.sx, c.sy, c.tx, c.ty, path, c.size, c.maxWave), c.found);
        EXPECT_EQ(path.Cells(), c.path);
        EXPECT_EQ(path.GetStep(), 0u);
    }
}

// Random walls on random grids, searched with cell and square walkers under tight and loose limits.
TEST(CGridMap, WaveFindsWhatAPlainSearchReachesWithinTheLimitAndDescendsDownhill) {
    platform::srand(2024);
    for (int round = 0; round < 200; ++round) {
        SCOPED_TRACE(round);
        const u32 w = 2 + u32(platform::rand()) % 14, h = 2 + u32(platform::rand()) % 14;
        CGridMap grid;
        grid.Resize(w, h);
        const int wallShare = platform::rand() % 45;
        for (u32 x = 0; x < w; ++x)
            for (u32 y = 0; y < h; ++y)
                if (platform::rand() % 100 < wallShare)
                    grid.SetWall(x, y);
        const u32 sx = u32(platform::rand()) % w, sy = u32(platform::rand()) % h;
        const u32 tx = u32(platform::rand()) % w, ty = u32(platform::rand()) % h;
        const u32 size = platform::rand() % 3 == 0 ? 3 : 1;
        const u16 maxWave = u16(platform::rand() % 4 == 0 ? 0 : 1 + platform::rand() % 30);
        const int reach = maxWave == 0 ? 0xFFFD : maxWave - 2;

        const auto distance = plainDistances(grid, sx, sy, size);
        const bool expected = distance[tx][ty] >= 0 && distance[tx][ty] <= reach;
        CGridPath path;
        ASSERT_EQ(grid.FindPathWave(sx, sy, tx, ty, path, size, maxWave), expected)
            << w << "x" << h << " from " << sx << "," << sy << " to " << tx << "," << ty << " size " << size
            << " limit " << maxWave << " distance " << distance[tx][ty];
        if (!expected) {
            EXPECT_TRUE(path.Empty());
            continue;
        }
        // Each step an eight-neighbour move onto a lower cell that is no wall, ending at the start
        // unless the start itself is a wall (the descent never enters a wall, so next to such a start
        // its first step may go sideways).
        const bool startIsWall = grid.GetCell(sx, sy) == CGridMap::Wall;
        u32 x = tx, y = ty;
        int last = distance[tx][ty] + (startIsWall ? 1 : 0);
        for (const auto& [px, py] : path.Cells()) {
            ASSERT_LE(std::abs(int(px) - int(x)), 1);
            ASSERT_LE(std::abs(int(py) - int(y)), 1);
            ASSERT_NE(grid.GetCell(px, py), CGridMap::Wall);
            ASSERT_GE(distance[px][py], 0);
            ASSERT_LT(distance[px][py], last);
            last = distance[px][py];
            x = px;
            y = py;
        }
        const bool reachedStart = x == sx && y == sy;
        EXPECT_TRUE(reachedStart || startIsWall);
    }
}

// A corridor snaking through full rows, long enough for the wave to count past 16 bits.
TEST(CGridMap, AnUnlimitedWaveStopsBeforeItsCountWouldReadAsUnreached) {
    constexpr u32 w = 512, h = 259;
    CGridMap grid;
    grid.Resize(w, h);
    for (u32 y = 1; y < h; y += 2)
        for (u32 x = 0; x < w; ++x)
            if (x != ((y / 2) % 2 == 0 ? w - 1 : 0))
                grid.SetWall(x, y);
    const auto distance = plainDistances(grid, 0, 0, 1);
    u32 farthestX = 0, farthestY = 0, lastX = 0, lastY = 0;
    for (u32 x = 0; x < w; ++x)
        for (u32 y = 0; y < h; ++y) {
            if (distance[x][y] == 0xFFFD) {
                lastX = x;
                lastY = y;
            }
            if (distance[x][y] == 0xFFFE) {
                farthestX = x;
                farthestY = y;
            }
        }
    ASSERT_GT(distance[w - 1][h - 1], 0xFFFF);
    CGridPath path;
    EXPECT_TRUE(grid.FindPathWave(0, 0, lastX, lastY, path, 1, 0));
    EXPECT_EQ(path.Cells().back(), (CGridPath::Cell{0, 0}));
    EXPECT_FALSE(grid.FindPathWave(0, 0, farthestX, farthestY, path, 1, 0));
    EXPECT_FALSE(grid.FindPathWave(0, 0, w - 1, h - 1, path, 1, 0));
    EXPECT_TRUE(path.Empty());
}

TEST(CGridMap, WallsAndFreeCellsOnlyInsideTheGrid) {
    CGridMap grid = gridOf({"..", ".."});
    EXPECT_TRUE(grid.SetWall(1, 1));
    EXPECT_EQ(grid.GetCell(1, 1), CGridMap::Wall);
    EXPECT_TRUE(grid.SetFree(1, 1));
    EXPECT_EQ(grid.GetCell(1, 1), 0);
    EXPECT_FALSE(grid.SetWall(2, 0));
    EXPECT_FALSE(grid.SetFree(0, 2));
}

TEST(CGridMap, RecordHoldsEachColumnWithItsLengthThenTheSides) {
    TempDir dir;
    dir.write("small.map", kSmallMap);
    CGridMap grid;
    ASSERT_TRUE(grid.LoadMap(dir.file("small.map")));
    SaveRecords records;
    HostEntity host;
    host.save = [&](SaveLoadSystem& sys, u8* pos) { return grid.Save(sys, pos); };
    const std::string bytes = records.save(host);
    EXPECT_EQ(bytes, "\3\0\0\0"
                     "\2\0\0\0\xFF\0"
                     "\2\0\0\0\0\0"
                     "\2\0\0\0\0\xFF"
                     "\3\0\0\0\2\0\0\0"s);

    CGridMap loaded;
    host.load = [&](SaveLoadSystem& sys, const u8* pos) { return loaded.Load(sys, pos); };
    ASSERT_TRUE(records.load(host, bytes));
    EXPECT_EQ(host.leftAfterLoad, 0u);
    host.save = [&](SaveLoadSystem& sys, u8* pos) { return loaded.Save(sys, pos); };
    EXPECT_EQ(records.save(host), bytes);
    // The distances are sized with the cells: a loaded grid searches at once.
    CGridPath path;
    EXPECT_TRUE(loaded.FindPathWave(1, 0, 0, 1, path, 1, 1000));
    EXPECT_EQ(path.Cells(), (Cells{{1, 0}}));
}

TEST(CGridMap, DamagedRecordsKeepTheGrid) {
    struct Case {
        const char* what;
        std::string bytes;
        u32 left; // what the reader leaves unread
    } cases[] = {
        {"width off its columns", "\1\0\0\0\1\0\0\0\0\2\0\0\0\1\0\0\0"s, 0},
        {"height off a column", "\1\0\0\0\1\0\0\0\0\1\0\0\0\2\0\0\0"s, 0},
        {"columns of two lengths", "\2\0\0\0\1\0\0\0\0\2\0\0\0\0\0\2\0\0\0\1\0\0\0"s, 0},
        {"column count past the record", "\xFF\xFF\xFF\xFF\0\0\0\0"s, 0},
        {"column length past the record", "\1\0\0\0\xFF\xFF\0\0\0\0"s, 0},
        {"side above 4096", "\0\0\0\0\0\0\0\0\1\x10\0\0"s, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CGridMap grid = gridOf({"#."});
        SaveRecords records;
        HostEntity host;
        host.load = [&](SaveLoadSystem& sys, const u8* pos) { return grid.Load(sys, pos); };
        LogCapture log;
        ASSERT_TRUE(records.load(host, c.bytes));
        EXPECT_EQ(log.messages().size(), 1u);
        EXPECT_EQ(host.leftAfterLoad, c.left);
        EXPECT_EQ(grid.GetWidth(), 2u);
        EXPECT_EQ(grid.GetHeight(), 1u);
        EXPECT_EQ(grid.GetCell(0, 0), CGridMap::Wall);
    }
}

} // namespace
