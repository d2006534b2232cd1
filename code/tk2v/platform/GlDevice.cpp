#include "tk2v/platform/GlDevice.h"
#include "tk2v/platform/Clock.h"
#include "tk2v/platform/GlRenderer.h"
#include "tk2v/platform/Texture.h"
#include "tk2v/platform/Window.h"

#include <SDL.h>
#include <epoxy/gl.h>

#include <cmath>
#include <cstring>

namespace platform {
namespace {

SDL_Window* sdlWindow(Window& window) {
    return static_cast<SDL_Window*>(window.nativeHandle());
}

void requestCoreContext() {
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);
}

std::string glText(GLenum name) {
    const GLubyte* text = glGetString(name);
    return text ? reinterpret_cast<const char*>(text) : "";
}

bool near(f32 a, f32 b) {
    return std::fabs(a - b) < 1.0f / 1024;
}

bool nearlyWhole(f32 v) {
    return near(v, std::round(v));
}

// True when the quad is upright and lays the texels one to a pixel on whole pixel positions: every
// pixel centre then samples a texel centre, where linear filtering gives the texel itself, so the far
// cheaper nearest sampling draws the same picture.
bool mapsTexelsToPixels(const Texture& texture, const QuadVertex (&c)[4]) {
    const f32 texW = f32(texture.width()), texH = f32(texture.height());
    const bool upright = c[0].y == c[1].y && c[1].x == c[2].x && c[2].y == c[3].y && c[3].x == c[0].x &&
                         c[0].v == c[1].v && c[1].u == c[2].u && c[2].v == c[3].v && c[3].u == c[0].u;
    return upright && c[0].x < c[2].x && c[0].y < c[2].y && nearlyWhole(c[0].x) && nearlyWhole(c[0].y) &&
           nearlyWhole(c[0].u * texW) && nearlyWhole(c[0].v * texH) &&
           near((c[2].u - c[0].u) * texW, c[2].x - c[0].x) && near((c[2].v - c[0].v) * texH, c[2].y - c[0].y);
}

// Part of GL_NVX_gpu_memory_info: dedicated video memory in KB.
constexpr GLenum kDedicatedVideoMemoryNvx = 0x9047;

} // namespace

std::unique_ptr<GlDevice> GlDevice::create(Window& window, const PresentParams& params, Result& result) {
    requestCoreContext();
    SDL_GLContext context = SDL_GL_CreateContext(sdlWindow(window));
    if (!context) {
        result = ERR_CONTEXT_CREATE;
        return nullptr;
    }
    std::unique_ptr<GlDevice> device(new GlDevice(window, context));
    result = device->init(params);
    return failed(result) ? nullptr : std::move(device);
}

GlDevice::GlDevice(Window& window, void* context) : m_window(window), m_context(context) {}

GlDevice::~GlDevice() {
    makeCurrent();
    m_renderer.reset();
    glDeleteFramebuffers(1, &m_framebuffer);
    glDeleteTextures(1, &m_colourBuffer);
    SDL_GL_MakeCurrent(sdlWindow(m_window), nullptr);
    SDL_GL_DeleteContext(static_cast<SDL_GLContext>(m_context));
}

void GlDevice::makeCurrent() const {
    SDL_GL_MakeCurrent(sdlWindow(m_window), static_cast<SDL_GLContext>(m_context));
    if (m_renderer)
        m_renderer->makeCurrent();
}

Result GlDevice::init(const PresentParams& params) {
    makeCurrent();
    Result r = makeBackBuffer(params.backBufferWidth, params.backBufferHeight);
    if (failed(r))
        return r;
    m_params = params;
    m_renderer = GlRenderer::create(params.backBufferWidth, params.backBufferHeight);
    if (!m_renderer)
        return D3DERR_INVALIDCALL;
    SDL_GL_SetSwapInterval(params.swapInterval);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    return S_OK;
}

