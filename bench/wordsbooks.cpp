// The word and book puzzles timed beside plain code doing the same work.
//
// RLE: the appointment book's paint layer record (37 bytes of fields and 1024 x 1024 alpha bytes, the
// left half untouched, the right half rubbed with overlapping brush strokes up to the alpha limit) is
// packed in place and unpacked again by the room's packing (which also checks the block before it
// unpacks). The baseline packs the same record into the same block format from one buffer into
// another (one byte loop finding the runs, memcpy of the literal spans, the run table then the
// literals copied behind the header) and unpacks it (memcpy of the literal gaps, memset of the runs)
// without checking anything.
//
// Board: the word game's board as it shows a game (six words of seven letters with some shown, the
// theme of ten hidden letters, the row of 26 letters for sale, one cell selected, one hovered) drawn
// by cLetterBoard::Render in a frame of its own, beside the same glyphs and underline bars in the same
// colours drawn straight with aFont::print and aGDI::drawRect from a list of cells made once before
// timing (so the baseline does no layout and no colour choice). Both frames clear the back buffer and
// wait for the draws by reading one pixel back.
//
// Record: the word machine of the demo's town (zoom_CapOJoe, its game won so that every word shows),
// its record saved into a stream begun for it and loaded from a record made in memory, by the room's
// SaveSelf and LoadSelf. The baseline writes the same fields, value for value, with the stream's
// field writers (item references as their "room:item" strings) and reads them back with its field
// readers into plain containers, resolving every reference with CRoomsManager::GetItemByFullName.
// Both sides run the room base's part of the record through CRoomBase's own SaveSelf and LoadSelf,
// and both begin a stream and a memory record per iteration.
#include "BenchFolder.h"
#include "BenchFrame.h"
#include "BenchRatio.h"
#include "game/CResManager.h"
#include "game/SaveLoadEntity.h"
#include "game/SaveLoadSystem.h"
#include "game/SpyGame/CSpyItem.h"
#include "game/SpyGame/Rooms/CRoomsManager.h"
#include "game/SpyGame/Rooms/Puzzles/RunLengthPacking.h"
#include "game/SpyGame/Rooms/Puzzles/cCapOJoePuzzleRoom.h"
#include "game/SpyGame/Rooms/Puzzles/cLetterBoard.h"
#include "game/cMain.h"
#include "support/ImageFiles.h"
#include "tk2v/gfx/aApplication.h"
#include "tk2v/gfx/aFont.h"
#include "tk2v/gfx/aGDI.h"
#include "tk2v/gfx/aGraphServer.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <list>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr u32 kPage = 1024;
constexpr u32 kFields = 37;

std::vector<u8> halfRubbedRecord() {
    std::vector<u8> record(kFields + kPage * kPage, 0);
    for (u32 i = 0; i < kFields; ++i)
        record[i] = u8(i * 7);
    u8* alpha = record.data() + kFields;
    // Strokes across the right half, a 16 x 16 brush adding 25 per spot up to the limit 200.
    for (int stroke = 0; stroke < 90; ++stroke)
        for (int step = 0; step < 1200; ++step) {
            int x = kPage / 2 + (step * 512) / 1200;
            int y = int(stroke * 11.5 + 20 * std::sin(step * 0.01 + stroke));
            for (int dy = 0; dy < 16; ++dy)
                for (int dx = 0; dx < 16; ++dx) {
                    int px = x + dx, py = y + dy;
                    if (px < 0 || py < 0 || px >= int(kPage) || py >= int(kPage))
                        continue;
                    u8& a = alpha[py * kPage + px];
                    a = u8(std::min(200, a + 25));
                }
        }
    return record;
}

const std::vector<u8>& record() {
    static const std::vector<u8> r = halfRubbedRecord();
    return r;
}

struct PlainRun {
    u32 position;
    u16 length;
    u8 value;
};

void put32(u8* at, u32 v) {
    std::memcpy(at, &v, 4);
}

u32 get32(const u8* at) {
    u32 v;
    std::memcpy(&v, at, 4);
    return v;
}

