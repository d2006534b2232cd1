// The crime lab's microfiche reader and fingerprint computer, each figure beside its baseline in the
// same run:
//  - a drop on a 9 x 9 table (the film taken onto the cursor as its card, laid over its cell, then the
//    reader's cursor input with the button pressed: its drag step, the manager's ProcessMouse and put,
//    then OnFilmPut with its sort check over the 81 cells, the line flashes and the put sound) beside
//    the same take and the same put written plainly over vectors of the cells' catch areas and places
//    in screen units (the first cell whose area or place holds the film, tested free of every other
//    film out of the inventory, the film set into its place, visible and out of the inventory, the
//    cursor emptied, the same sound) and a plain sort check: the 81 cells' positions against their
//    places, row and column counters, and each line's full-count test (target: within 2x). The film's
//    row and column each miss another film, so no line completes and the film stays free to move;
//  - the reader's record saved and loaded mid-sort beside the same fields through one flat sequence of
//    the stream's field writers and readers, SaveItemRef/LoadItemRef, SaveWideText/LoadWideText and
//    the string-list fields into plain values; the room base's part is the same call on both sides;
//    the plain writer is checked to make the room's own bytes (target: within 1.3x);
//  - the identification computer's FrameMove (dt 0.02) while its fingerprint search runs (the bar, the
//    edit box, the cells' update, the six menus' updates, the room base's frame), the pointer over the
//    fingerprint window's way out, beside the FrameMove of a room of class "RoomBase" loaded from the
//    same files plus, written plainly over vectors of the same items found before timing, the hover
//    and press tests over the six menus' entries, the typed line's Enter test and the bar's step with
//    its two periods (target: within 1.3x). The search and its two periods are set long enough that no
//    period's handler and no end falls in the run, on either side.
// Each save appends the record to one stream in memory through SaveEntity; each load reads the same
// record from memory.
#include "BenchBmp.h"
#include "BenchFolder.h"
#include "BenchRatio.h"
#include "BenchRecord.h"
#include "game/CResManager.h"
#include "game/SaveLoadSystem.h"
#include "game/SpyGame/CInventory.h"
#include "game/SpyGame/CPersonage.h"
#include "game/SpyGame/CPersonagesManager.h"
#include "game/SpyGame/CSpyItem.h"
#include "game/SpyGame/ItemRefs.h"
#include "game/SpyGame/Rooms/CRoomsManager.h"
#include "game/SpyGame/Rooms/Puzzles/LabRoomData.h"
#include "game/SpyGame/Rooms/Puzzles/cMicrofichePuzzleRoom.h"
#include "game/SpyGame/Rooms/Puzzles/cVictimIdPuzzleRoom.h"
#include "game/SpyGame/Rooms/Toolkit/PuzzleHelpers.h"
#include "game/SpyGame/StringListField.h"
#include "game/SpyGame/WideTextField.h"
#include "support/game/TestRoomsManager.h"
#include "tk2v/file/aFileServer.h"
#include "tk2v/file/aOptionsFile.h"
#include "tk2v/gfx/aApplication.h"
#include "tk2v/gfx/aGraphServer.h"
#include "tk2v/input/aInputServer.h"
#include "tk2v/platform/Random.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <list>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kLines = 9;
constexpr f32 kDt = 0.02f;
constexpr const char* kReader = "zoom_Microfiche";
constexpr const char* kComputer = "zoom_VictimId";
constexpr const char* kPlainComputer = "zoom_VictimIdBase";
constexpr const char* kArchive = "room_ChronicleOffice";

// "F12": a stem, the row and the column, spelt out piece by piece: one compiler takes a literal added
// to a string for an overlapping copy.
std::string numbered(const char* stem, int row, int col) {
    std::string name = stem;
    name.append(std::to_string(row)).append(std::to_string(col));
    return name;
}
std::string film(int row, int col) {
    return numbered("F", row, col);
}
std::string card(int row, int col) {
    return numbered("CARD", row, col);
}
SpyPoint home(int row, int col) {
    return {f32(60 + 70 * (col - 1)), f32(60 + 70 * (row - 1))};
}

