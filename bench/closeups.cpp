// The town's close-ups timed beside plain code doing the same work.
//
// Records: every close-up of the demo's town (the fax half-way through its printing, the others as a
// new game leaves them) saved and loaded by its own SaveSelf and LoadSelf: each save appends the
// room's record to one stream through SaveEntity, each load reads the record back from a record in
// memory. The baseline does the same per room but writes the room's own fields, value for value, with
// the stream's field writers and reads them back with its field readers into plain values (item
// references as their "room:item" strings, resolved with CRoomsManager::GetItemByFullName). Both sides
// run the room base's part of each record through CRoomBase's own SaveSelf and LoadSelf (the lamp
// table's through its register book's), and the toolkit parts that keep records of their own (the
// box's disks, elements, pop and fade, the tiles' box fade, the lamp table's moves and pulses)
// through theirs; both append to a stream
// begun afresh outside the timing every thousand iterations and read the same bytes.
#include "BenchFolder.h"
#include "BenchRatio.h"
#include "game/CResManager.h"
#include "game/SaveLoadEntity.h"
#include "game/SaveLoadSystem.h"
#include "game/SpyGame/CSpyItem.h"
#include "game/SpyGame/Rooms/CRoomsManager.h"
#include "game/SpyGame/Rooms/Puzzles/cChineseBoxPuzzleRoom.h"
#include "game/SpyGame/Rooms/Puzzles/cChineseFigurinePuzzleRoom.h"
#include "game/SpyGame/Rooms/Puzzles/cDilaryLightsPuzzle.h"
#include "game/SpyGame/Rooms/Puzzles/cFaxMachinePuzzleRoom.h"
#include "game/SpyGame/Rooms/Puzzles/cPiatnashkiRoom.h"
#include "game/SpyGame/Rooms/Puzzles/cTanPheisRoom.h"
#include "game/cMain.h"
#include "tk2v/gfx/aApplication.h"
#include "tk2v/gfx/aGraphServer.h"

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

// The close-ups with their own fields in reach of the baseline.
struct Fax : cFaxMachinePuzzleRoom {
    using cFaxMachinePuzzleRoom::m_bPrinted;
    using cFaxMachinePuzzleRoom::m_PrintTimer;
};

struct Box : cChineseBoxPuzzleRoom {
    using cChineseBoxPuzzleRoom::m_bBoxOpen;
    using cChineseBoxPuzzleRoom::m_Disks;
    using cChineseBoxPuzzleRoom::m_Elements;
    using cChineseBoxPuzzleRoom::m_Fade;
    using cChineseBoxPuzzleRoom::m_Pop;
};

struct Lamps : cDilaryLightsPuzzle {
    using cDilaryLightsPuzzle::m_bSolved;
    using cDilaryLightsPuzzle::m_bTableNeedsBuilding;
    using cDilaryLightsPuzzle::m_FirstPulse;
    using cDilaryLightsPuzzle::m_Lamps;
    using cDilaryLightsPuzzle::m_pLastLifted;
    using cDilaryLightsPuzzle::m_pMoves;
    using cDilaryLightsPuzzle::m_SecondPulse;
};

struct Tiles : cPiatnashkiRoom {
    using cPiatnashkiRoom::m_BoxFade;
};

template <class Room> CRoomBase* make() {
    return new Room;
}

struct CloseUpRooms : CRoomsManager {
    CRoomBase* MakeRoom(const std::string& className) override {
        static const std::map<std::string, CRoomBase* (*)()> opened = {
            {Fax::GetClassStaticName(), make<Fax>},
            {Box::GetClassStaticName(), make<Box>},
            {Lamps::GetClassStaticName(), make<Lamps>},
            {Tiles::GetClassStaticName(), make<Tiles>},
        };
        const auto room = opened.find(className);
        return room != opened.end() ? room->second() : CreateRoom(className);
    }
};

