// The steps of the entry effects. Each works on whole 32-bit words where it can: a row is
// moved by shifting words, a region is a mask of columns blended between the page coming in
// and what the window showed before.
#include "render/effect_player.h"

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <cstring>

namespace {

constexpr std::uint32_t kEvenColumns = 0x55555555u;

} // namespace

void CEffectPlayer::ShiftedRow(const std::uint32_t* source, int shift, std::uint32_t* out) const
{
    const auto word = [&](int index) -> std::uint32_t {
        return index >= 0 && index < m_rowWords ? source[index] : 0u;
    };
    for (int w = 0; w < m_rowWords; ++w) {
        const int start = 32 * w - shift;
        if (start >= m_stride || start <= -32) {
            out[w] = 0;
            continue;
        }
        const int first = start >> 5;
        const int offset = start & 31;
        out[w] = offset == 0 ? word(first)
                             : (word(first) >> offset) | (word(first + 1) << (32 - offset));
    }
    ClearFiller(out);
}

void CEffectPlayer::SetColumns(std::uint32_t* mask, int from, int to) const
{
    from = std::max(from, 0);
    to = std::min(to, m_width);
    for (int x = from; x < to;) {
        const int bit = x & 31;
        const int count = std::min(32 - bit, to - x);
        const std::uint32_t bits = count == 32 ? ~0u : ((1u << count) - 1u) << bit;
        mask[x >> 5] |= bits;
        x += count;
    }
}

void CEffectPlayer::BlendRow(std::uint32_t* out, const std::uint32_t* in, const std::uint32_t* rest,
                             const std::uint32_t* mask) const
{
    for (int w = 0; w < m_rowWords; ++w)
        out[w] = (in[w] & mask[w]) | (rest[w] & ~mask[w]);
}

void CEffectPlayer::CopyRow(std::uint32_t* out, const std::uint32_t* in) const
{
    std::memcpy(out, in, static_cast<std::size_t>(m_rowWords) * sizeof(std::uint32_t));
}

void CEffectPlayer::ClearFiller(std::uint32_t* row) const
{
    if (m_width % 32 != 0)
        row[m_rowWords - 1] &= (1u << (m_width % 32)) - 1u;
}

void CEffectPlayer::StepMoveLeft(int k)
{
    for (int p = 0; p < m_planes; ++p) {
        for (int y = 0; y < m_height; ++y) {
            std::uint32_t* row = Row(m_current, p, y);
            for (int w = 0; w < m_rowWords; ++w)
                row[w] = (row[w] >> 1) | (w + 1 < m_rowWords ? row[w + 1] << 31 : 0u);
            PutBit(row, m_width - 1, Bit(Row(m_target, p, y), k));
        }
    }
}

void CEffectPlayer::StepMoveRight(int k)
{
    for (int p = 0; p < m_planes; ++p) {
        for (int y = 0; y < m_height; ++y) {
            std::uint32_t* row = Row(m_current, p, y);
            for (int w = m_rowWords - 1; w >= 0; --w)
                row[w] = (row[w] << 1) | (w > 0 ? row[w - 1] >> 31 : 0u);
            ClearFiller(row);
            PutBit(row, 0, Bit(Row(m_target, p, y), m_width - 1 - k));
        }
    }
}

void CEffectPlayer::StepMoveUp(int k)
{
    const std::size_t rowBytes = static_cast<std::size_t>(m_rowWords) * sizeof(std::uint32_t);
    for (int p = 0; p < m_planes; ++p) {
        std::memmove(Row(m_current, p, 0), Row(m_current, p, 0) + m_rowWords,
                     rowBytes * static_cast<std::size_t>(m_height - 1));
        CopyRow(Row(m_current, p, m_height - 1), Row(m_target, p, k));
    }
}

void CEffectPlayer::StepMoveDown(int k)
{
    const std::size_t rowBytes = static_cast<std::size_t>(m_rowWords) * sizeof(std::uint32_t);
    for (int p = 0; p < m_planes; ++p) {
        std::memmove(Row(m_current, p, 0) + m_rowWords, Row(m_current, p, 0),
                     rowBytes * static_cast<std::size_t>(m_height - 1));
        CopyRow(Row(m_current, p, 0), Row(m_target, p, m_height - 1 - k));
    }
}

