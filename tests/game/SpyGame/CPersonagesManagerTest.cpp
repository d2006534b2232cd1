#include "game/SpyGame/CPersonagesManager.h"
#include "game/SpyGame/CPersonage.h"
#include "support/LogCapture.h"
#include "support/TempDir.h"
#include "support/game/SaveRecords.h"
#include "tk2v/file/aOptionsFile.h"
#include "tk2v/util/aException.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace std::string_literals;

aOptionsFile Options(const TempDir& dir, const std::string& personages) {
    dir.write("_investigation.ini", "[Personages]\n" + personages);
    return aOptionsFile(dir.file("_investigation.ini"));
}

TEST(PersonagesManager, InvestigationsWithoutPersonagesThrow) {
    struct Case {
        const char* keys;
        const char* condition;
        unsigned line;
    } cases[] = {
        {"StartPersonages = Ann\n", "!personages.empty()", 122},
        {"PersonagesList = Ann\n", "!startPersonages.empty()", 123},
    };
    for (const Case& c : cases) {
        TempDir dir;
        CPersonagesManager manager;
        LogCapture capture;
        std::string where = "(PersonagesManager, line " + std::to_string(c.line) + ")";
        try {
            manager.CreatePersonages(Options(dir, c.keys), nullptr, nullptr);
            ADD_FAILURE() << c.keys;
        } catch (const aException& e) {
            EXPECT_EQ(std::string(e.getMessage()),
                      std::string("Application generated exception!\n") + c.condition +
                          "\nCatch stack:\nCPersonagesManager::CreatePersonages " + where);
        }
        EXPECT_TRUE(capture.contains("CPersonagesManager::CreatePersonages: "s + c.condition + " " + where));
    }
}

TEST(PersonagesManager, ActiveListAndCurrentPersonage) {
    TempDir dir;
    CPersonagesManager manager;
    manager.CreatePersonages(Options(dir, "PersonagesList = Tez, Ann Bob\nStartPersonages = Ann, Zed\n"),
                             nullptr, nullptr);
    ASSERT_EQ(manager.GetPersonages().size(), 3u);
    EXPECT_EQ(manager.GetPersonages()[0]->getName(), "<Personage:Tez");
    EXPECT_EQ(manager.GetPersonages()[2]->GetInventory().getName(), "Inventory : Bob");
    EXPECT_EQ(manager.GetPersonage("Bob"), manager.GetPersonages()[2].get());
    EXPECT_EQ(manager.GetPersonage("Zed"), nullptr);

    manager.ResetForNewGame(false);
    EXPECT_EQ(manager.GetActivePersonages(), (std::list<std::string>{"Ann", "Zed"}));
    EXPECT_EQ(manager.GetCurrentPersonage(), manager.GetPersonage("Ann"));
    manager.SelectPersonage("Bob");
    EXPECT_EQ(manager.GetCurrentPersonage(), manager.GetPersonage("Ann"));
    EXPECT_FALSE(manager.AddActivePersonage("Zed"));
    EXPECT_TRUE(manager.AddActivePersonage("Bob"));
    EXPECT_TRUE(manager.AddActivePersonage("Bob"));
    EXPECT_EQ(manager.GetActivePersonages(), (std::list<std::string>{"Ann", "Zed", "Bob"}));
    manager.SelectPersonage("Bob");
    EXPECT_EQ(manager.GetCurrentPersonage(), manager.GetPersonage("Bob"));
    EXPECT_TRUE(manager.RemoveActivePersonage("Bob"));
    EXPECT_FALSE(manager.RemoveActivePersonage("Bob"));
    // Removing the played personage leaves it played.
    EXPECT_EQ(manager.GetCurrentPersonage(), manager.GetPersonage("Bob"));

    // A start list of unknown names alone leaves nobody to play.
    CPersonagesManager strangers;
    strangers.CreatePersonages(Options(dir, "PersonagesList = Ann\nStartPersonages = Zed\n"), nullptr,
                               nullptr);
    strangers.ResetForNewGame(false);
    EXPECT_EQ(strangers.GetCurrentPersonage(), nullptr);
}

