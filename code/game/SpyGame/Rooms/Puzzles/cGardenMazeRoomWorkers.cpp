#include "game/SpyGame/CSpyItem.h"
#include "game/SpyGame/Rooms/Puzzles/cGardenMazePlanner.h"
#include "game/SpyGame/Rooms/Puzzles/cGardenMazeRoom.h"
#include "game/SpyGame/Rooms/Toolkit/PuzzleHelpers.h"
#include "tk2v/gfx/aApplication.h"
#include "tk2v/input/aInputServer.h"
#include "tk2v/platform/Clock.h"

// The two workers, one at a time: Marwenn's path to a click and Tez's flight. The main thread copies
// what a worker reads, the worker plans on that copy under the room's lock and clears the busy flag as
// its last act, and the main thread takes its result over at the start of the next frame, or when the
// room is saved, moved or solved; loading, resetting and destroying the room drop it.

std::unique_ptr<cGardenMazePlanner> cGardenMazeRoom::Snapshot() const {
    auto plan = std::make_unique<cGardenMazePlanner>();
    plan->grid = m_Grid;
    plan->origin = m_Origin;
    plan->scale = m_Scale;
    plan->rowHeight = i32(m_CellWidth);
    plan->columnWidth = i32(m_CellHeight);
    plan->unitSize = m_UnitSize;
    for (const Cell& cell : m_Cells)
        plan->cells.push_back({GetItemRect(cell.area), GetItemCenter(cell.area),
                               cell.area ? cell.area->GetName() : std::string(), cell.area != nullptr,
                               cell.openSides, cell.gates});
    for (const Gate& gate : m_Gates)
        plan->gates.push_back({gate.open, GetItemCenter(gate.openStill), GetItemCenter(gate.closedStill),
                               LocalRect(gate.closedStill), WallRect(gate), gate.door});
    plan->edges = m_Edges;
    plan->player = m_Player;
    plan->tez = m_Tez;
    auto stand = [this](const CMazeWalker& walker) {
        const CSpyItem* item = walker.animations.GetCurrent();
        return cGardenMazePlanner::Stand{walker.animations.GetPos(), walker.GetCenter(), LocalRect(item),
                                         item ? item->GetWidth() : u16(0), item ? item->GetHeight() : u16(0)};
    };
    plan->playerStand = stand(m_Player);
    plan->tezStand = stand(m_Tez);
    plan->taken = m_bTaken;
    if (const aInputServer* input = aApplication::inputServer()) {
        i32 x = 0, y = 0;
        input->getMousePos(x, y);
        plan->mouse = {f32(x), f32(y)};
    }
    plan->seed = platform::tickMs();
    plan->stopRequested = &m_bStopRequested;
    plan->Ready();
    return plan;
}

void cGardenMazeRoom::StartWorker(Job job) {
    m_pPlan = Snapshot();
    m_Job = job;
    m_bStopRequested = false;
    m_bBusy = true;
    if (m_bInlineWorkers) {
        RunWorker();
        return;
    }
    (job == Job::Flight ? m_TezThread : m_PlayerThread) = std::thread(&cGardenMazeRoom::RunWorker, this);
}

void cGardenMazeRoom::RunWorker() {
    {
        Guard lock(*this);
        if (m_Job == Job::Flight)
            m_pPlan->PlanFlight();
        else
            m_pPlan->PlanPlayerPath();
    }
    m_bBusy = false;
}

void cGardenMazeRoom::TakeOverPlan() {
    cGardenMazePlanner& plan = *m_pPlan;
    m_Player.TakeRoute(plan.player);
    if (m_Job == Job::Player)
        return;
    m_Tez.TakeRoute(plan.tez);
    m_TezSteps = std::move(plan.tezSteps);
    if (plan.caught)
        ShowCatch();
}

void cGardenMazeRoom::TakeOverFinishedWorker() {
    if (m_pPlan && !m_bBusy)
        StopWorkers(true);
}

void cGardenMazeRoom::StopWorkers(bool takeOver) {
    if (!m_pPlan)
        return;
    m_bStopRequested = true;
    for (std::thread* thread : {&m_TezThread, &m_PlayerThread})
        if (thread->joinable())
            thread->join();
    if (takeOver)
        TakeOverPlan();
    m_pPlan.reset();
    m_bBusy = false;
}
