// The DES variant of the controllers against published DES test vectors: the variant is
// standard DES on bytes whose bit order is reversed, so a published (key, plaintext,
// ciphertext) triple must hold after reversing the bits of every byte of all three.
#include "comm/des_cipher.h"
#include "comm/des_triple.h"

#include <gtest/gtest.h>

#include <QByteArray>

#include <array>
#include <vector>

namespace {

DesBlock Hex(const char* text)
{
    const QByteArray bytes = QByteArray::fromHex(text);
    DesBlock block{};
    for (int i = 0; i < 8 && i < bytes.size(); ++i)
        block[i] = std::uint8_t(bytes[i]);
    return block;
}

std::uint8_t ReverseBits(std::uint8_t v)
{
    std::uint8_t r = 0;
    for (int bit = 0; bit < 8; ++bit) {
        if (v & (1u << bit))
            r |= std::uint8_t(0x80u >> bit);
    }
    return r;
}

DesBlock ReverseEveryByte(DesBlock block)
{
    for (std::uint8_t& byte : block)
        byte = ReverseBits(byte);
    return block;
}

struct Vector
{
    const char* key;
    const char* plain;
    const char* cipher;
};

// Classic worked example, the "Now is t" example of FIPS 81, and known-answer tests of
// NIST SP 800-17 (variable plaintext, variable key, permutation and S-box tables).
const Vector kVectors[] = {
    {"133457799BBCDFF1", "0123456789ABCDEF", "85E813540F0AB405"},
    {"0E329232EA6D0D73", "8787878787878787", "0000000000000000"},
    {"0123456789ABCDEF", "4E6F772069732074", "3FA40E8A984D4815"},
    {"0101010101010101", "8000000000000000", "95F8A5E5DD31D900"},
    {"0101010101010101", "4000000000000000", "DD7F121CA5015619"},
    {"8001010101010101", "0000000000000000", "95A8D72813DAA94D"},
    {"4001010101010101", "0000000000000000", "0EEC1487DD8C26D5"},
    {"1046913489980131", "0000000000000000", "88D55E54F54C97B4"},
    {"7CA110454A1A6E57", "01A1D6D039776742", "690F5B0D9A26939B"},
    {"0131D9619DC1376E", "5CD54CA83DEF57DA", "7A389D10354BD271"},
};

class DesVectors : public ::testing::TestWithParam<Vector>
{};

TEST_P(DesVectors, StandardBitOrderMatchesThePublishedValue)
{
    const Vector& v = GetParam();
    const CDesCipher des(Hex(v.key), CDesCipher::BitOrder::MsbFirst);
    EXPECT_EQ(des.Encrypt(Hex(v.plain)), Hex(v.cipher));
    EXPECT_EQ(des.Decrypt(Hex(v.cipher)), Hex(v.plain));
}

TEST_P(DesVectors, ControllerBitOrderMatchesThroughByteBitReversal)
{
    const Vector& v = GetParam();
    const CDesCipher des(ReverseEveryByte(Hex(v.key)));
    const DesBlock plain = ReverseEveryByte(Hex(v.plain));
    const DesBlock cipher = ReverseEveryByte(Hex(v.cipher));
    EXPECT_EQ(des.Encrypt(plain), cipher);
    EXPECT_EQ(des.Decrypt(cipher), plain);
}

INSTANTIATE_TEST_SUITE_P(Published, DesVectors, ::testing::ValuesIn(kVectors));

TEST(DesCipher, ControllerOrderIsTheDefaultAndDiffersFromStandard)
{
    const DesBlock key = Hex("133457799BBCDFF1");
    const DesBlock plain = Hex("0123456789ABCDEF");
    EXPECT_NE(CDesCipher(key).Encrypt(plain), Hex("85E813540F0AB405"));
    EXPECT_EQ(CDesCipher(key).Encrypt(plain),
              CDesCipher(key, CDesCipher::BitOrder::LsbFirst).Encrypt(plain));
}

TEST(DesCipher, ParityBitsOfTheKeyDoNotMatter)
{
    // Bit 7 of every byte is a parity bit in the controllers' numbering.
    const DesBlock key = Hex("0011223344556677");
    DesBlock flipped = key;
    for (std::uint8_t& byte : flipped)
        byte ^= 0x80;
    const DesBlock plain = Hex("A5A5A5A55A5A5A5A");
    EXPECT_EQ(CDesCipher(key).Encrypt(plain), CDesCipher(flipped).Encrypt(plain));
    flipped[3] ^= 0x01;
    EXPECT_NE(CDesCipher(key).Encrypt(plain), CDesCipher(flipped).Encrypt(plain));
}

std::array<std::uint8_t, 16> TwoKeys(const char* k1, const char* k2)
{
    std::array<std::uint8_t, 16> key{};
    const DesBlock a = Hex(k1);
    const DesBlock b = Hex(k2);
    for (int i = 0; i < 8; ++i) {
        key[i] = a[i];
        key[8 + i] = b[i];
    }
    return key;
}

TEST(TripleDes, EqualHalvesReduceToSingleDes)
{
    // E(K, D(K, E(K, p))) = E(K, p): the published single-DES vector must hold.
    const CTripleDes ede(TwoKeys("133457799BBCDFF1", "133457799BBCDFF1"),
                         CDesCipher::BitOrder::MsbFirst);
    DesBlock block = Hex("0123456789ABCDEF");
    ede.EncryptBlock(block.data());
    EXPECT_EQ(block, Hex("85E813540F0AB405"));
    ede.DecryptBlock(block.data());
    EXPECT_EQ(block, Hex("0123456789ABCDEF"));
}

TEST(TripleDes, DecryptIsD1E2D1)
{
    const DesBlock k1 = Hex("0123456789ABCDEF");
    const DesBlock k2 = Hex("23456789ABCDEF01");
    const CTripleDes ede(TwoKeys("0123456789ABCDEF", "23456789ABCDEF01"));
    const DesBlock cipher = Hex("1122334455667788");
    DesBlock expected =
        CDesCipher(k1).Decrypt(CDesCipher(k2).Encrypt(CDesCipher(k1).Decrypt(cipher)));
    DesBlock block = cipher;
    ede.DecryptBlock(block.data());
    EXPECT_EQ(block, expected);
}

TEST(TripleDes, EcbRoundTripTreatsBlocksIndependently)
{
    const CTripleDes ede(TwoKeys("0E329232EA6D0D73", "7CA110454A1A6E57"));
    std::vector<std::uint8_t> data(64);
    for (std::size_t i = 0; i < data.size(); ++i)
        data[i] = std::uint8_t(i < 32 ? 0x5A : i * 7);
    const std::vector<std::uint8_t> original = data;
    ASSERT_TRUE(ede.EncryptEcb(data.data(), data.size()));
    EXPECT_NE(data, original);
    // ECB: equal plaintext blocks give equal ciphertext blocks.
    EXPECT_TRUE(std::equal(data.begin(), data.begin() + 8, data.begin() + 8));
    ASSERT_TRUE(ede.DecryptEcb(data.data(), data.size()));
    EXPECT_EQ(data, original);
}

TEST(TripleDes, RefusesALengthThatIsNotWholeBlocks)
{
    const CTripleDes ede(TwoKeys("0E329232EA6D0D73", "7CA110454A1A6E57"));
    std::vector<std::uint8_t> data(12, 0x33);
    EXPECT_FALSE(ede.DecryptEcb(data.data(), data.size()));
    EXPECT_FALSE(ede.EncryptEcb(data.data(), data.size()));
    EXPECT_EQ(data, std::vector<std::uint8_t>(12, 0x33));
}

} // namespace
