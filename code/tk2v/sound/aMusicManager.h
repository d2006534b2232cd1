#pragma once
#include "tk2v/file/aBaseManager.h"
#include "tk2v/sound/aMusic.h"
#include "tk2v/util/aCriticalSection.h"
#include "tk2v/util/types.h"

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

// Every loaded music track, the current one, and one-second volume fades advanced by a thread of the
// manager's own. Tracks are named by file name without folder and extension, in the group of their list;
// names and groups compare exactly. Every operation holds the manager's (re-entrant) lock.
class aMusicManager : public aBaseManager, public aCriticalSection {
public:
    enum TrackState : u32 {
        STOPPED = 0,
        FADING_TO_STOP = 1,
        PAUSED = 2,
        FADING_TO_PAUSE = 3,
        PLAYING = 4,
        FADING_IN = 5,
    };
    // A full fade is 50 ticks of the thread, about one second.
    static constexpr f32 FADE_STEP = 0.02f;
    static constexpr u32 FADE_PERIOD_MS = 20;
    // The base volume and the first track volume of every track.
    static constexpr f32 DEFAULT_VOLUME = 1.0f;

    // Without the fade thread, the owner drives the fades with fadeTick.
    explicit aMusicManager(bool runFadeThread = true);
    // Stops the fade thread before the tracks go.
    ~aMusicManager() override;

    // False, after a log line, when the file cannot be opened as a stream.
    bool addTrack(const std::string& path, const std::string& group);
    // The text after the last slash or backslash.
    std::string parseListLine(const std::string& line) override;
    void loadResource(const std::string& dir, const std::string& line, const std::string& group) override;

    // Starts a stopped track, resumes a paused one, or takes back one that fades out; with `fade` from
    // silence (or from where a fade out has got to). It becomes the current track, unless it was playing
    // or fading in already. `loop` counts when the track starts from the beginning. False when there is
    // no such track.
    bool play(const std::string& name, const std::string& group, bool fade, bool loop = true);
    // The current track stops (after a fade out) and there is none afterwards.
    bool stop(bool fade);
    // The current track pauses (after a fade out) and stays current.
    bool pause(bool fade);
    // A track that fades in or fades out to stop takes a louder volume only at the next fade tick.
    bool setTrackVolume(const std::string& name, f32 volume, const std::string& group = "");
    void setVolume(f32 volume);
    // Nothing when the track is the current one; otherwise the current one stops and the track plays.
    void changeMusic(const std::string& name, f32 volume, bool fadeOut, bool fadeIn,
                     const std::string& group = "");
    // The current track's name and group; empty ones without a current track.
    std::string getCurrent(std::string& group);
    // -1 when there is no such track.
    i16 findTrack(const std::string& name, const std::string& group);

    // One step of every fade; the thread runs one every FADE_PERIOD_MS unless the application is paused.
    void fadeTick(f32 step);

    u32 getTrackState(i16 index);
    f32 getTrackFade(i16 index);
    // The volume the track's stream plays at (track volume x fade while fading).
    f32 getStreamVolume(i16 index);

private:
    struct Track {
        std::unique_ptr<aMusic> music;
        std::string name;
        std::string group;
        u32 state;
        f32 volume;
        f32 fade;
    };

    void fadeThread();
    void applyTrackVolume(Track& track, f32 volume);
    static void fadeOutFromFull(Track& track, TrackState state);
    // True when the fade has arrived at 0 or 1.
    static bool stepDown(Track& track, f32 step);
    static bool stepUp(Track& track, f32 step);
    // Null for an index out of range.
    Track* trackAt(i16 index);

    std::vector<Track> m_tracks;
    i16 m_current = -1;
    std::atomic<bool> m_stop{false};
    // Last: started when everything it touches is built.
    std::thread m_thread;
};