// A room of 32 x 32 pictures at the given corners, `hidden` ones invisible, under `sections`.
void writeRoom(const bench::TempFolder& folder, const std::string& name, const std::string& sections,
               const std::vector<std::pair<std::string, SpyPoint>>& items, bool hidden) {
    std::string objects, list;
    for (const auto& [item, at] : items) {
        std::string object = item;
        for (char& c : object)
            c = char(c >= 'A' && c <= 'Z' ? c + 32 : c);
        objects += "[" + object + "]\nClass = image\nImage = pic\nX = " + std::to_string(int(at.x)) +
                   "\nY = " + std::to_string(int(at.y)) + "\n";
        list +=
            "[" + item + "]\nObject = " + object + "\n" + (hidden ? "Visible = 0\nIsQuestItem = 1\n" : "");
    }
    folder.write(name + "/room.ini", "[Room]\n" + sections);
    folder.write(name + "/objects.ini", objects);
    folder.write(name + "/items.ini", list);
    folder.write(name + "/Rusca.ai", "[ROOM]\n");
    folder.write(name + "/Images/pic.bmp", bench::solidBmp(32, 0x806040));
    folder.write(name + "/Images/background.bmp", bench::solidBmp(512, 0x304020));
    folder.write(name + "/Images/_images.list", "pic.bmp 8888 8888\nbackground.bmp 8888 8888\n");
}

// The reader's 9 x 9 table of films F11 .. F99 with their cards in the archive, its projector, flash
// bars, search fields and results.
void writeReader(const bench::TempFolder& folder) {
    std::string sections = "Class = MicrofichePuzzleRoom\n[Options]\nanswerscount = 3\ntrueanswerscount = 2\n"
                           "[Table]\npreffix = F\nrows = 9\ncols = 9\ntimer = 0.5\n[KasesInfo]\n";
    std::vector<std::pair<std::string, SpyPoint>> items = {
        {"FLASH_VERT", {60, 20}}, {"FLASH_HORIZ", {20, 60}},  {"PROECTOR", {800, 80}},
        {"TARGET", {810, 90}},    {"EDITBOX1", {700, 500}},   {"EDITBOX2", {700, 540}},
        {"RESULTS", {700, 300}},  {"BTN_SUBMIT", {700, 600}}, {"REPORT", {900, 600}}};
    std::vector<std::pair<std::string, SpyPoint>> cards;
    std::string years = "[Proector]\n";
    for (int r = 1; r <= kLines; ++r) {
        years += "lineYearNames" + std::to_string(r) + " =";
        for (int c = 1; c <= kLines; ++c) {
            items.push_back({film(r, c), home(r, c)});
            cards.push_back({card(r, c), {0, 0}});
            sections += film(r, c) + " = " + card(r, c) + "\n";
            years.append(" ").append(std::to_string(1900 + 10 * r + c));
        }
        years += "\n";
    }
    writeRoom(folder, kReader, sections + years + "windata = 1999\nfinalReport = REPORT\n", items, false);
    writeRoom(folder, kArchive, "Class = RoomBase\n", cards, true);
    folder.write(std::string("lang/Investigations/Demo/") + kReader + "/room.txt",
                 "ANSWER1 = \"one\"\nANSWER2 = \"two\"\nANSWER3 = \"three\"\nTRUE_ANSWER1 = \"fire\"\n"
                 "TRUE_ANSWER2 = \"harbour\"\n");
}

// The demo's identification computer, its search and periods long, and the same files as a plain room.
void writeComputers(const bench::TempFolder& folder) {
    namespace fs = std::filesystem;
    const std::string shipped = std::string(RVH_DEMO_DATA) + "GameData/";
    const std::string texts = shipped + "Language/English/Investigations/Lab/" + kComputer;
    for (const char* name : {kComputer, kPlainComputer}) {
        std::error_code error;
        fs::copy(shipped + "Investigations/Lab/" + kComputer, folder.path + name, fs::copy_options::recursive,
                 error);
        fs::create_directories(folder.path + "lang/Investigations/Demo/" + name, error);
        fs::copy(texts, folder.path + "lang/Investigations/Demo/" + name, fs::copy_options::recursive, error);
    }
    const std::string ini = "[CellsManager]\ndx = 40\ndy = -1\ngroups = HAIR, 3, EYES, 3, HEIGHT, 3\n"
                            "HAIR = 1\nEYES = 1\nHEIGHT = 2\n[ProgressInfo]\nmaintimer = 1000000\n"
                            "righttimer = 100000\nlefttimer = 100000\n";
    folder.write(std::string(kComputer) + "/room.ini", "[Room]\nClass = VictimIdPuzzleRoom\n" + ini);
    folder.write(std::string(kPlainComputer) + "/room.ini", "[Room]\nClass = RoomBase\n" + ini);
}

