#include "game/SpyGame/Rooms/Puzzles/CRoomCleaning.h"

#include "game/SaveLoadSystem.h"
#include "game/SpyGame/CPersonage.h"
#include "game/SpyGame/CSpyItem.h"
#include "game/SpyGame/Rooms/Toolkit/MouseState.h"
#include "game/SpyGame/Rooms/Toolkit/PuzzleHelpers.h"
#include "game/SpyGame/SaveCounts.h"
#include "tk2v/sound/aSound.h"

#include <vector>

namespace {

// The brush shows its bristles in this frame of its animation while it rests.
constexpr u32 BrushRestFrame = 2;
constexpr SpyPoint BrushGrip{-30, -15};
constexpr SpyPoint RollerGrip{-44, -40};

bool IsHeld(aKeyState button) {
    return button == KEY_PRESSED || button == KEY_HELD;
}

bool IsNamed(const CSpyItem* item, const char* name) {
    return item && item->GetName() == name;
}

} // namespace

CRoomCleaning::CRoomCleaning() {
    m_Propertys.SolveButtonShown = true;
}

CRoomCleaning::~CRoomCleaning() = default;

void CRoomCleaning::AfterLoadInit() {
    const bool due = IsLoadInitDue();
    CRoomBase::AfterLoadInit();
    if (!due)
        return;
    std::vector<std::string> patches;
    m_Ini.getValueList(patches, "Clearing", "ClearingItems");
    for (const std::string& patch : patches)
        m_SandAmounts[patch] = 0.0f;
    m_pCleaningSound = GetSound("sand_cleaning");
}

void CRoomCleaning::Reset() {
    if (m_State <= ResourcesQueued)
        return;
    CRoomBase::Reset();
    for (auto& [patch, amount] : m_SandAmounts)
        amount = 1.0f;
}

void CRoomCleaning::SetItemOnCursor(CSpyItem* item, CSpyItem* roomForm, std::optional<SpyPoint> grabOffset) {
    const bool brush = IsNamed(item, "BRUSH"), roller = IsNamed(item, "ROLLER");
    // The tools are drawn in the room as themselves, held by their handles, with no pointer over them.
    m_bSharedMouseInside = !brush && !roller;
    if (brush || roller) {
        roomForm = item;
        grabOffset = brush ? BrushGrip : RollerGrip;
    }
    if (brush) {
        item->SetFrame(BrushRestFrame);
        item->SetAnimPaused(true);
    }
    CRoomBase::SetItemOnCursor(item, roomForm, grabOffset);
}

void CRoomCleaning::HandleCursorItemInput(f32 dt) {
    CSpyItem* carried = m_pCursorItem;
    if (!IsNamed(carried, "BRUSH")) {
        CRoomBase::HandleCursorItemInput(dt);
        Roll();
        return;
    }
    if (!IsHeld(LeftButtonState())) {
        StopAmbient();
        carried->SetAnimPaused(true);
        carried->SetFrame(BrushRestFrame);
        return;
    }
    if (m_pCleaningSound && !m_pCleaningSound->isPlaying())
        m_pCleaningSound->play(true, aSound::KEEP_VOLUME, aSound::KEEP_PAN);
    carried->SetAnimPaused(false);
    if (IsNamed(m_pItemUnderCursor, "TATU"))
        FindTattoo();
    else
        Brush(dt);
}

// The brush ends the puzzle over the tattoo whatever sand is left; the brush is used up.
void CRoomCleaning::FindTattoo() {
    StopAmbient();
    if (CSpyItem* sand = GetItem("SAND"))
        sand->SetVisible(false);
    SetItemOnCursor(nullptr, nullptr);
    if (m_pPersonage)
        m_pPersonage->SetFocusedItem(m_pItemUnderCursor->GetName());
    OnClickUseItem();
}

// A second of brushing clears a patch; its colour stays, only its alpha follows what is left.
void CRoomCleaning::Brush(f32 dt) {
    CSpyItem* patch = m_pItemUnderCursor;
    const auto entry = patch ? m_SandAmounts.find(patch->GetName()) : m_SandAmounts.end();
    if (entry == m_SandAmounts.end() || entry->second == 0.0f)
        return;
    f32& amount = entry->second;
    amount = amount - dt < 0.0f ? 0.0f : amount - dt;
    patch->SetColor(SetColorAlpha(patch->GetColor(), u8(TruncToInt(amount * 255.0f))));
}

// Held down over the roller's target, the roller is applied without a click of its own.
void CRoomCleaning::Roll() {
    CSpyItem* target = m_pItemUnderCursor;
    if (!IsNamed(m_pCursorItem, "ROLLER") || !target || !IsHeld(LeftButtonState()) || !m_pPersonage)
        return;
    if (m_pPersonage->GetItemUseTo("ROLLER").second != target->GetName())
        return;
    m_pPersonage->SetFocusedItem(target->GetName());
    ApplyCursorItemToItem();
}

void CRoomCleaning::StopAmbient() {
    CRoomBase::StopAmbient();
    if (m_pCleaningSound && m_pCleaningSound->isPlaying())
        m_pCleaningSound->stop();
}

bool CRoomCleaning::ProcessAutoActions() {
    const bool changed = CRoomBase::ProcessAutoActions();
    if (CSpyItem* sand = GetItem("SAND"))
        sand->SetVisible(false);
    if (CPersonage* personage = CurrentPersonage())
        personage->GetInventory().RemoveItem("BRUSH");
    return changed;
}

u8* CRoomCleaning::SaveSelf(SaveLoadSystem& sys, u8* pos) {
    pos = CRoomBase::SaveSelf(sys, pos);
    pos = sys.writeU32(pos, u32(m_SandAmounts.size()));
    for (const auto& [patch, amount] : m_SandAmounts) {
        pos = sys.writeString(pos, patch);
        pos = sys.writeF32(pos, amount);
    }
    return pos;
}

const u8* CRoomCleaning::LoadSelf(SaveLoadSystem& sys, const u8* pos) {
    pos = CRoomBase::LoadSelf(sys, pos);
    m_SandAmounts.clear();
    u32 count = 0;
    pos = sys.readU32(pos, count);
    // A name (at least its NUL) and an amount each.
    if (!countFits(sys, pos, count, 1 + 4, "CRoomCleaning::LoadSelf()"))
        return pos + sys.bytesLeftInRecord(pos);
    for (u32 i = 0; i < count; ++i) {
        std::string patch;
        f32 amount = 0;
        pos = sys.readString(pos, patch);
        pos = sys.readF32(pos, amount);
        // A damaged amount would give an alpha out of its byte; NaN counts as untouched sand.
        m_SandAmounts[patch] = amount == amount ? ClampF(amount, 0.0f, 1.0f) : 1.0f;
    }
    return pos;
}
