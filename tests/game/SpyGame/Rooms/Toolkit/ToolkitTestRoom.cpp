#include "ToolkitTestRoom.h"

#include "game/SaveLoadSystem.h"
#include "game/SpyGame/CSpyItem.h"
#include "game/SpyGame/Rooms/CRoomsManager.h"
#include "game/SpyGame/Rooms/Toolkit/PuzzleHelpers.h"

#include <algorithm>

namespace {

constexpr f32 PulseSeconds = 0.4f;
constexpr f32 FadeSeconds = 1.0f;
constexpr f32 SealSeconds = 0.8f;
// The walker steps this far a frame, changing its pose, until it reaches the far wall.
constexpr f32 WalkerStep = 4.0f;
constexpr f32 WalkerEnd = 300.0f;
// The disk starts this far from upright.
constexpr f32 DiskStartAngle = 2.0f;

} // namespace

ToolkitTestRoom::ToolkitTestRoom() = default;
ToolkitTestRoom::~ToolkitTestRoom() = default;

void ToolkitTestRoom::AfterLoadInit() {
    const bool loading = m_State == ResourcesQueued;
    CRoomBase::AfterLoadInit();
    if (!loading || m_State != Loaded)
        return;
    m_pTile1 = GetItem("TILE1");
    m_pTile2 = GetItem("TILE2");
    m_pDisk = GetItem("DISK");
    m_pCover = GetItem("COVER");
    m_pSeal = GetItem("SEAL");
    m_pLeaf = GetItem("LEAF");
    m_pPrize = GetItem("PRIZE");
    m_LampItems = {GetItem("LAMP1"), GetItem("LAMP2"), GetItem("LAMP3")};
    // Each tile's home, "x y w h" in room units; a drop counts a little around it.
    m_Slot1 = ParseRect(m_Ini.getValue("Tiles", "SLOT1"));
    m_Slot2 = ParseRect(m_Ini.getValue("Tiles", "SLOT2"));
    for (auto [name, slot] : {std::pair{"SLOT1", m_Slot1}, std::pair{"SLOT2", m_Slot2}})
        m_Moves.AddRect(name, slot, {i16(slot.x - 5), i16(slot.y - 5), u16(slot.w + 10), u16(slot.h + 10)});
    m_Moves.AddItem(m_pTile1, false, true);
    m_Moves.AddItem(m_pTile2, false, true);
    m_Disk.AddItem(m_pDisk);
    m_Disk.SetStepCount(4);
    m_Disk.SetSound(GetSound("toolkit_rotate"));
    m_Fade.AddItem(m_pCover);
    m_Fade.SetParams(FadeSeconds, 0xFFFFFFFF, 0x00FFFFFF);
    m_Pulse.SetParams(PulseSeconds, 1.0f, 1.4f, 1.0f);
    m_Lamps.lights.resize(m_LampItems.size());
    m_Physics.LoadObject("LEAF", m_Ini);
    for (const char* pose : {"WALK1", "WALK2"})
        m_Walker.AddItem(GetItem(pose));
}

void ToolkitTestRoom::Reset() {
    if (m_State <= ResourcesQueued)
        return;
    CRoomBase::Reset();
    m_Moves.Reset();
    m_Disk.SetEnabled(true);
    if (m_pDisk)
        m_pDisk->SetRotation(DiskStartAngle);
    m_Pulse.Reset();
    m_Fade.Reset();
    m_Hiding.Reset();
    m_Lamps.Reset();
    m_Physics.ResetAll();
    m_Walker.Select(-1, false);
    m_DiskDone = m_Solved = m_Won = false;
}

bool ToolkitTestRoom::AreTilesHome() const {
    return m_Moves.IsItemInRect(m_pTile1, "SLOT1") && m_Moves.IsItemInRect(m_pTile2, "SLOT2");
}

u32 ToolkitTestRoom::FrameMove(f32 dt, bool paused) {
    if (IsActive() && !paused) {
        if (m_Solved)
            StepShow(dt);
        else if (m_State == Playing && !m_pCursorItem) {
            CSpyItem* released = m_Disk.ProcessMouse(GetItemUnderCursor());
            if (released && IsItemAngleZero(released)) {
                m_DiskDone = true;
                SetItemEnabled(released, false);
            }
        }
    }
    const u32 state = CRoomBase::FrameMove(dt, paused);
    if (!m_Solved && m_DiskDone && !m_pCursorItem && AreTilesHome())
        StartShow();
    return state;
}

bool ToolkitTestRoom::OnClickUseItem() {
    CSpyItem* item = m_pItemUnderCursor;
    // The disk turns by dragging, in FrameMove.
    if (item && item == m_pDisk)
        return true;
    if (m_Solved || !m_Moves.IsMovable(item, true))
        return CRoomBase::OnClickUseItem();
    if (m_Moves.ProcessMouse(0, nullptr, item) != item)
        return false;
    // Carried by its middle, with the pointer hidden over the room.
    SetItemOnCursor(item, item, SpyPoint{-f32(item->GetWidth() / 2), -f32(item->GetHeight() / 2)});
    m_bSharedMouseInside = false;
    return true;
}

