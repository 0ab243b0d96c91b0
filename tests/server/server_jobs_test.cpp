// lumivant-server's jobs with the cards: sends and status reads against lumivant-sim on
// loopback, a card that never answers, jobs in line, and a stop in the middle of a send.
#include "server_test_support.h"

#include "../comm/comm_test_support.h"
#include "support/test_support.h"

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <memory>

namespace {

class ServerJobsTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        project = dir.filePath(QStringLiteral("shop.ledprj"));
    }

    // A simulator matching the first screen (64 x 16, two colours).
    std::unique_ptr<SimProcess> StartSim(const QString& name, const QString& geometry)
    {
        auto sim = std::make_unique<SimProcess>(QStringList{
            QStringLiteral("--state"), dir.filePath(name), QStringLiteral("--geometry"), geometry});
        return sim;
    }

    void Serve(int port, int timeoutMs = 400)
    {
        WriteShopProject(project, port, timeoutMs);
        ASSERT_TRUE(server.Start(project)) << server.Output().toStdString();
    }

    static qint64 IdOf(const HttpAnswer& answer)
    {
        return answer.Json().value(QStringLiteral("id")).toInteger();
    }

    QTemporaryDir dir;
    QString project;
    ServerProcess server;
};

} // namespace

TEST_F(ServerJobsTest, ASendJobDeliversTheScreenToTheCard)
{
    auto sim = StartSim(QStringLiteral("card"), QStringLiteral("64,16,2"));
    ASSERT_TRUE(sim->Started()) << sim->Output().toStdString();
    Serve(sim->Port());
    const HttpAnswer started = server.Post("/api/v1/screens/1/send", {});
    ASSERT_EQ(started.status, 202) << started.body.toStdString();
    EXPECT_EQ(started.Header("Location"), "/api/v1/jobs/" + std::to_string(IdOf(started)));
    const QString first = started.Json().value(QStringLiteral("state")).toString();
    EXPECT_TRUE(first == QLatin1String("queued") || first == QLatin1String("running"));

    const QJsonObject job = server.WaitForJob(IdOf(started));
    EXPECT_EQ(job.value(QStringLiteral("state")).toString(), QStringLiteral("done"))
        << QJsonDocument(job).toJson().toStdString();
    EXPECT_EQ(job.value(QStringLiteral("message")).toString(), QStringLiteral("Succeed!"));
    const QJsonObject screen = job.value(QStringLiteral("screens")).toArray().first().toObject();
    EXPECT_EQ(screen.value(QStringLiteral("position")).toInt(), 90);
    EXPECT_EQ(screen.value(QStringLiteral("name")).toString(), QStringLiteral("Panel1"));
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("card/screen.bin"))));
    EXPECT_TRUE(ReadFileBytes(dir.filePath(QStringLiteral("card/summary.json")))
                    .contains("\"decoded\": true"));
}

TEST_F(ServerJobsTest, LinkOptionsReachAnotherCardForThisJobOnly)
{
    auto sim = StartSim(QStringLiteral("card"), QStringLiteral("64,16,2"));
    ASSERT_TRUE(sim->Started());
    SilentPeer nowhere;
    Serve(nowhere.Port());
    const QByteArray before = ReadFileBytes(project);
    const HttpAnswer started =
        server.Post("/api/v1/screens/1/send",
                    QStringLiteral(R"({"udp":"127.0.0.1:%1"})").arg(sim->Port()).toUtf8());
    ASSERT_EQ(started.status, 202) << started.body.toStdString();
    EXPECT_EQ(server.WaitForJob(IdOf(started)).value(QStringLiteral("state")).toString(),
              QStringLiteral("done"));
    EXPECT_EQ(ReadFileBytes(project), before);

    const HttpAnswer status =
        server.Get("/api/v1/screens/1/status?udp=127.0.0.1:" + std::to_string(sim->Port()));
    ASSERT_EQ(status.status, 200) << status.body.toStdString();
    EXPECT_EQ(status.Json().value(QStringLiteral("width")).toInt(), 64);
    EXPECT_FALSE(status.Json().value(QStringLiteral("model")).toString().isEmpty());
    EXPECT_TRUE(status.Json().value(QStringLiteral("power")).isBool());
    EXPECT_TRUE(status.Json().contains(QStringLiteral("brightness")));
}

