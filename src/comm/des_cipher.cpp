#include "comm/des_cipher.h"

#include <cstring>

namespace {

// The tables of the DES standard: entries are 1-based bit numbers, bit 1 being the most
// significant bit of the input.
constexpr std::uint8_t kInitialPermutation[64] = {
    58, 50, 42, 34, 26, 18, 10, 2,  60, 52, 44, 36, 28, 20, 12, 4,  62, 54, 46, 38, 30, 22,
    14, 6,  64, 56, 48, 40, 32, 24, 16, 8,  57, 49, 41, 33, 25, 17, 9,  1,  59, 51, 43, 35,
    27, 19, 11, 3,  61, 53, 45, 37, 29, 21, 13, 5,  63, 55, 47, 39, 31, 23, 15, 7};

constexpr std::uint8_t kFinalPermutation[64] = {
    40, 8,  48, 16, 56, 24, 64, 32, 39, 7,  47, 15, 55, 23, 63, 31, 38, 6,  46, 14, 54, 22,
    62, 30, 37, 5,  45, 13, 53, 21, 61, 29, 36, 4,  44, 12, 52, 20, 60, 28, 35, 3,  43, 11,
    51, 19, 59, 27, 34, 2,  42, 10, 50, 18, 58, 26, 33, 1,  41, 9,  49, 17, 57, 25};

constexpr std::uint8_t kExpansion[48] = {
    32, 1,  2,  3,  4,  5,  4,  5,  6,  7,  8,  9,  8,  9,  10, 11, 12, 13, 12, 13, 14, 15, 16, 17,
    16, 17, 18, 19, 20, 21, 20, 21, 22, 23, 24, 25, 24, 25, 26, 27, 28, 29, 28, 29, 30, 31, 32, 1};

// Group i of the expansion is the six bits from bit 4i - 1 to bit 4i + 4, wrapping around;
// the round function relies on that.
constexpr bool ExpansionIsRotatedGroups()
{
    for (int i = 0; i < 8; ++i) {
        for (int j = 0; j < 6; ++j) {
            if (kExpansion[6 * i + j] != (4 * i + j + 31) % 32 + 1)
                return false;
        }
    }
    return true;
}
static_assert(ExpansionIsRotatedGroups());

constexpr std::uint8_t kPermutation[32] = {16, 7, 20, 21, 29, 12, 28, 17, 1,  15, 23,
                                           26, 5, 18, 31, 10, 2,  8,  24, 14, 32, 27,
                                           3,  9, 19, 13, 30, 6,  22, 11, 4,  25};

constexpr std::uint8_t kPermutedChoice1[56] = {
    57, 49, 41, 33, 25, 17, 9,  1,  58, 50, 42, 34, 26, 18, 10, 2,  59, 51, 43,
    35, 27, 19, 11, 3,  60, 52, 44, 36, 63, 55, 47, 39, 31, 23, 15, 7,  62, 54,
    46, 38, 30, 22, 14, 6,  61, 53, 45, 37, 29, 21, 13, 5,  28, 20, 12, 4};

constexpr std::uint8_t kPermutedChoice2[48] = {
    14, 17, 11, 24, 1,  5,  3,  28, 15, 6,  21, 10, 23, 19, 12, 4,  26, 8,  16, 7,  27, 20, 13, 2,
    41, 52, 31, 37, 47, 55, 30, 40, 51, 45, 33, 48, 44, 49, 39, 56, 34, 53, 46, 42, 50, 36, 29, 32};

constexpr std::uint8_t kShifts[16] = {1, 1, 2, 2, 2, 2, 2, 2, 1, 2, 2, 2, 2, 2, 2, 1};

constexpr std::uint8_t kSBoxes[8][64] = {
    {14, 4,  13, 1, 2,  15, 11, 8, 3, 10, 6, 12, 5,  9,  0,  7,  0,  15, 7,  4,  14, 2,
     13, 1,  10, 6, 12, 11, 9,  5, 3, 8,  4, 1,  14, 8,  13, 6,  2,  11, 15, 12, 9,  7,
     3,  10, 5,  0, 15, 12, 8,  2, 4, 9,  1, 7,  5,  11, 3,  14, 10, 0,  6,  13},
    {15, 1,  8,  14, 6,  11, 3,  4, 9,  7,  2, 13, 12, 0,  5,  10, 3,  13, 4,  7, 15, 2,
     8,  14, 12, 0,  1,  10, 6,  9, 11, 5,  0, 14, 7,  11, 10, 4,  13, 1,  5,  8, 12, 6,
     9,  3,  2,  15, 13, 8,  10, 1, 3,  15, 4, 2,  11, 6,  7,  12, 0,  5,  14, 9},
    {10, 0,  9,  14, 6, 3,  15, 5,  1,  13, 12, 7, 11, 4,  2,  8,  13, 7, 0,  9, 3, 4,
     6,  10, 2,  8,  5, 14, 12, 11, 15, 1,  13, 6, 4,  9,  8,  15, 3,  0, 11, 1, 2, 12,
     5,  10, 14, 7,  1, 10, 13, 0,  6,  9,  8,  7, 4,  15, 14, 3,  11, 5, 2,  12},
    {7, 13, 14, 3, 0, 6,  9, 10, 1,  2, 8,  5, 11, 12, 4,  15, 13, 8,  11, 5, 6, 15,
     0, 3,  4,  7, 2, 12, 1, 10, 14, 9, 10, 6, 9,  0,  12, 11, 7,  13, 15, 1, 3, 14,
     5, 2,  8,  4, 3, 15, 0, 6,  10, 1, 13, 8, 9,  4,  5,  11, 12, 7,  2,  14},
    {2,  12, 4, 1,  7,  10, 11, 6, 8, 5,  3, 15, 13, 0,  14, 9,  14, 11, 2,  12, 4,  7,
     13, 1,  5, 0,  15, 10, 3,  9, 8, 6,  4, 2,  1,  11, 10, 13, 7,  8,  15, 9,  12, 5,
     6,  3,  0, 14, 11, 8,  12, 7, 1, 14, 2, 13, 6,  15, 0,  9,  10, 4,  5,  3},
    {12, 1,  10, 15, 9,  2,  6, 8,  0, 13, 3,  4,  14, 7,  5, 11, 10, 15, 4, 2, 7, 12,
     9,  5,  6,  1,  13, 14, 0, 11, 3, 8,  9,  14, 15, 5,  2, 8,  12, 3,  7, 0, 4, 10,
     1,  13, 11, 6,  4,  3,  2, 12, 9, 5,  15, 10, 11, 14, 1, 7,  6,  0,  8, 13},
    {4, 11, 2,  14, 15, 0,  8,  13, 3, 12, 9,  7, 5,  10, 6,  1,  13, 0,  11, 7,  4, 9,
     1, 10, 14, 3,  5,  12, 2,  15, 8, 6,  1,  4, 11, 13, 12, 3,  7,  14, 10, 15, 6, 8,
     0, 5,  9,  2,  6,  11, 13, 8,  1, 4,  10, 7, 9,  5,  0,  15, 14, 2,  3,  12},
    {13, 2, 8,  4, 6, 15, 11, 1,  10, 9,  3, 14, 5,  0,  12, 7,  1,  15, 13, 8, 10, 3,
     7,  4, 12, 5, 6, 11, 0,  14, 9,  2,  7, 11, 4,  1,  9,  12, 14, 2,  0,  6, 10, 13,
     15, 3, 5,  8, 2, 1,  14, 7,  4,  10, 8, 13, 15, 12, 9,  0,  3,  5,  6,  11}};

// Output bit k (1-based, most significant first, of outBits) = input bit table[k - 1]
// (1-based, most significant first, of inBits).
std::uint64_t Permute(std::uint64_t input, int inBits, const std::uint8_t* table, int outBits)
{
    std::uint64_t output = 0;
    for (int k = 0; k < outBits; ++k)
        output = (output << 1) | ((input >> (inBits - table[k])) & 1u);
    return output;
}

// The permutations are linear, so each is looked up a byte at a time, and the S-boxes are
// merged with the permutation P that follows them.
struct DesTables
{
    std::uint64_t initial[8][256];
    std::uint64_t final[8][256];
    std::uint32_t sboxP[8][64];
    std::uint8_t reversed[256];

