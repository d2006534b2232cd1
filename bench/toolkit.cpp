// Puzzle toolkit figures, each beside its baseline in the same run:
//  - MatchAnswer of two typed texts against six accepted words (every word used, in other cases and
//    orders) beside the same test written plainly: each text walked once for its std::string_view
//    pieces between ',' and ' ', each piece compared with the six words in order, ASCII letters folded
//    by hand, the matched words kept as bits of a mask, the answer right when the mask holds all six
//    (target: within 2x).
//  - A 400-pixel stroke with a 16 x 16 brush over a 512 x 64 layer: cPaintLayer::Update with the mouse
//    at the stroke's start (one spot at double strength) and again at its end (800 half-texel steps),
//    then cPaintLayer::Render, which sends the painted texels to the layer's texture and draws it;
//    beside the same 801 spots (the same positions, clipping to the page, amounts, limit and colour)
//    written into a plain ARGB array, the rectangle they touched copied once into the locked aImage
//    and the image drawn. Both sides move the mouse to the stroke's ends, and each runs in one finished
//    frame of the graph server (target: within 1.5x).
//  - The record of a 512 x 512 layer saved into a stream and loaded from one (the texture's alphas
//    rebuilt from it) beside the same record written with the stream's field writers (the alphas from
//    an array of bytes in one write) and read with its readers, the alphas put into the texels of the
//    locked texture. Each side begins its save afresh (the stream's buffer made anew) and loads from a
//    stream read once before (target: within 1.2x).
#include "BenchFolder.h"
#include "BenchFrame.h"
#include "BenchRatio.h"
#include "game/SaveLoadEntity.h"
#include "game/SaveLoadSystem.h"
#include "game/SpyGame/CRoomItemLookup.h"
#include "game/SpyGame/Rooms/Toolkit/PuzzleStrings.h"
#include "game/SpyGame/Rooms/Toolkit/cPaintLayer.h"
#include "game/SpyGame/SpyPoint.h"
#include "tk2v/gfx/aApplication.h"
#include "tk2v/gfx/aGraphServer.h"
#include "tk2v/gfx/aImage.h"
#include "tk2v/input/aInputServer.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <list>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace {

// --- MatchAnswer ---

const std::list<std::string> kTexts{"sherlock HOLMES, Baker", "street 221b london"};
const std::list<std::string> kWords{"Sherlock", "Holmes", "Baker", "Street", "London", "221B"};

void BM_MatchAnswer(benchmark::State& state) {
    for (auto _ : state) {
        u16 count = 0;
        u8 first = 0;
        benchmark::DoNotOptimize(MatchAnswer(kTexts, kWords, &count, &first));
        benchmark::DoNotOptimize(count);
    }
}

bool equalFolded(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        x = x >= 'A' && x <= 'Z' ? char(x + 32) : x;
        y = y >= 'A' && y <= 'Z' ? char(y + 32) : y;
        if (x != y)
            return false;
    }
    return true;
}

bool plainMatch(const std::list<std::string>& texts, const std::vector<std::string_view>& words) {
    const auto separator = [](char c) { return c == ',' || c == ' '; };
    u32 matched = 0;
    for (const std::string& text : texts) {
        const char* at = text.data();
        const char* const end = at + text.size();
        while (at != end) {
            while (at != end && separator(*at))
                ++at;
            const char* stop = at;
            while (stop != end && !separator(*stop))
                ++stop;
            if (stop == at)
                break;
            const std::string_view piece(at, size_t(stop - at));
            size_t word = 0;
            while (word < words.size() && !equalFolded(words[word], piece))
                ++word;
            if (word == words.size())
                return false;
            matched |= 1u << word;
            at = stop;
        }
    }
    return matched == (1u << words.size()) - 1;
}

void BM_PlainMatch(benchmark::State& state) {
    const std::vector<std::string_view> words(kWords.begin(), kWords.end());
    for (auto _ : state)
        benchmark::DoNotOptimize(plainMatch(kTexts, words));
}

// --- The engine for the layer ---

struct Engine {
    aApplication app;
    std::unique_ptr<aGraphServer> graph;
    std::unique_ptr<aInputServer> input;
    bench::TempFolder folder{"bench_toolkit"};
    bool ready = false;

    Engine() {
        graph = std::make_unique<aGraphServer>(1024, 768, false, true);
        if (graph->getFatalError())
            return;
        input = std::make_unique<aInputServer>();
        input->setMousePos(1, 2);
        i32 x = 0, y = 0;
        input->getMousePos(x, y);
        ready = x == 1 && y == 2;
    }
};

Engine& engine() {
    static Engine e;
    return e;
}

struct NoRooms : CRoomItemLookup {
    bool HasItem(const std::string&, const std::string&) const override { return false; }
    CSpyItem* GetItem(const std::string&, const std::string&) const override { return nullptr; }
    CSpyItem* GetItemByFullName(const std::string&) const override { return nullptr; }
};

// --- The stroke ---

