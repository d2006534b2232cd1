#include "fuzz_lab_world.h"
#include "game/SaveLoadSystem.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

// Input: a selector byte naming the microfiche reader, the profile, identification or search computer
// (its value modulo 4), then that room's own part of its record, put after a valid room-base record
// into a valid stream under the room's name. The room loads it, is saved, loads what it saved and is
// saved again: the two saves must be the same bytes. Then it plays a frame.
//
// The seeds are the rooms' parts as a new game and after a scripted play write them:
//   FUZZ_LAB_ROOM_RECORDS_SEEDS=fuzz/corpus/fuzz_lab_room_records build-fuzz/fuzz/fuzz_lab_room_records

namespace {

// The room base's part of a room's record, written alone.
struct BasePart : SaveLoadEntity {
    explicit BasePart(CRoomBase& room) : SaveLoadEntity(room.getName()), room(room) {}
    u8* SaveSelf(SaveLoadSystem& sys, u8* pos) override { return room.CRoomBase::SaveSelf(sys, pos); }
    CRoomBase& room;
};

const std::string& folder() {
    return fuzzScratchFolder("fuzz_lab_room_records");
}

// The entity's one record as a stream of it holds it.
std::string recordOf(SaveLoadEntity& entity) {
    const SaveRecords records = readRecordStream(saveToStream(entity, folder() + "part.save"));
    return records.empty() ? std::string() : records.front().second;
}

struct World {
    labfuzz::Engine engine;
    std::unique_ptr<labfuzz::World> world;
    std::string baseRecords[4];

    World() {
        labfuzz::copyRooms(folder());
        std::string list = std::string(labfuzz::Archive) + "\n";
        for (const char* room : labfuzz::Rooms)
            list += std::string(room) + "\n";
        writeScratchFile(folder(), "_rooms.list", list);
        world = std::make_unique<labfuzz::World>(engine.res, folder());
        for (size_t i = 0; i < 4; ++i)
            if (CRoomBase* room = world->get(labfuzz::Rooms[i])) {
                BasePart base(*room);
                baseRecords[i] = recordOf(base);
            }
    }

    // Each room's part as a new game writes it, then after a scripted play.
    void writeSeeds(const std::string& to) {
        for (const bool played : {false, true})
            for (u8 i = 0; i < 4; ++i)
                if (CRoomBase* room = world->get(labfuzz::Rooms[i])) {
                    if (played)
                        labfuzz::play(*room, engine.input, 60);
                    const std::string record = recordOf(*room);
                    writeScratchFile(to, std::string(labfuzz::Rooms[i]) + (played ? "_played" : "_new"),
                                     char(i) + record.substr(std::min(baseRecords[i].size(), record.size())));
                }
    }
};

// Kept to the end: the audio system it frees its sounds into goes before statics made after it.
World& world() {
    static World* w = new World;
    return *w;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    if (const char* seeds = std::getenv("FUZZ_LAB_ROOM_RECORDS_SEEDS")) {
        world().writeSeeds(std::string(seeds) + "/");
        std::exit(0);
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1 || size > 1 << 20)
        return 0;
    World& w = world();
    const u8 pick = data[0] % 4;
    CRoomBase* room = w.world->get(labfuzz::Rooms[pick]);
    if (!room)
        return 0;
    const std::string record =
        w.baseRecords[pick] + std::string(reinterpret_cast<const char*>(data + 1), size - 1);
    writeScratchFile(folder(), "in.save", recordStream(1, {{room->getName(), record}}));
    loadFromStream(*room, folder() + "in.save");
    const std::string first = saveToStream(*room, folder() + "first.save");
    loadFromStream(*room, folder() + "first.save");
    if (saveToStream(*room, folder() + "second.save") != first) {
        std::fprintf(stderr, "%s: its re-save differs from the save it loaded\n", room->getName().c_str());
        std::abort();
    }
    w.engine.input.mouseButtons[0] = KEY_UP;
    room->FrameMove(0.05f, false);
    return 0;
}
