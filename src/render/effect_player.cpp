#include "render/effect_player.h"

#include "render/bit_planes.h"
#include "render/random_source.h"

#include <algorithm>
#include <array>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

constexpr int kFirstRandomEffect = EffectMoveLeft;
constexpr int kLastRandomEffect = EffectFall;

// The ring patterns: 16 pixels repeated along the ring, bit 0 first.
constexpr std::array<std::uint16_t, CEffectPlayer::kBorderStyles> kRingPatterns = {
    0x00FF, 0x0F0F, 0x3333, 0x5555, 0x7FFF, 0x1111, 0x7777,
    0x03FF, 0x0707, 0x1F1F, 0x0101, 0x0E0E, 0xFFFF,
};

// Four pixels of one plane for every nibble of plane bits: the pixel values a lit channel
// contributes, so that three look-ups and two ORs give four finished pixels.
struct alignas(16) PixelQuad
{
    std::uint32_t pixel[4];
};

struct NibbleTables
{
    PixelQuad plane[3][16];
    NibbleTables()
    {
        const std::uint32_t channel[3] = {0x00FF0000u, 0x0000FF00u, 0x000000FFu};
        for (int p = 0; p < 3; ++p) {
            for (int nibble = 0; nibble < 16; ++nibble) {
                for (int i = 0; i < 4; ++i) {
                    std::uint32_t value = (nibble >> i) & 1 ? channel[p] : 0u;
                    if (p == 0)
                        value |= 0xFF000000u;
                    plane[p][nibble].pixel[i] = value;
                }
            }
        }
    }
};

const NibbleTables& Nibbles()
{
    static const NibbleTables tables;
    return tables;
}

// Writes `count` (at most 32) pixels of one word of each plane.
void UnpackWord(std::uint32_t r, std::uint32_t g, std::uint32_t b, std::uint32_t* out, int count)
{
    const NibbleTables& t = Nibbles();
    for (int n = 0; n * 4 < count; ++n) {
        const int shift = 4 * n;
        const PixelQuad& qr = t.plane[0][(r >> shift) & 15];
        const PixelQuad& qg = t.plane[1][(g >> shift) & 15];
        const PixelQuad& qb = t.plane[2][(b >> shift) & 15];
#if defined(__SSE2__)
        const __m128i quad =
            _mm_or_si128(_mm_or_si128(_mm_load_si128(reinterpret_cast<const __m128i*>(qr.pixel)),
                                      _mm_load_si128(reinterpret_cast<const __m128i*>(qg.pixel))),
                         _mm_load_si128(reinterpret_cast<const __m128i*>(qb.pixel)));
        if (shift + 4 <= count) {
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + shift), quad);
            continue;
        }
        PixelQuad tail;
        _mm_store_si128(reinterpret_cast<__m128i*>(tail.pixel), quad);
        for (int i = 0; shift + i < count; ++i)
            out[shift + i] = tail.pixel[i];
#else
        for (int i = 0; i < 4 && shift + i < count; ++i)
            out[shift + i] = qr.pixel[i] | qg.pixel[i] | qb.pixel[i];
#endif
    }
}

} // namespace

CEffectPlayer::CEffectPlayer(IRandomSource* random) : m_random(random) {}

int CEffectPlayer::RandomBelow(int limit)
{
    if (limit <= 1)
        return 0;
    IRandomSource& source = m_random ? *m_random : RandomSource();
    if (limit <= 32768)
        return source.Next() % limit;
    const int wide = (source.Next() << 15) | source.Next();
    return wide % limit;
}

