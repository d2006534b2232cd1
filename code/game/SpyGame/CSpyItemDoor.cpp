#include "game/SpyGame/CSpyItemDoor.h"

#include "tk2v/file/aOptionsFile.h"

void CSpyItemDoor::OneTimeInit(CRoomItemLookup* rooms, CSpyItemManager* items, CSpyObjManager* objects,
                               const std::string& roomName, aOptionsFile& ini, const std::string& name) {
    CSpyItem::OneTimeInit(rooms, items, objects, roomName, ini, name);
    // Read without a presence test: the options file reports a door without a target.
    m_useRoom = ini.getString("UseRoom");
    ForceHighlightOnHover();
}

void CSpyItemDoor::CopyFrom(const CSpyItem& source) {
    CSpyItem::CopyFrom(source);
    if (const auto* same = dynamic_cast<const CSpyItemDoor*>(&source)) {
        m_useRoom = same->m_useRoom;
    }
}
