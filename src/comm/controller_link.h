#pragma once

#include "comm/comm_packet.h"
#include "comm/serial_port.h"
#include "comm/udp_port.h"
#include "config/model_info.h"
#include "model/screen_link.h"

#include <QDateTime>
#include <QString>

#include <array>
#include <cstdint>

class CScreen;
class CProgram;

// Command codes of the controller protocol.
enum CommandCode : int {
    CmdIdentify = 18,
    CmdDataChunk = 19,
    CmdBeginData = 20,
    CmdEndData = 21,
    CmdWriteParams = 32,
    CmdReadParams = 33,
    CmdResetParams = 35,
    CmdPowerGroup = 36,
    CmdTimeSync = 37,
    CmdClearPanel = 39,
    CmdFirmwareQuery = 202,
    CmdFirmwareSwitch = 203,
};

// The reply payload length each command expects.
int ExpectedReplyPayload(int command);
// What the transports may do while they wait for the reply to a command: requests that
// change nothing on the card go out again; an identify may be answered from the card's
// own address.
TransferRules TransferRulesFor(int command);

// How a card answered the end of a complete transfer.
enum class EndAnswer {
    Stored,   // it holds the screen now
    Rejected, // it refused the data (the status text says why)
    Unsure,   // the end went out more than once, or no answer came: the card may hold the
              // screen or not, and a new transfer is the only way to know
    Cancelled,
};

// The PC end of the link to one screen's controller: its two transports, the one in use,
// and the last error text. Every operation returns false on failure and leaves the
// system's text in GetErrorText().
class CControllerLink final : public CScreenLink
{
public:
    explicit CControllerLink(CScreen& screen);
    ~CControllerLink() override;

    void SelectLink(int kind);
    bool OpenLink();
    void CloseLink() override;
    bool IsLinkConnected() const { return Port().IsConnected(); }
    const QString& GetErrorText() const { return m_errorText; }
    QString GetLinkStatusText() const;

    // One transfer and the reply checks; one retry when a connected link failed.
    bool Exchange(const std::uint8_t* frame, int length, int replyPayloadLength,
                  const TransferRules& rules = {});
    bool Exchange(const CCommPacket& packet, int replyPayloadLength,
                  const TransferRules& rules = {})
    {
        return Exchange(packet.GetData(), packet.GetLength(), replyPayloadLength, rules);
    }
    // Opens the link if needed, identifies the controller, then exchanges the frame.
    bool Transact(const CCommPacket& packet, int replyPayloadLength);
    bool Transact(const CCommPacket& packet, int replyPayloadLength, const TransferRules& rules);

    // The reply of the last exchange.
    const std::uint8_t* ReplyPayload() const { return Port().GetReplyBytes() + 8; }
    int ReplyPayloadLength() const { return Port().GetReplyCount() - 12; }

    // The command set.
    bool SendDataChunk(std::uint32_t offset, const std::uint8_t* bytes, int length); // 19
    bool BeginData(std::uint32_t largestProgramBuffer, std::uint32_t totalLength);   // 20
    bool BeginData(std::uint32_t totalLength); // 20, the buffer size from the screen
    bool EndData(bool complete);               // 21
    // 21 after every chunk arrived, and what the card made of it.
    EndAnswer EndComplete();
    // 21 once on the open link, without identifying first and without a retry: after a
    // controller stopped answering, the end costs one time-out at most.
    bool EndDataOnce(bool complete);
    bool WriteParams();                        // 32
    bool ReadParams(bool broadcast = false);   // 33
    bool ResetParams();                        // 35
    bool SendPowerGroup();                     // 36
    bool SyncTime();                           // 37, the PC's local time
    bool SyncTime(const QDateTime& localTime); // 37
    bool ClearPanel();                         // 39
    bool FirmwareQuery(std::uint8_t& value);   // 202
    bool FirmwareSwitch(bool on);              // 203

    static std::array<std::uint8_t, 8> TimeSyncPayload(const QDateTime& localTime);
    static std::array<std::uint8_t, 8> BeginDataPayload(std::uint32_t largestProgramBuffer,
                                                        std::uint32_t totalLength);

    CModelInfo ModelInfo() const;
    // Counts the identify replies taken since the link was made: a caller sees from it
    // whether the identity of the screen came from the card just now.
    int IdentifyCount() const { return m_identifyCount; }
    CCommPort& Port();
    const CCommPort& Port() const;
    CSerialPort& Serial() { return m_serial; }
    CUdpPort& Udp() { return m_udp; }
    CScreen& Screen() { return m_screen; }

private:
    bool TransactCommand(int command, int param1, int param2, int address,
                         const std::uint8_t* payload, int payloadLength);
    bool FirmwareCommand(int command, int c, std::uint8_t* replyByte);
    int ControllerAddress() const;
    bool Pace() const;

    CScreen& m_screen;
    CSerialPort m_serial;
    CUdpPort m_udp;
    QString m_errorText;
    bool m_retryTransfer = true;
    int m_identifyCount = 0;
    // Of the last exchange: how often its request went out, and how its reply fared.
    int m_lastSends = 0;
    ReplyCheck m_lastCheck = ReplyCheck::TooShort;
    // Whether the last Transact got as far as its command.
    bool m_commandSent = false;
};

// The link of a screen, created on first use.
CControllerLink& LinkOf(CScreen& screen);

// Frame buffer size of a program: the sum over its windows of
// height × (width rounded up to 32) × colour planes ÷ 8.
std::uint32_t ProgramBufferSize(const CProgram& program, int colourPlanes);
std::uint32_t LargestProgramBuffer(const CScreen& screen);
