#include "render/random_source.h"

#include <atomic>
#include <cstdlib>

namespace {

class CRuntimeRandom final : public IRandomSource
{
public:
    int Next() override { return std::rand() & 0x7FFF; }
};

CRuntimeRandom g_runtimeRandom;
std::atomic<IRandomSource*> g_installed{nullptr};

} // namespace

int CSeededRandom::Next()
{
    m_state = m_state * 214013u + 2531011u;
    return static_cast<int>((m_state >> 16) & 0x7FFF);
}

IRandomSource& RandomSource()
{
    IRandomSource* source = g_installed.load();
    return source ? *source : g_runtimeRandom;
}

void SetRandomSource(IRandomSource* source)
{
    g_installed.store(source);
}

CScopedRandomSeed::CScopedRandomSeed(std::uint32_t seed)
    : m_random(seed), m_previous(g_installed.load())
{
    SetRandomSource(&m_random);
}

CScopedRandomSeed::~CScopedRandomSeed()
{
    SetRandomSource(m_previous);
}
