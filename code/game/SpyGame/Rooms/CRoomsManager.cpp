#include "game/SpyGame/Rooms/CRoomsManager.h"

#include "game/GameConstants.h"
#include "game/SaveLoadSystem.h"
#include "game/SpyGame/Rooms/CEvidenceBox.h"
#include "game/SpyGame/Rooms/CGlobalMap.h"
#include "game/SpyGame/Rooms/CInvCards.h"
#include "game/SpyGame/Rooms/CRoomBase.h"
#include "game/SpyGame/Rooms/Puzzles/CRoomCleaning.h"
#include "game/SpyGame/Rooms/Puzzles/cAppointmentBookRoom.h"
#include "game/SpyGame/Rooms/Puzzles/cAssembleInviationRoom.h"
#include "game/SpyGame/Rooms/Puzzles/cBackMooverPuzzle.h"
#include "game/SpyGame/Rooms/Puzzles/cCapOJoePuzzleRoom.h"
#include "game/SpyGame/Rooms/Puzzles/cChineseBoxPuzzleRoom.h"
#include "game/SpyGame/Rooms/Puzzles/cChineseFigurinePuzzleRoom.h"
#include "game/SpyGame/Rooms/Puzzles/cCrabPuzzleRoom.h"
#include "game/SpyGame/Rooms/Puzzles/cCrimeLabButtles.h"
#include "game/SpyGame/Rooms/Puzzles/cCrimeLabMain.h"
#include "game/SpyGame/Rooms/Puzzles/cCrimeSearcherRoom.h"
#include "game/SpyGame/Rooms/Puzzles/cCursorRoomShower.h"
#include "game/SpyGame/Rooms/Puzzles/cDilaryLightsPuzzle.h"
#include "game/SpyGame/Rooms/Puzzles/cFaxMachinePuzzleRoom.h"
#include "game/SpyGame/Rooms/Puzzles/cGardenMazeRoom.h"
#include "game/SpyGame/Rooms/Puzzles/cGardenRoseRoom.h"
#include "game/SpyGame/Rooms/Puzzles/cGettingBloodSample.h"
#include "game/SpyGame/Rooms/Puzzles/cMicrofichePuzzleRoom.h"
#include "game/SpyGame/Rooms/Puzzles/cNetPuzzleRoom.h"
#include "game/SpyGame/Rooms/Puzzles/cPiatnashkiRoom.h"
#include "game/SpyGame/Rooms/Puzzles/cReservationsRegisterRoom.h"
#include "game/SpyGame/Rooms/Puzzles/cTanPheisRoom.h"
#include "game/SpyGame/Rooms/Puzzles/cVentMazePuzzleRoom.h"
#include "game/SpyGame/Rooms/Puzzles/cVictimId2PuzzleRoom.h"
#include "game/SpyGame/Rooms/Puzzles/cVictimIdPuzzleRoom.h"
#include "game/SpyGame/Rooms/Puzzles/cWarehouseRoom.h"
#include "game/SpyGame/Rooms/Puzzles/cZodiacBookPuzzleRoom.h"
#include "tk2v/file/aOptionsFile.h"
#include "tk2v/file/file.h"
#include "tk2v/util/log.h"

