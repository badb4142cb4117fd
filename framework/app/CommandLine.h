// The program's command line as one line of text, split the way the program has always split it:
// after the program path, each blank-separated parameter is "name" or "name=value", and a double
// quote toggles quoting (blanks inside quotes belong to the parameter; the quotes are dropped).
#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace Vel {

struct CommandLineParam {
    std::string name;
    std::string value;
    bool operator==(const CommandLineParam&) const = default;
};

// Readable test failures.
inline void PrintTo(const CommandLineParam& p, std::ostream* os) { *os << p.name << "=" << p.value; }

// `line` starts with the program path (quoted: up to the closing quote; else up to the first
// blank). Parameters with an empty name are dropped.
std::vector<CommandLineParam> SplitCommandLine(std::string_view line);

// The reverse for a POSIX argv: the arguments as one line that SplitCommandLine takes apart into
// the same names and values. A blank-containing argument is quoted; double quotes inside an
// argument cannot survive the splitting rules and are dropped.
std::string JoinCommandLine(int argc, const char* const* argv);

} // namespace Vel
