#pragma once
#include "tk2v/platform/AudioDecoder.h"

namespace platform {

// Ogg Vorbis through libvorbisfile, reading the caller's memory; null when the data is not a playable
// mono or stereo Vorbis stream.
std::unique_ptr<AudioDecoder> openVorbisDecoder(const void* data, std::size_t size);

} // namespace platform
