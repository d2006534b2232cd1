#include "game/SpyGame/CSpyItem.h"
#include "game/SpyGame/Rooms/Puzzles/cGardenMazeRoom.h"
#include "game/SpyGame/Rooms/Toolkit/PuzzleHelpers.h"
#include "tk2v/gfx/aApplication.h"
#include "tk2v/input/aInputServer.h"
#include "tk2v/sound/aSound.h"

#include <cmath>

// The characters' walking, the gates and the player's clicks; everything here runs on the main thread.

u32 cGardenMazeRoom::FrameMove(f32 dt, bool paused) {
    TakeOverFinishedWorker();
    const SpyPoint playerWas = m_Player.animations.GetPos(), tezWas = m_Tez.animations.GetPos();
    // While a worker plans, the characters stand where its copy has them.
    if (!m_pPlan) {
        if (!AdvanceWalker(m_Player, dt))
            WalkerStep(m_Player, dt);
        const i32 tezCell = m_Tez.cell;
        if (!AdvanceWalker(m_Tez, dt))
            TezNextStep(dt);
        if (tezCell < 0 && m_Tez.cell >= 0 && m_Tez.cell == m_Player.cell)
            StartFlight();
    }
    UpdateStepsSound(!(m_Player.animations.GetPos() == playerWas) || !(m_Tez.animations.GetPos() == tezWas));
    if (m_bTaken && m_Tez.state == CMazeWalker::Idle && !m_bSuspectShown &&
        !(m_Tez.animations.GetPos() == SpyPoint{}))
        m_Tez.animations.SetPos(0, 0);
    if (m_bEditorMode)
        m_Overlay.RunEditor(m_Transform, 0, m_RoomFolder + "garden.map");
    if (aSound* sound = std::exchange(m_pPendingGateSound, nullptr))
        sound->play();
    return CRoomBase::FrameMove(dt, paused);
}

bool cGardenMazeRoom::AdvanceWalker(CMazeWalker& walker, f32 dt) {
    if (walker.trajectory.getPointCount() == 0)
        return false;
    // A speed the data leaves at 0 would stand the walker still for ever.
    const f32 speed = walker.speed > 0 ? walker.speed : 1;
    const aTrajectory::State state =
        walker.trajectory.advance(double(m_Overlay.GetColumnWidth()) * double(dt) * double(speed));
    if (state == aTrajectory::Finished || state == aTrajectory::Idle)
        return false;
    f32 x = 0, y = 0;
    walker.trajectory.getPosition(x, y);
    walker.SetCenter({x, y});
    return true;
}

void cGardenMazeRoom::WalkerStep(CMazeWalker& walker, f32 dt) {
    if (walker.state == CMazeWalker::Idle)
        return;
    const i32 previous = walker.animations.GetCurrentIndex();
    i32 pose = CMazeWalker::IdlePoseAfter(previous);
    Gate* gate = walker.state == CMazeWalker::ToGate ? GateAt(walker.gate) : nullptr;
    if (gate) {
        const SpyPoint centre = walker.GetCenter(), to = GetItemCenter(gate->openStill);
        if (std::hypot(centre.x - to.x, centre.y - to.y) < walker.animations.GetDiagonal() / 2) {
            walker.trajectory.clear();
            walker.path.Clear();
        }
    }
    if (u64(walker.path.GetStep()) + 1 < walker.path.Count()) {
        const CGridPath::Cell from = walker.path.Current(),
                              next = walker.path.CellAt(walker.path.GetStep() + 1);
        const SpyPoint centre = walker.GetCenter(), to = m_Overlay.CellToScreen(m_Transform, next);
        walker.trajectory.clear();
        walker.trajectory.addPoint(i32(std::lround(centre.x)), i32(std::lround(centre.y)));
        walker.trajectory.addPoint(i32(std::lround(to.x)), i32(std::lround(to.y)));
        walker.path.StepOn();
        walker.trajectory.startMove();
        pose = CMazeWalker::ChooseDirection(previous, from, next);
    } else if (gate) {
        WaitAtGate(walker, *gate, dt);
    } else {
        walker.state = CMazeWalker::Idle;
    }
    if (walker.state != CMazeWalker::Idle)
        walker.cell = CellContaining(walker.GetCenter());
    walker.animations.Select(pose, true);
}

void cGardenMazeRoom::WaitAtGate(CMazeWalker& walker, Gate& gate, f32 dt) {
    walker.gateTimer += dt;
    if (walker.gateTimer <= (gate.open ? m_OpenDoorTime : m_CloseDoorTime))
        return;
    walker.gateTimer = 0;
    walker.state = CMazeWalker::Idle;
    ToggleGate(gate);
    if (!gate.open) {
        m_pPendingGateSound = GetSound("rosary_gate_close");
        m_Overlay.MarkRect(WallRect(gate), true);
    } else {
        m_pPendingGateSound = GetSound("rosary_gate_open");
        m_Overlay.PutArea(gate.door, LocalRect(gate.closedStill));
    }
}

