#pragma once
#include "tk2v/util/types.h"

#include <functional>
#include <string>
#include <vector>

#include <theora/codec.h>

// Ogg Theora clips made with libtheora's encoder, for the video tests, benchmark and fuzz seeds.

struct Yuv {
    u8 y, u, v;
};

// Fills the three 4:2:0 planes of frame `index`.
using FrameFill = std::function<void(u32 index, th_ycbcr_buffer planes)>;

struct ClipSpec {
    u32 width = 64; // multiples of 16
    u32 height = 48;
    u32 fpsNumerator = 25;
    u32 fpsDenominator = 1;
    u32 frameCount = 4;
    FrameFill fill;
    int quality = 63;         // 0..63
    bool otherStream = false; // interleave a second, non-video stream
    int badPacket = -1;       // index of a frame whose packet is replaced by one the decoder rejects
};

// Frame i is flat in colours[i % colours.size()].
FrameFill flatFrames(std::vector<Yuv> colours);

// The whole file.
std::string encodeClip(const ClipSpec& spec);

// An Ogg file with one stream that is not Theora.
std::string otherOgg();
