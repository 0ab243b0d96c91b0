#include "comm/md5_digest.h"

#include <QCryptographicHash>

#include <algorithm>

Md5Value Md5Digest(const QByteArray& bytes)
{
    const QByteArray hash = QCryptographicHash::hash(bytes, QCryptographicHash::Md5);
    Md5Value value{};
    std::copy_n(reinterpret_cast<const std::uint8_t*>(hash.constData()),
                std::min<qsizetype>(hash.size(), 16), value.begin());
    return value;
}
