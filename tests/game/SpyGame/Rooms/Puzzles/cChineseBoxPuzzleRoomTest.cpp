#include "game/SpyGame/Rooms/Puzzles/cChineseBoxPuzzleRoom.h"
#include "CloseUpKit.h"
#include "support/game/SaveRecords.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr f32 Quarter = 1.5707964f;

struct BoxProbe : cChineseBoxPuzzleRoom {
    using cChineseBoxPuzzleRoom::m_GrabOffset;
    using cChineseBoxPuzzleRoom::m_pCursorRoomForm;
};

// A lid of quarter-turn steps: DISK1 (40 x 40 at (50, 50)) is there, DISK2 (at (150, 50)) comes from
// JADE; ELEMENT1 (at (50, 150)) is there and set in for good (locked), ELEMENT2 (at (150, 150)) comes
// from PIN into its place. The lid fades in 0.5 s; pops peak at 1.2 (elements) and 1.6 (disks).
class Box : public CloseUpTest<BoxProbe> {
protected:
    void SetUp() override {
        addSounds({"chinbox_rotating", "chinbox_putitem", "chinbox_clickitem", "chinbox_itemvalidated",
                   "chinbox_open"});
        addPicture("disk", 40, 40, 0xFF808080);
        platform::srand(3);
        open(ini,
             image("disk1", "disk", 50, 50) + image("disk2", "disk", 150, 50) +
                 objects({{"element1", 50, 150},
                          {"element2", 150, 150},
                          {"cover", 300, 20},
                          {"lights", 300, 60},
                          {"open", 300, 100}}),
             items, objects({{"jade", 10, 10}, {"pin", 40, 10}, {"cup", 70, 10}}),
             "[JADE]\nObject = jade\nIsQuestItem = 1\n[PIN]\nObject = pin\nIsQuestItem = 1\n"
             "[CUP]\nObject = cup\nIsQuestItem = 1\n");
        for (const char* name : {"JADE", "PIN", "CUP"}) {
            hallItem(name).SetInInventory(true);
            inventory().AddItem(&hallItem(name));
        }
        // Items unlock on their first frame.
        frame(300, 250);
        quiet();
    }
    // The box's sounds started since the last look, all stopped so that the next start shows.
    Names heard() {
        Names names = soundsOf("chinbox");
        quiet();
        return names;
    }
    // The button pressed right of the disk's centre, held round it by `turn` radians in two moves and
    // released there.
    void drag(const char* disk, f32 turn) {
        const SpyPoint c = item(disk).GetPos();
        const auto at = [&](f32 a) {
            return std::pair{i32(std::lround(c.x + 20 + 15 * std::cos(a))),
                             i32(std::lround(c.y + 20 + 15 * std::sin(a)))};
        };
        frame(at(0).first, at(0).second, {.down = {0}});
        frame(at(turn / 2).first, at(turn / 2).second);
        frame(at(turn).first, at(turn).second);
        frame(at(turn).first, at(turn).second, {.up = {0}});
    }
    f32 angle(const char* name) { return item(name).GetRotation(); }
    bool upright(const char* name) { return std::cos(angle(name)) > 0.999f; }
    void clickUntilUpright(const char* name, i32 x, i32 y) {
        for (int i = 0; i < 4 && !upright(name); ++i)
            click(x, y);
    }
    // Everything but ELEMENT2's piece done.
    void allButPin() {
        carry("JADE");
        click(170, 70);
        drag("DISK2", -angle("DISK2"));
        drag("DISK1", 0);
        quiet();
    }

    std::string ini = "[Angles]\ndisks = 4\nelements = 4\n"
                      "[Connections]\nDISK1 =\nDISK2 = JADE\nELEMENT1 =\nELEMENT2 = PIN\n"
                      "[Timer]\ntimeofhide = 0.5\n[AutoRotate]\nzoom1 = 1.2\nzoom2 = 1.6\n";
    std::string items =
        "[DISK1]\nObject = disk1\n[DISK2]\nObject = disk2\nVisible = 0\n"
        "[ELEMENT1]\nObject = element1\nUsedItem = NEVER\n[ELEMENT2]\nObject = element2\nVisible = 0\n"
        "[COVER]\nObject = cover\n[LIGHTS]\nObject = lights\n[BOXISOPEN]\nObject = open\nVisible = 0\n";
};

