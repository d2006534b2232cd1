#include "game/SpyGame/CSpyItem.h"
#include "game/SpyGame/CSpyItemManager.h"
#include "game/SpyGame/CSpyObject.h"
#include "support/LogCapture.h"
#include "support/game/ItemKit.h"
#include "support/game/SaveRecords.h"
#include "tk2v/gfx/SceneCapture.h"
#include "tk2v/gfx/aParticleSystem.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

const std::string Box = "[box]\nClass = object\n";

class CSpyItemTest : public ItemKit {
protected:
    // The item's saved state.
    std::string record(CSpyItem& item) const { return records.save(item); }
    static f32 f32At(const std::string& bytes, size_t offset) {
        f32 value;
        std::memcpy(&value, bytes.data() + offset, 4);
        return value;
    }

    SaveRecords records;
};

TEST_F(CSpyItemTest, EveryItemStartsLockedAndTheFirstFrameUnlocksThoseItMayWithTheirSound) {
    aSound* open = sound("open", "Hall");
    aSound* hidden = sound("hidden");
    CSpyItemManager& hall = room("Hall", Box + "[lid]\nClass = object\n",
                                 "[Box]\nObject = box\nSoundOnUnlock = open\n"
                                 "[Lid]\nObject = lid\nVisible = 0\nSoundOnUnlock = hidden\n"
                                 "[Bare]\nSoundOnUnlock = open\n");
    hall.ResetItems();
    for (const char* name : {"Box", "Lid", "Bare"})
        EXPECT_TRUE(hall.GetItem(name)->IsLocked()) << name;
    EXPECT_EQ(playing({{"open", open}, {"hidden", hidden}}), "");

    hall.FrameMoveItems(0.1f);
    for (const char* name : {"Box", "Lid", "Bare"})
        EXPECT_FALSE(hall.GetItem(name)->IsLocked()) << name;
    EXPECT_EQ(playing({{"open", open}, {"hidden", hidden}}), "open hidden");
    hall.FrameMoveItems(0.1f);
    EXPECT_EQ(playing({{"open", open}, {"hidden", hidden}}), "");
}

TEST_F(CSpyItemTest, AppliedItemUnlocksNextFrameAndAutoLockWaitsForTheNextApply) {
    aSound* apply = sound("apply", "Hall");
    aSound* click = sound("click", "Hall");
    CSpyItemManager& hall = room("Hall", Box,
                                 "[Safe]\nObject = box\nUsedItem = key\nAutoLockAfterOneUse = 1\n"
                                 "SoundOnApplyItemToItem = apply\nSoundOnClickUse = click\n");
    hall.ResetItems();
    CSpyItem& safe = *hall.GetItem("Safe");
    hall.FrameMoveItems(0.1f);
    EXPECT_TRUE(safe.IsLocked());
    EXPECT_FALSE(safe.ClickUse());
    EXPECT_FALSE(safe.ApplyItem("pin"));
    EXPECT_EQ(playing({{"apply", apply}, {"click", click}}), "");

    EXPECT_TRUE(safe.ApplyItem("key"));
    EXPECT_FALSE(safe.ApplyItem("key")) << "the requirement is met already";
    EXPECT_EQ(playing({{"apply", apply}, {"click", click}}), "apply");
    EXPECT_TRUE(safe.IsLocked());
    hall.FrameMoveItems(0.1f);
    EXPECT_FALSE(safe.IsLocked());

    EXPECT_TRUE(safe.ClickUse());
    EXPECT_EQ(playing({{"apply", apply}, {"click", click}}), "click");
    EXPECT_TRUE(safe.IsLocked());
    hall.FrameMoveItems(0.1f);
    EXPECT_TRUE(safe.IsLocked()) << "used once, it needs the key again";
    EXPECT_TRUE(safe.ApplyItem("key"));
    hall.FrameMoveItems(0.1f);
    EXPECT_FALSE(safe.IsLocked());

    safe.SetDisabled(true);
    EXPECT_TRUE(safe.IsLocked());
    EXPECT_FALSE(safe.ClickUse());
    hall.FrameMoveItems(0.1f);
    safe.SetDisabled(false);
    EXPECT_FALSE(safe.ApplyItem("key")) << "a lock by being disabled keeps the requirement";
}

