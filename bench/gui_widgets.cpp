// Text widgets against the font they draw with, in one run on one graph server and one bitmap font
// (10 x 16 glyphs, character spacing 1, one glyph with space before and after it).
// - Relayout: a static text 400 wide lays out a 4 KB paragraph again (its line spacing toggled so the
//   layout is redone; the text is the same). Baseline: aFont::getTextSizeW of the same paragraph, one
//   pass over its characters. Allocations per relayout are counted by a replaced operator new.
// - Label draw: a static text of 40 lines of 60 characters drawn by DrawSelf. Baseline: aFont::printW
//   of the same 40 lines at the same places with the same flags. Each frame ends by reading one pixel
//   back, so finished work is timed.
#include "BenchFrame.h"
#include "BenchRatio.h"
#include "tk2v/gfx/aApplication.h"
#include "tk2v/gfx/aFont.h"
#include "tk2v/gfx/aGraphServer.h"
#include "tk2v/gui/StaticText.h"
#include "tk2v/platform/BmpFile.h"

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <new>
#include <string>
#include <vector>

namespace {
std::atomic<u64> g_allocations{0};
} // namespace

// Kept out of line: inlined, the compiler would pair the free with its own idea of operator new.
__attribute__((noinline)) void* operator new(std::size_t size) {
    ++g_allocations;
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}
__attribute__((noinline)) void operator delete(void* p) noexcept {
    std::free(p);
}
__attribute__((noinline)) void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

namespace {

constexpr int kWidth = 1024, kHeight = 768, kLines = 40, kLineChars = 60;

// Words of 2 to 9 letters, "w" among them.
std::wstring words(size_t length, unsigned seed) {
    std::wstring text;
    while (text.size() < length) {
        seed = seed * 1103515245u + 12345u;
        const size_t word = 2 + (seed >> 8) % 8;
        for (size_t i = 0; i < word && text.size() < length; ++i)
            text.push_back(wchar_t(L'a' + (seed >> (12 + i)) % 26));
        if (text.size() < length)
            text.push_back(L' ');
    }
    return text;
}

std::string writeFontFiles() {
    const std::string dir = std::filesystem::temp_directory_path().string() + "/gui_widgets_bench_" +
                            std::to_string(::getpid()) + "/";
    std::filesystem::create_directories(dir);
    std::vector<u8> rgba(32 * 16 * 4, 0);
    for (int y = 2; y < 14; ++y)
        for (int x = 1; x < 9; ++x)
            for (int c = 0; c < 4; ++c)
                rgba[(y * 32 + x) * 4 + c] = 255;
    platform::writeBmp32(dir + "glyphs.bmp", 32, 16, rgba);
    std::ofstream fnt(dir + "bench.fnt");
    fnt << "[General]\nTexture = glyphs.bmp\nFormat16 = 8888\nFormat32 = 8888\nCharSpacing = 1\n[Charlist]\n"
        << "20 = 16 0 10 16 0 0\n";
    for (unsigned c = 0x21; c < 0x7F; ++c)
        fnt << std::hex << std::uppercase << c << (c == 'w' ? " = 0 0 10 16 2 3\n" : " = 0 0 10 16 0 0\n");
    return dir;
}

struct Scene {
    aApplication app;
    std::unique_ptr<aGraphServer> graph;
    std::string dir;
    std::unique_ptr<aFont> font;
    GUI::StaticText paragraph{"paragraph"}, label{"label"};
    std::wstring paragraphText = words(4096, 7);
    std::vector<std::wstring> lines;

    Scene() {
        graph = std::make_unique<aGraphServer>(kWidth, kHeight, false, true, "bench", 0, false);
        if (graph->getFatalError())
            return;
        dir = writeFontFiles();
        font = std::make_unique<aFont>(dir + "bench.fnt");
        std::filesystem::remove_all(dir);
        paragraph.SetFont(font.get());
        paragraph.SetSize(400, 700);
        paragraph.SetText(paragraphText);
        std::wstring labelText;
        for (int i = 0; i < kLines; ++i) {
            lines.push_back(words(kLineChars, 100 + i));
            labelText += lines.back() + (i + 1 < kLines ? L"\n" : L"");
        }
        label.SetFont(font.get());
        label.SetArea(10, 10, 1000, 740);
        label.SetWordWrap(false);
        label.SetText(labelText);
        label.Update(0);
    }
    bool ready() const { return !graph->getFatalError() && font && font->getTexture().hasTexture(); }

    template <typename Draw> void frame(Draw&& draw) { bench::finishedFrame(*graph, draw); }
};

Scene& scene() {
    static Scene s;
    return s;
}

void BM_StaticTextRelayout(benchmark::State& state) {
    Scene& s = scene();
    if (!s.ready())
        return state.SkipWithError("no graph server or font");
    s.paragraph.GetTextHeight(); // the records are made once
    const u64 before = g_allocations;
    int i = 0;
    for (auto _ : state) {
        s.paragraph.SetLineSpacing(f32(++i & 1));
        benchmark::DoNotOptimize(s.paragraph.GetTextHeight());
    }
    state.counters["allocs"] =
        benchmark::Counter(double(g_allocations - before), benchmark::Counter::kAvgIterations);
    state.counters["lines"] = double(s.paragraph.GetLayout().lines().size());
}

void BM_FontMeasure(benchmark::State& state) {
    Scene& s = scene();
    if (!s.ready())
        return state.SkipWithError("no graph server or font");
    for (auto _ : state)
        benchmark::DoNotOptimize(s.font->getTextSizeW(s.paragraphText));
}

void BM_LabelDraw(benchmark::State& state) {
    Scene& s = scene();
    if (!s.ready())
        return state.SkipWithError("no graph server or font");
    for (auto _ : state)
        s.frame([&] { s.label.DrawSelf(); });
}

void BM_PrintLines(benchmark::State& state) {
    Scene& s = scene();
    if (!s.ready())
        return state.SkipWithError("no graph server or font");
    for (auto _ : state)
        s.frame([&] {
            s.font->setScale(1);
            s.font->color = 0xFFFFFFFF;
            for (int i = 0; i < kLines; ++i)
                s.font->printW(10, f32(10 + 16 * i), s.lines[i], aFont::PRINT_SNAP);
        });
}

// The machine may be shared: repetitions in random order, compared by their medians.
BENCHMARK(BM_StaticTextRelayout)->Unit(benchmark::kMicrosecond)->MinTime(0.5)->Repetitions(5)->UseRealTime();
BENCHMARK(BM_FontMeasure)->Unit(benchmark::kMicrosecond)->MinTime(0.5)->Repetitions(5)->UseRealTime();
BENCHMARK(BM_LabelDraw)->Unit(benchmark::kMillisecond)->MinTime(1.0)->Repetitions(5)->UseRealTime();
BENCHMARK(BM_PrintLines)->Unit(benchmark::kMillisecond)->MinTime(1.0)->Repetitions(5)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    auto figures = bench::run(argc, argv);
    auto ratio = [&](const char* ours, const char* base) {
        return figures[base].wall > 0 ? figures[ours].wall / figures[base].wall : 0;
    };
    std::printf("4 KB relayout vs getTextSizeW: ratio %.2f (goal <= 3)\n",
                ratio("BM_StaticTextRelayout", "BM_FontMeasure"));
    std::printf("40-line label draw vs printW of its lines: ratio %.2f (goal <= 1.2)\n",
                ratio("BM_LabelDraw", "BM_PrintLines"));
    return 0;
}
