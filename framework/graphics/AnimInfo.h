// How the cels of an image animate; filled by the resource manifest, read by whoever draws frames.
#pragma once

#include <vector>

namespace Vel {

struct AnimInfo {
    enum Type { kNone = 0, kOnce = 1, kPingPong = 2, kLoop = 3 };
    int m_animType = kNone;
    int m_frameDelay = 1;            // update ticks per frame when no per-frame delays are given
    int m_numCels = 1;
    std::vector<int> m_perFrameDelay; // ticks each frame stays up; empty means m_frameDelay each
    std::vector<int> m_frameMap;      // frame number -> cel number; empty means identity
    int m_totalCycles = 0;            // length of one pass in ticks
};

} // namespace Vel
