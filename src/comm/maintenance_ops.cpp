#include "comm/maintenance_ops.h"

#include "base/operation_ui.h"
#include "base/string_table.h"
#include "comm/controller_link.h"
#include "model/screen.h"

#include <algorithm>

namespace {

constexpr int kCommandFailed = 43027;
constexpr int kCommandSucceed = 43028;
constexpr int kResetQuestion = 41070;

using P = ControllerParams;

// Keeps the link open for the commands of one dialog and closes it afterwards; a failed
// open is only left in the error text (the commands then fail and report).
class OpenLinkScope
{
public:
    explicit OpenLinkScope(CControllerLink& link) : m_link(link) { m_link.OpenLink(); }
    ~OpenLinkScope() { m_link.CloseLink(); }

private:
    CControllerLink& m_link;
};

// A basic model has no timetables: its mode byte is kept manual and nothing is sent.
bool RefuseTimetable(CControllerLink& link, IOperationUi& ui, int modeOffset)
{
    const CModelInfo model = link.ModelInfo();
    if (!model.IsBasicModel())
        return false;
    link.Screen().Params().SetU8(modeOffset, 1);
    ui.Beep(MessageKind::Warning);
    ui.Warn(LoadString(kCommandFailed) +
            QStringLiteral("%1 has no timetable.").arg(model.GetName()));
    return true;
}

} // namespace

bool ReportCommandResult(CControllerLink& link, IOperationUi& ui, bool ok)
{
    if (ok) {
        ui.Beep(MessageKind::Information);
        ui.Inform(LoadString(kCommandSucceed));
    } else {
        ui.Beep(MessageKind::Warning);
        ui.Warn(LoadString(kCommandFailed) + link.GetErrorText());
    }
    return ok;
}

bool SyncPanelTime(CScreen& screen, IOperationUi& ui)
{
    CControllerLink& link = LinkOf(screen);
    return ReportCommandResult(link, ui, link.SyncTime());
}

bool ResetPanelParams(CScreen& screen, IOperationUi& ui)
{
    ui.Beep(MessageKind::Warning);
    if (ui.Ask(LoadString(kResetQuestion)) != Answer::Yes)
        return false;
    CControllerLink& link = LinkOf(screen);
    return ReportCommandResult(link, ui, link.ResetParams());
}

bool ClearPanel(CScreen& screen, IOperationUi& ui)
{
    CControllerLink& link = LinkOf(screen);
    return ReportCommandResult(link, ui, link.ClearPanel());
}

void FillTimetable(ControllerParams& params, bool power, const std::vector<ScheduleEntry>& entries)
{
    const int rows = power ? P::kPowerEntries : P::kBrightnessEntries;
    for (int row = 0; row < rows; ++row) {
        ScheduleEntry entry = power ? params.PowerEntry(row) : params.BrightnessEntry(row);
        if (row < int(entries.size())) {
            entry = entries[size_t(row)];
        } else {
            entry.start |= ScheduleEntry::kUnused;
        }
        if (power)
            params.SetPowerEntry(row, entry);
        else
            params.SetBrightnessEntry(row, entry);
    }
}

bool SetManualBrightness(CScreen& screen, IOperationUi& ui, int value)
{
    CControllerLink& link = LinkOf(screen);
    OpenLinkScope open(link);
    const bool read = link.ReadParams();
    screen.Params().SetU8(P::Brightness, static_cast<std::uint8_t>(std::clamp(value, 0, 15)));
    // A block the controller did not give us must not be written back over its own; the
    // chosen value stays in the project.
    if (!read)
        return ReportCommandResult(link, ui, false);
    return ReportCommandResult(link, ui, link.WriteParams());
}

bool SetBrightnessTimetable(CScreen& screen, IOperationUi& ui,
                            const std::vector<ScheduleEntry>& entries)
{
    CControllerLink& link = LinkOf(screen);
    OpenLinkScope open(link);
    const bool read = link.ReadParams();
    if (RefuseTimetable(link, ui, P::BrightnessMode))
        return false;
    FillTimetable(screen.Params(), false, entries);
    screen.Params().SetU8(P::BrightnessMode, 2);
    if (!read)
        return ReportCommandResult(link, ui, false);
    return ReportCommandResult(link, ui, link.WriteParams());
}

bool SetPanelPower(CScreen& screen, IOperationUi& ui, bool on)
{
    CControllerLink& link = LinkOf(screen);
    OpenLinkScope open(link);
    const bool read = link.ReadParams();
    screen.Params().SetU8(P::PowerMode, 1);
    screen.Params().SetU8(P::PowerState, on ? 1 : 0);
    if (!read)
        return ReportCommandResult(link, ui, false);
    return ReportCommandResult(link, ui, link.SendPowerGroup());
}

bool SetPowerTimetable(CScreen& screen, IOperationUi& ui, const std::vector<ScheduleEntry>& entries)
{
    CControllerLink& link = LinkOf(screen);
    OpenLinkScope open(link);
    const bool read = link.ReadParams();
    if (RefuseTimetable(link, ui, P::PowerMode))
        return false;
    FillTimetable(screen.Params(), true, entries);
    screen.Params().SetU8(P::PowerMode, 2);
    if (!read)
        return ReportCommandResult(link, ui, false);
    return ReportCommandResult(link, ui, link.WriteParams());
}
