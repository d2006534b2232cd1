#pragma once
#include "tk2v/gfx/aSprite.h"
#include "tk2v/util/types.h"

// A sprite that plays: elapsed seconds become ticks, and the mode decides the direction and what
// happens at the ends. Stopped until play().
class aAnim : public aSprite {
public:
    enum Mode : u32 { MODE_ONCE = 0, MODE_LOOP = 1, MODE_BACKWARD = 2, MODE_PINGPONG = 4 };

    aAnim() = default;
    aAnim(const aAnim& other);
    ~aAnim() override = default;
    aAnim& operator=(const aAnim& other);

    // Takes the other's timing and mode, and its current frame with that frame's full delay.
    void copyState(const aAnim& other);
    // Restarts the clock in the play mode; the current frame is kept.
    void play();
    void update(f32 dt);
    // Logs an assertion line for a time not above 0 and stores it all the same.
    void setFrameTime(f32 t);

    // Saved files and scripts read and write the mode as 16 bits.
    u16 getPlayMode16() const { return u16(playMode); }
    void setPlayMode16(u16 mode) { playMode = mode; }

    // Set directly by the users.
    bool stopped = true;
    f32 frameTime = 0.025f;
    f32 elapsed = 0;
    u32 playMode = MODE_LOOP;
    u32 currentMode = MODE_LOOP;

private:
    // False when the animation stopped itself.
    bool tick();
};
