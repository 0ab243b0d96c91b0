#include "sim/sim_controller.h"

#include "sim/sim_screen_summary.h"

#include "base/durable_file.h"
#include "comm/comm_packet.h"
#include "comm/controller_link.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>

#include <algorithm>
#include <cstdio>

namespace {

std::uint32_t GetU32(const std::uint8_t* at)
{
    return at[0] | (static_cast<std::uint32_t>(at[1]) << 8) |
           (static_cast<std::uint32_t>(at[2]) << 16) | (static_cast<std::uint32_t>(at[3]) << 24);
}

const char* CommandName(int command)
{
    switch (command) {
    case CmdIdentify:
        return "identify";
    case CmdDataChunk:
        return "data chunk";
    case CmdBeginData:
        return "begin data";
    case CmdEndData:
        return "end data";
    case CmdWriteParams:
        return "write parameters";
    case CmdReadParams:
        return "read parameters";
    case CmdResetParams:
        return "parameter reset";
    case CmdPowerGroup:
        return "power group";
    case CmdTimeSync:
        return "time sync";
    case CmdClearPanel:
        return "clear panel";
    case CmdFirmwareQuery:
        return "firmware query";
    case CmdFirmwareSwitch:
        return "firmware mode switch";
    default:
        return "unknown";
    }
}

const char* RequestCheckName(RequestCheck check)
{
    switch (check) {
    case RequestCheck::TooShort:
        return "too short";
    case RequestCheck::BadLength:
        return "length field does not match";
    case RequestCheck::BadChecksum:
        return "bad checksum";
    case RequestCheck::BadTrailer:
        return "bad trailer bytes";
    case RequestCheck::Ok:
        break;
    }
    return "ok";
}

bool WriteWhole(const QString& path, const QByteArray& bytes)
{
    QString reason;
    if (WriteFileDurably(path, bytes, &reason))
        return true;
    std::fprintf(stderr, "lumivant-sim: %s\n", qPrintable(reason));
    return false;
}

QByteArray ToBytes(const std::vector<std::uint8_t>& bytes)
{
    return QByteArray(reinterpret_cast<const char*>(bytes.data()),
                      static_cast<qsizetype>(bytes.size()));
}

// Replies a controller gives to the previous generation's probe (a 52-byte frame).
constexpr std::uint8_t kLegacyProbe[] = {0xA0, 0x34, 0x00, 0x01, 0x00, 0x05};

} // namespace

CSimController::CSimController()
{
    m_clockBase =
        QDateTime(QDateTime::currentDateTime().date(), QDateTime::currentDateTime().time(), Qt::UTC)
            .toSecsSinceEpoch();
    m_clockTimer.start();
}

void CSimController::SetPanelId(int panelId)
{
    m_params.SetU16(ControllerParams::PanelId, static_cast<std::uint16_t>(panelId));
}

void CSimController::SetStateFolder(const QString& folder)
{
    m_folder = folder;
    if (m_folder.isEmpty())
        return;
    QDir().mkpath(m_folder);
    QFile file(QDir(m_folder).filePath(QStringLiteral("params.bin")));
    if (file.open(QIODevice::ReadOnly)) {
        const QByteArray bytes = file.read(ControllerParams::kSize + 1);
        if (bytes.size() == ControllerParams::kSize)
            std::copy(bytes.begin(), bytes.end(), m_params.Bytes().begin());
    }
}

qint64 CSimController::ClockSeconds() const
{
    return m_clockBase + m_clockTimer.elapsed() / 1000;
}

bool CSimController::IsLegacyProbe(const std::uint8_t* bytes, int length)
{
    return length == kLegacyProbeSize &&
           std::equal(std::begin(kLegacyProbe), std::end(kLegacyProbe), bytes) &&
           bytes[13] == 0x35 && bytes[48] == 0x0F && bytes[49] == 0x01 && bytes[51] == 0x50;
}

std::vector<std::uint8_t> CSimController::LegacyReply()
{
    std::vector<std::uint8_t> reply(kLegacyProbeSize, 0);
    reply[0] = 0xA0;
    reply[1] = 0x34;
    reply[16] = 0x34;
    reply[20] = 14;
    return reply;
}

