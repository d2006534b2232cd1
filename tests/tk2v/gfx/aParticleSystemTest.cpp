#include "tk2v/gfx/aParticleSystem.h"

#include "support/LogCapture.h"
#include "support/TempDir.h"
#include "support/engine/TestEngine.h"
#include "tk2v/gfx/aGraphServer.h"
#include "tk2v/gfx/aImage.h"
#include "tk2v/platform/GraphicsDevice.h"
#include "tk2v/platform/Random.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <string>
#include <vector>

namespace {

constexpr f32 kFrame = 1.0f / 60;

class ParticleSystemTest : public ::testing::Test {
protected:
    aParticleSystem load(const std::string& text) const {
        m_dir.write("system.psys", text);
        return aParticleSystem(m_dir.file("system.psys"), nullptr, "");
    }

    static void run(aParticleSystem& system, int frames, f32 dt = kFrame) {
        for (int i = 0; i < frames; ++i)
            system.update(dt);
    }

    // A single particle that stays where it is born, stepped four times a second.
    aParticleSystem still(const std::string& extra = "") const {
        return load("fps 4\nemitter_life 0\nemit_per_sec 1\nvelocity 0 0\n" + extra);
    }

private:
    TempDir m_dir;
};

TEST_F(ParticleSystemTest, ReadsEveryKeyAndKeepsWhatALineDoesNotSupply) {
    aParticleSystem system = load("max_particles 250\n"
                                  "fps 50\n"
                                  "emitter_type 2\n"
                                  "emitter_life 4.5\n"
                                  "emitter_size 10 20\n"
                                  "emitter_angle 0.5\n"
                                  "emit_per_sec 12\n"
                                  "blend_mode 1\n"
                                  "spread 1 2\n"
                                  "spread_relative 3\n"
                                  "spin_by_dir 1\n"
                                  "particle_life 0.5 0.75\n"
                                  "gravity 5 6\n"
                                  "wind -1 1\n"
                                  "radial_acc 2 3\n"
                                  "tangential_acc 4\n" // max keeps its default
                                  "velocity 7 8\n"
                                  "spin 0.25 0.5 1\n"
                                  "size 2 3 0.5\n"
                                  "color 80FF4000 00102030 0.25\n" // alpha variation keeps its default
                                  "texture spark extra words\n"
                                  "# a comment line\n"
                                  "FPS 99\n" // keys are exact
                                  "emit_per_sec 15\n");
    aParticleSystem::Params expected;
    expected.maxParticles = 250;
    expected.simulationRate = 50;
    expected.emitterType = 2;
    expected.emitterLife = 4.5f;
    expected.emitterSize[0] = 10;
    expected.emitterSize[1] = 20;
    expected.emitterAngle = 0.5f;
    expected.emissionRate = 15;
    expected.blendMode = 1;
    expected.spread = {1, 2};
    expected.spreadRelative = true;
    expected.spinByDirection = true;
    expected.particleLife = {0.5f, 0.75f};
    expected.gravity = {5, 6};
    expected.wind = {-1, 1};
    expected.radialAcc = {2, 3};
    expected.tangentialAcc = {4, 0};
    expected.velocity = {7, 8};
    expected.spin[0] = 0.25f;
    expected.spin[1] = 0.5f;
    expected.spin[2] = 1;
    expected.size[0] = 2;
    expected.size[1] = 3;
    expected.size[2] = 0.5f;
    const f32 byte = 0.003921569f;
    const f32 start[4] = {255 * byte, 64 * byte, 0, 128 * byte},
              end[4] = {16 * byte, 32 * byte, 48 * byte, 0};
    std::copy(start, start + 4, expected.startColour);
    std::copy(end, end + 4, expected.endColour);
    expected.colourVariation = 0.25f;
    EXPECT_TRUE(system.params() == expected);
    EXPECT_EQ(system.getTextureName(), "spark");
}

TEST_F(ParticleSystemTest, MissingFileKeepsTheDefaults) {
    LogCapture capture;
    aParticleSystem system("/nonexistent/none.psys", nullptr, "");
    EXPECT_TRUE(system.params() == aParticleSystem::Params{});
    EXPECT_EQ(system.getTextureName(), "");
    EXPECT_EQ(system.getTexture(), nullptr);
}

TEST_F(ParticleSystemTest, NegativeCountsCountAsNone) {
    aParticleSystem system = load("max_particles -5\nfps -60\nemit_per_sec -30\n");
    EXPECT_EQ(system.params().maxParticles, 0u);
    EXPECT_EQ(system.params().simulationRate, 0u);
    EXPECT_EQ(system.params().emissionRate, 0u);
}

// Values pinned from a seeded run after checking them: about 40 born a second, living 1 to 2 s, from
// a 100 x 20 box around (400, 300), drifting and falling outwards.
TEST_F(ParticleSystemTest, SeededRunIsRepeatable) {
    const std::string file = "fps 60\nmax_particles 200\nemit_per_sec 40\nemitter_type 1\n"
                             "emitter_size 50 10\nemitter_angle 0.3\nparticle_life 1 2\nvelocity 20 60\n"
                             "gravity 10 30\nwind -5 5\nradial_acc 0 10\ntangential_acc -5 5\n"
                             "size 1 0.5 0.3\ncolor FFFFFFFF 00FF0000 0.5 0.5\nspin 0 3 1\n";
    struct Sample {
        u32 live;
        aRect bounds;
    };
    auto sampleRun = [&] {
        platform::srand(7);
        aParticleSystem system = load(file);
        system.setBoundsTracking(true);
        system.startAt(400, 300);
        std::vector<Sample> samples;
        for (int frames : {30, 30, 120}) {
            run(system, frames);
            samples.push_back({system.getLiveCount(), system.getBounds()});
        }
        return samples;
    };
    const std::vector<Sample> first = sampleRun(), second = sampleRun();
    ASSERT_EQ(first.size(), 3u);
    const Sample pinned[3] = {
        {20, {368, 268, 91, 59}}, {40, {337, 255, 146, 105}}, {61, {302, 230, 185, 209}}};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(first[i].live, second[i].live);
        EXPECT_EQ(first[i].bounds, second[i].bounds);
        EXPECT_EQ(first[i].live, pinned[i].live) << "sample " << i;
        EXPECT_EQ(first[i].bounds, pinned[i].bounds) << "sample " << i;
    }
}