// The plain packer: runs into a table, literal spans into a scratch buffer, then the block.
u32 plainPack(const u8* data, u32 n, u8* out, std::vector<PlainRun>& runs, std::vector<u8>& literals) {
    runs.clear();
    literals.resize(n);
    u32 lit = 0, spanStart = 0;
    for (u32 i = 0; i < n;) {
        u32 end = i + 1, limit = i + std::min<u32>(n - i, 65535);
        while (end < limit && data[end] == data[i])
            ++end;
        if (end - i >= 8) {
            std::memcpy(literals.data() + lit, data + spanStart, i - spanStart);
            lit += i - spanStart;
            runs.push_back({i, u16(end - i), data[i]});
            spanStart = end;
        }
        i = end;
    }
    std::memcpy(literals.data() + lit, data + spanStart, n - spanStart);
    lit += n - spanStart;
    u8* at = out + 8;
    for (const PlainRun& r : runs) {
        put32(at, r.position);
        std::memcpy(at + 4, &r.length, 2);
        at[6] = r.value;
        at += 7;
    }
    std::memcpy(at, literals.data(), lit);
    const u32 size = u32(at + lit - out);
    put32(out, size);
    put32(out + 4, u32(runs.size()));
    return size;
}

void plainUnpack(const u8* block, u8* out) {
    const u32 count = get32(block + 4);
    const u32 size = get32(block);
    const u8* run = block + 8;
    const u8* literal = run + 7 * count;
    u32 written = 0;
    for (u32 i = 0; i < count; ++i, run += 7) {
        const u32 position = get32(run);
        u16 length;
        std::memcpy(&length, run + 4, 2);
        std::memcpy(out + written, literal, position - written);
        literal += position - written;
        std::memset(out + position, run[6], length);
        written = position + length;
    }
    std::memcpy(out + written, literal, size_t(block + size - literal));
}

void BM_PackUnpackLayer(benchmark::State& state) {
    const u32 n = u32(record().size());
    std::vector<u8> a(PackedRunsHeaderBytes + n), b(PackedRunsHeaderBytes + n);
    std::copy(record().begin(), record().end(), a.begin() + PackedRunsHeaderBytes);
    for (auto _ : state) {
        const u32 size = PackRunsInPlace(a.data(), n);
        PackedRunsInfo info = CheckPackedRuns(a.data(), size, n);
        UnpackRuns(a.data(), info, b.data() + PackedRunsHeaderBytes);
        std::swap(a, b);
        benchmark::DoNotOptimize(a.data());
    }
    state.counters["packed"] = double(PackRunsInPlace(a.data(), n));
}

void BM_PlainPackUnpackLayer(benchmark::State& state) {
    const u32 n = u32(record().size());
    std::vector<u8> data = record(), block(PackedRunsHeaderBytes + n);
    std::vector<PlainRun> runs;
    std::vector<u8> literals;
    for (auto _ : state) {
        plainPack(data.data(), n, block.data(), runs, literals);
        plainUnpack(block.data(), data.data());
        benchmark::DoNotOptimize(data.data());
    }
    state.counters["packed"] = double(plainPack(data.data(), n, block.data(), runs, literals));
}

constexpr u32 kGlyphW = 20, kGlyphH = 32;

// The one application and graph server of the program.
struct Engine {
    aApplication app;
    std::unique_ptr<aGraphServer> graph = std::make_unique<aGraphServer>(1024, 768, false, true);
    bool ready() const { return !graph->getFatalError(); }
};

Engine& engine() {
    static Engine e;
    return e;
}

struct Scene {
    aGraphServer* graph = engine().graph.get();
    bench::TempFolder folder{"bench_wordsbooks"};
    std::unique_ptr<cLetterBoard> board;
    std::unique_ptr<aFont> font;
    // Made once the graph server stands: a canvas takes the server it finds when it is made.
    std::unique_ptr<aGDI> gdi;

    struct Cell {
        f32 x, glyphX, y;
        char ch;
        u32 color;
        bool underline;
    };
    std::vector<Cell> cells;

