#include "tk2v/gfx/aGraphServer.h"

#include "tk2v/file/aFileServer.h"
#include "tk2v/file/file.h"
#include "tk2v/gfx/aAnim.h"
#include "tk2v/gfx/aApplication.h"
#include "tk2v/input/aInputServer.h"
#include "tk2v/platform/BmpFile.h"
#include "tk2v/util/log.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdio>
#include <vector>

using platform::resultName;

namespace {

constexpr const char* kDashes = "-----------------------------------------------------------------";
constexpr const char* kSystemFont = "__system__";
// Frames are measured over at least this many seconds.
constexpr f32 kFpsInterval = 0.3f;
// Screenshot numbers tried before giving up on a folder that is full of them.
constexpr int kMaxScreenshots = 100000;

platform::Rect toRect(const aRect& r) {
    return {r.x, r.y, r.w, r.h};
}

void logMode(const char* label, const platform::DisplayMode& mode) {
    log("aGraphServer. %s %4ix%4i %3iHz %i", label, i32(mode.width), i32(mode.height), i32(mode.refreshRate),
        i32(mode.format));
}

void logDashes() {
    log("%s", kDashes);
}

const char* yesNo(bool value) {
    return value ? "yes" : "no";
}

// The last run of dotted numbers in a version text ("4.5 (Core Profile) Mesa 22.3.6" gives 22.3.6),
// the driver's own version rather than the API level it offers.
void driverVersion(const std::string& text, u32 (&parts)[4]) {
    size_t start = std::string::npos;
    for (size_t i = 0; i < text.size(); ++i)
        if (std::isdigit(u8(text[i])) && (i == 0 || text[i - 1] == ' '))
            start = i;
    std::fill(std::begin(parts), std::end(parts), 0u);
    if (start == std::string::npos)
        return;
    u32 index = 0;
    for (size_t i = start; i < text.size() && index < 4; ++i) {
        if (std::isdigit(u8(text[i])))
            parts[index] = std::min<u32>(parts[index] * 10 + u32(text[i] - '0'), 0xFFFF);
        else if (text[i] == '.')
            ++index;
        else
            break;
    }
}

} // namespace

std::intptr_t graphWndProc(const platform::WindowMessage& message) {
    aApplication* app = aApplication::getInstance();
    if (!app)
        return 0;
    return app->wndProc(app->getWindow(), message.id, message.wparam, message.lparam);
}

aGraphServer::aGraphServer(u16 width, u16 height, bool fullscreen, bool hiColor, const char* title,
                           [[maybe_unused]] u16 iconId, bool vsync, [[maybe_unused]] bool multithreaded)
    : m_viewport{0, 0, width, height}, m_width(width), m_height(height), m_fullscreen(fullscreen),
      m_hiColor(hiColor), m_vsync(vsync) {
    if (aApplication* app = aApplication::getInstance())
        app->setGraphServer(this);
    else
        log("aGraphServer. Error, aApplication object not created!");
    if (!createWindow(title)) {
        log("aGraphServer. Error create D3D object");
        m_fatalError = ERR_D3D_INIT;
        return;
    }
    createDevice();
}

aGraphServer::~aGraphServer() {
    if (m_fonts.count(kSystemFont))
        deleteFont(kSystemFont);
    releaseSpriteAndFonts();
    m_device.reset();
    aApplication* app = aApplication::getInstance();
    if (app && app->getGraphServer() == this)
        app->setGraphServer(nullptr);
    log("aGraphServer. Average fps %4.1f", getAverageFps());
    m_fonts.clear();
}

platform::Window* aGraphServer::getWindow() const {
    if (m_ownWindow)
        return m_ownWindow.get();
    aApplication* app = aApplication::getInstance();
    return app ? app->getWindow() : nullptr;
}

