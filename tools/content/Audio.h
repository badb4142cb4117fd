// Sound effects and music: synthesis into float samples, and the WAV and Ogg Vorbis writers.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace Content {

constexpr int kSampleRate = 44100;

// Interleaved float samples in -1..1.
struct Audio {
    int channels = 1;
    std::vector<float> samples;

    size_t Frames() const { return samples.size() / channels; }
    double Seconds() const { return double(Frames()) / kSampleRate; }
    float Peak() const;
    // Scales so that the loudest sample is `peak` (below full scale).
    void Normalise(float peak);
};

struct SoundDef {
    const char* id;   // "SOUND_..."
    const char* file; // under the data folder, without extension
    bool vorbis;      // stored as .ogg rather than .wav
    Audio (*make)();
};

const std::vector<SoundDef>& SoundTable();

struct MusicDef {
    const char* file; // "music/music1.ogg" ...
    Audio (*make)();
};

const std::vector<MusicDef>& MusicTable();

// The notes of a track before rendering, for the contact sheet's piano roll.
struct ScoreNote {
    double start, length; // beats
    int pitch;            // MIDI note; 0 for percussion
    int instrument;       // 0 lead .. 9, as the sequencer numbers its instruments
};
struct Score {
    double bpm = 0;
    int bars = 0;
    std::vector<ScoreNote> notes;
};
Score MusicScore(size_t track);

// 16-bit PCM, rounded and limited to full scale.
std::vector<uint8_t> EncodeWav(const Audio& audio);
// Ogg Vorbis with a fixed stream serial number, so equal samples give equal bytes.
bool EncodeVorbis(const Audio& audio, float quality, uint32_t serial, std::vector<uint8_t>& out,
                  std::string& error);

} // namespace Content
