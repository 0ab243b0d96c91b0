#pragma once

#include "model/controller_params.h"

#include <vector>

class CModelInfo;
class CScreen;
class IOperationUi;

// One row of a timetable page: start and end as hours and minutes, the value (brightness
// 0..15, or 0 off / 1 on) and whether the row is in use.
struct TimetableRow
{
    int startHour = 0;
    int startMinute = 0;
    int endHour = 0;
    int endMinute = 0;
    int value = 0;
    bool selected = false;
};

// start = minutes after midnight with bit 15 set for a row not in use; end likewise without
// the flag.
ScheduleEntry EncodeTimetableRow(const TimetableRow& row);
// Minutes beyond the day show as 23:59.
TimetableRow DecodeTimetableRow(const ScheduleEntry& entry);

std::vector<TimetableRow> BrightnessRows(const ControllerParams& params);
std::vector<TimetableRow> PowerRows(const ControllerParams& params);

// Basic models follow no timetable: their brightness and on/off modes are kept manual.
bool HasTimetables(const CModelInfo& model);
// For a basic model sets both mode bytes to manual (1); true when the model has timetables.
bool KeepModesManualForBasicModel(CScreen& screen);

// The OK of the timing pages: every row as shown (in use or not), mode 2, command 32, and
// the result report.
bool SendBrightnessRows(CScreen& screen, IOperationUi& ui, const std::vector<TimetableRow>& rows);
bool SendPowerRows(CScreen& screen, IOperationUi& ui, const std::vector<TimetableRow>& rows);
