#include "game/SpyGame/Rooms/Puzzles/cNetPuzzleRoom.h"

#include "game/SaveLoadSystem.h"
#include "game/SpyGame/CSpyItem.h"
#include "game/SpyGame/Rooms/CRoomsManager.h"
#include "game/SpyGame/Rooms/Toolkit/MouseState.h"
#include "game/SpyGame/Rooms/Toolkit/PuzzleStrings.h"
#include "game/SpyGame/Rooms/Toolkit/RoomSounds.h"
#include "tk2v/util/log.h"

#include <algorithm>

namespace {

constexpr f32 FadeSeconds = 1.0f;
constexpr f32 FadeGrowth = 0.2f;

} // namespace

cNetPuzzleRoom::cNetPuzzleRoom() {
    m_Propertys.SolveButtonShown = true;
}

cNetPuzzleRoom::~cNetPuzzleRoom() = default;

void cNetPuzzleRoom::AfterLoadInit() {
    const bool due = IsLoadInitDue();
    CRoomBase::AfterLoadInit();
    if (due && m_Ini.selectSection("Lines"))
        ReadLines();
}

// Every key names a rope, its value the items lying on it. A rope named twice gets the second list
// too; a rope the room lacks is left out, since the solved test looks at every rope.
void cNetPuzzleRoom::ReadLines() {
    for (m_Ini.firstKey(); !m_Ini.isKeysEnd(); m_Ini.nextKey()) {
        const std::string name = m_Ini.getKeyName();
        if (name.empty())
            continue;
        CSpyItem* rope = m_Items.HasItem(name) ? m_Items.GetItem(name) : nullptr;
        if (!rope || m_Ropes.count(rope))
            log("cNetPuzzleRoom::LoadRes item not exsist or already loaded \"%s\"!", name.c_str());
        if (!rope)
            continue;
        std::list<std::string> lying;
        SplitWords(m_Ini.getKeyValue(), lying);
        std::list<CSpyItem*>& list = m_Ropes[rope];
        for (const std::string& other : lying)
            if (CSpyItem* item = m_Items.GetItem(other))
                list.push_back(item);
    }
}

void cNetPuzzleRoom::Reset() {
    if (m_State <= ResourcesQueued)
        return;
    CRoomBase::Reset();
    m_Solved = false;
    m_Hiding.Reset();
}

bool cNetPuzzleRoom::CanRemoveRope(CSpyItem* item) const {
    const auto rope = m_Ropes.find(item);
    if (rope == m_Ropes.end())
        return false;
    const auto shown = std::count_if(rope->second.begin(), rope->second.end(),
                                     [](const CSpyItem* lying) { return lying->IsVisible(); });
    return shown <= 1;
}

bool cNetPuzzleRoom::CheckSolved() {
    for (const auto& [rope, lying] : m_Ropes)
        if (rope->IsVisible())
            return false;
    m_Solved = true;
    return true;
}

void cNetPuzzleRoom::HandleInput(f32 dt) {
    CRoomBase::HandleInput(dt);
    m_Hiding.Update(dt);
    CSpyItem* item = m_pItemUnderCursor;
    if (m_Solved || LeftButtonState() != KEY_PRESSED || !item)
        return;
    if (CanRemoveRope(item)) {
        m_Hiding.Fire(item, FadeSeconds, FadeGrowth);
        CheckSolved();
        PlayRoomSound(*this, "rope_removed");
    } else if (m_Ropes.count(item)) {
        PlayRoomSound(*this, "rope_wrong");
    }
}

void cNetPuzzleRoom::HandleCursorItemInput(f32 dt) {
    CRoomBase::HandleCursorItemInput(dt);
    m_Hiding.Update(dt);
}

void cNetPuzzleRoom::Render() {
    CRoomBase::Render();
    m_Hiding.Render();
}

bool cNetPuzzleRoom::ProcessAutoActions() {
    for (const auto& [rope, lying] : m_Ropes)
        rope->SetVisible(false);
    CheckSolved();
    return CRoomBase::ProcessAutoActions();
}

u8* cNetPuzzleRoom::SaveSelf(SaveLoadSystem& sys, u8* pos) {
    pos = CRoomBase::SaveSelf(sys, pos);
    pos = m_Hiding.SaveSelf(sys, pos);
    return sys.writeBool(pos, m_Solved);
}

const u8* cNetPuzzleRoom::LoadSelf(SaveLoadSystem& sys, const u8* pos) {
    pos = CRoomBase::LoadSelf(sys, pos);
    pos = m_Hiding.LoadSelf(*m_pRoomsManager, sys, pos);
    return sys.readBool(pos, m_Solved);
}
