// Saves that keep what they replace, so that any earlier content can be had back.
#include "base/app_paths.h"
#include "base/earlier_versions.h"
#include "support/test_support.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class EarlierVersionsTest : public testing::Test
{
protected:
    void SetUp() override { SetStateFolderOverride(m_state.path()); }
    void TearDown() override { SetStateFolderOverride({}); }

    QString FilePath(const QString& name) const { return m_files.filePath(name); }

    QTemporaryDir m_state;
    QTemporaryDir m_files;
};

QByteArray Content(int n)
{
    return QStringLiteral("<project>%1</project>\n").arg(n).toUtf8();
}

QList<QByteArray> KeptContents(const QString& path)
{
    QList<QByteArray> contents;
    for (const EarlierVersion& version : CEarlierVersions(path).List())
        contents.append(ReadFileBytes(version.path));
    return contents;
}

} // namespace

TEST_F(EarlierVersionsTest, EverySaveKeepsWhatItReplacedNewestFirst)
{
    const QString path = FilePath(QStringLiteral("shop.ledprj"));
    for (int n = 1; n <= 3; ++n)
        ASSERT_TRUE(ReplaceFileKeepingVersion(path, Content(n)));

    EXPECT_EQ(ReadFileBytes(path), Content(3));
    EXPECT_EQ(KeptContents(path), (QList<QByteArray>{Content(2), Content(1)}));
    const QList<EarlierVersion> versions = CEarlierVersions(path).List();
    EXPECT_EQ(versions[0].size, Content(2).size());
    EXPECT_TRUE(versions[0].writtenAt.isValid());
    EXPECT_GE(versions[0].writtenAt, versions[1].writtenAt);
}

TEST_F(EarlierVersionsTest, NothingIsKeptWithoutAChange)
{
    const QString path = FilePath(QStringLiteral("shop.ledprj"));
    ASSERT_TRUE(ReplaceFileKeepingVersion(path, Content(1)));
    EXPECT_TRUE(CEarlierVersions(path).List().isEmpty()) << "a new file replaces nothing";

    ASSERT_TRUE(ReplaceFileKeepingVersion(path, Content(1)));
    EXPECT_TRUE(CEarlierVersions(path).List().isEmpty()) << "the same content replaces nothing";

    // A second keep of the same content (a save that failed after keeping, then another
    // try) does not fill the list with copies of one version.
    ASSERT_TRUE(ReplaceFileKeepingVersion(path, Content(2)));
    ASSERT_TRUE(CEarlierVersions(path).KeepCurrent(Content(3)));
    ASSERT_TRUE(CEarlierVersions(path).KeepCurrent(Content(3)));
    EXPECT_EQ(KeptContents(path), (QList<QByteArray>{Content(2), Content(1)}));
}

TEST_F(EarlierVersionsTest, OnlyTheNewestTenAreKept)
{
    const QString path = FilePath(QStringLiteral("shop.ledprj"));
    for (int n = 0; n <= 13; ++n)
        ASSERT_TRUE(ReplaceFileKeepingVersion(path, Content(n)));

    const QList<QByteArray> kept = KeptContents(path);
    ASSERT_EQ(kept.size(), CEarlierVersions::kKept);
    EXPECT_EQ(kept.front(), Content(12));
    EXPECT_EQ(kept.back(), Content(3));
}

TEST_F(EarlierVersionsTest, FilesOfTheSameNameInOtherFoldersStayApart)
{
    ASSERT_TRUE(QDir(m_files.path()).mkdir(QStringLiteral("other")));
    const QString first = FilePath(QStringLiteral("shop.ledprj"));
    const QString second = FilePath(QStringLiteral("other/shop.ledprj"));
    ASSERT_TRUE(ReplaceFileKeepingVersion(first, Content(1)));
    ASSERT_TRUE(ReplaceFileKeepingVersion(first, Content(2)));
    ASSERT_TRUE(ReplaceFileKeepingVersion(second, Content(7)));
    ASSERT_TRUE(ReplaceFileKeepingVersion(second, Content(8)));

    EXPECT_EQ(KeptContents(first), QList<QByteArray>{Content(1)});
    EXPECT_EQ(KeptContents(second), QList<QByteArray>{Content(7)});
}

TEST_F(EarlierVersionsTest, AStateFolderThatCannotBeWrittenDoesNotStopTheSave)
{
    const QString path = FilePath(QStringLiteral("shop.ledprj"));
    ASSERT_TRUE(ReplaceFileKeepingVersion(path, Content(1)));
    // A plain file where the versions folder should be.
    ASSERT_TRUE(WriteFileBytes(m_state.filePath(QStringLiteral("versions")), "in the way"));

    QString reason;
    QString keepWarning;
    EXPECT_TRUE(ReplaceFileKeepingVersion(path, Content(2), &reason, &keepWarning)) << reason.toStdString();
    EXPECT_EQ(ReadFileBytes(path), Content(2));
    EXPECT_FALSE(keepWarning.isEmpty());
}
