#pragma once
#include "game/SpyGame/CSpyObject.h"

#include <memory>

class aAnim;

// A sprite animation named like the object, with an optional icon animation (the name plus "_icon")
// for the inventory form. Both are the object's own copies of the animation manager's templates.
class CSpyObjAnimation : public CSpyObject {
public:
    static const char* GetClassStaticName() { return "animation"; }
    // The object record, the frame and the mode.
    static constexpr u32 RecordSize = CSpyObject::RecordSize + 4;

    const u8* LoadSelf(SaveLoadSystem& sys, const u8* pos) override;
    u8* SaveSelf(SaveLoadSystem& sys, u8* pos) override;
    void CopyFrom(const CSpyObject& other) override;
    std::string GetClassName() const override { return GetClassStaticName(); }
    void LoadRes(const std::string& group, aOptionsFile& ini, const std::string& name) override;
    void Render() override;
    void RenderIcon() override;
    void FrameMove(f32 dt) override;
    bool HitTest(i32 x, i32 y) override;
    u32 GetWidth() const override;
    u32 GetHeight() const override;
    // Bit 2 of the mode (backward) starts from the last frame.
    void StartAnim(i32 mode) override;
    u32 GetFramesCount() const override;
    void SetFrame(u32 index) override;
    bool IsAnimPlaying() const override;

    const aAnim* GetAnim() const { return m_anim.get(); }
    const aAnim* GetIconAnim() const { return m_icon.get(); }

private:
    std::shared_ptr<aAnim> m_anim;
    std::shared_ptr<aAnim> m_icon;
};
