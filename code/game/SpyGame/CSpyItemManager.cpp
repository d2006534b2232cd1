#include "game/SpyGame/CSpyItemManager.h"

#include "game/SaveLoadSystem.h"
#include "game/SpyGame/CSpyItem.h"
#include "game/SpyGame/CSpyItemContainer.h"
#include "game/SpyGame/CSpyItemDoor.h"
#include "game/SpyGame/CSpyItemZoomRoom.h"
#include "game/SpyGame/CSpyObject.h"
#include "game/SpyGame/ItemSections.h"
#include "game/SpyGame/SaveCounts.h"
#include "tk2v/file/aOptionsFile.h"
#include "tk2v/util/log.h"

#include <algorithm>
#include <cstring>

namespace {

const std::string EntityPrefix = "SpyItemManager : ";

// Whether the saved entry at `pos` (its name, the item's fixed fields and its user data) ends inside the
// record: the stream's readers stop only at the end of the whole stream.
bool entryFits(const SaveLoadSystem& sys, const u8* pos) {
    const u32 left = sys.bytesLeftInRecord(pos);
    const auto* nameEnd = static_cast<const u8*>(std::memchr(pos, 0, left));
    if (!nameEnd)
        return false;
    const size_t rest = left - size_t(nameEnd + 1 - pos);
    return rest > CSpyItem::FixedRecordSize &&
           std::memchr(nameEnd + 1 + CSpyItem::FixedRecordSize, 0, rest - CSpyItem::FixedRecordSize);
}

std::string lowerAscii(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
    return text;
}

} // namespace

CSpyItemManager::CSpyItemManager() = default;

CSpyItemManager::~CSpyItemManager() {
    DeleteItems();
}

std::unique_ptr<CSpyItem> CSpyItemManager::CreateItemByClass(const std::string& className) {
    if (className == CSpyItem::GetClassStaticName())
        return std::make_unique<CSpyItem>();
    if (className == CSpyItemContainer::GetClassStaticName())
        return std::make_unique<CSpyItemContainer>();
    if (className == CSpyItemZoomRoom::GetClassStaticName())
        return std::make_unique<CSpyItemZoomRoom>();
    if (className == CSpyItemDoor::GetClassStaticName())
        return std::make_unique<CSpyItemDoor>();
    return nullptr;
}

void CSpyItemManager::CreateItems(CRoomItemLookup* rooms, const std::string& roomName,
                                  const std::string& dataFolder) {
    setName(EntityPrefix + roomName);
    m_rooms = rooms;
    // A room loaded again after its resources were dropped starts over: the objects are made anew, and
    // old items would keep pointers to the old ones.
    DeleteItems();
    m_objects.CreateObjects(roomName, dataFolder + "objects.ini");

    std::vector<std::string> objectNames;
    for (const auto& object : m_objects.GetObjects())
        objectNames.push_back(object->GetName());
    aOptionsFile itemsIni(dataFolder + "items.ini");
    aOptionsFile sections;
    NormaliseItemSections(itemsIni, objectNames, sections);
    CreateSectionItems(sections, roomName);
    IndexGroups();
}

void CSpyItemManager::CreateSectionItems(aOptionsFile& sections, const std::string& roomName) {
    for (sections.first(); !sections.isEnd(); sections.nextSection()) {
        const std::string name = sections.getSectionName();
        const std::string className = sections.hasKey("Class") ? sections.getString("Class") : "Item";
        std::unique_ptr<CSpyItem> item = CreateItemByClass(className);
        if (!item) {
            log("CSpyObjManager::CreateItems(). Not find class '%s' for item '%s'", className.c_str(),
                name.c_str());
            continue;
        }
        item->OneTimeInit(m_rooms, this, &m_objects, roomName, sections, name);
        if (item->GetClassName() != className)
            log("Warning, class '%s' return difference names in methods GetClassStaticName() and "
                "GetClassName().",
                className.c_str());
        Append(std::move(item));
    }
}

void CSpyItemManager::IndexGroups() {
    m_groups.clear();
    m_iSpyGroups.clear();
    for (FirstItem(); !IsCursorAtEnd(); NextItem()) {
        CSpyItem* item = GetCursorItem();
        if (!item->GetGroup().empty())
            m_groups[item->GetGroup()].push_back(item);
        if (!item->GetISpyGroup().empty())
            m_iSpyGroups[item->GetISpyGroup()].push_back(item);
    }
}

CSpyItem* CSpyItemManager::Append(std::unique_ptr<CSpyItem> item) {
    m_items.push_back(std::move(item));
    return m_items.back().get();
}

CSpyItem* CSpyItemManager::GetItem(const std::string& name) const {
    for (const auto& item : m_items)
        if (item->GetName() == name)
            return item.get();
    log("CSpyItemManager::GetItem(). Cannot find item: %s", name.c_str());
    return nullptr;
}

