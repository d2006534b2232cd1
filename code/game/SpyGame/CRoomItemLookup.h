#pragma once
#include <string>

class CSpyItem;

// What items and their managers need of the rooms: the items of any room by name. The rooms manager
// answers for the registered rooms; tests answer with item managers of their own.
class CRoomItemLookup {
public:
    virtual ~CRoomItemLookup() = default;

    // Silent: false for an unknown room or item.
    virtual bool HasItem(const std::string& room, const std::string& item) const = 0;
    // Null, after a log line, for an unknown room or item.
    virtual CSpyItem* GetItem(const std::string& room, const std::string& item) const = 0;
    // "room:item", split by SplitFullItemName into two empty strings first.
    virtual CSpyItem* GetItemByFullName(const std::string& fullName) const = 0;
};

// Splits "room:item" at the first ':' (the item part may hold more); a text without ':' is all item
// name and leaves `room` as it was.
void SplitFullItemName(const std::string& fullName, std::string& room, std::string& item);
