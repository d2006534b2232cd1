#include "fuzz_chemlab.h"
#include "fuzz_rooms.h"
#include "game/CResManager.h"
#include "game/SaveLoadSystem.h"
#include "game/SpyGame/CPersonagesManager.h"
#include "game/SpyGame/Rooms/CRoomsManager.h"
#include "support/game/TestRoomsManager.h"

#include <cstdint>
#include <string>

// Input: a selector byte, then the bytes of one of the lab's own record parts: the bench's (0) and the
// blood test's (1) of the lab room, or the rack's (2). They follow the valid parts before them (the
// room base's, and for the blood test the bench's too), put into a valid stream under the room's name.
// The room loads it, plays a frame, is saved, and loads what it saved.
//
// The seed corpus is made by this program from the rooms' records after a round of clicks:
//   FUZZ_CHEMLAB_RECORDS_SEEDS=fuzz/corpus/fuzz_chemlab_records build-fuzz/fuzz/fuzz_chemlab_records

namespace {

const std::string& folder() {
    return fuzzScratchFolder("fuzz_chemlab_records");
}

// The parts of a room's record before its own, written alone.
struct Lab : ClickedLab {
    u8* SaveRoomBase(SaveLoadSystem& sys, u8* pos) { return CRoomBase::SaveSelf(sys, pos); }
    u8* SaveBench(SaveLoadSystem& sys, u8* pos) { return cBasePoizonPuzzle2::SaveSelf(sys, pos); }
};
struct Rack : ClickedRack {
    u8* SaveRoomBase(SaveLoadSystem& sys, u8* pos) { return CRoomBase::SaveSelf(sys, pos); }
};

// The bytes a room's writer makes, as the record of the room's name.
template <class Room> std::string recordOf(Room& room, u8* (Room::*write)(SaveLoadSystem&, u8*)) {
    struct Writer : SaveLoadEntity {
        Writer(Room& room, u8* (Room::*write)(SaveLoadSystem&, u8*))
            : SaveLoadEntity(room.getName()), room(room), write(write) {}
        u8* SaveSelf(SaveLoadSystem& sys, u8* pos) override { return (room.*write)(sys, pos); }
        Room& room;
        u8* (Room::*write)(SaveLoadSystem&, u8*);
    } writer(room, write);
    SaveLoadSystem save;
    save.BeginSave(folder() + "part.save", 1);
    save.SaveEntity(writer);
    save.Finish();
    return fuzzRecordOf(folder() + "part.save");
}

struct World {
    CResManager res{false};
    TestRoomsManager<Lab, Rack> rooms;
    CPersonagesManager personages;
    Lab* lab = nullptr;
    Rack* rack = nullptr;
    std::string labBase, benchPart, rackBase;

    World() {
        assignFuzzLab(folder());
        writeFuzzLab(folder(), fuzzBenchIni(), fuzzBenchTexts());
        loadRooms(res, rooms, &personages, folder());
        lab = dynamic_cast<Lab*>(rooms.GetRoom("zoom_CrimeLabMain"));
        rack = dynamic_cast<Rack*>(rooms.GetRoom("zoom_CrimeLabButtles"));
        if (!lab || !rack)
            return;
        lab->Enter("Demo", nullptr);
        rack->Enter("Demo", nullptr);
        labBase = recordOf(*lab, &Lab::SaveRoomBase);
        benchPart = recordOf(*lab, &Lab::SaveBench);
        rackBase = recordOf(*rack, &Rack::SaveRoomBase);
    }

    // Each part as the rooms write it after a round of clicks, behind its selector.
    void writeSeeds(const std::string& to) {
        lab->ClickEveryItem();
        rack->ClickEveryItem();
        const std::string labRecord = recordOf<Lab>(*lab, &Lab::SaveSelf);
        const std::string rackRecord = recordOf<Rack>(*rack, &Rack::SaveSelf);
        const std::string parts[] = {
            labRecord.substr(std::min(labBase.size(), labRecord.size())),
            labRecord.substr(std::min(recordOf(*lab, &Lab::SaveBench).size(), labRecord.size())),
            rackRecord.substr(std::min(rackBase.size(), rackRecord.size()))};
        for (size_t i = 0; i < 3; ++i)
            writeScratchFile(to, "part" + std::to_string(i) + ".bin", std::string(1, char(i)) + parts[i]);
    }
};

World& world() {
    static World w;
    return w;
}

template <class Room> void loadSaveLoad(Room& room, const std::string& record) {
    writeScratchFile(
        folder(), "in.save",
        oneRecordStream(room.getName(), reinterpret_cast<const uint8_t*>(record.data()), record.size()));
    loadFromStream(room, folder() + "in.save");
    room.FrameMove(0.05f, false);
    room.ClickEveryItem();
    SaveLoadSystem save;
    save.BeginSave(folder() + "out.save", 4056);
    save.SaveEntity(room);
    save.Finish();
    loadFromStream(room, folder() + "out.save");
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    writeSeedsIfAsked("FUZZ_CHEMLAB_RECORDS_SEEDS", [](const std::string& to) {
        if (world().lab && world().rack)
            world().writeSeeds(to);
    });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1 || size > 1 << 20)
        return 0;
    World& world = ::world();
    if (!world.lab || !world.rack)
        return 0;
    const std::string part(reinterpret_cast<const char*>(data + 1), size - 1);
    switch (data[0] % 3) {
    case 0:
        loadSaveLoad(*world.lab, world.labBase + part);
        break;
    case 1:
        loadSaveLoad(*world.lab, world.benchPart + part);
        break;
    default:
        loadSaveLoad(*world.rack, world.rackBase + part);
        break;
    }
    return 0;
}
