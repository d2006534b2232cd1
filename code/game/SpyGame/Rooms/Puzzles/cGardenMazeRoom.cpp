#include "game/SpyGame/Rooms/Puzzles/cGardenMazeRoom.h"

#include "game/CResManager.h"
#include "game/SaveLoadSystem.h"
#include "game/SpyGame/CSpyItem.h"
#include "game/SpyGame/Rooms/CRoomsManager.h"
#include "game/SpyGame/Rooms/Puzzles/cGardenMazePlanner.h"
#include "game/SpyGame/Rooms/Toolkit/PuzzleHelpers.h"
#include "game/SpyGame/Rooms/Toolkit/PuzzleStrings.h"
#include "game/SpyGame/SaveCounts.h"
#include "tk2v/sound/aSound.h"
#include "tk2v/util/log.h"

#include <boost/lexical_cast.hpp>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

// The fewest bytes a walker's record takes: empty segment, poses, path and footprint, then its words.
constexpr u32 MinWalkerRecord = 4 + 5 + 8 + 4 + 5 * 4;

} // namespace

cGardenMazeRoom::cGardenMazeRoom() {
    m_Propertys.SolveButtonShown = true;
}

cGardenMazeRoom::~cGardenMazeRoom() {
    StopWorkers(false);
}

void cGardenMazeRoom::AfterLoadInit() {
    const bool ready = IsLoadInitDue();
    CRoomBase::AfterLoadInit();
    if (!ready)
        return;
    ReadMapInfo();
    ReadTimers();
    ReadGates();
    ReadCells();
    m_Overlay.SetGrid(&m_Grid, i32(m_CellWidth), i32(m_CellHeight));
    LoadPoses(m_Player, "1");
    LoadPoses(m_Tez, "2");
    m_RoomFolder = m_DataFolder;
    m_pStepsSound = GetSound("rosary_steps");
    m_bStepsPlaying = false;
}

void cGardenMazeRoom::ReadMapInfo() {
    if (!m_Ini.selectSection("MapInfo"))
        return;
    m_CellWidth = u32(m_Ini.getInt("CellWidth"));
    m_CellHeight = u32(m_Ini.getInt("CellHeight"));
    m_UnitSize = u32(m_Ini.getInt("UnitSize"));
    m_StartCell = m_Ini.getString("StartCell");
    m_bEditorMode = m_Ini.getInt("EditorMode") != 0;
}

void cGardenMazeRoom::ReadTimers() {
    if (!m_Ini.selectSection("Timers"))
        return;
    m_OpenDoorTime = ReadSeconds("OpenDoor");
    m_CloseDoorTime = ReadSeconds("CloseDoor");
    m_Tez.speed = ReadSeconds("TezSpeed");
    m_Player.speed = ReadSeconds("MarwennSpeed");
}

// Whole text as a number or nothing; a text that is no number must not stop the room.
f32 cGardenMazeRoom::ReadSeconds(const char* key) {
    const std::string text = m_Ini.getString(key);
    f32 value = 0;
    if (!text.empty() && !boost::conversion::try_lexical_convert(text, value)) {
        log("cGardenMazeRoom::AfterLoadInit(). \"%s\" of [Timers] is not a number: \"%s\"", key,
            text.c_str());
        value = 0;
    }
    return value;
}

void cGardenMazeRoom::ReadGates() {
    m_Gates.clear();
    if (!m_Ini.selectSection("Doors"))
        return;
    std::vector<std::string> ids;
    m_Ini.getStringList(ids, "ids");
    for (const std::string& id : ids) {
        Gate& gate = m_Gates.emplace_back();
        gate.id = id;
        std::sscanf(m_Ini.getString(id).c_str(), "%f %f", &gate.dx, &gate.dy);
        gate.openStill = GetItem("OTKRVOROTA" + id);
        gate.closedStill = GetItem("ZAKRVOROTA" + id);
        gate.animation = GetItem(id);
    }
}

void cGardenMazeRoom::ReadCells() {
    m_Cells.clear();
    if (!m_Ini.selectSection("Cells"))
        return;
    std::vector<std::string> ids;
    m_Ini.getStringList(ids, "ids");
    for (const std::string& id : ids) {
        Cell& cell = m_Cells.emplace_back();
        cell.id = id;
        cell.area = GetItem("CELL" + id);
        std::vector<i32> sides;
        m_Ini.getIntList(sides, id);
        for (i32 side : sides)
            if (side >= 0 && side < 4)
                cell.openSides |= u8(1 << side);
        MatchGates(cell);
    }
}

