// A private temporary folder for one test, used as the game's data home (QUORVANE_HOME) so
// the error log and the player file land there; removed with everything in it afterwards.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

class ScratchDir {
public:
    ScratchDir()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "qv-gamecore-XXXXXX").string();
        m_path = ::mkdtemp(pattern.data());
        if (const char* old = std::getenv("QUORVANE_HOME"))
            m_oldHome = old, m_hadHome = true;
        ::setenv("QUORVANE_HOME", m_path.c_str(), 1);
    }
    ~ScratchDir()
    {
        if (m_hadHome)
            ::setenv("QUORVANE_HOME", m_oldHome.c_str(), 1);
        else
            ::unsetenv("QUORVANE_HOME");
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::filesystem::path& Path() const { return m_path; }
    std::string File(const std::string& name) const { return (m_path / name).string(); }

    // Writes `bytes` exactly (binary, no line-end translation); returns the file's path.
    std::string Write(const std::string& name, std::string_view bytes) const
    {
        const std::filesystem::path path = m_path / name;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
        return path.string();
    }

    static std::string Read(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

private:
    std::filesystem::path m_path;
    std::string m_oldHome;
    bool m_hadHome = false;
};
