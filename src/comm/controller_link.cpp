#include "comm/controller_link.h"

#include "base/string_table.h"
#include "model/play_window.h"
#include "model/program.h"
#include "model/screen.h"
#include "platform/neighbour_cache.h"

#include <QThread>

#include <algorithm>

namespace {

void PutU32(std::uint8_t* at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        at[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// The pauses around a transaction give a serial controller time to turn the line
// around; a network controller has answered once its datagram arrived.
void PaceWait(bool pace, int milliseconds)
{
    if (pace)
        QThread::msleep(static_cast<unsigned long>(milliseconds));
}

} // namespace

int ExpectedReplyPayload(int command)
{
    switch (command) {
    case CmdIdentify:
        return 5;
    case CmdReadParams:
        return 112;
    case CmdFirmwareQuery:
        return 1;
    default:
        return 0;
    }
}

namespace {

bool IsSuccessReply(const std::uint8_t* reply, int length)
{
    return CheckReply(reply, length) == ReplyCheck::Ok;
}

} // namespace

TransferRules TransferRulesFor(int command)
{
    TransferRules rules;
    switch (command) {
    case CmdIdentify:
        rules.resend = true;
        rules.learnAddress = true;
        break;
    case CmdReadParams:
    case CmdDataChunk:
        // The same bytes at the same offset: a chunk that arrives twice is stored twice.
        rules.resend = true;
        break;
    case CmdEndData:
        // A card answers an end for a transfer it already closed with an error, so after
        // the end went out twice only a success settles it.
        rules.resend = true;
        rules.slowToAnswer = true;
        rules.settles = IsSuccessReply;
        break;
    default:
        // Begin data starts the transfer over, and the others change the card: a late
        // copy must not arrive after what follows them.
        break;
    }
    return rules;
}

CControllerLink::CControllerLink(CScreen& screen) : m_screen(screen) {}

CControllerLink::~CControllerLink()
{
    m_serial.Close();
    m_udp.Close();
}

CCommPort& CControllerLink::Port()
{
    return m_screen.Link().linkKind == 1 ? static_cast<CCommPort&>(m_udp) : m_serial;
}

const CCommPort& CControllerLink::Port() const
{
    return m_screen.Link().linkKind == 1 ? static_cast<const CCommPort&>(m_udp) : m_serial;
}

bool CControllerLink::Pace() const
{
    return m_screen.Link().linkKind != 1;
}

void CControllerLink::SelectLink(int kind)
{
    CloseLink();
    m_screen.Link().linkKind = kind;
}

bool CControllerLink::OpenLink()
{
    CCommPort& port = Port();
    if (port.Open(&m_screen.Link()))
        return true;
    m_errorText = port.GetErrorText();
    return false;
}

void CControllerLink::CloseLink()
{
    Port().Close();
}

QString CControllerLink::GetLinkStatusText() const
{
    if (!IsLinkConnected())
        return LoadString(43034);
    const LinkSettings& link = m_screen.Link();
    if (link.linkKind == 1)
        return LoadString(43033) + link.remoteIp;
    return LoadString(43033) + QStringLiteral("COM%1").arg(link.comPort);
}

bool CControllerLink::Exchange(const std::uint8_t* frame, int length, int replyPayloadLength,
                               const TransferRules& rules)
{
    SetCommCancel(false);
    CCommPort& port = Port();
    const int replyLength = replyPayloadLength + 12;
    bool transferred = port.Transfer(frame, length, replyLength, rules);
    m_lastSends = port.SendCount();
    if (!transferred && port.IsConnected() && m_retryTransfer && !CommCancelled()) {
        PumpedWait(200);
        transferred = port.Transfer(frame, length, replyLength, rules);
        m_lastSends += port.SendCount();
    }
    m_errorText = transferred ? QString() : port.GetErrorText();

    const std::uint8_t* reply = port.GetReplyBytes();
    const int count = port.GetReplyCount();
    const ReplyCheck check = CheckReply(reply, count);
    m_lastCheck = check;
    switch (check) {
    case ReplyCheck::TooShort:
        port.UpdateHealth(false);
        return false;
    case ReplyCheck::BadFrame:
        port.UpdateHealth(false);
        m_errorText = ReplyCheckText(check, reply, count);
        return false;
    case ReplyCheck::BadChecksum:
    case ReplyCheck::ErrorClass:
        m_errorText = ReplyCheckText(check, reply, count);
        return false;
    case ReplyCheck::Status:
        port.UpdateHealth(true);
        m_errorText = ReplyCheckText(check, reply, count);
        return false;
    case ReplyCheck::Ok:
        port.UpdateHealth(true);
        return transferred;
    }
    return false;
}

bool CControllerLink::Transact(const CCommPacket& packet, int replyPayloadLength)
{
    return Transact(packet, replyPayloadLength, TransferRules{});
}

bool CControllerLink::Transact(const CCommPacket& packet, int replyPayloadLength,
                               const TransferRules& rules)
{
    CCommPort& port = Port();
    const bool pace = Pace();
    bool openedHere = false;
    m_commandSent = false;
    if (!port.IsOpen()) {
        PaceWait(pace, 50);
        if (!OpenLink()) {
            port.Close();
            m_errorText = port.GetErrorText();
            return false;
        }
        openedHere = true;
    }

    const CCommPacket identify(CmdIdentify, m_screen.Link().panelId);
    bool result =
        Exchange(identify, ExpectedReplyPayload(CmdIdentify), TransferRulesFor(CmdIdentify));
    PaceWait(pace, 50);
    if (result) {
        if (ReplyPayloadLength() == 5) {
            std::array<std::uint8_t, 5> identity{};
            std::copy_n(ReplyPayload(), 5, identity.begin());
            m_screen.SetIdentity(identity);
            ++m_identifyCount;
            m_commandSent = true;
            result = Exchange(packet, replyPayloadLength, rules);
        } else {
            m_errorText = LoadString(43030);
            result = false;
        }
    }
    if (!result && m_screen.Link().linkKind == 1)
        FlushNeighbourCache(m_screen.Link().remoteIp);
    PaceWait(pace, 50);
    if (openedHere)
        port.Close();
    return result;
}

int CControllerLink::ControllerAddress() const
{
    return m_screen.Params().U16(ControllerParams::PanelId);
}

bool CControllerLink::TransactCommand(int command, int param1, int param2, int address,
                                      const std::uint8_t* payload, int payloadLength)
{
    const CCommPacket packet(command, param1, param2, address, payload, payloadLength);
    return Transact(packet, ExpectedReplyPayload(command), TransferRulesFor(command));
}

bool CControllerLink::SendDataChunk(std::uint32_t offset, const std::uint8_t* bytes, int length)
{
    std::vector<std::uint8_t> payload(4 + static_cast<size_t>(std::max(length, 0)));
    PutU32(payload.data(), offset);
    if (length > 0)
        std::copy_n(bytes, length, payload.begin() + 4);
    const CCommPacket packet(CmdDataChunk, 0, 0, ControllerAddress(), payload.data(),
                             static_cast<int>(payload.size()));
    return Exchange(packet, 0, TransferRulesFor(CmdDataChunk));
}

std::array<std::uint8_t, 8> CControllerLink::BeginDataPayload(std::uint32_t largestProgramBuffer,
                                                              std::uint32_t totalLength)
{
    std::array<std::uint8_t, 8> payload{};
    PutU32(payload.data(), largestProgramBuffer);
    PutU32(payload.data() + 4, totalLength);
    return payload;
}

bool CControllerLink::BeginData(std::uint32_t largestProgramBuffer, std::uint32_t totalLength)
{
    const auto payload = BeginDataPayload(largestProgramBuffer, totalLength);
    return TransactCommand(CmdBeginData, 0, 0, ControllerAddress(), payload.data(), 8);
}

bool CControllerLink::BeginData(std::uint32_t totalLength)
{
    return BeginData(LargestProgramBuffer(m_screen), totalLength);
}

bool CControllerLink::EndData(bool complete)
{
    return TransactCommand(CmdEndData, complete ? 5 : 0, 0, ControllerAddress(), nullptr, 0);
}

EndAnswer CControllerLink::EndComplete()
{
    if (TransactCommand(CmdEndData, 5, 0, ControllerAddress(), nullptr, 0))
        return EndAnswer::Stored;
    if (CommCancelled())
        return EndAnswer::Cancelled;
    // A card that refused the one end it got has said what it holds; after a second copy
    // its refusal may only mean that the first had closed the transfer already.
    if (m_commandSent && m_lastCheck == ReplyCheck::Status && m_lastSends == 1)
        return EndAnswer::Rejected;
    return EndAnswer::Unsure;
}

bool CControllerLink::EndDataOnce(bool complete)
{
    if (!Port().IsOpen())
        return false;
    const CCommPacket packet(CmdEndData, complete ? 5 : 0, 0, ControllerAddress(), nullptr, 0);
    m_retryTransfer = false;
    const bool ended = Exchange(packet, ExpectedReplyPayload(CmdEndData));
    m_retryTransfer = true;
    return ended;
}

bool CControllerLink::WriteParams()
{
    const auto& bytes = m_screen.Params().Bytes();
    return TransactCommand(CmdWriteParams, 0, 0, m_screen.Link().panelId, bytes.data(),
                           ControllerParams::kSize);
}

bool CControllerLink::ReadParams(bool broadcast)
{
    if (broadcast)
        m_screen.Link().remoteIp = QStringLiteral("255.255.255.255");
    if (!TransactCommand(CmdReadParams, 0, 0, ControllerAddress(), nullptr, 0))
        return false;
    auto& bytes = m_screen.Params().Bytes();
    std::copy_n(ReplyPayload(), ControllerParams::kSize, bytes.begin());
    return true;
}

bool CControllerLink::ResetParams()
{
    return TransactCommand(CmdResetParams, 0, 0, ControllerAddress(), nullptr, 0);
}

bool CControllerLink::SendPowerGroup()
{
    return TransactCommand(CmdPowerGroup, 0, 0, ControllerAddress(), m_screen.PowerBlock(),
                           ControllerParams::kPowerBlockSize);
}

std::array<std::uint8_t, 8> CControllerLink::TimeSyncPayload(const QDateTime& localTime)
{
    // The local wall-clock time counted in seconds from 1970-01-01 00:00.
    const QDateTime wall(localTime.date(), localTime.time(), Qt::UTC);
    const qint64 seconds = wall.toSecsSinceEpoch();
    std::array<std::uint8_t, 8> payload{};
    PutU32(payload.data(), static_cast<std::uint32_t>(seconds));
    return payload;
}

bool CControllerLink::SyncTime(const QDateTime& localTime)
{
    const auto payload = TimeSyncPayload(localTime);
    return TransactCommand(CmdTimeSync, 0, 0, ControllerAddress(), payload.data(), 8);
}

bool CControllerLink::SyncTime()
{
    return SyncTime(QDateTime::currentDateTime());
}

bool CControllerLink::ClearPanel()
{
    return TransactCommand(CmdClearPanel, 0, 0, ControllerAddress(), nullptr, 0);
}

bool CControllerLink::FirmwareCommand(int command, int c, std::uint8_t* replyByte)
{
    const auto a = static_cast<std::uint8_t>(NextRandom());
    const auto d = static_cast<std::uint8_t>(NextRandom());
    const std::uint8_t payload[4] = {a, static_cast<std::uint8_t>(85 - a), d,
                                     static_cast<std::uint8_t>(d + 85)};
    if (!TransactCommand(command, c & 0xFF, (170 - c) & 0xFF, ControllerAddress(), payload, 4))
        return false;
    if (replyByte)
        *replyByte = ReplyPayload()[0];
    return true;
}

bool CControllerLink::FirmwareQuery(std::uint8_t& value)
{
    return FirmwareCommand(CmdFirmwareQuery, NextRandom() & 0xFF, &value);
}

bool CControllerLink::FirmwareSwitch(bool on)
{
    const int c = on ? NextRandom() % 49 + 100 : NextRandom() % 49;
    return FirmwareCommand(CmdFirmwareSwitch, c, nullptr);
}

CModelInfo CControllerLink::ModelInfo() const
{
    CModelInfo info;
    info.AssignFromIdentity(m_screen.Identity());
    return info;
}

CControllerLink& LinkOf(CScreen& screen)
{
    if (auto* link = dynamic_cast<CControllerLink*>(screen.LinkObject()))
        return *link;
    auto link = std::make_unique<CControllerLink>(screen);
    CControllerLink& result = *link;
    screen.SetLinkObject(std::move(link));
    return result;
}

std::uint32_t ProgramBufferSize(const CProgram& program, int colourPlanes)
{
    std::uint32_t size = 0;
    program.ForEachChild([&](const CProjectObject& child) {
        if (child.GetKind() != KindWindow)
            return;
        const LedRect& rect = static_cast<const CPlayWindow&>(child).WindowRect();
        const std::uint32_t height = static_cast<std::uint32_t>(std::max(rect.Height(), 0));
        const std::uint32_t width =
            (static_cast<std::uint32_t>(std::max(rect.Width(), 0)) + 31) & ~31u;
        size += height * width * static_cast<std::uint32_t>(colourPlanes) / 8;
    });
    return size;
}

std::uint32_t LargestProgramBuffer(const CScreen& screen)
{
    std::uint32_t largest = 0;
    screen.ForEachChild([&](const CProjectObject& child) {
        if (child.GetKind() == KindProgram)
            largest = std::max(largest, ProgramBufferSize(static_cast<const CProgram&>(child),
                                                          screen.ColourDepth()));
    });
    return largest;
}
