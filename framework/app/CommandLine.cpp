// Command-line splitting.
#include "framework/app/CommandLine.h"

namespace Vel {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

} // namespace

std::vector<CommandLineParam> SplitCommandLine(std::string_view line)
{
    size_t i = 0;
    if (i < line.size() && line[i] == '"') {
        const size_t close = line.find('"', 1);
        i = close == std::string_view::npos ? line.size() : close + 1;
    } else {
        while (i < line.size() && !IsBlank(line[i]))
            ++i;
    }

    std::vector<CommandLineParam> params;
    CommandLineParam current;
    bool inValue = false;
    bool quoted = false;
    auto finish = [&] {
        if (!current.name.empty())
            params.push_back(std::move(current));
        current = {};
        inValue = false;
    };
    for (; i < line.size(); ++i) {
        const char c = line[i];
        if (c == '"') {
            quoted = !quoted;
        } else if (IsBlank(c) && !quoted) {
            finish();
        } else if (c == '=' && !inValue) {
            inValue = true;
        } else {
            (inValue ? current.value : current.name) += c;
        }
    }
    finish();
    return params;
}

std::string JoinCommandLine(int argc, const char* const* argv)
{
    std::string line;
    for (int i = 0; i < argc; ++i) {
        std::string arg;
        bool blank = false;
        for (const char* p = argv[i] ? argv[i] : ""; *p; ++p) {
            if (*p == '"')
                continue;
            blank = blank || IsBlank(*p);
            arg += *p;
        }
        if (i > 0)
            line += ' ';
        line += blank || (i == 0 && arg.empty()) ? "\"" + arg + "\"" : arg;
    }
    return line;
}

} // namespace Vel
