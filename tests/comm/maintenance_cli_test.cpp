// lumivant-cli search, sync-time, reset, clear, brightness, power and firmware against
// lumivant-sim on loopback UDP.
#include "comm_test_support.h"
#include "maintenance_test_ui.h"

#include "model/controller_params.h"
#include "model/project_root.h"
#include "support/test_support.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using P = ControllerParams;

class MaintenanceCliTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        project = dir.filePath(QStringLiteral("card.ledprj"));
        ASSERT_TRUE(CProjectRoot::NewProject()->SaveProject(project));
        state = dir.filePath(QStringLiteral("state"));
    }

    void Start(QStringList extra = {})
    {
        extra << QStringLiteral("--state") << state;
        sim = std::make_unique<SimProcess>(extra);
        ASSERT_TRUE(sim->Started()) << sim->Output().toStdString();
    }

    QStringList Link() const
    {
        return {QStringLiteral("--udp"), QStringLiteral("127.0.0.1:%1").arg(sim->Port()),
                QStringLiteral("--timeout"), QStringLiteral("1000")};
    }

    CliRun Run(const QString& command, QStringList words)
    {
        return RunCli(QStringList{command, project} + words + Link(), 30000);
    }

    std::uint8_t SavedByte(int offset)
    {
        const QByteArray bytes = ReadFileBytes(state + QStringLiteral("/params.bin"));
        return bytes.size() == P::kSize ? std::uint8_t(bytes[offset]) : 0xEE;
    }

    QTemporaryDir dir;
    QString project;
    QString state;
    std::unique_ptr<SimProcess> sim;
};

} // namespace

TEST_F(MaintenanceCliTest, CommandsReachTheController)
{
    Start();
    CliRun run = Run(QStringLiteral("sync-time"), {});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out.trimmed(), QByteArray("Command succeed."));
    EXPECT_TRUE(sim->WaitForOutput(QStringLiteral("command 37")));

    run = Run(QStringLiteral("clear"), {});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(sim->WaitForOutput(QStringLiteral("command 39")));

    run = Run(QStringLiteral("brightness"), {QStringLiteral("9")});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(SavedByte(P::Brightness), 9);

    run = Run(QStringLiteral("brightness"),
              {QStringLiteral("--schedule"), QStringLiteral("06:30-18:00=12")});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(SavedByte(P::BrightnessMode), 2);
    EXPECT_EQ(SavedByte(P::BrightnessSchedule), 390 & 0xFF);
    EXPECT_EQ(SavedByte(P::BrightnessSchedule + 4), 12);

    run = Run(QStringLiteral("power"), {QStringLiteral("off")});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(sim->WaitForOutput(QStringLiteral("power off")));
    EXPECT_EQ(SavedByte(P::PowerMode), 1);

    run = Run(QStringLiteral("power"),
              {QStringLiteral("--schedule"), QStringLiteral("07:00-22:00=on,22:00-23:00=off")});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(SavedByte(P::PowerMode), 2);
    EXPECT_EQ(SavedByte(P::PowerSchedule + 9), 0); // second row: off

    run = Run(QStringLiteral("reset"), {QStringLiteral("--no")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_FALSE(sim->Output().contains(QStringLiteral("command 35")));
    run = Run(QStringLiteral("reset"), {QStringLiteral("--yes")});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(sim->WaitForOutput(QStringLiteral("command 35")));
}

TEST_F(MaintenanceCliTest, FailuresAndUsage)
{
    SilentPeer peer;
    CliRun run = RunCli({QStringLiteral("clear"), project, QStringLiteral("--udp"),
                         QStringLiteral("127.0.0.1:%1").arg(peer.Port()),
                         QStringLiteral("--timeout"), QStringLiteral("200")},
                        30000);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("Command failed:Timeout.")) << run.err.toStdString();

    for (const QStringList& words :
         {QStringList{QStringLiteral("brightness"), project, QStringLiteral("16")},
          QStringList{QStringLiteral("brightness"), project, QStringLiteral("--schedule"),
                      QStringLiteral("25:00-01:00=3")},
          QStringList{QStringLiteral("power"), project, QStringLiteral("maybe")},
          QStringList{QStringLiteral("power"), project},
          QStringList{QStringLiteral("reset"), project, QStringLiteral("--yes"),
                      QStringLiteral("--no")}})
        EXPECT_EQ(RunCli(words, 30000).exitCode, 2) << words.join(u' ').toStdString();
}