TEST_F(ServerJobsTest, SeveralScreensAreSentAtOnce)
{
    auto first = StartSim(QStringLiteral("one"), QStringLiteral("64,16,2"));
    auto second = StartSim(QStringLiteral("two"), QStringLiteral("32,16,2"));
    ASSERT_TRUE(first->Started() && second->Started());
    Serve(first->Port());
    // The second screen's card listens elsewhere: the project says so.
    {
        CliRun run = RunCli({QStringLiteral("link-setup"), project, QStringLiteral("--screen"),
                             QStringLiteral("2"), QStringLiteral("--udp"),
                             QStringLiteral("127.0.0.1:%1").arg(second->Port()),
                             QStringLiteral("--timeout"), QStringLiteral("400")});
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    }
    const HttpAnswer started = server.Post("/api/v1/send", R"({"screens":[1,2]})");
    ASSERT_EQ(started.status, 202) << started.body.toStdString();
    const QJsonObject job = server.WaitForJob(IdOf(started));
    EXPECT_EQ(job.value(QStringLiteral("state")).toString(), QStringLiteral("done"))
        << QJsonDocument(job).toJson().toStdString();
    const QJsonArray screens = job.value(QStringLiteral("screens")).toArray();
    ASSERT_EQ(screens.size(), 2);
    for (const QJsonValue& screen : screens)
        EXPECT_EQ(screen.toObject().value(QStringLiteral("state")).toString(),
                  QStringLiteral("done"));
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("one/screen.bin"))));
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("two/screen.bin"))));
}

TEST_F(ServerJobsTest, ACardThatDoesNotAnswerFailsTheJobWithTheSystemsMessage)
{
    SilentPeer silent;
    Serve(silent.Port(), 300);
    const HttpAnswer started = server.Post("/api/v1/screens/2/send", {});
    ASSERT_EQ(started.status, 202);
    const QJsonObject job = server.WaitForJob(IdOf(started));
    EXPECT_EQ(job.value(QStringLiteral("state")).toString(), QStringLiteral("failed"));
    EXPECT_TRUE(job.value(QStringLiteral("message"))
                    .toString()
                    .startsWith(QStringLiteral("Command failed:")))
        << job.value(QStringLiteral("message")).toString().toStdString();

    // The failure has its receipt too, newest last.
    const QJsonArray receipts =
        server.Get("/api/v1/deliveries").Json().value(QStringLiteral("deliveries")).toArray();
    ASSERT_EQ(receipts.size(), 1);
    EXPECT_EQ(receipts.last().toObject().value(QStringLiteral("result")).toString(),
              QStringLiteral("failed"));
    EXPECT_EQ(receipts.last().toObject().value(QStringLiteral("error")).toString(),
              job.value(QStringLiteral("message")).toString());

    const HttpAnswer status = server.Get("/api/v1/screens/1/status");
    EXPECT_EQ(status.status, 502);
    EXPECT_TRUE(status.Error().contains(QStringLiteral("Timeout"))) << status.Error().toStdString();
    // The server goes on answering.
    EXPECT_EQ(server.Get("/api/v1/project").status, 200);
}

