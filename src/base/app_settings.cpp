#include "base/app_settings.h"

#include <QSettings>

namespace {

constexpr auto kSection = "App/";

int ReadInt(const QSettings& file, const char* key, int fallback)
{
    const QVariant value = file.value(QLatin1String(kSection) + QLatin1String(key));
    if (!value.isValid())
        return fallback;
    // A private-profile integer reads leading digits and gives 0 for anything else.
    const QString text = value.toString().trimmed();
    qsizetype end = 0;
    if (end < text.size() && (text[end] == u'-' || text[end] == u'+'))
        ++end;
    while (end < text.size() && text[end].isDigit())
        ++end;
    bool ok = false;
    const int number = text.left(end).toInt(&ok);
    return ok ? number : 0;
}

bool WriteKeys(const QString& path, std::initializer_list<std::pair<const char*, int>> keys)
{
    QSettings file(path, QSettings::IniFormat);
    for (const auto& [key, value] : keys)
        file.setValue(QLatin1String(kSection) + QLatin1String(key), value);
    file.sync();
    return file.status() == QSettings::NoError;
}

} // namespace

AppSettings AppSettings::Load(const QString& path)
{
    AppSettings settings;
    const QSettings file(path, QSettings::IniFormat);
    settings.delay = ReadInt(file, "delay", settings.delay);
    settings.exit = ReadInt(file, "exit", settings.exit);
    settings.lang = ReadInt(file, "lang", settings.lang);
    settings.tip = ReadInt(file, "tip", settings.tip);
    settings.mul = ReadInt(file, "mul", settings.mul);
    settings.div = ReadInt(file, "div", settings.div);
    settings.pkg = ReadInt(file, "pkg", settings.pkg);
    settings.designer = ReadInt(file, "designer", settings.designer);
    settings.dots = ReadInt(file, "dots", settings.dots);
    settings.warnings = ReadInt(file, "warnings", settings.warnings);
    settings.Clamp();
    return settings;
}

void AppSettings::Clamp()
{
    if (pkg != 64 && pkg != 128 && pkg != 256)
        pkg = 128;
    if (mul < 1 || mul > 8)
        mul = 1;
    if (div < 1 || div > 2)
        div = 1;
    // A switch is on for any value but 0.
    designer = designer != 0 ? 1 : 0;
    dots = dots != 0 ? 1 : 0;
    warnings = warnings != 0 ? 1 : 0;
}

bool AppSettings::SaveZoom(const QString& path) const
{
    return WriteKeys(path, {{"mul", mul}, {"div", div}});
}

bool AppSettings::SaveView(const QString& path) const
{
    return WriteKeys(path, {{"designer", designer}, {"dots", dots}, {"warnings", warnings}});
}

bool AppSettings::SaveOptions(const QString& path) const
{
    return WriteKeys(path, {{"delay", delay}, {"exit", exit}, {"tip", tip}});
}

bool AppSettings::SaveLanguage(const QString& path) const
{
    return WriteKeys(path, {{"lang", lang}});
}

AppSettings& Settings()
{
    static AppSettings settings;
    return settings;
}
