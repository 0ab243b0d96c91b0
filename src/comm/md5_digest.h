#pragma once

#include <QByteArray>

#include <array>
#include <cstdint>

using Md5Value = std::array<std::uint8_t, 16>;

// The MD5 message digest (RFC 1321) of bytes.
Md5Value Md5Digest(const QByteArray& bytes);