// The identification computer with its search started by hand.
struct Computer : cVictimIdPuzzleRoom {
    void StartSearch() {
        OnVictimIdButton();
        OnCheckIdDataBaseButton();
        Show(GetItem("FINGERPRINTS"), true);
        OnFingerprintsSubmit();
    }
    bool FingerprintWindowShown() { return Menu(FingerprintWindow).IsVisible(); }
};

// The six menus' entries of the computer, in menu order, as the plain frame tests them.
const std::vector<std::vector<const char*>>& menuEntries() {
    static const std::vector<std::vector<const char*>> entries = {
        {"BTN_VICTIMID", "BTN_LOOKNAME_GRAYED", "BTN_LOOKPHONE_GRAYED"},
        {"BTN_ENTER_NAME", "BTN_CHECK_MISSING_PERSONS", "BTN_CHECK_ID_DATA_BASE", "ESCAPE"},
        {"SUBMIT", "ESCAPE"},
        {"ERR_NOT_ENOUGHT_INFO", "ESCAPE"},
        {"SUBMIT", "ESCAPE"},
        {"SUBMIT", "ESCAPE"}};
    return entries;
}

struct ScreenRect {
    f32 x, y, w, h;
    bool holds(SpyPoint p) const { return p.x >= x && p.x < x + w && p.y >= y && p.y < y + h; }
};

// The plain frame's menus: each shown or not, with its entries' items and the last hovered one.
struct PlainMenu {
    bool shown = false;
    std::vector<CSpyItem*> entries;
    CSpyItem* hovered = nullptr;
};

struct World {
    aApplication app;
    std::unique_ptr<aGraphServer> graph;
    std::unique_ptr<aInputServer> input;
    std::unique_ptr<CResManager> res;
    std::unique_ptr<aFileServer> files;
    bench::TempFolder folder{"bench_lab"};
    TestRoomsManager<Computer> rooms;
    CPersonagesManager personages;
    cMicrofichePuzzleRoom* reader = nullptr;
    Computer* computer = nullptr;
    CRoomBase* plainComputer = nullptr;
    // The film moved in the drop, its card, and the table's films with their places in reading order.
    CSpyItem* moved = nullptr;
    SpyPoint movedLocal, movedHome;
    std::vector<CSpyItem*> cells;
    std::vector<SpyPoint> places;
    // The cells' places and catch areas in screen units, for the plain put.
    std::vector<ScreenRect> placeRects, areaRects;
    std::array<PlainMenu, 6> plainMenus;
    std::string record;

    World() {
        graph = std::make_unique<aGraphServer>(1024, 768, false, true);
        if (graph->getFatalError())
            return;
        input = std::make_unique<aInputServer>();
        if (!aFileServer::getInstance())
            files = std::make_unique<aFileServer>();
        aFileServer::getInstance()->setAssign("language", folder.path + "lang/");
        res = std::make_unique<CResManager>(false);
        writeReader(folder);
        writeComputers(folder);
        folder.write("_rooms.list", std::string(kArchive) + "\n" + kReader + "\n" + kComputer + "\n" +
                                        kPlainComputer + "\n");
        folder.write("_investigation.ini", "[Personages]\nPersonagesList = Rusca\nStartPersonages = Rusca\n");
        rooms.LoadSharedRoomsList(&personages, nullptr);
        rooms.Init(folder.path, "Demo");
        personages.CreatePersonages(aOptionsFile(folder.path + "_investigation.ini"), nullptr, &rooms);
        res->BeginLoading();
        while (!res->isDone())
            res->LoadStep();
        rooms.AfterLoadInitRooms(folder.path);
        platform::srand(5);
        rooms.ResetRooms(folder.path);
        personages.ResetForNewGame(false);
        reader = dynamic_cast<cMicrofichePuzzleRoom*>(rooms.GetRoom(kReader));
        computer = dynamic_cast<Computer*>(rooms.GetRoom(kComputer));
        plainComputer = rooms.GetRoom(kPlainComputer);
        if (reader && computer && plainComputer) {
            reader->Enter("Demo", nullptr);
            computer->Enter("Demo", nullptr);
            plainComputer->Enter("Demo", nullptr);
            // A frame of play unlocks the rooms' items.
            for (CRoomBase* room :
                 {static_cast<CRoomBase*>(reader), static_cast<CRoomBase*>(computer), plainComputer})
                room->FrameMove(kDt, false);
            sortTable();
            computer->StartSearch();
            findPlainMenus();
        }
    }

