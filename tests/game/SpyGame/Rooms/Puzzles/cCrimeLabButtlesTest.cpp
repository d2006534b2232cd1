#include "LabFrameKit.h"
#include "support/game/SaveRecords.h"
#include "tk2v/platform/Random.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Names = std::vector<std::string>;

class RackPlay : public RackTest {
protected:
    // The bench's labels read L1.., its bottles D1..; then the bench hands its order over.
    void order(const std::vector<u16>& bottles, const Names& labels = {"L1", "L2", "L3"}) {
        for (int i = 0; i < 3; ++i) {
            const std::string n = std::to_string(i + 1);
            benchItem("TB" + n).SetText(widen(labels[size_t(i)]));
            benchItem("B" + n).SetText(widen("D" + n));
        }
        rack->SetOrder(bottles);
    }
    Names labels() { return {rackText("TB1"), rackText("TB2"), rackText("TB3")}; }
    Names expected() {
        Names names;
        for (const auto& slot : rack->GetSlots())
            names.push_back(narrow(slot.expectedText));
        return names;
    }
    bool anyInPlace() {
        for (size_t i = 0; i < 3; ++i)
            if (labels()[i] == expected()[i])
                return true;
        return false;
    }
    // The two clicks that bring the first misplaced label home, as a player reads the rack.
    void sortOneStep() {
        const Names shown = labels(), wanted = expected();
        const char* const bottles[] = {"B1", "B2", "B3"};
        for (size_t i = 0; i < 3; ++i) {
            if (shown[i] == wanted[i])
                continue;
            for (size_t j = 0; j < 3; ++j)
                if (shown[j] == wanted[i]) {
                    click(rackItem(bottles[i]));
                    click(rackItem(bottles[j]));
                    return;
                }
        }
    }
};

TEST_F(RackPlay, TheBenchsOrderSetsWhatEachPlaceExpectsAndTheShuffleLeavesNoBottleInPlace) {
    for (u32 seed = 1; seed <= 20; ++seed) {
        platform::srand(seed);
        order({2, 0, 1});
        EXPECT_EQ(expected(), (Names{"L3", "L1", "L2"})) << seed;
        EXPECT_EQ(rack->order, (std::vector<u16>{2, 0, 1}));
        EXPECT_FALSE(anyInPlace()) << seed;
        for (int i = 1; i <= 3; ++i) {
            const std::string n = std::to_string(i);
            // Bottle and label travel as a pair, and the bench shows what the rack shows.
            EXPECT_EQ(rackText("B" + n).substr(1), rackText("TB" + n).substr(1)) << seed;
            EXPECT_EQ(benchText("B" + n), rackText("B" + n));
            EXPECT_EQ(benchText("TB" + n), rackText("TB" + n));
            EXPECT_EQ(rackItem("TB" + n).GetPos(), rackItem("B" + n).GetPos());
        }
    }
}

TEST_F(RackPlay, ClicksSelectAndExchangeUntilEveryLabelIsHomeThenTheRackIsWon) {
    order({2, 0, 1});
    const Names before = labels();
    click(rackItem("B1"));
    EXPECT_EQ(rack->selectedSlot, &rack->GetSlots()[0]);
    EXPECT_EQ(played(), Names{"buttles_select"});
    // The selected bottle again: exchanged with itself, unselected.
    click(rackItem("B1"));
    EXPECT_FALSE(rack->selectedSlot);
    EXPECT_EQ(labels(), before);
    EXPECT_EQ(played(), Names{"buttles_swap"});
    // Another item keeps the selection.
    click(rackItem("B2"));
    click(rackItem("CLOTH"));
    EXPECT_EQ(rack->selectedSlot, &rack->GetSlots()[1]);
    click(rackItem("B2"));
    quiet();
    for (int clicks = 0; !rack->solved; ++clicks) {
        ASSERT_LT(clicks, 4);
        sortOneStep();
    }
    EXPECT_TRUE(rack->IsOrderCorrect());
    EXPECT_EQ(rack->shown, Names{"MSG_WINORDER"});
    EXPECT_EQ(played(), (Names{"buttles_select", "buttles_swap", "buttles_win"}));
    EXPECT_TRUE(rackItem("SORTED").IsVisible());
    EXPECT_TRUE(rackItem("SORTED").IsWin());
    EXPECT_EQ(ann->GetRoomInfo(Bench).m_RoomTask, "ROOM_TASKAFTERSORT");
    EXPECT_FALSE(rack->selectedSlot);
    // A won rack exchanges nothing.
    const Names sorted = labels();
    click(rackItem("B1"));
    click(rackItem("B2"));
    EXPECT_EQ(labels(), sorted);
    EXPECT_EQ(played(), Names{});
}

