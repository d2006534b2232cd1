// A frame of the game panel beside a frame of the GUI server on the same widget tree. The panel's
// frame is CDialogSpyGamePanel::Update and Render: the server's update and drawing of the tree plus
// the panel's own work (pulse, ten task groups with a struck line laid out and printed, the strip of
// five quest items clipped to their cells under the shadow, the lock over the strip). The baseline
// is GUI::Server::Update and Render of the same tree with no panel bound to it, which any drawing of
// that window costs. Both draw into the same 1024 x 768 back buffer, one scene per frame. The goal
// is a ratio of at most 1.5.
#include "game/CResManager.h"
#include "game/SpyGame/CDialogSpyGamePanel.h"
#include "game/SpyGame/CFindItemsGroup.h"
#include "game/SpyGame/CInventory.h"
#include "game/SpyGame/CRoomItemLookup.h"
#include "game/SpyGame/CSpyItemManager.h"
#include "support/ImageFiles.h"
#include "tk2v/file/aLocaleServer.h"
#include "tk2v/gfx/aApplication.h"
#include "tk2v/gfx/aGraphServer.h"
#include "tk2v/gfx/aImageManager.h"
#include "tk2v/gui/Server.h"

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr u32 kGlyphW = 10, kGlyphH = 16;
constexpr int kGroups = 10, kItems = 5;

// The one room the strip's items come from.
struct OneRoom : CRoomItemLookup {
    CSpyItemManager* hall = nullptr;
    bool HasItem(const std::string&, const std::string& item) const override { return hall->HasItem(item); }
    CSpyItem* GetItem(const std::string&, const std::string& item) const override {
        return hall->GetItem(item);
    }
    CSpyItem* GetItemByFullName(const std::string& name) const override {
        return hall->GetItem(name.substr(name.find(':') + 1));
    }
};

const char* const kScript = R"(fontlist
{
  text @/text.fnt
}
window SpyGameInterface
{
  AreaRect 0 0 1024 768
  widget GamePanel
  {
    AreaRect 0 600 1024 168
  }
  widget BlockWidget
  {
    AreaRect 0 0 1024 600
    Visible 0
  }
  widget PersonagesNotepads
  {
    AreaRect 0 120 300 480
    widget Ann
    {
      AreaRect 10 20 280 460
      statictext text
      {
        AreaRect 5 10 260 16
        Font text
        WordWrap 1
      }
    }
  }
  widget Hints
  {
    AreaRect 700 610 80 40
    statictext HintsCount
    {
      AreaRect 0 0 40 16
      Font text
      Text 5
    }
  }
  statictext LevelNumber
  {
    AreaRect 800 700 200 16
    Font text
    Text "Investigation 1"
  }
  widget InventoryArea
  {
    AreaRect 100 650 209 50
  }
  widget BlockInventory
  {
    AreaRect 100 650 209 50
    Visible 0
  }
}
)";

struct World {
    aApplication app;
    std::unique_ptr<aGraphServer> graph;
    std::unique_ptr<CResManager> res;
    std::unique_ptr<GUI::Server> gui;
    std::string folder = "/tmp/bench_panel_" + std::to_string(getpid()) + "/";
    CSpyItemManager hall;
    OneRoom rooms;
    std::vector<CFindItemsGroup> groups;
    std::unique_ptr<CDialogSpyGamePanel> panel;
    std::unique_ptr<CInventory> inventory;

    World() {
        graph = std::make_unique<aGraphServer>(1024, 768, false, true);
        if (graph->getFatalError())
            return;
        res = std::make_unique<CResManager>(false);
        gui = std::make_unique<GUI::Server>(res->getImageManager(), res->getSoundManager());
        std::filesystem::create_directories(folder);
        writeFont();
        std::string script = kScript;
        script.replace(script.find("@/"), 2, folder);
        write("panel.agui", script);
        gui->load(folder + "panel.agui");
        gui->InitializeWidgets();
        write("gem.png", imagefiles::text(imagefiles::png(30, 30, std::vector<u32>(900, 0xFF00FF00))));
        write("gem_icon.png", imagefiles::text(imagefiles::png(30, 20, std::vector<u32>(600, 0xFF00A0FF))));
        write("Inventory_shadow.png",
              imagefiles::text(imagefiles::png(209, 6, std::vector<u32>(1254, 0x80000000))));
        for (const char* image : {"gem.png", "gem_icon.png"})
            res->getImageManager()->loadResource(folder, std::string(image) + " 8888 8888", "Hall");
        res->getImageManager()->loadResource(folder, "Inventory_shadow.png 8888 8888", "GamePanel");
        std::string objects, items;
        for (int i = 0; i < kItems; ++i) {
            const std::string n = std::to_string(i);
            objects += "[gem" + n + "]\nClass = image\nImage = gem\n";
            items += "[Gem" + n + "]\nObject = gem" + n + "\nIsQuestItem = 1\n";
        }
        write("Hall/objects.ini", objects);
        write("Hall/items.ini", items);
        hall.CreateItems(&rooms, "Hall", folder + "Hall/");
        hall.ResetItems();
        rooms.hall = &hall;
        write("tasks.txt", "coins_1 = \"Coins found in the hall\"\ncoins_3 = \"Three coins in the hall\"\n");
        res->getLocaleServer()->loadFile(folder + "tasks.txt", "Tasks");
        groups.resize(kGroups);
        for (int i = 0; i < kGroups; ++i) {
            groups[size_t(i)].SetGroupName("coins");
            for (int j = 0; j < 3; ++j)
                groups[size_t(i)].AddItem("coin", 0);
            groups[size_t(i)].SetRemaining(i == 0 ? 0 : 3);
        }
    }
    ~World() {
        dropPanel();
        gui.reset();
        std::filesystem::remove_all(folder);
    }

