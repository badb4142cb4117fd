// The settings file: whatever it reads, writing it back and reading that again changes nothing.
#include "platform/Settings.h"
#include "tests/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Plat::SettingsFile first("/nonexistent/settings.ini");
    first.Parse(std::string_view(reinterpret_cast<const char*>(data), size));
    const std::string written = first.Format();
    Plat::SettingsFile second("/nonexistent/settings.ini");
    second.Parse(written);
    if (second.Format() != written)
        __builtin_trap();
    return 0;
}