TEST_F(Box, ADiskDraggedUprightPopsAndIsFixed) {
    EXPECT_TRUE(room->GetPropertys().SolveButtonShown);
    for (const char* name : {"rgroup1", "rgroup2", "rect_group3", "rect_group4"})
        EXPECT_TRUE(room->GetItemManager().HasItem(name)) << name << ": one count over both kinds";
    EXPECT_EQ(room->GetPartNames(), (Names{"", "JADE", "", "PIN"}));

    item("DISK1").SetRotation(Quarter);
    drag("DISK1", -Quarter);
    EXPECT_FALSE(room->GetDisks().GetSound()->isPlaying()) << "the turning sound stops with the release";
    EXPECT_EQ(heard(), (Names{"chinbox_rotating", "chinbox_itemvalidated"}));
    EXPECT_EQ(angle("DISK1"), 0);
    EXPECT_TRUE(item("DISK1").IsDisabled());
    frame(300, 250, {.dt = 0.2f});
    EXPECT_FLOAT_EQ(item("DISK1").GetScale().x, 1.6f) << "the disks' peak at half the pop";
    frame(300, 250, {.dt = 0.2f});
    EXPECT_FLOAT_EQ(item("DISK1").GetScale().x, 1.0f);
    EXPECT_EQ(item("DISK1").GetPos(), (SpyPoint{50, 50}));

    drag("DISK1", Quarter);
    EXPECT_EQ(angle("DISK1"), 0) << "fixed for good";
    EXPECT_FALSE(room->IsBoxOpen()) << "DISK2 is still missing";
}

TEST_F(Box, ADiskReleasedAskewSnapsToTheNearestStepAndStaysMovable) {
    drag("DISK1", 1.0f);
    EXPECT_FLOAT_EQ(angle("DISK1"), Quarter) << "1 rad is past 0.44 of a quarter";
    EXPECT_FALSE(item("DISK1").IsDisabled());
    EXPECT_EQ(heard(), Names{"chinbox_rotating"});
    drag("DISK1", 0.6f);
    EXPECT_FLOAT_EQ(angle("DISK1"), Quarter) << "2.16 rad rounds down";
}

TEST_F(Box, PartsComeFromTheInventoryAtARandomStep) {
    platform::srand(11);
    carry("JADE");
    const f32 first = angle("DISK2");
    EXPECT_EQ(room->m_pCursorRoomForm, &item("DISK2"));
    EXPECT_EQ(room->m_GrabOffset, (SpyPoint{0, -20}));
    EXPECT_FLOAT_EQ(std::remainder(first, Quarter), 0) << first;
    platform::srand(11);
    room->SetItemOnCursor(&hallItem("JADE"), nullptr);
    EXPECT_EQ(angle("DISK2"), first) << "the C library's draw, seeded";

    click(300, 250);
    EXPECT_TRUE(item("DISK2").IsVisible()) << "a disk goes in anywhere on the box";
    EXPECT_FALSE(hallItem("JADE").IsVisible());
    EXPECT_EQ(room->GetItemOnCursor(), nullptr);
    const Names put =
        first == 0 ? Names{"chinbox_putitem", "chinbox_itemvalidated"} : Names{"chinbox_putitem"};
    EXPECT_EQ(heard(), put) << "it pops when it came in upright";
    frame(300, 250, {.dt = 0.5f});
    EXPECT_EQ(item("DISK2").GetPos(), (SpyPoint{300, 230})) << "where the pointer held it";

    carry("CUP");
    click(170, 170);
    EXPECT_EQ(room->GetItemOnCursor(), &hallItem("CUP")) << "naming no part, it is not taken";
    EXPECT_EQ(heard(), Names{});

    carry("PIN");
    click(300, 250);
    EXPECT_FALSE(item("ELEMENT2").IsVisible()) << "an element goes only into its place";
    click(165, 165);
    EXPECT_TRUE(item("ELEMENT2").IsVisible());
    EXPECT_TRUE(item("ELEMENT2").IsLocked()) << "set in for good";
    EXPECT_EQ(item("ELEMENT2").GetPos(), (SpyPoint{150, 150}));
}

