#include "support/LogCapture.h"
#include "support/game/RoomKit.h"
#include "tk2v/platform/Random.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Candidate items of a hidden-object group, one per level given.
std::string Candidates(const std::string& prefix, const std::string& group, std::vector<int> levels) {
    std::string text;
    int n = 0;
    for (int level : levels) {
        text.append("[").append(prefix + std::to_string(++n)).append("]\nIsISpyItem = 1\nDiffLevel = ");
        text.append(std::to_string(level)).append("\nISpyGroup = ").append(group).append("\n");
    }
    return text;
}

std::vector<std::string> Titles(const std::vector<CFindItemsGroup>& groups) {
    std::vector<std::string> titles;
    for (const CFindItemsGroup& group : groups)
        titles.push_back(group.GetTitle());
    return titles;
}

class Pools : public RoomKit {
protected:
    // Each personage's scripts per room, then the rooms.
    void setUp(const std::vector<std::pair<std::string, std::string>>& scripts,
               const std::vector<RoomText>& texts, const std::string& names = "Ann") {
        for (const auto& [file, text] : scripts)
            dir.write("Demo/" + file, text);
        std::string listed;
        for (const RoomText& room : texts)
            listed += room.name + "\n";
        dir.write("Demo/_rooms.list", listed);
        createPersonages("PersonagesList = " + names + "\nStartPersonages = Ann\n");
        load(texts);
    }

    CPersonage::CRoomInfo& roomOf(const std::string& personage, const std::string& room) {
        return personages.GetPersonage(personage)->GetRoomInfo(room);
    }
};

TEST_F(Pools, GroupsSitAtTheirRoundedMeanLevelAndLoneCandidatesAtTheirOwn) {
    setUp({},
          {{"Hall", "",
            Candidates("CUP", "Cups", {1, 2, 2}) + Candidates("PLATE", "Plates", {1, 1, 2}) +
                "[NOTE]\nISpyGroup = Cups\n[VASE]\nISpyGroup = Vases\n" + Candidates("SOLO", "", {4, 0})}});
    personages.BuildISpyPools(true);
    const auto& pool = personages.GetPools().at("Hall");
    ASSERT_EQ(pool.size(), 4u);
    EXPECT_EQ(Titles(pool.at(0)), (std::vector<std::string>{"SOLO2"}));
    EXPECT_EQ(Titles(pool.at(1)), (std::vector<std::string>{"Plates"}));
    EXPECT_EQ(Titles(pool.at(2)), (std::vector<std::string>{"Cups"}));
    EXPECT_EQ(pool.at(2)[0].GetItems().size(), 3u);
    EXPECT_EQ(Titles(pool.at(4)), (std::vector<std::string>{"SOLO1"}));
}

TEST_F(Pools, DrawsWalkDownThenUpAndWarnWhenThePoolRunsDry) {
    setUp({{"Attic/Ann.ai", "[ROOM]\nISpyItemsCount = 2\nISpyDiffLevel = 1\n"},
           {"Shelf/Ann.ai", "[ROOM]\nISpyItemsCount = 4\nISpyDiffLevel = 5\n"},
           {"Shelf/Bob.ai", "[ROOM]\nISpyItemsCount = 4\nISpyDiffLevel = 5\n"},
           {"Cellar/Ann.ai", "[ROOM]\nISpyItemsCount = 1\nISpyDiffLevel = 0\n"}},
          {{"Attic", "", Candidates("HIGH", "", {2, 2})},
           {"Shelf", "", Candidates("POT", "", {1, 1, 1, 1, 1, 1})},
           {"Cellar", "", Candidates("LOW", "", {0})}},
          "Ann, Bob");
    LogCapture capture;
    platform::srand(11);
    personages.ResetForNewGame(false);
    EXPECT_EQ(roomOf("Ann", "Attic").m_GeneratedGroups.size(), 2u);
    EXPECT_TRUE(personages.GetPools().at("Attic").at(2).empty());
    EXPECT_EQ(roomOf("Ann", "Shelf").m_GeneratedGroups.size(), 4u);
    EXPECT_EQ(roomOf("Bob", "Shelf").m_GeneratedGroups.size(), 2u);
    // A bound of 0 draws at level 0.
    EXPECT_EQ(Titles(roomOf("Ann", "Cellar").m_GeneratedGroups), (std::vector<std::string>{"LOW1"}));
    EXPECT_EQ(capture.messages(),
              (std::vector<std::string>{
                  "CPersonage::GenItemsListToFind(). Room: Shelf. Warning, scarce ISpy items!"}));
}

