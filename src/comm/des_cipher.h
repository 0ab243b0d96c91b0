#pragma once

#include <array>
#include <cstdint>

using DesBlock = std::array<std::uint8_t, 8>;

// The DES block cipher (64-bit blocks, 56-bit key in 8 bytes, parity bits ignored).
//
// The controllers number the bits of a block and of a key from the least significant bit
// of each byte: bit n is bit (n mod 8) of byte n / 8. That is standard DES applied to
// bytes whose bit order is reversed, with the bit order of every output byte reversed
// again. BitOrder::MsbFirst gives the standard numbering.
class CDesCipher
{
public:
    enum class BitOrder { LsbFirst, MsbFirst };

    explicit CDesCipher(const DesBlock& key, BitOrder order = BitOrder::LsbFirst);
    ~CDesCipher();
    CDesCipher(const CDesCipher&) = default;
    CDesCipher& operator=(const CDesCipher&) = default;

    // Transform the 8 bytes at block in place.
    void EncryptBlock(std::uint8_t* block) const;
    void DecryptBlock(std::uint8_t* block) const;

    DesBlock Encrypt(DesBlock block) const
    {
        EncryptBlock(block.data());
        return block;
    }
    DesBlock Decrypt(DesBlock block) const
    {
        DecryptBlock(block.data());
        return block;
    }

private:
    friend class CTripleDes;

    // The block after the initial permutation as its two halves, and back.
    static void Enter(const std::uint8_t* block, BitOrder order, std::uint32_t& left,
                      std::uint32_t& right);
    static void Leave(std::uint32_t left, std::uint32_t right, BitOrder order, std::uint8_t* block);
    // The 16 rounds, halves swapped at the end, so that rounds of another key can follow
    // directly (the final permutation of one pass cancels the initial one of the next).
    void Rounds(std::uint32_t& left, std::uint32_t& right, bool decrypt) const;
    void Crypt(std::uint8_t* block, bool decrypt) const;

    // Per round, the 48 key bits as the eight 6-bit groups that meet the S-boxes.
    std::array<std::array<std::uint8_t, 8>, 16> m_subkeys{};
    BitOrder m_order;
};
