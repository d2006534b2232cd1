#include "tk2v/sound/aMusic.h"

#include "tk2v/sound/aSound.h"
#include "tk2v/util/log.h"

using platform::AudioSystem;

aMusic::aMusic(const std::string& path, f32 baseVolume) : m_baseVolume(baseVolume) {
    aSound::addAudioUser();
    m_file.load(path);
    open(m_looping);
    if (m_stream == 0)
        log("aMusic. Error loading music: %s", path.c_str());
}

aMusic::~aMusic() {
    AudioSystem::shared().closeStream(m_stream);
    aSound::releaseAudioUser();
}

void aMusic::open(bool loop) {
    AudioSystem& audio = AudioSystem::shared();
    audio.closeStream(m_stream);
    m_stream = m_file.isLoaded() ? audio.openStream(m_file.getData(), m_file.getSize(), loop) : 0;
    m_looping = loop;
}

void aMusic::play(bool loop) {
    AudioSystem& audio = AudioSystem::shared();
    stop();
    if (loop != m_looping && isValid())
        open(loop);
    if (audio.channelsPlaying() >= audio.maxChannels()) {
        log("aMusic. Max number of channels reached");
        return;
    }
    m_channel = audio.playStream(AudioSystem::FREE, m_stream, true);
    applyVolume();
    audio.setPaused(m_channel, false);
}

void aMusic::stop() {
    if (!hasChannel())
        return;
    AudioSystem::shared().stopStream(m_stream);
    m_channel = NO_CHANNEL;
}

bool aMusic::isPlaying() const {
    return hasChannel() && AudioSystem::shared().isPlaying(m_channel);
}

void aMusic::setPaused(bool paused) {
    if (isPlaying())
        AudioSystem::shared().setPaused(m_channel, paused);
}

void aMusic::setVolume(f32 volume) {
    m_volume = aSound::clampOrLow(volume, 0.0f, 1.0f);
    applyVolume();
}

void aMusic::applyVolume() {
    if (hasChannel())
        AudioSystem::shared().setVolume(m_channel, aSound::channelVolume(m_volume * m_baseVolume));
}
