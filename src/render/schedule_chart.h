#pragma once

#include <QDate>
#include <QImage>

class CPlaySchedule;

// The week of a play schedule as a chart a person reads: one row per day from first on,
// the hours as columns, in each row one lane per program coloured where it plays, and a
// legend naming the colours.
QImage DrawWeekChart(const CPlaySchedule& schedule, const QDate& first);
