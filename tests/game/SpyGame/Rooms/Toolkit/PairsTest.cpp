#include "BasicsRoomKit.h"
#include "support/LogCapture.h"
#include "support/game/SaveRecords.h"

namespace {

using namespace std::string_literals;

class Pairs : public BasicsRoomTest {
protected:
    cScreenInventaryPair& pairs() { return room->pairs; }
    cScreenInventaryPair read(const std::string& ini) {
        dir.write("pairs.ini", ini);
        aOptionsFile file(dir.file("pairs.ini"));
        cScreenInventaryPair read;
        read.Init(file);
        return read;
    }
};

TEST_F(Pairs, NamesPairBothWaysAndObjectsAreFoundOnlyThroughAPair) {
    EXPECT_EQ(pairs().GetInventoryName("PHOTO"), "PHOTO_INV");
    EXPECT_EQ(pairs().GetScreenName("LETTER_INV"), "LETTER");
    EXPECT_EQ(pairs().GetInventoryName("PHOTO_INV"), "");
    EXPECT_EQ(pairs().GetScreenName("GONE"), "");
    EXPECT_EQ(pairs().GetInventoryObject("PHOTO"), nullptr);

    pairs().GetInventoryObjects()["PHOTO_INV"] = &item("BOX1");
    pairs().GetInventoryObjects()["GONE"] = &item("BOX2");
    pairs().GetScreenObjects()["LETTER"] = &item("MENU");
    EXPECT_EQ(pairs().GetInventoryObject("PHOTO"), &item("BOX1"));
    EXPECT_EQ(pairs().GetScreenObject("LETTER_INV"), &item("MENU"));
    EXPECT_EQ(pairs().GetScreenObject("PHOTO_INV"), nullptr);
    EXPECT_EQ(pairs().GetInventoryObject("LETTER"), nullptr);
    EXPECT_EQ(pairs().GetInventoryObject("GONE"), nullptr);
    // Lookups add nothing.
    EXPECT_EQ(pairs().GetInventoryObjects().size(), 2u);
    EXPECT_EQ(pairs().GetScreenObjects().size(), 1u);
    EXPECT_EQ(pairs().GetScreenToInventory().size(), 2u);
}

TEST_F(Pairs, ARepeatedNameIsReportedAndAMissingSectionLeavesNothing) {
    LogCapture capture;
    const cScreenInventaryPair twice = read("[ScreenInventaryPair]\nA = X\nB = X\n");
    EXPECT_EQ(capture.messages(),
              std::vector<std::string>{"cScreenInventaryPair. identical names in screen or inventary!"});
    EXPECT_EQ(twice.GetScreenName("X"), "B");
    EXPECT_EQ(twice.GetInventoryName("A"), "X");
    capture.clear();
    const cScreenInventaryPair none = read("[Room]\nA = X\n");
    EXPECT_EQ(capture.messages(), std::vector<std::string>{"cScreenInventaryPair. faild init!"});
    EXPECT_TRUE(none.GetScreenToInventory().empty());
    EXPECT_TRUE(none.GetInventoryToScreen().empty());
}

TEST_F(Pairs, TheRecordHoldsBothNameMapsThenTheInventoryAndTheScreenObjects) {
    pairs().GetInventoryObjects()["PHOTO_INV"] = &item("BOX1");
    pairs().GetScreenObjects()["LETTER"] = nullptr;
    SaveRecords records;
    HostEntity host;
    host.save = [this](SaveLoadSystem& sys, u8* pos) { return pairs().SaveSelf(sys, pos); };
    const std::string bytes = "\2\0\0\0LETTER\0LETTER_INV\0PHOTO\0PHOTO_INV\0"s
                              "\2\0\0\0LETTER_INV\0LETTER\0PHOTO_INV\0PHOTO\0"s
                              "\1\0\0\0PHOTO_INV\0zoom_Basics:BOX1\0\1\0\0\0LETTER\0\0"s;
    EXPECT_EQ(records.save(host), bytes);

    cScreenInventaryPair loaded;
    loaded.AddPair("OLD", "OLD_INV");
    host.load = [&](SaveLoadSystem& sys, const u8* pos) { return loaded.LoadSelf(rooms, sys, pos); };
    ASSERT_TRUE(records.load(host, bytes));
    EXPECT_EQ(host.leftAfterLoad, 0u);
    EXPECT_EQ(loaded.GetInventoryObject("PHOTO"), &item("BOX1"));
    EXPECT_EQ(loaded.GetScreenName("OLD_INV"), "");
    host.save = [&](SaveLoadSystem& sys, u8* pos) { return loaded.SaveSelf(sys, pos); };
    EXPECT_EQ(records.save(host), bytes);

    LogCapture capture;
    ASSERT_TRUE(records.load(host, "\1\0\0\0A\0B\0\xFF\0\0\0A\0"s));
    EXPECT_EQ(host.leftAfterLoad, 0u);
    EXPECT_EQ(capture.messages().size(), 1u);
    EXPECT_EQ(loaded.GetInventoryName("A"), "B");
    EXPECT_TRUE(loaded.GetInventoryToScreen().empty());
}

} // namespace
