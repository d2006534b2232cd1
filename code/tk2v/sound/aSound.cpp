#include "tk2v/sound/aSound.h"

#include "tk2v/file/aFileBuffer.h"
#include "tk2v/util/log.h"

#include <algorithm>
#include <cmath>
#include <mutex>

using platform::AudioSystem;

namespace {

constexpr int FREQUENCY = 44100;
constexpr int CHANNELS = 64;
constexpr int FULL_LEVEL = 255;
constexpr int NO_CHANNEL = -1;

std::mutex g_usersMutex;
int g_users = 0;
bool g_openedByUsers = false;

} // namespace

void aSound::addAudioUser() {
    std::lock_guard<std::mutex> guard(g_usersMutex);
    if (g_users++ > 0)
        return;
    AudioSystem& audio = AudioSystem::shared();
    g_openedByUsers = !audio.isOpen() && audio.init(FREQUENCY, CHANNELS);
    audio.setSfxMasterVolume(FULL_LEVEL);
}

void aSound::releaseAudioUser() {
    std::lock_guard<std::mutex> guard(g_usersMutex);
    if (g_users == 0 || --g_users > 0 || !g_openedByUsers)
        return;
    AudioSystem::shared().close();
    g_openedByUsers = false;
}

f32 aSound::clampOrLow(f32 value, f32 low, f32 high) {
    return std::isnan(value) ? low : std::clamp(value, low, high);
}

int aSound::channelVolume(f32 volume) {
    return int(volume * f32(FULL_LEVEL));
}

int aSound::channelPan(f32 pan) {
    return 128 + int(127.0f * pan);
}

aSound::aSound(const std::string& path, f32 volume) : m_volume(clampOrLow(volume, 0.0f, 1.0f)) {
    loadSample(path);
}

aSound::aSound(const aSound& other)
    : m_sample(other.m_sample), m_pan(other.m_pan), m_masterVolume(other.m_masterVolume),
      m_volume(other.m_volume), m_channel(other.m_channel) {
    addAudioUser();
}

aSound::~aSound() {
    if (m_ownsSample)
        AudioSystem::shared().freeSample(m_sample);
    releaseAudioUser();
}

void aSound::loadSample(const std::string& path) {
    m_ownsSample = true;
    addAudioUser();
    aFileBuffer file(path);
    if (file.isLoaded())
        m_sample = AudioSystem::shared().loadSample(file.getData(), file.getSize());
    if (m_sample == 0)
        log("aSound. Error loading sound: %s", path.c_str());
}

void aSound::play(bool loop, f32 volume, f32 pan) {
    AudioSystem& audio = AudioSystem::shared();
    stop();
    if (audio.channelsPlaying() >= audio.maxChannels()) {
        log("aSound. Max number of channels reached");
        return;
    }
    m_channel = audio.playSample(AudioSystem::FREE, m_sample, true);
    audio.setLoopMode(m_channel, loop ? AudioSystem::LOOP_NORMAL : AudioSystem::LOOP_OFF);
    setPan(pan == KEEP_PAN ? m_pan : pan);
    setVolume(volume == KEEP_VOLUME ? m_volume : volume);
    audio.setPaused(m_channel, false);
}

void aSound::stop() {
    if (m_channel == NO_CHANNEL)
        return;
    AudioSystem::shared().stop(m_channel);
    m_channel = NO_CHANNEL;
}

bool aSound::isPlaying() const {
    return m_channel != NO_CHANNEL && AudioSystem::shared().isPlaying(m_channel);
}

void aSound::setPan(f32 pan) {
    m_pan = clampOrLow(pan, -1.0f, 1.0f);
    if (m_channel != NO_CHANNEL)
        AudioSystem::shared().setPan(m_channel, channelPan(m_pan));
}

void aSound::setVolume(f32 volume) {
    m_volume = clampOrLow(volume, 0.0f, 1.0f);
    applyVolume();
}

void aSound::setMasterVolume(f32 volume) {
    m_masterVolume = clampOrLow(volume, 0.0f, 1.0f);
    applyVolume();
}

void aSound::applyVolume() {
    if (m_channel != NO_CHANNEL)
        AudioSystem::shared().setVolume(m_channel, channelVolume(m_volume * m_masterVolume));
}

f32 aSound::getLength() const {
    const AudioSystem& audio = AudioSystem::shared();
    const int frequency = audio.sampleFrequency(m_sample);
    return frequency > 0 ? f32(audio.sampleLength(m_sample)) / f32(frequency) : 0.0f;
}
