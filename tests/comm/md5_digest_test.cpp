// MD5 against the test suite of RFC 1321.
#include "comm/md5_digest.h"

#include <gtest/gtest.h>

namespace {

QByteArray HexOf(const Md5Value& value)
{
    return QByteArray(reinterpret_cast<const char*>(value.data()), 16).toHex();
}

TEST(Md5Digest, Rfc1321TestSuite)
{
    EXPECT_EQ(HexOf(Md5Digest("")), "d41d8cd98f00b204e9800998ecf8427e");
    EXPECT_EQ(HexOf(Md5Digest("a")), "0cc175b9c0f1b6a831c399e269772661");
    EXPECT_EQ(HexOf(Md5Digest("abc")), "900150983cd24fb0d6963f7d28e17f72");
    EXPECT_EQ(HexOf(Md5Digest("message digest")), "f96b697d7cb7938d525a2f31aaf161d0");
    EXPECT_EQ(HexOf(Md5Digest("abcdefghijklmnopqrstuvwxyz")), "c3fcd3d76192e4007dfb496cca67e13b");
    EXPECT_EQ(HexOf(Md5Digest("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789")),
              "d174ab98d277d9f5a5611c2c9f419d9f");
    EXPECT_EQ(HexOf(Md5Digest("1234567890123456789012345678901234567890"
                              "1234567890123456789012345678901234567890")),
              "57edf4a22be3c955ac49da2e2107b67a");
}

} // namespace
