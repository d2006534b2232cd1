#include "tk2v/video/aTheoraDecoder.h"

#include "tk2v/file/aFileServer.h"
#include "tk2v/util/log.h"
#include "tk2v/video/YuvToRgb.h"

#include <ogg/ogg.h>
#include <theora/theoradec.h>

#include <cmath>

namespace {

constexpr int kReadSize = 8192;
constexpr int kHeaderCount = 3;
// Pieces read in one update while looking for the next packet; a longer search goes on at the next
// frame, so that a file of junk never holds up the main loop.
constexpr int kMaxReadsPerFrame = 256;
// Larger frames are refused before the decoder allocates them: a damaged header could ask for
// gigabytes, and no texture of the game is that large.
constexpr ogg_uint32_t kMaxFrameSide = 4096;

// The chroma planes must cover every (x / 2, y / 2) of the luma plane.
bool planesFit(const th_ycbcr_buffer picture) {
    const th_img_plane& luma = picture[0];
    if (!luma.data || luma.width <= 0 || luma.height <= 0)
        return false;
    for (int i = 1; i < 3; ++i)
        if (!picture[i].data || picture[i].width < (luma.width + 1) / 2 ||
            picture[i].height < (luma.height + 1) / 2)
            return false;
    return true;
}

YuvPlane planeOf(const th_img_plane& plane) {
    return {plane.data, plane.stride};
}

} // namespace

struct aTheoraDecoder::Block {
    ogg_sync_state sync;
    ogg_stream_state stream;
    ogg_page page;
    ogg_packet packet;
    th_comment comment;
    th_info info;
    th_setup_info* setup;
    th_dec_ctx* decoder;
    // The decoder has made a picture; before that it hands out planes it never filled.
    bool hasPicture;
};

aTheoraDecoder::aTheoraDecoder() : m_block(std::make_unique<Block>()) {}

aTheoraDecoder::~aTheoraDecoder() {
    close();
}

bool aTheoraDecoder::open(const std::string& path, bool loop) {
    close();
    std::FILE* file = std::fopen(aFileServer::resolve(path).c_str(), "rb");
    if (!file) {
        log("File open error!");
        return false;
    }
    return open(file, loop);
}

bool aTheoraDecoder::open(std::FILE* file, bool loop) {
    close();
    m_file = file;
    if (!m_file)
        return false;
    if (!readHeaders()) {
        close();
        return false;
    }
    std::vector<u32>().swap(m_pixels);
    m_pixelsWidth = m_pixelsHeight = 0;
    m_loop = loop;
    // Starting the clock at one frame time makes the first update decode at once.
    m_frameTime = f32(m_block->info.fps_denominator) / f32(m_block->info.fps_numerator);
    m_frameClock = m_frameTime;
    return true;
}

void aTheoraDecoder::close() {
    if (!m_file)
        return;
    resetDecoder();
    std::fclose(m_file);
    m_file = nullptr;
}

bool aTheoraDecoder::update(f32 dt) {
    if (!m_file)
        return false;
    m_frameClock += dt;
    if (m_frameClock < m_frameTime)
        return false;
    // One frame at most: a slow caller sees the video slow down rather than skip.
    m_frameClock = std::fmod(m_frameClock, m_frameTime);
    return decodeFrame();
}

u32 aTheoraDecoder::getWidth() const {
    return m_block->info.frame_width;
}

u32 aTheoraDecoder::getHeight() const {
    return m_block->info.frame_height;
}

bool aTheoraDecoder::readHeaders() {
    resetDecoder();
    Block& b = *m_block;
    ogg_sync_init(&b.sync);
    th_comment_init(&b.comment);
    th_info_init(&b.info);
    bool found = false;
    int headers = 0;
    return readBosPages(found, headers) && readRemainingHeaders(headers) && startDecoder();
}

// True once the first page after the beginning-of-stream pages has gone to the video stream.
bool aTheoraDecoder::readBosPages(bool& found, int& headers) {
    Block& b = *m_block;
    while (feed()) {
        for (int got; (got = ogg_sync_pageout(&b.sync, &b.page)) != 0;) {
            if (got < 0)
                continue;
            if (!ogg_page_bos(&b.page)) {
                // Without a video stream among the first streams there is nothing to play.
                if (!found)
                    return false;
                // Pages of other streams are refused by their serial number.
                ogg_stream_pagein(&b.stream, &b.page);
                return true;
            }
            if (!startStream(found, headers))
                return false;
        }
    }
    return false;
}

