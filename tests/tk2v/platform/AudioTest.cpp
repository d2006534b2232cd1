#include "support/FakeClock.h"
#include "support/PulledAudioOutput.h"
#include "tk2v/platform/AudioStream.h"
#include "tk2v/platform/AudioSystem.h"
#include "tk2v/platform/NullAudioOutput.h"

#include <gtest/gtest.h>
#include <vorbis/vorbisenc.h>

#include <atomic>
#include <cmath>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace {

using platform::AudioSystem;

constexpr int RATE = 44100;
constexpr int CHANNELS = 64;
constexpr float ONE_BIT = 1.0f / 32768.0f;

void put16(std::string& s, unsigned v) {
    s += char(v & 0xFF), s += char(v >> 8 & 0xFF);
}
void put32(std::string& s, std::uint32_t v) {
    put16(s, v & 0xFFFF), put16(s, v >> 16);
}

// A PCM WAV file; `values` are interleaved 16-bit levels (reduced to 8 bits when bits is 8).
std::string wav(int rate, int channels, int bits, const std::vector<int>& values, int format = 1) {
    std::string data;
    for (int v : values)
        bits == 8 ? void(data += char(v / 256 + 128)) : put16(data, unsigned(v));
    std::string file = "RIFF";
    put32(file, std::uint32_t(36 + data.size()));
    file += "WAVEfmt ";
    put32(file, 16);
    put16(file, unsigned(format));
    put16(file, unsigned(channels));
    put32(file, std::uint32_t(rate));
    put32(file, std::uint32_t(rate * channels * bits / 8));
    put16(file, unsigned(channels * bits / 8));
    put16(file, unsigned(bits));
    file += "data";
    put32(file, std::uint32_t(data.size()));
    return file + data;
}

std::vector<int> generate(int frames, int channels, const std::function<int(int frame, int channel)>& level) {
    std::vector<int> values;
    for (int f = 0; f < frames; ++f)
        for (int c = 0; c < channels; ++c)
            values.push_back(level(f, c));
    return values;
}

// A mono 16-bit WAV holding one level throughout.
std::string flatWav(int frames, int level = 16384, int rate = RATE) {
    return wav(rate, 1, 16, std::vector<int>(std::size_t(frames), level));
}

// A distinct level per frame, so a mix that skips, repeats or reorders frames shows.
int rampLevel(int frame) {
    return (frame * 7) % 30000 - 15000;
}

// Ogg Vorbis of a 441 Hz sine of amplitude 0.5 on the left channel; the right one (if any) is silent.
std::string oggSine(int rate, int channels, int frames) {
    vorbis_info info;
    vorbis_info_init(&info);
    vorbis_encode_init_vbr(&info, channels, rate, 0.5f);
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_dsp_state dsp;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block block;
    vorbis_block_init(&dsp, &block);
    ogg_stream_state os;
    ogg_stream_init(&os, 1);
    std::string file;
    ogg_page page;
    auto drain = [&](int (*out)(ogg_stream_state*, ogg_page*)) {
        while (out(&os, &page) != 0) {
            file.append(reinterpret_cast<const char*>(page.header), std::size_t(page.header_len));
            file.append(reinterpret_cast<const char*>(page.body), std::size_t(page.body_len));
        }
    };
    ogg_packet header, commentHeader, codebooks;
    vorbis_analysis_headerout(&dsp, &comment, &header, &commentHeader, &codebooks);
    ogg_stream_packetin(&os, &header);
    ogg_stream_packetin(&os, &commentHeader);
    ogg_stream_packetin(&os, &codebooks);
    drain(ogg_stream_flush);
    float** buffer = vorbis_analysis_buffer(&dsp, frames);
    for (int f = 0; f < frames; ++f) {
        buffer[0][f] = 0.5f * float(std::sin(2.0 * M_PI * 441.0 * f / rate));
        if (channels == 2)
            buffer[1][f] = 0.0f;
    }
    vorbis_analysis_wrote(&dsp, frames);
    vorbis_analysis_wrote(&dsp, 0);
    ogg_packet packet;
    while (vorbis_analysis_blockout(&dsp, &block) == 1) {
        vorbis_analysis(&block, nullptr);
        vorbis_bitrate_addblock(&block);
        while (vorbis_bitrate_flushpacket(&dsp, &packet) != 0) {
            ogg_stream_packetin(&os, &packet);
            drain(ogg_stream_pageout);
        }
    }
    drain(ogg_stream_flush);
    ogg_stream_clear(&os);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    return file;
}

