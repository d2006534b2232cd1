#include "BasicsRoomKit.h"
#include "support/game/SaveRecords.h"

namespace {

using namespace std::string_literals;
using Names = std::vector<std::string>;

class Menu : public BasicsRoomTest {
protected:
    cMenu& menu() { return room->menu; }
};

TEST_F(Menu, EachNewEntryUnderTheCursorSoundsOnce) {
    frame(225, 105);
    EXPECT_EQ(toolkitSounds(), Names{"menu_hover"});
    frame(226, 106);
    EXPECT_EQ(toolkitSounds(), Names{});
    frame(255, 105);
    EXPECT_EQ(toolkitSounds(), Names{"menu_hover"});
    // Out to empty space and back: the entry is still the last one hovered.
    frame(150, 280);
    frame(255, 105);
    EXPECT_EQ(toolkitSounds(), Names{});
    // Plain items and the background are not entries.
    frame(285, 105);
    frame(305, 105);
    frame(255, 105);
    EXPECT_EQ(toolkitSounds(), Names{});
    EXPECT_TRUE(room->calls.empty());
}

TEST_F(Menu, APressShowsTheHighlightedPictureUntilTheButtonComesUpAnywhere) {
    frame(225, 105);
    quiet();
    frame(225, 105, {.down = {0}});
    EXPECT_EQ(room->calls, Names{"A"});
    EXPECT_EQ(toolkitSounds(), Names{"menu_click"});
    EXPECT_FALSE(item("BTN_A").IsVisible());
    EXPECT_TRUE(item("BTN_A_ON").IsVisible());
    frame(225, 105, Input{});
    frame(150, 280, Input{});
    EXPECT_TRUE(item("BTN_A_ON").IsVisible());
    frame(150, 280, {.up = {0}});
    EXPECT_TRUE(item("BTN_A").IsVisible());
    EXPECT_FALSE(item("BTN_A_ON").IsVisible());
    EXPECT_EQ(room->calls, Names{"A"});

    // An entry without a highlighted picture stays as it is.
    frame(255, 105, {.down = {0}});
    frame(255, 105, {.up = {0}});
    EXPECT_EQ(room->calls, (Names{"A", "B"}));
    EXPECT_TRUE(item("BTN_B").IsVisible());
}

TEST_F(Menu, ADisabledEntryNeitherSoundsNorCalls) {
    menu().EnableItem(&item("BTN_B"), false);
    EXPECT_TRUE(item("BTN_B").IsDisabled());
    frame(255, 105, {.down = {0}});
    frame(255, 105, {.up = {0}});
    EXPECT_EQ(toolkitSounds(), Names{});
    EXPECT_TRUE(room->calls.empty());
    menu().EnableItem(&item("BTN_B"), true);
    frame(255, 105, {.down = {0}});
    EXPECT_EQ(room->calls, Names{"B"});
    // Once hovered while disabled, enabling it brings no second hover sound.
    EXPECT_EQ(toolkitSounds(), Names{"menu_click"});
}

TEST_F(Menu, ShowingLeavesHighlightedPicturesHiddenAndResetHidesNothing) {
    frame(225, 105, {.down = {0}});
    ASSERT_TRUE(item("BTN_A_ON").IsVisible());
    menu().SetVisible(true);
    EXPECT_FALSE(item("BTN_A_ON").IsVisible());
    EXPECT_TRUE(item("BTN_A").IsVisible());
    menu().SetVisible(false);
    for (const char* name : {"MENU", "MENU_TEXT", "BTN_A", "BTN_A_ON", "BTN_B"})
        EXPECT_FALSE(item(name).IsVisible()) << name;
    menu().SetVisible(true);
    menu().Reset();
    EXPECT_FALSE(menu().IsVisible());
    EXPECT_TRUE(item("BTN_B").IsVisible());
    // Not shown: the menu takes no input.
    frame(255, 105, {.up = {0}});
    frame(255, 105, {.down = {0}});
    EXPECT_EQ(room->calls, Names{"A"});
}

TEST_F(Menu, AHandlerMayEmptyOrRebuildItsOwnMenu) {
    room->react = [this](const std::string& name) {
        if (name == "A")
            menu().Clear();
        if (name == "B") {
            menu().RemoveItem(&item("BTN_B"));
            menu().AddItem(&item("BTN_A"), nullptr);
        }
    };
    frame(255, 105, {.down = {0}});
    frame(255, 105, {.up = {0}});
    frame(225, 105, {.down = {0}});
    frame(225, 105, {.up = {0}});
    EXPECT_EQ(room->calls, (Names{"B", "A"}));
    frame(225, 105, {.down = {0}});
    frame(255, 105, {.down = {0}});
    EXPECT_EQ(room->calls, (Names{"B", "A"}));
}

TEST_F(Menu, EntriesChangeTheirPicturesAndTheRecordNamesThemInOrder) {
    frame(255, 105);
    SaveRecords records;
    HostEntity host;
    host.save = [this](SaveLoadSystem& sys, u8* pos) { return menu().SaveSelf(sys, pos); };
    const std::string shown = "\1zoom_Basics:MENU\0zoom_Basics:BTN_B\0\1\0\0\0zoom_Basics:MENU_TEXT\0"s;
    EXPECT_EQ(records.save(host), shown + "zoom_Basics:BTN_A\0zoom_Basics:BTN_A_ON\0zoom_Basics:BTN_B\0\0"s);

    // A null old item stands for the first entry.
    menu().SetEntry(nullptr, &item("MENU_TEXT"), nullptr);
    menu().SetEntry(&item("BTN_B"), &item("BTN_B"), &item("BTN_A_ON"));
    menu().SetBackground(nullptr);
    menu().ClearPlainItems();
    const std::string changed = "\1\0zoom_Basics:BTN_B\0\0\0\0\0zoom_Basics:MENU_TEXT\0\0"s
                                "zoom_Basics:BTN_B\0zoom_Basics:BTN_A_ON\0"s;
    EXPECT_EQ(records.save(host), changed);

    // Loading fills the entries there are.
    cMenu loaded;
    loaded.AddItem(&item("BTN_A"), nullptr);
    loaded.AddItem(&item("BTN_A"), nullptr);
    host.load = [&](SaveLoadSystem& sys, const u8* pos) { return loaded.LoadSelf(rooms, sys, pos); };
    ASSERT_TRUE(records.load(host, changed));
    EXPECT_EQ(host.leftAfterLoad, 0u);
    host.save = [&](SaveLoadSystem& sys, u8* pos) { return loaded.SaveSelf(sys, pos); };
    EXPECT_EQ(records.save(host), changed);
}

TEST_F(Menu, ALaterEntryStaysHighlightedWhenReleasedOverAnEarlierOne) {
    menu().Reset();
    cMenu two;
    two.AddItem(&item("BTN_A"), nullptr);
    two.AddItem(&item("BTN_B"), nullptr, &item("MENU"));
    two.SetVisible(true);
    const auto step = [&](i32 x, i32 y, const Input& in) {
        frame(x, y, in);
        two.Update(room->GetItemUnderCursor());
    };
    step(255, 105, {.down = {0}});
    EXPECT_TRUE(item("MENU").IsVisible());
    step(225, 105, Input{});
    step(225, 105, {.up = {0}});
    EXPECT_TRUE(item("MENU").IsVisible());
    EXPECT_FALSE(item("BTN_B").IsVisible());
    // Anywhere but over an earlier entry the picture goes back.
    step(150, 280, Input{});
    EXPECT_FALSE(item("MENU").IsVisible());
    EXPECT_TRUE(item("BTN_B").IsVisible());
}

} // namespace
