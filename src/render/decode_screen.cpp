#include "render/decode_screen.h"

#include "render/bit_planes.h"
#include "render/compile_layout.h"

#include <algorithm>

using namespace layout;

namespace {

constexpr std::size_t kExportHeaderSize = 512;
constexpr std::size_t kExportBlock = 4096;

class CScreenReader
{
public:
    CScreenReader(const QByteArray& data, int colourDepth, int polarity)
        : m_data(reinterpret_cast<const std::uint8_t*>(data.constData())),
          m_size(static_cast<std::size_t>(data.size())),
          m_planes(colourDepth >= 1 && colourDepth <= 3 ? colourDepth : 1),
          m_litIsOne(polarity != 0)
    {}

    bool Read(DecodedScreen& out, bool allowTrailing);
    const QString& Error() const { return m_error; }

private:
    bool Fail(const QString& text)
    {
        m_error = text;
        return false;
    }
    bool Has(std::uint64_t offset, std::uint64_t count) const
    {
        return offset <= m_size && count <= m_size - offset;
    }
    bool ReadProgram(int index, std::uint32_t offset, std::uint64_t boundary,
                     DecodedProgram& program, std::uint64_t& end);
    void ReadBorder(const std::uint8_t* block, DecodedBorder& border) const;
    bool ReadWindow(const DecodedProgram& program, int index, std::uint64_t boundary,
                    DecodedWindow& window, std::uint64_t& end);
    bool ReadZone(const DecodedWindow& window, std::uint32_t offset, DecodedZone& zone,
                  std::uint64_t& end);

