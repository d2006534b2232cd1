#include "game/SpyGame/Rooms/Toolkit/cChineseBoxDisk.h"

#include "game/SaveLoadSystem.h"
#include "game/SpyGame/CSpyItem.h"
#include "game/SpyGame/ItemRefs.h"
#include "game/SpyGame/Rooms/Toolkit/MouseState.h"
#include "game/SpyGame/Rooms/Toolkit/PuzzleHelpers.h"
#include "tk2v/sound/aSound.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr f32 FullTurn = 6.28318548f;
// A release rounds to the next rest angle from this far past the one before, not from half a step.
constexpr f32 SnapBias = 0.555554986000061f;
// cos(angle) above this counts as standing at 0.
constexpr f32 UprightCosine = 0.999f;

// Into [0, 2π) as a loop of whole turns would bring it; a value no loop would end on (infinite, or
// so large that 2π no longer changes it) counts as 0.
f32 WrapAngle(f32 angle) {
    if (!std::isfinite(angle))
        return 0;
    angle = std::fmod(angle, FullTurn);
    if (angle < 0)
        angle += FullTurn;
    return angle;
}

} // namespace

void cChineseBoxDisk::AddItem(CSpyItem* item) {
    m_Items.push_back(item);
}

bool cChineseBoxDisk::HasItem(const CSpyItem* item) const {
    return item && std::find(m_Items.begin(), m_Items.end(), item) != m_Items.end();
}

bool cChineseBoxDisk::CanGrab(const CSpyItem* item) const {
    return HasItem(item) && !item->IsLocked();
}

bool cChineseBoxDisk::AreItemsUpright() const {
    return std::all_of(m_Items.begin(), m_Items.end(), [](const CSpyItem* item) {
        return !item || (item->IsVisible() && std::cos(item->GetRotation()) > UprightCosine);
    });
}

bool cChineseBoxDisk::AreItemsLocked(const std::list<CSpyItem*>& items) {
    return std::all_of(items.begin(), items.end(), [](const CSpyItem* item) {
        return !item || (item->IsLocked() && item->IsVisible() && !item->IsInInventory());
    });
}

f32 cChineseBoxDisk::Step() const {
    return FullTurn / f32(m_StepCount);
}

void cChineseBoxDisk::SnapAngle(CSpyItem* item, f32 angle) {
    if (!m_Enabled || !item)
        return;
    angle = WrapAngle(angle);
    // Without rest positions there is no step to round to.
    if (m_StepCount) {
        const f32 step = Step();
        angle = step * std::trunc(angle / step + SnapBias);
    }
    item->SetRotation(angle);
}

void cChineseBoxDisk::RotateStep(CSpyItem* item) {
    if (!m_Enabled || !m_StepCount || !HasItem(item))
        return;
    SnapAngle(item, item->GetRotation() + Step());
    m_GrabbedAngle = item->GetRotation();
}

f32 cChineseBoxDisk::PointerAngle(i32 x, i32 y) const {
    const SpyPoint centre = GetItemCenter(m_pGrabbed);
    return std::atan2(f32(y) - centre.y, f32(x) - centre.x);
}

void cChineseBoxDisk::Turn(i32 x, i32 y) {
    const f32 turn = PointerAngle(x, y) - PointerAngle(m_LastMouseX, m_LastMouseY);
    m_GrabbedAngle += turn;
    m_pGrabbed->SetRotation(m_GrabbedAngle);
    if (!m_pSound)
        return;
    if (turn == 0)
        m_pSound->stop();
    else if (!m_pSound->isPlaying())
        m_pSound->play(true, aSound::KEEP_VOLUME, aSound::KEEP_PAN);
}

CSpyItem* cChineseBoxDisk::ProcessMouse(CSpyItem* itemUnderCursor) {
    if (!m_Enabled)
        return nullptr;
    const auto [x, y] = MousePosition();
    CSpyItem* released = nullptr;
    switch (LeftButtonState()) {
    case KEY_PRESSED:
        if (CanGrab(itemUnderCursor)) {
            m_pGrabbed = itemUnderCursor;
            m_GrabbedAngle = itemUnderCursor->GetRotation();
        }
        break;
    case KEY_HELD:
        if (m_pGrabbed)
            Turn(x, y);
        break;
    case KEY_RELEASED:
        if (m_pGrabbed) {
            SnapAngle(m_pGrabbed, m_GrabbedAngle);
            released = m_pGrabbed;
            m_pGrabbed = nullptr;
            StopSound();
        }
        break;
    default:
        break;
    }
    m_LastMouseX = x;
    m_LastMouseY = y;
    return released;
}

void cChineseBoxDisk::StopSound() {
    if (m_pSound)
        m_pSound->stop();
}

u8* cChineseBoxDisk::SaveSelf(SaveLoadSystem& sys, u8* pos) const {
    pos = sys.writeU32(pos, m_StepCount);
    pos = SaveItemRef(sys, pos, m_pGrabbed);
    pos = SaveItemRefList(sys, pos, m_Items);
    pos = sys.writeI32(pos, m_LastMouseX);
    pos = sys.writeI32(pos, m_LastMouseY);
    pos = sys.writeF32(pos, m_GrabbedAngle);
    return sys.writeBool(pos, m_Enabled);
}

const u8* cChineseBoxDisk::LoadSelf(CRoomItemLookup& rooms, SaveLoadSystem& sys, const u8* pos) {
    pos = sys.readU32(pos, m_StepCount);
    pos = LoadItemRef(rooms, sys, pos, m_pGrabbed);
    pos = LoadItemRefList(rooms, sys, pos, m_Items);
    pos = sys.readI32(pos, m_LastMouseX);
    pos = sys.readI32(pos, m_LastMouseY);
    pos = sys.readF32(pos, m_GrabbedAngle);
    return sys.readBool(pos, m_Enabled);
}
