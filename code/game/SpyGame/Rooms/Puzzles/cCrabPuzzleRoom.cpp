#include "game/SpyGame/Rooms/Puzzles/cCrabPuzzleRoom.h"

#include "game/SaveLoadSystem.h"
#include "game/SpyGame/CPersonage.h"
#include "game/SpyGame/CSpyItem.h"
#include "game/SpyGame/ItemRefs.h"
#include "game/SpyGame/RandomFloat.h"
#include "game/SpyGame/Rooms/CRoomsManager.h"
#include "game/SpyGame/Rooms/Toolkit/MouseState.h"
#include "game/SpyGame/Rooms/Toolkit/RoomSounds.h"
#include "game/SpyGame/SaveCounts.h"
#include "tk2v/platform/Random.h"
#include "tk2v/util/log.h"

#include <cstdlib>
#include <vector>

f32 cCrabPuzzleRoom::s_TurnTimer = 0;

namespace {

// The twig's grip in its picture: the carried point sits there.
constexpr SpyPoint StickGrip{31, 173};

// A delay that is no positive number counts as none.
f32 Delay(f32 seconds) {
    return seconds > 0 ? seconds : 0;
}

// The blockers whose copies ride on the cursor while their inventory items are carried.
struct CursorForm {
    const char* carried;
    u32 hole;
};

} // namespace

cCrabPuzzleRoom::cCrabPuzzleRoom() {
    m_Propertys.SolveButtonShown = true;
}

cCrabPuzzleRoom::~cCrabPuzzleRoom() = default;

void cCrabPuzzleRoom::Init(CRoomsManager* rooms, CPersonagesManager* personages, CDialogSpyGamePanel* panel) {
    CRoomBase::Init(rooms, personages, panel);
    m_HoleTimer = 0;
    m_pCurrentHole = nullptr;
    m_CrabPath.setMode(aTrajectory::Beziers);
    // The room data is read later: a curve drawn for it keeps the trajectory's own look.
    if (m_bDrawCurve) {
        m_CrabPath.setDrawMode(1);
        m_CrabPath.setShowPoints(false);
    }
}

void cCrabPuzzleRoom::AfterLoadInit() {
    const bool due = IsLoadInitDue();
    CRoomBase::AfterLoadInit();
    if (!due)
        return;
    if (m_Ini.selectSection("CrabPuzzleRoomOptions"))
        ReadOptions();
    if (m_Ini.selectSection("CrabPuzzleRoomCoords"))
        ReadCoords();
    else
        log("Can not find page CrabPuzzleRoomCoords");
    m_pStick = GetItem("PALKA");
    m_pStickWithCrab = GetItem("PALKA1");
    m_pStickWithoutCrystal = GetItem("PALKA2");
    m_CrabSoundPlaying = false;
}

void cCrabPuzzleRoom::ReadOptions() {
    auto seconds = [this](const char* key) { return f32(std::atof(m_Ini.getString(key).c_str())); };
    m_DelayOfCrabShow = Delay(seconds("DelayOfCrabShow"));
    m_DelayOfCrabHide = Delay(seconds("DelayOfCrabHide"));
    m_DelayOfCrabRotate = Delay(seconds("DelayOfCrabRotate"));
    const f32 range = seconds("CrabRotateRange");
    m_CrabRotateRange = range == range ? range : 0;
}

void cCrabPuzzleRoom::ReadCoords() {
    m_StickTipDx = m_Ini.getInt("palkaScykaDx");
    m_StickTipDy = m_Ini.getInt("palkaScykaDy");
    m_bDrawCurve = m_Ini.getInt("DrawCurve") != 0;
    MakeHole("APPLE", Apple);
    MakeHole("ZIPPO", Zippo);
    MakeHole("SIGARETY", Sigarety);
    MakeHole("PROBKA", Probka);
    MakeHole("TARGET", Target);
}

// The hole's five numbers: where the crab comes out (x, y), the far point of its run (x, y) and the
// crab's rotation as it starts.
void cCrabPuzzleRoom::MakeHole(const char* name, Hole index) {
    auto hole = std::make_unique<CrabHole>();
    std::vector<i32> values;
    m_Ini.getIntList(values, name);
    values.resize(5);
    hole->start = {f32(values[0]), f32(values[1])};
    hole->turn = {f32(values[2]), f32(values[3])};
    hole->angle = hole->startAngle = f32(values[4]);
    hole->item = FindItem(name);
    if (index != Target && hole->item)
        hole->cursorForm = m_Items.CloneItem(name, std::string(name) + "2");
    hole->shadow = FindItem(std::string(name) + "_TEN");
    hole->holeItem = FindItem(std::string(name) + "_DYR");
    m_Holes[index] = hole.get();
    m_HoleList.push_back(std::move(hole));
}

