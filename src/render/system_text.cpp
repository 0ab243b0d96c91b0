#include "render/system_text.h"

#include "base/string_table.h"

QString SystemText(int id, std::initializer_list<QString> values)
{
    const QString pattern = LoadString(id);
    QString text;
    auto next = values.begin();
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern[i];
        if (c != u'%' || i + 1 >= pattern.size()) {
            text += c;
            continue;
        }
        const QChar kind = pattern[i + 1];
        if (kind == u'%') {
            text += u'%';
            ++i;
        } else if ((kind == u's' || kind == u'd') && next != values.end()) {
            text += *next++;
            ++i;
        } else {
            text += c;
        }
    }
    return text;
}
