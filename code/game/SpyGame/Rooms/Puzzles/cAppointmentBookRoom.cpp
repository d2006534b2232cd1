#include "game/SpyGame/Rooms/Puzzles/cAppointmentBookRoom.h"

#include "game/CResManager.h"
#include "game/SaveLoadSystem.h"
#include "game/SpyGame/CInventory.h"
#include "game/SpyGame/CPersonage.h"
#include "game/SpyGame/CPersonagesManager.h"
#include "game/SpyGame/CSpyItem.h"
#include "game/SpyGame/Rooms/CRoomsManager.h"
#include "game/SpyGame/Rooms/Puzzles/RunLengthPacking.h"
#include "game/SpyGame/Rooms/Toolkit/PuzzleHelpers.h"
#include "tk2v/gfx/aApplication.h"
#include "tk2v/gfx/aImage.h"
#include "tk2v/gfx/aImageManager.h"
#include "tk2v/input/aInputServer.h"
#include "tk2v/sound/aSound.h"
#include "tk2v/util/log.h"

#include <cstdlib>

namespace {

constexpr const char* Pencil = "STAKANSKARAND";
// The layer's fields and the alphas of the largest page it takes.
constexpr u32 MaxLayerRecord = 64 + u32(cPaintLayer::MaxSide) * cPaintLayer::MaxSide;

} // namespace

cAppointmentBookRoom::cAppointmentBookRoom() {
    m_Propertys.SolveButtonShown = 1;
}

cAppointmentBookRoom::~cAppointmentBookRoom() = default;

void cAppointmentBookRoom::AfterLoadInit() {
    const bool due = IsLoadInitDue();
    CRoomBase::AfterLoadInit();
    if (!due)
        return;
    m_pPen = GetItem("PEN");
    m_pTextImprint = GetItem("HIDDEN_TEXT_ONTABLE");
    m_pPageZone = GetItem("FIRST_PAGES");
    m_pPenSound = GetSound("book_pen_use");
    if (m_Ini.selectSection("TeraPaint"))
        ReadPaintSection();
}

void cAppointmentBookRoom::ReadPaintSection() {
    const aRect page = ParseRect(m_Ini.getString("pagerect"));
    const i32 penSize = m_Ini.getInt("pensize");
    const i32 maxAlpha = m_Ini.getInt("maxalpha");
    const f32 speed = f32(m_Ini.getInt("paintspeed"));
    const f32 winPercent = f32(std::atof(m_Ini.getString("winpercent").c_str()));
    m_PaintLayer.SetRect(page);
    if (m_pTextImprint)
        m_pTextImprint->Reset();
    aImageManager* images = m_pResManager ? m_pResManager->getImageManager() : nullptr;
    aImage* source = images ? images->getImage("hidden_text_ontable", m_Name) : nullptr;
    // Without the picture the page has nothing to reveal: only the solve finds the text.
    if (!source)
        return;
    const SpyPoint at = m_pTextImprint ? m_pTextImprint->GetPos() : SpyPoint{};
    m_PaintLayer.Setup(source, i16(TruncToInt(at.x)), i16(TruncToInt(at.y)), u16(penSize), u16(penSize),
                       source->getPixel(0, 0), u8(maxAlpha), speed);
    m_WinAmount = f32(source->getWidth()) * f32(source->getHeight()) * f32(u8(maxAlpha)) * winPercent;
}

void cAppointmentBookRoom::Reset() {
    if (m_State <= ResourcesQueued)
        return;
    CRoomBase::Reset();
    m_bFound = false;
    m_PaintLayer.Reset();
}

void cAppointmentBookRoom::RenderItems() {
    CRoomBase::RenderItems();
    m_PaintLayer.Render();
}

void cAppointmentBookRoom::SetItemOnCursor(CSpyItem* item, CSpyItem* roomForm,
                                           std::optional<SpyPoint> grabOffset) {
    if (item && item->GetName() == Pencil) {
        // The pen picture is drawn in the room in place of the pointer.
        m_bSharedMouseInside = false;
        CRoomBase::SetItemOnCursor(item, m_pPen, grabOffset);
        return;
    }
    StopPen();
    m_bSharedMouseInside = true;
    CRoomBase::SetItemOnCursor(item, roomForm, grabOffset);
}

void cAppointmentBookRoom::StopPen() {
    if (m_pPenSound && m_pPenSound->isPlaying())
        m_pPenSound->stop();
}

