#pragma once

#include "comm/comm_packet.h"

#include <QProcess>
#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

class CProjectRoot;
class CScreen;

// A controller played by the test itself on 127.0.0.1 (port chosen by the system): each
// request is answered with what the script returns (nothing: no answer).
class ScriptedController
{
public:
    using Reply = std::optional<std::vector<std::uint8_t>>;
    using Script = std::function<Reply(const ParsedRequest& request, int index)>;

    explicit ScriptedController(Script script);
    ~ScriptedController();
    int Port() const { return m_port; }
    std::vector<int> Commands() const;

    static Reply Answer(int status, std::vector<std::uint8_t> payload = {});

private:
    void Serve();

    Script m_script;
    int m_socket = -1;
    int m_port = 0;
    std::atomic<bool> m_stop{false};
    mutable std::mutex m_mutex;
    std::vector<int> m_commands;
    std::thread m_thread;
};

// A UDP socket on 127.0.0.1 that never answers.
class SilentPeer
{
public:
    SilentPeer();
    ~SilentPeer();
    int Port() const { return m_port; }

private:
    int m_socket = -1;
    int m_port = 0;
};

// lumivant-sim started for one test and stopped at its end.
class SimProcess
{
public:
    // Starts the simulator on UDP 127.0.0.1 with an OS-chosen port plus the arguments.
    explicit SimProcess(const QStringList& arguments, bool udp = true);
    ~SimProcess();
    bool Started() const { return m_port > 0 || m_listening; }
    int Port() const { return m_port; }
    QString Output();
    // Waits until the output holds the text (bounded).
    bool WaitForOutput(const QString& text, int timeoutMs = 3000);

    // Sends SIGTERM and waits; the exit code, or -1 when it had to be killed.
    int Stop();

    static QString Path();

private:
    QProcess m_process;
    QString m_output;
    int m_port = 0;
    bool m_listening = false;
};

// A new project whose first screen talks UDP to 127.0.0.1:port with a short time-out.
struct UdpProject
{
    explicit UdpProject(int port, int timeoutMs = 300);
    ~UdpProject();
    std::unique_ptr<CProjectRoot> root;
    CScreen* screen = nullptr;
};

// Two pseudo-terminals joined by socat: the PC end and the controller end. The ends exist
// once Ready() is true; socat is stopped when the pair goes.
class PtyPair
{
public:
    PtyPair(const QString& pcEnd, const QString& controllerEnd);
    ~PtyPair();
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;
    bool Ready() const;

    QString pc;
    QString controller;

private:
    QProcess m_socat;
};
