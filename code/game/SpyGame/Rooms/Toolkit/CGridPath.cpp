#include "game/SpyGame/Rooms/Toolkit/CGridPath.h"

#include "game/SaveLoadSystem.h"
#include "game/SpyGame/SaveCounts.h"

void CGridPath::Clear() {
    m_cells.clear();
    m_step = 0;
}

bool CGridPath::StepOn() {
    if (u64(m_step) + 1 >= m_cells.size())
        return false;
    ++m_step;
    return true;
}

bool CGridPath::StepBack() {
    if (m_step == 0)
        return false;
    --m_step;
    return true;
}

u8* CGridPath::Save(SaveLoadSystem& sys, u8* pos) const {
    pos = sys.writeU32(pos, Count());
    for (const Cell& cell : m_cells) {
        pos = sys.writeU32(pos, cell.first);
        pos = sys.writeU32(pos, cell.second);
    }
    return sys.writeU32(pos, m_step);
}

const u8* CGridPath::Load(SaveLoadSystem& sys, const u8* pos) {
    Clear();
    u32 count = 0;
    pos = sys.readU32(pos, count);
    if (!countFits(sys, pos, count, 8, "CGridPath::Load()"))
        return pos + sys.bytesLeftInRecord(pos);
    m_cells.resize(count);
    for (Cell& cell : m_cells) {
        pos = sys.readU32(pos, cell.first);
        pos = sys.readU32(pos, cell.second);
    }
    pos = sys.readU32(pos, m_step);
    if (m_step >= count)
        Clear();
    return pos;
}
