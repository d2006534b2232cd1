#include "game/SpyGame/Rooms/Toolkit/cCellsManager.h"

#include "game/SaveLoadSystem.h"
#include "game/SpyGame/CSpyItem.h"
#include "game/SpyGame/CSpyItemManager.h"
#include "game/SpyGame/ItemRefs.h"
#include "game/SpyGame/Rooms/CRoomBase.h"
#include "game/SpyGame/Rooms/Toolkit/PuzzleHelpers.h"
#include "game/SpyGame/Rooms/Toolkit/PuzzleStrings.h"
#include "game/SpyGame/SaveCounts.h"
#include "tk2v/file/aOptionsFile.h"
#include "tk2v/gfx/aApplication.h"
#include "tk2v/input/aInputServer.h"
#include "tk2v/util/log.h"

#include <algorithm>
#include <cstdlib>
#include <iterator>

namespace {

CSpyItem* At(const std::list<CSpyItem*>& items, u16 index) {
    return index < items.size() ? *std::next(items.begin(), index) : nullptr;
}

void MoveTo(CSpyItem* marker, const CSpyItem* position) {
    if (marker && position) {
        const SpyPoint pos = position->GetPos();
        marker->SetPos(pos.x, pos.y);
    }
}

void ShowItem(CSpyItem* item, bool shown) {
    if (item)
        item->SetVisible(shown);
}

// A record that ends early leaves the rest of the board as it was.
const u8* RecordEnd(SaveLoadSystem& sys, const u8* pos) {
    return pos + sys.bytesLeftInRecord(pos);
}

} // namespace

void cCellsManager::Init(aOptionsFile& ini, const std::string& section) {
    m_Names.clear();
    m_Accepted.clear();
    if (!ini.selectSection(section)) {
        log("cCellsManager : Can not find section %s", section.c_str());
        return;
    }
    m_Dx = u16(ini.getInt("dx"));
    m_Dy = u16(ini.getInt("dy"));
    std::vector<std::string> groups;
    ini.getStringList(groups, "groups");
    for (size_t i = 0; i + 1 < groups.size(); i += 2) {
        const std::string& name = groups[i];
        const long count = std::atol(groups[i + 1].c_str());
        if (count < 0 || count > MaxPositions)
            log("cCellsManager : Cell %s can not have %ld positions", name.c_str(), count);
        m_Names.push_back({name, u16(std::clamp<long>(count, 0, MaxPositions))});
        std::vector<i32> accepted;
        ini.getIntList(accepted, name);
        m_Accepted.emplace_back(accepted.begin(), accepted.end());
    }
}

void cCellsManager::Init(aOptionsFile& ini, const std::string& section, CRoomBase& room) {
    Init(ini, section);
    CreateCells(room);
}

void cCellsManager::CreateCells(CRoomBase& room) {
    std::vector<u16> kept;
    for (const Cell& cell : m_Cells)
        kept.push_back(cell.selected);
    m_Cells.clear();
    u32 counter = 0;
    for (const CellName& name : m_Names) {
        Cell& cell = m_Cells.emplace_back();
        cell.marker = room.GetItem(name.name);
        if (cell.marker) {
            cell.marker->Reset();
            CreatePositions(cell, name.positions, counter, room);
        }
        if (m_Cells.size() <= kept.size())
            Select(cell, kept[m_Cells.size() - 1]);
    }
}

void cCellsManager::CreatePositions(Cell& cell, u16 count, u32& counter, CRoomBase& room) const {
    CSpyItemManager& items = room.GetItemManager();
    const SpyPoint start = cell.marker->GetPos();
    // Wide enough that no step of a full row of positions overflows.
    i64 x = TruncToInt(start.x), y = TruncToInt(start.y);
    const u16 w = cell.marker->GetWidth(), h = cell.marker->GetHeight();
    for (u16 i = 0; i < count; ++i) {
        const std::string name = "_cellmenu_" + DoubleToString(++counter);
        // Made once: a board built again takes the positions it made before rather than more of them.
        CSpyItem* position = items.HasItem(name) ? items.GetItem(name) : nullptr;
        if (!position) {
            position = items.CreateItem(name, room.GetName(), {f32(x), f32(y)}, w, h, false);
            position->Reset();
        }
        position->SetPos(f32(x), f32(y));
        cell.positions.push_back(position);
        if (i16(m_Dx) >= 0)
            x += w + i16(m_Dx);
        if (i16(m_Dy) >= 0)
            y += h + i16(m_Dy);
    }
}

void cCellsManager::Select(Cell& cell, u16 index) {
    cell.selected = index;
    if (index == None) {
        MoveTo(cell.marker, At(cell.positions, 0));
        ShowItem(cell.marker, false);
    } else if (CSpyItem* position = At(cell.positions, index)) {
        MoveTo(cell.marker, position);
        ShowItem(cell.marker, true);
    }
}

void cCellsManager::ShowMarker(Cell& cell) {
    ShowItem(cell.marker, cell.enabled && cell.selected != None);
}

cCellsManager::Cell* cCellsManager::Find(u32 cell) {
    return cell < m_Cells.size() ? &*std::next(m_Cells.begin(), cell) : nullptr;
}

void cCellsManager::SetSelected(u32 cell, u16 index) {
    if (Cell* found = Find(cell))
        Select(*found, index);
}

