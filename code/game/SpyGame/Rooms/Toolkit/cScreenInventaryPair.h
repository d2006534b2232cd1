#pragma once
#include "tk2v/util/types.h"

#include <map>
#include <string>

class aOptionsFile;
class CRoomItemLookup;
class CSpyItem;
class SaveLoadSystem;

// Screen objects of a puzzle room paired by name with inventory items, both ways, and the items the
// room has registered for either side.
class cScreenInventaryPair {
public:
    using Names = std::map<std::string, std::string>;
    using Objects = std::map<std::string, CSpyItem*>;

    cScreenInventaryPair() = default;
    virtual u8* SaveSelf(SaveLoadSystem& sys, u8* pos);
    virtual const u8* LoadSelf(CRoomItemLookup& rooms, SaveLoadSystem& sys, const u8* pos);
    virtual ~cScreenInventaryPair() = default;

    // Each key of the section "ScreenInventaryPair" is a screen object, its value the inventory item.
    void Init(aOptionsFile& ini);
    void AddPair(const std::string& screenName, const std::string& inventoryName);

    // "" for a name without a pair.
    std::string GetInventoryName(const std::string& screenName) const;
    std::string GetScreenName(const std::string& inventoryName) const;
    // The registered item of the other side; null for a name without a pair or without an item.
    CSpyItem* GetInventoryObject(const std::string& screenName) const;
    CSpyItem* GetScreenObject(const std::string& inventoryName) const;

    const Names& GetScreenToInventory() const { return m_ScreenToInventory; }
    const Names& GetInventoryToScreen() const { return m_InventoryToScreen; }
    // Filled by the room: inventory item name -> its item, screen object name -> its item.
    Objects& GetInventoryObjects() { return m_InventoryObjects; }
    Objects& GetScreenObjects() { return m_ScreenObjects; }

private:
    Names m_ScreenToInventory;
    Names m_InventoryToScreen;
    Objects m_InventoryObjects;
    Objects m_ScreenObjects;
};
