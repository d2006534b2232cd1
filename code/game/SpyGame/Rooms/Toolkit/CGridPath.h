#pragma once
#include "tk2v/util/types.h"

#include <utility>
#include <vector>

class SaveLoadSystem;

// A route of grid cells as a search leaves it (next to the target first, the start last) and the
// walker's place on it, counted from the start end of the list.
class CGridPath {
public:
    using Cell = std::pair<u32, u32>;

    void Clear();
    // One step towards the target; false (step kept) at the last cell.
    bool StepOn();
    // One step back towards the start; false (step kept) at the start.
    bool StepBack();

    u32 Count() const { return u32(m_cells.size()); }
    bool Empty() const { return m_cells.empty(); }
    u32 GetStep() const { return m_step; }
    // The cell at step s: element Count() - 1 - s of the list. The caller keeps s below Count().
    const Cell& CellAt(u32 step) const { return m_cells[m_cells.size() - 1 - step]; }
    const Cell& Current() const { return CellAt(m_step); }
    std::vector<Cell>& Cells() { return m_cells; }
    const std::vector<Cell>& Cells() const { return m_cells; }

    u8* Save(SaveLoadSystem& sys, u8* pos) const;
    // A count the record cannot hold stops the path empty at the record's end; a step past the cells
    // leaves it empty too, so no walker ever reads past its path.
    const u8* Load(SaveLoadSystem& sys, const u8* pos);

private:
    std::vector<Cell> m_cells;
    u32 m_step = 0;
};
