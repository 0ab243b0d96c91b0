#include "platform/neighbour_cache.h"

#include <QProcess>

#include <unistd.h>

namespace {

std::function<void(const QString&)>& Flusher()
{
    static std::function<void(const QString&)> flusher;
    return flusher;
}

void DefaultFlush(const QString& remoteAddress)
{
    const QString address = remoteAddress.trimmed();
    if (address.startsWith(QStringLiteral("127.")) || address == QStringLiteral("::1") ||
        address.compare(QStringLiteral("localhost"), Qt::CaseInsensitive) == 0)
        return;
    // Only the administrator may change the table; anyone else would only get an error.
    if (::geteuid() != 0)
        return;
    QProcess process;
    process.start(QStringLiteral("ip"),
                  {QStringLiteral("neigh"), QStringLiteral("flush"), QStringLiteral("all")});
    if (!process.waitForFinished(2000)) {
        process.kill();
        process.waitForFinished(500);
    }
}

} // namespace

void FlushNeighbourCache(const QString& remoteAddress)
{
    if (Flusher())
        Flusher()(remoteAddress);
    else
        DefaultFlush(remoteAddress);
}

void SetNeighbourCacheFlusher(std::function<void(const QString&)> flusher)
{
    Flusher() = std::move(flusher);
}