// MPEG-1 Layer III, 128 kbit/s, 44.1 kHz mono frames with empty side information: valid frames that
// decode to silence (no encoder is at hand to make audible ones).
constexpr int MP3_FRAME_SAMPLES = 1152;
std::string silentMp3(int frames) {
    std::string frame(417, '\0');
    frame[0] = char(0xFF), frame[1] = char(0xFB), frame[2] = char(0x90), frame[3] = char(0xC0);
    std::string file;
    for (int i = 0; i < frames; ++i)
        file += frame;
    return file;
}

float rms(const std::vector<float>& out, std::size_t side) {
    double sum = 0;
    for (std::size_t i = side; i < out.size(); i += 2)
        sum += double(out[i]) * out[i];
    return float(std::sqrt(sum / double(out.size() / 2)));
}

bool silent(const std::vector<float>& out) {
    for (float v : out)
        if (v != 0.0f)
            return false;
    return true;
}

class AudioMixerTest : public testing::Test {
protected:
    void SetUp() override {
        auto pulled = std::make_unique<PulledAudioOutput>();
        output = pulled.get();
        ASSERT_TRUE(audio.init(RATE, CHANNELS, std::move(pulled)));
    }

    AudioSystem::Sample load(const std::string& bytes) {
        AudioSystem::Sample sample = audio.loadSample(bytes.data(), bytes.size());
        EXPECT_NE(sample, 0u);
        return sample;
    }

    int play(AudioSystem::Sample sample) {
        int channel = audio.playSample(AudioSystem::FREE, sample, false);
        EXPECT_GE(channel, 0);
        return channel;
    }

    AudioSystem audio;
    PulledAudioOutput* output = nullptr;
};

TEST_F(AudioMixerTest, OneShotEndsOnItsLastFrameAndALoopKeepsGoing) {
    AudioSystem::Sample sample = load(flatWav(1000));
    EXPECT_EQ(audio.sampleLength(sample), 1000u);
    EXPECT_EQ(audio.sampleFrequency(sample), RATE);
    int once = play(sample);
    int looped = play(sample);
    EXPECT_TRUE(audio.setLoopMode(looped, AudioSystem::LOOP_NORMAL));
    std::vector<float> out = output->pull(999);
    EXPECT_FLOAT_EQ(out[2 * 998], 1.0f);
    EXPECT_TRUE(audio.isPlaying(once));
    out = output->pull(4000);
    EXPECT_FLOAT_EQ(out[0], 1.0f);
    EXPECT_FLOAT_EQ(out[2], 0.5f);
    EXPECT_FALSE(audio.isPlaying(once));
    EXPECT_TRUE(audio.isPlaying(looped));
    for (std::size_t i = 2; i < out.size(); ++i)
        ASSERT_FLOAT_EQ(out[i], 0.5f) << i; // no gap where the loop wraps
    EXPECT_EQ(audio.channelsPlaying(), 1);
    EXPECT_FALSE(audio.setLoopMode(looped, 3));
}

TEST_F(AudioMixerTest, PausedChannelsCountAsPlayingAndStaySilent) {
    AudioSystem::Sample sample = load(flatWav(RATE));
    int first = audio.playSample(AudioSystem::FREE, sample, true);
    int second = play(sample);
    EXPECT_TRUE(audio.isPlaying(first));
    EXPECT_FLOAT_EQ(output->pull(100)[0], 0.5f);

    EXPECT_TRUE(audio.setPaused(AudioSystem::ALL, true));
    EXPECT_TRUE(silent(output->pull(RATE * 2)));
    EXPECT_TRUE(audio.isPlaying(first) && audio.isPlaying(second));
    EXPECT_EQ(audio.channelsPlaying(), 2);

    // Resuming all also resumes the channel that was paused on its own.
    EXPECT_TRUE(audio.setPaused(AudioSystem::ALL, false));
    EXPECT_FLOAT_EQ(output->pull(100)[0], 1.0f);
    EXPECT_TRUE(audio.setPaused(second, true));
    EXPECT_FLOAT_EQ(output->pull(100)[0], 0.5f);
}

