#pragma once

#include <QImage>

#include <cassert>
#include <cstdint>
#include <vector>

class IRandomSource;

// Entry-effect types of a zone, in the order of the effect list.
enum EffectType : int {
    EffectRandom = 0,
    EffectDirect,
    EffectAlwaysHold,
    EffectContinuousMoveLeft,
    EffectMoveLeft,
    EffectMoveRight,
    EffectMoveUp,
    EffectMoveDown,
    EffectWear,
    EffectRain,
    EffectFountain,
    EffectFlash,
    EffectReverseFlash,
    EffectScrollOpen,
    EffectScrollClose,
    EffectLeftLaser,
    EffectRightLaser,
    EffectTopLaser,
    EffectBottomLaser,
    EffectStretchLeft,
    EffectStretchRight,
    EffectStretchTop,
    EffectStretchBottom,
    EffectFromLowerLeft,
    EffectFromUpperLeft,
    EffectFromLowerRight,
    EffectFromUpperRight,
    EffectCoverFromLeft,
    EffectCoverFromRight,
    EffectCoverFromTop,
    EffectCoverFromBottom,
    EffectHorizontalOpen,
    EffectHorizontalClose,
    EffectVerticalOpen,
    EffectVerticalClose,
    EffectHorizontalShutter,
    EffectVerticalShutter,
    EffectVerticalCrossMove,
    EffectHorizontalCrossMove,
    EffectVerticalCrossOpen,
    EffectHorizontalCrossOpen,
    EffectMosaics,
    EffectDiamondOpen,
    EffectDiamondClose,
    EffectFall,
    EffectTipsyShow,
    EffectTypeCount
};

// The animated ring a window may have around its pane.
struct EffectBorder
{
    bool on = false;
    int colour = 0; // colour index (bit 0 red, bit 1 green, bit 2 blue); 0 random
    int style = 0;  // 1 to 12 pick a ring pattern; anything else a random one
    int mode = 0;   // 1 clockwise, 2 anticlockwise, 3 flash, 4 reverse flash; else random
    int speed = 0;  // ticks per move of the pattern; 0 random 2 to 9
};

// Plays the entry effect of one page and the window's border on 1-bit colour planes, the
// way the controller does. A plane set holds `planes` planes (red, green, blue), each
// `height` rows of stride / 32 words; bit 0 of a word is the leftmost of its 32 pixels and
// the columns past the width stay dark.
class CEffectPlayer
{
public:
    static constexpr int kBorderStyles = 13;
    // Largest window the player takes (pixels); a larger one stays still.
    static constexpr std::int64_t kMaxPixels = 4096 * 4096;

    // random: the source of every random choice (the process's generator when null).
    explicit CEffectPlayer(IRandomSource* random = nullptr);

    // Takes the geometry, the border settings and the first page; the output image (not
    // owned, kept until the next Load) receives every frame. False, and nothing to play,
    // without an output image or with a size out of range. A missing page plays dark.
    bool Load(QImage* output, const QImage* page, int effect, int planes, int width, int height,
              const EffectBorder& border);
    // Keeps the geometry and the border; takes a new page and effect (0 becomes a random
    // type 4 to 44) and starts it from its first step.
    void LoadPage(const QImage* page, int effect);
    // Rebuilds the page being brought in without restarting the effect (a live zone that
    // has just been drawn again).
    void RefreshTarget(const QImage* page);
    // One effect step; true while steps remain. The last step always shows the exact page.
    bool Step();
    // Draws the frame shown plus the border (used while a page is held).
    void DrawBorderOnly();
    // Makes everything dark.
    void Clear();

