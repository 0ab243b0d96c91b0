#include "base/last_error.h"
#include "base/messages.h"
#include "base/string_table.h"
#include "support/test_support.h"

#include <QRegularExpression>

#include <thread>

#include <gtest/gtest.h>

TEST(StringTable, TextsInEachLanguage)
{
    EXPECT_EQ(LoadString(43016, Language::English), QStringLiteral("Error at checksum."));
    EXPECT_EQ(LoadString(59142, Language::English), QStringLiteral("Failed on load project."));
    EXPECT_FALSE(LoadString(41000, Language::SimplifiedChinese).isEmpty());
    EXPECT_NE(LoadString(41000, Language::SimplifiedChinese), LoadString(41000, Language::English));
    // Entries without a translation fall back to English.
    EXPECT_EQ(LoadString(41078, Language::TraditionalChinese),
              LoadString(41078, Language::English));
    EXPECT_TRUE(LoadString(1, Language::English).isEmpty());
}

TEST(StringTable, EveryEntryHasTheSamePlaceholdersInEveryLanguage)
{
    const QRegularExpression placeholder(QStringLiteral("%[-0-9.]*[sdxXuc%]"));
    auto placeholders = [&](const QString& text) {
        QStringList found;
        for (auto it = placeholder.globalMatch(text); it.hasNext();)
            found.append(it.next().captured());
        return found;
    };
    for (int id = 40000; id < 60000; ++id) {
        const QString english = LoadString(id, Language::English);
        if (english.isEmpty())
            continue;
        EXPECT_EQ(placeholders(LoadString(id, Language::SimplifiedChinese)), placeholders(english))
            << id;
        EXPECT_EQ(placeholders(LoadString(id, Language::TraditionalChinese)), placeholders(english))
            << id;
    }
}

TEST(StringTable, OptionListsSplitAtTheBarWithoutATrailingEmptyItem)
{
    EXPECT_EQ(
        SplitStringList(QStringLiteral("Tiny|Little|Small|")),
        (QStringList{QStringLiteral("Tiny"), QStringLiteral("Little"), QStringLiteral("Small")}));
    EXPECT_EQ(SplitStringList(QStringLiteral("a||b")).size(), 3);
    EXPECT_EQ(LoadStringList(41099).size(), 5);
    SetLanguage(Language::English);
    const QStringList effects = LoadStringList(41003);
    ASSERT_EQ(effects.size(), 46);
    EXPECT_EQ(effects[3], QStringLiteral("Continuous move left"));
    EXPECT_EQ(effects[45], QStringLiteral("Tipsy show"));
}

TEST(StringTable, LanguageSetting)
{
    EXPECT_EQ(LanguageFromSetting(1), Language::SimplifiedChinese);
    EXPECT_EQ(LanguageFromSetting(2), Language::TraditionalChinese);
    EXPECT_EQ(LanguageFromSetting(3), Language::English);
    EXPECT_EQ(LanguageFromSetting(5), Language::English);
}

TEST(LastErrorText, OverlongTextsAreReplaced)
{
    RecordError(QStringLiteral("Timeout."));
    EXPECT_EQ(LastError(), QStringLiteral("Timeout."));
    RecordError(QString(255, u'x'));
    EXPECT_EQ(LastError().size(), 255);
    RecordError(QString(256, u'x'));
    EXPECT_EQ(LastError(), QStringLiteral("Error message is too long !"));
}

TEST(Messages, GoToTheInstalledSink)
{
    RecordingMessageSink sink;
    ShowInfo(QStringLiteral("Command succeed."));
    ShowWarning(QString());
    EXPECT_EQ(sink.texts, (QStringList{QStringLiteral("Command succeed."),
                                       QStringLiteral("Runtime error : #001")}));
}

TEST(StringTable, AThreadMayHaveALanguageOfItsOwn)
{
    SetLanguage(Language::English);
    QString inThread;
    std::thread worker([&] {
        const CThreadLanguage own(Language::TraditionalChinese);
        inThread = LoadString(41048);
    });
    worker.join();
    EXPECT_EQ(inThread, LoadString(41048, Language::TraditionalChinese));
    EXPECT_EQ(LoadString(41048), QStringLiteral("Succeed!"));
    {
        const CThreadLanguage own(Language::SimplifiedChinese);
        EXPECT_EQ(CurrentLanguage(), Language::SimplifiedChinese);
    }
    EXPECT_EQ(CurrentLanguage(), Language::English);
}

TEST(StringTable, TheServersTextsHaveTheSameNumberedPlaceholdersInEveryLanguage)
{
    const QRegularExpression placeholder(QStringLiteral("%\\d"));
    auto placeholders = [&](const QString& text) {
        QStringList found;
        for (auto it = placeholder.globalMatch(text); it.hasNext();)
            found.append(it.next().captured());
        found.sort();
        found.removeDuplicates();
        return found;
    };
    int texts = 0;
    for (int id = 61800; id <= 61999; ++id) {
        const QString english = LoadString(id, Language::English);
        if (english.isEmpty())
            continue;
        ++texts;
        for (Language language : {Language::SimplifiedChinese, Language::TraditionalChinese}) {
            const QString translated = LoadString(id, language);
            EXPECT_FALSE(translated.isEmpty()) << id;
            EXPECT_EQ(placeholders(translated), placeholders(english)) << id;
        }
    }
    EXPECT_GT(texts, 50);
}