TEST_F(ServerJobsTest, AFewJobsRunAtOnceAndJobsForOneCardWaitTheirTurn)
{
    std::vector<std::unique_ptr<SilentPeer>> silent;
    for (int i = 0; i < 5; ++i)
        silent.push_back(std::make_unique<SilentPeer>());
    Serve(silent[0]->Port(), 1500);
    std::vector<qint64> ids;
    for (int i = 0; i < 5; ++i) {
        const HttpAnswer started =
            server.Post("/api/v1/screens/1/send", QStringLiteral(R"({"udp":"127.0.0.1:%1"})")
                                                      .arg(silent[static_cast<size_t>(i)]->Port())
                                                      .toUtf8());
        ASSERT_EQ(started.status, 202);
        ids.push_back(IdOf(started));
    }
    // Two more for the first card: they wait while it is busy.
    const HttpAnswer again =
        server.Post("/api/v1/screens/1/send",
                    QStringLiteral(R"({"udp":"127.0.0.1:%1"})").arg(silent[0]->Port()).toUtf8());
    ASSERT_EQ(again.status, 202);
    QThread::msleep(300);
    int running = 0;
    for (qint64 id : ids) {
        const QString state = server.Get("/api/v1/jobs/" + std::to_string(id))
                                  .Json()
                                  .value(QStringLiteral("state"))
                                  .toString();
        running += state == QLatin1String("running") ? 1 : 0;
    }
    EXPECT_LE(running, 3);
    EXPECT_GE(running, 1);

    const QJsonObject firstJob = server.WaitForJob(ids[0]);
    const QJsonObject sameCard = server.WaitForJob(IdOf(again));
    EXPECT_GE(sameCard.value(QStringLiteral("started")).toString(),
              firstJob.value(QStringLiteral("finished")).toString());
}

TEST_F(ServerJobsTest, SendsThatCannotStartAreRefusedAtOnce)
{
    Serve(5959);
    const std::pair<const char*, int> refused[] = {
        {R"({"udp":"127.0.0.1:99999"})", 400},
        {R"({"udp":5})", 400},
        {R"({"udp":"127.0.0.1:5959","serial":"/dev/ttyS0"})", 400},
        {R"({"serial":"/etc/passwd"})", 400},
        {R"({"serial":"../../dev/null"})", 400},
        {R"(not json)", 400},
    };
    for (const auto& [body, status] : refused)
        EXPECT_EQ(server.Post("/api/v1/screens/1/send", body).status, status) << body;
    EXPECT_EQ(server.Post("/api/v1/screens/9/send", {}).status, 404);
    for (const char* body :
         {R"({"screens":[]})", R"({"screens":["one"]})", R"({"screens":[1.5]})", R"({})"})
        EXPECT_EQ(server.Post("/api/v1/send", body).status, 400) << body;
    EXPECT_TRUE(server.Post("/api/v1/send", R"({"screens":[1,7]})")
                    .Error()
                    .contains(QStringLiteral("screen 7")));
    EXPECT_EQ(server.Get("/api/v1/jobs/1").status, 404);
}

TEST_F(ServerJobsTest, OverlappingWindowsAreSentOnlyWhenAskedTo)
{
    SilentPeer silent;
    Serve(silent.Port(), 200);
    ASSERT_EQ(RunCli({QStringLiteral("set-text"), project, QStringLiteral("s1/p1/w1/z1"),
                      QStringLiteral("--text"), QStringLiteral("x")})
                  .exitCode,
              0);
    // The board grows over the note's window.
    QByteArray bytes = ReadFileBytes(project);
    bytes.replace("0,0,48,16", "0,0,56,16");
    ASSERT_TRUE(WriteFileBytes(project, bytes));
    const HttpAnswer refused = server.Post("/api/v1/screens/1/send", {});
    EXPECT_EQ(refused.status, 409);
    EXPECT_TRUE(refused.Error().contains(QStringLiteral("ignoreOverlap")))
        << refused.Error().toStdString();
    EXPECT_EQ(server.Post("/api/v1/screens/1/send", R"({"ignoreOverlap":true})").status, 202);
}

TEST_F(ServerJobsTest, StoppingEndsARunningSendAndTheServer)
{
    SilentPeer silent;
    Serve(silent.Port(), 3000);
    const HttpAnswer started = server.Post("/api/v1/screens/1/send", {});
    ASSERT_EQ(started.status, 202);
    QThread::msleep(300);
    QElapsedTimer stopping;
    stopping.start();
    EXPECT_EQ(server.Stop(), 0) << server.Output().toStdString();
    EXPECT_LT(stopping.elapsed(), 6000);
    EXPECT_TRUE(server.Output().contains(QStringLiteral("Stopped.")));
}
