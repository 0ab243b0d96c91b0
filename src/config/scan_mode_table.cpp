#include "config/scan_mode_table.h"

#include "base/string_table.h"

#include <QStringList>

namespace {

constexpr int kScanLabels = 41117;
constexpr std::uint8_t kNo138 = 0x01;

constexpr const char* kCodes[ScanModeTable::kRowCount] = {
    "16-32-1-0", "4-8-4-1",   "0-0-0-0",    "16-8-2-1",   "8-32-1-0",   "8-8-2-1",    "8-8-2-0",
    "4-8-4-1",   "4-32-1-0",  "4-8-4-0",    "4-8-2-1",    "4-8-2-0",    "4-16-4-1",   "4-16-4-0",
    "4-16-2-1",  "4-16-2-0",  "4-16-4-1-A", "4-16-4-0-A", "4-16-2-1-A", "4-16-2-0-A", "4-9-4-1",
    "4-9-4-0",   "2-8-2-1",   "2-8-2-0",    "2-8-4-1",    "2-8-4-0",    "2-16-2-1",   "2-16-2-0",
    "2-16-4-1",  "2-16-4-0",  "1-8-8-1",    "1-8-8-0",    "1-8-16-1",   "1-8-16-0",   "1-16-8-1",
    "1-16-8-0",  "1-16-16-1", "1-16-16-0",
};

bool InRange(int row)
{
    return row >= 0 && row < ScanModeTable::kRowCount;
}

// log2 of the scan ratio: 1 -> 0, 2 -> 1, 4 -> 2, 8 -> 3, anything else -> 4.
int ScanNibble(int ratio)
{
    switch (ratio) {
    case 1:
        return 0;
    case 2:
        return 1;
    case 4:
        return 2;
    case 8:
        return 3;
    default:
        return 4;
    }
}

// log2 of the fold count plus one: 2 -> 1, 4 -> 2, 8 -> 3, 16 -> 4, anything else -> 0.
int FoldNibble(int folds)
{
    switch (folds) {
    case 2:
        return 1;
    case 4:
        return 2;
    case 8:
        return 3;
    case 16:
        return 4;
    default:
        return 0;
    }
}

} // namespace

namespace ScanModeTable {

QString Label(int row)
{
    const QStringList labels = LoadStringList(kScanLabels);
    return InRange(row) && row < labels.size() ? labels.at(row) : QString();
}

QString Code(int row)
{
    return InRange(row) ? QString::fromLatin1(kCodes[row]) : QString();
}

bool IsSeparator(int row)
{
    return Label(row).startsWith(u'-');
}

int FindCode(const QString& code)
{
    for (int row = 0; row < kRowCount; ++row) {
        if (code.compare(QLatin1String(kCodes[row]), Qt::CaseInsensitive) == 0)
            return row;
    }
    return -1;
}

QString CodeOfBytes(const ScanBytes& bytes)
{
    const int ratio = 1 << (bytes.scanMode >> 4);
    const int folds = 1 << (bytes.scanMode & 0x0F);
    const int down = bytes.foldMode >> 7;
    int length = bytes.foldMode & 0x7F;
    if (length != 8 && length != 9 && length != 16)
        length = 32;
    QString code = QStringLiteral("%1-%2-%3-%4").arg(ratio).arg(length).arg(folds).arg(down);
    if (bytes.panelFlags & kNo138)
        code += QStringLiteral("-A");
    return code;
}

int RowOfBytes(const ScanBytes& bytes)
{
    const int row = FindCode(CodeOfBytes(bytes));
    return row < 0 ? 0 : row;
}

void ApplyRow(int row, ScanBytes& bytes)
{
    const QStringList fields = Code(InRange(row) ? row : 0).split(u'-');
    const int ratio = fields.value(0).toInt();
    const int length = fields.value(1).toInt();
    const int folds = fields.value(2).toInt();
    const int down = fields.value(3).toInt();
    if (fields.size() > 4)
        bytes.panelFlags |= kNo138;
    else
        bytes.panelFlags &= ~kNo138;
    bytes.scanMode = static_cast<std::uint8_t>(ScanNibble(ratio) * 16 + FoldNibble(folds));
    bytes.foldMode = static_cast<std::uint8_t>(length + 128 * down);
}

} // namespace ScanModeTable
