// Feeds arbitrary text to the timetable parser of the brightness and power commands.
#include "comm/schedule_text.h"

#include <QString>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data),
                                           static_cast<qsizetype>(size > 4096 ? 4096 : size));
    std::vector<ScheduleEntry> entries;
    QString error;
    for (ScheduleKind kind : {ScheduleKind::Brightness, ScheduleKind::Power}) {
        if (ParseScheduleText(text, kind, entries, error)) {
            if (entries.empty() || int(entries.size()) > ScheduleRowCount(kind))
                __builtin_trap();
            for (const ScheduleEntry& entry : entries) {
                if (!entry.InUse() || entry.StartMinutes() >= 1440 || entry.end >= 1440)
                    __builtin_trap();
                (void)ScheduleEntryText(entry, kind);
            }
        } else if (error.isEmpty()) {
            __builtin_trap();
        }
    }
    return 0;
}
