#pragma once

#include "base/messages.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// Path of a file under tests/data.
QString TestDataPath(const QString& name);
QByteArray ReadFileBytes(const QString& path);
bool WriteFileBytes(const QString& path, const QByteArray& bytes);

// Collects what the core shows, for the duration of a test.
class RecordingMessageSink final : public IMessageSink
{
public:
    RecordingMessageSink();
    ~RecordingMessageSink() override;
    void Show(const QString& text, const QString& caption, MessageKind kind) override;
    QStringList texts;
};

// Runs lumivant-cli with the arguments, bounded in time.
struct CliRun
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};
CliRun RunCli(const QStringList& arguments, int timeoutMs = 60000);
