#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

#include <array>
#include <cstdint>
#include <vector>

// Reads screen data the way a controller does: the header, the program table, each
// program record with its window table, and the zone records of every window, checking
// every offset and check byte on the way, and turns the bit planes of each page back into
// a picture (each component 0 or 255). The colour depth and the data polarity are not in
// the data: the reader has to know them, as the controller knows its own parameters.

struct DecodedPage
{
    std::uint32_t offset = 0; // of the page's 4-byte header
    std::uint16_t hold = 0;
    QImage image; // Format_RGB32, window-sized; null for a window without pixels
};

struct DecodedZone
{
    std::uint32_t offset = 0;
    std::uint32_t next = 0;
    std::uint16_t hold = 0;
    int pageCount = 0;
    std::uint8_t kind = 0;                // 1, 2, 4, 10, 11, 12 or 13
    std::array<std::uint8_t, 12> bytes{}; // bytes 8 to 19 of the record
    std::vector<DecodedPage> pages;

    bool IsLive() const { return kind >= 10; }
    // Common form: bytes 8, 9 and 10.
    int ClearMode() const { return bytes[0]; }
    int Action() const { return bytes[1]; }
    int Speed() const { return bytes[2]; }
};

struct DecodedWindow
{
    std::uint32_t offset = 0; // of its first zone record
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    std::uint16_t frameCode = 0;
    std::vector<DecodedZone> zones;
    // The last zone pointed at the end of the window instead of carrying 0.
    bool chainRunsOn = false;
};

struct DecodedBorder
{
    int action = 0;
    int step = 0; // bit 7: flat
    int speed = 0;
    int thickness = 0;
    // As stored: [plane][row].
    std::array<std::array<std::uint16_t, 16>, 3> horizontal{};
    std::array<std::array<std::uint16_t, 16>, 3> vertical{};
    // The patterns with the polarity undone: 16 x thickness and thickness x 16.
    QImage pattern;
    QImage strip;
};

struct DecodedProgram
{
    std::uint32_t offset = 0;
    std::uint16_t playTime = 0;
    std::uint8_t playMode = 0;
    std::uint8_t weekdays = 0;
    std::int32_t firstDay = 0;
    std::int32_t lastDay = 0;
    std::int32_t startTime = 0;
    std::int32_t endTime = 0;
    DecodedBorder border;
    std::vector<DecodedWindow> windows;
};

struct DecodedScreen
{
    int programCount = 0;
    std::vector<DecodedProgram> programs;
    std::size_t length = 0; // bytes the structure covers
};

// Decodes a whole block of screen data; the walk has to end exactly at its last byte.
// False with a message for truncated or inconsistent data.
bool DecodeScreenData(const QByteArray& data, int colourDepth, int polarity, DecodedScreen& out,
                      QString& error);
// The same, allowing bytes after the structure (the padding of the USB file).
bool DecodeScreenPrefix(const QByteArray& data, int colourDepth, int polarity, DecodedScreen& out,
                        QString& error);

// The USB disk file "LED.RZU": a 512-byte header and the padded screen data.
struct DecodedExportFile
{
    std::uint8_t clockFlag = 0; // 64 or more: set the clock; 64 or less: do not
    std::uint8_t paramFlag = 0; // the same for the parameter block
    std::uint32_t dataLength = 0;
    std::uint32_t frameBuffer = 0;
    std::int32_t clock = 0; // meaningful with the clock flag
    std::array<std::uint8_t, 112> params{};
    bool hasScreen = false;
    DecodedScreen screen;

    bool ClockRequested() const { return clockFlag > 64; }
    bool ParamsIncluded() const { return paramFlag > 64; }
};

bool DecodeExportFile(const QByteArray& file, int colourDepth, int polarity, DecodedExportFile& out,
                      QString& error);
// Whether the bytes look like a USB disk file rather than raw screen data.
bool LooksLikeExportFile(const QByteArray& bytes);
