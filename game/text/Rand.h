// The game's one pseudo-random generator. Every random choice in the game draws from it, so a
// fixed seed replays a whole session: tests seed it, the application seeds it once at start-up
// with the millisecond tick count.
#pragma once

#include <cstdint>

namespace Vel {

inline constexpr int kRandMax = 32767;

// Linear congruential step: state = state * 214013 + 2531011 (mod 2^32); the result is bits
// 16..30 of the new state, 0..kRandMax.
int Rand();
void SeedRand(uint32_t seed);
// The raw state, so a test or a replay can save and restore the exact position in the sequence.
uint32_t RandState();

} // namespace Vel
