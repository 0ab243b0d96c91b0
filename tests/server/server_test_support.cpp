#include "server_test_support.h"

#include "model/effect_zone.h"
#include "model/play_window.h"
#include "model/program.h"
#include "model/project_root.h"
#include "model/screen.h"
#include "model/zone_path.h"
#include "render/zone_content.h"

#include <httplib.h>

#include <QBuffer>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QThread>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

QJsonObject HttpAnswer::Json() const
{
    return QJsonDocument::fromJson(body).object();
}

std::string HttpAnswer::Header(const std::string& name) const
{
    const auto it = headers.find(name);
    return it == headers.end() ? std::string() : it->second;
}

QString ServerProcess::Path()
{
    return QFileInfo(QStringLiteral(LUMIVANT_CLI_PATH))
        .dir()
        .absoluteFilePath(QStringLiteral("../server/lumivant-server"));
}

bool ServerProcess::Start(const QString& project, const QStringList& extra)
{
    if (!m_dir.isValid())
        return false;
    const QString tokenFile = m_dir.filePath(QStringLiteral("token"));
    m_token = QByteArray(40, 'k') + QByteArray::number(qint64(QThread::currentThreadId()), 16);
    QFile file(tokenFile);
    if (!file.open(QIODevice::WriteOnly) ||
        !file.setPermissions(QFile::ReadOwner | QFile::WriteOwner))
        return false;
    file.write(m_token + '\n');
    file.close();

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    environment.insert(QStringLiteral("LANGUAGE"), QStringLiteral("en"));
    m_process.setProcessEnvironment(environment);
    m_process.setProcessChannelMode(QProcess::MergedChannels);
    QStringList arguments{QStringLiteral("--project"), project, QStringLiteral("--listen"),
                          QStringLiteral("127.0.0.1:0")};
    if (!extra.contains(QStringLiteral("--token-file")))
        arguments << QStringLiteral("--token-file") << tokenFile;
    m_process.start(Path(), arguments + extra);
    if (!m_process.waitForStarted(5000))
        return false;
    static const QRegularExpression kUrl(QStringLiteral("http://127\\.0\\.0\\.1:(\\d+)/"));
    QDeadlineTimer deadline(15000);
    while (!deadline.hasExpired()) {
        const auto match = kUrl.match(Output());
        if (match.hasMatch()) {
            m_port = match.captured(1).toInt();
            return true;
        }
        if (m_process.state() == QProcess::NotRunning)
            return false;
        m_process.waitForReadyRead(100);
    }
    return false;
}

ServerProcess::~ServerProcess()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.kill();
        m_process.waitForFinished(3000);
    }
}

QString ServerProcess::Output()
{
    m_output += QString::fromUtf8(m_process.readAll());
    return m_output;
}

int ServerProcess::Stop(int timeoutMs)
{
    if (m_process.state() == QProcess::NotRunning)
        return m_process.exitCode();
    ::kill(static_cast<pid_t>(m_process.processId()), SIGTERM);
    if (!m_process.waitForFinished(timeoutMs)) {
        m_process.kill();
        m_process.waitForFinished(3000);
        return -1;
    }
    Output();
    return m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -1;
}

qint64 ServerProcess::ResidentKb() const
{
    QFile status(QStringLiteral("/proc/%1/status").arg(m_process.processId()));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLongLong();
    }
    return -1;
}

HttpAnswer ServerProcess::Request(const std::string& method, const std::string& path,
                                  const QByteArray& body, bool withToken,
                                  const std::map<std::string, std::string>& extra) const
{
    httplib::Client client("127.0.0.1", m_port);
    client.set_connection_timeout(5);
    client.set_read_timeout(60);
    httplib::Headers headers;
    if (withToken)
        headers.emplace("Authorization", "Bearer " + m_token.toStdString());
    for (const auto& [name, value] : extra)
        headers.emplace(name, value);
    const std::string content = body.toStdString();
    const std::string type =
        extra.count("Content-Type") ? extra.at("Content-Type") : "application/json";
    headers.erase("Content-Type");
    auto send = [&]() -> httplib::Result {
        if (method == "PUT")
            return client.Put(path.c_str(), headers, content, type.c_str());
        if (method == "POST")
            return client.Post(path.c_str(), headers, content, type.c_str());
        if (method == "DELETE")
            return client.Delete(path.c_str(), headers, content, type.c_str());
        return client.Get(path.c_str(), headers);
    };
    const httplib::Result result = send();
    HttpAnswer answer;
    if (!result)
        return answer;
    answer.status = result->status;
    answer.body = QByteArray::fromStdString(result->body);
    for (const auto& [name, value] : result->headers)
        answer.headers.emplace(name, value);
    return answer;
}

HttpAnswer ServerProcess::Get(const std::string& path, const QByteArray& language) const
{
    std::map<std::string, std::string> headers;
    if (!language.isEmpty())
        headers["Accept-Language"] = language.toStdString();
    return Request("GET", path, {}, true, headers);
}

HttpAnswer ServerProcess::Put(const std::string& path, const QByteArray& body,
                              const char* type) const
{
    return Request("PUT", path, body, true, {{"Content-Type", type}});
}