// What the baseline reads back: the rooms' own fields as plain values, emptied (keeping their
// storage) before each room.
struct Plain {
    std::vector<u32> ints;
    std::vector<f32> floats;
    std::vector<CSpyItem*> refs;
    // What the references are found in.
    CRoomsManager* rooms = nullptr;
    void clear() {
        ints.clear();
        floats.clear();
        refs.clear();
    }
};

// An item reference as its "room:item" string ("" for none), found again by that name.
u8* writeRef(SaveLoadSystem& sys, u8* pos, const CSpyItem* item) {
    return sys.writeString(pos, item ? item->GetFullName() : std::string());
}
const u8* readRef(SaveLoadSystem& sys, const u8* pos, Plain& out) {
    std::string name;
    pos = sys.readString(pos, name);
    out.refs.push_back(name.empty() ? nullptr : out.rooms->GetItemByFullName(name));
    return pos;
}

const u8* readFlag(SaveLoadSystem& sys, const u8* pos, Plain& out) {
    u8 b = 0;
    pos = sys.readU8(pos, b);
    out.ints.push_back(b);
    return pos;
}

// The baseline's writer and reader of a room's whole record.
using PlainSave = u8* (*)(SaveLoadSystem&, u8*, CRoomBase&);
using PlainLoad = const u8* (*)(SaveLoadSystem&, const u8*, CRoomBase&, Plain&);

// A room that keeps nothing beyond the room base's part.
u8* baseSave(SaveLoadSystem& sys, u8* pos, CRoomBase& room) {
    return room.CRoomBase::SaveSelf(sys, pos);
}
const u8* baseLoad(SaveLoadSystem& sys, const u8* pos, CRoomBase& room, Plain&) {
    return room.CRoomBase::LoadSelf(sys, pos);
}

// The fax's timer (running, ticks done, tick count, duration, time elapsed) and its printed flag.
u8* plainFaxSave(SaveLoadSystem& sys, u8* pos, CRoomBase& room) {
    const Fax& fax = static_cast<Fax&>(room);
    pos = room.CRoomBase::SaveSelf(sys, pos);
    pos = sys.writeBool(pos, fax.m_PrintTimer.IsRunning());
    pos = sys.writeU16(pos, fax.m_PrintTimer.GetTicksDone());
    pos = sys.writeU16(pos, fax.m_PrintTimer.GetTickCount());
    pos = sys.writeF32(pos, fax.m_PrintTimer.GetDuration());
    pos = sys.writeF32(pos, fax.m_PrintTimer.GetElapsed());
    return sys.writeBool(pos, fax.m_bPrinted);
}

const u8* plainFaxLoad(SaveLoadSystem& sys, const u8* pos, CRoomBase& room, Plain& out) {
    pos = room.CRoomBase::LoadSelf(sys, pos);
    u8 b = 0;
    u16 h = 0;
    f32 f = 0;
    pos = sys.readU8(pos, b);
    out.ints.push_back(b);
    for (int i = 0; i < 2; ++i) {
        pos = sys.readU16(pos, h);
        out.ints.push_back(h);
    }
    for (int i = 0; i < 2; ++i) {
        pos = sys.readF32(pos, f);
        out.floats.push_back(f);
    }
    pos = sys.readU8(pos, b);
    out.ints.push_back(b);
    return pos;
}

// The box: its disks, elements, pop and fade through their own writers, then its open flag.
u8* plainBoxSave(SaveLoadSystem& sys, u8* pos, CRoomBase& room) {
    const Box& box = static_cast<Box&>(room);
    pos = room.CRoomBase::SaveSelf(sys, pos);
    pos = box.m_Elements.SaveSelf(sys, box.m_Disks.SaveSelf(sys, pos));
    pos = box.m_Fade.SaveSelf(sys, box.m_Pop.SaveSelf(sys, pos));
    return sys.writeBool(pos, box.m_bBoxOpen);
}
const u8* plainBoxLoad(SaveLoadSystem& sys, const u8* pos, CRoomBase& room, Plain& out) {
    Box& box = static_cast<Box&>(room);
    pos = room.CRoomBase::LoadSelf(sys, pos);
    pos = box.m_Elements.LoadSelf(*out.rooms, sys, box.m_Disks.LoadSelf(*out.rooms, sys, pos));
    pos = box.m_Fade.LoadSelf(*out.rooms, sys, box.m_Pop.LoadSelf(*out.rooms, sys, pos));
    return readFlag(sys, pos, out);
}

