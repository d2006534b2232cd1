// The bundled demo's cases played as the game plays them: each case's rooms registered from its
// "_rooms.list", loaded with the global resources they draw on, its personage's scripts read, a new
// game started, saved, loaded into a fresh build and saved again.
#include "game/CParticleManager.h"
#include "game/CResManager.h"
#include "game/SaveLoadSystem.h"
#include "game/SpyGame/CPersonage.h"
#include "game/SpyGame/CPersonagesManager.h"
#include "game/SpyGame/Rooms/CRoomBase.h"
#include "game/SpyGame/Rooms/CRoomsManager.h"
#include "support/LogCapture.h"
#include "support/TempDir.h"
#include "support/engine/TestEngine.h"
#include "support/game/DemoCases.h"
#include "tk2v/file/aFileServer.h"
#include "tk2v/file/aLocaleServer.h"
#include "tk2v/file/aOptionsFile.h"
#include "tk2v/file/aStringList.h"
#include "tk2v/file/file.h"
#include "tk2v/gfx/aImageManager.h"
#include "tk2v/platform/Random.h"
#include "tk2v/sound/aSoundManager.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

const std::string kData = RVH_DEMO_DATA;

// One build of the game's investigation layer: its own resource owner, personages and rooms.
// Members go in reverse order, so the rooms, which hold the resources' pictures, go first.
struct Game {
    CResManager res{false};
    CPersonagesManager personages;
    CRoomsManager rooms;
};

class DemoInvestigation : public testing::TestWithParam<demo::DemoCase> {
protected:
    DemoInvestigation() {
        testGraphServer();
        if (!aFileServer::getInstance())
            files = std::make_unique<aFileServer>();
        aFileServer& server = *aFileServer::getInstance();
        server.setAssign("gamedata", kData + "GameData/");
        server.setAssign("images", "gamedata:Images/");
        server.setAssign("sounds", "gamedata:Sounds/");
        server.setAssign("particles", "gamedata:Particles/");
        server.setAssign("language", "gamedata:Language/" +
                                         aOptionsFile(kData + "Game.ini").getValue("Other", "Language") +
                                         "/");
        server.setAssign("investigations", "gamedata:Investigations/");
        server.setAssign("fonts", "language:Fonts/");
    }

    static std::string name() { return GetParam().name; }
    static std::string data() { return "investigations:" + name() + "/"; }

    // Opens the investigation as the game does once its global resources are queued: rooms
    // registered and their resources loaded, personages and their scripts, rooms made from their
    // ini files.
    static void open(Game& game) {
        // The global pictures, particle systems and sounds the rooms draw on (the game queues
        // these and its GUI's at start-up).
        game.res.getImageManager()->AddListToTask("images:Particles/_images.list", "Particles");
        game.res.getParticleManager()->AddListToTask("particles:_particles.list", "");
        game.res.getSoundManager()->AddListToTask("sounds:_sounds.list", "");
        game.rooms.LoadSharedRoomsList(&game.personages, nullptr);
        game.rooms.Init(data(), name());
        game.res.getLocaleServer()->loadFile("language:Investigations/" + name() + "/investigation.txt",
                                             name());
        game.res.BeginLoading();
        while (!game.res.isDone())
            game.res.LoadStep();
        game.personages.CreatePersonages(aOptionsFile(data() + "_investigation.ini"), nullptr, &game.rooms);
        game.personages.LoadScripts(data() + "GlobalMap.AI/", "_GlobalMap");
        game.personages.LoadInvestigationScripts(data(), name());
        game.rooms.AfterLoadInitRooms(data());
    }

    // A new game: personages and rooms reset, the first active personage selected.
    static void start(Game& game) {
        game.personages.ResetForNewGame(false);
        game.rooms.ResetRooms(data());
        game.personages.SelectPersonage(game.personages.GetActivePersonages().front());
    }

    // The personages' and the rooms' records, in the order the investigation saves them.
    void save(const std::string& file, Game& game) {
        SaveLoadSystem sys;
        sys.BeginSave(dir.file(file), 4056);
        sys.SaveEntity(game.personages);
        sys.SaveEntity(game.rooms);
        ASSERT_TRUE(sys.Finish());
    }

    std::unique_ptr<aFileServer> files;
    TempDir dir;
};

// Any line of these shapes means the data names something the code cannot find.
std::vector<std::string> missingLines(const std::vector<std::string>& lines) {
    std::vector<std::string> out;
    for (const std::string& line : lines)
        for (const char* shape : {"not found", "Not find", "Cannot find", "not exist"})
            if (line.find(shape) != std::string::npos)
                out.push_back(line);
    return out;
}

TEST_P(DemoInvestigation, ANewGameSavedLoadedIntoAFreshBuildAndSavedAgainKeepsItsBytes) {
    LogCapture capture;
    {
        Game game;
        open(game);
        const aStringList rooms(data() + "_rooms.list");
        for (const std::string& room : rooms.lines())
            ASSERT_TRUE(game.rooms.HasRoom(room)) << room;
        platform::srand(5);
        start(game);
        ASSERT_NE(game.personages.GetCurrentPersonage(), nullptr);
        game.rooms.GetRoom(GetParam().hub)->Enter(name(), nullptr);
        save("first.save", game);
    }

    Game fresh;
    open(fresh);
    start(fresh);
    SaveLoadSystem load;
    ASSERT_TRUE(load.Load(dir.file("first.save"), 4056));
    EXPECT_TRUE(load.LoadEntity(fresh.personages));
    EXPECT_TRUE(load.LoadEntity(fresh.rooms));
    load.Finish();
    CPersonage& personage = *fresh.personages.GetCurrentPersonage();
    EXPECT_EQ(personage.GetName(), GetParam().personage);
    if (name() == "Demo") {
        // "ISpyItemsCount = 2" in the hall: the cups and the hat.
        EXPECT_EQ(personage.GetRoomInfo("room_Hall").m_GeneratedGroups.size(), 2u);
    }
    save("second.save", fresh);
    EXPECT_EQ(dir.read("first.save"), dir.read("second.save"));
    EXPECT_EQ(missingLines(capture.messages()), std::vector<std::string>());
}

INSTANTIATE_TEST_SUITE_P(EveryCase, DemoInvestigation, testing::ValuesIn(demo::cases()),
                         [](const testing::TestParamInfo<demo::DemoCase>& info) { return info.param.name; });

} // namespace
