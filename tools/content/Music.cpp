// Three music tracks from a small sequencer: a seeded melody built from motifs over a chord
// progression, a bass line, chords and light percussion. Each track is rendered to an exact
// number of bars and the ringing tail is folded back onto the start, so it loops seamlessly.
#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "Audio.h"
#include "Canvas.h"
#include "Synth.h"

namespace Content {

namespace {

using namespace Synth;

enum Instrument { Flute, MusicBox, Marimba, Bass, Pad, Keys, Kick, Snare, Hat, Shaker };

struct Note {
    double start;  // beats
    double length; // beats
    int pitch;     // MIDI note; unused by percussion
    Instrument instrument;
    double velocity;
};

struct Song {
    double bpm;
    int bars;
    std::vector<Note> notes;
};

// One cycle tables keep the many voices cheap to render.
struct Tables {
    static constexpr int kSize = 2048;
    std::array<float, kSize + 1> saw, square, sine;
    Tables()
    {
        for (int i = 0; i <= kSize; ++i) {
            const double p = double(i) / kSize;
            saw[i] = float(SoftSaw(p));
            square[i] = float(SoftSquare(p));
            sine[i] = float(std::sin(kTau * p));
        }
    }
    static float Read(const std::array<float, kSize + 1>& t, double phase)
    {
        const double p = (phase - std::floor(phase)) * kSize;
        const int i = int(p);
        const float f = float(p - i);
        return t[i] + (t[i + 1] - t[i]) * f;
    }
};

const Tables& Wave()
{
    static const Tables tables;
    return tables;
}

// Seconds a note keeps sounding after its written length.
double ReleaseOf(Instrument ins)
{
    switch (ins) {
    case Flute: return 0.15;
    case MusicBox: return 1.2;
    case Marimba: return 0.6;
    case Bass: return 0.12;
    case Pad: return 0.8;
    case Keys: return 0.4;
    default: return 0.3;
    }
}

// Left/right gains per instrument: the lead near the centre, the chords and percussion spread.
std::array<double, 2> PanOf(Instrument ins)
{
    switch (ins) {
    case Keys: case Marimba: return {0.75, 0.55};
    case Pad: return {0.6, 0.7};
    case Hat: case Shaker: return {0.5, 0.8};
    default: return {0.7, 0.7};
    }
}

void RenderNote(const Note& n, double secondsPerBeat, std::vector<float>& out, uint32_t seed)
{
    const Tables& w = Wave();
    const double start = n.start * secondsPerBeat, length = n.length * secondsPerBeat;
    const double total = length + ReleaseOf(n.instrument);
    const size_t first = size_t(start * kSampleRate), frames = size_t(total * kSampleRate);
    const double hz = MidiToHz(n.pitch);
    const auto pan = PanOf(n.instrument);
    Noise noise(seed);
    LowPass tone(0.25), body(0.08);
    double phase = 0, phase2 = 0.31, phase3 = 0.67;
    for (size_t i = 0; i < frames; ++i) {
        const double t = double(i) / kSampleRate;
        double s = 0;
        switch (n.instrument) {
        case Flute: {
            const double vib = 1 + 0.006 * std::sin(kTau * 5.2 * t) * std::min(1.0, t / 0.25);
            phase += hz * vib / kSampleRate;
            s = tone.Run(0.55 * Tables::Read(w.square, phase) + 0.45 * Tables::Read(w.sine, phase)) *
                Ar(t, length, 0.025, 0.15) * 0.9;
            break;
        }
        case MusicBox:
            phase += hz / kSampleRate;
            s = (Tables::Read(w.sine, phase) + 0.25 * Tables::Read(w.sine, phase * 4.0)) * Pluck(t, 0.002, 0.45);
            break;
        case Marimba:
            phase += hz / kSampleRate;
            s = (Tables::Read(w.sine, phase) + 0.2 * Tables::Read(w.sine, phase * 4.0) * Pluck(t, 0, 0.05)) *
                Pluck(t, 0.002, 0.3);
            break;
        case Bass:
            phase += hz / kSampleRate;
            s = (Tables::Read(w.sine, phase) + 0.25 * Tables::Read(w.square, phase)) *
                Ar(t, length, 0.008, 0.12) * (0.6 + 0.4 * Pluck(t, 0, 0.3));
            break;
        case Pad:
            phase += hz * 0.997 / kSampleRate;
            phase2 += hz * 1.003 / kSampleRate;
            phase3 += hz * 0.5 / kSampleRate;
            s = body.Run(Tables::Read(w.saw, phase) + Tables::Read(w.saw, phase2) + 0.5 * Tables::Read(w.sine, phase3)) *
                Ar(t, length, 0.35, 0.8) * 0.9;
            break;
        case Keys:
            phase += hz / kSampleRate;
            s = (Tables::Read(w.sine, phase) + 0.4 * Tables::Read(w.sine, phase * 2) +
                 0.1 * Tables::Read(w.sine, phase * 3)) * Pluck(t, 0.003, 0.18) * Ar(t, length, 0.001, 0.3);
            break;
        case Kick: {
            const double f = 45 + 90 * std::exp(-t / 0.03);
            phase += f / kSampleRate;
            s = Tables::Read(w.sine, phase) * Pluck(t, 0.001, 0.12) * 1.4;
            break;
        }
        case Snare:
            phase += 185.0 / kSampleRate;
            s = (0.6 * noise.Next() + 0.4 * Tables::Read(w.sine, phase)) * Pluck(t, 0.001, 0.07) * 0.6;
            break;
        case Hat: {
            const double x = noise.Next();
            s = (x - tone.Run(x)) * Pluck(t, 0.0005, 0.025) * 0.5;
            break;
        }
        case Shaker: {
            const double x = noise.Next();
            s = (x - body.Run(x)) * Ar(t, 0.02, 0.01, 0.04) * 0.35;
            break;
        }
        }
        s *= n.velocity;
        const size_t at = (first + i) * 2;
        if (at + 1 >= out.size())
            break;
        out[at] += float(s * pan[0]);
        out[at + 1] += float(s * pan[1]);
    }
}

Audio RenderSong(const Song& song)
{
    const double secondsPerBeat = 60.0 / song.bpm;
    const size_t loopFrames = size_t(std::lround(song.bars * 4 * secondsPerBeat * kSampleRate));
    const size_t tailFrames = 3 * kSampleRate;
    std::vector<float> buffer((loopFrames + tailFrames) * 2, 0.0f);
    uint32_t seed = 1;
    for (const Note& n : song.notes)
        RenderNote(n, secondsPerBeat, buffer, seed++);
    // Notes still ringing at the end continue over the start of the next pass.
    for (size_t i = 0; i < tailFrames * 2; ++i)
        buffer[i] += buffer[loopFrames * 2 + i];
    buffer.resize(loopFrames * 2);
    Audio a;
    a.channels = 2;
    a.samples = std::move(buffer);
    a.Normalise(0.85f);
    return a;
}

// Harmony: a key, a scale and chords given as scale degrees, one per bar.
struct Harmony {
    int root;                 // MIDI note of the tonic near middle C
    std::array<int, 7> scale; // semitones above the tonic
    std::vector<int> chords;  // per bar

