// A colour value: red, green, blue and alpha, 0..255 each.
#pragma once

#include <cstdint>

namespace Vel {

struct Color {
    int red = 0;
    int green = 0;
    int blue = 0;
    int alpha = 255;

    constexpr Color() = default;
    constexpr Color(int r, int g, int b, int a = 255) : red(r), green(g), blue(b), alpha(a) {}
    // From packed 0xAARRGGBB; a value below 0x1000000 has no alpha byte and is opaque.
    static constexpr Color FromPacked(uint32_t argb)
    {
        const int a = argb < 0x1000000u ? 255 : int(argb >> 24);
        return Color(int((argb >> 16) & 0xFF), int((argb >> 8) & 0xFF), int(argb & 0xFF), a);
    }
    constexpr uint32_t ToPacked() const
    {
        return uint32_t(alpha) << 24 | uint32_t(red) << 16 | uint32_t(green) << 8 | uint32_t(blue);
    }
    constexpr bool operator==(const Color&) const = default;

    static constexpr Color White() { return Color(255, 255, 255, 255); }
    static constexpr Color Black() { return Color(0, 0, 0, 255); }
};

} // namespace Vel
