// Sums every source in floating point and clips once, at the end.
#include "framework/sound/AudioMixer.h"

#include <algorithm>
#include <cmath>

namespace Vel {

AudioMixer::AudioMixer(Plat::AudioDevice& device)
    : m_device(device)
{
    m_device.SetCallback([this](int16_t* out, int frames) { Render(out, frames); });
}

AudioMixer::~AudioMixer()
{
    // Replacing the callback waits for a running one, so afterwards the device never calls us.
    m_device.SetCallback(nullptr);
}

void AudioMixer::AddSource(MixSource* source)
{
    std::lock_guard lock(m_mutex);
    if (std::find(m_sources.begin(), m_sources.end(), source) == m_sources.end())
        m_sources.push_back(source);
}

void AudioMixer::RemoveSource(MixSource* source)
{
    std::lock_guard lock(m_mutex);
    m_sources.erase(std::remove(m_sources.begin(), m_sources.end(), source), m_sources.end());
}

void AudioMixer::Render(int16_t* out, int frames)
{
    if (frames <= 0)
        return;
    std::lock_guard lock(m_mutex);
    const size_t count = size_t(frames) * Plat::kAudioChannels;
    m_mix.assign(count, 0.0f);
    if (m_device.DiscardsOutput()) {
        for (MixSource* source : m_sources)
            source->Skip(m_mix.data(), frames);
        return;
    }
    for (MixSource* source : m_sources)
        source->MixInto(m_mix.data(), frames);
    for (size_t i = 0; i < count; ++i)
        out[i] = int16_t(std::lrint(std::clamp(m_mix[i], -32768.0f, 32767.0f)));
}

} // namespace Vel