TEST_F(CSpyItemTest, AutoActivationClicksInTheFrameOfTheUnlock) {
    aSound* click = sound("click", "Hall");
    aSound* open = sound("open", "Hall");
    aSound* pump = sound("pump", "Hall");
    CSpyItemManager& hall =
        room("Hall", Box,
             "[Lever]\nObject = box\nAutoActivateOnUnlock = 1\nIsWinItem = CLICKUSE\n"
             "SoundOnUnlock = open\nSoundOnClickUse = click\n"
             "[Pump]\nAutoActivateOnUnlock = 1\nAutoLockAfterOneUse = 1\nSoundOnClickUse = pump\n");
    hall.ResetItems();
    CSpyItem& lever = *hall.GetItem("Lever");
    hall.FrameMoveItems(0.1f);
    EXPECT_FALSE(lever.IsLocked());
    EXPECT_TRUE(lever.IsWin());
    EXPECT_EQ(playing({{"open", open}, {"click", click}, {"pump", pump}}), "open click pump");
    // Locked again by its own click, it unlocks and clicks again in every frame.
    for (int frame = 0; frame < 2; ++frame) {
        hall.FrameMoveItems(0.1f);
        EXPECT_EQ(playing({{"open", open}, {"click", click}, {"pump", pump}}), "pump") << frame;
    }
}

TEST_F(CSpyItemTest, WinFlagFollowsTheEventItNames) {
    struct Case {
        const char* event;
        bool afterUnlock, afterClick, afterHideShow, afterInventory, afterLeavingInventory;
    };
    const Case cases[] = {
        {"UNLOCKED", true, true, true, false, false},
        {"CLICKUSE", false, true, true, false, false},
        {"EXAMINE", false, false, true, false, false},
        {"IN_INVENTORY", false, false, false, true, false},
        {"in_inventory", false, false, false, false, false},
    };
    for (const Case& c : cases) {
        CSpyItemManager& hall =
            room("Hall", Box, std::string("[Key]\nObject = box\nIsWinItem = ") + c.event + "\n");
        hall.ResetItems();
        CSpyItem& key = *hall.GetItem("Key");
        hall.FrameMoveItems(0.1f);
        EXPECT_EQ(key.IsWin(), c.afterUnlock) << c.event;
        key.ClickUse();
        EXPECT_EQ(key.IsWin(), c.afterClick) << c.event;
        key.SetVisible(false);
        key.SetVisible(true);
        EXPECT_EQ(key.IsWin(), c.afterHideShow) << c.event;
        key.SetInInventory(true);
        EXPECT_EQ(key.IsWin(), c.afterInventory) << c.event;
        EXPECT_FALSE(key.IsVisible()) << c.event;
        EXPECT_TRUE(key.GetMainObject()->IsInInventory()) << c.event;
        key.SetInInventory(false);
        EXPECT_EQ(key.IsWin(), c.afterLeavingInventory) << c.event;
        EXPECT_TRUE(key.IsVisible()) << c.event;
    }
}

TEST_F(CSpyItemTest, LockingAgainClearsAnUnlockWin) {
    CSpyItemManager& hall = room(
        "Hall", Box + "[lid]\nClass = object\n",
        "[Lid]\nObject = lid\n[Box]\nObject = box\nDependenceFromVisibleItem = Lid\nIsWinItem = UNLOCKED\n");
    hall.ResetItems();
    hall.FrameMoveItems(0.1f);
    CSpyItem& box = *hall.GetItem("Box");
    EXPECT_TRUE(box.IsWin());
    hall.GetItem("Lid")->SetVisible(false);
    hall.FrameMoveItems(0.1f);
    EXPECT_TRUE(box.IsLocked());
    EXPECT_FALSE(box.IsWin());
}

