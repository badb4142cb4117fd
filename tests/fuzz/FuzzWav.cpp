// The RIFF wave and sound-cache reader.
#include "framework/sound/SoundFile.h"
#include "tests/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    (void)Vel::ReadWaveFile(std::vector<uint8_t>(data, data + size));
    return 0;
}
