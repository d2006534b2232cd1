#include "game/SpyGame/CTipEvents.h"

#include "game/Profile.h"
#include "game/SaveLoadSystem.h"
#include "game/SpyGame/CInventory.h"
#include "game/SpyGame/CPersonage.h"
#include "game/SpyGame/CPersonagesManager.h"
#include "game/SpyGame/CRoomItemLookup.h"
#include "game/SpyGame/CSpyItem.h"
#include "game/SpyGame/CTipPanel.h"
#include "game/SpyGame/Events/CStoryWorld.h"

namespace {

// Shared by every instance and never saved: a loaded game starts the wait afresh.
f32 crabWait = 0;

constexpr i32 OwnPlace = -1;

} // namespace

// The current room and personage of the frame.
struct CTipEvents::Frame {
    std::string room;
    std::string roomClass;
    CPersonage* personage = nullptr;
    std::string name;
    CInventory* inventory = nullptr;
};

CTipEvents::CTipEvents() : SaveLoadEntity("<TipEvents>") {}

const u8* CTipEvents::LoadSelf(SaveLoadSystem& sys, const u8* pos) {
    return sys.readU8(pos, m_personagesHelpShown);
}

u8* CTipEvents::SaveSelf(SaveLoadSystem& sys, u8* pos) {
    return sys.writeU8(pos, m_personagesHelpShown);
}

void CTipEvents::Init(CTipPanel* panel, CStoryWorld* investigation) {
    m_panel = panel;
    m_investigation = investigation;
    m_ready = panel && investigation;
}

bool CTipEvents::FrameMove(f32 dt) {
    if (!m_ready || !g_currentProfile.showTips)
        return false;
    Frame frame;
    // Between rooms, or before a personage plays, no rule has anything to look at.
    const CPersonagesManager* personages = m_investigation->GetPersonagesManager();
    frame.personage = personages ? personages->GetCurrentPersonage() : nullptr;
    if (!m_investigation->GetCurrentRoom(frame.room, frame.roomClass) || !frame.personage) {
        crabWait = 0;
        return false;
    }
    frame.name = frame.personage->GetName();
    frame.inventory = &frame.personage->GetInventory();
    auto tip = [this](const char* id) { return m_panel->ShowTip(id, OwnPlace, OwnPlace); };

    if (m_investigation->GetInvestigationName() == "1. Golden Gate" && frame.roomClass == "GlobalMap" &&
        tip("start_inv"))
        return true;
    if (!m_personagesHelpShown && frame.name == "Soleth") {
        m_panel->ShowPersonagesHelp();
        m_personagesHelpShown = 1;
        return true;
    }
    if (frame.roomClass == "InvCards" && ShowCardsTip())
        return true;
    if (frame.roomClass == "EvidenceBox" && tip("evidences_help"))
        return true;
    if (m_investigation->CanGiveHint() && ShowHintTips())
        return true;
    if (frame.room == "zoom_CrabPuzzle") {
        const size_t needed = frame.inventory->HasItem("FOTO_SYMBOLS") ? 2 : 1;
        if (frame.inventory->GetItems().size() >= needed && tip("inventory"))
            return true;
    }
    if (ShowCrabTip(frame, dt) || ShowHintButtonTips(frame) || ShowReportTip(frame))
        return true;
    if (frame.roomClass == "ChineseBoxPuzzleRoom" && tip("inventory2"))
        return true;
    return frame.room == "room_LotusFlowerOrphanage" && tip("inventory3");
}

bool CTipEvents::ShowCardsTip() {
    static const std::string cluesHelp = "clues_help";
    static const std::string notClues = "not_clues";
    if (m_investigation->IsCardOpened())
        return m_panel->ShowTip(notClues, OwnPlace, OwnPlace);
    if (!m_panel->ShowManagerTip(cluesHelp))
        return false;
    m_panel->SetTipEnabled(notClues, false);
    return true;
}

bool CTipEvents::ShowHintTips() {
    for (const char* id : {"room_task", "inv_task", "use_hints"})
        if (m_panel->ShowTip(id, OwnPlace, OwnPlace))
            return true;
    return false;
}

bool CTipEvents::ShowCrabTip(const Frame& frame, f32 dt) {
    if (frame.room != "room_GoldenGate" || frame.name != "Marwenn" ||
        !frame.personage->IsRoomTaskListDone(frame.room)) {
        crabWait = 0;
        return false;
    }
    crabWait += dt;
    return crabWait > CrabWaitSeconds && m_panel->ShowTip("crab_puzzle", OwnPlace, OwnPlace);
}

bool CTipEvents::ShowHintButtonTips(const Frame& frame) {
    // Command 11: the hint button was pressed while disabled.
    if (m_panel->GetCommandWord() != 11)
        return false;
    if (m_investigation->AreHintsDisabled() && m_panel->ShowTip("click_disabled_hints", OwnPlace, OwnPlace))
        return true;
    const bool outsideRooms =
        frame.roomClass == "EvidenceBox" || frame.roomClass == "InvCards" || frame.roomClass == "GlobalMap";
    return outsideRooms && m_panel->ShowTip("click_hints_on_map", OwnPlace, OwnPlace);
}

bool CTipEvents::ShowReportTip(const Frame& frame) {
    if (frame.roomClass != "VictimIdPuzzleRoom" || !frame.inventory->HasItem("REPORT_TEXT"))
        return false;
    const CRoomItemLookup& rooms = m_investigation->GetRooms();
    if (!rooms.HasItem(frame.room, "TESTWINDOW"))
        return false;
    const CSpyItem* window = rooms.GetItem(frame.room, "TESTWINDOW");
    if (!window || !window->IsVisible())
        return false;
    const SpyPoint at = window->GetPos();
    return m_panel->ShowTip("id_report_view", TruncToInt(at.x), TruncToInt(at.y));
}
