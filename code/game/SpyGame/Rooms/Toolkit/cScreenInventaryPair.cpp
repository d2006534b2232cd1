#include "game/SpyGame/Rooms/Toolkit/cScreenInventaryPair.h"

#include "game/SaveLoadSystem.h"
#include "game/SpyGame/ItemRefs.h"
#include "game/SpyGame/SaveCounts.h"
#include "tk2v/file/aOptionsFile.h"
#include "tk2v/util/log.h"

namespace {

constexpr const char* Reader = "cScreenInventaryPair::LoadSelf()";

std::string Lookup(const cScreenInventaryPair::Names& map, const std::string& key) {
    const auto found = map.find(key);
    return found == map.end() ? std::string() : found->second;
}

CSpyItem* LookupObject(const cScreenInventaryPair::Objects& map, const std::string& key) {
    const auto found = map.find(key);
    return found == map.end() ? nullptr : found->second;
}

// Each entry is at least two NULs: two empty strings, or an empty key and a null reference.
template <class Map, class ReadValue>
const u8* LoadMap(SaveLoadSystem& sys, const u8* pos, Map& map, ReadValue readValue) {
    map.clear();
    u32 count = 0;
    pos = sys.readU32(pos, count);
    if (!countFits(sys, pos, count, 2, Reader))
        return nullptr;
    for (u32 i = 0; i < count; ++i) {
        std::string key;
        pos = sys.readString(pos, key);
        // Saved in key order: each key goes in at the end without a search down the tree.
        const auto at = map.emplace_hint(map.end(), std::move(key), typename Map::mapped_type{});
        pos = readValue(pos, at->second);
    }
    return pos;
}

} // namespace

void cScreenInventaryPair::Init(aOptionsFile& ini) {
    if (!ini.selectSection("ScreenInventaryPair")) {
        log("cScreenInventaryPair. faild init!");
        return;
    }
    for (ini.firstKey(); !ini.isKeysEnd(); ini.nextKey())
        AddPair(ini.getKeyName(), ini.getKeyValue());
    if (m_ScreenToInventory.size() != m_InventoryToScreen.size())
        log("cScreenInventaryPair. identical names in screen or inventary!");
}

void cScreenInventaryPair::AddPair(const std::string& screenName, const std::string& inventoryName) {
    m_ScreenToInventory[screenName] = inventoryName;
    m_InventoryToScreen[inventoryName] = screenName;
}

std::string cScreenInventaryPair::GetInventoryName(const std::string& screenName) const {
    return Lookup(m_ScreenToInventory, screenName);
}

std::string cScreenInventaryPair::GetScreenName(const std::string& inventoryName) const {
    return Lookup(m_InventoryToScreen, inventoryName);
}

CSpyItem* cScreenInventaryPair::GetInventoryObject(const std::string& screenName) const {
    const std::string inventoryName = GetInventoryName(screenName);
    return m_InventoryToScreen.count(inventoryName) ? LookupObject(m_InventoryObjects, inventoryName)
                                                    : nullptr;
}

CSpyItem* cScreenInventaryPair::GetScreenObject(const std::string& inventoryName) const {
    const std::string screenName = GetScreenName(inventoryName);
    return m_ScreenToInventory.count(screenName) ? LookupObject(m_ScreenObjects, screenName) : nullptr;
}

u8* cScreenInventaryPair::SaveSelf(SaveLoadSystem& sys, u8* pos) {
    for (const Names* names : {&m_ScreenToInventory, &m_InventoryToScreen}) {
        pos = sys.writeU32(pos, u32(names->size()));
        for (const auto& [key, value] : *names)
            pos = sys.writeString(sys.writeString(pos, key), value);
    }
    for (const Objects* objects : {&m_InventoryObjects, &m_ScreenObjects}) {
        pos = sys.writeU32(pos, u32(objects->size()));
        for (const auto& [key, item] : *objects)
            pos = SaveItemRef(sys, sys.writeString(pos, key), item);
    }
    return pos;
}

const u8* cScreenInventaryPair::LoadSelf(CRoomItemLookup& rooms, SaveLoadSystem& sys, const u8* pos) {
    const auto readName = [&sys](const u8* at, std::string& value) { return sys.readString(at, value); };
    const auto readItem = [&](const u8* at, CSpyItem*& item) { return LoadItemRef(rooms, sys, at, item); };
    for (Names* names : {&m_ScreenToInventory, &m_InventoryToScreen})
        if (const u8* next = LoadMap(sys, pos, *names, readName))
            pos = next;
        else
            return pos + sys.bytesLeftInRecord(pos);
    for (Objects* objects : {&m_InventoryObjects, &m_ScreenObjects})
        if (const u8* next = LoadMap(sys, pos, *objects, readItem))
            pos = next;
        else
            return pos + sys.bytesLeftInRecord(pos);
    return pos;
}
