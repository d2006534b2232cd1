// The GUI core's costs beside what a bare version of the same work costs, in one run:
// - a script of 2,000 widgets loaded into a fresh GUI server (sections, widgets made by the factory,
//   properties set and applied, the tree built and torn down) beside the same file read by a script
//   loader whose section and entry slots do nothing (the reading and preprocessing alone);
// - an event fired by name through the widget's event set beside Event::Fire on the event found once;
// - a property set by name through the property set beside assigning the same text to its record.
// Each pair ends with its ratio of CPU times (the machine may be shared, which wall time would
// show); goals: script <= 4x, by-name firing and setting <= 2x.
#include "BenchRatio.h"
#include "tk2v/file/aScriptLoader.h"
#include "tk2v/gui/Server.h"
#include "tk2v/gui/Widget.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

constexpr int kWindows = 40, kChildren = 49; // 40 x (1 + 49) = 2,000 widgets

std::string scriptFile() {
    static const std::string path = [] {
        const std::string file = "/tmp/bench_gui_" + std::to_string(getpid()) + ".agui";
        std::ofstream out(file);
        out << "#define W 40\ntemplate Button\n{\n  Static 0\n  MultiClick 1\n}\n";
        for (int w = 0; w < kWindows; ++w) {
            out << "widget window" << w << "\n{\n  AreaRect 10 20 $W$0 300\n  Visible 1\n  Alpha 0.75\n";
            for (int c = 0; c < kChildren; ++c)
                out << "  widget item" << w << "_" << c << " <Button>\n  {\n    AreaRect " << c
                    << " 5 $W$ 20\n"
                    << "    Text Item number " << c << "\n    Tag " << c
                    << "\n    HorizontalAlign center\n  }\n";
            out << "}\n";
        }
        return file;
    }();
    return path;
}

// Reads and preprocesses a script and keeps nothing.
class NullLoader : public aScriptLoader {
protected:
    u32 BeginSection(u32, const std::vector<std::string>&) override { return 5; }
    void EndSection(u32) override {}
    void ReadEntry(u32, const std::vector<std::string>&) override {}
};

void BM_ScriptIntoServer(benchmark::State& state) {
    const std::string file = scriptFile();
    for (auto _ : state) {
        GUI::Server server(nullptr, nullptr);
        server.load(file);
        benchmark::DoNotOptimize(server.GetRoot()->GetChildren().size());
    }
}

void BM_ScriptNullLoader(benchmark::State& state) {
    const std::string file = scriptFile();
    for (auto _ : state) {
        NullLoader loader;
        loader.load(file);
        benchmark::ClobberMemory();
    }
}

struct Button : GUI::Widget {
    using GUI::Widget::LaunchEvent;
    using GUI::Widget::Widget;
};

struct Counter : GUI::Subscriber {
    int calls = 0;
    bool operator()(const GUI::EventArgs&) override {
        ++calls;
        return false;
    }
};

void BM_LaunchEventByName(benchmark::State& state) {
    Button button("button");
    Counter counter;
    button.SubscribeEvent("Click", &counter);
    GUI::MouseEventArgs args(&button);
    for (auto _ : state)
        button.LaunchEvent("Click", args);
    benchmark::DoNotOptimize(counter.calls);
}

void BM_EventFire(benchmark::State& state) {
    Button button("button");
    Counter counter;
    button.SubscribeEvent("Click", &counter);
    GUI::Event* click = button.GetEvent("Click");
    GUI::MouseEventArgs args(&button);
    for (auto _ : state)
        click->Fire(args);
    benchmark::DoNotOptimize(counter.calls);
}

// The text assigned: a typical area value.
const std::string kValue = "120 40 300 200";

void BM_SetByName(benchmark::State& state) {
    Button button("button");
    for (auto _ : state) {
        button.Set("AreaRect", kValue);
        benchmark::ClobberMemory();
    }
}

void BM_DirectAssign(benchmark::State& state) {
    GUI::Property record;
    for (auto _ : state) {
        record.value = kValue;
        record.changed = true;
        benchmark::ClobberMemory();
    }
}

BENCHMARK(BM_ScriptIntoServer)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScriptNullLoader)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LaunchEventByName);
BENCHMARK(BM_EventFire);
BENCHMARK(BM_SetByName);
BENCHMARK(BM_DirectAssign);

} // namespace

int main(int argc, char** argv) {
    auto figures = bench::run(argc, argv);
    const struct {
        const char *name, *mine, *base;
        double goal;
    } pairs[] = {
        {"2,000-widget script", "BM_ScriptIntoServer", "BM_ScriptNullLoader", 4},
        {"event by name", "BM_LaunchEventByName", "BM_EventFire", 2},
        {"property by name", "BM_SetByName", "BM_DirectAssign", 2},
    };
    for (const auto& p : pairs) {
        const double mine = figures[p.mine].cpu, base = figures[p.base].cpu;
        if (mine > 0 && base > 0)
            std::printf("%s: ratio %.2f (goal <= %.0f)\n", p.name, mine / base, p.goal);
    }
    std::remove(scriptFile().c_str());
    return 0;
}
