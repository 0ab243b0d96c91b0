#include "server/web_texts.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QList>
#include <QString>

#include <utility>

namespace {

// The page's own texts, and the system's texts it shows.
constexpr int kFirstPageText = 61900;
constexpr int kLastPageText = 61949;
constexpr int kSystemTexts[] = {41048, 41052};

QJsonObject TextsOf(Language language)
{
    QJsonObject texts;
    for (int id = kFirstPageText; id <= kLastPageText; ++id) {
        const QString text = LoadString(id, language);
        if (!text.isEmpty())
            texts.insert(QString::number(id), text);
    }
    for (int id : kSystemTexts)
        texts.insert(QString::number(id), LoadString(id, language));
    return texts;
}

} // namespace

QByteArray WebTextsScript()
{
    static const QByteArray script = [] {
        const QJsonObject all{{QStringLiteral("en"), TextsOf(Language::English)},
                              {QStringLiteral("zh-CN"), TextsOf(Language::SimplifiedChinese)},
                              {QStringLiteral("zh-TW"), TextsOf(Language::TraditionalChinese)}};
        return QByteArrayLiteral("window.LUMIVANT_TEXTS = ") +
               QJsonDocument(all).toJson(QJsonDocument::Compact) + ";\n";
    }();
    return script;
}

Language LanguageOfRequest(const std::string& acceptLanguage)
{
    // The first listed language the table has counts; weights rarely reorder what browsers
    // send.
    const QString header = QString::fromStdString(acceptLanguage);
    for (QString range : header.split(u',', Qt::SkipEmptyParts)) {
        range = range.section(u';', 0, 0).trimmed().toLower();
        if (range.isEmpty() || range == QLatin1String("*"))
            continue;
        if (range == QLatin1String("zh-tw") || range == QLatin1String("zh-hk") ||
            range == QLatin1String("zh-mo") || range.startsWith(QLatin1String("zh-hant")))
            return Language::TraditionalChinese;
        if (range == QLatin1String("zh") || range.startsWith(QLatin1String("zh-")))
            return Language::SimplifiedChinese;
        if (range == QLatin1String("en") || range.startsWith(QLatin1String("en-")))
            return Language::English;
    }
    return CurrentLanguage();
}