int CEffectPlayer::StepCount(int effect, int width, int height, int planes)
{
    const std::int64_t w = std::max(width, 0);
    const std::int64_t h = std::max(height, 0);
    const std::int64_t stride = (w + 31) / 32 * 32;
    const std::int64_t p = planes >= 1 && planes <= 3 ? planes : 1;
    std::int64_t steps = 1;
    switch (effect) {
    case EffectContinuousMoveLeft:
    case EffectMoveLeft:
    case EffectMoveRight:
    case EffectLeftLaser:
    case EffectRightLaser:
    case EffectCoverFromLeft:
    case EffectCoverFromRight:
    case EffectHorizontalCrossMove:
    case EffectHorizontalCrossOpen:
        steps = w;
        break;
    case EffectMoveUp:
    case EffectMoveDown:
    case EffectTopLaser:
    case EffectBottomLaser:
    case EffectCoverFromTop:
    case EffectCoverFromBottom:
    case EffectVerticalCrossMove:
    case EffectVerticalCrossOpen:
        steps = h;
        break;
    case EffectWear:
        steps = p * stride * h / 32;
        break;
    case EffectRain:
    case EffectFountain:
        steps = 4 * h;
        break;
    case EffectFlash:
    case EffectReverseFlash:
        steps = 18;
        break;
    case EffectScrollOpen:
    case EffectScrollClose:
    case EffectHorizontalOpen:
    case EffectHorizontalClose:
        steps = w / 2;
        break;
    case EffectVerticalOpen:
    case EffectVerticalClose:
        steps = h / 2;
        break;
    case EffectStretchLeft:
    case EffectStretchRight:
        steps = 2 * w;
        break;
    case EffectStretchTop:
    case EffectStretchBottom:
        steps = 2 * h;
        break;
    case EffectFromLowerLeft:
    case EffectFromUpperLeft:
    case EffectFromLowerRight:
    case EffectFromUpperRight:
        steps = std::min(w, h);
        break;
    case EffectHorizontalShutter:
        steps = 32;
        break;
    case EffectVerticalShutter:
        steps = 8;
        break;
    case EffectMosaics:
        steps = w * h / 1024;
        break;
    case EffectDiamondOpen:
    case EffectDiamondClose:
        steps = (w + h) / 2;
        break;
    case EffectFall:
    case EffectTipsyShow:
        steps = w + h;
        break;
    default:
        steps = 1;
        break;
    }
    // An effect always takes at least the one step that shows the page.
    return static_cast<int>(std::clamp<std::int64_t>(steps, 1, 0x7FFFFFFF));
}

void CEffectPlayer::PageToPlanes(const QImage* page, int width, int height, int planes,
                                 std::vector<std::uint32_t>& set)
{
    const std::size_t words = planes::PlaneBytes(width, height) / 4 * planes;
    set.assign(words, 0u);
    if (!page || page->isNull() || words == 0)
        return;
    planes::Pack(*page, width, height, planes, true, reinterpret_cast<std::uint8_t*>(set.data()));
}

void CEffectPlayer::PlanesToImage(const std::vector<std::uint32_t>& set, int width, int height,
                                  int planes, QImage& image)
{
    WritePlanes(set, nullptr, width, height, planes, image);
}

void CEffectPlayer::WritePlanes(const std::vector<std::uint32_t>& set,
                                std::vector<std::uint32_t>* written, int width, int height,
                                int planes, QImage& image)
{
    const int rowWords = (width + 31) / 32;
    const int w = std::min(width, image.width());
    const int h = std::min(height, image.height());
    if (w <= 0 || h <= 0 || set.size() < static_cast<std::size_t>(planes) * height * rowWords)
        return;
    const bool fast = image.format() == QImage::Format_RGB32 ||
                      image.format() == QImage::Format_ARGB32 ||
                      image.format() == QImage::Format_ARGB32_Premultiplied;
    if (written && written->size() != set.size())
        written = nullptr;
    const std::size_t planeWords = static_cast<std::size_t>(height) * rowWords;
    for (int y = 0; y < h; ++y) {
        const std::size_t row = static_cast<std::size_t>(y) * rowWords;
        if (!fast) {
            for (int x = 0; x < w; ++x) {
                int rgb[3] = {0, 0, 0};
                for (int p = 0; p < planes; ++p)
                    rgb[p] = (set[p * planeWords + row + x / 32] >> (x & 31)) & 1u ? 255 : 0;
                image.setPixel(x, y, qRgb(rgb[0], rgb[1], rgb[2]));
            }
            continue;
        }
        auto* out = reinterpret_cast<std::uint32_t*>(image.scanLine(y));
        for (int word = 0; word < rowWords && word * 32 < w; ++word) {
            std::uint32_t bits[3] = {0, 0, 0};
            bool changed = written == nullptr;
            for (int p = 0; p < planes; ++p) {
                const std::size_t at = p * planeWords + row + word;
                bits[p] = set[at];
                if (written && (*written)[at] != bits[p]) {
                    (*written)[at] = bits[p];
                    changed = true;
                }
            }
            if (changed)
                UnpackWord(bits[0], bits[1], bits[2], out + word * 32, std::min(32, w - word * 32));
        }
    }
}

