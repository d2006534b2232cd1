#include "tk2v/gfx/aSprite.h"

#include "tk2v/gfx/aImage.h"

#include <limits>

namespace {
// Frame indices are 16 bits wide.
constexpr size_t kMaxFrames = std::numeric_limits<u16>::max();
} // namespace

aSprite::aSprite() : m_frames(new FrameBlock) {}

aSprite::aSprite(const aSprite& other)
    : aRoot(other), m_frames(other.m_frames), m_currentFrame(other.m_currentFrame),
      m_ticksLeft(other.m_ticksLeft) {
    ++m_frames->refs;
}

aSprite::~aSprite() {
    release();
}

aSprite& aSprite::operator=(const aSprite& other) {
    if (this != &other)
        shareFrames(other);
    return *this;
}

void aSprite::release() {
    if (--m_frames->refs == 0)
        delete m_frames;
    m_frames = nullptr;
}

void aSprite::shareFrames(const aSprite& other) {
    FrameBlock* block = other.m_frames;
    ++block->refs; // first, so sharing the own block never frees it
    release();
    m_frames = block;
    m_currentFrame = other.m_currentFrame;
    m_ticksLeft = other.m_ticksLeft;
}

void aSprite::clearFrames() {
    if (m_frames->refs == 1) {
        m_frames->frames.clear();
    } else {
        --m_frames->refs;
        m_frames = new FrameBlock;
    }
    m_currentFrame = 0;
    m_ticksLeft = 0;
}

void aSprite::addFrame(u16 delay, const aImage* image, const aRect& rect) {
    if (m_frames->frames.size() >= kMaxFrames)
        return;
    Frame frame;
    frame.delay = delay;
    frame.rect = rect;
    if (image)
        frame.image = std::make_unique<aImage>(*image);
    m_frames->frames.push_back(std::move(frame));
    makeCurrent(0, 0);
}

void aSprite::makeFrames(const aImage* image, const aRect* area, u16 frameWidth, u16 frameHeight, u16 count) {
    clearFrames();
    if (!image || frameWidth == 0)
        return;
    const aRect sheet = area ? *area : aRect{0, 0, image->getWidth(), 0};
    const i32 perRow = sheet.w / frameWidth;
    if (perRow == 0)
        return;
    for (i32 i = 0; i < count; ++i) {
        const i32 x = sheet.x + (i % perRow) * frameWidth;
        const i32 y = sheet.y + (i / perRow) * frameHeight;
        addFrame(1, image, aRect{i16(x), i16(y), frameWidth, frameHeight});
    }
}

void aSprite::setFrameHidden(u16 index, bool hidden) {
    if (index < m_frames->frames.size())
        m_frames->frames[index].hidden = hidden;
}

void aSprite::makeCurrent(u16 index, u16 ticks) {
    m_currentFrame = index;
    m_ticksLeft = ticks ? ticks : m_frames->frames[index].delay;
}

void aSprite::gotoFirstFrame() {
    if (!m_frames->frames.empty())
        makeCurrent(0, 0);
}

void aSprite::gotoLastFrame() {
    if (!m_frames->frames.empty())
        makeCurrent(u16(m_frames->frames.size() - 1), 0);
}

void aSprite::setFrame(u16 index, u16 ticks) {
    if (index < m_frames->frames.size())
        makeCurrent(index, ticks);
}

bool aSprite::advance(bool forward) {
    const size_t count = m_frames->frames.size();
    if (count == 0)
        return false;
    if (m_ticksLeft > 0)
        --m_ticksLeft;
    if (m_ticksLeft > 0)
        return false;
    const size_t current = m_currentFrame;
    const size_t next = forward ? (current + 1) % count : (current + count - 1) % count;
    makeCurrent(u16(next), 0);
    return true;
}

bool aSprite::stepForward() {
    return advance(true);
}

bool aSprite::stepBackward() {
    return advance(false);
}

bool aSprite::isFirstFrame() const {
    return !m_frames->frames.empty() && m_currentFrame == 0;
}

bool aSprite::isLastFrame() const {
    return !m_frames->frames.empty() && m_currentFrame == m_frames->frames.size() - 1;
}

u16 aSprite::getFrameCount() const {
    return u16(m_frames->frames.size());
}

const aSprite::Frame* aSprite::getFrame() const {
    return m_currentFrame < m_frames->frames.size() ? &m_frames->frames[m_currentFrame] : nullptr;
}

u16 aSprite::getFrameDelay() const {
    const Frame* frame = getFrame();
    return frame ? frame->delay : 0;
}

u16 aSprite::getFrameWidth() const {
    const Frame* frame = getFrame();
    return frame ? frame->rect.w : 0;
}

u16 aSprite::getFrameHeight() const {
    const Frame* frame = getFrame();
    return frame ? frame->rect.h : 0;
}

u32 aSprite::getPixel(i32 x, i32 y) const {
    const Frame* frame = getFrame();
    if (!frame || !frame->image)
        return 0;
    return frame->image->getPixel(frame->rect.x + x, frame->rect.y + y);
}

bool aSprite::isShared() const {
    return m_frames->refs > 1;
}

void aSprite::draw(f32 x, f32 y, u32 color, const f32* scale, f32 angle, const f32* centre) const {
    const Frame* frame = getFrame();
    if (!frame || frame->hidden || !frame->image)
        return;
    const aRect& r = frame->rect;
    frame->image->draw(x, y, r.x, r.y, r.w, r.h, color, scale, angle, centre, true);
}

void aSprite::drawAt(i16 x, i16 y, u32 color, const f32* scale, f32 angle, const f32* centre) const {
    draw(f32(x), f32(y), color, scale, angle, centre);
}