    DesTables()
    {
        for (int j = 0; j < 8; ++j) {
            for (int v = 0; v < 256; ++v) {
                const std::uint64_t in = std::uint64_t(v) << (56 - 8 * j);
                initial[j][v] = Permute(in, 64, kInitialPermutation, 64);
                final[j][v] = Permute(in, 64, kFinalPermutation, 64);
            }
        }
        for (int box = 0; box < 8; ++box) {
            for (int x = 0; x < 64; ++x) {
                const int row = ((x >> 4) & 2) | (x & 1);
                const int column = (x >> 1) & 15;
                const std::uint64_t s = kSBoxes[box][row * 16 + column];
                sboxP[box][x] = std::uint32_t(Permute(s << (28 - 4 * box), 32, kPermutation, 32));
            }
        }
        for (int v = 0; v < 256; ++v) {
            int r = 0;
            for (int bit = 0; bit < 8; ++bit)
                r |= ((v >> bit) & 1) << (7 - bit);
            reversed[v] = std::uint8_t(r);
        }
    }
};

const DesTables& Tables()
{
    static const DesTables tables;
    return tables;
}

std::uint64_t LookUp64(const std::uint64_t (*table)[256], std::uint64_t value)
{
    std::uint64_t result = 0;
    for (int j = 0; j < 8; ++j)
        result |= table[j][(value >> (56 - 8 * j)) & 0xFF];
    return result;
}

std::uint64_t LoadBlock(const std::uint8_t* bytes, bool reverseBits, const DesTables& tables)
{
    std::uint64_t value = 0;
    for (int i = 0; i < 8; ++i)
        value = (value << 8) | (reverseBits ? tables.reversed[bytes[i]] : bytes[i]);
    return value;
}

// The expansion E takes six bits around every four of the right half; with the half
// rotated right by one, group i is six consecutive bits of it.
std::uint32_t Feistel(std::uint32_t right, const std::array<std::uint8_t, 8>& subkey,
                      const DesTables& tables)
{
    const std::uint32_t x = (right >> 1) | (right << 31);
    std::uint32_t result = 0;
    for (int box = 0; box < 7; ++box)
        result |= tables.sboxP[box][((x >> (26 - 4 * box)) & 63) ^ subkey[box]];
    result |= tables.sboxP[7][(((x << 2) | (x >> 30)) & 63) ^ subkey[7]];
    return result;
}

} // namespace

