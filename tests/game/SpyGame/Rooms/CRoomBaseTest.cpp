#include "game/CGameIni.h"
#include "support/LogCapture.h"
#include "support/game/RoomKit.h"
#include "support/game/SaveRecords.h"
#include "tk2v/platform/Random.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace std::string_literals;

// A room base whose inner fields a test may read, and which keeps the texts it was asked to show.
struct Probe : CRoomBase {
    using CRoomBase::m_ImageList;
    using CRoomBase::m_ItemTextFile;
    using CRoomBase::m_LocaleImageList;
    using CRoomBase::m_pRoomsManager;
    using CRoomBase::m_RoomTextFile;
    using CRoomBase::m_SharedRoomTextFile;
    void ShowMessage(const std::string& textId) override { shown.push_back(textId); }
    std::vector<std::string> shown;
};

std::string Objects(std::initializer_list<const char*> names) {
    std::string text;
    int x = 10;
    for (const char* name : names) {
        text.append("[").append(name).append("]\nClass = object\nX = ").append(std::to_string(x));
        text.append("\nY = 20\nWidth = 10\nHeight = 10\n");
        x += 10;
    }
    return text;
}

std::string F32(f32 value) {
    std::string bytes(4, '\0');
    std::memcpy(bytes.data(), &value, 4);
    return bytes;
}

class RoomBase : public RoomKit {
protected:
    // A probe over the written room, linked, loaded and, unless asked not to, reset.
    std::unique_ptr<Probe> probe(const RoomText& text, bool reset = true) {
        write(text);
        auto room = std::make_unique<Probe>();
        room->Init(&rooms, &personages, nullptr);
        room->LoadResources(data() + text.name + "/", text.name,
                            aOptionsFile(data() + text.name + "/room.ini"),
                            "language:Investigations/Demo/" + text.name + "/");
        finishLoading();
        room->AfterLoadInit();
        if (reset)
            room->Reset();
        return room;
    }

    const std::string cups = Objects({"a", "b", "c"});
    const std::string cupItems = "[A]\nObject = a\nGroup = Cups\n[B]\nObject = b\nGroup = Cups\n"
                                 "[C]\nObject = c\nGroup = Cups\n";
};

TEST_F(RoomBase, EachOperationActsOnlyInItsStates) {
    write({"Hall", cups, cupItems});
    Probe room;
    CRoomsManager other;
    const aOptionsFile ini(data() + "Hall/room.ini");
    auto load = [&] { room.LoadResources(data() + "Hall/", "Hall", ini, ""); };
    auto enter = [&] { room.Enter("Demo", nullptr); };
    auto leave = [&] { room.Leave(); };
    auto reset = [&] { room.Reset(); };
    auto after = [&] { room.AfterLoadInit(); };
    struct Step {
        std::function<void()> call;
        u32 state;
    } steps[] = {
        {reset, 0},
        {enter, 0},
        {after, 0},
        {load, 0},
        {[&] { room.Init(&rooms, &personages, nullptr); }, 1},
        {[&] { room.Init(&other, nullptr, nullptr); }, 1},
        {reset, 1},
        {after, 1},
        {load, 2},
        {reset, 2},
        {enter, 2},
        {leave, 2},
        // Nothing has loaded yet.
        {after, 2},
        {[&] { finishLoading(); }, 2},
        {after, 3},
        {enter, 3},
        {leave, 3},
        {reset, 4},
        {leave, 4},
        {enter, 9},
        {[&] { EXPECT_EQ(room.GetRequestedRoom(), ""); }, 9},
        {leave, 4},
        {enter, 9},
        {[&] { room.UnloadRes(); }, 1},
        {[&] { room.UnloadRes(); }, 1},
        {enter, 1},
    };
    int index = 0;
    for (const Step& step : steps) {
        step.call();
        EXPECT_EQ(room.GetState(), step.state) << "step " << index++;
    }
    EXPECT_EQ(room.m_pRoomsManager, &rooms);
    EXPECT_EQ(room.getName(), "RoomBase : Hall");
}

