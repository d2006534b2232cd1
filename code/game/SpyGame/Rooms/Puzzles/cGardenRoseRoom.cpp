#include "game/SpyGame/Rooms/Puzzles/cGardenRoseRoom.h"

#include "game/SaveLoadSystem.h"
#include "game/SpyGame/CPersonage.h"
#include "game/SpyGame/CSpyItem.h"
#include "game/SpyGame/ItemRefs.h"
#include "game/SpyGame/Rooms/CRoomsManager.h"
#include "game/SpyGame/Rooms/Toolkit/MouseState.h"
#include "game/SpyGame/Rooms/Toolkit/RoomSounds.h"
#include "game/SpyGame/Rooms/Toolkit/StrictFloat.h"

#include <algorithm>
#include <vector>

namespace {

// How far each bug weighs the leaf down, in room units.
constexpr f32 BugWeight = 2.0f;
const char* const Reader = "cGardenRoseRoom::AfterLoadInit";

void ReadNames(const aOptionsFile& ini, const char* key, std::list<std::string>& names) {
    std::vector<std::string> read;
    ini.getStringList(read, key);
    names.assign(read.begin(), read.end());
}

std::string PlaceName(const CSpyItem& bug) {
    return "LIST" + bug.GetName();
}

} // namespace

cGardenRoseRoom::cGardenRoseRoom() {
    m_Propertys.SolveButtonShown = true;
}

cGardenRoseRoom::~cGardenRoseRoom() = default;

void cGardenRoseRoom::AfterLoadInit() {
    const bool due = IsLoadInitDue();
    CRoomBase::AfterLoadInit();
    if (!due)
        return;
    m_pLeaf = GetItem("LEAF");
    if (m_Ini.selectSection("BugsSettings"))
        ReadNames(m_Ini, "Items", m_BugNames);
    if (m_Ini.selectSection("Rose")) {
        ReadNames(m_Ini, "Items", m_PetalNames);
        m_pCenter = GetItem("CENTER");
        m_pRose = GetItem("ROSE");
        m_pBlood = GetItem("BLOOD");
    }
    if (m_Ini.selectSection("Animation"))
        ReadAnimation();
    if (m_Ini.selectSection("PhysEngine"))
        ReadPhysics();
}

// The leaves get their bodies first, then the petals, which fall last.
void cGardenRoseRoom::ReadAnimation() {
    ReadStrictFloat(m_Ini, "speed", m_AnimationSpeed, Reader);
    std::list<std::string> leaves;
    ReadNames(m_Ini, "Items", leaves);
    for (const std::list<std::string>* names : {&leaves, &m_PetalNames})
        for (const std::string& name : *names) {
            m_Physics.LoadObject(name, m_Ini);
            m_Blown.push_back({name, GetItem(name)});
        }
}

void cGardenRoseRoom::ReadPhysics() {
    ReadStrictFloat(m_Ini, "engine.g", m_Physics.g, Reader);
    ReadStrictFloat(m_Ini, "engine.wind_speed.x", m_Physics.windX, Reader);
    ReadStrictFloat(m_Ini, "engine.wind_speed.y", m_Physics.windY, Reader);
}

void cGardenRoseRoom::Reset() {
    if (m_State <= ResourcesQueued)
        return;
    CRoomBase::Reset();
    m_BugsPlaced = 0;
    m_LeafGroup.Clear();
    if (m_pLeaf)
        m_LeafGroup.AddItem(m_pLeaf);
    for (const std::string& bug : m_BugNames)
        if (CSpyItem* place = GetItem("LIST" + bug))
            m_LeafGroup.AddItem(place);
    m_FallTime = 0;
    m_Falling = false;
    m_Physics.ResetAll();
}

void cGardenRoseRoom::HandleCursorItemInput(f32 dt) {
    // The leaf takes the bugs itself: a click on it is never a use of the carried item.
    if (m_pLeaf && m_pItemUnderCursor == m_pLeaf && LeftButtonState() == KEY_PRESSED)
        PutBugOnLeaf(m_pCursorItem);
    else
        CRoomBase::HandleCursorItemInput(dt);
}

void cGardenRoseRoom::PutBugOnLeaf(CSpyItem* bug) {
    if (!bug || !m_Items.HasItem(PlaceName(*bug)))
        return;
    PlayRoomSound(*this, "leaves_bug_put");
    SetItemOnCursor(nullptr, nullptr);
    const SpyPoint place = m_Items.GetItem(PlaceName(*bug))->GetPos();
    bug->SetPos(place.x, place.y);
    bug->SetVisible(true);
    bug->SetDisabled(true);
    ++m_BugsPlaced;
    m_LeafGroup.AddItem(bug);
    const SpyPoint at = m_LeafGroup.GetPos();
    m_LeafGroup.SetPos({at.x, at.y + BugWeight});
    CheckAllBugsPlaced();
    CollectHintItems();
}

