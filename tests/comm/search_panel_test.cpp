// The controller search against lumivant-sim on loopback UDP and on pseudo-terminals. The
// factory and broadcast addresses always point at loopback, and only bound pseudo-terminals
// are probed.
#include "comm_test_support.h"
#include "maintenance_test_ui.h"

#include "base/app_paths.h"
#include "base/string_table.h"
#include "comm/controller_link.h"
#include "comm/search_panel.h"
#include "config/model_info.h"
#include "model/project_root.h"
#include "model/screen.h"
#include "platform/serial_devices.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

SearchSettings LoopbackSearch(std::vector<int> ports, const QString& factory,
                              const QString& broadcast)
{
    SearchSettings settings;
    settings.factoryAddress = factory;
    settings.broadcastAddress = broadcast;
    settings.ports = std::move(ports);
    return settings;
}

QString IdentityArgument(int major, int minor, int build)
{
    CModelInfo model;
    model.AssignFromName(QStringLiteral("RZ-MU"));
    auto identity = model.Identity();
    identity[2] = std::uint8_t(major), identity[3] = std::uint8_t(minor),
    identity[4] = std::uint8_t(build);
    QStringList bytes;
    for (std::uint8_t byte : identity)
        bytes << QString::number(byte);
    return bytes.join(u',');
}

// A project whose first screen starts on an unconfigured serial port (nothing is opened).
struct SearchProject
{
    SearchProject(int remotePort, int timeoutMs)
    {
        root = CProjectRoot::NewProject();
        screen = static_cast<CScreen*>(root->GetChild(0));
        LinkOf(*screen).SelectLink(0);
        screen->Link().comPort = 0;
        screen->Link().remoteIp = QStringLiteral("127.0.0.1");
        screen->Link().remotePort = std::uint16_t(remotePort);
        screen->Link().timeoutMs = timeoutMs;
    }
    std::unique_ptr<CProjectRoot> root;
    CScreen* screen = nullptr;
};

} // namespace

TEST(SearchArithmetic, TimeoutRangeAndPositions)
{
    EXPECT_EQ(SearchTimeout(1000), 500);
    EXPECT_EQ(SearchTimeout(6000), 1000);
    EXPECT_EQ(SearchTimeout(3000), 750);
    EXPECT_EQ(SearchTimeout(0), 500);
    EXPECT_EQ(SearchRange(2), 100);
    EXPECT_EQ(SearchRange(0), 20);
    EXPECT_EQ(SearchProbePosition(2, 0, 0), 20);
    EXPECT_EQ(SearchProbePosition(2, 0, 1), 40);
    EXPECT_EQ(SearchProbePosition(2, 1, 0), 60);
    EXPECT_EQ(SearchProbePosition(2, 1, 1), 80);
}

TEST(SearchSettingsFile, ReadsTheSearchSection)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("lumivant.ini"));
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[Search]\nfactory=127.0.0.9\nbroadcast=not an address\nports=COM7, 8,x\n");
    }
    const SearchSettings settings = SearchSettings::Load(path);
    EXPECT_EQ(settings.factoryAddress, QStringLiteral("127.0.0.9"));
    EXPECT_EQ(settings.broadcastAddress, QStringLiteral("255.255.255.255"));
    ASSERT_TRUE(settings.ports.has_value());
    EXPECT_EQ(*settings.ports, (std::vector<int>{7, 8}));
    const SearchSettings defaults = SearchSettings::Load(dir.filePath(QStringLiteral("none.ini")));
    EXPECT_EQ(defaults.factoryAddress, QStringLiteral("192.168.1.252"));
    EXPECT_FALSE(defaults.ports.has_value());
}

class SearchNetworkTest : public testing::Test
{
protected:
    RecordingOperationUi ui;
};

TEST_F(SearchNetworkTest, BroadcastFindsTheControllerAndLearnsItsAddress)
{
    SimProcess sim({QStringLiteral("--reply-from"), QStringLiteral("127.0.0.2")});
    ASSERT_TRUE(sim.Started()) << sim.Output().toStdString();
    SearchProject project(sim.Port(), 1000);
    // Nothing listens at the "factory" address; the "broadcast" reaches the simulator.
    const SearchOutcome outcome =
        SearchPanel(*project.screen, ui,
                    LoopbackSearch({}, QStringLiteral("127.0.0.3"), QStringLiteral("127.0.0.1")));
    ASSERT_TRUE(outcome.found) << outcome.text.toStdString();
    EXPECT_EQ(project.screen->Link().remoteIp, QStringLiteral("127.0.0.2"));
    EXPECT_EQ(project.screen->Link().linkKind, 1);
    EXPECT_EQ(project.screen->Link().timeoutMs, 1000);
    EXPECT_EQ(
        outcome.text,
        QStringLiteral("Found in: 127.0.0.2 @ %1 , controller : RZ-C2 V0.5.1。").arg(sim.Port()));
    EXPECT_EQ(ui.ranges, (std::vector<int>{600, 20}));
    ASSERT_FALSE(ui.updates.empty());
    EXPECT_EQ(ui.updates.back().first, 20);
    EXPECT_EQ(outcome.linkStatus, QStringLiteral("Connected127.0.0.2"));
    EXPECT_TRUE(ui.warnings.isEmpty());
}

