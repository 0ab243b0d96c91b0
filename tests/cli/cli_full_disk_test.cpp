// Commands that save on a full disk fail with the path and the system's reason and leave
// what was saved before whole.
#include "support/small_disk.h"
#include "support/test_support.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using CliFullDisk = SmallDiskTest;

TEST_F(CliFullDisk, NewAndExportFailAndKeepTheOldFiles)
{
    const QString project = PathOnDisk(QStringLiteral("show.ledprj"));
    ASSERT_EQ(RunCli({QStringLiteral("new"), project}).exitCode, 0);
    const QStringList exportWords{QStringLiteral("export"), project, QStringLiteral("--drive"),
                                  Disk(), QStringLiteral("--params")};
    const CliRun exported = RunCli(exportWords);
    ASSERT_EQ(exported.exitCode, 0) << exported.err.toStdString();
    const QString file = PathOnDisk(QStringLiteral("LUMIVANT/LED.RZU"));
    const QString readme = PathOnDisk(QStringLiteral("LUMIVANT/Readme.txt"));
    const QByteArray savedProject = ReadFileBytes(project);
    const QByteArray savedExport = ReadFileBytes(file);
    const QByteArray savedReadme = ReadFileBytes(readme);
    ASSERT_FALSE(savedExport.isEmpty());
    ASSERT_FALSE(savedReadme.isEmpty());

    FillLeaving(0);
    const CliRun replaced =
        RunCli({QStringLiteral("new"), project, QStringLiteral("--force"), QStringLiteral("--width"),
                QStringLiteral("64")});
    EXPECT_EQ(replaced.exitCode, 1);
    EXPECT_TRUE(replaced.err.contains(
        (QStringLiteral("Error on save project! ") + project + ": No space left on device")
            .toUtf8()))
        << replaced.err.toStdString();
    EXPECT_EQ(ReadFileBytes(project), savedProject);

    const CliRun again = RunCli(exportWords);
    EXPECT_EQ(again.exitCode, 1);
    EXPECT_FALSE(again.out.contains("Save project succeed."));
    EXPECT_TRUE(again.err.contains(
        (QStringLiteral("Failed on write file. ") + file + ": No space left on device").toUtf8()))
        << again.err.toStdString();
    EXPECT_EQ(ReadFileBytes(file), savedExport);
    EXPECT_EQ(ReadFileBytes(readme), savedReadme);
    EXPECT_EQ(Entries(), (QStringList{QStringLiteral("LUMIVANT"), QStringLiteral("show.ledprj")}));
    EXPECT_EQ(QDir(PathOnDisk(QStringLiteral("LUMIVANT"))).entryList(QDir::Files | QDir::Hidden),
              (QStringList{QStringLiteral("LED.RZU"), QStringLiteral("Readme.txt")}));
}

TEST_F(CliFullDisk, RenderStopsAtTheFirstPictureThatDoesNotFit)
{
    QTemporaryDir elsewhere;
    const QString project = elsewhere.filePath(QStringLiteral("show.ledprj"));
    ASSERT_EQ(RunCli({QStringLiteral("new"), project}).exitCode, 0);
    const QString out = PathOnDisk(QStringLiteral("pictures"));
    ASSERT_TRUE(QDir().mkpath(out));
    FillLeaving(0);
    const CliRun rendered =
        RunCli({QStringLiteral("render"), project, QStringLiteral("--out"), out});
    EXPECT_EQ(rendered.exitCode, 1);
    EXPECT_TRUE(rendered.err.contains(": No space left on device")) << rendered.err.toStdString();
    EXPECT_TRUE(QDir(out).entryList(QDir::Files | QDir::Hidden).isEmpty());
}
