// lumivant: the desktop program.
#include "app/lumivant_doc.h"
#include "base/app_paths.h"
#include "base/app_settings.h"
#include "base/string_table.h"
#include "editors/preview_view.h"
#include "render/renderer.h"

#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    Settings() = AppSettings::Load(SettingsFilePath());
    SetLanguage(LanguageFromSetting(Settings().lang));
    InstallRenderer();

    CLumivantDoc doc;
    QMainWindow window;
    auto* preview = new CPreView(doc, &window);
    window.setCentralWidget(preview);
    window.resize(800, 576);
    window.show();
    return app.exec();
}
