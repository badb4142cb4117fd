// The settings file.
#include "platform/Settings.h"

#include <cctype>
#include <charconv>
#include <fstream>
#include <map>

namespace Plat {
namespace {

// Bigger than any settings file this program writes; a huge file is damage, not settings.
constexpr std::streamsize kMaxSettingsBytes = 1 << 20;

std::string_view Trim(std::string_view s)
{
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front())))
        s.remove_prefix(1);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back())))
        s.remove_suffix(1);
    return s;
}

bool SameName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

// A 32-bit value as written by Format, or a plain unsigned one: -2147483648 .. 4294967295.
bool ParseValue(std::string_view text, uint32_t& value)
{
    const bool negative = !text.empty() && text.front() == '-';
    if (negative)
        text.remove_prefix(1);
    if (text.empty() || !std::isdigit(static_cast<unsigned char>(text.front())))
        return false;
    uint64_t magnitude = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), magnitude);
    if (ec != std::errc() || end != text.data() + text.size())
        return false;
    if (negative) {
        if (magnitude > 0x80000000ull)
            return false;
        value = uint32_t(0 - uint32_t(magnitude));
    } else {
        if (magnitude > 0xFFFFFFFFull)
            return false;
        value = uint32_t(magnitude);
    }
    return true;
}

bool ValidName(std::string_view name)
{
    if (name.empty())
        return false;
    for (char c : name)
        if (c == '=' || c == '[' || c == ']' || c == '\n' || c == '\r' || c == '\0')
            return false;
    return true;
}

// A name the file can hold: its section and its last part are read back trimmed, and a line
// starting with '#' or ';' is a comment, so such names would change or vanish on the next read.
bool StorableName(std::string_view name)
{
    if (!ValidName(name) || name.front() == '\\' || name.back() == '\\')
        return false;
    const size_t slash = name.rfind('\\');
    const std::string_view leaf = slash == std::string_view::npos ? name : name.substr(slash + 1);
    const std::string_view section = slash == std::string_view::npos ? std::string_view() : name.substr(0, slash);
    if (leaf.front() == '#' || leaf.front() == ';')
        return false;
    return Trim(leaf) == leaf && Trim(section) == section;
}

} // namespace

std::string SettingsPath() { return ConfigDir() + "/settings.ini"; }

bool SettingsFile::Load()
{
    m_values.clear();
    std::ifstream in(m_path, std::ios::binary);
    if (!in)
        return false;
    std::string text(size_t(kMaxSettingsBytes), '\0');
    in.read(text.data(), kMaxSettingsBytes);
    if (in.bad())
        return false;
    text.resize(size_t(in.gcount()));
    Parse(text);
    return true;
}

void SettingsFile::Parse(std::string_view text)
{
    m_values.clear();
    std::string section;
    while (!text.empty()) {
        const size_t eol = text.find('\n');
        std::string_view line = Trim(text.substr(0, eol));
        text = eol == std::string_view::npos ? std::string_view() : text.substr(eol + 1);
        if (line.empty() || line.front() == '#' || line.front() == ';')
            continue;
        if (line.front() == '[') {
            // A broken header makes the following lines belong to no section we could name, so
            // they are skipped rather than misfiled at the top level.
            const std::string_view inner = line.back() == ']' ? Trim(line.substr(1, line.size() - 2)) : "";
            section = ValidName(inner) ? std::string(inner) : std::string("\n");
            continue;
        }
        if (section == "\n")
            continue;
        const size_t eq = line.find('=');
        if (eq == std::string_view::npos)
            continue;
        const std::string_view name = Trim(line.substr(0, eq));
        uint32_t value = 0;
        if (!ValidName(name) || !ParseValue(Trim(line.substr(eq + 1)), value))
            continue;
        Set(section.empty() ? std::string(name) : section + "\\" + std::string(name), value);
    }
}

bool SettingsFile::Get(std::string_view name, uint32_t& value) const
{
    for (const auto& [n, v] : m_values)
        if (SameName(n, name)) {
            value = v;
            return true;
        }
    return false;
}

void SettingsFile::Set(std::string_view name, uint32_t value)
{
    if (!StorableName(name))
        return;
    for (auto& [n, v] : m_values)
        if (SameName(n, name)) {
            v = value;
            return;
        }
    m_values.emplace_back(std::string(name), value);
}

std::string SettingsFile::Format() const
{
    // Top-level values first, then one block per section in order of first appearance.
    std::vector<std::string> sections;
    std::string top;
    std::map<std::string, std::string> bodies;
    for (const auto& [name, value] : m_values) {
        const std::string number = value >= 0x80000000u ? std::to_string(int32_t(value)) : std::to_string(value);
        const size_t slash = name.rfind('\\');
        if (slash == std::string::npos) {
            top += name + "=" + number + "\n";
            continue;
        }
        const std::string section = name.substr(0, slash);
        if (!bodies.count(section))
            sections.push_back(section);
        bodies[section] += name.substr(slash + 1) + "=" + number + "\n";
    }
    std::string out = top;
    for (const std::string& section : sections)
        out += (out.empty() ? "[" : "\n[") + section + "]\n" + bodies[section];
    return out;
}

WriteResult SettingsFile::Save() const
{
    const size_t slash = m_path.rfind('/');
    if (slash != std::string::npos && slash > 0 && !MakeDirs(m_path.substr(0, slash)))
        return {false, "cannot create the folder of " + m_path};
    return WriteFileAtomically(m_path, Format());
}

} // namespace Plat
