#include "game/SaveLoadSystem.h"
#include "support/LogCapture.h"
#include "support/game/RoomKit.h"
#include "tk2v/platform/Random.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

const std::string Key = "[key]\nClass = object\nWidth = 10\nHeight = 10\n";

using RoomsManager = RoomKit;

TEST(RoomsFactory, ClassesMatchExactly) {
    struct Case {
        const char* className;
        bool made;
    } cases[] = {{"RoomBase", true},
                 {"roombase", false},
                 {"", false},
                 {"CrimeLabButtles", true},
                 {"CrimeLabMain", true},
                 {"BasePoizonPuzzle", false},
                 {"GardenMazeRoom", true},
                 {"VentMazePuzzleRoom", true},
                 // The lab's reader and computers; their common base is never made by name.
                 {"VictimIdPuzzleRoom", true},
                 {"VictimId2PuzzleRoom", true},
                 {"MicrofichePuzzleRoom", true},
                 {"CrimeSearcherRoom", true},
                 {"BaseVictimIdPuzzle", false}};
    for (const Case& c : cases) {
        std::unique_ptr<CRoomBase> room(CRoomsManager::CreateRoom(c.className));
        EXPECT_EQ(room != nullptr, c.made) << c.className;
        if (room) {
            EXPECT_EQ(room->GetClassName(), c.className);
            EXPECT_EQ(room->GetState(), 0u);
        }
    }
    // The garden, physics, word and book puzzles; each shows the panel's solve button.
    for (const char* className :
         {"CrabPuzzleRoom", "RoomCleaning", "cNetPuzzleRoom", "GardenRoseRoom", "WarehouseRoom",
          "CapOJoePuzzleRoom", "AppointmentBookRoom", "ZodiacBookPuzzleRoom", "ReservationsRegisterRoom",
          "AssembleInviationRoom"}) {
        std::unique_ptr<CRoomBase> room(CRoomsManager::CreateRoom(className));
        ASSERT_TRUE(room) << className;
        EXPECT_EQ(room->GetClassName(), className);
        EXPECT_EQ(room->GetState(), 0u);
        EXPECT_TRUE(room->GetPropertys().SolveButtonShown) << className;
    }
    // The close-ups; all but the fax, whose report comes out by itself, show the solve button.
    for (const auto& [className, solve] :
         std::initializer_list<std::pair<const char*, bool>>{{"ChineseBoxPuzzleRoom", true},
                                                             {"ChineseFigurinePuzzleRoom", true},
                                                             {"GettingBloodSample", true},
                                                             {"FaxMachinePuzzleRoom", false},
                                                             {"BackMooverPuzzle", true},
                                                             {"DilaryLightsPuzzle", true},
                                                             {"TanPheisRoom", true},
                                                             {"CursorRoomShower", true},
                                                             {"PiatnashkiRoom", true}}) {
        std::unique_ptr<CRoomBase> room(CRoomsManager::CreateRoom(className));
        ASSERT_TRUE(room) << className;
        EXPECT_EQ(room->GetClassName(), className);
        EXPECT_EQ(bool(room->GetPropertys().SolveButtonShown), solve) << className;
    }
    EXPECT_EQ(CRoomsManager::CreateRoom("NetPuzzleRoom"), nullptr);
}

TEST_F(RoomsManager, RoomsThatCannotBeMadeAreLoggedAndLeftOut) {
    LogCapture capture;
    list = "Gone\n";
    load({{"Hall", Key, "[KEY]\nObject = key\n"},
          {"Cellar", "", "", "[Room]\nClass = roombase\n"},
          {"Study", "", "", "[Room]\nClass = NoSuchPuzzleRoom\n"}});
    EXPECT_TRUE(rooms.HasRoom("Hall"));
    EXPECT_FALSE(rooms.HasRoom("Cellar"));
    EXPECT_FALSE(rooms.HasRoom("Gone"));
    EXPECT_TRUE(capture.contains("CRoomsManager::LoadRooms(). Room 'Gone' from '_rooms.list' not found."));
    EXPECT_TRUE(capture.contains("CRoomsManager::LoadRooms(). Not find class 'roombase' for room 'Cellar'"));
    EXPECT_TRUE(
        capture.contains("CRoomsManager::LoadRooms(). Not find class 'NoSuchPuzzleRoom' for room 'Study'"));
    EXPECT_EQ(room("Hall").getName(), "RoomBase : Hall");
    EXPECT_EQ(room("Hall").GetState(), 4u);
    EXPECT_EQ(rooms.getName(), "RoomsManager : Demo");
}

