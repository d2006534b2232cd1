#pragma once
#include "tk2v/gfx/aAnim.h"
#include "tk2v/gui/ColorF.h"
#include "tk2v/gui/Widget.h"

namespace GUI {

// A frame animation cut from an image and stretched over the widget, with its own animation for the
// disabled state.
class StaticAnim : public Widget {
public:
    explicit StaticAnim(const std::string& name);
    ~StaticAnim() override = default;

    void MakeFromScript() override;
    const char* GetTypeName() const override { return "StaticAnim"; }
    bool IsA(const std::string& typeName) const override { return typeName == "StaticAnim"; }
    void DrawSelf() override;
    void UpdateSelf(f32 dt) override;

    void SetColor(u32 argb) { m_color = ColorF::FromARGB(argb); }
    // A stopped widget keeps its frames where they are.
    void SetStopped(bool stopped) { m_stopped = stopped; }
    const aAnim& GetNormalAnim() const { return m_normalAnim; }
    const aAnim& GetDisabledAnim() const { return m_disabledAnim; }

private:
    struct Settings {
        u32 mode = aAnim::MODE_LOOP;
        i32 frames = 1;
        u16 frameWidth = 1, frameHeight = 1;
        f32 fps = 40;
        i32 startFrame = -1; // a random frame
    };
    Settings ReadSettings() const;
    void BuildAnim(const Property& image, const Property& rect, const Settings& settings, aAnim& anim) const;

    aAnim m_normalAnim, m_disabledAnim;
    ColorF m_color;
    bool m_stopped = false;
    f32 m_rotAngle = 0;
    f32 m_rotCenter[2] = {0, 0};
    bool m_hasRotCenter = false;

    struct Properties {
        Property animType, numFrames, frameSize, fps, startFrame, normalImage, normalRect, disabledImage,
            disabledRect, color, rotAngle, rotCenter;
    } m_ownProps;
};

} // namespace GUI