TEST_F(CSpyItemTest, DependencesReachOtherRoomsAndMissingOnesHold) {
    CSpyItemManager& study = room("Study", "[safe]\nClass = object\n", "[SAFE]\nObject = safe\n");
    CSpyItemManager& hall =
        room("Hall", Box + "[a]\nClass = object\n[b]\nClass = object\n",
             "[Door]\nObject = box\nDependenceFromAccessItem = Study:SAFE\n"
             "DependenceFromInvisibleItem = Attic:BOX\nDependenceFromVisibleItem = Nothing\n"
             "[Lamp]\nDependenceFromVisibleGroup = Shelf\nDependenceFromAccessGroup = Cellar\n"
             "[A]\nObject = a\nGroup = Shelf\n[B]\nObject = b\nGroup = Shelf\n");
    LogCapture capture;
    study.ResetItems();
    hall.ResetItems();
    EXPECT_EQ(capture.messages(),
              (std::vector<std::string>{"Item 'Lamp' - not exist dependence group with name 'Cellar'"}));
    capture.clear();
    CSpyItem& door = *hall.GetItem("Door");
    CSpyItem& lamp = *hall.GetItem("Lamp");
    study.GetItem("SAFE")->SetDisabled(true);
    hall.FrameMoveItems(0.1f);
    EXPECT_TRUE(door.IsLocked());
    EXPECT_FALSE(lamp.IsLocked());

    study.GetItem("SAFE")->SetDisabled(false);
    study.FrameMoveItems(0.1f);
    hall.GetItem("B")->SetVisible(false);
    hall.FrameMoveItems(0.1f);
    EXPECT_FALSE(door.IsLocked());
    EXPECT_TRUE(lamp.IsLocked());
    EXPECT_TRUE(capture.messages().empty()) << "dependences are tested silently every frame";
}

TEST_F(CSpyItemTest, FlashAndSmoothFlashStepAtAQuarterSecond) {
    CSpyItemManager& hall = room("Hall", Box + "[pen]\nClass = object\n",
                                 "[Box]\nObject = box\nFlash = 1\n[Pen]\nObject = pen\nSmoothFlash = 1\n");
    hall.ResetItems();
    CSpyItem& box = *hall.GetItem("Box");
    CSpyItem& pen = *hall.GetItem("Pen");
    // The effects of a locked item stand still: the first frame only unlocks.
    hall.FrameMoveItems(0.25f);
    EXPECT_FLOAT_EQ(f32At(record(box), 7), 0);
    const f32 flash[] = {0.25f, 0.5f, 0.75f, 0, 0.25f};
    const f32 smooth[] = {0.25f, 0.5f, 0.75f, 1, 0.75f, 0.5f, 0.25f, 0, 0.25f};
    for (size_t i = 0; i < std::size(smooth); ++i) {
        hall.FrameMoveItems(0.25f);
        if (i < std::size(flash)) {
            EXPECT_FLOAT_EQ(f32At(record(box), 7), flash[i]) << i;
        }
        EXPECT_FLOAT_EQ(f32At(record(pen), 12), smooth[i]) << i;
    }

    box.SetHighlightOnMouseHover(true);
    pen.SetHighlight(true);
    box.HitTest(0, 0);
    EXPECT_FALSE(box.IsHovered()) << "a bare object of size 0 is never hit";
    hall.FrameMoveItems(0.25f);
    EXPECT_FLOAT_EQ(f32At(record(pen), 12), 0) << "a steady highlight holds the pulse at its start";
}

