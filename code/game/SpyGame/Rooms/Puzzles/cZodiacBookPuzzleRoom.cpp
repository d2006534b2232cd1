#include "game/SpyGame/Rooms/Puzzles/cZodiacBookPuzzleRoom.h"

#include "game/SaveLoadSystem.h"
#include "game/SpyGame/CInventory.h"
#include "game/SpyGame/CPersonage.h"
#include "game/SpyGame/CPersonagesManager.h"
#include "game/SpyGame/CSpyItem.h"
#include "game/SpyGame/ItemRefs.h"
#include "game/SpyGame/Rooms/CRoomsManager.h"
#include "game/SpyGame/Rooms/Toolkit/PuzzleHelpers.h"
#include "game/SpyGame/Rooms/Toolkit/PuzzleStrings.h"
#include "game/SpyGame/SaveCounts.h"
#include "tk2v/gfx/aApplication.h"
#include "tk2v/input/aInputServer.h"
#include "tk2v/sound/aSound.h"
#include "tk2v/util/log.h"

#include <cstdio>
#include <cstdlib>

namespace {

constexpr u8 PreviewAlpha = 160;
constexpr u8 Opaque = 255;
// A saved centre: an empty reference and two floats; a saved table entry: three empty references.
constexpr u32 SavedCenterSize = 1 + 8;
constexpr u32 SavedEntrySize = 3;

bool LeftPressed() {
    const aInputServer* input = aApplication::inputServer();
    return input && input->mouseButtons[0] == KEY_PRESSED;
}

} // namespace

cZodiacBookPuzzleRoom::cZodiacBookPuzzleRoom() {
    m_Propertys.SolveButtonShown = 1;
}

cZodiacBookPuzzleRoom::~cZodiacBookPuzzleRoom() = default;

std::string cZodiacBookPuzzleRoom::InventoryName(i32 number) const {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%2.2d", number);
    return m_InventoryMask + digits;
}

void cZodiacBookPuzzleRoom::AfterLoadInit() {
    const bool due = IsLoadInitDue();
    CRoomBase::AfterLoadInit();
    if (!due)
        return;
    ReadLists();
    ReadScaler();
    ReadCenters();
    m_pOpen = GetItem("OPEN");
}

void cZodiacBookPuzzleRoom::ReadLists() {
    if (!m_Ini.selectSection("LISTS")) {
        log("cZodiacBookPuzzleRoom. LISTS section not exsist!");
        return;
    }
    const i32 count = m_Ini.getInt("count");
    m_SlotMask = m_Ini.getString("roomBackMask");
    m_FigureMask = m_Ini.getString("roomFigMask");
    m_InventoryMask = m_Ini.getString("invMask");
    for (i32 n = 1; n <= count; ++n) {
        m_Pairs.AddPair(m_FigureMask + DoubleToString(n), InventoryName(n));
        m_Figures.push_back(GetItem(m_FigureMask + DoubleToString(n)));
        m_Slots.push_back(GetItem(m_SlotMask + DoubleToString(n)));
    }
}

void cZodiacBookPuzzleRoom::ReadScaler() {
    if (!m_Ini.selectSection("SCALER")) {
        log("cZodiacBookPuzzleRoom. SCALER section not exsist!");
        return;
    }
    auto number = [&](const char* key) { return f32(std::atof(m_Ini.getString(key).c_str())); };
    m_Scaler = Scaler{number("minY"), number("minZoom"), number("maxY"), number("maxZoom")};
}

void cZodiacBookPuzzleRoom::ReadCenters() {
    if (!m_Ini.selectSection("Centers"))
        return;
    for (size_t i = 0; i < m_Slots.size(); ++i) {
        if (!m_Slots[i])
            continue;
        SpyPoint centre;
        if (std::sscanf(m_Ini.getString(m_Slots[i]->GetName()).c_str(), "%f %f", &centre.x, &centre.y) == 2)
            m_SlotCenters[i] = centre;
    }
}

