#pragma once
#include "game/SpyGame/Rooms/CRoomBase.h"
#include "game/SpyGame/Rooms/Toolkit/cSimpleTimer.h"

namespace GUI {
class EventArgs;
}

// A close-up of a fax machine. A click on its button starts the printing: the waiting light goes
// out and the report rises out of the machine in even steps while it prints. Once the printing time
// is over the report can be taken like any item of the room. The panel offers no solve here.
class cFaxMachinePuzzleRoom : public CRoomBase {
public:
    static const char* GetClassStaticName() { return "FaxMachinePuzzleRoom"; }

    cFaxMachinePuzzleRoom();
    ~cFaxMachinePuzzleRoom() override;

    const u8* LoadSelf(SaveLoadSystem& sys, const u8* pos) override;
    u8* SaveSelf(SaveLoadSystem& sys, u8* pos) override;
    std::string GetClassName() const override { return GetClassStaticName(); }
    void AfterLoadInit() override;
    void Reset() override;
    u32 FrameMove(f32 dt, bool paused) override;
    bool ProcessAutoActions() override;
    bool OnClickUseItem() override;

protected:
    // The timer's handlers: a step of the report upwards, and the end of the printing.
    bool StepReport(const GUI::EventArgs& args);
    bool FinishPrinting(const GUI::EventArgs& args);
    void ShowReport();

    // From room.ini.
    CSpyItem* m_pReport = nullptr;
    CSpyItem* m_pButton = nullptr;
    CSpyItem* m_pWaiting = nullptr;
    // The part of the report's height that stays inside the machine.
    f32 m_ReportDeltaY = 0;

    // Play state, in record order.
    cSimpleTimer m_PrintTimer;
    bool m_bPrinted = false;
};
