// Commands that talk to a card and then save the project (read-params --save) save only
// when no other program wrote the file meanwhile; against lumivant-sim on loopback.
#include "comm_test_support.h"

#include "model/project_root.h"
#include "model/screen.h"
#include "support/test_support.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

namespace {

class SaveAfterCardTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        project = dir.filePath(QStringLiteral("card.ledprj"));
        ASSERT_TRUE(CProjectRoot::NewProject()->SaveProject(project));
    }

    QTemporaryDir dir;
    QString project;
};

} // namespace

TEST_F(SaveAfterCardTest, AFileChangedWhileTheCardAnsweredIsNotOverwritten)
{
    // Every reply comes late: time enough for another program to save the project.
    SimProcess sim({QStringLiteral("--delay"), QStringLiteral("400")});
    ASSERT_TRUE(sim.Started()) << sim.Output().toStdString();
    QProcess reader;
    reader.start(QStringLiteral(LUMIVANT_CLI_PATH),
                 {QStringLiteral("read-params"), project, QStringLiteral("--save"),
                  QStringLiteral("--udp"), QStringLiteral("127.0.0.1:%1").arg(sim.Port()),
                  QStringLiteral("--timeout"), QStringLiteral("3000")});
    ASSERT_TRUE(reader.waitForStarted(5000));
    QThread::msleep(150);

    auto other = CProjectRoot::NewProject();
    other->GetChild(0)->SetName(QStringLiteral("Renamed elsewhere"));
    ASSERT_TRUE(other->SaveProject(project));
    const QByteArray saved = ReadFileBytes(project);

    ASSERT_TRUE(reader.waitForFinished(30000));
    const QString err = QString::fromUtf8(reader.readAllStandardError());
    EXPECT_EQ(reader.exitCode(), 1) << err.toStdString();
    EXPECT_TRUE(err.contains(QStringLiteral("was changed by another program")))
        << err.toStdString();
    EXPECT_EQ(ReadFileBytes(project), saved);
}

TEST_F(SaveAfterCardTest, AnUnchangedFileTakesWhatTheCardReported)
{
    SimProcess sim({QStringLiteral("--geometry"), QStringLiteral("96,24,1")});
    ASSERT_TRUE(sim.Started()) << sim.Output().toStdString();
    const CliRun run =
        RunCli({QStringLiteral("read-params"), project, QStringLiteral("--save"),
                QStringLiteral("--udp"), QStringLiteral("127.0.0.1:%1").arg(sim.Port())});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    CProjectRoot root;
    ASSERT_TRUE(root.LoadProject(project));
    EXPECT_EQ(static_cast<CScreen*>(root.GetChild(0))->Width(), 96);
}
