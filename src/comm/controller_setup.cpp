#include "comm/controller_setup.h"

#include "base/operation_ui.h"
#include "comm/controller_link.h"
#include "comm/maintenance_ops.h"
#include "model/screen.h"
#include "platform/neighbour_cache.h"

#include <QRegularExpression>

#include <functional>

namespace {

using P = ControllerParams;

constexpr int kIpOptionAssignToPc = 0;
constexpr int kIpOptionFixed = 1;
constexpr int kMacChanged = 45;

// Reads the block, lets change() edit it, and writes it. A failed read writes nothing; a
// failed write puts back what the controller holds, so that later commands still reach it.
bool ReadChangeWrite(CControllerLink& link, const std::function<void(ControllerParams&)>& change)
{
    CScreen& screen = link.Screen();
    bool ok = link.ReadParams();
    if (ok) {
        const ControllerParams read = screen.Params();
        change(screen.Params());
        ok = link.WriteParams();
        if (!ok)
            screen.Params() = read;
    }
    link.CloseLink();
    return ok;
}

} // namespace

int ControllerIdOrDefault(int panelId)
{
    return panelId >= 1 && panelId <= 255 ? panelId : 1;
}

bool ParseControllerIp(const QString& text, std::array<std::uint8_t, 4>& ip)
{
    static const QRegularExpression kIp(
        QStringLiteral("^\\s*(\\d{1,3})\\.(\\d{1,3})\\.(\\d{1,3})\\.(\\d{1,3})\\s*$"));
    const QRegularExpressionMatch match = kIp.match(text);
    if (!match.hasMatch())
        return false;
    std::array<std::uint8_t, 4> parsed{};
    for (int i = 0; i < 4; ++i) {
        const int number = match.captured(i + 1).toInt();
        if (number > 255)
            return false;
        parsed[size_t(i)] = static_cast<std::uint8_t>(number);
    }
    ip = parsed;
    return true;
}

bool ParseControllerMac(const QString& text, std::array<std::uint8_t, 6>& mac)
{
    const QStringList fields = text.trimmed().split(u'-');
    if (fields.size() != 6)
        return false;
    std::array<std::uint8_t, 6> parsed{};
    static const QRegularExpression kHex(QStringLiteral("^[0-9A-Fa-f]{1,8}$"));
    for (int i = 0; i < 6; ++i) {
        const QString field = fields.at(i).trimmed();
        if (!kHex.match(field).hasMatch())
            return false;
        const uint value = field.toUInt(nullptr, 16);
        if (value > 0xFF)
            return false;
        parsed[size_t(i)] = static_cast<std::uint8_t>(value);
    }
    mac = parsed;
    return true;
}

QString ControllerMacText(const ControllerParams& params)
{
    QStringList fields;
    for (int i = 0; i < 6; ++i)
        fields.append(QStringLiteral("%1").arg(params.U8(P::Mac + i), 2, 16, QLatin1Char('0')));
    return fields.join(u'-').toUpper();
}

QString ControllerIpText(const ControllerParams& params)
{
    return QStringLiteral("%1.%2.%3.%4")
        .arg(params.U8(P::Ip))
        .arg(params.U8(P::Ip + 1))
        .arg(params.U8(P::Ip + 2))
        .arg(params.U8(P::Ip + 3));
}

QString MacErrorText()
{
    return QStringLiteral("MAC Error!");
}

SerialControllerSetup LoadSerialControllerSetup(const CScreen& screen)
{
    SerialControllerSetup setup;
    setup.baudRate = screen.BaudRate() == 9600 ? 9600 : 57600;
    setup.panelId = screen.Params().U16(P::PanelId);
    return setup;
}

NetworkControllerSetup LoadNetworkControllerSetup(const CScreen& screen)
{
    const ControllerParams& params = screen.Params();
    NetworkControllerSetup setup;
    setup.panelId = params.U16(P::PanelId);
    setup.assignIpToPc = params.U8(P::NetworkOptions) == kIpOptionAssignToPc;
    setup.ipText = screen.Link().remoteIp;
    setup.macText = ControllerMacText(params);
    return setup;
}

bool RunSerialControllerSetup(CScreen& screen, const SerialControllerSetup& setup, IOperationUi& ui)
{
    CControllerLink& link = LinkOf(screen);
    const bool ok = ReadChangeWrite(link, [&](ControllerParams& params) {
        if (setup.panelId)
            params.SetU16(P::PanelId,
                          static_cast<std::uint16_t>(ControllerIdOrDefault(*setup.panelId)));
        if (setup.baudRate)
            params.SetU32(P::BaudRate, *setup.baudRate == 9600 ? 9600u : 57600u);
    });
    if (ok) {
        screen.Link().baudRate = screen.BaudRate();
        screen.Link().panelId = screen.Params().U16(P::PanelId);
    }
    return ReportCommandResult(link, ui, ok);
}

ControllerSetupResult
RunNetworkControllerSetup(CScreen& screen, const NetworkControllerSetup& setup, IOperationUi& ui)
{
    std::array<std::uint8_t, 4> ip{};
    if (setup.ipText && !ParseControllerIp(*setup.ipText, ip))
        return ControllerSetupResult::BadIp;
    std::array<std::uint8_t, 6> mac{};
    if (setup.macText && !ParseControllerMac(*setup.macText, mac)) {
        ui.Beep(MessageKind::Warning);
        ui.Warn(MacErrorText());
        return ControllerSetupResult::BadMac;
    }
    CControllerLink& link = LinkOf(screen);
    const bool ok = ReadChangeWrite(link, [&](ControllerParams& params) {
        if (setup.panelId)
            params.SetU16(P::PanelId,
                          static_cast<std::uint16_t>(ControllerIdOrDefault(*setup.panelId)));
        if (setup.assignIpToPc)
            params.SetU8(P::NetworkOptions,
                         *setup.assignIpToPc ? kIpOptionAssignToPc : kIpOptionFixed);
        for (int i = 0; setup.ipText && i < 4; ++i)
            params.SetU8(P::Ip + i, ip[size_t(i)]);
        params.SetU8(kMacChanged, setup.macChanged ? 1 : 0);
        for (int i = 0; setup.macText && i < 6; ++i)
            params.SetU8(P::Mac + i, mac[size_t(i)]);
    });
    if (ok) {
        screen.Link().panelId = screen.Params().U16(P::PanelId);
        if (setup.ipText)
            screen.Link().remoteIp = ControllerIpText(screen.Params());
    }
    ReportCommandResult(link, ui, ok);
    if (ok && screen.Params().U8(kMacChanged))
        FlushNeighbourCache(screen.Link().remoteIp);
    screen.Params().SetU8(kMacChanged, 0);
    return ok ? ControllerSetupResult::Succeeded : ControllerSetupResult::Failed;
}
