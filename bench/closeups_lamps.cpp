// The lamp table close-up timed beside the register book it is built on.
//
// Frame: a lamp table of 10 lamps (10 holes, 100 pictures of a lamp in a hole, the book's page and
// its two buttons, 720 x 540) with lamp 1 carried over the free hole 1 at the pointer, so that every
// frame looks for the hole under the lamp and draws the lamp's picture there as a preview. A frame
// is the room's FrameMove and its Render in a frame of the graph server of its own (the back buffer
// cleared, one pixel read back to wait for the draws). The baseline loads the very same room data
// under the class "ReservationsRegisterRoom", carries the same lamp and runs the same frame: what
// the table adds on top of its book is what the ratio shows.
#include "BenchFolder.h"
#include "BenchFrame.h"
#include "BenchRatio.h"
#include "game/CResManager.h"
#include "game/SpyGame/CSpyItem.h"
#include "game/SpyGame/Rooms/CRoomsManager.h"
#include "game/SpyGame/Rooms/Puzzles/cDilaryLightsPuzzle.h"
#include "game/cMain.h"
#include "support/ImageFiles.h"
#include "tk2v/gfx/aApplication.h"
#include "tk2v/gfx/aGraphServer.h"

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kLamps = 10;

struct Engine {
    aApplication app;
    std::unique_ptr<aGraphServer> graph = std::make_unique<aGraphServer>(1024, 768, false, true);
    bool ready() const { return !graph->getFatalError(); }
};

Engine& engine() {
    static Engine e;
    return e;
}

// The table handed its lamps as a saved game would hand them: the bench has no personage.
struct BenchLamps : cDilaryLightsPuzzle {
    using cDilaryLightsPuzzle::BuildTable;
    // The carried lamp stands over a free hole, so that a frame draws the preview.
    bool PreviewsAHole() const { return !m_pMoves->GetRectUnderItem().empty(); }
};

struct BenchRooms : CRoomsManager {
    CRoomBase* MakeRoom(const std::string& className) override {
        return className == BenchLamps::GetClassStaticName() ? new BenchLamps : CreateRoom(className);
    }
};

std::string twoDigits(int i) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d", i);
    return text;
}

// Holes in two rows of five, 60 x 80, the first at the room's corner, under the pointer at (0, 0).
struct RoomData {
    std::string objects, items;
    RoomData() {
        add(300, 400, "page", "PAGE1", false);
        add(20, 480, "button", "BACK", false);
        add(640, 480, "button", "NEXT", false);
        for (int j = 1; j <= kLamps; ++j) {
            const int x = (j - 1) % 5 * 70, y = (j - 1) / 5 * 90;
            add(x, y, "hole", "HOLE" + std::to_string(j), false);
            for (int i = 1; i <= kLamps; ++i)
                add(x, y, "lamp" + std::to_string(i), std::to_string(i) + "_IN_" + std::to_string(j), true);
        }
    }
    void add(int x, int y, const std::string& image, const std::string& name, bool hidden) {
        objects += "[o_" + name + "]\nClass = image\nImage = " + image + "\nX = " + std::to_string(x) +
                   "\nY = " + std::to_string(y) + "\n";
        items += "[" + name + "]\nObject = o_" + name + "\n" + (hidden ? "Visible = 0\n" : "");
    }
};

struct Case {
    bench::TempFolder folder{"bench_closeups_lamps"};
    std::unique_ptr<CResManager> res;
    BenchRooms rooms;
    CRoomBase* table = nullptr;
    CRoomBase* book = nullptr;