void CEffectPlayer::StepWear()
{
    // Every word once, in an order shuffled when the page starts.
    if (m_order.empty()) {
        m_order.resize(static_cast<std::size_t>(m_words));
        for (int i = 0; i < m_words; ++i)
            m_order[static_cast<std::size_t>(i)] = i;
        for (int i = m_words - 1; i > 0; --i)
            std::swap(m_order[static_cast<std::size_t>(i)],
                      m_order[static_cast<std::size_t>(RandomBelow(i + 1))]);
    }
    while (m_orderDone < m_order.size()) {
        const auto index = static_cast<std::size_t>(m_order[m_orderDone++]);
        if (m_current[index] != m_target[index]) {
            m_current[index] = m_target[index];
            return;
        }
    }
}

namespace {

// One lit pixel, chosen at random, of every byte of the word that has any.
template <typename Random> std::uint32_t RainDrops(std::uint32_t word, Random&& below)
{
    std::uint32_t drops = 0;
    for (int byte = 0; byte < 4; ++byte) {
        std::uint32_t bits = (word >> (8 * byte)) & 0xFFu;
        if (bits == 0)
            continue;
        for (int skip = below(std::popcount(bits)); skip > 0; --skip)
            bits &= bits - 1;
        drops |= (bits & (~bits + 1)) << (8 * byte);
    }
    return drops;
}

} // namespace

void CEffectPlayer::StepRain(int k)
{
    const std::size_t rowBytes = static_cast<std::size_t>(m_rowWords) * sizeof(std::uint32_t);
    const auto below = [this](int limit) { return RandomBelow(limit); };
    for (int p = 0; p < m_planes; ++p) {
        std::memmove(Row(m_current, p, 0) + m_rowWords, Row(m_current, p, 0),
                     rowBytes * static_cast<std::size_t>(m_height - 1));
        std::uint32_t* first = Row(m_current, p, 0);
        const std::uint32_t* source = Row(m_target, p, m_height - 1 - k / 4);
        for (int w = 0; w < m_rowWords; ++w)
            first[w] = k % 4 == 0 ? RainDrops(source[w], below) : 0u;
        if (k >= m_height - 1) {
            const int settled = std::min((k - m_height + 1) / 3 + 1, m_height);
            for (int y = m_height - settled; y < m_height; ++y)
                CopyRow(Row(m_current, p, y), Row(m_target, p, y));
        }
    }
}

void CEffectPlayer::StepFountain(int k)
{
    const std::size_t rowBytes = static_cast<std::size_t>(m_rowWords) * sizeof(std::uint32_t);
    const auto below = [this](int limit) { return RandomBelow(limit); };
    for (int p = 0; p < m_planes; ++p) {
        std::memmove(Row(m_current, p, 0), Row(m_current, p, 0) + m_rowWords,
                     rowBytes * static_cast<std::size_t>(m_height - 1));
        std::uint32_t* last = Row(m_current, p, m_height - 1);
        const std::uint32_t* source = Row(m_target, p, std::min(k / 4, m_height - 1));
        for (int w = 0; w < m_rowWords; ++w)
            last[w] = k % 4 == 0 ? RainDrops(source[w], below) : 0u;
        if (k >= m_height - 1) {
            const int settled = std::min((k - m_height + 1) / 3, m_height);
            for (int y = 0; y < settled; ++y)
                CopyRow(Row(m_current, p, y), Row(m_target, p, y));
        }
    }
}

void CEffectPlayer::StepFlash(int k)
{
    if (k & 2)
        std::fill(m_current.begin(), m_current.end(), 0u);
    else
        m_current = m_target;
}

void CEffectPlayer::StepReverseFlash(int k)
{
    if (k == 0)
        m_current = m_target;
    if ((k & 2) == 0)
        return;
    for (std::uint32_t& word : m_current)
        word = ~word;
    // The columns past the width stay dark.
    for (int p = 0; p < m_planes; ++p) {
        for (int y = 0; y < m_height; ++y)
            ClearFiller(Row(m_current, p, y));
    }
}

