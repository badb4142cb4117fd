// Builds a one-member archive in memory, so a test can read the same bytes through the archive
// that it reads from disk.
#pragma once

#include "framework/archive/PakFormat.h"

#include <cstdint>
#include <string>
#include <string_view>

inline std::string TinyPak(std::string_view memberName, std::string_view data)
{
    std::string plain;
    auto put32 = [&](uint32_t v) {
        for (int i = 0; i < 4; ++i)
            plain += char(uint8_t(v >> (8 * i)));
    };
    put32(Vel::kPakMagic);
    put32(Vel::kPakVersion);
    plain += char(0); // flags of the one entry
    plain += char(uint8_t(memberName.size()));
    plain += memberName;
    put32(uint32_t(data.size()));
    plain += std::string(8, '\0'); // time stamp
    plain += char(Vel::kPakEndOfDirectory);
    plain += data;
    for (char& c : plain)
        c = char(uint8_t(c) ^ Vel::kPakKey);
    return plain;
}
