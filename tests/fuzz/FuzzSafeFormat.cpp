// The template filler on any template: whatever it accepts, the C library fills in the same
// way with the same arguments, so accepting means printf itself would have been safe.
#include "game/text/SafeFormat.h"
#include "tests/fuzz/FuzzSupport.h"

#include <cstdio>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string format(reinterpret_cast<const char*>(data), size);
    const Vel::FormatResult result = Vel::SafeFormat(format, {"Ada", 42, "%n%s", -7, 65});
    if (!result.ok) {
        if (result.error.empty() || !result.text.empty())
            __builtin_trap();
        return 0;
    }
    if (std::memchr(format.data(), '\0', format.size()))
        return 0; // the C library stops at the first NUL; the filler does not
    static char expected[1 << 16];
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
#pragma GCC diagnostic ignored "-Wformat-security"
    const int length = std::snprintf(expected, sizeof expected, format.c_str(), "Ada", 42, "%n%s", -7, 65);
#pragma GCC diagnostic pop
    if (length < 0 || size_t(length) >= sizeof expected)
        return 0;
    if (result.text != std::string(expected, size_t(length)))
        __builtin_trap();
    return 0;
}
