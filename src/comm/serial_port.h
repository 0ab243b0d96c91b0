#pragma once

#include "comm/comm_port.h"

// A controller on an RS-232 line (8 data bits, no parity, 1 stop bit). The port number of
// the settings is mapped to a device by the platform layer.
class CSerialPort final : public CCommPort
{
public:
    ~CSerialPort() override;

    bool IsOpen() const override { return m_fd >= 0; }
    bool Open(LinkSettings* settings) override;
    bool Transfer(const std::uint8_t* frame, int length, int replyLength) override;
    void Close() override;

private:
    bool Read(int replyLength);

    int m_fd = -1;
};
