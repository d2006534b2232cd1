#include "game/SpyGame/CPersonage.h"

#include "game/SpyGame/CPersonagesManager.h"
#include "game/SpyGame/CSpyItem.h"
#include "game/SpyGame/CSpyItemManager.h"
#include "game/SpyGame/Rooms/CRoomBase.h"
#include "game/SpyGame/Rooms/CRoomsManager.h"
#include "tk2v/platform/Random.h"
#include "tk2v/util/log.h"

#include <utility>

namespace {

// A random number below the room's difficulty bound picks the level.
constexpr u32 LevelTable[] = {0, 1, 1, 2, 2, 2};
constexpr u32 LevelsDrawn = 3;

u32 DrawLevel(u32 bound) {
    // A bound of 0 has no draw of its own: such a room draws at level 0.
    if (bound == 0)
        return 0;
    u32 index = u32(platform::rand()) % bound;
    return LevelTable[std::min<u32>(index, std::size(LevelTable) - 1)];
}

bool LevelEmpty(const CPersonagesManager::LevelPools& pool, u32 level) {
    auto it = pool.find(level);
    return it == pool.end() || it->second.empty();
}

// The level to draw from: downward while empty, then upward from level 0; false when none is left.
bool FindFilledLevel(const CPersonagesManager::LevelPools& pool, u32& level) {
    bool upward = false;
    while (LevelEmpty(pool, level)) {
        if (!upward && level > 0) {
            --level;
            continue;
        }
        upward = true;
        if (++level == LevelsDrawn)
            return false;
    }
    return true;
}

// The runtime's shuffle over rand: each position from the second on swaps with one at or below it,
// drawn from as many 15-bit numbers as the range needs.
void ShuffleOverRand(std::vector<CFindItemsGroup>& groups) {
    constexpr u64 RandomBits = 15;
    constexpr u64 RandomMax = (u64(1) << RandomBits) - 1;
    for (u64 index = 2; index <= groups.size(); ++index) {
        u64 range = RandomMax;
        u64 value = u64(platform::rand()) & RandomMax;
        for (; range < index; range = range << RandomBits | RandomMax)
            value = value << RandomBits | (u64(platform::rand()) & RandomMax);
        std::swap(groups[index - 1], groups[value % index]);
    }
}

} // namespace

void CPersonage::GenItemsListToFind(const std::string& roomName, CRoomInfo& room) {
    room.m_GeneratedGroups.clear();
    CPersonagesManager::LevelPools emptyPool;
    CPersonagesManager::LevelPools& pool = m_pOwner ? m_pOwner->GetPool(roomName) : emptyPool;
    for (u32 i = 0; i < room.m_ISpyItemsCount; ++i) {
        u32 level = DrawLevel(room.m_DiffLevel);
        if (!FindFilledLevel(pool, level)) {
            log("CPersonage::GenItemsListToFind(). Room: %s. Warning, scarce ISpy items!", roomName.c_str());
            break;
        }
        std::vector<CFindItemsGroup>& groups = pool[level];
        auto pick = groups.begin() + std::ptrdiff_t(size_t(platform::rand()) % groups.size());
        room.m_GeneratedGroups.push_back(std::move(*pick));
        groups.erase(pick);
    }

    room.m_TaskList.clear();
    room.m_TaskList.reserve(room.m_QuestGroups.size() + room.m_QuestGroupNames.size() +
                            room.m_GeneratedGroups.size() + room.m_MustClickGroups.size() +
                            room.m_MustUseGroups.size());
    room.m_TaskList.insert(room.m_TaskList.end(), room.m_QuestGroups.begin(), room.m_QuestGroups.end());
    CRoomsManager* rooms = m_pOwner ? m_pOwner->GetRoomsManager() : nullptr;
    if (CRoomBase* found = rooms ? rooms->GetRoom(roomName) : nullptr) {
        for (const std::string& name : room.m_QuestGroupNames) {
            const auto* items = found->GetItemManager().GetGroupItems(name);
            if (!items || items->empty())
                continue;
            CFindItemsGroup group;
            group.SetGroupName(items->front()->GetISpyGroup());
            for (CSpyItem* item : *items)
                if (item->IsQuestItem() || item->IsQuestItemBit2())
                    group.AddItem(item->GetName(), CFindItem::TypePick);
            if (!group.GetItems().empty())
                room.m_TaskList.push_back(std::move(group));
        }
    }
    room.m_TaskList.insert(room.m_TaskList.end(), room.m_GeneratedGroups.begin(),
                           room.m_GeneratedGroups.end());
    ShuffleOverRand(room.m_TaskList);
    room.m_TaskList.insert(room.m_TaskList.end(), room.m_MustClickGroups.begin(),
                           room.m_MustClickGroups.end());
    room.m_TaskList.insert(room.m_TaskList.end(), room.m_MustUseGroups.begin(), room.m_MustUseGroups.end());
}
