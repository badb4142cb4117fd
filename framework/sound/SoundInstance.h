// One playing copy of a loaded sound: it shares the slot's samples and carries its own volume,
// pan, pitch and play state.
#pragma once

namespace Vel {

class SoundInstance {
public:
    virtual ~SoundInstance() = default;
    // Stops it and lets the manager reclaim its channel at the next search.
    virtual void Release() = 0;
    // Linear 0..1; multiplied with the instance volume and the manager's level.
    virtual void SetBaseVolume(double volume) = 0;
    // Device units, -10000 (left) .. 10000 (right); added to the instance pan.
    virtual void SetBasePan(int pan) = 0;
    // Semitones up (positive) or down from the sound's own rate.
    virtual void AdjustPitch(double semitones) = 0;
    virtual void SetVolume(double volume) = 0;
    virtual void SetPan(int pan) = 0;
    // Plays from the start; an auto-release instance releases itself once it has finished.
    virtual bool Play(bool looping, bool autoRelease) = 0;
    // Stops and rewinds; clears auto-release.
    virtual void Stop() = 0;
    virtual bool IsPlaying() = 0;
    // Also where a finished auto-release instance turns itself released.
    virtual bool IsReleased() = 0;
    virtual double GetVolume() = 0;
};

} // namespace Vel
