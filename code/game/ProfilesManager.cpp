#include "game/ProfilesManager.h"

#include "game/GameConstants.h"
#include "tk2v/file/aFileServer.h"
#include "tk2v/file/file.h"
#include "tk2v/gfx/aApplication.h"
#include "tk2v/gui/Server.h"
#include "tk2v/gui/Widget.h"
#include "tk2v/util/log.h"
#include "tk2v/util/str.h"

#include <algorithm>

namespace {
char lowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

bool isPathBreaker(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return c == '/' || c == '\\' || byte < 0x20 || byte == 0x7F;
}
} // namespace

ProfilesManager::ProfilesManager() : SaveLoadEntity("<profiles>") {}

void ProfilesManager::setFolders(const std::string& dataFolder, const std::string& savesFolder) {
    m_dataFolder = dataFolder;
    m_savesFolder = savesFolder;
}

std::string ProfilesManager::GetProfilesFileName() const {
    const aApplication* app = aApplication::getInstance();
    const std::string folder = !m_dataFolder.empty() || !app ? m_dataFolder : app->getUserDataFolder();
    return folder + SHORT_NAME + "_profiles.dat";
}

std::string ProfilesManager::GetSaveFileName(const Profile& profile) const {
    const aApplication* app = aApplication::getInstance();
    const std::string folder = !m_savesFolder.empty() || !app ? m_savesFolder : app->getSavedGamesFolder();
    std::string name = profile.name;
    for (char& c : name)
        if (isPathBreaker(c))
            c = '_';
    return folder + SHORT_NAME + "_" + name + ".save";
}

void ProfilesManager::DeleteSaveFile(const Profile& profile) const {
    const std::string path = GetSaveFileName(profile);
    aFileServer* files = aFileServer::getInstance();
    if (files && file_existsPlain(path))
        files->deleteFile(path);
}

i32 ProfilesManager::FindProfile(const std::string& name) const {
    for (size_t i = 0; i < m_profiles.size(); ++i) {
        const std::string& other = m_profiles[i].name;
        if (other.size() != name.size())
            continue;
        bool same = true;
        for (size_t k = 0; k < name.size() && same; ++k)
            same = lowerAscii(other[k]) == lowerAscii(name[k]);
        if (same)
            return i32(i);
    }
    return -1;
}

bool ProfilesManager::IsAcceptableName(const std::string& name) {
    if (name.find_first_not_of(' ') == std::string::npos)
        return false;
    for (char c : name)
        if (isPathBreaker(c))
            return false;
    return true;
}

std::string ProfilesManager::TrimSpaces(const std::string& name) {
    const size_t first = name.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    return name.substr(first, name.find_last_not_of(' ') - first + 1);
}

void ProfilesManager::Load() {
    m_profiles.clear();
    m_loadRan = true;
    if (SaveLoadSystem::Load(GetProfilesFileName(), FileHeader)) {
        LoadEntity(*this);
        Finish();
        m_selected = FindProfile(g_currentProfile.name);
    }
    logList();
}

void ProfilesManager::logList() const {
    log("Profiles list");
    for (size_t i = 0; i < m_profiles.size(); ++i)
        log("%c %s", i32(i) == m_selected ? '*' : ' ', m_profiles[i].name.c_str());
}

bool ProfilesManager::Save() {
    if (hasSelection()) {
        if (m_dialogState != 0)
            g_currentProfile = m_profiles[size_t(m_selected)];
        else
            m_profiles[size_t(m_selected)] = g_currentProfile;
    }
    BeginSave(GetProfilesFileName(), FileHeader);
    SaveEntity(*this);
    return Finish();
}

// Nothing is taken unless the whole record holds together: a count the record cannot hold, or a
// profile that runs past its end, leaves the list empty and the current profile untouched.
const u8* ProfilesManager::LoadSelf(SaveLoadSystem& sys, const u8* pos) {
    const u8* end = pos + sys.bytesLeftInRecord(pos);
    Profile current;
    u32 count = 0;
    pos = sys.readU32(readProfile(sys, pos, current), count);
    bool whole = pos <= end && u64(count) * MinProfileBytes <= u64(end - pos);
    std::vector<Profile> profiles;
    if (whole) {
        profiles.resize(count);
        for (size_t i = 0; i < profiles.size() && whole; ++i) {
            pos = readProfile(sys, pos, profiles[i]);
            whole = pos <= end;
        }
    }
    if (!whole) {
        log("ProfilesManager::LoadSelf(). Corrupt profiles record, %u profiles claimed", count);
        return pos;
    }
    g_currentProfile = current;
    m_profiles = std::move(profiles);
    return pos;
}

u8* ProfilesManager::SaveSelf(SaveLoadSystem& sys, u8* pos) {
    pos = writeProfile(sys, pos, g_currentProfile);
    pos = sys.writeU32(pos, u32(m_profiles.size()));
    for (const Profile& profile : m_profiles)
        pos = writeProfile(sys, pos, profile);
    return pos;
}