    void writeFont() const {
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
        write("glyphs.png", imagefiles::text(imagefiles::png(16 * kGlyphW, 6 * kGlyphH, pixels)));
        write("text.fnt", description);
    }
    void write(const std::string& name, const std::string& bytes) const {
        std::filesystem::create_directories(std::filesystem::path(folder + name).parent_path());
        if (std::FILE* f = std::fopen((folder + name).c_str(), "wb")) {
            std::fwrite(bytes.data(), 1, bytes.size(), f);
            std::fclose(f);
        }
    }

    // A panel bound to the tree, with Ann's tasks and a full strip.
    void makePanel() {
        if (panel)
            return;
        panel = std::make_unique<CDialogSpyGamePanel>();
        panel->Create();
        panel->Show();
        inventory = std::make_unique<CInventory>();
        inventory->Init("Ann", panel.get(), &rooms);
        for (int i = 0; i < kItems; ++i)
            inventory->AddItem(hall.GetItem("Gem" + std::to_string(i)));
        panel->SetInventory(inventory.get());
        panel->SetPersonage("Ann");
        panel->ShowInvestigationTasks("", &groups, "Tasks");
    }
    // The tree alone: the panel's subscriptions end with it.
    void dropPanel() {
        inventory.reset();
        panel.reset();
        if (gui)
            gui->GetRoot()->FindChild("SpyGameInterface", true)->SetVisible(true);
    }
    bool ready() const { return res && gui; }
};

World& world() {
    static World w;
    return w;
}

void BM_PanelUpdateRender(benchmark::State& state) {
    if (!world().ready())
        return state.SkipWithError("no graphics");
    world().makePanel();
    aGraphServer& graph = *world().graph;
    for (auto _ : state) {
        world().panel->Update(0.016f);
        if (graph.beginScene()) {
            world().panel->Render();
            graph.endScene();
        }
    }
}

void BM_ServerUpdateRender(benchmark::State& state) {
    if (!world().ready())
        return state.SkipWithError("no graphics");
    world().dropPanel();
    aGraphServer& graph = *world().graph;
    for (auto _ : state) {
        world().gui->Update(0.016f);
        if (graph.beginScene()) {
            world().gui->Render();
            graph.endScene();
        }
    }
}

// The machine may be shared: repetitions in random order, compared by their medians. The GL driver
// draws on threads of its own, so the wall clock is what counts.
BENCHMARK(BM_PanelUpdateRender)->Unit(benchmark::kMicrosecond)->Repetitions(5)->UseRealTime();
BENCHMARK(BM_ServerUpdateRender)->Unit(benchmark::kMicrosecond)->Repetitions(5)->UseRealTime();

// Keeps the median wall time of each benchmark so the ratio can be printed at the end.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& r : runs)
            if (r.run_type == Run::RT_Aggregate && r.aggregate_name == "median")
                real[r.run_name.function_name] = r.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
    void ratio(const char* what, const char* ours, const char* base, double goal) {
        if (real[ours] > 0 && real[base] > 0)
            std::printf("%s: %.1f us beside %.1f us, ratio %.2f (goal <= %.1f)\n", what, real[ours],
                        real[base], real[ours] / real[base], goal);
    }
    std::map<std::string, double> real;
};

} // namespace

int main(int argc, char** argv) {
    std::vector<char*> args(argv, argv + argc);
    char interleave[] = "--benchmark_enable_random_interleaving=true";
    args.insert(args.begin() + 1, interleave);
    argc = int(args.size());
    benchmark::Initialize(&argc, args.data());
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.ratio("Panel frame", "BM_PanelUpdateRender", "BM_ServerUpdateRender", 1.5);
    benchmark::Shutdown();
    return 0;
}