void CEffectPlayer::StepScroll(int k, bool open)
{
    const int reach = k + 1;
    const int centre = m_width / 2;
    std::uint32_t* mask = m_rowA.data();
    std::fill(m_rowA.begin(), m_rowA.end(), 0u);
    int rollers[2];
    if (open) {
        SetColumns(mask, centre - reach, centre + reach);
        rollers[0] = centre - reach - 1;
        rollers[1] = centre + reach;
    } else {
        SetColumns(mask, 0, reach);
        SetColumns(mask, m_width - reach, m_width);
        rollers[0] = reach;
        rollers[1] = m_width - reach - 1;
    }
    for (int p = 0; p < m_planes; ++p) {
        for (int y = 0; y < m_height; ++y) {
            std::uint32_t* out = Row(m_current, p, y);
            BlendRow(out, Row(m_target, p, y), Row(m_before, p, y), mask);
            for (int roller : rollers) {
                if (roller >= 0 && roller < m_width && !Bit(mask, roller))
                    PutBit(out, roller, true);
            }
        }
    }
}

void CEffectPlayer::StepColumnLaser(int k, bool fromLeft)
{
    // Columns up to the beam show the page; every lit pixel of the beam's column shoots a
    // line to the far edge over what was there before.
    const int beam = fromLeft ? k : m_width - 1 - k;
    std::uint32_t* mask = m_rowA.data();
    std::uint32_t* rays = m_rowB.data();
    std::fill(m_rowA.begin(), m_rowA.end(), 0u);
    std::fill(m_rowB.begin(), m_rowB.end(), 0u);
    if (fromLeft) {
        SetColumns(mask, 0, beam + 1);
        SetColumns(rays, beam + 1, m_width);
    } else {
        SetColumns(mask, beam, m_width);
        SetColumns(rays, 0, beam);
    }
    for (int p = 0; p < m_planes; ++p) {
        for (int y = 0; y < m_height; ++y) {
            std::uint32_t* out = Row(m_current, p, y);
            const std::uint32_t* in = Row(m_target, p, y);
            BlendRow(out, in, Row(m_before, p, y), mask);
            if (Bit(in, beam)) {
                for (int w = 0; w < m_rowWords; ++w)
                    out[w] |= rays[w];
            }
        }
    }
}

void CEffectPlayer::StepRowLaser(int k, bool fromTop)
{
    const int beam = fromTop ? k : m_height - 1 - k;
    for (int p = 0; p < m_planes; ++p) {
        const std::uint32_t* beamRow = Row(m_target, p, beam);
        for (int y = 0; y < m_height; ++y) {
            std::uint32_t* out = Row(m_current, p, y);
            const bool shown = fromTop ? y <= beam : y >= beam;
            if (shown) {
                CopyRow(out, Row(m_target, p, y));
                continue;
            }
            const std::uint32_t* before = Row(m_before, p, y);
            for (int w = 0; w < m_rowWords; ++w)
                out[w] = before[w] | beamRow[w];
        }
    }
}

void CEffectPlayer::StepStretchColumns(int k, bool toLeft)
{
    // The whole page squeezed into a band that widens from one edge.
    const int band = std::min(m_width, (k + 2) / 2);
    const int start = toLeft ? m_width - band : 0;
    m_columnMap.resize(static_cast<std::size_t>(band));
    for (int j = 0; j < band; ++j)
        m_columnMap[static_cast<std::size_t>(j)] =
            static_cast<int>(static_cast<std::int64_t>(j) * m_width / band);
    std::uint32_t* mask = m_rowA.data();
    std::fill(m_rowA.begin(), m_rowA.end(), 0u);
    SetColumns(mask, start, start + band);
    for (int p = 0; p < m_planes; ++p) {
        for (int y = 0; y < m_height; ++y) {
            std::uint32_t* out = Row(m_current, p, y);
            const std::uint32_t* in = Row(m_target, p, y);
            const std::uint32_t* before = Row(m_before, p, y);
            for (int w = 0; w < m_rowWords; ++w)
                out[w] = before[w] & ~mask[w];
            for (int j = 0; j < band; ++j) {
                if (Bit(in, m_columnMap[static_cast<std::size_t>(j)]))
                    out[(start + j) >> 5] |= 1u << ((start + j) & 31);
            }
        }
    }
}

