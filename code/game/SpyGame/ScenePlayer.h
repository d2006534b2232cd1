#pragma once
#include "tk2v/gui/MemberSubscriptions.h"
#include "tk2v/util/types.h"

#include <string>

namespace GUI {
class StaticImage;
class Widget;
} // namespace GUI

// A story scene as full-screen comic pages "<folder><scene>_p<n>.jpg", numbered from 1 and counted on
// disk up to the first missing number. Pages cross-fade through black; the step buttons work only on
// a fully shown page and fade away while the reader is idle. A scene may bring its own music, and the
// music that played before comes back when it closes.
class ScenePlayer {
public:
    static constexpr f32 BUTTONS_IDLE_AFTER = 2.0f;
    static constexpr f32 BUTTONS_FADE_SPEED = 2.0f;

    ScenePlayer() = default;
    ScenePlayer(const ScenePlayer&) = delete;
    ScenePlayer& operator=(const ScenePlayer&) = delete;

    // Finds "Comics" and its picture and buttons; missing ones are skipped.
    void Init();
    void PlayScene(const std::string& folder, const std::string& scene, bool skipAllowed,
                   const std::string& musicTrack, const std::string& musicGroup);
    void Close();
    void Update(f32 dt);

    bool IsActive() const { return m_active != 0; }
    u32 GetPageCount() const { return m_pageCount; }
    i32 GetCurrentPage() const { return m_currentPage; }
    i32 GetTargetPage() const { return m_targetPage; }
    f32 GetIdleTime() const { return m_idleTime; }

private:
    std::string PageFile(u32 index) const;
    bool OnStep(const GUI::EventArgs& args);
    bool OnClose(const GUI::EventArgs& args);
    void UpdateButtons();
    void ShowPage();
    void FadeButtons(f32 dt);
    bool ReaderActed();

    GUI::Widget* m_window = nullptr;
    GUI::Widget* m_skip = nullptr;
    GUI::Widget* m_prev = nullptr;
    GUI::Widget* m_next = nullptr;
    GUI::Widget* m_finish = nullptr;
    GUI::StaticImage* m_picture = nullptr;
    std::string m_savedTrack, m_savedGroup;
    std::string m_folder;
    std::string m_scene;
    std::string m_musicTrack, m_musicGroup;
    u8 m_active = 0;
    u8 m_skipAllowed = 0;
    u32 m_pageCount = 0;
    i32 m_currentPage = -1;
    i32 m_targetPage = -1;
    f32 m_idleTime = -1;
    // Where the mouse was at the last update.
    i32 m_mouseX = 0, m_mouseY = 0;
    GUI::MemberSubscriptions m_subscriptions;
};
