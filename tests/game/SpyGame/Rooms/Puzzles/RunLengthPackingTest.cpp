#include "game/SpyGame/Rooms/Puzzles/RunLengthPacking.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Bytes = std::vector<u8>;

Bytes repeat(size_t n, u8 value) {
    return Bytes(n, value);
}

Bytes operator+(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// The block that packing the data makes.
Bytes pack(const Bytes& data) {
    Bytes buffer(PackedRunsHeaderBytes + data.size());
    std::copy(data.begin(), data.end(), buffer.begin() + PackedRunsHeaderBytes);
    buffer.resize(PackRunsInPlace(buffer.data(), u32(data.size())));
    return buffer;
}

u32 field(const Bytes& block, size_t at, size_t bytes = 4) {
    u32 value = 0;
    for (size_t i = bytes; i-- > 0;)
        value = value << 8 | block[at + i];
    return value;
}

struct Run {
    u32 position;
    u32 length;
    u8 value;
    bool operator==(const Run&) const = default;
};

std::vector<Run> runsOf(const Bytes& block) {
    std::vector<Run> runs;
    for (u32 i = 0; i < field(block, 4); ++i) {
        size_t at = PackedRunsHeaderBytes + i * PackedRunBytes;
        runs.push_back({field(block, at), field(block, at + 4, 2), block[at + 6]});
    }
    return runs;
}

Bytes unpack(const Bytes& block, u32 maxUnpacked = 1u << 24) {
    PackedRunsInfo info = CheckPackedRuns(block.data(), u32(block.size()), maxUnpacked);
    EXPECT_EQ(info.check, PackedRunsInfo::Sound);
    Bytes out(info.unpackedSize);
    UnpackRuns(block.data(), info, out.data());
    return out;
}

// A hand-made block: the runs, then the literals.
Bytes block(const std::vector<Run>& runs, const Bytes& literals, int sizeChange = 0) {
    Bytes out(PackedRunsHeaderBytes);
    for (const Run& run : runs)
        for (u32 v : {run.position & 0xFF, run.position >> 8 & 0xFF, run.position >> 16 & 0xFF,
                      run.position >> 24, run.length & 0xFF, run.length >> 8, u32(run.value)})
            out.push_back(u8(v));
    out.insert(out.end(), literals.begin(), literals.end());
    u32 size = u32(out.size() + sizeChange);
    for (int i = 0; i < 4; ++i) {
        out[i] = u8(size >> (8 * i));
        out[4 + i] = u8(runs.size() >> (8 * i));
    }
    return out;
}

struct PackCase {
    const char* what;
    Bytes data;
    std::vector<Run> runs;
    size_t literals;
};

TEST(RunLengthPacking, StretchesOfEightOrMoreBecomeRunsAndTheRestStaysLiteral) {
    const Bytes mixed = Bytes{1, 2} + repeat(9, 7) + Bytes{3};
    const PackCase cases[] = {
        {"no data", {}, {}, 0},
        {"seven equal bytes", repeat(7, 5), {}, 7},
        {"eight equal bytes", repeat(8, 5), {{0, 8, 5}}, 0},
        {"65536 equal bytes", repeat(65536, 9), {{0, 65535, 9}}, 1},
        {"two runs that touch", repeat(65535 + 8, 4), {{0, 65535, 4}, {65535, 8, 4}}, 0},
        {"runs of two values side by side", repeat(8, 1) + repeat(10, 2), {{0, 8, 1}, {8, 10, 2}}, 0},
        {"literals around a run", mixed, {{2, 9, 7}}, 3},
        {"no stretch reaches eight", Bytes{1, 1, 2, 2, 2, 3, 4, 4, 4, 4, 4, 4, 4}, {}, 13},
    };
    for (const PackCase& c : cases) {
        SCOPED_TRACE(c.what);
        const Bytes packed = pack(c.data);
        EXPECT_EQ(field(packed, 0), packed.size());
        EXPECT_EQ(runsOf(packed), c.runs);
        EXPECT_EQ(packed.size(), PackedRunsHeaderBytes + c.runs.size() * PackedRunBytes + c.literals);
        EXPECT_EQ(unpack(packed), c.data);
    }
    // The literals are the bytes no run covers, in order.
    const Bytes packed = pack(mixed);
    EXPECT_EQ(Bytes(packed.end() - 3, packed.end()), (Bytes{1, 2, 3}));
}

TEST(RunLengthPacking, AHalfRubbedLayerComesBackByteForByte) {
    Bytes data;
    for (u32 row = 0; row < 64; ++row)
        for (u32 col = 0; col < 64; ++col)
            data.push_back(col < 32 ? 0 : u8(row * 3 + (col % 16 == 0 ? col : 0)));
    const Bytes packed = pack(data);
    EXPECT_LT(packed.size(), data.size() / 2);
    EXPECT_EQ(unpack(packed), data);
}

Bytes withRunCount(Bytes block, u32 count) {
    for (int i = 0; i < 4; ++i)
        block[4 + i] = u8(count >> (8 * i));
    return block;
}

struct DamageCase {
    const char* what;
    Bytes block;
    PackedRunsInfo::Check check;
};

TEST(RunLengthPacking, DamagedBlocksAreRefusedBeforeAnyByteIsWritten) {
    const Bytes two = {1, 2};
    const DamageCase cases[] = {
        {"runs out of order", block({{10, 8, 1}, {0, 8, 2}}, two), PackedRunsInfo::DamagedRuns},
        {"runs that overlap", block({{0, 8, 1}, {7, 8, 2}}, two), PackedRunsInfo::DamagedRuns},
        {"a run past the end", block({{3, 8, 1}}, two), PackedRunsInfo::DamagedRuns},
        {"more than the reader takes", block({{0, 65535, 1}}, two), PackedRunsInfo::DamagedRuns},
        {"size below the run table", block({{0, 8, 1}}, {}, -1), PackedRunsInfo::DamagedSize},
        {"size past the bytes left", block({}, two, 1), PackedRunsInfo::DamagedSize},
        {"a run count of billions", withRunCount(block({}, two), 0x40000000), PackedRunsInfo::DamagedSize},
        {"no room for the header", Bytes{10, 0, 0}, PackedRunsInfo::DamagedSize},
    };
    for (const DamageCase& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(CheckPackedRuns(c.block.data(), u32(c.block.size()), 1000).check, c.check);
    }
    EXPECT_EQ(unpack(block({{1, 8, 9}}, two)), (Bytes{1} + repeat(8, 9) + Bytes{2}));
    // A run may start after the last literal, and runs may touch.
    EXPECT_EQ(unpack(block({{2, 8, 3}, {10, 8, 4}}, two)), (two + repeat(8, 3) + repeat(8, 4)));
}

} // namespace
