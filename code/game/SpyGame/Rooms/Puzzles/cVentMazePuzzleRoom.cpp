#include "game/SpyGame/Rooms/Puzzles/cVentMazePuzzleRoom.h"

#include "game/CResManager.h"
#include "game/SaveLoadSystem.h"
#include "game/SpyGame/CSpyItem.h"
#include "game/SpyGame/ItemRefs.h"
#include "game/SpyGame/Rooms/CRoomsManager.h"
#include "game/SpyGame/Rooms/Toolkit/PuzzleHelpers.h"
#include "game/SpyGame/Rooms/Toolkit/PuzzleStrings.h"
#include "game/SpyGame/Rooms/Toolkit/TrajectoryPoints.h"
#include "tk2v/gfx/aApplication.h"
#include "tk2v/input/aInputServer.h"
#include "tk2v/sound/aSound.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <numbers>

namespace {

constexpr u16 WaveLimit = 1000;
// A walk being held on is planned anew only once this many of its cells are behind it.
constexpr u32 StepsBeforeReplan = 4;

i32 Round(f32 value) {
    return TruncToInt(std::round(value));
}

i16 ToI16(i32 value) {
    return i16(std::clamp(value, -32768, 32767));
}

} // namespace

cVentMazePuzzleRoom::cVentMazePuzzleRoom() {
    m_Propertys.SolveButtonShown = true;
}

cVentMazePuzzleRoom::~cVentMazePuzzleRoom() = default;

void cVentMazePuzzleRoom::AfterLoadInit() {
    const bool ready = IsLoadInitDue();
    CRoomBase::AfterLoadInit();
    if (!ready)
        return;
    ReadMapInfo();
    ReadFigure();
    ReadFans();
    m_Overlay.SetGrid(&m_Grid, m_CellWidth, m_CellHeight);
    for (const char* frame : {"U", "IDLEU"})
        m_Figure.AddItem(GetItem(std::string("ANIMATION1") + frame));
    m_pLight = GetItem("LIGHT");
    m_Trajectory.setMode(aTrajectory::Beziers);
    m_pDragon = GetItem("DRAGON");
    m_pExit = GetItem("EXIT");
    m_MapFolder = m_DataFolder;
    m_pStepsSound = GetSound("ventilation_steps");
    m_bStepsPlaying = false;
}

void cVentMazePuzzleRoom::ReadMapInfo() {
    if (!m_Ini.selectSection("MapInfo"))
        return;
    m_CellWidth = m_Ini.getInt("CellWidth");
    m_CellHeight = m_Ini.getInt("CellHeight");
    m_UnitSize = m_Ini.getInt("UnitSize");
    m_bEditorMode = m_Ini.getInt("EditorMode") != 0;
}

void cVentMazePuzzleRoom::ReadFigure() {
    if (!m_Ini.selectSection("Rusca"))
        return;
    auto number = [this](const char* key) { return f32(std::atof(m_Ini.getString(key).c_str())); };
    m_StartX = number("x");
    m_StartY = number("y");
    m_Speed = number("speed");
    m_LightRadius = number("lightR");
    m_Distance = u16(m_Ini.getInt("distance"));
    m_KeyDelta = u16(m_Ini.getInt("keyDelta"));
    m_StartFrame = u32(m_Ini.getInt("state"));
}

void cVentMazePuzzleRoom::ReadFans() {
    m_Fans.clear();
    if (!m_Ini.selectSection("Funs"))
        return;
    const i32 count = m_Ini.getInt("count");
    for (i32 i = 1; i <= count; ++i) {
        const std::string name = "FUN" + DoubleToString(i);
        Fan& fan = m_Fans.emplace_back();
        f32 degrees = 0;
        std::sscanf(m_Ini.getString(name).c_str(), "%f %f %f", &degrees, &fan.dx, &fan.dy);
        fan.angle = degrees / 180 * std::numbers::pi_v<f32>;
        fan.item = GetItem(name);
    }
}

void cVentMazePuzzleRoom::Reset() {
    if (m_State <= ResourcesQueued)
        return;
    CRoomBase::Reset();
    m_Grid.LoadMap(m_MapFolder + "darkway.map");
    if (m_pLight)
        m_pLight->SetScale({m_LightRadius, m_LightRadius}, false);
    m_Figure.Select(i32(m_StartFrame), true);
    m_Figure.SetPos(m_StartX, m_StartY);
    m_Figure.ShiftToCorner();
    m_Figure.Show();
    UpdateLight(0);
    m_Path.Clear();
    m_Trajectory.clear();
    for (const Fan& fan : m_Fans)
        if (fan.item) {
            fan.item->SetRotation(fan.angle);
            const SpyPoint at = fan.item->GetPos();
            fan.item->SetPos(at.x + fan.dx, at.y + fan.dy);
        }
    m_bDragonSeen = m_bExitSeen = m_bBothSeen = false;
}