TEST_F(CSpyItemTest, AStoppedAnimationRestartsAfterItsDrawnPause) {
    aSound* start = sound("start", "Hall");
    CSpyItemManager& hall = room("Hall", Box + "[pen]\nClass = object\n",
                                 "[Box]\nObject = box\nAutoRestartAnim = 0.5\nSoundOnStartAnim = start\n"
                                 "[Pen]\nObject = pen\nAutoRestartAnim = 2/6\n");
    hall.ResetItems();
    CSpyItem& box = *hall.GetItem("Box");
    EXPECT_FLOAT_EQ(f32At(record(box), 24), 0.5f);
    const f32 pen = f32At(record(*hall.GetItem("Pen")), 24);
    EXPECT_TRUE(pen >= 2 && pen <= 6) << pen;

    hall.FrameMoveItems(0.3f);
    EXPECT_FLOAT_EQ(f32At(record(box), 24), 0.2f) << "the pause runs while the item is locked too";
    EXPECT_EQ(playing({{"start", start}}), "");
    hall.FrameMoveItems(0.3f);
    EXPECT_EQ(playing({{"start", start}}), "start");
    EXPECT_FLOAT_EQ(f32At(record(box), 24), 0.5f);
    box.SetVisible(false);
    hall.FrameMoveItems(1.0f);
    EXPECT_FLOAT_EQ(f32At(record(box), 24), 0.5f) << "a hidden item waits";
}

TEST_F(CSpyItemTest, HitTestsNeverHitCompanionNamesAndStoreTheHover) {
    kit.addImage("card", 4, 4, std::vector<u32>(16, 0xFFFFFFFF), "Hall");
    const std::string card = "Class = image\nImage = card\nX = 10\nY = 10\n";
    CSpyItemManager& hall = room("Hall", "[card]\n" + card + "[#s_x]\n" + card + "[sx]\n" + card,
                                 "[Card]\nObject = card\n[#sCard]\nObject = #s_x\n[sCard]\nObject = sx\n"
                                 "[Note]\n");
    hall.ResetItems();
    struct Case {
        const char* item;
        i16 x, y;
        bool hit;
    };
    // A point hits when it or one of its four neighbours lies on the picture.
    const Case cases[] = {{"Card", 10, 10, true},  {"Card", 14, 13, true}, {"Card", 15, 10, false},
                          {"Card", 9, 9, false},   {"Card", 9, 10, true},  {"#sCard", 10, 10, false},
                          {"sCard", 10, 10, true}, {"Note", 0, 0, false}};
    for (const Case& c : cases) {
        CSpyItem& item = *hall.GetItem(c.item);
        EXPECT_EQ(item.HitTest(c.x, c.y), c.hit) << c.item << " " << c.x;
        EXPECT_EQ(item.IsHovered(), c.hit) << c.item;
        hall.FrameMoveItems(0);
        EXPECT_FALSE(item.IsHovered()) << "the frame step ends the hover";
    }
}

TEST_F(CSpyItemTest, MovingKeepsTheOffsetsOfCompanionsHoverAndLockedObjects) {
    kit.addImage("pic", 40, 20, std::vector<u32>(800, 0xFFFFFFFF), "Hall");
    auto at = [](int x, int y) {
        return "Class = image\nImage = pic\nX = " + std::to_string(x) + "\nY = " + std::to_string(y) + "\n";
    };
    CSpyItemManager& hall =
        room("Hall",
             "[main]\n" + at(100, 100) + "[#s_main]\n" + at(95, 98) + "[hov]\n" + at(110, 90) + "[#s_hov]\n" +
                 at(100, 80) + "[shut]\n" + at(0, 0),
             "[Main]\nObject = main\nObjectOnMouseHover = hov\nObjectOnItemLocked = shut\n"
             "[Loose]\nObjectOnMouseHover = hov\n");
    hall.ResetItems();
    CSpyItem& main = *hall.GetItem("Main");
    CSpyObjManager& objects = hall.GetObjManager();
    main.SetPos(200.0f, 300.0f);
    EXPECT_EQ(objects.GetObject("main")->GetPos(), (SpyPoint{200, 300}));
    EXPECT_EQ(objects.GetObject("#s_main")->GetPos(), (SpyPoint{195, 298}));
    EXPECT_EQ(objects.GetObject("hov")->GetPos(), (SpyPoint{210, 290}));
    EXPECT_EQ(objects.GetObject("#s_hov")->GetPos(), (SpyPoint{200, 280}));
    EXPECT_EQ(objects.GetObject("shut")->GetPos(), (SpyPoint{100, 200}));
    EXPECT_EQ(main.GetHalfSize(), (SpyPoint{20, 10}));

    // Without a main object the hover object goes to the point itself, its companion along.
    CSpyItem& loose = *hall.GetItem("Loose");
    loose.SetPos(i16(5), i16(6));
    EXPECT_EQ(objects.GetObject("hov")->GetPos(), (SpyPoint{5, 6}));
    EXPECT_EQ(objects.GetObject("#s_hov")->GetPos(), (SpyPoint{-5, -4}));
    EXPECT_EQ(loose.GetPos(), (SpyPoint{0, 0}));
    EXPECT_EQ(loose.GetWidth(), 0);
}

