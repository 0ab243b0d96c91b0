#pragma once

// Helpers of the server tests: lumivant-server started on a loopback port for one test,
// requests to it (through the HTTP library and as raw bytes on a socket), and a small shop
// project.
#include <QByteArray>
#include <QJsonObject>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <map>
#include <memory>
#include <string>

// An answer of the server.
struct HttpAnswer
{
    int status = 0; // 0: no answer
    QByteArray body;
    std::multimap<std::string, std::string> headers;
    QJsonObject Json() const;
    QString Error() const { return Json().value(QStringLiteral("error")).toString(); }
    std::string Header(const std::string& name) const;
};

// lumivant-server serving a project on 127.0.0.1, stopped at the end of the test.
class ServerProcess
{
public:
    static QString Path();

    // Starts the server with a token file of its own; false when it did not say where it
    // listens (Output() tells why).
    bool Start(const QString& project, const QStringList& extra = {});
    ~ServerProcess();

    int Port() const { return m_port; }
    qint64 Pid() const { return m_process.processId(); }
    const QByteArray& Token() const { return m_token; }
    QString Output();
    // SIGTERM, then the exit code (-1 when it had to be killed), bounded.
    int Stop(int timeoutMs = 15000);
    // Resident memory in kB, from /proc.
    qint64 ResidentKb() const;

    HttpAnswer Get(const std::string& path, const QByteArray& language = {}) const;
    HttpAnswer Put(const std::string& path, const QByteArray& body,
                   const char* type = "application/json") const;
    HttpAnswer Post(const std::string& path, const QByteArray& body) const;
    // Any request, with or without the token.
    HttpAnswer Request(const std::string& method, const std::string& path, const QByteArray& body,
                       bool withToken,
                       const std::map<std::string, std::string>& headers = {}) const;
    // Bytes straight onto a new connection; what came back within the time.
    QByteArray Raw(const QByteArray& bytes, int waitMs = 3000) const;
    // Waits until the job ended; its last state.
    QJsonObject WaitForJob(qint64 id, int timeoutMs = 30000) const;

private:
    QProcess m_process;
    QTemporaryDir m_dir;
    QString m_output;
    QByteArray m_token;
    int m_port = 0;
};

// Panel1 (64 x 16) / Prices { Board { Price (text), Logo (image) }, Note (text, directly in
// the program) }; Panel2 (32 x 16) / Menu { Dish (text) }. Both screens reach the card at
// 127.0.0.1:port with the time-out given.
void WriteShopProject(const QString& path, int port = 5959, int timeoutMs = 400);
// The plain text of a zone of the project file.
QString ZoneTextOnDisk(const QString& project, const QString& zonePath);
// A small PNG picture.
QByteArray PngBytes(int width, int height);