TEST_F(RackPlay, TheSolveShowsTheWinThenSortsAndAWonRackSolvesNoMore) {
    order({1, 2, 0});
    EXPECT_TRUE(rack->SolveRoom());
    EXPECT_EQ(rack->shown, Names{"MSG_WINORDER"});
    EXPECT_TRUE(rack->IsOrderCorrect());
    EXPECT_EQ(labels(), (Names{"L2", "L3", "L1"}));
    EXPECT_EQ(benchText("TB1"), "L2");
    EXPECT_TRUE(rackItem("SORTED").IsVisible());
    EXPECT_FALSE(rack->SolveRoom());
    EXPECT_EQ(rack->shown.size(), 1u);
}

TEST_F(RackPlay, SharedTextsStillSortAndAShortOrderLeavesAPlaceExpectingItsOwnLabel) {
    const struct {
        std::vector<u16> order;
        Names labels, expected;
        bool sortable;
    } cases[] = {{{2, 0, 1}, {"L", "L", "M"}, {"M", "L", "L"}, true},
                 // Expecting a label twice: no order shows it, and sorting still ends.
                 {{1}, {"L1", "L2", "L3"}, {"L2", "L2", "L3"}, false},
                 {{5, 0, 1}, {"L1", "L2", "L3"}, {"L1", "L1", "L2"}, false}};
    for (const auto& c : cases) {
        order(c.order, c.labels);
        EXPECT_EQ(expected(), c.expected);
        rack->ResetPuzzleState();
        EXPECT_TRUE(rack->SolveRoom());
        EXPECT_EQ(rack->IsOrderCorrect(), c.sortable);
    }
}

TEST_F(RackPlay, ARecordHoldsTheSelectionTheExpectedTextsTheOrderAndTheSolvedFlag) {
    order({2, 0, 1});
    click(rackItem("B3"));
    SaveRecords records;
    const std::string record = records.save(*rack);
    auto wide = [](const std::string& text) {
        std::string bytes;
        for (char c : text + '\0')
            bytes += std::string{c, '\0'};
        return bytes;
    };
    const std::string tail = std::string("\x03\0\0\0", 4) + wide("L3") + wide("L1") + wide("L2") +
                             std::string("\x03\0\0\0\x02\0\0\0\x01\0\0", 11) + "zoom_CrimeLabButtles:SORTED" +
                             std::string(1, '\0');
    ASSERT_GE(record.size(), tail.size());
    EXPECT_EQ(record.substr(record.size() - tail.size()), tail);

    const std::string save = saveRooms();
    TestRoomsManager<RackProbe> fresh;
    loadFresh(fresh, save);
    auto* loaded = dynamic_cast<RackProbe*>(fresh.GetRoom(Rack));
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->selectedSlot, &loaded->GetSlots()[2]);
    EXPECT_EQ(saveRooms(fresh), save);
    // Won and nothing selected: the same both ways.
    loaded->SolveRoom();
    const std::string won = saveRooms(fresh);
    TestRoomsManager<RackProbe> again;
    loadFresh(again, won);
    EXPECT_FALSE(dynamic_cast<RackProbe*>(again.GetRoom(Rack))->selectedSlot);
    EXPECT_TRUE(dynamic_cast<RackProbe*>(again.GetRoom(Rack))->solved);
    EXPECT_EQ(saveRooms(again), won);
}

// Without its options the rack has no places and counts as sorted.
class RackWithoutOptions : public RackPlay {
protected:
    std::string sections() const override { return ""; }
};

TEST_F(RackWithoutOptions, TheFirstClickWinsIt) {
    EXPECT_TRUE(rack->GetSlots().empty());
    click(rackItem("CLOTH"));
    EXPECT_EQ(rack->shown, Names{"MSG_WINORDER"});
    EXPECT_TRUE(rack->solved);
}

} // namespace
