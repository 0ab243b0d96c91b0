#pragma once

#include <array>
#include <cstdint>
#include <vector>

class CByteBuffer;
class CEffectZone;
class CPlayWindow;
class CProgram;
class CProjectObject;
class CScreen;

// The screen-data compiler: turns one screen (programs, their windows and zones, each zone
// already rendered into pages by Prepare) into the block a controller plays. Each level
// answers how many bytes it emits (GetDataSize) and appends them (WriteData); the program
// builds its fixed record (FillDirectory). Sizes are 64-bit so that enormous windows
// cannot overflow them.

// Initial capacity and growth step of the buffer a whole screen is compiled into.
constexpr std::size_t kScreenBufferCapacity = 102400;
constexpr std::size_t kScreenBufferGrowth = 4096;

// Zone record size: 20 + F x (4 + H x W32 / 8 x C); 0 without pages (or for a kind the
// controller does not know). At most 255 pages count.
std::int64_t GetDataSize(const CEffectZone& zone);
// Sum of the first 200 zones; 0 for a window whose geometry the window table cannot hold.
std::int64_t GetDataSize(const CPlayWindow& window);
// Sum of the first 16 windows (the 444-byte record not included).
std::int64_t GetDataSize(const CProgram& program);
// 0 when nothing is to be played; otherwise the program sizes + 4 x P + 128. Serves as the
// emptiness test only.
std::int64_t GetDataSize(const CScreen& screen);
// The exact length WriteData produces: GetDataSize plus 444 per emitted program.
std::int64_t GetScreenDataLength(const CScreen& screen);

// Appends the whole screen data. Returns false, appending nothing, when the screen has
// nothing to play or the data would be too large (with the reason in the last-error
// text); an empty buffer afterwards means "Project is empty.".
bool WriteData(const CScreen& screen, CByteBuffer& buffer);
// Appends the data of the first 16 windows of non-zero size.
bool WriteData(const CProgram& program, CByteBuffer& buffer);
// Appends the zone records of the first 200 zones of non-zero size.
bool WriteData(const CPlayWindow& window, CByteBuffer& buffer);
// Appends one zone record. lastInWindow makes its next-record offset 0.
bool WriteData(const CEffectZone& zone, CByteBuffer& buffer, bool lastInWindow);

// Fills the 444-byte program record for window data that starts at dataOffset.
using ProgramRecord = std::array<std::uint8_t, 444>;
void FillDirectory(const CProgram& program, std::uint32_t dataOffset, ProgramRecord& record);
// The offsets of the window's compiled zone records, for data that starts at dataOffset.
void FillDirectory(const CPlayWindow& window, std::uint32_t dataOffset,
                   std::vector<std::uint32_t>& table);

// The 196-byte border block of a program (all zero without a border).
void FillBorderBlock(const CProgram& program, std::uint8_t* block);
// Bytes 8 to 19 of the record of a clock, date-time, temperature or countdown zone.
// False for other kinds.
bool FillLiveBytes(const CEffectZone& zone, std::uint8_t* bytes);

// The largest program frame buffer: per program the sum over its windows of
// H x W32 x C / 8, and of these the largest.
std::uint32_t GetFrameBufferSize(const CScreen& screen);

// The screen an object belongs to, or null.
const CScreen* ScreenOf(const CProjectObject& object);
