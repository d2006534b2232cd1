#include "game/SpyGame/Rooms/Puzzles/cDilaryLightsPuzzle.h"

#include "game/SaveLoadSystem.h"
#include "game/SpyGame/CInventory.h"
#include "game/SpyGame/CPersonage.h"
#include "game/SpyGame/CSpyItem.h"
#include "game/SpyGame/ItemRefs.h"
#include "game/SpyGame/Rooms/CRoomsManager.h"
#include "game/SpyGame/Rooms/Toolkit/MouseState.h"
#include "game/SpyGame/Rooms/Toolkit/PuzzleHelpers.h"
#include "game/SpyGame/Rooms/Toolkit/PuzzleStrings.h"
#include "game/SpyGame/Rooms/Toolkit/RoomSounds.h"
#include "tk2v/util/log.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

// A picture grows to this much of its size and back as it locks.
constexpr f32 PulsePeak = 1.4f;

// The union of both rectangles.
aRect Union(const aRect& a, const aRect& b) {
    const i32 left = std::min(a.x, b.x), top = std::min(a.y, b.y);
    const i32 right = std::max(a.x + a.w, b.x + b.w), bottom = std::max(a.y + a.h, b.y + b.h);
    return {i16(left), i16(top), u16(right - left), u16(bottom - top)};
}

} // namespace

cDilaryLightsPuzzle::cDilaryLightsPuzzle() : m_pMoves(std::make_unique<cMoveItemsManager>(m_Transform)) {
    m_Propertys.SolveButtonShown = 1;
}

cDilaryLightsPuzzle::~cDilaryLightsPuzzle() = default;

std::string cDilaryLightsPuzzle::LampName(i32 lamp) const {
    char number[16];
    std::snprintf(number, sizeof number, "%2.2d", lamp);
    return m_OutsideLamp + number;
}

std::string cDilaryLightsPuzzle::HoleName(i32 hole) const {
    return m_HolePrefix + DoubleToString(hole);
}

std::string cDilaryLightsPuzzle::PictureName(i32 lamp, i32 hole) const {
    return DoubleToString(lamp) + m_InsideLamp + DoubleToString(hole);
}

void cDilaryLightsPuzzle::AfterLoadInit() {
    const bool due = IsLoadInitDue();
    cReservationsRegisterRoom::AfterLoadInit();
    if (due) {
        m_LampCount = 0;
        if (CheckRoomSection(m_Ini, "Table", m_Name)) {
            m_LampCount = m_Ini.getInt("count");
            m_OutsideLamp = m_Ini.getString("outsideLamp");
            m_HolePrefix = m_Ini.getString("hole");
            m_InsideLamp = m_Ini.getString("insideLamp");
        }
    }
    for (cAnimateItems* pulse : {&m_FirstPulse, &m_SecondPulse})
        pulse->SetParams(PulseTime, 1.0f, PulsePeak, 1.0f);
}

void cDilaryLightsPuzzle::Reset() {
    if (m_State <= ResourcesQueued)
        return;
    cReservationsRegisterRoom::Reset();
    m_bSolved = false;
    m_pMoves->Reset();
    m_FirstPulse.Reset();
    m_SecondPulse.Reset();
    m_pLastLifted = nullptr;
}

void cDilaryLightsPuzzle::Enter(const std::string& entryName, CSpyItem* entryItem) {
    CRoomBase::Enter(entryName, entryItem);
    BuildTable(nullptr);
}

