#include "base/string_table.h"

#include <QLocale>

#include <algorithm>
#include <array>
#include <atomic>
#include <iterator>
#include <mutex>
#include <vector>

namespace {

struct StringEntry
{
    int id;
    const char* english;
    const char* simplifiedChinese;
    const char* traditionalChinese;
};

// Sorted by number.
constexpr StringEntry kStrings[] = {
#include "base/string_table_data.inc"
};

std::atomic<Language> g_language{Language::English};
thread_local const Language* t_language = nullptr;

const StringEntry* FindEntry(int id)
{
    const auto* end = std::end(kStrings);
    const auto* it = std::lower_bound(std::begin(kStrings), end, id,
                                      [](const StringEntry& e, int key) { return e.id < key; });
    return it != end && it->id == id ? it : nullptr;
}

Language SystemLanguage()
{
    const QLocale locale = QLocale::system();
    if (locale.language() != QLocale::Chinese)
        return Language::English;
    if (locale.script() == QLocale::TraditionalChineseScript ||
        locale.territory() == QLocale::Taiwan || locale.territory() == QLocale::HongKong ||
        locale.territory() == QLocale::Macao)
        return Language::TraditionalChinese;
    return Language::SimplifiedChinese;
}

QString ConvertEntry(const StringEntry& entry, Language language)
{
    const char* text = entry.english;
    if (language == Language::SimplifiedChinese && entry.simplifiedChinese &&
        *entry.simplifiedChinese)
        text = entry.simplifiedChinese;
    else if (language == Language::TraditionalChinese && entry.traditionalChinese &&
             *entry.traditionalChinese)
        text = entry.traditionalChinese;
    return QString::fromUtf8(text);
}

} // namespace

Language LanguageFromSetting(int lang)
{
    switch (lang) {
    case 1:
        return Language::SimplifiedChinese;
    case 2:
        return Language::TraditionalChinese;
    case 3:
    case 4:
    case 5:
        return Language::English;
    default:
        return SystemLanguage();
    }
}

void SetLanguage(Language language)
{
    g_language = language;
}

Language CurrentLanguage()
{
    return t_language ? *t_language : g_language.load();
}

CThreadLanguage::CThreadLanguage(Language language) : m_language(language), m_previous(t_language)
{
    t_language = &m_language;
}

CThreadLanguage::~CThreadLanguage()
{
    t_language = m_previous;
}

QString LoadString(int id, Language language)
{
    const StringEntry* entry = FindEntry(id);
    if (!entry)
        return {};
    // Texts are converted once per language and then shared.
    static std::mutex mutex;
    static std::array<std::vector<QString>, 3> converted;
    std::lock_guard lock(mutex);
    std::vector<QString>& cache = converted[static_cast<size_t>(language)];
    if (cache.empty())
        cache.resize(std::size(kStrings));
    QString& text = cache[static_cast<size_t>(entry - std::begin(kStrings))];
    if (text.isNull())
        text = ConvertEntry(*entry, language);
    return text;
}

QString LoadString(int id)
{
    return LoadString(id, CurrentLanguage());
}

QStringList SplitStringList(const QString& text, QChar separator)
{
    QStringList items = text.split(separator);
    if (!items.isEmpty() && items.last().isEmpty())
        items.removeLast();
    return items;
}

QStringList LoadStringList(int id, QChar separator)
{
    return SplitStringList(LoadString(id), separator);
}
