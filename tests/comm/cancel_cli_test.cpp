// Ctrl+C and SIGTERM during long commands of lumivant-cli, and what the firmware and
// read-params commands tell about the controller's model; against lumivant-sim on loopback.
#include "comm_test_support.h"

#include "model/project_root.h"
#include "support/test_support.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>

namespace {

class CancelCliTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        project = dir.filePath(QStringLiteral("card.ledprj"));
        ASSERT_TRUE(CProjectRoot::NewProject()->SaveProject(project));
        state = dir.filePath(QStringLiteral("state"));
    }

    // A firmware package of the size for the model code and variant.
    QString Package(int bytes, const QString& model, const QString& variant)
    {
        QDir tools = QFileInfo(QStringLiteral(LUMIVANT_CLI_PATH)).dir();
        tools.cdUp();
        const QString image = dir.filePath(QStringLiteral("image.bin"));
        EXPECT_TRUE(WriteFileBytes(image, QByteArray(bytes, 'x')));
        const QString package =
            dir.filePath(QStringLiteral("card-%1-%2.rzbin").arg(model, variant));
        QProcess tool;
        tool.start(tools.filePath(QStringLiteral("fwpack/lumivant-fwpack")),
                   {image, QStringLiteral("--model"), model, QStringLiteral("--variant"), variant,
                    QStringLiteral("--password"), QStringLiteral("pw"), QStringLiteral("--out"),
                    package});
        EXPECT_TRUE(tool.waitForFinished(20000));
        EXPECT_EQ(tool.exitCode(), 0);
        return package;
    }

    QStringList Link(const SimProcess& sim) const
    {
        return {QStringLiteral("--udp"), QStringLiteral("127.0.0.1:%1").arg(sim.Port()),
                QStringLiteral("--timeout"), QStringLiteral("3000")};
    }

    QTemporaryDir dir;
    QString project;
    QString state;
};

} // namespace

TEST_F(CancelCliTest, TerminatingAFirmwareUpdateSwitchesTheModeBackOff)
{
    const QString package = Package(40000, QStringLiteral("0x91"), QStringLiteral("1"));
    SimProcess sim(
        {QStringLiteral("--state"), state, QStringLiteral("--delay"), QStringLiteral("20")});
    ASSERT_TRUE(sim.Started());
    QProcess cli;
    cli.start(QStringLiteral(LUMIVANT_CLI_PATH),
              QStringList{QStringLiteral("firmware"), project, package,
                          QStringLiteral("--password"), QStringLiteral("pw")} +
                  Link(sim));
    ASSERT_TRUE(cli.waitForStarted(5000));
    QByteArray err;
    QElapsedTimer timer;
    timer.start();
    while (!err.contains("Processing: 1") && timer.elapsed() < 15000) {
        cli.waitForReadyRead(50);
        err += cli.readAllStandardError();
    }
    ASSERT_TRUE(err.contains("Processing: 1")) << err.toStdString();
    timer.restart();
    ::kill(static_cast<pid_t>(cli.processId()), SIGTERM);
    ASSERT_TRUE(cli.waitForFinished(10000));
    err += cli.readAllStandardError();
    EXPECT_LT(timer.elapsed(), 3000);
    EXPECT_EQ(cli.exitCode(), 1);
    EXPECT_EQ(err.count("Canceled."), 1) << err.toStdString();
    EXPECT_TRUE(sim.WaitForOutput(QStringLiteral("firmware update switched off")))
        << sim.Output().toStdString();
    EXPECT_FALSE(QFileInfo::exists(state + QStringLiteral("/firmware.bin")));
}

TEST_F(CancelCliTest, FirmwareForAnotherModelAndTheIdentityOfReadParams)
{
    SimProcess sim({QStringLiteral("--state"), state});
    ASSERT_TRUE(sim.Started());
    const CliRun params = RunCli(QStringList{QStringLiteral("read-params"), project} + Link(sim));
    ASSERT_EQ(params.exitCode, 0) << params.err.toStdString();
    EXPECT_TRUE(params.out.contains("(lumivant-fwpack --model 0x91 --variant 0x01)"))
        << params.out.toStdString();

    const QString other = Package(600, QStringLiteral("0x91"), QStringLiteral("2"));
    const CliRun run = RunCli(QStringList{QStringLiteral("firmware"), project, other,
                                          QStringLiteral("--password"), QStringLiteral("pw")} +
                                  Link(sim),
                              30000);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err.count("Bad file."), 1) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains("Command failed:Bad file. The package is for model 0x91 variant "
                                 "0x02; the controller is model 0x91 variant 0x01."))
        << run.err.toStdString();

    // Without a password the command line is wrong, whatever the project.
    EXPECT_EQ(
        RunCli({QStringLiteral("firmware"), dir.filePath(QStringLiteral("none")), other}).exitCode,
        2);
}