CSpyItem* cCrabPuzzleRoom::FindItem(const std::string& name) const {
    return m_Items.HasItem(name) ? m_Items.GetItem(name) : nullptr;
}

void cCrabPuzzleRoom::Reset() {
    if (m_State <= ResourcesQueued)
        return;
    CRoomBase::Reset();
    m_HoleTimer = 0;
    m_Solved = false;
    m_CrystalDropped = false;
    m_pCrab = GetItem("CRAB");
}

// A hole is blocked while its blocker shows; a hole without a record counts as blocked.
CrabHole* cCrabPuzzleRoom::OpenHole(u32 index) const {
    CrabHole* hole = index < HoleCount ? m_Holes[index] : nullptr;
    return hole && !(hole->item && hole->item->IsVisible()) ? hole : nullptr;
}

u32 cCrabPuzzleRoom::CountBlockedHoles() const {
    u32 blocked = 0;
    for (u32 index = 0; index < HoleCount; ++index)
        blocked += IsBlocked(index);
    return blocked;
}

void cCrabPuzzleRoom::Enter(const std::string& entryName, CSpyItem* entryItem) {
    CRoomBase::Enter(entryName, entryItem);
    if (m_Solved)
        return;
    ChooseNextHole();
    CPersonage* personage = CurrentPersonage();
    if (!personage)
        return;
    const CInventory& inventory = personage->GetInventory();
    if (inventory.HasItem("CORK") && inventory.HasItem("APPLE") &&
        inventory.HasItem("PACKET_OF_CIGARETTES") && inventory.HasItem("LIGHTER"))
        ShowMessage("MARWENN_ALLITEMSFIND");
}

// Never the same hole twice running while another is open; with four blocked only the last is left.
void cCrabPuzzleRoom::ChooseNextHole() {
    if (AreFourHolesBlocked()) {
        m_CurrentHoleIndex = Target;
    } else {
        bool another = false;
        for (u32 index = 0; index < HoleCount; ++index)
            another |= index != m_CurrentHoleIndex && !IsBlocked(index);
        // Without another open hole the crab keeps to the one it has.
        while (another) {
            const u32 drawn = u32(platform::rand() % HoleCount);
            if (drawn != m_CurrentHoleIndex && !IsBlocked(drawn)) {
                m_CurrentHoleIndex = drawn;
                break;
            }
        }
    }
    m_HoleTimer = 0;
    m_pCurrentHole = OpenHole(m_CurrentHoleIndex);
    // A blocked hole has nothing to run from: the crab stays hidden.
    if (!m_pCurrentHole)
        return;
    if (m_pCrab)
        m_pCrab->SetVisible(true);
    StartCrabRun(m_pCrab, *m_pCurrentHole);
    StartCrabSound();
}

// Out of the hole to the far point and back, over the bends the path lays between them.
void cCrabPuzzleRoom::StartCrabRun(CSpyItem* crab, CrabHole& hole) {
    hole.angle = hole.startAngle;
    if (crab)
        crab->SetRotation(hole.angle);
    m_CrabPath.clear();
    for (const SpyPoint& point : {hole.start, hole.turn, hole.start})
        m_CrabPath.addPoint(TruncToInt(point.x), TruncToInt(point.y));
    StartPath();
}

// The path's length over the show delay per second, so a run takes that long; without a delay a run
// ends in the frame it starts.
f32 cCrabPuzzleRoom::RunStep(f32 seconds) const {
    return m_DelayOfCrabShow > 0 ? m_RunLength * seconds / m_DelayOfCrabShow : m_RunLength + 1;
}

void cCrabPuzzleRoom::StartPath() {
    m_RunLength = f32(m_CrabPath.getLength());
    m_CrabPath.startMove();
}

u32 cCrabPuzzleRoom::FrameMove(f32 dt, bool paused) {
    if (m_CrystalFallPending) {
        if (CSpyItem* crystal = GetItem("CRISTAL"))
            crystal->SetVisible(true);
        if (!m_CrystalDropped)
            PlayRoomSound(*this, "crab_earring_drop");
        m_CrystalFallPending = false;
        m_CrystalDropped = true;
    }
    if (m_pCurrentHole)
        RunCrab(dt);
    if (IsCarrying(m_pStickWithoutCrystal) && LeftButtonState() == KEY_PRESSED)
        FinishCatch();
    const u32 blockedBefore = CountBlockedHoles();
    // The base finds the item under the mouse when it takes input; over the panel it takes none.
    m_pItemUnderCursor = nullptr;
    const u32 state = CRoomBase::FrameMove(dt, paused);
    if (m_Solved)
        return state;
    CSpyItem* under = m_pItemUnderCursor;
    ClickHole(under);
    ShakeOrMove(blockedBefore, under);
    return state;
}

