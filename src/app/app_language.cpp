#include "app/app_language.h"

#include "base/string_table.h"

#include <QApplication>
#include <QEvent>
#include <QLibraryInfo>
#include <QTranslator>
#include <QWidget>

#include <memory>

namespace {

std::unique_ptr<QTranslator>& ProgramTranslator()
{
    static std::unique_ptr<QTranslator> translator;
    return translator;
}

std::unique_ptr<QTranslator>& QtTranslator()
{
    static std::unique_ptr<QTranslator> translator;
    return translator;
}

void Replace(std::unique_ptr<QTranslator>& slot, const QString& file, const QString& folder)
{
    if (slot) {
        QCoreApplication::removeTranslator(slot.get());
        slot.reset();
    }
    if (file.isEmpty())
        return;
    auto translator = std::make_unique<QTranslator>();
    if (translator->load(file, folder)) {
        QCoreApplication::installTranslator(translator.get());
        slot = std::move(translator);
    }
}

} // namespace

void ApplyLanguage(int lang)
{
    SetLanguage(LanguageFromSetting(lang));
    QString suffix;
    if (CurrentLanguage() == Language::SimplifiedChinese)
        suffix = QStringLiteral("zh_CN");
    else if (CurrentLanguage() == Language::TraditionalChinese)
        suffix = QStringLiteral("zh_TW");
    Replace(ProgramTranslator(),
            suffix.isEmpty() ? QString() : QStringLiteral("lumivant_") + suffix,
            QStringLiteral(":/i18n"));
    Replace(QtTranslator(), suffix.isEmpty() ? QString() : QStringLiteral("qtbase_") + suffix,
            QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    // The string table changed even when no catalogue did: relabel every window.
    if (qobject_cast<QApplication*>(QCoreApplication::instance())) {
        for (QWidget* widget : QApplication::allWidgets()) {
            QEvent change(QEvent::LanguageChange);
            QCoreApplication::sendEvent(widget, &change);
        }
    }
}
