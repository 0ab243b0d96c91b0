// The serial transport over a pseudo-terminal pair made by socat, with lumivant-sim on the
// other end.
#include "comm_test_support.h"

#include "base/app_paths.h"
#include "comm/controller_link.h"
#include "model/project_root.h"
#include "model/screen.h"
#include "platform/serial_devices.h"
#include "support/test_support.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <atomic>
#include <thread>

#include <gtest/gtest.h>

namespace {

constexpr int kPort = 7;

class SerialTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        controllerEnd = dir.filePath(QStringLiteral("controller"));
        pcEnd = dir.filePath(QStringLiteral("pc"));
        line = std::make_unique<PtyPair>(pcEnd, controllerEnd);
        ASSERT_TRUE(line->Ready());
        // The settings file binds COM7 to the pseudo-terminal.
        SetDataFolderOverride(dir.path());
        QFile ini(SettingsFilePath());
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write(QStringLiteral("[Serial]\nCOM%1=%2\n").arg(kPort).arg(pcEnd).toUtf8());
        ini.close();
        ReloadSerialBindings();

        root = CProjectRoot::NewProject();
        screen = static_cast<CScreen*>(root->GetChild(0));
        screen->Link().comPort = kPort;
        screen->Link().timeoutMs = 500;
    }

    void TearDown() override
    {
        root.reset();
        line.reset();
        SetDataFolderOverride(QString());
        ReloadSerialBindings();
    }

    QTemporaryDir dir;
    QString controllerEnd;
    QString pcEnd;
    std::unique_ptr<PtyPair> line;
    std::unique_ptr<CProjectRoot> root;
    CScreen* screen = nullptr;
};

} // namespace

TEST_F(SerialTest, SettingsFileBindsTheNumber)
{
    EXPECT_EQ(SerialDevicePath(kPort), pcEnd);
    const auto ports = EnumerateSerialPorts();
    EXPECT_NE(std::find(ports.begin(), ports.end(), kPort), ports.end());
    EXPECT_EQ(SerialPortNumberOf(pcEnd), kPort);
    EXPECT_EQ(SerialDevicePath(1), QStringLiteral("/dev/ttyS0"));
}