TEST_F(ParticleSystemTest, EmitterLifeDecidesHowLongItEmits) {
    {
        SCOPED_TRACE("endless");
        aParticleSystem system = load("fps 60\nemit_per_sec 30\nparticle_life 0.5 0.5\n");
        system.start();
        run(system, 600);
        EXPECT_TRUE(system.isEmitting());
        EXPECT_GE(system.getLiveCount(), 14u);
        EXPECT_LE(system.getLiveCount(), 16u);
        system.stopEmitter();
        run(system, 60);
        EXPECT_TRUE(system.isFinished());
    }
    {
        SCOPED_TRACE("one burst, capped");
        aParticleSystem system = load("fps 60\nemitter_life 0\nemit_per_sec 30\nmax_particles 20\n");
        system.start();
        EXPECT_EQ(system.getLiveCount(), 20u);
        EXPECT_FALSE(system.isEmitting());
        run(system, 60);
        EXPECT_EQ(system.getLiveCount(), 20u); // lives of 2..3 s, and nothing more is emitted
        run(system, 120);
        EXPECT_TRUE(system.isFinished());
    }
    {
        SCOPED_TRACE("for 1.5 seconds");
        aParticleSystem system =
            load("fps 60\nemitter_life 1.5\nemit_per_sec 30\nparticle_life 100 100\nmax_particles 1000\n");
        system.start();
        run(system, 89);
        EXPECT_TRUE(system.isEmitting());
        run(system, 2);
        EXPECT_FALSE(system.isEmitting());
        const u32 emitted = system.getLiveCount();
        EXPECT_GE(emitted, 44u);
        EXPECT_LE(emitted, 46u);
        run(system, 60);
        EXPECT_EQ(system.getLiveCount(), emitted);
    }
}

