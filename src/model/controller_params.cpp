#include "model/controller_params.h"

ControllerParams::ControllerParams()
{
    SetU32(BaudRate, 57600);
    SetU16(PanelId, 1);
    SetU16(Width, 256);
    SetU16(Height, 32);
    SetU8(ColourType, 2);
    SetU8(OePolarity, 1);
    SetU8(Frequency, 3);
    SetU8(Blanking, 20);
    SetU8(ScanMode, 64);
    SetUdpPortNumber(5959);
    SetU8(PowerState, 1);
    SetU8(PowerMode, 1);
    SetU8(Brightness, 15);
    SetU8(BrightnessMode, 1);
    for (int i = 0; i < kBrightnessEntries; ++i)
        SetBrightnessEntry(i, ScheduleEntry{});
    for (int i = 0; i < kPowerEntries; ++i)
        SetPowerEntry(i, ScheduleEntry{});
}

std::uint16_t ControllerParams::U16(int offset) const
{
    return static_cast<std::uint16_t>(m_bytes[offset] | (m_bytes[offset + 1] << 8));
}

std::uint32_t ControllerParams::U32(int offset) const
{
    return static_cast<std::uint32_t>(m_bytes[offset]) |
           static_cast<std::uint32_t>(m_bytes[offset + 1]) << 8 |
           static_cast<std::uint32_t>(m_bytes[offset + 2]) << 16 |
           static_cast<std::uint32_t>(m_bytes[offset + 3]) << 24;
}

void ControllerParams::SetU16(int offset, std::uint16_t value)
{
    m_bytes[offset] = static_cast<std::uint8_t>(value);
    m_bytes[offset + 1] = static_cast<std::uint8_t>(value >> 8);
}

void ControllerParams::SetU32(int offset, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        m_bytes[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

int ControllerParams::ColourDepth() const
{
    const int type = U8(ColourType);
    return type >= 1 && type <= 3 ? type : 1;
}

std::uint16_t ControllerParams::UdpPortNumber() const
{
    return static_cast<std::uint16_t>(m_bytes[UdpPort] << 8 | m_bytes[UdpPort + 1]);
}

void ControllerParams::SetUdpPortNumber(std::uint16_t port)
{
    m_bytes[UdpPort] = static_cast<std::uint8_t>(port >> 8);
    m_bytes[UdpPort + 1] = static_cast<std::uint8_t>(port);
}

ScheduleEntry ControllerParams::EntryAt(int offset) const
{
    return ScheduleEntry{U16(offset), U16(offset + 2), U8(offset + 4)};
}

void ControllerParams::SetEntryAt(int offset, const ScheduleEntry& entry)
{
    SetU16(offset, entry.start);
    SetU16(offset + 2, entry.end);
    SetU8(offset + 4, entry.value);
}

ScheduleEntry ControllerParams::BrightnessEntry(int index) const
{
    return EntryAt(BrightnessSchedule + 5 * index);
}

void ControllerParams::SetBrightnessEntry(int index, const ScheduleEntry& entry)
{
    SetEntryAt(BrightnessSchedule + 5 * index, entry);
}

ScheduleEntry ControllerParams::PowerEntry(int index) const
{
    return EntryAt(PowerSchedule + 5 * index);
}

void ControllerParams::SetPowerEntry(int index, const ScheduleEntry& entry)
{
    SetEntryAt(PowerSchedule + 5 * index, entry);
}