void CEffectPlayer::StepStretchRows(int k, bool toTop)
{
    const int band = std::min(m_height, (k + 2) / 2);
    const int start = toTop ? m_height - band : 0;
    for (int p = 0; p < m_planes; ++p) {
        for (int y = 0; y < m_height; ++y) {
            const bool inBand = y >= start && y < start + band;
            const int source =
                inBand ? static_cast<int>(static_cast<std::int64_t>(y - start) * m_height / band)
                       : y;
            CopyRow(Row(m_current, p, y), inBand ? Row(m_target, p, source) : Row(m_before, p, y));
        }
    }
}

void CEffectPlayer::StepFromCorner(int k, bool left, bool lower)
{
    // The page slides in diagonally from the corner over what was there.
    const auto reach = [&](int size) {
        return static_cast<int>(static_cast<std::int64_t>(k + 1) * size / m_steps);
    };
    const int across = reach(m_width);
    const int down = reach(m_height);
    const int shift = left ? -(m_width - across) : m_width - across;
    std::uint32_t* mask = m_rowA.data();
    std::uint32_t* moved = m_rowB.data();
    std::fill(m_rowA.begin(), m_rowA.end(), 0u);
    if (left)
        SetColumns(mask, 0, across);
    else
        SetColumns(mask, m_width - across, m_width);
    const int firstRow = lower ? m_height - down : 0;
    const int rowShift = lower ? m_height - down : -(m_height - down);
    for (int p = 0; p < m_planes; ++p) {
        for (int y = 0; y < m_height; ++y) {
            std::uint32_t* out = Row(m_current, p, y);
            const std::uint32_t* before = Row(m_before, p, y);
            if (y < firstRow || y >= firstRow + down) {
                CopyRow(out, before);
                continue;
            }
            ShiftedRow(Row(m_target, p, y - rowShift), shift, moved);
            BlendRow(out, moved, before, mask);
        }
    }
}

void CEffectPlayer::StepCoverColumns(int k, bool fromLeft)
{
    const int entered = k + 1;
    const int shift = fromLeft ? -(m_width - entered) : m_width - entered;
    std::uint32_t* mask = m_rowA.data();
    std::uint32_t* moved = m_rowB.data();
    std::fill(m_rowA.begin(), m_rowA.end(), 0u);
    if (fromLeft)
        SetColumns(mask, 0, entered);
    else
        SetColumns(mask, m_width - entered, m_width);
    for (int p = 0; p < m_planes; ++p) {
        for (int y = 0; y < m_height; ++y) {
            ShiftedRow(Row(m_target, p, y), shift, moved);
            BlendRow(Row(m_current, p, y), moved, Row(m_before, p, y), mask);
        }
    }
}

void CEffectPlayer::StepCoverRows(int k, bool fromTop)
{
    const int entered = k + 1;
    for (int p = 0; p < m_planes; ++p) {
        for (int y = 0; y < m_height; ++y) {
            std::uint32_t* out = Row(m_current, p, y);
            if (fromTop && y < entered)
                CopyRow(out, Row(m_target, p, y + m_height - entered));
            else if (!fromTop && y >= m_height - entered)
                CopyRow(out, Row(m_target, p, y - (m_height - entered)));
            else
                CopyRow(out, Row(m_before, p, y));
        }
    }
}

void CEffectPlayer::StepHorizontalDoors(int k, bool open)
{
    // Open: the old page parts in the middle and slides out to both sides while the new one
    // shows between. Close: the two halves of the new page slide in from the sides.
    const int reach = k + 1;
    const int centre = m_width / 2;
    std::vector<std::uint32_t> masks(static_cast<std::size_t>(m_rowWords) * 3, 0u);
    std::uint32_t* leftMask = masks.data();
    std::uint32_t* rightMask = leftMask + m_rowWords;
    std::uint32_t* middleMask = rightMask + m_rowWords;
    if (open) {
        SetColumns(leftMask, 0, centre - reach);
        SetColumns(rightMask, centre + reach, m_width);
        SetColumns(middleMask, centre - reach, centre + reach);
    } else {
        SetColumns(leftMask, 0, reach);
        SetColumns(rightMask, m_width - reach, m_width);
        SetColumns(middleMask, reach, m_width - reach);
    }
    std::uint32_t* leftRow = m_rowA.data();
    std::uint32_t* rightRow = m_rowB.data();
    for (int p = 0; p < m_planes; ++p) {
        for (int y = 0; y < m_height; ++y) {
            const std::uint32_t* in = Row(m_target, p, y);
            const std::uint32_t* before = Row(m_before, p, y);
            const std::uint32_t* middle = open ? in : before;
            if (open) {
                ShiftedRow(before, -reach, leftRow);
                ShiftedRow(before, reach, rightRow);
            } else {
                ShiftedRow(in, -(centre - reach), leftRow);
                ShiftedRow(in, m_width - reach - centre, rightRow);
            }
            std::uint32_t* out = Row(m_current, p, y);
            for (int w = 0; w < m_rowWords; ++w)
                out[w] = (leftRow[w] & leftMask[w]) | (rightRow[w] & rightMask[w]) |
                         (middle[w] & middleMask[w]);
        }
    }
}

