#pragma once
#include "tk2v/gfx/aImage.h"
#include "tk2v/gfx/aRect.h"
#include "tk2v/util/aCriticalSection.h"
#include "tk2v/util/types.h"
#include "tk2v/video/aTheoraDecoder.h"

#include <string>

// Plays an Ogg Theora video into an image that the owner draws like any other. The lock is part of
// the player's shape; none of its operations takes it.
class aTheoraVideo : public aCriticalSection {
public:
    aTheoraVideo() = default;
    virtual ~aTheoraVideo();
    aTheoraVideo(const aTheoraVideo&) = delete;
    aTheoraVideo& operator=(const aTheoraVideo&) = delete;

    // `path` is resolved through the file server and opened as a plain file, never from a zip pack.
    bool open(const std::string& path, bool loop);
    void close();
    // Decodes at most one frame when the video's clock has reached it.
    void update(f32 dt);
    // The whole frame without `src`, else that part of it; the rest goes to the image unchanged.
    void draw(f32 x, f32 y, u32 color = 0xFFFFFFFF, const aRect* src = nullptr, const f32* scale = nullptr,
              f32 angle = 0, const f32* centre = nullptr);

    // The encoded frame size of the open file; 0 while closed.
    u32 getWidth() const { return m_decoder.getWidth(); }
    u32 getHeight() const { return m_decoder.getHeight(); }
    // Still running: a video that does not loop stops by itself after its last frame.
    bool isPlaying() const { return m_decoder.isOpen(); }
    // Holds the last frame, also after the video has ended.
    const aImage& getImage() const { return m_image; }

private:
    void copyFrame();

    aTheoraDecoder m_decoder;
    aImage m_image;
};