namespace {

template <class Room> CRoomBase* Make() {
    return new Room;
}

struct RoomClass {
    const char* name;
    CRoomBase* (*make)();
};

// Compared in this order, exactly; the first match wins. Classes join the table as they are built.
const RoomClass RoomClasses[] = {
    {CRoomBase::GetClassStaticName(), &Make<CRoomBase>},
    {CGlobalMap::GetClassStaticName(), &Make<CGlobalMap>},
    {CEvidenceBox::GetClassStaticName(), &Make<CEvidenceBox>},
    {CInvCards::GetClassStaticName(), &Make<CInvCards>},
    {cCrimeLabButtles::GetClassStaticName(), &Make<cCrimeLabButtles>},
    {cCrimeLabMain::GetClassStaticName(), &Make<cCrimeLabMain>},
    {cCrabPuzzleRoom::GetClassStaticName(), &Make<cCrabPuzzleRoom>},
    {CRoomCleaning::GetClassStaticName(), &Make<CRoomCleaning>},
    {cVictimIdPuzzleRoom::GetClassStaticName(), &Make<cVictimIdPuzzleRoom>},
    {cVictimId2PuzzleRoom::GetClassStaticName(), &Make<cVictimId2PuzzleRoom>},
    {cGardenMazeRoom::GetClassStaticName(), &Make<cGardenMazeRoom>},
    {cNetPuzzleRoom::GetClassStaticName(), &Make<cNetPuzzleRoom>},
    {cChineseBoxPuzzleRoom::GetClassStaticName(), &Make<cChineseBoxPuzzleRoom>},
    {cCapOJoePuzzleRoom::GetClassStaticName(), &Make<cCapOJoePuzzleRoom>},
    {cMicrofichePuzzleRoom::GetClassStaticName(), &Make<cMicrofichePuzzleRoom>},
    {cGardenRoseRoom::GetClassStaticName(), &Make<cGardenRoseRoom>},
    {cAppointmentBookRoom::GetClassStaticName(), &Make<cAppointmentBookRoom>},
    {cChineseFigurinePuzzleRoom::GetClassStaticName(), &Make<cChineseFigurinePuzzleRoom>},
    {cGettingBloodSample::GetClassStaticName(), &Make<cGettingBloodSample>},
    {cFaxMachinePuzzleRoom::GetClassStaticName(), &Make<cFaxMachinePuzzleRoom>},
    {cZodiacBookPuzzleRoom::GetClassStaticName(), &Make<cZodiacBookPuzzleRoom>},
    {cWarehouseRoom::GetClassStaticName(), &Make<cWarehouseRoom>},
    {cBackMooverPuzzle::GetClassStaticName(), &Make<cBackMooverPuzzle>},
    {cVentMazePuzzleRoom::GetClassStaticName(), &Make<cVentMazePuzzleRoom>},
    {cCrimeSearcherRoom::GetClassStaticName(), &Make<cCrimeSearcherRoom>},
    {cReservationsRegisterRoom::GetClassStaticName(), &Make<cReservationsRegisterRoom>},
    {cAssembleInviationRoom::GetClassStaticName(), &Make<cAssembleInviationRoom>},
    {cDilaryLightsPuzzle::GetClassStaticName(), &Make<cDilaryLightsPuzzle>},
    {cTanPheisRoom::GetClassStaticName(), &Make<cTanPheisRoom>},
    {cCursorRoomShower::GetClassStaticName(), &Make<cCursorRoomShower>},
    {cPiatnashkiRoom::GetClassStaticName(), &Make<cPiatnashkiRoom>},
};

} // namespace

CRoomsManager::CRoomsManager() = default;

CRoomsManager::~CRoomsManager() {
    Clear();
}

CRoomBase* CRoomsManager::CreateRoom(const std::string& className) {
    for (const RoomClass& roomClass : RoomClasses)
        if (className == roomClass.name)
            return roomClass.make();
    return nullptr;
}

void CRoomsManager::LoadSharedRoomsList(CPersonagesManager* personages, CDialogSpyGamePanel* panel) {
    m_pPersonagesManager = personages;
    m_pGamePanel = panel;
    aStringList shared(SHARED_ROOMS_FOLDER + "_rooms.list");
    m_SharedRooms.insert(shared.lines().begin(), shared.lines().end());
}

void CRoomsManager::Init(const std::string& dataFolder, const std::string& investigation) {
    setName("RoomsManager : " + investigation);
    ReadRoomsList(dataFolder + "_rooms.list");
    for (const std::string& room : m_RoomsList.lines())
        LoadRooms(room, dataFolder + room + "/",
                  "language:Investigations/" + investigation + "/" + room + "/");
}

void CRoomsManager::ReadRoomsList(const std::string& path) {
    if (path == m_RoomsListFile)
        return;
    m_RoomsList.clear();
    m_RoomsList.load(path);
    m_RoomsListFile = path;
}