void CEffectPlayer::StepVerticalDoors(int k, bool open)
{
    const int centre = m_height / 2;
    // Closing halves never reach past the middle: on a window one row high there is no half
    // to slide, and the last step shows the page.
    const int reach = open ? k + 1 : std::min(k + 1, centre);
    for (int p = 0; p < m_planes; ++p) {
        for (int y = 0; y < m_height; ++y) {
            const std::uint32_t* source;
            if (open) {
                if (y < centre - reach)
                    source = Row(m_before, p, y + reach);
                else if (y >= centre + reach)
                    source = Row(m_before, p, y - reach);
                else
                    source = Row(m_target, p, y);
            } else {
                if (y < reach)
                    source = Row(m_target, p, y + centre - reach);
                else if (y >= m_height - reach)
                    source = Row(m_target, p, y - (m_height - reach) + centre);
                else
                    source = Row(m_before, p, y);
            }
            CopyRow(Row(m_current, p, y), source);
        }
    }
}

void CEffectPlayer::StepHorizontalShutter(int k)
{
    // Slats 32 pixels wide, each opening one column per step.
    const std::uint32_t mask = k >= 31 ? ~0u : (2u << k) - 1u;
    for (std::size_t i = 0; i < m_current.size(); ++i)
        m_current[i] = (m_target[i] & mask) | (m_before[i] & ~mask);
}

void CEffectPlayer::StepVerticalShutter(int k)
{
    for (int p = 0; p < m_planes; ++p) {
        for (int y = 0; y < m_height; ++y)
            CopyRow(Row(m_current, p, y), y % 8 <= k ? Row(m_target, p, y) : Row(m_before, p, y));
    }
}

void CEffectPlayer::StepVerticalCross(int k, bool move)
{
    // Even columns come from the top, odd columns from the bottom.
    const int entered = k + 1;
    for (int p = 0; p < m_planes; ++p) {
        for (int y = 0; y < m_height; ++y) {
            std::uint32_t* out = Row(m_current, p, y);
            CopyRow(out, Row(m_before, p, y));
            if (y < entered) {
                const std::uint32_t* in = Row(m_target, p, move ? y + m_height - entered : y);
                for (int w = 0; w < m_rowWords; ++w)
                    out[w] = (out[w] & ~kEvenColumns) | (in[w] & kEvenColumns);
            }
            if (y >= m_height - entered) {
                const std::uint32_t* in = Row(m_target, p, move ? y - (m_height - entered) : y);
                for (int w = 0; w < m_rowWords; ++w)
                    out[w] = (out[w] & kEvenColumns) | (in[w] & ~kEvenColumns);
            }
            ClearFiller(out);
        }
    }
}

void CEffectPlayer::StepHorizontalCross(int k, bool move)
{
    // Even rows come from the left, odd rows from the right.
    const int entered = k + 1;
    std::vector<std::uint32_t> masks(static_cast<std::size_t>(m_rowWords) * 2, 0u);
    std::uint32_t* leftMask = masks.data();
    std::uint32_t* rightMask = leftMask + m_rowWords;
    SetColumns(leftMask, 0, entered);
    SetColumns(rightMask, m_width - entered, m_width);
    std::uint32_t* moved = m_rowA.data();
    for (int p = 0; p < m_planes; ++p) {
        for (int y = 0; y < m_height; ++y) {
            const bool even = y % 2 == 0;
            const std::uint32_t* in = Row(m_target, p, y);
            if (move) {
                ShiftedRow(in, even ? -(m_width - entered) : m_width - entered, moved);
                in = moved;
            }
            BlendRow(Row(m_current, p, y), in, Row(m_before, p, y), even ? leftMask : rightMask);
        }
    }
}

