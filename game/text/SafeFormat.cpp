// The checked template filler.
#include "game/text/SafeFormat.h"


namespace Vel {
namespace {

std::string Where(size_t at, std::string_view format, size_t end)
{
    return "'" + std::string(format.substr(at, end - at)) + "' at position " + std::to_string(at + 1);
}

void AppendPadded(std::string& out, std::string_view value, int width, bool left, bool zeros)
{
    const size_t pad = size_t(width) > value.size() ? size_t(width) - value.size() : 0;
    if (left) {
        out += value;
        out.append(pad, ' ');
        return;
    }
    if (zeros && !value.empty() && value.front() == '-') {
        out += '-';
        out.append(pad, '0');
        out += value.substr(1);
        return;
    }
    out.append(pad, zeros ? '0' : ' ');
    out += value;
}

} // namespace

FormatResult SafeFormat(std::string_view format, const std::vector<FormatArg>& values)
{
    FormatResult result;
    size_t next = 0;
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%') {
            result.text += format[i];
            continue;
        }
        const size_t start = i++;
        bool left = false;
        bool zeros = false;
        for (; i < format.size() && (format[i] == '-' || format[i] == '0'); ++i)
            (format[i] == '-' ? left : zeros) = true;
        int width = 0;
        for (; i < format.size() && format[i] >= '0' && format[i] <= '9'; ++i) {
            width = width * 10 + (format[i] - '0');
            if (width > kMaxFormatWidth) {
                result.error = "width above " + std::to_string(kMaxFormatWidth) + " in " + Where(start, format, i + 1);
                result.text.clear();
                return result;
            }
        }
        if (i >= format.size()) {
            result.error = "unfinished conversion " + Where(start, format, format.size());
            result.text.clear();
            return result;
        }
        const char conversion = format[i];
        const std::string where = Where(start, format, i + 1);
        std::string problem;
        if (conversion == '%') {
            if (i == start + 1)
                result.text += '%';
            else
                problem = "flags on '%%' in " + where;
        } else if (conversion == 'n') {
            problem = "'%n' is never allowed (" + where + ")";
        } else if (conversion != 's' && conversion != 'd' && conversion != 'i' && conversion != 'c') {
            problem = "unsupported conversion " + where;
        } else if (next >= values.size()) {
            problem = "more conversions than the " + std::to_string(values.size()) + " argument(s): " + where;
        } else {
            const FormatArg& arg = values[next++];
            const bool wantsText = conversion == 's';
            if (wantsText != (arg.GetKind() == FormatArg::Kind::Text)) {
                problem = where + " needs " + (wantsText ? "a text" : "a number") + " but argument "
                    + std::to_string(next) + " is " + (wantsText ? "a number" : "a text");
            } else if (conversion == 's') {
                AppendPadded(result.text, arg.Text(), width, left, false);
            } else if (conversion == 'c') {
                const char c = char(static_cast<unsigned char>(arg.Number()));
                AppendPadded(result.text, std::string_view(&c, 1), width, left, false);
            } else {
                AppendPadded(result.text, std::to_string(arg.Number()), width, left, zeros);
            }
        }
        if (!problem.empty()) {
            result.error = problem;
            result.text.clear();
            return result;
        }
    }
    result.ok = true;
    return result;
}

} // namespace Vel
