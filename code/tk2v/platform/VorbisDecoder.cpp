#include "tk2v/platform/VorbisDecoder.h"

#include "tk2v/platform/MemoryReader.h"

#include <vorbis/vorbisfile.h>

#include <algorithm>

namespace platform {
namespace {

std::size_t readCallback(void* out, std::size_t size, std::size_t count, void* source) {
    if (size == 0)
        return 0;
    return static_cast<MemoryReader*>(source)->read(out, size * count) / size;
}

int seekCallback(void* source, ogg_int64_t offset, int whence) {
    return static_cast<MemoryReader*>(source)->seek(offset, whence) ? 0 : -1;
}

long tellCallback(void* source) {
    return long(static_cast<MemoryReader*>(source)->pos);
}

const ov_callbacks MEMORY_CALLBACKS = {readCallback, seekCallback, nullptr, tellCallback};

class VorbisDecoder : public AudioDecoder {
public:
    ~VorbisDecoder() override {
        if (m_open)
            ov_clear(&m_file);
    }

    bool open(const void* data, std::size_t size) {
        m_reader = {static_cast<const u8*>(data), size, 0};
        m_open = ov_open_callbacks(&m_reader, &m_file, nullptr, 0, MEMORY_CALLBACKS) == 0;
        if (!m_open)
            return false;
        const vorbis_info* info = ov_info(&m_file, -1);
        ogg_int64_t total = ov_pcm_total(&m_file, -1);
        m_lengthHint = total > 0 ? u64(total) : 0;
        return info != nullptr && setFormat(info->channels, info->rate);
    }

    u64 lengthHint() const override { return m_lengthHint; }

    u32 read(i16* out, u32 frames) override {
        u32 done = 0;
        while (done < frames) {
            long got = readPiece(out + std::size_t(done) * std::size_t(channels()), frames - done);
            if (got < 0)
                continue;
            if (got == 0)
                break;
            done += u32(got);
        }
        return done;
    }

    bool rewind() override { return ov_pcm_seek(&m_file, 0) == 0; }

private:
    // One call into the library: frames decoded, 0 at the end or on a fatal error, -1 for a hole in the data
    // (the decoder resumes after it).
    long readPiece(i16* out, u32 frames) {
        std::size_t frameBytes = std::size_t(channels()) * sizeof(i16);
        std::size_t want = std::min<std::size_t>(std::size_t(frames) * frameBytes, 1 << 16);
        int link = 0;
        long bytes = ov_read(&m_file, reinterpret_cast<char*>(out), int(want), 0, 2, 1, &link);
        if (bytes == OV_HOLE)
            return -1;
        if (bytes <= 0)
            return 0;
        // A chained file whose later part changes the layout ends where the layout changes.
        const vorbis_info* info = ov_info(&m_file, link);
        if (info == nullptr || info->channels != channels() || info->rate != frequency())
            return 0;
        return long(std::size_t(bytes) / frameBytes);
    }

    MemoryReader m_reader;
    OggVorbis_File m_file{};
    bool m_open = false;
    u64 m_lengthHint = 0;
};

} // namespace

std::unique_ptr<AudioDecoder> openVorbisDecoder(const void* data, std::size_t size) {
    auto decoder = std::make_unique<VorbisDecoder>();
    if (!decoder->open(data, size))
        return nullptr;
    return decoder;
}

} // namespace platform
