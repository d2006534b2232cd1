#pragma once
#include "game/Profile.h"
#include "game/SaveLoadEntity.h"
#include "game/SaveLoadSystem.h"
#include "tk2v/gui/MemberSubscriptions.h"

#include <string>
#include <vector>

namespace GUI {
class EventArgs;
class Widget;
} // namespace GUI

// The list of player profiles and the current profile, kept in the profiles file, a save stream
// of its own with one record. The profiles dialog works on this list: a page of slots with the
// players' names, a page that creates a player and a question before a deletion.
class ProfilesManager : public SaveLoadEntity, public SaveLoadSystem {
public:
    // The smallest stored profile: an empty name's NUL and 15 bytes of settings.
    static constexpr u32 MinProfileBytes = 16;
    static constexpr u32 FileHeader = 1;

    ProfilesManager();
    ~ProfilesManager() override = default;

    // Where the profiles file and the saved games go; the application's folders until set.
    void setFolders(const std::string& dataFolder, const std::string& savesFolder);
    std::string GetProfilesFileName() const;

    // Reads the profiles file into the list and the current profile; a missing or bad file leaves
    // an empty list and the current profile as it was.
    void Load();
    // Whether Load has run: an instance that never loaded must not overwrite the file.
    bool WasLoaded() const { return m_loadRan; }
    // Syncs the selected entry with the current profile, then writes the file.
    bool Save();

    // The saved game of the profile. Characters that would leave the folder or break the path
    // (slashes, backslashes, control characters) become "_" here; the stored name keeps them.
    std::string GetSaveFileName(const Profile& profile) const;
    void DeleteSaveFile(const Profile& profile) const;
    // The first profile of that name, ignoring ASCII letter case; -1 for none.
    i32 FindProfile(const std::string& name) const;

    // A name the player may give a new profile: something besides spaces, and no character that
    // has no place in a file name.
    static bool IsAcceptableName(const std::string& name);
    // Leading and trailing spaces go; other white space stays.
    static std::string TrimSpaces(const std::string& name);

    // Dialog states.
    enum DialogState : i32 { DIALOG_CLOSED = 0, DIALOG_FIRST_PROFILE = 1, DIALOG_LIST = 2 };
    // Scan codes the name field acts on.
    static constexpr u32 KEY_ESCAPE = 1;
    static constexpr u32 KEY_ENTER = 28;

    // Finds the dialog's windows below the GUI root and binds their events; call once, after the GUI
    // scripts are loaded. The slots are the list window's direct children whose Tag is not 0: they
    // are renumbered 0, 1, ... in child order and their number is the most players there can be.
    void InitDialog(GUI::Widget* guiRoot);
    // Opens the list (not on a first start), or the create page when there is no player yet. False
    // when the dialog is open already, or on a first start with players.
    bool ShowDialog(bool firstStart);
    // Shows the first profiles in the slots, places the selection marker, enables the buttons for
    // what is possible, then saves.
    void RefreshList();

    // The dialog's event handlers; each answers "handled".
    bool SelectSlot(const GUI::EventArgs& args);
    bool SelectAndClose(const GUI::EventArgs& args);
    bool CloseList(const GUI::EventArgs& args);
    bool ShowCreatePage(const GUI::EventArgs& args);
    bool OnNameChanged(const GUI::EventArgs& args);
    // Turns the click into Enter (a button whose Tag is not 0) or Escape in the name field.
    bool OnCreateButton(const GUI::EventArgs& args);
    bool OnNameKey(const GUI::EventArgs& args);
    bool ShowDeleteConfirm(const GUI::EventArgs& args);
    bool OnDeleteAnswer(const GUI::EventArgs& args);

    const std::vector<GUI::Widget*>& getSlots() const { return m_slots; }

    const u8* LoadSelf(SaveLoadSystem& sys, const u8* pos) override;
    u8* SaveSelf(SaveLoadSystem& sys, u8* pos) override;

    std::vector<Profile>& getProfiles() { return m_profiles; }
    const std::vector<Profile>& getProfiles() const { return m_profiles; }
    i32 getSelected() const { return m_selected; }
    void setSelected(i32 index) { m_selected = index; }
    // 0 closed; 1 the create page, shown because no profile exists; 2 the list.
    i32 getDialogState() const { return m_dialogState; }

private:
    static const u8* readProfile(SaveLoadSystem& sys, const u8* pos, Profile& out);
    static u8* writeProfile(SaveLoadSystem& sys, u8* pos, const Profile& profile);
    void logList() const;
    bool hasSelection() const { return m_selected >= 0 && m_selected < i32(m_profiles.size()); }
    void bindSlots();
    template <class H> void bind(GUI::Widget* widget, const char* eventName, H handler);
    // Appends the profile, selects it, and drops any old saved game of its name.
    void addProfile(const Profile& profile);
    void createNamed();
    void hideCreatePage();

    std::vector<Profile> m_profiles;
    i32 m_selected = -1;
    i32 m_dialogState = 0;
    std::string m_dataFolder, m_savesFolder;
    bool m_loadRan = false;

    // The dialog's widgets, owned by the GUI server; null when the scripts lack them.
    GUI::Widget* m_listWindow = nullptr;
    GUI::Widget* m_createWindow = nullptr;
    GUI::Widget* m_confirmWindow = nullptr;
    GUI::Widget* m_selectionMarker = nullptr;
    GUI::Widget* m_nameField = nullptr;
    GUI::Widget* m_existsMessage = nullptr;
    std::vector<GUI::Widget*> m_slots;
    GUI::MemberSubscriptions m_subscriptions;
};