void ToolkitTestRoom::HandleCursorItemInput(f32 dt) {
    if (!m_Moves.IsMovable(m_pCursorItem, false)) {
        CRoomBase::HandleCursorItemInput(dt);
        return;
    }
    if (m_Moves.ProcessMouse(dt, m_pCursorItem, m_pItemUnderCursor))
        return;
    SetItemOnCursor(nullptr, nullptr);
    m_bSharedMouseInside = true;
}

void ToolkitTestRoom::StartShow() {
    m_Solved = true;
    m_Pulse.Clear();
    m_Pulse.AddItem(m_pTile1);
    m_Pulse.AddItem(m_pTile2);
    m_Pulse.Start();
    m_Fade.Start();
    m_Hiding.Fire(m_pSeal, SealSeconds, 0.5f);
    m_Lamps.Start();
    if (m_pLeaf) {
        const SpyPoint at = m_pLeaf->GetPos();
        m_Physics.SetCoord("LEAF", m_Transform.ScreenToLocal(at.x, at.y));
    }
    m_Walker.Select(0, true);
    m_Walker.SetPos(20, 200);
}

void ToolkitTestRoom::StepShow(f32 dt) {
    const bool fading = m_Fade.IsActive();
    m_Pulse.Update(dt);
    m_Fade.Update(dt);
    m_Hiding.Update(dt);
    m_Lamps.Update(dt);
    StepLamps();
    m_Physics.Update(dt);
    if (m_pLeaf) {
        const SpyPoint coord = m_Physics.GetCoord("LEAF");
        const SpyPoint at = m_Transform.LocalToScreen(coord.x, coord.y);
        m_pLeaf->SetPos(at.x, at.y);
        // Gone past the floor: it rests there.
        if (coord.y > f32(GetHeight()))
            m_Physics.SetFixed("LEAF", true);
    }
    StepWalker();
    if (fading && !m_Fade.IsActive() && m_pPrize) {
        m_pPrize->SetVisible(true);
        m_Won = true;
    }
}

void ToolkitTestRoom::StepLamps() {
    for (size_t i = 0; i < m_LampItems.size() && i < m_Lamps.lights.size(); ++i)
        if (CSpyItem* lamp = m_LampItems[i]) {
            const f32 glow = std::clamp(m_Lamps.lights[i].level / 2.0f, 0.0f, 1.0f);
            lamp->SetColor(SetColorAlpha(lamp->GetColor(), u8(glow * 255)));
        }
}

void ToolkitTestRoom::StepWalker() {
    const SpyPoint at = m_Walker.GetPos();
    if (m_Walker.GetCurrentIndex() < 0 || at.x >= WalkerEnd)
        return;
    m_Walker.Select(1 - m_Walker.GetCurrentIndex(), true);
    m_Walker.SetPos(at.x + WalkerStep, at.y);
}

void ToolkitTestRoom::Render() {
    CRoomBase::Render();
    m_Moves.Render(nullptr);
    m_Hiding.Render();
}

bool ToolkitTestRoom::ProcessAutoActions() {
    if (m_Solved)
        return false;
    if (m_pCursorItem && m_Moves.IsMovable(m_pCursorItem, false)) {
        SetItemOnCursor(nullptr, nullptr);
        m_bSharedMouseInside = true;
    }
    for (auto [tile, slot] : {std::pair{m_pTile1, m_Slot1}, std::pair{m_pTile2, m_Slot2}}) {
        const SpyPoint at = m_Transform.LocalToScreen(slot.x, slot.y);
        tile->SetPos(at.x, at.y);
        tile->SetInInventory(false);
    }
    m_pDisk->SetRotation(0);
    SetItemEnabled(m_pDisk, false);
    m_DiskDone = true;
    StartShow();
    return true;
}

u8* ToolkitTestRoom::SaveSelf(SaveLoadSystem& sys, u8* pos) {
    pos = CRoomBase::SaveSelf(sys, pos);
    pos = m_Moves.SaveSelf(sys, pos);
    pos = m_Disk.SaveSelf(sys, pos);
    pos = m_Pulse.SaveSelf(sys, pos);
    pos = m_Fade.SaveSelf(sys, pos);
    pos = m_Hiding.SaveSelf(sys, pos);
    pos = m_Lamps.SaveSelf(sys, pos);
    pos = m_Physics.SaveSelf(sys, pos);
    pos = m_Walker.SaveSelf(sys, pos);
    pos = sys.writeBool(pos, m_DiskDone);
    pos = sys.writeBool(pos, m_Solved);
    return sys.writeBool(pos, m_Won);
}

const u8* ToolkitTestRoom::LoadSelf(SaveLoadSystem& sys, const u8* pos) {
    pos = CRoomBase::LoadSelf(sys, pos);
    CRoomsManager& rooms = *m_pRoomsManager;
    pos = m_Moves.LoadSelf(rooms, sys, pos);
    pos = m_Disk.LoadSelf(rooms, sys, pos);
    pos = m_Pulse.LoadSelf(rooms, sys, pos);
    pos = m_Fade.LoadSelf(rooms, sys, pos);
    pos = m_Hiding.LoadSelf(rooms, sys, pos);
    pos = m_Lamps.LoadSelf(rooms, sys, pos);
    pos = m_Physics.LoadSelf(rooms, sys, pos);
    pos = m_Walker.LoadSelf(rooms, sys, pos);
    pos = sys.readBool(pos, m_DiskDone);
    pos = sys.readBool(pos, m_Solved);
    return sys.readBool(pos, m_Won);
}
