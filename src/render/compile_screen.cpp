#include "render/compile_screen.h"
#include "render/compiled_schedule.h"

#include "base/last_error.h"
#include "model/animate_zone.h"
#include "model/clock_zone.h"
#include "model/countdown_zone.h"
#include "model/datetime_zone.h"
#include "model/effect_zone.h"
#include "model/play_window.h"
#include "model/program.h"
#include "model/screen.h"
#include "model/temperature_zone.h"
#include "render/bit_planes.h"
#include "render/byte_buffer.h"
#include "render/compile_layout.h"
#include "render/random_source.h"
#include "render/sign_picture.h"

#include <algorithm>
#include <cstring>

using namespace layout;

namespace {

// What the screen decides about every page: how many planes and which bit value is lit.
struct PlaneFormat
{
    int planes = 1;
    bool litIsOne = false;
    int colourType = 1;
};

PlaneFormat FormatOf(const CProjectObject& object)
{
    PlaneFormat format;
    if (const CScreen* screen = ScreenOf(object)) {
        format.planes = screen->ColourDepth();
        format.colourType = format.planes;
        format.litIsOne = screen->Params().U8(ControllerParams::DataPolarity) != 0;
    }
    return format;
}

bool IsLiveKind(int kind)
{
    return kind == KindClock || kind == KindDateTime || kind == KindTemperature ||
           kind == KindCountdown;
}

bool IsCompiledKind(int kind)
{
    return kind == KindText || kind == KindImage || kind == KindAnimate || kind == KindTable ||
           IsLiveKind(kind);
}

std::uint8_t DataKind(int kind)
{
    return kind == KindAnimate ? kDataImage : static_cast<std::uint8_t>(kind);
}

int PageCount(const CEffectZone& zone)
{
    return std::min(zone.GetPageCount(), kMaxPages);
}

std::int64_t PageSize(int width, int height, int planes)
{
    return static_cast<std::int64_t>(kPageHeaderSize) +
           static_cast<std::int64_t>(planes::PlaneBytes(width, height)) * planes;
}

// A window the table can describe: position and size fit its 16-bit fields.
bool WindowFits(const CPlayWindow& window)
{
    const LedRect& r = window.WindowRect();
    const auto fits = [](int value) { return value >= 0 && value <= 0xFFFF; };
    return fits(r.left) && fits(r.top) && fits(r.Width()) && fits(r.Height());
}

std::uint16_t Hold16(long long hold)
{
    return static_cast<std::uint16_t>(std::clamp<long long>(hold, 0, 0xFFFF));
}

// The compiled children: at most `limit` children from the front of the list.
template <typename T, typename F>
void ForFirstChildren(const CProjectObject& parent, int limit, F&& f)
{
    const int count = std::min(parent.GetChildCount(), limit);
    for (int i = 0; i < count; ++i) {
        if (const auto* child = dynamic_cast<const T*>(parent.GetChild(i)))
            f(*child);
    }
}

// Emitted programs are counted in one byte.
constexpr int kMaxPrograms = 255;

template <typename F> void ForEmittedPrograms(const CScreen& screen, F&& f)
{
    int emitted = 0;
    for (int i = 0; i < screen.GetChildCount() && emitted < kMaxPrograms; ++i) {
        const auto* program = dynamic_cast<const CProgram*>(screen.GetChild(i));
        if (!program)
            continue;
        const std::int64_t size = GetDataSize(*program);
        if (size == 0)
            continue;
        f(*program, size);
        ++emitted;
    }
}

// Border pattern pixels outside the bitmap read as white.
QRgb PatternPixel(const QImage& image, int x, int y)
{
    return image.valid(x, y) ? image.pixel(x, y) : qRgb(255, 255, 255);
}

// Half-width character width of a controller font size (an index above 4 counts as 2).
int HalfWidth(int sizeIndex)
{
    static constexpr int kWidths[] = {5, 6, 8, 16, 24};
    return kWidths[sizeIndex >= 0 && sizeIndex <= 4 ? sizeIndex : 2];
}

std::uint8_t Low(long long value)
{
    return static_cast<std::uint8_t>(value & 0xFF);
}

} // namespace

