#pragma once
#include "tk2v/platform/GraphicsDevice.h"

#include <memory>

namespace platform {

class GlRenderer;

// The device on an OpenGL 3.3 core context of the window. The back buffer is a framebuffer object
// on a 32-bit texture, without depth; present scales it into the window with its aspect kept. GL never
// loses the device, so the cooperative level is always S_OK.
class GlDevice : public GraphicsDevice {
public:
    static std::unique_ptr<GlDevice> create(Window& window, const PresentParams& params, Result& result);
    ~GlDevice() override;

    Result testCooperativeLevel() override { return S_OK; }
    Result reset(const PresentParams& params) override;
    Result beginScene() override;
    Result endScene() override;
    Result clear(u32 argb) override;
    Result present() override;

    u32 backBufferWidth() const override { return m_params.backBufferWidth; }
    u32 backBufferHeight() const override { return m_params.backBufferHeight; }
    u32 refreshRate() const override;
    AdapterInfo adapterInfo() const override;

    void setViewport(const Rect& viewport) override;
    Rect viewport() const override;
    Result setColourOp(u32 op) override;
    u32 colourOp() const override;
    Result setBlendMode(u32 mode) override;
    u32 blendMode() const override;
    void setLinearFilter(bool linear) override;
    bool linearFilter() const override;

    Result drawPrimitiveUP(PrimitiveType type, u32 primitiveCount, const TLVertex* vertices) override;
    void drawQuad(const Texture& texture, const QuadVertex (&corners)[4]) override;
    void flush() override;
    Result readBackBuffer(const Rect& area, std::vector<u8>& rgba) override;

    // Presented frames whose drawing the back buffer already held, so that it was not drawn again, and
    // those drawn again only where they changed.
    u64 framesKept() const;
    u64 framesDrawnInPart() const;

private:
    GlDevice(Window& window, void* context);
    Result init(const PresentParams& params);
    Result makeBackBuffer(u32 width, u32 height);
    void makeCurrent() const;
    void holdToRefreshRate();

    Window& m_window;
    void* m_context;
    PresentParams m_params;
    u32 m_framebuffer = 0, m_colourBuffer = 0; // the colour buffer is a texture
    std::unique_ptr<GlRenderer> m_renderer;
    bool m_inScene = false;
    u64 m_nextPresent = 0; // counter reading the next present is due at; 0 before the first
};

} // namespace platform
