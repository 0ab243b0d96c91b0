#include "comm/panel_setup.h"

#include "base/operation_ui.h"
#include "base/string_table.h"
#include "comm/controller_link.h"
#include "comm/maintenance_ops.h"
#include "config/scan_mode_table.h"
#include "config/setup_failure.h"
#include "model/screen.h"

#include <QThread>

#include <algorithm>

namespace {

using P = ControllerParams;

constexpr int kSerialSummary = 41016;
constexpr int kNetworkSummary = 41017;

std::uint8_t Byte(int value)
{
    return static_cast<std::uint8_t>(value);
}

CModelInfo ModelOf(const CScreen& screen)
{
    CModelInfo model;
    model.AssignFromIdentity(screen.Identity());
    return model;
}

ScanBytes ScanBytesOf(const ControllerParams& params)
{
    return {params.U8(P::ScanMode), params.U8(P::FoldMode), params.U8(P::PanelFlags)};
}

// The fields both forms share, as the lists can show them.
void LoadCommon(const CScreen& screen, PanelDriveValues& values)
{
    const ControllerParams& params = screen.Params();
    values.modelName = ModelOf(screen).GetName();
    values.colourType = std::clamp<int>(params.U8(P::ColourType), 1, 3);
    values.width = params.PanelWidth();
    values.height = params.PanelHeight();
    values.dataPolarity = params.U8(P::DataPolarity) ? 1 : 0;
    values.oePolarity = params.U8(P::OePolarity) ? 1 : 0;
    values.clockFreq = std::clamp<int>(params.U8(P::Frequency), 0, 6);
    values.blanking = std::clamp<int>(params.U8(P::Blanking), 5, 63);
}

void StoreCommon(CScreen& screen, PanelDriveValues& values)
{
    ControllerParams& params = screen.Params();
    values.width = RoundPanelWidth(values.width);
    values.height = RoundPanelHeight(values.height);
    params.SetU8(P::ColourType, Byte(values.colourType));
    params.SetU16(P::Width, static_cast<std::uint16_t>(values.width));
    params.SetU16(P::Height, static_cast<std::uint16_t>(values.height));
    params.SetU8(P::DataPolarity, Byte(values.dataPolarity));
    params.SetU8(P::OePolarity, Byte(values.oePolarity));
    params.SetU8(P::Frequency, Byte(values.clockFreq));
    params.SetU8(P::Blanking, Byte(values.blanking));
    CModelInfo model = ModelOf(screen);
    if (model.AssignFromName(values.modelName))
        screen.SetIdentity(model.Identity());
}

bool ReportSetupFailure(CControllerLink& link, IOperationUi& ui, SetupForm form)
{
    ui.Beep(MessageKind::Warning);
    ui.Warn(SetupFailureText(ModelOf(link.Screen()), form, link.IsLinkConnected(),
                             link.GetErrorText()));
    return false;
}

} // namespace

PanelSetupValues LoadPanelSetup(const CScreen& screen)
{
    PanelSetupValues values;
    LoadCommon(screen, values);
    values.scanRow = ScanModeTable::RowOfBytes(ScanBytesOf(screen.Params()));
    return values;
}

void StorePanelSetup(CScreen& screen, PanelSetupValues& values)
{
    StoreCommon(screen, values);
    ControllerParams& params = screen.Params();
    ScanBytes scan = ScanBytesOf(params);
    ScanModeTable::ApplyRow(values.scanRow, scan);
    params.SetU8(P::ScanMode, scan.scanMode);
    params.SetU8(P::FoldMode, scan.foldMode);
    params.SetU8(P::PanelFlags, scan.panelFlags);
}

bool StoreAndWritePanelSetup(CScreen& screen, PanelSetupValues& values)
{
    StorePanelSetup(screen, values);
    return LinkOf(screen).WriteParams();
}

bool RunPanelSetup(CScreen& screen, PanelSetupValues& values, IOperationUi& ui)
{
    CControllerLink& link = LinkOf(screen);
    const bool answered = link.ReadParams();
    StorePanelSetup(screen, values);
    const bool ok = answered && link.WriteParams();
    link.CloseLink();
    if (!ok)
        return ReportSetupFailure(link, ui, SetupForm::PanelSetup);
    return ReportCommandResult(link, ui, true);
}

AdvancedSetupValues LoadAdvancedSetup(const CScreen& screen)
{
    AdvancedSetupValues values;
    LoadCommon(screen, values);
    const ControllerParams& params = screen.Params();
    values.rowOrder = std::clamp<int>(static_cast<std::int8_t>(params.U8(P::RowOrder)), -2, 2);
    const std::uint8_t flags = params.U8(P::PanelFlags);
    values.no138 = flags & 0x01;
    values.mirror8bit = flags & 0x02;
    values.mirrorUpDown = flags & 0x04;
    values.pixelOrder = std::clamp<int>(params.U8(P::PixelOrder), 0, 2);
    values.scanIndex = std::min(params.U8(P::ScanMode) >> 4, 4);
    values.warpNumIndex = std::min(params.U8(P::ScanMode) & 0x0F, 4);
    values.warpDown = params.U8(P::FoldMode) & 0x80;
    values.warp16 = (params.U8(P::FoldMode) & 0x7F) == 16;
    return values;
}

void StoreAdvancedSetup(CScreen& screen, AdvancedSetupValues& values)
{
    StoreCommon(screen, values);
    ControllerParams& params = screen.Params();
    params.SetU8(P::RowOrder, Byte(values.rowOrder));
    params.SetU8(P::PanelFlags, Byte((values.no138 ? 1 : 0) | (values.mirror8bit ? 2 : 0) |
                                     (values.mirrorUpDown ? 4 : 0)));
    params.SetU8(P::PixelOrder, Byte(values.pixelOrder));
    params.SetU8(P::ScanMode, Byte(values.scanIndex * 16 + values.warpNumIndex));
    const int length = values.warpNumIndex == 0 ? kNoFoldLength : values.warp16 ? 16 : 8;
    params.SetU8(P::FoldMode, Byte(length + (values.warpDown ? 128 : 0)));
}

bool RunAdvancedSetup(CScreen& screen, AdvancedSetupValues& values, IOperationUi& ui, int pauseMs)
{
    CControllerLink& link = LinkOf(screen);
    const bool answered = link.ReadParams();
    if (pauseMs > 0)
        QThread::msleep(static_cast<unsigned long>(pauseMs));
    StoreAdvancedSetup(screen, values);
    if (!answered) {
        link.CloseLink();
        return ReportSetupFailure(link, ui, SetupForm::AdvancedSetup);
    }
    const bool ok = link.WriteParams();
    link.CloseLink();
    return ReportCommandResult(link, ui, ok);
}

QString CommunicationSummary(const CScreen& screen)
{
    const LinkSettings& link = screen.Link();
    const int panelId = link.panelId;
    QString text;
    if (link.Kind() == LinkKind::Network) {
        text = QString::asprintf(LoadString(kNetworkSummary).toUtf8().constData(),
                                 link.remoteIp.toUtf8().constData(), int(link.remotePort), panelId);
    } else {
        text = QString::asprintf(LoadString(kSerialSummary).toUtf8().constData(), link.comPort,
                                 link.baudRate, panelId);
    }
    return text.replace(QStringLiteral("\n\n"), QStringLiteral("\n"));
}
