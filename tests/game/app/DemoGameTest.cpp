// The whole demo game as the benchmarks and fuzz targets have it, started into a case of its
// choice.
#include "support/game/DemoGame.h"
#include "support/TempDir.h"
#include "support/game/DemoCases.h"
#include "tk2v/gfx/aApplication.h"
#include "tk2v/gfx/aGraphServer.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

// Every case starts at its start, on its map, and its map leads into its first room; with no case
// named the first one starts anew.
TEST(DemoGame, StartsTheNamedCaseAtItsStart) {
    aApplication app;
    // Items take their hit areas from their pictures, which need the device.
    aGraphServer graph(1024, 768, false, true);
    ASSERT_FALSE(graph.getFatalError());
    for (const demo::DemoCase& c : demo::cases()) {
        SCOPED_TRACE(c.name);
        TempDir folder;
        const bool first = c.name == demo::cases().front().name;
        demo::DemoGame game(RVH_DEMO_DATA, folder.path(), std::nullopt, first ? "" : c.name);
        ASSERT_TRUE(game.play());
        EXPECT_EQ(game.game().GetCurrentInvestigation(), c.name);
        EXPECT_EQ(game.game().GetStartMode(), first ? CSpyMain::NEW_GAME : CSpyMain::CONTINUED);
        ASSERT_EQ(game.investigation().GetState(), CInvestigation::OnMap);
        EXPECT_TRUE(game.goThrough(c.door, c.hub));
    }
}

} // namespace
