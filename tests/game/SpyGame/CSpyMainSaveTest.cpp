// The demo game saved by the game object and continued from the main menu, as a player does: the
// whole game (flow, game object, investigation, panel, rooms) on the shared test engine.
#include "game/SpyGame/CDialogMessage.h"
#include "game/SpyGame/CInvestigation.h"
#include "game/SpyGame/CSpyMain.h"
#include "game/SpyGame/Rooms/CRoomBase.h"
#include "support/TempDir.h"
#include "support/engine/TestEngine.h"
#include "support/game/DemoGame.h"
#include "tk2v/file/file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> roomNames(const std::vector<CRoomBase*>& rooms) {
    std::vector<std::string> names;
    for (const CRoomBase* room : rooms)
        names.push_back(room->GetName());
    return names;
}

TEST(CSpyMainSave, AGameSavedAtTheDeskCloseUpContinuesThereAndSavesTheSameBytes) {
    testGraphServer();
    TempDir dir;
    demo::DemoGame demo(RVH_DEMO_DATA, dir.path());
    ASSERT_TRUE(demo.play());
    CSpyMain& game = demo.game();
    CInvestigation& inv = demo.investigation();
    if (inv.GetState() == CInvestigation::OnMap) {
        ASSERT_TRUE(demo.goThrough("HALL", "room_Hall"));
    }
    ASSERT_TRUE(demo.goThrough("DESK", "zoom_Desk"));
    // A message box that is up slides in anew in a continued game; the player has closed it.
    game.GetPanel().GetMessage().Hide();
    ASSERT_TRUE(game.SaveGame());
    const std::string saved = dir.read("saves/" + file_getName(game.GetSaveFileName()));

    // Save and exit leaves the investigation stopped and the game object back at the menu.
    inv.Stop();
    game.ResetMapAndCardsRooms();
    ASSERT_EQ(inv.GetCurrentRoomPtr(), nullptr);
    game.ContinuePlay();
    EXPECT_EQ(game.GetStartMode(), CSpyMain::CONTINUED);
    for (int i = 0; i < 2 && game.GetState() != CSpyMain::PLAYING; ++i)
        game.FrameMove(demo::DemoGame::FrameTime);
    ASSERT_EQ(game.GetState(), CSpyMain::PLAYING);
    EXPECT_EQ(inv.GetState(), CInvestigation::Playing);
    ASSERT_NE(inv.GetCurrentRoomPtr(), nullptr);
    EXPECT_EQ(inv.GetCurrentRoomPtr()->GetName(), "zoom_Desk");
    EXPECT_EQ(roomNames(inv.GetHistory()), std::vector<std::string>{"room_Hall"});
    EXPECT_TRUE(inv.IsCloseUp());

    ASSERT_TRUE(game.SaveGame());
    EXPECT_EQ(dir.read("saves/" + file_getName(game.GetSaveFileName())), saved);
}

} // namespace