TEST_F(SerialTest, ReadParamsAndSendDataOverThePseudoTerminal)
{
    const QString state = dir.filePath(QStringLiteral("state"));
    SimProcess sim({QStringLiteral("--serial"), controllerEnd, QStringLiteral("--state"), state,
                    QStringLiteral("--model"), QStringLiteral("RZ-MU")},
                   false);
    ASSERT_TRUE(sim.Started()) << sim.Output().toStdString();
    CControllerLink& link = LinkOf(*screen);
    ASSERT_TRUE(link.ReadParams()) << link.GetErrorText().toStdString();
    EXPECT_EQ(link.ModelInfo().GetName(), QStringLiteral("RZ-MU"));
    EXPECT_FALSE(link.Serial().IsOpen());
    EXPECT_EQ(link.GetLinkStatusText(), QStringLiteral("ConnectedCOM7"));

    std::vector<std::uint8_t> data(300);
    for (size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<std::uint8_t>(i ^ 0x5A);
    ASSERT_TRUE(link.OpenLink());
    ASSERT_TRUE(link.BeginData(300));
    for (std::uint32_t offset = 0; offset < 300; offset += 128)
        ASSERT_TRUE(
            link.SendDataChunk(offset, data.data() + offset,
                               static_cast<int>(std::min<std::uint32_t>(128, 300 - offset))));
    ASSERT_TRUE(link.EndData(true));
    link.CloseLink();
    EXPECT_EQ(ReadFileBytes(state + QStringLiteral("/screen.bin")).size(), 300);
}

TEST_F(SerialTest, GarbageOnTheLineIsSkipped)
{
    SimProcess sim({QStringLiteral("--serial"), controllerEnd}, false);
    ASSERT_TRUE(sim.Started());
    CControllerLink& link = LinkOf(*screen);
    ASSERT_TRUE(link.OpenLink());
    const CCommPacket request(CmdReadParams, 1);
    std::vector<std::uint8_t> frame = {0x00, 0xFF, 0x13, 0x77, 0x0C};
    frame.insert(frame.end(), request.GetData(), request.GetData() + request.GetLength());
    ASSERT_TRUE(link.Exchange(frame.data(), static_cast<int>(frame.size()), 112))
        << link.GetErrorText().toStdString();
    link.CloseLink();
}

TEST_F(SerialTest, SilentLineTimesOut)
{
    CControllerLink& link = LinkOf(*screen);
    screen->Link().timeoutMs = 200;
    QElapsedTimer timer;
    timer.start();
    EXPECT_FALSE(link.ReadParams());
    EXPECT_EQ(link.GetErrorText(), QStringLiteral("Timeout."));
    EXPECT_LT(timer.elapsed(), 2000);
}

TEST_F(SerialTest, OpenFailures)
{
    CControllerLink& link = LinkOf(*screen);
    screen->Link().comPort = 0;
    EXPECT_FALSE(link.OpenLink());
    EXPECT_EQ(link.GetErrorText(), QStringLiteral("Need initialize.(Try Search)"));
    BindSerialDevice(9, dir.filePath(QStringLiteral("missing")));
    screen->Link().comPort = 9;
    EXPECT_FALSE(link.OpenLink());
    EXPECT_EQ(link.GetErrorText(), QStringLiteral("Serial port not exists."));
    BindSerialDevice(9, QString());
    screen->Link().comPort = kPort;
    screen->Link().baudRate = 12345;
    EXPECT_FALSE(link.OpenLink());
    EXPECT_EQ(link.GetErrorText(), QStringLiteral("Unknow error."));
}

TEST_F(SerialTest, CliTalksToADevicePath)
{
    SimProcess sim({QStringLiteral("--serial"), controllerEnd, QStringLiteral("--baud"),
                    QStringLiteral("9600")},
                   false);
    ASSERT_TRUE(sim.Started());
    const QString project = dir.filePath(QStringLiteral("p.ledprj"));
    ASSERT_TRUE(CProjectRoot::NewProject()->SaveProject(project));
    const CliRun run = RunCli({QStringLiteral("read-params"), project, QStringLiteral("--serial"),
                               pcEnd, QStringLiteral("--baud"), QStringLiteral("9600")});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains("Controller: RZ-C2 V0.5.1"));
}

TEST_F(SerialTest, SlowSteadyBytesKeepTheReadAliveUpToTenTimesTheTimeout)
{
    LinkSettings settings;
    settings.linkKind = 0;
    settings.comPort = kPort;
    settings.timeoutMs = 100;
    CSerialPort port;
    ASSERT_TRUE(port.Open(&settings));
    std::atomic<bool> stop{false};
    // The controller's end trickles one byte every 10 ms, never a whole reply.
    std::thread trickle([&] {
        QFile line(controllerEnd);
        if (!line.open(QIODevice::ReadWrite | QIODevice::Unbuffered))
            return;
        while (!stop) {
            line.write("\x0A", 1);
            QThread::msleep(10);
        }
    });
    const CCommPacket packet(CmdReadParams, 1);
    QElapsedTimer timer;
    timer.start();
    EXPECT_FALSE(port.Transfer(packet.GetData(), packet.GetLength(), 400));
    const qint64 elapsed = timer.elapsed();
    stop = true;
    trickle.join();
    port.Close();
    EXPECT_EQ(port.GetErrorText(), QStringLiteral("Timeout."));
    EXPECT_GE(elapsed, 900); // ten time-outs of 100 ms, not one
    EXPECT_LT(elapsed, 3000);
    EXPECT_GT(port.GetReplyCount(), 5);
    EXPECT_LT(port.GetReplyCount(), 400);
}
