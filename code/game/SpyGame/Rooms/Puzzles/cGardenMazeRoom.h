#pragma once
#include "game/SpyGame/Rooms/CRoomBase.h"
#include "game/SpyGame/Rooms/Puzzles/CMazeWalker.h"
#include "game/SpyGame/Rooms/Toolkit/CGridMap.h"
#include "game/SpyGame/Rooms/Toolkit/CGridOverlay.h"
#include "game/SpyGame/Rooms/Toolkit/cRoomTransform.h"
#include "tk2v/util/aCriticalSection.h"

#include <array>
#include <atomic>
#include <deque>
#include <memory>
#include <string>
#include <thread>
#include <vector>

class aSound;
class cGardenMazePlanner;

// A hedge maze of cells joined by gates, seen from above. The player clicks where Marwenn should go;
// when she steps into the cell where Tez waits, he runs off through the cell's open sides and round
// the outside of the maze. He is caught when she corners him in a cell with no way out, and the case
// goes on through the items that appear then.
class cGardenMazeRoom : public CRoomBase, public aCriticalSection {
public:
    static const char* GetClassStaticName() { return "GardenMazeRoom"; }

    cGardenMazeRoom();
    ~cGardenMazeRoom() override;

    const u8* LoadSelf(SaveLoadSystem& sys, const u8* pos) override;
    u8* SaveSelf(SaveLoadSystem& sys, u8* pos) override;
    std::string GetClassName() const override { return GetClassStaticName(); }
    void AfterLoadInit() override;
    void Reset() override;
    void Enter(const std::string& entryName, CSpyItem* entryItem) override;
    u32 FrameMove(f32 dt, bool paused) override;
    void Render() override;
    void SetPosition(SpyPoint position, std::optional<aRect> activeRect = std::nullopt) override;
    bool ProcessAutoActions() override;
    void HandleInput(f32 dt) override;
    void StopAmbient() override;

    // For tests: the characters, Tez's legs still to walk, the chase, and a switch that runs each
    // worker on the main thread when it starts (its result is taken over at the next frame as ever).
    const CMazeWalker& GetPlayer() const { return m_Player; }
    const CMazeWalker& GetTez() const { return m_Tez; }
    const CGridMap& GetGrid() const { return m_Grid; }
    size_t GetTezStepCount() const { return m_TezSteps.size(); }
    bool IsTaken() const { return m_bTaken; }
    bool IsWorkerPending() const { return m_pPlan != nullptr; }
    bool IsWorkerBusy() const { return m_bBusy; }
    void SetWorkersInline(bool inlineWorkers) { m_bInlineWorkers = inlineWorkers; }

private:
    // The flight benchmark times a plan with its copy of the maze and its take-over.
    friend struct GardenFlightBench;

    struct Gate {
        std::string id;
        CSpyItem* openStill = nullptr;
        CSpyItem* closedStill = nullptr;
        CSpyItem* animation = nullptr;
        // The cells under the closed still when the gate stands open: what opening it puts back.
        CGridOverlay::Block door;
        f32 dx = 0, dy = 0;
        bool open = true;
    };
    struct Cell {
        std::string id;
        CSpyItem* area = nullptr;
        u8 openSides = 0;
        std::array<i32, 4> gates{-1, -1, -1, -1};
    };
    enum class Job { Player, Flight };

    void ReadMapInfo();
    void ReadTimers();
    f32 ReadSeconds(const char* key);
    void ReadGates();
    void ReadCells();
    void MatchGates(Cell& cell);
    void LoadPoses(CMazeWalker& walker, const char* number);
    void BuildEdges();

    aRect LocalRect(const CSpyItem* item) const;
    aRect WallRect(const Gate& gate) const;
    Gate* GateAt(i32 index);
    i32 CellContaining(SpyPoint point) const;
    const Cell* FindCell(const std::string& id) const;

    bool AdvanceWalker(CMazeWalker& walker, f32 dt);
    void WalkerStep(CMazeWalker& walker, f32 dt);
    void WaitAtGate(CMazeWalker& walker, Gate& gate, f32 dt);
    void TezNextStep(f32 dt);
    void StartFlight();
    void ToggleGate(Gate& gate);
    CSpyItem* FinishGateAnims(CSpyItem* clicked);
    i32 GateOfStill(const CSpyItem* item) const;
    bool PlayerInWall(const Gate& gate) const;
    void UpdateStepsSound(bool moved);
    void ShowCatch();

    std::unique_ptr<cGardenMazePlanner> Snapshot() const;
    void StartWorker(Job job);
    void RunWorker();
    void TakeOverPlan();
    void TakeOverFinishedWorker();
    // Waits for a running worker; its result is taken over when asked, else dropped.
    void StopWorkers(bool takeOver);

    // From room.ini and the items, set when the room loads.
    std::vector<Cell> m_Cells;
    std::array<std::vector<i32>, 4> m_Edges;
    aSound* m_pStepsSound = nullptr;
    CGridOverlay m_Overlay;
    cRoomTransform m_Transform{&m_Origin, &m_Scale};

    // Play state, in the order of the room's record (the gates' dx, dy and open flag among them).
    bool m_bFresh = true;
    bool m_bSuspectShown = false;
    // Saved and loaded; nothing reads it.
    f32 m_SpareTime = 0;
    u32 m_CellWidth = 0;
    u32 m_CellHeight = 0;
    u32 m_UnitSize = 0;
    std::string m_StartCell;
    std::vector<Gate> m_Gates;
    f32 m_OpenDoorTime = 0;
    f32 m_CloseDoorTime = 0;
    CMazeWalker m_Player;
    CMazeWalker m_Tez;
    std::deque<CMazeWalker> m_TezSteps;
    bool m_bTaken = false;
    bool m_bEditorMode = false;
    std::string m_RoomFolder;
    CGridMap m_Grid;
    bool m_bStepsPlaying = false;

    // The frame's gate sound, played at its end.
    aSound* m_pPendingGateSound = nullptr;
    // The worker: its copy of the maze and job (the main thread's from start to take-over), the busy
    // flag it clears as its last act, the stop request only the main thread sets and clears, its thread.
    std::unique_ptr<cGardenMazePlanner> m_pPlan;
    Job m_Job = Job::Player;
    std::atomic<bool> m_bBusy{false};
    std::atomic<bool> m_bStopRequested{false};
    std::thread m_TezThread;
    std::thread m_PlayerThread;
    bool m_bInlineWorkers = false;
};
