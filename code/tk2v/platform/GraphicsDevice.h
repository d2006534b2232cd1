#pragma once
#include "tk2v/platform/Rect.h"
#include "tk2v/platform/Result.h"
#include "tk2v/util/types.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace platform {

class Texture;
class Window;

// Colour operation of the texture stage (T texture, D diffuse); alpha is always T.a x D.a. The values
// are bits 8-11 of the engine's render-mode word.
enum ColourOp : u32 {
    COLOUR_MODULATE = 0,    // T x D
    COLOUR_ADD = 1,         // T + D, saturated
    COLOUR_SUBTRACT = 2,    // T - D, clamped at 0
    COLOUR_REVSUBTRACT = 3, // D - T, clamped at 0
    COLOUR_DIFFUSE = 4,     // D
};

// Bits 0-3 of the render-mode word.
enum BlendMode : u32 {
    BLEND_ALPHA = 0,    // src.a x src + (1 - src.a) x dst
    BLEND_ADDITIVE = 1, // src.a x src + dst
};

enum class PrimitiveType { PointList, LineList, LineStrip, TriangleList, TriangleStrip, TriangleFan };

// A pre-transformed vertex as the engine's immediate drawing fills it: position in back-buffer pixels
// with the pixel centres on whole numbers, diffuse colour as 0xAARRGGBB; u and v are not used.
struct TLVertex {
    f32 x = 0, y = 0, z = 0, rhw = 1;
    u32 diffuse = 0xFFFFFFFF;
    f32 u = 0, v = 0;
};
static_assert(sizeof(TLVertex) == 28);

// A corner of a textured quad: back-buffer pixels (pixel edges on whole numbers) and texture
// coordinates in 0..1.
struct QuadVertex {
    f32 x = 0, y = 0, u = 0, v = 0;
    u32 argb = 0xFFFFFFFF;
};

// Format code of a 32-bit display mode; 16-bit modes are never reported.
constexpr u32 DISPLAY_FORMAT_X8R8G8B8 = 22;

struct DisplayMode {
    u32 width = 0, height = 0, refreshRate = 0, format = 0;
    bool operator==(const DisplayMode&) const = default;
};

struct PresentParams {
    u32 backBufferWidth = 1024, backBufferHeight = 768;
    // 0 presents at once, 1 waits for the vertical blank.
    i32 swapInterval = 0;
};

struct AdapterInfo {
    std::string renderer, vendor, version;
    u32 videoMemoryMb = 0; // 0 when the driver does not tell
    u32 maxTextureSize = 0;
};

// The drawing device: a back buffer of fixed size that every frame is drawn into and then presented,
// scaled with its aspect kept, into the window. Textured quads and pre-transformed primitives are
// drawn in the order they are given; render state changes apply to what follows them.
class GraphicsDevice {
public:
    virtual ~GraphicsDevice() = default;

    // S_OK, D3DERR_DEVICELOST (skip the frame), D3DERR_DEVICENOTRESET (reset, then go on) or
    // D3DERR_DRIVERINTERNALERROR.
    virtual Result testCooperativeLevel() = 0;
    // Takes the new parameters and restores the default render state; textures are kept.
    virtual Result reset(const PresentParams& params) = 0;
    virtual Result beginScene() = 0;
    virtual Result endScene() = 0;
    // Fills the viewport with the colour; a colour of 0 clears nothing.
    virtual Result clear(u32 argb) = 0;
    virtual Result present() = 0;

    virtual u32 backBufferWidth() const = 0;
    virtual u32 backBufferHeight() const = 0;
    // Of the display the window is on; 0 when the display does not tell.
    virtual u32 refreshRate() const = 0;
    virtual AdapterInfo adapterInfo() const = 0;

    // Drawing is clipped to the viewport; positions stay back-buffer pixels.
    virtual void setViewport(const Rect& viewport) = 0;
    virtual Rect viewport() const = 0;
    // Values outside the enums give D3DERR_INVALIDCALL and change nothing.
    virtual Result setColourOp(u32 op) = 0;
    virtual u32 colourOp() const = 0;
    virtual Result setBlendMode(u32 mode) = 0;
    virtual u32 blendMode() const = 0;
    virtual void setLinearFilter(bool linear) = 0;
    virtual bool linearFilter() const = 0;

    // Draws untextured primitives in their diffuse colours (through a white texture, so the colour
    // operation still applies).
    virtual Result drawPrimitiveUP(PrimitiveType type, u32 primitiveCount, const TLVertex* vertices) = 0;
    // Queues one textured quad (corners in drawing order around the quad).
    virtual void drawQuad(const Texture& texture, const QuadVertex (&corners)[4]) = 0;
    // Sends what is queued on; it is drawn by the present or a read-back at the latest.
    virtual void flush() = 0;
    // RGBA bytes of the area, rows top-down, alpha 255.
    virtual Result readBackBuffer(const Rect& area, std::vector<u8>& rgba) = 0;
};

// Makes the GL device on the window; `result` tells why when null comes back.
std::unique_ptr<GraphicsDevice> createGraphicsDevice(Window& window, const PresentParams& params,
                                                     Result& result);

// Test hook: while set, every device that createGraphicsDevice makes is passed through it and what it
// returns is handed out instead (a decorator that injects lost devices, say). Empty removes it.
using DeviceDecorator = std::function<std::unique_ptr<GraphicsDevice>(std::unique_ptr<GraphicsDevice>)>;
void setDeviceDecorator(DeviceDecorator decorator);

// The rate frames are held to with vertical sync: the refresh rate, or 100 when it is unknown (0) or
// past 1000.
constexpr u32 frameRateCap(u32 refreshRate) {
    return refreshRate == 0 || refreshRate > 1000 ? 100 : refreshRate;
}

// The desktop mode of display 0, format 22; all zero before a window exists.
DisplayMode desktopDisplayMode();
// The 32-bit modes of display 0, in the order the display lists them.
std::vector<DisplayMode> displayModes();

// Where a back buffer of backW x backH goes in a window of windowW x windowH: as large as fits with
// its aspect kept, centred; empty when either size is empty.
Rect presentRect(i32 windowW, i32 windowH, i32 backW, i32 backH);
// Window position -> back-buffer position through the presentation rectangle, unclamped (outside
// the picture gives positions outside the back buffer).
Point windowToBackBuffer(Point window, const Rect& present, i32 backW, i32 backH);
// Back-buffer position -> the window pixel showing its centre.
Point backBufferToWindow(Point back, const Rect& present, i32 backW, i32 backH);

} // namespace platform