TEST_F(RoomBase, TextsAndImageListsComeFromTheRoomsOwnOrItsSharedFolders) {
    CGameIni gameIni;
    dir.write("Game.ini", "[Graphics]\n[Other]\nLanguage = English\n");
    gameIni.Load(dir.file("Game.ini"));
    sharedList = "Lobby\nLounge\n";
    dir.write("_SharedRooms/_rooms.list", sharedList);
    rooms.LoadSharedRoomsList(&personages, nullptr);
    const std::string L = "language:Investigations/Demo/", SD = "investigations:_SharedRooms/",
                      SL = "language:Investigations/_SharedRooms/";
    struct Case {
        const char* name;
        bool internal;
        std::string roomText, sharedText, itemText, imageList, images;
    } cases[] = {
        {"Hall", false, L + "Hall/room.txt", "", L + "Hall/items.txt", L + "Hall/_images.list",
         data() + "Hall/Images/_images.list"},
        {"Cellar", true, data() + "Cellar/Locale/room.txt", "", data() + "Cellar/Locale/items.txt",
         data() + "Cellar/Locale/_images.list", data() + "Cellar/Images/_images.list"},
        {"Lobby", false, L + "Lobby/room.txt", SL + "Lobby/room.txt", SL + "Lobby/items.txt",
         SL + "Lobby/_images.list", SD + "Lobby/Images/_images.list"},
        {"Lounge", true, data() + "Lounge/Locale/room.txt", SD + "Lounge/Locale/room.txt",
         SD + "Lounge/Locale/items.txt", SD + "Lounge/Locale/_images.list",
         SD + "Lounge/Images/_images.list"},
    };
    for (const Case& c : cases) {
        RoomText text{c.name, "", ""};
        if (c.internal)
            text.roomIni += "InternalLanguage = English\n";
        auto room = probe(text, false);
        EXPECT_EQ(room->m_RoomTextFile, c.roomText) << c.name;
        EXPECT_EQ(room->m_SharedRoomTextFile, c.sharedText) << c.name;
        EXPECT_EQ(room->m_ItemTextFile, c.itemText) << c.name;
        EXPECT_EQ(room->m_LocaleImageList, c.imageList) << c.name;
        EXPECT_EQ(room->m_ImageList, c.images) << c.name;
    }
}

TEST_F(RoomBase, RoomIniErrorsAreLoggedAndLoadingGoesOn) {
    dir.write("Demo/Hall/Ann.ai", "");
    createPersonages("PersonagesList = Ann\nStartPersonages = Ann\n");
    LogCapture capture;
    auto room = probe({"Hall", cups, cupItems,
                       "[Room]\nShuffleGroups = Cups, Nope\nAutoPickItems = Ann:A, Ann:, B, Ann:GONE, Zed:C\n"
                       "EveryFullReset = 2\n"});
    const std::string prefix = "CRoomBase::AfterLoadInit(). Room 'Hall', error in Room.ini, ";
    for (const std::string& line :
         {prefix + "ShuffleGroups - group 'Nope' not exist!", prefix + "bad syntax in key 'AutoPickItems'!",
          prefix + "AutoPickItems - not find auto pick item 'GONE'!",
          "CRoomBase::Reset(). AutoPickItems - personage 'Zed' not exist!"s})
        EXPECT_TRUE(capture.contains(line)) << line;
    EXPECT_TRUE(room->IsEveryFullReset());
    CInventory& inventory = personages.GetPersonage("Ann")->GetInventory();
    ASSERT_EQ(inventory.GetItems().size(), 1u);
    EXPECT_EQ(inventory.GetItems()[0], room->GetItem("A"));
    EXPECT_TRUE(room->GetItem("A")->IsInInventory());
}

