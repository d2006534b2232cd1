#pragma once
#include "tk2v/platform/AudioDecoder.h"

namespace platform {

// RIFF WAVE with 8- or 16-bit PCM; null for anything else or a file cut before its sound data.
std::unique_ptr<AudioDecoder> openWavDecoder(const void* data, std::size_t size);

} // namespace platform
