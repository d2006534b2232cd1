#include "fuzz_lab_world.h"

#include <cstdint>
#include <string>

// Input: a selector byte naming the microfiche reader, the profile, identification or search computer
// (its value modulo 4), then that room's room.ini after its class line and, after a NUL byte, its
// texts. The room and the archive are loaded, reset and entered as a new game's, run 100 frames of
// scripted clicks and keys and are solved; the other rooms keep their shipped files.
//
// The seeds are the shipped rooms' files:
//   FUZZ_LAB_ROOM_INI_SEEDS=fuzz/corpus/fuzz_lab_room_ini build-fuzz/fuzz/fuzz_lab_room_ini

namespace {

const char* const Classes[] = {"MicrofichePuzzleRoom", "VictimId2PuzzleRoom", "VictimIdPuzzleRoom",
                               "CrimeSearcherRoom"};

// Kept to the end: the audio system it frees its sounds into goes before statics made after it.
labfuzz::Engine& engine() {
    static labfuzz::Engine* e = new labfuzz::Engine;
    return *e;
}

const std::string& folder() {
    static const std::string path = [] {
        const std::string& scratch = fuzzScratchFolder("fuzz_lab_room_ini");
        engine();
        labfuzz::copyRooms(scratch);
        return scratch;
    }();
    return path;
}

// The shipped room.ini after its class line, a NUL and the shipped texts.
void writeSeeds(const std::string& to) {
    for (u8 i = 0; i < 4; ++i) {
        const std::string room = labfuzz::Rooms[i];
        std::string ini = readScratchFile(labfuzz::shippedRoom(room) + "/room.ini");
        const std::string classLine = std::string("Class = ") + Classes[i] + "\n";
        if (const size_t at = ini.find(classLine); at != std::string::npos)
            ini = ini.substr(at + classLine.size());
        writeScratchFile(to + "/", room,
                         char(i) + ini + '\0' + readScratchFile(labfuzz::shippedTexts(room) + "/room.txt"));
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    if (const char* seeds = std::getenv("FUZZ_LAB_ROOM_INI_SEEDS")) {
        writeSeeds(seeds);
        std::exit(0);
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1 || size > 1 << 16)
        return 0;
    const std::string& scratch = folder();
    const u8 pick = data[0] % 4;
    const std::string room = labfuzz::Rooms[pick];
    const std::string rest(reinterpret_cast<const char*>(data + 1), size - 1);
    const size_t split = rest.find('\0');
    writeScratchFile(scratch, room + "/room.ini",
                     std::string("[Room]\nClass = ") + Classes[pick] + "\n" + rest.substr(0, split));
    writeScratchFile(scratch, "lang/Investigations/Demo/" + room + "/room.txt",
                     split == std::string::npos ? std::string() : rest.substr(split + 1));
    writeScratchFile(scratch, "_rooms.list", room + "\n" + labfuzz::Archive + "\n");
    labfuzz::Engine& e = engine();
    {
        labfuzz::World world(e.res, scratch);
        if (CRoomBase* played = world.get(room))
            labfuzz::play(*played, e.input, 100);
        world.rooms.UnloadRooms(scratch);
    }
    return 0;
}