void CEffectPlayer::NormaliseBorder(const EffectBorder& border)
{
    m_border.on = border.on;
    const int colours = (1 << m_planes) - 1;
    m_border.colour = border.colour != 0 ? (border.colour & 7) : 1 + RandomBelow(colours);
    m_border.style =
        border.style >= 1 && border.style <= 12 ? border.style - 1 : RandomBelow(kBorderStyles);
    m_border.mode = border.mode >= 1 && border.mode <= 4 ? border.mode : 1 + RandomBelow(4);
    m_border.speed = border.speed > 0 ? std::min(border.speed, 255) : 2 + RandomBelow(8);
    m_borderDraws = 0;
}

bool CEffectPlayer::Load(QImage* output, const QImage* page, int effect, int planes, int width,
                         int height, const EffectBorder& border)
{
    m_loaded = false;
    m_output = nullptr;
    if (!output || output->isNull() || width <= 0 || height <= 0 ||
        static_cast<std::int64_t>(width) * height > kMaxPixels)
        return false;
    m_output = output;
    m_writtenValid = false;
    m_width = width;
    m_height = height;
    m_stride = (width + 31) / 32 * 32;
    m_rowWords = m_stride / 32;
    m_planes = planes >= 1 && planes <= 3 ? planes : 1;
    m_words = m_planes * m_height * m_rowWords;
    NormaliseBorder(border);
    m_current.assign(static_cast<std::size_t>(m_words), 0u);
    m_shown = m_current;
    m_before = m_current;
    m_rowA.assign(static_cast<std::size_t>(m_rowWords), 0u);
    m_rowB = m_rowA;
    m_loaded = true;
    LoadPage(page, effect);
    m_dirty = true;
    return true;
}

void CEffectPlayer::LoadPage(const QImage* page, int effect)
{
    if (!m_loaded)
        return;
    PageToPlanes(page, m_width, m_height, m_planes, m_target);
    StartEffect(effect);
}

void CEffectPlayer::RefreshTarget(const QImage* page)
{
    if (m_loaded)
        PageToPlanes(page, m_width, m_height, m_planes, m_target);
}

void CEffectPlayer::StartEffect(int effect)
{
    if (effect == EffectRandom)
        effect = kFirstRandomEffect + RandomBelow(kLastRandomEffect - kFirstRandomEffect + 1);
    if (effect < 0 || effect >= EffectTypeCount)
        effect = EffectDirect;
    m_effect = effect;
    m_step = 0;
    m_steps = StepCount(effect, m_width, m_height, m_planes);
    m_order.clear();
    m_orderDone = 0;
}

bool CEffectPlayer::Step()
{
    if (!m_loaded || !m_output || m_target.size() != static_cast<std::size_t>(m_words))
        return false;
    m_step = std::clamp(m_step, 0, m_steps - 1);
    if (m_step == 0)
        m_before = m_current;
    ApplyStep(m_step);
    if (m_step == m_steps - 1)
        m_current = m_target;
    std::memcpy(m_shown.data(), m_current.data(), m_current.size() * sizeof(std::uint32_t));
    if (m_border.on)
        DrawBorder();
    WriteOutput();
    ++m_step;
    return m_step < m_steps;
}

void CEffectPlayer::DrawBorderOnly()
{
    if (!m_loaded)
        return;
    if (m_border.on) {
        DrawBorder();
        m_dirty = true;
    }
    if (m_dirty)
        WriteOutput();
}

void CEffectPlayer::Clear()
{
    std::fill(m_current.begin(), m_current.end(), 0u);
    std::fill(m_shown.begin(), m_shown.end(), 0u);
    m_dirty = true;
}

void CEffectPlayer::WriteOutput()
{
    // Only the 32-pixel groups that changed since the last frame are drawn again.
    if (m_output) {
        if (!m_writtenValid || m_output->constBits() != m_writtenTo) {
            PlanesToImage(m_shown, m_width, m_height, m_planes, *m_output);
            m_written = m_shown;
            m_writtenTo = m_output->constBits();
            m_writtenValid = true;
        } else {
            WritePlanes(m_shown, &m_written, m_width, m_height, m_planes, *m_output);
        }
    }
    m_dirty = false;
}