bool aGraphServer::createWindow(const char* title) {
    aApplication* app = aApplication::getInstance();
    platform::WindowConfig config;
    config.title = title ? title : app ? app->getName() : "";
    config.client = {0, 0, m_width, m_height};
    config.fullscreen = m_fullscreen;
    // Shown only once it stands where it belongs.
    config.visible = false;
    std::unique_ptr<platform::Window> window = platform::Window::create(config);
    if (!window)
        return false;
    window->setProc(graphWndProc);
    if (app) {
        app->setWindow(std::move(window));
        app->readWorkArea();
    } else {
        m_ownWindow = std::move(window);
    }
    placeWindow();
    getWindow()->show();
    return true;
}

void aGraphServer::placeWindow() {
    platform::Window* window = getWindow();
    if (m_fullscreen) {
        m_clientWidth = m_width;
        m_clientHeight = m_height;
        window->setFullscreen();
        return;
    }
    platform::Rect rect;
    calcWindowRect(rect);
    window->setWindowed(rect);
}

void aGraphServer::createDevice() {
    fillPresentParams();
    platform::Result result = platform::S_OK;
    m_device = platform::createGraphicsDevice(*getWindow(), m_presentParams, result);
    logAdapter();
    if (readDesktopMode())
        logMode("Detected  windowed  mode:", m_desktopMode);
    else
        log("aGraphServer. Get adapter mode failed (%s)", resultName(platform::D3DERR_NOTAVAILABLE));
    chooseFullscreenModes();
    logCapabilities();
    if (!m_device) {
        log("aGraphServer. Error create device object (%s)", resultName(result));
        m_fatalError = result == platform::D3DERR_DRIVERINTERNALERROR ? result : ERR_D3D_DEVICE;
        return;
    }
    m_refreshRate = m_device->refreshRate();
    createSpriteAndFonts();
    addFont(kSystemFont, {"Arial", -15, 700}, &m_systemFont);
}

void aGraphServer::logAdapter() {
    if (!m_device) {
        log("aGraphServer. Error get default adapter identifier");
        return;
    }
    const platform::AdapterInfo info = m_device->adapterInfo();
    u32 version[4];
    driverVersion(info.version, version);
    logDashes();
    log("Adapter: %s %d MB", info.renderer.c_str(), i32(info.videoMemoryMb));
    log("Driver:  %s, version %u.%u.%u.%u", info.vendor.c_str(), version[0], version[1], version[2],
        version[3]);
    logDashes();
}

bool aGraphServer::readDesktopMode() {
    m_desktopMode = platform::desktopDisplayMode();
    return m_desktopMode.width != 0;
}

// The display never offers a 16-bit mode here, so only the 32-bit one can be found; full screen
// covers the desktop in whatever mode it has.
void aGraphServer::chooseFullscreenModes() {
    m_mode16 = m_mode32 = -1;
    const std::vector<platform::DisplayMode> modes = platform::displayModes();
    u32 best = 0;
    for (size_t i = 0; i < modes.size(); ++i) {
        const platform::DisplayMode& mode = modes[i];
        if (mode.width != m_width || mode.height != m_height)
            continue;
        logMode("Detected fullscreen mode:", mode);
        if (mode.format == platform::DISPLAY_FORMAT_X8R8G8B8 && (m_mode32 < 0 || mode.refreshRate >= best)) {
            m_mode32 = i32(i);
            best = mode.refreshRate;
        }
    }
    log("aGraphServer. 16 bit fullscreen mode not found");
    if (m_mode32 >= 0)
        logMode("Selected fullscreen 32 bit mode:", modes[size_t(m_mode32)]);
    else
        log("aGraphServer. 32 bit fullscreen mode not found");
}

