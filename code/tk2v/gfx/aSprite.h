#pragma once
#include "tk2v/gfx/aRect.h"
#include "tk2v/util/aRoot.h"
#include "tk2v/util/types.h"

#include <memory>
#include <vector>

class aImage;

// A list of image frames with a current frame and a tick counter. Copies share one frame block, so
// many objects can play the same frames; clearing a shared sprite detaches it, adding frames does not.
class aSprite : public aRoot {
public:
    struct Frame {
        u16 delay = 0;
        aRect rect;
        bool hidden = false;
        std::unique_ptr<aImage> image; // shares the given image's texture record
    };

    aSprite();
    aSprite(const aSprite& other);
    ~aSprite() override;
    aSprite& operator=(const aSprite& other);

    void shareFrames(const aSprite& other);
    void clearFrames();
    void addFrame(u16 delay, const aImage* image, const aRect& rect);
    // Cuts `count` frames of one tick from `area` (null: x 0, y 0 and the image's width), row by row.
    void makeFrames(const aImage* image, const aRect* area, u16 frameWidth, u16 frameHeight, u16 count);
    // A hidden frame takes its time but draws nothing.
    void setFrameHidden(u16 index, bool hidden);

    void gotoFirstFrame();
    void gotoLastFrame();
    // Ticks 0 means the frame's own delay; an index past the last frame is ignored.
    void setFrame(u16 index, u16 ticks = 0);
    // One tick; true when the frame changed.
    bool stepForward();
    bool stepBackward();

    bool isFirstFrame() const;
    bool isLastFrame() const;
    u16 getFrameIndex() const { return m_currentFrame; }
    u16 getFrameTicks() const { return m_ticksLeft; }
    u16 getFrameCount() const;
    u16 getFrameDelay() const;
    u16 getFrameWidth() const;
    u16 getFrameHeight() const;
    // The current frame, or null without frames.
    const Frame* getFrame() const;
    // ARGB of the current frame's image at (x, y) from the frame rectangle's origin; 0 without one.
    u32 getPixel(i32 x, i32 y) const;
    // True while another sprite shares this one's frames.
    bool isShared() const;

    // Null scale means 1 x 1; null centre means the centre of the drawn frame. Draws nothing without
    // frames or when the current frame is hidden.
    void draw(f32 x, f32 y, u32 color = 0xFFFFFFFF, const f32* scale = nullptr, f32 angle = 0,
              const f32* centre = nullptr) const;
    void drawAt(i16 x, i16 y, u32 color = 0xFFFFFFFF, const f32* scale = nullptr, f32 angle = 0,
                const f32* centre = nullptr) const;

private:
    struct FrameBlock {
        std::vector<Frame> frames;
        u32 refs = 1;
    };

    void release();
    void makeCurrent(u16 index, u16 ticks);
    bool advance(bool forward);

    FrameBlock* m_frames;
    u16 m_currentFrame = 0;
    u16 m_ticksLeft = 0;
};
