// The game's linear congruential generator.
#include "game/text/Rand.h"

namespace Vel {
namespace {

// Only the main thread draws (the loading thread never does), so no lock.
uint32_t g_randState = 1;

} // namespace

int Rand()
{
    // Unsigned arithmetic wraps modulo 2^32 by definition.
    g_randState = g_randState * 214013u + 2531011u;
    return int((g_randState >> 16) & uint32_t(kRandMax));
}

void SeedRand(uint32_t seed) { g_randState = seed; }

uint32_t RandState() { return g_randState; }

} // namespace Vel
