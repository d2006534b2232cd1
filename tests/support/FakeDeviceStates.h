#pragma once
#include "tk2v/platform/GraphicsDevice.h"

#include <memory>

// Wraps a real device and plays the states GL never reaches, as Direct3D 8 behaves in them:
// - lost: the cooperative level and present report D3DERR_DEVICELOST and reset fails with it;
// - not reset: the cooperative level reports D3DERR_DEVICENOTRESET, present D3DERR_DEVICELOST, and a
//   reset goes through to the real device and makes the device usable again;
// - driver internal error: reported by the cooperative level and by reset.
// Drawing goes on to the real device in every state.
class FakeDeviceStates : public platform::GraphicsDevice {
public:
    explicit FakeDeviceStates(std::unique_ptr<platform::GraphicsDevice> inner) : m_inner(std::move(inner)) {}

    void setState(platform::Result state) { m_state = state; }
    platform::Result state() const { return m_state; }
    int resets() const { return m_resets; }

    // While one lives, every device that platform::createGraphicsDevice makes comes wrapped in a
    // FakeDeviceStates; newest() is the last one made.
    class Install {
    public:
        Install();
        ~Install();
        FakeDeviceStates* newest() const { return m_newest; }

    private:
        FakeDeviceStates* m_newest = nullptr;
    };

    platform::Result testCooperativeLevel() override { return m_state; }
    platform::Result reset(const platform::PresentParams& params) override;
    platform::Result beginScene() override { return m_inner->beginScene(); }
    platform::Result endScene() override { return m_inner->endScene(); }
    platform::Result clear(u32 argb) override { return m_inner->clear(argb); }
    platform::Result present() override;

    u32 backBufferWidth() const override { return m_inner->backBufferWidth(); }
    u32 backBufferHeight() const override { return m_inner->backBufferHeight(); }
    u32 refreshRate() const override { return m_inner->refreshRate(); }
    platform::AdapterInfo adapterInfo() const override { return m_inner->adapterInfo(); }

    void setViewport(const platform::Rect& viewport) override { m_inner->setViewport(viewport); }
    platform::Rect viewport() const override { return m_inner->viewport(); }
    platform::Result setColourOp(u32 op) override { return m_inner->setColourOp(op); }
    u32 colourOp() const override { return m_inner->colourOp(); }
    platform::Result setBlendMode(u32 mode) override { return m_inner->setBlendMode(mode); }
    u32 blendMode() const override { return m_inner->blendMode(); }
    void setLinearFilter(bool linear) override { m_inner->setLinearFilter(linear); }
    bool linearFilter() const override { return m_inner->linearFilter(); }

    platform::Result drawPrimitiveUP(platform::PrimitiveType type, u32 count,
                                     const platform::TLVertex* vertices) override {
        return m_inner->drawPrimitiveUP(type, count, vertices);
    }
    void drawQuad(const platform::Texture& texture, const platform::QuadVertex (&corners)[4]) override {
        m_inner->drawQuad(texture, corners);
    }
    void flush() override { m_inner->flush(); }
    platform::Result readBackBuffer(const platform::Rect& area, std::vector<u8>& rgba) override {
        return m_inner->readBackBuffer(area, rgba);
    }

private:
    std::unique_ptr<platform::GraphicsDevice> m_inner;
    platform::Result m_state = platform::S_OK;
    int m_resets = 0;
};