    Scene() {
        if (!engine().ready())
            return;
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
        folder.write("glyphs.png", imagefiles::text(imagefiles::png(16 * kGlyphW, 6 * kGlyphH, pixels)));
        folder.write("board.fnt", description);
        board = std::make_unique<cLetterBoard>(folder.path + "board.fnt", nullptr);
        font = std::make_unique<aFont>(folder.path + "board.fnt");
        gdi = std::make_unique<aGDI>();
        const char* words[] = {"C#FF#E#", "#ILK###", "S#G#R##", "#ROWN##", "##EAM##", "MUG####"};
        for (int i = 0; i < 6; ++i) {
            const std::string name = {'W', char('0' + i)};
            board->AddLine(name, "", i < 3 ? 40.0f : 420.0f, f32(60 + i % 3 * 60), false);
            board->SetLineText(name, words[i]);
        }
        board->AddLine("THEME", "", 40, 260, false);
        board->SetLineText("THEME", "##########");
        board->AddLine("chars", "", 40, 340, true);
        board->SetLineText("chars", "ABCDEFGHIJKLMNOPQRSTUVWXYZ");
        board->SelectLine("chars");
        for (int i = 0; i < 26; i += 3)
            board->SetCellOpen(i, false);
        board->SetLineDimmed("W5", true);
        board->SetScale(0.9f);
    }
    // The cells as the board shows them, in its colours, read back from its own lines.
    void listCells() {
        const f32 size = f32(kGlyphH) * 0.9f;
        for (const char* name : {"THEME", "W0", "W1", "W2", "W3", "W4", "W5", "chars"}) {
            board->SelectLine(name);
            const SpyPoint at = board->GetLinePos(name);
            for (i32 i = 0; i < board->GetCellCount(); ++i) {
                const u8 state = board->GetCellState(i);
                const u32 color = state & cLetterBoard::Dimmed     ? cLetterBoard::DimmedColor
                                  : !(state & cLetterBoard::Open)  ? cLetterBoard::UsedColor
                                  : !(state & cLetterBoard::Shown) ? cLetterBoard::HiddenColor
                                                                   : cLetterBoard::ShownColor;
                const char ch = board->GetCellChar(i);
                const f32 x = at.x + f32(i) * 0.7f * size;
                const f32 glyph = font->getTextSize(std::string_view(&ch, 1)).width;
                cells.push_back(
                    {x, x + (0.65f * size - glyph) / 2, at.y, ch, color, ch != ' ' || !(state & 2)});
            }
        }
    }
};

Scene& scene() {
    static Scene s;
    return s;
}

void BM_BoardRender(benchmark::State& state) {
    Scene& s = scene();
    if (!s.board)
        return state.SkipWithError("no graphics device");
    for (auto _ : state)
        bench::finishedFrame(*s.graph, [&] { s.board->Render(); });
}

void BM_PlainGlyphsAndBars(benchmark::State& state) {
    Scene& s = scene();
    if (!s.board)
        return state.SkipWithError("no graphics device");
    s.font->setScale(0.9f);
    if (s.cells.empty())
        s.listCells();
    const f32 size = f32(kGlyphH) * 0.9f;
    for (auto _ : state)
        bench::finishedFrame(*s.graph, [&] {
            for (const Scene::Cell& c : s.cells) {
                s.font->color = c.color;
                s.font->print(c.glyphX, c.y, std::string_view(&c.ch, 1));
                s.gdi->color = c.color;
                if (c.underline)
                    s.gdi->drawRect(c.x, c.y + size, 0.65f * size, 0.1f * size, true);
            }
        });
}

// ---- The word machine's record ----

