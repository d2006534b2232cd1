#include "game/SpyGame/CInvestigation.h"

#include "game/CGameIni.h"
#include "game/CResManager.h"
#include "game/GameConstants.h"
#include "game/Profile.h"
#include "game/SaveLoadSystem.h"
#include "game/SpyGame/CDialogSpyGamePanel.h"
#include "game/SpyGame/CPersonage.h"
#include "game/SpyGame/CPersonagesManager.h"
#include "game/SpyGame/CSpyItem.h"
#include "game/SpyGame/Rooms/CInvCards.h"
#include "game/SpyGame/Rooms/CRoomBase.h"
#include "game/SpyGame/Rooms/CRoomsManager.h"
#include "game/SpyGame/StringListField.h"
#include "tk2v/file/aLocaleServer.h"
#include "tk2v/file/file.h"
#include "tk2v/gfx/aApplication.h"
#include "tk2v/gfx/aFont.h"
#include "tk2v/gui/Server.h"
#include "tk2v/gui/Style.h"
#include "tk2v/gui/Window.h"
#include "tk2v/input/aInputServer.h"
#include "tk2v/sound/aMusicManager.h"
#include "tk2v/sound/aSound.h"
#include "tk2v/sound/aSoundManager.h"
#include "tk2v/util/aException.h"
#include "tk2v/util/log.h"

#include <algorithm>
#include <list>

namespace {

const char* const MainSection = "Main";
constexpr u32 CloseUpShade = 0xB0000000;
constexpr u32 ErrorColour = 0xFFFF0000;
constexpr i16 FrameMargin = 10;

std::string OptionalValue(const aOptionsFile& ini, const char* key) {
    return ini.hasSectionKey(MainSection, key) ? ini.getValue(MainSection, key) : std::string();
}

// The states in which a room is played, the ones a dialog or the menu returns to.
bool IsPlayState(u32 state) {
    return state == CInvestigation::Playing || state == CInvestigation::EvidenceBox ||
           state == CInvestigation::InvCards || state == CInvestigation::OnMap;
}

// Half of a size difference, rounded down, as the 16-bit positions of the layout are.
i32 HalfDown(i32 difference) {
    return difference >= 0 ? difference / 2 : -((-difference + 1) / 2);
}

i16 CentredIn(i32 start, i32 outer, i32 inner) {
    return i16(start + HalfDown(outer - inner));
}

// The frame reaches past its room by half the growth on the left and top, that half rounded down,
// so an odd growth puts the extra pixel on the right and bottom.
i16 FramedAround(i32 start, i32 inner, i32 frame) {
    return i16(start - HalfDown(frame - inner));
}

} // namespace

CInvestigation::CInvestigation() : SaveLoadEntity("Investigation : ") {}

CInvestigation::~CInvestigation() {
    Close();
}

void CInvestigation::Init(CDialogSpyGamePanel* panel, CRoomsManager* rooms, CPersonagesManager* personages) {
    if (m_state != Constructed)
        return;
    m_pPanel = panel;
    m_pRooms = rooms;
    m_pPersonages = personages;
    m_pRes = CResManager::exists() ? CResManager::getSingleton() : nullptr;
    m_events.SetInvestigation(this);
    m_panelTips.SetPanel(panel);
    m_tipEvents.Init(&m_panelTips, this);
    m_roomArea = aRect{i16(SCREEN_WIDTH - RoomAreaWidth), 0, u16(RoomAreaWidth), u16(RoomAreaHeight)};
    m_frameWindow = boost::shared_ptr<GUI::Window>(new GUI::Window(""));
    m_state = Wired;
}