TEST_F(AudioMixerTest, RefusesAPlayWhenEveryChannelIsBusy) {
    AudioSystem::Sample sample = load(flatWav(100));
    std::vector<int> handles;
    for (int i = 0; i < CHANNELS; ++i)
        handles.push_back(audio.playSample(AudioSystem::FREE, sample, true));
    EXPECT_EQ(audio.maxChannels(), CHANNELS);
    EXPECT_EQ(audio.channelsPlaying(), CHANNELS);
    EXPECT_EQ(audio.playSample(AudioSystem::FREE, sample, false), -1);
    EXPECT_EQ(audio.channelsPlaying(), CHANNELS);
    EXPECT_TRUE(audio.stop(handles[10]));
    EXPECT_EQ((audio.playSample(AudioSystem::FREE, sample, false) & 0xFF), 10);
    // An explicit channel index takes that channel over.
    int taken = audio.playSample(3, sample, false);
    EXPECT_EQ(taken & 0xFF, 3);
    EXPECT_FALSE(audio.isPlaying(handles[3]));
    EXPECT_EQ(audio.playSample(CHANNELS, sample, false), -1);
}

TEST_F(AudioMixerTest, AHandleFromAnEarlierPlayDoesNothing) {
    AudioSystem::Sample shortOne = load(flatWav(10));
    AudioSystem::Sample longOne = load(flatWav(RATE));
    int stale = play(shortOne);
    output->pull(20);
    int fresh = play(longOne);
    ASSERT_EQ(fresh & 0xFF, stale & 0xFF);
    ASSERT_NE(fresh, stale);
    EXPECT_FALSE(audio.isPlaying(stale));
    EXPECT_FALSE(audio.setVolume(stale, 0));
    EXPECT_FALSE(audio.setPaused(stale, true));
    EXPECT_FALSE(audio.stop(stale));
    EXPECT_TRUE(audio.isPlaying(fresh));
    EXPECT_FLOAT_EQ(output->pull(10)[0], 0.5f);
    for (int nonsense : {-1, -2, -3, 0x7FFFFFFF})
        EXPECT_FALSE(audio.isPlaying(nonsense));
}

TEST_F(AudioMixerTest, PanVolumeAndMasterVolumeSetTheLevels) {
    struct Case {
        int pan, volume, master;
        float left, right;
    };
    const Case cases[] = {
        {0, 255, 255, 0.5f, 0.0f},   {128, 255, 255, 0.5f, 0.5f}, {255, 255, 255, 0.0f, 0.5f},
        {64, 255, 255, 0.5f, 0.25f}, {128, 0, 255, 0.0f, 0.0f},   {128, 255, 0, 0.0f, 0.0f},
        {128, 51, 255, 0.1f, 0.1f},  {128, 255, 51, 0.1f, 0.1f},  {-40, 999, 255, 0.5f, 0.0f},
        {300, -5, 255, 0.0f, 0.0f},
    };
    AudioSystem::Sample sample = load(flatWav(RATE));
    for (const Case& c : cases) {
        audio.setSfxMasterVolume(c.master);
        int channel = play(sample);
        audio.setPan(channel, c.pan);
        audio.setVolume(channel, c.volume);
        std::vector<float> out = output->pull(4);
        EXPECT_NEAR(out[0], c.left, 1e-5) << c.pan << " " << c.volume << " " << c.master;
        EXPECT_NEAR(out[1], c.right, 1e-5) << c.pan << " " << c.volume << " " << c.master;
        audio.stop(channel);
    }
    EXPECT_EQ(audio.sfxMasterVolume(), 255);
}

