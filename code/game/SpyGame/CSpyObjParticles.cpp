#include "game/SpyGame/CSpyObjParticles.h"

#include "game/CParticleManager.h"
#include "game/CResManager.h"
#include "tk2v/gfx/aParticleSystem.h"

void CSpyObjParticles::MakeSystem() {
    m_system = m_template ? std::make_shared<aParticleSystem>(*m_template) : nullptr;
    if (m_system)
        m_system->setBoundsTracking(true);
}

void CSpyObjParticles::CopyFrom(const CSpyObject& other) {
    CSpyObject::CopyFrom(other);
    if (other.GetClassName() != GetClassName())
        return;
    m_template = static_cast<const CSpyObjParticles&>(other).m_template;
    MakeSystem();
}

void CSpyObjParticles::LoadRes(const std::string& group, aOptionsFile& ini, const std::string& name) {
    CSpyObject::LoadRes(group, ini, name);
    CResManager* res = Resources();
    CParticleManager* particles = res ? res->getParticleManager() : nullptr;
    m_template = particles ? particles->getParticle(name, group) : nullptr;
    MakeSystem();
}

void CSpyObjParticles::Render() {
    if (m_system)
        m_system->render();
}

void CSpyObjParticles::FrameMove(f32 dt) {
    if (m_system && !IsAnimPaused())
        m_system->update(dt);
}

bool CSpyObjParticles::HitTest(i32 x, i32 y) {
    return m_system && GetAlphaClick() < 255 && m_system->getBounds().contains(x, y);
}

void CSpyObjParticles::Reset() {
    CSpyObject::Reset();
    if (m_system)
        m_system->update(PreRunSeconds);
    SetAnimPaused(false);
}

void CSpyObjParticles::SetPos(f32 x, f32 y) {
    CSpyObject::SetPos(x, y);
    if (m_system)
        m_system->setPosition(x, y);
}

void CSpyObjParticles::SetScale(SpyPoint scale, bool keepCentre) {
    const f32 old = GetScale().x;
    ApplyScale(scale, keepCentre);
    // A system scaled down to 0 has lost its sizes: there is nothing to scale back from.
    if (m_system && old != 0)
        m_system->scale(GetScale().x / old);
}

u32 CSpyObjParticles::GetWidth() const {
    return m_system ? m_system->getBounds().w : 0;
}

u32 CSpyObjParticles::GetHeight() const {
    return m_system ? m_system->getBounds().h : 0;
}

void CSpyObjParticles::StartAnim(i32) {
    if (!m_system)
        return;
    m_system->reset();
    const SpyPoint pos = GetPos();
    m_system->startAt(pos.x, pos.y);
}

bool CSpyObjParticles::IsAnimPlaying() const {
    return m_system && (m_system->getLiveCount() > 0 || m_system->isEmitting());
}
