#include "ChemLabKit.h"
#include "support/LogCapture.h"
#include "support/game/SaveRecords.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

using Names = std::vector<std::string>;

// The lab saved at each stage of a test, loaded into rooms built afresh and saved again.
class LabRecords : public ChemLabTest {
protected:
    // The save of the rooms, loaded into a fresh build, saves the same bytes there; the loaded bench.
    LabProbe* roundTrip(LabRooms& fresh) {
        const std::string save = saveRooms();
        loadFresh(fresh, save);
        EXPECT_EQ(saveRooms(fresh), save);
        return dynamic_cast<LabProbe*>(fresh.GetRoom(Bench));
    }
};

TEST_F(LabRecords, EveryStageOfATestSavesTheSameBytesAfterALoadIntoAFreshBuild) {
    const struct {
        const char* stage;
        std::function<void()> reach;
    } stages[] = {
        {"fresh", [] {}},
        {"pipette full",
         [this] {
             click(benchItem("B1"));
             click(benchItem("TABLE_PIPETKA"));
             click(benchItem("BIG_FS"));
         }},
        {"mid-checklist",
         [this] {
             click(*shownDish());
             tickTruly();
             pour("B2");
             tick(bench->colorGrid, size_t(bench->dishDrops.back()->GetName()[1] - '1'), 0);
         }},
        {"result screen",
         [this] {
             tickTruly();
             pour("B3");
             tickTruly();
             click(benchItem("SUBMIT"));
             click(benchItem("SUBMIT_ON"));
             frame(0, 299);
             ASSERT_TRUE(benchItem("CONTINUE_ON").IsVisible());
         }},
        {"report",
         [this] {
             click(benchItem("CONTINUE_ON"));
             ASSERT_TRUE(benchItem("REPORT").IsVisible());
         }},
    };
    for (const auto& s : stages) {
        SCOPED_TRACE(s.stage);
        s.reach();
        LabRooms fresh;
        LabProbe* loaded = roundTrip(fresh);
        ASSERT_TRUE(loaded);
        EXPECT_EQ(loaded->bottleOrder, bench->bottleOrder);
        EXPECT_EQ(loaded->dishDrops.size(), bench->dishDrops.size());
        EXPECT_EQ(loaded->samplesDone, bench->samplesDone);
    }
}

TEST_F(LabRecords, AReactionHeardWhenTheGameWasSavedGoesOnAfterTheLoad) {
    pour("B1");
    const std::string heard = bench->loopSound;
    ASSERT_FALSE(heard.empty());
    LabRooms fresh;
    const std::string save = saveRooms();
    quiet();
    loadFresh(fresh, save);
    EXPECT_EQ(dynamic_cast<LabProbe*>(fresh.GetRoom(Bench))->loopSound, heard);
    EXPECT_EQ(played(), Names{heard});
}

// A count that cannot fit the bytes left of its record ends the reading there with one line: the
// fields before it are read, the fields after it keep their values.
TEST_F(LabRecords, ACountBeyondTheRecordsEndStopsItsReadingWithOneLine) {
    const std::string nul(1, '\0');
    const std::string dish = "zoom_CrimeLabMain:TARELKA" + nul;
    const struct {
        CRoomBase* room;
        // Where the count lies: after the first place of these bytes, or (empty) 39 bytes from the
        // record's end.
        std::string after;
        const char* line;
        // The lab's count of finished samples, 7 before the load: read (0) or kept.
        u32 samplesDone;
    } cases[] = {
        {bench, dish, "cBasePoizonPuzzle2::LoadSelf() item references. Count 268435455 does not fit", 7},
        {bench, "LAB_TASK" + nul + dish + "GREEN" + nul + std::string("\x03\0\0\0", 4),
         "cCrimeLabMain::LoadSelf() sample texts. Count 268435455 does not fit", 0},
        {rack, "", "cCrimeLabButtles::LoadSelf() value list. Count 268435455 does not fit", 7}};
    SaveRecords records;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        bench->samplesDone = 0;
        const std::string record = records.save(*c.room);
        const size_t found = c.after.empty() ? record.size() - 39 : record.find(c.after);
        ASSERT_NE(found, std::string::npos);
        const size_t at = c.after.empty() ? found : found + c.after.size();
        std::string damaged = record;
        damaged.replace(at, 4, std::string("\xFF\xFF\xFF\x0F", 4));
        const std::vector<u16> order = bench->bottleOrder;
        bench->samplesDone = 7;
        LogCapture log;
        EXPECT_TRUE(records.load(*c.room, damaged));
        ASSERT_EQ(log.messages().size(), 1u);
        EXPECT_EQ(log.messages()[0].rfind(c.line, 0), 0u) << log.messages()[0];
        EXPECT_EQ(bench->dishItem, &benchItem("TARELKA"));
        EXPECT_EQ(bench->bottleOrder, order);
        EXPECT_EQ(bench->samplesDone, c.samplesDone);
    }
}

} // namespace