void cGardenRoseRoom::CheckAllBugsPlaced() {
    if (m_BugsPlaced != m_BugNames.size())
        return;
    m_Falling = true;
    for (const Falling& falling : m_Blown)
        if (falling.item) {
            const SpyPoint at = falling.item->GetPos();
            m_Physics.SetCoord(falling.name, m_Transform.ScreenToLocal(at.x, at.y));
        }
    SetPetalsFixed(true);
    if (CSpyItem* shadow = GetItem("LEAF_SHADOW"))
        shadow->SetVisible(false);
}

void cGardenRoseRoom::SetPetalsFixed(bool fixed) {
    for (const std::string& petal : m_PetalNames)
        m_Physics.SetFixed(petal, fixed);
}

u32 cGardenRoseRoom::FrameMove(f32 dt, bool paused) {
    if (m_Falling)
        UpdateFalling(dt);
    return CRoomBase::FrameMove(dt, paused);
}

void cGardenRoseRoom::UpdateFalling(f32 dt) {
    m_FallTime += dt;
    m_Physics.Update(dt * m_AnimationSpeed);
    for (const Falling& falling : m_Blown)
        if (falling.item) {
            const SpyPoint body = m_Physics.GetCoord(falling.name);
            const SpyPoint at = m_Transform.LocalToScreen(body.x, body.y);
            falling.item->SetPos(at.x, at.y);
        }
    // The petals hold on until the leaf has fallen past the rose's heart.
    if (m_pRose && m_pRose->IsVisible() && m_pLeaf && m_pCenter &&
        m_pLeaf->GetPos().y > m_pCenter->GetPos().y) {
        SetPetalsFixed(false);
        m_pRose->SetVisible(false);
    }
    if (m_Physics.GetMinCoord().y <= f32(GetHeight()))
        return;
    m_Falling = false;
    // The stain was there under the leaves all along: now it draws the eye.
    if (m_pBlood)
        m_pBlood->SetFlash(true);
    ShowMessage("MSG_BLOOD");
}

bool cGardenRoseRoom::IsOnLeaf(const CSpyItem* item) const {
    const std::list<CSpyItem*>& group = m_LeafGroup.GetItems();
    return std::find(group.begin(), group.end(), item) != group.end();
}

// Puts the bugs not yet on the leaf there, which starts the wind, and lets the rose go at once.
bool cGardenRoseRoom::ProcessAutoActions() {
    if (!m_pRose || !m_pRose->IsVisible())
        return false;
    CPersonage* personage = CurrentPersonage();
    for (const std::string& name : m_BugNames) {
        CSpyItem* bug = GetItem(name);
        if (!bug || IsOnLeaf(bug))
            continue;
        // A bug still in the strip would be drawn there and on the leaf at once.
        if (personage)
            personage->GetInventory().RemoveItem(name);
        PutBugOnLeaf(bug);
    }
    m_pRose->SetVisible(false);
    SetPetalsFixed(false);
    if (m_pBlood)
        m_pBlood->SetVisible(true);
    return true;
}

void cGardenRoseRoom::SetItemOnCursor(CSpyItem* item, CSpyItem* roomForm,
                                      std::optional<SpyPoint> grabOffset) {
    // The swab is drawn in the room as itself, with no pointer over it.
    const bool swab = item && item->GetName() == "TAMPON";
    m_bSharedMouseInside = !swab;
    CRoomBase::SetItemOnCursor(item, swab ? item : roomForm, grabOffset);
}

u8* cGardenRoseRoom::SaveSelf(SaveLoadSystem& sys, u8* pos) {
    pos = CRoomBase::SaveSelf(sys, pos);
    pos = SaveItemRef(sys, pos, m_pLeaf);
    pos = sys.writeU32(pos, m_BugsPlaced);
    pos = m_LeafGroup.SaveSelf(sys, pos);
    pos = sys.writeBool(pos, m_Falling);
    pos = sys.writeF32(pos, m_FallTime);
    pos = sys.writeF32(pos, m_AnimationSpeed);
    return m_Physics.SaveSelf(sys, pos);
}

const u8* cGardenRoseRoom::LoadSelf(SaveLoadSystem& sys, const u8* pos) {
    pos = CRoomBase::LoadSelf(sys, pos);
    CRoomsManager& rooms = *m_pRoomsManager;
    pos = LoadItemRef(rooms, sys, pos, m_pLeaf);
    pos = sys.readU32(pos, m_BugsPlaced);
    pos = m_LeafGroup.LoadSelf(rooms, sys, pos);
    pos = sys.readBool(pos, m_Falling);
    pos = sys.readF32(pos, m_FallTime);
    pos = sys.readF32(pos, m_AnimationSpeed);
    return m_Physics.LoadSelf(rooms, sys, pos);
}
