#include "game/SpyGame/Events/CSpyEventsManager.h"
#include "game/SpyGame/Events/EChangePersonageInfo.h"
#include "game/SpyGame/Events/EChangePersonages.h"
#include "game/SpyGame/Events/EEventForComics.h"
#include "game/SpyGame/Events/EEventForItem.h"
#include "game/SpyGame/Events/ELocationFinish.h"
#include "game/SpyGame/Events/EMagicStarsChanger.h"
#include "game/SpyGame/Events/ENpcItemIdent.h"
#include "game/SpyGame/Events/EShowMessage.h"
#include "game/SpyGame/Events/StoryFakes.h"
#include "support/LogCapture.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace {

using namespace SpyEvents;
using Strings = std::vector<std::string>;

class SpyEventsTest : public testing::Test {
protected:
    SpyEventsTest() { manager.SetInvestigation(&world); }

    template <class Event> Event& only(const std::string& ini) {
        dir.write("_events.ini", ini);
        manager.AddEvents(dir.file("_events.ini"));
        auto* event = dynamic_cast<Event*>(manager.GetEvent(manager.GetEventCount() - 1));
        EXPECT_NE(event, nullptr);
        return *event;
    }

    TempDir dir;
    LogCapture logs;
    FakeWorld world;
    CSpyEventsManager manager;
};

TEST_F(SpyEventsTest, MapFlagsDefaultToOn) {
    EXPECT_TRUE(only<ELocationFinish>("[LocationFinish]\nLocation = room_Hall\n").IsDisableOnMap());
    auto& kept =
        only<ELocationFinish>("[LocationFinish]\nLocation = room_Hall\nDisableOnMap = 0\nHideOnMap = 1\n"
                              "TextId = done\n");
    EXPECT_FALSE(kept.IsDisableOnMap());
    EXPECT_TRUE(kept.IsHideOnMap());
    EXPECT_EQ(kept.GetTextId(), "done");

    EXPECT_TRUE(only<EChangePersonages>("[ChangePersonages]\n").IsGoToMap());
    EXPECT_FALSE(only<EChangePersonages>("[ChangePersonages]\nIsGoToMap = 0\n").IsGoToMap());
    EXPECT_TRUE(logs.messages().empty());
}

TEST_F(SpyEventsTest, ChangeOfPersonagesReadsItsListsAndDropsMalformedHandOvers) {
    auto& change =
        only<EChangePersonages>("[ChangePersonages]\n"
                                "QuitPersonages = Ann\nNewPersonages = Bob, Cy\n"
                                "TextId = call\nLeftPersImage = left\nRightPersImage = right\n"
                                "Ringtone = ring\n"
                                "SendItemsList = Ann:Bob>room_Hall:KEY, Ann>LETTER, Ann:Cy, Ann:Bob>\n"
                                "SendFinishedTasks = Ann:Clues\n");
    EXPECT_EQ(change.GetQuitPersonages(), Strings{"Ann"});
    EXPECT_EQ(change.GetNewPersonages(), (Strings{"Bob", "Cy"}));
    const std::vector<SpyEvents::StringTriple> sends{{"Ann", "Bob", "room_Hall:KEY"}, {"Ann", "Bob", ""}};
    EXPECT_EQ(change.GetSendItems(), sends);
    EXPECT_EQ(change.GetSendFinishedTasks(), Strings{"Ann:Clues"});
    EXPECT_EQ(change.GetTextId(), "call");
    EXPECT_EQ(change.GetLeftPersImage(), "left");
    EXPECT_EQ(change.GetRightPersImage(), "right");
    EXPECT_EQ(change.GetRingtone(), "ring");
    EXPECT_EQ(logs.messages(),
              (Strings{"EChangePersonages::ReadFromIniFile(). Error in expression: Ann>LETTER",
                       "EChangePersonages::ReadFromIniFile(). Error in expression: Ann:Cy"}));
}

TEST_F(SpyEventsTest, PersonageNamesTheTargetAndStaysAStartCondition) {
    auto& info = only<EChangePersonageInfo>("[ChangePersonageInfo]\nPersonage = Bob\nItem = room_Hall:ROOM\n"
                                            "TypeInfo = RoomTask\nNewInfo = task2\n");
    EXPECT_EQ(info.GetTargetPersonage(), "Bob");
    EXPECT_EQ(info.GetPersonage(), "Bob");
    EXPECT_EQ(info.GetItem(), "room_Hall:ROOM");
    EXPECT_EQ(info.GetTypeInfo(), "RoomTask");
    EXPECT_EQ(info.GetNewInfo(), "task2");
    EXPECT_FALSE(info.CanStart());
    world.play("Bob");
    EXPECT_TRUE(info.CanStart());
}

TEST_F(SpyEventsTest, ClassesKeepTheirOwnKeys) {
    auto& ident = only<ENpcItemIdent>("[NpcItemIdent]\nItemInInventory = KEY\nNPC_Image = npc\nTextId = t\n"
                                      "ShowItem = room_Hall:KEY\nIsDelItem = 2\nOpenItem = room_Hall:SAFE\n");
    EXPECT_EQ(ident.GetItem(), "KEY");
    EXPECT_EQ(ident.GetNpcImage(), "npc");
    EXPECT_EQ(ident.GetShowItem(), "room_Hall:KEY");
    EXPECT_TRUE(ident.IsDelItem());
    EXPECT_EQ(ident.GetOpenItem(), "room_Hall:SAFE");
    EXPECT_FALSE(ident.CanStart()) << "the held item is its start condition";
    world.hold({"KEY"});
    EXPECT_TRUE(ident.CanStart());

    auto& forItem = only<EEventForItem>("[EventForItem]\nHideItem = room_Hall:A\nShowItem = room_Hall:B\n");
    EXPECT_EQ(forItem.GetNpcImage(), "");
    EXPECT_EQ(forItem.GetHideItem(), "room_Hall:A");
    EXPECT_EQ(forItem.GetShowItem(), "room_Hall:B");

    auto& comics = only<EEventForComics>("[EventForComics]\nComicsName = intro\nComicsMusic = a:b\n");
    EXPECT_EQ(comics.GetComicsName(), "intro");
    EXPECT_EQ(comics.GetComicsMusic(), "a:b");

    auto& stars =
        only<EMagicStarsChanger>("[MagicStarsChanger]\nItems = room_Hall:A room_Study:B\nShowStars = 1\n");
    EXPECT_EQ(stars.GetItems(), (Strings{"room_Hall:A", "room_Study:B"}));
    EXPECT_TRUE(stars.GetShowStars());

    auto& message = only<EShowMessage>("[ShowMessage]\nTextId = hello\nEventName = greet\n");
    EXPECT_EQ(message.GetTextId(), "hello");
    EXPECT_EQ(message.GetName(), "greet");
    EXPECT_TRUE(logs.messages().empty());
}

} // namespace