// Out, back, a while hidden, then on to the next hole.
void cCrabPuzzleRoom::RunCrab(f32 dt) {
    m_HoleTimer += dt;
    if (m_HoleTimer > m_DelayOfCrabShow && m_pCrab)
        m_pCrab->SetVisible(false);
    if (m_HoleTimer > m_DelayOfCrabShow + m_DelayOfCrabHide) {
        StopAmbient();
        if (!m_Solved)
            ChooseNextHole();
    }
    m_CrabPath.advance(RunStep(dt));
    if (m_pCrab) {
        f32 x = 0, y = 0;
        m_CrabPath.getPosition(x, y);
        const SpyPoint at = m_Transform.LocalToScreen(x, y);
        m_pCrab->SetPos(at.x, at.y);
    }
    Turn(dt);
}

// Now and then the crab turns a little either way.
void cCrabPuzzleRoom::Turn(f32 dt) {
    s_TurnTimer += dt;
    if (s_TurnTimer <= m_DelayOfCrabRotate || !m_pCurrentHole)
        return;
    s_TurnTimer = 0;
    m_pCurrentHole->angle += RandomFloat(-m_CrabRotateRange, m_CrabRotateRange);
    if (m_pCrab)
        m_pCrab->SetRotation(m_pCurrentHole->angle);
}

// A press on the crab's hole, or with the twig's tip in it: with the twig and one hole left, the catch.
void cCrabPuzzleRoom::ClickHole(CSpyItem* under) {
    CrabHole* hole = m_pCurrentHole;
    if (LeftButtonState() != KEY_PRESSED || !hole || !hole->holeItem ||
        (under != hole->holeItem && FindItemAtStickTip() != hole->holeItem))
        return;
    const bool twig = IsCarrying("TWIG");
    const bool lastHole = AreFourHolesBlocked();
    if (twig && !lastHole) {
        ChooseNextHole();
        ShowMessage("MARWENN_FIRSTCLK_PALKA");
    } else if (twig) {
        StopAmbient();
        if (m_pCrab)
            m_pCrab->SetVisible(false);
        m_pCurrentHole = nullptr;
        PutOnCursor(m_pStickWithCrab);
        PlayRoomSound(*this, "crab_catch");
    } else if (lastHole && under == hole->holeItem) {
        ShowMessage("MARWENN_LASKHOLECLICK");
    }
}

// A blocker put over the crab's own hole sends it elsewhere; the caught crab, carried off the last
// hole, loses its crystal.
void cCrabPuzzleRoom::ShakeOrMove(u32 blockedBefore, CSpyItem* under) {
    const CrabHole* hole = m_pCurrentHole;
    if (CountBlockedHoles() != blockedBefore && hole && hole->item && hole->item->IsVisible()) {
        ChooseNextHole();
        return;
    }
    const CSpyItem* lastHole = m_Holes[Target] ? m_Holes[Target]->holeItem : nullptr;
    if (!IsCarrying(m_pStickWithCrab) || under == lastHole)
        return;
    PutOnCursor(m_pStickWithoutCrystal);
    m_CrystalFallPending = true;
    ShowMessage("MARWENN_CRISTAL_DOWN");
}

void cCrabPuzzleRoom::PutOnCursor(CSpyItem* stick) {
    if (!stick)
        return;
    const auto [x, y] = MousePosition();
    stick->SetPos(f32(x), f32(y));
    SetItemOnCursor(stick, nullptr);
}

// The crab without its crystal runs home into the last hole, and the room is done.
void cCrabPuzzleRoom::FinishCatch() {
    StartCrabSound();
    if (m_pStickWithoutCrystal)
        m_pStickWithoutCrystal->SetVisible(false);
    SetItemOnCursor(nullptr, nullptr);
    if (m_pStick)
        m_pStick->SetVisible(false);
    m_pCrab = GetItem("CRAB_BEZ_CRISTALA");
    if (m_pCrab)
        m_pCrab->SetVisible(true);
    if (CrabHole* home = m_Holes[Target]) {
        m_CrabPath.clear();
        for (const SpyPoint& point : {home->turn, home->start})
            m_CrabPath.addPoint(TruncToInt(point.x), TruncToInt(point.y));
        StartPath();
        if (m_pCrab) {
            f32 x = 0, y = 0;
            m_CrabPath.getPosition(x, y);
            const SpyPoint at = m_Transform.LocalToScreen(x, y);
            m_pCrab->SetPos(at.x, at.y);
        }
    }
    m_HoleTimer = 0;
    m_Solved = true;
    m_CrystalFallPending = true;
    m_pCurrentHole = m_Holes[Target];
    // Shown again by the next frame, which plays its fall.
    if (CSpyItem* crystal = GetItem("CRISTAL"))
        crystal->SetVisible(false);
}

