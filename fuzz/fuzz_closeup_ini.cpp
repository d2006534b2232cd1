#include "fuzz_closeups.h"

#include <cstdint>
#include <cstdlib>
#include <string>

// Input: a selector byte choosing one of the town's close-ups (its value modulo their count), then
// that room's room.ini after its class line. The room, with its other shipped files, and the square
// are registered, loaded and reset for a new game; the room is reset again, entered with the
// square's finds it needs in hand and played for 50 frames seeded by the input's size, drawn, saved
// and left.
//
// The seeds are the shipped rooms' files:
//   FUZZ_CLOSEUP_INI_SEEDS=fuzz/corpus/fuzz_closeup_ini build-fuzz/fuzz/fuzz_closeup_ini

namespace {

const std::string& folder() {
    static const std::string path = [] {
        const std::string& scratch = fuzzScratchFolder("fuzz_closeup_ini");
        copyCloseUps(scratch);
        return scratch;
    }();
    return path;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    chooseHeadlessDrivers();
    if (const char* seeds = std::getenv("FUZZ_CLOSEUP_INI_SEEDS")) {
        for (size_t i = 0; i < closeUps().size(); ++i)
            writeScratchFile(std::string(seeds) + "/", closeUps()[i].name,
                             char(i) + shippedCloseUpIni(closeUps()[i]));
        std::exit(0);
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1 || size > 1 << 16)
        return 0;
    CloseUpEngine& engine = closeUpEngine();
    const CloseUp& chosen = closeUps()[data[0] % closeUps().size()];
    writeScratchFile(folder(), std::string(chosen.name) + "/room.ini",
                     std::string("[Room]\nClass = ") + chosen.className + "\n" +
                         std::string(reinterpret_cast<const char*>(data + 1), size - 1));
    writeScratchFile(folder(), "_rooms.list", std::string(kCloseUpHub) + "\n" + chosen.name + "\n");
    CRoomsManager rooms;
    CPersonagesManager personages;
    loadRoomsForNewGame(engine.res, rooms, personages, folder());
    if (CRoomBase* room = rooms.HasRoom(chosen.name) ? rooms.GetRoom(chosen.name) : nullptr) {
        room->Reset();
        enterCloseUp(*room, chosen, rooms, personages);
        playCloseUp(engine.input, *room, personages, chosen, 50, u32(size));
        room->Render();
        saveToStream(*room, folder() + "out.save");
        room->Leave();
    }
    rooms.UnloadRooms(folder());
    return 0;
}
