#pragma once
#include "game/SaveLoadEntity.h"
#include "game/SpyGame/CSpyObjManager.h"
#include "game/SpyGame/SpyPoint.h"

#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <string>

class aOptionsFile;
class CRoomItemLookup;
class CSpyItem;

// The item side of one room: its scene objects and its items, built from objects.ini and items.ini,
// found by name, reset, stepped and drawn in creation order, indexed by group and saved. Item pointers
// stay valid as long as the manager; reordering never frees them.
class CSpyItemManager : public SaveLoadEntity {
public:
    using ItemList = std::deque<CSpyItem*>;
    using GroupIndex = std::map<std::string, ItemList>;
    // The shortest saved entry: a one-byte name, the fixed record and the user data's NUL.
    static constexpr u32 MinEntrySize = 1 + 29;

    CSpyItemManager();
    ~CSpyItemManager() override;
    CSpyItemManager(const CSpyItemManager&) = delete;
    CSpyItemManager& operator=(const CSpyItemManager&) = delete;

    const u8* LoadSelf(SaveLoadSystem& sys, const u8* pos) override;
    u8* SaveSelf(SaveLoadSystem& sys, u8* pos) override;
    void SaveChildren(SaveLoadSystem& sys) override;
    void LoadChildren(SaveLoadSystem& sys) override;

    // Builds the room's objects and items afresh from the folder (ending with '/'); items are not reset.
    void CreateItems(CRoomItemLookup* rooms, const std::string& roomName, const std::string& dataFolder);
    // The first item of that name; logs a missing one.
    CSpyItem* GetItem(const std::string& name) const;
    bool HasItem(const std::string& name) const;
    void ResetItems();
    void FrameMoveItems(f32 dt);
    void RenderItems();
    // Null for a group that no item of items.ini names.
    const ItemList* GetGroupItems(const std::string& group) const;
    const ItemList* GetISpyGroupItems(const std::string& group) const;
    const GroupIndex& GetGroups() const { return m_groups; }
    const GroupIndex& GetISpyGroups() const { return m_iSpyGroups; }
    // A plain item over a new rectangle object named after it in lower case; reset it before use.
    CSpyItem* CreateItem(const std::string& name, const std::string& roomName, SpyPoint pos, u32 width,
                         u32 height, bool visible);
    // A copy of the item under a new name, over a copy of its main object; null when it is missing.
    CSpyItem* CloneItem(const std::string& sourceName, const std::string& newName,
                        std::optional<SpyPoint> origPos = std::nullopt,
                        std::optional<u32> origColor = std::nullopt);
    // Draws the item last (and hit-tests it first).
    void MoveItemToTop(const std::string& name);
    void DeleteItems();
    // "Item", "Container", "ZoomRoom" or "Door"; null for anything else.
    static std::unique_ptr<CSpyItem> CreateItemByClass(const std::string& className);

    // The item walk: FirstItem, then GetCursorItem and NextItem until IsCursorAtEnd.
    void FirstItem() { m_cursor = 0; }
    void NextItem() { m_cursor += m_cursor < m_items.size() ? 1 : 0; }
    bool IsCursorAtEnd() const { return m_cursor >= m_items.size(); }
    CSpyItem* GetCursorItem() const { return IsCursorAtEnd() ? nullptr : m_items[m_cursor].get(); }
    size_t GetItemCount() const { return m_items.size(); }
    // In drawing order; the room hit-tests from the last to the first.
    CSpyItem* GetItemAt(size_t index) const {
        return index < m_items.size() ? m_items[index].get() : nullptr;
    }

    CSpyObjManager& GetObjManager() { return m_objects; }

private:
    void CreateSectionItems(aOptionsFile& sections, const std::string& roomName);
    void IndexGroups();
    CSpyItem* Append(std::unique_ptr<CSpyItem> item);

    CRoomItemLookup* m_rooms = nullptr;
    CSpyObjManager m_objects;
    std::deque<std::unique_ptr<CSpyItem>> m_items;
    size_t m_cursor = 0;
    GroupIndex m_groups;
    GroupIndex m_iSpyGroups;
};
