#include "game/SpyGame/CSpyItemZoomRoom.h"

#include "tk2v/file/aOptionsFile.h"

void CSpyItemZoomRoom::OneTimeInit(CRoomItemLookup* rooms, CSpyItemManager* items, CSpyObjManager* objects,
                                   const std::string& roomName, aOptionsFile& ini, const std::string& name) {
    CSpyItem::OneTimeInit(rooms, items, objects, roomName, ini, name);
    // Read without a presence test: the options file reports a close-up without a room.
    m_useRoom = ini.getString("UseRoom");
    ForceHighlightOnHover();
    ForceMagicStars();
}

void CSpyItemZoomRoom::CopyFrom(const CSpyItem& source) {
    CSpyItem::CopyFrom(source);
    if (const auto* same = dynamic_cast<const CSpyItemZoomRoom*>(&source)) {
        m_useRoom = same->m_useRoom;
    }
}
