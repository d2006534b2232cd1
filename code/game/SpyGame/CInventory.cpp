#include "game/SpyGame/CInventory.h"

#include "game/CResManager.h"
#include "game/SaveLoadSystem.h"
#include "game/SpyGame/CDialogSpyGamePanel.h"
#include "game/SpyGame/CRoomItemLookup.h"
#include "game/SpyGame/CSpyItem.h"
#include "game/SpyGame/StringListField.h"
#include "tk2v/gfx/aApplication.h"
#include "tk2v/gfx/aGraphServer.h"
#include "tk2v/gfx/aImage.h"
#include "tk2v/gfx/aImageManager.h"
#include "tk2v/gui/Widget.h"
#include "tk2v/sound/aSound.h"
#include "tk2v/sound/aSoundManager.h"
#include "tk2v/util/log.h"

#include <algorithm>
#include <list>

void CInventory::Init(const std::string& ownerName, CDialogSpyGamePanel* panel,
                      CRoomItemLookup* roomsManager) {
    setName("Inventory : " + ownerName);
    m_pGamePanel = panel;
    m_pRoomsManager = roomsManager;
    // The area widget's rectangle is in screen coordinates. Without the widget the strip has no
    // cells: nothing is taken, put or drawn.
    const GUI::Widget* area = panel ? panel->GetWidget("InventoryArea") : nullptr;
    m_Area = area ? area->GetArea() : aRect{};
    const i32 room = i32(m_Area.w) - Margins;
    m_VisibleCells = room > 0 ? u32(room / CellPitch) : 0;
    m_FirstCellX = m_Area.x + LeftMargin + (room - CellPitch * i32(m_VisibleCells)) / 2;
    if (CResManager::exists()) {
        aSoundManager* sounds = CResManager::getSingleton()->getSoundManager();
        m_pPutSound = sounds->getSound("inventory_item_put");
        m_pTakeSound = sounds->getSound("inventory_item_take");
    }
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
    if (!m_pGamePanel)
        return;
    if (GUI::Widget* left = m_pGamePanel->GetWidget("ArrowLeft"))
        left->SetVisible(m_FirstVisible > 0);
    if (GUI::Widget* right = m_pGamePanel->GetWidget("ArrowRight"))
        right->SetVisible(i64(m_FirstVisible) + cells < count);
}

void CInventory::FrameMove(f32 dt) {
    for (CSpyItem* item : m_Items)
        item->FrameMoveObject(dt);
    const i32 command = m_pGamePanel ? m_pGamePanel->GetState() : 0;
    if (command == CDialogSpyGamePanel::CMD_ARROW_LEFT && m_FirstVisible > 0) {
        m_ScrollOffset -= CellPitch;
        --m_FirstVisible;
        UpdateLayout();
    } else if (command == CDialogSpyGamePanel::CMD_ARROW_RIGHT &&
               i64(m_FirstVisible) + m_VisibleCells < i64(m_Items.size())) {
        m_ScrollOffset += CellPitch;
        ++m_FirstVisible;
        UpdateLayout();
    }
    if (m_ScrollOffset == 0)
        return;
    const f32 step = SlideSpeed * dt;
    // The slide ends exactly at rest, never past it.
    if (m_ScrollOffset > 0)
        m_ScrollOffset = m_ScrollOffset > step ? m_ScrollOffset - step : 0;
    else
        m_ScrollOffset = -m_ScrollOffset > step ? m_ScrollOffset + step : 0;
    UpdateLayout();
}

CSpyItem* CInventory::TakeItemAtPoint(i16 x, i16 y) {
    if (!IsPointInArea(x, y))
        return nullptr;
    const i64 end = std::min<i64>(i64(m_FirstVisible) + m_VisibleCells, i64(m_Items.size()));
    for (i64 i = m_FirstVisible; i < end; ++i) {
        CSpyItem* item = m_Items[size_t(i)];
        const i32 left = TruncToInt(item->GetPos().x);
        if (x < left || x >= i64(left) + item->GetWidth())
            continue;
        m_Items.erase(m_Items.begin() + i);
        UpdateLayout();
        if (m_pTakeSound)
            m_pTakeSound->play(false, aSound::KEEP_VOLUME, aSound::KEEP_PAN);
        return item;
    }
    return nullptr;
}

bool CInventory::PutItemAtPoint(i16 x, i16 y, CSpyItem* item) {
    if (!item || !IsPointInArea(x, y))
        return false;
    item->SetInInventory(true);
    // Cells count from the area's margin, not from the centred first cell.
    u32 cell = 0;
    if (x > m_Area.x + m_Area.w - LeftMargin)
        cell = m_VisibleCells;
    else if (x >= m_Area.x + LeftMargin)
        cell = u32((x - m_Area.x - LeftMargin) / CellPitch);
    const u64 index = u64(cell) + m_FirstVisible;
    if (index < m_Items.size())
        m_Items.insert(m_Items.begin() + i64(index), item);
    else
        m_Items.push_back(item);
    m_ScrollOffset = 0;
    UpdateLayout();
    if (m_pPutSound)
        m_pPutSound->play(false, aSound::KEEP_VOLUME, aSound::KEEP_PAN);
    return true;
}

void CInventory::SetShown(bool shown) {
    if (m_pGamePanel)
        m_pGamePanel->SetInventoryUnlocked(shown);
    if (shown) {
        UpdateLayout();
        return;
    }
    for (const char* name : {"ArrowLeft", "ArrowRight"})
        if (GUI::Widget* arrow = m_pGamePanel ? m_pGamePanel->GetWidget(name) : nullptr)
            arrow->SetVisible(false);
}

void CInventory::Render() {
    aGraphServer* graph = aApplication::graphServer();
    if (!graph || m_VisibleCells == 0)
        return;
    const aRect saved = graph->getViewport();
    for (u32 i = m_FirstDrawn; i < m_EndDrawn && i < m_Items.size(); ++i) {
        const i32 left = std::clamp<i32>(TruncToInt(m_Items[i]->GetPos().x), INT16_MIN, INT16_MAX);
        aRect column;
        m_Area.intersect(column, aRect{i16(left), m_Area.y, ClipWidth, m_Area.h});
        if (column.w == 0 || column.h == 0)
            continue;
        graph->setViewport(column);
        m_Items[i]->RenderIcon();
    }
    graph->setViewport(saved);
    if (!CResManager::exists())
        return;
    aImageManager* images = CResManager::getSingleton()->getImageManager();
    if (images->hasImage("Inventory_shadow", "GamePanel"))
        images->getImage("Inventory_shadow", "GamePanel")->drawAt(m_Area.x, m_Area.y);
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
