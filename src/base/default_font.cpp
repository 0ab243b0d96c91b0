#include "base/default_font.h"

namespace {
QString g_defaultFont = QStringLiteral("Arial");
}

QString DefaultFontName()
{
    return g_defaultFont;
}

void SetDefaultFontName(const QString& name)
{
    if (!name.isEmpty())
        g_defaultFont = name.left(31);
}