Result GlDevice::makeBackBuffer(u32 width, u32 height) {
    GLint maxSize = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize);
    if (width == 0 || height == 0 || width > u32(maxSize) || height > u32(maxSize))
        return D3DERR_INVALIDCALL;
    glDeleteFramebuffers(1, &m_framebuffer);
    glDeleteTextures(1, &m_colourBuffer);
    while (glGetError() != GL_NO_ERROR) {
    }
    // Given as B, G, R, A with no size asked for, the colour buffer is kept in that order, as the
    // textures are; a software rasteriser then draws into it on its fast path, which it keeps from an
    // RGBA8 renderbuffer.
    glGenTextures(1, &m_colourBuffer);
    glBindTexture(GL_TEXTURE_2D, m_colourBuffer);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, GLsizei(width), GLsizei(height), 0, GL_BGRA,
                 GL_UNSIGNED_INT_8_8_8_8_REV, nullptr);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
    glBindTexture(GL_TEXTURE_2D, 0);
    glGenFramebuffers(1, &m_framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, m_framebuffer);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, m_colourBuffer, 0);
    glViewport(0, 0, GLsizei(width), GLsizei(height));
    if (glGetError() == GL_OUT_OF_MEMORY)
        return D3DERR_OUTOFVIDEOMEMORY;
    return glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE ? S_OK : D3DERR_INVALIDCALL;
}

Result GlDevice::reset(const PresentParams& params) {
    if (m_inScene)
        return D3DERR_INVALIDCALL;
    makeCurrent();
    m_renderer->drawNow();
    if (params.backBufferWidth != m_params.backBufferWidth ||
        params.backBufferHeight != m_params.backBufferHeight) {
        Result r = makeBackBuffer(params.backBufferWidth, params.backBufferHeight);
        if (failed(r))
            return r;
    }
    m_params = params;
    m_renderer->resetState(params.backBufferWidth, params.backBufferHeight);
    SDL_GL_SetSwapInterval(params.swapInterval);
    m_nextPresent = 0;
    return S_OK;
}

Result GlDevice::beginScene() {
    if (m_inScene)
        return D3DERR_INVALIDCALL;
    makeCurrent();
    m_inScene = true;
    return S_OK;
}

Result GlDevice::endScene() {
    if (!m_inScene)
        return D3DERR_INVALIDCALL;
    m_renderer->flush();
    m_inScene = false;
    return S_OK;
}

Result GlDevice::clear(u32 argb) {
    if (argb == 0)
        return S_OK;
    // The scene's clear comes before its begin, when another device's context may still be current.
    makeCurrent();
    m_renderer->clear(argb);
    return S_OK;
}

Result GlDevice::present() {
    makeCurrent();
    m_renderer->endFrame();
    const Point drawable = m_window.drawableSize();
    const i32 width = drawable.x, height = drawable.y;
    Rect target = presentRect(width, height, i32(m_params.backBufferWidth), i32(m_params.backBufferHeight));
    if (target.empty())
        return S_OK;
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    // Only letterbox bars need clearing: the picture overwrites its rectangle.
    if (target != Rect{0, 0, width, height}) {
        glDisable(GL_SCISSOR_TEST);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    m_renderer->drawPicture(m_colourBuffer, m_params.backBufferWidth, m_params.backBufferHeight, target,
                            height);
    holdToRefreshRate();
    SDL_GL_SwapWindow(sdlWindow(m_window));
    // A swap of a surface that is never shown (SDL's offscreen driver) hands nothing to the
    // rasteriser: without the flush, presents of frames kept whole would pile up undrawn and be drawn
    // all at once much later.
    glFlush();
    glBindFramebuffer(GL_FRAMEBUFFER, m_framebuffer);
    return S_OK;
}

// Not every driver honours the swap interval (software GL, a virtual X server, some compositors return
// from the swap at once), so with one asked for the device keeps presents to the refresh rate itself.
// They follow a schedule: sleeps of whole milliseconds then still give the rate on average, and a
// driver that does wait for the display is already on time.
void GlDevice::holdToRefreshRate() {
    if (m_params.swapInterval == 0) {
        m_nextPresent = 0;
        return;
    }
    const u64 frequency = counterFrequency();
    const u64 interval = frequency / frameRateCap(refreshRate());
    const u64 now = counter();
    // The first present, or one a whole interval late: the schedule starts again from now.
    if (m_nextPresent == 0 || now >= m_nextPresent + interval)
        m_nextPresent = now;
    else if (now < m_nextPresent)
        sleepMs(u32((m_nextPresent - now) * 1000 / frequency));
    m_nextPresent += interval;
}

u32 GlDevice::refreshRate() const {
    int display = SDL_GetWindowDisplayIndex(sdlWindow(m_window));
    SDL_DisplayMode mode{};
    if (SDL_GetDesktopDisplayMode(display < 0 ? 0 : display, &mode) != 0 || mode.refresh_rate <= 0)
        return 0;
    return u32(mode.refresh_rate);
}

AdapterInfo GlDevice::adapterInfo() const {
    makeCurrent();
    AdapterInfo info{glText(GL_RENDERER), glText(GL_VENDOR), glText(GL_VERSION)};
    GLint value = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &value);
    info.maxTextureSize = u32(value);
    if (epoxy_has_gl_extension("GL_NVX_gpu_memory_info")) {
        value = 0;
        glGetIntegerv(kDedicatedVideoMemoryNvx, &value);
        info.videoMemoryMb = u32(value) / 1024;
    }
    return info;
}

