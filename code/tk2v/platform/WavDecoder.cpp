#include "tk2v/platform/WavDecoder.h"

#include <algorithm>
#include <cstring>

namespace platform {
namespace {

constexpr u16 FORMAT_PCM = 1;
constexpr u16 FORMAT_EXTENSIBLE = 0xFFFE;

u16 le16(const u8* p) {
    return u16(p[0] | p[1] << 8);
}
u32 le32(const u8* p) {
    return u32(p[0]) | u32(p[1]) << 8 | u32(p[2]) << 16 | u32(p[3]) << 24;
}

struct WavLayout {
    u16 format = 0, channels = 0, bits = 0;
    u32 frequency = 0;
    const u8* pcm = nullptr;
    std::size_t pcmBytes = 0;
};

void readFormatChunk(const u8* p, std::size_t size, WavLayout& layout) {
    if (size < 16)
        return;
    layout.format = le16(p);
    layout.channels = le16(p + 2);
    layout.frequency = le32(p + 4);
    layout.bits = le16(p + 14);
    // The extensible header names the real format in the first two bytes of its sub-format id.
    if (layout.format == FORMAT_EXTENSIBLE && size >= 26)
        layout.format = le16(p + 24);
}

// Walks the chunks after "RIFF....WAVE". A data chunk longer than the file keeps the part that is there:
// writers that stream often leave its size unset.
bool parseWav(const u8* bytes, std::size_t size, WavLayout& layout) {
    if (size < 12 || std::memcmp(bytes + 8, "WAVE", 4) != 0)
        return false;
    std::size_t at = 12;
    while (size - at >= 8) {
        const u8* chunk = bytes + at;
        std::size_t body = std::min<std::size_t>(le32(chunk + 4), size - at - 8);
        if (std::memcmp(chunk, "fmt ", 4) == 0)
            readFormatChunk(chunk + 8, body, layout);
        else if (std::memcmp(chunk, "data", 4) == 0 && layout.pcm == nullptr) {
            layout.pcm = chunk + 8;
            layout.pcmBytes = body;
        }
        at += 8 + body + (body & 1);
        if (at > size)
            break;
    }
    return layout.pcm != nullptr && layout.format == FORMAT_PCM && (layout.bits == 8 || layout.bits == 16);
}

class WavDecoder : public AudioDecoder {
public:
    bool open(const void* data, std::size_t size) {
        WavLayout layout;
        if (!parseWav(static_cast<const u8*>(data), size, layout) ||
            !setFormat(layout.channels, layout.frequency))
            return false;
        m_pcm = layout.pcm;
        m_sampleBytes = layout.bits / 8;
        m_frames = layout.pcmBytes / (m_sampleBytes * std::size_t(channels()));
        return m_frames > 0;
    }

    u64 lengthHint() const override { return m_frames; }

    u32 read(i16* out, u32 frames) override {
        std::size_t n = std::min<std::size_t>(frames, m_frames - m_next);
        std::size_t values = n * std::size_t(channels());
        const u8* in = m_pcm + m_next * std::size_t(channels()) * m_sampleBytes;
        for (std::size_t i = 0; i < values; ++i)
            out[i] = m_sampleBytes == 1 ? i16((in[i] - 128) * 256) : i16(le16(in + 2 * i));
        m_next += n;
        return u32(n);
    }

    bool rewind() override {
        m_next = 0;
        return true;
    }

private:
    const u8* m_pcm = nullptr;
    std::size_t m_sampleBytes = 0;
    std::size_t m_frames = 0;
    std::size_t m_next = 0;
};

} // namespace

std::unique_ptr<AudioDecoder> openWavDecoder(const void* data, std::size_t size) {
    auto decoder = std::make_unique<WavDecoder>();
    if (!decoder->open(data, size))
        return nullptr;
    return decoder;
}

} // namespace platform
