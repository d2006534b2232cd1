#pragma once
#include "tk2v/util/types.h"

#include <memory>
#include <string>
#include <vector>

class aGraphServer;
class aImage;
class aSound;
class aTheoraVideo;

// Plays the start-up screens of a settings file: pictures or videos that fade in from a colour, stay,
// and fade out to a colour, one after another, which the player may cut short where a screen allows.
class SplashManager {
public:
    struct Screen {
        std::string image; // the settings file's folder and the key's value; empty for none
        std::string sound;
        bool video = false;
        bool centred = false;
        u32 fadeInColor = 0xFF000000;
        u32 fadeOutColor = 0xFF000000;
        f32 fadeInTime = 0;
        f32 fadeOutTime = 0;
        // 0 none, 1 the screen, 2 the whole sequence.
        u32 skip = 0;
        f32 showTime = 0;
    };
    // The colour behind the picture before and after the sequence.
    static constexpr u32 IdleClearColor = 0xFF000000;

    // Every section named "splash" of the file is one screen, in file order.
    explicit SplashManager(const std::string& settingsFile);
    virtual ~SplashManager();
    SplashManager(const SplashManager&) = delete;
    SplashManager& operator=(const SplashManager&) = delete;

    void setVolume(f32 volume) { m_volume = volume; }
    // True begins the first screen; false ends the sequence.
    void start(bool on);
    // True while the sequence runs.
    bool update(f32 dt);
    void render();

    // -1 once the sequence has ended (or before it started).
    i32 getIndex() const { return m_index; }
    f32 getFade() const { return m_fade; }
    const std::vector<Screen>& getScreens() const { return m_screens; }

private:
    void readSettings(const std::string& settingsFile);
    void beginScreen(i32 index);
    void end();
    void setClearColor(u32 colour);
    // Any mouse button, Space or Escape went down in this frame.
    bool skipPressed() const;
    // The picture's or the video frame's size; 0 when there is nothing to draw.
    void contentSize(u32& w, u32& h) const;

    aGraphServer* m_graphServer = nullptr;
    i32 m_index = -1;
    // The current screen's record, whose times count down.
    Screen m_current;
    std::unique_ptr<aImage> m_picture;
    std::unique_ptr<aTheoraVideo> m_video;
    std::unique_ptr<aSound> m_sound;
    f32 m_fade = 0;
    f32 m_volume = 1.0f;
    std::vector<Screen> m_screens;
};