    int Degree(int d) const
    {
        const int octave = int(std::floor(d / 7.0));
        return root + scale[((d % 7) + 7) % 7] + 12 * octave;
    }
    std::array<int, 3> Triad(int bar) const
    {
        const int d = chords[bar % chords.size()];
        return {Degree(d), Degree(d + 2), Degree(d + 4)};
    }
    bool InChord(int bar, int pitch) const
    {
        for (int p : Triad(bar))
            if ((((pitch - p) % 12) + 12) % 12 == 0)
                return true;
        return false;
    }
};

constexpr std::array<int, 7> kMajor = {0, 2, 4, 5, 7, 9, 11};
constexpr std::array<int, 7> kMinor = {0, 2, 3, 5, 7, 8, 10};

// Rhythms of two bars in eighths; a negative value is a rest of that length.
const std::vector<std::vector<int>> kRhythms = {
    {2, 1, 1, 2, 2, 2, 1, 1, 4},
    {1, 1, 2, 1, 1, 2, 3, 1, 4},
    {3, 1, 2, 2, 3, 1, 2, -2},
    {2, 2, 2, 2, 1, 1, 1, 1, 4},
    {4, 2, 2, 3, 1, 2, 2},
    {-1, 1, 1, 1, 2, 2, -2, 2, 2, 2},
};

// A two-bar melodic idea as (eighth offset, eighths, scale-step index) entries.
struct MotifNote {
    int at, length, step;
};

std::vector<MotifNote> MakeMotif(Random& rnd, const std::vector<int>& rhythm)
{
    std::vector<MotifNote> motif;
    int at = 0, step = int(rnd.Next() % 5);
    for (int len : rhythm) {
        if (len > 0) {
            motif.push_back({at, len, step});
            const int r = int(rnd.Next() % 10);
            step += r < 4 ? 1 : (r < 8 ? -1 : (r < 9 ? 2 : -2));
            step = std::clamp(step, -2, 8);
        }
        at += std::abs(len);
    }
    return motif;
}

// Places a motif at `bar`, bending notes on strong beats onto the chord of their bar and letting
// the phrase end on a chord tone.
void PlaceMotif(Song& song, const Harmony& h, const std::vector<MotifNote>& motif, int bar, int baseDegree,
                Instrument ins, double velocity, int transpose, bool cadence)
{
    for (size_t i = 0; i < motif.size(); ++i) {
        const MotifNote& m = motif[i];
        const int noteBar = bar + m.at / 8;
        int pitch = h.Degree(baseDegree + m.step) + transpose;
        const bool strong = (m.at % 4) == 0 || i + 1 == motif.size();
        if (strong) {
            for (int d = 0; d < 3 && !h.InChord(noteBar, pitch - transpose); ++d) {
                const int up = h.Degree(baseDegree + m.step + d + 1) + transpose;
                const int down = h.Degree(baseDegree + m.step - d - 1) + transpose;
                if (h.InChord(noteBar, up - transpose))
                    pitch = up;
                else if (h.InChord(noteBar, down - transpose))
                    pitch = down;
            }
        }
        if (cadence && i + 1 == motif.size()) {
            // Resolve onto the chord's root in the octave nearest the line.
            int root = h.Triad(noteBar)[0] + transpose;
            while (root + 6 < pitch)
                root += 12;
            while (root - 6 > pitch)
                root -= 12;
            pitch = root;
        }
        song.notes.push_back({bar * 4 + m.at * 0.5, m.length * 0.5 * 0.92, pitch, ins, velocity});
    }
}

void AddBass(Song& song, const Harmony& h, int style, double velocity)
{
    for (int bar = 0; bar < song.bars; ++bar) {
        const int root = h.Triad(bar)[0] - 24 + (h.Triad(bar)[0] - 24 < 36 ? 12 : 0);
        const int fifth = root + 7;
        const double b = bar * 4;
        if (style == 0) { // bouncy: root, fifth and an octave pickup
            song.notes.push_back({b, 0.9, root, Bass, velocity});
            song.notes.push_back({b + 1.5, 0.4, root, Bass, velocity * 0.7});
            song.notes.push_back({b + 2, 0.9, fifth, Bass, velocity});
            song.notes.push_back({b + 3.5, 0.4, root + 12, Bass, velocity * 0.7});
        } else if (style == 1) { // half notes
            song.notes.push_back({b, 1.9, root, Bass, velocity});
            song.notes.push_back({b + 2, 1.9, fifth - 12 >= 33 ? fifth - 12 : fifth, Bass, velocity * 0.9});
        } else { // whole notes with a passing note
            song.notes.push_back({b, 3.0, root, Bass, velocity});
            song.notes.push_back({b + 3, 0.9, root + 2, Bass, velocity * 0.6});
        }
    }
}

void AddChords(Song& song, const Harmony& h, Instrument ins, int style, double velocity)
{
    for (int bar = 0; bar < song.bars; ++bar) {
        const auto triad = h.Triad(bar);
        const double b = bar * 4;
        for (int k = 0; k < 3; ++k) {
            int p = triad[k];
            while (p > 72)
                p -= 12;
            while (p < 55)
                p += 12;
            if (style == 0) { // off-beat stabs
                for (int beat = 0; beat < 4; ++beat)
                    song.notes.push_back({b + beat + 0.5, 0.3, p, ins, velocity});
            } else if (style == 1) { // broken chord in eighths
                for (int e = 0; e < 8; ++e)
                    if (e % 3 == k)
                        song.notes.push_back({b + e * 0.5, 0.45, p - (e >= 4 ? 0 : 12), ins, velocity});
            } else { // held
                song.notes.push_back({b, 3.9, p, ins, velocity});
            }
        }
    }
}

void AddDrums(Song& song, int style)
{
    for (int bar = 0; bar < song.bars; ++bar) {
        const double b = bar * 4;
        if (style == 0) {
            song.notes.push_back({b, 0.5, 0, Kick, 0.8});
            song.notes.push_back({b + 2, 0.5, 0, Kick, 0.7});
            song.notes.push_back({b + 1, 0.5, 0, Snare, 0.45});
            song.notes.push_back({b + 3, 0.5, 0, Snare, 0.45});
            for (int e = 0; e < 8; ++e)
                song.notes.push_back({b + e * 0.5, 0.2, 0, Hat, e % 2 ? 0.35 : 0.22});
        } else if (style == 1) {
            song.notes.push_back({b, 0.5, 0, Kick, 0.6});
            for (int e = 1; e < 8; e += 2)
                song.notes.push_back({b + e * 0.5, 0.2, 0, Shaker, 0.5});
        } else {
            song.notes.push_back({b + 1, 0.2, 0, Shaker, 0.3});
            song.notes.push_back({b + 3, 0.2, 0, Shaker, 0.3});
        }
    }
}

// Builds a melody over sections: each section is a four-bar phrase from one motif pair.
void AddMelody(Song& song, const Harmony& h, uint32_t seed, const std::vector<char>& form, Instrument ins,
               double velocity, int transpose)
{
    Random rnd(seed);
    std::array<std::vector<MotifNote>, 3> a, b; // [0] first half, [1] answer, [2] closing answer
    for (auto* set : {&a, &b})
        for (auto& m : *set)
            m = MakeMotif(rnd, kRhythms[rnd.Next() % kRhythms.size()]);
    int bar = 0;
    for (size_t i = 0; i < form.size(); ++i) {
        const auto& set = form[i] == 'A' ? a : b;
        const bool last = i + 1 == form.size();
        PlaceMotif(song, h, set[0], bar, 2, ins, velocity, transpose, false);
        PlaceMotif(song, h, last ? set[2] : set[1], bar + 2, 2, ins, velocity, transpose, !last);
        bar += 4;
    }
}

Song MenuSong()
{
    // Bright and bouncy, C major.
    Song s{116, 32, {}};
    Harmony h{60, kMajor, {0, 4, 5, 3, 0, 4, 3, 4, 0, 4, 5, 3, 0, 4, 3, 4,
                           3, 4, 2, 5, 1, 4, 0, 0, 3, 4, 2, 5, 1, 3, 4, 4}};
    AddMelody(s, h, 101, {'A', 'A', 'A', 'A', 'B', 'B', 'A', 'A'}, Flute, 0.55, 12);
    AddChords(s, h, Keys, 0, 0.22);
    AddBass(s, h, 0, 0.6);
    AddDrums(s, 0);
    return s;
}

Song ResultsSong()
{
    // Warm and proud, F major, with a music box lead.
    Song s{96, 24, {}};
    Harmony h{65, kMajor, {0, 2, 3, 4, 0, 5, 3, 4, 3, 4, 5, 5, 1, 4, 0, 0, 0, 2, 3, 4, 1, 3, 4, 4}};
    AddMelody(s, h, 202, {'A', 'A', 'B', 'B', 'A', 'A'}, MusicBox, 0.5, 0);
    AddChords(s, h, Marimba, 1, 0.2);
    AddChords(s, h, Pad, 2, 0.08);
    AddBass(s, h, 1, 0.55);
    AddDrums(s, 1);
    return s;
}

Song OptionsSong()
{
    // Calm, A minor, marimba over held chords.
    Song s{80, 20, {}};
    Harmony h{57, kMinor, {0, 5, 2, 6, 0, 5, 2, 6, 3, 0, 5, 4, 0, 5, 2, 6, 3, 5, 4, 4}};
    AddMelody(s, h, 303, {'A', 'A', 'B', 'A', 'B'}, Marimba, 0.55, 12);
    AddChords(s, h, Pad, 2, 0.13);
    AddBass(s, h, 2, 0.5);
    AddDrums(s, 2);
    return s;
}

Audio Music1() { return RenderSong(MenuSong()); }
Audio Music2() { return RenderSong(ResultsSong()); }
Audio Music3() { return RenderSong(OptionsSong()); }

Song SongFor(size_t track)
{
    return track == 0 ? MenuSong() : (track == 1 ? ResultsSong() : OptionsSong());
}

const std::vector<MusicDef> kMusic = {
    {"music/music1.ogg", Music1},
    {"music/music2.ogg", Music2},
    {"music/music3.ogg", Music3},
};

} // namespace

const std::vector<MusicDef>& MusicTable() { return kMusic; }

Score MusicScore(size_t track)
{
    const Song song = SongFor(track);
    Score score{song.bpm, song.bars, {}};
    for (const Note& n : song.notes)
        score.notes.push_back({n.start, n.length, n.pitch, int(n.instrument)});
    return score;
}

} // namespace Content
