#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// A growable byte array for screen data, chunk payloads and the USB file. The storage grows
// by whole growth steps; an append that would bring the length to 0x7FFFFFFF minus the
// growth step is ignored (the call returns false and the contents stay as they were).
// Multi-byte values are appended little-endian.
class CByteBuffer
{
public:
    static constexpr std::size_t kDefaultCapacity = 128;
    static constexpr std::size_t kDefaultGrowth = 8;
    static constexpr std::size_t kLengthLimit = 0x7FFFFFFF;

    explicit CByteBuffer(std::size_t initialCapacity = kDefaultCapacity,
                         std::size_t growthStep = kDefaultGrowth);

    bool AppendByte(std::uint8_t value);
    bool AppendU16(std::uint16_t value);
    bool AppendU32(std::uint32_t value);
    bool AppendBytes(const void* data, std::size_t count);
    bool AppendFill(std::uint8_t value, std::size_t count);
    bool AppendBuffer(const CByteBuffer& other);
    // Appends count zero bytes and returns where they start, or null when refused. The
    // pointer stays valid until the next append.
    std::uint8_t* AppendSpace(std::size_t count);

    // Overwrites bytes already in the buffer; false when the range is not inside it.
    bool WriteU32At(std::size_t offset, std::uint32_t value);

    std::size_t Length() const { return m_data.size(); }
    std::size_t Capacity() const { return m_data.capacity(); }
    std::size_t GrowthStep() const { return m_growth; }
    bool IsEmpty() const { return m_data.empty(); }
    const std::uint8_t* Data() const { return m_data.data(); }
    std::uint8_t* Data() { return m_data.data(); }
    const std::vector<std::uint8_t>& Bytes() const { return m_data; }
    void Clear() { m_data.clear(); }

    // Makes room for count more bytes at once, so that a long run of appends of known total
    // size copies nothing; false when they would not be accepted.
    bool ReserveFor(std::size_t count) { return Reserve(count); }

    // Whether count more bytes would be accepted.
    bool CanAppend(std::size_t count) const;

private:
    bool Reserve(std::size_t count);

    std::vector<std::uint8_t> m_data;
    std::size_t m_growth;
};