    bool ready() const { return moved && computer->FingerprintWindowShown(); }

    // A point of the reader in screen units.
    SpyPoint onScreen(SpyPoint local) const {
        const SpyPoint origin = reader->GetPosition(), scale = reader->GetScale();
        return {origin.x + local.x * scale.x, origin.y + local.y * scale.y};
    }

    // The film onto the cursor, laid over its cell, and the reader's cursor input with a press.
    void drop(CSpyItem* item, SpyPoint local) {
        reader->SetItemOnCursor(item, nullptr);
        const SpyPoint at = onScreen(local);
        item->SetPos(at.x, at.y);
        input->mouseButtons[0] = KEY_PRESSED;
        reader->HandleCursorItemInput(kDt);
    }

    // Every film home but three of a corner none of whose films the table kept in place: the moved
    // one stays free, the other two keep its row and column incomplete.
    void sortTable() {
        for (int r = 1; r < kLines && !moved; ++r)
            for (int c = 1; c < kLines && !moved; ++c) {
                const bool free = !reader->GetItem(film(r, c))->IsDisabled() &&
                                  !reader->GetItem(film(r, c + 1))->IsVisible() &&
                                  !reader->GetItem(film(r + 1, c))->IsVisible();
                if (!free)
                    continue;
                moved = reader->GetItem(film(r, c));
                movedLocal = home(r, c);
                movedHome = onScreen(movedLocal);
                for (int row = 1; row <= kLines; ++row)
                    for (int col = 1; col <= kLines; ++col) {
                        CSpyItem* cell = reader->GetItem(film(row, col));
                        cells.push_back(cell);
                        places.push_back(onScreen(home(row, col)));
                        const f32 width = f32(cell->GetWidth()), height = f32(cell->GetHeight());
                        placeRects.push_back({places.back().x, places.back().y, width, height});
                        areaRects.push_back({places.back().x - f32(i32(width) / 5), places.back().y - height,
                                             width + f32(i32(width) / 5), 2 * height});
                        if ((row == r && col == c + 1) || (row == r + 1 && col == c))
                            continue;
                        if (!cell->IsDisabled())
                            drop(cell, home(row, col));
                    }
            }
        input->mouseButtons[0] = KEY_UP;
        if (moved && (moved->IsDisabled() || reader->GetItemOnCursor()))
            moved = nullptr;
    }

    void findPlainMenus() {
        for (size_t m = 0; m < plainMenus.size(); ++m)
            for (const char* entry : menuEntries()[m])
                if (CSpyItem* item = plainComputer->GetItem(entry))
                    plainMenus[m].entries.push_back(item);
        plainMenus[5].shown = true;
    }
};

World& world() {
    static World w;
    return w;
}

void BM_TableDrop(benchmark::State& state) {
    World& w = world();
    if (!w.ready())
        return state.SkipWithError("no table");
    for (auto _ : state)
        w.drop(w.moved, w.movedLocal);
    w.input->mouseButtons[0] = KEY_UP;
}

void BM_PlainTableDrop(benchmark::State& state) {
    World& w = world();
    if (!w.ready())
        return state.SkipWithError("no table");
    for (auto _ : state) {
        w.reader->SetItemOnCursor(w.moved, nullptr);
        w.moved->SetPos(w.movedHome.x, w.movedHome.y);
        // The put: the first cell whose catch area or place holds the film, free of every other film
        // out of the inventory, takes it into its place.
        const SpyPoint at = w.moved->GetPos();
        size_t target = 0;
        while (target < w.cells.size() && !w.areaRects[target].holds(at) && !w.placeRects[target].holds(at))
            ++target;
        if (target == w.cells.size())
            continue;
        bool taken = false;
        for (const CSpyItem* cell : w.cells)
            taken = taken || (!cell->IsInInventory() && w.placeRects[target].holds(cell->GetPos()));
        if (taken)
            continue;
        w.moved->SetPos(w.placeRects[target].x, w.placeRects[target].y);
        w.moved->SetVisible(true);
        w.moved->SetInInventory(false);
        w.reader->SetItemOnCursor(nullptr, nullptr);
        PlayRoomSound(*w.reader, "microfiche_put");
        std::array<i32, kLines> rows{}, cols{};
        bool sorted = true;
        for (size_t i = 0; i < w.cells.size(); ++i) {
            const bool home = w.cells[i]->GetPos() == w.places[i];
            rows[i / kLines] += home;
            cols[i % kLines] += home;
            sorted = sorted && home;
        }
        int full = 0;
        for (int i = 0; i < kLines; ++i)
            full += (rows[size_t(i)] == kLines) + (cols[size_t(i)] == kLines);
        benchmark::DoNotOptimize(full);
        benchmark::DoNotOptimize(sorted);
    }
}