// The machine with its members in reach of the baseline.
struct Machine : cCapOJoePuzzleRoom {
    using cCapOJoePuzzleRoom::FoundMark;
    using cCapOJoePuzzleRoom::m_Alphabet;
    using cCapOJoePuzzleRoom::m_bFromLeft;
    using cCapOJoePuzzleRoom::m_bGoingIn;
    using cCapOJoePuzzleRoom::m_Board;
    using cCapOJoePuzzleRoom::m_bOutOfTokens;
    using cCapOJoePuzzleRoom::m_bPausedCopy;
    using cCapOJoePuzzleRoom::m_bSolutionMode;
    using cCapOJoePuzzleRoom::m_bTicketMoving;
    using cCapOJoePuzzleRoom::m_bWon;
    using cCapOJoePuzzleRoom::m_CoinItems;
    using cCapOJoePuzzleRoom::m_CoinPool;
    using cCapOJoePuzzleRoom::m_CurrentTest;
    using cCapOJoePuzzleRoom::m_FoundMarks;
    using cCapOJoePuzzleRoom::m_FoundMarkTime;
    using cCapOJoePuzzleRoom::m_FoundSinceBonus;
    using cCapOJoePuzzleRoom::m_GroupNames;
    using cCapOJoePuzzleRoom::m_LampRadius;
    using cCapOJoePuzzleRoom::m_LettersPerCoin;
    using cCapOJoePuzzleRoom::m_LettersToPick;
    using cCapOJoePuzzleRoom::m_LightsLeft;
    using cCapOJoePuzzleRoom::m_LightsRight;
    using cCapOJoePuzzleRoom::m_LightsSlot;
    using cCapOJoePuzzleRoom::m_MoneyHoleSpeed;
    using cCapOJoePuzzleRoom::m_OpenAtStart;
    using cCapOJoePuzzleRoom::m_pCountInfo;
    using cCapOJoePuzzleRoom::m_pMoneyHole;
    using cCapOJoePuzzleRoom::m_pMoneyHoleLeft;
    using cCapOJoePuzzleRoom::m_pMoneyHoleRight;
    using cCapOJoePuzzleRoom::m_pMoneyItem;
    using cCapOJoePuzzleRoom::m_pRollingCoin;
    using cCapOJoePuzzleRoom::m_pTicket;
    using cCapOJoePuzzleRoom::m_pTicketHole;
    using cCapOJoePuzzleRoom::m_SavedSolution;
    using cCapOJoePuzzleRoom::m_SolutionLine;
    using cCapOJoePuzzleRoom::m_TargetTest;
    using cCapOJoePuzzleRoom::m_Tests;
    using cCapOJoePuzzleRoom::m_ThemeBoardPos;
    using cCapOJoePuzzleRoom::m_ThemePos;
    using cCapOJoePuzzleRoom::m_TicketHoleSpeed;
};

struct MachineRooms : CRoomsManager {
    CRoomBase* MakeRoom(const std::string& className) override {
        return className == Machine::GetClassStaticName() ? new Machine : CreateRoom(className);
    }
};

// The demo's town, loaded as the game loads an investigation, with its machine's game won.
struct Town {
    std::unique_ptr<CResManager> res;
    MachineRooms rooms;
    Machine* machine = nullptr;
    bench::TempFolder folder{"bench_wordsbooks_record"};

    Town() {
        if (!engine().ready())
            return;
        cMain::SetGameAssigns(engine().app.getFileServer(), "English",
                              std::string(RVH_DEMO_DATA) + "GameData/");
        res = std::make_unique<CResManager>(false);
        rooms.LoadSharedRoomsList(nullptr, nullptr);
        rooms.Init("investigations:Town/", "Town");
        res->BeginLoading();
        while (!res->isDone())
            res->LoadStep();
        rooms.AfterLoadInitRooms("investigations:Town/");
        rooms.ResetRooms("investigations:Town/");
        machine = dynamic_cast<Machine*>(rooms.GetRoom("zoom_CapOJoe"));
        if (machine)
            machine->ProcessAutoActions();
    }
    ~Town() { rooms.Clear(); }
};

Town& town() {
    static Town t;
    return t;
}

struct Host : SaveLoadEntity {
    Host() : SaveLoadEntity("zoom_CapOJoe") {}
    u8* SaveSelf(SaveLoadSystem& sys, u8* pos) override { return save(sys, pos); }
    std::function<u8*(SaveLoadSystem&, u8*)> save;
};

