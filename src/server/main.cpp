// lumivant-server: one project's signs changed and sent from a web page or over HTTP.
#include "base/app_paths.h"
#include "base/app_settings.h"
#include "base/headless.h"
#include "base/string_table.h"
#include "model/project_root.h"
#include "render/renderer.h"
#include "server/core_thread.h"
#include "server/http_server.h"
#include "server/project_host.h"
#include "server/send_jobs.h"
#include "server/server_api.h"
#include "server/server_options.h"
#include "server/server_token.h"

#include <QDir>
#include <QGuiApplication>
#include <QSocketNotifier>

#include <csignal>
#include <cstdio>
#include <thread>

#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr int kTextServing = 61860;
constexpr int kTextTokenAt = 61861;
constexpr int kTextOpenListen = 61862;
constexpr int kTextCannotListen = 61863;
constexpr int kTextStopped = 61864;
constexpr int kTextStopping = 61865;

int g_signalPipe[2] = {-1, -1};

extern "C" void OnStopSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(g_signalPipe[1], &byte, 1);
}

void Say(const QString& text)
{
    std::printf("%s\n", text.toUtf8().constData());
    std::fflush(stdout);
}

int Fail(const QString& text)
{
    std::fprintf(stderr, "lumivant-server: %s\n", text.toUtf8().constData());
    return 1;
}

void PrintUsage()
{
    std::printf("Usage: lumivant-server --project FILE [--listen ADDR:PORT] [--token-file PATH]\n\n"
                "Serves one project: a web page at / and a JSON API under /api/v1.\n"
                "  --listen ADDR:PORT   where to listen (default 127.0.0.1:%d; port 0 picks a "
                "free one)\n"
                "  --token-file PATH    the API token (default %s, made on first start)\n",
                ServerOptions::kDefaultPort,
                QDir::toNativeSeparators(CServerToken::DefaultPath()).toUtf8().constData());
}

} // namespace

int main(int argc, char** argv)
{
    // Rendering needs a GUI application but never a display.
    PrepareHeadlessEnvironment();
    QGuiApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("lumivant-server"));
    Settings() = AppSettings::Load(SettingsFilePath());
    SetLanguage(LanguageFromSetting(Settings().lang));
    InstallRenderer();

    ServerOptions options;
    QString error;
    if (!ServerOptions::Parse(QCoreApplication::arguments().mid(1), options, error)) {
        std::fprintf(stderr, "lumivant-server: %s (see lumivant-server --help)\n",
                     error.toUtf8().constData());
        return 2;
    }
    if (options.help) {
        PrintUsage();
        return 0;
    }

    CCoreThread core;
    CProjectHost host(options.project, core);
    {
        // A project that cannot be served is said at once, not at the first request.
        QByteArray tree;
        ApiError problem;
        if (!host.TreeJson(tree, problem))
            return Fail(problem.message);
    }
    CServerToken token;
    const QString tokenPath =
        options.tokenFile.isEmpty() ? CServerToken::DefaultPath() : options.tokenFile;
    if (!token.LoadOrCreate(tokenPath, error))
        return Fail(error);

    CSendJobs jobs(host, core);
    CServerApi api(host, jobs, token);
    CHttpServer http;
    api.Install(http);
    const std::string address = options.host.toStdString();
    int port = options.port;
    const bool bound =
        port == 0 ? (port = http.bind_to_any_port(address)) > 0 : http.bind_to_port(address, port);
    if (!bound)
        return Fail(LoadString(kTextCannotListen)
                        .arg(ServerOptions::Url(options.host, options.port),
                             QString::fromLocal8Bit(std::strerror(errno))));

    if (::pipe2(g_signalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return Fail(QString::fromLocal8Bit(std::strerror(errno)));
    std::signal(SIGTERM, OnStopSignal);
    std::signal(SIGINT, OnStopSignal);
    std::signal(SIGPIPE, SIG_IGN);

    std::thread listener([&http] { http.listen_after_bind(); });
    const QString url = ServerOptions::Url(options.host, port);
    Say(LoadString(kTextServing).arg(QDir::toNativeSeparators(host.Path()), url));
    Say(LoadString(kTextTokenAt).arg(QDir::toNativeSeparators(tokenPath), url));
    if (!ServerOptions::IsLoopback(options.host))
        Say(LoadString(kTextOpenListen).arg(url));

    // Stopping: the jobs end first (a send ends its transfer), then the requests being served;
    // the core thread keeps running all the while, for they may still hand it work.
    std::thread stopper;
    QSocketNotifier stopSignal(g_signalPipe[0], QSocketNotifier::Read);
    QObject::connect(&stopSignal, &QSocketNotifier::activated, &app, [&] {
        stopSignal.setEnabled(false);
        Say(LoadString(kTextStopping));
        stopper = std::thread([&] {
            jobs.Stop();
            http.stop();
            listener.join();
            QMetaObject::invokeMethod(&app, &QCoreApplication::quit, Qt::QueuedConnection);
        });
    });
    const int status = app.exec();
    if (stopper.joinable())
        stopper.join();
    core.Stop();
    Say(LoadString(kTextStopped));
    return status;
}
