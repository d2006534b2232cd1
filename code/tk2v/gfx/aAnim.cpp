#include "tk2v/gfx/aAnim.h"

#include "tk2v/util/log.h"

#include <cmath>

namespace {
// One update never runs more ticks than this: after a very long pause the phase hardly matters, and
// a huge elapsed time would otherwise keep the loop busy for minutes (or for ever, once subtracting
// one frame time no longer changes the float).
constexpr f32 kMaxTicksPerUpdate = 65536.0f;
} // namespace

aAnim::aAnim(const aAnim& other) : aSprite(other) {
    copyState(other);
}

aAnim& aAnim::operator=(const aAnim& other) {
    if (this != &other) {
        aSprite::operator=(other);
        copyState(other);
    }
    return *this;
}

void aAnim::copyState(const aAnim& other) {
    frameTime = other.frameTime;
    elapsed = other.elapsed;
    playMode = other.playMode;
    currentMode = other.currentMode;
    stopped = other.stopped;
    setFrame(other.getFrameIndex(), other.getFrameDelay());
}

void aAnim::play() {
    elapsed = 0;
    currentMode = playMode;
    stopped = false;
}

void aAnim::setFrameTime(f32 t) {
    if (!(t > 0))
        log("%s: %s %s", "aAnim::setFrameTime", "t>0", a_fileLine(__FILE__, __LINE__));
    frameTime = t;
}

void aAnim::update(f32 dt) {
    // A frame time not above 0 would never use up the elapsed time.
    if (stopped || !(frameTime > 0) || !std::isfinite(dt))
        return;
    elapsed += dt;
    const f32 most = frameTime * kMaxTicksPerUpdate;
    if (elapsed > most)
        elapsed = most + std::fmod(elapsed, frameTime);
    while (elapsed >= frameTime) {
        elapsed -= frameTime;
        if (!tick())
            return;
    }
}

bool aAnim::tick() {
    const bool forward = !(currentMode & MODE_BACKWARD);
    const bool atEnd = (forward ? isLastFrame() : isFirstFrame()) && getFrameTicks() == 1;
    if (atEnd && (currentMode & MODE_PINGPONG)) {
        // The turning pass takes no step, so the end frame lasts one tick longer.
        currentMode ^= MODE_BACKWARD;
        if (!(currentMode & MODE_LOOP))
            currentMode &= ~u32(MODE_PINGPONG);
        return true;
    }
    if (atEnd && !(currentMode & MODE_LOOP)) {
        stopped = true;
        return false;
    }
    if (forward)
        stepForward();
    else
        stepBackward();
    return true;
}