void CInvestigation::LoadInvestigation(const std::string& folder, const std::string& name) {
    if (m_state == Constructed)
        return;
    Close();
    m_name = name;
    log("Load investigation: %s", name.c_str());
    setName("Investigation : " + name);
    m_dataFolder = folder + name + "/";
    m_ini.load(m_dataFolder + "_investigation.ini");
    m_startRoom = OptionalValue(m_ini, "StartRoom");
    m_music = OptionalValue(m_ini, "Music");
    if (m_pRooms)
        m_pRooms->Init(m_dataFolder, name);
    m_internalLanguage =
        m_ini.hasSectionKey(MainSection, "InternalLanguage") && CGameIni::exists() &&
        m_ini.getValue(MainSection, "InternalLanguage") == CGameIni::getSingleton()->GetLanguage();
    aLocaleServer* locale = m_pRes ? m_pRes->getLocaleServer() : nullptr;
    if (locale && file_exists(INV_COMMON_TEXT_FILE))
        locale->loadFile(INV_COMMON_TEXT_FILE, name);
    m_textFile = m_internalLanguage ? m_dataFolder + "Locale/investigation.txt"
                                    : "language:Investigations/" + name + "/investigation.txt";
    if (locale && file_exists(m_textFile))
        locale->loadFile(m_textFile, name);
    m_events.setName("SpyEventsManager : " + name);
    if (file_exists(m_dataFolder + "_events.ini"))
        m_events.AddEvents(m_dataFolder + "_events.ini");
    m_state = Loading;
}

void CInvestigation::OnResourcesLoaded() {
    if (m_state != Loading || (m_pRes && !m_pRes->isDone()))
        return;
    m_pFrameStyle = GUI::Server::exists() ? GUI::Server::getSingleton()->GetStyle("frame_style_gb") : nullptr;
    m_frameWindow->SetNormalStyle(m_pFrameStyle);
    if (m_pPersonages) {
        // An investigation without playable personages cannot run: it is closed, not thrown onward.
        try {
            m_pPersonages->CreatePersonages(m_ini, m_pPanel, m_pRooms);
        } catch (const aException& e) {
            log("%s", e.getMessage());
            Close();
            return;
        }
        m_pPersonages->LoadScripts(m_dataFolder + "GlobalMap.AI/", GLOBAL_MAP_ROOM);
        m_pPersonages->LoadInvestigationScripts(m_dataFolder, m_name);
    }
    if (m_pRooms)
        m_pRooms->AfterLoadInitRooms(m_dataFolder);
    m_pMap = FindRoom(GLOBAL_MAP_ROOM);
    m_pEvidenceBox = FindRoom(EVIDENCE_BOX_ROOM);
    m_pInvCards = FindRoom(INVESTIGATION_CARDS_ROOM);
    if (aSoundManager* sounds = m_pRes ? m_pRes->getSoundManager() : nullptr) {
        sounds->setVolume(g_currentProfile.soundVolume);
        auto sound = [sounds](const char* name) {
            return sounds->hasSound(name) ? sounds->getSound(name) : nullptr;
        };
        m_pDialogSound = sound("dialog_show");
        m_pZoomInSound = sound("closeup_zoomin");
        m_pZoomOutSound = sound("closeup_zoomout");
    }
    m_state = Loaded;
}

void CInvestigation::Start(bool carryOver) {
    if (m_state <= Loading)
        return;
    m_pCurrentRoom = nullptr;
    m_currentLocation.clear();
    m_history.clear();
    if (m_pPanel) {
        m_pPanel->Hide();
        m_pPanel->HideAll();
    }
    if (m_pPersonages)
        m_pPersonages->ResetForNewGame(carryOver);
    if (m_pRooms)
        m_pRooms->ResetRooms(m_dataFolder);
    if (auto* cards = dynamic_cast<CInvCards*>(m_pInvCards))
        cards->CardsCommand(carryOver, m_name);
    if (m_pPanel)
        m_pPanel->GetTipManager().ResetCounters(!carryOver);
    if (!carryOver)
        m_tipEvents.Reset();
    if (m_pRooms)
        for (const auto& [name, room] : m_pRooms->GetRooms())
            if (room && room->GetClassName() != "GlobalMap")
                room->SetPosition({f32(CentredIn(m_roomArea.x, m_roomArea.w, room->GetWidth())),
                                   f32(CentredIn(m_roomArea.y, m_roomArea.h, room->GetHeight()))});
    m_events.ResetAll();
    if (m_pPanel) {
        m_pPanel->HideAll();
        ShowBackdrop(false);
        m_pPanel->SetHintCount(StartHintCount);
    }
    if (m_pPersonages && !m_pPersonages->GetActivePersonages().empty())
        SelectPersonage(m_pPersonages->GetActivePersonages().front());
    if (aInputServer* input = aApplication::inputServer(); input && !input->nonExclusive)
        input->initMouse(true, false);
    if (aMusicManager* music = m_pRes ? m_pRes->getMusicManager() : nullptr)
        music->changeMusic(m_music, g_currentProfile.musicVolume, true, true);
    m_savedState = u32(-1);
    m_state = Started;
}

