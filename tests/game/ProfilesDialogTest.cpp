#include "DialogKit.h"
#include "game/ProfilesManager.h"

#include <filesystem>

namespace {

// Three slots (any non-zero Tag); "title" and the nested "inner" are not slots.
const char* const Script = R"(window profiles_list
{
  AreaRect 0 0 400 400
  Visible 0
  widget title
  {
    AreaRect 0 0 400 40
  }
  widget slotA
  {
    AreaRect 10 50 300 40
    Tag 7
  }
  widget slotB
  {
    AreaRect 10 100 300 40
    Tag 7
  }
  widget slotC
  {
    AreaRect 10 150 300 40
    Tag 9
  }
  widget selection
  {
    AreaRect 10 50 300 40
    Static 1
    Visible 0
  }
  widget new_profile
  {
    AreaRect 10 300 80 20
  }
  widget del_profile
  {
    AreaRect 100 300 80 20
  }
  widget close
  {
    AreaRect 200 300 80 20
  }
  widget deep
  {
    AreaRect 0 350 50 40
    widget inner
    {
      AreaRect 0 0 10 10
      Tag 5
    }
  }
}
window create_new_profile
{
  AreaRect 0 0 400 200
  Visible 0
  editbox name
  {
    AreaRect 10 10 300 30
  }
  widget profile_exist
  {
    AreaRect 10 50 300 20
    Visible 0
  }
  widget btn_ok
  {
    AreaRect 10 100 80 20
    Tag 1
  }
  widget btn_cancel
  {
    AreaRect 100 100 80 20
  }
}
window confirm_profile_delete
{
  AreaRect 0 0 400 200
  Visible 0
  widget name
  {
    AreaRect 0 0 100 20
  }
  widget btn_yes
  {
    AreaRect 10 100 80 20
    Tag 1
  }
  widget btn_no
  {
    AreaRect 100 100 80 20
  }
}
)";

Profile named(const std::string& name) {
    Profile p;
    p.name = name;
    return p;
}

class ProfilesDialogTest : public DialogTest {
public:
    ProfilesDialogTest() {
        g_currentProfile = DEFAULT_PROFILE;
        std::filesystem::create_directories(dir.path() + "saves");
        profiles.setFolders(dir.path(), dir.path() + "saves/");
        load(Script);
        profiles.InitDialog(gui->GetRoot());
        log.clear();
    }
    ~ProfilesDialogTest() override { g_currentProfile = DEFAULT_PROFILE; }

    GUI::Widget* list() const { return find("profiles_list"); }
    GUI::Widget* createPage() const { return find("create_new_profile"); }
    GUI::Widget* confirm() const { return find("confirm_profile_delete"); }
    GUI::Widget* nameField() const { return createPage()->FindChild("name"); }
    GUI::Widget* slot(size_t i) const { return profiles.getSlots()[i]; }
    bool shown(GUI::Widget* w) const { return w->IsVisible(true); }

    // A list of profiles with the first selected, closed.
    void seed(const std::vector<std::string>& names) {
        for (const std::string& name : names)
            profiles.getProfiles().push_back(named(name));
        profiles.setSelected(0);
    }
    std::vector<std::string> names() const {
        std::vector<std::string> out;
        for (const Profile& p : profiles.getProfiles())
            out.push_back(p.name);
        return out;
    }
    void type(const std::wstring& text) { nameField()->SetText(text); }
    void enter() { key(nameField(), ProfilesManager::KEY_ENTER); }
    std::string saveFile(const std::string& name) const { return dir.path() + "saves/RVH_" + name + ".save"; }

    ProfilesManager profiles;
};

TEST_F(ProfilesDialogTest, SlotsAreTheTaggedDirectChildrenRenumberedFromZero) {
    ASSERT_EQ(profiles.getSlots().size(), 3u);
    const char* const slots[] = {"slotA", "slotB", "slotC"};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(slot(i)->GetName(), slots[i]);
        EXPECT_EQ(slot(i)->GetTag(), i32(i));
        EXPECT_TRUE(slot(i)->GetMultiClick());
    }
    EXPECT_EQ(find("inner")->GetTag(), 5);
}

