// lumivant-server server: GET /api/v1/project of the demo project against a bare answer of
// the same size from the same HTTP library, in alternating rounds of the same run (goal at
// least 0.5). Also prints the resident size of a lumivant-server process after 10 000
// requests.
#include "bench/bench_registry.h"

#include "server/core_thread.h"
#include "server/http_server.h"
#include "server/project_host.h"
#include "server/send_jobs.h"
#include "server/server_api.h"
#include "server/server_token.h"

#include <httplib.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>

#include <atomic>
#include <cstdio>
#include <future>
#include <thread>
#include <vector>

namespace {

constexpr int kClients = 4;
constexpr int kRounds = 6;
constexpr qint64 kRoundMs = 400;
constexpr int kResidentRequests = 10000;

// Requests answered by the port within the time, from kClients kept-alive connections; the
// calling thread keeps the core thread's events flowing meanwhile.
qint64 CountRequests(int port, const std::string& path, const httplib::Headers& headers,
                     qint64 milliseconds)
{
    std::atomic<qint64> answered{0};
    std::atomic<bool> failed{false};
    std::vector<std::thread> clients;
    QElapsedTimer clock;
    clock.start();
    for (int c = 0; c < kClients; ++c) {
        clients.emplace_back([&] {
            httplib::Client client("127.0.0.1", port);
            client.set_keep_alive(true);
            while (clock.elapsed() < milliseconds) {
                const auto result = client.Get(path.c_str(), headers);
                if (!result || result->status != 200) {
                    failed = true;
                    return;
                }
                ++answered;
            }
        });
    }
    while (clock.elapsed() < milliseconds + 50)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    for (auto& client : clients)
        client.join();
    return failed ? -1 : answered.load();
}

// A lumivant-server process: its resident size after many requests, in kB.
qint64 ResidentAfterRequests(const QString& project, const QString& tokenFile,
                             const QByteArray& token)
{
    QProcess server;
    server.setProcessChannelMode(QProcess::MergedChannels);
    server.start(QStringLiteral(LUMIVANT_SERVER_PATH),
                 {QStringLiteral("--project"), project, QStringLiteral("--listen"),
                  QStringLiteral("127.0.0.1:0"), QStringLiteral("--token-file"), tokenFile});
    QString output;
    int port = 0;
    static const QRegularExpression kUrl(QStringLiteral("http://127\\.0\\.0\\.1:(\\d+)/"));
    for (int i = 0; i < 100 && port == 0 && server.state() != QProcess::NotRunning; ++i) {
        server.waitForReadyRead(100);
        output += QString::fromUtf8(server.readAll());
        const auto match = kUrl.match(output);
        if (match.hasMatch())
            port = match.captured(1).toInt();
    }
    qint64 resident = -1;
    if (port > 0) {
        httplib::Client client("127.0.0.1", port);
        client.set_keep_alive(true);
        const httplib::Headers headers{{"Authorization", "Bearer " + token.toStdString()}};
        int ok = 0;
        for (int i = 0; i < kResidentRequests; ++i) {
            const auto result = client.Get("/api/v1/project", headers);
            ok += result && result->status == 200 ? 1 : 0;
        }
        QFile status(QStringLiteral("/proc/%1/status").arg(server.processId()));
        if (ok == kResidentRequests && status.open(QIODevice::ReadOnly)) {
            for (const QByteArray& line : status.readAll().split('\n')) {
                if (line.startsWith("VmRSS:"))
                    resident = line.mid(6).trimmed().split(' ').first().toLongLong();
            }
        }
    }
    server.terminate();
    if (!server.waitForFinished(10000))
        server.kill();
    server.waitForFinished(2000);
    return resident;
}

double RunServerBench()
{
    QTemporaryDir dir;
    const QString project = dir.filePath(QStringLiteral("demo.ledprj"));
    QFile::copy(QStringLiteral(LUMIVANT_SOURCE_DIR "/examples/demo.ledprj"), project);
    const QString tokenFile = dir.filePath(QStringLiteral("token"));
    const QByteArray secret(48, 't');
    QFile file(tokenFile);
    if (!file.open(QIODevice::WriteOnly) ||
        !file.setPermissions(QFile::ReadOwner | QFile::WriteOwner))
        return 0;
    file.write(secret + '\n');
    file.close();

    CCoreThread core;
    CProjectHost host(project, core);
    CSendJobs jobs(host, core, 1);
    CServerToken token;
    QString error;
    if (!token.LoadOrCreate(tokenFile, error)) {
        std::fprintf(stderr, "%s\n", error.toUtf8().constData());
        return 0;
    }
    CServerApi api(host, jobs, token);
    CHttpServer apiServer;
    api.Install(apiServer);
    apiServer.set_logger({});
    const int apiPort = apiServer.bind_to_any_port("127.0.0.1");
    std::thread apiThread([&] { apiServer.listen_after_bind(); });

    QByteArray tree;
    ApiError problem;
    if (!host.TreeJson(tree, problem)) {
        std::fprintf(stderr, "%s\n", problem.message.toUtf8().constData());
        return 0;
    }
    // The bare answer: the same bytes, the library's own connection handling.
    httplib::Server bare;
    bare.set_tcp_nodelay(true);
    bare.set_keep_alive_max_count(CHttpServer::kKeepAliveRequests);
    const std::string payload = tree.toStdString();
    bare.Get("/bare", [&](const httplib::Request&, httplib::Response& response) {
        response.set_content(payload, "application/json");
    });
    const int barePort = bare.bind_to_any_port("127.0.0.1");
    std::thread bareThread([&] { bare.listen_after_bind(); });

    const httplib::Headers headers{{"Authorization", "Bearer " + secret.toStdString()}};
    qint64 apiRequests = 0;
    qint64 bareRequests = 0;
    for (int round = 0; round < kRounds; ++round) {
        const qint64 a = CountRequests(apiPort, "/api/v1/project", headers, kRoundMs);
        const qint64 b = CountRequests(barePort, "/bare", {}, kRoundMs);
        if (a < 0 || b <= 0) {
            std::fprintf(stderr, "a request failed\n");
            apiRequests = 0;
            break;
        }
        apiRequests += a;
        bareRequests += b;
    }
    apiServer.stop();
    bare.stop();
    apiThread.join();
    bareThread.join();
    jobs.Stop();

    const double seconds = kRounds * kRoundMs / 1000.0;
    std::printf("GET /api/v1/project (%lld bytes): %.0f requests/s\n",
                static_cast<long long>(tree.size()), apiRequests / seconds);
    std::printf("bare answer of the same size:  %.0f requests/s\n", bareRequests / seconds);
    const qint64 resident = ResidentAfterRequests(project, tokenFile, secret);
    std::printf("lumivant-server resident after %d requests: %lld kB\n", kResidentRequests,
                static_cast<long long>(resident));
    return bareRequests > 0 ? static_cast<double>(apiRequests) / bareRequests : 0;
}

const BenchRegistration
    kServer("server", "GET /api/v1/project vs a bare answer of the same size (goal >= 0.5)",
            RunServerBench);

} // namespace