CSpyItem* cCrabPuzzleRoom::FindItemAtStickTip() const {
    if (m_State != Playing)
        return nullptr;
    const auto [mouseX, mouseY] = MousePosition();
    const i32 x = mouseX + m_StickTipDx, y = mouseY + m_StickTipDy;
    if (!m_ActiveRect.contains(x, y))
        return nullptr;
    for (size_t i = m_Items.GetItemCount(); i-- > 0;) {
        CSpyItem* item = m_Items.GetItemAt(i);
        if (item != m_pCursorItem && item->IsVisible() && item->HitTest(i16(x), i16(y)))
            return item;
    }
    return nullptr;
}

void cCrabPuzzleRoom::StartCrabSound() {
    PlayRoomSound(*this, "crab_movement", true);
    m_CrabSoundPlaying = true;
}

void cCrabPuzzleRoom::StopAmbient() {
    CRoomBase::StopAmbient();
    StopRoomSound(*this, "crab_movement");
    m_CrabSoundPlaying = false;
}

void cCrabPuzzleRoom::Leave() {
    CRoomBase::Leave();
    StopAmbient();
}

bool cCrabPuzzleRoom::IsCarrying(const char* name) const {
    return m_pCursorItem && m_pCursorItem->GetName() == name;
}

void cCrabPuzzleRoom::HandleInput(f32 dt) {
    CRoomBase::HandleInput(dt);
    if (LeftButtonState() == KEY_PRESSED && CountBlockedHoles() < 4)
        ShowMessage("MARWENN_BAD_CRAB");
}

// An inventory item on its way to a hole is drawn as its blocker, held by the middle.
void cCrabPuzzleRoom::SetItemOnCursor(CSpyItem* item, CSpyItem* roomForm,
                                      std::optional<SpyPoint> grabOffset) {
    static const CursorForm Forms[] = {
        {"cork", Probka}, {"APPLE", Apple}, {"PACKET_OF_CIGARETTES", Sigarety}, {"LIGHTER", Zippo}};
    m_bSharedMouseInside = item == nullptr;
    for (const CursorForm& form : Forms) {
        const CrabHole* hole = m_Holes[form.hole];
        if (!item || item->GetName() != form.carried || !hole || !hole->cursorForm)
            continue;
        roomForm = hole->cursorForm;
        grabOffset = SpyPoint{-f32(roomForm->GetWidth() / 2), -f32(roomForm->GetHeight() / 2)};
        break;
    }
    CRoomBase::SetItemOnCursor(item, roomForm, grabOffset);
}

// The twig and the sticks hang from the carried point by their grip.
void cCrabPuzzleRoom::RenderCursorItem() {
    CSpyItem* carried = m_pCursorItem;
    if (!IsActive() || !carried || carried->GetPos().x <= m_Origin.x) {
        CRoomBase::RenderCursorItem();
        return;
    }
    const SpyPoint grip = carried->GetPos();
    if (carried->GetName() == "TWIG") {
        DrawStick(m_pStick, grip);
    } else if (carried == m_pStickWithCrab || carried == m_pStickWithoutCrystal) {
        const bool inInventory = carried->IsInInventory();
        carried->SetInInventory(false);
        DrawStick(carried, grip);
        carried->SetInInventory(inInventory);
        carried->SetVisible(false);
    } else {
        CRoomBase::RenderCursorItem();
    }
}

void cCrabPuzzleRoom::DrawStick(CSpyItem* stick, SpyPoint grip) {
    if (!stick)
        return;
    const SpyPoint zoom = stick->GetScale();
    stick->SetPos(grip.x - StickGrip.x * zoom.x, grip.y - StickGrip.y * zoom.y);
    stick->SetVisible(true);
    stick->Render();
    stick->SetPos(grip.x, grip.y);
    stick->SetVisible(false);
}

void cCrabPuzzleRoom::Render() {
    CRoomBase::Render();
    if (m_bDrawCurve)
        m_CrabPath.draw();
}