// Saves with `save` into a stream begun for it and loads what it wrote with `load` from a record in
// memory, as both sides do each iteration.
template <class Save, class Load> void roundTrip(const std::string& path, Save save, Load load) {
    std::vector<u8> bytes;
    Host host;
    host.save = [&](SaveLoadSystem& sys, u8* pos) {
        u8* end = save(sys, pos);
        bytes.assign(pos, end);
        return end;
    };
    SaveLoadSystem out;
    out.BeginSave(path, 1);
    out.SaveEntity(host);
    SaveLoadSystem in;
    u8* data = in.BeginMemoryRecord(u32(bytes.size()));
    std::memcpy(data, bytes.data(), bytes.size());
    load(in, static_cast<const u8*>(data));
    benchmark::DoNotOptimize(bytes.data());
}

// What the baseline reads back: the machine's fields in plain containers.
struct Plain {
    std::vector<std::string> lineNames, lineTexts, notes;
    std::vector<f32> floats;
    std::vector<u32> ints;
    std::vector<std::string> strings;
    std::vector<CSpyItem*> refs;
};

u8* writeRef(SaveLoadSystem& sys, u8* pos, const CSpyItem* item) {
    return sys.writeString(pos, item ? item->GetFullName() : std::string());
}
const u8* readRef(SaveLoadSystem& sys, const u8* pos, Plain& out) {
    std::string name;
    pos = sys.readString(pos, name);
    out.refs.push_back(name.empty() ? nullptr : town().rooms.GetItemByFullName(name));
    return pos;
}

// The board's lines as the board keeps them: name, place, cells and their states, two places, a note, a
// flag; then the board's font, caret and repeater values.
u8* plainBoardSave(SaveLoadSystem& sys, u8* pos, Machine& m) {
    pos = sys.writeU32(pos, 0xFFFFFFFF);
    pos = sys.writeF32(pos, 0.9f);
    pos = sys.writeU32(pos, 0xFFFFFFFF);
    std::vector<std::string> names = m.m_GroupNames;
    names.push_back("chars");
    std::sort(names.begin(), names.end());
    for (const std::string& name : names) {
        m.m_Board.SelectLine(name);
        const SpyPoint at = m.m_Board.GetLinePos(name);
        pos = sys.writeString(pos, name);
        pos = sys.writeF32(sys.writeF32(pos, at.x), at.y);
        pos = sys.writeU32(pos, u32(m.m_Board.GetCellCount()));
        for (i32 i = 0; i < m.m_Board.GetCellCount(); ++i)
            pos = sys.writeU8(sys.writeU8(pos, u8(m.m_Board.GetCellChar(i))), m.m_Board.GetCellState(i));
        pos = sys.writeU32(sys.writeU32(pos, 0), 0);
        pos = sys.writeString(pos, "");
        pos = sys.writeBool(pos, name == "chars");
    }
    pos = sys.writeBool(sys.writeF32(pos, 0), false);
    pos = sys.writeU32(sys.writeU32(pos, 0), 0);
    for (int i = 0; i < 3; ++i)
        pos = sys.writeF32(pos, 0);
    return sys.writeU32(pos, 0xFFFFFFFF);
}

const u8* plainBoardLoad(SaveLoadSystem& sys, const u8* pos, Plain& out, size_t lines) {
    u32 u = 0;
    f32 f = 0;
    pos = sys.readF32(sys.readU32(pos, u), f);
    pos = sys.readU32(pos, u);
    for (size_t l = 0; l < lines; ++l) {
        std::string name, note, text;
        pos = sys.readString(pos, name);
        pos = sys.readF32(sys.readF32(pos, f), f);
        u32 count = 0;
        pos = sys.readU32(pos, count);
        for (u32 i = 0; i < count; ++i) {
            u8 ch = 0, state = 0;
            pos = sys.readU8(sys.readU8(pos, ch), state);
            text += char(ch);
        }
        pos = sys.readU32(sys.readU32(pos, u), u);
        pos = sys.readString(pos, note);
        u8 flag = 0;
        pos = sys.readU8(pos, flag);
        out.lineNames.push_back(name);
        out.lineTexts.push_back(text);
        out.notes.push_back(note);
    }
    u8 b = 0;
    pos = sys.readU8(sys.readF32(pos, f), b);
    pos = sys.readU32(sys.readU32(pos, u), u);
    for (int i = 0; i < 3; ++i)
        pos = sys.readF32(pos, f);
    return sys.readU32(pos, u);
}

