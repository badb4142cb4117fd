// The one mixer on the audio device: sound effects and music both add into the same callback.
#pragma once

#include "platform/Audio.h"

#include <mutex>
#include <vector>

namespace Vel {

// Something that adds its samples into the mix. MixInto runs on the device's thread.
class MixSource {
public:
    virtual ~MixSource() = default;
    // Adds `frames` stereo frames (interleaved left/right, full scale = 32768) into `mix`.
    virtual void MixInto(float* mix, int frames) = 0;
    // Moves on by `frames` frames when the output is heard by nobody. `scratch` holds room for
    // the frames; a source that can keep time without producing samples does so.
    virtual void Skip(float* scratch, int frames) { MixInto(scratch, frames); }
};

class AudioMixer {
public:
    // Installs itself as the device's callback; the device must outlive the mixer.
    explicit AudioMixer(Plat::AudioDevice& device);
    ~AudioMixer();
    AudioMixer(const AudioMixer&) = delete;
    AudioMixer& operator=(const AudioMixer&) = delete;

    bool IsOpen() const { return m_device.IsOpen(); }
    // Sources must be removed before they are destroyed.
    void AddSource(MixSource* source);
    void RemoveSource(MixSource* source);

private:
    void Render(int16_t* out, int frames);

    Plat::AudioDevice& m_device;
    std::mutex m_mutex; // guards m_sources against the device thread
    std::vector<MixSource*> m_sources;
    std::vector<float> m_mix;
};

} // namespace Vel
