// The command-line splitter.
#include "framework/app/CommandLine.h"
#include "tests/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    for (const Vel::CommandLineParam& param :
         Vel::SplitCommandLine(std::string_view(reinterpret_cast<const char*>(data), size)))
        if (param.name.empty())
            __builtin_trap(); // parameters without a name are dropped
    return 0;
}