u8* plainLights(SaveLoadSystem& sys, u8* pos, const cAnimatedLights& lights, bool wave) {
    pos = sys.writeU32(pos, lights.current);
    pos = sys.writeU32(pos, u32(lights.lights.size()));
    for (const cAnimatedLights::Light& light : lights.lights)
        pos = sys.writeF32(sys.writeF32(sys.writeF32(pos, light.x), light.y), light.level);
    pos = sys.writeF32(sys.writeBool(pos, lights.running), lights.base);
    if (wave) {
        const auto& w = static_cast<const cAnimatedLightsWave&>(lights);
        pos = sys.writeF32(sys.writeF32(pos, w.lastStartLevel), w.waveLength);
    }
    return pos;
}

const u8* plainLightsLoad(SaveLoadSystem& sys, const u8* pos, Plain& out, bool wave) {
    u32 current = 0, count = 0;
    pos = sys.readU32(sys.readU32(pos, current), count);
    for (u32 i = 0; i < count * 3; ++i) {
        f32 f = 0;
        pos = sys.readF32(pos, f);
        out.floats.push_back(f);
    }
    u8 running = 0;
    f32 f = 0;
    pos = sys.readF32(sys.readU8(pos, running), f);
    if (wave)
        pos = sys.readF32(sys.readF32(pos, f), f);
    return pos;
}

// A menu's record: shown byte, background and hovered item, its plain items, its entries' two items.
u8* plainMenu(SaveLoadSystem& sys, u8* pos, Machine& m, const std::vector<const char*>& plain,
              const std::vector<const char*>& entries) {
    pos = sys.writeBool(pos, false);
    pos = writeRef(sys, pos, m.GetItem(plain.empty() ? "MESSAGE_MENU" : "INPUT_MESSAGE"));
    pos = writeRef(sys, pos, nullptr);
    pos = sys.writeU32(pos, u32(plain.size()));
    for (const char* name : plain)
        pos = writeRef(sys, pos, m.GetItem(name));
    for (const char* name : entries)
        pos = writeRef(sys, pos, m.GetItem(name));
    return pos;
}

const u8* plainMenuLoad(SaveLoadSystem& sys, const u8* pos, Plain& out, size_t entryItems) {
    u8 shown = 0;
    pos = readRef(sys, readRef(sys, sys.readU8(pos, shown), out), out);
    u32 count = 0;
    pos = sys.readU32(pos, count);
    for (u32 i = 0; i < count + entryItems; ++i)
        pos = readRef(sys, pos, out);
    return pos;
}

const std::vector<const char*> kPlainOfDialog = {"INPUT_STAR1", "INPUT_STAR2", "INPUT_CAPTION",
                                                 "INPUT_CAPTION1"};
const std::vector<const char*> kDialogEntries = {"BTN_CANCEL", "BTN_CANCEL_PRESSED", "BTN_ENTER_SOLUTION",
                                                 "BTN_ENTER_SOLUTION_PRESSED"};

