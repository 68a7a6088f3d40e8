// Colour as four 0..255 channels; made from three channels it is opaque, and the default is opaque black.
#pragma once

#include <cstdint>

namespace Zestra
{

struct Color
{
    int mRed = 0;
    int mGreen = 0;
    int mBlue = 0;
    int mAlpha = 255;

    constexpr Color() = default;
    constexpr Color(int red, int green, int blue) : mRed(red), mGreen(green), mBlue(blue) {}
    constexpr Color(int red, int green, int blue, int alpha) : mRed(red), mGreen(green), mBlue(blue), mAlpha(alpha) {}

    // 0xAARRGGBB, the pixel layout of every image.
    static constexpr Color FromArgb(uint32_t argb)
    {
        return Color(int((argb >> 16) & 0xFF), int((argb >> 8) & 0xFF), int(argb & 0xFF), int(argb >> 24));
    }
    constexpr uint32_t ToArgb() const
    {
        return (uint32_t(mAlpha & 0xFF) << 24) | (uint32_t(mRed & 0xFF) << 16) | (uint32_t(mGreen & 0xFF) << 8) |
               uint32_t(mBlue & 0xFF);
    }

    constexpr bool operator==(const Color&) const = default;

    static const Color Black;
    static const Color White;
};

inline constexpr Color Color::Black{0, 0, 0};
inline constexpr Color Color::White{255, 255, 255};

} // namespace Zestra
