#pragma once
#include "game/SaveLoadEntity.h"
#include "game/SpyGame/CRoomItemLookup.h"
#include "tk2v/file/aStringList.h"

#include <boost/shared_ptr.hpp>

#include <map>
#include <set>
#include <string>

class CDialogSpyGamePanel;
class CPersonagesManager;
class CRoomBase;
class CSpyItem;

// The rooms of the running game by name: creates them from "_rooms.list" and each "room.ini"
// through the class-name factory, finds them and their items, and saves them as its children.
class CRoomsManager : public SaveLoadEntity, public CRoomItemLookup {
public:
    using RoomMap = std::map<std::string, boost::shared_ptr<CRoomBase>>;

    CRoomsManager();
    ~CRoomsManager() override;
    CRoomsManager(const CRoomsManager&) = delete;
    CRoomsManager& operator=(const CRoomsManager&) = delete;

    void SaveChildren(SaveLoadSystem& sys) override;
    void LoadChildren(SaveLoadSystem& sys) override;

    void LoadSharedRoomsList(CPersonagesManager* personages, CDialogSpyGamePanel* panel);
    void Init(const std::string& dataFolder, const std::string& investigation);
    bool LoadRooms(const std::string& room, const std::string& dataFolder, const std::string& languageFolder);
    // The factory: a new, uninitialised room of that class, or null.
    static CRoomBase* CreateRoom(const std::string& className);
    // Rereads the list only when the path differs from the last one.
    void ReadRoomsList(const std::string& path);

    bool HasRoom(const std::string& room) const { return m_Rooms.count(room) != 0; }
    CRoomBase* GetRoom(const std::string& room) const;
    bool HasItem(const std::string& room, const std::string& item) const override;
    CSpyItem* GetItem(const std::string& room, const std::string& item) const override;
    CSpyItem* GetItemByFullName(const std::string& fullName) const override;

    bool AfterLoadInitRoom(const std::string& room);
    void AfterLoadInitRooms(const std::string& dataFolder);
    void ResetRooms(const std::string& dataFolder);
    void UnloadRooms(const std::string& dataFolder);
    // Drops every room.
    void Clear();

    std::string GetSharedRoomDataFolder(const std::string& room) const;
    std::string GetSharedRoomLanguageFolder(const std::string& room) const;
    bool IsSharedRoom(const std::string& room) const { return m_SharedRooms.count(room) != 0; }
    const RoomMap& GetRooms() const { return m_Rooms; }
    CPersonagesManager* GetPersonagesManager() const { return m_pPersonagesManager; }

protected:
    // The room LoadRooms registers for the class: the factory's. A test puts a room of its own here.
    virtual CRoomBase* MakeRoom(const std::string& className) { return CreateRoom(className); }

private:
    // Registers the room under the name, dropping the one it replaces.
    void Register(const std::string& name, const boost::shared_ptr<CRoomBase>& room);
    void Unregister(RoomMap::iterator it);

    CPersonagesManager* m_pPersonagesManager = nullptr;
    CDialogSpyGamePanel* m_pGamePanel = nullptr;
    aStringList m_RoomsList;
    std::string m_RoomsListFile;
    RoomMap m_Rooms;
    std::set<std::string> m_SharedRooms;
};
