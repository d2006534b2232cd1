#pragma once
#include "game/SpyGame/Rooms/Puzzles/CMazeWalker.h"
#include "game/SpyGame/Rooms/Toolkit/CGridMap.h"
#include "game/SpyGame/Rooms/Toolkit/CGridOverlay.h"
#include "game/SpyGame/Rooms/Toolkit/cRoomTransform.h"
#include "tk2v/gfx/aRect.h"

#include <array>
#include <atomic>
#include <deque>
#include <string>
#include <vector>

// The garden maze as its path searches see it, copied on the main thread: the grid, the cells and gates
// as rectangles, the edge lists, the room's placement and both characters with where they stand. A
// worker plans on the copy alone, and the room takes over what it left once the worker is done, so no
// thread but the main one ever touches the room, its items or the input.
class cGardenMazePlanner {
public:
    struct Cell {
        aRect area;
        SpyPoint centre;
        std::string areaName;
        bool hasArea = false;
        u8 openSides = 0;
        std::array<i32, 4> gates{-1, -1, -1, -1};
    };
    struct Gate {
        bool open = true;
        SpyPoint openCentre;
        SpyPoint closedCentre;
        // Room-local: the closed still's whole rectangle and the middle half a closed gate walls.
        aRect closedLocal;
        aRect wallLocal;
        CGridOverlay::Block door;
    };
    // Where a character stands when the copy is taken.
    struct Stand {
        SpyPoint position;
        SpyPoint centre;
        aRect local;
        u16 width = 0, height = 0;
    };

    // The fixed screen rectangle a flight runs round, and the room-local place a caught Tez walks to.
    static constexpr aRect MazeRect{295, 97, 607, 548};
    static constexpr SpyPoint CatchPoint{450, 750};

    cGardenMazePlanner() = default;
    cGardenMazePlanner(const cGardenMazePlanner&) = delete;
    cGardenMazePlanner& operator=(const cGardenMazePlanner&) = delete;

    // Binds the overlay to this copy's grid; called once the copy is filled.
    void Ready();

    // Marwenn's path to the free square nearest the clicked cell.
    void PlanPlayerPath();
    // Tez's flight from Marwenn's cell into tezSteps, or the catch.
    void PlanFlight();
    // From the cell under the centre to the screen point; with a gate, to the gate.
    bool WalkWalkerTo(CMazeWalker& walker, SpyPoint centre, f32 x, f32 y);
    bool FindWalkerPath(CMazeWalker& walker, const CGridPath::Cell& start, f32 x, f32 y);

    // The copy.
    CGridMap grid;
    SpyPoint origin, scale;
    i32 rowHeight = 0, columnWidth = 0;
    u32 unitSize = 0;
    std::vector<Cell> cells;
    std::vector<Gate> gates;
    std::array<std::vector<i32>, 4> edges;
    CMazeWalker player, tez;
    Stand playerStand, tezStand;
    bool taken = false;
    SpyPoint mouse;
    u32 seed = 1;
    // Set by the main thread to cut a flight's run round the maze short.
    const std::atomic<bool>* stopRequested = nullptr;

    // What the plan left besides the two characters.
    std::deque<CMazeWalker> tezSteps;
    bool caught = false;

private:
    CGridPath::Cell CellUnder(SpyPoint point) const;
    i32 CellContaining(SpyPoint point) const;
    bool SideOpen(const Cell& cell, u32 side) const;
    u8 OpenSides(const Cell& cell) const;
    u8 OpenGateSide(i32 cell);
    i32 ChooseFleeSide(i32 cell, u8 open) const;
    bool OnEdge(i32 cell, u32 side) const;
    u8 EntrySide(const aRect& area) const;
    void Flee(i32 cell, u32 side);
    void RunRound(SpyPoint point);
    bool Leg(SpyPoint target);
    void CatchTez();

    CGridOverlay m_Overlay;
    cRoomTransform m_Transform{&origin, &scale};
    // Where the next leg of a flight starts, and whether Marwenn's cells are walled meanwhile.
    CGridPath::Cell m_LegStart;
    bool m_PlayerWalled = false;
};
