#include "tk2v/platform/AudioMixer.h"

#include <algorithm>
#include <climits>

namespace platform {
namespace {

constexpr int MAX_GENERATION = INT_MAX >> 8;
constexpr u64 FRACTION_MASK = 0xFFFFFFFFull;
constexpr float FRACTION_SCALE = 1.0f / 4294967296.0f;
constexpr float SAMPLE_RANGE = 32768.0f;
// Long silent catch-ups move in pieces so that position arithmetic cannot overflow.
constexpr u64 ADVANCE_PIECE = 1u << 20;

// Output frames until `distance` source frames are covered, at most `limit`.
u32 framesToCover(u64 distance, u64 step, u32 limit) {
    return u32(std::min<u64>((distance + step - 1) / step, limit));
}

struct ClipFrames {
    const i16* pcm;
    u64 width;
    u64 last;
    const i16* frame(u64 index) const { return pcm + index * width; }
};

struct RingFrames {
    AudioRing::ReadView view;
    u64 last;
    const i16* frame(u64 index) const { return view.frame(index); }
};

// Linear interpolation between neighbouring source frames; past the last frame the last one holds.
template <int Width, class Frames>
u64 mixRun(const Frames& source, u64 position, u64 step, u32 frames, float* out, float left, float right) {
    for (u32 i = 0; i < frames; ++i, position += step) {
        u64 index = position >> 32;
        const i16* a = source.frame(index);
        const i16* b = source.frame(std::min(index + 1, source.last));
        float t = float(position & FRACTION_MASK) * FRACTION_SCALE;
        float l = float(a[0]) + float(b[0] - a[0]) * t;
        float r = l;
        if constexpr (Width == 2)
            r = float(a[1]) + float(b[1] - a[1]) * t;
        out[2 * i] += l * left;
        out[2 * i + 1] += r * right;
    }
    return position;
}

// Mixes into `out`, or only moves the position when there is no output.
template <class Frames>
u64 mixFrames(const Frames& source, int width, u64 position, u64 step, u32 frames, float* out, float left,
              float right) {
    if (out == nullptr)
        return position + u64(frames) * step;
    if (width == 1)
        return mixRun<1>(source, position, step, frames, out, left, right);
    return mixRun<2>(source, position, step, frames, out, left, right);
}

void skipClip(AudioMixer::Channel& channel, u32 frames) {
    u64 end = u64(channel.clip->frames) << 32;
    channel.position += u64(frames) * channel.step;
    if (channel.position < end)
        return;
    if (channel.loop)
        channel.position %= end;
    else
        channel.release();
}

} // namespace

AudioMixer::AudioMixer(int frequency, int channels)
    : m_channels(std::size_t(std::clamp(channels, 1, MAX_CHANNELS))), m_frequency(frequency) {}

int AudioMixer::busyCount() const {
    return int(
        std::count_if(m_channels.begin(), m_channels.end(), [](const Channel& c) { return c.busy(); }));
}

int AudioMixer::freeChannel() const {
    auto idle =
        std::find_if(m_channels.begin(), m_channels.end(), [](const Channel& c) { return !c.busy(); });
    return idle == m_channels.end() ? -1 : int(idle - m_channels.begin());
}

AudioMixer::Channel* AudioMixer::find(int handle) {
    if (handle < 0 || (handle & 0xFF) >= channelCount())
        return nullptr;
    Channel& channel = at(handle & 0xFF);
    return channel.busy() && channel.generation == handle >> 8 ? &channel : nullptr;
}

AudioMixer::Channel& AudioMixer::restart(int index, int sourceFrequency, bool paused) {
    Channel& channel = at(index);
    int generation = channel.generation % MAX_GENERATION + 1;
    channel = Channel{};
    channel.generation = generation;
    channel.step = (u64(sourceFrequency) << 32) / u64(m_frequency);
    channel.paused = paused;
    return channel;
}

int AudioMixer::startClip(int index, const AudioClip& clip, bool paused) {
    restart(index, clip.frequency, paused).clip = &clip;
    return at(index).generation << 8 | index;
}

int AudioMixer::startStream(int index, AudioStream& stream, bool paused) {
    restart(index, stream.frequency(), paused).stream = &stream;
    return at(index).generation << 8 | index;
}

void AudioMixer::stopUsing(const void* source) {
    for (Channel& channel : m_channels)
        if (channel.clip == source || channel.stream == source)
            channel.release();
}

void AudioMixer::render(float* out, u32 frames) {
    std::fill(out, out + 2 * std::size_t(frames), 0.0f);
    for (Channel& channel : m_channels)
        if (channel.busy() && !channel.paused)
            play(channel, out, frames);
    for (std::size_t i = 0; i < 2 * std::size_t(frames); ++i)
        out[i] = std::clamp(out[i], -1.0f, 1.0f);
}

void AudioMixer::advance(u64 frames) {
    for (; frames > 0 && busyCount() > 0; frames -= std::min(frames, ADVANCE_PIECE))
        for (Channel& channel : m_channels)
            if (channel.busy() && !channel.paused)
                play(channel, nullptr, u32(std::min(frames, ADVANCE_PIECE)));
}

// A centred channel plays at full level on both sides; panning fades the far side out.
AudioMixer::Gains AudioMixer::gainsOf(const Channel& channel) const {
    float level = float(channel.volume * m_masterVolume) / (float(MAX_LEVEL * MAX_LEVEL) * SAMPLE_RANGE);
    float left =
        channel.pan <= PAN_CENTRE ? 1.0f : float(MAX_LEVEL - channel.pan) / float(MAX_LEVEL - PAN_CENTRE);
    float right = channel.pan >= PAN_CENTRE ? 1.0f : float(channel.pan) / float(PAN_CENTRE);
    return {level * left, level * right};
}

void AudioMixer::play(Channel& channel, float* out, u32 frames) {
    if (channel.stream != nullptr)
        playStream(channel, out, frames);
    else if (out != nullptr)
        mixClip(channel, out, frames);
    else
        skipClip(channel, frames);
}

void AudioMixer::mixClip(Channel& channel, float* out, u32 frames) {
    const AudioClip& clip = *channel.clip;
    ClipFrames source{clip.pcm.data(), u64(clip.channels), u64(clip.frames) - 1};
    u64 end = u64(clip.frames) << 32;
    Gains gains = gainsOf(channel);
    u32 done = 0;
    while (channel.position < end || channel.loop) {
        channel.position %= end;
        if (done == frames)
            return;
        u32 n = framesToCover(end - channel.position, channel.step, frames - done);
        channel.position = mixFrames(source, clip.channels, channel.position, channel.step, n, out + 2 * done,
                                     gains.left, gains.right);
        done += n;
    }
    channel.release();
}

// The newest frame waits for its successor unless the stream has ended, so interpolation never runs
// ahead of the decoded data. Output that the ring cannot cover stays silent.
void AudioMixer::playStream(Channel& channel, float* out, u32 frames) {
    AudioStream::Snapshot snapshot = channel.stream->snapshot();
    u64 have = snapshot.view.frames;
    u64 end = (snapshot.ended || have == 0 ? have : have - 1) << 32;
    if (channel.position < end) {
        Gains gains = gainsOf(channel);
        u32 n = framesToCover(end - channel.position, channel.step, frames);
        channel.position = mixFrames(RingFrames{snapshot.view, have - 1}, snapshot.view.channels,
                                     channel.position, channel.step, n, out, gains.left, gains.right);
    }
    u32 used = u32(std::min(channel.position >> 32, have));
    channel.stream->consume(used);
    channel.position -= u64(used) << 32;
    if (snapshot.ended && used == have)
        channel.release();
}

} // namespace platform
