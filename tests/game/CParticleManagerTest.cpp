#include "game/CParticleManager.h"
#include "support/LogCapture.h"
#include "support/TempDir.h"
#include "tk2v/gfx/aImageManager.h"
#include "tk2v/gfx/aParticleSystem.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> g_reported;

void recordReported(const std::string& fileName) {
    g_reported.push_back(fileName);
}

// Particle files without a texture line: the manager's keys and sharing do not depend on pictures.
class ParticleManagerTest : public testing::Test {
protected:
    void SetUp() override {
        g_reported.clear();
        dir.write("Fog.psys", "emit_per_sec 15\n");
        dir.write("Rain.psys", "emit_per_sec 40\n");
        dir.write("all.list", "Fog\nRain\n");
        manager.setImageManager(&images, "particles");
        manager.setProgressCallback(recordReported);
    }

    TempDir dir;
    aImageManager images;
    CParticleManager manager;
    LogCapture capture;
};

TEST_F(ParticleManagerTest, KeysAreExactCaseAndUsersShareTheTemplate) {
    manager.loadList(dir.file("all.list"), "");
    EXPECT_EQ(g_reported, (std::vector<std::string>{"Fog.psys", "Rain.psys"}));
    auto fog = manager.getParticle("Fog");
    ASSERT_TRUE(fog);
    EXPECT_EQ(fog->params().emissionRate, 15u);
    EXPECT_EQ(manager.getParticle("Fog"), fog);
    EXPECT_EQ(manager.getParticle("Rain")->params().emissionRate, 40u);

    // (The systems have logged their missing textures.)
    capture.clear();

    EXPECT_FALSE(manager.getParticle("fog"));
    EXPECT_FALSE(manager.getParticle("Fog", "Room"));
    EXPECT_EQ(capture.messages(),
              (std::vector<std::string>{"CParticleManager. Cannot find particle: fog",
                                        "CParticleManager. Cannot find particle: Fog : Room"}));

    // A second load keeps the first template.
    capture.clear();
    dir.write("Fog.psys", "emit_per_sec 99\n");
    manager.loadList(dir.file("all.list"), "");
    EXPECT_EQ(capture.messages(),
              (std::vector<std::string>{"CParticleManager. Particle with name \"Fog\" already loaded!",
                                        "CParticleManager. Particle with name \"Rain\" already loaded!"}));
    EXPECT_EQ(manager.getParticle("Fog"), fog);
}

TEST_F(ParticleManagerTest, GroupsGiveTheirOwnKeysAndUnloadingTakesTheFirstWord) {
    manager.loadList(dir.file("all.list"), "a");
    manager.loadList(dir.file("all.list"), "b");
    for (const char* group : {"a", "b"}) {
        EXPECT_TRUE(manager.getParticle("Fog", group)) << group;
        EXPECT_TRUE(manager.getParticle("Rain", group)) << group;
    }
    dir.write("unload.list", "Fog with a comment\n");
    manager.unloadList(dir.file("unload.list"), "a");
    capture.clear();
    EXPECT_FALSE(manager.getParticle("Fog", "a"));
    EXPECT_TRUE(manager.getParticle("Rain", "a"));
    EXPECT_TRUE(manager.getParticle("Fog", "b"));
    EXPECT_EQ(capture.messages().size(), 1u);
}

TEST_F(ParticleManagerTest, AHolderKeepsAnUnloadedTemplateAlive) {
    manager.loadList(dir.file("all.list"), "");
    auto fog = manager.getParticle("Fog");
    manager.unloadList(dir.file("all.list"), "");
    EXPECT_EQ(fog.use_count(), 1);
    EXPECT_EQ(fog->params().emissionRate, 15u);
}

TEST_F(ParticleManagerTest, QueuedTasksLoadTheWholeLine) {
    manager.AddListToTask(dir.file("all.list"), "");
    manager.runAllTasks();
    EXPECT_TRUE(manager.getParticle("Rain"));
}

TEST(ParticleManagerAloneTest, WithoutAnImageManagerNothingLoads) {
    TempDir dir;
    dir.write("Fog.psys", "");
    dir.write("two.list", "Fog\nFog2\n");
    LogCapture capture;
    CParticleManager manager;
    manager.loadList(dir.file("two.list"), "");
    EXPECT_EQ(capture.messages(), (std::vector<std::string>{"CParticleManager. Class Not Initialized!",
                                                            "CParticleManager. Class Not Initialized!"}));
}

} // namespace
