#include "game/SpyGame/Rooms/Puzzles/cAssembleInviationRoom.h"

#include "game/SaveLoadSystem.h"
#include "game/SpyGame/CInventory.h"
#include "game/SpyGame/CPersonage.h"
#include "game/SpyGame/CPersonagesManager.h"
#include "game/SpyGame/CSpyItem.h"
#include "game/SpyGame/Rooms/CRoomsManager.h"
#include "game/SpyGame/Rooms/Toolkit/PuzzleHelpers.h"
#include "game/SpyGame/Rooms/Toolkit/PuzzleStrings.h"
#include "tk2v/gfx/aApplication.h"
#include "tk2v/input/aInputServer.h"
#include "tk2v/platform/Random.h"
#include "tk2v/sound/aSound.h"

#include <cmath>
#include <vector>

namespace {

constexpr f32 Pi = 3.1415927f;
constexpr f32 QuarterTurn = 1.5707963705062866f;
constexpr u32 LockedColor = 0xFFC0C0C0;
constexpr u32 PlainColor = 0xFFFFFFFF;
// Loose pieces land this far inside the table's edges.
constexpr i32 TableMargin = 50;

const char* const SoundNames[] = {"letter_assemble_grab", "letter_assemble_placeback", "letter_assemble_lock",
                                  "letter_assemble_rotate", "letter_assemble_completed"};

// rand() % (size - 100) + 50; a table of 100 pixels or less has room for one place only.
i32 RandomSpot(i32 size) {
    const i32 range = size - 2 * TableMargin;
    return platform::rand() % (range > 0 ? range : 1) + TableMargin;
}

} // namespace

cAssembleInviationRoom::cAssembleInviationRoom() {
    m_Propertys.SolveButtonShown = 1;
}

cAssembleInviationRoom::~cAssembleInviationRoom() = default;

void cAssembleInviationRoom::AfterLoadInit() {
    const bool due = IsLoadInitDue();
    CRoomBase::AfterLoadInit();
    if (!due)
        return;
    for (int i = 0; i < SoundCount; ++i)
        m_Sounds[i] = GetSound(SoundNames[i]);
    m_Pairs.Init(m_Ini);
    i32 count = 0;
    if (m_Ini.selectSection("OPTIONS")) {
        count = m_Ini.getInt("count");
        m_PiecesToLock = std::max<i32>(0, i16(m_Ini.getInt("mPiecesToLock")));
        if (m_Ini.hasKey("prefix"))
            m_Prefix = m_Ini.getString("prefix");
    }
    for (i32 n = 1; n <= count; ++n) {
        const std::string plain = m_Prefix + DoubleToString(n);
        const std::string padded = m_Prefix + "0" + DoubleToString(n);
        if (m_Items.HasItem(plain))
            m_Pieces[n] = GetItem(plain);
        else if (m_Items.HasItem(padded))
            m_Pieces[n] = GetItem(padded);
    }
    m_Pulse.SetParams(0.4f, 1.0f, 1.4f, 1.0f);
}

void cAssembleInviationRoom::Reset() {
    if (m_State <= ResourcesQueued)
        return;
    CRoomBase::Reset();
    m_Pulse.Reset();
    m_bNeedsSetup = true;
    m_bCompleted = false;
}

CInventory* cAssembleInviationRoom::Inventory() const {
    CPersonage* personage = CurrentPersonage();
    return personage ? &personage->GetInventory() : nullptr;
}

void cAssembleInviationRoom::Enter(const std::string& entryName, CSpyItem* entryItem) {
    CRoomBase::Enter(entryName, entryItem);
    if (m_bNeedsSetup)
        LayOutPieces();
}

void cAssembleInviationRoom::LayOutPieces() {
    std::vector<u16> drawn;
    if (m_PiecesToLock > 0 && !m_Pieces.empty())
        MakeRandomSequence(u32(m_PiecesToLock), u32(m_Pieces.size()), drawn);
    m_Pulse.Clear();
    CInventory* inventory = Inventory();
    u16 index = 0;
    for (const auto& [number, piece] : m_Pieces) {
        const std::string& name = piece->GetName();
        m_Pairs.GetScreenObjects()[name] = piece;
        const std::string paired = m_Pairs.GetInventoryName(name);
        m_Pairs.GetInventoryObjects()[paired] = inventory ? inventory->FindItem(paired) : nullptr;
        if (std::find(drawn.begin(), drawn.end(), index) != drawn.end()) {
            piece->SetDisabled(true);
            piece->SetVisible(true);
            piece->SetColor(PlainColor);
            m_Pulse.AddItem(piece);
            if (inventory)
                inventory->RemoveItem(paired);
        } else {
            piece->SetVisible(false);
            piece->SetRotation(f32(platform::rand() & 3) * Pi / 2);
            const i32 y = RandomSpot(GetHeight());
            const i32 x = RandomSpot(GetWidth());
            // The spot is on the table, which the screen shows at the room's place.
            const SpyPoint at = m_Transform.LocalToScreen(f32(x), f32(y));
            piece->SetPos(at.x, at.y);
        }
        ++index;
    }
    m_Pulse.Start();
    m_bNeedsSetup = false;
}

u32 cAssembleInviationRoom::FrameMove(f32 dt, bool paused) {
    m_Pulse.Update(dt);
    return CRoomBase::FrameMove(dt, paused);
}

void cAssembleInviationRoom::SetItemOnCursor(CSpyItem* item, CSpyItem* roomForm,
                                             std::optional<SpyPoint> grabOffset) {
    CSpyItem* piece = item ? m_Pairs.GetScreenObject(item->GetName()) : nullptr;
    if (piece) {
        // Held by its middle.
        roomForm = piece;
        grabOffset = SpyPoint{-f32(piece->GetWidth()) / 2, -f32(piece->GetHeight()) / 2};
    }
    CRoomBase::SetItemOnCursor(item, roomForm, grabOffset);
}