void CEffectPlayer::DrawBorder()
{
    const int phase = m_borderDraws / std::max(m_border.speed, 1);
    ++m_borderDraws;
    const std::uint16_t pattern = kRingPatterns[static_cast<std::size_t>(m_border.style)];
    const auto lit = [&](int i) {
        switch (m_border.mode) {
        case 2:
            return ((pattern >> ((i + phase) & 15)) & 1) != 0;
        case 3:
            return (phase & 1) == 0 && ((pattern >> (i & 15)) & 1) != 0;
        case 4:
            return (((pattern >> (i & 15)) & 1) != 0) == ((phase & 1) == 0);
        default:
            return ((pattern >> ((i - phase) & 15)) & 1) != 0;
        }
    };
    for (int p = 0; p < m_planes; ++p) {
        if (((m_border.colour >> p) & 1) == 0)
            continue;
        int i = 0;
        // Clockwise from the top left corner: top row, right column, bottom row, left column.
        for (int x = 0; x < m_width; ++x)
            PutBit(Row(m_shown, p, 0), x, lit(i++));
        for (int y = 1; y < m_height; ++y)
            PutBit(Row(m_shown, p, y), m_width - 1, lit(i++));
        if (m_height > 1) {
            for (int x = m_width - 2; x >= 0; --x)
                PutBit(Row(m_shown, p, m_height - 1), x, lit(i++));
        }
        if (m_width > 1) {
            for (int y = m_height - 2; y >= 1; --y)
                PutBit(Row(m_shown, p, y), 0, lit(i++));
        }
    }
}

void CEffectPlayer::ApplyStep(int k)
{
    switch (m_effect) {
    case EffectContinuousMoveLeft:
    case EffectMoveLeft:
        return StepMoveLeft(k);
    case EffectMoveRight:
        return StepMoveRight(k);
    case EffectMoveUp:
        return StepMoveUp(k);
    case EffectMoveDown:
        return StepMoveDown(k);
    case EffectWear:
        return StepWear();
    case EffectRain:
        return StepRain(k);
    case EffectFountain:
        return StepFountain(k);
    case EffectFlash:
        return StepFlash(k);
    case EffectReverseFlash:
        return StepReverseFlash(k);
    case EffectScrollOpen:
    case EffectScrollClose:
        return StepScroll(k, m_effect == EffectScrollOpen);
    case EffectLeftLaser:
    case EffectRightLaser:
        return StepColumnLaser(k, m_effect == EffectLeftLaser);
    case EffectTopLaser:
    case EffectBottomLaser:
        return StepRowLaser(k, m_effect == EffectTopLaser);
    case EffectStretchLeft:
    case EffectStretchRight:
        return StepStretchColumns(k, m_effect == EffectStretchLeft);
    case EffectStretchTop:
    case EffectStretchBottom:
        return StepStretchRows(k, m_effect == EffectStretchTop);
    case EffectFromLowerLeft:
        return StepFromCorner(k, true, true);
    case EffectFromUpperLeft:
        return StepFromCorner(k, true, false);
    case EffectFromLowerRight:
        return StepFromCorner(k, false, true);
    case EffectFromUpperRight:
        return StepFromCorner(k, false, false);
    case EffectCoverFromLeft:
    case EffectCoverFromRight:
        return StepCoverColumns(k, m_effect == EffectCoverFromLeft);
    case EffectCoverFromTop:
    case EffectCoverFromBottom:
        return StepCoverRows(k, m_effect == EffectCoverFromTop);
    case EffectHorizontalOpen:
    case EffectHorizontalClose:
        return StepHorizontalDoors(k, m_effect == EffectHorizontalOpen);
    case EffectVerticalOpen:
    case EffectVerticalClose:
        return StepVerticalDoors(k, m_effect == EffectVerticalOpen);
    case EffectHorizontalShutter:
        return StepHorizontalShutter(k);
    case EffectVerticalShutter:
        return StepVerticalShutter(k);
    case EffectVerticalCrossMove:
    case EffectVerticalCrossOpen:
        return StepVerticalCross(k, m_effect == EffectVerticalCrossMove);
    case EffectHorizontalCrossMove:
    case EffectHorizontalCrossOpen:
        return StepHorizontalCross(k, m_effect == EffectHorizontalCrossMove);
    case EffectMosaics:
        return StepMosaics(k);
    case EffectDiamondOpen:
    case EffectDiamondClose:
        return StepDiamond(k, m_effect == EffectDiamondOpen);
    case EffectFall:
        return StepFall(k);
    case EffectTipsyShow:
        return StepTipsy(k);
    default:
        m_current = m_target;
        return;
    }
}