// The reader's record part after the room base's, as plain values read and written by one flat
// sequence of field readers and writers in the room's record order.
struct PlainReaderRecord {
    struct Box {
        u8 caretChar = 0;
        f32 caretSize = 0, blink = 0, repeat = 0, firstDelay = 0;
        u32 caretColor = 0;
        CSpyItem* item = nullptr;
        std::string text;
        i32 caret = 0, key = 0;
        bool active = false, editable = false;
        u16 maxLength = 0;
    };
    struct Line {
        bool shown = false;
        f32 x = 0, y = 0;
    };
    struct Rect {
        u16 x = 0, y = 0, w = 0, h = 0;
    };
    struct Target {
        Rect area, place;
        bool enabled = false;
    };

    // The edit boxes, the moves manager's items and its targets, which the record does not count.
    size_t boxCount = 2, itemCount = 0, targetCount = 0;
    std::vector<Box> boxes;
    u32 focused = 0;
    CSpyItem *results = nullptr, *submit = nullptr;
    std::vector<std::wstring> wrong;
    std::list<std::string> answers;
    bool searchSolved = false, hintShown = false;
    i32 alternatives = 0;
    std::string prefix;
    u16 rows = 0, cols = 0;
    std::list<CSpyItem*> locked;
    bool sortedFlags[3] = {};
    CSpyItem *rowFlash = nullptr, *colFlash = nullptr;
    std::vector<Line> lines[2];
    bool timerRunning = false;
    u16 ticksDone = 0, tickCount = 0;
    f32 duration = 0, elapsed = 0;
    std::vector<std::pair<std::string, std::string>> names[2];
    std::vector<std::pair<std::string, CSpyItem*>> objects[2];
    std::vector<bool> enabled;
    std::vector<Target> targets;
    bool allow[3] = {};
    u32 previewColor = 0, lastAction = 0;
    std::string rectName;
    CSpyItem *displaced = nullptr, *lastItem = nullptr;
    bool showPreview = false;
    f32 originX = 0, originY = 0;
    bool lastWasPut = false;
    CSpyItem *lastMoved = nullptr, *carried = nullptr;
    CSpyItem* refs[5] = {};
    std::string winningYear;
    bool projectedRight = false, found = false;
    CSpyItem* finalReport = nullptr;

    static u8* putRect(SaveLoadSystem& sys, u8* pos, const Rect& r) {
        return sys.writeU16(sys.writeU16(sys.writeU16(sys.writeU16(pos, r.x), r.y), r.w), r.h);
    }
    static const u8* getRect(SaveLoadSystem& sys, const u8* pos, Rect& r) {
        return sys.readU16(sys.readU16(sys.readU16(sys.readU16(pos, r.x), r.y), r.w), r.h);
    }

