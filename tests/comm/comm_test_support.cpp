#include "comm_test_support.h"

#include <QThread>

#include "comm/controller_link.h"
#include "model/project_root.h"
#include "model/screen.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QRegularExpression>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int BindLoopback(int& port)
{
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(fd, reinterpret_cast<sockaddr*>(&local), sizeof local);
    socklen_t length = sizeof local;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&local), &length);
    port = ntohs(local.sin_port);
    return fd;
}

} // namespace

ScriptedController::ScriptedController(Script script) : m_script(std::move(script))
{
    m_socket = BindLoopback(m_port);
    m_thread = std::thread([this] { Serve(); });
}

ScriptedController::~ScriptedController()
{
    m_stop = true;
    m_thread.join();
    ::close(m_socket);
}

std::vector<int> ScriptedController::Commands() const
{
    std::lock_guard lock(m_mutex);
    return m_commands;
}

ScriptedController::Reply ScriptedController::Answer(int status, std::vector<std::uint8_t> payload)
{
    return BuildReply(status, payload.data(), static_cast<int>(payload.size()));
}

void ScriptedController::Serve()
{
    std::vector<std::uint8_t> buffer(65536);
    int index = 0;
    while (!m_stop) {
        pollfd in{m_socket, POLLIN, 0};
        if (::poll(&in, 1, 20) <= 0)
            continue;
        sockaddr_in sender{};
        socklen_t length = sizeof sender;
        const ssize_t got = ::recvfrom(m_socket, buffer.data(), buffer.size(), 0,
                                       reinterpret_cast<sockaddr*>(&sender), &length);
        if (got <= 0)
            continue;
        ParsedRequest request;
        if (ParseRequest(buffer.data(), static_cast<int>(got), request) != RequestCheck::Ok)
            request.command = -1;
        {
            std::lock_guard lock(m_mutex);
            m_commands.push_back(request.command);
        }
        const Reply reply = m_script(request, index++);
        if (reply)
            ::sendto(m_socket, reply->data(), reply->size(), 0,
                     reinterpret_cast<sockaddr*>(&sender), length);
    }
}

SilentPeer::SilentPeer()
{
    m_socket = BindLoopback(m_port);
}

SilentPeer::~SilentPeer()
{
    ::close(m_socket);
}

QString SimProcess::Path()
{
    return QFileInfo(QStringLiteral(LUMIVANT_CLI_PATH))
        .dir()
        .absoluteFilePath(QStringLiteral("../sim/lumivant-sim"));
}

SimProcess::SimProcess(const QStringList& arguments, bool udp)
{
    QStringList all = arguments;
    if (udp)
        all << QStringLiteral("--udp") << QStringLiteral("127.0.0.1:0");
    m_process.setProcessChannelMode(QProcess::MergedChannels);
    m_process.start(Path(), all);
    if (!m_process.waitForStarted(3000))
        return;
    if (!WaitForOutput(QStringLiteral("controller "), 5000))
        return;
    static const QRegularExpression kPort(
        QStringLiteral("listening on udp 127\\.0\\.0\\.1:(\\d+)"));
    const auto match = kPort.match(m_output);
    if (match.hasMatch())
        m_port = match.captured(1).toInt();
    m_listening = m_output.contains(QStringLiteral("listening on"));
}

SimProcess::~SimProcess()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.terminate();
        if (!m_process.waitForFinished(3000)) {
            m_process.kill();
            m_process.waitForFinished(1000);
        }
    }
}

int SimProcess::Stop()
{
    m_process.terminate();
    if (!m_process.waitForFinished(3000)) {
        m_process.kill();
        m_process.waitForFinished(1000);
        return -1;
    }
    m_output += QString::fromUtf8(m_process.readAll());
    return m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -1;
}

QString SimProcess::Output()
{
    m_output += QString::fromUtf8(m_process.readAll());
    return m_output;
}

bool SimProcess::WaitForOutput(const QString& text, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (!Output().contains(text)) {
        if (timer.elapsed() > timeoutMs || m_process.state() == QProcess::NotRunning)
            return Output().contains(text);
        m_process.waitForReadyRead(50);
    }
    return true;
}

UdpProject::UdpProject(int port, int timeoutMs)
{
    root = CProjectRoot::NewProject();
    screen = static_cast<CScreen*>(root->GetChild(0));
    LinkOf(*screen).SelectLink(1);
    screen->Link().remoteIp = QStringLiteral("127.0.0.1");
    screen->Link().remotePort = static_cast<std::uint16_t>(port);
    screen->Link().timeoutMs = timeoutMs;
}

UdpProject::~UdpProject() = default;

PtyPair::PtyPair(const QString& pcEnd, const QString& controllerEnd)
    : pc(pcEnd), controller(controllerEnd)
{
    m_socat.start(QStringLiteral("socat"),
                  {QStringLiteral("pty,raw,echo=0,link=%1").arg(controllerEnd),
                   QStringLiteral("pty,raw,echo=0,link=%1").arg(pcEnd)});
    if (!m_socat.waitForStarted(3000))
        return;
    QElapsedTimer timer;
    timer.start();
    while (!Ready() && timer.elapsed() < 5000)
        QThread::msleep(20);
}

PtyPair::~PtyPair()
{
    m_socat.terminate();
    if (!m_socat.waitForFinished(2000)) {
        m_socat.kill();
        m_socat.waitForFinished(1000);
    }
}

bool PtyPair::Ready() const
{
    return QFileInfo::exists(pc) && QFileInfo::exists(controller);
}