void cZodiacBookPuzzleRoom::Reset() {
    if (m_State <= ResourcesQueued)
        return;
    CRoomBase::Reset();
    m_bBookOpen = false;
    ClearHover();
    m_PlaceAnim.Clear();
    m_PlaceAnim.Reset();
    m_RevealAnim.Clear();
    m_RevealAnim.Reset();
    m_SlotTable.clear();
    for (size_t i = 0; i < m_Slots.size(); ++i)
        m_SlotTable[i] = {m_Slots[i], m_Figures[i], nullptr};
    m_bOpenPending = true;
    if (m_bFirstReset) {
        m_PlaceAnim.SetParams(0.4f, 1.0f, 1.4f, 1.0f);
        m_RevealAnim.SetParams(1.0f, 0x00FFFFFF, 0xFFFFFFFF);
        m_bFirstReset = false;
    }
    m_Items.MoveItemToTop("OPEN");
}

u32 cZodiacBookPuzzleRoom::FrameMove(f32 dt, bool paused) {
    m_RevealAnim.Update(dt);
    m_PlaceAnim.Update(dt);
    if (m_bBookOpen && m_bOpenPending && !m_RevealAnim.IsActive() && m_pOpen) {
        m_Items.MoveItemToTop("OPEN");
        m_pOpen->SetVisible(true);
        m_RevealAnim.Clear();
        m_RevealAnim.AddItem(m_pOpen);
        m_RevealAnim.Start();
        m_bOpenPending = false;
    }
    if (m_pOpen && m_pOpen->IsVisible() && LeftPressed())
        m_Items.MoveItemToTop("FOTOS");
    return CRoomBase::FrameMove(dt, paused);
}

void cZodiacBookPuzzleRoom::SetItemOnCursor(CSpyItem* item, CSpyItem* roomForm,
                                            std::optional<SpyPoint> grabOffset) {
    if (item) {
        // The name loses its number on the way: it is the carried item's own.
        std::string name = item->GetName();
        const std::string figure = "SCR_FIGURE_" + DoubleToString(CutTrailingNumber(name));
        if (m_Items.HasItem(figure)) {
            CSpyItem* form = GetItem(figure);
            m_bSharedMouseInside = false;
            CRoomBase::SetItemOnCursor(item, form, SpyPoint{-0.5f * f32(form->GetWidth()), 0});
            return;
        }
    }
    m_bSharedMouseInside = true;
    CRoomBase::SetItemOnCursor(item, roomForm, grabOffset);
}

i32 cZodiacBookPuzzleRoom::SlotIndex(const CSpyItem* item) const {
    for (size_t i = 0; i < m_Slots.size(); ++i)
        if (item && m_Slots[i] == item)
            return i32(i);
    return -1;
}

void cZodiacBookPuzzleRoom::ClearHover() {
    m_pHoveredSlot = nullptr;
    m_pHoveredFigure = nullptr;
}

f32 cZodiacBookPuzzleRoom::PreviewZoom(const CSpyItem& slot) const {
    if (!m_Scaler)
        return 1.0f;
    const Scaler& s = *m_Scaler;
    // A range of 0 would divide by it: the figure keeps the zoom of the range's start.
    if (s.maxY == 0)
        return s.minZoom;
    const SpyPoint local = m_Transform.ScreenToLocal(slot.GetPos().x, slot.GetPos().y);
    return s.minZoom + (s.maxZoom - s.minZoom) * ((local.y - s.minY) / s.maxY);
}

void cZodiacBookPuzzleRoom::ShowPreview(size_t slot, i32 figureNumber) {
    m_pHoveredSlot = m_Slots[slot];
    const std::string name = m_FigureMask + DoubleToString(figureNumber);
    m_pHoveredFigure = m_Items.HasItem(name) ? GetItem(name) : nullptr;
    if (!m_pHoveredFigure)
        return;
    m_Items.MoveItemToTop(name);
    m_pHoveredFigure->SetScale(m_Scale, false);
    auto centre = m_SlotCenters.find(slot);
    const SpyPoint local = centre == m_SlotCenters.end() ? SpyPoint{} : centre->second;
    SetItemCenter(m_pHoveredFigure, m_Transform.LocalToScreen(local.x, local.y));
    const f32 z = PreviewZoom(*m_pHoveredSlot);
    m_pHoveredFigure->SetScale(SpyPoint{m_Scale.x * z, m_Scale.y * z}, true);
    for (CSpyItem* item : {m_pHoveredSlot, m_pHoveredFigure})
        item->SetColor(SetColorAlpha(item->GetColor(), PreviewAlpha));
}

