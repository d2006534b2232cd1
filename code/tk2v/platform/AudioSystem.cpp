#include "tk2v/platform/AudioSystem.h"

#include "tk2v/platform/NullAudioOutput.h"
#include "tk2v/platform/SdlAudioOutput.h"

#include <algorithm>
#include <new>
#include <vector>

namespace platform {
namespace {

int level(int value) {
    return std::clamp(value, 0, AudioMixer::MAX_LEVEL);
}

} // namespace

AudioSystem::~AudioSystem() {
    close();
}

AudioSystem& AudioSystem::shared() {
    static AudioSystem system;
    return system;
}

template <class Change> bool AudioSystem::changeChannel(int channel, Change change) {
    std::lock_guard<std::mutex> api(m_api);
    if (!m_output)
        return false;
    AudioOutput::Lock out(*m_output);
    AudioMixer::Channel* found = m_mixer->find(channel);
    if (found != nullptr)
        change(*found);
    return found != nullptr;
}

bool AudioSystem::init(int frequency, int channels) {
    return init(frequency, channels, std::make_unique<SdlAudioOutput>()) ||
           init(frequency, channels, std::make_unique<NullAudioOutput>());
}

bool AudioSystem::init(int frequency, int channels, std::unique_ptr<AudioOutput> output) {
    std::lock_guard<std::mutex> api(m_api);
    if (m_output || !output || frequency < MIN_FREQUENCY || frequency > MAX_FREQUENCY || channels < 1 ||
        channels > MAX_CHANNELS)
        return false;
    m_mixer = std::make_unique<AudioMixer>(frequency, channels);
    if (!output->start(*this, frequency)) {
        m_mixer.reset();
        return false;
    }
    if (!m_feeder.start(*this)) {
        output->stop();
        m_mixer.reset();
        return false;
    }
    m_output = std::move(output);
    return true;
}

void AudioSystem::close() {
    // The feeder takes the API lock, so it has to end before that lock is held here.
    m_feeder.stop();
    std::lock_guard<std::mutex> api(m_api);
    if (!m_output)
        return;
    m_output->stop();
    m_streams.forEach([](const std::shared_ptr<AudioStream>& stream) { stream->close(); });
    m_streams.clear();
    m_samples.clear();
    m_output.reset();
    m_mixer.reset();
}

bool AudioSystem::isOpen() const {
    std::lock_guard<std::mutex> api(m_api);
    return m_output != nullptr;
}

void AudioSystem::setSfxMasterVolume(int volume) {
    std::lock_guard<std::mutex> api(m_api);
    if (!m_output)
        return;
    AudioOutput::Lock out(*m_output);
    m_mixer->setMasterVolume(level(volume));
}

int AudioSystem::sfxMasterVolume() const {
    std::lock_guard<std::mutex> api(m_api);
    return m_mixer ? m_mixer->masterVolume() : 0;
}

AudioSystem::Sample AudioSystem::loadSample(const void* data, std::size_t size) {
    std::unique_ptr<AudioClip> clip;
    try {
        clip = AudioClip::decode(data, size);
    } catch (const std::bad_alloc&) {
        return 0;
    }
    std::lock_guard<std::mutex> api(m_api);
    return clip && m_output ? m_samples.add(std::move(clip)) : 0;
}

void AudioSystem::freeSample(Sample sample) {
    std::unique_ptr<AudioClip> clip;
    std::lock_guard<std::mutex> api(m_api);
    clip = m_samples.remove(sample);
    if (!clip)
        return;
    AudioOutput::Lock out(*m_output);
    m_mixer->stopUsing(clip.get());
}

u32 AudioSystem::sampleLength(Sample sample) const {
    std::lock_guard<std::mutex> api(m_api);
    const AudioClip* clip = m_samples.get(sample);
    return clip ? clip->frames : 0;
}

int AudioSystem::sampleFrequency(Sample sample) const {
    std::lock_guard<std::mutex> api(m_api);
    const AudioClip* clip = m_samples.get(sample);
    return clip ? clip->frequency : 0;
}

int AudioSystem::playSample(int channel, Sample sample, bool paused) {
    std::lock_guard<std::mutex> api(m_api);
    const AudioClip* clip = m_samples.get(sample);
    if (!clip)
        return -1;
    AudioOutput::Lock out(*m_output);
    int index = pickChannel(channel);
    return index < 0 ? -1 : m_mixer->startClip(index, *clip, paused);
}

AudioSystem::Stream AudioSystem::openStream(const void* data, std::size_t size, bool loop) {
    std::unique_ptr<AudioStream> stream;
    try {
        stream = AudioStream::open(data, size, loop);
    } catch (const std::bad_alloc&) {
        return 0;
    }
    std::lock_guard<std::mutex> api(m_api);
    return stream && m_output ? m_streams.add(std::move(stream)) : 0;
}

// The rewind happens with the stream off every channel and outside the output's lock, so neither the mixer
// nor the device waits for the decoder.
int AudioSystem::playStream(int channel, Stream stream, bool paused) {
    std::lock_guard<std::mutex> api(m_api);
    AudioStream* found = m_streams.get(stream);
    if (!found)
        return -1;
    {
        AudioOutput::Lock out(*m_output);
        m_mixer->stopUsing(found);
    }
    found->restart();
    AudioOutput::Lock out(*m_output);
    int index = pickChannel(channel);
    return index < 0 ? -1 : m_mixer->startStream(index, *found, paused);
}

bool AudioSystem::stopStream(Stream stream) {
    std::lock_guard<std::mutex> api(m_api);
    AudioStream* found = m_streams.get(stream);
    if (!found)
        return false;
    AudioOutput::Lock out(*m_output);
    m_mixer->stopUsing(found);
    return true;
}

void AudioSystem::closeStream(Stream stream) {
    std::lock_guard<std::mutex> api(m_api);
    std::shared_ptr<AudioStream> found = m_streams.remove(stream);
    if (!found)
        return;
    {
        AudioOutput::Lock out(*m_output);
        m_mixer->stopUsing(found.get());
    }
    // Waits for a fill in progress: the caller may free the data right after.
    found->close();
}

bool AudioSystem::stop(int channel) {
    return changeChannel(channel, [](AudioMixer::Channel& found) { found.release(); });
}

bool AudioSystem::setLoopMode(int channel, int mode) {
    if (mode != LOOP_OFF && mode != LOOP_NORMAL)
        return false;
    return changeChannel(channel, [mode](AudioMixer::Channel& found) {
        if (found.stream != nullptr)
            found.stream->setLoop(mode == LOOP_NORMAL);
        else
            found.loop = mode == LOOP_NORMAL;
    });
}

bool AudioSystem::setPan(int channel, int pan) {
    return changeChannel(channel, [pan](AudioMixer::Channel& found) { found.pan = level(pan); });
}

bool AudioSystem::setVolume(int channel, int volume) {
    return changeChannel(channel, [volume](AudioMixer::Channel& found) { found.volume = level(volume); });
}

bool AudioSystem::setPaused(int channel, bool paused) {
    if (channel != ALL)
        return changeChannel(channel, [paused](AudioMixer::Channel& found) { found.paused = paused; });
    std::lock_guard<std::mutex> api(m_api);
    if (!m_output)
        return false;
    AudioOutput::Lock out(*m_output);
    for (int index = 0; index < m_mixer->channelCount(); ++index)
        m_mixer->at(index).paused = paused;
    return true;
}

bool AudioSystem::isPlaying(int channel) {
    return changeChannel(channel, [](AudioMixer::Channel&) {});
}

int AudioSystem::channelsPlaying() {
    std::lock_guard<std::mutex> api(m_api);
    if (!m_output)
        return 0;
    AudioOutput::Lock out(*m_output);
    return m_mixer->busyCount();
}

int AudioSystem::maxChannels() const {
    std::lock_guard<std::mutex> api(m_api);
    return m_mixer ? m_mixer->channelCount() : 0;
}

void AudioSystem::render(float* out, u32 frames) {
    m_mixer->render(out, frames);
}

void AudioSystem::advance(u64 frames) {
    m_mixer->advance(frames);
}

bool AudioSystem::awaitFeed() {
    // Without the API lock: the feed being waited for takes it.
    return m_feeder.awaitFeed();
}

void AudioSystem::feed() {
    std::vector<std::shared_ptr<AudioStream>> streams;
    {
        std::lock_guard<std::mutex> api(m_api);
        m_streams.forEach(
            [&streams](const std::shared_ptr<AudioStream>& stream) { streams.push_back(stream); });
    }
    for (const std::shared_ptr<AudioStream>& stream : streams)
        stream->fill();
}

int AudioSystem::pickChannel(int channel) const {
    if (channel == FREE)
        return m_mixer->freeChannel();
    return channel >= 0 && channel < m_mixer->channelCount() ? channel : -1;
}

} // namespace platform
