#pragma once

#include <QString>
#include <QStringList>

// Every user-visible text is a numbered entry of the string table, in three languages.
enum class Language { English, SimplifiedChinese, TraditionalChinese };

// Maps the "lang" setting (0 automatic, 1 Simplified Chinese, 2 Traditional Chinese,
// 3 English, 4 and 5 without tables of their own) to a table.
Language LanguageFromSetting(int lang);
void SetLanguage(Language language);
// The language of the calling thread: its own while a CThreadLanguage lives, else the
// process's.
Language CurrentLanguage();

// Gives the calling thread a language of its own for as long as it lives: a server answers
// each request in the language its client asked for.
class CThreadLanguage
{
public:
    explicit CThreadLanguage(Language language);
    ~CThreadLanguage();
    CThreadLanguage(const CThreadLanguage&) = delete;
    CThreadLanguage& operator=(const CThreadLanguage&) = delete;

private:
    Language m_language;
    const Language* m_previous;
};

// The entry in the current language (English where it has no translation); empty when
// the number is unknown.
QString LoadString(int id);
QString LoadString(int id, Language language);

// An option list: the entry split at the separator, without the empty item after a
// trailing separator.
QStringList LoadStringList(int id, QChar separator = u'|');
QStringList SplitStringList(const QString& text, QChar separator = u'|');