const u8* ProfilesManager::readProfile(SaveLoadSystem& sys, const u8* pos, Profile& out) {
    pos = sys.readString(pos, out.name);
    pos = sys.readF32(pos, out.soundVolume);
    pos = sys.readF32(pos, out.musicVolume);
    pos = sys.readU32(pos, out.reserved);
    pos = sys.readU8(pos, out.reservedFlag);
    pos = sys.readBool(pos, out.showTips);
    return sys.readBool(pos, out.fullScreen);
}

u8* ProfilesManager::writeProfile(SaveLoadSystem& sys, u8* pos, const Profile& profile) {
    pos = sys.writeString(pos, profile.name);
    pos = sys.writeF32(pos, profile.soundVolume);
    pos = sys.writeF32(pos, profile.musicVolume);
    pos = sys.writeU32(pos, profile.reserved);
    pos = sys.writeU8(pos, profile.reservedFlag);
    pos = sys.writeBool(pos, profile.showTips);
    return sys.writeBool(pos, profile.fullScreen);
}

// --- the dialog ---

namespace {
GUI::Widget* firingWidget(const GUI::EventArgs& args) {
    const auto* widgetArgs = dynamic_cast<const GUI::WidgetEventArgs*>(&args);
    return widgetArgs ? widgetArgs->widget : nullptr;
}

GUI::Widget* below(GUI::Widget* parent, const std::string& name, bool recursive) {
    return parent ? parent->FindChild(name, recursive) : nullptr;
}

void setVisible(GUI::Widget* widget, bool visible) {
    if (widget)
        widget->SetVisible(visible);
}

void bringUp(GUI::Widget* window) {
    if (window) {
        window->MoveToFront();
        window->SetVisible(true);
    }
}
} // namespace

template <class H> void ProfilesManager::bind(GUI::Widget* widget, const char* eventName, H handler) {
    if (widget)
        m_subscriptions.Add(*widget, eventName, this, handler);
}

void ProfilesManager::InitDialog(GUI::Widget* guiRoot) {
    m_subscriptions.Clear();
    m_slots.clear();
    m_listWindow = below(guiRoot, "profiles_list", false);
    bind(below(m_listWindow, "new_profile", true), "Click", &ProfilesManager::ShowCreatePage);
    bind(below(m_listWindow, "del_profile", true), "Click", &ProfilesManager::ShowDeleteConfirm);
    bind(below(m_listWindow, "close", true), "Click", &ProfilesManager::CloseList);
    m_selectionMarker = below(m_listWindow, "selection", false);
    bindSlots();

    m_createWindow = below(guiRoot, "create_new_profile", false);
    bind(below(m_createWindow, "btn_ok", true), "Click", &ProfilesManager::OnCreateButton);
    bind(below(m_createWindow, "btn_cancel", true), "Click", &ProfilesManager::OnCreateButton);
    m_existsMessage = below(m_createWindow, "profile_exist", false);
    m_nameField = below(m_createWindow, "name", true);
    bind(m_nameField, "TextChanged", &ProfilesManager::OnNameChanged);
    bind(m_nameField, "KeyDown", &ProfilesManager::OnNameKey);

    m_confirmWindow = below(guiRoot, "confirm_profile_delete", false);
    bind(below(m_confirmWindow, "btn_yes", true), "Click", &ProfilesManager::OnDeleteAnswer);
    bind(below(m_confirmWindow, "btn_no", true), "Click", &ProfilesManager::OnDeleteAnswer);
}

void ProfilesManager::bindSlots() {
    if (!m_listWindow)
        return;
    for (GUI::Widget* child : m_listWindow->GetChildren()) {
        if (child->GetTag() == 0)
            continue;
        child->SetTag(i32(m_slots.size()));
        child->SetMultiClick(true);
        bind(child, "MouseDown", &ProfilesManager::SelectSlot);
        bind(child, "DoubleClick", &ProfilesManager::SelectAndClose);
        m_slots.push_back(child);
    }
}

bool ProfilesManager::ShowDialog(bool firstStart) {
    if (m_dialogState != DIALOG_CLOSED)
        return false;
    if (!firstStart && !m_profiles.empty()) {
        if (hasSelection())
            m_profiles[size_t(m_selected)] = g_currentProfile;
        bringUp(m_listWindow);
        RefreshList();
        m_dialogState = DIALOG_LIST;
        return true;
    }
    if (!m_profiles.empty())
        return false;
    ShowCreatePage(GUI::EventArgs());
    m_dialogState = DIALOG_FIRST_PROFILE;
    return true;
}

void ProfilesManager::RefreshList() {
    const size_t shown = std::min(m_profiles.size(), m_slots.size());
    for (size_t i = 0; i < m_slots.size(); ++i) {
        if (i < shown)
            m_slots[i]->SetText(str_toWString(m_profiles[i].name));
        m_slots[i]->SetVisible(i < shown);
    }
    if (m_selectionMarker) {
        if (m_selected >= 0 && size_t(m_selected) < shown)
            m_selectionMarker->SetArea(m_slots[size_t(m_selected)]->GetArea());
        m_selectionMarker->SetVisible(hasSelection());
    }
    if (GUI::Widget* create = below(m_listWindow, "new_profile", true))
        create->SetEnabled(shown < m_slots.size());
    // A deletion needs a player to delete and one to keep.
    if (GUI::Widget* remove = below(m_listWindow, "del_profile", true))
        remove->SetEnabled(shown >= 2 && hasSelection());
    Save();
}

