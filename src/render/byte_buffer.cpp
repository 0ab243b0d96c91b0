#include "render/byte_buffer.h"

#include <cstring>

CByteBuffer::CByteBuffer(std::size_t initialCapacity, std::size_t growthStep)
    : m_growth(growthStep == 0 ? kDefaultGrowth : growthStep)
{
    m_data.reserve(initialCapacity == 0 ? kDefaultCapacity : initialCapacity);
}

bool CByteBuffer::CanAppend(std::size_t count) const
{
    const std::size_t limit = kLengthLimit > m_growth ? kLengthLimit - m_growth : 0;
    return count < limit && m_data.size() < limit - count;
}

bool CByteBuffer::Reserve(std::size_t count)
{
    if (!CanAppend(count))
        return false;
    const std::size_t needed = m_data.size() + count;
    if (needed > m_data.capacity()) {
        const std::size_t shortBy = needed - m_data.capacity();
        const std::size_t steps = (shortBy + m_growth - 1) / m_growth;
        m_data.reserve(m_data.capacity() + steps * m_growth);
    }
    return true;
}

bool CByteBuffer::AppendByte(std::uint8_t value)
{
    if (!Reserve(1))
        return false;
    m_data.push_back(value);
    return true;
}

bool CByteBuffer::AppendU16(std::uint16_t value)
{
    const std::uint8_t bytes[2] = {static_cast<std::uint8_t>(value),
                                   static_cast<std::uint8_t>(value >> 8)};
    return AppendBytes(bytes, 2);
}

bool CByteBuffer::AppendU32(std::uint32_t value)
{
    const std::uint8_t bytes[4] = {
        static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
        static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
    return AppendBytes(bytes, 4);
}

bool CByteBuffer::AppendBytes(const void* data, std::size_t count)
{
    if (count == 0)
        return true;
    if (!data || !Reserve(count))
        return false;
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    m_data.insert(m_data.end(), bytes, bytes + count);
    return true;
}

bool CByteBuffer::AppendFill(std::uint8_t value, std::size_t count)
{
    if (!Reserve(count))
        return false;
    m_data.insert(m_data.end(), count, value);
    return true;
}

bool CByteBuffer::AppendBuffer(const CByteBuffer& other)
{
    if (&other == this) {
        const std::vector<std::uint8_t> copy = m_data;
        return AppendBytes(copy.data(), copy.size());
    }
    return AppendBytes(other.Data(), other.Length());
}

std::uint8_t* CByteBuffer::AppendSpace(std::size_t count)
{
    if (!Reserve(count))
        return nullptr;
    const std::size_t start = m_data.size();
    m_data.resize(start + count);
    return m_data.data() + start;
}

bool CByteBuffer::WriteU32At(std::size_t offset, std::uint32_t value)
{
    if (offset > m_data.size() || m_data.size() - offset < 4)
        return false;
    for (int i = 0; i < 4; ++i)
        m_data[offset + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
    return true;
}