TEST_F(ProfilesDialogTest, WhenTheDialogOpens) {
    const struct {
        const char* what;
        std::vector<std::string> names;
        bool firstStart, alreadyOpen;
        bool opened;
        i32 state;
    } cases[] = {
        {"empty list, first start", {}, true, false, true, 1},
        {"empty list from the menu", {}, false, false, true, 1},
        {"players, from the menu", {"Ann"}, false, false, true, 2},
        {"players, first start", {"Ann"}, true, false, false, 0},
        {"open already", {"Ann"}, false, true, false, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ProfilesManager manager;
        manager.setFolders(dir.path(), dir.path() + "saves/");
        manager.InitDialog(gui->GetRoot());
        for (const std::string& name : c.names)
            manager.getProfiles().push_back(named(name));
        if (c.alreadyOpen)
            manager.ShowDialog(false);
        EXPECT_EQ(manager.ShowDialog(c.firstStart), c.opened);
        EXPECT_EQ(manager.getDialogState(), c.state);
        EXPECT_EQ(shown(createPage()), c.state == 1);
        EXPECT_EQ(shown(list()), c.state == 2);
        createPage()->SetVisible(false);
        list()->SetVisible(false);
    }
}

TEST_F(ProfilesDialogTest, TheFirstStartEndsWithAPlayerWhicheverWayThePageIsLeft) {
    enum Way { ESCAPE_KEY, CANCEL_BUTTON, NAME_TYPED };
    const struct {
        Way way;
        Profile made;
    } cases[] = {
        {ESCAPE_KEY, DEFAULT_PROFILE},
        {CANCEL_BUTTON, DEFAULT_PROFILE},
        // Only spaces are trimmed; the no-break space (0xA0) stays. Fresh volumes, the display mode kept.
        {NAME_TYPED, Profile{"\xA0"
                             "Ann Lee",
                             0.75f, 0.5f, 0, 1, true, false}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.way);
        profiles.getProfiles().clear();
        log.clear();
        g_currentProfile = DEFAULT_PROFILE;
        g_currentProfile.fullScreen = c.way != NAME_TYPED;
        g_currentProfile.musicVolume = c.way == NAME_TYPED ? 0.9f : 0.3f;
        ASSERT_TRUE(profiles.ShowDialog(true));
        EXPECT_EQ(gui->GetFocus(), nameField());
        EXPECT_FALSE(find("btn_ok")->IsEnabled(true));
        if (c.way == ESCAPE_KEY)
            key(nameField(), ProfilesManager::KEY_ESCAPE);
        else if (c.way == CANCEL_BUTTON)
            click(find("btn_cancel"));
        else
            type(L"  \u00A0Ann Lee  "), click(find("btn_ok"));
        ASSERT_EQ(profiles.getProfiles().size(), 1u);
        const Profile& expected = c.made;
        EXPECT_EQ(profiles.getProfiles()[0], expected);
        EXPECT_EQ(g_currentProfile, expected);
        EXPECT_EQ(profiles.getSelected(), 0);
        EXPECT_EQ(profiles.getDialogState(), 0);
        EXPECT_FALSE(shown(createPage()));
        EXPECT_TRUE(log.contains("Created new profile \"" + expected.name + "\""));
        EXPECT_TRUE(std::filesystem::exists(dir.file("RVH_profiles.dat")));
    }
}

TEST_F(ProfilesDialogTest, OkIsEnabledOnlyForAUsableName) {
    profiles.ShowDialog(true);
    const struct {
        const wchar_t* text;
        bool usable;
    } cases[] = {{L"", false},     {L"   ", false},  {L"a/b", false},
                 {L"a\\b", false}, {L"x\ty", false}, {L" a ", true}};
    for (const auto& c : cases) {
        type(c.text);
        EXPECT_EQ(find("btn_ok")->IsEnabled(true), c.usable) << c.text;
        enter();
        EXPECT_EQ(profiles.getProfiles().size(), c.usable ? 1u : 0u) << c.text;
        if (c.usable)
            break;
    }
}

TEST_F(ProfilesDialogTest, ANameTakenInAnyCaseShowsTheMessageAndKeepsThePageOpen) {
    seed({"Ann", "Bob"});
    g_currentProfile = named("Ann");
    ASSERT_TRUE(profiles.ShowDialog(false));
    click(find("new_profile"));
    ASSERT_TRUE(shown(createPage()));
    type(L" aNN ");
    enter();
    EXPECT_TRUE(shown(find("profile_exist")));
    EXPECT_TRUE(shown(createPage()));
    EXPECT_EQ(names(), (std::vector<std::string>{"Ann", "Bob"}));
    type(L" aNNa");
    EXPECT_FALSE(shown(find("profile_exist")));

    // A new name in the list selects the new player, who becomes the current one; Escape only closes.
    enter();
    EXPECT_EQ(names(), (std::vector<std::string>{"Ann", "Bob", "aNNa"}));
    EXPECT_EQ(profiles.getSelected(), 2);
    EXPECT_EQ(g_currentProfile.name, "aNNa");
    EXPECT_EQ(profiles.getDialogState(), 2);
    EXPECT_FALSE(shown(createPage()));
    click(find("new_profile"));
    key(nameField(), ProfilesManager::KEY_ESCAPE);
    EXPECT_FALSE(shown(createPage()));
    EXPECT_EQ(profiles.getProfiles().size(), 3u);
}

TEST_F(ProfilesDialogTest, TheListShowsNamesAsTheyStandAndEnablesWhatIsPossible) {
    const struct {
        std::vector<std::string> names;
        bool canCreate, canDelete;
    } cases[] = {
        {{"%s%d"}, true, false},
        {{"%s%d", "Bob"}, true, true},
        {{"%s%d", "Bob", "Cy"}, false, true},
        {{"%s%d", "Bob", "Cy", "Dee"}, false, true}, // more players than slots: the first three
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.names.size());
        profiles.getProfiles().clear();
        seed(c.names);
        profiles.setSelected(1 % i32(c.names.size()));
        profiles.RefreshList();
        for (size_t i = 0; i < 3; ++i) {
            EXPECT_EQ(shown(slot(i)), i < c.names.size());
            if (i < c.names.size()) {
                EXPECT_EQ(slot(i)->GetText(), std::wstring(c.names[i].begin(), c.names[i].end()));
            }
        }
        EXPECT_EQ(find("new_profile")->IsEnabled(true), c.canCreate);
        EXPECT_EQ(find("del_profile")->IsEnabled(true), c.canDelete);
        EXPECT_TRUE(shown(find("selection")));
        EXPECT_EQ(find("selection")->GetArea(), slot(size_t(profiles.getSelected()))->GetArea());
    }
}