TEST_F(RoomBase, ASeededShuffleSwapsGroupPositionsAsRandDraws) {
    auto room = probe({"Hall", cups, cupItems, "[Room]\nShuffleGroups = Cups\n"}, false);
    platform::srand(7);
    room->Reset();
    platform::srand(7);
    f32 xs[] = {10, 20, 30};
    for (int i = 0; i < 3; ++i)
        std::swap(xs[i], xs[platform::rand() % 3]);
    EXPECT_EQ(room->GetItem("A")->GetPos().x, xs[0]);
    EXPECT_EQ(room->GetItem("B")->GetPos().x, xs[1]);
    EXPECT_EQ(room->GetItem("C")->GetPos().x, xs[2]);
}

TEST_F(RoomBase, PositionAndScaleMoveTheRoomsItems) {
    auto room = probe({"Hall", Objects({"key"}), "[KEY]\nObject = key\n", "[Room]\n", 100, 50});
    CSpyItem& key = *room->GetItem("KEY");
    room->SetPosition({5, 7});
    EXPECT_EQ(key.GetPos(), (SpyPoint{15, 27}));
    EXPECT_EQ(room->GetActiveRect(), (aRect{5, 7, 100, 50}));
    room->SetScale({2, 2}, true);
    EXPECT_EQ(room->GetPosition(), (SpyPoint{-45, -18}));
    EXPECT_EQ(key.GetPos(), (SpyPoint{-25, 22}));
    EXPECT_EQ(key.GetScale(), (SpyPoint{2, 2}));
    EXPECT_EQ(room->GetWidth(), 200);
    room->SetScale({0, -1}, false);
    EXPECT_EQ(room->GetScale(), (SpyPoint{0.01f, 0.01f}));
    EXPECT_EQ(room->GetWidth(), 1);
    auto wide = probe({"Wide", "", "", "[Room]\n", 101, 3});
    wide->SetScale({0.5f, 0.5f}, false);
    EXPECT_EQ(wide->GetWidth(), 51);
    EXPECT_EQ(wide->GetHeight(), 2);
}

TEST_F(RoomBase, ABackgroundlessOrNeverResetRoomScalesWithoutDividingByZero) {
    auto room = probe({"Hall", Objects({"key"}), "[KEY]\nObject = key\n", "[Room]\n"}, false);
    EXPECT_EQ(room->GetWidth(), 0);
    EXPECT_EQ(room->GetActiveRect(), aRect{});
    room->GetItemManager().ResetItems();
    room->SetScale({2, 2}, true);
    EXPECT_EQ(room->GetItem("KEY")->GetPos(), (SpyPoint{20, 40}));
    EXPECT_EQ(room->GetPosition(), (SpyPoint{0, 0}));
}

// Ann must click A, B and C in the hall; the door opens by a click, the trap never.
class RoomPlay : public RoomBase {
protected:
    void SetUp() override {
        dir.write("Demo/Hall/Ann.ai", "[ROOM]\nFirstEnter = WELCOME\nMustClickItems = A B C\n"
                                      "[Exit]\nUseTo = ONESELF\n");
        dir.write("Demo/_rooms.list", "Hall\n");
        createPersonages("PersonagesList = Ann\nStartPersonages = Ann\n");
        room = probe({"Hall", cups + Objects({"door", "trap"}),
                      cupItems + "[Exit]\nClass = Door\nObject = door\nUseRoom = Study\n"
                                 "[Trap]\nClass = Door\nObject = trap\nUseRoom = Study\n"});
        personages.ResetForNewGame(false);
        ann = personages.GetPersonage("Ann");
    }

    std::unique_ptr<Probe> room;
    CPersonage* ann = nullptr;
};