TEST_F(MaintenanceCliTest, FirmwareThroughTheTool)
{
    Start();
    QDir tools = QFileInfo(QStringLiteral(LUMIVANT_CLI_PATH)).dir();
    tools.cdUp();
    const QString imagePath = dir.filePath(QStringLiteral("image.bin"));
    ASSERT_TRUE(WriteFileBytes(imagePath, QByteArray(600, 'x')));
    const QString package = dir.filePath(QStringLiteral("card.rzbin"));
    QProcess tool;
    tool.start(tools.filePath(QStringLiteral("fwpack/lumivant-fwpack")),
               {imagePath, QStringLiteral("--model"), QStringLiteral("0x91"),
                QStringLiteral("--variant"), QStringLiteral("1"), QStringLiteral("--password"),
                QStringLiteral("pw"), QStringLiteral("--out"), package});
    ASSERT_TRUE(tool.waitForFinished(20000));
    ASSERT_EQ(tool.exitCode(), 0);

    CliRun run = Run(QStringLiteral("firmware"),
                     {package, QStringLiteral("--password"), QStringLiteral("wrong")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("Command failed:Bad file.")) << run.err.toStdString();

    run = Run(QStringLiteral("firmware"),
              {package, QStringLiteral("--password"), QStringLiteral("pw")});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains("Command succeed."));
    EXPECT_EQ(ReadFileBytes(state + QStringLiteral("/firmware.bin")).size(), 600);
}

// The search reads its addresses from the settings file beside the program, so it runs a
// copy of the tool in a folder of its own whose settings point at loopback only.
QString ToolWithSettings(const QTemporaryDir& dir, const QByteArray& settings)
{
    const QString tool = dir.filePath(QStringLiteral("lumivant-cli"));
    if (!QFileInfo::exists(tool) && !QFile::copy(QStringLiteral(LUMIVANT_CLI_PATH), tool))
        return {};
    QFile ini(tool + QStringLiteral(".ini"));
    if (!ini.open(QIODevice::WriteOnly) || ini.write(settings) != settings.size())
        return {};
    return tool;
}

TEST_F(MaintenanceCliTest, SearchLearnsTheAddressAndSaves)
{
    Start({QStringLiteral("--reply-from"), QStringLiteral("127.0.0.2")});
    const QString tool =
        ToolWithSettings(dir, "[Search]\nfactory=127.0.0.3\nbroadcast=127.0.0.1\nports=\n");
    ASSERT_FALSE(tool.isEmpty());

    QProcess process;
    process.start(tool,
                  {QStringLiteral("search"), project, QStringLiteral("--udp"),
                   QStringLiteral("127.0.0.3:%1").arg(sim->Port()), QStringLiteral("--timeout"),
                   QStringLiteral("2000"), QStringLiteral("--save")});
    ASSERT_TRUE(process.waitForFinished(30000));
    const QByteArray out = process.readAllStandardOutput();
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    EXPECT_TRUE(out.contains(QStringLiteral("Found in: 127.0.0.2 @ %1").arg(sim->Port()).toUtf8()))
        << out.toStdString();
    EXPECT_TRUE(ReadFileBytes(project).contains("127.0.0.2"));
}

TEST_F(MaintenanceCliTest, SearchProbesTheBoundPortsOfTheSettings)
{
    PtyPair line(dir.filePath(QStringLiteral("pc")), dir.filePath(QStringLiteral("card")));
    ASSERT_TRUE(line.Ready());
    SimProcess sim({QStringLiteral("--serial"), line.controller}, false);
    ASSERT_TRUE(sim.Started()) << sim.Output().toStdString();
    const QString tool = ToolWithSettings(
        dir, QStringLiteral("[Serial]\nCOM9=%1\n[Search]\nfactory=127.0.0.3\nbroadcast=127.0.0.3\n"
                            "ports=9\n")
                 .arg(line.pc)
                 .toUtf8());
    ASSERT_FALSE(tool.isEmpty());
    const QByteArray before = ReadFileBytes(project);
    QProcess process;
    process.start(tool, {QStringLiteral("search"), project});
    ASSERT_TRUE(process.waitForFinished(30000));
    const QByteArray out = process.readAllStandardOutput();
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    EXPECT_TRUE(out.contains("Found in: COM9 @ 57600 , controller : RZ-C2 V0.5.1"))
        << out.toStdString();
    // Without --save the project file is left as it was.
    EXPECT_EQ(ReadFileBytes(project), before);
}
