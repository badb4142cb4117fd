// The headless audio device: a test pulls the mix by hand.
#include "platform/Audio.h"

#include <algorithm>

namespace Plat {

void NullAudioDevice::Render(int16_t* out, int frames)
{
    if (frames <= 0)
        return;
    std::fill(out, out + size_t(frames) * kAudioChannels, int16_t(0));
    if (m_callback)
        m_callback(out, frames);
}

} // namespace Plat