// A room class that names itself apart from its factory key, made for every class asked for.
class MisnamedRoom : public CRoomBase {
public:
    std::string GetClassName() const override { return "Misnamed"; }
};

class MisnamingRooms : public CRoomsManager {
protected:
    CRoomBase* MakeRoom(const std::string&) override { return new MisnamedRoom; }
};

TEST_F(RoomsManager, AClassNamingItselfApartFromItsKeyIsWarnedOfAndKept) {
    write({"Hall", Key, "[KEY]\nObject = key\n"});
    MisnamingRooms misnaming;
    LogCapture capture;
    ASSERT_TRUE(misnaming.LoadRooms("Hall", data() + "Hall/", ""));
    EXPECT_EQ(capture.messages(),
              (std::vector<std::string>{"Warning, class 'RoomBase' return difference names "
                                        "in methods GetClassStaticName() and GetClassName()."}));
    ASSERT_TRUE(misnaming.HasRoom("Hall"));
    EXPECT_EQ(misnaming.GetRoom("Hall")->getName(), "Misnamed : Hall");
}

TEST_F(RoomsManager, FullNamesSplitAtTheFirstColon) {
    load({{"Hall", Key, "[KEY]\nObject = key\n"}});
    LogCapture capture;
    EXPECT_EQ(rooms.GetItemByFullName("Hall:KEY"), &item("Hall", "KEY"));
    EXPECT_EQ(rooms.GetItemByFullName("KEY"), nullptr);
    EXPECT_EQ(rooms.GetItemByFullName("Hall:Box:Lid"), nullptr);
    EXPECT_EQ(capture.messages(),
              (std::vector<std::string>{"CRoomManager::GetRoom(). Cannot find room: ",
                                        "CSpyItemManager::GetItem(). Cannot find item: Box:Lid"}));
    capture.clear();
    EXPECT_TRUE(rooms.HasItem("Hall", "KEY"));
    EXPECT_FALSE(rooms.HasItem("Attic", "KEY"));
    EXPECT_FALSE(rooms.AfterLoadInitRoom("Attic"));
    EXPECT_EQ(capture.messages(),
              (std::vector<std::string>{"CRoomManager::GetRoom(). Cannot find room: Attic"}));
}

TEST_F(RoomsManager, AListIsReadOnceAndARoomOfTheSameNameReplacesTheOld) {
    load({{"Hall", Key, "[KEY]\nObject = key\n"}, {"Evidence_box", "", ""}});
    EXPECT_EQ(room("Hall").GetEvidenceBox(), &room("Evidence_box"));
    // The cached list still names the rooms it named.
    dir.write("Demo/_rooms.list", "Attic\n");
    LogCapture capture;
    rooms.ResetRooms(data());
    EXPECT_TRUE(capture.messages().empty());

    ASSERT_TRUE(rooms.LoadRooms("Evidence_box", data() + "Evidence_box/", ""));
    EXPECT_EQ(room("Evidence_box").GetState(), 2u);
    EXPECT_EQ(room("Hall").GetEvidenceBox(), nullptr);
    rooms.ResetRooms(data());
    EXPECT_EQ(room("Hall").GetEvidenceBox(), &room("Evidence_box"));
    rooms.UnloadRooms(data());
    EXPECT_TRUE(rooms.GetRooms().empty());
}

TEST_F(RoomsManager, SharedRoomsTakeTheirFoldersFromTheSharedList) {
    sharedList = "Lobby\n";
    load({{"Lobby", "", ""}, {"Hall", "", ""}});
    EXPECT_EQ(rooms.GetSharedRoomDataFolder("Lobby"), "investigations:_SharedRooms/Lobby/");
    EXPECT_EQ(rooms.GetSharedRoomLanguageFolder("Lobby"), "language:Investigations/_SharedRooms/Lobby/");
    EXPECT_EQ(rooms.GetSharedRoomDataFolder("Hall"), "");
    EXPECT_EQ(rooms.GetSharedRoomLanguageFolder("Hall"), "");
}

