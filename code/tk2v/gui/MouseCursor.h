#pragma once
#include "tk2v/gfx/aAnim.h"
#include "tk2v/gui/PropertySet.h"
#include "tk2v/util/types.h"

namespace GUI {

// A named, possibly animated mouse cursor of the scripts, handed to the input server to be drawn.
class MouseCursor : public PropertySet {
public:
    // The system arrow shown for a cursor without frames.
    static constexpr u32 SYSTEM_ARROW = 32512;

    MouseCursor();
    // A cursor that goes while shown leaves the system arrow, so the input server keeps no pointer to it.
    ~MouseCursor() override;

    // Cuts the frames from "Image" when it was set and takes "HotSpot" when it was set.
    void MakeFromScript() override;
    // Shown: the frames (or the system arrow without any) become the cursor; hidden: none.
    void Show(bool show);
    void SetHotSpot(i32 x, i32 y);

    bool IsShown() const { return m_shown; }
    const aAnim& GetAnim() const { return m_anim; }
    i32 GetHotSpotX() const { return m_hotX; }
    i32 GetHotSpotY() const { return m_hotY; }

private:
    void MakeFrames();
    void GiveToInputServer() const;

    bool m_shown = false;
    aAnim m_anim;
    i32 m_hotX = 0, m_hotY = 0;

    struct Properties {
        Property numFrames, frameSize, fps, image, imageRect, hotSpot;
    } m_props;
};

} // namespace GUI