void CEffectPlayer::StepMosaics(int k)
{
    // Tiles of 8 x 8 pixels (one byte of eight rows) appear in a shuffled order.
    const int tilesAcross = (m_width + 7) / 8;
    const int tilesDown = (m_height + 7) / 8;
    const int tiles = tilesAcross * tilesDown;
    if (m_order.empty()) {
        m_order.resize(static_cast<std::size_t>(tiles));
        for (int i = 0; i < tiles; ++i)
            m_order[static_cast<std::size_t>(i)] = i;
        for (int i = tiles - 1; i > 0; --i)
            std::swap(m_order[static_cast<std::size_t>(i)],
                      m_order[static_cast<std::size_t>(RandomBelow(i + 1))]);
    }
    const auto due = static_cast<std::size_t>(static_cast<std::int64_t>(tiles) * (k + 1) / m_steps);
    for (; m_orderDone < std::min(due, m_order.size()); ++m_orderDone) {
        const int tile = m_order[m_orderDone];
        const int tx = tile % tilesAcross;
        const int ty = tile / tilesAcross;
        const int word = tx / 4;
        const std::uint32_t mask = 0xFFu << (8 * (tx % 4));
        for (int p = 0; p < m_planes; ++p) {
            for (int y = ty * 8; y < std::min(m_height, ty * 8 + 8); ++y) {
                std::uint32_t& out = Row(m_current, p, y)[word];
                out = (out & ~mask) | (Row(m_target, p, y)[word] & mask);
            }
        }
    }
}

void CEffectPlayer::StepDiamond(int k, bool open)
{
    const int cx = m_width / 2;
    const int cy = m_height / 2;
    const int radius = open ? k + 1 : m_steps - 1 - k;
    std::uint32_t* mask = m_rowA.data();
    for (int y = 0; y < m_height; ++y) {
        const int half = radius - std::abs(y - cy);
        std::fill(m_rowA.begin(), m_rowA.end(), 0u);
        if (open) {
            if (half > 0)
                SetColumns(mask, cx - half, cx + half);
        } else if (half > 0) {
            SetColumns(mask, 0, cx - half);
            SetColumns(mask, cx + half, m_width);
        } else {
            SetColumns(mask, 0, m_width);
        }
        for (int p = 0; p < m_planes; ++p)
            BlendRow(Row(m_current, p, y), Row(m_target, p, y), Row(m_before, p, y), mask);
    }
}

void CEffectPlayer::StepFall(int k)
{
    // Column after column drops in from the top; each falls one row per step.
    const int landed = std::clamp(k + 2 - m_height, 0, m_width);
    const int lastMoving = std::min(k, m_width - 1);
    std::uint32_t* mask = m_rowA.data();
    std::fill(m_rowA.begin(), m_rowA.end(), 0u);
    SetColumns(mask, 0, landed);
    for (int p = 0; p < m_planes; ++p) {
        for (int y = 0; y < m_height; ++y) {
            std::uint32_t* out = Row(m_current, p, y);
            BlendRow(out, Row(m_target, p, y), Row(m_before, p, y), mask);
            for (int x = landed; x <= lastMoving; ++x) {
                const int fallen = k - x + 1;
                if (y < fallen)
                    PutBit(out, x, Bit(Row(m_target, p, y + m_height - fallen), x));
            }
        }
    }
}

void CEffectPlayer::StepTipsy(int k)
{
    // Row after row slides in, even rows from the right and odd rows from the left.
    std::uint32_t* mask = m_rowA.data();
    std::uint32_t* moved = m_rowB.data();
    for (int y = 0; y < m_height; ++y) {
        const int entered = std::clamp(k - y + 1, 0, m_width);
        const bool even = y % 2 == 0;
        std::fill(m_rowA.begin(), m_rowA.end(), 0u);
        if (even)
            SetColumns(mask, m_width - entered, m_width);
        else
            SetColumns(mask, 0, entered);
        for (int p = 0; p < m_planes; ++p) {
            ShiftedRow(Row(m_target, p, y), even ? m_width - entered : -(m_width - entered), moved);
            BlendRow(Row(m_current, p, y), moved, Row(m_before, p, y), mask);
        }
    }
}
