#include "base/app_paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

QString g_override;
QString g_stateOverride;

QString ProgramPath()
{
    if (QCoreApplication::instance())
        return QCoreApplication::applicationFilePath();
    return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
}

} // namespace

QString ProgramFolder()
{
    return QFileInfo(ProgramPath()).absolutePath();
}

bool IsInstalledProgram()
{
    // An installed program has its shared files beside its bin folder; its folder is the
    // system's, even for root, who could write into it.
    return QFileInfo::exists(ProgramFolder() + QStringLiteral("/../share/lumivant"));
}

QString DataFolder()
{
    if (!g_override.isEmpty())
        return g_override;
    const QFileInfo program(ProgramFolder());
    if (!IsInstalledProgram() && program.isDir() && program.isWritable())
        return program.absoluteFilePath();
    QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    if (folder.isEmpty())
        folder = QDir::homePath() + QStringLiteral("/.config");
    folder += QStringLiteral("/lumivant");
    QDir().mkpath(folder);
    return folder;
}

QString SettingsFilePath()
{
    // The program's own file name with ".ini" appended.
    return DataFolder() + u'/' + QFileInfo(ProgramPath()).fileName() + QStringLiteral(".ini");
}

QString DefaultProjectPath()
{
    return DataFolder() + QStringLiteral("/default.ledprj");
}

QString TempProjectPath()
{
    return DataFolder() + QStringLiteral("/temp.ledprj");
}

void SetDataFolderOverride(const QString& folder)
{
    g_override = folder;
}

QString StateFolder()
{
    QString folder = g_stateOverride;
    if (folder.isEmpty()) {
        folder = qEnvironmentVariable("XDG_STATE_HOME");
        if (folder.isEmpty() || QDir::isRelativePath(folder))
            folder = QDir::homePath() + QStringLiteral("/.local/state");
        folder += QStringLiteral("/lumivant");
    }
    QDir().mkpath(folder);
    return folder;
}

void SetStateFolderOverride(const QString& folder)
{
    g_stateOverride = folder;
}