bool CSimController::Handle(const std::uint8_t* bytes, int length, std::vector<std::uint8_t>& reply,
                            QString& log)
{
    reply.clear();
    if (IsLegacyProbe(bytes, length)) {
        if (!m_faults.legacyProbe) {
            log = QStringLiteral("legacy probe ignored");
            return false;
        }
        reply = LegacyReply();
        log = QStringLiteral("legacy probe -> previous-generation reply");
        return true;
    }
    if (length > kMaxRequest) {
        log = QStringLiteral("ignored %1 bytes: frame too long").arg(length);
        return false;
    }
    ParsedRequest request;
    const RequestCheck check = ParseRequest(bytes, length, request);
    if (check != RequestCheck::Ok) {
        log = QStringLiteral("ignored %1 bytes: %2")
                  .arg(length)
                  .arg(QLatin1String(RequestCheckName(check)));
        return false;
    }
    const int panelId = m_params.U16(ControllerParams::PanelId);
    if (request.address != panelId) {
        log = QStringLiteral("ignored command %1: addressed to panel %2, this is panel %3")
                  .arg(request.command)
                  .arg(request.address)
                  .arg(panelId);
        return false;
    }
    if (m_restarting.isValid() && m_restarting.elapsed() < m_faults.restartMs) {
        log = QStringLiteral("ignored command %1: restarting").arg(request.command);
        return false;
    }
    m_restarting.invalidate();
    const int number = ++m_requestCounts[request.command];
    if (const auto restart = m_faults.restart.find(request.command);
        restart != m_faults.restart.end() && restart->second == number) {
        Restart();
        log = QStringLiteral("#%1 command %2 (%3): restarting")
                  .arg(number)
                  .arg(request.command)
                  .arg(QLatin1String(CommandName(request.command)));
        return false;
    }
    if (m_logging)
        log = QStringLiteral("#%1 command %2 (%3) p1=%4 p2=%5 payload %6 bytes")
                  .arg(number)
                  .arg(request.command)
                  .arg(QLatin1String(CommandName(request.command)))
                  .arg(request.param1)
                  .arg(request.param2)
                  .arg(request.payload.size());

    std::vector<std::uint8_t> replyPayload;
    QString note;
    int status = 0;
    if (const auto forced = m_faults.status.find(request.command);
        forced != m_faults.status.end()) {
        status = forced->second;
        note = QStringLiteral("forced status");
    } else {
        status = Execute(request.command, request.param1, request.param2, request.payload,
                         replyPayload, note);
    }
    if (status != 0)
        replyPayload.clear();
    if (const auto size = m_faults.wrongSize.find(request.command);
        size != m_faults.wrongSize.end()) {
        replyPayload.resize(static_cast<size_t>(std::clamp(size->second, 0, kMaxRequest)), 0);
        note += QStringLiteral(" [wrong size]");
    }
    if (const auto drop = m_faults.drop.find(request.command);
        drop != m_faults.drop.end() &&
        std::any_of(drop->second.begin(), drop->second.end(),
                    [number](const SimFaults::Range& range) { return range.Holds(number); })) {
        log += QStringLiteral(" -> dropped");
        return false;
    }
    reply = BuildReply(status, replyPayload.data(), static_cast<int>(replyPayload.size()));
    if (m_faults.badChecksum.count(request.command)) {
        reply.back() ^= 0x5A;
        note += QStringLiteral(" [bad checksum]");
    }
    if (m_logging) {
        log += QStringLiteral(" -> status %1, %2 bytes").arg(status).arg(replyPayload.size());
        if (!note.isEmpty())
            log += QStringLiteral(" ") + note.trimmed();
    }
    return true;
}