TEST_F(CSpyItemTest, MagicStarsFitTheirEmitterToTheMainObject) {
    kit.addParticles("MagicStars", "", "");
    struct Case {
        const char* name;
        u32 width, height;
        u32 particles;
    };
    const Case cases[] = {
        {"p40", 40, 40, 12}, {"p200", 200, 100, 12}, {"p400", 400, 300, 75}, {"p41", 41, 41, 12}};
    for (const Case& c : cases) {
        const std::string name = c.name;
        kit.addImage(name, c.width, c.height, std::vector<u32>(c.width * c.height, 0xFFFFFFFF), "Hall");
        CSpyItemManager& hall = room("Hall", "[o]\nClass = image\nX = 7\nY = 9\nImage = " + name + "\n",
                                     "[O]\nObject = o\nMagicStars = 1\n");
        hall.ResetItems();
        const aParticleSystem* stars = hall.GetItem("O")->GetEmitter();
        ASSERT_NE(stars, nullptr) << name;
        EXPECT_EQ(stars->params().maxParticles, c.particles) << name;
        EXPECT_EQ(stars->params().emitterSize[0], f32(c.width / 2)) << name;
        EXPECT_EQ(stars->params().emitterSize[1], f32(c.height / 2)) << name;
        EXPECT_EQ(stars->getX(), f32(7 + c.width / 2)) << name;
        EXPECT_EQ(stars->getY(), f32(9 + c.height / 2)) << name;
    }
}

TEST_F(CSpyItemTest, ScalingReachesEveryObjectAndRefitsTheEmitter) {
    kit.addParticles("MagicStars", "", "");
    kit.addImage("big", 400, 300, std::vector<u32>(400 * 300, 0xFFFFFFFF), "Hall");
    kit.addImage("small", 10, 10, std::vector<u32>(100, 0xFFFFFFFF), "Hall");
    CSpyItemManager& hall = room("Hall",
                                 "[big]\nClass = image\nImage = big\n[hov]\nClass = image\nImage = small\n"
                                 "[shut]\nClass = image\nImage = small\nX = 100\nY = 100\n",
                                 "[Big]\nObject = big\nObjectOnMouseHover = hov\nMagicStars = 1\n"
                                 "[Shut]\nObjectOnItemLocked = shut\nObjectOnMouseHover = hov\n");
    hall.ResetItems();
    CSpyItem& big = *hall.GetItem("Big");
    big.SetScale({0.5f, 0.5f}, false);
    EXPECT_EQ(big.GetWidth(), 200);
    EXPECT_EQ(hall.GetObjManager().GetObject("hov")->GetWidth(), 5u);
    EXPECT_EQ(big.GetEmitter()->params().maxParticles, 18u) << "100 x 75 / 400";
    big.SetScale({2, 2}, true);
    EXPECT_EQ(big.GetPos(), (SpyPoint{-300, -225})) << "the centre stays at (100, 75)";
    EXPECT_EQ(big.GetEmitter()->params().maxParticles, 300u);

    // Colours go to the bound objects only: without a main object the locked and hover ones take it.
    CSpyItem& shut = *hall.GetItem("Shut");
    shut.SetColor(0x80FF0000);
    EXPECT_EQ(hall.GetObjManager().GetObject("shut")->GetColor(), 0x80FF0000u);
    EXPECT_EQ(hall.GetObjManager().GetObject("big")->GetColor(), 0xFFFFFFFFu);
    EXPECT_EQ(shut.GetColor(), 0x80FF0000u) << "a locked item shows its locked object";
    EXPECT_EQ(shut.GetOrigColor(), 0xFFFFFFFFu);
}

