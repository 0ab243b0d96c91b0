// End to end: the link and lumivant-cli against lumivant-sim on UDP loopback.
#include "comm_test_support.h"

#include "comm/controller_link.h"
#include "model/play_window.h"
#include "model/program.h"
#include "model/project_root.h"
#include "model/screen.h"
#include "model/text_zone.h"
#include "platform/neighbour_cache.h"
#include "render/byte_buffer.h"
#include "render/compile_screen.h"
#include "support/test_support.h"

#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace {

class SimTest : public testing::Test
{
protected:
    void SetUp() override
    {
        SetNeighbourCacheFlusher([](const QString&) {});
        ASSERT_TRUE(dir.isValid());
    }
    void TearDown() override { SetNeighbourCacheFlusher({}); }

    QString ProjectFile()
    {
        const QString path = dir.filePath(QStringLiteral("p.ledprj"));
        if (!QFile::exists(path))
            CProjectRoot::NewProject()->SaveProject(path);
        return path;
    }

    QTemporaryDir dir;
};

// Sends raw datagrams to the simulator from a socket of the test.
void SendRaw(int port, const std::vector<std::uint8_t>& bytes)
{
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    to.sin_port = htons(static_cast<std::uint16_t>(port));
    ::sendto(fd, bytes.data(), bytes.size(), 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
    ::close(fd);
}

} // namespace

