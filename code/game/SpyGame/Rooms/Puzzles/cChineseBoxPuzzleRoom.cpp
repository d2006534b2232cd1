#include "game/SpyGame/Rooms/Puzzles/cChineseBoxPuzzleRoom.h"

#include "game/SaveLoadSystem.h"
#include "game/SpyGame/CInventory.h"
#include "game/SpyGame/CPersonage.h"
#include "game/SpyGame/CSpyItem.h"
#include "game/SpyGame/Rooms/CRoomsManager.h"
#include "game/SpyGame/Rooms/Puzzles/cRecordReader.h"
#include "game/SpyGame/Rooms/Toolkit/MouseState.h"
#include "game/SpyGame/Rooms/Toolkit/PuzzleHelpers.h"
#include "game/SpyGame/Rooms/Toolkit/PuzzleStrings.h"
#include "game/SpyGame/Rooms/Toolkit/RoomSounds.h"
#include "tk2v/platform/Random.h"
#include "tk2v/util/log.h"

#include <cstdlib>

namespace {

constexpr f32 Pi = 3.14159265f;
constexpr u32 Opaque = 0xFFFFFFFF;
constexpr u32 Transparent = 0x00FFFFFF;
constexpr int DiskCount = 5;
constexpr int ElementCount = 4;

f32 ReadFloat(const aOptionsFile& ini, const std::string& key) {
    return f32(std::atof(ini.getString(key).c_str()));
}

} // namespace

cChineseBoxPuzzleRoom::cChineseBoxPuzzleRoom() {
    m_Propertys.SolveButtonShown = 1;
}

cChineseBoxPuzzleRoom::~cChineseBoxPuzzleRoom() = default;

CSpyItem* cChineseBoxPuzzleRoom::FindItem(const std::string& name) {
    return m_Items.HasItem(name) ? GetItem(name) : nullptr;
}

void cChineseBoxPuzzleRoom::AfterLoadInit() {
    const bool due = IsLoadInitDue();
    CRoomBase::AfterLoadInit();
    if (!due)
        return;
    // Loaded again after its resources were dropped, the room's items are new: nothing of the old
    // ones may stay in the sets.
    m_Disks = cChineseBoxDisk{};
    m_Elements = cChineseBoxDisk{};
    m_DiskPlaces = cPlaceByName{};
    m_ElementPlaces = cPlaceInSlot{m_Transform};
    m_PartNames.clear();
    m_Pop.Clear();
    m_Fade.Clear();
    m_PartCount = 0;
    if (!m_Ini.selectSection("Angles")) {
        log("Cann't find section \"Angles\" !");
    } else {
        m_Disks.SetStepCount(u32(m_Ini.getInt("disks")));
        m_Elements.SetStepCount(u32(m_Ini.getInt("elements")));
    }
    if (m_Ini.selectSection("Connections")) {
        for (int n = 1; n <= DiskCount; ++n)
            RegisterPart("DISK" + DoubleToString(n), true);
        for (int n = 1; n <= ElementCount; ++n)
            RegisterPart("ELEMENT" + DoubleToString(n), false);
    }
    m_Pop.SetParams(0.4f, 1.0f, 1.4f, 1.0f);
    // Without a time of its own the fade has only its end: the box shows open at once.
    const f32 fadeTime = m_Ini.selectSection("Timer") ? ReadFloat(m_Ini, "timeofhide") : 0.0f;
    m_Fade.SetParams(fadeTime, Opaque, Transparent);
    if (m_Ini.selectSection("AutoRotate")) {
        m_Zoom1 = ReadFloat(m_Ini, "zoom1");
        m_Zoom2 = ReadFloat(m_Ini, "zoom2");
    }
    for (const char* name : {"COVER", "LIGHTS"})
        if (CSpyItem* item = GetItem(name))
            m_Fade.AddItem(item);
    m_Disks.SetSound(GetSound("chinbox_rotating"));
}