HttpAnswer ServerProcess::Post(const std::string& path, const QByteArray& body) const
{
    return Request("POST", path, body, true);
}

QByteArray ServerProcess::Raw(const QByteArray& bytes, int waitMs) const
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(m_port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    QByteArray received;
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        ::send(fd, bytes.constData(), static_cast<size_t>(bytes.size()), MSG_NOSIGNAL) ==
            bytes.size()) {
        QDeadlineTimer deadline(waitMs);
        char buffer[8192];
        while (!deadline.hasExpired()) {
            pollfd entry{fd, POLLIN, 0};
            if (::poll(&entry, 1, static_cast<int>(deadline.remainingTime())) <= 0)
                break;
            const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
            if (n <= 0)
                break;
            received.append(buffer, n);
        }
    }
    ::close(fd);
    return received;
}

QJsonObject ServerProcess::WaitForJob(qint64 id, int timeoutMs) const
{
    QDeadlineTimer deadline(timeoutMs);
    QJsonObject job;
    while (!deadline.hasExpired()) {
        job = Get("/api/v1/jobs/" + std::to_string(id)).Json();
        const QString state = job.value(QStringLiteral("state")).toString();
        if (job.contains(QStringLiteral("finished")) &&
            (state == QLatin1String("done") || state == QLatin1String("failed")))
            return job;
        QThread::msleep(50);
    }
    return job;
}

namespace {

CProjectObject* AddZone(CProjectObject& window, int kind, const QString& name)
{
    auto zone = window.CreateChild(kind);
    zone->SetName(name);
    CProjectObject* added = zone.get();
    window.AddChild(std::move(zone));
    return added;
}

CProjectObject* AddWindow(CProjectObject& program, const QString& name, LedRect rect,
                          bool implicit = false)
{
    auto window = program.CreateChild(KindWindow);
    window->SetName(name);
    static_cast<CPlayWindow*>(window.get())->SetWindowRect(rect);
    if (implicit)
        window->SetFore(0);
    CProjectObject* added = window.get();
    program.AddChild(std::move(window));
    return added;
}

void PointScreen(CScreen& screen, int width, int height, int port, int timeoutMs)
{
    screen.Params().SetU16(ControllerParams::Width, static_cast<std::uint16_t>(width));
    screen.Params().SetU16(ControllerParams::Height, static_cast<std::uint16_t>(height));
    screen.Params().SetU8(ControllerParams::ColourType, 2);
    LinkSettings& link = screen.Link();
    link.linkKind = 1;
    link.remoteIp = QStringLiteral("127.0.0.1");
    link.remotePort = static_cast<std::uint16_t>(port);
    link.timeoutMs = timeoutMs;
    // A project file takes the port from the parameter block.
    screen.Params().SetUdpPortNumber(static_cast<std::uint16_t>(port));
}

} // namespace

void WriteShopProject(const QString& path, int port, int timeoutMs)
{
    auto root = CProjectRoot::NewProject();
    auto* first = static_cast<CScreen*>(root->GetChild(0));
    first->SetName(QStringLiteral("Panel1"));
    PointScreen(*first, 64, 16, port, timeoutMs);
    auto* prices = first->GetChild(0);
    prices->SetName(QStringLiteral("Prices"));
    CProjectObject* board = AddWindow(*prices, QStringLiteral("Board"), {0, 0, 48, 16});
    AddZone(*board, KindText, QStringLiteral("Price"));
    AddZone(*board, KindImage, QStringLiteral("Logo"));
    CProjectObject* implicit = AddWindow(*prices, QStringLiteral("Window1"), {48, 0, 64, 16}, true);
    AddZone(*implicit, KindText, QStringLiteral("Note"));

    auto second = root->CreateChild(KindScreen);
    second->SetName(QStringLiteral("Panel2"));
    PointScreen(static_cast<CScreen&>(*second), 32, 16, port, timeoutMs);
    auto program = second->CreateChild(KindProgram);
    program->SetName(QStringLiteral("Menu"));
    CProjectObject* menu = AddWindow(*program, QStringLiteral("Card"), {0, 0, 32, 16});
    AddZone(*menu, KindText, QStringLiteral("Dish"));
    second->AddChild(std::move(program));
    root->AddChild(std::move(second));

    for (const char* zonePath : {"s1/p1/w1/z1", "s1/p1/w2/z1", "s2/p1/w1/z1"}) {
        QString error;
        CEffectZone* zone = CZonePath::Find(*root, QString::fromLatin1(zonePath), error);
        if (zone)
            (void)CZoneContent::SetText(*zone, QStringLiteral("A"), error);
    }
    (void)root->SaveProject(path);
}

QString ZoneTextOnDisk(const QString& project, const QString& zonePath)
{
    CProjectRoot root;
    if (!root.LoadProject(project))
        return QStringLiteral("(not loaded)");
    QString error;
    CEffectZone* zone = CZonePath::Find(root, zonePath, error);
    return zone ? CZoneContent::PlainText(*zone) : error;
}

QByteArray PngBytes(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::red);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return buffer.data();
}