TEST_F(AudioMixerTest, DecodesPcmLayoutsAndResamplesToTheOutputRate) {
    // A stereo sample keeps its sides apart; an 8-bit one is centred on 128.
    AudioSystem::Sample stereo =
        load(wav(RATE, 2, 16, generate(100, 2, [](int, int c) { return c ? -8192 : 4096; })));
    int channel = play(stereo);
    std::vector<float> out = output->pull(10);
    EXPECT_FLOAT_EQ(out[0], 0.125f);
    EXPECT_FLOAT_EQ(out[1], -0.25f);
    audio.stop(channel);
    play(load(wav(8000, 1, 8, {-32768, 16384, 32512})));
    out = output->pull(1);
    EXPECT_FLOAT_EQ(out[0], -1.0f);

    // At half the output rate every source frame lasts two output frames, the odd ones interpolated.
    output->pull(RATE);
    AudioSystem::Sample ramp = load(wav(22050, 1, 16, generate(2205, 1, [](int f, int) { return f * 10; })));
    EXPECT_EQ(audio.sampleFrequency(ramp), 22050);
    channel = play(ramp);
    out = output->pull(4409);
    for (int k : {0, 1, 2, 3, 1001, 4408})
        EXPECT_NEAR(out[2 * std::size_t(k)], float(k) * 5 * ONE_BIT, 1e-6) << k;
    EXPECT_TRUE(audio.isPlaying(channel));
    output->pull(2);
    EXPECT_FALSE(audio.isPlaying(channel));
}

TEST_F(AudioMixerTest, DecodesOggVorbis) {
    for (int channels : {1, 2}) {
        std::string file = oggSine(22050, channels, 11025);
        AudioSystem::Sample sample = load(file);
        EXPECT_EQ(audio.sampleLength(sample), 11025u);
        EXPECT_EQ(audio.sampleFrequency(sample), 22050);
        int channel = play(sample);
        std::vector<float> out = output->pull(22000);
        EXPECT_NEAR(rms(out, 0), 0.5f / std::sqrt(2.0f), 0.02f) << channels;
        EXPECT_NEAR(rms(out, 1), channels == 1 ? 0.5f / std::sqrt(2.0f) : 0.0f, 0.02f) << channels;
        output->pull(100);
        EXPECT_FALSE(audio.isPlaying(channel));
    }
}

TEST_F(AudioMixerTest, DecodesMpegAudio) {
    std::string file = silentMp3(20);
    AudioSystem::Sample sample = load(file);
    EXPECT_EQ(audio.sampleFrequency(sample), RATE);
    u32 length = audio.sampleLength(sample);
    EXPECT_EQ(length, u32(20 * MP3_FRAME_SAMPLES));
    int channel = play(sample);
    output->pull(length - 1);
    EXPECT_TRUE(audio.isPlaying(channel));
    output->pull(2);
    EXPECT_FALSE(audio.isPlaying(channel));
}

TEST_F(AudioMixerTest, RefusesMissingDamagedAndForeignData) {
    std::string good = flatWav(100);
    std::string noData = good.substr(0, 36);
    std::string ogg = oggSine(22050, 1, 4000);
    const std::string cases[] = {
        "",
        "RIFF",
        good.substr(0, 20),
        noData,
        noData + "data" + std::string(4, '\0'),
        wav(RATE, 1, 24, std::vector<int>(30, 0)),
        wav(RATE, 3, 16, std::vector<int>(30, 0)),
        wav(0, 1, 16, std::vector<int>(30, 0)),
        wav(RATE, 1, 16, std::vector<int>(30, 0), 3),
        ogg.substr(0, 60),
        ogg.substr(0, 200),
        "OggS" + std::string(200, 'x'),
        silentMp3(1).substr(0, 40),
        "this is certainly not a sound file",
        std::string(5000, '\0'),
    };
    for (const std::string& bytes : cases) {
        EXPECT_EQ(audio.loadSample(bytes.data(), bytes.size()), 0u) << bytes.size();
        EXPECT_EQ(audio.openStream(bytes.data(), bytes.size(), true), 0u) << bytes.size();
    }
    EXPECT_EQ(audio.loadSample(nullptr, 100), 0u);
    EXPECT_EQ(audio.openStream(nullptr, 100, false), 0u);
    EXPECT_EQ(audio.playSample(AudioSystem::FREE, 0, false), -1);
    EXPECT_EQ(audio.playStream(AudioSystem::FREE, 0, false), -1);
    // A data chunk that claims more than the file holds keeps what is there.
    std::string cut = flatWav(100);
    EXPECT_EQ(audio.sampleLength(load(cut.substr(0, cut.size() - 50))), 75u);
}

