// Delivery receipts: the SQLite store (several processes appending at once, a store that
// cannot be kept), the receipt every send leaves, and lumivant-cli deliveries.
#include "comm_test_support.h"
#include "send_test_support.h"

#include "comm/comm_port.h"
#include "comm/delivery_receipts.h"
#include "comm/send_pipeline.h"
#include "model/project_root.h"
#include "model/screen.h"
#include "platform/neighbour_cache.h"
#include "support/test_support.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>

namespace {

const char kWriterStore[] = "LUMIVANT_TEST_DELIVERY_STORE";
const char kWriterNumber[] = "LUMIVANT_TEST_DELIVERY_WRITER";
constexpr int kWriters = 4;
constexpr int kReceiptsPerWriter = 100;

DeliveryReceipt Receipt(const QString& project, int screen, DeliveryResult result)
{
    DeliveryReceipt receipt;
    receipt.time = QDateTime(QDate(2024, 5, 1), QTime(14, 3, 22, 125), Qt::UTC);
    receipt.projectFile = project;
    receipt.screenName = QStringLiteral("Panel%1").arg(screen);
    receipt.screenNumber = screen;
    receipt.link = QStringLiteral("UDP 127.0.0.1:5959");
    receipt.cardModel = QStringLiteral("RZ-C2");
    receipt.cardVersion = QStringLiteral("0.5.1");
    receipt.bytes = 262912;
    receipt.sha256 = QByteArray(64, 'a');
    receipt.result = result;
    if (result != DeliveryResult::Ok)
        receipt.error = QStringLiteral("Command failed:Timeout.");
    return receipt;
}

class DeliveryStoreTest : public testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    QString Path() const { return dir.filePath(QStringLiteral("deliveries.sqlite")); }
    QTemporaryDir dir;
};

} // namespace

TEST_F(DeliveryStoreTest, KeepsEveryFieldAndListsOldestFirst)
{
    const QString a = QStringLiteral("/work/a.ledprj");
    const QString b = QStringLiteral("/work/b.ledprj");
    {
        CDeliveryStore store(Path());
        EXPECT_TRUE(store.List().isEmpty());
        EXPECT_FALSE(store.Last(a, 1));
        ASSERT_TRUE(store.Append(Receipt(a, 1, DeliveryResult::Ok)))
            << store.LastError().toStdString();
        ASSERT_TRUE(store.Append(Receipt(b, 1, DeliveryResult::Failed)));
        ASSERT_TRUE(store.Append(Receipt(a, 2, DeliveryResult::Cancelled)));
        ASSERT_TRUE(store.Append(Receipt(a, 1, DeliveryResult::Failed)));
    }
    // Another store object (another connection) reads what the first one wrote.
    const CDeliveryStore store(Path());
    const QList<DeliveryReceipt> all = store.List();
    ASSERT_EQ(all.size(), 4);
    EXPECT_TRUE(store.LastError().isEmpty());
    for (int i = 1; i < all.size(); ++i)
        EXPECT_LT(all[i - 1].id, all[i].id);
    const DeliveryReceipt& first = all[0];
    const DeliveryReceipt expected = Receipt(a, 1, DeliveryResult::Ok);
    EXPECT_EQ(first.time, expected.time);
    EXPECT_EQ(first.time.timeSpec(), Qt::UTC);
    EXPECT_EQ(first.projectFile, a);
    EXPECT_EQ(first.screenName, QStringLiteral("Panel1"));
    EXPECT_EQ(first.screenNumber, 1);
    EXPECT_EQ(first.link, expected.link);
    EXPECT_EQ(first.cardModel, expected.cardModel);
    EXPECT_EQ(first.cardVersion, expected.cardVersion);
    EXPECT_EQ(first.bytes, 262912);
    EXPECT_EQ(first.sha256, expected.sha256);
    EXPECT_EQ(first.result, DeliveryResult::Ok);
    EXPECT_TRUE(first.error.isEmpty());
    EXPECT_EQ(all[2].result, DeliveryResult::Cancelled);
    EXPECT_EQ(all[3].error, QStringLiteral("Command failed:Timeout."));

    EXPECT_EQ(store.List(a).size(), 3);
    EXPECT_EQ(store.List(a, 1).size(), 2);
    EXPECT_EQ(store.List(QString(), 1).size(), 3);
    EXPECT_TRUE(store.List(QStringLiteral("/work/c.ledprj")).isEmpty());
    const auto last = store.Last(a, 1);
    ASSERT_TRUE(last);
    EXPECT_EQ(last->id, all[3].id);
    EXPECT_EQ(last->result, DeliveryResult::Failed);

    const QJsonObject json = ReceiptToJson(first);
    EXPECT_EQ(json.value(QStringLiteral("time")).toString(),
              QStringLiteral("2024-05-01T14:03:22.125Z"));
    EXPECT_EQ(json.value(QStringLiteral("result")).toString(), QStringLiteral("ok"));
    EXPECT_EQ(json.value(QStringLiteral("screenNumber")).toInt(), 1);
    EXPECT_EQ(json.value(QStringLiteral("bytes")).toInteger(), 262912);
    EXPECT_EQ(json.value(QStringLiteral("sha256")).toString(), QString(64, u'a'));
    EXPECT_EQ(json.value(QStringLiteral("cardVersion")).toString(), QStringLiteral("0.5.1"));
    EXPECT_EQ(ReceiptToJson(all[2]).value(QStringLiteral("result")).toString(),
              QStringLiteral("cancelled"));
}

