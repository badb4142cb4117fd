// Music of our own: Ogg Vorbis songs read through the archive layer, decoded a little at a time
// on the mixer's thread and mixed into the same device as the sound effects.
#pragma once

#include "framework/sound/AudioMixer.h"
#include "framework/sound/MusicInterface.h"

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>

namespace Vel {

class StreamMusicInterface : public MusicInterface, public MixSource {
public:
    // A null mixer keeps every song's state but plays into nothing.
    explicit StreamMusicInterface(AudioMixer* mixer);
    ~StreamMusicInterface() override;

    // Reads the whole compressed file up front, so the mixer thread never waits on a disk.
    // False when the file is missing or is not Ogg Vorbis with 1 or 2 channels.
    bool LoadMusic(int songId, const std::string& fileName) override;
    void PlayMusic(int songId, int offset = 0, bool noLoop = false) override;
    void StopMusic(int songId) override;
    void PauseMusic(int songId) override;
    void ResumeMusic(int songId) override;
    void StopAllMusic() override;
    void UnloadMusic(int songId) override;
    void UnloadAllMusic() override;
    void PauseAllMusic() override;
    void ResumeAllMusic() override;
    void FadeIn(int songId, int offset = -1, double speed = 0.002, bool noLoop = false) override;
    void FadeOut(int songId, bool stop = true, double speed = 0.004) override;
    void FadeOutAll(bool stop = true, double speed = 0.004) override;
    void SetSongVolume(int songId, double volume) override;
    void SetSongMaxVolume(int songId, double volume) override;
    bool IsPlaying(int songId) override;
    void SetVolume(double volume) override;
    // Amplification belongs to tracker modules; streams have none, so this changes nothing.
    void SetMusicAmplify(int songId, double amp) override;
    void Update() override;
    bool IsFading() override;

    void MixInto(float* mix, int frames) override;
    // Unheard songs are not decoded: they only keep count of where they would be.
    void Skip(float* scratch, int frames) override;

    // For inspection: the song's current volume (0..cap), -1 when no such song.
    double GetSongVolume(int songId);
    bool IsPaused(int songId);

    struct Song; // defined in the source file

private:
    Song* Find(int songId);
    void StartLocked(Song& song, int offset, bool noLoop);

    AudioMixer* m_mixer;
    std::mutex m_mutex; // guards the songs against the mixer thread
    std::map<int, std::unique_ptr<Song>> m_songs;
    double m_volume = 1.0;
};

} // namespace Vel
