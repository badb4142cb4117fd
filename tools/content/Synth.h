// Small building blocks for the synthesised sounds and the music: oscillators, envelopes,
// a resonant band-pass for voice formants and a seeded noise source.
#pragma once

#include <cmath>
#include <cstdint>

namespace Content::Synth {

constexpr double kTau = 6.283185307179586;

inline double MidiToHz(double note) { return 440.0 * std::pow(2.0, (note - 69.0) / 12.0); }

// Attack-decay envelope: rises over `attack` seconds, then falls exponentially with `decay`.
inline double Pluck(double t, double attack, double decay)
{
    if (t < 0)
        return 0;
    if (t < attack)
        return t / attack;
    return std::exp(-(t - attack) / decay);
}

// Attack-sustain-release over a note of `length` seconds.
inline double Ar(double t, double length, double attack, double release)
{
    if (t < 0 || t > length + release)
        return 0;
    double a = t < attack ? t / attack : 1.0;
    if (t > length)
        a *= 1.0 - (t - length) / release;
    return a;
}

// A band-limited-enough triangle and a soft square from a few sine partials.
inline double Triangle(double phase)
{
    const double p = phase - std::floor(phase);
    return 4.0 * std::fabs(p - 0.5) - 1.0;
}
inline double SoftSquare(double phase)
{
    const double x = kTau * phase;
    return (std::sin(x) + std::sin(3 * x) / 3 + std::sin(5 * x) / 5 + std::sin(7 * x) / 7) * 0.9;
}
inline double SoftSaw(double phase)
{
    const double x = kTau * phase;
    double s = 0;
    for (int k = 1; k <= 8; ++k)
        s += std::sin(k * x) / k;
    return s * 0.55;
}

class Noise {
public:
    explicit Noise(uint32_t seed) : m_state(seed ? seed : 1) {}
    double Next()
    {
        m_state ^= m_state << 13;
        m_state ^= m_state >> 17;
        m_state ^= m_state << 5;
        return (m_state / 4294967295.0) * 2.0 - 1.0;
    }

private:
    uint32_t m_state;
};

// Two-pole resonator (a formant): centre `hz`, bandwidth `bw` in Hz.
class Resonator {
public:
    void Set(double hz, double bw, double rate)
    {
        const double r = std::exp(-M_PI * bw / rate);
        m_a1 = 2 * r * std::cos(kTau * hz / rate);
        m_a2 = -r * r;
        m_gain = 1 - r;
    }
    double Run(double x)
    {
        const double y = m_gain * x + m_a1 * m_y1 + m_a2 * m_y2;
        m_y2 = m_y1;
        m_y1 = y;
        return y;
    }

private:
    double m_a1 = 0, m_a2 = 0, m_gain = 0, m_y1 = 0, m_y2 = 0;
};

// One-pole low-pass; `k` near 0 is dark, near 1 open.
class LowPass {
public:
    explicit LowPass(double k = 0.2) : m_k(k) {}
    double Run(double x) { return m_y += m_k * (x - m_y); }

private:
    double m_k;
    double m_y = 0;
};

} // namespace Content::Synth
