#pragma once

#include <array>
#include <cstdint>

// One timetable entry (5 bytes): start and end in minutes after midnight, and a value.
// Bit 15 of the start marks the entry as not in use.
struct ScheduleEntry
{
    static constexpr std::uint16_t kUnused = 0x8000;
    std::uint16_t start = kUnused;
    std::uint16_t end = 0;
    std::uint8_t value = 0;

    bool InUse() const { return (start & kUnused) == 0; }
    int StartMinutes() const { return start & 0x7FFF; }
};

// The controller's 112-byte parameter block: the in-memory record and the exact payload of
// the parameter read and write commands. Multi-byte values are little-endian, except the
// UDP port, which is kept in network byte order.
class ControllerParams
{
public:
    static constexpr int kSize = 112;
    static constexpr int kBrightnessEntries = 6;
    static constexpr int kPowerEntries = 4;

    // Offsets of the fields.
    enum Offset : int {
        BaudRate = 0,
        PanelId = 4,
        Width = 6,
        Height = 8,
        ColourType = 10,
        DataPolarity = 11,
        OePolarity = 12,
        RowOrder = 13,
        PixelOrder = 14,
        Frequency = 15,
        Blanking = 16,
        ScanMode = 17,
        FoldMode = 18,
        PanelFlags = 19,
        Reserved = 20,
        UdpPort = 24,
        Mac = 26,
        Ip = 32,
        NetworkOptions = 44,
        PowerState = 56,
        PowerMode = 57,
        PowerReserved0 = 58,
        PowerReserved1 = 59,
        PowerSchedule = 60,
        Brightness = 80,
        BrightnessMode = 81,
        BrightnessSchedule = 82,
    };
    static constexpr int kPowerBlockOffset = 56;
    static constexpr int kPowerBlockSize = 24;

    ControllerParams(); // the defaults of a new screen

    std::array<std::uint8_t, kSize>& Bytes() { return m_bytes; }
    const std::array<std::uint8_t, kSize>& Bytes() const { return m_bytes; }

    std::uint8_t U8(int offset) const { return m_bytes[offset]; }
    std::uint16_t U16(int offset) const;
    std::uint32_t U32(int offset) const;
    void SetU8(int offset, std::uint8_t value) { m_bytes[offset] = value; }
    void SetU16(int offset, std::uint16_t value);
    void SetU32(int offset, std::uint32_t value);

    int PanelWidth() const { return U16(Width); }
    int PanelHeight() const { return U16(Height); }
    // Colour planes: the colour type when it is 1, 2 or 3, else 1.
    int ColourDepth() const;
    // The UDP port in host byte order.
    std::uint16_t UdpPortNumber() const;
    void SetUdpPortNumber(std::uint16_t port);

    ScheduleEntry BrightnessEntry(int index) const;
    void SetBrightnessEntry(int index, const ScheduleEntry& entry);
    ScheduleEntry PowerEntry(int index) const;
    void SetPowerEntry(int index, const ScheduleEntry& entry);

    friend bool operator==(const ControllerParams&, const ControllerParams&) = default;

private:
    ScheduleEntry EntryAt(int offset) const;
    void SetEntryAt(int offset, const ScheduleEntry& entry);

    std::array<std::uint8_t, kSize> m_bytes{};
};
