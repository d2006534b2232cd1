// A 32 KB paste into a memo that keeps an undo history, against setting the same text and laying it
// out once, which is the least any way of getting the text into the memo costs. Both sides use the
// same memo (400 pixels wide, word wrap on) and the same 10 x 16 glyph font. The paste side presses
// Ctrl+V on an empty memo: the clipboard's UTF-8 is converted, the units are filtered, inserted,
// recorded and laid out. The baseline calls SetText and RebuildLayout. The goal is a ratio of at
// most 4.
#include "BenchFolder.h"
#include "support/FakeClipboard.h"
#include "support/ImageFiles.h"
#include "tk2v/gfx/aApplication.h"
#include "tk2v/gfx/aFont.h"
#include "tk2v/gfx/aGraphServer.h"
#include "tk2v/gui/Memo.h"
#include "tk2v/gui/Server.h"
#include "tk2v/platform/Clipboard.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <string>

namespace {

constexpr u32 kGlyphW = 10, kGlyphH = 16, kPasteBytes = 32 * 1024;

// Words and line breaks of printable ASCII.
std::string pasteText() {
    const std::string words[] = {"the ",  "quick ", "brown ", "fox ", "jumps ",
                                 "over ", "a ",     "lazy ",  "dog. "};
    std::string text;
    for (size_t i = 0; text.size() < kPasteBytes; ++i)
        text += i % 23 == 22 ? std::string("\n") : words[i % 9];
    text.resize(kPasteBytes);
    return text;
}

struct Scene {
    aApplication app;
    std::unique_ptr<aGraphServer> graph;
    std::unique_ptr<aFont> font;
    bench::TempFolder folder{"bench_gui_text"};
    FakeClipboard clipboard;

    Scene() {
        graph = std::make_unique<aGraphServer>(1024, 768, false, true);
        if (graph->getFatalError())
            return;
        std::string description =
            "[General]\nTexture = glyphs.png\nFormat16 = 4444\nFormat32 = 8888\n[Charlist]\n";
        std::vector<u32> pixels(16 * kGlyphW * 6 * kGlyphH, 0xFFFFFFFF);
        for (u32 c = 0x20; c <= 0x7E; ++c) {
            char line[64];
            const u32 i = c - 0x20;
            std::snprintf(line, sizeof line, "%X = %u %u %u %u 0 0\n", c, i % 16 * kGlyphW, i / 16 * kGlyphH,
                          kGlyphW, kGlyphH);
            description += line;
        }
        folder.write("glyphs.png", imagefiles::text(imagefiles::png(16 * kGlyphW, 6 * kGlyphH, pixels)));
        folder.write("text.fnt", description);
        font = std::make_unique<aFont>(folder.path + "text.fnt");
        clipboard.text = pasteText();
    }
    void setUp(GUI::Memo& memo) const {
        memo.SetFont(font.get());
        memo.SetArea(0, 0, 400, 300);
        memo.SetAllowCopyPaste(true);
        memo.SetHistorySize(64);
    }
};

Scene& scene() {
    static Scene s;
    return s;
}

void BM_PasteIntoMemoWithHistory(benchmark::State& state) {
    GUI::Memo memo("memo");
    scene().setUp(memo);
    for (auto _ : state) {
        state.PauseTiming();
        memo.SetText(L"");
        memo.SetCursorPos(0);
        state.ResumeTiming();
        GUI::KeybEventArgs e(&memo);
        e.key = GUI::Editbox::KEY_V;
        e.modifiers = GUI::MOD_CTRL;
        e.character = GUI::Server::KeyToChar(e.key, e.modifiers);
        memo.OnKeyDown(e);
        benchmark::DoNotOptimize(memo.GetLines().size());
    }
    state.counters["lines"] = double(memo.GetLines().size());
}

void BM_SetTextAndOneLayout(benchmark::State& state) {
    GUI::Memo memo("memo");
    scene().setUp(memo);
    const std::wstring text = platform::utf8ToUnits(scene().clipboard.text);
    for (auto _ : state) {
        state.PauseTiming();
        memo.SetText(L"");
        memo.SetCursorPos(0);
        state.ResumeTiming();
        memo.SetText(text);
        memo.RebuildLayout();
        benchmark::DoNotOptimize(memo.GetLines().size());
    }
    state.counters["lines"] = double(memo.GetLines().size());
}

} // namespace

BENCHMARK(BM_PasteIntoMemoWithHistory)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SetTextAndOneLayout)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