TEST(PersonagesManager, TheRegistryKeepsCreationOrder) {
    CPersonage a("A"), b("B");
    {
        CPersonage c("C");
        EXPECT_EQ(CPersonage::GetRegistry(), (std::vector<CPersonage*>{&a, &b, &c}));
    }
    auto d = std::make_unique<CPersonage>("D");
    EXPECT_EQ(CPersonage::GetRegistry(), (std::vector<CPersonage*>{&a, &b, d.get()}));
}

TEST(PersonagesManager, RecordHoldsCurrentActiveAndPools) {
    TempDir dir;
    CPersonagesManager manager;
    manager.CreatePersonages(Options(dir, "PersonagesList = Ann, Bob\nStartPersonages = Bob\n"), nullptr,
                             nullptr);
    manager.ResetForNewGame(false);
    manager.GetPool("Hall")[1].emplace_back("CUP", 1);
    manager.GetPool("Hall")[0];
    SaveRecords records;
    const std::string bytes = records.save(manager);
    EXPECT_EQ(bytes, "Bob\0\1\0\0\0Bob\0\1\0\0\0Hall\0\2\0\0\0"
                     "\0\0\0\0\0\0\0\0"
                     "\1\0\0\0\1\0\0\0\0\1\0\1\0\0\0CUP\0\1\0\0\0\0\0\0"s);

    CPersonagesManager loaded;
    loaded.CreatePersonages(Options(dir, "PersonagesList = Ann, Bob\nStartPersonages = Ann\n"), nullptr,
                            nullptr);
    loaded.GetPool("Hall")[2].emplace_back("OLD", 1);
    loaded.GetPool("Study")[0].emplace_back("PEN", 1);
    ASSERT_TRUE(records.load(loaded, bytes));
    EXPECT_EQ(loaded.GetCurrentPersonage(), loaded.GetPersonage("Bob"));
    // Saved rooms replace their pools; the others stay.
    EXPECT_EQ(loaded.GetPools().at("Hall").count(2), 0u);
    EXPECT_EQ(loaded.GetPools().at("Hall").at(1)[0].GetTitle(), "CUP");
    EXPECT_EQ(loaded.GetPools().at("Study").at(0).size(), 1u);

    // A played personage that no longer exists loads as none; a damaged pool count stops there.
    LogCapture capture;
    ASSERT_TRUE(records.load(loaded, "Zed\0\0\0\0\0\xff\xff\xff\x0f"s));
    EXPECT_EQ(loaded.GetCurrentPersonage(), nullptr);
    EXPECT_TRUE(loaded.GetActivePersonages().empty());
    EXPECT_EQ(capture.messages().size(), 1u);
}

TEST(PersonageRecord, OnlyCurrentValuesAreSavedAndAReloadSavesTheSameBytes) {
    TempDir dir;
    dir.write("Ann.ai", "[ROOM]\nEnterToRoom = AGAIN\n[K]\nAbout = A\nUseTo = H:SAFE\n");
    CPersonage ann("Ann");
    ann.LoadScript(dir.path(), "H");
    ann.GetStartNamedValues()["a"] = "b";
    ann.Reset(true);
    ann.EnterRoom("H");
    ann.SetFocusedItem("K");
    ann.GetFocusedItemAbout();
    SaveRecords records;
    const std::string bytes = records.save(ann);
    EXPECT_EQ(bytes, "H\0K\0\1\0\0\0a\0b\0"
                     "\1\0\0\0H\0K\0\0\0\0\0\1\0\0\0A\0\0H\0SAFE\0\0\0"
                     "\1\0\0\0H\0\1\0\0\0\0AGAIN\0\0\0\0\0\0\0\0\0\0"
                     "\0\0\0\0"s);

    CPersonage fresh("Ann");
    fresh.LoadScript(dir.path(), "H");
    fresh.SetItemText({"H", "K"}, "About", "CHANGED");
    ASSERT_TRUE(records.load(fresh, bytes));
    EXPECT_EQ(records.save(fresh), bytes);
    EXPECT_EQ(fresh.FindItemInfo({"H", "K"})->m_ScriptAbout, "A");
    EXPECT_EQ(fresh.GetNamedValues().at("a"), "b");

    // A count no record could hold stops the record there with one line.
    LogCapture capture;
    ASSERT_TRUE(records.load(fresh, "H\0K\0\xff\xff\xff\xff"s));
    EXPECT_EQ(capture.messages().size(), 1u);
}

} // namespace
