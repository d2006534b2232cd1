#include "tk2v/gui/StaticAnim.h"

#include "tk2v/gfx/aImage.h"
#include "tk2v/gui/DrawHelpers.h"
#include "tk2v/gui/Server.h"
#include "tk2v/platform/Random.h"
#include "tk2v/util/log.h"

#include <algorithm>
#include <sstream>

namespace GUI {

namespace {

constexpr f32 DegreesToRadians = 3.1415927f / 180.0f;

// Up to three words; others are ignored.
u32 ParseAnimType(const std::string& text) {
    u32 mode = aAnim::MODE_LOOP;
    std::istringstream words(text);
    std::string word;
    for (int i = 0; i < 3 && words >> word; ++i) {
        if (NoCaseEqual(word, "noloop"))
            mode &= ~u32(aAnim::MODE_LOOP);
        else if (NoCaseEqual(word, "back"))
            mode |= aAnim::MODE_BACKWARD;
        else if (NoCaseEqual(word, "pingpong"))
            mode |= aAnim::MODE_PINGPONG;
    }
    return mode;
}

u16 FrameDimension(f32 value) {
    return u16(std::clamp(value, 0.0f, 65535.0f));
}

} // namespace

StaticAnim::StaticAnim(const std::string& name) : Widget(name) {
    Properties& p = m_ownProps;
    AddProperty("AnimType", &p.animType);
    AddProperty("NumFrames", &p.numFrames);
    AddProperty("FrameSize", &p.frameSize);
    AddProperty("FPS", &p.fps);
    AddProperty("StartFrame", &p.startFrame);
    AddProperty("NormalImage", &p.normalImage);
    AddProperty("NormalRect", &p.normalRect);
    AddProperty("DisabledImage", &p.disabledImage);
    AddProperty("DisabledRect", &p.disabledRect);
    AddProperty("Color", &p.color);
    AddProperty("RotAngle", &p.rotAngle);
    AddProperty("RotCenter", &p.rotCenter);
}

StaticAnim::Settings StaticAnim::ReadSettings() const {
    const Properties& p = m_ownProps;
    Settings s;
    if (p.animType.changed)
        s.mode = ParseAnimType(p.animType.value);
    if (p.fps.changed)
        s.fps = ParseFloat(p.fps.value);
    if (p.numFrames.changed)
        s.frames = ParseInt(p.numFrames.value);
    if (s.frames < 1) {
        // Frames cannot be cut, nor a start frame drawn, from fewer than one.
        log("StaticAnim::MakeFromScript - invalid NumFrames '%s'", p.numFrames.value.c_str());
        s.frames = 1;
    }
    s.frames = std::min(s.frames, 0xFFFF);
    s.startFrame = p.startFrame.changed ? ParseInt(p.startFrame.value) : platform::rand() % s.frames;
    if (p.frameSize.changed) {
        f32 w = 1, h = 1;
        ParsePoint(p.frameSize.value, w, h);
        s.frameWidth = FrameDimension(w);
        s.frameHeight = FrameDimension(h);
    }
    return s;
}

void StaticAnim::BuildAnim(const Property& image, const Property& rect, const Settings& s,
                           aAnim& anim) const {
    if (!image.changed)
        return;
    const aImage* found = Server::exists() ? Server::getSingleton()->GetImage(image.value) : nullptr;
    const aRect area = ParseRect(rect.value);
    anim.makeFrames(found, rect.changed ? &area : nullptr, s.frameWidth, s.frameHeight, u16(s.frames));
    anim.playMode = s.mode;
    anim.setFrameTime(1.0f / s.fps);
    if (s.startFrame >= 0 && s.startFrame <= 0xFFFF)
        anim.setFrame(u16(s.startFrame));
    anim.play();
}

void StaticAnim::MakeFromScript() {
    Widget::MakeFromScript();
    Properties& p = m_ownProps;
    const Settings settings = ReadSettings();
    BuildAnim(p.normalImage, p.normalRect, settings, m_normalAnim);
    BuildAnim(p.disabledImage, p.disabledRect, settings, m_disabledAnim);
    if (p.color.changed)
        SetColor(ParseColor(p.color.value));
    if (p.rotAngle.changed)
        m_rotAngle = ParseFloat(p.rotAngle.value);
    if (p.rotCenter.changed) {
        ParsePoint(p.rotCenter.value, m_rotCenter[0], m_rotCenter[1]);
        m_hasRotCenter = true;
    }
    if (m_area.w == 0)
        m_area.w = m_normalAnim.getFrameWidth();
    if (m_area.h == 0)
        m_area.h = m_normalAnim.getFrameHeight();
}

void StaticAnim::UpdateSelf(f32 dt) {
    Widget::UpdateSelf(dt);
    if (m_stopped)
        return;
    m_normalAnim.update(dt);
    m_disabledAnim.update(dt);
}

void StaticAnim::DrawSelf() {
    const aRect screen{i16(GetScreenX()), i16(GetScreenY()), m_area.w, m_area.h};
    const f32 alpha = GetAlpha(false);
    const f32 angle = m_rotAngle * DegreesToRadians;
    const f32* centre = m_hasRotCenter ? m_rotCenter : nullptr;
    if (!IsEnabled(false) && m_disabledAnim.getFrameCount() > 0)
        DrawAnimScaled(&m_disabledAnim, screen, PackColor(1, 1, 1, alpha), angle, centre);
    else if (m_normalAnim.getFrameCount() > 0)
        DrawAnimScaled(&m_normalAnim, screen, PackColor(m_color.r, m_color.g, m_color.b, alpha), angle,
                       centre);
}

} // namespace GUI
