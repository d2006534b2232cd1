#pragma once
#include "tk2v/util/types.h"

#include <list>
#include <string>
#include <vector>

class aOptionsFile;
class CRoomBase;
class CRoomItemLookup;
class CSpyItem;
class SaveLoadSystem;

// A board of choice cells: each cell is a marker item the player puts on one of a row or column of
// positions by clicking it; the board is solved when every marker stands on a position its ini data
// accepts.
class cCellsManager {
public:
    static constexpr u16 None = 65535;
    // More positions than a row of the screen could show are data gone wrong.
    static constexpr u16 MaxPositions = 256;

    cCellsManager() = default;
    cCellsManager(const cCellsManager&) = delete;
    cCellsManager& operator=(const cCellsManager&) = delete;
    virtual u8* SaveSelf(SaveLoadSystem& sys, u8* pos);
    // Into the cells made already.
    virtual const u8* LoadSelf(CRoomItemLookup& rooms, SaveLoadSystem& sys, const u8* pos);
    virtual ~cCellsManager() = default;

    // Reads the gaps and the cells of the section: "groups" names each cell and its number of
    // positions, and the section's key of the cell's name its accepted positions.
    void Init(aOptionsFile& ini, const std::string& section);
    // Init, then the cells over the room's items.
    void Init(aOptionsFile& ini, const std::string& section, CRoomBase& room);
    // One cell per name over the room's marker item of that name, each choice kept.
    void CreateCells(CRoomBase& room);

    void Update();
    // The marker goes to the position and shows; with None it goes to the first and hides.
    void SetSelected(u32 cell, u16 index);
    u16 GetSelected(u32 cell) const;
    // An enabled cell takes clicks; its marker shows while it has a choice.
    void SetCellEnabled(u32 cell, bool enabled);
    // The cell's next update only shows or hides its marker.
    void SetCellRefresh(u32 cell);
    void ResetSelections();
    void Reset() { ResetSelections(); }
    void SetAllEnabled(bool enabled);
    void SetVisible(bool visible) { SetAllEnabled(visible); }
    bool IsSolved() const;
    bool IsCorrect() const { return IsSolved(); }
    size_t GetCellCount() const { return m_Cells.size(); }

private:
    struct CellName {
        std::string name;
        u16 positions = 0;
    };
    struct Cell {
        std::list<CSpyItem*> positions;
        CSpyItem* marker = nullptr;
        u16 selected = None;
        bool enabled = false;
        bool refresh = false;
    };

    void CreatePositions(Cell& cell, u16 count, u32& counter, CRoomBase& room) const;
    static void Select(Cell& cell, u16 index);
    static void ShowMarker(Cell& cell);
    static void TakeClick(Cell& cell, i32 x, i32 y);
    Cell* Find(u32 cell);
    const u8* LoadNames(SaveLoadSystem& sys, const u8* pos);
    const u8* LoadAccepted(SaveLoadSystem& sys, const u8* pos);

    u16 m_Dx = 0, m_Dy = 0;
    std::list<CellName> m_Names;
    std::vector<std::list<u32>> m_Accepted;
    std::list<Cell> m_Cells;
};
