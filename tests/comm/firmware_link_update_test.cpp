// The firmware update over the controller link: a package built by lumivant-fwpack,
// streamed to lumivant-sim on loopback UDP.
#include "comm_test_support.h"
#include "maintenance_test_ui.h"

#include "base/messages.h"
#include "comm/controller_link.h"
#include "comm/firmware_update_link.h"
#include "model/project_root.h"
#include "model/screen.h"
#include "platform/serial_devices.h"
#include "support/test_support.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QString FwpackPath()
{
    QDir dir = QFileInfo(QStringLiteral(LUMIVANT_CLI_PATH)).dir();
    dir.cdUp();
    return dir.filePath(QStringLiteral("fwpack/lumivant-fwpack"));
}

class FirmwareLinkTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(QFileInfo::exists(FwpackPath()));
        image = QByteArray(1001, '\0');
        for (int i = 0; i < image.size(); ++i)
            image[i] = char((i * 7 + 3) & 0xFF);
        const QString imagePath = dir.filePath(QStringLiteral("image.bin"));
        ASSERT_TRUE(WriteFileBytes(imagePath, image));
        package = dir.filePath(QStringLiteral("card.rzbin"));
        // The simulator's card identifies as model code 0x91, variant 1.
        QProcess tool;
        tool.start(FwpackPath(),
                   {imagePath, QStringLiteral("--model"), QStringLiteral("0x91"),
                    QStringLiteral("--variant"), QStringLiteral("1"), QStringLiteral("--password"),
                    QStringLiteral("s3cret"), QStringLiteral("--out"), package});
        ASSERT_TRUE(tool.waitForFinished(20000));
        ASSERT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
        state = dir.filePath(QStringLiteral("state"));
    }

    void Start(QStringList extra = {})
    {
        extra << QStringLiteral("--state") << state;
        sim = std::make_unique<SimProcess>(extra);
        ASSERT_TRUE(sim->Started()) << sim->Output().toStdString();
        project = std::make_unique<UdpProject>(sim->Port(), 300);
    }

    QTemporaryDir dir;
    QByteArray image;
    QString package;
    QString state;
    std::unique_ptr<SimProcess> sim;
    std::unique_ptr<UdpProject> project;
    RecordingOperationUi ui;
};

} // namespace

TEST_F(FirmwareLinkTest, PackageReachesTheController)
{
    Start();
    QString failure;
    ASSERT_TRUE(
        UpdateFirmware(*project->screen, ui, package, QStringLiteral("s3cret"), 128, &failure))
        << failure.toStdString() << sim->Output().toStdString();
    const QByteArray kept = ReadFileBytes(state + QStringLiteral("/firmware.bin"));
    ASSERT_EQ(kept.size(), 1008);
    // The padded length replaces bytes 0-3; the content after the header arrives unchanged.
    EXPECT_EQ(std::uint8_t(kept[0]), 1008 & 0xFF);
    EXPECT_EQ(std::uint8_t(kept[1]), 1008 >> 8);
    EXPECT_EQ(kept.mid(66, 1001 - 66), image.mid(66));
    // A network link streams 256-byte chunks: four of them.
    EXPECT_TRUE(sim->Output().contains(QStringLiteral("#4 command 19")));
    EXPECT_FALSE(sim->Output().contains(QStringLiteral("#5 command 19")));
    ASSERT_FALSE(ui.updates.empty());
    EXPECT_EQ(ui.updates.back().second, QStringLiteral("Finish."));
    EXPECT_NE(std::find(ui.updates.begin(), ui.updates.end(),
                        std::make_pair(100, QStringLiteral("Processing: 100%..."))),
              ui.updates.end());
    EXPECT_FALSE(LinkOf(*project->screen).Udp().IsOpen());
}

TEST_F(FirmwareLinkTest, WrongPasswordIsABadFile)
{
    Start();
    RecordingMessageSink sink;
    QString failure;
    EXPECT_FALSE(
        UpdateFirmware(*project->screen, ui, package, QStringLiteral("S3cret"), 128, &failure));
    EXPECT_EQ(failure, QStringLiteral("Bad file."));
    EXPECT_EQ(ui.warnings, QStringList{QStringLiteral("Bad file.")});
    // The messages went to the operation's interface; the installed sink is back.
    ShowWarning(QStringLiteral("after"));
    EXPECT_EQ(sink.texts, QStringList{QStringLiteral("after")});
    EXPECT_FALSE(sim->Output().contains(QStringLiteral("command 202")));
    EXPECT_FALSE(QFileInfo::exists(state + QStringLiteral("/firmware.bin")));
}

