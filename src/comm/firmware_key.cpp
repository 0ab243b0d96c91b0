#include "comm/firmware_key.h"

#include "comm/md5_digest.h"

#include <cstring>

namespace {

// The system key is never stored whole: it is gathered from these two texts at run time.
// Neither text is ever shown; changing either one makes every package already built
// unreadable.
constexpr char kKeyTextA[] = "rz/ctl:boot-loader segment table 0x3E9A, revision 7";
constexpr char kKeyTextB[] = "image store; align=8; seal Q7#Lm2vK!x9Pw$4tZ; end of list";

// 14 characters and a zero byte.
constexpr char kMarkerText[] = "LMVT-RZ-FWPACK";
static_assert(sizeof(kMarkerText) == 15, "the marker is 14 characters and a zero byte");

FirmwareKey SystemKey()
{
    static_assert(sizeof(kKeyTextA) > 4 + 2 * 8 && sizeof(kKeyTextB) > 21 + 8);
    FirmwareKey key{};
    for (int i = 0; i < 8; ++i) {
        key[2 * i] = std::uint8_t(kKeyTextA[4 + 2 * i + 1]);
        key[2 * i + 1] = std::uint8_t(kKeyTextB[21 + i] ^ kKeyTextA[8 + i]);
    }
    return key;
}

} // namespace

QByteArray FirmwarePasswordBytes(const QString& password)
{
    return password.left(kFirmwarePasswordLength).toLatin1();
}

bool IsFirmwarePasswordEncodable(const QString& password)
{
    for (const QChar c : password) {
        if (c.unicode() > 0xFF)
            return false;
    }
    return true;
}

FirmwareKey FirmwarePackageKey(const QString& password)
{
    const Md5Value digest = Md5Digest(FirmwarePasswordBytes(password));
    const FirmwareKey system = SystemKey();
    FirmwareKey key{};
    for (int i = 0; i < 16; ++i)
        key[i] = digest[i] ^ system[i];
    return key;
}

std::array<std::uint8_t, 15> FirmwareMarker()
{
    std::array<std::uint8_t, 15> marker{};
    std::memcpy(marker.data(), kMarkerText, marker.size());
    return marker;
}