TEST_F(RoomsManager, ASaveLoadedIntoAFreshBuildSavesTheSameBytes) {
    const std::vector<RoomText> texts{{"Study", Key, "[KEY]\nObject = key\n"},
                                      {"Hall", Key, "[PEN]\nObject = key\n"}};
    load(texts);
    room("Hall").SetPosition({3, 4});
    const std::string first = dir.file("first.save");
    SaveLoadSystem save;
    save.BeginSave(first, 4056);
    save.SaveEntity(rooms);
    ASSERT_TRUE(save.Finish());

    CRoomsManager fresh;
    fresh.LoadSharedRoomsList(&personages, nullptr);
    fresh.Init(data(), "Demo");
    finishLoading();
    fresh.AfterLoadInitRooms(data());
    fresh.ResetRooms(data());
    SaveLoadSystem load;
    ASSERT_TRUE(load.Load(first, 4056));
    ASSERT_TRUE(load.LoadEntity(fresh));
    load.Finish();
    EXPECT_EQ(fresh.GetRoom("Hall")->GetPosition(), (SpyPoint{3, 4}));

    const std::string second = dir.file("second.save");
    SaveLoadSystem again;
    again.BeginSave(second, 4056);
    again.SaveEntity(fresh);
    ASSERT_TRUE(again.Finish());
    EXPECT_EQ(dir.read("first.save"), dir.read("second.save"));
}

} // namespace

namespace {

// Two rooms, two personages with scripts, a played room.
class NewGame : public RoomKit {
protected:
    void build(CRoomsManager& rooms, CPersonagesManager& personages) {
        rooms.LoadSharedRoomsList(&personages, nullptr);
        rooms.Init(data(), "Demo");
        personages.CreatePersonages(aOptionsFile(data() + "_investigation.ini"), nullptr, &rooms);
        personages.LoadInvestigationScripts(data(), "Demo");
        finishLoading();
        rooms.AfterLoadInitRooms(data());
        rooms.ResetRooms(data());
    }

    // The rooms' and personages' records, in the order a game saves them, written to the file.
    static void save(const std::string& file, CRoomsManager& rooms, CPersonagesManager& personages) {
        SaveLoadSystem sys;
        sys.BeginSave(file, 4056);
        sys.SaveEntity(personages);
        sys.SaveEntity(rooms);
        ASSERT_TRUE(sys.Finish());
    }
};

TEST_F(NewGame, ASavedGameLoadedIntoAFreshBuildSavesTheSameBytes) {
    dir.write("Demo/_rooms.list", "Hall\nStudy\n");
    dir.write("Demo/_investigation.ini",
              "[Personages]\nPersonagesList = Ann, Bob\nStartPersonages = Ann, Bob\n");
    dir.write("Demo/Hall/Ann.ai",
              "[ROOM]\nISpyItemsCount = 2\nMustClickItems = KEY\n[KEY]\nUseTo = Study:SAFE\n");
    dir.write("Demo/Study/Bob.ai", "[ROOM]\nISpyItemsCount = 1\nRoomTask = OPEN\n");
    const std::string candidates = "[CUP]\nIsISpyItem = 1\n[PEN]\nIsISpyItem = 1\n[HAT]\nIsISpyItem = 1\n";
    write({"Hall", Key, "[KEY]\nObject = key\nIsQuestItem = 1\n" + candidates, "[Room]\nClass = RoomBase\n",
           40, 30});
    write({"Study", "", "[SAFE]\n" + candidates});
    build(rooms, personages);
    platform::srand(9);
    personages.ResetForNewGame(false);
    CPersonage& ann = *personages.GetCurrentPersonage();
    room("Hall").Enter("Demo", nullptr);
    ann.SetFocusedItem("KEY");
    ann.GetFocusedItemAbout();
    save(dir.file("first.save"), rooms, personages);

    CRoomsManager freshRooms;
    CPersonagesManager freshPersonages;
    build(freshRooms, freshPersonages);
    LogCapture capture;
    SaveLoadSystem load;
    ASSERT_TRUE(load.Load(dir.file("first.save"), 4056));
    ASSERT_TRUE(load.LoadEntity(freshPersonages));
    ASSERT_TRUE(load.LoadEntity(freshRooms));
    load.Finish();
    EXPECT_TRUE(capture.messages().empty()) << capture.messages().front();
    CPersonage& loaded = *freshPersonages.GetCurrentPersonage();
    EXPECT_EQ(loaded.GetName(), "Ann");
    EXPECT_EQ(loaded.GetFocusedItem(), "KEY");
    EXPECT_EQ(loaded.GetItemTouchCount("Hall", "KEY"), 1u);
    EXPECT_EQ(freshRooms.GetRoom("Hall")->GetState(), 9u);
    EXPECT_EQ(loaded.GetRoomInfo("Hall").m_GeneratedGroups.size(), 2u);
    save(dir.file("second.save"), freshRooms, freshPersonages);
    EXPECT_EQ(dir.read("first.save"), dir.read("second.save"));
}

} // namespace
