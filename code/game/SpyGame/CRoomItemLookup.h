#pragma once
#include <string>

class CSpyItem;

// How items reach the items of other rooms: the rooms manager answers for the whole investigation.
class CRoomItemLookup {
public:
    virtual ~CRoomItemLookup() = default;
    // Silent: items test their dependences every frame.
    virtual bool HasItem(const std::string& room, const std::string& item) = 0;
    // Logs a missing room or item and gives null.
    virtual CSpyItem* GetItem(const std::string& room, const std::string& item) = 0;
    // "room:item"; as GetItem.
    virtual CSpyItem* GetItemByFullName(const std::string& fullName) = 0;
};
