// Ogg Vorbis through the archive layer and the decoder library.
#include "framework/sound/SoundFile.h"
#include "tests/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    (void)Vel::DecodeOggFile(Fuzz::WriteScratch(data, size, "fuzz.ogg"));
    return 0;
}