    u8* Save(SaveLoadSystem& sys, u8* pos) const {
        for (const Box& b : boxes) {
            pos = sys.writeF32(sys.writeU8(pos, b.caretChar), b.caretSize);
            pos = SaveItemRef(sys, sys.writeU32(pos, b.caretColor), b.item);
            pos = sys.writeI32(sys.writeI32(sys.writeString(pos, b.text), b.caret), b.key);
            pos = sys.writeF32(sys.writeF32(sys.writeF32(pos, b.blink), b.repeat), b.firstDelay);
            pos = sys.writeU16(sys.writeBool(sys.writeBool(pos, b.active), b.editable), b.maxLength);
        }
        pos = SaveItemRef(sys, SaveItemRef(sys, sys.writeU32(pos, focused), results), submit);
        pos = sys.writeU32(pos, u32(wrong.size()));
        for (const std::wstring& text : wrong)
            pos = SaveWideText(sys, pos, text);
        pos = sys.writeBool(sys.writeBool(SaveStringList(sys, pos, answers), searchSolved), hintShown);
        pos = sys.writeU16(sys.writeU16(sys.writeString(sys.writeU32(pos, u32(alternatives)), prefix), rows),
                           cols);
        pos = SaveItemRefList(sys, pos, locked);
        for (bool flag : sortedFlags)
            pos = sys.writeBool(pos, flag);
        pos = SaveItemRef(sys, SaveItemRef(sys, pos, rowFlash), colFlash);
        for (const std::vector<Line>& list : lines) {
            pos = sys.writeU32(pos, u32(list.size()));
            for (const Line& line : list)
                pos = sys.writeF32(sys.writeF32(sys.writeBool(pos, line.shown), line.x), line.y);
        }
        pos = sys.writeU16(sys.writeU16(sys.writeBool(pos, timerRunning), ticksDone), tickCount);
        pos = sys.writeF32(sys.writeF32(pos, duration), elapsed);
        for (const auto& list : names) {
            pos = sys.writeU32(pos, u32(list.size()));
            for (const auto& [key, value] : list)
                pos = sys.writeString(sys.writeString(pos, key), value);
        }
        for (const auto& list : objects) {
            pos = sys.writeU32(pos, u32(list.size()));
            for (const auto& [key, item] : list)
                pos = SaveItemRef(sys, sys.writeString(pos, key), item);
        }
        for (bool on : enabled)
            pos = sys.writeBool(pos, on);
        for (const Target& t : targets)
            pos = sys.writeBool(putRect(sys, putRect(sys, pos, t.area), t.place), t.enabled);
        for (bool flag : allow)
            pos = sys.writeBool(pos, flag);
        pos = sys.writeString(sys.writeU32(sys.writeU32(pos, previewColor), lastAction), rectName);
        pos = sys.writeBool(SaveItemRef(sys, SaveItemRef(sys, pos, displaced), lastItem), showPreview);
        pos = sys.writeBool(sys.writeF32(sys.writeF32(pos, originX), originY), lastWasPut);
        pos = SaveItemRef(sys, SaveItemRef(sys, pos, lastMoved), carried);
        for (const CSpyItem* item : refs)
            pos = SaveItemRef(sys, pos, item);
        pos = sys.writeBool(sys.writeBool(sys.writeString(pos, winningYear), projectedRight), found);
        return SaveItemRef(sys, pos, finalReport);
    }