void cChineseBoxPuzzleRoom::RegisterPart(const std::string& name, bool disk) {
    // A box has up to five disks and four elements: a lid with fewer is no fault of its data.
    CSpyItem* part = FindItem(name);
    if (!part)
        return;
    part->Reset();
    ++m_PartCount;
    const std::string place = (disk ? "rgroup" : "rect_group") + DoubleToString(m_PartCount);
    CSpyItem* home =
        m_Items.CreateItem(place, m_Name, part->GetPos(), part->GetWidth(), part->GetHeight(), false);
    m_Fade.AddItem(part);
    (disk ? m_Disks : m_Elements).AddItem(part);
    const std::string piece = m_Ini.getString(name);
    m_PartNames.push_back(piece);
    if (disk)
        m_DiskPlaces.RegisterTarget(piece, part);
    else
        m_ElementPlaces.RegisterPiece(piece, part, {home, part});
}

void cChineseBoxPuzzleRoom::Reset() {
    if (m_State <= ResourcesQueued)
        return;
    CRoomBase::Reset();
    m_bBoxOpen = false;
    m_Disks.SetEnabled(true);
    m_Elements.SetEnabled(true);
    m_Pop.Reset();
    m_Fade.Reset();
}

u32 cChineseBoxPuzzleRoom::FrameMove(f32 dt, bool paused) {
    m_Pop.Update(dt);
    CSpyItem* released = m_Disks.ProcessMouse(GetItemUnderCursor());
    const aKeyState button = LeftButtonState();
    if (button == KEY_RELEASED)
        ValidateDisk(released);
    // A part held or just grabbed is still moving.
    if (button != KEY_PRESSED && button != KEY_HELD)
        TestOpening();
    const bool fading = m_Fade.IsActive();
    m_Fade.Update(dt);
    if (fading && !m_Fade.IsActive())
        if (CSpyItem* open = FindItem("BOXISOPEN"))
            open->SetVisible(true);
    return CRoomBase::FrameMove(dt, paused);
}

void cChineseBoxPuzzleRoom::ValidateDisk(CSpyItem* item) {
    if (!m_Disks.CanGrab(item) || !IsItemAngleZero(item))
        return;
    Validate(item, m_Zoom2);
    SetItemEnabled(item, false);
}

void cChineseBoxPuzzleRoom::Validate(CSpyItem* part, f32 peak) {
    m_Pop.SetParams(0.4f, 1.0f, peak, 1.0f);
    m_Pop.Clear();
    m_Pop.Finish();
    m_Pop.AddItem(part);
    m_Pop.Start();
    PlayRoomSound(*this, "chinbox_itemvalidated");
}

void cChineseBoxPuzzleRoom::HandleInput(f32 dt) {
    CRoomBase::HandleInput(dt);
    CSpyItem* under = m_pItemUnderCursor;
    if (LeftButtonState() != KEY_PRESSED || !m_Elements.IsEnabled() || !m_Elements.HasItem(under) ||
        IsItemAngleZero(under))
        return;
    m_Elements.RotateStep(under);
    PlayRoomSound(*this, "chinbox_clickitem");
    if (IsItemAngleZero(under))
        Validate(under, m_Zoom1);
}

CSpyItem* cChineseBoxPuzzleRoom::ElementPlaceUnderCursor() const {
    const auto [x, y] = MousePosition();
    // A loaded record may name an element the room no longer has.
    for (CSpyItem* element : m_Elements.GetItems())
        if (element && !element->IsVisible() && m_ElementPlaces.IsInSlotArea(element, x, y))
            return element;
    return m_pItemUnderCursor;
}

