#include "game/SpyGame/CFindItemsGroup.h"
#include "game/SpyGame/RandomFloat.h"
#include "support/LogCapture.h"
#include "support/game/SaveRecords.h"
#include "tk2v/platform/Random.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

enum Op { Pick, Click, Use };

struct Step {
    Op op;
    const char* item;
    bool completes;
};

struct TickCase {
    const char* what;
    std::vector<std::pair<const char*, u32>> entries;
    std::vector<Step> steps;
    u16 remaining;
};

bool apply(CFindItemsGroup& group, const Step& step) {
    switch (step.op) {
    case Pick:
        return group.OnItemPicked(step.item);
    case Click:
        return group.OnItemClicked(step.item);
    default:
        return group.OnItemUsed(step.item);
    }
}

TEST(CFindItemsGroup, TicksEntriesOffByTheirOwnActionOnly) {
    const TickCase cases[] = {
        {"pick completes once", {{"key", 1}}, {{Pick, "key", true}, {Pick, "key", false}}, 0},
        {"a picked click entry is found by nothing",
         {{"door", 2}},
         {{Pick, "door", false}, {Click, "door", false}, {Use, "door", false}},
         1},
        {"click completes once", {{"door", 2}}, {{Click, "door", true}, {Click, "door", false}}, 0},
        {"a foreign flag stays set", {{"lock", 4}}, {{Click, "lock", false}, {Use, "lock", true}}, 0},
        {"an unknown type never completes", {{"box", 3}}, {{Click, "box", false}, {Use, "box", false}}, 1},
        {"names compare exactly", {{"Key", 1}}, {{Pick, "key", false}, {Pick, "Key", true}}, 0},
        {"an unknown name", {{"key", 1}}, {{Click, "cup", false}}, 1},
    };
    for (const TickCase& c : cases) {
        CFindItemsGroup group;
        for (auto [name, type] : c.entries)
            group.AddItem(name, type);
        for (const Step& step : c.steps)
            EXPECT_EQ(apply(group, step), step.completes) << c.what << ": " << step.item;
        EXPECT_EQ(group.GetRemaining(), c.remaining) << c.what;
    }
}

TEST(CFindItemsGroup, TheLastOpenEntryOfANameIsTickedFirst) {
    CFindItemsGroup group("coin", 1);
    group.AddItem("coin", 1);
    ASSERT_TRUE(group.OnItemPicked("coin"));
    EXPECT_FALSE(group.GetItems()[0].IsPicked());
    EXPECT_TRUE(group.GetItems()[1].IsPicked());
    EXPECT_TRUE(group.OnItemPicked("coin"));
    EXPECT_EQ(group.FindEntry("coin"), nullptr);
    EXPECT_EQ(group.GetRemaining(), 0);

    group.Reset();
    EXPECT_EQ(group.GetRemaining(), 2);
    EXPECT_EQ(group.FindEntry("coin"), &group.GetItems()[1]);
}

TEST(CFindItemsGroup, TitleIsTheNameElseTheFirstItem) {
    CFindItemsGroup group;
    EXPECT_EQ(group.GetTitle(), "");
    group.AddItem("cup1", 1);
    group.AddItem("cup2", 1);
    EXPECT_EQ(group.GetTitle(), "cup1");
    group.SetGroupName("Cups");
    EXPECT_EQ(group.GetTitle(), "Cups");
}

TEST(CFindItemsGroup, RecordBytes) {
    CFindItemsGroup group("k", 2);
    group.SetGroupName("G");
    ASSERT_TRUE(group.OnItemClicked("k"));
    HostEntity host;
    host.save = [&](SaveLoadSystem& sys, u8* pos) { return group.SaveSelf(sys, pos); };
    SaveRecords records;
    const std::string record = SaveRecords::hex("47 00 00 00 01 00 00 00 6b 00 02 00 00 00 00 01 00");
    EXPECT_EQ(records.save(host), record);

    CFindItemsGroup loaded("old", 1);
    loaded.AddItem("older", 4);
    host.load = [&](SaveLoadSystem& sys, const u8* pos) { return loaded.LoadSelf(sys, pos); };
    ASSERT_TRUE(records.load(host, record));
    EXPECT_EQ(host.leftAfterLoad, 0u);
    EXPECT_EQ(loaded.GetGroupName(), "G");
    EXPECT_EQ(loaded.GetRemaining(), 0);
    ASSERT_EQ(loaded.GetItems().size(), 1u);
    const CFindItem& entry = loaded.GetItems()[0];
    EXPECT_EQ(entry.GetItemName(), "k");
    EXPECT_EQ(entry.GetType(), 2u);
    EXPECT_FALSE(entry.IsPicked());
    EXPECT_TRUE(entry.IsClicked());
    EXPECT_FALSE(entry.IsUsed());
}

