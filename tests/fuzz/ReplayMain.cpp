// Runs a fuzz target over files and folders of inputs without libFuzzer, so every build replays
// the corpora (and the sanitizer build replays them under its checks), then over the inputs
// every reader must survive whatever its format: nothing, one byte, and 10 MiB of zeros and of
// noise.
#include "tests/fuzz/FuzzSupport.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <random>
#include <vector>

namespace fs = std::filesystem;

int main(int argc, char** argv)
{
    std::vector<fs::path> inputs;
    for (int i = 1; i < argc; ++i) {
        const fs::path arg = argv[i];
        if (fs::is_directory(arg)) {
            for (const auto& entry : fs::recursive_directory_iterator(arg))
                if (entry.is_regular_file())
                    inputs.push_back(entry.path());
        } else {
            inputs.push_back(arg);
        }
    }
    std::sort(inputs.begin(), inputs.end());
    if (inputs.empty()) {
        std::cerr << "no inputs\n";
        return 2;
    }
    for (const fs::path& path : inputs) {
        std::ifstream in(path, std::ios::binary);
        const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), {});
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    }

    std::vector<uint8_t> bad;
    LLVMFuzzerTestOneInput(bad.data(), 0);
    for (const uint8_t one : {uint8_t(0), uint8_t(1), uint8_t('<'), uint8_t(0xFF)})
        LLVMFuzzerTestOneInput(&one, 1);
    bad.assign(size_t(10) << 20, 0);
    LLVMFuzzerTestOneInput(bad.data(), bad.size());
    std::mt19937 noise(20261210);
    for (uint8_t& b : bad)
        b = uint8_t(noise());
    LLVMFuzzerTestOneInput(bad.data(), bad.size());
    std::cout << "replayed " << inputs.size() << " inputs and 7 standard bad ones\n";
    return 0;
}