// The answers are those of the GL device: it renders windowed, keeps a copy of every texture
// (managed), locks any texture, has no 2D restriction and no texture-shape limits.
void aGraphServer::logCapabilities() {
    log("aGraphServer. Getting %s device capabilities", "HAL");
    if (!m_device) {
        log("Failed (%s)", resultName(platform::D3DERR_NOTAVAILABLE));
        log("aGraphServer. Getting %s device capabilities", "REF");
        log("Failed (%s)", resultName(platform::D3DERR_NOTAVAILABLE));
        return;
    }
    const i32 maxSize = i32(m_device->adapterInfo().maxTextureSize);
    log(std::string());
    log("----------------- Adapter capabilities --------------------------");
    log("        Can render windowed: %s", yesNo(true));
    log("        Can manage resource: %s", yesNo(true));
    log("           Dynamic textures: %s", yesNo(true));
    log("      No 2D During 3D Scene: %s", yesNo(false));
    log("     Presentation intervals: %s", "imm 1 ");
    log("  Separate texture memories: %s", yesNo(false));
    log("  Texture non local vid mem: %s", yesNo(false));
    log("      Texture system memory: %s", yesNo(false));
    log("       Texture video memory: %s", yesNo(true));
    log("      Source blend SRCALPHA: %s", yesNo(true));
    log("     Dest blend INVSRCALPHA: %s", yesNo(true));
    log("             Dest blend ONE: %s", yesNo(true));
    log("           Max texture size: %ix%i", maxSize, maxSize);
    log("   Max texture aspect ratio: %i", maxSize);
    log("                 Power of 2: %s", yesNo(false));
    log("                Square only: %s", yesNo(false));
    log("               Alpha pixels: %s", yesNo(true));
    log("        Max primitive count: %i", INT_MAX);
    logDashes();
    log(std::string());
    log("aGraphServer: HARDWARE_VERTEXPROCESSING");
}

platform::Rect aGraphServer::calcWindowRect(const platform::Rect& workArea,
                                            const platform::FrameExtents& frame, u16 width, u16 height) {
    // The client rectangle (0, 0, -1, -1) grown by the frame is one pixel short of the frame's size.
    const i32 frameW = frame.left + frame.right - 1, frameH = frame.top + frame.bottom - 1;
    const double scale = std::min(double(workArea.w - frameW) / std::max<u16>(width, 1),
                                  double(workArea.h - frameH) / std::max<u16>(height, 1));
    i32 clientW = width, clientH = height;
    if (scale < 1) {
        clientW = std::max(i32(width * scale), 1);
        clientH = std::max(i32(height * scale), 1);
    }
    const i32 windowW = frame.left + frame.right + clientW, windowH = frame.top + frame.bottom + clientH;
    const i32 left = workArea.x + (workArea.w - windowW) / 2, top = workArea.y + (workArea.h - windowH) / 2;
    return {left + frame.left, top + frame.top, clientW, clientH};
}

void aGraphServer::calcWindowRect(platform::Rect& windowRect) {
    platform::Window* window = getWindow();
    platform::Rect work = aApplication::getWorkArea();
    if (work.empty())
        work = window->workArea();
    windowRect = calcWindowRect(work, window->frameExtents(), m_width, m_height);
    m_clientWidth = u16(windowRect.w);
    m_clientHeight = u16(windowRect.h);
}

void aGraphServer::fillPresentParams() {
    m_presentParams.backBufferWidth = m_width;
    m_presentParams.backBufferHeight = m_height;
    // Windowed, the main loop holds the frame rate to the refresh rate by sleeping instead.
    m_presentParams.swapInterval = m_fullscreen && m_vsync ? 1 : 0;
}

