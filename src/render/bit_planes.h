#pragma once

#include <QImage>

#include <cstddef>
#include <cstdint>

class CByteBuffer;

// Colour planes of a page as the controller takes them: plane 1 red, plane 2 green, plane 3
// blue, each H rows from the top down, each row W rounded up to 32 pixels as little-endian
// 32-bit words, bit b of word w being column 32w + b. A pixel is lit in a plane when the
// matching 8-bit component is 2 or more. The filler columns past W are unlit. With the
// inverted data polarity every word, filler columns included, is inverted.
namespace planes {

// Bytes of one row and of one plane of a page of the given size.
constexpr std::size_t RowBytes(int width)
{
    return width <= 0 ? 0 : (static_cast<std::size_t>(width) + 31) / 32 * 4;
}
constexpr std::size_t PlaneBytes(int width, int height)
{
    return height <= 0 ? 0 : RowBytes(width) * static_cast<std::size_t>(height);
}

// Writes `planeCount` planes (1 to 3) of a width x height page one after another at out
// (planeCount x PlaneBytes bytes). Pixels outside the image read as unlit; image pixels
// outside the page are left out. litIsOne is false for the inverted data polarity.
// 32-bit images are read through their scan lines, all planes in one pass; other formats
// go through Generic, with the same result.
void Pack(const QImage& image, int width, int height, int planeCount, bool litIsOne,
          std::uint8_t* out);
// The same, reading one pixel at a time.
void PackGeneric(const QImage& image, int width, int height, int planeCount, bool litIsOne,
                 std::uint8_t* out);
// Appends the planes to the buffer; false when the buffer refused them.
bool Append(const QImage& image, int width, int height, int planeCount, bool litIsOne,
            CByteBuffer& buffer);

// Whether the fast path is taken for this image.
bool HasFastPath(const QImage& image);
// Whether the fast path uses the processor's 256-bit vector instructions.
bool UsesWideVectors();
const char* VectorPathName();
// Chooses the row kernel (the best one the processor has is chosen at start-up); false when
// the processor lacks it. For tests and measurements.
enum class VectorPath { Best, Scalar, Wide, Widest };
bool SelectVectorPath(VectorPath path);

// Turns planes back into a picture (each component 0 or 255; planes past planeCount are
// dark). fillerClean, when given, is set to false when a filler bit reads as lit.
QImage Unpack(const std::uint8_t* data, int width, int height, int planeCount, bool litIsOne,
              bool* fillerClean = nullptr);

} // namespace planes