const CScreen* ScreenOf(const CProjectObject& object)
{
    for (const CProjectObject* at = &object; at; at = at->Parent()) {
        if (at->GetKind() == KindScreen)
            return static_cast<const CScreen*>(at);
    }
    return nullptr;
}

std::int64_t GetDataSize(const CEffectZone& zone)
{
    const int pages = PageCount(zone);
    if (pages == 0 || !IsCompiledKind(zone.GetKind()))
        return 0;
    const LedRect rect = zone.WindowRect();
    const PlaneFormat format = FormatOf(zone);
    return static_cast<std::int64_t>(kZoneHeaderSize) +
           pages * PageSize(std::max(rect.Width(), 0), std::max(rect.Height(), 0), format.planes);
}

std::int64_t GetDataSize(const CPlayWindow& window)
{
    if (!WindowFits(window))
        return 0;
    std::int64_t size = 0;
    ForFirstChildren<CEffectZone>(window, kMaxZones,
                                  [&](const CEffectZone& zone) { size += GetDataSize(zone); });
    return size;
}

std::int64_t GetDataSize(const CProgram& program)
{
    std::int64_t size = 0;
    ForFirstChildren<CPlayWindow>(program, kMaxWindows,
                                  [&](const CPlayWindow& window) { size += GetDataSize(window); });
    return size;
}

std::int64_t GetDataSize(const CScreen& screen)
{
    std::int64_t total = 0;
    int emitted = 0;
    ForEmittedPrograms(screen, [&](const CProgram&, std::int64_t size) {
        total += size;
        ++emitted;
    });
    if (emitted == 0)
        return 0;
    return total + static_cast<std::int64_t>(kProgramEntrySize) * emitted +
           static_cast<std::int64_t>(kHeaderSize);
}

std::int64_t GetScreenDataLength(const CScreen& screen)
{
    int emitted = 0;
    ForEmittedPrograms(screen, [&](const CProgram&, std::int64_t) { ++emitted; });
    const std::int64_t size = GetDataSize(screen);
    return size == 0 ? 0 : size + static_cast<std::int64_t>(kProgramRecordSize) * emitted;
}

bool WriteData(const CScreen& screen, CByteBuffer& buffer)
{
    QString reason;
    if (!screen.SizeAllowed(&reason)) {
        RecordError(reason);
        return false;
    }
    const std::int64_t length = GetScreenDataLength(screen);
    if (length == 0)
        return false;
    if (!buffer.CanAppend(static_cast<std::size_t>(length))) {
        RecordError(QStringLiteral("The screen data is too large."));
        return false;
    }
    buffer.ReserveFor(static_cast<std::size_t>(length));
    int programCount = 0;
    ForEmittedPrograms(screen, [&](const CProgram&, std::int64_t) { ++programCount; });

    // Data header: the random bytes are drawn in field order.
    const std::size_t start = buffer.Length();
    std::uint8_t header[kHeaderSize];
    for (std::size_t i = 0; i < kHeaderRandomBytes; ++i)
        header[i] = NextRandomByte();
    header[kHeaderRangeByte] =
        static_cast<std::uint8_t>(RandomSource().Next() % kHeaderRangeSpan + kHeaderRangeLow);
    const std::uint8_t p = static_cast<std::uint8_t>(programCount);
    const std::uint8_t r1 = NextRandomByte();
    header[kHeaderCheck1] = r1;
    header[kHeaderCheck1 + 1] = static_cast<std::uint8_t>(kHeaderCheckSum - r1 - p);
    const std::uint8_t r2 = NextRandomByte();
    header[kHeaderCheck2] = r2;
    header[kHeaderCheck2 + 1] = static_cast<std::uint8_t>(p - r2);
    buffer.AppendBytes(header, kHeaderSize);
    buffer.AppendFill(0, kProgramEntrySize * static_cast<std::size_t>(programCount));

    int written = 0;
    std::size_t offset = start + kHeaderSize + kProgramEntrySize * programCount;
    ProgramRecord record;
    ForEmittedPrograms(screen, [&](const CProgram& program, std::int64_t size) {
        buffer.WriteU32At(start + kHeaderSize + kProgramEntrySize * written,
                          static_cast<std::uint32_t>(offset));
        FillDirectory(program, static_cast<std::uint32_t>(offset + kProgramRecordSize), record);
        buffer.AppendBytes(record.data(), record.size());
        WriteData(program, buffer);
        offset += kProgramRecordSize + static_cast<std::size_t>(size);
        ++written;
    });
    return written == programCount && buffer.Length() == start + static_cast<std::size_t>(length);
}