TEST_F(CSpyItemTest, WithoutTheMagicStarsTemplateThereIsNoEmitter) {
    CSpyItemManager& hall = room("Hall", Box, "[Box]\nObject = box\nMagicStars = 1\n");
    LogCapture capture;
    hall.ResetItems();
    CSpyItem& box = *hall.GetItem("Box");
    EXPECT_EQ(box.GetEmitter(), nullptr);
    EXPECT_TRUE(capture.contains("CParticleManager. Cannot find particle: MagicStars"));
    hall.FrameMoveItems(0.1f);
    hall.RenderItems();
}

TEST_F(CSpyItemTest, RecordRoundTripKeepsTheSecondDisabledByte) {
    CSpyItemManager& hall = room("Hall", Box, "[Box]\nObject = box\nUserData = note\nFlash = 1\n");
    hall.ResetItems();
    CSpyItem& box = *hall.GetItem("Box");
    hall.FrameMoveItems(0.25f);
    hall.FrameMoveItems(0.25f);
    box.SetHighlight(true);
    box.SetCurrentUserData("seen");
    const std::string saved = record(box);
    const std::string expected = SaveRecords::hex("00 01 01 01 00 00 01 00 00 80 3e 00 00 00 00 00 "
                                                  "01 00 00 00 00 00 00 01 00 00 00 00") +
                                 "seen" + std::string(1, '\0');
    EXPECT_EQ(saved, expected);
    ASSERT_EQ(saved.size(), CSpyItem::FixedRecordSize + 5);

    for (auto [byte20, byte21, disabled] : {std::tuple{0, 1, true}, std::tuple{1, 0, false}}) {
        std::string changed = saved;
        changed[20] = char(byte20);
        changed[21] = char(byte21);
        box.SetHighlight(false);
        ASSERT_TRUE(records.load(box, changed));
        EXPECT_EQ(box.IsDisabled(), disabled) << byte21;
        EXPECT_TRUE(box.IsHighlight());
        EXPECT_EQ(box.GetCurrentUserData(), "seen");
        std::string resaved = changed;
        resaved[20] = resaved[21];
        EXPECT_EQ(record(box), resaved);
    }
}

