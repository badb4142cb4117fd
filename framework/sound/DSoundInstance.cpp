// Playback state of one instance and the resampling mix of its samples.
#include "framework/sound/DSoundInstance.h"

#include "framework/sound/DSoundManager.h"
#include "platform/Audio.h"

#include <algorithm>
#include <cmath>

namespace Vel {

int LevelToHundredthsDb(double level)
{
    if (!(level > 0.0))
        level = 0.0; // also catches NaN
    level = std::min(level, 1.0); // the device cannot amplify
    const int hundredths = int((std::log10(9.0 * level + 1.0) - 1.0) * 2333.0);
    return hundredths < -2000 ? kSilentHundredthsDb : hundredths;
}

double HundredthsDbToGain(int hundredths)
{
    if (hundredths <= kSilentHundredthsDb)
        return 0.0;
    return std::pow(10.0, double(std::min(hundredths, 0)) / 2000.0);
}

void PanToGains(int pan, double& left, double& right)
{
    pan = std::clamp(pan, -kMaxPan, kMaxPan);
    left = pan > 0 ? HundredthsDbToGain(-pan) : 1.0;
    right = pan < 0 ? HundredthsDbToGain(pan) : 1.0;
}

DSoundInstance::DSoundInstance(DSoundManager* manager, std::shared_ptr<const SampleData> data)
    : m_manager(manager)
    , m_data(std::move(data))
{
    if (m_data && m_data->rate > 0)
        m_defaultFrequency = m_data->rate;
    m_frequency = m_defaultFrequency;
}

DSoundInstance::~DSoundInstance() = default;

void DSoundInstance::Release()
{
    std::lock_guard lock(m_manager->m_mutex);
    StopLocked(false);
    m_released = true;
}

void DSoundInstance::SetBaseVolume(double volume)
{
    std::lock_guard lock(m_manager->m_mutex);
    m_baseVolume = volume;
    ApplyVolumeLocked();
}

void DSoundInstance::SetBasePan(int pan)
{
    std::lock_guard lock(m_manager->m_mutex);
    m_basePan = pan;
    ApplyVolumeLocked();
}

void DSoundInstance::AdjustPitch(double semitones)
{
    std::lock_guard lock(m_manager->m_mutex);
    const double frequency = m_defaultFrequency * std::pow(kSemitoneRatio, semitones);
    m_frequency = std::isfinite(frequency) ? std::clamp(frequency, kMinFrequency, kMaxFrequency)
                                           : (semitones > 0 ? kMaxFrequency : kMinFrequency);
}

void DSoundInstance::SetVolume(double volume)
{
    std::lock_guard lock(m_manager->m_mutex);
    m_volume = volume;
    ApplyVolumeLocked();
}

void DSoundInstance::SetPan(int pan)
{
    std::lock_guard lock(m_manager->m_mutex);
    m_pan = pan;
    ApplyVolumeLocked();
}

bool DSoundInstance::Play(bool looping, bool autoRelease)
{
    std::lock_guard lock(m_manager->m_mutex);
    if (m_released || !m_data)
        return false;
    StopLocked(false);
    m_hasPlayed = true;
    m_autoRelease = autoRelease;
    m_looping = looping;
    m_position = 0.0;
    m_playing = m_data->Frames() > 0;
    return true;
}

void DSoundInstance::Stop()
{
    std::lock_guard lock(m_manager->m_mutex);
    StopLocked(false);
}

bool DSoundInstance::IsPlaying()
{
    std::lock_guard lock(m_manager->m_mutex);
    return m_playing;
}

bool DSoundInstance::IsReleased()
{
    std::lock_guard lock(m_manager->m_mutex);
    return IsReleasedLocked();
}

double DSoundInstance::GetVolume()
{
    std::lock_guard lock(m_manager->m_mutex);
    return m_volume;
}

int DSoundInstance::GetDeviceVolume()
{
    std::lock_guard lock(m_manager->m_mutex);
    return m_deviceVolume;
}

int DSoundInstance::GetDevicePan()
{
    std::lock_guard lock(m_manager->m_mutex);
    return m_devicePan;
}

double DSoundInstance::GetFrequency()
{
    std::lock_guard lock(m_manager->m_mutex);
    return m_frequency;
}

void DSoundInstance::ApplyVolumeLocked()
{
    m_deviceVolume = LevelToHundredthsDb(m_volume * m_baseVolume * m_manager->m_level);
    // The sum is formed in 64 bits: two large pans must not overflow into the other side.
    m_devicePan = int(std::clamp<long long>((long long)m_basePan + m_pan, -kMaxPan, kMaxPan));
    double left = 1.0;
    double right = 1.0;
    PanToGains(m_devicePan, left, right);
    const double gain = HundredthsDbToGain(m_deviceVolume);
    m_gainLeft = float(gain * left);
    m_gainRight = float(gain * right);
}

void DSoundInstance::StopLocked(bool keepAutoRelease)
{
    m_playing = false;
    m_position = 0.0;
    if (!keepAutoRelease)
        m_autoRelease = false;
}

bool DSoundInstance::IsReleasedLocked()
{
    if (!m_released && m_autoRelease && m_hasPlayed && !m_playing)
        m_released = true;
    return m_released;
}

void DSoundInstance::MixLocked(float* mix, int frames)
{
    if (!m_playing || !m_data)
        return;
    const SampleData& data = *m_data;
    const size_t count = data.Frames();
    if (count == 0) {
        m_playing = false;
        return;
    }
    const int16_t* samples = data.samples.data();
    const bool stereo = data.channels == 2;
    const double step = m_frequency / double(Plat::kAudioRate);
    const double length = double(count);
    const float gainLeft = m_gainLeft;
    const float gainRight = m_gainRight;
    double position = m_position;

    for (int i = 0; i < frames; ++i) {
        const size_t index = size_t(position);
        const float frac = float(position - double(index));
        size_t next = index + 1;
        if (next >= count)
            next = m_looping ? 0 : index; // a loop joins its end to its start without a gap
        float left;
        float right;
        if (stereo) {
            left = samples[2 * index] + (samples[2 * next] - samples[2 * index]) * frac;
            right = samples[2 * index + 1] + (samples[2 * next + 1] - samples[2 * index + 1]) * frac;
        } else {
            left = right = samples[index] + (samples[next] - samples[index]) * frac;
        }
        mix[2 * i] += left * gainLeft;
        mix[2 * i + 1] += right * gainRight;

        position += step;
        if (position >= length) {
            if (!m_looping) {
                m_playing = false;
                position = 0.0;
                break;
            }
            position = std::fmod(position, length);
        }
    }
    m_position = position;
}

} // namespace Vel