bool WriteData(const CProgram& program, CByteBuffer& buffer)
{
    bool ok = true;
    ForFirstChildren<CPlayWindow>(program, kMaxWindows, [&](const CPlayWindow& window) {
        if (GetDataSize(window) != 0)
            ok = WriteData(window, buffer) && ok;
    });
    return ok;
}

bool WriteData(const CPlayWindow& window, CByteBuffer& buffer)
{
    if (!WindowFits(window))
        return false;
    std::vector<const CEffectZone*> zones;
    ForFirstChildren<CEffectZone>(window, kMaxZones, [&](const CEffectZone& zone) {
        if (GetDataSize(zone) != 0)
            zones.push_back(&zone);
    });
    bool ok = true;
    for (std::size_t i = 0; i < zones.size(); ++i)
        ok = WriteData(*zones[i], buffer, i + 1 == zones.size()) && ok;
    return ok;
}

bool WriteData(const CEffectZone& zone, CByteBuffer& buffer, bool lastInWindow)
{
    const int pages = PageCount(zone);
    const int kind = zone.GetKind();
    if (pages == 0 || !IsCompiledKind(kind))
        return false;
    const std::int64_t size = GetDataSize(zone);
    const LedRect rect = zone.WindowRect();
    const int width = std::max(rect.Width(), 0);
    const int height = std::max(rect.Height(), 0);
    const PlaneFormat format = FormatOf(zone);
    const bool live = IsLiveKind(kind);

    std::uint8_t header[kZoneHeaderSize] = {};
    const std::uint32_t next =
        lastInWindow ? 0u
                     : static_cast<std::uint32_t>(buffer.Length() + static_cast<std::size_t>(size));
    PutU32(header + kZoneNext, next);
    PutU16(header + kZoneHold, live ? Hold16(zone.GetHold()) : Hold16(zone.GetPageHold(0)));
    header[kZonePages] = static_cast<std::uint8_t>(pages);
    header[kZoneKind] = DataKind(kind);
    if (live) {
        FillLiveBytes(zone, header + kZoneLive);
    } else {
        header[kZoneClear] = Low(zone.GetClearMode());
        header[kZoneAction] = Low(zone.GetAction());
        header[kZoneSpeed] = Low(zone.GetSpeed());
    }
    if (!buffer.AppendBytes(header, kZoneHeaderSize))
        return false;

    // "Move right" without a stay time plays the pages from the last one.
    const bool reverse = (kind == KindText || kind == KindTable) &&
                         zone.GetAction() == ActionMoveRight && zone.GetHold() == 0;
    static const QImage kMissingPage;
    for (int j = 0; j < pages; ++j) {
        const std::uint16_t hold = live ? Hold16(zone.GetHold()) : Hold16(zone.GetPageHold(j));
        const CLedBitmap* page = zone.GetPage(reverse ? pages - 1 - j : j);
        if (!buffer.AppendU16(hold) || !buffer.AppendU16(0))
            return false;
        if (!planes::Append(page ? page->Image() : kMissingPage, width, height, format.planes,
                            format.litIsOne, buffer))
            return false;
    }
    return true;
}

