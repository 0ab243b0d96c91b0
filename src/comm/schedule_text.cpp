#include "comm/schedule_text.h"

#include <QRegularExpression>

namespace {

bool ParseValue(const QString& text, ScheduleKind kind, std::uint8_t& value)
{
    const QString word = text.trimmed().toLower();
    if (kind == ScheduleKind::Power) {
        if (word == QStringLiteral("on") || word == QStringLiteral("1"))
            value = 1;
        else if (word == QStringLiteral("off") || word == QStringLiteral("0"))
            value = 0;
        else
            return false;
        return true;
    }
    bool ok = false;
    const int number = word.toInt(&ok);
    if (!ok || number < 0 || number > 15)
        return false;
    value = static_cast<std::uint8_t>(number);
    return true;
}

QString Clock(int minutes)
{
    return QStringLiteral("%1:%2")
        .arg(minutes / 60, 2, 10, QLatin1Char('0'))
        .arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

} // namespace

int ScheduleRowCount(ScheduleKind kind)
{
    return kind == ScheduleKind::Brightness ? ControllerParams::kBrightnessEntries
                                            : ControllerParams::kPowerEntries;
}

bool ParseScheduleText(const QString& text, ScheduleKind kind, std::vector<ScheduleEntry>& entries,
                       QString& error)
{
    static const QRegularExpression kRow(
        QStringLiteral("^\\s*(\\d{1,2}):(\\d{2})\\s*-\\s*(\\d{1,2}):(\\d{2})\\s*=\\s*(\\S+)\\s*$"));
    entries.clear();
    const QStringList rows = text.split(u',', Qt::SkipEmptyParts);
    if (rows.isEmpty()) {
        error = QStringLiteral("the timetable is empty");
        return false;
    }
    if (rows.size() > ScheduleRowCount(kind)) {
        error = QStringLiteral("the timetable has at most %1 rows").arg(ScheduleRowCount(kind));
        return false;
    }
    for (const QString& row : rows) {
        const auto match = kRow.match(row);
        ScheduleEntry entry;
        const int h1 = match.captured(1).toInt();
        const int m1 = match.captured(2).toInt();
        const int h2 = match.captured(3).toInt();
        const int m2 = match.captured(4).toInt();
        if (!match.hasMatch() || h1 > 23 || h2 > 23 || m1 > 59 || m2 > 59 ||
            !ParseValue(match.captured(5), kind, entry.value)) {
            error = QStringLiteral("'%1' is not HH:MM-HH:MM=%2")
                        .arg(row.trimmed(), kind == ScheduleKind::Power ? QStringLiteral("on|off")
                                                                        : QStringLiteral("0..15"));
            return false;
        }
        entry.start = static_cast<std::uint16_t>(h1 * 60 + m1);
        entry.end = static_cast<std::uint16_t>(h2 * 60 + m2);
        entries.push_back(entry);
    }
    return true;
}

QString ScheduleEntryText(const ScheduleEntry& entry, ScheduleKind kind)
{
    const QString value = kind == ScheduleKind::Power
                              ? (entry.value ? QStringLiteral("on") : QStringLiteral("off"))
                              : QString::number(entry.value);
    return QStringLiteral("%1-%2=%3")
        .arg(Clock(entry.StartMinutes()), Clock(entry.end & 0x7FFF), value);
}
