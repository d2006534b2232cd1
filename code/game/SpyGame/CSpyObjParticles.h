#pragma once
#include "game/SpyGame/CSpyObject.h"

#include <memory>

class aParticleSystem;

// A particle system named like the object: the object runs its own copy of the particle manager's
// template, with bounds tracking on, since its bounds are its size and its hit area.
class CSpyObjParticles : public CSpyObject {
public:
    static const char* GetClassStaticName() { return "particles"; }
    // Seconds the system runs at once on a reset, so that it is in full flow when first drawn.
    static constexpr f32 PreRunSeconds = 5.0f;

    void CopyFrom(const CSpyObject& other) override;
    std::string GetClassName() const override { return GetClassStaticName(); }
    void LoadRes(const std::string& group, aOptionsFile& ini, const std::string& name) override;
    void Render() override;
    void FrameMove(f32 dt) override;
    bool HitTest(i32 x, i32 y) override;
    void Reset() override;
    void SetPos(f32 x, f32 y) override;
    using CSpyObject::SetPos;
    void SetScale(SpyPoint scale, bool keepCentre) override;
    u32 GetWidth() const override;
    u32 GetHeight() const override;
    void StartAnim(i32 mode) override;
    bool IsAnimPlaying() const override;

    const aParticleSystem* GetSystem() const { return m_system.get(); }

private:
    void MakeSystem();

    std::shared_ptr<aParticleSystem> m_template;
    std::shared_ptr<aParticleSystem> m_system;
};