bool ProfilesManager::SelectSlot(const GUI::EventArgs& args) {
    GUI::Widget* slot = firingWidget(args);
    if (!slot || slot->GetTag() < 0 || size_t(slot->GetTag()) >= m_profiles.size())
        return true;
    m_selected = slot->GetTag();
    if (m_selectionMarker) {
        m_selectionMarker->SetArea(slot->GetArea());
        m_selectionMarker->SetVisible(true);
    }
    return true;
}

bool ProfilesManager::SelectAndClose(const GUI::EventArgs& args) {
    return CloseList(args);
}

bool ProfilesManager::CloseList(const GUI::EventArgs&) {
    setVisible(m_listWindow, false);
    // Without a selection the current profile stays what it was.
    if (hasSelection())
        g_currentProfile = m_profiles[size_t(m_selected)];
    m_dialogState = DIALOG_CLOSED;
    return true;
}

bool ProfilesManager::ShowCreatePage(const GUI::EventArgs&) {
    bringUp(m_createWindow);
    setVisible(m_existsMessage, false);
    if (m_nameField) {
        m_nameField->SetText(L"");
        if (GUI::Server::exists())
            GUI::Server::getSingleton()->SetFocus(m_nameField);
    }
    return true;
}

bool ProfilesManager::OnNameChanged(const GUI::EventArgs&) {
    if (GUI::Widget* ok = below(m_createWindow, "btn_ok", true))
        ok->SetEnabled(m_nameField && IsAcceptableName(str_toString(m_nameField->GetText())));
    setVisible(m_existsMessage, false);
    return true;
}

bool ProfilesManager::OnCreateButton(const GUI::EventArgs& args) {
    GUI::Widget* button = firingWidget(args);
    GUI::KeybEventArgs key(m_nameField);
    key.key = button && button->GetTag() != 0 ? KEY_ENTER : KEY_ESCAPE;
    return OnNameKey(key);
}

bool ProfilesManager::OnNameKey(const GUI::EventArgs& args) {
    const auto* keyArgs = dynamic_cast<const GUI::KeybEventArgs*>(&args);
    if (!keyArgs)
        return true;
    if (keyArgs->key == KEY_ESCAPE) {
        if (m_dialogState != DIALOG_FIRST_PROFILE) {
            hideCreatePage();
            return true;
        }
        // The first start cannot end without a player: the default one takes the place of a name.
        addProfile(g_currentProfile);
    } else if (keyArgs->key == KEY_ENTER) {
        GUI::Widget* ok = below(m_createWindow, "btn_ok", true);
        if ((ok && !ok->IsEnabled(true)) || !m_nameField)
            return true;
        const std::string name = TrimSpaces(str_toString(m_nameField->GetText()));
        if (!IsAcceptableName(name))
            return true;
        if (FindProfile(name) >= 0) {
            setVisible(m_existsMessage, true);
            return true;
        }
        Profile profile;
        profile.name = name;
        profile.soundVolume = 0.75f;
        profile.musicVolume = 0.5f;
        profile.reserved = 0;
        profile.reservedFlag = g_currentProfile.reservedFlag;
        profile.showTips = true;
        profile.fullScreen = g_currentProfile.fullScreen;
        addProfile(profile);
    } else {
        return true;
    }
    if (m_dialogState == DIALOG_FIRST_PROFILE) {
        g_currentProfile = m_profiles[size_t(m_selected)];
        m_dialogState = DIALOG_CLOSED;
    }
    RefreshList();
    hideCreatePage();
    return true;
}

void ProfilesManager::addProfile(const Profile& profile) {
    m_selected = i32(m_profiles.size());
    m_profiles.push_back(profile);
    log("Created new profile \"%s\"", profile.name.c_str());
    // A new player never inherits an old game kept under the same name.
    DeleteSaveFile(profile);
}

void ProfilesManager::hideCreatePage() {
    setVisible(m_createWindow, false);
}

bool ProfilesManager::ShowDeleteConfirm(const GUI::EventArgs&) {
    if (!hasSelection())
        return true;
    if (GUI::Widget* name = below(m_confirmWindow, "name", true))
        name->SetText(str_toWString(m_profiles[size_t(m_selected)].name));
    bringUp(m_confirmWindow);
    return true;
}

bool ProfilesManager::OnDeleteAnswer(const GUI::EventArgs& args) {
    GUI::Widget* button = firingWidget(args);
    if (button && button->GetTag() != 0 && hasSelection()) {
        const Profile gone = m_profiles[size_t(m_selected)];
        DeleteSaveFile(gone);
        m_profiles.erase(m_profiles.begin() + m_selected);
        if (m_selected == i32(m_profiles.size()))
            --m_selected;
        log("Profile \"%s\" deleted", gone.name.c_str());
        RefreshList();
    }
    setVisible(m_confirmWindow, false);
    return true;
}