TEST_F(DeliveryStoreTest, AStoreThatCannotBeKeptSaysSoAndDamagesNothing)
{
    // A folder where the database would be, and a file that is not a database.
    const QString folder = dir.filePath(QStringLiteral("folder.sqlite"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString text = dir.filePath(QStringLiteral("notes.sqlite"));
    const QByteArray notes = QByteArrayLiteral("these are notes, not a database\n");
    ASSERT_TRUE(WriteFileBytes(text, notes));
    for (const QString& path : {folder, text}) {
        CDeliveryStore store(path);
        EXPECT_FALSE(store.Append(Receipt(QStringLiteral("/a.ledprj"), 1, DeliveryResult::Ok)));
        EXPECT_TRUE(store.LastError().startsWith(
            QStringLiteral("Delivery receipts cannot be kept in %1: ").arg(path)))
            << store.LastError().toStdString();
        EXPECT_TRUE(store.List().isEmpty());
        EXPECT_TRUE(store.LastError().startsWith(
            QStringLiteral("Delivery receipts cannot be read from %1: ").arg(path)));
    }
    EXPECT_EQ(ReadFileBytes(text), notes);
    EXPECT_TRUE(QDir(folder).isEmpty());
}

// Runs in the processes the next test starts; skipped otherwise.
TEST(DeliveryStoreWriter, AppendsItsReceipts)
{
    const QString path = qEnvironmentVariable(kWriterStore);
    if (path.isEmpty())
        GTEST_SKIP() << "run by DeliveryStoreTest.SeveralProcessesAppendAtOnce";
    const int writer = qEnvironmentVariableIntValue(kWriterNumber);
    CDeliveryStore store(path);
    for (int i = 0; i < kReceiptsPerWriter; ++i) {
        DeliveryReceipt receipt =
            Receipt(QStringLiteral("/writer.ledprj"), writer, DeliveryResult::Ok);
        receipt.screenName = QString::number(i);
        ASSERT_TRUE(store.Append(receipt)) << store.LastError().toStdString();
    }
}

TEST_F(DeliveryStoreTest, SeveralProcessesAppendAtOnce)
{
    std::vector<std::unique_ptr<QProcess>> writers;
    for (int writer = 1; writer <= kWriters; ++writer) {
        auto process = std::make_unique<QProcess>();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QString::fromLatin1(kWriterStore), Path());
        environment.insert(QString::fromLatin1(kWriterNumber), QString::number(writer));
        process->setProcessEnvironment(environment);
        process->setProcessChannelMode(QProcess::MergedChannels);
        process->start(QCoreApplication::applicationFilePath(),
                       {QStringLiteral("--gtest_filter=DeliveryStoreWriter.AppendsItsReceipts")});
        writers.push_back(std::move(process));
    }
    for (auto& process : writers) {
        ASSERT_TRUE(process->waitForFinished(60000));
        EXPECT_EQ(process->exitCode(), 0) << process->readAll().toStdString();
    }
    const CDeliveryStore store(Path());
    const QList<DeliveryReceipt> receipts = store.List(QStringLiteral("/writer.ledprj"));
    ASSERT_EQ(receipts.size(), kWriters * kReceiptsPerWriter) << store.LastError().toStdString();
    // Each writer's receipts arrive whole and in its order.
    std::map<int, int> next;
    for (const DeliveryReceipt& receipt : receipts) {
        EXPECT_EQ(receipt.screenName, QString::number(next[receipt.screenNumber]++));
        EXPECT_EQ(receipt.sha256, QByteArray(64, 'a'));
    }
    EXPECT_EQ(next.size(), static_cast<size_t>(kWriters));
}

namespace {

class SendReceiptTest : public testing::Test
{
protected:
    void SetUp() override
    {
        SetNeighbourCacheFlusher([](const QString&) {});
        SetCommCancel(false);
        ASSERT_TRUE(dir.isValid());
        options.linkWaitMs = 0;
        options.endWaitMs = 0;
        options.deliveryStore = dir.filePath(QStringLiteral("deliveries.sqlite"));
    }
    void TearDown() override
    {
        SetNeighbourCacheFlusher({});
        SetCommCancel(false);
    }
    QList<DeliveryReceipt> Receipts() const { return CDeliveryStore(options.deliveryStore).List(); }

    QTemporaryDir dir;
    SendOptions options;
};

} // namespace

TEST_F(SendReceiptTest, EverySendLeavesOne)
{
    SimProcess sim({});
    ASSERT_TRUE(sim.Started());
    SilentPeer silent;
    auto root = TextProject(64, 16, sim.Port(), 2, 150);
    const QString project = dir.filePath(QStringLiteral("shop.ledprj"));
    ASSERT_TRUE(root->SaveProject(project));
    auto* first = static_cast<CScreen*>(root->GetChild(0));
    auto* second = static_cast<CScreen*>(root->GetChild(1));
    PointAt(*second, silent.Port(), 150);

    CSendPipeline pipeline(options);
    RecordingUi ui;
    ASSERT_TRUE(pipeline.SendScreen(*first, ui));
    EXPECT_FALSE(pipeline.SendScreen(*second, ui));
    RecordingUi cancelling;
    cancelling.onUpdate = [](int position, const QString& text) {
        return text == QStringLiteral("Sending...") && position > 40;
    };
    EXPECT_FALSE(pipeline.SendScreen(*first, cancelling));

    const QList<DeliveryReceipt> receipts = Receipts();
    ASSERT_EQ(receipts.size(), 3);
    const DeliveryReceipt& ok = receipts[0];
    EXPECT_EQ(ok.result, DeliveryResult::Ok);
    EXPECT_EQ(ok.projectFile, QDir::cleanPath(project));
    EXPECT_EQ(ok.screenName, QStringLiteral("Panel1"));
    EXPECT_EQ(ok.screenNumber, 1);
    EXPECT_EQ(ok.link, QStringLiteral("UDP 127.0.0.1:%1").arg(sim.Port()));
    EXPECT_EQ(ok.cardModel, QStringLiteral("RZ-C2"));
    EXPECT_EQ(ok.cardVersion, QStringLiteral("0.5.1"));
    EXPECT_GT(ok.bytes, 128);
    EXPECT_EQ(ok.sha256.size(), 64);
    EXPECT_TRUE(ok.error.isEmpty());
    EXPECT_LE(qAbs(ok.time.secsTo(QDateTime::currentDateTimeUtc())), 60);

    const DeliveryReceipt& failed = receipts[1];
    EXPECT_EQ(failed.result, DeliveryResult::Failed);
    EXPECT_EQ(failed.screenNumber, 2);
    EXPECT_EQ(failed.error, QStringLiteral("Command failed:Timeout."));
    EXPECT_TRUE(failed.cardModel.isEmpty()); // never identified
    EXPECT_EQ(failed.bytes, 0);
    EXPECT_TRUE(failed.sha256.isEmpty());

    const DeliveryReceipt& cancelled = receipts[2];
    EXPECT_EQ(cancelled.result, DeliveryResult::Cancelled);
    EXPECT_EQ(cancelled.error, QStringLiteral("Canceled."));
    EXPECT_EQ(cancelled.bytes, ok.bytes);
}

TEST_F(SendReceiptTest, AStoreThatCannotBeKeptStopsNoSendAndIsSaidOnce)
{
    SimProcess sim({});
    ASSERT_TRUE(sim.Started());
    auto root = TextProject(64, 16, sim.Port());
    ASSERT_TRUE(QDir().mkpath(options.deliveryStore)); // a folder in its place
    CSendPipeline pipeline(options);
    RecordingUi ui;
    ASSERT_TRUE(pipeline.SendScreen(*static_cast<CScreen*>(root->GetChild(0)), ui));
    ASSERT_TRUE(pipeline.SendScreen(*static_cast<CScreen*>(root->GetChild(0)), ui));
    ASSERT_EQ(ui.Count('W'), 1);
    EXPECT_TRUE(ui.Texts('W')[0].startsWith(QStringLiteral("Delivery receipts cannot be kept in ")))
        << ui.Texts('W')[0].toStdString();
    EXPECT_EQ(ui.Positions(QStringLiteral("Succeed!")).size(), 2u);
}

TEST(DeliveriesCli, ListsTheReceiptsOfAFileNewestLast)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    SimProcess sim({});
    ASSERT_TRUE(sim.Started());
    SilentPeer silent;
    auto root = TextProject(32, 16, sim.Port(), 2, 150);
    PointAt(*static_cast<CScreen*>(root->GetChild(1)), silent.Port(), 150);
    const QString project = dir.filePath(QStringLiteral("shop.ledprj"));
    ASSERT_TRUE(root->SaveProject(project));

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_STATE_HOME"), dir.filePath(QStringLiteral("state")));
    const auto run = [&](const QStringList& arguments) {
        QProcess cli;
        cli.setProcessEnvironment(environment);
        cli.start(QStringLiteral(LUMIVANT_CLI_PATH), arguments);
        EXPECT_TRUE(cli.waitForFinished(30000));
        return std::make_tuple(cli.exitCode(), QString::fromUtf8(cli.readAllStandardOutput()),
                               QString::fromUtf8(cli.readAllStandardError()));
    };
    const auto [none, noneOut, noneErr] = run({QStringLiteral("deliveries")});
    EXPECT_EQ(none, 0) << noneErr.toStdString();
    EXPECT_EQ(noneOut, QStringLiteral("No deliveries.\n"));
    EXPECT_FALSE(
        QFileInfo::exists(dir.filePath(QStringLiteral("state/lumivant/deliveries.sqlite"))));

    const auto [sent, sentOut, sentErr] =
        run({QStringLiteral("send"), project, QStringLiteral("--all")});
    EXPECT_EQ(sent, 1);
    // The screen's name starts every line of its failure.
    EXPECT_TRUE(sentErr.contains(QStringLiteral("\nPanel2: Command failed:Timeout.\n")))
        << sentErr.toStdString();

    const auto [listed, out, err] = run({QStringLiteral("deliveries"), project});
    EXPECT_EQ(listed, 0) << err.toStdString();
    const QStringList lines = out.trimmed().split(u'\n');
    ASSERT_EQ(lines.size(), 2) << out.toStdString();
    EXPECT_TRUE(lines[0].contains(
        QStringLiteral(" ok #1 Panel1, UDP 127.0.0.1:%1, RZ-C2 0.5.1, ").arg(sim.Port())))
        << lines[0].toStdString();
    EXPECT_TRUE(lines[0].contains(QStringLiteral(" bytes, sha256 ")));
    EXPECT_TRUE(lines[1].contains(
        QStringLiteral(" failed #2 Panel2, UDP 127.0.0.1:%1, 0 bytes: Command failed:Timeout.")
            .arg(silent.Port())))
        << lines[1].toStdString();

    const auto [one, oneOut, oneErr] =
        run({QStringLiteral("deliveries"), project, QStringLiteral("--screen"), QStringLiteral("2"),
             QStringLiteral("--json")});
    EXPECT_EQ(one, 0) << oneErr.toStdString();
    const QJsonArray array = QJsonDocument::fromJson(oneOut.toUtf8()).array();
    ASSERT_EQ(array.size(), 1) << oneOut.toStdString();
    EXPECT_EQ(array[0].toObject().value(QStringLiteral("result")).toString(),
              QStringLiteral("failed"));
    EXPECT_EQ(array[0].toObject().value(QStringLiteral("projectFile")).toString(),
              QDir::cleanPath(project));

    const auto [all, allOut, allErr] = run({QStringLiteral("deliveries")});
    EXPECT_EQ(all, 0);
    EXPECT_TRUE(allOut.contains(QDir::cleanPath(project) + QStringLiteral(" #1 Panel1")))
        << allOut.toStdString();
    const auto [bad, badOut, badErr] =
        run({QStringLiteral("deliveries"), QStringLiteral("--screen"), QStringLiteral("0")});
    EXPECT_EQ(bad, 2);
}
