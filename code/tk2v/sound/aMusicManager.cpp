#include "tk2v/sound/aMusicManager.h"

#include "tk2v/gfx/aApplication.h"
#include "tk2v/platform/Clock.h"
#include "tk2v/util/log.h"

#include <limits>

namespace {

// Fifty float steps of 0.02 end a hair short of 1 (or of 0): within this a fade has arrived.
constexpr f32 FADE_EPSILON = 1e-4f;

} // namespace

aMusicManager::aMusicManager(bool runFadeThread) {
    if (runFadeThread)
        m_thread = std::thread(&aMusicManager::fadeThread, this);
}

aMusicManager::~aMusicManager() {
    m_stop = true;
    if (m_thread.joinable())
        m_thread.join();
    while (!m_tracks.empty())
        m_tracks.pop_back();
}

void aMusicManager::fadeThread() {
    while (!m_stop) {
        platform::sleepMs(FADE_PERIOD_MS);
        const aApplication* application = aApplication::getInstance();
        if (!m_stop && !(application && application->isPaused()))
            fadeTick(FADE_STEP);
    }
}

bool aMusicManager::addTrack(const std::string& path, const std::string& group) {
    Guard guard(*this);
    auto music = std::make_unique<aMusic>(path, DEFAULT_VOLUME);
    // Track indices are 16-bit.
    if (!music->isValid() || m_tracks.size() >= size_t(std::numeric_limits<i16>::max())) {
        log("aMusicManager. Music with name \"%s\" is invalid!", path.c_str());
        return false;
    }
    const std::string name = parseListLine(path.substr(0, path.rfind('.')));
    m_tracks.push_back({std::move(music), name, group, STOPPED, DEFAULT_VOLUME, 0.0f});
    return true;
}

std::string aMusicManager::parseListLine(const std::string& line) {
    const size_t slash = line.find_last_of("/\\");
    return slash == std::string::npos ? line : line.substr(slash + 1);
}

void aMusicManager::loadResource(const std::string& dir, const std::string& line, const std::string& group) {
    Guard guard(*this);
    addTrack(dir + line, group);
    reportProgress(line);
}

i16 aMusicManager::findTrack(const std::string& name, const std::string& group) {
    Guard guard(*this);
    for (size_t i = 0; i < m_tracks.size(); ++i)
        if (m_tracks[i].name == name && m_tracks[i].group == group)
            return i16(i);
    return -1;
}

aMusicManager::Track* aMusicManager::trackAt(i16 index) {
    return index >= 0 && size_t(index) < m_tracks.size() ? &m_tracks[size_t(index)] : nullptr;
}

bool aMusicManager::play(const std::string& name, const std::string& group, bool fade, bool loop) {
    Guard guard(*this);
    const i16 index = findTrack(name, group);
    Track* track = trackAt(index);
    if (!track)
        return false;
    if (track->state == PLAYING || track->state == FADING_IN)
        return true;
    const bool fadingOut = track->state == FADING_TO_STOP || track->state == FADING_TO_PAUSE;
    if (!fade)
        track->music->setVolume(track->volume);
    else if (!fadingOut) {
        track->fade = 0.0f;
        track->music->setVolume(0.0f);
    }
    if (track->state == STOPPED)
        track->music->play(loop);
    else if (track->state == PAUSED)
        track->music->setPaused(false);
    track->state = fade ? FADING_IN : PLAYING;
    m_current = index;
    return true;
}

bool aMusicManager::stop(bool fade) {
    Guard guard(*this);
    Track* track = trackAt(m_current);
    if (!track)
        return false;
    if (fade)
        fadeOutFromFull(*track, FADING_TO_STOP);
    else {
        track->state = STOPPED;
        track->music->stop();
    }
    m_current = -1;
    return true;
}

bool aMusicManager::pause(bool fade) {
    Guard guard(*this);
    Track* track = trackAt(m_current);
    if (!track)
        return false;
    if (fade)
        fadeOutFromFull(*track, FADING_TO_PAUSE);
    else {
        track->state = PAUSED;
        track->music->setPaused(true);
    }
    return true;
}

// Even a track still fading in fades out from its full volume.
void aMusicManager::fadeOutFromFull(Track& track, TrackState state) {
    track.fade = 1.0f;
    track.state = state;
}

void aMusicManager::applyTrackVolume(Track& track, f32 volume) {
    const bool raiseAtTick = track.state == FADING_TO_STOP || track.state == FADING_IN;
    if (!raiseAtTick || volume < track.volume)
        track.music->setVolume(volume);
    track.volume = volume;
}

bool aMusicManager::setTrackVolume(const std::string& name, f32 volume, const std::string& group) {
    Guard guard(*this);
    Track* track = trackAt(findTrack(name, group));
    if (!track)
        return false;
    applyTrackVolume(*track, volume);
    return true;
}

void aMusicManager::setVolume(f32 volume) {
    Guard guard(*this);
    for (Track& track : m_tracks)
        applyTrackVolume(track, volume);
}

void aMusicManager::changeMusic(const std::string& name, f32 volume, bool fadeOut, bool fadeIn,
                                const std::string& group) {
    Guard guard(*this);
    const Track* current = trackAt(m_current);
    if (current && current->name == name && current->group == group)
        return;
    if (current)
        stop(fadeOut);
    setTrackVolume(name, volume, group);
    play(name, group, fadeIn);
}

std::string aMusicManager::getCurrent(std::string& group) {
    Guard guard(*this);
    const Track* current = trackAt(m_current);
    group = current ? current->group : std::string();
    return current ? current->name : std::string();
}

bool aMusicManager::stepDown(Track& track, f32 step) {
    track.fade -= step;
    if (track.fade > FADE_EPSILON)
        return false;
    track.fade = 0.0f;
    return true;
}

bool aMusicManager::stepUp(Track& track, f32 step) {
    track.fade += step;
    if (track.fade < 1.0f - FADE_EPSILON)
        return false;
    track.fade = 1.0f;
    return true;
}

void aMusicManager::fadeTick(f32 step) {
    Guard guard(*this);
    for (Track& track : m_tracks) {
        switch (track.state) {
        case FADING_TO_STOP:
            if (stepDown(track, step)) {
                track.state = STOPPED;
                track.music->stop();
            }
            break;
        case FADING_TO_PAUSE:
            if (stepDown(track, step)) {
                track.state = PAUSED;
                track.music->setPaused(true);
            }
            break;
        case FADING_IN:
            if (stepUp(track, step))
                track.state = PLAYING;
            break;
        default:
            continue;
        }
        track.music->setVolume(track.volume * track.fade);
    }
}

u32 aMusicManager::getTrackState(i16 index) {
    Guard guard(*this);
    const Track* track = trackAt(index);
    return track ? track->state : STOPPED;
}

f32 aMusicManager::getTrackFade(i16 index) {
    Guard guard(*this);
    const Track* track = trackAt(index);
    return track ? track->fade : 0.0f;
}

f32 aMusicManager::getStreamVolume(i16 index) {
    Guard guard(*this);
    const Track* track = trackAt(index);
    return track ? track->music->getVolume() : 0.0f;
}