void CInvestigation::Entry() {
    if (m_state != Started)
        return;
    m_history.clear();
    if (m_pPanel && !m_pPanel->IsVisible())
        m_pPanel->Show();
    EnableButton("Evidences", m_pEvidenceBox != nullptr);
    EnableButton("Clues", m_pInvCards != nullptr);
    EnableButton("Map", m_pMap != nullptr);
    if (!m_startRoom.empty()) {
        if (CRoomBase* room = FindRoom(m_startRoom)) {
            EnterRoom(room);
            UpdateNavigationButtons();
            m_state = Playing;
        } else {
            log("CInvestigation::Entry(). Not find start room '%s'.", m_startRoom.c_str());
        }
    } else if (m_pMap) {
        OpenMap();
    } else {
        log("CInvestigation::Entry(). Not exist map and not define start room!");
    }
    if (m_state != Started)
        ProcessEvents();
}

void CInvestigation::Stop() {
    if (m_state <= Loading)
        return;
    LeaveCurrentRoom();
    m_pCurrentRoom = nullptr;
    if (aMusicManager* music = m_pRes ? m_pRes->getMusicManager() : nullptr) {
        std::string group;
        if (!m_music.empty() && music->getCurrent(group) == m_music)
            music->stop(true);
    }
    m_state = Loaded;
}

void CInvestigation::Close() {
    if (m_state <= Wired)
        return;
    Stop();
    if (m_pRooms)
        m_pRooms->UnloadRooms(m_dataFolder);
    if (m_pPersonages)
        m_pPersonages->Clear();
    if (m_pPanel)
        m_pPanel->ClearTasks();
    if (aLocaleServer* locale = m_pRes ? m_pRes->getLocaleServer() : nullptr) {
        if (file_exists(INV_COMMON_TEXT_FILE))
            locale->unloadFile(INV_COMMON_TEXT_FILE, m_name);
        if (file_exists(m_textFile))
            locale->unloadFile(m_textFile, m_name);
    }
    m_events = CSpyEventsManager();
    m_events.SetInvestigation(this);
    m_pCurrentRoom = nullptr;
    m_pPickedItem = m_pIdentifiedItem = nullptr;
    m_cardImage.reset();
    m_pMap = m_pEvidenceBox = m_pInvCards = nullptr;
    m_history.clear();
    m_name.clear();
    m_music.clear();
    m_state = Wired;
}

void CInvestigation::CloseMenu() {
    if (m_state == Menu)
        m_state = m_savedState;
}

u8* CInvestigation::SaveSelf(SaveLoadSystem& sys, u8* pos) {
    pos = sys.writeU32(pos, m_state);
    pos = sys.writeU32(pos, m_savedState);
    pos = sys.writeString(pos, m_currentLocation);
    pos = sys.writeString(pos, m_pCurrentRoom ? m_pCurrentRoom->GetName() : std::string());
    std::list<std::string> history;
    for (const CRoomBase* room : m_history)
        history.push_back(room->GetName());
    return SaveStringList(sys, pos, history);
}