    const u8* Load(CRoomItemLookup& rooms, SaveLoadSystem& sys, const u8* pos) {
        boxes.resize(boxCount);
        for (Box& b : boxes) {
            pos = sys.readF32(sys.readU8(pos, b.caretChar), b.caretSize);
            pos = LoadItemRef(rooms, sys, sys.readU32(pos, b.caretColor), b.item);
            pos = sys.readI32(sys.readI32(sys.readString(pos, b.text), b.caret), b.key);
            pos = sys.readF32(sys.readF32(sys.readF32(pos, b.blink), b.repeat), b.firstDelay);
            pos = sys.readU16(sys.readBool(sys.readBool(pos, b.active), b.editable), b.maxLength);
        }
        pos = LoadItemRef(rooms, sys, LoadItemRef(rooms, sys, sys.readU32(pos, focused), results), submit);
        u32 count = 0;
        pos = sys.readU32(pos, count);
        wrong.resize(count);
        for (std::wstring& text : wrong)
            pos = LoadWideText(sys, pos, text);
        pos = sys.readBool(sys.readBool(LoadStringList(sys, pos, answers), searchSolved), hintShown);
        pos = sys.readU16(sys.readU16(sys.readString(sys.readI32(pos, alternatives), prefix), rows), cols);
        pos = LoadItemRefList(rooms, sys, pos, locked);
        for (bool& flag : sortedFlags)
            pos = sys.readBool(pos, flag);
        pos = LoadItemRef(rooms, sys, LoadItemRef(rooms, sys, pos, rowFlash), colFlash);
        for (std::vector<Line>& list : lines) {
            pos = sys.readU32(pos, count);
            list.resize(count);
            for (Line& line : list)
                pos = sys.readF32(sys.readF32(sys.readBool(pos, line.shown), line.x), line.y);
        }
        pos = sys.readU16(sys.readU16(sys.readBool(pos, timerRunning), ticksDone), tickCount);
        pos = sys.readF32(sys.readF32(pos, duration), elapsed);
        for (auto& list : names) {
            pos = sys.readU32(pos, count);
            list.resize(count);
            for (auto& [key, value] : list)
                pos = sys.readString(sys.readString(pos, key), value);
        }
        for (auto& list : objects) {
            pos = sys.readU32(pos, count);
            list.resize(count);
            for (auto& [key, item] : list)
                pos = LoadItemRef(rooms, sys, sys.readString(pos, key), item);
        }
        enabled.resize(itemCount);
        for (size_t i = 0; i < itemCount; ++i) {
            bool on = false;
            pos = sys.readBool(pos, on);
            enabled[i] = on;
        }
        targets.resize(targetCount);
        for (Target& t : targets)
            pos = sys.readBool(getRect(sys, getRect(sys, pos, t.area), t.place), t.enabled);
        for (bool& flag : allow)
            pos = sys.readBool(pos, flag);
        pos = sys.readString(sys.readU32(sys.readU32(pos, previewColor), lastAction), rectName);
        pos = sys.readBool(LoadItemRef(rooms, sys, LoadItemRef(rooms, sys, pos, displaced), lastItem),
                           showPreview);
        pos = sys.readBool(sys.readF32(sys.readF32(pos, originX), originY), lastWasPut);
        pos = LoadItemRef(rooms, sys, LoadItemRef(rooms, sys, pos, lastMoved), carried);
        for (CSpyItem*& item : refs)
            pos = LoadItemRef(rooms, sys, pos, item);
        pos = sys.readBool(sys.readBool(sys.readString(pos, winningYear), projectedRight), found);
        return LoadItemRef(rooms, sys, pos, finalReport);
    }
};

// The reader's record through its own writer and reader, or through the room base's part and then
// the plain sequence.
struct ReaderRecord : SaveLoadEntity {
    ReaderRecord(cMicrofichePuzzleRoom& room, PlainReaderRecord* plain)
        : SaveLoadEntity(room.getName()), room(room), plain(plain) {}
    u8* SaveSelf(SaveLoadSystem& sys, u8* pos) override {
        return plain ? plain->Save(sys, room.CRoomBase::SaveSelf(sys, pos)) : room.SaveSelf(sys, pos);
    }
    const u8* LoadSelf(SaveLoadSystem& sys, const u8* pos) override {
        return plain ? plain->Load(world().rooms, sys, room.CRoomBase::LoadSelf(sys, pos))
                     : room.LoadSelf(sys, pos);
    }
    cMicrofichePuzzleRoom& room;
    PlainReaderRecord* plain;
};

PlainReaderRecord& plainRecord() {
    static PlainReaderRecord plain;
    return plain;
}

// Each save appends the record to one stream, begun afresh every thousand saves outside the timing so
// that the records never fill it; each load reads the same record from memory.
void saveAndLoad(benchmark::State& state, PlainReaderRecord* plain) {
    World& w = world();
    if (!w.ready() || w.record.empty())
        return state.SkipWithError("no record");
    ReaderRecord record(*w.reader, plain);
    SaveLoadSystem saver, loader;
    const std::string file = w.folder.path + "reader.save";
    saver.BeginSave(file, 1);
    u8* data = loader.BeginMemoryRecord(u32(w.record.size()));
    std::copy(w.record.begin(), w.record.end(), data);
    int saves = 0;
    for (auto _ : state) {
        if (++saves % 1000 == 0) {
            state.PauseTiming();
            saver.BeginSave(file, 1);
            state.ResumeTiming();
        }
        saver.SaveEntity(record);
        benchmark::DoNotOptimize(record.LoadSelf(loader, data));
    }
}

void BM_ReaderSaveLoad(benchmark::State& state) {
    saveAndLoad(state, nullptr);
}

void BM_PlainReaderSaveLoad(benchmark::State& state) {
    saveAndLoad(state, &plainRecord());
}