TEST_F(CSpyItemTest, QuestItemsDrawTheirIconAndMayBePickedAutomatically) {
    kit.addImage("gem", 4, 4, std::vector<u32>(16, 0xFF0000FF), "Hall");
    kit.addImage("gem_icon", 4, 4, std::vector<u32>(16, 0xFF00FF00), "Hall");
    const std::string gem = "Class = image\nImage = gem\nY = 2\nX = ";
    CSpyItemManager& hall = room("Hall", "[a]\n" + gem + "2\n[b]\n" + gem + "10\n[c]\n" + gem + "18\n",
                                 "[Cursor]\nObject = a\nIsQuestItem = 2\nAutoPickItem = 1\n"
                                 "[Quest]\nObject = b\nIsQuestItem = 1\nAutoPickItem = 1\n"
                                 "[Plain]\nObject = c\nAutoPickItem = 1\n");
    hall.ResetItems();
    CSpyItem& cursor = *hall.GetItem("Cursor");
    CSpyItem& quest = *hall.GetItem("Quest");
    EXPECT_FALSE(quest.CanAutoPick()) << "locked";
    hall.FrameMoveItems(0.1f);
    EXPECT_FALSE(cursor.CanAutoPick());
    EXPECT_TRUE(quest.CanAutoPick());
    EXPECT_FALSE(hall.GetItem("Plain")->CanAutoPick());
    EXPECT_FALSE(cursor.IsQuestItem());
    EXPECT_TRUE(cursor.IsQuestItemBit2());

    const RgbaImage shot = drawScene({0, 0, 24, 8}, [&] {
        for (const char* name : {"Cursor", "Quest", "Plain"})
            hall.GetItem(name)->RenderIcon();
    });
    ASSERT_EQ(shot.width, 24u);
    EXPECT_EQ(shot.pixel(3, 3) >> 8, 0x00FF00u) << "any quest bit draws the icon";
    EXPECT_EQ(shot.pixel(11, 3) >> 8, 0x00FF00u);
    EXPECT_EQ(shot.pixel(19, 3) >> 8, 0u);

    quest.SetInInventory(true);
    EXPECT_FALSE(quest.CanAutoPick());
}

TEST_F(CSpyItemTest, DrawsTheCompanionUnderTheShownObjectAndHighlightsOnlyTheMainOrLockedOne) {
    const auto solid = [&](const char* name, u32 argb, u32 size) {
        kit.addImage(name, size, size, std::vector<u32>(size * size, argb), "Hall");
    };
    solid("lamp", 0xFF404040, 8);
    solid("glow", 0xFF002000, 12);
    solid("door", 0xFF0000FF, 8);
    solid("shut", 0xFF008000, 8);
    solid("box", 0xFF808080, 8);
    solid("boxh", 0xFF800000, 8);
    const auto at = [](const char* name, const char* image, int x, int y) {
        return std::string("[") + name + "]\nClass = image\nImage = " + image + "\nX = " + std::to_string(x) +
               "\nY = " + std::to_string(y) + "\n";
    };
    CSpyItemManager& hall =
        room("Hall",
             at("lamp", "lamp", 10, 10) + at("#s_lamp", "glow", 8, 8) + at("door", "door", 30, 10) +
                 at("shut", "shut", 30, 30) + at("box", "box", 50, 10) + at("boxh", "boxh", 50, 30),
             "[Lamp]\nObject = lamp\n"
             "[Door]\nObject = door\nObjectOnItemLocked = shut\nDependenceFromVisibleItem = Gone\n"
             "[Box]\nObject = box\nObjectOnMouseHover = boxh\nHighlightOnMouseHover = 1\n"
             "[Gone]\nVisible = 0\n");
    hall.ResetItems();
    hall.FrameMoveItems(0.1f);
    hall.GetItem("Lamp")->SetHighlight(true);
    hall.GetItem("Door")->SetHighlight(true);
    ASSERT_TRUE(hall.GetItem("Box")->HitTest(51, 11));
    const RgbaImage shot = drawScene({0, 0, 64, 40}, [&] { hall.RenderItems(); });
    ASSERT_EQ(shot.width, 64u);
    const auto rgb = [&](u32 x, u32 y) { return shot.pixel(x, y) >> 8; };
    EXPECT_EQ(rgb(8, 8), 0x002000u) << "companion";
    const u32 lamp = rgb(12, 12) >> 16;
    EXPECT_NEAR(lamp, 0x40 + 0x40 * 127 / 255, 2) << "highlight pass added at half alpha";
    EXPECT_EQ(rgb(31, 11), 0u) << "a locked item shows its locked object";
    EXPECT_EQ(rgb(31, 31), 0x008000u) << "no highlight while locked";
    EXPECT_EQ(rgb(51, 11), 0u);
    EXPECT_EQ(rgb(51, 31), 0x800000u) << "no highlight pass on the hover object";
}

} // namespace