TEST_F(ParticleSystemTest, EmissionCarriesTheFractionOver) {
    aParticleSystem system = load("fps 60\nemit_per_sec 30\nparticle_life 100 100\nmax_particles 1000\n");
    system.start();
    u32 before = 0;
    for (int i = 0; i < 120; ++i) {
        system.update(kFrame);
        const u32 now = system.getLiveCount();
        EXPECT_LE(now - before, 1u) << "step " << i;
        before = now;
    }
    EXPECT_GE(system.getLiveCount(), 59u);
    EXPECT_LE(system.getLiveCount(), 60u);
}

TEST_F(ParticleSystemTest, ZeroRateFreezesTheSystem) {
    aParticleSystem system = load("fps 0\nemitter_life 0\nemit_per_sec 25\nvelocity 50 50\n");
    system.setBoundsTracking(true);
    system.startAt(10, 10);
    run(system, 100, 1.0f);
    EXPECT_EQ(system.getLiveCount(), 25u);
    EXPECT_EQ(system.getClock(), 0);
    EXPECT_EQ(system.getBounds(), aRect{});

    aParticleSystem endless = load("fps 0\n");
    endless.start();
    run(endless, 100, 1.0f);
    EXPECT_EQ(endless.getLiveCount(), 0u);
}

TEST_F(ParticleSystemTest, NeverMoreThanAThousandLive) {
    aParticleSystem burst = load("max_particles 5000\nemitter_life 0\nemit_per_sec 5000\n");
    burst.start();
    EXPECT_EQ(burst.getLiveCount(), 1000u);

    aParticleSystem flood = load("fps 10\nmax_particles 5000\nemit_per_sec 100000\nparticle_life 100 100\n");
    flood.start();
    run(flood, 3, 0.1f);
    EXPECT_EQ(flood.getLiveCount(), 1000u);
}

TEST_F(ParticleSystemTest, ParticleDiesAtTheStepThatReachesItsLife) {
    aParticleSystem system = still("particle_life 0.5 0.5\n");
    system.setBoundsTracking(true);
    system.startAt(20, 30);
    system.update(0.25f);
    EXPECT_EQ(system.getLiveCount(), 1u);
    EXPECT_EQ(system.getBounds(), (aRect{20, 30, 0, 0}));
    system.update(0.25f);
    EXPECT_EQ(system.getLiveCount(), 0u);
    EXPECT_EQ(system.getBounds(), aRect{});
}

TEST_F(ParticleSystemTest, SetPositionDragsParticlesAndStartAtDoesNot) {
    aParticleSystem system = still();
    system.setBoundsTracking(true);
    system.startAt(100, 50);
    system.update(0.25f);
    EXPECT_EQ(system.getBounds(), (aRect{100, 50, 0, 0}));
    system.setPosition(130, 70);
    system.update(0.25f);
    EXPECT_EQ(system.getBounds(), (aRect{130, 70, 0, 0}));
    system.startAt(10, 10);
    system.update(0.25f);
    EXPECT_EQ(system.getBounds(), (aRect{10, 10, 120, 60}));
    EXPECT_EQ(system.getX(), 10);
}

TEST_F(ParticleSystemTest, BoundsOffTheTopLeftOfTheScreen) {
    aParticleSystem system = still();
    system.setBoundsTracking(true);
    system.startAt(-100, -50);
    system.update(0.25f);
    EXPECT_EQ(system.getBounds(), (aRect{-100, -50, 0, 0}));

    aParticleSystem untracked = still();
    untracked.startAt(-100, -50);
    untracked.update(0.25f);
    EXPECT_EQ(untracked.getBounds(), aRect{});
}

TEST_F(ParticleSystemTest, SpreadRelativeOfAStillEmitterTurnsHalfACircle) {
    aParticleSystem system = load("fps 4\nemitter_life 0\nemit_per_sec 1\nspread 0 0\nvelocity 40 40\n"
                                  "spread_relative 1\n");
    system.setBoundsTracking(true);
    system.startAt(100, 100);
    system.update(0.25f);
    EXPECT_EQ(system.getBounds(), (aRect{90, 100, 0, 0}));
}

TEST_F(ParticleSystemTest, ResetRemovesEverything) {
    aParticleSystem system = load("fps 60\n");
    system.setBoundsTracking(true);
    system.start();
    run(system, 30);
    ASSERT_GT(system.getLiveCount(), 0u);
    system.reset();
    EXPECT_TRUE(system.isFinished());
    EXPECT_EQ(system.getClock(), 0);
    EXPECT_EQ(system.getBounds(), aRect{});
}

