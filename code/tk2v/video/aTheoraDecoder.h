#pragma once
#include "tk2v/util/types.h"

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

// Plays an Ogg Theora file into a buffer of 32-bit pixels: reads the file in 8192-byte pieces,
// demultiplexes it, decodes at most one frame per update on the video's own clock, and ends or
// rewinds at the end of the file. Other streams in the file are ignored.
class aTheoraDecoder {
public:
    aTheoraDecoder();
    ~aTheoraDecoder();
    aTheoraDecoder(const aTheoraDecoder&) = delete;
    aTheoraDecoder& operator=(const aTheoraDecoder&) = delete;

    // A plain file through the file server's assigns (never a zip pack member).
    bool open(const std::string& path, bool loop);
    // Takes over the file, also when it fails.
    bool open(std::FILE* file, bool loop);
    void close();
    // Advances the frame clock by dt seconds; true when a new frame has reached the pixels.
    bool update(f32 dt);

    // A file is open: a video that does not loop closes itself after its last frame.
    bool isOpen() const { return m_file != nullptr; }
    // The encoded frame size of the open file; 0 while closed.
    u32 getWidth() const;
    u32 getHeight() const;
    f32 getFrameTime() const { return m_frameTime; }

    // The last decoded frame, 0xAARRGGBB, rows getPixelsWidth() long; kept after the end.
    const u32* getPixels() const { return m_pixels.data(); }
    u32 getPixelsWidth() const { return m_pixelsWidth; }
    u32 getPixelsHeight() const { return m_pixelsHeight; }

private:
    struct Block;

    bool readHeaders();
    bool readBosPages(bool& found, int& headers);
    bool startStream(bool& found, int& headers);
    bool readRemainingHeaders(int headers);
    bool startDecoder();
    void resetDecoder();
    bool feed();
    bool decodeFrame();
    // False when the video has ended or the read budget of this frame is spent.
    bool nextPacket();
    bool pagesIntoStream();
    bool rewind();
    bool convertPicture();

    std::unique_ptr<Block> m_block;
    std::FILE* m_file = nullptr;
    bool m_loop = false;
    f32 m_frameTime = 0;
    f32 m_frameClock = 0;
    std::vector<u32> m_pixels;
    u32 m_pixelsWidth = 0;
    u32 m_pixelsHeight = 0;
};
