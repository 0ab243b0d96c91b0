#pragma once

#include <cstddef>
#include <cstdint>

// Fixed sizes and offsets of the screen data that a controller plays. All multi-byte
// values are little-endian; all offsets count from the first byte of the screen data.
namespace layout {

// Data header: 123 random bytes, a random value from 55 to 104, then two check pairs from
// which a reader finds the program count P: (b126 + b127) mod 256 = P and
// (b124 + b125 + P) mod 256 = 0x55.
constexpr std::size_t kHeaderSize = 128;
constexpr std::size_t kHeaderRandomBytes = 123;
constexpr std::size_t kHeaderRangeByte = 123;
constexpr std::size_t kHeaderCheck1 = 124;
constexpr std::size_t kHeaderCheck2 = 126;
constexpr std::uint8_t kHeaderCheckSum = 0x55;
constexpr int kHeaderRangeLow = 55;
constexpr int kHeaderRangeSpan = 50;

// Program table: one 32-bit offset per emitted program record, after the header.
constexpr std::size_t kProgramEntrySize = 4;

// Program record.
constexpr std::size_t kProgramRecordSize = 444;
constexpr std::size_t kScheduleSize = 20;
constexpr std::size_t kBorderOffset = 20;
constexpr std::size_t kBorderSize = 196;
constexpr std::size_t kWindowTableOffset = 216;
constexpr std::size_t kWindowEntrySize = 12;
constexpr int kWindowEntries = 16;
constexpr std::size_t kMarkerOffset = 408;
constexpr std::uint16_t kMarkerValue = 0x5A01;
constexpr std::size_t kVersionOffset = 410;
constexpr std::uint16_t kVersionValue = 1;
constexpr std::size_t kFrameCodeOffset = 412;
constexpr std::uint16_t kMinPlayTime = 3;

// Border block, offsets inside the block.
constexpr std::size_t kBorderAction = 0;
constexpr std::size_t kBorderStep = 1;
constexpr std::size_t kBorderSpeed = 2;
constexpr std::size_t kBorderThickness = 3;
constexpr std::size_t kBorderHorizontal = 4; // three planes of 16 masks of 16 bits
constexpr std::size_t kBorderVertical = 100;
constexpr std::size_t kBorderPlaneSize = 32;
constexpr int kBorderMaxThickness = 16;
constexpr int kBorderThreshold = 10;

// Zone record: a 20-byte header, then the pages, each a 4-byte header and the planes.
constexpr std::size_t kZoneHeaderSize = 20;
constexpr std::size_t kZoneNext = 0;
constexpr std::size_t kZoneHold = 4;
constexpr std::size_t kZonePages = 6;
constexpr std::size_t kZoneKind = 7;
constexpr std::size_t kZoneClear = 8;
constexpr std::size_t kZoneAction = 9;
constexpr std::size_t kZoneSpeed = 10;
constexpr std::size_t kZoneLive = 8; // bytes 8 to 19 of the live kinds
constexpr std::size_t kZoneLiveSize = 12;
constexpr std::size_t kPageHeaderSize = 4;
// The page count is one byte: a zone never emits more pages than this.
constexpr int kMaxPages = 255;

// How many windows of a program and zones of a window are compiled.
constexpr int kMaxWindows = 16;
constexpr int kMaxZones = 200;

// Zone kinds as the data carries them.
constexpr std::uint8_t kDataText = 1;
constexpr std::uint8_t kDataImage = 2;
constexpr std::uint8_t kDataTable = 4;
constexpr std::uint8_t kDataClock = 10;
constexpr std::uint8_t kDataDateTime = 11;
constexpr std::uint8_t kDataTemperature = 12;
constexpr std::uint8_t kDataCountdown = 13;

// Window frame code: bits 0-3 frame type - 1, bit 4 set, bits 5-7 colour, bits 8-11
// speed, bits 13-15 direction; 0 without a frame.
constexpr std::uint16_t FrameCode(int type, int colour, int speed, int direction)
{
    if (type == 0)
        type = 1;
    return static_cast<std::uint16_t>(((type - 1) & 0xF) | 0x10 | ((colour & 7) << 5) |
                                      ((speed & 0xF) << 8) | ((direction & 7) << 13));
}

// Little-endian helpers.
inline void PutU16(std::uint8_t* at, std::uint32_t value)
{
    at[0] = static_cast<std::uint8_t>(value);
    at[1] = static_cast<std::uint8_t>(value >> 8);
}
inline void PutU32(std::uint8_t* at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        at[i] = static_cast<std::uint8_t>(value >> (8 * i));
}
inline std::uint16_t GetU16(const std::uint8_t* at)
{
    return static_cast<std::uint16_t>(at[0] | (at[1] << 8));
}
inline std::uint32_t GetU32(const std::uint8_t* at)
{
    return static_cast<std::uint32_t>(at[0]) | (static_cast<std::uint32_t>(at[1]) << 8) |
           (static_cast<std::uint32_t>(at[2]) << 16) | (static_cast<std::uint32_t>(at[3]) << 24);
}

} // namespace layout