void FillDirectory(const CProgram& program, std::uint32_t dataOffset, ProgramRecord& record)
{
    record.fill(0);
    std::uint8_t* r = record.data();
    const CompiledSchedule schedule = CompileSchedule(program);
    PutU16(r + 0, schedule.playTime);
    r[2] = schedule.playMode;
    r[3] = schedule.weekdays;
    PutU32(r + 4, schedule.firstDay);
    PutU32(r + 8, schedule.lastDay);
    PutU32(r + 12, schedule.startTime);
    PutU32(r + 16, schedule.endTime);
    FillBorderBlock(program, r + kBorderOffset);
    PutU16(r + kMarkerOffset, kMarkerValue);
    PutU16(r + kVersionOffset, kVersionValue);

    std::uint32_t sum = 0;
    int entry = 0;
    ForFirstChildren<CPlayWindow>(program, kMaxWindows, [&](const CPlayWindow& window) {
        const std::int64_t size = GetDataSize(window);
        if (size == 0)
            return;
        const LedRect& rect = window.WindowRect();
        std::uint8_t* e = r + kWindowTableOffset + kWindowEntrySize * entry;
        PutU32(e + 0, dataOffset + sum);
        PutU16(e + 4, static_cast<std::uint32_t>(rect.left));
        PutU16(e + 6, static_cast<std::uint32_t>(rect.top));
        PutU16(e + 8, static_cast<std::uint32_t>(rect.Width()));
        PutU16(e + 10, static_cast<std::uint32_t>(rect.Height()));
        const WindowFrame& frame = window.Frame();
        const std::uint16_t code =
            frame.enabled ? FrameCode(frame.type, frame.colour, frame.speed, frame.direction) : 0;
        PutU16(r + kFrameCodeOffset + 2 * entry, code);
        sum += static_cast<std::uint32_t>(size);
        ++entry;
    });
}

void FillDirectory(const CPlayWindow& window, std::uint32_t dataOffset,
                   std::vector<std::uint32_t>& table)
{
    table.clear();
    std::uint32_t sum = 0;
    ForFirstChildren<CEffectZone>(window, kMaxZones, [&](const CEffectZone& zone) {
        const std::int64_t size = GetDataSize(zone);
        if (size == 0)
            return;
        table.push_back(dataOffset + sum);
        sum += static_cast<std::uint32_t>(size);
    });
}

void FillBorderBlock(const CProgram& program, std::uint8_t* block)
{
    std::memset(block, 0, kBorderSize);
    const int thickness = std::min(program.BorderWidth(), kBorderMaxThickness);
    if (!program.Border().enabled || thickness <= 0)
        return;
    const PlaneFormat format = FormatOf(program);
    const ProgramBorder& border = program.Border();
    block[kBorderAction] = Low(border.action);
    block[kBorderStep] = Low(program.CompiledBorderStep());
    block[kBorderSpeed] = Low(border.speed);
    block[kBorderThickness] = static_cast<std::uint8_t>(thickness);

    const auto masks = [&](const QImage& image, int row, std::uint16_t out[3]) {
        out[0] = out[1] = out[2] = 0;
        for (int x = 0; x < 16; ++x) {
            bool bits[3];
            BorderPlaneBits(PatternPixel(image, x, row), format.colourType, bits);
            for (int k = 0; k < 3; ++k)
                out[k] |= static_cast<std::uint16_t>(bits[k] << x);
        }
        if (!format.litIsOne) {
            for (int k = 0; k < 3; ++k)
                out[k] = static_cast<std::uint16_t>(~out[k]);
        }
    };
    std::uint16_t m[3];
    for (int row = 0; row < thickness; ++row) {
        masks(program.BorderPattern(), row, m);
        for (int k = 0; k < 3; ++k)
            PutU16(block + kBorderHorizontal + kBorderPlaneSize * k + 2 * row, m[k]);
    }
    const std::uint16_t widthMask = static_cast<std::uint16_t>(0xFFFFu >> (16 - thickness));
    for (int row = 0; row < 16; ++row) {
        masks(program.BorderStrip(), row, m);
        for (int k = 0; k < 3; ++k)
            PutU16(block + kBorderVertical + kBorderPlaneSize * k + 2 * row, m[k] & widthMask);
    }
}

