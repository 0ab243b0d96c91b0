#pragma once

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>

using FirmwareKey = std::array<std::uint8_t, 16>;

// The longest password that counts: the password edit of the update dialog holds 31
// characters, and only those take part in the key.
constexpr int kFirmwarePasswordLength = 31;

// The password as the 8-bit text that is hashed: its first 31 characters, each as one
// Latin-1 byte (characters beyond Latin-1 become '?').
QByteArray FirmwarePasswordBytes(const QString& password);

// True when every character of the password has its own 8-bit form (the package tool
// refuses other passwords so that two different passwords never give one key).
bool IsFirmwarePasswordEncodable(const QString& password);

// The key of a firmware package: the MD5 digest of the password bytes XOR the fixed
// system key. Bytes 0-7 are DES key K1, bytes 8-15 K2.
FirmwareKey FirmwarePackageKey(const QString& password);

// The 15 bytes every decrypted image holds at offset 49: a fixed 14-character text and a
// zero byte.
std::array<std::uint8_t, 15> FirmwareMarker();