constexpr u16 kPageW = 512, kPageH = 64, kBrush = 16;
constexpr u32 kBase = 0xFF336699;
constexpr u8 kLimit = 200;
constexpr f32 kStrength = 0.02f, kSpeed = 1;
constexpr i32 kStartX = 50, kEndX = 450, kY = 20;

// A clear layer over a page at the room's corner, of the benchmarks' brush, colour, limit and speed.
void setUp(cPaintLayer& layer, u16 w, u16 h) {
    layer.SetRect({0, 0, w, h});
    layer.Setup(nullptr, 0, 0, kBrush, kBrush, kBase, kLimit, kSpeed);
    layer.Reset();
}

void BM_LayerStroke(benchmark::State& state) {
    Engine& e = engine();
    if (!e.ready)
        return state.SkipWithError("no graph server or no mouse");
    cPaintLayer layer;
    setUp(layer, kPageW, kPageH);
    e.input->mouseButtons[0] = KEY_HELD;
    for (auto _ : state)
        bench::finishedFrame(*e.graph, [&] {
            layer.ResetLastPoint();
            e.input->setMousePos(kStartX, kY);
            layer.Update(kStrength);
            e.input->setMousePos(kEndX, kY);
            layer.Update(kStrength);
            layer.Render();
        });
    e.input->mouseButtons[0] = KEY_UP;
    if (!(layer.GetPaintedAmount() > 0))
        state.SkipWithError("the stroke painted nothing");
}

// The layer's spots as a plain array takes them.
struct PlainLayer {
    std::vector<u32> texels = std::vector<u32>(size_t(kPageW) * kPageH, kBase & 0xFFFFFF);
    i32 x0 = kPageW, y0 = kPageH, x1 = 0, y1 = 0;

    void spot(i32 x, i32 y, f32 strength) {
        const i32 left = std::max(x, 0), right = std::min(x + kBrush, i32(kPageW));
        const i32 top = std::max(y, 0), bottom = std::min(y + kBrush, i32(kPageH));
        if (left >= right || top >= bottom)
            return;
        const u32 amount = u32(TruncToInt(kSpeed * strength * 255.0f)) & 0xFF;
        for (i32 row = top; row < bottom; ++row)
            for (i32 col = left; col < right; ++col) {
                u32& texel = texels[size_t(row) * kPageW + size_t(col)];
                const u32 alpha = std::min<u32>((texel >> 24) + amount, kLimit);
                texel = (texel & 0xFFFFFF) | alpha << 24;
            }
        x0 = std::min(x0, left), y0 = std::min(y0, top), x1 = std::max(x1, right), y1 = std::max(y1, bottom);
    }
};

void BM_PlainStroke(benchmark::State& state) {
    Engine& e = engine();
    if (!e.ready)
        return state.SkipWithError("no graph server or no mouse");
    aImage image;
    image.create(kPageW, kPageH);
    PlainLayer plain;
    const f32 step = 0.5f;
    for (auto _ : state)
        bench::finishedFrame(*e.graph, [&] {
            // The mouse moves as it does for the layer, though nothing here reads it.
            e.input->setMousePos(kStartX, kY);
            plain.spot(kStartX, kY, 2 * kStrength);
            e.input->setMousePos(kEndX, kY);
            for (u32 k = 1; f32(k) * 0.5f <= f32(kEndX - kStartX); ++k)
                plain.spot(TruncToInt(f32(kStartX) + step * f32(k)), kY, kStrength);
            const aRect touched{i16(plain.x0), i16(plain.y0), u16(plain.x1 - plain.x0),
                                u16(plain.y1 - plain.y0)};
            u32* bits = nullptr;
            i32 pitch = 0;
            if (image.lock(&bits, &pitch, &touched, false)) {
                for (u16 row = 0; row < touched.h; ++row)
                    std::memcpy(bits + size_t(row) * pitch,
                                &plain.texels[size_t(touched.y + row) * kPageW + size_t(touched.x)],
                                size_t(touched.w) * 4);
                image.unlock();
            }
            plain.x0 = kPageW, plain.y0 = kPageH, plain.x1 = plain.y1 = 0;
            image.drawAtF(0, 0);
        });
}

// --- The layer's record ---

constexpr u16 kSide = 512;

// An entity whose record the given functions write and read.
struct Host : SaveLoadEntity {
    Host() : SaveLoadEntity("layer") {}
    u8* SaveSelf(SaveLoadSystem& sys, u8* pos) override { return save(sys, pos); }
    const u8* LoadSelf(SaveLoadSystem& sys, const u8* pos) override { return load(sys, pos); }
    std::function<u8*(SaveLoadSystem&, u8*)> save;
    std::function<const u8*(SaveLoadSystem&, const u8*)> load;
};

// Saves the host's record once into a stream file and opens it for loading.
bool openStream(Host& host, SaveLoadSystem& stream, const std::string& path) {
    SaveLoadSystem save;
    save.BeginSave(path, 1);
    save.SaveEntity(host);
    return save.Finish() && stream.Load(path, 1);
}

