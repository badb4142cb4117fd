// printf-style templates from data files ("GRADE: %d", "Hello %s!") filled in without handing
// data to printf: the template is checked against the arguments and anything it cannot do
// safely ("%n", a conversion without its argument or of the wrong kind, an unknown one) is
// refused with a message instead of being guessed at.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace Vel {

class FormatArg {
public:
    enum class Kind { Text, Number };
    FormatArg(std::string_view text) : m_kind(Kind::Text), m_text(text) {}
    FormatArg(const char* text) : m_kind(Kind::Text), m_text(text ? text : "") {}
    FormatArg(const std::string& text) : m_kind(Kind::Text), m_text(text) {}
    FormatArg(int number) : m_kind(Kind::Number), m_number(number) {}
    FormatArg(long number) : m_kind(Kind::Number), m_number(number) {}
    FormatArg(long long number) : m_kind(Kind::Number), m_number(number) {}

    Kind GetKind() const { return m_kind; }
    std::string_view Text() const { return m_text; }
    long long Number() const { return m_number; }

private:
    Kind m_kind;
    std::string_view m_text;
    long long m_number = 0;
};

struct FormatResult {
    bool ok = false;
    std::string text;  // the filled-in template when ok
    std::string error; // what is wrong with the template when not
};

// Widths above this are refused: "%999999999d" must not become a huge allocation.
inline constexpr int kMaxFormatWidth = 99;

// Fills `format` with `args` in order. Understood: "%%", "%s" (a text), "%d" and "%i" (a
// number), "%c" (a number taken as one byte), each with optional "-" or "0" flags and a width
// up to kMaxFormatWidth. Arguments beyond the template's conversions are ignored (a text may
// leave out the player's name); anything else is an error naming the conversion and where.
FormatResult SafeFormat(std::string_view format, const std::vector<FormatArg>& args);
inline FormatResult SafeFormat(std::string_view format, std::initializer_list<FormatArg> args)
{
    return SafeFormat(format, std::vector<FormatArg>(args));
}

} // namespace Vel
