// Font descriptions: the command language and every font command on whatever values it gets.
#include "framework/fonts/FontData.h"
#include "tests/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Vel::FontData font;
    (void)font.LoadText(std::string(reinterpret_cast<const char*>(data), size), "/nonexistent/fuzz/font.txt");
    return 0;
}