const u8* CInvestigation::LoadSelf(SaveLoadSystem& sys, const u8* pos) {
    u32 state = 0;
    std::string roomName;
    std::list<std::string> history;
    pos = sys.readU32(pos, state);
    pos = sys.readU32(pos, m_savedState);
    pos = sys.readString(pos, m_currentLocation);
    pos = sys.readString(pos, roomName);
    pos = LoadStringList(sys, pos, history);
    m_pCurrentRoom = roomName.empty() ? nullptr : FindRoom(roomName);
    // A name no registered room answers to would leave a null way back.
    m_history.clear();
    for (const std::string& name : history)
        if (CRoomBase* room = FindRoom(name))
            m_history.push_back(room);
    // Only the states a saved game can stand in, and with the room they need. A dialog or the menu
    // hands play back to its saved state, so that must be a state of play: any other would stop the
    // game for good once the dialog closed, and the save with it.
    const bool known = state >= Started && state <= Menu;
    const bool needsRoom = state != Started && state != Finished && state != Menu;
    const bool returns = state == Menu || (state >= PhoneCall && state <= Completion && !IsPlayState(state));
    const bool resumable = known && (!needsRoom || m_pCurrentRoom) && (!returns || IsPlayState(m_savedState));
    m_state = resumable ? state : u32(Started);
    if (CPersonage* personage = CurrentPersonage()) {
        SelectPersonage(personage->GetName());
        if (m_pCurrentRoom && m_pPanel) {
            CPersonage::CRoomInfo& info = personage->GetRoomInfo(m_pCurrentRoom->GetName());
            m_pPanel->ShowRoomTasks(info.m_RoomTask, &info.m_TaskList, m_pCurrentRoom->GetName());
        }
    }
    return pos;
}

void CInvestigation::SaveChildren(SaveLoadSystem& sys) {
    sys.SaveEntity(m_tipEvents);
    if (m_pPanel) {
        sys.SaveEntity(m_pPanel->GetTipManager());
        sys.SaveEntity(*m_pPanel);
        sys.SaveEntity(m_pPanel->GetMessage());
    }
    if (m_pPersonages)
        sys.SaveEntity(*m_pPersonages);
    if (m_pRooms)
        sys.SaveEntity(*m_pRooms);
    sys.SaveEntity(m_events);
}

void CInvestigation::LoadChildren(SaveLoadSystem& sys) {
    sys.LoadEntity(m_tipEvents);
    if (m_pPanel) {
        sys.LoadEntity(m_pPanel->GetTipManager());
        sys.LoadEntity(*m_pPanel);
        sys.LoadEntity(m_pPanel->GetMessage());
    }
    if (m_pPersonages)
        sys.LoadEntity(*m_pPersonages);
    if (m_pRooms)
        sys.LoadEntity(*m_pRooms);
    sys.LoadEntity(m_events);
}

bool CInvestigation::IsCloseUp() const {
    return !m_history.empty() && m_pCurrentRoom && m_pCurrentRoom->GetWidth() < RoomAreaWidth &&
           m_pCurrentRoom->GetHeight() < RoomAreaHeight;
}

void CInvestigation::RenderRooms() {
    if (!m_pCurrentRoom)
        return;
    if (!IsCloseUp()) {
        m_pCurrentRoom->Render();
        return;
    }
    m_history.back()->Render();
    if (m_pRes) {
        aGDI& gdi = m_pRes->getGDI();
        gdi.color = CloseUpShade;
        gdi.drawRectS(m_roomArea, true);
    }
    m_pCurrentRoom->Render();
    const i32 roomW = m_pCurrentRoom->GetWidth(), roomH = m_pCurrentRoom->GetHeight();
    i32 frameW = roomW + FrameMargin, frameH = roomH + FrameMargin;
    if (m_pFrameStyle) {
        frameW = std::max<i32>(frameW, m_pFrameStyle->GetMinWidth());
        frameH = std::max<i32>(frameH, m_pFrameStyle->GetMinHeight());
    }
    const SpyPoint at = m_pCurrentRoom->GetPosition();
    m_frameWindow->SetArea(FramedAround(i32(at.x), roomW, frameW), FramedAround(i32(at.y), roomH, frameH),
                           u16(frameW), u16(frameH));
    m_frameWindow->Render();
}

