#include "tk2v/platform/SdlAudioOutput.h"

#include <SDL.h>

namespace platform {
namespace {

// About 23 ms at 44.1 kHz.
constexpr Uint16 DEVICE_FRAMES = 1024;
constexpr int STEREO = 2;

void SDLCALL deviceCallback(void* self, Uint8* stream, int bytes) {
    static_cast<SdlAudioOutput*>(self)->render(reinterpret_cast<float*>(stream),
                                               u32(bytes) / u32(STEREO * sizeof(float)));
}

} // namespace

SdlAudioOutput::~SdlAudioOutput() {
    stop();
}

bool SdlAudioOutput::start(AudioRenderer& renderer, int frequency) {
    if (m_device != 0 || SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        return false;
    SDL_AudioSpec want{};
    want.freq = frequency;
    want.format = AUDIO_F32SYS;
    want.channels = STEREO;
    want.samples = DEVICE_FRAMES;
    want.callback = deviceCallback;
    want.userdata = this;
    m_renderer = &renderer;
    // No changes allowed: SDL converts to whatever the hardware wants.
    m_device = SDL_OpenAudioDevice(nullptr, 0, &want, nullptr, 0);
    if (m_device == 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    SDL_PauseAudioDevice(m_device, 0);
    return true;
}

void SdlAudioOutput::stop() {
    if (m_device == 0)
        return;
    SDL_CloseAudioDevice(m_device);
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    m_device = 0;
}

void SdlAudioOutput::lock() {
    SDL_LockAudioDevice(m_device);
}

void SdlAudioOutput::unlock() {
    SDL_UnlockAudioDevice(m_device);
}

} // namespace platform