// The record the loads read, and the plain values read from it, checked to write the same bytes.
void prepareRecord() {
    World& w = world();
    if (!w.ready())
        return;
    ReaderRecord own(*w.reader, nullptr);
    w.record = bench::recordBytes(own, world().folder.path);
    PlainReaderRecord& plain = plainRecord();
    plain.itemCount = w.cells.size();
    plain.targetCount = w.cells.size() + 1;
    SaveLoadSystem loader;
    u8* data = loader.BeginMemoryRecord(u32(w.record.size()));
    std::copy(w.record.begin(), w.record.end(), data);
    ReaderRecord flat(*w.reader, &plain);
    flat.LoadSelf(loader, data);
    if (bench::recordBytes(flat, world().folder.path) != w.record) {
        std::fprintf(stderr, "the plain record differs from the reader's own\n");
        w.record.clear();
    }
}

// The pointer over the fingerprint window's way out, the button up.
void restOnWayOut(World& w, CRoomBase& room) {
    const SpyPoint at = room.GetItem("ESCAPE")->GetPos();
    w.input->setMousePos(i32(at.x) + 2, i32(at.y) + 2);
    w.input->mouseButtons[0] = KEY_UP;
}

void BM_SearchFrame(benchmark::State& state) {
    World& w = world();
    if (!w.ready())
        return state.SkipWithError("no computer");
    restOnWayOut(w, *w.computer);
    for (auto _ : state)
        benchmark::DoNotOptimize(w.computer->FrameMove(kDt, false));
}

void BM_PlainSearchFrame(benchmark::State& state) {
    World& w = world();
    if (!w.ready())
        return state.SkipWithError("no computer");
    restOnWayOut(w, *w.plainComputer);
    f32 elapsed = 0, periods[2] = {0, 0};
    const f32 duration = 1000000, period = 100000;
    // The item the room's frame finds under the resting pointer.
    w.plainComputer->FrameMove(kDt, false);
    CSpyItem* const hovered = w.plainComputer->GetItemUnderCursor();
    for (auto _ : state) {
        benchmark::DoNotOptimize(w.plainComputer->FrameMove(kDt, false));
        const aKeyState button = w.input->mouseButtons[0];
        const bool down = button == KEY_PRESSED || button == KEY_HELD;
        for (PlainMenu& menu : w.plainMenus) {
            if (!menu.shown)
                continue;
            for (CSpyItem* entry : menu.entries) {
                if (entry != hovered) {
                    benchmark::DoNotOptimize(down);
                    continue;
                }
                const bool fresh = hovered != menu.hovered;
                menu.hovered = hovered;
                benchmark::DoNotOptimize(fresh && !entry->IsLocked() && button == KEY_PRESSED);
                break;
            }
        }
        benchmark::DoNotOptimize(w.input->keyStates[DIK_RETURN] == KEY_PRESSED);
        if (elapsed <= duration) {
            elapsed += kDt;
            for (f32& gathered : periods) {
                gathered += kDt;
                if (gathered > period)
                    gathered = 0;
            }
        }
        benchmark::DoNotOptimize(elapsed > duration);
    }
}

// The machine may be shared: repetitions in random order, compared by their medians.
BENCHMARK(BM_TableDrop)->Unit(benchmark::kMicrosecond)->Repetitions(5);
BENCHMARK(BM_PlainTableDrop)->Unit(benchmark::kMicrosecond)->Repetitions(5);
BENCHMARK(BM_ReaderSaveLoad)->Unit(benchmark::kMicrosecond)->Repetitions(5);
BENCHMARK(BM_PlainReaderSaveLoad)->Unit(benchmark::kMicrosecond)->Repetitions(5);
BENCHMARK(BM_SearchFrame)->Unit(benchmark::kMicrosecond)->Repetitions(5);
BENCHMARK(BM_PlainSearchFrame)->Unit(benchmark::kMicrosecond)->Repetitions(5);

} // namespace

int main(int argc, char** argv) {
    prepareRecord();
    auto figures = bench::run(argc, argv);
    bench::printRatio(figures, "Microfiche drop, 9 x 9 table", "BM_TableDrop", "BM_PlainTableDrop", 2.0);
    bench::printRatio(figures, "Microfiche save + load, mid-sort", "BM_ReaderSaveLoad",
                      "BM_PlainReaderSaveLoad", 1.3);
    bench::printRatio(figures, "Identification computer frame, search running", "BM_SearchFrame",
                      "BM_PlainSearchFrame", 1.3);
    return 0;
}