    void png(const std::string& folderName, const std::string& name, u32 w, u32 h, u32 argb) const {
        folder.write(folderName + "Images/" + name + ".png",
                     imagefiles::text(imagefiles::png(w, h, std::vector<u32>(w * h, argb))));
    }
    void writeRoom(const std::string& name, const std::string& className, const RoomData& data) const {
        const std::string dir = "GameData/Investigations/Bench/" + name + "/";
        folder.write(dir + "room.ini", "[Room]\nClass = " + className +
                                           "\n[GAME]\npagesCount = 1\nshowAfterReset = 1\n[Table]\ncount = " +
                                           std::to_string(kLamps) +
                                           "\noutsideLamp = LAMP\nhole = HOLE\n"
                                           "insideLamp = _IN_\n");
        folder.write(dir + "objects.ini", data.objects);
        folder.write(dir + "items.ini", data.items);
        std::string list = "background.png 8888 8888\npage.png 8888 8888\nbutton.png 8888 8888\n"
                           "hole.png 8888 8888\n";
        png(dir, "background", 720, 540, 0xFF403020);
        png(dir, "page", 300, 100, 0xFFF0E8D0);
        png(dir, "button", 60, 40, 0xFF4A3020);
        png(dir, "hole", 60, 80, 0xFF100804);
        for (int i = 1; i <= kLamps; ++i) {
            png(dir, "lamp" + std::to_string(i), 60, 80, 0xFF000000 | u32(i * 0x151515));
            list += "lamp" + std::to_string(i) + ".png 8888 8888\n";
        }
        folder.write(dir + "Images/_images.list", list);
    }
    void writeHall() const {
        const std::string dir = "GameData/Investigations/Bench/Hall/";
        std::string objects, items;
        for (int i = 1; i <= kLamps; ++i) {
            const std::string n = twoDigits(i);
            objects +=
                "[lamp" + n + "]\nClass = image\nImage = lamp\nX = 900\nY = " + std::to_string(60 * i) + "\n";
            items += "[LAMP" + n + "]\nObject = lamp" + n + "\nIsQuestItem = 1\n";
        }
        folder.write(dir + "room.ini", "[Room]\nClass = RoomBase\n");
        folder.write(dir + "objects.ini", objects);
        folder.write(dir + "items.ini", items);
        png(dir, "lamp", 40, 40, 0xFFE0A030);
        folder.write(dir + "Images/_images.list", "lamp.png 8888 8888\n");
    }

    Case() {
        if (!engine().ready())
            return;
        const RoomData data;
        writeHall();
        writeRoom("zoom_Lamps", BenchLamps::GetClassStaticName(), data);
        writeRoom("zoom_Book", "ReservationsRegisterRoom", data);
        folder.write("GameData/Investigations/Bench/_rooms.list", "Hall\nzoom_Lamps\nzoom_Book\n");
        cMain::SetGameAssigns(engine().app.getFileServer(), "English", folder.path + "GameData/");
        res = std::make_unique<CResManager>(false);
        rooms.LoadSharedRoomsList(nullptr, nullptr);
        rooms.Init("investigations:Bench/", "Bench");
        res->BeginLoading();
        while (!res->isDone())
            res->LoadStep();
        rooms.AfterLoadInitRooms("investigations:Bench/");
        rooms.ResetRooms("investigations:Bench/");
        std::vector<CSpyItem*> lamps;
        CRoomBase* hall = rooms.GetRoom("Hall");
        for (int i = 1; i <= kLamps; ++i) {
            CSpyItem* lamp = hall->GetItem("LAMP" + twoDigits(i));
            // Picked on the hall, whose frames unlock its items, and kept in the strip.
            lamp->Unlock();
            lamp->SetInInventory(true);
            lamps.push_back(lamp);
        }
        auto* lampRoom = dynamic_cast<BenchLamps*>(rooms.GetRoom("zoom_Lamps"));
        book = rooms.GetRoom("zoom_Book");
        if (!lampRoom || !book)
            return;
        lampRoom->Enter("Hall", nullptr);
        lampRoom->BuildTable(&lamps);
        book->Enter("Hall", nullptr);
        for (CRoomBase* room : {static_cast<CRoomBase*>(lampRoom), book}) {
            room->SetItemOnCursor(lamps.front(), nullptr);
            room->FrameMove(0.016f, false);
        }
        if (lampRoom->PreviewsAHole())
            table = lampRoom;
    }
    ~Case() { rooms.Clear(); }
};

Case& lampsCase() {
    static Case c;
    return c;
}

void runFrames(benchmark::State& state, CRoomBase* room) {
    if (!room) {
        state.SkipWithError("the rooms did not load");
        return;
    }
    aGraphServer& graph = *engine().graph;
    for (auto _ : state)
        bench::finishedFrame(graph, [&] {
            room->FrameMove(0.016f, false);
            room->Render();
        });
}

void BM_LampTableFrame(benchmark::State& state) {
    runFrames(state, lampsCase().table);
}

void BM_RegisterBookFrame(benchmark::State& state) {
    runFrames(state, lampsCase().book);
}

BENCHMARK(BM_LampTableFrame)->Unit(benchmark::kMicrosecond)->Repetitions(5);
BENCHMARK(BM_RegisterBookFrame)->Unit(benchmark::kMicrosecond)->Repetitions(5);

} // namespace

int main(int argc, char** argv) {
    auto figures = bench::run(argc, argv);
    bench::printRatio(figures, "Lamp table frame, 10 lamps, one dragged", "BM_LampTableFrame",
                      "BM_RegisterBookFrame", 1.5);
    return 0;
}
