#pragma once

#include <QString>

#include <cstdint>

// Colour-keying parameters of an image source (program borders, image zones, pictures
// inside rich text). The first value's use depends on the owner.
struct ImageKeyParams
{
    static constexpr int kPathCapacity = 260;

    std::int32_t extra = 0;
    std::uint32_t keyColour = 0xFAFAFA; // 0x00BBGGRR
    std::int32_t tolerance = 5;
    std::int32_t pixelLimit = 10;
    QString sourcePath;
};