u8* plainSave(SaveLoadSystem& sys, u8* pos, Machine& m) {
    pos = m.CRoomBase::SaveSelf(sys, pos);
    pos = plainBoardSave(sys, pos, m);
    pos = sys.writeString(pos, m.m_Alphabet);
    pos = sys.writeU16(pos, u16(m.m_CurrentTest));
    pos = sys.writeString(pos, m.m_SolutionLine);
    pos = sys.writeU16(pos, m.m_FoundSinceBonus);
    pos = sys.writeI32(pos, m.m_TargetTest);
    pos =
        sys.writeU16(sys.writeU16(sys.writeU16(pos, m.m_LettersToPick), m.m_OpenAtStart), m.m_LettersPerCoin);
    pos = sys.writeBool(pos, m.m_bSolutionMode);
    pos = sys.writeString(pos, m.m_SavedSolution);
    pos = sys.writeBool(pos, m.m_bWon);
    pos = sys.writeF32(sys.writeF32(sys.writeU16(sys.writeU16(sys.writeBool(pos, false), 0), 3), 1.2f), 0);
    for (const CSpyItem* item : {m.m_pMoneyHole, m.m_pMoneyHoleLeft, m.m_pMoneyHoleRight, m.m_pRollingCoin})
        pos = writeRef(sys, pos, item);
    pos = sys.writeBool(sys.writeF32(sys.writeBool(pos, m.m_bFromLeft), m.m_MoneyHoleSpeed), m.m_bGoingIn);
    pos = sys.writeU32(pos, u32(m.m_CoinPool.size()));
    for (const CSpyItem* coin : m.m_CoinPool)
        pos = writeRef(sys, pos, coin);
    pos = sys.writeU32(pos, u32(m.m_CoinItems.size()));
    for (const CSpyItem* coin : m.m_CoinItems)
        pos = writeRef(sys, pos, coin);
    pos = writeRef(sys, writeRef(sys, pos, m.m_pTicket), m.m_pTicketHole);
    pos = sys.writeBool(sys.writeF32(pos, m.m_TicketHoleSpeed), m.m_bTicketMoving);
    pos = sys.writeU32(pos, u32(m.m_FoundMarks.size()));
    for (const Machine::FoundMark& mark : m.m_FoundMarks)
        pos = sys.writeF32(sys.writeF32(sys.writeF32(pos, mark.x), mark.y), mark.age);
    pos = sys.writeF32(pos, m.m_FoundMarkTime);
    pos = plainLights(sys, pos, m.m_LightsLeft, true);
    pos = plainLights(sys, pos, m.m_LightsRight, true);
    pos = plainLights(sys, pos, m.m_LightsSlot, false);
    pos = plainMenu(sys, pos, m, kPlainOfDialog, kDialogEntries);
    for (f32 v : {m.m_ThemePos.x, m.m_ThemePos.y, m.m_ThemeBoardPos.x, m.m_ThemeBoardPos.y})
        pos = sys.writeF32(pos, v);
    pos = plainMenu(sys, pos, m, {}, {});
    pos = sys.writeU32(sys.writeF32(pos, m.m_LampRadius), 0xFFFFFFFF);
    pos = writeRef(sys, writeRef(sys, pos, m.m_pMoneyItem), m.m_pCountInfo);
    pos = sys.writeBool(sys.writeBool(pos, m.m_bOutOfTokens), m.m_bPausedCopy);
    pos = sys.writeU32(pos, u32(m.m_Tests.size()));
    for (const auto& test : m.m_Tests) {
        pos = sys.writeU32(pos, u32(test.words.size()));
        for (const auto& entry : test.words)
            pos = sys.writeString(sys.writeString(pos, entry.word), entry.display);
        pos = sys.writeString(sys.writeString(pos, test.autoShow), test.noStartLetters);
    }
    return pos;
}