TEST_F(AudioMixerTest, FreeingASampleStopsItsChannels) {
    AudioSystem::Sample sample = load(flatWav(RATE));
    int channel = play(sample);
    audio.freeSample(sample);
    EXPECT_FALSE(audio.isPlaying(channel));
    EXPECT_TRUE(silent(output->pull(100)));
    EXPECT_EQ(audio.sampleLength(sample), 0u);
    EXPECT_EQ(audio.playSample(AudioSystem::FREE, sample, false), -1);
    audio.freeSample(sample);
}

// Longer than the stream buffer, so the ring wraps and refills while it plays.
constexpr int STREAM_FRAMES = 40000;

TEST_F(AudioMixerTest, AStreamPlaysThroughEndsAndRestarts) {
    std::string file = wav(RATE, 1, 16, generate(STREAM_FRAMES, 1, [](int f, int) { return rampLevel(f); }));
    AudioSystem::Stream stream = audio.openStream(file.data(), file.size(), false);
    ASSERT_NE(stream, 0u);
    for (int pass = 0; pass < 2; ++pass) {
        int channel = audio.playStream(AudioSystem::FREE, stream, false);
        ASSERT_GE(channel, 0);
        std::vector<float> out = output->pull(STREAM_FRAMES);
        for (int f = 0; f < STREAM_FRAMES; ++f)
            ASSERT_FLOAT_EQ(out[2 * std::size_t(f)], float(rampLevel(f)) * ONE_BIT) << pass << " " << f;
        EXPECT_FALSE(audio.isPlaying(channel));
        EXPECT_TRUE(silent(output->pull(100)));
    }
    // Played again while it plays, it moves to a new channel and starts over.
    int channel = audio.playStream(AudioSystem::FREE, stream, false);
    output->pull(1000);
    int again = audio.playStream(AudioSystem::FREE, stream, false);
    EXPECT_FALSE(audio.isPlaying(channel));
    EXPECT_FLOAT_EQ(output->pull(1)[0], float(rampLevel(0)) * ONE_BIT);
    EXPECT_TRUE(audio.stopStream(stream));
    EXPECT_FALSE(audio.isPlaying(again));
    audio.closeStream(stream);
    EXPECT_EQ(audio.playStream(AudioSystem::FREE, stream, false), -1);
    EXPECT_FALSE(audio.stopStream(stream));
}

TEST_F(AudioMixerTest, ALoopingStreamWrapsWithoutAGap) {
    std::string file = wav(RATE, 1, 16, generate(STREAM_FRAMES, 1, [](int f, int) { return rampLevel(f); }));
    AudioSystem::Stream stream = audio.openStream(file.data(), file.size(), true);
    int channel = audio.playStream(AudioSystem::FREE, stream, false);
    std::vector<float> out = output->pull(STREAM_FRAMES * 5 / 2);
    for (std::size_t f = 0; f < out.size() / 2; ++f)
        ASSERT_FLOAT_EQ(out[2 * f], float(rampLevel(int(f % STREAM_FRAMES))) * ONE_BIT) << f;
    EXPECT_TRUE(audio.isPlaying(channel));
    // Turned off, the stream ends at the end of the pass it is in.
    EXPECT_TRUE(audio.setLoopMode(channel, AudioSystem::LOOP_OFF));
    output->pull(STREAM_FRAMES);
    EXPECT_FALSE(audio.isPlaying(channel));
    audio.closeStream(stream);
}

