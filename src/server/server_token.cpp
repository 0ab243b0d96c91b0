#include "server/server_token.h"

#include "base/string_table.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QStandardPaths>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kTextTokenUnreadable = 61810;
constexpr int kTextTokenOpen = 61811;
constexpr int kTextTokenShort = 61812;
constexpr int kTextTokenNotMade = 61813;
constexpr int kTokenBytes = 32;
constexpr qint64 kMaxTokenFile = 4096;

QByteArray Digest(const QByteArray& bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
}

// Made with the user's permissions only, and never over an existing file or link.
bool CreatePrivateFile(const QByteArray& path, const QByteArray& bytes)
{
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    const bool written =
        ::write(fd, bytes.constData(), static_cast<size_t>(bytes.size())) == bytes.size() &&
        ::fsync(fd) == 0;
    const int savedErrno = errno;
    ::close(fd);
    if (!written) {
        ::unlink(path.constData());
        errno = savedErrno;
    }
    return written;
}

bool Printable(const QByteArray& token)
{
    return std::all_of(token.begin(), token.end(), [](char c) { return c > 0x20 && c < 0x7F; });
}

} // namespace

QString CServerToken::DefaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/lumivant/server-token");
}

bool CServerToken::LoadOrCreate(const QString& path, QString& error)
{
    const QString shown = QDir::toNativeSeparators(path);
    const QByteArray native = QFile::encodeName(path);
    struct stat info = {};
    if (::stat(native.constData(), &info) != 0) {
        if (errno != ENOENT) {
            error = LoadString(kTextTokenUnreadable)
                        .arg(shown, QString::fromLocal8Bit(strerror(errno)));
            return false;
        }
        QByteArray random(kTokenBytes, '\0');
        QRandomGenerator::system()->generate(
            reinterpret_cast<quint32*>(random.data()),
            reinterpret_cast<quint32*>(random.data() + random.size()));
        const QByteArray token = random.toHex();
        if (!QDir().mkpath(QFileInfo(path).absolutePath()) ||
            !CreatePrivateFile(native, token + '\n')) {
            error =
                LoadString(kTextTokenNotMade).arg(shown, QString::fromLocal8Bit(strerror(errno)));
            return false;
        }
        m_token = token;
        m_digest = Digest(m_token);
        return true;
    }
    if ((info.st_mode & (S_IRWXG | S_IRWXO)) != 0) {
        error = LoadString(kTextTokenOpen).arg(shown);
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = LoadString(kTextTokenUnreadable).arg(shown, file.errorString());
        return false;
    }
    const QByteArray token = file.read(kMaxTokenFile).trimmed();
    if (token.size() < kMinLength || !Printable(token)) {
        error = LoadString(kTextTokenShort).arg(shown).arg(kMinLength);
        return false;
    }
    m_token = token;
    m_digest = Digest(m_token);
    return true;
}

bool CServerToken::Accepts(const QByteArray& authorization) const
{
    if (m_digest.isEmpty())
        return false;
    const QByteArray scheme = authorization.left(7);
    if (scheme.compare("Bearer ", Qt::CaseInsensitive) != 0)
        return false;
    // Digests of equal length, compared without stopping at the first difference: the time
    // tells nothing about the token.
    const QByteArray offered = Digest(authorization.mid(7).trimmed());
    unsigned char difference = 0;
    for (qsizetype i = 0; i < m_digest.size(); ++i)
        difference |= static_cast<unsigned char>(offered[i] ^ m_digest[i]);
    return difference == 0;
}
