#pragma once
#include "tk2v/platform/AudioDecoder.h"

namespace platform {

// MPEG audio (MP3) through libmpg123, reading the caller's memory; null when no frame can be decoded.
std::unique_ptr<AudioDecoder> openMp3Decoder(const void* data, std::size_t size);

} // namespace platform
