#pragma once

#include <algorithm>
#include <charconv>
#include <cstring>

// A property key made of a prefix and a decimal index ("r_h" 3 -> "r_h3"), built on the
// stack: tables and timetables name thousands of elements this way.
class IndexedKey
{
public:
    IndexedKey(const char* prefix, int index)
    {
        const size_t length = std::min(std::strlen(prefix), sizeof m_text - 12);
        std::memcpy(m_text, prefix, length);
        char* end = std::to_chars(m_text + length, m_text + sizeof m_text - 1, index).ptr;
        *end = '\0';
    }
    const char* c_str() const { return m_text; }
    operator const char*() const { return m_text; }

private:
    char m_text[32];
};