CDesCipher::CDesCipher(const DesBlock& key, BitOrder order) : m_order(order)
{
    const DesTables& tables = Tables();
    const std::uint64_t key64 = LoadBlock(key.data(), order == BitOrder::LsbFirst, tables);
    const std::uint64_t choice = Permute(key64, 64, kPermutedChoice1, 56);
    std::uint32_t c = std::uint32_t(choice >> 28) & 0xFFFFFFF;
    std::uint32_t d = std::uint32_t(choice) & 0xFFFFFFF;
    for (int round = 0; round < 16; ++round) {
        for (int s = 0; s < kShifts[round]; ++s) {
            c = ((c << 1) | (c >> 27)) & 0xFFFFFFF;
            d = ((d << 1) | (d >> 27)) & 0xFFFFFFF;
        }
        const std::uint64_t subkey =
            Permute((std::uint64_t(c) << 28) | d, 56, kPermutedChoice2, 48);
        for (int box = 0; box < 8; ++box)
            m_subkeys[round][box] = std::uint8_t((subkey >> (42 - 6 * box)) & 63);
    }
}

CDesCipher::~CDesCipher()
{
    volatile std::uint8_t* subkeys = m_subkeys[0].data();
    for (std::size_t i = 0; i < sizeof(m_subkeys); ++i)
        subkeys[i] = 0;
}

void CDesCipher::EncryptBlock(std::uint8_t* block) const
{
    Crypt(block, false);
}

void CDesCipher::DecryptBlock(std::uint8_t* block) const
{
    Crypt(block, true);
}

void CDesCipher::Enter(const std::uint8_t* block, BitOrder order, std::uint32_t& left,
                       std::uint32_t& right)
{
    const DesTables& tables = Tables();
    const std::uint64_t permuted =
        LookUp64(tables.initial, LoadBlock(block, order == BitOrder::LsbFirst, tables));
    left = std::uint32_t(permuted >> 32);
    right = std::uint32_t(permuted);
}

void CDesCipher::Leave(std::uint32_t left, std::uint32_t right, BitOrder order, std::uint8_t* block)
{
    const DesTables& tables = Tables();
    const std::uint64_t output = LookUp64(tables.final, (std::uint64_t(left) << 32) | right);
    const bool reverseBits = order == BitOrder::LsbFirst;
    for (int i = 0; i < 8; ++i) {
        const std::uint8_t byte = std::uint8_t(output >> (56 - 8 * i));
        block[i] = reverseBits ? tables.reversed[byte] : byte;
    }
}

void CDesCipher::Rounds(std::uint32_t& left, std::uint32_t& right, bool decrypt) const
{
    const DesTables& tables = Tables();
    std::uint32_t l = left;
    std::uint32_t r = right;
    for (int round = 0; round < 16; ++round) {
        const std::uint32_t next = l ^ Feistel(r, m_subkeys[decrypt ? 15 - round : round], tables);
        l = r;
        r = next;
    }
    // The halves are swapped before the final permutation.
    left = r;
    right = l;
}

void CDesCipher::Crypt(std::uint8_t* block, bool decrypt) const
{
    std::uint32_t left = 0;
    std::uint32_t right = 0;
    Enter(block, m_order, left, right);
    Rounds(left, right, decrypt);
    Leave(left, right, m_order, block);
}