void cVentMazePuzzleRoom::HandleInput(f32 dt) {
    CRoomBase::HandleInput(dt);
    const aInputServer* input = aApplication::inputServer();
    if (GetItemOnCursor() || !input || !input->isMouseButtonDown(0))
        return;
    if (!m_Path.Empty() && m_Path.GetStep() < StepsBeforeReplan)
        return;
    i32 x = 0, y = 0;
    input->getMousePos(x, y);
    OnClickAt(f32(x), f32(y));
}

u32 cVentMazePuzzleRoom::FrameMove(f32 dt, bool paused) {
    if (m_bEditorMode)
        m_Overlay.RunEditor(m_Transform, 1, m_MapFolder + "darkway.map");
    WalkStep(dt);
    const u32 state = CRoomBase::FrameMove(dt, paused);
    if (m_Path.Empty() && m_Figure.GetCurrentIndex() != Resting) {
        ShowFrame(Resting);
        if (m_pStepsSound)
            m_pStepsSound->stop();
        m_bStepsPlaying = false;
    }
    return state;
}

void cVentMazePuzzleRoom::Render() {
    CRoomBase::Render();
    if (m_bEditorMode)
        m_Overlay.DrawWalls(m_Origin, m_Scale.x);
}

void cVentMazePuzzleRoom::StopAmbient() {
    CRoomBase::StopAmbient();
    if (m_pStepsSound)
        m_pStepsSound->stop();
    m_bStepsPlaying = false;
}

bool cVentMazePuzzleRoom::ProcessAutoActions() {
    SeeDragon();
    SeeExit();
    m_bBothSeen = true;
    return true;
}

bool cVentMazePuzzleRoom::ScreenToCell(SpyPoint point, CGridPath::Cell& cell) const {
    return m_Overlay.ScreenToCell(m_Transform, point.x, point.y, cell);
}

// A path that is found but too long is not kept either: the figure must not walk it.
bool cVentMazePuzzleRoom::TryPath(SpyPoint from, SpyPoint to) {
    m_Path.Clear();
    CGridPath::Cell start, target;
    const bool ok = ScreenToCell(from, start) && ScreenToCell(to, target) &&
                    m_Grid.FindPathWave(start.first, start.second, target.first, target.second, m_Path,
                                        u32(m_UnitSize), WaveLimit) &&
                    !m_Path.Empty() && m_Path.Count() < m_Distance;
    if (!ok)
        m_Path.Clear();
    return ok;
}

// The point itself, then one and two cells to either side of it across and along.
bool cVentMazePuzzleRoom::OnClickAt(f32 x, f32 y) {
    const SpyPoint from = m_Figure.GetCenter();
    const f32 w = f32(m_CellWidth), h = f32(m_CellHeight);
    const SpyPoint tries[] = {{x, y},         {x + w, y},     {x - w, y},     {x, y + h},    {x, y - h},
                              {x + 2 * w, y}, {x - 2 * w, y}, {x, y + 2 * h}, {x, y - 2 * h}};
    for (const SpyPoint& to : tries)
        if (TryPath(from, to)) {
            WalkNextCell();
            return true;
        }
    return false;
}

bool cVentMazePuzzleRoom::WalkNextCell() {
    if (u64(m_Path.GetStep()) + 1 >= m_Path.Count()) {
        m_Path.Clear();
        return false;
    }
    if (!m_pStepsSound || !m_pStepsSound->isPlaying()) {
        m_bStepsPlaying = true;
        if (m_pStepsSound)
            m_pStepsSound->play(true);
    }
    m_Trajectory.clear();
    const SpyPoint centre = m_Figure.GetCenter();
    m_Trajectory.addPoint(Round(centre.x), Round(centre.y));
    m_Path.StepOn();
    const SpyPoint to = m_Overlay.CellToScreen(m_Transform, m_Path.Current());
    m_Trajectory.addPoint(Round(to.x), Round(to.y));
    m_Trajectory.startMove();
    ShowFrame(Crawling);
    return true;
}

bool cVentMazePuzzleRoom::WalkStep(f32 dt) {
    if (m_Path.Empty())
        return false;
    const aTrajectory::State state =
        m_Trajectory.getPointCount() > 0
            ? m_Trajectory.advance(double(m_CellHeight) * double(dt) * double(m_Speed))
            : aTrajectory::Idle;
    if (state != aTrajectory::Idle) {
        f32 x = 0, y = 0;
        double heading = 0;
        m_Trajectory.getPosition(x, y, &heading);
        m_Figure.Select(Crawling, true);
        UpdateLight(heading);
        m_Figure.SetPos(x, y);
        m_Figure.ShiftToCorner();
        CheckSightings(Round(x), Round(y));
        return true;
    }
    m_Trajectory.clear();
    if (!WalkNextCell())
        m_Path.Clear();
    return false;
}

// Another frame of the figure, turned as the one it replaces.
void cVentMazePuzzleRoom::ShowFrame(i32 frame) {
    const CSpyItem* before = m_Figure.GetCurrent();
    const f32 angle = before ? before->GetRotation() : 0;
    m_Figure.Select(frame, true);
    if (CSpyItem* now = m_Figure.GetCurrent())
        now->SetRotation(angle);
}

