#include "render/system_text.h"

#include "base/string_table.h"

QString SystemText(int id, std::initializer_list<QString> values)
{
    QString text = LoadString(id);
    qsizetype from = 0;
    for (const QString& value : values) {
        const qsizetype s = text.indexOf(QStringLiteral("%s"), from);
        const qsizetype d = text.indexOf(QStringLiteral("%d"), from);
        qsizetype at = s < 0 ? d : (d < 0 ? s : std::min(s, d));
        if (at < 0)
            break;
        text.replace(at, 2, value);
        from = at + value.size();
    }
    return text;
}