bool cDilaryLightsPuzzle::BuildTable(const std::vector<CSpyItem*>* saved) {
    if (!m_bTableNeedsBuilding)
        return true;
    CPersonage* personage = CurrentPersonage();
    std::vector<CSpyItem*> lamps, holes, pictures;
    std::string missing;
    auto lookUp = [&](const std::string& name) {
        CSpyItem* item = FindRoomItem(name);
        if (!item && missing.empty())
            missing = name;
        return item;
    };
    for (i32 i = 1; i <= m_LampCount; ++i) {
        CSpyItem* lamp = saved       ? (*saved)[size_t(i - 1)]
                         : personage ? personage->GetInventory().FindItem(LampName(i))
                                     : nullptr;
        if (!lamp && missing.empty())
            missing = LampName(i);
        lamps.push_back(lamp);
        holes.push_back(lookUp(HoleName(i)));
        for (i32 j = 1; j <= m_LampCount; ++j)
            pictures.push_back(lookUp(PictureName(i, j)));
    }
    if (!missing.empty()) {
        log("cDilaryLightsPuzzle::BuildTable(). Cann't find item '%s' for room <%s>", missing.c_str(),
            m_Name.c_str());
        return false;
    }
    m_Lamps = std::move(lamps);
    m_Holes = std::move(holes);
    m_Pictures = std::move(pictures);
    RegisterTable();
    m_bTableNeedsBuilding = false;
    return true;
}

void cDilaryLightsPuzzle::RegisterTable() {
    m_pMoves = std::make_unique<cMoveItemsManager>(m_Transform);
    m_pMoves->SetOnPut(MakeHandler(this, &cDilaryLightsPuzzle::OnLampPut));
    m_Spots.clear();
    // The offset is cut to whole units first, as the places are laid out.
    const i32 dx = i32(m_Origin.x), dy = i32(m_Origin.y);
    for (i32 i = 1; i <= m_LampCount; ++i) {
        CSpyItem* hole = m_Holes[size_t(i - 1)];
        m_pMoves->AddItem(m_Lamps[size_t(i - 1)], true, true);
        aRect rect = Union(GetItemRect(hole), GetItemRect(Picture(i, i)));
        rect.x = i16(rect.x - dx);
        rect.y = i16(rect.y - dy);
        m_pMoves->AddRect(hole->GetName(), rect, rect);
        for (i32 j = 1; j <= m_LampCount; ++j)
            m_Spots[Picture(i, j)] = {i, j};
    }
}

CSpyItem* cDilaryLightsPuzzle::FindRoomItem(const std::string& name) const {
    return m_Items.HasItem(name) ? m_Items.GetItem(name) : nullptr;
}

CSpyItem* cDilaryLightsPuzzle::Picture(i32 lamp, i32 hole) const {
    const size_t index = size_t(lamp - 1) * size_t(m_LampCount) + size_t(hole - 1);
    return lamp >= 1 && hole >= 1 && index < m_Pictures.size() ? m_Pictures[index] : nullptr;
}

i32 cDilaryLightsPuzzle::IndexOf(const std::vector<CSpyItem*>& items, const CSpyItem* item) {
    const auto found = item ? std::find(items.begin(), items.end(), item) : items.end();
    return found == items.end() ? 0 : i32(found - items.begin()) + 1;
}

CSpyItem* cDilaryLightsPuzzle::GetPictureFor(const CSpyItem* lamp, const CSpyItem* hole) const {
    const i32 i = IndexOf(m_Lamps, lamp), j = IndexOf(m_Holes, hole);
    return i && j ? Picture(i, j) : nullptr;
}

CSpyItem* cDilaryLightsPuzzle::GetLampOfPicture(const CSpyItem* item) const {
    if (!item || item->IsLocked())
        return nullptr;
    const auto spot = m_Spots.find(item);
    return spot == m_Spots.end() ? nullptr : m_Lamps[size_t(spot->second.lamp - 1)];
}

CSpyItem* cDilaryLightsPuzzle::GetHoleOfPicture(const CSpyItem* item) const {
    if (!item || item->IsLocked())
        return nullptr;
    const auto spot = m_Spots.find(item);
    return spot == m_Spots.end() ? nullptr : m_Holes[size_t(spot->second.hole - 1)];
}

CSpyItem* cDilaryLightsPuzzle::FindShownPictureInHole(const CSpyItem* hole) const {
    const i32 j = IndexOf(m_Holes, hole);
    for (i32 i = 1; j && i <= m_LampCount; ++i)
        if (CSpyItem* picture = Picture(i, j); picture->IsVisible())
            return picture;
    return nullptr;
}

void cDilaryLightsPuzzle::HandleInput(f32 dt) {
    if (!ProcessTableInput(dt))
        cReservationsRegisterRoom::HandleInput(dt);
}

