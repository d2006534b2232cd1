// The word and book puzzles timed beside plain code doing the same work.
//
// RLE: the appointment book's paint layer record (37 bytes of fields and 1024 x 1024 alpha bytes, the
// left half untouched, the right half rubbed with overlapping brush strokes up to the alpha limit) is
// packed in place and unpacked again by the room's packing (which also checks the block before it
// unpacks). The baseline packs the same record into the same block format from one buffer into
// another (one byte loop finding the runs, memcpy of the literal spans, the run table then the
// literals copied behind the header) and unpacks it (memcpy of the literal gaps, memset of the runs)
// without checking anything.
#include "BenchRatio.h"
#include "game/SpyGame/Rooms/Puzzles/RunLengthPacking.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

constexpr u32 kPage = 1024;
constexpr u32 kFields = 37;

std::vector<u8> halfRubbedRecord() {
    std::vector<u8> record(kFields + kPage * kPage, 0);
    for (u32 i = 0; i < kFields; ++i)
        record[i] = u8(i * 7);
    u8* alpha = record.data() + kFields;
    // Strokes across the right half, a 16 x 16 brush adding 25 per spot up to the limit 200.
    for (int stroke = 0; stroke < 90; ++stroke)
        for (int step = 0; step < 1200; ++step) {
            int x = kPage / 2 + (step * 512) / 1200;
            int y = int(stroke * 11.5 + 20 * std::sin(step * 0.01 + stroke));
            for (int dy = 0; dy < 16; ++dy)
                for (int dx = 0; dx < 16; ++dx) {
                    int px = x + dx, py = y + dy;
                    if (px < 0 || py < 0 || px >= int(kPage) || py >= int(kPage))
                        continue;
                    u8& a = alpha[py * kPage + px];
                    a = u8(std::min(200, a + 25));
                }
        }
    return record;
}

const std::vector<u8>& record() {
    static const std::vector<u8> r = halfRubbedRecord();
    return r;
}

struct PlainRun {
    u32 position;
    u16 length;
    u8 value;
};

void put32(u8* at, u32 v) {
    std::memcpy(at, &v, 4);
}

u32 get32(const u8* at) {
    u32 v;
    std::memcpy(&v, at, 4);
    return v;
}

// The plain packer: runs into a table, literal spans into a scratch buffer, then the block.
u32 plainPack(const u8* data, u32 n, u8* out, std::vector<PlainRun>& runs, std::vector<u8>& literals) {
    runs.clear();
    literals.resize(n);
    u32 lit = 0, spanStart = 0;
    for (u32 i = 0; i < n;) {
        u32 end = i + 1, limit = i + std::min<u32>(n - i, 65535);
        while (end < limit && data[end] == data[i])
            ++end;
        if (end - i >= 8) {
            std::memcpy(literals.data() + lit, data + spanStart, i - spanStart);
            lit += i - spanStart;
            runs.push_back({i, u16(end - i), data[i]});
            spanStart = end;
        }
        i = end;
    }
    std::memcpy(literals.data() + lit, data + spanStart, n - spanStart);
    lit += n - spanStart;
    u8* at = out + 8;
    for (const PlainRun& r : runs) {
        put32(at, r.position);
        std::memcpy(at + 4, &r.length, 2);
        at[6] = r.value;
        at += 7;
    }
    std::memcpy(at, literals.data(), lit);
    const u32 size = u32(at + lit - out);
    put32(out, size);
    put32(out + 4, u32(runs.size()));
    return size;
}

void plainUnpack(const u8* block, u8* out) {
    const u32 count = get32(block + 4);
    const u32 size = get32(block);
    const u8* run = block + 8;
    const u8* literal = run + 7 * count;
    u32 written = 0;
    for (u32 i = 0; i < count; ++i, run += 7) {
        const u32 position = get32(run);
        u16 length;
        std::memcpy(&length, run + 4, 2);
        std::memcpy(out + written, literal, position - written);
        literal += position - written;
        std::memset(out + position, run[6], length);
        written = position + length;
    }
    std::memcpy(out + written, literal, size_t(block + size - literal));
}

void BM_PackUnpackLayer(benchmark::State& state) {
    const u32 n = u32(record().size());
    std::vector<u8> a(PackedRunsHeaderBytes + n), b(PackedRunsHeaderBytes + n);
    std::copy(record().begin(), record().end(), a.begin() + PackedRunsHeaderBytes);
    for (auto _ : state) {
        const u32 size = PackRunsInPlace(a.data(), n);
        PackedRunsInfo info = CheckPackedRuns(a.data(), size, n);
        UnpackRuns(a.data(), info, b.data() + PackedRunsHeaderBytes);
        std::swap(a, b);
        benchmark::DoNotOptimize(a.data());
    }
    state.counters["packed"] = double(PackRunsInPlace(a.data(), n));
}

void BM_PlainPackUnpackLayer(benchmark::State& state) {
    const u32 n = u32(record().size());
    std::vector<u8> data = record(), block(PackedRunsHeaderBytes + n);
    std::vector<PlainRun> runs;
    std::vector<u8> literals;
    for (auto _ : state) {
        plainPack(data.data(), n, block.data(), runs, literals);
        plainUnpack(block.data(), data.data());
        benchmark::DoNotOptimize(data.data());
    }
    state.counters["packed"] = double(plainPack(data.data(), n, block.data(), runs, literals));
}

// The machine may be shared: repetitions in random order, compared by their medians.
BENCHMARK(BM_PackUnpackLayer)->Unit(benchmark::kMicrosecond)->Repetitions(5);
BENCHMARK(BM_PlainPackUnpackLayer)->Unit(benchmark::kMicrosecond)->Repetitions(5);

} // namespace

int main(int argc, char** argv) {
    auto figures = bench::run(argc, argv);
    auto ratio = [&](const char* what, const char* ours, const char* base, double goal) {
        const double mine = figures[ours].cpu, bare = figures[base].cpu;
        if (mine > 0 && bare > 0)
            std::printf("%s: %.1f us beside %.1f us, ratio %.2f (goal <= %.1f)\n", what, mine, bare,
                        mine / bare, goal);
    };
    ratio("RLE pack + unpack of a half-rubbed 1024x1024 layer", "BM_PackUnpackLayer",
          "BM_PlainPackUnpackLayer", 1.3);
    return 0;
}
