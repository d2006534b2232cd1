#include "game/SplashManager.h"

#include "tk2v/file/aOptionsFile.h"
#include "tk2v/file/file.h"
#include "tk2v/gfx/aApplication.h"
#include "tk2v/gfx/aGraphServer.h"
#include "tk2v/gfx/aImage.h"
#include "tk2v/input/aInputServer.h"
#include "tk2v/platform/Texture.h"
#include "tk2v/sound/aSound.h"
#include "tk2v/video/aTheoraVideo.h"

#include <cstdio>
#include <cstdlib>

namespace {
constexpr u8 DIK_ESCAPE = 0x01;
constexpr u8 DIK_SPACE = 0x39;

std::string pathOf(const std::string& folder, const std::string& value) {
    return value.empty() ? std::string() : folder + value;
}

// A colour that is missing or not hexadecimal keeps the idle colour.
u32 colourOf(const std::string& text) {
    unsigned value = 0;
    return std::sscanf(text.c_str(), "%x", &value) == 1 ? u32(value) : SplashManager::IdleClearColor;
}

f32 secondsOf(const std::string& text) {
    return f32(std::atof(text.c_str()));
}
} // namespace

SplashManager::SplashManager(const std::string& settingsFile) {
    m_graphServer = aApplication::graphServer();
    readSettings(settingsFile);
}

SplashManager::~SplashManager() = default;

void SplashManager::readSettings(const std::string& settingsFile) {
    const std::string folder = file_getDir(settingsFile);
    aOptionsFile file(settingsFile);
    for (file.first(); !file.isEnd(); file.nextSection()) {
        if (file.getSectionName() != "splash")
            continue;
        Screen screen;
        screen.image = pathOf(folder, file.getString("image"));
        screen.sound = pathOf(folder, file.getString("sound"));
        screen.video = file.getInt("video") != 0;
        screen.centred = file.getInt("centered") != 0;
        screen.fadeInColor = colourOf(file.getString("fadeincolor"));
        screen.fadeOutColor = colourOf(file.getString("fadeoutcolor"));
        screen.fadeInTime = secondsOf(file.getString("fadeintime"));
        screen.fadeOutTime = secondsOf(file.getString("fadeouttime"));
        screen.skip = u32(file.getInt("skip"));
        screen.showTime = secondsOf(file.getString("showtime"));
        m_screens.push_back(screen);
    }
}

void SplashManager::start(bool on) {
    if (!on)
        end();
    else if (!m_screens.empty())
        beginScreen(0);
}

void SplashManager::beginScreen(i32 index) {
    m_index = index;
    m_current = m_screens[size_t(index)];
    if (m_graphServer)
        setClearColor(m_current.fadeInColor);
    if (m_current.video) {
        if (!m_video)
            m_video = std::make_unique<aTheoraVideo>();
        m_video->open(m_current.image, true);
    } else {
        if (!m_picture)
            m_picture = std::make_unique<aImage>();
        m_picture->load(m_current.image, platform::FMT_A4R4G4B4, platform::FMT_A8R8G8B8);
    }
    m_sound.reset();
    if (!m_current.sound.empty()) {
        m_sound = std::make_unique<aSound>(m_current.sound, m_volume);
        m_sound->play(false, aSound::KEEP_VOLUME, aSound::KEEP_PAN);
    }
    m_fade = 0;
}

void SplashManager::end() {
    m_index = -1;
    setClearColor(IdleClearColor);
    m_picture.reset();
    m_video.reset();
    m_sound.reset();
}

void SplashManager::setClearColor(u32 colour) {
    if (m_graphServer)
        m_graphServer->clearColor = colour;
}

bool SplashManager::skipPressed() const {
    const aInputServer* input = aApplication::inputServer();
    if (!input)
        return false;
    for (aKeyState button : input->mouseButtons)
        if (button == KEY_PRESSED)
            return true;
    return input->keyStates[DIK_SPACE] == KEY_PRESSED || input->keyStates[DIK_ESCAPE] == KEY_PRESSED;
}

bool SplashManager::update(f32 dt) {
    if (m_index < 0)
        return false;
    if (m_current.video && m_video)
        m_video->update(dt);

    // Whatever of dt the fade-in overran goes unused: the show starts in this update all the same.
    if (m_current.fadeInTime > 0) {
        m_current.fadeInTime -= dt;
        if (m_current.fadeInTime >= 0) {
            m_fade = 1 - m_current.fadeInTime / m_screens[size_t(m_index)].fadeInTime;
            setClearColor(m_current.fadeInColor);
            return true;
        }
    }
    if (m_current.showTime > 0) {
        m_current.showTime -= dt;
        m_fade = 1;
        setClearColor(m_current.fadeInColor);
        if (m_current.skip != 0 && skipPressed()) {
            m_current.showTime = 0;
            m_current.fadeInTime = 0;
            if (m_current.skip == 2)
                m_index = i32(m_screens.size()) - 1;
        }
        return true;
    }
    if (m_current.fadeOutTime > 0) {
        m_current.fadeOutTime -= dt;
        // After a skip to the last screen the fade-out is measured against that screen's time,
        // which may be 0: the fade then ends here rather than divide by it.
        const f32 recordTime = m_screens[size_t(m_index)].fadeOutTime;
        if (m_current.fadeOutTime >= 0 && recordTime > 0) {
            m_fade = m_current.fadeOutTime / recordTime;
            setClearColor(m_current.fadeOutColor);
            return true;
        }
    }
    if (m_index + 1 >= i32(m_screens.size())) {
        end();
        return false;
    }
    beginScreen(m_index + 1);
    return true;
}

void SplashManager::contentSize(u32& w, u32& h) const {
    w = h = 0;
    if (m_current.video) {
        if (m_video && m_video->isPlaying()) {
            w = m_video->getWidth();
            h = m_video->getHeight();
        }
    } else if (m_picture && m_picture->hasTexture()) {
        w = m_picture->getWidth();
        h = m_picture->getHeight();
    }
}

void SplashManager::render() {
    if (m_index < 0 || !m_graphServer)
        return;
    u32 w = 0, h = 0;
    contentSize(w, h);
    // Nothing loaded: nothing to draw, and no size to scale by.
    if (w == 0 || h == 0)
        return;
    // Written so that a factor that is not a number draws nothing.
    const u32 alpha = m_fade >= 1 ? 255 : m_fade > 0 ? u32(m_fade * 255 + 0.5f) : 0;
    const u32 colour = alpha << 24 | 0xFFFFFF;
    const i32 screenW = m_graphServer->getWidth(), screenH = m_graphServer->getHeight();
    f32 x = 0, y = 0;
    f32 scale[2] = {1, 1};
    if (m_current.centred) {
        x = f32((screenW - i32(w)) / 2);
        y = f32((screenH - i32(h)) / 2);
    } else {
        scale[0] = f32(screenW) / f32(w);
        scale[1] = f32(screenH) / f32(h);
    }
    if (m_current.video)
        m_video->draw(x, y, colour, nullptr, scale);
    else
        m_picture->drawAtF(x, y, colour, scale);
}
