// Background music: songs by id, with per-song volume and fades stepped once per update tick.
// This base is the silent one, used when no music back end exists: every call does nothing.
#pragma once

#include <string>

namespace Vel {

class MusicInterface {
public:
    virtual ~MusicInterface() = default;
    virtual bool LoadMusic(int songId, const std::string& fileName)
    {
        (void)songId;
        (void)fileName;
        return false;
    }
    // `offset` -1 plays from where the song is; 0 or more is a position from the start.
    virtual void PlayMusic(int songId, int offset = 0, bool noLoop = false)
    {
        (void)songId;
        (void)offset;
        (void)noLoop;
    }
    virtual void StopMusic(int songId) { (void)songId; }
    virtual void PauseMusic(int songId) { (void)songId; }
    virtual void ResumeMusic(int songId) { (void)songId; }
    virtual void StopAllMusic() {}
    virtual void UnloadMusic(int songId) { (void)songId; }
    virtual void UnloadAllMusic() {}
    virtual void PauseAllMusic() {}
    virtual void ResumeAllMusic() {}
    // `speed` is the volume change per update tick (0.002: five seconds from silence).
    virtual void FadeIn(int songId, int offset = -1, double speed = 0.002, bool noLoop = false)
    {
        (void)songId;
        (void)offset;
        (void)speed;
        (void)noLoop;
    }
    virtual void FadeOut(int songId, bool stop = true, double speed = 0.004)
    {
        (void)songId;
        (void)stop;
        (void)speed;
    }
    virtual void FadeOutAll(bool stop = true, double speed = 0.004)
    {
        (void)stop;
        (void)speed;
    }
    virtual void SetSongVolume(int songId, double volume)
    {
        (void)songId;
        (void)volume;
    }
    // The cap a fade-in rises to; a louder song is lowered to it at once.
    virtual void SetSongMaxVolume(int songId, double volume)
    {
        (void)songId;
        (void)volume;
    }
    virtual bool IsPlaying(int songId)
    {
        (void)songId;
        return false;
    }
    // The application's music level 0..1 (0 while muted).
    virtual void SetVolume(double volume) { (void)volume; }
    virtual void SetMusicAmplify(int songId, double amp)
    {
        (void)songId;
        (void)amp;
    }
    // Once per update tick: steps the fades.
    virtual void Update() {}
    // True while a playing song's volume is still moving: its fade steps with every tick.
    virtual bool IsFading() { return false; }
};

} // namespace Vel
