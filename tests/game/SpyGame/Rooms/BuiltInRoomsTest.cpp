#include "RoomFrameKit.h"
#include "game/SpyGame/Rooms/CEvidenceBox.h"
#include "game/SpyGame/Rooms/CGlobalMap.h"
#include "game/SpyGame/Rooms/CInvCards.h"
#include "support/game/SaveRecords.h"
#include "tk2v/gfx/aImage.h"

namespace {

using namespace std::string_literals;

TEST(RoomFactory, BuiltInRoomsAreMadeByTheirExactClassNames) {
    CRoomsManager rooms;
    for (const char* name : {"RoomBase", "GlobalMap", "EvidenceBox", "InvCards"}) {
        std::unique_ptr<CRoomBase> room(rooms.CreateRoom(name));
        ASSERT_NE(room, nullptr) << name;
        EXPECT_EQ(room->GetClassName(), name);
        EXPECT_EQ(room->GetPropertys().InventoryEnabled, name == "RoomBase"s) << name;
    }
    EXPECT_EQ(rooms.CreateRoom("globalmap"), nullptr);
}

// The evidence box, the cards room and the map beside the hall, with Ann's records for the map's doors.
class BuiltInRooms : public RoomFrameTest {
protected:
    void SetUp() override {
        writeRoom("Evidence_box", "Class = EvidenceBox\n",
                  objects({{"a", 0, 0}, {"b", 20, 0}, {"c", 40, 0}, {"d", 60, 0}, {"e", 80, 0}}),
                  "[A]\nObject = a\n[B]\nObject = b\n[C]\nObject = c\n[D]\nObject = d\n[E]\nObject = e\n");
        writeRoom(
            "_InvestigationCards", "Class = InvCards\n",
            objects({{"ico", 10, 10},
                     {"page", 40, 10},
                     {"close", 70, 10},
                     {"opened", 100, 10},
                     {"ico2", 130, 10}}),
            "[ICO_LETTER]\nObject = ico\nGroup = Letter\nIsQuestItem = 1\n"
            "[PAGE1]\nObject = page\nGroup = Pages\n[CLOSE_LETTER]\nObject = close\n"
            "[Letter_OPENED]\nObject = opened\n[ICO_MAP]\nObject = ico2\nGroup = Maps\nIsQuestItem = 1\n",
            400, 300);
        dir.write("Demo/_InvestigationCards/InvCards/LETTER.jng",
                  imagefiles::text(imagefiles::png(4, 2, std::vector<u32>(8, 0xff00ff00))));
        writeRoom("_GlobalMap", "Class = GlobalMap\n",
                  objects({{"study", 10, 10}, {"hall", 40, 10}, {"attic", 70, 10}, {"yard", 100, 10}}),
                  "[TO_STUDY]\nClass = Door\nObject = study\nUseRoom = Study\n"
                  "[TO_HALL]\nClass = Door\nObject = hall\nUseRoom = Hall\n"
                  "[TO_ATTIC]\nClass = Door\nObject = attic\nUseRoom = Attic\n"
                  "[TO_YARD]\nClass = Door\nObject = yard\nUseRoom = Hall\n",
                  400, 300);
        dir.write("Demo/_GlobalMap/Ann.ai", "[ROOM]\n[TO_STUDY]\nUseTo = ONESELF\n[TO_HALL]\nUseTo = NONE\n"
                                            "[TO_ATTIC]\nUseTo = ONESELF\n");
        writeWav("Demo/_GlobalMap/Sounds/cursor_hover_icon.wav");
        dir.write("Demo/_GlobalMap/Sounds/_sounds.list", "cursor_hover_icon.wav 1\n");
        writeRoom("Study", "Class = RoomBase\n", "", "");
        play("", "", "[ROOM]\n", "Evidence_box\n_InvestigationCards\n_GlobalMap\nStudy\n");
    }
    CEvidenceBox& box() { return static_cast<CEvidenceBox&>(*rooms.GetRoom("Evidence_box")); }
    CInvCards& cards() { return static_cast<CInvCards&>(*rooms.GetRoom("_InvestigationCards")); }
    CGlobalMap& map() { return static_cast<CGlobalMap&>(*rooms.GetRoom("_GlobalMap")); }
    CSpyItem& in(const std::string& room, const std::string& name) { return *rooms.GetItem(room, name); }
    // The room's own record after the room base's part.
    std::string tail(CRoomBase& room, size_t bytes) {
        const std::string record = SaveRecords().save(room);
        return record.substr(record.size() - bytes);
    }
};

TEST_F(BuiltInRooms, TheEvidenceBoxShowsWhatItHasAndCountsWhatStaysClosed) {
    for (const char* name : {"A", "B", "C", "D", "E"})
        in("Evidence_box", name).SetVisible(false);
    EXPECT_FALSE(box().ShowEvidence("NOPE"));
    EXPECT_FALSE(panel.GetGlowEvidences());
    EXPECT_EQ(tail(box(), 1), "\0"s);
    EXPECT_TRUE(box().ShowEvidence("A"));
    EXPECT_TRUE(box().ShowEvidence("C"));
    EXPECT_EQ(box().CountClosedItems(), 3u);
    EXPECT_TRUE(panel.GetGlowEvidences());
    EXPECT_EQ(tail(box(), 1), "\1"s);

    panel.GetWidget("Evidences")->SetEnabled(false);
    box().Enter("Demo", nullptr);
    EXPECT_FALSE(box().HasNewEvidence());
    EXPECT_FALSE(panel.GetGlowEvidences());
    box().Leave();
    EXPECT_TRUE(panel.GetWidget("Evidences")->IsEnabled(true));

    const std::string record = SaveRecords().save(box());
    ASSERT_TRUE(SaveRecords().load(box(), record.substr(0, record.size() - 1) + "\1"));
    EXPECT_TRUE(box().HasNewEvidence());
    box().ResetBox("ignored");
    EXPECT_FALSE(box().HasNewEvidence());
}

TEST_F(BuiltInRooms, ACardOpensItsThumbnailOnlyWhenItsGroupShowsOpened) {
    CSpyItem& letter = in("_InvestigationCards", "ICO_LETTER");
    CSpyItem& map = in("_InvestigationCards", "ICO_MAP");
    letter.SetVisible(false);
    map.SetVisible(false);
    EXPECT_TRUE(cards().OpenNewCard("MAP", "Demo"));
    EXPECT_EQ(map.GetCurrentUserData(), "Demo");
    EXPECT_FALSE(map.IsVisible());
    EXPECT_TRUE(cards().OpenNewCard("LETTER", "Other"));
    EXPECT_TRUE(letter.IsVisible());
    EXPECT_TRUE(panel.GetGlowClues());
    EXPECT_FALSE(cards().OpenNewCard("NONE", "Demo"));
    EXPECT_EQ(log.messages().back(),
              "CInvCards::OpenNewCard(). Not find thumbnail for card with name 'NONE'.");
    // New card, reset since last open, card opened: not the order of the fields.
    EXPECT_EQ(tail(cards(), 3), "\1\0\1"s);

    // Carry-over clears only the stamps of this investigation.
    cards().CardsCommand(true, "Demo");
    EXPECT_EQ(map.GetCurrentUserData(), "");
    EXPECT_EQ(letter.GetCurrentUserData(), "Other");
    EXPECT_EQ(tail(cards(), 3), "\0\0\1"s);
    cards().CardsCommand(false, "Demo");
    EXPECT_EQ(letter.GetCurrentUserData(), "");
    EXPECT_FALSE(cards().IsCardOpened());
    EXPECT_EQ(tail(cards(), 3), "\0\1\0"s);
    cards().Enter("Demo", nullptr);
    cards().Leave();
    EXPECT_FALSE(cards().IsResetSinceLastOpen());
}

TEST_F(BuiltInRooms, CardImagesDropTheThumbnailPrefixOnlyBeforeAName) {
    for (const char* name : {"ICO_LETTER", "LETTER"}) {
        boost::shared_ptr<aImage> image = cards().LoadCardImage(name);
        ASSERT_TRUE(image) << name;
        EXPECT_EQ(image->getWidth(), 4) << name;
    }
    dir.write("lang/Investigations/_InvestigationCards/InvCards/ICO_.jng",
              imagefiles::text(imagefiles::png(2, 2, std::vector<u32>(4, 0xffffffff))));
    boost::shared_ptr<aImage> bare = cards().LoadCardImage("ICO_");
    ASSERT_TRUE(bare);
    EXPECT_EQ(bare->getWidth(), 2);
    EXPECT_FALSE(cards().LoadCardImage("MAP"));
}

TEST_F(BuiltInRooms, ClickingAThumbnailShowsItsPagesAndACloseOneHidesThem) {
    CSpyItem& page = in("_InvestigationCards", "PAGE1");
    page.SetCurrentUserData("seen");
    in("_InvestigationCards", "Letter_OPENED").SetCurrentUserData("Pages");
    in("_InvestigationCards", "CLOSE_LETTER").SetCurrentUserData("Pages");
    page.SetVisible(false);
    playing = &cards();
    cards().Enter("Demo", nullptr);
    EXPECT_FALSE(panel.GetWidget("Clues")->IsEnabled(true));
    EXPECT_TRUE(panel.GetWidget("BackBtnPanel")->IsVisible(true));
    clickAt(105, 15);
    EXPECT_TRUE(page.IsVisible());
    frame(75, 15);
    clickAt(75, 15);
    EXPECT_FALSE(page.IsVisible());
}

TEST_F(BuiltInRooms, TheMapShowsRegisteredLocationsAsTheRecordsSay) {
    playing = &map();
    map().Enter("Demo", nullptr);
    EXPECT_FALSE(panel.GetWidget("Map")->IsEnabled(true));
    EXPECT_FALSE(panel.GetWidget("BackBtnPanel")->IsVisible(true));
    struct Door {
        const char* name;
        bool visible, disabled;
    } doors[] = {{"TO_STUDY", true, false},
                 {"TO_HALL", true, true},
                 {"TO_ATTIC", false, false},
                 {"TO_YARD", false, false}};
    for (const Door& door : doors) {
        EXPECT_EQ(in("_GlobalMap", door.name).IsVisible(), door.visible) << door.name;
        if (door.visible) {
            EXPECT_EQ(in("_GlobalMap", door.name).IsDisabled(), door.disabled) << door.name;
        }
    }
    map().DisableLocationForCurrPersonage("Study", false);
    map().RefreshForPersonage();
    EXPECT_TRUE(in("_GlobalMap", "TO_STUDY").IsVisible());
    EXPECT_TRUE(in("_GlobalMap", "TO_STUDY").IsDisabled());
    map().DisableLocationForCurrPersonage("Study", true);
    map().RefreshForPersonage();
    EXPECT_FALSE(in("_GlobalMap", "TO_STUDY").IsVisible());
    map().DisableLocationForCurrPersonage("Nowhere", true);
    EXPECT_EQ(log.messages().back(),
              "CGlobalMap::DisableLocationForCurrPersonage(). Not exist location with name 'Nowhere'");
}

TEST_F(BuiltInRooms, TheHoverSoundPlaysOnceForEachArrivalFromTheEmptyMap) {
    // Two locations side by side.
    in("_GlobalMap", "TO_HALL").SetPos(30.0f, 10.0f);
    playing = &map();
    map().Enter("Demo", nullptr);
    aSound* hover = res->getSoundManager()->getSound("cursor_hover_icon", "_GlobalMap");
    ASSERT_NE(hover, nullptr);
    struct Step {
        i32 x;
        bool sound;
    } steps[] = {{300, false}, {15, true}, {20, false}, {35, false}, {45, false}, {300, false}, {45, true}};
    for (const Step& step : steps) {
        frame(step.x, 15);
        EXPECT_EQ(hover->isPlaying(), step.sound) << step.x;
        hover->stop();
    }
    map().Leave();
    EXPECT_TRUE(panel.GetWidget("Map")->IsEnabled(true));
}

TEST_F(BuiltInRooms, ALocationRestedOnShowsItsNameWhenItHasOne) {
    texts("TO_STUDY = \"Study\"\n", "_GlobalMap");
    playing = &map();
    map().Enter("Demo", nullptr);
    beforeRoom = [&] { panel.GetHint().Update(DT); };
    auto rest = [&](i32 x) {
        for (int i = 0; i < 12; ++i)
            frame(x, 15);
        return panel.GetHint().IsVisible();
    };
    // The hall's door has no text.
    EXPECT_FALSE(rest(45));
    EXPECT_TRUE(rest(15));
    EXPECT_GE(panel.GetHint().GetArea().w, 150);
    map().Leave();
    EXPECT_FALSE(panel.GetHint().IsVisible());
}

} // namespace
