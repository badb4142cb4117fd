// Font descriptions: the command language and every font command on whatever values it gets.
// The description sits beside a real glyph image ("glyphs.tga", 512 x 66) so that commands past
// the image's can run.
#include "framework/fonts/FontData.h"
#include "tests/fuzz/FuzzSupport.h"

#include <vector>

namespace {

std::string DescriptionPath()
{
    static const std::string path = [] {
        std::vector<uint8_t> tga(18 + 512 * 66 * 4, 0xFF);
        const uint8_t header[18] = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 66, 0, 32, 0x28};
        std::copy(header, header + 18, tga.begin());
        const std::string image = Fuzz::WriteScratch(tga.data(), tga.size(), "glyphs.tga");
        return image.substr(0, image.rfind('/') + 1) + "font.txt";
    }();
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Vel::FontData font;
    (void)font.LoadText(std::string(reinterpret_cast<const char*>(data), size), DescriptionPath());
    return 0;
}