// The figurines: the solved flag and the selected figurine.
u8* plainFiguresSave(SaveLoadSystem& sys, u8* pos, CRoomBase& room) {
    const auto& figures = static_cast<cChineseFigurinePuzzleRoom&>(room);
    pos = sys.writeBool(room.CRoomBase::SaveSelf(sys, pos), figures.IsSolved());
    return writeRef(sys, pos, figures.GetSelected());
}
const u8* plainFiguresLoad(SaveLoadSystem& sys, const u8* pos, CRoomBase& room, Plain& out) {
    return readRef(sys, readFlag(sys, room.CRoomBase::LoadSelf(sys, pos), out), out);
}

// The lamp table: the register book's part through its own writer, the built flag, then the lamps,
// the moves and the two pulses (these through their own writers), the solved flag and the last lamp
// lifted.
u8* plainLampsSave(SaveLoadSystem& sys, u8* pos, CRoomBase& room) {
    Lamps& lamps = static_cast<Lamps&>(room);
    pos = sys.writeBool(lamps.cReservationsRegisterRoom::SaveSelf(sys, pos), lamps.m_bTableNeedsBuilding);
    if (lamps.m_bTableNeedsBuilding)
        return pos;
    pos = sys.writeU32(pos, u32(lamps.m_Lamps.size()));
    for (const CSpyItem* lamp : lamps.m_Lamps)
        pos = writeRef(sys, pos, lamp);
    pos = lamps.m_pMoves->SaveSelf(sys, pos);
    pos = lamps.m_SecondPulse.SaveSelf(sys, lamps.m_FirstPulse.SaveSelf(sys, pos));
    return writeRef(sys, sys.writeBool(pos, lamps.m_bSolved), lamps.m_pLastLifted);
}
const u8* plainLampsLoad(SaveLoadSystem& sys, const u8* pos, CRoomBase& room, Plain& out) {
    Lamps& lamps = static_cast<Lamps&>(room);
    pos = readFlag(sys, lamps.cReservationsRegisterRoom::LoadSelf(sys, pos), out);
    if (out.ints.back())
        return pos;
    u32 count = 0;
    pos = sys.readU32(pos, count);
    for (u32 i = 0; i < count; ++i)
        pos = readRef(sys, pos, out);
    pos = lamps.m_pMoves->LoadSelf(*out.rooms, sys, pos);
    pos = lamps.m_SecondPulse.LoadSelf(*out.rooms, sys, lamps.m_FirstPulse.LoadSelf(*out.rooms, sys, pos));
    return readRef(sys, readFlag(sys, pos, out), out);
}

// The tiles: the grid's rows, each its tiles, the tile last hovered, the card's flag and the box's
// fade through its own writer.
u8* plainTilesSave(SaveLoadSystem& sys, u8* pos, CRoomBase& room) {
    Tiles& tiles = static_cast<Tiles&>(room);
    pos = sys.writeU32(room.CRoomBase::SaveSelf(sys, pos), u32(tiles.GetGrid().size()));
    for (const std::vector<CSpyItem*>& row : tiles.GetGrid()) {
        pos = sys.writeU32(pos, u32(row.size()));
        for (const CSpyItem* tile : row)
            pos = writeRef(sys, pos, tile);
    }
    pos = sys.writeBool(writeRef(sys, pos, tiles.GetLastHovered()), tiles.IsCardShown());
    return tiles.m_BoxFade.SaveSelf(sys, pos);
}
const u8* plainTilesLoad(SaveLoadSystem& sys, const u8* pos, CRoomBase& room, Plain& out) {
    u32 rows = 0;
    pos = sys.readU32(room.CRoomBase::LoadSelf(sys, pos), rows);
    for (u32 r = 0; r < rows; ++r) {
        u32 cells = 0;
        pos = sys.readU32(pos, cells);
        for (u32 c = 0; c < cells; ++c)
            pos = readRef(sys, pos, out);
    }
    pos = readFlag(sys, readRef(sys, pos, out), out);
    return static_cast<Tiles&>(room).m_BoxFade.LoadSelf(*out.rooms, sys, pos);
}

