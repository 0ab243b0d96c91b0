#pragma once

#include <cstdint>

// The pseudo-random values of frames, screen data and the USB file: 0 to 32767, like the C
// runtime's generator. One generator serves the whole process; tests and "--seed" install
// a seeded one so that the output can be reproduced.
class IRandomSource
{
public:
    virtual ~IRandomSource() = default;
    // The next value, 0 to 32767.
    virtual int Next() = 0;
};

// A generator with its own seed, following the classic C runtime recurrence
// (state * 214013 + 2531011, value = bits 16 to 30 of the state).
class CSeededRandom final : public IRandomSource
{
public:
    explicit CSeededRandom(std::uint32_t seed) : m_state(seed) {}
    int Next() override;

private:
    std::uint32_t m_state;
};

// The generator in use: the one installed with SetRandomSource, else one that draws from
// the runtime library.
IRandomSource& RandomSource();
// Installs a generator (not owned); nullptr restores the runtime's.
void SetRandomSource(IRandomSource* source);

// The low byte of one value. (There is no NextRandom() here: that name is the frames'
// generator of the link level, and an inline one of the same name would be replaced by it
// wherever the compiler did not inline it.)
inline std::uint8_t NextRandomByte()
{
    return static_cast<std::uint8_t>(RandomSource().Next() & 0xFF);
}

// Installs a seeded generator for the lifetime of the object and restores the previous one.
class CScopedRandomSeed
{
public:
    explicit CScopedRandomSeed(std::uint32_t seed);
    ~CScopedRandomSeed();
    CScopedRandomSeed(const CScopedRandomSeed&) = delete;
    CScopedRandomSeed& operator=(const CScopedRandomSeed&) = delete;

private:
    CSeededRandom m_random;
    IRandomSource* m_previous;
};
