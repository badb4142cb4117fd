// The byte layout of the player file ("userdata/pref.dat") and the one codec that writes and
// reads it, field by field at fixed offsets, little-endian, whatever the compiler does with the
// structs. The layout is the file format: changing an offset breaks every saved game.
#pragma once

#include "game/players/PlayerProfile.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace Vel {

struct Players;

namespace PlayerFileLayout {
// The file: currentPlayer, 4 bytes of zero padding, then the six slots.
inline constexpr size_t kCurrentPlayer = 0;
inline constexpr size_t kFirstSlot = 8;
inline constexpr size_t kProfileSize = 896'304;

// Within a slot. Padding between fields is written as zero and ignored on reading.
inline constexpr size_t kName = 0;
inline constexpr size_t kBirthDay = 32;
inline constexpr size_t kBirthMonth = 36;
inline constexpr size_t kBirthYear = 40;
inline constexpr size_t kCreated = 44; // nine int32
inline constexpr size_t kDatesSet = 80;
inline constexpr size_t kLastPlayed = 84; // nine int32
inline constexpr size_t kTestAccess = 120;
inline constexpr size_t kTestAccessSize = 8; // int32 category, uint8 locked, 3 padding
inline constexpr size_t kEmpty = 256;
inline constexpr size_t kSfxVolume = 264;
inline constexpr size_t kMusicVolume = 272;
inline constexpr size_t kFullscreen = 280;
inline constexpr size_t kVoice = 281;
inline constexpr size_t kState = 284;
inline constexpr size_t kStamps = 288;
inline constexpr size_t kHistory = 300;
inline constexpr size_t kResultRecordSize = 28; // seven int32
inline constexpr size_t kHistoryCount = 896'300;

inline constexpr size_t SlotOffset(int slot) { return kFirstSlot + size_t(slot) * kProfileSize; }
} // namespace PlayerFileLayout

inline constexpr size_t kPlayerFileSize = 5'377'832;
static_assert(PlayerFileLayout::SlotOffset(kPlayerSlots) == kPlayerFileSize);
static_assert(PlayerFileLayout::kHistory + kHistoryCapacity * PlayerFileLayout::kResultRecordSize
              == PlayerFileLayout::kHistoryCount);

// The whole file image of currentPlayer and the six slots.
std::vector<uint8_t> EncodePlayerFile(const Players& players);
// The same bytes handed to `piece` in order, at most one slot at a time, so a save never holds
// a second copy of every player; stops with false as soon as `piece` returns false.
bool EncodePlayerFile(const Players& players, const std::function<bool(const uint8_t*, size_t)>& piece);

// Reads a file image into players.currentPlayer and players.players. On any damage (wrong
// size, a value outside its range) returns false with `problem` saying what and where; the
// content of `players` is then unspecified and the caller starts fresh slots.
bool DecodePlayerFile(const uint8_t* bytes, size_t size, Players& players, std::string& problem);
// The same from a file read in order: `piece` fills the buffer it is given with the next bytes
// (the header, then one slot at a time) or returns false, which counts as damage. So a load
// never holds a second copy of every player.
bool DecodePlayerFile(const std::function<bool(uint8_t*, size_t)>& piece, Players& players, std::string& problem);

} // namespace Vel
