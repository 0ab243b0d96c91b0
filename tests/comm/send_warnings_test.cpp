// What lumivant-cli send tells before and after it sends: a controller whose panel block
// differs from the project, and windows that overlap (stopped unless --ignore-overlap).
#include "comm_test_support.h"
#include "send_test_support.h"

#include "model/project_root.h"
#include "model/screen.h"
#include "support/test_support.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class SendWarningsTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        state = dir.filePath(QStringLiteral("state"));
        project = dir.filePath(QStringLiteral("p.ledprj"));
        ASSERT_TRUE(QDir().mkpath(state));
    }

    CliRun Send(int port, const QStringList& more = {})
    {
        return RunCli(QStringList{QStringLiteral("send"), project, QStringLiteral("--udp"),
                                  QStringLiteral("127.0.0.1:%1").arg(port)} +
                          more,
                      20000);
    }

    QByteArray Received() const { return ReadFileBytes(state + QStringLiteral("/screen.bin")); }

    QTemporaryDir dir;
    QString state;
    QString project;
};

} // namespace

TEST_F(SendWarningsTest, ControllerGeometryOtherThanTheProjectsIsNamed)
{
    auto root = TextProject(64, 16, 9);
    ASSERT_TRUE(root->SaveProject(project));
    {
        SimProcess sim({QStringLiteral("--state"), state, QStringLiteral("--geometry"),
                        QStringLiteral("128,32,2")});
        ASSERT_TRUE(sim.Started()) << sim.Output().toStdString();
        const CliRun run = Send(sim.Port());
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_EQ(run.err.count("warning: Panel1: the controller reports 128 x 32 RG; the "
                                "project's screen is 64 x 16 R"),
                  1)
            << run.err.toStdString();
    }
    SimProcess same({QStringLiteral("--geometry"), QStringLiteral("64,16,1,0")});
    ASSERT_TRUE(same.Started());
    const CliRun run = Send(same.Port());
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_FALSE(run.err.contains("the controller reports")) << run.err.toStdString();
}

TEST_F(SendWarningsTest, OverlapStopsTheSendUnlessIgnored)
{
    auto root = TextProject(64, 16, 9);
    AddWindowWithText(*static_cast<CScreen*>(root->GetChild(0)), 32, 0, 64, 16);
    ASSERT_TRUE(root->SaveProject(project));
    const QByteArray saved = ReadFileBytes(project);
    SimProcess sim({QStringLiteral("--state"), state, QStringLiteral("--geometry"),
                    QStringLiteral("64,16,1")});
    ASSERT_TRUE(sim.Started());

    for (const QStringList& answers : {QStringList{}, QStringList{QStringLiteral("--yes")}}) {
        const CliRun stopped = Send(sim.Port(), answers);
        EXPECT_EQ(stopped.exitCode, 1);
        EXPECT_TRUE(stopped.err.contains("Zone is overlap in: Program1, do you want to edit it ?\n"
                                         "Command failed: Panel1: windows overlap"))
            << stopped.err.toStdString();
        EXPECT_TRUE(stopped.err.contains("warning: Panel1/Program1/Window1: the window 0,0,64,16 "
                                         "overlaps Window2 at 32,0,64,16"))
            << stopped.err.toStdString();
        EXPECT_FALSE(stopped.err.contains("progress")) << stopped.err.toStdString();
    }
    const CliRun all = RunCli({QStringLiteral("send"), project, QStringLiteral("--all")}, 20000);
    EXPECT_EQ(all.exitCode, 1);
    // With --all every line of a screen starts with its name.
    EXPECT_TRUE(all.err.contains("Panel1: Zone is overlap in: Program1, do you want to edit it ?\n"
                                 "Panel1: Command failed:windows overlap"))
        << all.err.toStdString();
    EXPECT_TRUE(Received().isEmpty());

    const CliRun sent =
        Send(sim.Port(), {QStringLiteral("--ignore-overlap"), QStringLiteral("--yes")});
    EXPECT_EQ(sent.exitCode, 0) << sent.err.toStdString();
    EXPECT_TRUE(sent.err.contains("do you want to edit it ? no")) << sent.err.toStdString();
    EXPECT_FALSE(Received().isEmpty());
    EXPECT_EQ(ReadFileBytes(project), saved);
}

TEST(SimulatorOptions, BadModelAndGeometryAreUsageErrorsThatSayWhatFits)
{
    const auto run = [](const QStringList& arguments) {
        QProcess sim;
        sim.start(SimProcess::Path(), arguments);
        EXPECT_TRUE(sim.waitForFinished(10000));
        return std::make_pair(sim.exitCode(), sim.readAllStandardError());
    };
    const auto [modelStatus, modelText] = run({QStringLiteral("--model"), QStringLiteral("XY-1")});
    EXPECT_EQ(modelStatus, 2);
    EXPECT_TRUE(modelText.contains("unknown model XY-1; the models are RZ-S1, "))
        << modelText.toStdString();
    for (const char* geometry : {"64,16,4", "64,16", "0,16,1", "64,16,1,2"}) {
        const auto [status, text] =
            run({QStringLiteral("--geometry"), QString::fromLatin1(geometry)});
        EXPECT_EQ(status, 2) << geometry;
        EXPECT_TRUE(text.contains("--geometry takes")) << text.toStdString();
    }
}
