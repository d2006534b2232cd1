#include "game/SpyGame/CSpyObject.h"
#include "game/SpyGame/CSpyObjAnimation.h"
#include "game/SpyGame/CSpyObjImage.h"
#include "game/SpyGame/CSpyObjParticles.h"
#include "support/LogCapture.h"
#include "support/game/SaveRecords.h"
#include "support/game/SceneKit.h"
#include "tk2v/gfx/aAnim.h"
#include "tk2v/gfx/aParticleSystem.h"

#include <gtest/gtest.h>

#include <numbers>

namespace {

constexpr f32 Pi = std::numbers::pi_v<f32>;

// 20 x 20, transparent but for an opaque 5 x 5 top-left corner.
std::vector<u32> cornerPixels() {
    std::vector<u32> pixels(20 * 20, 0x00FFFFFF);
    for (u32 y = 0; y < 5; ++y)
        for (u32 x = 0; x < 5; ++x)
            pixels[y * 20 + x] = 0xFFFFFFFF;
    return pixels;
}

// The corner picture as the image "corner" and as a one-frame animation "corner" of room "Hall", with a
// wholly opaque 10 x 10 icon for the image.
struct CornerScene : ::testing::Test {
    CornerScene() {
        kit.addImage("corner", 20, 20, cornerPixels(), "Hall");
        kit.addImage("corner_icon", 10, 10, std::vector<u32>(100, 0xFFFFFFFF), "Hall");
        kit.addAnim("corner", "corner", 20, 20, 1, "Hall");
    }
    // At (100.7, 50.2): the drawn rectangle is (100, 50) - (119, 69).
    template <class T> std::unique_ptr<T> corner(const std::string& keys = "") {
        return kit.load<T>("[corner]\nImage = corner\nX = 100\nY = 50\n" + keys, "corner", "Hall");
    }
    SceneKit kit;
};

struct HitCase {
    const char* what;
    u32 threshold;
    u32 color;
    f32 rotation;
    i32 x, y;
    bool image, animation;
};

TEST_F(CornerScene, AlphaHitTests) {
    const HitCase cases[] = {
        {"opaque", 1, 0xFFFFFFFF, 0, 102, 52, true, true},
        {"right of the corner: its left neighbour", 1, 0xFFFFFFFF, 0, 105, 50, true, false},
        {"below the corner: its upper neighbour", 1, 0xFFFFFFFF, 0, 104, 55, true, false},
        {"diagonal: no neighbour", 1, 0xFFFFFFFF, 0, 105, 55, false, false},
        {"two away", 1, 0xFFFFFFFF, 0, 106, 50, false, false},
        {"threshold 0: transparent", 0, 0xFFFFFFFF, 0, 115, 65, true, true},
        {"threshold 0: one past the edge, by the neighbour", 0, 0xFFFFFFFF, 0, 120, 60, true, false},
        {"threshold 0: two past", 0, 0xFFFFFFFF, 0, 121, 60, false, false},
        {"threshold 255: opaque", 255, 0xFFFFFFFF, 0, 102, 52, false, false},
        {"colour alpha 0", 1, 0x00FFFFFF, 0, 102, 52, false, false},
        {"colour alpha 0, threshold 0", 0, 0x00FFFFFF, 0, 102, 52, true, true},
        {"colour alpha half: 128", 128, 0x80FFFFFF, 0, 102, 52, true, true},
        {"colour alpha half: 129", 129, 0x80FFFFFF, 0, 102, 52, false, false},
        {"unrotated: bottom-left", 1, 0xFFFFFFFF, 0, 102, 68, false, false},
        {"pi/2: bottom-left turns onto the corner", 1, 0xFFFFFFFF, Pi / 2, 102, 68, true, true},
        {"pi/2: the corner turns away", 1, 0xFFFFFFFF, Pi / 2, 102, 52, false, false},
        {"unrotated: mirrored point", 1, 0xFFFFFFFF, 0, 118, 68, false, false},
        {"pi: the mirrored point hits", 1, 0xFFFFFFFF, Pi, 118, 68, true, true},
        {"pi: the corner turns away", 1, 0xFFFFFFFF, Pi, 102, 52, false, false},
    };
    auto image = corner<CSpyObjImage>();
    auto animation = corner<CSpyObjAnimation>();
    for (CSpyObject* object :
         {static_cast<CSpyObject*>(image.get()), static_cast<CSpyObject*>(animation.get())})
        object->SetPos(100.7f, 50.2f);
    for (const HitCase& c : cases) {
        for (CSpyObject* object :
             {static_cast<CSpyObject*>(image.get()), static_cast<CSpyObject*>(animation.get())}) {
            object->SetAlphaClick(c.threshold);
            object->SetColor(c.color);
            object->SetRotation(c.rotation);
        }
        EXPECT_EQ(image->HitTest(c.x, c.y), c.image) << "image: " << c.what;
        EXPECT_EQ(animation->HitTest(c.x, c.y), c.animation) << "animation: " << c.what;
    }
}

TEST_F(CornerScene, TheIconIsHitUnscaledAndUnfaded) {
    auto image = corner<CSpyObjImage>("ZoomX = 2\nZoomY = 2\nColor = 00ffffff\n");
    EXPECT_EQ(image->GetWidth(), 40u);
    EXPECT_FALSE(image->HitTest(102, 52));
    image->SetInInventory(true);
    EXPECT_EQ(image->GetWidth(), 10u);
    EXPECT_TRUE(image->HitTest(109, 59));
    EXPECT_FALSE(image->HitTest(111, 59));
}

TEST_F(CornerScene, ScaledPicturesAreReadAtTheirSourcePixels) {
    // At scale 2 the corner covers (100, 50) - (109, 59).
    auto animation = corner<CSpyObjAnimation>("ZoomX = 2\nZoomY = 2\n");
    EXPECT_EQ(animation->GetWidth(), 40u);
    EXPECT_TRUE(animation->HitTest(109, 59));
    EXPECT_FALSE(animation->HitTest(110, 59));
}

TEST_F(CornerScene, AProbePastTheLastColumnReadsThatColumnNotTheNextFrame) {
    // Two 3 x 1 frames: the first transparent, the second opaque. At scale 0.5 the drawn width rounds
    // up to 2, and turned by pi/2 the probe (1, 0) reads source column 3: the next frame's first pixel.
    kit.addImage("strip", 6, 1, {0, 0, 0, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF}, "Hall");
    kit.addAnim("strip", "strip", 3, 1, 2, "Hall");
    auto strip = kit.load<CSpyObjAnimation>("[strip]\nZoomX = 0.5\nZoomY = 0.5\n", "strip", "Hall");
    ASSERT_EQ(strip->GetWidth(), 2u);
    strip->SetRotation(Pi / 2);
    EXPECT_FALSE(strip->HitTest(1, 0));
    strip->SetFrame(1);
    EXPECT_TRUE(strip->HitTest(1, 0));
}

TEST(CSpyObject, HitRectangleIsHalfOpenAtTheTruncatedPosition) {
    CSpyObject rect;
    rect.SetBaseSize(100, 40);
    rect.SetPos(10.9f, -20.9f);
    const struct {
        i32 x, y;
        bool hit;
    } cases[] = {{10, -20, true}, {109, 19, true}, {110, -20, false},
                 {9, -20, false}, {10, 20, false}, {10, -21, false}};
    for (const auto& c : cases)
        EXPECT_EQ(rect.HitTest(c.x, c.y), c.hit) << c.x << ", " << c.y;
}

TEST(CSpyObject, SizesRoundHalfUpAndScalesNeverGoNegative) {
    CSpyObject rect;
    rect.SetBaseSize(20, 20);
    const struct {
        SpyPoint scale;
        SpyPoint stored;
        u32 width, height;
    } cases[] = {
        {{0.525f, 0.52f}, {0.525f, 0.52f}, 11, 10},
        {{-1, 2}, {0, 2}, 0, 40},
        {{1.5f, -0.1f}, {1.5f, 0}, 30, 0},
    };
    for (const auto& c : cases) {
        rect.SetScale(c.scale, false);
        EXPECT_EQ(rect.GetScale(), c.stored);
        EXPECT_EQ(rect.GetWidth(), c.width);
        EXPECT_EQ(rect.GetHeight(), c.height);
    }
}

TEST(CSpyObject, KeepingTheCentreMovesByTheRoundedSize) {
    const struct {
        const char* what;
        SpyPoint from, to;
        SpyPoint pos;
    } cases[] = {
        {"grow", {1, 1}, {2, 2}, {-50, -20}},
        {"shrink", {1, 1}, {0.5f, 0.5f}, {25, 10}},
        // The height at 0.3 rounds 12 to 12: 12 / 0.3 x 0.5 x -0.7 moves 14.
        {"rounded", {1, 1}, {0.3f, 0.3f}, {35, 14}},
        {"to 0: that axis stays", {1, 1}, {0, 0.5f}, {0, 10}},
    };
    for (const auto& c : cases) {
        CSpyObject rect;
        rect.SetBaseSize(100, 40);
        rect.SetScale(c.from, false);
        rect.SetScale(c.to, true);
        EXPECT_NEAR(rect.GetPos().x, c.pos.x, 1e-4) << c.what;
        EXPECT_NEAR(rect.GetPos().y, c.pos.y, 1e-4) << c.what;
    }
}

TEST_F(CornerScene, LoadResReadsTheCommonKeysAndResetAppliesThem) {
    auto plain = kit.load<CSpyObjImage>("[corner]\nImage = corner\n", "corner", "Hall", false);
    EXPECT_EQ(plain->GetName(), "corner");
    EXPECT_EQ(plain->GetGroup(), "Hall");
    EXPECT_EQ(plain->GetOrigColor(), 0xFFFFFFFFu);
    EXPECT_EQ(plain->GetOrigScale(), (SpyPoint{1, 1}));
    EXPECT_EQ(plain->GetAlphaClick(), 1u);
    EXPECT_EQ(plain->GetColor(), 0u) << "LoadRes sets original values only";

    auto set = corner<CSpyObjImage>("AlphaClick = 0\nZoomX = 0.5\nZoomY = 1.5\nColor = 80ff0000\n");
    set->SetRotation(1);
    set->SetInInventory(true);
    set->SetAnimPaused(true);
    set->Reset();
    EXPECT_EQ(set->GetPos(), (SpyPoint{100, 50}));
    EXPECT_EQ(set->GetScale(), (SpyPoint{0.5f, 1.5f}));
    EXPECT_EQ(set->GetColor(), 0x80FF0000u);
    EXPECT_EQ(set->GetAlphaClick(), 0u);
    EXPECT_EQ(set->GetRotation(), 0);
    EXPECT_FALSE(set->IsInInventory());
    EXPECT_FALSE(set->IsAnimPaused());
    EXPECT_EQ(set->GetWidth(), 10u);
    EXPECT_EQ(set->GetHeight(), 30u);
    EXPECT_EQ(set->GetFramesCount(), 1u);
    EXPECT_FALSE(set->IsAnimPlaying());
}

TEST_F(CornerScene, MissingResourcesLeaveInertObjects) {
    LogCapture log;
    auto image = kit.load<CSpyObjImage>("[ghost]\nImage = nothing\n", "ghost", "Hall");
    auto animation = kit.load<CSpyObjAnimation>("[ghost]\n", "ghost", "Hall");
    auto particles = kit.load<CSpyObjParticles>("[ghost]\n", "ghost", "Hall");
    for (CSpyObject* object :
         std::initializer_list<CSpyObject*>{image.get(), animation.get(), particles.get()}) {
        object->SetAlphaClick(0);
        object->FrameMove(0.1f);
        object->StartAnim(1);
        object->SetScale({2, 2}, true);
        object->SetInInventory(true);
        EXPECT_FALSE(object->HitTest(0, 0)) << object->GetClassName();
        EXPECT_EQ(object->GetWidth(), 0u) << object->GetClassName();
        EXPECT_FALSE(object->IsAnimPlaying()) << object->GetClassName();
    }
    EXPECT_EQ(animation->GetFramesCount(), 0u);
    EXPECT_TRUE(log.contains("AnimManager. Cannot find animation: ghost : Hall")) << log.messages().size();
    EXPECT_TRUE(log.contains("CParticleManager. Cannot find particle: ghost : Hall"));
    EXPECT_TRUE(log.contains("aImageManager. Cannot find image: nothing : Hall")) << log.messages().size();
}

TEST_F(CornerScene, AnimationsStartAtTheEndOfTheirDirection) {
    kit.addImage("row", 40, 10, std::vector<u32>(400, 0xFFFFFFFF), "Hall");
    kit.addAnim("walk", "row", 10, 10, 4, "Hall", "AnimMode = 0\n");
    auto walk = kit.load<CSpyObjAnimation>("[walk]\n", "walk", "Hall");
    EXPECT_EQ(walk->GetFramesCount(), 4u);
    EXPECT_TRUE(walk->IsAnimPlaying());
    walk->StartAnim(aAnim::MODE_BACKWARD | aAnim::MODE_LOOP);
    EXPECT_EQ(walk->GetAnim()->getFrameIndex(), 3);
    walk->StartAnim(-1);
    EXPECT_EQ(walk->GetAnim()->playMode, u32(aAnim::MODE_BACKWARD | aAnim::MODE_LOOP));
    EXPECT_EQ(walk->GetAnim()->getFrameIndex(), 3);
    walk->StartAnim(aAnim::MODE_ONCE);
    EXPECT_EQ(walk->GetAnim()->getFrameIndex(), 0);
    walk->SetAnimPaused(true);
    walk->FrameMove(1);
    EXPECT_EQ(walk->GetAnim()->getFrameIndex(), 0);
    walk->SetAnimPaused(false);
    walk->FrameMove(1);
    EXPECT_EQ(walk->GetAnim()->getFrameIndex(), 3);
    EXPECT_FALSE(walk->IsAnimPlaying());
}

TEST_F(CornerScene, ParticlesRunFiveSecondsOnResetAndTrackTheirBounds) {
    kit.addParticles("fire", "emit_per_sec 50\nfps 50\nparticle_life 10 10\nvelocity 10 10\nsize 4 4 0\n",
                     "Hall");
    auto fire = kit.load<CSpyObjParticles>("[fire]\nX = 300\nY = 200\n", "fire", "Hall");
    const aParticleSystem& system = *fire->GetSystem();
    EXPECT_TRUE(system.isBoundsTracking());
    EXPECT_NEAR(system.getClock(), CSpyObjParticles::PreRunSeconds, 0.05);
    EXPECT_TRUE(fire->IsAnimPlaying());
    EXPECT_GT(system.getLiveCount(), 0u);
    EXPECT_GT(fire->GetWidth(), 0u);
    EXPECT_EQ(fire->GetHeight(), system.getBounds().h);
    EXPECT_TRUE(fire->HitTest(300, 200));
    EXPECT_FALSE(fire->HitTest(0, 0));
    fire->SetAlphaClick(255);
    EXPECT_FALSE(fire->HitTest(300, 200));

    fire->SetPos(400, 250);
    EXPECT_EQ(system.getX(), 400);
    const f32 size = system.params().size[0];
    fire->SetScale({2, 2}, false);
    EXPECT_FLOAT_EQ(system.params().size[0], 2 * size);
    fire->SetScale({0, 0}, false);
    fire->SetScale({1, 1}, false);
    EXPECT_FLOAT_EQ(system.params().size[0], 0) << "nothing to scale back from 0";
}

// Saves the object's record and loads it into `into`; the record's bytes.
std::string roundTrip(CSpyObject& from, CSpyObject& into) {
    HostEntity host;
    host.save = [&](SaveLoadSystem& sys, u8* pos) { return from.SaveSelf(sys, pos); };
    host.load = [&](SaveLoadSystem& sys, const u8* pos) { return into.LoadSelf(sys, pos); };
    SaveRecords records;
    const std::string record = records.save(host);
    EXPECT_TRUE(records.load(host, record));
    EXPECT_EQ(host.leftAfterLoad, 0u);
    return record;
}

TEST(CSpyObject, RecordHoldsTheCurrentState) {
    CSpyObject saved;
    saved.SetPos(1, -2);
    saved.SetScale({0.5f, 2}, false);
    saved.SetColor(0x80FF0000);
    saved.SetRotation(1.5f);
    saved.SetInInventory(true);
    CSpyObject loaded;
    loaded.SetAnimPaused(true);
    EXPECT_EQ(roundTrip(saved, loaded),
              SaveRecords::hex("0000803f 000000c0 0000003f 00000040 0000ff80 0000c03f 01 00"));
    EXPECT_EQ(loaded.GetPos(), (SpyPoint{1, -2}));
    EXPECT_EQ(loaded.GetScale(), (SpyPoint{0.5f, 2}));
    EXPECT_EQ(loaded.GetColor(), 0x80FF0000u);
    EXPECT_EQ(loaded.GetRotation(), 1.5f);
    EXPECT_TRUE(loaded.IsInInventory());
    EXPECT_FALSE(loaded.IsAnimPaused());
}

TEST_F(CornerScene, AnimationRecordAddsFrameAndMode) {
    kit.addImage("row", 40, 10, std::vector<u32>(400, 0xFFFFFFFF), "Hall");
    kit.addAnim("walk", "row", 10, 10, 4, "Hall");
    auto saved = kit.load<CSpyObjAnimation>("[walk]\nX = 7\n", "walk", "Hall");
    saved->StartAnim(aAnim::MODE_BACKWARD);
    saved->SetPos(3, 4);
    auto loaded = kit.load<CSpyObjAnimation>("[walk]\n", "walk", "Hall");
    const std::string record = roundTrip(*saved, *loaded);
    EXPECT_EQ(record.substr(CSpyObject::RecordSize), SaveRecords::hex("0300 0200"));
    EXPECT_EQ(loaded->GetAnim()->getFrameIndex(), 3);
    EXPECT_EQ(loaded->GetAnim()->playMode, u32(aAnim::MODE_BACKWARD));
    EXPECT_EQ(loaded->GetPos(), (SpyPoint{3, 4}));
}

TEST_F(CornerScene, ImageAndParticleRecordsAreTheObjectRecord) {
    kit.addParticles("fire", "emit_per_sec 50\nfps 50\n", "Hall");
    auto image = corner<CSpyObjImage>();
    auto fire = kit.load<CSpyObjParticles>("[fire]\n", "fire", "Hall");
    image->SetPos(5, 6);
    fire->SetPos(5, 6);
    auto imageLoaded = corner<CSpyObjImage>();
    auto fireLoaded = kit.load<CSpyObjParticles>("[fire]\n", "fire", "Hall");
    EXPECT_EQ(roundTrip(*image, *imageLoaded).size(), CSpyObject::RecordSize);
    EXPECT_EQ(roundTrip(*fire, *fireLoaded).size(), CSpyObject::RecordSize);
    EXPECT_EQ(imageLoaded->GetPos(), (SpyPoint{5, 6}));
    EXPECT_EQ(fireLoaded->GetPos(), (SpyPoint{5, 6}));
    EXPECT_EQ(fireLoaded->GetSystem()->getX(), 0) << "loaded without laying the system out again";
}

} // namespace