TEST_F(AudioMixerTest, TheFeedingThreadKeepsAStreamAheadOfTheDevice) {
    std::string file = wav(RATE, 1, 16, generate(STREAM_FRAMES, 1, [](int f, int) { return rampLevel(f); }));
    AudioSystem::Stream stream = audio.openStream(file.data(), file.size(), false);
    audio.playStream(AudioSystem::FREE, stream, false);
    std::vector<float> out;
    static_assert(STREAM_FRAMES / 3 + 1 < platform::AudioStream::BUFFER_FRAMES &&
                  STREAM_FRAMES > platform::AudioStream::BUFFER_FRAMES);
    // Each pull takes less than the stream buffer, and the three together more than it holds: only the
    // thread's top-ups between them, however late the thread gets to run, carry the stream through.
    for (int part = 0; part < 3; ++part) {
        std::vector<float> piece = output->pull(STREAM_FRAMES / 3 + 1, false);
        out.insert(out.end(), piece.begin(), piece.end());
        ASSERT_TRUE(audio.awaitFeed());
    }
    for (int f = 0; f < STREAM_FRAMES; ++f)
        ASSERT_FLOAT_EQ(out[2 * std::size_t(f)], float(rampLevel(f)) * ONE_BIT) << f;
    audio.closeStream(stream);
}

TEST_F(AudioMixerTest, CompressedStreamsPlayAndShareTheChannels) {
    std::string ogg = oggSine(RATE, 2, RATE * 2);
    std::string mp3 = silentMp3(40);
    AudioSystem::Stream music = audio.openStream(ogg.data(), ogg.size(), true);
    AudioSystem::Stream other = audio.openStream(mp3.data(), mp3.size(), true);
    ASSERT_NE(music, 0u);
    ASSERT_NE(other, 0u);
    int channel = audio.playStream(AudioSystem::FREE, music, true);
    EXPECT_TRUE(audio.setVolume(channel, 255) && audio.setPaused(channel, false));
    int otherChannel = audio.playStream(AudioSystem::FREE, other, false);
    EXPECT_GE(otherChannel, 0);
    EXPECT_EQ(audio.channelsPlaying(), 2);
    AudioSystem::Sample sample = load(flatWav(100));
    std::vector<int> samples;
    for (int i = 2; i < CHANNELS; ++i)
        samples.push_back(audio.playSample(AudioSystem::FREE, sample, true));
    EXPECT_EQ(samples.back() & 0xFF, CHANNELS - 1);
    EXPECT_EQ(audio.playSample(AudioSystem::FREE, sample, true), -1);
    for (int handle : samples)
        audio.stop(handle);

    channel = audio.playStream(AudioSystem::FREE, music, false);
    std::vector<float> out = output->pull(RATE * 5);
    EXPECT_TRUE(audio.isPlaying(channel));
    EXPECT_TRUE(audio.isPlaying(otherChannel)); // rewound four times by now
    // Every piece of a looping two-second sine carries sound: no under-run, no gap at the wrap.
    for (std::size_t piece = 0; piece + 1024 <= out.size(); piece += 1024)
        ASSERT_GT(rms(std::vector<float>(out.begin() + long(piece), out.begin() + long(piece + 1024)), 0),
                  0.3f)
            << piece;
    audio.closeStream(music);
    audio.closeStream(other);
}

TEST_F(AudioMixerTest, CloseFreesEverythingAndOldHandlesStayDead) {
    AudioSystem::Sample sample = load(flatWav(100));
    std::string file = flatWav(100);
    AudioSystem::Stream stream = audio.openStream(file.data(), file.size(), true);
    int channel = play(sample);
    EXPECT_FALSE(audio.init(RATE, CHANNELS, std::make_unique<PulledAudioOutput>()));
    audio.close();
    EXPECT_FALSE(audio.isOpen());
    EXPECT_FALSE(audio.awaitFeed()); // no thread to wait for: at once
    EXPECT_EQ(audio.loadSample(file.data(), file.size()), 0u);
    EXPECT_EQ(audio.playSample(AudioSystem::FREE, sample, false), -1);
    EXPECT_FALSE(audio.isPlaying(channel));
    EXPECT_EQ(audio.channelsPlaying(), 0);
    EXPECT_EQ(audio.maxChannels(), 0);

    ASSERT_TRUE(audio.init(RATE, CHANNELS, std::make_unique<PulledAudioOutput>()));
    EXPECT_NE(load(file), 0u);
    EXPECT_EQ(audio.sampleLength(sample), 0u);
    EXPECT_EQ(audio.playStream(AudioSystem::FREE, stream, false), -1);
}

