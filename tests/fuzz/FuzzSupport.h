// What the fuzz targets share: the libFuzzer entry point and a scratch file for the readers
// that take a path rather than bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace Fuzz {

// One file per process and name, rewritten for every input.
inline std::string WriteScratch(const uint8_t* data, size_t size, const char* name = "input")
{
    static const std::string dir = [] {
        std::string pattern = "/tmp/qv-fuzz-XXXXXX";
        const char* made = ::mkdtemp(pattern.data());
        return std::string(made ? made : "/tmp");
    }();
    const std::string path = dir + "/" + name;
    if (std::FILE* file = std::fopen(path.c_str(), "wb")) {
        if (size > 0)
            std::fwrite(data, 1, size, file);
        std::fclose(file);
    }
    return path;
}

} // namespace Fuzz
