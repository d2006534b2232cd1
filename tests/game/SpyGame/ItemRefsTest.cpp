#include "game/SpyGame/ItemRefs.h"
#include "game/SpyGame/CInventory.h"
#include "game/SpyGame/CSpyItem.h"
#include "game/SpyGame/StringListField.h"
#include "support/LogCapture.h"
#include "support/game/FakeRooms.h"
#include "support/game/SaveRecords.h"

#include <gtest/gtest.h>

#include <list>
#include <string>
#include <vector>

namespace {

using namespace std::string_literals;

// Room Hall with the bare items Key, Box and Box:Lid.
class RefsTest : public testing::Test {
protected:
    void SetUp() override {
        key = hall.CreateItem("Key", "Hall", {0, 0}, 1, 1, true);
        box = hall.CreateItem("Box", "Hall", {0, 0}, 1, 1, true);
        lid = hall.CreateItem("Box:Lid", "Hall", {0, 0}, 1, 1, true);
        rooms.rooms["Hall"] = &hall;
    }

    CSpyItemManager hall;
    FakeRooms rooms;
    CSpyItem* key = nullptr;
    CSpyItem* box = nullptr;
    CSpyItem* lid = nullptr;
    SaveRecords records;
    HostEntity host;
};

TEST_F(RefsTest, ReferencesAreFullNamesAndNullIsOneByte) {
    struct Case {
        CSpyItem* item;
        std::string bytes;
    } cases[] = {{nullptr, "\0"s}, {key, "Hall:Key\0"s}, {lid, "Hall:Box:Lid\0"s}};
    for (const Case& c : cases) {
        host.save = [&](SaveLoadSystem& sys, u8* pos) { return SaveItemRef(sys, pos, c.item); };
        EXPECT_EQ(records.save(host), c.bytes);
        CSpyItem* loaded = box;
        host.load = [&](SaveLoadSystem& sys, const u8* pos) { return LoadItemRef(rooms, sys, pos, loaded); };
        ASSERT_TRUE(records.load(host, c.bytes));
        EXPECT_EQ(loaded, c.item);
        EXPECT_EQ(host.leftAfterLoad, 0u);
    }
}

TEST_F(RefsTest, AVectorLoadsExactlyItsCountAndAListAppendsNullsToo) {
    std::vector<CSpyItem*> saved{key, nullptr, box};
    host.save = [&](SaveLoadSystem& sys, u8* pos) { return SaveItemRefVector(sys, pos, saved); };
    const std::string bytes = records.save(host);
    EXPECT_EQ(bytes, "\3\0\0\0Hall:Key\0\0Hall:Box\0"s);

    std::vector<CSpyItem*> vector(5, lid);
    host.load = [&](SaveLoadSystem& sys, const u8* pos) {
        return LoadItemRefVector(rooms, sys, pos, vector);
    };
    ASSERT_TRUE(records.load(host, bytes));
    EXPECT_EQ(vector, saved);

    std::list<CSpyItem*> list{lid};
    host.save = [&](SaveLoadSystem& sys, u8* pos) { return SaveItemRefList(sys, pos, {key, nullptr, box}); };
    EXPECT_EQ(records.save(host), bytes);
    host.load = [&](SaveLoadSystem& sys, const u8* pos) { return LoadItemRefList(rooms, sys, pos, list); };
    ASSERT_TRUE(records.load(host, bytes));
    EXPECT_EQ(list, (std::list<CSpyItem*>{key, nullptr, box}));
    ASSERT_TRUE(records.load(host, "\0\0\0\0"s));
    EXPECT_TRUE(list.empty());
}

TEST_F(RefsTest, LostNamesLoadAsNullAndKeepTheRecordAligned) {
    std::vector<CSpyItem*> loaded;
    host.load = [&](SaveLoadSystem& sys, const u8* pos) {
        return LoadItemRefVector(rooms, sys, pos, loaded);
    };
    LogCapture capture;
    ASSERT_TRUE(records.load(host, "\3\0\0\0Gone:Key\0Key\0Hall:Pen\0"s));
    EXPECT_EQ(loaded, (std::vector<CSpyItem*>{nullptr, nullptr, nullptr}));
    EXPECT_EQ(host.leftAfterLoad, 0u);
    EXPECT_EQ(capture.messages(),
              (std::vector<std::string>{"CRoomManager::GetRoom(). Cannot find room: Gone",
                                        "CRoomManager::GetRoom(). Cannot find room: ",
                                        "CSpyItemManager::GetItem(). Cannot find item: Pen"}));
}

TEST_F(RefsTest, CountsAboveTheBytesLeftStopTheListWithOneLine) {
    std::vector<CSpyItem*> vector{key};
    std::list<std::string> names{"old"};
    struct Case {
        const char* what;
        std::function<const u8*(SaveLoadSystem&, const u8*)> load;
        std::function<bool()> emptied;
    } cases[] = {
        {"vector",
         [&](SaveLoadSystem& sys, const u8* pos) { return LoadItemRefVector(rooms, sys, pos, vector); },
         [&] { return vector.empty(); }},
        {"names", [&](SaveLoadSystem& sys, const u8* pos) { return LoadStringList(sys, pos, names); },
         [&] { return names.empty(); }},
    };
    for (const Case& c : cases) {
        LogCapture capture;
        host.load = c.load;
        ASSERT_TRUE(records.load(host, "\xff\xff\xff\xff"
                                       "ab\0"s))
            << c.what;
        EXPECT_TRUE(c.emptied()) << c.what;
        EXPECT_EQ(host.leftAfterLoad, 0u) << c.what;
        EXPECT_EQ(capture.messages().size(), 1u) << c.what;
    }
}

TEST_F(RefsTest, InventoryRecordsFullNamesAndCountsTheLostOnes) {
    CInventory inventory;
    inventory.Init("Ann", nullptr, &rooms);
    EXPECT_EQ(inventory.getName(), "Inventory : Ann");
    inventory.AddItem(key);
    inventory.AddItem(box);
    EXPECT_TRUE(key->IsInInventory());
    // Without a strip no cell shows, so the first visible item stands past the last one.
    EXPECT_EQ(records.save(inventory), "\2\0\0\0\2\0\0\0Hall:Key\0Hall:Box\0\2\0\0\0\0\0\0\0"s);

    CInventory loaded;
    loaded.Init("Ann", nullptr, &rooms);
    LogCapture capture;
    ASSERT_TRUE(records.load(loaded, "\3\0\0\0\3\0\0\0Hall:Key\0Hall:Gone\0Hall:Box\0\5\0\0\0\0\0\0\0"s));
    EXPECT_EQ(loaded.GetItems(), (std::deque<CSpyItem*>{key, box}));
    EXPECT_EQ(loaded.GetFirstVisible(), 0u);
    EXPECT_TRUE(capture.contains("CInventory::LoadSelf(). Not found 1 saved item(s)!"));
    EXPECT_EQ(records.save(loaded), "\2\0\0\0\2\0\0\0Hall:Key\0Hall:Box\0\0\0\0\0\0\0\0\0"s);

    EXPECT_EQ(loaded.RemoveItem("Key"), key);
    EXPECT_EQ(loaded.RemoveItem("Key"), nullptr);
    EXPECT_FALSE(loaded.HasItem("Key"));
    EXPECT_EQ(loaded.FindItem("Box"), box);
}

} // namespace
