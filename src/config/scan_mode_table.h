#pragma once

#include <QString>

#include <cstdint>

// The three bytes of the parameter block that say how the panel is scanned: scanMode (high
// nibble scan code, low nibble fold count code), foldMode (bit 7 fold direction down, bits
// 0..6 fold length in dots) and panelFlags (bit 0: no 138 row decoder; bits 1 and 2 are
// mirror flags that the scan choice leaves alone).
struct ScanBytes
{
    std::uint8_t scanMode = 0;
    std::uint8_t foldMode = 0;
    std::uint8_t panelFlags = 0;
};

// The scan choices of the Panel Setup list. Each row has a label (string 41117) and a code
// "S-L-F-D" with an optional "-A": scan ratio denominator, fold length, fold count plus one,
// direction, and "no 138 decoder".
namespace ScanModeTable {

constexpr int kRowCount = 38;

// The label of a row in the current language; empty outside 0..37.
QString Label(int row);
// The code of a row ("4-8-4-1"); empty outside 0..37.
QString Code(int row);
// The separator line between the two favourites and the full list.
bool IsSeparator(int row);

// The first row whose code equals the text (case-insensitively); -1 when none does.
int FindCode(const QString& code);
// The code text the stored bytes describe.
QString CodeOfBytes(const ScanBytes& bytes);
// The row the stored bytes select: the first row with their code, else row 0.
int RowOfBytes(const ScanBytes& bytes);
// Writes the row's code into the bytes (a row outside 0..37 counts as row 0); panelFlags
// bits other than bit 0 keep their values.
void ApplyRow(int row, ScanBytes& bytes);

} // namespace ScanModeTable

// Sizes are cut down to whole modules: the width to a multiple of 16, the height to a
// multiple of 8.
inline int RoundPanelWidth(int width)
{
    return width & ~15;
}
inline int RoundPanelHeight(int height)
{
    return height & ~7;
}
