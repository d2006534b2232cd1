#pragma once
#include "game/SpyGame/CRoomItemLookup.h"
#include "game/SpyGame/CSpyItemManager.h"
#include "tk2v/util/log.h"

#include <map>
#include <string>

// The rooms of an investigation as items see them: named item managers.
struct FakeRooms : CRoomItemLookup {
    bool HasItem(const std::string& room, const std::string& item) const override {
        const auto found = rooms.find(room);
        return found != rooms.end() && found->second->HasItem(item);
    }
    CSpyItem* GetItem(const std::string& room, const std::string& item) const override {
        const auto found = rooms.find(room);
        if (found == rooms.end()) {
            log("CRoomManager::GetRoom(). Cannot find room: %s", room.c_str());
            return nullptr;
        }
        return found->second->GetItem(item);
    }
    CSpyItem* GetItemByFullName(const std::string& fullName) const override {
        std::string room, item;
        SplitFullItemName(fullName, room, item);
        return GetItem(room, item);
    }

    std::map<std::string, CSpyItemManager*> rooms;
};
