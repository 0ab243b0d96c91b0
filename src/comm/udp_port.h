#pragma once

#include "comm/comm_port.h"

// A controller on the network: one UDP datagram out, one datagram of exactly the expected
// size back. A reply from another address than the one asked (a broadcast, or a
// controller that answers from its own address) teaches the settings that address.
class CUdpPort final : public CCommPort
{
public:
    ~CUdpPort() override;

    bool IsOpen() const override { return m_socket >= 0; }
    bool Open(LinkSettings* settings) override;
    bool Transfer(const std::uint8_t* frame, int length, int replyLength) override;
    void Close() override;

    // The sender of the last datagram received, as text.
    const QString& LastSender() const { return m_lastSender; }

private:
    int m_socket = -1;
    QString m_lastSender;
    std::vector<std::uint8_t> m_datagram;
};
