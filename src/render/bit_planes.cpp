#include "render/bit_planes.h"

#include "render/byte_buffer.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <vector>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define LUMIVANT_HAVE_X86 1
#endif

static_assert(std::endian::native == std::endian::little,
              "plane words are stored in the host's byte order");

namespace planes {
namespace {

// A component lights its plane from 2 up: some bit above bit 0 is set.
constexpr std::uint32_t kRedLit = 0x00FE0000u;
constexpr std::uint32_t kGreenLit = 0x0000FE00u;
constexpr std::uint32_t kBlueLit = 0x000000FEu;

inline void StoreWord(std::uint8_t* at, std::uint32_t word)
{
    std::memcpy(at, &word, 4);
}

// Bits of `count` pixels (at most 32) starting at src.
inline void GatherScalar(const std::uint32_t* src, int count, std::uint32_t& r, std::uint32_t& g,
                         std::uint32_t& b)
{
    r = g = b = 0;
    for (int i = 0; i < count; ++i) {
        const std::uint32_t p = src[i];
        r |= static_cast<std::uint32_t>((p & kRedLit) != 0) << i;
        g |= static_cast<std::uint32_t>((p & kGreenLit) != 0) << i;
        b |= static_cast<std::uint32_t>((p & kBlueLit) != 0) << i;
    }
}

// One row of full 32-pixel words: words[w] for plane k is written at out[k] + 4w.
using RowKernel = void (*)(const std::uint32_t* src, int words, std::uint32_t flip,
                           std::uint8_t* red, std::uint8_t* green, std::uint8_t* blue);

void RowScalar(const std::uint32_t* src, int words, std::uint32_t flip, std::uint8_t* red,
               std::uint8_t* green, std::uint8_t* blue)
{
    for (int w = 0; w < words; ++w) {
        std::uint32_t r, g, b;
        GatherScalar(src + 32 * w, 32, r, g, b);
        StoreWord(red + 4 * w, r ^ flip);
        StoreWord(green + 4 * w, g ^ flip);
        StoreWord(blue + 4 * w, b ^ flip);
    }
}

#ifdef LUMIVANT_HAVE_X86
// 32 pixels per step: the bytes of each pixel are tested against 2 at once (a saturating
// add moves "2 or more" into the top bit), regrouped by component and transposed so that
// one byte mask per plane holds the 32 pixels in order.
__attribute__((target("avx2"))) void RowAvx2(const std::uint32_t* src, int words,
                                             std::uint32_t flip, std::uint8_t* red,
                                             std::uint8_t* green, std::uint8_t* blue)
{
    const __m256i bias = _mm256_set1_epi8(0x7E);
    const __m256i group = _mm256_setr_epi8(0, 4, 8, 12, 1, 5, 9, 13, 2, 6, 10, 14, 3, 7, 11, 15, 0,
                                           4, 8, 12, 1, 5, 9, 13, 2, 6, 10, 14, 3, 7, 11, 15);
    for (int w = 0; w < words; ++w) {
        const auto* p = reinterpret_cast<const __m128i*>(src + 32 * w);
        __m256i z[4];
        for (int k = 0; k < 4; ++k) {
            // Lane 0 holds pixels 4k to 4k+3, lane 1 pixels 16+4k to 16+4k+3.
            const __m256i pixels = _mm256_inserti128_si256(
                _mm256_castsi128_si256(_mm_loadu_si128(p + k)), _mm_loadu_si128(p + 4 + k), 1);
            z[k] = _mm256_shuffle_epi8(_mm256_adds_epu8(pixels, bias), group);
        }
        const __m256i t0 = _mm256_unpacklo_epi32(z[0], z[1]);
        const __m256i t1 = _mm256_unpackhi_epi32(z[0], z[1]);
        const __m256i t2 = _mm256_unpacklo_epi32(z[2], z[3]);
        const __m256i t3 = _mm256_unpackhi_epi32(z[2], z[3]);
        const auto b =
            static_cast<std::uint32_t>(_mm256_movemask_epi8(_mm256_unpacklo_epi64(t0, t2)));
        const auto g =
            static_cast<std::uint32_t>(_mm256_movemask_epi8(_mm256_unpackhi_epi64(t0, t2)));
        const auto r =
            static_cast<std::uint32_t>(_mm256_movemask_epi8(_mm256_unpacklo_epi64(t1, t3)));
        StoreWord(red + 4 * w, r ^ flip);
        StoreWord(green + 4 * w, g ^ flip);
        StoreWord(blue + 4 * w, b ^ flip);
    }
}

// 32 pixels per step with byte permutes: one permute gathers the red bytes of all 32 pixels
// next to their green bytes, another the blue bytes; one compare against 2 then yields the
// plane words as a 64-bit mask.
struct PermuteIndexes
{
    alignas(64) std::uint8_t redGreen[64];
    alignas(64) std::uint8_t blue[64];
    PermuteIndexes()
    {
        for (int j = 0; j < 32; ++j) {
            redGreen[j] = static_cast<std::uint8_t>(4 * j + 2);
            redGreen[32 + j] = static_cast<std::uint8_t>(4 * j + 1);
            blue[j] = static_cast<std::uint8_t>(4 * j);
            blue[32 + j] = static_cast<std::uint8_t>(4 * j + 3);
        }
    }
};
const PermuteIndexes g_permute;

__attribute__((target("avx512f,avx512bw,avx512vbmi"))) void
RowAvx512(const std::uint32_t* src, int words, std::uint32_t flip, std::uint8_t* red,
          std::uint8_t* green, std::uint8_t* blue)
{
    const __m512i two = _mm512_set1_epi8(2);
    const __m512i redGreen = _mm512_load_si512(g_permute.redGreen);
    const __m512i blueIndex = _mm512_load_si512(g_permute.blue);
    const std::uint64_t flip64 = flip ? ~0ull : 0ull;
    for (int w = 0; w < words; ++w) {
        const __m512i low = _mm512_loadu_si512(src + 32 * w);
        const __m512i high = _mm512_loadu_si512(src + 32 * w + 16);
        const std::uint64_t rg =
            _mm512_cmpge_epu8_mask(_mm512_permutex2var_epi8(low, redGreen, high), two) ^ flip64;
        const std::uint64_t b =
            _mm512_cmpge_epu8_mask(_mm512_permutex2var_epi8(low, blueIndex, high), two);
        StoreWord(red + 4 * w, static_cast<std::uint32_t>(rg));
        StoreWord(green + 4 * w, static_cast<std::uint32_t>(rg >> 32));
        StoreWord(blue + 4 * w, static_cast<std::uint32_t>(b) ^ flip);
    }
}

RowKernel ChooseKernel()
{
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx512bw") && __builtin_cpu_supports("avx512vbmi"))
        return RowAvx512;
    if (__builtin_cpu_supports("avx2"))
        return RowAvx2;
    return RowScalar;
}
#else
RowKernel ChooseKernel()
{
    return RowScalar;
}
#endif

// Chosen once, at start-up.
RowKernel g_rowKernel = ChooseKernel();

std::uint8_t* PlaneStart(std::uint8_t* out, int plane, std::size_t planeBytes)
{
    return out + static_cast<std::size_t>(plane) * planeBytes;
}

} // namespace

bool HasFastPath(const QImage& image)
{
    return image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_ARGB32;
}

bool UsesWideVectors()
{
    return g_rowKernel != RowScalar;
}

bool SelectVectorPath(VectorPath path)
{
    switch (path) {
    case VectorPath::Scalar:
        g_rowKernel = RowScalar;
        return true;
#ifdef LUMIVANT_HAVE_X86
    case VectorPath::Wide:
        if (!__builtin_cpu_supports("avx2"))
            return false;
        g_rowKernel = RowAvx2;
        return true;
    case VectorPath::Widest:
        if (!__builtin_cpu_supports("avx512bw") || !__builtin_cpu_supports("avx512vbmi"))
            return false;
        g_rowKernel = RowAvx512;
        return true;
#endif
    case VectorPath::Best:
        g_rowKernel = ChooseKernel();
        return true;
    default:
        return false;
    }
}

const char* VectorPathName()
{
#ifdef LUMIVANT_HAVE_X86
    if (g_rowKernel == RowAvx512)
        return "512-bit byte permutes";
    if (g_rowKernel == RowAvx2)
        return "256-bit";
#endif
    return "scalar";
}

void Pack(const QImage& image, int width, int height, int planeCount, bool litIsOne,
          std::uint8_t* out)
{
    if (width <= 0 || height <= 0 || planeCount <= 0)
        return;
    if (!image.isNull() && !HasFastPath(image)) {
        PackGeneric(image, width, height, planeCount, litIsOne, out);
        return;
    }
    planeCount = std::min(planeCount, 3);
    const std::size_t rowBytes = RowBytes(width);
    const std::size_t planeBytes = PlaneBytes(width, height);
    const std::uint32_t flip = litIsOne ? 0u : 0xFFFFFFFFu;
    const int imageRows = image.isNull() ? 0 : std::min(height, image.height());
    const int columns = image.isNull() ? 0 : std::min(width, image.width());
    const int fullWords = columns / 32;
    const int wordsPerRow = static_cast<int>(rowBytes / 4);
    // Planes that the page does not emit still get a scratch row, so that every row is
    // gathered in one pass.
    std::vector<std::uint8_t> scratch(planeCount < 3 && fullWords > 0 ? 2 * rowBytes : 0);

    for (int y = 0; y < height; ++y) {
        std::uint8_t* rows[3];
        for (int k = 0; k < 3; ++k) {
            if (k < planeCount)
                rows[k] = PlaneStart(out, k, planeBytes) + rowBytes * static_cast<std::size_t>(y);
            else
                rows[k] = nullptr;
        }
        if (y >= imageRows) {
            for (int k = 0; k < planeCount; ++k)
                std::memset(rows[k], litIsOne ? 0x00 : 0xFF, rowBytes);
            continue;
        }
        const auto* src = reinterpret_cast<const std::uint32_t*>(image.constScanLine(y));
        int done = 0;
        if (fullWords > 0) {
            std::uint8_t* red = rows[0];
            std::uint8_t* green = rows[1] ? rows[1] : scratch.data();
            std::uint8_t* blue = rows[2] ? rows[2] : scratch.data() + rowBytes;
            g_rowKernel(src, fullWords, flip, red, green, blue);
            done = fullWords;
        }
        for (int w = done; w < wordsPerRow; ++w) {
            const int first = 32 * w;
            const int count = std::clamp(columns - first, 0, 32);
            std::uint32_t bits[3] = {0, 0, 0};
            if (count > 0)
                GatherScalar(src + first, count, bits[0], bits[1], bits[2]);
            for (int k = 0; k < planeCount; ++k)
                StoreWord(rows[k] + 4 * w, bits[k] ^ flip);
        }
    }
}

void PackGeneric(const QImage& image, int width, int height, int planeCount, bool litIsOne,
                 std::uint8_t* out)
{
    if (width <= 0 || height <= 0 || planeCount <= 0)
        return;
    planeCount = std::min(planeCount, 3);
    const std::size_t rowBytes = RowBytes(width);
    const std::size_t planeBytes = PlaneBytes(width, height);
    const std::uint32_t flip = litIsOne ? 0u : 0xFFFFFFFFu;
    const int wordsPerRow = static_cast<int>(rowBytes / 4);
    for (int y = 0; y < height; ++y) {
        for (int w = 0; w < wordsPerRow; ++w) {
            std::uint32_t bits[3] = {0, 0, 0};
            for (int b = 0; b < 32; ++b) {
                const int x = 32 * w + b;
                if (x >= width || !image.valid(x, y))
                    continue;
                const QRgb pixel = image.pixel(x, y);
                if (qRed(pixel) >= 2)
                    bits[0] |= 1u << b;
                if (qGreen(pixel) >= 2)
                    bits[1] |= 1u << b;
                if (qBlue(pixel) >= 2)
                    bits[2] |= 1u << b;
            }
            for (int k = 0; k < planeCount; ++k)
                StoreWord(PlaneStart(out, k, planeBytes) + rowBytes * static_cast<std::size_t>(y) +
                              4 * static_cast<std::size_t>(w),
                          bits[k] ^ flip);
        }
    }
}

bool Append(const QImage& image, int width, int height, int planeCount, bool litIsOne,
            CByteBuffer& buffer)
{
    const std::size_t bytes = PlaneBytes(width, height) * static_cast<std::size_t>(planeCount);
    if (bytes == 0)
        return true;
    std::uint8_t* out = buffer.AppendSpace(bytes);
    if (!out)
        return false;
    Pack(image, width, height, planeCount, litIsOne, out);
    return true;
}

QImage Unpack(const std::uint8_t* data, int width, int height, int planeCount, bool litIsOne,
              bool* fillerClean)
{
    if (fillerClean)
        *fillerClean = true;
    if (width <= 0 || height <= 0)
        return {};
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(0xFF000000u);
    planeCount = std::clamp(planeCount, 1, 3);
    const std::size_t rowBytes = RowBytes(width);
    const std::size_t planeBytes = PlaneBytes(width, height);
    const std::uint32_t flip = litIsOne ? 0u : 0xFFFFFFFFu;
    static constexpr std::uint32_t kComponent[3] = {0x00FF0000u, 0x0000FF00u, 0x000000FFu};
    const int wordsPerRow = static_cast<int>(rowBytes / 4);
    for (int k = 0; k < planeCount; ++k) {
        for (int y = 0; y < height; ++y) {
            auto* dst = reinterpret_cast<std::uint32_t*>(image.scanLine(y));
            const std::uint8_t* row = data + planeBytes * static_cast<std::size_t>(k) +
                                      rowBytes * static_cast<std::size_t>(y);
            for (int w = 0; w < wordsPerRow; ++w) {
                std::uint32_t word;
                std::memcpy(&word, row + 4 * w, 4);
                word ^= flip;
                for (int b = 0; b < 32 && word; ++b) {
                    if (!(word & (1u << b)))
                        continue;
                    const int x = 32 * w + b;
                    if (x < width)
                        dst[x] |= kComponent[k];
                    else if (fillerClean)
                        *fillerClean = false;
                }
            }
        }
    }
    return image;
}

} // namespace planes