bool CRoomsManager::LoadRooms(const std::string& room, const std::string& dataFolder,
                              const std::string& languageFolder) {
    if (!file_dirExistsEx(dataFolder, true)) {
        log("CRoomsManager::LoadRooms(). Room '%s' from '_rooms.list' not found.", room.c_str());
        return false;
    }
    aOptionsFile ini(dataFolder + "room.ini");
    std::string className = ini.getValue("Room", "Class");
    boost::shared_ptr<CRoomBase> created(MakeRoom(className));
    if (!created) {
        log("CRoomsManager::LoadRooms(). Not find class '%s' for room '%s'", className.c_str(), room.c_str());
        return false;
    }
    created->Init(this, m_pPersonagesManager, m_pGamePanel);
    created->LoadResources(dataFolder, room, ini, languageFolder);
    Register(room, created);
    if (created->GetClassName() != className)
        log("Warning, class '%s' return difference names in methods GetClassStaticName() and GetClassName().",
            className.c_str());
    return true;
}

void CRoomsManager::Register(const std::string& name, const boost::shared_ptr<CRoomBase>& room) {
    auto it = m_Rooms.find(name);
    if (it != m_Rooms.end())
        Unregister(it);
    m_Rooms.emplace(name, room);
}

void CRoomsManager::Unregister(RoomMap::iterator it) {
    boost::shared_ptr<CRoomBase> dropped = it->second;
    m_Rooms.erase(it);
    for (auto& [name, room] : m_Rooms)
        room->ForgetRoom(dropped.get());
}

CRoomBase* CRoomsManager::GetRoom(const std::string& room) const {
    auto it = m_Rooms.find(room);
    if (it == m_Rooms.end()) {
        log("CRoomManager::GetRoom(). Cannot find room: %s", room.c_str());
        return nullptr;
    }
    return it->second.get();
}

bool CRoomsManager::HasItem(const std::string& room, const std::string& item) const {
    auto it = m_Rooms.find(room);
    return it != m_Rooms.end() && it->second->GetItemManager().HasItem(item);
}

CSpyItem* CRoomsManager::GetItem(const std::string& room, const std::string& item) const {
    CRoomBase* found = GetRoom(room);
    return found ? found->GetItemManager().GetItem(item) : nullptr;
}

CSpyItem* CRoomsManager::GetItemByFullName(const std::string& fullName) const {
    std::string room, item;
    SplitFullItemName(fullName, room, item);
    return GetItem(room, item);
}

bool CRoomsManager::AfterLoadInitRoom(const std::string& room) {
    CRoomBase* found = GetRoom(room);
    if (found)
        found->AfterLoadInit();
    return found != nullptr;
}

void CRoomsManager::AfterLoadInitRooms(const std::string& dataFolder) {
    ReadRoomsList(dataFolder + "_rooms.list");
    for (const std::string& room : m_RoomsList.lines())
        if (CRoomBase* found = GetRoom(room))
            found->AfterLoadInit();
}

void CRoomsManager::ResetRooms(const std::string& dataFolder) {
    ReadRoomsList(dataFolder + "_rooms.list");
    for (const std::string& room : m_RoomsList.lines())
        if (auto it = m_Rooms.find(room); it != m_Rooms.end())
            it->second->Reset();
}

void CRoomsManager::UnloadRooms(const std::string& dataFolder) {
    ReadRoomsList(dataFolder + "_rooms.list");
    for (const std::string& room : m_RoomsList.lines())
        if (auto it = m_Rooms.find(room); it != m_Rooms.end())
            Unregister(it);
}

void CRoomsManager::Clear() {
    // Rooms keep plain pointers to one another; none may outlive the others' registration.
    for (auto& [name, room] : m_Rooms)
        for (auto& [other, otherRoom] : m_Rooms)
            room->ForgetRoom(otherRoom.get());
    m_Rooms.clear();
}

std::string CRoomsManager::GetSharedRoomDataFolder(const std::string& room) const {
    return IsSharedRoom(room) ? SHARED_ROOMS_FOLDER + room + "/" : std::string();
}

std::string CRoomsManager::GetSharedRoomLanguageFolder(const std::string& room) const {
    return IsSharedRoom(room) ? SHARED_ROOMS_TEXT_FOLDER + room + "/" : std::string();
}

void CRoomsManager::SaveChildren(SaveLoadSystem& sys) {
    for (auto& [name, room] : m_Rooms)
        sys.SaveEntity(*room);
}

void CRoomsManager::LoadChildren(SaveLoadSystem& sys) {
    for (auto& [name, room] : m_Rooms)
        sys.LoadEntity(*room);
}