void cZodiacBookPuzzleRoom::HandleCursorItemInput(f32 dt) {
    CRoomBase::HandleCursorItemInput(dt);
    if (m_bBookOpen)
        return;
    CSpyItem* carried = m_pCursorItem;
    if (!carried || m_Pairs.GetScreenName(carried->GetName()).empty()) {
        ClearHover();
        return;
    }
    std::string name = carried->GetName();
    const i32 number = CutTrailingNumber(name);
    const aInputServer* input = aApplication::inputServer();
    i32 mx = 0, my = 0;
    if (input)
        input->getMousePos(mx, my);
    i32 hovered = -1;
    for (size_t i = 0; i < m_Slots.size() && hovered < 0; ++i)
        if (m_Slots[i] && !m_Slots[i]->IsVisible() && m_Slots[i]->HitTest(i16(mx), i16(my)))
            hovered = i32(i);
    if (hovered < 0) {
        ClearHover();
        return;
    }
    if (m_Slots[size_t(hovered)] != m_pHoveredSlot)
        ShowPreview(size_t(hovered), number);
    if (m_pHoveredSlot && m_pHoveredFigure && m_pCursorItem && LeftPressed())
        PlaceFigure(size_t(hovered));
}

void cZodiacBookPuzzleRoom::PlaceFigure(size_t slot) {
    SlotEntry& entry = m_SlotTable[slot];
    entry.placed = m_pHoveredFigure;
    if (entry.placed == entry.belongs) {
        PlaySound("zodiak_item_right");
        m_PlaceAnim.Clear();
        m_PlaceAnim.AddItem(m_pHoveredFigure);
        m_PlaceAnim.AddItem(m_pHoveredSlot);
        m_PlaceAnim.Start();
        m_Items.MoveItemToTop(m_pHoveredSlot->GetName());
        m_Items.MoveItemToTop(m_pHoveredFigure->GetName());
        if (IsSolved())
            OpenBook();
    } else {
        PlaySound("zodiak_item_wrong");
    }
    for (CSpyItem* item : {m_pHoveredFigure, m_pHoveredSlot}) {
        item->SetVisible(true);
        item->SetColor(SetColorAlpha(item->GetColor(), Opaque));
    }
    ClearHover();
    CSpyItem* carried = m_pCursorItem;
    m_Pairs.GetInventoryObjects()[carried->GetName()] = carried;
    carried->SetVisible(false);
    SetItemOnCursor(nullptr, nullptr, SpyPoint{});
}

void cZodiacBookPuzzleRoom::HandleInput(f32 dt) {
    const i32 slot = SlotIndex(m_pItemUnderCursor);
    if (m_bBookOpen || !LeftPressed() || m_pCursorItem || slot < 0) {
        CRoomBase::HandleInput(dt);
        return;
    }
    SlotEntry& entry = m_SlotTable[size_t(slot)];
    // A place that was shown without a figure set there has nothing to give back.
    if (!entry.placed || entry.placed == entry.belongs) {
        CRoomBase::HandleInput(dt);
        return;
    }
    CSpyItem* figure = m_Pairs.GetInventoryObject(entry.placed->GetName());
    entry.placed->SetVisible(false);
    m_Slots[size_t(slot)]->SetVisible(false);
    if (!figure) {
        log("cZodiacBookPuzzleRoom. inventory error!");
        return;
    }
    figure->SetVisible(true);
    SetItemOnCursor(figure, nullptr, SpyPoint{});
}

void cZodiacBookPuzzleRoom::RenderItems() {
    CRoomBase::RenderItems();
    if (!m_pHoveredSlot || !m_pHoveredFigure)
        return;
    for (CSpyItem* item : {m_pHoveredSlot, m_pHoveredFigure}) {
        item->SetVisible(true);
        item->Render();
        item->SetVisible(false);
    }
}

bool cZodiacBookPuzzleRoom::IsSolved() const {
    for (const auto& [index, entry] : m_SlotTable)
        if (entry.placed != entry.belongs)
            return false;
    return true;
}

void cZodiacBookPuzzleRoom::OpenBook() {
    if (m_bBookOpen)
        return;
    if (CSpyItem* locks = m_Items.HasItem("OPEN_LOCKS") ? GetItem("OPEN_LOCKS") : nullptr) {
        m_Items.MoveItemToTop("OPEN_LOCKS");
        locks->SetVisible(true);
        m_RevealAnim.Clear();
        m_RevealAnim.AddItem(locks);
        m_RevealAnim.Start();
    }
    m_bBookOpen = true;
    m_bOpenPending = true;
    PlaySound("zodiak_book_open");
}

