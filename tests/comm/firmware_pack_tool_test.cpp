// lumivant-fwpack end to end: build a package, check it, and load it as the update does.
#include "comm/firmware_package.h"

#include "support/test_support.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

namespace {

// The tool is built beside lumivant-cli, in src/fwpack of the build folder.
QString ToolPath()
{
    QDir dir = QFileInfo(QStringLiteral(LUMIVANT_CLI_PATH)).dir();
    dir.cdUp();
    return dir.filePath(QStringLiteral("fwpack/lumivant-fwpack"));
}

CliRun RunTool(const QStringList& arguments)
{
    QProcess process;
    process.start(ToolPath(), arguments);
    CliRun run;
    if (!process.waitForFinished(20000)) {
        process.kill();
        process.waitForFinished(1000);
        return run;
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

class FirmwarePackToolTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QFileInfo::exists(ToolPath())) << ToolPath().toStdString();
        ASSERT_TRUE(m_dir.isValid());
        m_image = m_dir.filePath(QStringLiteral("image.bin"));
        QByteArray bytes(1001, '\0');
        for (int i = 0; i < bytes.size(); ++i)
            bytes[i] = char(255 - i % 251);
        ASSERT_TRUE(WriteFileBytes(m_image, bytes));
        m_package = m_dir.filePath(QStringLiteral("out.rzbin"));
    }

    CliRun Pack(const QStringList& extra = {})
    {
        return RunTool(QStringList{m_image, QStringLiteral("--model"), QStringLiteral("0x21"),
                                   QStringLiteral("--variant"), QStringLiteral("3"),
                                   QStringLiteral("--password"), QStringLiteral("s3cret"),
                                   QStringLiteral("--out"), m_package} +
                       extra);
    }

    QTemporaryDir m_dir;
    QString m_image;
    QString m_package;
};

TEST_F(FirmwarePackToolTest, BuiltPackageLoadsForItsControllerOnly)
{
    const CliRun run = Pack();
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(QFileInfo(m_package).size(), 1008);

    CFirmwarePackage package;
    int message = -1;
    ASSERT_TRUE(CFirmwarePackage::Load(m_package, QStringLiteral("s3cret"), {0x21, 3, 1, 0, 0},
                                       package, message));
    EXPECT_EQ(package.Length(), 1008u);
    EXPECT_EQ(package.Image()[100], std::uint8_t(255 - 100));
    EXPECT_FALSE(CFirmwarePackage::Load(m_package, QStringLiteral("s3cret"), {0x21, 4, 1, 0, 0},
                                        package, message));
    EXPECT_EQ(message, 41059);
}

TEST_F(FirmwarePackToolTest, CheckReportsValidityAndFit)
{
    ASSERT_EQ(Pack().exitCode, 0);
    const QString password = QStringLiteral("--password");
    CliRun run =
        RunTool({QStringLiteral("--check"), m_package, password, QStringLiteral("s3cret")});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.out.contains("valid")) << run.out.toStdString();
    EXPECT_TRUE(run.out.contains("model 33 variant 3")) << run.out.toStdString();

    run = RunTool({QStringLiteral("--check"), m_package, password, QStringLiteral("s3cret"),
                   QStringLiteral("--model"), QStringLiteral("33"), QStringLiteral("--variant"),
                   QStringLiteral("3")});
    EXPECT_EQ(run.exitCode, 0);
    run = RunTool({QStringLiteral("--check"), m_package, password, QStringLiteral("s3cret"),
                   QStringLiteral("--model"), QStringLiteral("34"), QStringLiteral("--variant"),
                   QStringLiteral("3")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("Bad file.")) << run.err.toStdString();
    run = RunTool({QStringLiteral("--check"), m_package, password, QStringLiteral("S3cret")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("Bad file."));
    run = RunTool({QStringLiteral("--check"), m_package});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("Must input a password."));
    run = RunTool({QStringLiteral("--check"), m_dir.filePath(QStringLiteral("none.rzbin")),
                   password, QStringLiteral("x")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("The file is not exists."));
}

TEST_F(FirmwarePackToolTest, UsageErrorsExitWithTwoAndWriteNothing)
{
    EXPECT_EQ(RunTool({}).exitCode, 2);
    const CliRun help = RunTool({QStringLiteral("--help")});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.contains("--check"));
    EXPECT_FALSE(help.out.contains("LMVT"));

    EXPECT_EQ(Pack({QStringLiteral("--bogus")}).exitCode, 2);
    EXPECT_EQ(RunTool({m_image, QStringLiteral("--model"), QStringLiteral("1"),
                       QStringLiteral("--password"), QStringLiteral("p"), QStringLiteral("--out"),
                       m_package})
                  .exitCode,
              2);
    EXPECT_EQ(
        RunTool({m_image, QStringLiteral("--model"), QStringLiteral("256"),
                 QStringLiteral("--variant"), QStringLiteral("0"), QStringLiteral("--password"),
                 QStringLiteral("p"), QStringLiteral("--out"), m_package})
            .exitCode,
        2);
    EXPECT_EQ(
        RunTool({m_image, QStringLiteral("--model"), QStringLiteral("1"),
                 QStringLiteral("--variant"), QStringLiteral("0"), QStringLiteral("--password"),
                 QString(40, u'p'), QStringLiteral("--out"), m_package})
            .exitCode,
        2);
    EXPECT_FALSE(QFileInfo::exists(m_package));

    // The image is never replaced by its own package.
    const QByteArray before = ReadFileBytes(m_image);
    EXPECT_EQ(
        RunTool({m_image, QStringLiteral("--model"), QStringLiteral("1"),
                 QStringLiteral("--variant"), QStringLiteral("0"), QStringLiteral("--password"),
                 QStringLiteral("p"), QStringLiteral("--out"), m_image})
            .exitCode,
        2);
    EXPECT_EQ(ReadFileBytes(m_image), before);
}

TEST_F(FirmwarePackToolTest, MissingOrEmptyImageFails)
{
    const QString empty = m_dir.filePath(QStringLiteral("empty.bin"));
    ASSERT_TRUE(WriteFileBytes(empty, QByteArray()));
    const QStringList rest{QStringLiteral("--model"),    QStringLiteral("1"),
                           QStringLiteral("--variant"),  QStringLiteral("0"),
                           QStringLiteral("--password"), QStringLiteral("p"),
                           QStringLiteral("--out"),      m_package};
    CliRun run = RunTool(QStringList{empty} + rest);
    EXPECT_EQ(run.exitCode, 1);
    run = RunTool(QStringList{m_dir.filePath(QStringLiteral("none.bin"))} + rest);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("The file is not exists."));
    EXPECT_FALSE(QFileInfo::exists(m_package));
}

} // namespace