bool aGraphServer::beginScene() {
    if (m_sceneOpen) {
        log("aGraphServer::beginScene() - previous scene not finished");
        return false;
    }
    if (!m_device)
        return false;
    switch (m_device->testCooperativeLevel()) {
    case platform::D3DERR_DRIVERINTERNALERROR:
        log("aGraphServer::beginScene() - D3DERR_DRIVERINTERNALERROR");
        m_fatalError = platform::D3DERR_DRIVERINTERNALERROR;
        return false;
    case platform::D3DERR_DEVICELOST:
        log("aGraphServer::beginScene() - D3DERR_DEVICELOST");
        return false;
    case platform::D3DERR_DEVICENOTRESET:
        log("aGraphServer::beginScene() - D3DERR_DEVICENOTRESET");
        readDesktopMode();
        fillPresentParams();
        resetDevice();
        return false;
    default:
        break;
    }
    m_device->setViewport({0, 0, m_width, m_height});
    platform::Result r;
    if (clearColor != 0 && platform::failed(r = m_device->clear(clearColor)))
        log("aGraphServer. Clear failed (%s)", resultName(r));
    if (platform::failed(r = m_device->beginScene()))
        log("aGraphServer. BeginScene failed (%s)", resultName(r));
    if (platform::failed(r = m_sprite->begin()))
        log("aGraphServer. BeginSprite failed (%s)", resultName(r));
    m_device->setViewport(toRect(m_viewport));
    setColor(1, 1, 1, 1);
    // Both parts of the remembered word differ from 0, so both are applied: the device may still hold
    // the last frame's operation, or the defaults of a reset.
    m_renderMode = 0xF0F;
    setRenderMode(0);
    m_linearFilter = false;
    setLinearFilter(true);
    m_sceneOpen = true;
    return true;
}

void aGraphServer::endScene() {
    if (!m_sceneOpen) {
        log("aGraphServer::endScene() - scene not started");
        return;
    }
    setViewport({0, 0, m_width, m_height});
    std::fill(std::begin(m_globalColor), std::end(m_globalColor), 255);
    drawCursor();
    if (m_systemFont && showFps) {
        char text[32];
        std::snprintf(text, sizeof text, "fps: %4.1f", m_currentFps);
        m_systemFont->drawText(*m_sprite, text, {fpsX, fpsY, 120, 20}, 0xFFFFFFFF);
    }
    platform::Result r;
    if (platform::failed(r = m_sprite->end()))
        log("aGraphServer. EndSprite failed (%s)", resultName(r));
    if (platform::failed(r = m_device->endScene()))
        log("aGraphServer. EndScene failed (%s)", resultName(r));
    if (platform::failed(r = m_device->present()))
        log("aGraphServer. Present failed (%s)", resultName(r));
    measureFrame();
    m_sceneOpen = false;
}

// The sprite cursor is drawn while the mouse is not exclusive, at the mouse minus its hot spot.
void aGraphServer::drawCursor() {
    aApplication* app = aApplication::getInstance();
    aInputServer* input = app ? app->getInputServer() : nullptr;
    if (!input || !input->nonExclusive || !app->getCursorAnim())
        return;
    i32 x, y;
    input->getMousePos(x, y);
    app->getCursorAnim()->drawAt(i16(x - input->hotX), i16(y - input->hotY));
}

void aGraphServer::measureFrame() {
    f32 t = m_timer.getElapsed();
    if (m_firstFrame) {
        // Whatever time start-up took is no frame.
        m_firstFrame = false;
        m_timer.reset();
        t = 0;
    } else {
        ++m_frames;
        m_accumSeconds += t - m_prevFrameTime;
    }
    if (t - m_lastMeasure > kFpsInterval) {
        m_currentFps = f32(m_frames) / m_accumSeconds;
        m_fpsSum += m_currentFps;
        ++m_fpsSamples;
        m_lastMeasure = t;
        m_frames = 0;
        m_accumSeconds = 0;
    }
    aApplication* app = aApplication::getInstance();
    aInputServer* input = app ? app->getInputServer() : nullptr;
    if (input && input->nonExclusive && app->getCursorAnim())
        app->getCursorAnim()->update(t - m_prevFrameTime);
    m_prevFrameTime = t;
}

void aGraphServer::setFullscreen(bool fullscreen) {
    if (fullscreen == m_fullscreen || !getWindow())
        return;
    m_fullscreen = fullscreen;
    placeWindow();
    fillPresentParams();
    resetDevice();
    getWindow()->show();
}

