// lumivant-cli compile, export and decode on a small saved project.
#include "compile_fixture.h"

#include "model/text_zone.h"
#include "support/test_support.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

class CompileCli : public CompileFixture
{
protected:
    void SetUp() override
    {
        CompileFixture::SetUp();
        if (!QFileInfo::exists(QStringLiteral(LUMIVANT_CLI_PATH)))
            GTEST_SKIP() << "lumivant-cli is not built";
        ASSERT_TRUE(dir.isValid());
        project = dir.filePath(QStringLiteral("screen.ledprj"));
    }
    void Save() { ASSERT_TRUE(root->SaveProject(project)); }
    QString Path(const QString& name) const { return dir.filePath(name); }

    QTemporaryDir dir;
    QString project;
};

TEST_F(CompileCli, CompileThenDecode)
{
    AddZone<CTextZone>(AddWindow({0, 0, 64, 32}));
    Save();
    const QString data = Path(QStringLiteral("screen.bin"));
    CliRun run = RunCli({QStringLiteral("compile"), project, QStringLiteral("--seed"),
                         QStringLiteral("7"), QStringLiteral("--out"), data});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains("1368 bytes, 1 program(s)"));
    const QByteArray first = ReadFileBytes(data);
    ASSERT_EQ(first.size(), 1368);
    run = RunCli({QStringLiteral("compile"), project, QStringLiteral("--seed"), QStringLiteral("7"),
                  QStringLiteral("--out"), data});
    EXPECT_EQ(ReadFileBytes(data), first);
    // The header's random bytes come from the seeded generator in every build of the program
    // (once, an unoptimised build drew them from the frames' generator instead).
    CSeededRandom seeded(7);
    QByteArray header;
    for (std::size_t i = 0; i < layout::kHeaderRandomBytes; ++i)
        header.append(char(seeded.Next() & 0xFF));
    EXPECT_EQ(first.left(qsizetype(layout::kHeaderRandomBytes)).toHex(), header.toHex());

    const QString png = Path(QStringLiteral("pages"));
    run = RunCli({QStringLiteral("decode"), data, QStringLiteral("--colors"), QStringLiteral("3"),
                  QStringLiteral("--polarity"), QStringLiteral("1"), QStringLiteral("--png"), png});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains("program 1 at 132"));
    EXPECT_TRUE(run.out.contains("window 1 at 576: 0,0 64x32"));
    EXPECT_TRUE(run.out.contains("zone 1 at 576: text, 1 page(s)"));
    EXPECT_TRUE(QFileInfo::exists(QDir(png).filePath(QStringLiteral("p1-w1-z1-page1.png"))));

    // The wrong colour count cannot be read.
    run = RunCli({QStringLiteral("decode"), data, QStringLiteral("--colors"), QStringLiteral("1")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_FALSE(run.err.isEmpty());
    // Truncated data is refused with a message.
    ASSERT_TRUE(WriteFileBytes(data, first.left(700)));
    run = RunCli({QStringLiteral("decode"), data, QStringLiteral("--colors"), QStringLiteral("3")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("truncated"));
}

TEST_F(CompileCli, EmptyProjectAndUsage)
{
    Save();
    CliRun run = RunCli({QStringLiteral("compile"), project, QStringLiteral("--out"),
                         Path(QStringLiteral("x.bin"))});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("Project is empty."));
    EXPECT_FALSE(QFileInfo::exists(Path(QStringLiteral("x.bin"))));
    run = RunCli({QStringLiteral("compile"), project});
    EXPECT_EQ(run.exitCode, 2);
    run = RunCli({QStringLiteral("decode"), project});
    EXPECT_EQ(run.exitCode, 2);
    run = RunCli({QStringLiteral("export"), project, QStringLiteral("--drive"),
                  Path(QStringLiteral("missing"))});
    EXPECT_EQ(run.exitCode, 2);
}

TEST_F(CompileCli, ExportToAFolderAndReadItBack)
{
    SetScreen(64, 32, 2, 0);
    AddZone<CTextZone>(AddWindow({0, 0, 64, 32}));
    Save();
    const QString drive = Path(QStringLiteral("drive"));
    ASSERT_TRUE(QDir().mkpath(drive));
    CliRun run = RunCli({QStringLiteral("export"), project, QStringLiteral("--drive"), drive,
                         QStringLiteral("--params"), QStringLiteral("--sync-clock"),
                         QStringLiteral("20"), QStringLiteral("--seed"), QStringLiteral("2")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains("Save project succeed."));
    const QString file = QDir(drive).filePath(QStringLiteral("LUMIVANT/LED.RZU"));
    EXPECT_EQ(QFileInfo(file).size(), 512 + 4096);
    EXPECT_TRUE(QFileInfo::exists(QDir(drive).filePath(QStringLiteral("LUMIVANT/Readme.txt"))));
    run = RunCli({QStringLiteral("decode"), file, QStringLiteral("--colors"), QStringLiteral("2")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains("set the clock to"));
    EXPECT_TRUE(run.out.contains("parameters included (64x32, colour type 2)"));
    EXPECT_TRUE(run.out.contains("zone 1 at 576: text"));
}
