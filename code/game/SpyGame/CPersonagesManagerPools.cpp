#include "game/SpyGame/CPersonagesManager.h"

#include "game/SpyGame/CSpyItem.h"
#include "game/SpyGame/CSpyItemManager.h"
#include "game/SpyGame/Rooms/CRoomBase.h"
#include "game/SpyGame/Rooms/CRoomsManager.h"

namespace {

// One group per hidden-object group of the room, at the rounded mean level of its candidates, then
// one group per candidate that belongs to none, at its own level. The groups are made first and then
// moved into vectors of their final size, so that each vector, like each group, allocates once.
void FillPool(CSpyItemManager& items, CPersonagesManager::LevelPools& pool) {
    std::vector<std::pair<u32, CFindItemsGroup>> made;
    made.reserve(items.GetISpyGroups().size() + items.GetItemCount());
    for (const auto& [name, members] : items.GetISpyGroups()) {
        if (members.empty())
            continue;
        CFindItemsGroup group;
        group.SetGroupName(members.front()->GetISpyGroup());
        group.ReserveItems(members.size());
        u32 sum = 0;
        for (CSpyItem* item : members) {
            if (!item->IsISpyItem())
                continue;
            group.AddItem(item->GetName(), CFindItem::TypePick);
            sum += item->DiffLevel();
        }
        if (!group.GetItems().empty())
            made.emplace_back(u32(double(sum) / double(group.GetItems().size()) + 0.5), std::move(group));
    }
    for (items.FirstItem(); !items.IsCursorAtEnd(); items.NextItem()) {
        CSpyItem* item = items.GetCursorItem();
        if (item->IsISpyItem() && item->GetISpyGroup().empty())
            made.emplace_back(item->DiffLevel(), CFindItemsGroup(item->GetName(), CFindItem::TypePick));
    }
    std::map<u32, size_t> counts;
    for (const auto& [level, group] : made)
        ++counts[level];
    for (const auto& [level, count] : counts)
        pool[level].reserve(count);
    for (auto& [level, group] : made)
        pool[level].push_back(std::move(group));
}

} // namespace

void CPersonagesManager::BuildISpyPools(bool fullRebuild) {
    CRoomsManager* rooms = m_pRoomsManager;
    if (fullRebuild || !rooms) {
        m_Pools.clear();
    } else {
        for (auto it = m_Pools.begin(); it != m_Pools.end();) {
            bool registered = rooms->HasRoom(it->first);
            bool drop =
                registered ? rooms->GetRoom(it->first)->IsEveryFullReset() : !rooms->IsSharedRoom(it->first);
            it = drop ? m_Pools.erase(it) : std::next(it);
        }
    }
    if (!rooms)
        return;
    for (const auto& [name, room] : rooms->GetRooms()) {
        LevelPools& pool = m_Pools[name];
        if (!fullRebuild && rooms->IsSharedRoom(name) && !pool.empty())
            continue;
        pool.clear();
        FillPool(room->GetItemManager(), pool);
    }
}