void aGraphServer::resetDevice() {
    if (!m_device)
        return;
    releaseSpriteAndFonts();
    platform::Result r = m_device->reset(m_presentParams);
    if (platform::failed(r))
        log("aGraphServer. Device reset failed (%s)", resultName(r));
    setViewport({0, 0, m_width, m_height});
    if (platform::failed(r = m_device->clear(0xFF000000)))
        log("aGraphServer. Clear failed (%s)", resultName(r));
    createSpriteAndFonts();
    m_refreshRate = m_device->refreshRate();
}

void aGraphServer::createSpriteAndFonts() {
    m_sprite = std::make_unique<platform::SpriteBatch>(*m_device);
    for (auto& [name, record] : m_fonts) {
        *record.target = platform::DeviceFont::create(record.logFont);
        if (!*record.target)
            log("aGraphServer. Font '%s' creation failed (%s)", name.c_str(), resultName(platform::E_FAIL));
    }
}

void aGraphServer::releaseSpriteAndFonts() {
    for (auto& entry : m_fonts)
        entry.second.target->reset();
    m_sprite.reset();
}

void aGraphServer::setViewport(const aRect& viewport) {
    m_viewport = viewport;
    if (m_device)
        m_device->setViewport(toRect(viewport));
}

void aGraphServer::setRenderMode(u32 mode) {
    const u32 op = (mode >> 8) & 0xF, blend = mode & 0xF;
    // The device ignores values outside its tables, as this word's parts must.
    if (m_device && op != ((m_renderMode >> 8) & 0xF))
        m_device->setColourOp(op);
    if (m_device && blend != (m_renderMode & 0xF))
        m_device->setBlendMode(blend);
    m_renderMode = mode;
}

void aGraphServer::setColor(f32 r, f32 g, f32 b, f32 a) {
    // Kept in 0..255 so that a channel packed from it cannot spill into its neighbour.
    const f32 channels[4] = {a, r, g, b};
    for (int i = 0; i < 4; ++i) {
        const f32 c = channels[i] > 0 ? (channels[i] < 1 ? channels[i] : 1) : 0;
        m_globalColor[i] = i32(c * 255);
    }
}

void aGraphServer::setLinearFilter(bool linear) {
    if (linear == m_linearFilter)
        return;
    m_linearFilter = linear;
    if (m_device)
        m_device->setLinearFilter(linear);
}

void aGraphServer::screenshot(const std::string& folder, const std::string& baseName) {
    if (!file_dirExistsPlain(folder) && aFileServer::getInstance())
        aFileServer::getInstance()->makeDir(folder);
    const std::string dir = aFileServer::resolve(folder);
    std::string path;
    for (int n = 0; n < kMaxScreenshots && path.empty(); ++n) {
        char number[16];
        std::snprintf(number, sizeof number, "%03d", n);
        const std::string name = dir + "/" + baseName + number + ".bmp";
        if (!file_existsPlain(name))
            path = name;
    }
    std::vector<u8> rgba;
    const bool saved = !path.empty() && m_device &&
                       platform::succeeded(m_device->readBackBuffer({0, 0, m_width, m_height}, rgba)) &&
                       platform::writeBmp32(path, m_width, m_height, rgba);
    if (saved)
        log("Screenshot saved: %s", path.c_str());
    else
        log("Screenshot save failed: %s", path.c_str());
}

void aGraphServer::addFont(const std::string& name, const platform::LogFont& logFont,
                           std::unique_ptr<platform::DeviceFont>* font) {
    if (m_fonts.count(name)) {
        log("aGraphServer. Font with name '%s' already exists", name.c_str());
        return;
    }
    m_fonts[name] = {logFont, font};
    *font = platform::DeviceFont::create(logFont);
    if (!*font)
        log("aGraphServer. Font '%s' creation failed (%s)", name.c_str(), resultName(platform::E_FAIL));
}

void aGraphServer::deleteFont(const std::string& name) {
    auto it = m_fonts.find(name);
    if (it == m_fonts.end()) {
        log("aGraphServer::deleteFont. Font '%s' not exists", name.c_str());
        return;
    }
    it->second.target->reset();
    m_fonts.erase(it);
}