// The catch in one step, once the base has put what it can in the holes.
bool cCrabPuzzleRoom::ProcessAutoActions() {
    const bool changed = CRoomBase::ProcessAutoActions();
    if (m_Solved || !AreFourHolesBlocked())
        return changed;
    SetItemOnCursor(nullptr, nullptr);
    if (m_pCrab)
        m_pCrab->SetVisible(false);
    m_pCurrentHole = nullptr;
    ShowMessage("MARWENN_CRISTAL_DOWN");
    FinishCatch();
    if (CPersonage* personage = CurrentPersonage())
        personage->GetInventory().RemoveItem("TWIG");
    for (CSpyItem* stick : {m_pStick, m_pStickWithCrab, m_pStickWithoutCrystal})
        if (stick) {
            stick->SetInInventory(false);
            stick->SetVisible(false);
        }
    SetItemOnCursor(nullptr, nullptr);
    return true;
}

u8* cCrabPuzzleRoom::SaveSelf(SaveLoadSystem& sys, u8* pos) {
    pos = CRoomBase::SaveSelf(sys, pos);
    pos = sys.writeU32(pos, m_CurrentHoleIndex);
    pos = sys.writeF32(pos, m_HoleTimer);
    pos = sys.writeBool(pos, m_Solved);
    pos = sys.writeBool(pos, m_CrystalFallPending);
    pos = sys.writeBool(pos, m_CrystalDropped);
    pos = SaveItemRef(sys, pos, m_pCrab);
    pos = SaveItemRef(sys, pos, m_pStick);
    u32 current = 0, position = 0;
    for (const auto& hole : m_HoleList) {
        ++position;
        if (hole.get() == m_pCurrentHole)
            current = position;
        for (f32 value : {hole->reserved[0], hole->reserved[1], hole->start.x, hole->start.y, hole->turn.x,
                          hole->turn.y, hole->angle, hole->startAngle})
            pos = sys.writeF32(pos, value);
    }
    pos = sys.writeU32(pos, current);
    pos = sys.writeU32(pos, m_CrabPath.getPointCount());
    for (u32 i = 0; i < m_CrabPath.getPointCount(); ++i) {
        i32 x = 0, y = 0;
        m_CrabPath.getPoint(i, x, y);
        pos = sys.writeI32(pos, x);
        pos = sys.writeI32(pos, y);
    }
    return sys.writeBool(pos, m_CrabSoundPlaying);
}

const u8* cCrabPuzzleRoom::LoadSelf(SaveLoadSystem& sys, const u8* pos) {
    pos = CRoomBase::LoadSelf(sys, pos);
    CRoomsManager& rooms = *m_pRoomsManager;
    pos = sys.readU32(pos, m_CurrentHoleIndex);
    pos = sys.readF32(pos, m_HoleTimer);
    pos = sys.readBool(pos, m_Solved);
    pos = sys.readBool(pos, m_CrystalFallPending);
    pos = sys.readBool(pos, m_CrystalDropped);
    pos = LoadItemRef(rooms, sys, pos, m_pCrab);
    pos = LoadItemRef(rooms, sys, pos, m_pStick);
    for (const auto& hole : m_HoleList)
        for (f32* value : {&hole->reserved[0], &hole->reserved[1], &hole->start.x, &hole->start.y,
                           &hole->turn.x, &hole->turn.y, &hole->angle, &hole->startAngle})
            pos = sys.readF32(pos, *value);
    u32 current = 0;
    pos = sys.readU32(pos, current);
    m_pCurrentHole = nullptr;
    if (current > 0 && current <= m_HoleList.size())
        m_pCurrentHole = std::next(m_HoleList.begin(), current - 1)->get();
    u32 count = 0;
    pos = sys.readU32(pos, count);
    m_CrabPath.clear();
    if (!countFits(sys, pos, count, 8, "cCrabPuzzleRoom::LoadSelf()"))
        return pos + sys.bytesLeftInRecord(pos);
    std::vector<aTrajectory::ControlPoint> points(count);
    for (aTrajectory::ControlPoint& point : points) {
        pos = sys.readI32(pos, point.x);
        pos = sys.readI32(pos, point.y);
    }
    m_CrabPath.setPoints(points);
    m_RunLength = 0;
    if (count > 0)
        StartPath();
    // Back where the run had got to.
    if (!m_CrabPath.getFlattenedPoints().empty())
        m_CrabPath.advance(RunStep(m_HoleTimer));
    pos = sys.readBool(pos, m_CrabSoundPlaying);
    if (m_CrabSoundPlaying)
        StartCrabSound();
    return pos;
}