TEST_F(SimTest, CliReadsParametersAndSavesThem)
{
    // A controller whose stored block says 512 × 64.
    ControllerParams stored;
    stored.SetU16(ControllerParams::Width, 512);
    stored.SetU16(ControllerParams::Height, 64);
    const QString state = dir.filePath(QStringLiteral("state"));
    QDir().mkpath(state);
    ASSERT_TRUE(
        WriteFileBytes(state + QStringLiteral("/params.bin"),
                       QByteArray(reinterpret_cast<const char*>(stored.Bytes().data()), 112)));
    SimProcess sim(
        {QStringLiteral("--model"), QStringLiteral("RZ-DU"), QStringLiteral("--state"), state});
    ASSERT_TRUE(sim.Started()) << sim.Output().toStdString();

    const QString project = ProjectFile();
    const QString link = QStringLiteral("127.0.0.1:%1").arg(sim.Port());
    const CliRun run = RunCli({QStringLiteral("read-params"), project, QStringLiteral("--udp"),
                               link, QStringLiteral("--save")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains("Controller: RZ-DU V0.5.1"));
    EXPECT_TRUE(run.out.contains("Width: 512"));

    CProjectRoot reloaded;
    ASSERT_TRUE(reloaded.LoadProject(project));
    const auto* screen = static_cast<CScreen*>(reloaded.GetChild(0));
    EXPECT_EQ(screen->Width(), 512);
    EXPECT_EQ(screen->Height(), 64);
    EXPECT_EQ(screen->Identity()[0], 0x92);
    EXPECT_EQ(screen->Link().linkKind, 0); // the command line's link stays out of the file
    EXPECT_TRUE(sim.WaitForOutput(QStringLiteral("command 33 (read parameters)")));
}

TEST_F(SimTest, CliReportsTheLinkError)
{
    SilentPeer peer;
    const CliRun run =
        RunCli({QStringLiteral("read-params"), ProjectFile(), QStringLiteral("--udp"),
                QStringLiteral("127.0.0.1:%1").arg(peer.Port()), QStringLiteral("--timeout"),
                QStringLiteral("200")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("Command failed:Timeout.")) << run.err.toStdString();

    const CliRun usage = RunCli({QStringLiteral("read-params"), ProjectFile(),
                                 QStringLiteral("--udp"), QStringLiteral("127.0.0.1:99999")});
    EXPECT_EQ(usage.exitCode, 2);
}

TEST_F(SimTest, ScreenDataTransferLandsInTheStateFolder)
{
    const QString state = dir.filePath(QStringLiteral("state"));
    SimProcess sim({QStringLiteral("--state"), state});
    ASSERT_TRUE(sim.Started());
    UdpProject project(sim.Port(), 1000);
    CControllerLink& link = LinkOf(*project.screen);
    std::vector<std::uint8_t> data(700);
    for (size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<std::uint8_t>(i * 13);
    ASSERT_TRUE(link.OpenLink());
    ASSERT_TRUE(link.BeginData(static_cast<std::uint32_t>(data.size())))
        << link.GetErrorText().toStdString();
    for (std::uint32_t offset = 0; offset < data.size(); offset += 256) {
        const int length = static_cast<int>(std::min<size_t>(256, data.size() - offset));
        ASSERT_TRUE(link.SendDataChunk(offset, data.data() + offset, length));
    }
    ASSERT_TRUE(link.EndData(true)) << link.GetErrorText().toStdString();
    link.CloseLink();

    const QByteArray stored = ReadFileBytes(state + QStringLiteral("/screen.bin"));
    EXPECT_EQ(stored, QByteArray(reinterpret_cast<const char*>(data.data()), 700));
    const QJsonObject summary =
        QJsonDocument::fromJson(ReadFileBytes(state + QStringLiteral("/summary.json"))).object();
    EXPECT_EQ(summary.value(QStringLiteral("dataSize")).toInt(), 700);
    EXPECT_EQ(summary.value(QStringLiteral("chunks")).toInt(), 3);
    EXPECT_EQ(ReadFileBytes(state + QStringLiteral("/params.bin")).size(), 112);

    // An incomplete transfer is refused and leaves the stored data alone.
    ASSERT_TRUE(link.BeginData(400));
    ASSERT_TRUE(link.OpenLink());
    ASSERT_TRUE(link.SendDataChunk(0, data.data(), 256));
    link.CloseLink();
    EXPECT_FALSE(link.EndData(true));
    EXPECT_EQ(link.GetErrorText(), QStringLiteral("Bad data."));
    EXPECT_EQ(ReadFileBytes(state + QStringLiteral("/screen.bin")).size(), 700);
}

TEST_F(SimTest, ParametersPowerClockAndReset)
{
    SimProcess sim({});
    ASSERT_TRUE(sim.Started());
    UdpProject project(sim.Port(), 1000);
    CControllerLink& link = LinkOf(*project.screen);
    project.screen->Params().SetU16(ControllerParams::Width, 320);
    ASSERT_TRUE(link.WriteParams());
    project.screen->PowerBlock()[0] = 0;
    ASSERT_TRUE(link.SendPowerGroup());
    ASSERT_TRUE(link.SyncTime(QDateTime(QDate(2030, 1, 1), QTime(8, 0))));
    project.screen->Params() = ControllerParams();
    ASSERT_TRUE(link.ReadParams());
    EXPECT_EQ(project.screen->Width(), 320);
    EXPECT_EQ(project.screen->Params().U8(ControllerParams::PowerState), 0);
    EXPECT_TRUE(sim.WaitForOutput(QStringLiteral("clock 2030-01-01T08:00:00")));
    ASSERT_TRUE(link.ResetParams());
    ASSERT_TRUE(link.ReadParams());
    EXPECT_EQ(project.screen->Width(), 256);
    ASSERT_TRUE(link.ClearPanel());
}

TEST_F(SimTest, ReplyFromAnotherAddressTeachesTheLink)
{
    SimProcess sim({QStringLiteral("--reply-from"), QStringLiteral("127.0.0.2")});
    ASSERT_TRUE(sim.Started()) << sim.Output().toStdString();
    UdpProject project(sim.Port(), 1000);
    CControllerLink& link = LinkOf(*project.screen);
    ASSERT_TRUE(link.ReadParams()) << link.GetErrorText().toStdString();
    EXPECT_EQ(project.screen->Link().remoteIp, QStringLiteral("127.0.0.2"));
}

TEST_F(SimTest, FaultOptions)
{
    {
        // The dropped read is retried once on the connected link and then answered.
        SimProcess sim({QStringLiteral("--drop"), QStringLiteral("33:1")});
        ASSERT_TRUE(sim.Started());
        UdpProject project(sim.Port(), 200);
        EXPECT_TRUE(LinkOf(*project.screen).ReadParams());
        EXPECT_TRUE(sim.WaitForOutput(QStringLiteral("-> dropped")));
    }
    const struct
    {
        QStringList options;
        const char* text;
    } cases[] = {
        {{QStringLiteral("--status"), QStringLiteral("33:15")}, "Too many Messages."},
        {{QStringLiteral("--bad-checksum"), QStringLiteral("33")}, "Data bad."},
        {{QStringLiteral("--wrong-size"), QStringLiteral("18:4")}, "Timeout."},
        {{QStringLiteral("--panel-id"), QStringLiteral("7")}, "Timeout."},
    };
    for (const auto& c : cases) {
        SimProcess sim(c.options);
        ASSERT_TRUE(sim.Started());
        UdpProject project(sim.Port(), 200);
        EXPECT_FALSE(LinkOf(*project.screen).ReadParams());
        EXPECT_EQ(LinkOf(*project.screen).GetErrorText(), QString::fromLatin1(c.text)) << c.text;
    }
    {
        SimProcess sim({QStringLiteral("--delay"), QStringLiteral("100")});
        ASSERT_TRUE(sim.Started());
        UdpProject project(sim.Port(), 50);
        EXPECT_FALSE(LinkOf(*project.screen).ReadParams());
        project.screen->Link().timeoutMs = 1000;
        EXPECT_TRUE(LinkOf(*project.screen).ReadParams());
    }
}

TEST_F(SimTest, DroppedRangesAndARestart)
{
    // The first two reads go unanswered and the third is; the first clock setting
    // restarts the card.
    SimProcess sim({QStringLiteral("--drop"), QStringLiteral("33:1-2"), QStringLiteral("--restart"),
                    QStringLiteral("37:1")});
    ASSERT_TRUE(sim.Started()) << sim.Output().toStdString();
    UdpProject project(sim.Port(), 400);
    CControllerLink& link = LinkOf(*project.screen);
    ASSERT_TRUE(link.ReadParams()) << link.GetErrorText().toStdString();
    EXPECT_TRUE(sim.WaitForOutput(QStringLiteral("#3 command 33")));
    EXPECT_EQ(sim.Output().count(QStringLiteral("-> dropped")), 2);
    // The time sync and its retry 200 ms later both come while the card restarts.
    project.screen->Link().timeoutMs = 30;
    EXPECT_FALSE(link.SyncTime());
    EXPECT_TRUE(sim.WaitForOutput(QStringLiteral("#1 command 37 (time sync): restarting")));

    for (const char* bad : {"19:0", "19:5-3", "19", "x:1"}) {
        QProcess usage;
        usage.start(SimProcess::Path(), {QStringLiteral("--drop"), QString::fromLatin1(bad)});
        ASSERT_TRUE(usage.waitForFinished(10000));
        EXPECT_EQ(usage.exitCode(), 2) << bad;
    }
    QProcess usage;
    usage.start(SimProcess::Path(), {QStringLiteral("--restart"), QStringLiteral("37")});
    ASSERT_TRUE(usage.waitForFinished(10000));
    EXPECT_EQ(usage.exitCode(), 2);
}

TEST_F(SimTest, BadFramesAreIgnoredAndTheSimulatorKeepsAnswering)
{
    SimProcess sim({});
    ASSERT_TRUE(sim.Started());
    SendRaw(sim.Port(), {});
    SendRaw(sim.Port(), {1, 2, 3});
    SendRaw(sim.Port(), std::vector<std::uint8_t>(12, 0));
    SendRaw(sim.Port(), std::vector<std::uint8_t>(30000, 0xAB));
    const CCommPacket good(CmdReadParams, 1);
    SendRaw(sim.Port(),
            std::vector<std::uint8_t>(good.GetData(), good.GetData() + 11)); // truncated
    std::vector<std::uint8_t> flipped(good.GetData(), good.GetData() + 12);
    flipped[7] ^= 0x40;
    SendRaw(sim.Port(), flipped);
    std::vector<std::uint8_t> padded(good.GetData(), good.GetData() + 12);
    padded.push_back(0);
    SendRaw(sim.Port(), padded);
    EXPECT_TRUE(sim.WaitForOutput(QStringLiteral("bad checksum")));
    EXPECT_TRUE(sim.WaitForOutput(QStringLiteral("length field does not match")));

    UdpProject project(sim.Port(), 1000);
    CControllerLink& link = LinkOf(*project.screen);
    ASSERT_TRUE(link.OpenLink());
    // A replayed chunk is simply stored again.
    ASSERT_TRUE(link.BeginData(4));
    const std::uint8_t bytes[] = {1, 2, 3, 4};
    ASSERT_TRUE(link.SendDataChunk(0, bytes, 4));
    ASSERT_TRUE(link.SendDataChunk(0, bytes, 4));
    EXPECT_FALSE(link.SendDataChunk(2, bytes, 4)); // beyond the announced length
    EXPECT_EQ(link.GetErrorText(), QStringLiteral("Parameter error."));
    ASSERT_TRUE(link.EndData(true));
    ASSERT_TRUE(link.ReadParams());
    link.CloseLink();
    EXPECT_EQ(sim.Stop(), 0) << sim.Output().toStdString();
}

TEST_F(SimTest, LegacyProbeGetsThePreviousGenerationsReply)
{
    SimProcess sim({QStringLiteral("--legacy")});
    ASSERT_TRUE(sim.Started());
    UdpProject project(sim.Port(), 300);
    CControllerLink& link = LinkOf(*project.screen);
    std::vector<std::uint8_t> probe(52, 0);
    probe[0] = 0xA0, probe[1] = 0x34, probe[3] = 0x01, probe[5] = 0x05, probe[13] = 0x35;
    probe[48] = 0x0F, probe[49] = 0x01, probe[51] = 0x50;
    ASSERT_TRUE(link.OpenLink());
    EXPECT_FALSE(link.Exchange(probe.data(), 52, 52));
    ASSERT_EQ(link.Port().GetReplyCount(), 52);
    EXPECT_EQ(link.Port().GetReplyBytes()[16], 0x34);
    EXPECT_EQ(link.Port().GetReplyBytes()[20], 14);
    link.CloseLink();
}

TEST_F(SimTest, FirmwareIsKept)
{
    const QString state = dir.filePath(QStringLiteral("state"));
    SimProcess sim({QStringLiteral("--state"), state});
    ASSERT_TRUE(sim.Started());
    UdpProject project(sim.Port(), 1000);
    CControllerLink& link = LinkOf(*project.screen);
    std::uint8_t key = 0;
    ASSERT_TRUE(link.FirmwareQuery(key));
    const auto mask = static_cast<std::uint8_t>(5 * key);
    std::vector<std::uint8_t> image(300);
    for (size_t i = 0; i < image.size(); ++i)
        image[i] = static_cast<std::uint8_t>(i);
    std::vector<std::uint8_t> sent = image;
    for (auto& byte : sent)
        byte ^= mask;
    ASSERT_TRUE(link.OpenLink());
    ASSERT_TRUE(link.SendDataChunk(0, sent.data(), 256));
    ASSERT_TRUE(link.SendDataChunk(256, sent.data() + 256, 44));
    link.CloseLink();
    ASSERT_TRUE(link.FirmwareSwitch(true));
    EXPECT_EQ(ReadFileBytes(state + QStringLiteral("/firmware.bin")),
              QByteArray(reinterpret_cast<const char*>(image.data()), 300));
}

TEST_F(SimTest, StopsCleanlyOnASignal)
{
    SimProcess sim({});
    ASSERT_TRUE(sim.Started());
    EXPECT_TRUE(
        sim.Output().contains(QStringLiteral("listening on udp 127.0.0.1:%1").arg(sim.Port())));
    EXPECT_EQ(sim.Stop(), 0);
    EXPECT_TRUE(sim.Output().contains(QStringLiteral("stopped")));
}

TEST_F(SimTest, CliWithoutLinkUsesTheSavedSettings)
{
    // A new project's serial link has no port yet.
    const CliRun run = RunCli({QStringLiteral("read-params"), ProjectFile()});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("Command failed:Need initialize.(Try Search)"))
        << run.err.toStdString();
    EXPECT_EQ(RunCli({QStringLiteral("read-params"), ProjectFile(), QStringLiteral("--screen"),
                      QStringLiteral("2")})
                  .exitCode,
              2);
    EXPECT_EQ(RunCli({QStringLiteral("read-params"), ProjectFile(), QStringLiteral("--baud"),
                      QStringLiteral("1234")})
                  .exitCode,
              2);
}

TEST_F(SimTest, IdentityOption)
{
    SimProcess sim({QStringLiteral("--identity"), QStringLiteral("0x90,0x04,1,2,3")});
    ASSERT_TRUE(sim.Started());
    const CliRun run =
        RunCli({QStringLiteral("read-params"), ProjectFile(), QStringLiteral("--udp"),
                QStringLiteral("127.0.0.1:%1").arg(sim.Port())});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains("Controller: RZ-B+ V1.2.3")) << run.out.toStdString();
}

TEST_F(SimTest, CompleteScreenDataIsDecodedIntoProgramsAndPictures)
{
    const QString state = dir.filePath(QStringLiteral("state"));
    SimProcess sim({QStringLiteral("--state"), state});
    ASSERT_TRUE(sim.Started());
    UdpProject project(sim.Port(), 1000);
    // The card keeps its own size and colours; the data must fit them.
    project.screen->Params().SetU16(ControllerParams::Width, 256);
    project.screen->Params().SetU16(ControllerParams::Height, 32);
    auto* program = static_cast<CProgram*>(project.screen->GetChild(0));
    auto window = program->CreateChild(KindWindow);
    static_cast<CPlayWindow*>(window.get())->SetWindowRect({16, 8, 48, 24});
    auto zone = window->CreateChild(KindText);
    auto* text = static_cast<CTextZone*>(zone.get());
    window->AddChild(std::move(zone));
    program->AddChild(std::move(window));
    // One page: a red pixel in the top-left corner of the window.
    auto page = std::make_unique<CLedBitmap>(32, 16);
    page->Image().setPixel(0, 0, qRgb(255, 0, 0));
    text->ClearPages();
    text->AddPage(std::move(page));

    CByteBuffer data;
    ASSERT_TRUE(WriteData(*project.screen, data));
    CControllerLink& link = LinkOf(*project.screen);
    ASSERT_TRUE(link.ReadParams()) << link.GetErrorText().toStdString();
    ASSERT_TRUE(link.OpenLink());
    ASSERT_TRUE(link.BeginData(static_cast<std::uint32_t>(data.Length())));
    for (std::uint32_t offset = 0; offset < data.Length(); offset += 256) {
        const int length = static_cast<int>(std::min<size_t>(256, data.Length() - offset));
        ASSERT_TRUE(link.SendDataChunk(offset, data.Data() + offset, length));
    }
    ASSERT_TRUE(link.EndData(true)) << link.GetErrorText().toStdString();
    link.CloseLink();

    const QJsonObject summary =
        QJsonDocument::fromJson(ReadFileBytes(state + QStringLiteral("/summary.json"))).object();
    ASSERT_TRUE(summary.value(QStringLiteral("decoded")).toBool())
        << summary.value(QStringLiteral("decodeError")).toString().toStdString();
    const QJsonArray programs = summary.value(QStringLiteral("programs")).toArray();
    ASSERT_EQ(programs.size(), 1);
    const QJsonArray windows = programs[0].toObject().value(QStringLiteral("windows")).toArray();
    ASSERT_EQ(windows.size(), 1);
    EXPECT_EQ(windows[0].toObject().value(QStringLiteral("rect")).toArray(),
              (QJsonArray{16, 8, 48, 24}));
    const QImage picture(state + QStringLiteral("/program-1.png"));
    ASSERT_EQ(picture.size(), QSize(256, 32));
    EXPECT_EQ(picture.pixel(16, 8) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(picture.pixel(17, 8) & 0xFFFFFF, 0u);
    EXPECT_EQ(picture.pixel(15, 8) & 0xFFFFFF, 0u);
}
