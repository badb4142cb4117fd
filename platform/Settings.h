// The settings file that stands in for the registry: "Name=value" lines of 32-bit numbers. A value
// name with a backslash ("Sub\Name") lives in a "[Sub]" section. Names match case-insensitively,
// as registry value names do. A damaged file never stops the program: what cannot be read is
// skipped, and values this program does not know are kept when the file is written back.
#pragma once

#include "platform/Files.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace Plat {

// ConfigDir() + "/settings.ini".
std::string SettingsPath();

class SettingsFile {
public:
    explicit SettingsFile(std::string path) : m_path(std::move(path)) {}

    // Replaces the values with the file's; a missing or unreadable file leaves none.
    // Returns whether the file could be read.
    bool Load();
    // Parses settings text (what Load does with the file's contents).
    void Parse(std::string_view text);
    bool Get(std::string_view name, uint32_t& value) const;
    void Set(std::string_view name, uint32_t value);
    std::string Format() const;
    // Creates the folder if needed and replaces the file atomically.
    WriteResult Save() const;

    const std::string& Path() const { return m_path; }
    size_t Count() const { return m_values.size(); }

private:
    std::string m_path;
    std::vector<std::pair<std::string, uint32_t>> m_values; // in file order
};

} // namespace Plat