// A gate belongs to the cells whose id starts with its id's first or second character; the cell's
// "d" list names the side it lies on.
void cGardenMazeRoom::MatchGates(Cell& cell) {
    std::vector<i32> pairs;
    bool read = false;
    for (size_t g = 0; g < m_Gates.size(); ++g) {
        const std::string& id = m_Gates[g].id;
        if (cell.id.empty() || id.find(cell.id[0]) > 1)
            continue;
        if (!read)
            m_Ini.getIntList(pairs, "d" + cell.id);
        read = true;
        size_t at = 0;
        while (at < pairs.size() && DoubleToString(pairs[at]) != id)
            at += 2;
        const i32 side = at + 1 < pairs.size() ? pairs[at + 1] : -1;
        if (side >= 0 && side < 4)
            cell.gates[side] = i32(g);
        else
            log("Door Find Error! %s ", id.c_str());
    }
}

void cGardenMazeRoom::LoadPoses(CMazeWalker& walker, const char* number) {
    for (const char* suffix : CMazeWalker::PoseSuffixes)
        walker.animations.AddItem(GetItem(std::string("ANIMATION") + number + suffix));
}

void cGardenMazeRoom::Reset() {
    m_pPendingGateSound = nullptr;
    if (m_State <= ResourcesQueued)
        return;
    StopWorkers(false);
    CRoomBase::Reset();
    m_SpareTime = 0;
    m_Player.Reset();
    m_Tez.Reset();
    for (Gate& gate : m_Gates)
        gate.open = true;
    m_TezSteps.clear();
    m_bSuspectShown = false;
    m_bFresh = true;
    m_bTaken = false;
    m_Grid.LoadMap(m_RoomFolder + "garden.map");
    for (Gate& gate : m_Gates)
        m_Overlay.GetArea(gate.door, LocalRect(gate.closedStill));
    BuildEdges();
}

// The cells along each side of the maze, clockwise: up the left side, along the top, down the right
// side and back along the bottom, for cells listed row by row from the top left.
void cGardenMazeRoom::BuildEdges() {
    m_Edges = {};
    const auto first = std::find_if(m_Cells.begin(), m_Cells.end(), [](const Cell& c) { return c.area; });
    if (first == m_Cells.end())
        return;
    const f32 level = f32(first->area->GetWidth()) / 3;
    SpyPoint low = first->area->GetPos(), high = low;
    for (const Cell& cell : m_Cells)
        if (cell.area) {
            const SpyPoint p = cell.area->GetPos();
            low = {std::min(low.x, p.x), std::min(low.y, p.y)};
            high = {std::max(high.x, p.x), std::max(high.y, p.y)};
        }
    for (size_t i = 0; i < m_Cells.size(); ++i) {
        if (!m_Cells[i].area)
            continue;
        const SpyPoint p = m_Cells[i].area->GetPos();
        const bool on[4] = {std::abs(p.x - low.x) <= level, std::abs(p.x - high.x) <= level,
                            std::abs(p.y - low.y) <= level, std::abs(p.y - high.y) <= level};
        for (u32 side = 0; side < 4; ++side)
            if (on[side])
                m_Edges[side].push_back(i32(i));
    }
    std::reverse(m_Edges[0].begin(), m_Edges[0].end());
    std::reverse(m_Edges[3].begin(), m_Edges[3].end());
}

void cGardenMazeRoom::Enter(const std::string& entryName, CSpyItem* entryItem) {
    CRoomBase::Enter(entryName, entryItem);
    if (!m_bFresh)
        return;
    const Cell* start = FindCell(m_StartCell);
    const SpyPoint c = GetItemCenter(start ? start->area : nullptr);
    m_Player.animations.SetPos(std::round(m_Origin.x + 20 * m_Scale.x), std::round(c.y));
    m_Tez.animations.SetPos(c.x, m_Origin.y + f32(GetHeight()) - 60 * m_Scale.y);
    std::unique_ptr<cGardenMazePlanner> plan = Snapshot();
    plan->WalkWalkerTo(plan->tez, plan->tezStand.centre, c.x, c.y);
    m_Tez.TakeRoute(plan->tez);
    m_bFresh = false;
}

void cGardenMazeRoom::Render() {
    CRoomBase::Render();
    if (m_bEditorMode)
        m_Overlay.DrawWalls(m_Origin, m_Scale.x);
}

void cGardenMazeRoom::StopAmbient() {
    CRoomBase::StopAmbient();
    if (m_pStepsSound)
        m_pStepsSound->stop();
    m_bStepsPlaying = false;
}

void cGardenMazeRoom::SetPosition(SpyPoint position, std::optional<aRect> activeRect) {
    StopWorkers(true);
    CRoomBase::SetPosition(position, activeRect);
}

// Room-local, as the grid lies: items stand where the room is drawn.
aRect cGardenMazeRoom::LocalRect(const CSpyItem* item) const {
    if (!item)
        return {};
    const SpyPoint pos = item->GetPos();
    const SpyPoint local = m_Transform.ScreenToLocal(pos.x, pos.y);
    const SpyPoint size = m_Transform.UnscaleSize(item->GetWidth(), item->GetHeight());
    auto clampI16 = [](f32 v) { return i16(std::clamp(TruncToInt(v), -32768, 32767)); };
    auto clampU16 = [](f32 v) { return u16(std::clamp(TruncToInt(v), 0, 65535)); };
    return {clampI16(local.x), clampI16(local.y), clampU16(size.x), clampU16(size.y)};
}

