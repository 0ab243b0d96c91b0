#include "server/server_options.h"

#include <QHostAddress>
#include <QStringList>

bool ServerOptions::ParseListen(const QString& text, QString& host, int& port)
{
    QString address;
    QString portText;
    if (text.startsWith(u'[')) {
        const qsizetype close = text.indexOf(QStringLiteral("]:"));
        if (close < 0)
            return false;
        address = text.mid(1, close - 1);
        portText = text.mid(close + 2);
    } else {
        const qsizetype colon = text.lastIndexOf(u':');
        if (colon <= 0 || text.indexOf(u':') != colon)
            return false;
        address = text.left(colon);
        portText = text.mid(colon + 1);
    }
    bool ok = false;
    const int number = portText.toInt(&ok);
    if (!ok || number < 0 || number > 65535 || address.isEmpty())
        return false;
    host = address;
    port = number;
    return true;
}

bool ServerOptions::IsLoopback(const QString& host)
{
    if (host.compare(QStringLiteral("localhost"), Qt::CaseInsensitive) == 0)
        return true;
    const QHostAddress address(host);
    return !address.isNull() && address.isLoopback();
}

QString ServerOptions::Url(const QString& host, int port)
{
    const bool v6 = host.contains(u':');
    return QStringLiteral("http://%1%2%3:%4/")
        .arg(v6 ? QStringLiteral("[") : QString(), host, v6 ? QStringLiteral("]") : QString())
        .arg(port);
}

bool ServerOptions::Parse(const QStringList& words, ServerOptions& options, QString& error)
{
    for (qsizetype i = 0; i < words.size(); ++i) {
        QString word = words[i];
        if (word == QLatin1String("--help") || word == QLatin1String("-h")) {
            options.help = true;
            return true;
        }
        QString value;
        const qsizetype equals = word.indexOf(u'=');
        if (word.startsWith(QLatin1String("--")) && equals > 0) {
            value = word.mid(equals + 1);
            word = word.left(equals);
        } else if (i + 1 < words.size()) {
            value = words[i + 1];
            if (word.startsWith(QLatin1String("--")))
                ++i;
        }
        if (word == QLatin1String("--project")) {
            options.project = value;
        } else if (word == QLatin1String("--listen")) {
            if (!ParseListen(value, options.host, options.port)) {
                error =
                    QStringLiteral("--listen takes ADDR:PORT (a port from 0 to 65535), not '%1'")
                        .arg(value);
                return false;
            }
        } else if (word == QLatin1String("--token-file")) {
            options.tokenFile = value;
        } else {
            error = QStringLiteral("unknown argument '%1'").arg(word);
            return false;
        }
        if (value.isEmpty()) {
            error = QStringLiteral("%1 needs a value").arg(word);
            return false;
        }
    }
    if (options.project.isEmpty()) {
        error = QStringLiteral("--project FILE is needed");
        return false;
    }
    return true;
}