TEST_F(SearchNetworkTest, FactoryAddressAnswersFirst)
{
    SimProcess sim({});
    ASSERT_TRUE(sim.Started()) << sim.Output().toStdString();
    SearchProject project(sim.Port(), 1000);
    const SearchOutcome outcome =
        SearchPanel(*project.screen, ui,
                    LoopbackSearch({}, QStringLiteral("127.0.0.1"), QStringLiteral("127.0.0.3")));
    ASSERT_TRUE(outcome.found);
    EXPECT_EQ(project.screen->Link().remoteIp, QStringLiteral("127.0.0.1"));
    // The block the controller keeps is now the screen's.
    EXPECT_EQ(project.screen->Identity()[2], 0);
}

TEST_F(SearchNetworkTest, CurrentSettingsAnswerWithoutVersionCheck)
{
    SimProcess sim({QStringLiteral("--identity"), IdentityArgument(1, 0, 3)});
    ASSERT_TRUE(sim.Started()) << sim.Output().toStdString();
    UdpProject project(sim.Port(), 2000);
    const SearchOutcome outcome =
        SearchPanel(*project.screen, ui,
                    LoopbackSearch({}, QStringLiteral("127.0.0.3"), QStringLiteral("127.0.0.3")));
    EXPECT_TRUE(outcome.found);
    EXPECT_TRUE(ui.warnings.isEmpty());
    EXPECT_EQ(project.screen->Link().timeoutMs, 2000);
    EXPECT_TRUE(outcome.text.endsWith(QStringLiteral("V1.0.3。"))) << outcome.text.toStdString();
}

TEST_F(SearchNetworkTest, NewerGenerationFirmwareIsRejected)
{
    SimProcess sim({QStringLiteral("--identity"), IdentityArgument(1, 0, 3)});
    ASSERT_TRUE(sim.Started()) << sim.Output().toStdString();
    SearchProject project(sim.Port(), 1000);
    project.screen->Link().baudRate = 9600;
    const SearchOutcome outcome =
        SearchPanel(*project.screen, ui,
                    LoopbackSearch({}, QStringLiteral("127.0.0.1"), QStringLiteral("127.0.0.3")));
    EXPECT_FALSE(outcome.found);
    EXPECT_EQ(ui.warnings, QStringList{QStringLiteral("The software version too old!")});
    EXPECT_EQ(outcome.text, QStringLiteral("No Panel be detected."));
    EXPECT_EQ(project.screen->Link().linkKind, 0);
    EXPECT_EQ(project.screen->Link().baudRate, 9600);
}

TEST_F(SearchNetworkTest, TimeoutIsQuarteredWithinBoundsAndRestored)
{
    SimProcess sim({QStringLiteral("--delay"), QStringLiteral("700")});
    ASSERT_TRUE(sim.Started()) << sim.Output().toStdString();
    const SearchSettings settings =
        LoopbackSearch({}, QStringLiteral("127.0.0.1"), QStringLiteral("127.0.0.1"));
    {
        // 1000 ms is searched with 500 ms: the 700 ms replies come too late.
        SearchProject project(sim.Port(), 1000);
        const SearchOutcome outcome = SearchPanel(*project.screen, ui, settings);
        EXPECT_FALSE(outcome.found);
        EXPECT_EQ(outcome.text, QStringLiteral("No Panel be detected."));
        EXPECT_EQ(project.screen->Link().timeoutMs, 1000);
        // The network steps are not undone; the link kind is.
        EXPECT_EQ(project.screen->Link().remoteIp, QStringLiteral("127.0.0.1"));
        EXPECT_EQ(project.screen->Link().linkKind, 0);
    }
    {
        // 6000 ms is searched with 1000 ms: in time.
        SearchProject project(sim.Port(), 6000);
        const SearchOutcome outcome = SearchPanel(*project.screen, ui, settings);
        EXPECT_TRUE(outcome.found);
        EXPECT_EQ(project.screen->Link().timeoutMs, 6000);
    }
}