void cAppointmentBookRoom::StopAmbient() {
    CRoomBase::StopAmbient();
    StopPen();
}

void cAppointmentBookRoom::HandleCursorItemInput(f32 dt) {
    CRoomBase::HandleCursorItemInput(dt);
    const bool rubbing =
        m_pCursorItem && m_pCursorItem->GetName() == Pencil && m_pPageZone && !m_pPageZone->IsVisible();
    if (rubbing)
        Rub(dt);
    else
        StopPen();
}

void cAppointmentBookRoom::Rub(f32 dt) {
    const aInputServer* input = aApplication::inputServer();
    i32 mx = 0, my = 0;
    if (input)
        input->getMousePos(mx, my);
    // The zone is kept hidden: its hit test answers only while it shows.
    m_pPageZone->SetVisible(true);
    const bool inside = m_pPageZone->HitTest(i16(mx), i16(my));
    m_pPageZone->SetVisible(false);
    if (!inside) {
        m_PaintLayer.ResetLastPoint();
        StopPen();
        return;
    }
    const bool painted = m_PaintLayer.Update(dt);
    if (painted && m_pPenSound && !m_pPenSound->isPlaying())
        m_pPenSound->play(true);
    if (!painted)
        StopPen();
    if (m_WinAmount && m_PaintLayer.GetPaintedAmount() > *m_WinAmount && !m_bFound)
        FindText();
}

void cAppointmentBookRoom::FindText() {
    ShowMessage("MSG_ONFINDTEXT");
    if (m_pCursorItem) {
        if (CPersonage* personage = CurrentPersonage())
            personage->GetInventory().AddItem(m_pCursorItem);
        if (m_pPen)
            m_pPen->SetVisible(false);
        SetItemOnCursor(nullptr, nullptr, SpyPoint{});
    }
    if (m_Items.HasItem("PAGE_29"))
        GetItem("PAGE_29")->SetDisabled(true);
    if (m_pTextImprint) {
        m_pTextImprint->SetVisible(true);
        m_pTextImprint->SetColor(0x00000000);
    }
    m_bFound = true;
    if (m_Items.HasItem("HIDDEN_TEXT"))
        GetItem("HIDDEN_TEXT")->SetVisible(true);
}

void cAppointmentBookRoom::Leave() {
    CRoomBase::Leave();
    if (m_bFound)
        if (CPersonage* personage = CurrentPersonage())
            personage->GetInventory().RemoveItem(Pencil);
}

bool cAppointmentBookRoom::ProcessAutoActions() {
    const bool changed = CRoomBase::ProcessAutoActions();
    CPersonage* personage = CurrentPersonage();
    if (m_bFound || !personage || !personage->GetInventory().HasItem(Pencil))
        return changed;
    FindText();
    return true;
}

u8* cAppointmentBookRoom::SaveSelf(SaveLoadSystem& sys, u8* pos) {
    pos = sys.writeBool(CRoomBase::SaveSelf(sys, pos), m_bFound);
    // The layer's record is written behind room for the block's header, then packed where it lies.
    u8* block = pos;
    const u8 header[PackedRunsHeaderBytes] = {};
    u8* record = sys.write(block, header, sizeof header);
    if (record == block)
        return block;
    const u8* end = m_PaintLayer.SaveSelf(sys, record);
    return block + PackRunsInPlace(block, u32(end - record));
}

const u8* cAppointmentBookRoom::LoadSelf(SaveLoadSystem& sys, const u8* pos) {
    pos = sys.readBool(CRoomBase::LoadSelf(sys, pos), m_bFound);
    const u32 left = sys.bytesLeftInRecord(pos);
    const PackedRunsInfo info = CheckPackedRuns(pos, left, MaxLayerRecord);
    SaveLoadSystem unpacked;
    u8* data = info.check == PackedRunsInfo::Sound ? unpacked.BeginMemoryRecord(info.unpackedSize) : nullptr;
    if (!data || !m_pRoomsManager) {
        log("cAppointmentBookRoom::LoadSelf(). Damaged paint layer record, the page starts unrubbed");
        m_PaintLayer.Reset();
        return pos + (info.check == PackedRunsInfo::DamagedSize ? left : info.size);
    }
    UnpackRuns(pos, info, data);
    m_PaintLayer.LoadSelf(*m_pRoomsManager, unpacked, data);
    unpacked.Finish();
    return pos + info.size;
}
