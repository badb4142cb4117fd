// The fourteen sound effects: beeps, clicks, the answer sounds, the clock warning and five
// syllables of the owl's voice. Every sound is short and normalised below full scale.
#include <cmath>

#include "Audio.h"
#include "Synth.h"

namespace Content {

namespace {

using namespace Synth;

constexpr float kEffectPeak = 0.8f;

Audio Render(double seconds, double (*f)(double t, Noise& noise), uint32_t seed)
{
    Audio a;
    a.samples.resize(size_t(seconds * kSampleRate));
    Noise noise(seed);
    for (size_t i = 0; i < a.samples.size(); ++i)
        a.samples[i] = static_cast<float>(f(double(i) / kSampleRate, noise));
    // The last few milliseconds fade to silence so no sound ends on a step.
    const size_t fade = std::min<size_t>(a.samples.size(), kSampleRate / 200);
    for (size_t i = 0; i < fade; ++i)
        a.samples[a.samples.size() - 1 - i] *= float(i) / fade;
    a.Normalise(kEffectPeak);
    return a;
}

double Bell(double t, double hz, double decay)
{
    return (std::sin(kTau * hz * t) + 0.35 * std::sin(kTau * 2 * hz * t) + 0.12 * std::sin(kTau * 3.01 * hz * t)) *
           Pluck(t, 0.004, decay);
}

Audio Beep1()
{
    return Render(0.22, [](double t, Noise&) { return Bell(t, 659.26, 0.09) * Ar(t, 0.16, 0.003, 0.05); }, 1);
}

Audio Beep2()
{
    return Render(0.3, [](double t, Noise&) { return Bell(t, 987.77, 0.12) * Ar(t, 0.22, 0.003, 0.07); }, 2);
}

Audio ButtonClick()
{
    return Render(0.07, [](double t, Noise& n) {
        return 0.6 * std::sin(kTau * 1750 * t) * Pluck(t, 0.001, 0.012) + 0.5 * n.Next() * Pluck(t, 0.0005, 0.004);
    }, 3);
}

Audio ClickOn()
{
    return Render(0.08, [](double t, Noise&) {
        const double hz = 800 + 5000 * t;
        return std::sin(kTau * hz * t) * Pluck(t, 0.002, 0.03);
    }, 4);
}

Audio ClickOff()
{
    return Render(0.08, [](double t, Noise&) {
        const double hz = 1200 - 4000 * t;
        return std::sin(kTau * hz * t) * Pluck(t, 0.002, 0.03);
    }, 5);
}

Audio Counter()
{
    return Render(0.05, [](double t, Noise& n) {
        return 0.7 * std::sin(kTau * 2300 * t) * Pluck(t, 0.0008, 0.008) + 0.2 * n.Next() * Pluck(t, 0, 0.003);
    }, 6);
}

Audio Success()
{
    // A rising major arpeggio on a bell.
    return Render(0.55, [](double t, Noise&) {
        double s = 0;
        const double notes[3] = {72, 76, 79};
        for (int i = 0; i < 3; ++i)
            s += Bell(t - i * 0.07, MidiToHz(notes[i]), 0.18) * (t >= i * 0.07 ? 1 : 0);
        return s;
    }, 7);
}

Audio Failure()
{
    // Two soft falling tones with a wobble: clearly "no", never harsh.
    return Render(0.45, [](double t, Noise&) {
        const double first = t < 0.17 ? 1 : 0;
        const double hz = first ? 329.63 : 246.94 * (1 - 0.08 * (t - 0.17));
        const double local = first ? t : t - 0.17;
        const double vib = 1 + 0.02 * std::sin(kTau * 9 * t);
        return SoftSquare(hz * vib * local) * Ar(local, first ? 0.12 : 0.2, 0.01, 0.06) * 0.7;
    }, 8);
}

Audio TimerLow()
{
    return Render(0.14, [](double t, Noise&) {
        return (Triangle(1046.5 * t) * 0.8 + std::sin(kTau * 2093 * t) * 0.2) * Pluck(t, 0.002, 0.04);
    }, 9);
}

// An owl syllable: a buzzy source at a bird-like pitch through two vowel formants, with a
// pitch glide. The five differ in vowel, pitch and contour.
Audio Voice(double pitch, double glide, double f1, double f2, double seconds, uint32_t seed)
{
    Audio a;
    a.samples.resize(size_t(seconds * kSampleRate));
    Resonator r1, r2;
    r1.Set(f1, 90, kSampleRate);
    r2.Set(f2, 140, kSampleRate);
    Noise noise(seed);
    double phase = 0;
    for (size_t i = 0; i < a.samples.size(); ++i) {
        const double t = double(i) / kSampleRate, u = t / seconds;
        const double hz = pitch * (1 + glide * u - 0.5 * glide * u * u) * (1 + 0.015 * std::sin(kTau * 6 * t));
        phase += hz / kSampleRate;
        const double source = SoftSaw(phase) + 0.05 * noise.Next();
        const double env = Ar(t, seconds * 0.75, 0.012, seconds * 0.25);
        a.samples[i] = float((r1.Run(source) * 1.0 + r2.Run(source) * 0.6) * env);
    }
    a.Normalise(0.7f);
    return a;
}

Audio Voice1() { return Voice(520, 0.25, 400, 800, 0.16, 11); }   // "hoo"
Audio Voice2() { return Voice(600, -0.2, 600, 1000, 0.13, 12); }  // "ho"
Audio Voice3() { return Voice(560, 0.1, 800, 1250, 0.12, 13); }   // "ha"
Audio Voice4() { return Voice(680, -0.3, 350, 2100, 0.11, 14); }  // "hee"
Audio Voice5() { return Voice(480, 0.35, 450, 1100, 0.18, 15); }  // "hu"

const std::vector<SoundDef> kSounds = {
    {"SOUND_BEEP1", "sounds/beep1", false, Beep1},
    {"SOUND_BEEP2", "sounds/beep2", false, Beep2},
    {"SOUND_BUTTONCLICK", "sounds/buttonclick", false, ButtonClick},
    {"SOUND_CLICKOFF", "sounds/clickoff", false, ClickOff},
    {"SOUND_CLICKON", "sounds/clickon", false, ClickOn},
    {"SOUND_COUNTER", "sounds/counter", false, Counter},
    {"SOUND_FAILURE", "sounds/failure", true, Failure},
    {"SOUND_SUCCESS", "sounds/success", true, Success},
    {"SOUND_TIMERLOW", "sounds/timerlow", false, TimerLow},
    {"SOUND_VOICE1", "sounds/voice1", true, Voice1},
    {"SOUND_VOICE2", "sounds/voice2", true, Voice2},
    {"SOUND_VOICE3", "sounds/voice3", true, Voice3},
    {"SOUND_VOICE4", "sounds/voice4", true, Voice4},
    {"SOUND_VOICE5", "sounds/voice5", true, Voice5},
};

} // namespace

const std::vector<SoundDef>& SoundTable() { return kSounds; }

} // namespace Content
