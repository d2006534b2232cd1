#include "WavesVideo.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ogg/ogg.h>
#include <theora/theoraenc.h>

namespace {

constexpr float kTwoPi = 6.28318530718f;

struct Rgb {
    float r, g, b;
};

// Night water: darker far away (top), with moonlight glinting on the wave crests.
Rgb water(float x, float y, float width, float height, float time) {
    const float depth = y / height; // 0 far, 1 near
    const float scale = 0.35f + 0.65f * depth;
    const float u = x / width * kTwoPi, v = depth * kTwoPi;
    float wave = std::sin(u * 3 / scale + v * 9 / scale - time) * 0.5f +
                 std::sin(u * 7 / scale - v * 4 / scale + 2 * time) * 0.3f +
                 std::sin(u * 11 / scale + v * 13 / scale - 3 * time) * 0.2f;
    const float moon = std::exp(-std::pow((x - width * 0.62f) / (width * 0.12f * scale), 2.0f));
    const float glint = std::max(0.0f, wave) * (0.15f + 0.85f * moon);
    return {12 + 20 * depth + 150 * glint, 24 + 30 * depth + 160 * glint, 48 + 40 * depth + 150 * glint};
}

uint8_t clampByte(float v) {
    return uint8_t(std::lround(std::clamp(v, 0.0f, 255.0f)));
}

void flushPages(ogg_stream_state& stream, std::vector<uint8_t>& out) {
    ogg_page page;
    while (ogg_stream_flush(&stream, &page) > 0) {
        out.insert(out.end(), page.header, page.header + page.header_len);
        out.insert(out.end(), page.body, page.body + page.body_len);
    }
}

} // namespace

std::vector<uint8_t> wavesVideo(int width, int height, int fps, int frames) {
    // Theora codes whole 16 x 16 blocks; the picture is the top of the coded frame.
    const int frameW = (width + 15) & ~15, frameH = (height + 15) & ~15;
    th_info info;
    th_info_init(&info);
    info.frame_width = unsigned(frameW);
    info.frame_height = unsigned(frameH);
    info.pic_width = unsigned(width);
    info.pic_height = unsigned(height);
    info.pic_x = info.pic_y = 0;
    info.fps_numerator = unsigned(fps);
    info.fps_denominator = 1;
    info.aspect_numerator = info.aspect_denominator = 1;
    info.colorspace = TH_CS_UNSPECIFIED;
    info.pixel_fmt = TH_PF_420;
    info.quality = 40;
    th_enc_ctx* encoder = th_encode_alloc(&info);
    th_info_clear(&info);
    if (!encoder) {
        std::fprintf(stderr, "make_demo_data: cannot start the Theora encoder\n");
        std::exit(1);
    }
    ogg_stream_state stream;
    ogg_stream_init(&stream, 0x5741);
    std::vector<uint8_t> out;

    th_comment comment;
    th_comment_init(&comment);
    ogg_packet packet;
    for (bool first = true; th_encode_flushheader(encoder, &comment, &packet) > 0; first = false) {
        ogg_stream_packetin(&stream, &packet);
        if (first)
            flushPages(stream, out); // the first header alone on the first page
    }
    flushPages(stream, out);
    th_comment_clear(&comment);

    std::vector<uint8_t> luma(size_t(frameW) * frameH), cb(luma.size() / 4), cr(luma.size() / 4);
    for (int f = 0; f < frames; ++f) {
        const float time = kTwoPi * float(f) / float(frames);
        // Every row of the coded frame holds water, in case a player shows the whole frame.
        for (int y = 0; y < frameH; y += 2)
            for (int x = 0; x < frameW; x += 2) {
                float sumCb = 0, sumCr = 0;
                for (int dy = 0; dy < 2; ++dy)
                    for (int dx = 0; dx < 2; ++dx) {
                        Rgb c = water(float(x + dx), float(std::min(y + dy, height - 1)), float(width),
                                      float(height), time);
                        const float yy = 0.299f * c.r + 0.587f * c.g + 0.114f * c.b;
                        luma[size_t(y + dy) * frameW + x + dx] = clampByte(16 + yy * 219 / 255);
                        sumCb += (c.b - yy) * 0.564f;
                        sumCr += (c.r - yy) * 0.713f;
                    }
                cb[size_t(y / 2) * (frameW / 2) + x / 2] = clampByte(128 + sumCb / 4 * 224 / 255);
                cr[size_t(y / 2) * (frameW / 2) + x / 2] = clampByte(128 + sumCr / 4 * 224 / 255);
            }
        th_ycbcr_buffer planes;
        planes[0] = {frameW, frameH, frameW, luma.data()};
        planes[1] = {frameW / 2, frameH / 2, frameW / 2, cb.data()};
        planes[2] = {frameW / 2, frameH / 2, frameW / 2, cr.data()};
        th_encode_ycbcr_in(encoder, planes);
        while (th_encode_packetout(encoder, f + 1 == frames, &packet) > 0) {
            ogg_stream_packetin(&stream, &packet);
            flushPages(stream, out);
        }
    }
    flushPages(stream, out);
    ogg_stream_clear(&stream);
    th_encode_free(encoder);
    return out;
}
