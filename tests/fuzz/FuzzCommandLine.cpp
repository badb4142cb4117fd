// The command line: any text splits into named parameters, and any argument vector joined into
// one line splits back into the names and values of its arguments. Input holding NUL bytes is
// taken as an argument vector, one argument between NULs; other input as a line.
#include "framework/app/CommandLine.h"
#include "tests/fuzz/FuzzSupport.h"

#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    if (input.find('\0') == std::string_view::npos) {
        for (const Vel::CommandLineParam& param : Vel::SplitCommandLine(input))
            if (param.name.empty())
                __builtin_trap(); // parameters without a name are dropped
        return 0;
    }
    std::vector<std::string> args;
    for (size_t start = 0;;) {
        const size_t end = input.find('\0', start);
        args.emplace_back(input.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
        if (end == std::string_view::npos)
            break;
        start = end + 1;
    }
    std::vector<const char*> argv;
    for (const std::string& arg : args)
        argv.push_back(arg.c_str());

    std::vector<Vel::CommandLineParam> expected;
    for (size_t i = 1; i < args.size(); ++i) {
        std::string arg;
        for (char c : args[i])
            if (c != '"')
                arg += c; // quotes cannot survive the splitting rules
        const size_t eq = arg.find('=');
        Vel::CommandLineParam param{arg.substr(0, eq), eq == std::string::npos ? "" : arg.substr(eq + 1)};
        if (!param.name.empty())
            expected.push_back(param);
    }
    if (Vel::SplitCommandLine(Vel::JoinCommandLine(int(argv.size()), argv.data())) != expected)
        __builtin_trap();
    return 0;
}