void cDilaryLightsPuzzle::HandleCursorItemInput(f32 dt) {
    // The manager learns what is carried, for the preview, only when it is handed the frame.
    if (!m_bSolved && LeftButtonState() != KEY_PRESSED)
        m_pMoves->ProcessMouse(dt, m_pCursorItem, nullptr);
    if (!ProcessTableInput(dt))
        CRoomBase::HandleCursorItemInput(dt);
}

bool cDilaryLightsPuzzle::ProcessTableInput(f32 dt) {
    const aKeyState button = LeftButtonState();
    if (m_bSolved || !m_pItemUnderCursor || (button != KEY_PRESSED && button != KEY_RELEASED))
        return false;
    CSpyItem* under = m_pItemUnderCursor;
    CSpyItem* lamp = GetLampOfPicture(under);
    if (!lamp) {
        // An occupied hole takes clicks only on its picture.
        const CSpyItem* shown = FindShownPictureInHole(under);
        if (shown && GetLampOfPicture(shown))
            return true;
    }
    CSpyItem* held = m_pCursorItem;
    CSpyItem* next = m_pMoves->ProcessMouse(dt, held, lamp);
    if (next == held)
        return true;
    if (next && lamp && !m_pMoves->GetDragState().displaced) {
        // Lifted out of its hole: the lamp travels, its picture goes.
        lamp->SetVisible(true);
        under->SetVisible(false);
        m_pLastLifted = under;
    }
    SetItemOnCursor(next, nullptr, SpyPoint{0, 0});
    return true;
}

void cDilaryLightsPuzzle::SetItemOnCursor(CSpyItem* item, CSpyItem* roomForm,
                                          std::optional<SpyPoint> grabOffset) {
    if (!item)
        m_pMoves->ClearLastMove();
    CRoomBase::SetItemOnCursor(item, roomForm, grabOffset);
}

bool cDilaryLightsPuzzle::OnLampPut(const GUI::EventArgs&) {
    const cMoveItemsManager::DragState& drag = m_pMoves->GetDragState();
    CSpyItem* lamp = drag.lastItem;
    CSpyItem* hole = nullptr;
    for (CSpyItem* candidate : m_Holes)
        if (candidate->GetName() == drag.rectName)
            hole = candidate;
    if (!hole) {
        ReturnToInventory(lamp);
        return true;
    }
    if (CSpyItem* picture = GetPictureFor(lamp, hole))
        picture->SetVisible(true);
    lamp->SetVisible(false);
    if (m_pLastLifted && drag.displaced) {
        // The lamp that lay here moves into the hole the carried one came from. Its picture here is
        // hidden by name: a scan of the hole could meet the carried lamp's new picture first.
        if (CSpyItem* moved = GetPictureFor(drag.displaced, GetHoleOfPicture(m_pLastLifted)))
            moved->SetVisible(true);
        if (CSpyItem* old = GetPictureFor(drag.displaced, hole))
            old->SetVisible(false);
    }
    PlayRoomSound(*this, "bulb_setup");
    for (cAnimateItems* pulse : {&m_FirstPulse, &m_SecondPulse}) {
        pulse->Finish();
        pulse->Clear();
    }
    m_bSolved = LockRightLamps();
    return true;
}

bool cDilaryLightsPuzzle::LockRightLamps() {
    bool complete = true;
    for (i32 i = 1; i <= m_LampCount; ++i) {
        CSpyItem* picture = Picture(i, i);
        if (!picture->IsLocked() && picture->IsVisible()) {
            picture->SetDisabled(true);
            m_pMoves->SetRectEnabled(m_Holes[size_t(i - 1)]->GetName(), false);
            cAnimateItems& pulse = m_FirstPulse.GetCount() == 0 ? m_FirstPulse : m_SecondPulse;
            pulse.AddItem(picture);
            pulse.Start();
            m_pMoves->ClearLastMove();
        }
        if (!picture->IsLocked())
            complete = false;
    }
    return complete;
}