// Two serial ports bound to pseudo-terminals through the settings file.
class SearchSerialTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        com7 = std::make_unique<PtyPair>(dir.filePath(QStringLiteral("pc7")),
                                         dir.filePath(QStringLiteral("card7")));
        com8 = std::make_unique<PtyPair>(dir.filePath(QStringLiteral("pc8")),
                                         dir.filePath(QStringLiteral("card8")));
        ASSERT_TRUE(com7->Ready() && com8->Ready());
        SetDataFolderOverride(dir.path());
        QFile ini(SettingsFilePath());
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write(QStringLiteral("[Serial]\nCOM7=%1\nCOM8=%2\n").arg(com7->pc, com8->pc).toUtf8());
        ini.close();
        ReloadSerialBindings();
    }
    void TearDown() override
    {
        SetDataFolderOverride(QString());
        ReloadSerialBindings();
    }

    QTemporaryDir dir;
    std::unique_ptr<PtyPair> com7;
    std::unique_ptr<PtyPair> com8;
    // Loopback only, from the start.
    SearchSettings settings =
        LoopbackSearch({7, 8}, QStringLiteral("127.0.0.1"), QStringLiteral("127.0.0.1"));
    RecordingOperationUi ui;
};

TEST_F(SearchSerialTest, FindsTheControllerOnTheSecondPort)
{
    SimProcess sim({QStringLiteral("--serial"), com8->controller}, false);
    ASSERT_TRUE(sim.Started()) << sim.Output().toStdString();
    SilentPeer peer;
    SearchProject project(peer.Port(), 1000);
    const SearchOutcome outcome = SearchPanel(*project.screen, ui, settings);
    ASSERT_TRUE(outcome.found) << outcome.text.toStdString();
    EXPECT_EQ(ui.ranges, (std::vector<int>{600, 100}));
    EXPECT_EQ(ui.Positions(QStringLiteral("Detecting......")), (std::vector<int>{20, 40}));
    EXPECT_EQ(outcome.text, QStringLiteral("Found in: COM8 @ 57600 , controller : RZ-C2 V0.5.1。"));
    EXPECT_EQ(project.screen->Link().comPort, 8);
    EXPECT_EQ(project.screen->Link().linkKind, 0);
    EXPECT_EQ(outcome.linkStatus, QStringLiteral("ConnectedCOM8"));
    EXPECT_FALSE(LinkOf(*project.screen).Serial().IsOpen());
}

TEST_F(SearchSerialTest, NothingAnswersEveryProbeShownAndSettingsRestored)
{
    SilentPeer peer;
    SearchProject project(peer.Port(), 1000);
    LinkOf(*project.screen).SelectLink(1);
    project.screen->Link().comPort = 5;
    project.screen->Link().baudRate = 9600;
    settings.broadcastAddress = QStringLiteral("127.0.0.1");
    const SearchOutcome outcome = SearchPanel(*project.screen, ui, settings);
    EXPECT_FALSE(outcome.found);
    EXPECT_EQ(ui.Positions(QStringLiteral("Detecting......")), (std::vector<int>{20, 40, 60, 80}));
    ASSERT_FALSE(ui.updates.empty());
    EXPECT_EQ(ui.updates.back(), std::make_pair(100, QStringLiteral("No Panel be detected.")));
    EXPECT_EQ(project.screen->Link().linkKind, 1);
    EXPECT_EQ(project.screen->Link().comPort, 5);
    EXPECT_EQ(project.screen->Link().baudRate, 9600);
    EXPECT_EQ(project.screen->Link().timeoutMs, 1000);
    EXPECT_TRUE(ui.warnings.isEmpty());
}

TEST_F(SearchSerialTest, RejectedFirmwareThenLegacyProbe)
{
    SimProcess sim({QStringLiteral("--serial"), com7->controller, QStringLiteral("--identity"),
                    IdentityArgument(1, 0, 3), QStringLiteral("--legacy")},
                   false);
    ASSERT_TRUE(sim.Started()) << sim.Output().toStdString();
    SilentPeer peer;
    SearchProject project(peer.Port(), 1000);
    const SearchOutcome outcome = SearchPanel(*project.screen, ui, settings);
    EXPECT_FALSE(outcome.found);
    EXPECT_EQ(ui.warnings, (QStringList{QStringLiteral("The software version too old!"),
                                        QStringLiteral("The Panel Controller too old! Use old "
                                                       "soft please.")}));
    EXPECT_EQ(outcome.text, QStringLiteral("No Panel be detected."));
    EXPECT_TRUE(sim.WaitForOutput(QStringLiteral("legacy probe -> previous-generation reply")));
    EXPECT_EQ(project.screen->Link().comPort, 0);
}

TEST_F(SearchSerialTest, CancelEndsTheSearch)
{
    SilentPeer peer;
    SearchProject project(peer.Port(), 1000);
    project.screen->Link().baudRate = 9600;
    ui.cancel = true;
    const SearchOutcome outcome = SearchPanel(*project.screen, ui, settings);
    EXPECT_FALSE(outcome.found);
    EXPECT_TRUE(outcome.text.isEmpty());
    EXPECT_EQ(ui.Positions(QStringLiteral("Detecting......")), (std::vector<int>{20}));
    EXPECT_EQ(project.screen->Link().baudRate, 9600);
    EXPECT_EQ(project.screen->Link().linkKind, 0);
}
