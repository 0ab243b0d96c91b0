#pragma once

#include "sim/sim_controller.h"

#include <QElapsedTimer>
#include <QString>

#include <atomic>
#include <deque>
#include <functional>

#include <netinet/in.h>

// Serves a simulated controller on a UDP address and/or a serial device until stopped.
class CSimServer
{
public:
    explicit CSimServer(CSimController& controller);
    ~CSimServer();
    CSimServer(const CSimServer&) = delete;
    CSimServer& operator=(const CSimServer&) = delete;

    // Binds ADDR:PORT (port 0: one the system chooses). With replyFrom (another local
    // address) replies go out from replyFrom:PORT, which also takes requests.
    bool ListenUdp(const QString& address, int port, const QString& replyFrom, QString& error);
    bool OpenSerial(const QString& device, int baud, QString& error);
    int UdpPort() const { return m_udpPort; }

    // Handles requests until Stop() is called or `stop` becomes true.
    void Run(const std::atomic<bool>& stop);
    void Stop() { m_stop = true; }
    void SetLogger(std::function<void(const QString&)> logger) { m_logger = std::move(logger); }

private:
    void ServeUdp(int socket);
    enum class SerialRead { Data, Nothing, HungUp };
    SerialRead ServeSerial();
    // After a hang-up: waits a little (so that a closed line does not spin a core); false
    // once the device has gone for good.
    bool WaitForSerialPeer(const std::atomic<bool>& stop);
    void Log(const QString& line);
    // A reply due later (the delay fault): the card keeps serving meanwhile.
    struct PendingReply
    {
        qint64 due = 0;
        int socket = -1; // -1: the serial line
        sockaddr_in to{};
        std::vector<std::uint8_t> bytes;
    };
    void Reply(int socket, const sockaddr_in* to, std::vector<std::uint8_t> bytes);
    void WriteSerial(const std::vector<std::uint8_t>& bytes);
    void SendDueReplies();
    // How long the serving loop may sleep (ms).
    int PollWait() const;

    CSimController& m_controller;
    CSimStream m_stream;
    int m_udp = -1;
    int m_replySocket = -1;
    int m_udpPort = 0;
    int m_serial = -1;
    QString m_serialDevice;
    bool m_serialHungUp = false;
    qint64 m_lastSerialByte = 0;
    std::vector<std::uint8_t> m_datagram;
    std::atomic<bool> m_stop{false};
    std::function<void(const QString&)> m_logger;
    std::deque<PendingReply> m_pending;
    QElapsedTimer m_clock;
};
