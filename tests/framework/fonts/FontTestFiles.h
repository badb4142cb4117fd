// Small files written by the font and resource tests themselves: a scratch folder, text files
// and 32-bit TGA images (the simplest format the image loader reads).
#pragma once

#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace VelTest {

class ScratchDir {
public:
    ScratchDir()
    {
        static int counter = 0;
        m_path = std::filesystem::temp_directory_path() /
                 ("qv-fonts-" + std::to_string(getpid()) + "-" + std::to_string(counter++));
        std::filesystem::create_directories(m_path);
    }
    ~ScratchDir()
    {
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    std::string Path(const std::string& name) const { return (m_path / name).string(); }

    std::string WriteText(const std::string& name, const std::string& text) const
    {
        std::ofstream(Path(name), std::ios::binary) << text;
        return Path(name);
    }

    // Pixels are 0xAARRGGBB, row by row from the top.
    std::string WriteTga(const std::string& name, int width, int height, const std::vector<uint32_t>& pixels) const
    {
        std::vector<uint8_t> bytes(18, 0);
        bytes[2] = 2; // uncompressed true-colour
        bytes[12] = uint8_t(width);
        bytes[13] = uint8_t(width >> 8);
        bytes[14] = uint8_t(height);
        bytes[15] = uint8_t(height >> 8);
        bytes[16] = 32;
        bytes[17] = 0x28; // top-left origin, 8 alpha bits
        for (uint32_t p : pixels) {
            bytes.push_back(uint8_t(p));
            bytes.push_back(uint8_t(p >> 8));
            bytes.push_back(uint8_t(p >> 16));
            bytes.push_back(uint8_t(p >> 24));
        }
        std::ofstream(Path(name), std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                          std::streamsize(bytes.size()));
        return Path(name);
    }

private:
    std::filesystem::path m_path;
};

} // namespace VelTest
