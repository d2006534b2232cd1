#include "game/SpyGame/Rooms/Puzzles/cCrimeLabButtles.h"

#include "game/SaveLoadSystem.h"
#include "game/SpyGame/CPersonage.h"
#include "game/SpyGame/CSpyItem.h"
#include "game/SpyGame/Rooms/CRoomsManager.h"
#include "game/SpyGame/Rooms/Puzzles/cRecordReader.h"
#include "game/SpyGame/Rooms/Puzzles/cRecordWriter.h"
#include "game/SpyGame/Rooms/Toolkit/PuzzleStrings.h"
#include "tk2v/sound/aSound.h"

namespace {

constexpr const char* BenchRoom = "zoom_CrimeLabMain";
// A shuffle that keeps leaving some bottle in its place gives up after this many passes.
constexpr int MaxShufflePasses = 50;

} // namespace

cCrimeLabButtles::cCrimeLabButtles() {
    m_Propertys.SolveButtonShown = true;
}

cCrimeLabButtles::~cCrimeLabButtles() = default;

void cCrimeLabButtles::AfterLoadInit() {
    if (!IsLoadInitDue())
        return;
    CRoomBase::AfterLoadInit();
    linkedRoom = m_pRoomsManager ? m_pRoomsManager->GetRoom(BenchRoom) : nullptr;
    slots.clear();
    selectedSlot = nullptr;
    if (!m_Ini.selectSection("Options"))
        return;
    itemToShow = m_Ini.getString("ItemToShow");
    std::vector<std::string> names;
    m_Ini.getStringList(names, "Order");
    for (const std::string& name : names)
        slots.push_back({std::wstring(), GetItem("T" + name), GetItem(name)});
}

void cCrimeLabButtles::Reset() {
    if (m_State <= ResourcesQueued)
        return;
    CRoomBase::Reset();
    ResetPuzzleState();
}

void cCrimeLabButtles::ResetPuzzleState() {
    for (ButtleSlot& slot : slots) {
        if (!slot.bottleItem)
            continue;
        slot.bottleItem->SetHighlightOnMouseHover(true);
        slot.bottleItem->SetSmoothFlash(false);
    }
    solved = 0;
    selectedSlot = nullptr;
}

CSpyItem* cCrimeLabButtles::Namesake(const CSpyItem& item) const {
    if (!linkedRoom || !linkedRoom->GetItemManager().HasItem(item.GetName()))
        return nullptr;
    return linkedRoom->GetItemManager().GetItem(item.GetName());
}

void cCrimeLabButtles::SetOrder(const std::vector<u16>& newOrder) {
    order = newOrder;
    for (ButtleSlot& slot : slots) {
        if (!slot.labelItem || !slot.bottleItem)
            continue;
        if (CSpyItem* bench = Namesake(*slot.labelItem))
            slot.labelItem->SetText(bench->GetText());
        if (CSpyItem* bench = Namesake(*slot.bottleItem))
            slot.bottleItem->SetText(bench->GetText());
        SpyPoint at = slot.bottleItem->GetPos();
        slot.labelItem->SetPos(at.x, at.y);
    }
    // A short order, or one naming a place the rack lacks, leaves that place expecting what it shows.
    std::vector<std::wstring> expected;
    for (size_t i = 0; i < slots.size(); ++i) {
        const ButtleSlot& from = i < order.size() && order[i] < slots.size() ? slots[order[i]] : slots[i];
        expected.push_back(from.labelItem ? from.labelItem->GetText() : std::wstring());
    }
    for (size_t i = 0; i < slots.size(); ++i)
        slots[i].expectedText = expected[i];
    Shuffle();
}

void cCrimeLabButtles::SwapTexts(CSpyItem* a, CSpyItem* b) {
    if (!a || !b)
        return;
    const std::wstring kept = a->GetText();
    const std::wstring given = b->GetText();
    a->SetText(given);
    if (CSpyItem* bench = Namesake(*a))
        bench->SetText(given);
    b->SetText(kept);
    if (CSpyItem* bench = Namesake(*b))
        bench->SetText(kept);
}

// The items stay where they stand; only their texts travel.
void cCrimeLabButtles::Exchange(ButtleSlot& a, ButtleSlot& b) {
    SwapTexts(a.bottleItem, b.bottleItem);
    SwapTexts(a.labelItem, b.labelItem);
}

bool cCrimeLabButtles::IsInPlace(const ButtleSlot& slot) {
    return (slot.labelItem ? slot.labelItem->GetText() : std::wstring()) == slot.expectedText;
}

bool cCrimeLabButtles::IsOrderCorrect() const {
    for (const ButtleSlot& slot : slots)
        if (!IsInPlace(slot))
            return false;
    return true;
}