void GlDevice::setViewport(const Rect& viewport) {
    m_renderer->setViewport(viewport);
}
Rect GlDevice::viewport() const {
    return m_renderer->viewport();
}
Result GlDevice::setColourOp(u32 op) {
    return m_renderer->setColourOp(op);
}
u32 GlDevice::colourOp() const {
    return m_renderer->colourOp();
}
Result GlDevice::setBlendMode(u32 mode) {
    return m_renderer->setBlendMode(mode);
}
u32 GlDevice::blendMode() const {
    return m_renderer->blendMode();
}
void GlDevice::setLinearFilter(bool linear) {
    m_renderer->setLinearFilter(linear);
}
bool GlDevice::linearFilter() const {
    return m_renderer->linearFilter();
}

Result GlDevice::drawPrimitiveUP(PrimitiveType type, u32 primitiveCount, const TLVertex* vertices) {
    return m_renderer->drawPrimitives(type, primitiveCount, vertices);
}

void GlDevice::drawQuad(const Texture& texture, const QuadVertex (&corners)[4]) {
    m_renderer->drawQuad(texture.handle(), corners,
                         {mapsTexelsToPixels(texture, corners), texture.isOpaque()});
}

void GlDevice::flush() {
    m_renderer->flush();
}

u64 GlDevice::framesKept() const {
    return m_renderer->framesKept();
}

u64 GlDevice::framesDrawnInPart() const {
    return m_renderer->framesDrawnInPart();
}

Result GlDevice::readBackBuffer(const Rect& area, std::vector<u8>& rgba) {
    Rect whole{0, 0, i32(m_params.backBufferWidth), i32(m_params.backBufferHeight)};
    if (area.empty() || area.intersect(whole) != area)
        return D3DERR_INVALIDCALL;
    // A read-back may come outside a scene, when another device's context may be current.
    makeCurrent();
    m_renderer->drawNow();
    size_t rowBytes = size_t(area.w) * 4;
    std::vector<u8> bottomUp(rowBytes * size_t(area.h));
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(area.x, whole.h - area.y - area.h, area.w, area.h, GL_RGBA, GL_UNSIGNED_BYTE,
                 bottomUp.data());
    rgba.resize(bottomUp.size());
    for (i32 row = 0; row < area.h; ++row)
        std::memcpy(&rgba[size_t(row) * rowBytes], &bottomUp[size_t(area.h - 1 - row) * rowBytes], rowBytes);
    // The back buffer has no alpha of its own (X8R8G8B8 in the engine's terms).
    for (size_t i = 3; i < rgba.size(); i += 4)
        rgba[i] = 0xFF;
    return S_OK;
}

} // namespace platform