void plainLoad(SaveLoadSystem& sys, const u8* pos, Machine& m, Plain& out) {
    pos = m.CRoomBase::LoadSelf(sys, pos);
    pos = plainBoardLoad(sys, pos, out, m.m_GroupNames.size() + 1);
    auto string = [&] {
        std::string s;
        pos = sys.readString(pos, s);
        out.strings.push_back(s);
    };
    auto number = [&](int bytes) {
        u32 v = 0;
        if (bytes == 1) {
            u8 b = 0;
            pos = sys.readU8(pos, b);
            v = b;
        } else if (bytes == 2) {
            u16 h = 0;
            pos = sys.readU16(pos, h);
            v = h;
        } else {
            pos = sys.readU32(pos, v);
        }
        out.ints.push_back(v);
    };
    auto real = [&] {
        f32 f = 0;
        pos = sys.readF32(pos, f);
        out.floats.push_back(f);
    };
    string();
    number(2);
    string();
    number(2), number(4), number(2), number(2), number(2), number(1);
    string();
    number(1), number(1), number(2), number(2), real(), real();
    for (int i = 0; i < 4; ++i)
        pos = readRef(sys, pos, out);
    number(1), real(), number(1);
    for (int list = 0; list < 2; ++list) {
        u32 count = 0;
        pos = sys.readU32(pos, count);
        for (u32 i = 0; i < count; ++i)
            pos = readRef(sys, pos, out);
    }
    pos = readRef(sys, readRef(sys, pos, out), out);
    real(), number(1);
    u32 marks = 0;
    pos = sys.readU32(pos, marks);
    for (u32 i = 0; i < marks * 3; ++i)
        real();
    real();
    pos = plainLightsLoad(sys, pos, out, true);
    pos = plainLightsLoad(sys, pos, out, true);
    pos = plainLightsLoad(sys, pos, out, false);
    pos = plainMenuLoad(sys, pos, out, kDialogEntries.size());
    for (int i = 0; i < 4; ++i)
        real();
    pos = plainMenuLoad(sys, pos, out, 0);
    real(), number(4);
    pos = readRef(sys, readRef(sys, pos, out), out);
    number(1), number(1);
    u32 tests = 0;
    pos = sys.readU32(pos, tests);
    for (u32 t = 0; t < tests; ++t) {
        u32 words = 0;
        pos = sys.readU32(pos, words);
        for (u32 w = 0; w < words * 2 + 2; ++w)
            string();
    }
}

void BM_MachineSaveLoad(benchmark::State& state) {
    Machine* m = town().machine;
    if (!m)
        return state.SkipWithError("no town");
    const std::string path = town().folder.path + "ours.save";
    for (auto _ : state)
        roundTrip(
            path, [m](SaveLoadSystem& sys, u8* pos) { return m->SaveSelf(sys, pos); },
            [m](SaveLoadSystem& sys, const u8* pos) { m->LoadSelf(sys, pos); });
}

void BM_PlainMachineFields(benchmark::State& state) {
    Machine* m = town().machine;
    if (!m)
        return state.SkipWithError("no town");
    const std::string path = town().folder.path + "plain.save";
    for (auto _ : state) {
        Plain plain;
        roundTrip(
            path, [m](SaveLoadSystem& sys, u8* pos) { return plainSave(sys, pos, *m); },
            [m, &plain](SaveLoadSystem& sys, const u8* pos) { plainLoad(sys, pos, *m, plain); });
        benchmark::DoNotOptimize(plain.refs.data());
    }
}

// The machine may be shared: repetitions in random order, compared by their medians.
BENCHMARK(BM_BoardRender)->Unit(benchmark::kMicrosecond)->Repetitions(5);
BENCHMARK(BM_PlainGlyphsAndBars)->Unit(benchmark::kMicrosecond)->Repetitions(5);
BENCHMARK(BM_MachineSaveLoad)->Unit(benchmark::kMicrosecond)->Repetitions(5);
BENCHMARK(BM_PlainMachineFields)->Unit(benchmark::kMicrosecond)->Repetitions(5);
BENCHMARK(BM_PackUnpackLayer)->Unit(benchmark::kMicrosecond)->Repetitions(5);
BENCHMARK(BM_PlainPackUnpackLayer)->Unit(benchmark::kMicrosecond)->Repetitions(5);

} // namespace

int main(int argc, char** argv) {
    auto figures = bench::run(argc, argv);
    bench::printRatio(figures, "RLE pack + unpack of a half-rubbed 1024x1024 layer", "BM_PackUnpackLayer",
                      "BM_PlainPackUnpackLayer", 1.3);
    bench::printRatio(figures, "Board Render, 81 cells", "BM_BoardRender", "BM_PlainGlyphsAndBars", 1.3);
    bench::printRatio(figures, "Word machine save + load", "BM_MachineSaveLoad", "BM_PlainMachineFields",
                      1.5);
    return 0;
}