// The flashlight table: whether the light is inside.
u8* plainTableSave(SaveLoadSystem& sys, u8* pos, CRoomBase& room) {
    return sys.writeBool(room.CRoomBase::SaveSelf(sys, pos),
                         static_cast<cTanPheisRoom&>(room).IsLightInside());
}
const u8* plainTableLoad(SaveLoadSystem& sys, const u8* pos, CRoomBase& room, Plain& out) {
    return readFlag(sys, room.CRoomBase::LoadSelf(sys, pos), out);
}

struct Row {
    const char* room;
    PlainSave save;
    PlainLoad load;
};

const Row kRows[] = {
    {"zoom_Box", plainBoxSave, plainBoxLoad},
    {"zoom_Figures", plainFiguresSave, plainFiguresLoad},
    {"zoom_Fax", plainFaxSave, plainFaxLoad},
    {"zoom_Lamps", plainLampsSave, plainLampsLoad},
    {"zoom_Tiles", plainTilesSave, plainTilesLoad},
    {"zoom_Table", plainTableSave, plainTableLoad},
    {"zoom_Stain", baseSave, baseLoad},
    {"zoom_Exit", baseSave, baseLoad},
    {"room_Shower", baseSave, baseLoad},
};

// The one application and graph server of the program, and the demo's town loaded as the game loads
// an investigation, its fax printing.
struct Town {
    aApplication app;
    std::unique_ptr<aGraphServer> graph = std::make_unique<aGraphServer>(1024, 768, false, true);
    std::unique_ptr<CResManager> res;
    CloseUpRooms rooms;
    std::vector<CRoomBase*> closeUps;
    bench::TempFolder folder{"bench_closeups"};

    Town() {
        if (graph->getFatalError())
            return;
        cMain::SetGameAssigns(app.getFileServer(), "English", std::string(RVH_DEMO_DATA) + "GameData/");
        res = std::make_unique<CResManager>(false);
        rooms.LoadSharedRoomsList(nullptr, nullptr);
        rooms.Init("investigations:Town/", "Town");
        res->BeginLoading();
        while (!res->isDone())
            res->LoadStep();
        rooms.AfterLoadInitRooms("investigations:Town/");
        rooms.ResetRooms("investigations:Town/");
        for (const Row& row : kRows)
            closeUps.push_back(rooms.HasRoom(row.room) ? rooms.GetRoom(row.room) : nullptr);
        if (auto* fax = dynamic_cast<Fax*>(rooms.HasRoom("zoom_Fax") ? rooms.GetRoom("zoom_Fax") : nullptr)) {
            fax->m_PrintTimer.Start();
            fax->m_PrintTimer.Update(0.6f);
        }
    }
    ~Town() { rooms.Clear(); }
    bool ready() const {
        return std::none_of(closeUps.begin(), closeUps.end(), [](CRoomBase* r) { return !r; }) &&
               !closeUps.empty();
    }
};

Town& town() {
    static Town t;
    return t;
}

// A room's record as the given functions write it, under the room's name.
struct Record : SaveLoadEntity {
    explicit Record(CRoomBase& room) : SaveLoadEntity(room.getName()) {}
    u8* SaveSelf(SaveLoadSystem& sys, u8* pos) override { return save(sys, pos); }
    std::function<u8*(SaveLoadSystem&, u8*)> save;
};

// Each room's record once, as its own SaveSelf writes it, each in a memory record of its own reader.
struct Saved {
    std::vector<std::unique_ptr<SaveLoadSystem>> readers;
    std::vector<const u8*> data;
    // Whether the baseline writes every room's record byte for byte as the room does.
    bool plainMatches = true;

