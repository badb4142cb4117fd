// Image files as the game opens them: through the archive layer, chosen by extension (PNG read
// as a stream), and with the alpha-image search, where the input is both the image and its
// "_" alpha image. The first byte picks the extension.
#include "framework/graphics/ImageLoader.h"
#include "tests/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    static const char* const kNames[] = {"fuzz.png", "fuzz.jpg", "fuzz.gif", "fuzz.tga", "fuzz"};
    const char* name = kNames[data[0] % 5];
    const std::string path = Fuzz::WriteScratch(data + 1, size - 1, name);
    Fuzz::WriteScratch(data + 1, size - 1, (std::string("_") + name).c_str());
    const std::optional<Vel::ImageData> image = Vel::LoadImageFile(path, data[0] & 0x80);
    if (image && image->bits.size() != size_t(image->width) * size_t(image->height))
        __builtin_trap();
    return 0;
}