TEST_F(ProfilesDialogTest, SlotsSelectOnThePressAndCloseOnADoubleClick) {
    seed({"Ann", "Bob"});
    g_currentProfile = named("Ann");
    ASSERT_TRUE(profiles.ShowDialog(false));
    moveTo(50, 120); // slotB
    input.buttonDown(0);
    frame();
    EXPECT_EQ(profiles.getSelected(), 1);
    EXPECT_EQ(find("selection")->GetArea(), slot(1)->GetArea());
    input.buttonUp(0);
    frame();
    EXPECT_EQ(profiles.getDialogState(), 2);
    EXPECT_EQ(g_currentProfile.name, "Ann");
    input.buttonDown(0);
    frame();
    input.buttonUp(0);
    frame();
    EXPECT_EQ(profiles.getDialogState(), 0);
    EXPECT_FALSE(shown(list()));
    EXPECT_EQ(g_currentProfile.name, "Bob");
}

TEST_F(ProfilesDialogTest, DeletingSelectsTheNextOneOrTheOneBeforeTheLastAndRemovesTheSave) {
    const struct {
        i32 selected;
        bool yes;
        std::vector<std::string> left;
        i32 selectedAfter;
    } cases[] = {
        {2, true, {"Ann", "Bob"}, 1},
        {1, true, {"Ann", "Cy"}, 1},
        {0, true, {"Bob", "Cy"}, 0},
        {1, false, {"Ann", "Bob", "Cy"}, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.selected);
        profiles.getProfiles().clear();
        seed({"Ann", "Bob", "Cy"});
        profiles.setSelected(c.selected);
        const std::string gone = profiles.getProfiles()[size_t(c.selected)].name;
        g_currentProfile = named(gone);
        log.clear();
        ASSERT_TRUE(profiles.ShowDialog(false));
        dir.write("saves/RVH_" + gone + ".save", "old game");
        click(find("del_profile"));
        ASSERT_TRUE(shown(confirm()));
        EXPECT_EQ(confirm()->FindChild("name")->GetText(), std::wstring(gone.begin(), gone.end()));
        click(find(c.yes ? "btn_yes" : "btn_no"));
        EXPECT_FALSE(shown(confirm()));
        EXPECT_EQ(names(), c.left);
        EXPECT_EQ(profiles.getSelected(), c.selectedAfter);
        EXPECT_EQ(std::filesystem::exists(saveFile(gone)), !c.yes);
        EXPECT_EQ(log.contains("Profile \"" + gone + "\" deleted"), c.yes);
        // Deleting while the list is open made the selected player the current one.
        EXPECT_EQ(g_currentProfile.name, c.left[size_t(c.selectedAfter)]);
        click(find("close"));
    }
}

