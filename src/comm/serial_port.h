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
    using CCommPort::Transfer;
    bool Transfer(const std::uint8_t* frame, int length, int replyLength,
                  const TransferRules& rules) override;
    void Close() override;

private:
    bool Write(const std::uint8_t* frame, int length);
    // Reads replyLength bytes; with a frame, sends it once more when the line stayed
    // silent for half the time-out.
    bool Read(int replyLength, const std::uint8_t* resendFrame, int resendLength);
    // Reads and drops bytes until the line has been quiet for the time-out (at most twice
    // the time-out in all); false when cancelled.
    bool WaitForQuietLine();
    void DropPendingInput();

    int m_fd = -1;
    // The last transfer may still be answered (it timed out, was cancelled or sent its
    // request twice): the next one first waits for the line to fall quiet.
    bool m_lineUnsettled = false;
};