// A cycle sort. The place a label belongs to is looked for only among the places still out of place:
// two places expecting the same text would otherwise trade it for ever.
void cCrimeLabButtles::PutAllInPlace() {
    for (size_t p = 0; p < slots.size();) {
        ButtleSlot& misplaced = slots[p];
        ButtleSlot* home = nullptr;
        if (!IsInPlace(misplaced)) {
            const std::wstring label = misplaced.labelItem ? misplaced.labelItem->GetText() : std::wstring();
            for (ButtleSlot& slot : slots)
                if (!IsInPlace(slot) && slot.expectedText == label) {
                    home = &slot;
                    break;
                }
        }
        if (!home) {
            ++p;
            continue;
        }
        Exchange(*home, misplaced);
        p = 1;
    }
}

void cCrimeLabButtles::Shuffle() {
    PutAllInPlace();
    const u32 count = u32(slots.size());
    if (count == 0)
        return;
    for (int pass = 0; pass < MaxShufflePasses; ++pass) {
        std::vector<u16> permutation;
        MakeRandomSequence(count, count, permutation);
        for (u32 i = 0; i < count && i < permutation.size(); ++i)
            if (permutation[i] != i && permutation[i] < count)
                Exchange(slots[i], slots[permutation[i]]);
        bool anyInPlace = false;
        for (const ButtleSlot& slot : slots)
            anyInPlace = anyInPlace || IsInPlace(slot);
        if (!anyInPlace)
            return;
    }
}

cCrimeLabButtles::ButtleSlot* cCrimeLabButtles::SlotOfBottle(const CSpyItem* item) {
    for (ButtleSlot& slot : slots)
        if (item && slot.bottleItem == item)
            return &slot;
    return nullptr;
}

void cCrimeLabButtles::Unselect() {
    if (selectedSlot && selectedSlot->bottleItem)
        selectedSlot->bottleItem->SetSmoothFlash(false);
    selectedSlot = nullptr;
}

bool cCrimeLabButtles::OnClickUseItem() {
    if (solved)
        return CRoomBase::OnClickUseItem();
    if (ButtleSlot* clicked = SlotOfBottle(m_pItemUnderCursor)) {
        if (selectedSlot) {
            Exchange(*selectedSlot, *clicked);
            Unselect();
            Play("buttles_swap");
        } else {
            selectedSlot = clicked;
            clicked->bottleItem->SetSmoothFlash(true);
            Play("buttles_select");
        }
    }
    if (IsOrderCorrect())
        OnWin();
    return CRoomBase::OnClickUseItem();
}

void cCrimeLabButtles::OnWin() {
    if (CSpyItem* shown = m_pRoomsManager ? m_pRoomsManager->GetItemByFullName(itemToShow) : nullptr) {
        shown->SetVisible(true);
        shown->ClickUse();
    }
    if (CPersonage* personage = CurrentPersonage(); personage && linkedRoom)
        personage->SetRoomText(linkedRoom->GetName(), "RoomTask", "ROOM_TASKAFTERSORT");
    solved = 1;
    Unselect();
    for (ButtleSlot& slot : slots) {
        if (!slot.bottleItem)
            continue;
        slot.bottleItem->SetHighlightOnMouseHover(false);
        slot.bottleItem->SetSmoothFlash(true);
    }
    ShowMessage("MSG_WINORDER");
    Play("buttles_win");
}

bool cCrimeLabButtles::ProcessAutoActions() {
    if (solved)
        return false;
    OnWin();
    PutAllInPlace();
    return true;
}

void cCrimeLabButtles::Play(const char* sound) const {
    if (aSound* found = GetSound(sound))
        found->play(false, aSound::KEEP_VOLUME, aSound::KEEP_PAN);
}

u8* cCrimeLabButtles::SaveSelf(SaveLoadSystem& sys, u8* pos) {
    cRecordWriter out(sys, CRoomBase::SaveSelf(sys, pos));
    out.put(selectedSlot ? u32(selectedSlot - slots.data()) + 1 : 0u);
    for (const ButtleSlot& slot : slots)
        out.put(slot.expectedText);
    out.values(order).put(solved).put(itemToShow);
    return out.pos();
}

// The places come from room.ini; the record fills what they expect and which one is selected.
const u8* cCrimeLabButtles::LoadSelf(SaveLoadSystem& sys, const u8* pos) {
    cRecordReader in("cCrimeLabButtles::LoadSelf()", m_pRoomsManager, sys, CRoomBase::LoadSelf(sys, pos));
    u32 selected = 0;
    in.get(selected);
    if (selected >= 1 && selected <= slots.size())
        selectedSlot = &slots[selected - 1];
    for (ButtleSlot& slot : slots)
        in.get(slot.expectedText);
    in.values(order).get(solved).get(itemToShow);
    return in.pos();
}
