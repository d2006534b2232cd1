#pragma once
#include "tk2v/util/types.h"

class CResManager;
class aImage;
class aSound;

// The picture that closes an investigation or the game: the screen darkens while the picture grows
// and brightens over the first half of the sound, stays while the sound ends, then fades in a second.
class CompletionEffect {
public:
    enum State : u32 { NOT_INITIALISED = 0, GROWING = 1, SHOWN = 2, FADING = 3, IDLE = 4 };
    // Without a sound of a usable length the effect lasts this long.
    static constexpr f32 DEFAULT_DURATION = 7.0f;
    static constexpr f32 FADE_TIME = 1.0f;
    static constexpr f32 START_SCALE = 0.5f;
    static constexpr f32 END_SCALE = 1.8f;

    void Init();
    // Silences everything else and starts the picture of the game's end or of a finished investigation.
    void Start(bool theEnd);
    // Back to idle at once.
    void Stop();
    void Update(f32 dt);
    void Render();

    bool IsPlaying() const { return m_state >= GROWING && m_state <= FADING; }
    u32 GetState() const { return m_state; }
    f32 GetDuration() const { return m_duration; }
    f32 GetTime() const { return m_time; }

private:
    u32 m_state = NOT_INITIALISED;
    CResManager* m_res = nullptr;
    aImage* m_image = nullptr;
    aSound* m_sound = nullptr;
    f32 m_duration = 0;
    f32 m_time = 0;
};