TEST_F(ProfilesDialogTest, ANewPlayerNeverInheritsAnOldSavedGame) {
    dir.write("saves/RVH_Ann.save", "old game");
    profiles.ShowDialog(true);
    type(L"Ann");
    enter();
    EXPECT_FALSE(std::filesystem::exists(saveFile("Ann")));
}

TEST_F(ProfilesDialogTest, AFileWithNoPlayersStillGivesTheCurrentSettingsToTheFirstOne) {
    g_currentProfile = Profile{"Zed", 0.1f, 0.2f, 7, 1, false, false};
    ASSERT_TRUE(profiles.Save());
    g_currentProfile = DEFAULT_PROFILE;
    profiles.Load();
    EXPECT_TRUE(profiles.getProfiles().empty());
    ASSERT_TRUE(profiles.ShowDialog(true));
    key(nameField(), ProfilesManager::KEY_ESCAPE);
    const Profile zed{"Zed", 0.1f, 0.2f, 7, 1, false, false};
    ASSERT_EQ(profiles.getProfiles().size(), 1u);
    EXPECT_EQ(profiles.getProfiles()[0], zed);
    EXPECT_EQ(g_currentProfile, zed);
}

TEST_F(ProfilesDialogTest, WithoutASelectionTheCurrentPlayerStaysAndNothingIsDeleted) {
    seed({"Ann", "Bob"});
    profiles.setSelected(-1);
    g_currentProfile = named("Zed");
    ASSERT_TRUE(profiles.ShowDialog(false));
    EXPECT_FALSE(shown(find("selection")));
    EXPECT_FALSE(find("del_profile")->IsEnabled(true));
    // The handlers are reached whatever the buttons show.
    click(find("del_profile"));
    EXPECT_FALSE(shown(confirm()));
    click(find("btn_yes"));
    EXPECT_EQ(names(), (std::vector<std::string>{"Ann", "Bob"}));
    click(find("close"));
    EXPECT_EQ(profiles.getDialogState(), 0);
    EXPECT_EQ(g_currentProfile.name, "Zed");
}

TEST_F(ProfilesDialogTest, OpeningTheListTakesTheCurrentSettingsIntoTheSelectedPlayer) {
    seed({"Ann", "Bob"});
    profiles.setSelected(1);
    g_currentProfile = named("Bob");
    g_currentProfile.musicVolume = 0.05f;
    ASSERT_TRUE(profiles.ShowDialog(false));
    EXPECT_FLOAT_EQ(profiles.getProfiles()[1].musicVolume, 0.05f);
    GUI::MouseEventArgs press(slot(0));
    slot(0)->OnMouseDown(press);
    EXPECT_EQ(g_currentProfile.name, "Bob");
    click(find("close"));
    EXPECT_EQ(g_currentProfile.name, "Ann");
}

} // namespace
