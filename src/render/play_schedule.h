#pragma once

#include "render/compiled_schedule.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <vector>

class CScreen;

// Which programs a controller plays when, from the schedules compiled into its screen
// data. At any moment a program is eligible when its weekday, date range and time range
// all allow the moment (a time range whose start lies after its end runs over midnight;
// both ends count). The eligible timing programs play, in order, each for its play time;
// while none is eligible the eligible in-order programs play instead. Programs the
// compiler leaves out (nothing to show) never play.
class CPlaySchedule
{
public:
    static constexpr int kSecondsPerDay = 86400;

    struct Program
    {
        QString name;
        CompiledSchedule schedule;
    };
    // A stretch of a day, [start, end) in seconds after midnight, with the programs that
    // play through it (indices into Programs(), in play order).
    struct Band
    {
        int start = 0;
        int end = 0;
        std::vector<int> programs;
    };

    CPlaySchedule() = default;
    explicit CPlaySchedule(std::vector<Program> programs) : m_programs(std::move(programs)) {}
    // The programs of a screen as they would be sent: the screen is rendered for the
    // controller to find the ones left out (named in Omitted()), then for the editor again.
    static CPlaySchedule FromScreen(CScreen& screen);

    const std::vector<Program>& Programs() const { return m_programs; }
    const QStringList& Omitted() const { return m_omitted; }

    bool IsEligible(int program, const QDate& date, int secondOfDay) const;
    std::vector<int> PlayingAt(const QDate& date, int secondOfDay) const;
    std::vector<int> PlayingAt(const QDateTime& moment) const;
    // The day as consecutive bands from 0 to 24 hours; neighbours differ in what plays.
    std::vector<Band> Day(const QDate& date) const;

    // Why programs never play (on any day, or any more after today), one text each.
    QStringList NeverPlaying(const QDate& today) const;
    // The programs that play at no moment of the days from first on.
    std::vector<int> SilentDuring(const QDate& first, int days) const;

    // A moment of the controller's clock written "YYYY-MM-DD HH:MM[:SS]"; false when the
    // text names none.
    static bool ParseMoment(const QString& text, QDateTime& moment);
    // "08:00", or "08:00:30" when the seconds are not 0; 86400 is "24:00".
    static QString TimeText(int secondOfDay);

private:
    std::vector<Program> m_programs;
    QStringList m_omitted;
};