bool cZodiacBookPuzzleRoom::ProcessAutoActions() {
    if (m_bBookOpen)
        return false;
    OpenBook();
    if (CPersonage* personage = CurrentPersonage())
        for (i32 n = 1; n <= i32(m_Slots.size()); ++n)
            personage->GetInventory().RemoveItem(InventoryName(n));
    return CRoomBase::ProcessAutoActions();
}

void cZodiacBookPuzzleRoom::PlaySound(const char* name) {
    if (aSound* sound = GetSound(name))
        sound->play();
}

u8* cZodiacBookPuzzleRoom::SaveSelf(SaveLoadSystem& sys, u8* pos) {
    pos = CRoomBase::SaveSelf(sys, pos);
    pos = sys.writeBool(pos, m_bBookOpen);
    pos = sys.writeBool(pos, m_bOpenPending);
    pos = sys.writeBool(pos, m_bFirstReset);
    pos = m_Pairs.SaveSelf(sys, pos);
    pos = SaveItemRef(sys, pos, m_pHoveredSlot);
    pos = SaveItemRef(sys, pos, m_pHoveredFigure);
    pos = sys.writeU32(pos, u32(m_SlotCenters.size()));
    for (const auto& [index, centre] : m_SlotCenters) {
        pos = SaveItemRef(sys, pos, m_Slots[index]);
        pos = sys.writeF32(sys.writeF32(pos, centre.x), centre.y);
    }
    pos = sys.writeU32(pos, u32(m_SlotTable.size()));
    for (const auto& [index, entry] : m_SlotTable) {
        pos = SaveItemRef(sys, pos, entry.slot);
        pos = SaveItemRef(sys, pos, entry.belongs);
        pos = SaveItemRef(sys, pos, entry.placed);
    }
    pos = m_PlaceAnim.SaveSelf(sys, pos);
    return m_RevealAnim.SaveSelf(sys, pos);
}

const u8* cZodiacBookPuzzleRoom::LoadSelf(SaveLoadSystem& sys, const u8* pos) {
    pos = CRoomBase::LoadSelf(sys, pos);
    if (!m_pRoomsManager)
        return pos;
    CRoomItemLookup& rooms = *m_pRoomsManager;
    pos = sys.readBool(pos, m_bBookOpen);
    pos = sys.readBool(pos, m_bOpenPending);
    pos = sys.readBool(pos, m_bFirstReset);
    pos = m_Pairs.LoadSelf(rooms, sys, pos);
    pos = LoadItemRef(rooms, sys, pos, m_pHoveredSlot);
    pos = LoadItemRef(rooms, sys, pos, m_pHoveredFigure);
    m_SlotCenters.clear();
    u32 count = 0;
    pos = sys.readU32(pos, count);
    if (!countFits(sys, pos, count, SavedCenterSize, "cZodiacBookPuzzleRoom::LoadSelf() centres"))
        return pos + sys.bytesLeftInRecord(pos);
    for (u32 i = 0; i < count; ++i) {
        CSpyItem* slot = nullptr;
        SpyPoint centre;
        pos = LoadItemRef(rooms, sys, pos, slot);
        pos = sys.readF32(sys.readF32(pos, centre.x), centre.y);
        if (i32 index = SlotIndex(slot); index >= 0)
            m_SlotCenters[size_t(index)] = centre;
    }
    m_SlotTable.clear();
    pos = sys.readU32(pos, count);
    if (!countFits(sys, pos, count, SavedEntrySize, "cZodiacBookPuzzleRoom::LoadSelf() places"))
        return pos + sys.bytesLeftInRecord(pos);
    for (u32 i = 0; i < count; ++i) {
        SlotEntry entry;
        pos = LoadItemRef(rooms, sys, pos, entry.slot);
        pos = LoadItemRef(rooms, sys, pos, entry.belongs);
        pos = LoadItemRef(rooms, sys, pos, entry.placed);
        if (i32 index = SlotIndex(entry.slot); index >= 0)
            m_SlotTable[size_t(index)] = entry;
    }
    pos = m_PlaceAnim.LoadSelf(rooms, sys, pos);
    return m_RevealAnim.LoadSelf(rooms, sys, pos);
}