TEST_F(AudioMixerTest, ConcurrentCallersAndTheMixerDoNotRace) {
    std::string file = flatWav(STREAM_FRAMES, 1000);
    AudioSystem::Stream stream = audio.openStream(file.data(), file.size(), true);
    AudioSystem::Sample sample = load(flatWav(500));
    std::atomic<bool> done{false};
    // The second caller behaves like the music fade thread.
    std::thread fader([&] {
        for (int i = 0; !done; ++i) {
            int channel = audio.playStream(AudioSystem::FREE, stream, false);
            audio.setVolume(channel, i % 256);
            audio.setPaused(channel, i % 3 == 0);
            audio.isPlaying(channel);
            if (i % 5 == 0)
                audio.stopStream(stream);
        }
    });
    for (int i = 0; i < 200; ++i) {
        int channel = play(sample);
        audio.setPan(channel, i);
        output->pull(300);
        audio.setPaused(AudioSystem::ALL, i % 2 == 0);
    }
    done = true;
    fader.join();
    EXPECT_LE(audio.channelsPlaying(), CHANNELS);
    audio.closeStream(stream);
}

TEST(AudioSystem, TheNullOutputKeepsWallClockTime) {
    FakeClock clock;
    AudioSystem audio;
    ASSERT_TRUE(audio.init(RATE, CHANNELS, std::make_unique<platform::NullAudioOutput>()));
    std::string file = flatWav(RATE);
    AudioSystem::Sample sample = audio.loadSample(file.data(), file.size());
    int once = audio.playSample(AudioSystem::FREE, sample, false);
    int looped = audio.playSample(AudioSystem::FREE, sample, false);
    int paused = audio.playSample(AudioSystem::FREE, sample, true);
    audio.setLoopMode(looped, AudioSystem::LOOP_NORMAL);
    for (int i = 0; i < 999; ++i) {
        clock.advanceMs(1);
        ASSERT_TRUE(audio.isPlaying(once)) << i;
    }
    clock.advanceMs(1);
    EXPECT_FALSE(audio.isPlaying(once));
    clock.advanceMs(3600 * 1000);
    EXPECT_TRUE(audio.isPlaying(looped));
    EXPECT_TRUE(audio.setPaused(paused, false));
    clock.advanceMs(999);
    EXPECT_TRUE(audio.isPlaying(paused));
    clock.advanceMs(1);
    EXPECT_FALSE(audio.isPlaying(paused));
}

TEST(AudioSystem, OpensTheDeviceOutputAndRefusesBadSettings) {
    AudioSystem audio;
    EXPECT_EQ(audio.playSample(AudioSystem::FREE, 1, false), -1);
    EXPECT_FALSE(audio.setPaused(AudioSystem::ALL, true));
    const std::pair<int, int> bad[] = {{0, 64}, {RATE, 0}, {RATE, 257}, {1000000, 64}};
    for (auto [rate, channels] : bad)
        EXPECT_FALSE(audio.init(rate, channels));
    ASSERT_TRUE(audio.init(RATE, CHANNELS));
    EXPECT_EQ(audio.sfxMasterVolume(), 255);
    std::string file = flatWav(RATE / 10);
    int channel = audio.playSample(AudioSystem::FREE, audio.loadSample(file.data(), file.size()), false);
    EXPECT_TRUE(audio.isPlaying(channel));
    audio.close();
    EXPECT_FALSE(audio.isPlaying(channel));
}

} // namespace
