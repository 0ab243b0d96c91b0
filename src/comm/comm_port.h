#pragma once

#include <QString>

#include <atomic>
#include <cstdint>
#include <vector>

struct LinkSettings;

// The process-wide cancel flag: set by a progress dialog's Cancel button, polled by the
// transports and the send loop, cleared at the start of every exchange.
void SetCommCancel(bool cancel);
bool CommCancelled();
// Gives the calling thread a cancel flag of its own in place of the process-wide one
// (nullptr gives it back): a thread sending to one of several screens at once can then
// be cancelled, and clear its flag, without touching the others.
class CThreadCommCancel
{
public:
    explicit CThreadCommCancel(std::atomic<bool>& flag);
    ~CThreadCommCancel();
    CThreadCommCancel(const CThreadCommCancel&) = delete;
    CThreadCommCancel& operator=(const CThreadCommCancel&) = delete;

private:
    std::atomic<bool>* m_previous;
};

// Waits the given time while processing pending events, without spinning the processor.
void PumpedWait(int milliseconds);
// Processes pending events once, when an application object exists.
void PumpEvents();

// What a transfer may do while it waits for its reply.
struct TransferRules
{
    // The request changes nothing when the card gets it twice: it may go out again, a
    // bounded number of times within the time-out, while no reply has come.
    bool resend = false;
    // The card takes its time over the request (it stores what it got): the first resend
    // waits a quarter of the time-out at least, however quick the card was so far.
    bool slowToAnswer = false;
    // Any address may answer (a broadcast, or a card that answers from its own address),
    // and the settings learn it; otherwise only the address asked counts.
    bool learnAddress = false;
    // Once the request went out more than once, a reply this refuses may answer a later
    // copy while the reply to an earlier one is still on its way: it is kept, and taken
    // only when nothing it accepts comes before the time-out.
    bool (*settles)(const std::uint8_t* reply, int length) = nullptr;
};

// One request out, one reply of a known length back. Keeps the link health (connected flag
// and consecutive failures), the last reply bytes and the last error text.
class CCommPort
{
public:
    CCommPort() = default;
    CCommPort(const CCommPort&) = delete;
    CCommPort& operator=(const CCommPort&) = delete;
    virtual ~CCommPort();

    virtual bool IsOpen() const = 0;
    // Opens the transport for the settings, which must outlive the open transport.
    virtual bool Open(LinkSettings* settings) = 0;
    // Sends the frame and collects replyLength bytes. Whatever was waiting before the
    // request is not its reply, nor is anything that comes too late for it.
    virtual bool Transfer(const std::uint8_t* frame, int length, int replyLength,
                          const TransferRules& rules) = 0;
    bool Transfer(const std::uint8_t* frame, int length, int replyLength)
    {
        return Transfer(frame, length, replyLength, TransferRules{});
    }
    virtual void Close() = 0;

    bool IsConnected() const { return m_connected != 0; }
    // A success marks the link connected; the third failure in a row disconnects it.
    void UpdateHealth(bool ok);
    int FailureCount() const { return m_failures; }

    const std::uint8_t* GetReplyBytes() const { return m_receive.data(); }
    int GetReplyCount() const { return m_receiveCount; }
    const std::vector<std::uint8_t>& GetTransmitCopy() const { return m_transmit; }
    int GetTransmitCount() const { return m_transmitCount; }
    // How many times the last transfer sent its request.
    int SendCount() const { return m_sends; }

    const QString& GetErrorText() const { return m_errorText; }
    int GetErrorCode() const { return m_errorCode; }

protected:
    // Sets the error from a string-table text; "%d" in the text is replaced by the code.
    bool Fail(int messageId, int osCode = 0);
    void FailWithText(const QString& text, int osCode = 0);
    void ClearError();

    std::int32_t m_failures = 0;
    std::int32_t m_connected = 0;
    std::vector<std::uint8_t> m_transmit;
    std::vector<std::uint8_t> m_receive;
    int m_transmitCount = 0;
    int m_receiveCount = 0;
    int m_sends = 0;
    LinkSettings* m_settings = nullptr;
    int m_errorCode = 0;
    QString m_errorText;
};