void cDilaryLightsPuzzle::ReturnToInventory(CSpyItem* lamp) {
    if (CPersonage* personage = CurrentPersonage(); lamp && personage) {
        lamp->SetVisible(false);
        personage->GetInventory().AddItem(lamp);
    }
}

void cDilaryLightsPuzzle::RenderItems() {
    CRoomBase::RenderItems();
    if (!m_pCursorItem)
        return;
    const std::string name = m_pMoves->GetRectUnderItem();
    for (CSpyItem* hole : m_Holes)
        if (!name.empty() && hole->GetName() == name)
            m_pMoves->RenderItem(GetPictureFor(m_pCursorItem, hole));
}

u32 cDilaryLightsPuzzle::FrameMove(f32 dt, bool paused) {
    m_FirstPulse.Update(dt);
    m_SecondPulse.Update(dt);
    return cReservationsRegisterRoom::FrameMove(dt, paused);
}

bool cDilaryLightsPuzzle::ProcessAutoActions() {
    if (m_bSolved)
        return CRoomBase::ProcessAutoActions();
    ShowSolvedTable();
    m_bSolved = true;
    return true;
}

void cDilaryLightsPuzzle::ShowSolvedTable() {
    CPersonage* personage = CurrentPersonage();
    for (i32 i = 1; i <= m_LampCount; ++i) {
        if (personage)
            personage->GetInventory().RemoveItem(LampName(i));
        // Without a table the pictures are found by their names.
        CSpyItem* picture = m_bTableNeedsBuilding ? FindRoomItem(PictureName(i, i)) : Picture(i, i);
        if (picture)
            picture->SetVisible(true);
    }
}

u8* cDilaryLightsPuzzle::SaveSelf(SaveLoadSystem& sys, u8* pos) {
    pos = cReservationsRegisterRoom::SaveSelf(sys, pos);
    pos = sys.writeBool(pos, m_bTableNeedsBuilding);
    if (m_bTableNeedsBuilding)
        return pos;
    pos = SaveItemRefVector(sys, pos, m_Lamps);
    pos = m_pMoves->SaveSelf(sys, pos);
    pos = m_FirstPulse.SaveSelf(sys, pos);
    pos = m_SecondPulse.SaveSelf(sys, pos);
    pos = sys.writeBool(pos, m_bSolved);
    return SaveItemRef(sys, pos, m_pLastLifted);
}

const u8* cDilaryLightsPuzzle::LoadSelf(SaveLoadSystem& sys, const u8* pos) {
    pos = cReservationsRegisterRoom::LoadSelf(sys, pos);
    if (!m_pRoomsManager)
        return pos;
    CRoomItemLookup& rooms = *m_pRoomsManager;
    bool needsBuilding = true;
    pos = sys.readBool(pos, needsBuilding);
    m_bTableNeedsBuilding = true;
    if (needsBuilding)
        return pos;
    u32 count = 0;
    sys.readU32(pos, count);
    std::vector<CSpyItem*> lamps;
    if (count != u32(m_LampCount)) {
        log("cDilaryLightsPuzzle::LoadSelf(). %u lamps saved for a table of %d; the table is built anew",
            count, m_LampCount);
        return pos + sys.bytesLeftInRecord(pos);
    }
    pos = LoadItemRefVector(rooms, sys, pos, lamps);
    // A list too long for the record has been reported by its reader.
    if (lamps.size() != count)
        return pos + sys.bytesLeftInRecord(pos);
    if (std::find(lamps.begin(), lamps.end(), nullptr) != lamps.end()) {
        log("cDilaryLightsPuzzle::LoadSelf(). A saved lamp is missing; the table is built anew");
        return pos + sys.bytesLeftInRecord(pos);
    }
    if (!BuildTable(&lamps))
        return pos + sys.bytesLeftInRecord(pos);
    pos = m_pMoves->LoadSelf(rooms, sys, pos);
    pos = m_FirstPulse.LoadSelf(rooms, sys, pos);
    pos = m_SecondPulse.LoadSelf(rooms, sys, pos);
    pos = sys.readBool(pos, m_bSolved);
    return LoadItemRef(rooms, sys, pos, m_pLastLifted);
}
