#include "comm/send_overlap.h"

#include "base/string_table.h"
#include "model/screen.h"

QString SendOverlapQuestion(const CScreen& screen)
{
    QString names;
    if (!screen.FindOverlap(names))
        return {};
    return LoadString(41068).replace(QStringLiteral("%s"), names);
}
