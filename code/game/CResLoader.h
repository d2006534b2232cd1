#pragma once
#include "tk2v/util/aSingleton.h"
#include "tk2v/util/types.h"

class CResManager;
namespace GUI {
class Widget;
}

// The loading screen: a window with a progress bar that grows from its middle as the resource
// manager's pass goes on, one resource per update.
class CResLoader : public aSingleton<CResLoader> {
public:
    enum State : u32 { NOT_INITIALISED = 0, HIDDEN = 1, SHOWN = 2, LOADING = 3, DONE = 4 };
    // Show's number for the loading of the menu rather than of an investigation.
    static constexpr i32 NO_INVESTIGATION = -1;

    CResLoader() = default;
    CResLoader(const CResLoader&) = delete;
    CResLoader& operator=(const CResLoader&) = delete;

    // Loads the screen's pictures and script and hides it. Only once.
    void Init();
    // Shows the screen for the menu (-1) or for the numbered investigation; only when hidden or done.
    void Show(i32 investigation);
    // Only once shown: starts the resource manager's pass.
    void StartLoading();
    // While loading, one resource and the bar; done falls back to hidden on the next update.
    u32 Update(f32 dt);
    void Render();

    u32 GetState() const { return m_state; }
    // Null when the script had no "LoadingScreen" window.
    GUI::Widget* GetWindow() const { return m_window; }

    // The bar's width for a progress, halves rounded up, and its x so that it grows from the middle.
    static u16 BarWidth(u16 fullWidth, f32 progress);
    static i16 BarX(i16 x0, u16 fullWidth, u16 width);

private:
    void setVisible(const char* name, bool visible) const;
    void showNumber(i32 investigation) const;
    void updateBar();

    u32 m_state = NOT_INITIALISED;
    CResManager* m_res = nullptr;
    GUI::Widget* m_window = nullptr;
    GUI::Widget* m_bar = nullptr;
    GUI::Widget* m_inlay = nullptr;
    // The bar's place and width as the script made it.
    i16 m_barX = 0;
    u16 m_barWidth = 0;
};