TEST_F(Pools, TaskListsShuffleTheFoundGroupsAndEndWithTheMustDoOnes) {
    setUp(
        {{"Hall/Ann.ai",
          "[ROOM]\nISpyItemsCount = 2\nQuestItemsToFind = KEY\nQuestItemsGroupsToFind = Tools, Junk\n"
          "MustClickItems = DOOR\nMustUseItems = SAFE\n"}},
        {{"Hall", "",
          Candidates("CUP", "", {0, 0, 0}) + "[KEY]\nIsQuestItem = 1\n[SAW]\nIsQuestItem = 2\nGroup = Tools\n"
                                             "ISpyGroup = Saws\n[AXE]\nIsQuestItem = 1\nGroup = Tools\n"
                                             "[RAG]\nGroup = Junk\n"}});
    auto draw = [&](unsigned seed) {
        platform::srand(seed);
        personages.ResetForNewGame(false);
        return Titles(roomOf("Ann", "Hall").m_TaskList);
    };
    std::vector<std::string> first = draw(5);
    ASSERT_EQ(first.size(), 6u);
    EXPECT_EQ(std::vector<std::string>(first.end() - 2, first.end()),
              (std::vector<std::string>{"DOOR", "SAFE"}));
    std::vector<std::string> shuffled(first.begin(), first.end() - 2);
    std::sort(shuffled.begin(), shuffled.end());
    EXPECT_EQ(shuffled[2], "KEY");
    EXPECT_EQ(shuffled[3], "Saws");
    EXPECT_EQ(shuffled[0].rfind("CUP", 0), 0u);
    EXPECT_EQ(roomOf("Ann", "Hall").m_TaskList[5].GetItems()[0].GetType(), CFindItem::TypeUse);
    // The same seed repeats the lists.
    EXPECT_EQ(draw(5), first);
}

TEST_F(Pools, SharedRoomsKeepTheirPoolsAcrossNewGamesThatAskForIt) {
    sharedList = "Lobby\nElsewhere\n";
    setUp({{"Lobby/Ann.ai", "[ROOM]\nISpyItemsCount = 1\nISpyDiffLevel = 1\n"},
           {"Hall/Ann.ai", "[ROOM]\nISpyItemsCount = 1\nISpyDiffLevel = 1\n"}},
          {{"Lobby", "", Candidates("BAG", "", {0, 0})}, {"Hall", "", Candidates("HAT", "", {0, 0})}});
    personages.ResetForNewGame(true);
    EXPECT_EQ(personages.GetPools().at("Lobby").at(0).size(), 1u);
    personages.ResetForNewGame(true);
    EXPECT_TRUE(personages.GetPools().at("Lobby").at(0).empty());
    EXPECT_EQ(personages.GetPools().at("Hall").at(0).size(), 1u);
    LogCapture capture;
    personages.ResetForNewGame(true);
    EXPECT_TRUE(roomOf("Ann", "Lobby").m_GeneratedGroups.empty());
    EXPECT_TRUE(
        capture.contains("CPersonage::GenItemsListToFind(). Room: Lobby. Warning, scarce ISpy items!"));
    personages.ResetForNewGame(false);
    EXPECT_EQ(personages.GetPools().at("Lobby").at(0).size(), 1u);

    // Pools of rooms of other investigations stay only for shared rooms.
    personages.GetPool("Elsewhere")[0].emplace_back("OLD", CFindItem::TypePick);
    personages.GetPool("Gone")[0].emplace_back("OLD", CFindItem::TypePick);
    personages.BuildISpyPools(false);
    EXPECT_EQ(personages.GetPools().count("Elsewhere"), 1u);
    EXPECT_EQ(personages.GetPools().count("Gone"), 0u);
}

TEST_F(Pools, RoomsThatResetFullyRebuildTheirPoolsEvenWhenShared) {
    sharedList = "Lobby\n";
    setUp({{"Lobby/Ann.ai", "[ROOM]\nISpyItemsCount = 1\nISpyDiffLevel = 1\n"}},
          {{"Lobby", "", Candidates("BAG", "", {0, 0}), "[Room]\nClass = RoomBase\nEveryFullReset = 1\n"}});
    personages.ResetForNewGame(true);
    personages.ResetForNewGame(true);
    EXPECT_EQ(personages.GetPools().at("Lobby").at(0).size(), 1u);
}

} // namespace
