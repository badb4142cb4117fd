// One playing copy of a slot's samples on a channel of the DSoundManager's mixer.
#pragma once

#include "framework/sound/SampleData.h"
#include "framework/sound/SoundInstance.h"

#include <memory>

namespace Vel {

class DSoundManager;

// Device volume in hundredths of a decibel for a linear level 0..1: the same curve the level
// always had, with everything below -20 dB silenced.
int LevelToHundredthsDb(double level);
// The linear gain the mixer applies for a device volume (0 at -10000).
double HundredthsDbToGain(int hundredths);
// Left and right gains for a device pan (-10000 left .. 10000 right): the far side is
// attenuated by the pan in hundredths of a decibel.
void PanToGains(int pan, double& left, double& right);

constexpr int kSilentHundredthsDb = -10000;
constexpr int kMaxPan = 10000;
constexpr double kSemitoneRatio = 1.0594630943592953;
constexpr double kMinFrequency = 100.0;
constexpr double kMaxFrequency = 100000.0;

class DSoundInstance : public SoundInstance {
public:
    DSoundInstance(DSoundManager* manager, std::shared_ptr<const SampleData> data);
    ~DSoundInstance() override;

    void Release() override;
    void SetBaseVolume(double volume) override;
    void SetBasePan(int pan) override;
    void AdjustPitch(double semitones) override;
    void SetVolume(double volume) override;
    void SetPan(int pan) override;
    bool Play(bool looping, bool autoRelease) override;
    void Stop() override;
    bool IsPlaying() override;
    bool IsReleased() override;
    double GetVolume() override;

    // What the device is set to: volume in hundredths of a decibel, pan, frequency in Hz.
    int GetDeviceVolume();
    int GetDevicePan();
    double GetFrequency();

private:
    friend class DSoundManager;

    // The *Locked functions expect the manager's mutex to be held.
    void ApplyVolumeLocked();
    void StopLocked(bool keepAutoRelease);
    bool IsReleasedLocked();
    void MixLocked(float* mix, int frames);

    DSoundManager* m_manager;
    std::shared_ptr<const SampleData> m_data;
    bool m_autoRelease = false;
    bool m_hasPlayed = false;
    bool m_released = false;
    bool m_playing = false;
    bool m_looping = false;
    int m_basePan = 0;
    double m_baseVolume = 1.0;
    int m_pan = 0;
    double m_volume = 1.0;
    double m_defaultFrequency = 44100.0;
    double m_frequency = 44100.0;

    // Read by the mixer.
    double m_position = 0.0; // in source frames
    int m_deviceVolume = 0;
    int m_devicePan = 0;
    float m_gainLeft = 1.0f;
    float m_gainRight = 1.0f;
};

} // namespace Vel
