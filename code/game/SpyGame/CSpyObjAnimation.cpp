#include "game/SpyGame/CSpyObjAnimation.h"

#include "game/CAnimManager.h"
#include "game/CResManager.h"
#include "game/SaveLoadSystem.h"
#include "game/SpyGame/PictureHit.h"
#include "tk2v/gfx/aAnim.h"

namespace {
std::shared_ptr<aAnim> copyOf(const aAnim* anim) {
    return anim ? std::make_shared<aAnim>(*anim) : nullptr;
}

void restart(aAnim& anim, u32 mode) {
    anim.playMode = mode;
    if (mode & aAnim::MODE_BACKWARD)
        anim.gotoLastFrame();
    else
        anim.gotoFirstFrame();
    anim.play();
}
} // namespace

const u8* CSpyObjAnimation::LoadSelf(SaveLoadSystem& sys, const u8* pos) {
    u16 frame = 0, mode = 0;
    pos = sys.readU16(sys.readU16(CSpyObject::LoadSelf(sys, pos), frame), mode);
    SetFrame(frame);
    if (m_anim)
        m_anim->setPlayMode16(mode);
    return pos;
}

u8* CSpyObjAnimation::SaveSelf(SaveLoadSystem& sys, u8* pos) {
    pos = CSpyObject::SaveSelf(sys, pos);
    pos = sys.writeU16(pos, m_anim ? m_anim->getFrameIndex() : 0);
    return sys.writeU16(pos, m_anim ? m_anim->getPlayMode16() : 0);
}

void CSpyObjAnimation::CopyFrom(const CSpyObject& other) {
    CSpyObject::CopyFrom(other);
    if (other.GetClassName() != GetClassName())
        return;
    const auto& anim = static_cast<const CSpyObjAnimation&>(other);
    m_anim = copyOf(anim.m_anim.get());
    m_icon = copyOf(anim.m_icon.get());
}

void CSpyObjAnimation::LoadRes(const std::string& group, aOptionsFile& ini, const std::string& name) {
    CSpyObject::LoadRes(group, ini, name);
    m_anim = m_icon = nullptr;
    CResManager* res = Resources();
    const CAnimManager* anims = res ? res->getAnimManager() : nullptr;
    if (!anims)
        return;
    m_anim = copyOf(anims->getAnimation(name, group));
    if (m_anim && anims->hasAnimation(name + "_icon", group))
        m_icon = copyOf(anims->getAnimation(name + "_icon", group));
}

void CSpyObjAnimation::Render() {
    if (!m_anim)
        return;
    const SpyPoint pos = GetPos(), scale = GetScale();
    const f32 scales[2] = {scale.x, scale.y};
    m_anim->draw(pos.x, pos.y, GetColor(), scales, GetRotation());
}

void CSpyObjAnimation::RenderIcon() {
    const aAnim* shown = m_icon ? m_icon.get() : m_anim.get();
    if (shown)
        shown->draw(GetPos().x, GetPos().y, 0xFFFFFFFF, nullptr, GetRotation());
}

void CSpyObjAnimation::FrameMove(f32 dt) {
    if (IsAnimPaused() || !m_anim)
        return;
    m_anim->update(dt);
    if (IsInInventory() && m_icon)
        m_icon->update(dt);
}

bool CSpyObjAnimation::HitTest(i32 x, i32 y) {
    const bool icon = IsInInventory() && m_icon;
    const aAnim* anim = icon ? m_icon.get() : m_anim.get();
    if (!anim)
        return false;
    const SpyPoint pos = GetPos();
    const SpyPoint scale = icon ? SpyPoint{1, 1} : GetScale();
    PictureHit shape;
    shape.x = TruncToInt(pos.x);
    shape.y = TruncToInt(pos.y);
    shape.w = Rounded(f32(anim->getFrameWidth()) * scale.x);
    shape.h = Rounded(f32(anim->getFrameHeight()) * scale.y);
    shape.scaleX = scale.x;
    shape.scaleY = scale.y;
    shape.sourceW = anim->getFrameWidth();
    shape.sourceH = anim->getFrameHeight();
    shape.SetRotation(GetRotation());
    shape.threshold = GetAlphaClick();
    shape.colorAlpha = icon ? 255 : GetColor() >> 24;
    return shape.Probe(x, y, [anim](i32 u, i32 v) { return anim->getPixel(u, v); });
}

u32 CSpyObjAnimation::GetWidth() const {
    if (IsInInventory())
        return m_icon ? m_icon->getFrameWidth() : m_anim ? m_anim->getFrameWidth() : 0;
    return m_anim ? Rounded(f32(m_anim->getFrameWidth()) * GetScale().x) : 0;
}

u32 CSpyObjAnimation::GetHeight() const {
    if (IsInInventory())
        return m_icon ? m_icon->getFrameHeight() : m_anim ? m_anim->getFrameHeight() : 0;
    return m_anim ? Rounded(f32(m_anim->getFrameHeight()) * GetScale().y) : 0;
}

void CSpyObjAnimation::StartAnim(i32 mode) {
    if (!m_anim)
        return;
    const u32 playMode = mode == -1 ? m_anim->playMode : u32(mode);
    restart(*m_anim, playMode);
    if (m_icon)
        restart(*m_icon, playMode);
}

u32 CSpyObjAnimation::GetFramesCount() const {
    return m_anim ? m_anim->getFrameCount() : 0;
}

void CSpyObjAnimation::SetFrame(u32 index) {
    if (m_anim && index <= 0xFFFF)
        m_anim->setFrame(u16(index));
}

bool CSpyObjAnimation::IsAnimPlaying() const {
    return m_anim && !m_anim->stopped;
}