void cVentMazePuzzleRoom::UpdateLight(double heading) {
    if (!m_pLight)
        return;
    m_pLight->SetRotation(f32(-1.5707963705062866 - heading));
    SetItemCenter(m_pLight, m_Figure.GetCenter());
    const SpyPoint at = m_pLight->GetPos();
    m_pLight->SetPos(at.x + f32(std::cos(heading) * 30 + 10), at.y + f32(std::sin(heading) * 30 - 20));
}

// The two places can only be hit while shown, and are shown only for the test.
void cVentMazePuzzleRoom::CheckSightings(i32 x, i32 y) {
    for (CSpyItem* place : {m_pDragon, m_pExit})
        if (place)
            place->SetVisible(true);
    const bool dragon = !m_bDragonSeen && m_pDragon && m_pDragon->HitTest(ToI16(x), ToI16(y));
    if (dragon)
        SeeDragon();
    if (!dragon && !m_bExitSeen && m_pExit && m_pExit->HitTest(ToI16(x), ToI16(y)))
        SeeExit();
    for (CSpyItem* place : {m_pDragon, m_pExit})
        if (place)
            place->SetVisible(false);
}

void cVentMazePuzzleRoom::SeeDragon() {
    See(m_bDragonSeen, m_bExitSeen, "FOTO_DRAGO", "MSG_SEEDRAGONBEFOREEXIT", "MSG_SEEDRAGONAFTEREXIT");
}

void cVentMazePuzzleRoom::SeeExit() {
    See(m_bExitSeen, m_bDragonSeen, "FOTO_EXIT", "MSG_SEEEXITBEFOREDRAGON", "MSG_SEEEXITAFTERDRAGON");
}

// One place found: its photo, and a message that says whether the other one was found before.
void cVentMazePuzzleRoom::See(bool& seen, bool otherSeen, const char* photo, const char* firstMessage,
                              const char* secondMessage) {
    seen = true;
    if (CSpyItem* item = GetItem(photo))
        item->SetVisible(true);
    ShowMessage(otherSeen ? secondMessage : firstMessage);
    if (otherSeen)
        m_bBothSeen = true;
}

u8* cVentMazePuzzleRoom::SaveSelf(SaveLoadSystem& sys, u8* pos) {
    pos = CRoomBase::SaveSelf(sys, pos);
    pos = sys.writeF32(pos, 0);
    pos = SaveTrajectoryPoints(sys, pos, m_Trajectory);
    pos = m_Figure.SaveSelf(sys, pos);
    pos = SaveItemRef(sys, pos, m_pLight);
    pos = sys.writeF32(pos, m_Speed);
    pos = sys.writeU32(pos, 0);
    pos = sys.writeU16(pos, m_Distance);
    pos = sys.writeU16(pos, m_KeyDelta);
    pos = sys.writeF32(pos, m_LightRadius);
    pos = m_Path.Save(sys, pos);
    pos = sys.writeF32(pos, m_StartX);
    pos = sys.writeF32(pos, m_StartY);
    pos = sys.writeU32(pos, m_StartFrame);
    pos = sys.writeBool(pos, m_bEditorMode);
    pos = sys.writeString(pos, m_MapFolder);
    pos = sys.writeBool(pos, m_bDragonSeen);
    pos = sys.writeBool(pos, m_bExitSeen);
    pos = sys.writeBool(pos, m_bBothSeen);
    return sys.writeBool(pos, m_bStepsPlaying);
}

const u8* cVentMazePuzzleRoom::LoadSelf(SaveLoadSystem& sys, const u8* pos) {
    pos = CRoomBase::LoadSelf(sys, pos);
    if (!m_pRoomsManager)
        return pos;
    f32 spare = 0;
    u32 unused = 0;
    pos = sys.readF32(pos, spare);
    pos = LoadTrajectoryPoints(sys, pos, m_Trajectory, true);
    pos = m_Figure.LoadSelf(*m_pRoomsManager, sys, pos);
    pos = LoadItemRef(*m_pRoomsManager, sys, pos, m_pLight);
    pos = sys.readF32(pos, m_Speed);
    pos = sys.readU32(pos, unused);
    pos = sys.readU16(pos, m_Distance);
    pos = sys.readU16(pos, m_KeyDelta);
    pos = sys.readF32(pos, m_LightRadius);
    pos = m_Path.Load(sys, pos);
    pos = sys.readF32(pos, m_StartX);
    pos = sys.readF32(pos, m_StartY);
    pos = sys.readU32(pos, m_StartFrame);
    pos = sys.readBool(pos, m_bEditorMode);
    pos = sys.readString(pos, m_MapFolder);
    pos = sys.readBool(pos, m_bDragonSeen);
    pos = sys.readBool(pos, m_bExitSeen);
    pos = sys.readBool(pos, m_bBothSeen);
    pos = sys.readBool(pos, m_bStepsPlaying);
    if (m_bStepsPlaying && m_pStepsSound)
        m_pStepsSound->play(true);
    return pos;
}
