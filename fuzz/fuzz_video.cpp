#include "tk2v/video/aTheoraDecoder.h"

#include <ogg/ogg.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

// Plays the input as a video file, once straight through and once looping. Every whole Ogg page in
// it gets its checksum set first, so that mutated pages reach the header reader and the decoder
// instead of being dropped by the demultiplexer.

namespace {

constexpr int kMaxUpdates = 64;

void setPageChecksums(std::vector<unsigned char>& bytes) {
    const size_t size = bytes.size();
    for (size_t at = 0; at + 27 <= size; ++at) {
        if (std::memcmp(&bytes[at], "OggS", 4) != 0)
            continue;
        const size_t header = 27 + size_t(bytes[at + 26]);
        if (at + header > size)
            return;
        size_t body = 0;
        for (size_t i = 27; i < header; ++i)
            body += bytes[at + i];
        if (at + header + body > size)
            continue;
        ogg_page page{&bytes[at], long(header), &bytes[at + header], long(body)};
        ogg_page_checksum_set(&page);
        at += header + body - 1;
    }
}

void play(std::vector<unsigned char>& bytes, bool loop) {
    aTheoraDecoder video;
    if (!video.open(fmemopen(bytes.data(), bytes.size(), "rb"), loop))
        return;
    for (int i = 0; i < kMaxUpdates && video.isOpen(); ++i)
        video.update(1.0f);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    std::vector<unsigned char> bytes(data, data + size);
    setPageChecksums(bytes);
    play(bytes, false);
    play(bytes, true);
    return 0;
}
