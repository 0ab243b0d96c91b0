#include "comm/des_triple.h"

namespace {

DesBlock KeyHalf(const std::array<std::uint8_t, 16>& key, int half)
{
    DesBlock part;
    for (int i = 0; i < 8; ++i)
        part[i] = key[half * 8 + i];
    return part;
}

} // namespace

CTripleDes::CTripleDes(const std::array<std::uint8_t, 16>& key, CDesCipher::BitOrder order)
    : m_k1(KeyHalf(key, 0), order), m_k2(KeyHalf(key, 1), order)
{}

void CTripleDes::EncryptBlock(std::uint8_t* block) const
{
    m_k1.EncryptBlock(block);
    m_k2.DecryptBlock(block);
    m_k1.EncryptBlock(block);
}

void CTripleDes::DecryptBlock(std::uint8_t* block) const
{
    m_k1.DecryptBlock(block);
    m_k2.EncryptBlock(block);
    m_k1.DecryptBlock(block);
}

bool CTripleDes::EncryptEcb(std::uint8_t* data, std::size_t length) const
{
    if (length % 8 != 0)
        return false;
    for (std::size_t offset = 0; offset < length; offset += 8)
        EncryptBlock(data + offset);
    return true;
}

bool CTripleDes::DecryptEcb(std::uint8_t* data, std::size_t length) const
{
    if (length % 8 != 0)
        return false;
    for (std::size_t offset = 0; offset < length; offset += 8)
        DecryptBlock(data + offset);
    return true;
}