aRect cGardenMazeRoom::WallRect(const Gate& gate) const {
    const aRect r = LocalRect(gate.closedStill);
    return {i16(r.x + r.w / 4), i16(r.y + r.h / 4), u16(r.w / 2), u16(r.h / 2)};
}

const cGardenMazeRoom::Cell* cGardenMazeRoom::FindCell(const std::string& id) const {
    const auto it = std::find_if(m_Cells.begin(), m_Cells.end(), [&](const Cell& c) { return c.id == id; });
    return it == m_Cells.end() ? nullptr : &*it;
}

u8* cGardenMazeRoom::SaveSelf(SaveLoadSystem& sys, u8* pos) {
    StopWorkers(true);
    pos = CRoomBase::SaveSelf(sys, pos);
    pos = sys.writeBool(pos, m_bFresh);
    if (m_bFresh)
        return pos;
    pos = sys.writeBool(pos, m_bSuspectShown);
    pos = sys.writeF32(pos, m_SpareTime);
    pos = sys.writeU32(pos, m_CellWidth);
    pos = sys.writeU32(pos, m_CellHeight);
    pos = sys.writeU32(pos, m_UnitSize);
    pos = sys.writeString(pos, m_StartCell);
    for (const Gate& gate : m_Gates) {
        pos = sys.writeF32(pos, gate.dx);
        pos = sys.writeF32(pos, gate.dy);
        pos = sys.writeBool(pos, gate.open);
    }
    pos = sys.writeU32(pos, 0);
    pos = sys.writeF32(pos, m_OpenDoorTime);
    pos = sys.writeF32(pos, m_CloseDoorTime);
    pos = m_Player.Save(sys, pos);
    pos = m_Tez.Save(sys, pos);
    pos = sys.writeU32(pos, u32(m_TezSteps.size()));
    for (const CMazeWalker& step : m_TezSteps)
        pos = step.Save(sys, pos);
    pos = sys.writeBool(pos, m_bTaken);
    pos = sys.writeBool(pos, m_bBusy);
    pos = sys.writeBool(pos, m_bEditorMode);
    pos = sys.writeString(pos, m_RoomFolder);
    pos = m_Grid.Save(sys, pos);
    return sys.writeBool(pos, m_bStepsPlaying);
}

const u8* cGardenMazeRoom::LoadSelf(SaveLoadSystem& sys, const u8* pos) {
    StopWorkers(false);
    pos = CRoomBase::LoadSelf(sys, pos);
    pos = sys.readBool(pos, m_bFresh);
    if (m_bFresh || !m_pRoomsManager)
        return pos;
    pos = sys.readBool(pos, m_bSuspectShown);
    pos = sys.readF32(pos, m_SpareTime);
    pos = sys.readU32(pos, m_CellWidth);
    pos = sys.readU32(pos, m_CellHeight);
    pos = sys.readU32(pos, m_UnitSize);
    pos = sys.readString(pos, m_StartCell);
    // The gates' items show their state from their own records, loaded before this one: turning a
    // gate again here would show its animation anew, and the game would not save as it was saved.
    for (Gate& gate : m_Gates) {
        pos = sys.readF32(pos, gate.dx);
        pos = sys.readF32(pos, gate.dy);
        pos = sys.readBool(pos, gate.open);
    }
    u32 unused = 0, steps = 0;
    pos = sys.readU32(pos, unused);
    pos = sys.readF32(pos, m_OpenDoorTime);
    pos = sys.readF32(pos, m_CloseDoorTime);
    const u32 cells = u32(m_Cells.size()), gates = u32(m_Gates.size());
    pos = m_Player.Load(*m_pRoomsManager, sys, pos, cells, gates);
    pos = m_Tez.Load(*m_pRoomsManager, sys, pos, cells, gates);
    m_TezSteps.clear();
    pos = sys.readU32(pos, steps);
    if (!countFits(sys, pos, steps, MinWalkerRecord, "cGardenMazeRoom::LoadSelf()"))
        return pos + sys.bytesLeftInRecord(pos);
    for (u32 i = 0; i < steps; ++i) {
        CMazeWalker& step = m_TezSteps.emplace_back();
        pos = step.Load(*m_pRoomsManager, sys, pos, cells, gates);
    }
    // No worker runs after a load, whatever the record says.
    bool busy = false;
    pos = sys.readBool(pos, m_bTaken);
    pos = sys.readBool(pos, busy);
    pos = sys.readBool(pos, m_bEditorMode);
    pos = sys.readString(pos, m_RoomFolder);
    pos = m_Grid.Load(sys, pos);
    pos = sys.readBool(pos, m_bStepsPlaying);
    if (m_bStepsPlaying && m_pStepsSound)
        m_pStepsSound->play(true);
    return pos;
}
