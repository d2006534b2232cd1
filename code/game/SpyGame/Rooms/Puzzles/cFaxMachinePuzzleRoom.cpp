#include "game/SpyGame/Rooms/Puzzles/cFaxMachinePuzzleRoom.h"

#include "game/SaveLoadSystem.h"
#include "game/SpyGame/CSpyItem.h"
#include "game/SpyGame/Rooms/CRoomsManager.h"
#include "tk2v/sound/aSound.h"
#include "tk2v/util/log.h"

#include <cstdlib>

// Unlike the other puzzle rooms the fax leaves the panel's solve button hidden: its report comes out
// by itself once printed.
cFaxMachinePuzzleRoom::cFaxMachinePuzzleRoom() = default;

cFaxMachinePuzzleRoom::~cFaxMachinePuzzleRoom() = default;

void cFaxMachinePuzzleRoom::AfterLoadInit() {
    const bool due = IsLoadInitDue();
    CRoomBase::AfterLoadInit();
    if (!due)
        return;
    m_pButton = GetItem("BUTTON");
    m_pWaiting = GetItem("FAX_WAITING");
    if (m_Ini.selectSection("Printing")) {
        m_pReport = GetItem(m_Ini.getString("name"));
        m_ReportDeltaY = f32(std::atof(m_Ini.getString("ReportDeltaY").c_str()));
        const f32 time = f32(std::atof(m_Ini.getString("time").c_str()));
        m_PrintTimer.SetTime(time, u16(m_Ini.getInt("count")));
    } else {
        log("cFaxMachinePuzzleRoom. bad ini file!");
    }
    m_PrintTimer.SetOnTick(MakeHandler(this, &cFaxMachinePuzzleRoom::StepReport));
    m_PrintTimer.SetOnFinish(MakeHandler(this, &cFaxMachinePuzzleRoom::FinishPrinting));
}

void cFaxMachinePuzzleRoom::Reset() {
    if (m_State <= ResourcesQueued)
        return;
    CRoomBase::Reset();
    m_PrintTimer.Stop();
    if (m_pReport)
        m_pReport->SetDisabled(true);
    m_bPrinted = false;
}

u32 cFaxMachinePuzzleRoom::FrameMove(f32 dt, bool paused) {
    m_PrintTimer.Update(dt);
    return CRoomBase::FrameMove(dt, paused);
}

bool cFaxMachinePuzzleRoom::OnClickUseItem() {
    if (m_pButton && m_pItemUnderCursor == m_pButton && !m_PrintTimer.IsRunning() && !m_bPrinted) {
        m_PrintTimer.Start();
        ShowReport();
        if (aSound* printing = GetSound("fax_printing"))
            printing->play();
    }
    return CRoomBase::OnClickUseItem();
}

void cFaxMachinePuzzleRoom::ShowReport() {
    if (m_pWaiting)
        m_pWaiting->SetVisible(false);
    if (m_pReport)
        m_pReport->SetVisible(true);
}

bool cFaxMachinePuzzleRoom::StepReport(const GUI::EventArgs&) {
    const u16 count = m_PrintTimer.GetTickCount();
    if (!m_pReport || count == 0)
        return true;
    const SpyPoint at = m_pReport->GetPos();
    const f32 rise = (f32(m_pReport->GetHeight()) - m_ReportDeltaY) / f32(count);
    m_pReport->SetPos(at.x, at.y - rise);
    return true;
}

bool cFaxMachinePuzzleRoom::FinishPrinting(const GUI::EventArgs&) {
    if (!m_bPrinted) {
        m_bPrinted = true;
        if (m_pReport)
            m_pReport->SetDisabled(false);
    }
    return true;
}

bool cFaxMachinePuzzleRoom::ProcessAutoActions() {
    if (m_bPrinted)
        return false;
    ShowReport();
    m_bPrinted = true;
    if (m_pReport)
        m_pReport->SetDisabled(false);
    return CRoomBase::ProcessAutoActions();
}

u8* cFaxMachinePuzzleRoom::SaveSelf(SaveLoadSystem& sys, u8* pos) {
    pos = CRoomBase::SaveSelf(sys, pos);
    pos = m_PrintTimer.SaveSelf(sys, pos);
    return sys.writeBool(pos, m_bPrinted);
}

const u8* cFaxMachinePuzzleRoom::LoadSelf(SaveLoadSystem& sys, const u8* pos) {
    pos = CRoomBase::LoadSelf(sys, pos);
    if (!m_pRoomsManager)
        return pos;
    pos = m_PrintTimer.LoadSelf(*m_pRoomsManager, sys, pos);
    return sys.readBool(pos, m_bPrinted);
}