    const std::uint8_t* m_data;
    std::size_t m_size;
    int m_planes;
    bool m_litIsOne;
    QString m_error;
    // Offsets where program records start, for telling where a window's data must end.
    std::vector<std::uint32_t> m_programOffsets;
};

bool CScreenReader::Read(DecodedScreen& out, bool allowTrailing)
{
    out = DecodedScreen();
    if (m_size == 0)
        return Fail(QStringLiteral("The screen data is empty."));
    if (m_size < kHeaderSize)
        return Fail(QStringLiteral("The screen data is truncated: %1 bytes, shorter than its "
                                   "128-byte header.")
                        .arg(m_size));
    const int count = (m_data[kHeaderCheck2] + m_data[kHeaderCheck2 + 1]) & 0xFF;
    if (((m_data[kHeaderCheck1] + m_data[kHeaderCheck1 + 1] + count) & 0xFF) != kHeaderCheckSum)
        return Fail(QStringLiteral("The header check bytes do not match (bytes 124 to 127)."));
    const int range = m_data[kHeaderRangeByte];
    if (range < kHeaderRangeLow || range >= kHeaderRangeLow + kHeaderRangeSpan)
        return Fail(QStringLiteral("Header byte 123 holds %1, outside 55 to 104.").arg(range));
    if (count == 0)
        return Fail(QStringLiteral("The header announces no program."));
    const std::uint64_t tableEnd = kHeaderSize + kProgramEntrySize * count;
    if (!Has(0, tableEnd))
        return Fail(QStringLiteral("The screen data is truncated: the table of %1 programs "
                                   "ends at %2, past the end (%3 bytes).")
                        .arg(count)
                        .arg(tableEnd)
                        .arg(m_size));
    out.programCount = count;
    for (int k = 0; k < count; ++k)
        m_programOffsets.push_back(GetU32(m_data + kHeaderSize + kProgramEntrySize * k));

    std::uint64_t expected = tableEnd;
    for (int k = 0; k < count; ++k) {
        const std::uint32_t offset = m_programOffsets[static_cast<size_t>(k)];
        if (offset != expected)
            return Fail(QStringLiteral("Program %1 starts at offset %2; its data should start "
                                       "at %3.")
                            .arg(k + 1)
                            .arg(offset)
                            .arg(expected));
        const std::uint64_t boundary =
            k + 1 < count ? m_programOffsets[static_cast<size_t>(k + 1)] : m_size;
        DecodedProgram program;
        std::uint64_t end = 0;
        if (!ReadProgram(k, offset, boundary, program, end))
            return false;
        out.programs.push_back(std::move(program));
        expected = end;
    }
    out.length = static_cast<std::size_t>(expected);
    if (!allowTrailing && expected != m_size)
        return Fail(
            QStringLiteral("%1 bytes follow the last program's data.").arg(m_size - expected));
    return true;
}

bool CScreenReader::ReadProgram(int index, std::uint32_t offset, std::uint64_t boundary,
                                DecodedProgram& program, std::uint64_t& end)
{
    if (!Has(offset, kProgramRecordSize))
        return Fail(QStringLiteral("The screen data is truncated inside the record of program "
                                   "%1 (offset %2).")
                        .arg(index + 1)
                        .arg(offset));
    const std::uint8_t* r = m_data + offset;
    if (GetU16(r + kMarkerOffset) != kMarkerValue || GetU16(r + kVersionOffset) != kVersionValue)
        return Fail(QStringLiteral("Program %1 (offset %2) lacks its marks 0x5A01 and 1 at "
                                   "bytes 408 and 410.")
                        .arg(index + 1)
                        .arg(offset));
    program.offset = offset;
    program.playTime = GetU16(r + 0);
    program.playMode = r[2];
    program.weekdays = r[3];
    program.firstDay = static_cast<std::int32_t>(GetU32(r + 4));
    program.lastDay = static_cast<std::int32_t>(GetU32(r + 8));
    program.startTime = static_cast<std::int32_t>(GetU32(r + 12));
    program.endTime = static_cast<std::int32_t>(GetU32(r + 16));
    ReadBorder(r + kBorderOffset, program.border);
    if (program.border.thickness > kBorderMaxThickness)
        return Fail(QStringLiteral("Program %1 has a border %2 pixels thick; at most 16 are "
                                   "possible.")
                        .arg(index + 1)
                        .arg(program.border.thickness));

    std::uint64_t expected = static_cast<std::uint64_t>(offset) + kProgramRecordSize;
    int windows = 0;
    for (int k = 0; k < kWindowEntries; ++k) {
        const std::uint8_t* e = r + kWindowTableOffset + kWindowEntrySize * k;
        if (GetU32(e) == 0) {
            for (int rest = k; rest < kWindowEntries; ++rest) {
                if (GetU32(r + kWindowTableOffset + kWindowEntrySize * rest) != 0)
                    return Fail(QStringLiteral("Program %1: window entry %2 follows an empty "
                                               "entry.")
                                    .arg(index + 1)
                                    .arg(rest + 1));
            }
            break;
        }
        ++windows;
    }
    if (windows == 0)
        return Fail(
            QStringLiteral("Program %1 (offset %2) has no window.").arg(index + 1).arg(offset));
    for (int k = 0; k < windows; ++k) {
        const std::uint8_t* e = r + kWindowTableOffset + kWindowEntrySize * k;
        DecodedWindow window;
        window.offset = GetU32(e);
        window.left = GetU16(e + 4);
        window.top = GetU16(e + 6);
        window.width = GetU16(e + 8);
        window.height = GetU16(e + 10);
        window.frameCode = GetU16(r + kFrameCodeOffset + 2 * k);
        if (window.offset != expected)
            return Fail(QStringLiteral("Program %1, window %2 starts at offset %3; its data "
                                       "should start at %4.")
                            .arg(index + 1)
                            .arg(k + 1)
                            .arg(window.offset)
                            .arg(expected));
        const std::uint64_t windowBoundary =
            k + 1 < windows ? GetU32(r + kWindowTableOffset + kWindowEntrySize * (k + 1))
                            : boundary;
        std::uint64_t windowEnd = 0;
        if (!ReadWindow(program, k, windowBoundary, window, windowEnd))
            return false;
        program.windows.push_back(std::move(window));
        expected = windowEnd;
    }
    end = expected;
    return true;
}

void CScreenReader::ReadBorder(const std::uint8_t* block, DecodedBorder& border) const
{
    border.action = block[kBorderAction];
    border.step = block[kBorderStep];
    border.speed = block[kBorderSpeed];
    border.thickness = block[kBorderThickness];
    for (int plane = 0; plane < 3; ++plane) {
        for (int row = 0; row < 16; ++row) {
            border.horizontal[plane][row] =
                GetU16(block + kBorderHorizontal + kBorderPlaneSize * plane + 2 * row);
            border.vertical[plane][row] =
                GetU16(block + kBorderVertical + kBorderPlaneSize * plane + 2 * row);
        }
    }
    const int t = border.thickness;
    if (t <= 0 || t > kBorderMaxThickness)
        return;
    const std::uint16_t flip = m_litIsOne ? 0 : 0xFFFF;
    static constexpr QRgb kComponent[3] = {0x00FF0000u, 0x0000FF00u, 0x000000FFu};
    border.pattern = QImage(16, t, QImage::Format_RGB32);
    border.pattern.fill(0xFF000000u);
    border.strip = QImage(t, 16, QImage::Format_RGB32);
    border.strip.fill(0xFF000000u);
    const int planesShown = m_planes;
    for (int plane = 0; plane < planesShown; ++plane) {
        for (int row = 0; row < t; ++row) {
            const std::uint16_t mask = border.horizontal[plane][row] ^ flip;
            for (int x = 0; x < 16; ++x) {
                if (mask & (1u << x))
                    border.pattern.setPixel(x, row,
                                            border.pattern.pixel(x, row) | kComponent[plane]);
            }
        }
        for (int row = 0; row < 16; ++row) {
            const std::uint16_t mask = border.vertical[plane][row] ^ flip;
            for (int x = 0; x < t; ++x) {
                if (mask & (1u << x))
                    border.strip.setPixel(x, row, border.strip.pixel(x, row) | kComponent[plane]);
            }
        }
    }
}

bool CScreenReader::ReadWindow(const DecodedProgram& program, int index, std::uint64_t boundary,
                               DecodedWindow& window, std::uint64_t& end)
{
    std::uint64_t at = window.offset;
    for (int zones = 0;; ++zones) {
        if (zones == kMaxZones)
            return Fail(QStringLiteral("Window %1 of the program at offset %2 chains more than "
                                       "200 zones.")
                            .arg(index + 1)
                            .arg(program.offset));
        DecodedZone zone;
        std::uint64_t zoneEnd = 0;
        if (!ReadZone(window, static_cast<std::uint32_t>(at), zone, zoneEnd))
            return false;
        const std::uint32_t next = zone.next;
        window.zones.push_back(std::move(zone));
        if (next == 0) {
            end = zoneEnd;
            return true;
        }
        if (next != zoneEnd)
            return Fail(QStringLiteral("The zone at offset %1 points to offset %2 for the next "
                                       "zone; it should hold 0 or %3.")
                            .arg(at)
                            .arg(next)
                            .arg(zoneEnd));
        // A chain that runs on into the next window's or program's data ends here.
        if (zoneEnd >= boundary) {
            window.chainRunsOn = true;
            end = zoneEnd;
            return true;
        }
        at = zoneEnd;
    }
}

bool CScreenReader::ReadZone(const DecodedWindow& window, std::uint32_t offset, DecodedZone& zone,
                             std::uint64_t& end)
{
    if (!Has(offset, kZoneHeaderSize))
        return Fail(QStringLiteral("The screen data is truncated inside the zone record at "
                                   "offset %1.")
                        .arg(offset));
    const std::uint8_t* z = m_data + offset;
    zone.offset = offset;
    zone.next = GetU32(z + kZoneNext);
    zone.hold = GetU16(z + kZoneHold);
    zone.pageCount = z[kZonePages];
    zone.kind = z[kZoneKind];
    std::copy(z + kZoneLive, z + kZoneLive + kZoneLiveSize, zone.bytes.begin());
    switch (zone.kind) {
    case kDataText:
    case kDataImage:
    case kDataTable:
    case kDataClock:
    case kDataDateTime:
    case kDataTemperature:
    case kDataCountdown:
        break;
    default:
        return Fail(QStringLiteral("The zone record at offset %1 has the unknown kind %2.")
                        .arg(offset)
                        .arg(zone.kind));
    }
    if (zone.pageCount == 0)
        return Fail(QStringLiteral("The zone record at offset %1 has no page.").arg(offset));
    const std::uint64_t planeBytes = planes::PlaneBytes(window.width, window.height);
    const std::uint64_t pageSize =
        kPageHeaderSize + planeBytes * static_cast<std::uint64_t>(m_planes);
    const std::uint64_t size =
        kZoneHeaderSize + pageSize * static_cast<std::uint64_t>(zone.pageCount);
    if (!Has(offset, size))
        return Fail(QStringLiteral("The screen data is truncated inside the zone record at "
                                   "offset %1: %2 pages of %3 bytes do not fit.")
                        .arg(offset)
                        .arg(zone.pageCount)
                        .arg(pageSize));
    std::uint64_t at = offset + kZoneHeaderSize;
    for (int j = 0; j < zone.pageCount; ++j) {
        const std::uint8_t* p = m_data + at;
        DecodedPage page;
        page.offset = static_cast<std::uint32_t>(at);
        page.hold = GetU16(p);
        if (GetU16(p + 2) != 0)
            return Fail(QStringLiteral("Page %1 of the zone at offset %2 has non-zero bytes 2 "
                                       "and 3 in its header.")
                            .arg(j + 1)
                            .arg(offset));
        bool clean = true;
        page.image = planes::Unpack(p + kPageHeaderSize, window.width, window.height, m_planes,
                                    m_litIsOne, &clean);
        if (!clean)
            return Fail(QStringLiteral("Page %1 of the zone at offset %2 has lit filler "
                                       "columns: wrong data polarity or colour count?")
                            .arg(j + 1)
                            .arg(offset));
        zone.pages.push_back(std::move(page));
        at += pageSize;
    }
    end = at;
    return true;
}

} // namespace