// Tries the first packet of the new stream in the current page as the video's first header.
bool aTheoraDecoder::startStream(bool& found, int& headers) {
    Block& b = *m_block;
    ogg_stream_state trial;
    if (ogg_stream_init(&trial, ogg_page_serialno(&b.page)) != 0)
        return false;
    int got = -1;
    if (ogg_stream_pagein(&trial, &b.page) == 0)
        got = ogg_stream_packetout(&trial, &b.packet);
    if (got < 0) {
        ogg_stream_clear(&trial);
        return false;
    }
    if (!found && got > 0 && th_decode_headerin(&b.info, &b.comment, &b.setup, &b.packet) > 0) {
        b.stream = trial;
        found = true;
        ++headers;
        return true;
    }
    ogg_stream_clear(&trial);
    return true;
}

bool aTheoraDecoder::readRemainingHeaders(int headers) {
    Block& b = *m_block;
    while (headers < kHeaderCount) {
        const int got = ogg_stream_packetout(&b.stream, &b.packet);
        if (got < 0)
            return false;
        if (got > 0) {
            if (th_decode_headerin(&b.info, &b.comment, &b.setup, &b.packet) < 0)
                return false;
            ++headers;
            continue;
        }
        const int paged = ogg_sync_pageout(&b.sync, &b.page);
        if (paged > 0)
            ogg_stream_pagein(&b.stream, &b.page);
        else if (paged == 0 && !feed())
            return false;
    }
    return true;
}

bool aTheoraDecoder::startDecoder() {
    Block& b = *m_block;
    if (b.info.frame_width > kMaxFrameSide || b.info.frame_height > kMaxFrameSide)
        return false;
    b.decoder = th_decode_alloc(&b.info, b.setup);
    th_setup_free(b.setup);
    b.setup = nullptr;
    return b.decoder != nullptr;
}

void aTheoraDecoder::resetDecoder() {
    Block& b = *m_block;
    th_decode_free(b.decoder);
    th_setup_free(b.setup);
    th_comment_clear(&b.comment);
    th_info_clear(&b.info);
    ogg_stream_clear(&b.stream);
    ogg_sync_clear(&b.sync);
    b = Block{};
}

// One piece of the file into the demultiplexer; false at the end of the file.
bool aTheoraDecoder::feed() {
    Block& b = *m_block;
    char* buffer = ogg_sync_buffer(&b.sync, kReadSize);
    if (!buffer)
        return false;
    const size_t count = std::fread(buffer, 1, kReadSize, m_file);
    ogg_sync_wrote(&b.sync, long(count));
    return count > 0;
}

bool aTheoraDecoder::decodeFrame() {
    if (!m_file || !nextPacket())
        return false;
    Block& b = *m_block;
    const int result = th_decode_packetin(b.decoder, &b.packet, nullptr);
    if (result == TH_EBADPACKET)
        log("ERROR theora_decode_packetin");
    b.hasPicture = b.hasPicture || result == 0;
    return b.hasPicture && convertPicture();
}

bool aTheoraDecoder::nextPacket() {
    Block& b = *m_block;
    bool rewound = false;
    for (int reads = 0; ogg_stream_packetout(&b.stream, &b.packet) <= 0;) {
        if (pagesIntoStream())
            continue;
        if (reads++ == kMaxReadsPerFrame)
            return false;
        if (feed())
            continue;
        // The end of the file. A rewind that yields no packet either ends the video, so that a
        // looping file without frames cannot spin forever.
        if (rewound || !m_loop || !rewind()) {
            close();
            return false;
        }
        rewound = true;
    }
    return true;
}

// Every complete page the demultiplexer holds; pages of other streams are refused by the stream.
bool aTheoraDecoder::pagesIntoStream() {
    Block& b = *m_block;
    bool any = false;
    for (int got; (got = ogg_sync_pageout(&b.sync, &b.page)) != 0;)
        if (got > 0) {
            ogg_stream_pagein(&b.stream, &b.page);
            any = true;
        }
    return any;
}

bool aTheoraDecoder::rewind() {
    return std::fseek(m_file, 0, SEEK_SET) == 0 && readHeaders();
}

bool aTheoraDecoder::convertPicture() {
    th_ycbcr_buffer picture;
    if (th_decode_ycbcr_out(m_block->decoder, picture) != 0) {
        log("ERROR theora_decode_YUVout");
        return false;
    }
    if (!planesFit(picture))
        return false;
    m_pixelsWidth = u32(picture[0].width);
    m_pixelsHeight = u32(picture[0].height);
    m_pixels.resize(size_t(m_pixelsWidth) * m_pixelsHeight);
    convertYuv420(planeOf(picture[0]), planeOf(picture[1]), planeOf(picture[2]), m_pixelsWidth,
                  m_pixelsHeight, m_pixels.data());
    return true;
}