bool FillLiveBytes(const CEffectZone& zone, std::uint8_t* b)
{
    std::memset(b, 0, kZoneLiveSize);
    // b[0] is byte 8 of the zone record.
    switch (zone.GetKind()) {
    case KindDateTime: {
        const DateTimeSettings& s = static_cast<const CDateTimeZone&>(zone).Settings();
        std::uint8_t flags = static_cast<std::uint8_t>(s.size << 4);
        for (int i = 1; i <= 3; ++i) {
            if (s.enabled[i])
                flags |= static_cast<std::uint8_t>(1 << i);
            b[1 + (i - 1)] = Low(s.x[i]);
            b[4 + (i - 1)] = static_cast<std::uint8_t>(((s.x[i] >> 8) & 0x3F) + (s.row[i] << 6));
            b[7 + (i - 1)] = static_cast<std::uint8_t>((s.format[i] & 0xF) + (s.colour[i] << 4));
        }
        b[0] = flags;
        PutU16(b + 10, static_cast<std::uint16_t>(s.timeDifference));
        return true;
    }
    case KindCountdown: {
        const CountdownSettings& s = static_cast<const CCountdownZone&>(zone).Settings();
        b[0] = 1;
        b[1] = Low(s.digitSize);
        std::uint8_t flags = static_cast<std::uint8_t>((s.type * 8 + s.format) << 4);
        for (int i = 0; i < 4; ++i) {
            if (s.show[i])
                flags |= static_cast<std::uint8_t>(1 << i);
        }
        b[2] = flags;
        b[3] = Low(s.numberTop);
        PutU32(b + 4, static_cast<std::uint32_t>(s.target));
        for (int i = 0; i < 4; ++i)
            b[8 + i] = static_cast<std::uint8_t>(s.colour[i] + (s.colour[i + 4] << 4));
        return true;
    }
    case KindTemperature: {
        const TemperatureSettings& s = static_cast<const CTemperatureZone&>(zone).Settings();
        const bool temperature = s.showTemperature != 0;
        const bool humidity = s.showHumidity != 0 && s.sensor == 1;
        b[0] = 1;
        b[1] = 0;
        if (temperature) {
            // The value sits three half-width cells before the trailing label.
            const int valueLeft = s.temperatureUnitLeft - 3 * HalfWidth(s.digitSize);
            PutU16(b + 2, static_cast<std::uint32_t>(valueLeft));
            b[6] = static_cast<std::uint8_t>(s.temperatureNumberTop >> 1);
            b[8] = static_cast<std::uint8_t>(s.temperatureDigitColour | 0x80);
        }
        if (humidity) {
            PutU16(b + 4, static_cast<std::uint16_t>(s.humidityNumberLeft));
            b[7] = static_cast<std::uint8_t>(s.humidityNumberTop >> 1);
            b[9] = static_cast<std::uint8_t>(s.humidityDigitColour | 0x80);
        }
        b[10] = Low(s.digitSize);
        b[11] = Low(s.sensor);
        return true;
    }
    case KindClock: {
        const ClockSettings& s = static_cast<const CClockZone&>(zone).Settings();
        int marks = (std::max(s.size[ClockHourMarks], s.size[ClockMinuteMarks]) + 1) / 2;
        if (s.hourMarkStyle == 2)
            marks += 1;
        b[3] = Low(marks);
        for (int i = 0; i < 3; ++i) {
            b[4 + i] = Low(s.size[ClockHourHand + i]);
            b[7 + i] = Low(s.colour[ClockHourHand + i]);
        }
        std::int16_t offset = static_cast<std::int16_t>(s.offsetMinutes);
        if (s.offsetSign)
            offset = static_cast<std::int16_t>(-offset);
        PutU16(b + 10, static_cast<std::uint16_t>(offset));
        return true;
    }
    default:
        return false;
    }
}

std::uint32_t GetFrameBufferSize(const CScreen& screen)
{
    std::uint64_t largest = 0;
    const int planeCount = screen.ColourDepth();
    screen.ForEachChild([&](const CProjectObject& child) {
        if (child.GetKind() != KindProgram)
            return;
        std::uint64_t sum = 0;
        child.ForEachChild([&](const CProjectObject& grandchild) {
            const auto* window = dynamic_cast<const CPlayWindow*>(&grandchild);
            if (!window)
                return;
            const LedRect& r = window->WindowRect();
            sum +=
                planes::PlaneBytes(r.Width(), r.Height()) * static_cast<std::uint64_t>(planeCount);
        });
        largest = std::max(largest, sum);
    });
    return static_cast<std::uint32_t>(std::min<std::uint64_t>(largest, 0xFFFFFFFFu));
}
