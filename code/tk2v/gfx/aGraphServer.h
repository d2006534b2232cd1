#pragma once
#include "tk2v/gfx/aRect.h"
#include "tk2v/platform/DeviceFont.h"
#include "tk2v/platform/GraphicsDevice.h"
#include "tk2v/platform/Result.h"
#include "tk2v/platform/SpriteBatch.h"
#include "tk2v/platform/Window.h"
#include "tk2v/util/aTimer.h"
#include "tk2v/util/types.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>

// The window's procedure: hands every message to the application's window procedure.
std::intptr_t graphWndProc(const platform::WindowMessage& message);

// Owns the game window's drawing device and brackets every frame; images, sprites, the primitive
// drawer, particles, video, the input server and the GUI reach the device, the sprite batch and
// the 2D render state through it.
class aGraphServer {
public:
    // A fatal failure leaves getFatalError() non-zero (ERR_D3D_INIT, ERR_D3D_DEVICE or
    // ERR_DRIVER_INTERNAL); the caller shows it and ends.
    aGraphServer(u16 width, u16 height, bool fullscreen, bool hiColor, const char* title = nullptr,
                 u16 iconId = 0, bool vsync = true, bool multithreaded = false);
    ~aGraphServer();
    aGraphServer(const aGraphServer&) = delete;
    aGraphServer& operator=(const aGraphServer&) = delete;

    // False means nothing may be drawn this frame (and getFatalError() tells when it is fatal).
    bool beginScene();
    void endScene();
    void setFullscreen(bool fullscreen);
    void resetDevice();
    void setViewport(const aRect& viewport);
    void setRenderMode(u32 mode);
    void setColor(f32 r, f32 g, f32 b, f32 a);
    void setLinearFilter(bool linear);
    // Writes "<folder>/<baseName>NNN.bmp" with the first free number.
    void screenshot(const std::string& folder, const std::string& baseName);
    // The server writes the font into *font now and after every reset, and empties it before.
    void addFont(const std::string& name, const platform::LogFont& logFont,
                 std::unique_ptr<platform::DeviceFont>* font);
    void deleteFont(const std::string& name);

    // Where the client area of the windowed form goes: the back buffer's size, or smaller with its
    // aspect kept when the work area cannot hold it and the frame, centred in the work area.
    static platform::Rect calcWindowRect(const platform::Rect& workArea, const platform::FrameExtents& frame,
                                         u16 width, u16 height);

    u32 getFatalError() const { return m_fatalError; }
    // The owner has shown the fatal error and goes on.
    void clearFatalError() { m_fatalError = 0; }
    platform::GraphicsDevice* getDevice() const { return m_device.get(); }
    platform::SpriteBatch* getSprite() const { return m_sprite.get(); }
    platform::Window* getWindow() const;
    u16 getWidth() const { return m_width; }
    u16 getHeight() const { return m_height; }
    u16 getClientWidth() const { return m_clientWidth; }
    u16 getClientHeight() const { return m_clientHeight; }
    bool isFullscreen() const { return m_fullscreen; }
    bool isHiColor() const { return m_hiColor; }
    bool isVSync() const { return m_vsync; }
    bool isSceneOpen() const { return m_sceneOpen; }
    u32 getRefreshRate() const { return m_refreshRate; }
    u32 getRenderMode() const { return m_renderMode; }
    const aRect& getViewport() const { return m_viewport; }
    bool isLinearFilter() const { return m_linearFilter; }
    // Alpha, red, green, blue, each 0..255.
    const i32* getGlobalColor() const { return m_globalColor; }
    f32 getFps() const { return m_currentFps; }
    // Of all frame-rate measurements so far; 0 before the first.
    f32 getAverageFps() const { return m_fpsSum / f32(m_fpsSamples > 0 ? m_fpsSamples : 1); }

    // Set by the game.
    i16 fpsX = 0, fpsY = 0;
    bool showFps = false;
    u32 clearColor = 0xFF000000;

private:
    struct FontRecord {
        platform::LogFont logFont;
        std::unique_ptr<platform::DeviceFont>* target;
    };

    bool createWindow(const char* title);
    // Puts the window into the current form: full screen, or windowed at calcWindowRect.
    void placeWindow();
    void createDevice();
    void logAdapter();
    // False when the display does not tell its mode.
    bool readDesktopMode();
    void chooseFullscreenModes();
    void logCapabilities();
    void measureFrame();
    void drawCursor();
    void fillPresentParams();
    void calcWindowRect(platform::Rect& windowRect);
    void createSpriteAndFonts();
    void releaseSpriteAndFonts();
    void logDeviceCaps();

    u32 m_fatalError = 0;
    // Only when no application object exists to own the window.
    std::unique_ptr<platform::Window> m_ownWindow;
    bool m_sceneOpen = false;
    std::unique_ptr<platform::GraphicsDevice> m_device;
    std::unique_ptr<platform::SpriteBatch> m_sprite;
    platform::PresentParams m_presentParams;
    platform::DisplayMode m_desktopMode;
    u32 m_renderMode = 0;
    std::unique_ptr<platform::DeviceFont> m_systemFont;
    u32 m_refreshRate = 0;
    std::map<std::string, FontRecord> m_fonts;
    aRect m_viewport;
    u16 m_width, m_height;
    u16 m_clientWidth = 0, m_clientHeight = 0;
    bool m_fullscreen, m_hiColor, m_vsync;
    bool m_linearFilter = true;
    i32 m_mode16 = -1, m_mode32 = -1;
    i32 m_globalColor[4] = {255, 255, 255, 255};
    aTimer m_timer{0};
    f32 m_currentFps = 0, m_fpsSum = 0;
    i32 m_fpsSamples = 0;
    // Frame timing of endScene.
    f32 m_prevFrameTime = 0, m_lastMeasure = 0, m_accumSeconds = 0;
    i32 m_frames = 0;
    bool m_firstFrame = true;
};