// Tez plays his planned legs back one after the other; once they are done and Marwenn stands in his
// cell again, the next flight is planned.
void cGardenMazeRoom::TezNextStep(f32 dt) {
    for (;;) {
        if (!m_TezSteps.empty() && m_Tez.state == CMazeWalker::Idle) {
            m_Tez.TakeRoute(m_TezSteps.front());
            m_TezSteps.pop_front();
        }
        if (m_Tez.state != CMazeWalker::Idle)
            WalkerStep(m_Tez, dt);
        if (m_TezSteps.empty() || m_Tez.state != CMazeWalker::Idle)
            break;
        dt = 0;
    }
    if (m_TezSteps.empty() && m_Tez.state == CMazeWalker::Idle && m_Tez.cell >= 0 &&
        m_Tez.cell == m_Player.cell)
        StartFlight();
}

void cGardenMazeRoom::StartFlight() {
    if (m_pPlan)
        return;
    m_TezSteps.clear();
    m_Tez.trajectory.clear();
    m_Tez.path.Clear();
    m_Tez.animations.Select(CMazeWalker::IdleDown, true);
    StartWorker(Job::Flight);
}

void cGardenMazeRoom::ToggleGate(Gate& gate) {
    if (CSpyItem* still = gate.open ? gate.openStill : gate.closedStill)
        still->SetVisible(false);
    if (gate.animation) {
        const SpyPoint at = gate.openStill ? gate.openStill->GetPos() : SpyPoint{};
        gate.animation->SetPos(at.x - gate.dx, at.y - gate.dy);
        gate.animation->SetVisible(true);
        gate.animation->StartAnim(gate.open ? 2 : 0);
    }
    gate.open = !gate.open;
}

// A gate's animation shown in place of the still of its state gives way to that still; a click on
// such an animation counts for the still.
CSpyItem* cGardenMazeRoom::FinishGateAnims(CSpyItem* clicked) {
    for (Gate& gate : m_Gates) {
        CSpyItem* still = gate.open ? gate.openStill : gate.closedStill;
        if (!gate.animation || !still || !gate.animation->IsVisible() || still->IsVisible())
            continue;
        gate.animation->SetVisible(false);
        still->SetVisible(true);
        if (clicked == gate.animation)
            clicked = still;
    }
    return clicked;
}

i32 cGardenMazeRoom::GateOfStill(const CSpyItem* item) const {
    for (size_t i = 0; item && i < m_Gates.size(); ++i)
        if (m_Gates[i].openStill == item || m_Gates[i].closedStill == item)
            return i32(i);
    return -1;
}

bool cGardenMazeRoom::PlayerInWall(const Gate& gate) const {
    const aRect wall = WallRect(gate), r = LocalRect(m_Player.animations.GetCurrent());
    return wall.contains(r.x, r.y) || wall.contains(r.x + r.w, r.y) || wall.contains(r.x, r.y + r.h) ||
           wall.contains(r.x + r.w, r.y + r.h);
}

void cGardenMazeRoom::HandleInput(f32 dt) {
    CRoomBase::HandleInput(dt);
    if (m_bTaken && m_Tez.state == CMazeWalker::Idle && !m_bSuspectShown) {
        m_bSuspectShown = true;
        m_Tez.animations.SetPos(0, 0);
        if (CSpyItem* suspect = GetItem("WO_TEZ_SUSPECT"))
            suspect->SetVisible(true);
    }
    const aInputServer* input = aApplication::inputServer();
    if (!input || input->mouseButtons[0] != KEY_PRESSED || m_bTaken || m_pPlan)
        return;
    m_Player.gate = GateOfStill(FinishGateAnims(m_pItemUnderCursor));
    const Gate* gate = GateAt(m_Player.gate);
    // Standing in an open gate, a click on it leaves her where she is.
    if (gate && gate->open && PlayerInWall(*gate))
        return;
    StartWorker(Job::Player);
}

void cGardenMazeRoom::UpdateStepsSound(bool moved) {
    if (!moved && m_Player.state == CMazeWalker::Idle && m_Tez.state == CMazeWalker::Idle) {
        if (m_pStepsSound && m_pStepsSound->isPlaying())
            m_pStepsSound->stop();
        m_bStepsPlaying = false;
        return;
    }
    if (m_pStepsSound && !m_pStepsSound->isPlaying())
        m_pStepsSound->play(true);
    m_bStepsPlaying = true;
}

// The solve button: Tez is caught where he stands, once he has settled.
bool cGardenMazeRoom::ProcessAutoActions() {
    StopWorkers(true);
    if (m_bTaken || m_Tez.state != CMazeWalker::Idle)
        return false;
    m_TezSteps.clear();
    ShowCatch();
    for (CMazeWalker* walker : {&m_Player, &m_Tez}) {
        walker->trajectory.clear();
        walker->path.Clear();
    }
    m_Tez.animations.SetPos(0, 0);
    return true;
}

// What the catch changes besides the characters' routes.
void cGardenMazeRoom::ShowCatch() {
    m_bTaken = true;
    m_Player.animations.Select(CMazeWalker::IdleDown, true);
    ShowMessage("TezIsTaken");
    if (CSpyItem* info = GetItem("WO_TEZ_INFO"))
        info->SetVisible(true);
}

cGardenMazeRoom::Gate* cGardenMazeRoom::GateAt(i32 index) {
    return index >= 0 && size_t(index) < m_Gates.size() ? &m_Gates[index] : nullptr;
}

i32 cGardenMazeRoom::CellContaining(SpyPoint point) const {
    for (size_t i = 0; i < m_Cells.size(); ++i)
        if (m_Cells[i].area &&
            GetItemRect(m_Cells[i].area).contains(TruncToInt(point.x), TruncToInt(point.y)))
            return i32(i);
    return -1;
}
