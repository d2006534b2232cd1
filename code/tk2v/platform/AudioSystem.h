#pragma once
#include "tk2v/platform/AudioClip.h"
#include "tk2v/platform/AudioFeeder.h"
#include "tk2v/platform/AudioMixer.h"
#include "tk2v/platform/AudioOutput.h"
#include "tk2v/platform/AudioStream.h"
#include "tk2v/platform/HandleTable.h"
#include "tk2v/util/types.h"

#include <cstddef>
#include <memory>
#include <mutex>

namespace platform {

// The sound library beneath the engine: samples decoded whole, streams decoded as they play, both played
// on a fixed set of channels with volume and pan 0..255. Channel handles carry a generation, so a handle
// from an earlier play does nothing. Safe to call from several threads.
class AudioSystem : private AudioRenderer {
public:
    // Channel arguments.
    static constexpr int FREE = -1;
    static constexpr int ALL = -3;
    // Loop modes.
    static constexpr int LOOP_OFF = 1;
    static constexpr int LOOP_NORMAL = 2;
    static constexpr int MIN_FREQUENCY = 8000;
    static constexpr int MAX_FREQUENCY = 192000;
    static constexpr int MAX_CHANNELS = AudioMixer::MAX_CHANNELS;

    // 0 is no sample or stream.
    using Sample = u32;
    using Stream = u32;

    AudioSystem() = default;
    ~AudioSystem();
    AudioSystem(const AudioSystem&) = delete;
    AudioSystem& operator=(const AudioSystem&) = delete;

    // The process's sound system.
    static AudioSystem& shared();

    // Opens the sound device, or when none opens, a silent output that keeps time. False for a rate or a
    // channel count out of range, or when already open.
    bool init(int frequency, int channels);
    bool init(int frequency, int channels, std::unique_ptr<AudioOutput> output);
    // Stops everything and frees every sample and stream; their handles stay dead.
    void close();
    bool isOpen() const;

    // Scales every channel; 0..255, 255 at init.
    void setSfxMasterVolume(int volume);
    int sfxMasterVolume() const;

    // WAV (8/16-bit PCM), Ogg Vorbis or MP3 from memory, decoded whole; the memory may go afterwards.
    Sample loadSample(const void* data, std::size_t size);
    // Stops the channels that play it.
    void freeSample(Sample sample);
    // In frames at the sample's own rate; 0 for no sample.
    u32 sampleLength(Sample sample) const;
    int sampleFrequency(Sample sample) const;
    // On the given channel index or the first free one (FREE); the new channel handle, -1 when no channel
    // can be had. Plays once unless the loop mode is changed.
    int playSample(int channel, Sample sample, bool paused);

    // Returns once the feeding thread has topped up every stream after this call (what was played before
    // it is decoded again); false when the system is not open.
    bool awaitFeed();

    // Decoded from memory the caller keeps until closeStream.
    Stream openStream(const void* data, std::size_t size, bool loop);
    // From the first frame, stopping the stream's earlier channel; the handle or -1.
    int playStream(int channel, Stream stream, bool paused);
    bool stopStream(Stream stream);
    void closeStream(Stream stream);

    // False for a handle that does not name a busy channel. A paused channel is busy, an ended one is not.
    bool stop(int channel);
    bool setLoopMode(int channel, int mode);
    bool setPan(int channel, int pan);
    bool setVolume(int channel, int volume);
    // Also takes ALL.
    bool setPaused(int channel, bool paused);
    bool isPlaying(int channel);
    int channelsPlaying();
    int maxChannels() const;

private:
    void render(float* out, u32 frames) override;
    void advance(u64 frames) override;
    void feed() override;

    template <class Change> bool changeChannel(int channel, Change change);
    // The channel to play on, -1 when there is none. Output locked.
    int pickChannel(int channel) const;

    mutable std::mutex m_api;
    std::unique_ptr<AudioMixer> m_mixer;
    std::unique_ptr<AudioOutput> m_output;
    HandleTable<std::unique_ptr<AudioClip>> m_samples;
    HandleTable<std::shared_ptr<AudioStream>> m_streams;
    AudioFeeder m_feeder;
};

} // namespace platform
