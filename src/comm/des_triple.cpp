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
    : m_order(order), m_k1(KeyHalf(key, 0), order), m_k2(KeyHalf(key, 1), order)
{}

void CTripleDes::EncryptBlock(std::uint8_t* block) const
{
    Crypt(block, false);
}

void CTripleDes::DecryptBlock(std::uint8_t* block) const
{
    Crypt(block, true);
}

// Three passes with the permutations between them left out: the final permutation of one
// pass and the initial permutation of the next cancel.
void CTripleDes::Crypt(std::uint8_t* block, bool decrypt) const
{
    std::uint32_t left = 0;
    std::uint32_t right = 0;
    CDesCipher::Enter(block, m_order, left, right);
    m_k1.Rounds(left, right, decrypt);
    m_k2.Rounds(left, right, !decrypt);
    m_k1.Rounds(left, right, decrypt);
    CDesCipher::Leave(left, right, m_order, block);
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
