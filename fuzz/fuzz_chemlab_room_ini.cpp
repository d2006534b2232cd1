#include "fuzz_chemlab.h"
#include "fuzz_rooms.h"
#include "game/CResManager.h"
#include "game/SpyGame/CPersonagesManager.h"
#include "game/SpyGame/Rooms/CRoomsManager.h"
#include "support/game/TestRoomsManager.h"

#include <cstdint>
#include <string>

// Input: two bytes giving the length of the bench's room.ini sections that follow them (after its
// "[Room]" lines), then the bench's texts. The bench and its rack are registered, loaded and reset;
// the bench is entered and played for 100 frames, a click on each of its items every tenth, then
// solved; the rack likewise; both are reset again.
//
// The seed corpus is made by this program from a valid bench:
//   FUZZ_CHEMLAB_ROOM_INI_SEEDS=fuzz/corpus/fuzz_chemlab_room_ini build-fuzz/fuzz/fuzz_chemlab_room_ini

namespace {

const std::string& folder() {
    return fuzzScratchFolder("fuzz_chemlab_room_ini");
}

template <class Room> void play(Room& room) {
    room.Enter("Demo", nullptr);
    for (int frame = 0; frame < 100; ++frame) {
        room.FrameMove(0.05f, false);
        if (frame % 10 == 0)
            room.ClickEveryItem();
    }
    room.Render();
    room.SolveRoom();
    room.FrameMove(0.05f, false);
    room.ClickEveryItem();
    room.Leave();
    room.Reset();
    room.UnloadRes();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    writeSeedsIfAsked("FUZZ_CHEMLAB_ROOM_INI_SEEDS", [](const std::string& to) {
        const std::string room = "[Room]\nClass = CrimeLabMain\n";
        const std::string ini = fuzzBenchIni().substr(room.size());
        writeScratchFile(to, "bench.bin",
                         std::string{char(ini.size() & 0xFF), char(ini.size() >> 8)} + ini +
                             fuzzBenchTexts());
    });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2 || size > 1 << 16)
        return 0;
    static CResManager res(false);
    assignFuzzLab(folder());
    const size_t iniSize = std::min<size_t>(size - 2, size_t(data[0]) | size_t(data[1]) << 8);
    const std::string ini(reinterpret_cast<const char*>(data + 2), iniSize);
    const std::string texts(reinterpret_cast<const char*>(data + 2 + iniSize), size - 2 - iniSize);
    writeFuzzLab(folder(), "[Room]\nClass = CrimeLabMain\n" + ini, texts);
    TestRoomsManager<ClickedLab, ClickedRack> rooms;
    CPersonagesManager personages;
    loadRooms(res, rooms, &personages, folder());
    if (auto* lab = rooms.HasRoom("zoom_CrimeLabMain")
                        ? dynamic_cast<ClickedLab*>(rooms.GetRoom("zoom_CrimeLabMain"))
                        : nullptr)
        play(*lab);
    if (auto* rack = rooms.HasRoom("zoom_CrimeLabButtles")
                         ? dynamic_cast<ClickedRack*>(rooms.GetRoom("zoom_CrimeLabButtles"))
                         : nullptr)
        play(*rack);
    rooms.UnloadRooms(folder());
    return 0;
}
