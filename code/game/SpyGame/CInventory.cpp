#include "game/SpyGame/CInventory.h"

#include "game/SaveLoadSystem.h"
#include "game/SpyGame/CRoomItemLookup.h"
#include "game/SpyGame/CSpyItem.h"
#include "game/SpyGame/StringListField.h"
#include "tk2v/util/log.h"

#include <algorithm>
#include <list>

void CInventory::Init(const std::string& ownerName, CDialogSpyGamePanel* panel,
                      CRoomItemLookup* roomsManager) {
    setName("Inventory : " + ownerName);
    m_pGamePanel = panel;
    m_pRoomsManager = roomsManager;
}

void CInventory::Clear() {
    m_Items.clear();
    m_FirstVisible = 0;
    m_ScrollOffset = 0;
    UpdateLayout();
}

void CInventory::AddItem(CSpyItem* item) {
    item->SetInInventory(true);
    m_Items.push_back(item);
    u32 count = u32(m_Items.size());
    if (m_FirstVisible + m_VisibleCells < count)
        m_FirstVisible = count - m_VisibleCells;
    m_ScrollOffset = 0;
    UpdateLayout();
}

CSpyItem* CInventory::RemoveItem(const std::string& name) {
    auto it =
        std::find_if(m_Items.begin(), m_Items.end(), [&](CSpyItem* item) { return item->GetName() == name; });
    if (it == m_Items.end())
        return nullptr;
    CSpyItem* item = *it;
    m_Items.erase(it);
    UpdateLayout();
    return item;
}

CSpyItem* CInventory::FindItem(const std::string& name) const {
    for (CSpyItem* item : m_Items)
        if (item->GetName() == name)
            return item;
    return nullptr;
}

void CInventory::UpdateLayout() {
    i64 count = i64(m_Items.size());
    i64 cells = m_VisibleCells;
    // One empty cell may stand at the right end.
    if (i64(m_FirstVisible) + cells - 1 > count)
        m_FirstVisible = count >= cells ? u32(count - cells) : 0;
    m_FirstDrawn = m_FirstVisible;
    f32 x = f32(m_FirstCellX) + m_ScrollOffset;
    if (m_ScrollOffset > 0 && m_FirstVisible > 0) {
        m_FirstDrawn = m_FirstVisible - 1;
        x -= CellPitch;
    }
    m_EndDrawn = u32(std::min<i64>(i64(m_FirstVisible) + cells + (m_ScrollOffset != 0 ? 1 : 0), count));
    for (u32 i = m_FirstDrawn; i < m_EndDrawn; ++i) {
        i32 y = m_Area.y + ((i32(m_Area.h) - i32(m_Items[i]->GetHeight())) >> 1);
        m_Items[i]->SetPos(x, f32(y));
        x += CellPitch;
    }
}

u8* CInventory::SaveSelf(SaveLoadSystem& sys, u8* pos) {
    std::list<std::string> names;
    for (CSpyItem* item : m_Items)
        names.push_back(item->GetFullName());
    pos = sys.writeU32(pos, u32(m_Items.size()));
    pos = SaveStringList(sys, pos, names);
    return sys.writeF32(sys.writeU32(pos, m_FirstVisible), m_ScrollOffset);
}

const u8* CInventory::LoadSelf(SaveLoadSystem& sys, const u8* pos) {
    m_Items.clear();
    u32 count = 0;
    std::list<std::string> names;
    pos = LoadStringList(sys, sys.readU32(pos, count), names);
    if (m_pRoomsManager)
        for (const std::string& name : names)
            if (CSpyItem* item = m_pRoomsManager->GetItemByFullName(name))
                m_Items.push_back(item);
    if (count > m_Items.size())
        log("CInventory::LoadSelf(). Not found %u saved item(s)!", count - u32(m_Items.size()));
    pos = sys.readF32(sys.readU32(pos, m_FirstVisible), m_ScrollOffset);
    if (m_FirstVisible >= m_Items.size()) {
        m_FirstVisible = 0;
        m_ScrollOffset = 0;
    }
    UpdateLayout();
    return pos;
}