TEST_F(Box, ElementsTurnAStepPerClickAndPopWhenUpright) {
    item("ELEMENT1").SetRotation(2 * Quarter);
    click(55, 155);
    EXPECT_FLOAT_EQ(angle("ELEMENT1"), 3 * Quarter);
    EXPECT_EQ(heard(), Names{"chinbox_clickitem"});
    clickAt(55, 155);
    EXPECT_TRUE(upright("ELEMENT1"));
    EXPECT_EQ(heard(), (Names{"chinbox_clickitem", "chinbox_itemvalidated"}));
    frame(300, 250, {.dt = 0.2f});
    EXPECT_FLOAT_EQ(item("ELEMENT1").GetScale().x, 1.2f) << "the elements' peak";
    click(55, 155);
    EXPECT_EQ(heard(), Names{}) << "an upright element does not turn";
}

TEST_F(Box, TheBoxOpensOnceTheButtonIsUpAndTheLidFadesAway) {
    item("ELEMENT1").SetRotation(3 * Quarter);
    allButPin();
    carry("PIN");
    click(165, 165);
    clickUntilUpright("ELEMENT2", 165, 165);
    ASSERT_FALSE(room->IsBoxOpen());
    frame(55, 155, {.down = {0}});
    ASSERT_TRUE(upright("ELEMENT1"));
    quiet();
    frame(55, 155);
    EXPECT_FALSE(room->IsBoxOpen()) << "held: no test";
    frame(55, 155, {.up = {0}, .dt = 0});
    EXPECT_TRUE(room->IsBoxOpen());
    EXPECT_EQ(heard(), Names{"chinbox_open"});
    EXPECT_FALSE(room->GetDisks().IsEnabled());
    EXPECT_FALSE(room->GetElements().IsEnabled());
    // Opaque to transparent over 0.5 s: still running on the frame that reaches it, then shown open.
    const u32 alpha[] = {0x7F, 0x00, 0x00};
    for (int f = 0; f < 3; ++f) {
        frame(300, 250, {.dt = 0.25f});
        EXPECT_EQ(item("COVER").GetColor() >> 24, alpha[f]) << "frame " << f;
        EXPECT_EQ(item("BOXISOPEN").IsVisible(), f == 2) << "frame " << f;
    }
    EXPECT_EQ(item("DISK1").GetColor() >> 24, 0u);
}

class FineBox : public Box {
protected:
    void SetUp() override {
        ini = "[Angles]\ndisks = 180\nelements = 180\n[Connections]\nELEMENT1 =\n";
        items = "[ELEMENT1]\nObject = element1\nUsedItem = NEVER\n";
        Box::SetUp();
    }
};

TEST_F(FineBox, UprightAtOneHundredAndEightyStepsAllowsOneStepOff) {
    const f32 step = 6.2831855f / 180;
    const struct {
        f32 steps;
        bool open;
    } cases[] = {{0, true}, {1, true}, {-1, true}, {179, true}, {2, false}, {-2, false}, {90, false}};
    for (const auto& c : cases) {
        room->Reset();
        item("ELEMENT1").SetRotation(c.steps * step);
        frame(300, 250);
        EXPECT_EQ(room->IsBoxOpen(), c.open) << c.steps << " steps";
    }
}

TEST_F(Box, TheSolveTakesThePiecesAndOpensTheBox) {
    EXPECT_TRUE(room->ProcessAutoActions());
    EXPECT_FALSE(inventory().HasItem("JADE"));
    EXPECT_FALSE(inventory().HasItem("PIN"));
    EXPECT_TRUE(inventory().HasItem("CUP"));
    EXPECT_TRUE(room->IsBoxOpen());
    EXPECT_FALSE(room->ProcessAutoActions());
    for (int f = 0; f < 3; ++f)
        frame(300, 250, {.dt = 0.25f});
    EXPECT_TRUE(item("BOXISOPEN").IsVisible());
}

