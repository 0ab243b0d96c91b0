#pragma once

#include <QString>

// What lumivant-server is told on its command line.
struct ServerOptions
{
    static constexpr int kDefaultPort = 8765;

    QString project;
    QString host = QStringLiteral("127.0.0.1");
    int port = kDefaultPort;
    QString tokenFile;
    bool help = false;

    // False with a usage error in error.
    static bool Parse(const QStringList& words, ServerOptions& options, QString& error);
    // ADDR:PORT, [IPv6]:PORT; the port may be 0 (a free one).
    static bool ParseListen(const QString& text, QString& host, int& port);
    // Whether the address reaches only this machine.
    static bool IsLoopback(const QString& host);
    // http://ADDR:PORT/ with an IPv6 address in brackets.
    static QString Url(const QString& host, int port);
};