TEST_F(FirmwareLinkTest, BrokenPackagesNeverReachTheController)
{
    Start();
    const QByteArray whole = ReadFileBytes(package);
    const struct
    {
        const char* name;
        QByteArray bytes;
    } cases[] = {{"empty.rzbin", QByteArray()},
                 {"short.rzbin", whole.left(40)},
                 {"odd.rzbin", whole.left(61)}};
    for (const auto& c : cases) {
        const QString path = dir.filePath(QString::fromLatin1(c.name));
        ASSERT_TRUE(WriteFileBytes(path, c.bytes));
        QString failure;
        EXPECT_FALSE(
            UpdateFirmware(*project->screen, ui, path, QStringLiteral("s3cret"), 128, &failure))
            << c.name;
        EXPECT_FALSE(failure.isEmpty()) << c.name;
    }
    {
        // Larger than any controller's firmware: refused before it is read.
        const QString huge = dir.filePath(QStringLiteral("huge.rzbin"));
        QFile file(huge);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_TRUE(file.resize(65 * 1024 * 1024));
        file.close();
        QString failure;
        EXPECT_FALSE(
            UpdateFirmware(*project->screen, ui, huge, QStringLiteral("s3cret"), 128, &failure));
        EXPECT_EQ(failure, QStringLiteral("Bad file."));
    }
    QString failure;
    EXPECT_FALSE(UpdateFirmware(*project->screen, ui, dir.filePath(QStringLiteral("none.rzbin")),
                                QStringLiteral("s3cret"), 128, &failure));
    EXPECT_EQ(failure, QStringLiteral("The file is not exists."));
    EXPECT_FALSE(sim->Output().contains(QStringLiteral("command 202")));
}

TEST_F(FirmwareLinkTest, FailureAtTheThirdChunkStillSwitchesOff)
{
    // From the third chunk on nothing is answered, however often it goes out.
    Start({QStringLiteral("--drop"), QStringLiteral("19:3-")});
    QString failure;
    EXPECT_FALSE(
        UpdateFirmware(*project->screen, ui, package, QStringLiteral("s3cret"), 128, &failure));
    EXPECT_EQ(failure, QStringLiteral("Failed on send data.Timeout."));
    ASSERT_TRUE(sim->WaitForOutput(QStringLiteral("firmware update switched off")))
        << sim->Output().toStdString();
    static const QRegularExpression kSwitch(
        QStringLiteral("command 203 \\(\\w*[^)]*\\) p1=(\\d+)"));
    const auto match = kSwitch.match(sim->Output());
    ASSERT_TRUE(match.hasMatch()) << sim->Output().toStdString();
    EXPECT_LE(match.captured(1).toInt(), 48);
    EXPECT_FALSE(QFileInfo::exists(state + QStringLiteral("/firmware.bin")));
}

TEST_F(FirmwareLinkTest, SerialLinkStreamsChunksOfThePacketSize)
{
    PtyPair line(dir.filePath(QStringLiteral("pc")), dir.filePath(QStringLiteral("card")));
    ASSERT_TRUE(line.Ready());
    SimProcess serialSim(
        {QStringLiteral("--serial"), line.controller, QStringLiteral("--state"), state}, false);
    ASSERT_TRUE(serialSim.Started()) << serialSim.Output().toStdString();
    constexpr int kPort = 9;
    BindSerialDevice(kPort, line.pc);
    auto root = CProjectRoot::NewProject();
    auto* screen = static_cast<CScreen*>(root->GetChild(0));
    LinkOf(*screen).SelectLink(0);
    screen->Link().comPort = kPort;
    screen->Link().timeoutMs = 1000;
    QString failure;
    const bool ok = UpdateFirmware(*screen, ui, package, QStringLiteral("s3cret"), 128, &failure);
    BindSerialDevice(kPort, QString());
    ASSERT_TRUE(ok) << failure.toStdString();
    // 1008 bytes in 128-byte chunks on a serial link.
    ASSERT_TRUE(serialSim.WaitForOutput(QStringLiteral("firmware of 1008 bytes kept")));
    EXPECT_TRUE(serialSim.Output().contains(QStringLiteral("#8 command 19")));
    EXPECT_FALSE(serialSim.Output().contains(QStringLiteral("#9 command 19")));
    EXPECT_EQ(ReadFileBytes(state + QStringLiteral("/firmware.bin")).mid(66, 1001 - 66),
              image.mid(66));
}