CSpyItem* cAssembleInviationRoom::CarriedPiece() const {
    return m_pCursorItem ? m_Pairs.GetScreenObject(m_pCursorItem->GetName()) : nullptr;
}

void cAssembleInviationRoom::HandleInput(f32 dt) {
    CRoomBase::HandleInput(dt);
    const aInputServer* input = aApplication::inputServer();
    if (m_pCursorItem || !input || input->mouseButtons[0] != KEY_PRESSED)
        return;
    i32 mx = 0, my = 0;
    input->getMousePos(mx, my);
    for (const auto& [number, piece] : m_Pieces) {
        if (piece->IsLocked() || !piece->IsVisible() || !piece->HitTest(i16(mx), i16(my)))
            continue;
        // A piece whose inventory twin is missing stays where it lies.
        if (CSpyItem* twin = m_Pairs.GetInventoryObject(piece->GetName())) {
            SetItemOnCursor(twin, nullptr, SpyPoint{});
            Play(GrabSound);
        }
        return;
    }
}

void cAssembleInviationRoom::HandleCursorItemInput(f32 dt) {
    CRoomBase::HandleCursorItemInput(dt);
    const aInputServer* input = aApplication::inputServer();
    CSpyItem* piece = CarriedPiece();
    if (!input || !piece || !input->anyMouseButtonPressed())
        return;
    if (input->mouseButtons[1] == KEY_PRESSED) {
        piece->SetRotation(piece->GetRotation() + QuarterTurn);
        Play(RotateSound);
    } else if (input->mouseButtons[0] == KEY_PRESSED) {
        DropPiece(*piece);
        if (AllPiecesLocked())
            OnCompleted();
    }
}

SpyPoint cAssembleInviationRoom::HomeOf(const CSpyItem& piece) const {
    const SpyPoint orig = piece.GetOrigPos();
    return m_Transform.LocalToScreen(orig.x, orig.y);
}

void cAssembleInviationRoom::DropPiece(CSpyItem& piece) {
    const SpyPoint home = HomeOf(piece);
    const SpyPoint pos = piece.GetPos();
    const bool near = std::fabs(pos.x - home.x) < LockDistance && std::fabs(pos.y - home.y) < LockDistance;
    if (near && std::cos(piece.GetRotation()) > 0.99f) {
        piece.SetDisabled(true);
        piece.SetColor(LockedColor);
        piece.SetPos(home.x, home.y);
        piece.SetInInventory(false);
        m_Pulse.Clear();
        m_Pulse.AddItem(&piece);
        m_Pulse.Start();
        Play(LockSound);
    } else {
        const f32 left = m_Scale.x * m_Origin.x, top = m_Scale.y * m_Origin.y;
        const f32 x = ClampF(pos.x, left, f32(GetWidth()) + left - f32(piece.GetWidth()));
        const f32 y = ClampF(pos.y, top, f32(GetHeight()) + top - f32(piece.GetHeight()));
        piece.SetPos(x, y);
        Play(PlaceBackSound);
    }
    piece.SetVisible(true);
    m_Items.MoveItemToTop(piece.GetName());
    SetItemOnCursor(nullptr, nullptr, SpyPoint{});
}

bool cAssembleInviationRoom::AllPiecesLocked() const {
    for (const auto& [number, piece] : m_Pieces)
        if (!piece->IsLocked())
            return false;
    return true;
}

void cAssembleInviationRoom::LockAllPieces() {
    for (const auto& [number, piece] : m_Pieces) {
        piece->SetDisabled(true);
        piece->SetColor(PlainColor);
        const SpyPoint home = HomeOf(*piece);
        piece->SetPos(home.x, home.y);
        piece->SetRotation(0);
        piece->SetVisible(true);
    }
}

void cAssembleInviationRoom::OnCompleted() {
    LockAllPieces();
    Play(CompletedSound);
    if (m_Items.HasItem("ASSEMBLE_COMPLETE"))
        GetItem("ASSEMBLE_COMPLETE")->SetVisible(true);
    m_bCompleted = true;
}

bool cAssembleInviationRoom::ProcessAutoActions() {
    if (m_bCompleted)
        return false;
    if (CInventory* inventory = Inventory())
        for (const auto& [number, piece] : m_Pieces)
            inventory->RemoveItem(m_Pairs.GetInventoryName(piece->GetName()));
    OnCompleted();
    return true;
}

void cAssembleInviationRoom::Play(SoundIndex sound) const {
    if (m_Sounds[sound])
        m_Sounds[sound]->play();
}

u8* cAssembleInviationRoom::SaveSelf(SaveLoadSystem& sys, u8* pos) {
    pos = sys.writeBool(CRoomBase::SaveSelf(sys, pos), m_bNeedsSetup);
    if (m_bNeedsSetup)
        return pos;
    pos = m_Pulse.SaveSelf(sys, pos);
    pos = m_Pairs.SaveSelf(sys, pos);
    return sys.writeBool(pos, m_bCompleted);
}

const u8* cAssembleInviationRoom::LoadSelf(SaveLoadSystem& sys, const u8* pos) {
    pos = sys.readBool(CRoomBase::LoadSelf(sys, pos), m_bNeedsSetup);
    if (m_bNeedsSetup || !m_pRoomsManager)
        return pos;
    pos = m_Pulse.LoadSelf(*m_pRoomsManager, sys, pos);
    pos = m_Pairs.LoadSelf(*m_pRoomsManager, sys, pos);
    return sys.readBool(pos, m_bCompleted);
}