bool DecodeScreenData(const QByteArray& data, int colourDepth, int polarity, DecodedScreen& out,
                      QString& error)
{
    CScreenReader reader(data, colourDepth, polarity);
    if (reader.Read(out, false))
        return true;
    error = reader.Error();
    return false;
}

bool DecodeScreenPrefix(const QByteArray& data, int colourDepth, int polarity, DecodedScreen& out,
                        QString& error)
{
    CScreenReader reader(data, colourDepth, polarity);
    if (reader.Read(out, true))
        return true;
    error = reader.Error();
    return false;
}

bool LooksLikeExportFile(const QByteArray& bytes)
{
    if (static_cast<std::size_t>(bytes.size()) < kExportHeaderSize)
        return false;
    const auto* b = reinterpret_cast<const std::uint8_t*>(bytes.constData());
    return GetU32(b + 52) == static_cast<std::uint64_t>(bytes.size()) - kExportHeaderSize;
}

bool DecodeExportFile(const QByteArray& file, int colourDepth, int polarity, DecodedExportFile& out,
                      QString& error)
{
    out = DecodedExportFile();
    const auto size = static_cast<std::size_t>(file.size());
    if (size < kExportHeaderSize) {
        error = QStringLiteral("The file is truncated: %1 bytes, shorter than its 512-byte "
                               "header.")
                    .arg(size);
        return false;
    }
    const auto* b = reinterpret_cast<const std::uint8_t*>(file.constData());
    out.clockFlag = b[50];
    out.paramFlag = b[51];
    out.dataLength = GetU32(b + 52);
    out.frameBuffer = GetU32(b + 56);
    out.clock = static_cast<std::int32_t>(GetU32(b + 128));
    std::copy(b + 144, b + 144 + 112, out.params.begin());
    if (out.dataLength != size - kExportHeaderSize) {
        error = QStringLiteral("The file announces %1 bytes of screen data but holds %2.")
                    .arg(out.dataLength)
                    .arg(size - kExportHeaderSize);
        return false;
    }
    if (out.dataLength % kExportBlock != 0) {
        error = QStringLiteral("The screen data length %1 is not a multiple of 4096.")
                    .arg(out.dataLength);
        return false;
    }
    if (out.dataLength == 0)
        return true;
    if (!DecodeScreenPrefix(file.mid(kExportHeaderSize), colourDepth, polarity, out.screen, error))
        return false;
    if (out.dataLength - out.screen.length >= kExportBlock) {
        error = QStringLiteral("The screen data is followed by %1 bytes of padding; less than "
                               "4096 are expected.")
                    .arg(out.dataLength - out.screen.length);
        return false;
    }
    out.hasScreen = true;
    return true;
}
