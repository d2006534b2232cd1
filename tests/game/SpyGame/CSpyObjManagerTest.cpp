#include "game/SpyGame/CSpyObjManager.h"
#include "game/SpyGame/CSpyObjAnimation.h"
#include "game/SpyGame/CSpyObjImage.h"
#include "game/SpyGame/CSpyObjText.h"
#include "support/LogCapture.h"
#include "support/game/SaveRecords.h"
#include "support/game/SceneKit.h"
#include "tk2v/gfx/aAnim.h"

#include <gtest/gtest.h>

namespace {

const char* const AllThree = "[A]\nClass = image\nImage = pic\nX = 1\n"
                             "[B]\nClass = animation\nX = 2\n"
                             "[C]\nClass = text\nX = 3\nWidth = 40\nHeight = 20\n";

struct ObjectsScene : ::testing::Test {
    ObjectsScene() {
        kit.addImage("pic", 4, 4, std::vector<u32>(16, 0xFFFFFFFF), "Hall");
        kit.addAnim("B", "pic", 2, 2, 4, "Hall");
    }
    // A manager of the text as the room "Hall"'s objects.ini, its objects reset.
    std::unique_ptr<CSpyObjManager> make(const std::string& ini) {
        kit.dir.write("objects.ini", ini);
        auto manager = std::make_unique<CSpyObjManager>();
        manager->CreateObjects("Hall", kit.dir.file("objects.ini"));
        for (const auto& object : manager->GetObjects())
            object->Reset();
        return manager;
    }
    static std::vector<std::string> names(const CSpyObjManager& manager) {
        std::vector<std::string> out;
        for (const auto& object : manager.GetObjects())
            out.push_back(object->GetName() + ":" + object->GetClassName());
        return out;
    }
    SceneKit kit;
    LogCapture log;
};

TEST_F(ObjectsScene, ClassesAreMatchedExactly) {
    auto manager =
        make("[Door]\nClass = image\nImage = pic\n[Sparks]\nClass = particle\n[Box]\nClass = Object\n"
             "[Note]\nClass = text\n[Bare]\nX = 5\n[Rect]\nClass = object\n");
    EXPECT_EQ(manager->getName(), "SpyObjManager : Hall");
    EXPECT_EQ(names(*manager), (std::vector<std::string>{"Door:image", "Note:text", "Rect:object"}));
    EXPECT_EQ(log.messages(),
              (std::vector<std::string>{
                  "CSpyObjManager::CreateObjects(). Not find class 'particle' for object 'Sparks'",
                  "CSpyObjManager::CreateObjects(). Not find class 'Object' for object 'Box'",
                  "aOptionsFile. Cannot find key \"Class\" in current section!",
                  "CSpyObjManager::CreateObjects(). Not find class '' for object 'Bare'",
              }));
}

TEST_F(ObjectsScene, DuplicatesAreKeptAndLookupsTakeTheFirst) {
    auto manager = make("[Door]\nClass = object\nX = 1\n[Door]\nClass = object\nX = 2\n");
    ASSERT_EQ(manager->GetObjects().size(), 2u);
    EXPECT_EQ(manager->GetObject("Door")->GetPos().x, 1);
    EXPECT_TRUE(log.messages().empty());
    EXPECT_FALSE(manager->HasObject("door"));
    EXPECT_TRUE(log.messages().empty()) << "HasObject is silent";
    EXPECT_EQ(manager->GetObject("door"), nullptr);
    EXPECT_EQ(log.messages(),
              std::vector<std::string>{"CSpyObjManager::GetObject(). Cannot find object: door"});
}

TEST_F(ObjectsScene, ALoadAgainStartsFromNoObjects) {
    auto manager = make(AllThree);
    std::weak_ptr<CSpyObject> before = manager->GetObjects().front();
    manager->CreateObjects("Hall", kit.dir.file("objects.ini"));
    EXPECT_EQ(names(*manager), (std::vector<std::string>{"A:image", "B:animation", "C:text"}));
    EXPECT_TRUE(before.expired());
}

TEST_F(ObjectsScene, ClonesCopyTheCurrentStateAndSetOnlyTheOriginals) {
    auto manager = make("[Key]\nClass = image\nImage = pic\nX = 10\nY = 20\nColor = 80ff0000\n");
    CSpyObject* key = manager->GetObject("Key");
    key->SetPos(50, 60);
    key->SetScale({2, 2}, false);

    CSpyObject* same = manager->CloneObject("Key", "Key2");
    ASSERT_NE(same, nullptr);
    EXPECT_EQ(same->GetClassName(), "image");
    EXPECT_EQ(static_cast<CSpyObjImage*>(same)->GetImage(), static_cast<CSpyObjImage*>(key)->GetImage());
    EXPECT_EQ(same->GetName(), "Key2");
    EXPECT_EQ(same->GetOrigPos(), (SpyPoint{10, 20}));
    EXPECT_EQ(same->GetOrigColor(), 0x80FF0000u);
    EXPECT_EQ(same->GetPos(), (SpyPoint{50, 60})) << "nothing is reset";
    EXPECT_EQ(same->GetWidth(), 8u);

    CSpyObject* moved = manager->CloneObject("Key", "Key3", SpyPoint{1, 2}, 0xFF00FF00u);
    EXPECT_EQ(moved->GetOrigPos(), (SpyPoint{1, 2}));
    EXPECT_EQ(moved->GetOrigColor(), 0xFF00FF00u);
    EXPECT_EQ(key->GetOrigPos(), (SpyPoint{10, 20}));
    EXPECT_EQ(manager->GetObject("Key3"), moved);

    EXPECT_EQ(manager->CloneObject("Lock", "Lock2"), nullptr);
    EXPECT_EQ(log.messages(),
              std::vector<std::string>{"CSpyObjManager::GetObject(). Cannot find object: Lock"});
    EXPECT_EQ(manager->GetObjects().size(), 3u);
}

TEST_F(ObjectsScene, RectObjectsAreBareUnitScaleRectangles) {
    CSpyObjManager manager;
    CSpyObject* rect = manager.AddRectObject("hot", "Hall", {5, 6}, 30, 40);
    EXPECT_EQ(rect->GetClassName(), "object");
    EXPECT_EQ(rect->GetGroup(), "Hall");
    rect->Reset();
    EXPECT_EQ(rect->GetPos(), (SpyPoint{5, 6}));
    EXPECT_EQ(rect->GetWidth(), 30u);
    EXPECT_TRUE(rect->HitTest(34, 45));
    EXPECT_EQ(manager.GetObject("hot"), rect);
}

// The three objects moved off their places, the text given a text of its own.
std::string savedRecord(CSpyObjManager& manager) {
    for (const auto& object : manager.GetObjects())
        object->SetPos(object->GetPos().x + 100, 7);
    manager.GetObject("B")->StartAnim(aAnim::MODE_BACKWARD);
    manager.GetObject("C")->SetText(L"note");
    return SaveRecords().save(manager);
}

TEST_F(ObjectsScene, RecordRoundTripSkipsObjectsThatAreGone) {
    auto saved = make(AllThree);
    saved->AddRectObject("hot", "Hall", {0, 0}, 5, 5);
    const std::string record = savedRecord(*saved);
    EXPECT_EQ(record.substr(0, 6), SaveRecords::hex("04000000 4100"));

    const struct {
        const char* what;
        std::string ini;
    } cases[] = {
        {"all", std::string(AllThree) + "[hot]\nClass = object\n"},
        {"without the rect, the last", AllThree},
        {"without the animation", "[A]\nClass = image\nImage = pic\n[C]\nClass = text\n"},
        {"without the text, last but one",
         "[A]\nClass = image\nImage = pic\n[B]\nClass = animation\n[hot]\nClass = object\n"},
        {"without the image", "[B]\nClass = animation\n[C]\nClass = text\n"},
    };
    for (const auto& c : cases) {
        auto loaded = make(c.ini);
        log.clear();
        ASSERT_TRUE(SaveRecords().load(*loaded, record)) << c.what;
        EXPECT_TRUE(log.messages().empty()) << c.what << ": " << log.messages()[0];
        for (const auto& object : loaded->GetObjects())
            EXPECT_EQ(object->GetPos().y, 7) << c.what << ": " << object->GetName();
        if (loaded->HasObject("C")) {
            EXPECT_EQ(loaded->GetObject("C")->GetText(), L"note") << c.what;
        }
        if (loaded->HasObject("B")) {
            EXPECT_EQ(static_cast<CSpyObjAnimation*>(loaded->GetObject("B"))->GetAnim()->getFrameIndex(), 3);
        }
    }
}

TEST_F(ObjectsScene, DamagedRecordsStopWithOneLine) {
    const std::string objectRecord(26, '\0');
    const struct {
        const char* what;
        std::string record;
        const char* line;
    } cases[] = {
        {"a count beyond the record", SaveRecords::hex("ffffffff 4100") + objectRecord,
         "CSpyObjManager::LoadSelf(). Count 4294967295 does not fit the 28 bytes left in the record"},
        {"a lost object followed by an unknown one",
         SaveRecords::hex("03000000 5a00") + objectRecord + SaveRecords::hex("5900") + objectRecord +
             SaveRecords::hex("4100") + objectRecord,
         "CSpyObjManager::LoadSelf(). Cannot tell where the record of the lost object 'Z' ends"},
    };
    for (const auto& c : cases) {
        auto loaded = make(AllThree);
        log.clear();
        ASSERT_TRUE(SaveRecords().load(*loaded, c.record)) << c.what;
        EXPECT_EQ(log.messages(), std::vector<std::string>{c.line}) << c.what;
        EXPECT_EQ(loaded->GetObject("A")->GetPos().x, 1) << c.what;
    }
}

} // namespace