void CInvestigation::Render() {
    auto panel = [this] {
        if (m_pPanel)
            m_pPanel->Render();
    };
    switch (m_state) {
    case Playing:
    case EvidenceBox:
    case InvCards:
    case Tip:
    case Completion:
    case OnMap:
        RenderRooms();
        panel();
        if (m_pCurrentRoom)
            m_pCurrentRoom->RenderCursorItem();
        return;
    case PhoneCall:
    case InvCard:
    case EventForItem:
    case PersonagesHelp:
    case SearchFinish:
    case LocationFinish:
    case SolveConfirm:
    case Menu:
        RenderRooms();
        panel();
        return;
    case ItemPick:
        RenderRooms();
        panel();
        if (m_pPickedItem)
            m_pPickedItem->RenderIcon();
        return;
    case EvidencePick:
        if (m_pPickedItem)
            m_pPickedItem->SetVisible(false);
        RenderRooms();
        panel();
        if (m_pPickedItem) {
            m_pPickedItem->SetVisible(true);
            m_pPickedItem->Render();
        }
        return;
    case ItemIdent:
        RenderRooms();
        panel();
        RenderIdentifiedItem();
        return;
    case Comics:
        panel();
        return;
    default:
        if (aFont* font = GUI::Server::exists() ? GUI::Server::getSingleton()->GetFont("sys_s") : nullptr) {
            font->color = ErrorColour;
            font->print(0, 0, "Error - unknown state!");
        }
    }
}

void CInvestigation::RenderIdentifiedItem() {
    if (!m_pIdentifiedItem || !m_pPanel)
        return;
    CSpyItem& item = *m_pIdentifiedItem;
    const aRect area = m_pPanel->GetItemIdent().GetItemPos();
    const SpyPoint pos = item.GetPos();
    const SpyPoint scale = item.GetScale();
    const bool visible = item.IsVisible();
    item.SetScale({1, 1}, false);
    item.SetPos(CentredIn(area.x, area.w, item.GetWidth()), CentredIn(area.y, area.h, item.GetHeight()));
    item.SetVisible(true);
    item.Render();
    item.SetPos(pos.x, pos.y);
    item.SetScale(scale, false);
    item.SetVisible(visible);
}

bool CInvestigation::GetCurrentRoom(std::string& name, std::string& className) const {
    if (!m_pCurrentRoom)
        return false;
    name = m_pCurrentRoom->GetName();
    className = m_pCurrentRoom->GetClassName();
    return true;
}

bool CInvestigation::CanGiveHint() const {
    return m_pCurrentRoom && m_pCurrentRoom->CanShowHint();
}

bool CInvestigation::IsCardOpened() const {
    const auto* cards = dynamic_cast<const CInvCards*>(m_pInvCards);
    return cards && cards->IsCardOpened();
}

bool CInvestigation::IsMessageShown() const {
    return m_pPanel && m_pPanel->GetMessage().IsVisible();
}

const CRoomItemLookup& CInvestigation::GetRooms() const {
    static const CRoomsManager none;
    return m_pRooms ? *m_pRooms : none;
}

CRoomBase* CInvestigation::FindRoom(const std::string& name) const {
    return m_pRooms && m_pRooms->HasRoom(name) ? m_pRooms->GetRoom(name) : nullptr;
}

CPersonage* CInvestigation::CurrentPersonage() const {
    return m_pPersonages ? m_pPersonages->GetCurrentPersonage() : nullptr;
}

void CInvestigation::EnterRoom(CRoomBase* room) {
    m_pCurrentRoom = room;
    if (room)
        room->Enter(m_name, nullptr);
}

void CInvestigation::LeaveCurrentRoom() {
    if (m_pCurrentRoom)
        m_pCurrentRoom->Leave();
}

void CInvestigation::PushCurrentRoom() {
    if (m_pCurrentRoom)
        m_history.push_back(m_pCurrentRoom);
}

void CInvestigation::ShowBackdrop(bool shown) {
    if (GUI::Widget* backdrop = m_pPanel ? m_pPanel->GetWidget("BlockWidget") : nullptr)
        backdrop->SetVisible(shown);
}

void CInvestigation::EnableButton(const char* name, bool enabled) {
    if (GUI::Widget* button = m_pPanel ? m_pPanel->GetWidget(name) : nullptr)
        button->SetEnabled(enabled);
}

void CInvestigation::PlaySound(aSound* sound) const {
    if (sound)
        sound->play();
}

void CInvestigation::HideMessageBox() {
    if (m_pPanel)
        m_pPanel->GetMessage().Hide();
}