TEST_F(ParticleSystemTest, CopiesTakeParametersButNotState) {
    aParticleSystem original = load("fps 60\nemit_per_sec 50\ntexture spark\n");
    original.setBoundsTracking(true);
    original.startAt(300, 200);
    run(original, 30);
    ASSERT_GT(original.getLiveCount(), 0u);

    aParticleSystem copy(original);
    EXPECT_TRUE(copy.params() == original.params());
    EXPECT_TRUE(copy.isBoundsTracking());
    EXPECT_EQ(copy.getLiveCount(), 0u);
    EXPECT_EQ(copy.getClock(), 0);
    EXPECT_EQ(copy.getX(), 0);
    EXPECT_FALSE(copy.isEmitting());
    EXPECT_EQ(copy.getTextureName(), "");

    aParticleSystem target = load("fps 30\nemit_per_sec 10\n");
    target.startAt(5, 6);
    run(target, 60);
    ASSERT_GT(target.getLiveCount(), 0u);
    const f32 clock = target.getClock();
    target = original;
    EXPECT_TRUE(target.params() == original.params());
    EXPECT_EQ(target.getLiveCount(), 0u);
    EXPECT_EQ(target.getClock(), clock);
    EXPECT_EQ(target.getX(), 5);
    EXPECT_TRUE(target.isEmitting());
    // The dropped particles are reused: the copy runs on as before.
    run(target, 60);
    EXPECT_GT(target.getLiveCount(), 0u);
    EXPECT_EQ(original.getX(), 300);
}

TEST_F(ParticleSystemTest, OwnerWritesCountAndExtentsAndScales) {
    aParticleSystem system = load("fps 4\nemitter_life 0\nemit_per_sec 100\nemitter_type 1\n"
                                  "velocity 0 0\n");
    system.params().maxParticles = 12;
    system.params().emitterSize[0] = 20;
    system.params().emitterSize[1] = 10;
    system.setBoundsTracking(true);
    system.startAt(200, 100);
    system.update(0.25f);
    EXPECT_EQ(system.getLiveCount(), 12u);
    const aRect box = system.getBounds();
    EXPECT_GE(box.x, 180);
    EXPECT_LE(box.x + box.w, 220);
    EXPECT_GE(box.y, 90);
    EXPECT_LE(box.y + box.h, 110);

    aParticleSystem mover = load("fps 4\nemitter_life 0\nemit_per_sec 1\nspread 0 0\nvelocity 10 10\n");
    mover.setBoundsTracking(true);
    mover.startAt(100, 100);
    mover.scale(2);
    mover.update(0.25f);
    EXPECT_EQ(mover.getBounds().x, 105);
    EXPECT_EQ(mover.params().velocity, (aParticleSystem::Range{20, 20}));
}

TEST_F(ParticleSystemTest, AbsurdValuesNeitherCrashNorHang) {
    aParticleSystem system = load("fps 2000000000\nmax_particles 99999999999\nemitter_life 0\n"
                                  "emit_per_sec 300\nparticle_life nan inf\nvelocity inf -inf\n"
                                  "size nan 1 1\ncolor FFFFFFFF 0 nan nan\nemitter_size 1e39 -1e39\n"
                                  "emitter_type 7\nspin inf nan 1\n");
    system.setBoundsTracking(true);
    system.startAt(1e30f, -1e30f);
    system.update(1e30f);
    EXPECT_LE(system.getClock(), 10.01f);
    system.update(-5);
    system.update(std::numeric_limits<f32>::quiet_NaN());
    system.setPosition(std::numeric_limits<f32>::infinity(), 0);
    system.start();
    system.update(0.5f);
    system.render();

    aParticleSystem lifeless = load("fps 60\nparticle_life nan nan\nemit_per_sec 1000\n");
    lifeless.start();
    run(lifeless, 10);
    EXPECT_LE(lifeless.getLiveCount(), 100u);
}

