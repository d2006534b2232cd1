#include "tk2v/platform/Mp3Decoder.h"

#include "tk2v/platform/MemoryReader.h"

#include <mpg123.h>

#include <mutex>

namespace platform {
namespace {

mpg123_ssize_t readCallback(void* source, void* out, std::size_t bytes) {
    return mpg123_ssize_t(static_cast<MemoryReader*>(source)->read(out, bytes));
}

off_t seekCallback(void* source, off_t offset, int whence) {
    auto* reader = static_cast<MemoryReader*>(source);
    return reader->seek(offset, whence) ? off_t(reader->pos) : off_t(-1);
}

// Old library versions need this once per process; newer ones ignore it.
bool libraryReady() {
    static std::once_flag once;
    static bool ready = false;
    std::call_once(once, [] { ready = mpg123_init() == MPG123_OK; });
    return ready;
}

class Mp3Decoder : public AudioDecoder {
public:
    ~Mp3Decoder() override {
        if (m_handle != nullptr)
            mpg123_delete(m_handle);
    }

    bool open(const void* data, std::size_t size) {
        m_reader = {static_cast<const u8*>(data), size, 0};
        if (!libraryReady() || (m_handle = mpg123_new(nullptr, nullptr)) == nullptr || !configure())
            return false;
        long rate = 0;
        int channelCount = 0, encoding = 0;
        if (mpg123_open_handle(m_handle, &m_reader) != MPG123_OK ||
            mpg123_getformat(m_handle, &rate, &channelCount, &encoding) != MPG123_OK)
            return false;
        off_t length = mpg123_length(m_handle);
        m_lengthHint = length > 0 ? u64(length) : 0;
        return encoding == MPG123_ENC_SIGNED_16 && setFormat(channelCount, rate);
    }

    u64 lengthHint() const override { return m_lengthHint; }

    u32 read(i16* out, u32 frames) override {
        std::size_t frameBytes = std::size_t(channels()) * sizeof(i16);
        std::size_t want = std::size_t(frames) * frameBytes, have = 0;
        while (have < want) {
            std::size_t done = 0;
            int result = mpg123_read(m_handle, reinterpret_cast<u8*>(out) + have, want - have, &done);
            have += done;
            if (result == MPG123_NEW_FORMAT && !sameFormat())
                break;
            if (result != MPG123_NEW_FORMAT && (result != MPG123_OK || done == 0))
                break;
        }
        return u32(have / frameBytes);
    }

    bool rewind() override { return mpg123_seek(m_handle, 0, SEEK_SET) >= 0; }

private:
    // 16-bit output at the file's own rate and channel count, no console output.
    bool configure() {
        if (mpg123_param(m_handle, MPG123_ADD_FLAGS, MPG123_QUIET, 0) != MPG123_OK ||
            mpg123_replace_reader_handle(m_handle, readCallback, seekCallback, nullptr) != MPG123_OK ||
            mpg123_format_none(m_handle) != MPG123_OK)
            return false;
        const long* rates = nullptr;
        std::size_t count = 0;
        mpg123_rates(&rates, &count);
        for (std::size_t i = 0; i < count; ++i)
            mpg123_format(m_handle, rates[i], MPG123_MONO | MPG123_STEREO, MPG123_ENC_SIGNED_16);
        return true;
    }

    // A stream that changes its layout midway ends where it changes.
    bool sameFormat() {
        long rate = 0;
        int channelCount = 0, encoding = 0;
        return mpg123_getformat(m_handle, &rate, &channelCount, &encoding) == MPG123_OK &&
               rate == frequency() && channelCount == channels() && encoding == MPG123_ENC_SIGNED_16;
    }

    MemoryReader m_reader;
    mpg123_handle* m_handle = nullptr;
    u64 m_lengthHint = 0;
};

} // namespace

std::unique_ptr<AudioDecoder> openMp3Decoder(const void* data, std::size_t size) {
    auto decoder = std::make_unique<Mp3Decoder>();
    if (!decoder->open(data, size))
        return nullptr;
    return decoder;
}

} // namespace platform