TEST_F(RoomPlay, EnteringCountsTheVisitShowsTheTextAndOpensOnlyRuledDoors) {
    room->Enter("Demo", nullptr);
    EXPECT_EQ(room->GetState(), 9u);
    EXPECT_EQ(room->shown, (std::vector<std::string>{"WELCOME"}));
    EXPECT_EQ(ann->GetRoomInfo("Hall").m_EnterCount, 1u);
    EXPECT_FALSE(room->GetItem("Exit")->IsDisabled());
    EXPECT_TRUE(room->GetItem("Trap")->IsDisabled());
    EXPECT_EQ(room->GetHintCandidates(), (std::vector<std::string>{"A", "B", "C"}));

    // Without a played personage a room is still entered, with no personage's steps.
    personages.Clear();
    room->Leave();
    room->Enter("Demo", nullptr);
    EXPECT_EQ(room->GetState(), 9u);
    EXPECT_EQ(room->shown.size(), 1u);
    EXPECT_TRUE(room->GetHintCandidates().empty());
}

TEST_F(RoomPlay, HintsGoRoundEveryCandidateOnceAndSkipHiddenOnes) {
    platform::srand(3);
    room->GetItem("C")->SetVisible(false);
    room->Enter("Demo", nullptr);
    EXPECT_EQ(room->GetHintCandidates(), (std::vector<std::string>{"A", "B"}));
    room->GetItem("C")->SetVisible(true);
    room->CollectHintItems();
    EXPECT_TRUE(room->CanShowHint());
    std::set<std::string> hinted;
    for (int call = 0; call < 3; ++call) {
        room->ShowHint();
        ASSERT_NE(room->GetHintItem(), nullptr);
        EXPECT_FALSE(room->CanShowHint());
        hinted.insert(room->GetHintItem()->GetName());
    }
    EXPECT_EQ(hinted, (std::set<std::string>{"A", "B", "C"}));
    room->ShowHint();
    EXPECT_EQ(room->GetHintedNames().size(), 1u);

    // A candidate whose item is gone starts nothing.
    room->UnloadRes();
    room->ShowHint();
    EXPECT_EQ(room->GetHintItem(), nullptr);
}

TEST_F(RoomPlay, PlacementCheckComparesExactPositions) {
    EXPECT_TRUE(room->CheckItemsFoundInOrigPlace("Cups"));
    CSpyItem& a = *room->GetItem("A");
    a.SetPos(a.GetPos().x + 0.01f, a.GetPos().y);
    EXPECT_FALSE(room->CheckItemsFoundInOrigPlace("Cups"));
    LogCapture capture;
    EXPECT_FALSE(room->CheckItemsFoundInOrigPlace("Plates"));
    ASSERT_EQ(capture.messages().size(), 1u);
    EXPECT_EQ(capture.messages()[0].rfind(
                  "CRoomBase::CheckItemsFoundInOrigPlace: &listItems != NULL (RoomBase, line ", 0),
              0u);
}

TEST_F(RoomPlay, RecordLayoutAndReload) {
    SaveRecords records;
    const std::string one = F32(1), zero = F32(0);
    const std::string head = "\1\1\0\4\0\0\0"s + zero + zero + one + one + "\0\0\0\0\0\0\0\0\1\1"s;
    EXPECT_EQ(records.save(*room), head + "\0\0\0"s + zero + "\0\0\0\0\0\0\0\0"s);

    // Carried and entry items resolve through the rooms manager; hinted names come back sorted; a pick
    // effect of a lost item is dropped.
    ASSERT_TRUE(rooms.LoadRooms("Hall", data() + "Hall/", ""));
    finishLoading();
    rooms.AfterLoadInitRoom("Hall");
    const std::string saved = "\1\0\1\x09\0\0\0"s + zero + zero + one + one + "\0\0\0\0\0\0\0\0\1\1"s +
                              "Hall:A\0Hall:B\0C\0"s + F32(2.5f) + "\2\0\0\0B\0A\0\2\0\0\0"s + F32(1.5f) +
                              "A\0"s + F32(2) + "GONE\0"s;
    ASSERT_TRUE(records.load(*room, saved));
    EXPECT_EQ(room->GetItemOnCursor(), &item("Hall", "A"));
    EXPECT_EQ(room->GetHintItem(), room->GetItem("C"));
    EXPECT_EQ(room->GetHintCandidates(), (std::vector<std::string>{"A", "B", "C"}));
    EXPECT_FALSE(room->GetPropertys().InventoryEnabled);
    EXPECT_EQ(records.save(*room), "\1\0\1\x09\0\0\0"s + zero + zero + one + one + "\0\0\0\0\0\0\0\0\1\1"s +
                                       "Hall:A\0Hall:B\0C\0"s + F32(2.5f) + "\2\0\0\0A\0B\0\1\0\0\0"s +
                                       F32(1.5f) + "A\0"s);
}