// Drawing goes through the shared graph server of the test program.
class ParticleDrawTest : public ParticleSystemTest {
protected:
    // 8 x 4: the left half opaque white, the right half transparent.
    static aImage halfWhite() {
        testGraphServer(); // textures need its device
        aImage image;
        image.create(8, 4);
        u32* bits = nullptr;
        i32 pitch = 0;
        if (image.lock(&bits, &pitch, nullptr, false)) {
            for (int y = 0; y < 4; ++y)
                for (int x = 0; x < 8; ++x)
                    bits[y * pitch + x] = x < 4 ? 0xFFFFFFFF : 0;
            image.unlock();
        }
        return image;
    }

    static std::vector<u8> drawn(aParticleSystem& system) {
        aGraphServer& graph = testGraphServer();
        std::vector<u8> rgba;
        if (!graph.beginScene())
            return rgba;
        system.render();
        graph.getDevice()->readBackBuffer({0, 0, 1024, 768}, rgba);
        graph.endScene();
        return rgba;
    }

    static std::string rgbAt(const std::vector<u8>& rgba, int x, int y) {
        const u8* p = &rgba[(size_t(y) * 1024 + size_t(x)) * 4];
        return std::to_string(p[0]) + " " + std::to_string(p[1]) + " " + std::to_string(p[2]);
    }
    static bool isRed(const std::vector<u8>& rgba, int x, int y) {
        const u8* p = &rgba[(size_t(y) * 1024 + size_t(x)) * 4];
        return p[0] > 200 && p[1] < 40 && p[2] < 40;
    }
    static bool isBlack(const std::vector<u8>& rgba, int x, int y) {
        const u8* p = &rgba[(size_t(y) * 1024 + size_t(x)) * 4];
        return p[0] < 40 && p[1] < 40 && p[2] < 40;
    }
};

TEST_F(ParticleDrawTest, QuadCoversItsPixelsWithTheTextureTheRightWayRound) {
    const aImage image = halfWhite();
    ASSERT_TRUE(image.hasTexture());
    struct Point {
        int x, y;
    };
    struct Case {
        const char* spin;
        std::vector<Point> red, black;
    };
    // Size 2: a 16 x 8 quad centred on (100, 50) covers 92..107 x 46..53 unturned, the texture's clear
    // half on the right. Turned a quarter clockwise it covers 96..103 x 42..57, the white half on top.
    const Case cases[] = {
        {"spin 0 0 0", {{93, 46}, {93, 53}, {99, 50}}, {{91, 50}, {93, 45}, {93, 54}, {104, 50}}},
        {"spin 1.5707964 1.5707964 0", {{100, 43}, {98, 48}}, {{95, 44}, {100, 41}, {100, 56}, {104, 44}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.spin);
        aParticleSystem system =
            still(std::string("color FFFF0000 FFFF0000 0 0\nsize 2 2 0\n") + c.spin + "\n");
        system.setTexture(&image);
        EXPECT_EQ(system.getSourceRect(), (aRect{0, 0, 8, 4}));
        system.startAt(100, 50);
        const std::vector<u8> rgba = drawn(system);
        ASSERT_EQ(rgba.size(), 1024u * 768 * 4);
        for (const Point& p : c.red)
            EXPECT_TRUE(isRed(rgba, p.x, p.y)) << p.x << ", " << p.y << ": " << rgbAt(rgba, p.x, p.y);
        for (const Point& p : c.black)
            EXPECT_TRUE(isBlack(rgba, p.x, p.y)) << p.x << ", " << p.y << ": " << rgbAt(rgba, p.x, p.y);
    }
}

TEST_F(ParticleDrawTest, RestoresTheRenderModeAndSharesTheTexture) {
    const aImage image = halfWhite();
    ASSERT_TRUE(image.hasTexture());
    aParticleSystem system = still("blend_mode 1\n");
    const aRect left{0, 0, 4, 4};
    system.setTexture(&image, &left);
    system.startAt(40, 40);
    aGraphServer& graph = testGraphServer();
    ASSERT_TRUE(graph.beginScene());
    graph.setRenderMode(0x100);
    system.render();
    EXPECT_EQ(graph.getRenderMode(), 0x100u);
    graph.endScene();

    const aParticleSystem copy(system);
    ASSERT_NE(copy.getTexture(), nullptr);
    EXPECT_EQ(copy.getTexture()->getTexture(), image.getTexture());
    EXPECT_EQ(copy.getSourceRect(), left);
}

} // namespace
