#include "fuzz_input_file.h"
#include "game/SpyGame/Rooms/Toolkit/CGridMap.h"
#include "game/SpyGame/Rooms/Toolkit/CGridPath.h"
#include "tk2v/file/aFileBuffer.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

// Input: a maze map file. When it is taken, saving it must give back its header and cells (the
// unread first byte as 0), and searches between cells it names must end with a path inside the grid.

namespace {
const std::string& inputName() {
    return fuzzInputPath("fuzz_maze_map", ".map");
}

const std::string& copyName() {
    static const std::string name = [] {
        std::string path = inputName() + ".copy";
        std::atexit([] { std::remove((inputName() + ".copy").c_str()); });
        return path;
    }();
    return name;
}

void checkCopy(const CGridMap& grid, const uint8_t* data) {
    if (!grid.SaveMap(copyName()))
        std::abort();
    aFileBuffer copy(copyName());
    const size_t size = 9 + size_t(grid.GetWidth()) * grid.GetHeight();
    if (!copy.isLoaded() || copy.getSize() != size || copy.getData()[0] != 0 ||
        std::memcmp(copy.getData() + 1, data + 1, size - 1) != 0)
        std::abort();
}

void search(CGridMap& grid, const uint8_t* data, size_t size) {
    const u32 w = grid.GetWidth(), h = grid.GetHeight();
    CGridPath path;
    for (size_t i = 9; i + 3 < size && i < 9 + 4 * 4; i += 4) {
        const u32 sx = data[i] % (w + 1), sy = data[i + 1] % (h + 1);
        const u32 tx = data[i + 2] % (w + 1), ty = data[i + 3] % (h + 1);
        const u32 squareSize = 1 + data[i] % 4;
        const u16 maxWave = u16(data[i + 1] % 3 == 0 ? 0 : data[i + 2] % 40);
        grid.FindPathWave(sx, sy, tx, ty, path, squareSize, maxWave);
        for (const auto& [x, y] : path.Cells())
            if (x >= w || y >= h)
                std::abort();
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    writeFuzzInput(inputName(), "", data, size);
    CGridMap grid;
    if (!grid.LoadMap(inputName()))
        return 0;
    checkCopy(grid, data);
    search(grid, data, size);
    return 0;
}
