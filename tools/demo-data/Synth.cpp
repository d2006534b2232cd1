#include "Synth.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float kTwoPi = 6.28318530718f;

void put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}

void put32(std::vector<uint8_t>& out, uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

float waveAt(Synth::Wave wave, float phase) {
    switch (wave) {
    case Synth::Wave::Triangle:
        return 4 * std::fabs(phase - std::floor(phase + 0.5f)) - 1;
    case Synth::Wave::Bell:
        // Inharmonic partials give the struck-metal colour.
        return 0.6f * std::sin(kTwoPi * phase) + 0.25f * std::sin(kTwoPi * 2.76f * phase) +
               0.15f * std::sin(kTwoPi * 5.40f * phase);
    case Synth::Wave::Sine:
        break;
    }
    return std::sin(kTwoPi * phase);
}

} // namespace

Synth::Synth(float seconds, bool loop) : m_samples(size_t(seconds * Rate), 0.0f), m_loop(loop) {}

float Synth::random() {
    m_seed = m_seed * 1664525u + 1013904223u;
    return float(m_seed >> 8) / float(1u << 24) * 2 - 1;
}

void Synth::note(float start, float length, float freq, float amp, Wave wave, float attack, float endFreq) {
    const size_t first = size_t(start * Rate), count = size_t(length * Rate);
    const size_t size = m_samples.size();
    double phase = 0;
    for (size_t i = 0; i < count; ++i) {
        size_t at = first + i;
        if (at >= size) {
            if (!m_loop)
                break;
            at %= size;
        }
        const float t = float(i) / Rate;
        const float env =
            t < attack ? t / attack : std::exp(-4.0f * (t - attack) / std::max(length - attack, 0.001f));
        const float f = endFreq > 0 ? freq + (endFreq - freq) * float(i) / float(count) : freq;
        m_samples[at] += amp * env * waveAt(wave, float(phase));
        phase += double(f) / Rate;
        phase -= std::floor(phase);
    }
}

void Synth::wind(float amp, float smooth) {
    const size_t size = m_samples.size(), fade = size_t(0.25f * Rate);
    std::vector<float> noise(size + fade);
    float low = 0;
    for (float& n : noise) {
        low = low * smooth + random() * (1 - smooth);
        n = low;
    }
    // The samples after the end fade into the start, so a looping sound has no seam.
    for (size_t i = 0; i < fade && i < size; ++i) {
        const float t = float(i) / float(fade);
        noise[i] = noise[i] * t + noise[size + i] * (1 - t);
    }
    for (size_t i = 0; i < size; ++i) {
        const float swell = 0.7f + 0.3f * std::sin(kTwoPi * float(i) / float(size));
        m_samples[i] += amp * swell * noise[i];
    }
}

void Synth::noiseBurst(float start, float length, float amp) {
    const size_t first = size_t(start * Rate), count = size_t(length * Rate);
    for (size_t i = 0; i < count && first + i < m_samples.size(); ++i)
        m_samples[first + i] += amp * random() * std::exp(-6.0f * float(i) / float(count));
}

void Synth::normalize(float peak) {
    float top = 0;
    for (float s : m_samples)
        top = std::max(top, std::fabs(s));
    if (top > 0)
        for (float& s : m_samples)
            s *= peak / top;
}

std::vector<uint8_t> Synth::wav() const {
    const uint32_t dataBytes = uint32_t(m_samples.size() * 2);
    std::vector<uint8_t> out = {'R', 'I', 'F', 'F'};
    put32(out, 36 + dataBytes);
    out.insert(out.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    put32(out, 16);
    put16(out, 1); // PCM
    put16(out, 1); // mono
    put32(out, Rate);
    put32(out, Rate * 2);
    put16(out, 2);
    put16(out, 16);
    out.insert(out.end(), {'d', 'a', 't', 'a'});
    put32(out, dataBytes);
    for (float s : m_samples)
        put16(out, uint16_t(int16_t(std::lround(std::clamp(s, -1.0f, 1.0f) * 32767))));
    return out;
}
