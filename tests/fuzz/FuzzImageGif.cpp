// The Gif reader: decoded pixels match the dimensions it reports.
#include "framework/graphics/ImageLoader.h"
#include "tests/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::optional<Vel::ImageData> image = Vel::DecodeGif(data, size);
    if (image && (image->width <= 0 || image->height <= 0
                  || image->bits.size() != size_t(image->width) * size_t(image->height)))
        __builtin_trap();
    return 0;
}