TEST_F(Box, AGameSavedMidPopAndMidFadeReloadsToTheSameBytes) {
    item("DISK1").SetRotation(Quarter);
    drag("DISK1", -Quarter);
    frame(300, 250, {.dt = 0.1f});
    expectSameBytesAfterReload();
    EXPECT_TRUE(item("DISK1").IsDisabled());
    EXPECT_FALSE(room->GetDisks().CanGrab(&item("DISK1")));

    room->ProcessAutoActions();
    frame(300, 250, {.dt = 0.1f});
    expectSameBytesAfterReload();
    EXPECT_TRUE(room->IsBoxOpen());
    for (int f = 0; f < 3; ++f)
        frame(300, 250, {.dt = 0.25f});
    EXPECT_TRUE(item("BOXISOPEN").IsVisible());
}

TEST_F(Box, ARecordNamingAnElementTheRoomLacksLeavesItsPartInHand) {
    SaveRecords records;
    std::string record = records.save(*room);
    // The elements' list: ELEMENT1 then ELEMENT2, the second renamed.
    const std::string list = std::string("zoom_Puzzle:ELEMENT1") + '\0' + "zoom_Puzzle:ELEMENT2";
    const size_t at = record.find(list);
    ASSERT_NE(at, std::string::npos);
    record[at + list.size() - 1] = 'X';
    ASSERT_TRUE(records.load(*room, record));
    const std::list<CSpyItem*>& elements = room->GetElements().GetItems();
    ASSERT_NE(std::find(elements.begin(), elements.end(), nullptr), elements.end());
    carry("PIN");
    click(165, 165);
    EXPECT_FALSE(item("ELEMENT2").IsVisible());
    EXPECT_EQ(room->GetItemOnCursor(), &hallItem("PIN"));
}

TEST_F(Box, LoadedAgainItTurnsOnlyTheNewItems) {
    const std::string folder = data() + Name + "/";
    room->LoadResources(folder, Name, aOptionsFile(folder + "room.ini"),
                        std::string("language:Investigations/Demo/") + Name + "/");
    res->BeginLoading();
    while (!res->isDone())
        res->LoadStep();
    room->AfterLoadInit();
    room->Reset();
    room->Enter("Demo", nullptr);
    EXPECT_EQ(room->GetDisks().GetItems(), (std::list<CSpyItem*>{&item("DISK1"), &item("DISK2")}));
    EXPECT_EQ(room->GetPartNames(), (Names{"", "JADE", "", "PIN"}));
    frame(300, 250);
    item("DISK1").SetRotation(Quarter);
    drag("DISK1", -Quarter);
    EXPECT_TRUE(item("DISK1").IsDisabled());
}

// One disk, a quarter turn off, and no sections but "Connections".
class BareBox : public Box {
protected:
    void SetUp() override {
        ini = "[Connections]\n";
        items = "[DISK1]\nObject = disk1\n[BOXISOPEN]\nObject = open\nVisible = 0\n";
        beforeEnter = [this] { item("DISK1").SetRotation(Quarter); };
        Box::SetUp();
    }
    LogCapture capture;
};

TEST_F(BareBox, KeepsItsStepsPopsAtItsOwnPeakAndOpensWithoutAFade) {
    EXPECT_TRUE(capture.contains("Cann't find section \"Angles\" !"));
    EXPECT_EQ(room->GetDisks().GetStepCount(), 180u);
    EXPECT_EQ(room->GetElements().GetStepCount(), 180u);
    drag("DISK1", -Quarter);
    EXPECT_TRUE(room->IsBoxOpen());
    EXPECT_TRUE(item("BOXISOPEN").IsVisible()) << "no fade time: the lid is gone at once";
    frame(300, 250, {.dt = 0.2f});
    EXPECT_FLOAT_EQ(item("DISK1").GetScale().x, 1.4f);
}

// Of the lid only DISK1 is there, upright.
class BoxWithoutLid : public Box {
protected:
    void SetUp() override {
        items = "[DISK1]\nObject = disk1\n";
        Box::SetUp();
    }
};

TEST_F(BoxWithoutLid, SkipsWhatIsMissing) {
    EXPECT_EQ(room->GetPartNames(), Names{""});
    EXPECT_TRUE(room->IsBoxOpen()) << "all there is stands upright";
    for (int f = 0; f < 3; ++f)
        frame(300, 250, {.dt = 0.25f});
    EXPECT_FALSE(room->GetItemManager().HasItem("BOXISOPEN"));
}

} // namespace