    bool IsLoaded() const { return m_loaded; }
    int Effect() const { return m_effect; }
    int StepIndex() const { return m_step; }
    int Steps() const { return m_steps; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    int Stride() const { return m_stride; }
    int Planes() const { return m_planes; }
    int Words() const { return m_words; }
    const EffectBorder& Border() const { return m_border; }
    const std::vector<std::uint32_t>& Target() const { return m_target; }
    const std::vector<std::uint32_t>& Current() const { return m_current; }
    const std::vector<std::uint32_t>& Shown() const { return m_shown; }

    // Number of steps of an effect for the geometry (at least 1).
    static int StepCount(int effect, int width, int height, int planes);
    // The lit pixels of a page as a plane set of the geometry (one bulk conversion for
    // 32-bit images); and back: each channel 255 when lit, else 0.
    static void PageToPlanes(const QImage* page, int width, int height, int planes,
                             std::vector<std::uint32_t>& set);
    static void PlanesToImage(const std::vector<std::uint32_t>& set, int width, int height,
                              int planes, QImage& image);

private:
    // Writes the planes into the image; with `written`, only the 32-pixel groups whose
    // words differ from it, updating it.
    static void WritePlanes(const std::vector<std::uint32_t>& set,
                            std::vector<std::uint32_t>* written, int width, int height, int planes,
                            QImage& image);
    // Every row and pixel an effect touches lies inside its plane: a row index outside
    // the height would read a neighbouring plane or past the set.
    std::uint32_t* Row(std::vector<std::uint32_t>& set, int plane, int y)
    {
        assert(plane >= 0 && plane < m_planes && y >= 0 && y < m_height);
        return set.data() + (static_cast<std::size_t>(plane) * m_height + y) * m_rowWords;
    }
    const std::uint32_t* Row(const std::vector<std::uint32_t>& set, int plane, int y) const
    {
        assert(plane >= 0 && plane < m_planes && y >= 0 && y < m_height);
        return set.data() + (static_cast<std::size_t>(plane) * m_height + y) * m_rowWords;
    }
    int RandomBelow(int limit);
    void NormaliseBorder(const EffectBorder& border);
    void StartEffect(int effect);
    void ApplyStep(int k);
    void DrawBorder();
    void WriteOutput();

    // Effect steps (effect_steps*.cpp).
    void StepMoveLeft(int k);
    void StepMoveRight(int k);
    void StepMoveUp(int k);
    void StepMoveDown(int k);
    void StepWear();
    void StepRain(int k);
    void StepFountain(int k);
    void StepFlash(int k);
    void StepReverseFlash(int k);
    void StepScroll(int k, bool open);
    void StepColumnLaser(int k, bool fromLeft);
    void StepRowLaser(int k, bool fromTop);
    void StepStretchColumns(int k, bool toLeft);
    void StepStretchRows(int k, bool toTop);
    void StepFromCorner(int k, bool left, bool lower);
    void StepCoverColumns(int k, bool fromLeft);
    void StepCoverRows(int k, bool fromTop);
    void StepHorizontalDoors(int k, bool open);
    void StepVerticalDoors(int k, bool open);
    void StepHorizontalShutter(int k);
    void StepVerticalShutter(int k);
    void StepVerticalCross(int k, bool move);
    void StepHorizontalCross(int k, bool move);
    void StepMosaics(int k);
    void StepDiamond(int k, bool open);
    void StepFall(int k);
    void StepTipsy(int k);

    // Row helpers: a row of the target moved by `shift` columns (positive to the right) and
    // blended into a row of current where the mask is set, the rest taken from before.
    void ShiftedRow(const std::uint32_t* source, int shift, std::uint32_t* out) const;
    void SetColumns(std::uint32_t* mask, int from, int to) const;
    void BlendRow(std::uint32_t* out, const std::uint32_t* in, const std::uint32_t* rest,
                  const std::uint32_t* mask) const;
    void CopyRow(std::uint32_t* out, const std::uint32_t* in) const;
    void ClearFiller(std::uint32_t* row) const;
    bool Bit(const std::uint32_t* row, int x) const
    {
        assert(x >= 0 && x < m_width);
        return (row[x >> 5] >> (x & 31)) & 1u;
    }
    void PutBit(std::uint32_t* row, int x, bool lit) const
    {
        assert(x >= 0 && x < m_width);
        const std::uint32_t bit = 1u << (x & 31);
        row[x >> 5] = lit ? (row[x >> 5] | bit) : (row[x >> 5] & ~bit);
    }

    IRandomSource* m_random = nullptr;
    QImage* m_output = nullptr;
    bool m_loaded = false;
    bool m_dirty = false;
    int m_width = 0;
    int m_height = 0;
    int m_stride = 0;
    int m_rowWords = 0;
    int m_planes = 1;
    int m_words = 0;
    int m_effect = EffectDirect;
    int m_step = 0;
    int m_steps = 1;
    EffectBorder m_border;
    int m_borderDraws = 0;
    std::vector<std::uint32_t> m_target;
    std::vector<std::uint32_t> m_current;
    std::vector<std::uint32_t> m_shown;
    // What the output image holds, and where its pixels were when they were written.
    std::vector<std::uint32_t> m_written;
    const uchar* m_writtenTo = nullptr;
    bool m_writtenValid = false;
    // What current held when the page's first step began; the effects that blend two pages
    // build every step from it and the target.
    std::vector<std::uint32_t> m_before;
    // Scratch rows and the random orders of Wear (words) and Mosaics (tiles).
    std::vector<std::uint32_t> m_rowA;
    std::vector<std::uint32_t> m_rowB;
    std::vector<int> m_order;
    std::size_t m_orderDone = 0;
    std::vector<int> m_columnMap;
};