void saveAndLoad(benchmark::State& state, Host& host, SaveLoadSystem& stream, const std::string& path) {
    for (auto _ : state) {
        SaveLoadSystem sys;
        sys.BeginSave(path, 1);
        sys.SaveEntity(host);
        if (!stream.LoadEntity(host))
            return state.SkipWithError("the record did not load");
    }
}

void BM_LayerRecord(benchmark::State& state) {
    Engine& e = engine();
    if (!e.ready)
        return state.SkipWithError("no graph server");
    cPaintLayer layer;
    setUp(layer, kSide, kSide);
    NoRooms rooms;
    Host host;
    host.save = [&](SaveLoadSystem& sys, u8* pos) { return layer.SaveSelf(sys, pos); };
    host.load = [&](SaveLoadSystem& sys, const u8* pos) { return layer.LoadSelf(rooms, sys, pos); };
    SaveLoadSystem stream;
    const std::string path = e.folder.path + "layer.save";
    if (!openStream(host, stream, path))
        return state.SkipWithError("no stream");
    saveAndLoad(state, host, stream, path);
}

void BM_PlainRecord(benchmark::State& state) {
    Engine& e = engine();
    if (!e.ready)
        return state.SkipWithError("no graph server");
    aImage texture;
    texture.create(kSide, kSide);
    std::vector<u8> alphas(size_t(kSide) * kSide, 0);
    Host host;
    host.save = [&](SaveLoadSystem& sys, u8* pos) {
        pos = sys.writeI32(sys.writeI32(pos, -1), -1);
        for (u16 field : {u16(0), u16(0), kBrush, kBrush, u16(0), u16(0), kSide, kSide})
            pos = sys.writeU16(pos, field);
        pos = sys.writeF32(sys.writeF32(sys.writeU32(pos, kBase), kSpeed), 0);
        return sys.write(sys.writeU8(pos, kLimit), alphas.data(), alphas.size());
    };
    host.load = [&](SaveLoadSystem& sys, const u8* pos) {
        i32 last = 0;
        u16 field = 0;
        u32 color = 0;
        f32 value = 0;
        u8 limit = 0;
        pos = sys.readI32(sys.readI32(pos, last), last);
        for (int i = 0; i < 8; ++i)
            pos = sys.readU16(pos, field);
        pos = sys.readU8(sys.readF32(sys.readF32(sys.readU32(pos, color), value), value), limit);
        pos = sys.read(pos, alphas.data(), alphas.size());
        u32* bits = nullptr;
        i32 pitch = 0;
        if (texture.lock(&bits, &pitch, nullptr, false)) {
            for (u32 y = 0; y < kSide; ++y) {
                u32* row = bits + size_t(y) * pitch;
                const u8* alpha = alphas.data() + size_t(y) * kSide;
                for (u32 x = 0; x < kSide; ++x)
                    row[x] = (row[x] & 0xFFFFFF) | u32(alpha[x]) << 24;
            }
            texture.unlock();
        }
        return pos;
    };
    SaveLoadSystem stream;
    const std::string path = e.folder.path + "plain.save";
    if (!openStream(host, stream, path))
        return state.SkipWithError("no stream");
    saveAndLoad(state, host, stream, path);
}

// The machine may be shared: repetitions in random order, compared by their medians.
BENCHMARK(BM_MatchAnswer)->Unit(benchmark::kNanosecond)->Repetitions(5);
BENCHMARK(BM_PlainMatch)->Unit(benchmark::kNanosecond)->Repetitions(5);
BENCHMARK(BM_LayerStroke)->Unit(benchmark::kMicrosecond)->Repetitions(5);
BENCHMARK(BM_PlainStroke)->Unit(benchmark::kMicrosecond)->Repetitions(5);
BENCHMARK(BM_LayerRecord)->Unit(benchmark::kMicrosecond)->Repetitions(5);
BENCHMARK(BM_PlainRecord)->Unit(benchmark::kMicrosecond)->Repetitions(5);

} // namespace

int main(int argc, char** argv) {
    // The software GL driver draws on the calling thread, so that a frame's CPU time holds its drawing.
    setenv("LP_NUM_THREADS", "0", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    auto figures = bench::run(argc, argv);
    auto ratio = [&](const char* what, const char* ours, const char* base, double goal) {
        const double mine = figures[ours].cpu, bare = figures[base].cpu;
        if (mine > 0 && bare > 0)
            std::printf("%s: %.3g beside %.3g, ratio %.2f (goal <= %.1f)\n", what, mine, bare, mine / bare,
                        goal);
    };
    ratio("MatchAnswer (ns)", "BM_MatchAnswer", "BM_PlainMatch", 2);
    ratio("Stroke (us)", "BM_LayerStroke", "BM_PlainStroke", 1.5);
    ratio("Layer record (us)", "BM_LayerRecord", "BM_PlainRecord", 1.2);
    return 0;
}
