#pragma once

#include "comm/des_cipher.h"

#include <array>
#include <cstddef>
#include <cstdint>

// Two-key Triple DES in EDE form with the controllers' DES bit order: the first 8 key
// bytes are K1, the last 8 K2. A block c decrypts as D(K1, E(K2, D(K1, c))) and a block
// p encrypts as E(K1, D(K2, E(K1, p))). ECB mode: every 8-byte block on its own.
class CTripleDes
{
public:
    explicit CTripleDes(const std::array<std::uint8_t, 16>& key,
                        CDesCipher::BitOrder order = CDesCipher::BitOrder::LsbFirst);

    void EncryptBlock(std::uint8_t* block) const;
    void DecryptBlock(std::uint8_t* block) const;

    // Every block of data in place; false (and nothing changed) when length is not a
    // multiple of 8.
    [[nodiscard]] bool EncryptEcb(std::uint8_t* data, std::size_t length) const;
    [[nodiscard]] bool DecryptEcb(std::uint8_t* data, std::size_t length) const;

private:
    void Crypt(std::uint8_t* block, bool decrypt) const;

    CDesCipher::BitOrder m_order;
    CDesCipher m_k1;
    CDesCipher m_k2;
};
