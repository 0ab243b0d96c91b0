#pragma once

#include "comm/comm_port.h"

#include <array>

#include <netinet/in.h>

// A controller on the network: one UDP datagram out, one datagram of exactly the expected
// size back, from the controller's address and port.
//
// Replies carry no sequence number, so each request goes out from the next of a few
// sockets in turn (each on a port of its own), and a socket whose request timed out or
// went out twice is replaced: a reply that comes late, or twice, reaches a socket nobody
// waits on instead of passing for the reply to a later request.
class CUdpPort final : public CCommPort
{
public:
    ~CUdpPort() override;

    bool IsOpen() const override { return m_open; }
    bool Open(LinkSettings* settings) override;
    using CCommPort::Transfer;
    bool Transfer(const std::uint8_t* frame, int length, int replyLength,
                  const TransferRules& rules) override;
    void Close() override;

    // The sender of the last datagram taken as a reply, as text.
    const QString& LastSender() const { return m_lastSender; }
    // How long the link waits before sending a request again while no reply came (ms).
    double ResendInterval() const;

private:
    static constexpr int kSockets = 4;

    bool ResolveRemote(sockaddr_in& remote);
    // The socket for the next request, emptied of what waits in it.
    int TakeSocket();
    // Puts a fresh socket in the place of the one in use.
    void ReplaceSocket();
    void TakeRoundTrip(double milliseconds);

    std::array<int, kSockets> m_sockets{-1, -1, -1, -1};
    int m_current = 0;
    bool m_open = false;
    QString m_lastSender;
    std::vector<std::uint8_t> m_datagram;
    // The remote address last resolved, and the text it was resolved from.
    QString m_resolvedText;
    in_addr m_resolved{};
    // Round-trip estimate of requests answered at the first sending (ms); the interval
    // before a request goes out again follows from it.
    double m_smoothedRtt = -1;
    double m_rttVariation = 0;
    double m_resendInterval = -1;
};