bool CSpyItemManager::HasItem(const std::string& name) const {
    return std::any_of(m_items.begin(), m_items.end(),
                       [&](const auto& item) { return item->GetName() == name; });
}

// By index: an item's step may make the room add items, which moves deque iterators.
void CSpyItemManager::ResetItems() {
    for (size_t i = 0; i < m_items.size(); ++i)
        m_items[i]->Reset();
}

void CSpyItemManager::FrameMoveItems(f32 dt) {
    for (size_t i = 0; i < m_items.size(); ++i)
        m_items[i]->FrameMove(dt);
}

void CSpyItemManager::RenderItems() {
    for (size_t i = 0; i < m_items.size(); ++i)
        m_items[i]->Render();
}

const CSpyItemManager::ItemList* CSpyItemManager::GetGroupItems(const std::string& group) const {
    const auto found = m_groups.find(group);
    return found == m_groups.end() ? nullptr : &found->second;
}

const CSpyItemManager::ItemList* CSpyItemManager::GetISpyGroupItems(const std::string& group) const {
    const auto found = m_iSpyGroups.find(group);
    return found == m_iSpyGroups.end() ? nullptr : &found->second;
}

CSpyItem* CSpyItemManager::CreateItem(const std::string& name, const std::string& roomName, SpyPoint pos,
                                      u32 width, u32 height, bool visible) {
    const std::string object = lowerAscii(name);
    m_objects.AddRectObject(object, roomName, pos, width, height);
    auto item = std::make_unique<CSpyItem>();
    item->InitBare(m_rooms, this, &m_objects, name, roomName, object, visible);
    return Append(std::move(item));
}

CSpyItem* CSpyItemManager::CloneItem(const std::string& sourceName, const std::string& newName,
                                     std::optional<SpyPoint> origPos, std::optional<u32> origColor) {
    const CSpyItem* source = GetItem(sourceName);
    if (!source)
        return nullptr;
    CSpyObject* object = nullptr;
    if (!source->GetObjectName().empty() && !newName.empty())
        object = m_objects.CloneObject(source->GetObjectName(), lowerAscii(newName), origPos, origColor);
    std::unique_ptr<CSpyItem> item = CreateItemByClass(source->GetClassName());
    if (!item)
        item = std::make_unique<CSpyItem>();
    item->CopyFrom(*source);
    item->SetIdentity(newName, object ? object->GetName() : std::string(), object);
    return Append(std::move(item));
}

void CSpyItemManager::MoveItemToTop(const std::string& name) {
    const auto found = std::find_if(m_items.begin(), m_items.end(),
                                    [&](const auto& item) { return item->GetName() == name; });
    if (found == m_items.end())
        return;
    std::unique_ptr<CSpyItem> item = std::move(*found);
    m_items.erase(found);
    m_items.push_back(std::move(item));
}

// The indexes go with the items: a room between unloading and loading again must not reach freed ones.
void CSpyItemManager::DeleteItems() {
    m_items.clear();
    m_cursor = 0;
    m_groups.clear();
    m_iSpyGroups.clear();
}

void CSpyItemManager::SaveChildren(SaveLoadSystem& sys) {
    sys.SaveEntity(m_objects);
}

void CSpyItemManager::LoadChildren(SaveLoadSystem& sys) {
    sys.LoadEntity(m_objects);
}

u8* CSpyItemManager::SaveSelf(SaveLoadSystem& sys, u8* pos) {
    pos = sys.writeU32(pos, u32(m_items.size()));
    for (FirstItem(); !IsCursorAtEnd(); NextItem()) {
        pos = sys.writeString(pos, GetCursorItem()->GetName());
        pos = GetCursorItem()->SaveSelf(sys, pos);
    }
    return pos;
}

const u8* CSpyItemManager::LoadSelf(SaveLoadSystem& sys, const u8* pos) {
    u32 count = 0;
    pos = sys.readU32(pos, count);
    if (!countFits(sys, pos, count, MinEntrySize, "CSpyItemManager::LoadSelf()"))
        return pos;
    // The record's order is the drawing order play left: items a puzzle brought to the top stay there.
    std::vector<std::string> order;
    for (u32 i = 0; i < count; ++i) {
        if (!entryFits(sys, pos)) {
            log("CSpyItemManager::LoadSelf(). Entry %u of %u runs past the end of the record", i, count);
            break;
        }
        std::string name;
        pos = sys.readString(pos, name);
        if (HasItem(name)) {
            pos = GetItem(name)->LoadSelf(sys, pos);
            order.push_back(name);
            continue;
        }
        // A record of an item the room no longer defines: read past it.
        CSpyItem temporary;
        temporary.InitBare(m_rooms, this, &m_objects, "temporary", "", "", false);
        pos = temporary.LoadSelf(sys, pos);
    }
    for (const std::string& name : order)
        MoveItemToTop(name);
    return pos;
}
