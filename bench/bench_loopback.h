#pragma once

#include <QtGlobal>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <thread>

#include <netinet/in.h>

// The link figures alternate their two measurements in short slices, so that both see
// the same load of a shared machine; the rates are the totals over all slices.
constexpr qint64 kBenchSliceMs = 25;
constexpr qint64 kBenchTotalMs = 3000;

// A UDP socket bound to an ephemeral port of 127.0.0.1.
int BindLoopback(int& port);
sockaddr_in LoopbackAddress(int port);

// The bare peer of a ping-pong: answers every datagram with its first bytes, as many as
// replySize says for that request, until it is destroyed.
class LoopbackEcho
{
public:
    explicit LoopbackEcho(std::function<std::size_t(const std::uint8_t* request)> replySize);
    ~LoopbackEcho();
    LoopbackEcho(const LoopbackEcho&) = delete;
    LoopbackEcho& operator=(const LoopbackEcho&) = delete;

    int Port() const { return m_port; }

private:
    int m_port = 0;
    int m_socket = -1;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};