TEST_F(RoomPlay, ARoomSavedWaitingForItsItemGetsItBackFromThePersonage) {
    SaveRecords records;
    const std::string waiting = "\1\1\0\x08\0\0\0"s + std::string(16, '\0') + std::string(8, '\0') +
                                "\1\1\0\0\0"s + std::string(4, '\0') + std::string(8, '\0');
    ann->EnterRoom("Hall");
    ann->SetFocusedItem("B");
    ASSERT_TRUE(records.load(*room, waiting));
    EXPECT_EQ(room->GetState(), 8u);
    EXPECT_EQ(room->GetRequestedItem(), room->GetItem("B"));

    ann->SetFocusedItem("");
    ASSERT_TRUE(records.load(*room, waiting));
    EXPECT_EQ(room->GetState(), 9u);
    EXPECT_EQ(room->GetRequestedItem(), nullptr);

    // States a saved room cannot be in are not taken over.
    for (char state : {'\0', '\2', '\x0a'}) {
        std::string odd = waiting;
        odd[3] = state;
        ASSERT_TRUE(records.load(*room, odd));
        EXPECT_EQ(room->GetState(), 9u) << int(state);
    }
}

TEST_F(RoomBase, LeavingHandsOverEveryPickStillShowing) {
    dir.write("Demo/_rooms.list", "Hall\n");
    dir.write("Demo/Hall/Ann.ai",
              "[ROOM]\nQuestItemsToFind = NOTE\n[NOTE]\nUseTo = Study:DESK\n[MEMO]\nUseTo = NONE\n");
    createPersonages("PersonagesList = Ann\nStartPersonages = Ann\n");
    auto room = probe({"Hall", Objects({"note", "memo", "cup"}),
                       "[NOTE]\nObject = note\nIsQuestItem = 1\n[MEMO]\nObject = memo\nIsQuestItem = 1\n"
                       "[CUP]\nObject = cup\nIsISpyItem = 1\n"});
    personages.ResetForNewGame(false);
    CPersonage& ann = *personages.GetPersonage("Ann");
    const std::string playing = "\1\1\0\x09\0\0\0"s + std::string(24, '\0') + "\1\1\0\0\0"s + F32(0) +
                                "\0\0\0\0\3\0\0\0"s + F32(1.5f) + "NOTE\0"s + F32(2) + "MEMO\0"s + F32(1) +
                                "CUP\0"s;
    // As in a loaded game, the personage is in the room it saved.
    ann.EnterRoom("Hall");
    ASSERT_TRUE(SaveRecords().load(*room, playing));
    room->Leave();
    EXPECT_EQ(room->GetState(), 4u);
    EXPECT_EQ(ann.GetInventory().GetItems(), (std::deque<CSpyItem*>{room->GetItem("NOTE")}));
    for (const char* name : {"NOTE", "MEMO", "CUP"})
        EXPECT_TRUE(room->GetItem(name)->IsInInventory()) << name;
    EXPECT_TRUE(ann.IsRoomTaskListDone("Hall"));
    EXPECT_EQ(SaveRecords().save(*room).substr(40), std::string(8, '\0'));
}

} // namespace
