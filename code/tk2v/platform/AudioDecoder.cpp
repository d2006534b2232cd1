#include "tk2v/platform/AudioDecoder.h"

#include "tk2v/platform/Mp3Decoder.h"
#include "tk2v/platform/VorbisDecoder.h"
#include "tk2v/platform/WavDecoder.h"

#include <cstring>

namespace platform {

std::unique_ptr<AudioDecoder> AudioDecoder::open(const void* data, std::size_t size) {
    if (data == nullptr || size < 4)
        return nullptr;
    if (std::memcmp(data, "RIFF", 4) == 0)
        return openWavDecoder(data, size);
    if (std::memcmp(data, "OggS", 4) == 0)
        return openVorbisDecoder(data, size);
    return openMp3Decoder(data, size);
}

bool AudioDecoder::setFormat(long channels, long frequency) {
    if (channels < 1 || channels > MAX_CHANNELS || frequency < 1 || frequency > MAX_FREQUENCY)
        return false;
    m_channels = int(channels);
    m_frequency = int(frequency);
    return true;
}

} // namespace platform