    Saved() {
        SaveLoadSystem saver;
        saver.BeginSave(town().folder.path + "once.save", 1);
        for (size_t i = 0; i < town().closeUps.size(); ++i) {
            CRoomBase& room = *town().closeUps[i];
            const std::vector<u8> bytes = recordBytes(
                saver, room, [&room](SaveLoadSystem& sys, u8* pos) { return room.SaveSelf(sys, pos); });
            plainMatches =
                plainMatches && bytes == recordBytes(saver, room, [&room, i](SaveLoadSystem& sys, u8* pos) {
                                    return kRows[i].save(sys, pos, room);
                                });
            readers.push_back(std::make_unique<SaveLoadSystem>());
            u8* at = readers.back()->BeginMemoryRecord(u32(bytes.size()));
            std::copy(bytes.begin(), bytes.end(), at);
            data.push_back(at);
        }
    }

    // The bytes `save` writes as the room's record on the saver's stream.
    template <class Save>
    static std::vector<u8> recordBytes(SaveLoadSystem& saver, CRoomBase& room, Save save) {
        std::vector<u8> bytes;
        Record record(room);
        record.save = [&](SaveLoadSystem& sys, u8* pos) {
            u8* end = save(sys, pos);
            bytes.assign(pos, end);
            return end;
        };
        saver.SaveEntity(record);
        return bytes;
    }
};

Saved& saved() {
    static Saved s;
    return s;
}

// Every iteration saves each room with `save` and loads it with `load` from its memory record.
template <class Save, class Load> void saveAndLoad(benchmark::State& state, Save save, Load load) {
    if (!town().ready())
        return state.SkipWithError("no town");
    const std::string file = town().folder.path + "records.save";
    std::vector<Record> records;
    for (size_t i = 0; i < town().closeUps.size(); ++i) {
        records.emplace_back(*town().closeUps[i]);
        records.back().save = [&save, i](SaveLoadSystem& sys, u8* pos) { return save(i, sys, pos); };
    }
    SaveLoadSystem saver;
    saver.BeginSave(file, 1);
    int iterations = 0;
    for (auto _ : state) {
        if (++iterations % 1000 == 0) {
            state.PauseTiming();
            saver.BeginSave(file, 1);
            state.ResumeTiming();
        }
        for (size_t i = 0; i < records.size(); ++i) {
            saver.SaveEntity(records[i]);
            benchmark::DoNotOptimize(load(i, *saved().readers[i], saved().data[i]));
        }
    }
}

void BM_CloseUpRecords(benchmark::State& state) {
    saveAndLoad(
        state, [](size_t i, SaveLoadSystem& sys, u8* pos) { return town().closeUps[i]->SaveSelf(sys, pos); },
        [](size_t i, SaveLoadSystem& sys, const u8* pos) { return town().closeUps[i]->LoadSelf(sys, pos); });
}

void BM_PlainCloseUpFields(benchmark::State& state) {
    if (town().ready() && !saved().plainMatches)
        return state.SkipWithError("the baseline writes other bytes than the rooms");
    Plain plain;
    plain.rooms = &town().rooms;
    saveAndLoad(
        state,
        [](size_t i, SaveLoadSystem& sys, u8* pos) { return kRows[i].save(sys, pos, *town().closeUps[i]); },
        [&plain](size_t i, SaveLoadSystem& sys, const u8* pos) {
            plain.clear();
            return kRows[i].load(sys, pos, *town().closeUps[i], plain);
        });
}

// The machine may be shared: repetitions in random order, compared by their medians.
BENCHMARK(BM_CloseUpRecords)->Unit(benchmark::kMicrosecond)->Repetitions(5);
BENCHMARK(BM_PlainCloseUpFields)->Unit(benchmark::kMicrosecond)->Repetitions(5);

} // namespace

int main(int argc, char** argv) {
    auto figures = bench::run(argc, argv);
    bench::printRatio(figures, "Close-up records save + load", "BM_CloseUpRecords", "BM_PlainCloseUpFields",
                      1.5);
    return 0;
}