void cChineseBoxPuzzleRoom::HandleCursorItemInput(f32 dt) {
    CRoomBase::HandleCursorItemInput(dt);
    CSpyItem* carried = m_pCursorItem;
    if (LeftButtonState() != KEY_PRESSED || !carried)
        return;
    const bool disk = m_DiskPlaces.Put(carried, true) != nullptr;
    if (!disk && !m_ElementPlaces.Put(carried, ElementPlaceUnderCursor()))
        return;
    SetItemOnCursor(nullptr, nullptr, SpyPoint{0, 0});
    PlayRoomSound(*this, "chinbox_putitem");
    CSpyItem* under = GetItemUnderCursor();
    if (disk)
        ValidateDisk(under);
    else if (m_Elements.HasItem(under) && IsItemAngleZero(under))
        Validate(under, m_Zoom1);
}

void cChineseBoxPuzzleRoom::SetItemOnCursor(CSpyItem* item, CSpyItem* roomForm,
                                            std::optional<SpyPoint> grabOffset) {
    CSpyItem* element = item ? m_ElementPlaces.Find(item->GetName()) : nullptr;
    CSpyItem* part = element ? element : item ? m_DiskPlaces.Find(item->GetName()) : nullptr;
    if (!part) {
        CRoomBase::SetItemOnCursor(item, roomForm, grabOffset);
        return;
    }
    const f32 angle = f32(platform::rand()) * 4 * Pi / 32767 - 2 * Pi;
    (element ? m_Elements : m_Disks).SnapAngle(part, angle);
    CRoomBase::SetItemOnCursor(item, part, SpyPoint{0, -0.5f * f32(part->GetHeight())});
}

void cChineseBoxPuzzleRoom::TestOpening() {
    if (m_Disks.IsEnabled() && m_Elements.IsEnabled() && m_Disks.AreItemsUpright() &&
        m_Elements.AreItemsUpright() && cChineseBoxDisk::AreItemsLocked(m_ElementPlaces.GetItems()))
        OpenBox();
}

void cChineseBoxPuzzleRoom::OpenBox() {
    if (m_bBoxOpen)
        return;
    m_Disks.SetEnabled(false);
    m_Elements.SetEnabled(false);
    m_Fade.Start();
    PlayRoomSound(*this, "chinbox_open");
    m_bBoxOpen = true;
}

bool cChineseBoxPuzzleRoom::ProcessAutoActions() {
    if (m_bBoxOpen)
        return false;
    if (CPersonage* personage = CurrentPersonage())
        for (const std::string& name : m_PartNames)
            personage->GetInventory().RemoveItem(name);
    OpenBox();
    return true;
}

void cChineseBoxPuzzleRoom::StopAmbient() {
    CRoomBase::StopAmbient();
    m_Disks.StopSound();
}

u8* cChineseBoxPuzzleRoom::SaveSelf(SaveLoadSystem& sys, u8* pos) {
    pos = CRoomBase::SaveSelf(sys, pos);
    pos = m_Disks.SaveSelf(sys, pos);
    pos = m_Elements.SaveSelf(sys, pos);
    pos = m_Pop.SaveSelf(sys, pos);
    pos = m_Fade.SaveSelf(sys, pos);
    return sys.writeBool(pos, m_bBoxOpen);
}

const u8* cChineseBoxPuzzleRoom::LoadSelf(SaveLoadSystem& sys, const u8* pos) {
    pos = CRoomBase::LoadSelf(sys, pos);
    if (!m_pRoomsManager)
        return pos;
    CRoomItemLookup& rooms = *m_pRoomsManager;
    cRecordReader in("cChineseBoxPuzzleRoom::LoadSelf()", &rooms, sys, pos);
    for (cChineseBoxDisk* set : {&m_Disks, &m_Elements})
        in.part([&](SaveLoadSystem& s, const u8* p) { return set->LoadSelf(rooms, s, p); });
    in.part([&](SaveLoadSystem& s, const u8* p) { return m_Pop.LoadSelf(rooms, s, p); });
    in.part([&](SaveLoadSystem& s, const u8* p) { return m_Fade.LoadSelf(rooms, s, p); });
    u8 open = m_bBoxOpen;
    in.get(open);
    m_bBoxOpen = open != 0;
    return in.pos();
}
