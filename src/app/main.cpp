// lumivant: the desktop program.
#include "app/app_language.h"
#include "app/main_frame.h"
#include "app/shell_commands.h"
#include "base/app_paths.h"
#include "base/app_settings.h"
#include "document/lumivant_doc.h"
#include "render/renderer.h"

#include <QApplication>
#include <QStringList>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Varnolite"));
    QApplication::setApplicationName(QStringLiteral("Lumivant"));
    Settings() = AppSettings::Load(SettingsFilePath());
    ApplyLanguage(Settings().lang);
    InstallRenderer();

    CLumivantDoc doc;
    CMainFrame frame(doc);
    InstallDesktopMessageSink(&frame, [&frame](const QString& text) { frame.SetStatusText(text); });
    const QStringList args = QApplication::arguments();
    frame.OpenStartupProject(args.size() > 1 ? args.at(1) : QString());
    frame.show();
    const int result = app.exec();
    Settings().SaveZoom(SettingsFilePath());
    Settings().SaveView(SettingsFilePath());
    return result;
}