int CSimController::Execute(int command, int param1, int param2,
                            const std::vector<std::uint8_t>& payload,
                            std::vector<std::uint8_t>& replyPayload, QString& note)
{
    const auto size = payload.size();
    switch (command) {
    case CmdIdentify:
        if (size != 0)
            return 4;
        replyPayload.assign(m_identity.begin(), m_identity.end());
        return 0;
    case CmdReadParams:
        if (size != 0)
            return 4;
        replyPayload.assign(m_params.Bytes().begin(), m_params.Bytes().end());
        return 0;
    case CmdWriteParams:
        if (size != ControllerParams::kSize)
            return 4;
        std::copy(payload.begin(), payload.end(), m_params.Bytes().begin());
        SaveParams();
        return 0;
    case CmdResetParams: {
        // The defaults, keeping the panel ID and the network settings so that the card
        // stays reachable where it was found.
        ControllerParams defaults;
        const auto& now = m_params.Bytes();
        std::copy(now.begin() + ControllerParams::PanelId,
                  now.begin() + ControllerParams::PanelId + 2,
                  defaults.Bytes().begin() + ControllerParams::PanelId);
        std::copy(now.begin() + ControllerParams::UdpPort,
                  now.begin() + ControllerParams::PowerState,
                  defaults.Bytes().begin() + ControllerParams::UdpPort);
        m_params = defaults;
        SaveParams();
        return size == 0 ? 0 : 4;
    }
    case CmdPowerGroup:
        if (size != ControllerParams::kPowerBlockSize)
            return 4;
        std::copy(payload.begin(), payload.end(),
                  m_params.Bytes().begin() + ControllerParams::kPowerBlockOffset);
        SaveParams();
        note = QStringLiteral("power %1").arg(payload[0] ? "on" : "off");
        return 0;
    case CmdTimeSync:
        if (size != 8)
            return 4;
        m_clockBase = GetU32(payload.data());
        m_clockTimer.restart();
        note = QStringLiteral("clock %1")
                   .arg(QDateTime::fromSecsSinceEpoch(m_clockBase, Qt::UTC).toString(Qt::ISODate));
        return 0;
    case CmdClearPanel:
        if (size != 0)
            return 4;
        m_transferActive = false;
        m_lastScreen.clear();
        m_cleared = true;
        if (!m_folder.isEmpty()) {
            QFile::remove(QDir(m_folder).filePath(QStringLiteral("screen.bin")));
            WriteWhole(QDir(m_folder).filePath(QStringLiteral("summary.json")),
                       QJsonDocument(Summary()).toJson());
        }
        return 0;
    case CmdBeginData: {
        if (size != 8)
            return 4;
        const std::uint32_t total = GetU32(payload.data() + 4);
        if (total == 0 || total > kMaxScreenData)
            return 5;
        m_transferActive = true;
        m_firmwareMode = false;
        m_largestProgramBuffer = GetU32(payload.data());
        m_data.assign(total, 0);
        m_received.assign(total, false);
        m_receivedCount = 0;
        m_chunks = 0;
        note = QStringLiteral("expecting %1 bytes").arg(total);
        return 0;
    }
    case CmdDataChunk:
        return DataChunk(payload, note);
    case CmdEndData:
        if (size != 0)
            return 4;
        return EndData(param1, note);
    case CmdFirmwareQuery:
    case CmdFirmwareSwitch:
        return FirmwareCommand(command, param1, param2, payload, replyPayload, note);
    default:
        return 2;
    }
}

int CSimController::DataChunk(const std::vector<std::uint8_t>& payload, QString& note)
{
    if (payload.size() < 4)
        return 4;
    const std::uint32_t offset = GetU32(payload.data());
    const auto length = static_cast<std::uint32_t>(payload.size() - 4);
    if (m_transferActive) {
        if (offset > m_data.size() || length > m_data.size() - offset)
            return 4;
        std::copy(payload.begin() + 4, payload.end(), m_data.begin() + offset);
        for (std::uint32_t i = offset; i < offset + length; ++i) {
            if (!m_received[i]) {
                m_received[i] = true;
                ++m_receivedCount;
            }
        }
        ++m_chunks;
        note = QStringLiteral("offset %1, %2 of %3 bytes")
                   .arg(offset)
                   .arg(m_receivedCount)
                   .arg(m_data.size());
        return 0;
    }
    if (m_firmwareMode) {
        if (offset > kMaxFirmware || length > kMaxFirmware - offset)
            return 4;
        if (m_firmware.size() < offset + length)
            m_firmware.resize(offset + length, 0);
        std::copy(payload.begin() + 4, payload.end(), m_firmware.begin() + offset);
        note = QStringLiteral("firmware offset %1").arg(offset);
        return 0;
    }
    return 6;
}

int CSimController::EndData(int param1, QString& note)
{
    if (!m_transferActive)
        return 6;
    m_transferActive = false;
    if (param1 != 5) {
        note = QStringLiteral("transfer abandoned");
        return 0;
    }
    if (m_receivedCount != m_data.size()) {
        note = QStringLiteral("incomplete: %1 of %2 bytes").arg(m_receivedCount).arg(m_data.size());
        return 5;
    }
    m_lastScreen = std::move(m_data);
    m_lastChunks = m_chunks;
    m_lastLargestBuffer = m_largestProgramBuffer;
    m_cleared = false;
    m_data.clear();
    m_received.clear();
    SaveScreen();
    note = QStringLiteral("screen data complete, %1 bytes").arg(m_lastScreen.size());
    return 0;
}

int CSimController::FirmwareCommand(int command, int param1, int param2,
                                    const std::vector<std::uint8_t>& payload,
                                    std::vector<std::uint8_t>& replyPayload, QString& note)
{
    if (payload.size() != 4 || ((param1 + param2) & 0xFF) != 0xAA ||
        static_cast<std::uint8_t>(payload[0] + payload[1]) != 85 ||
        static_cast<std::uint8_t>(payload[3] - payload[2]) != 85)
        return 4;
    if (command == CmdFirmwareQuery) {
        m_firmwareKey = static_cast<std::uint8_t>(NextRandom());
        m_firmwareMode = true;
        m_transferActive = false;
        m_firmware.clear();
        replyPayload.assign(1, m_firmwareKey);
        return 0;
    }
    const bool on = param1 >= 100 && param1 <= 148;
    if (!on && param1 > 48)
        return 4;
    if (on && m_firmwareMode) {
        const auto mask = static_cast<std::uint8_t>(5 * m_firmwareKey);
        for (std::uint8_t& byte : m_firmware)
            byte ^= mask;
        SaveFirmware();
        note = QStringLiteral("firmware of %1 bytes kept").arg(m_firmware.size());
    } else {
        note = QStringLiteral("firmware update switched off");
    }
    m_firmwareMode = false;
    return 0;
}

