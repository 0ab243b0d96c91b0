#pragma once

#include "model/image_key_params.h"
#include "model/led_rect.h"
#include "model/project_object.h"

#include <QImage>

#include <climits>
#include <cstdint>

// When a program plays: copied as one 20-byte record into the compiled program.
struct ProgramSchedule
{
    static constexpr std::uint32_t kNoLimit = 0x80000000u;

    std::uint16_t playTime = 60;         // seconds, when the program plays in order
    std::uint8_t playMode = 0;           // 0 in order, 1 timing
    std::uint8_t weekdays = 255;         // bit 0 Sunday ... bit 6 Saturday; bit 7 no limit
    std::uint32_t firstDay = 0x80003A75; // days since 1970-01-01; bit 31 no limit
    std::uint32_t lastDay = 17974;
    std::uint32_t startTime = kNoLimit; // seconds after midnight; bit 31 no limit
    std::uint32_t endTime = 86399;
};

struct ProgramBorder
{
    std::int32_t speed = 1;
    std::int32_t step = 1; // counted from 1
    std::int32_t action = 1;
    std::int32_t pattern = 0; // built-in pattern 0 to 29
    std::int32_t source = 0;  // 0 built-in pattern, else image file
    std::int32_t enabled = 0;
    std::int32_t flat = 0;
    QString path; // stored and read back, not used for drawing
};

// A program: plays for a time or on a schedule, with an optional border around the whole
// screen. Holds windows, which all play at the same time.
class CProgram : public CProjectObject
{
public:
    static constexpr int kMaxWindows = 16;
    static constexpr int kBorderPatternCount = 30;

    explicit CProgram(CProjectObject* parent);
    ~CProgram() override;

    int GetKind() const override { return KindProgram; }
    int GetImageIndex() const override { return 1; }
    void VisitProperties(CPropertyIo& io) override;
    // Prepares the border, then every window.
    void Prepare(RenderForm form) override;
    // The border alone (its width and pictures).
    void PrepareBorder(RenderForm form);

    ProgramSchedule& Schedule() { return m_schedule; }
    const ProgramSchedule& Schedule() const { return m_schedule; }
    ProgramBorder& Border() { return m_border; }
    const ProgramBorder& Border() const { return m_border; }
    ImageKeyParams& BorderKey() { return m_borderKey; }
    const ImageKeyParams& BorderKey() const { return m_borderKey; }

    // Border width in pixels, worked out by Prepare; 0 while the border is off.
    int BorderWidth() const { return m_borderWidth; }
    void SetBorderWidth(int width) { m_borderWidth = width; }
    // Border step as the compiler writes it: bit 7 marks a flat border.
    int CompiledBorderStep() const;
    QImage& BorderPattern() { return m_borderPattern; }
    const QImage& BorderPattern() const { return m_borderPattern; }
    QImage& BorderStrip() { return m_borderStrip; }
    const QImage& BorderStrip() const { return m_borderStrip; }

    int ScreenWidth() const;
    int ScreenHeight() const;
    // The area inside the border (the whole screen without one).
    LedRect InnerRect() const;
    // Where a new window goes: right of or below the existing ones, 64 x 32.
    LedRect DefaultWindowRect() const;
    // The same for a window the loader is reading, in constant time per window.
    LedRect DefaultWindowRectWhileLoading();
    // Brings every window back inside the inner area after the screen or border changed.
    void FitWindows();
    // True, with the program's name appended to names, when two windows overlap or one
    // leaves the inner area.
    bool FindOverlap(QString& names) const;

private:
    int BorderForLayout() const { return m_border.enabled ? m_borderWidth : 0; }
    // Where a new window goes when the others reach right and bottom at most.
    LedRect DefaultWindowRectAfter(int right, int bottom) const;

    struct LoadExtent
    {
        int windows = 0; // children looked at
        int right = INT_MIN;
        int bottom = INT_MIN;
    };
    LoadExtent m_loadExtent;

    ImageKeyParams m_borderKey;
    ProgramSchedule m_schedule;
    ProgramBorder m_border;
    int m_borderWidth = 0;
    QImage m_borderPattern;
    QImage m_borderStrip;
};
