#pragma once

#include "model/controller_params.h"

#include <QString>

#include <vector>

// Timetables written as text, as the command line takes them:
//   HH:MM-HH:MM=V[,HH:MM-HH:MM=V...]
// V is a brightness 0 to 15, or on/off (also 1/0) for the on/off timetable.
enum class ScheduleKind { Brightness, Power };

// The most rows of each timetable: 6 for brightness, 4 for on/off.
int ScheduleRowCount(ScheduleKind kind);

// Parses the text into entries in use (bit 15 of start clear). False with a reason when a
// row is malformed, a time is out of range, a value does not fit the kind, or there are
// more rows than the timetable has.
bool ParseScheduleText(const QString& text, ScheduleKind kind, std::vector<ScheduleEntry>& entries,
                       QString& error);

// "HH:MM-HH:MM=V" of one entry; V as on/off for the on/off timetable.
QString ScheduleEntryText(const ScheduleEntry& entry, ScheduleKind kind);