void CSimController::Restart()
{
    m_transferActive = false;
    m_data.clear();
    m_received.clear();
    m_receivedCount = 0;
    m_firmwareMode = false;
    m_firmware.clear();
    m_restarting.start();
}

void CSimController::SaveParams() const
{
    if (m_folder.isEmpty())
        return;
    WriteWhole(QDir(m_folder).filePath(QStringLiteral("params.bin")),
               QByteArray(reinterpret_cast<const char*>(m_params.Bytes().data()),
                          ControllerParams::kSize));
}

void CSimController::SaveScreen()
{
    if (m_folder.isEmpty())
        return;
    const QDir dir(m_folder);
    WriteWhole(dir.filePath(QStringLiteral("screen.bin")), ToBytes(m_lastScreen));
    SaveParams();
    QJsonObject summary = Summary();
    DescribeScreenData(m_lastScreen, m_params, m_folder, summary);
    WriteWhole(dir.filePath(QStringLiteral("summary.json")), QJsonDocument(summary).toJson());
}

void CSimController::SaveFirmware() const
{
    if (m_folder.isEmpty())
        return;
    WriteWhole(QDir(m_folder).filePath(QStringLiteral("firmware.bin")), ToBytes(m_firmware));
}

QJsonObject CSimController::Summary() const
{
    QJsonObject summary;
    QJsonArray identity;
    for (std::uint8_t byte : m_identity)
        identity.append(byte);
    summary.insert(QStringLiteral("identity"), identity);
    summary.insert(QStringLiteral("panelId"), m_params.U16(ControllerParams::PanelId));
    summary.insert(QStringLiteral("width"), m_params.PanelWidth());
    summary.insert(QStringLiteral("height"), m_params.PanelHeight());
    summary.insert(QStringLiteral("colourType"), m_params.U8(ControllerParams::ColourType));
    summary.insert(QStringLiteral("clock"),
                   QDateTime::fromSecsSinceEpoch(ClockSeconds(), Qt::UTC).toString(Qt::ISODate));
    summary.insert(QStringLiteral("cleared"), m_cleared);
    summary.insert(QStringLiteral("dataSize"), static_cast<qint64>(m_lastScreen.size()));
    summary.insert(QStringLiteral("chunks"), m_lastChunks);
    summary.insert(QStringLiteral("largestProgramBuffer"),
                   static_cast<qint64>(m_lastLargestBuffer));
    summary.insert(QStringLiteral("decoded"), false);
    return summary;
}

void CSimStream::Feed(const std::uint8_t* bytes, int length, CSimController& controller,
                      std::vector<std::vector<std::uint8_t>>& replies, QStringList& log)
{
    m_buffer.insert(m_buffer.end(), bytes, bytes + std::max(length, 0));
    for (;;) {
        if (m_buffer.size() < 3)
            return;
        const bool legacyStart = m_buffer.size() >= 3 && m_buffer[0] == kLegacyProbe[0] &&
                                 m_buffer[1] == kLegacyProbe[1] && m_buffer[2] == kLegacyProbe[2];
        int frameLength = legacyStart ? CSimController::kLegacyProbeSize
                                      : RequestAnnouncedLength(m_buffer.data());
        if (!legacyStart && (frameLength < 12 || frameLength > CSimController::kMaxRequest)) {
            // Not the start of a frame: skip a byte and look again.
            m_buffer.erase(m_buffer.begin());
            continue;
        }
        if (static_cast<int>(m_buffer.size()) < frameLength)
            return;
        const bool legacy =
            legacyStart && CSimController::IsLegacyProbe(m_buffer.data(), frameLength);
        ParsedRequest request;
        if (!legacy && ParseRequest(m_buffer.data(), frameLength, request) != RequestCheck::Ok) {
            // Not a valid frame here: skip a byte so that a frame hidden behind is found.
            m_buffer.erase(m_buffer.begin());
            continue;
        }
        std::vector<std::uint8_t> reply;
        QString line;
        if (controller.Handle(m_buffer.data(), frameLength, reply, line))
            replies.push_back(std::move(reply));
        log.append(line);
        m_buffer.erase(m_buffer.begin(), m_buffer.begin() + frameLength);
    }
}
