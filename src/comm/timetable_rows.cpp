#include "comm/timetable_rows.h"

#include "comm/maintenance_ops.h"
#include "config/model_info.h"
#include "model/screen.h"

#include <algorithm>

namespace {

using P = ControllerParams;

constexpr int kLastMinute = 24 * 60 - 1;

std::uint16_t MinutesOf(int hour, int minute)
{
    return static_cast<std::uint16_t>(std::clamp(hour * 60 + minute, 0, kLastMinute));
}

std::vector<ScheduleEntry> EncodeRows(const std::vector<TimetableRow>& rows)
{
    std::vector<ScheduleEntry> entries;
    for (const TimetableRow& row : rows)
        entries.push_back(EncodeTimetableRow(row));
    return entries;
}

} // namespace

ScheduleEntry EncodeTimetableRow(const TimetableRow& row)
{
    ScheduleEntry entry;
    entry.start = MinutesOf(row.startHour, row.startMinute);
    if (!row.selected)
        entry.start |= ScheduleEntry::kUnused;
    entry.end = MinutesOf(row.endHour, row.endMinute);
    entry.value = static_cast<std::uint8_t>(row.value);
    return entry;
}

TimetableRow DecodeTimetableRow(const ScheduleEntry& entry)
{
    const int start = std::min(entry.StartMinutes(), kLastMinute);
    const int end = std::min<int>(entry.end, kLastMinute);
    TimetableRow row;
    row.startHour = start / 60;
    row.startMinute = start % 60;
    row.endHour = end / 60;
    row.endMinute = end % 60;
    row.value = entry.value;
    row.selected = entry.InUse();
    return row;
}

std::vector<TimetableRow> BrightnessRows(const ControllerParams& params)
{
    std::vector<TimetableRow> rows;
    for (int i = 0; i < P::kBrightnessEntries; ++i)
        rows.push_back(DecodeTimetableRow(params.BrightnessEntry(i)));
    return rows;
}

std::vector<TimetableRow> PowerRows(const ControllerParams& params)
{
    std::vector<TimetableRow> rows;
    for (int i = 0; i < P::kPowerEntries; ++i)
        rows.push_back(DecodeTimetableRow(params.PowerEntry(i)));
    return rows;
}

bool HasTimetables(const CModelInfo& model)
{
    return !model.IsBasicModel();
}

bool KeepModesManualForBasicModel(CScreen& screen)
{
    CModelInfo model;
    model.AssignFromIdentity(screen.Identity());
    if (HasTimetables(model))
        return true;
    screen.Params().SetU8(P::BrightnessMode, 1);
    screen.Params().SetU8(P::PowerMode, 1);
    return false;
}

bool SendBrightnessRows(CScreen& screen, IOperationUi& ui, const std::vector<TimetableRow>& rows)
{
    return SetBrightnessTimetable(screen, ui, EncodeRows(rows));
}

bool SendPowerRows(CScreen& screen, IOperationUi& ui, const std::vector<TimetableRow>& rows)
{
    return SetPowerTimetable(screen, ui, EncodeRows(rows));
}
