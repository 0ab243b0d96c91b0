#include "support/test_support.h"

#include <QFile>
#include <QProcess>

QString TestDataPath(const QString& name)
{
    return QStringLiteral(LUMIVANT_TEST_DATA "/") + name;
}

QByteArray ReadFileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool WriteFileBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

RecordingMessageSink::RecordingMessageSink()
{
    SetMessageSink(this);
}

RecordingMessageSink::~RecordingMessageSink()
{
    SetMessageSink(nullptr);
}

void RecordingMessageSink::Show(const QString& text, const QString&, MessageKind)
{
    texts.append(text);
}

CliRun RunCli(const QStringList& arguments, int timeoutMs)
{
    QProcess process;
    process.start(QStringLiteral(LUMIVANT_CLI_PATH), arguments);
    CliRun run;
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished(1000);
        return run;
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}