u16 cCellsManager::GetSelected(u32 cell) const {
    return cell < m_Cells.size() ? std::next(m_Cells.begin(), cell)->selected : None;
}

void cCellsManager::SetCellEnabled(u32 cell, bool enabled) {
    if (Cell* found = Find(cell)) {
        found->enabled = enabled;
        ShowMarker(*found);
    }
}

void cCellsManager::SetCellRefresh(u32 cell) {
    if (Cell* found = Find(cell))
        found->refresh = true;
}

void cCellsManager::TakeClick(Cell& cell, i32 x, i32 y) {
    u16 index = 0;
    for (CSpyItem* position : cell.positions) {
        if (position && GetItemRect(position).contains(x, y)) {
            MoveTo(cell.marker, position);
            cell.selected = index;
            ShowItem(cell.marker, true);
            return;
        }
        ++index;
    }
}

void cCellsManager::Update() {
    const aInputServer* input = aApplication::inputServer();
    const bool clicked = input && input->mouseButtons[0] == KEY_PRESSED;
    i32 x = 0, y = 0;
    if (input)
        input->getMousePos(x, y);
    for (Cell& cell : m_Cells) {
        if (cell.refresh) {
            ShowMarker(cell);
            cell.refresh = false;
        } else if (cell.enabled && clicked) {
            TakeClick(cell, x, y);
        }
    }
}

void cCellsManager::ResetSelections() {
    for (Cell& cell : m_Cells)
        Select(cell, None);
}

void cCellsManager::SetAllEnabled(bool enabled) {
    for (Cell& cell : m_Cells) {
        cell.enabled = enabled;
        ShowMarker(cell);
    }
}

bool cCellsManager::IsSolved() const {
    auto accepted = m_Accepted.begin();
    for (const Cell& cell : m_Cells) {
        if (accepted == m_Accepted.end())
            return true;
        const std::list<u32>& values = *accepted++;
        if (std::find(values.begin(), values.end(), u32(cell.selected)) == values.end())
            return false;
    }
    return true;
}

u8* cCellsManager::SaveSelf(SaveLoadSystem& sys, u8* pos) {
    pos = sys.writeU16(pos, m_Dx);
    pos = sys.writeU16(pos, m_Dy);
    pos = sys.writeU32(pos, u32(m_Names.size()));
    for (const CellName& name : m_Names)
        pos = sys.writeU16(sys.writeString(pos, name.name), name.positions);
    pos = sys.writeU32(pos, u32(m_Accepted.size()));
    for (const std::list<u32>& values : m_Accepted) {
        pos = sys.writeU32(pos, u32(values.size()));
        for (u32 value : values)
            pos = sys.writeU32(pos, value);
    }
    for (const Cell& cell : m_Cells) {
        pos = SaveItemRefList(sys, pos, cell.positions);
        pos = SaveItemRef(sys, pos, cell.marker);
        pos = sys.writeU16(pos, cell.selected);
        pos = sys.writeBool(pos, cell.enabled);
        pos = sys.writeBool(pos, cell.refresh);
    }
    return pos;
}

const u8* cCellsManager::LoadNames(SaveLoadSystem& sys, const u8* pos) {
    m_Names.clear();
    u32 count = 0;
    pos = sys.readU32(pos, count);
    // A name is at least its NUL and its u16.
    if (!countFits(sys, pos, count, 3, "cCellsManager::LoadSelf()"))
        return nullptr;
    for (u32 i = 0; i < count; ++i) {
        CellName& name = m_Names.emplace_back();
        pos = sys.readU16(sys.readString(pos, name.name), name.positions);
    }
    return pos;
}

const u8* cCellsManager::LoadAccepted(SaveLoadSystem& sys, const u8* pos) {
    m_Accepted.clear();
    u32 count = 0;
    pos = sys.readU32(pos, count);
    if (!countFits(sys, pos, count, 4, "cCellsManager::LoadSelf()"))
        return nullptr;
    for (u32 i = 0; i < count; ++i) {
        std::list<u32>& values = m_Accepted.emplace_back();
        u32 length = 0;
        pos = sys.readU32(pos, length);
        if (!countFits(sys, pos, length, 4, "cCellsManager::LoadSelf()"))
            return nullptr;
        for (u32 j = 0; j < length; ++j)
            pos = sys.readU32(pos, values.emplace_back());
    }
    return pos;
}

const u8* cCellsManager::LoadSelf(CRoomItemLookup& rooms, SaveLoadSystem& sys, const u8* pos) {
    pos = sys.readU16(pos, m_Dx);
    pos = sys.readU16(pos, m_Dy);
    const u8* names = LoadNames(sys, pos);
    if (!names)
        return RecordEnd(sys, pos);
    const u8* accepted = LoadAccepted(sys, names);
    if (!accepted)
        return RecordEnd(sys, names);
    pos = accepted;
    for (Cell& cell : m_Cells) {
        pos = LoadItemRefList(rooms, sys, pos, cell.positions);
        pos = LoadItemRef(rooms, sys, pos, cell.marker);
        pos = sys.readU16(pos, cell.selected);
        pos = sys.readBool(pos, cell.enabled);
        pos = sys.readBool(pos, cell.refresh);
    }
    return pos;
}