TEST(CFindItemsGroup, RemainingComesFromTheRecord) {
    // Count 0 with a remaining of 5: kept as saved, not recomputed.
    CFindItemsGroup group("x", 1);
    HostEntity host;
    host.load = [&](SaveLoadSystem& sys, const u8* pos) { return group.LoadSelf(sys, pos); };
    SaveRecords records;
    ASSERT_TRUE(records.load(host, SaveRecords::hex("00 05 00 00 00 00 00")));
    EXPECT_TRUE(group.GetItems().empty());
    EXPECT_EQ(group.GetRemaining(), 5);
}

TEST(FindItemsGroupList, RoundTripResizesTheList) {
    std::vector<CFindItemsGroup> saved(2);
    saved[0].AddItem("cup1", 1);
    saved[0].AddItem("cup2", 2);
    saved[0].SetGroupName("Cups");
    saved[1].AddItem("safe", 4);
    ASSERT_FALSE(saved[0].OnItemPicked("cup2"));
    ASSERT_TRUE(saved[1].OnItemUsed("safe"));
    HostEntity host;
    host.save = [&](SaveLoadSystem& sys, u8* pos) { return SaveFindItemsGroupList(sys, pos, saved); };
    SaveRecords records;
    const std::string record = records.save(host);

    for (size_t before : {0, 1, 3}) {
        std::vector<CFindItemsGroup> loaded(before, CFindItemsGroup("stale", 2));
        host.load = [&](SaveLoadSystem& sys, const u8* pos) {
            return LoadFindItemsGroupList(sys, pos, loaded);
        };
        ASSERT_TRUE(records.load(host, record));
        EXPECT_EQ(host.leftAfterLoad, 0u);
        ASSERT_EQ(loaded.size(), 2u) << before;
        EXPECT_EQ(loaded[0].GetTitle(), "Cups");
        EXPECT_EQ(loaded[0].GetRemaining(), 2);
        ASSERT_EQ(loaded[0].GetItems().size(), 2u);
        EXPECT_TRUE(loaded[0].GetItems()[1].IsPicked());
        EXPECT_EQ(loaded[1].GetRemaining(), 0);
        EXPECT_EQ(loaded[1].GetItems()[0].GetType(), 4u);
        EXPECT_TRUE(loaded[1].GetItems()[0].IsUsed());
    }
}

TEST(FindItemsGroupList, CountsThatCannotFitStopTheLoad) {
    struct Case {
        const char* what;
        std::string record;
        const char* reader;
    };
    const Case cases[] = {
        {"groups", SaveRecords::hex("ff ff ff ff 00 00 00 00 00 00 00"), "LoadFindItemsGroupList()"},
        // One group whose entry count is far beyond its 8 remaining bytes.
        {"entries", SaveRecords::hex("01 00 00 00 47 00 01 00 ff ff ff 7f 6b 00 01 00 00 00 00 00"),
         "CFindItemsGroup::LoadSelf()"},
    };
    for (const Case& c : cases) {
        LogCapture log;
        std::vector<CFindItemsGroup> loaded(1, CFindItemsGroup("stale", 2));
        HostEntity host;
        host.load = [&](SaveLoadSystem& sys, const u8* pos) {
            return LoadFindItemsGroupList(sys, pos, loaded);
        };
        ASSERT_TRUE(SaveRecords().load(host, c.record)) << c.what;
        EXPECT_EQ(host.leftAfterLoad, 0u) << c.what;
        for (const CFindItemsGroup& group : loaded)
            EXPECT_TRUE(group.GetItems().empty()) << c.what;
        ASSERT_EQ(log.messages().size(), 1u) << c.what;
        EXPECT_EQ(log.messages()[0].rfind(c.reader, 0), 0u) << log.messages()[0];
    }
}

TEST(RandomFloat, ScalesTheEnginesRandByItsRange) {
    platform::srand(7);
    const int r = platform::rand();
    platform::srand(7);
    EXPECT_FLOAT_EQ(RandomFloat(2, 4), 2 + 2 * f32(r) / 32767);
}

} // namespace
