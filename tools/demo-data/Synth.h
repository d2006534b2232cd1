#pragma once
#include <cstdint>
#include <vector>

// Sounds made from sine partials, plucks and filtered noise, written as 16-bit mono WAV files.
// The noise comes from a fixed-seed generator, so the same call gives the same samples.
class Synth {
public:
    static constexpr int Rate = 22050;

    enum class Wave { Sine, Triangle, Bell };

    explicit Synth(float seconds, bool loop = false);

    // A note from `start` for `length` seconds: linear attack, exponential decay over the rest.
    // The frequency glides linearly from `freq` to `endFreq` (0: no glide). In a looping sound a
    // note that runs past the end carries on from the start, so the loop has no seam.
    void note(float start, float length, float freq, float amp, Wave wave = Wave::Sine, float attack = 0.005f,
              float endFreq = 0);
    // Noise through a one-pole low-pass filter (`smooth` near 1 is darker) under a slow swell.
    void wind(float amp, float smooth);
    void noiseBurst(float start, float length, float amp);
    // Scales the peak to `peak` (0..1).
    void normalize(float peak);

    std::vector<uint8_t> wav() const;

private:
    float random();

    std::vector<float> m_samples;
    bool m_loop;
    uint32_t m_seed = 0x2545F491u;
};
