// Panel Setup, Advanced Setup, the controller's own communication settings, the timetable
// rows and the Communication Setup store, against lumivant-sim on loopback UDP: what the
// card holds afterwards, what the screen keeps, and what the person is told.
#include "comm_test_support.h"
#include "maintenance_test_ui.h"

#include "base/string_table.h"
#include "comm/controller_link.h"
#include "comm/controller_setup.h"
#include "comm/link_setup.h"
#include "comm/panel_setup.h"
#include "comm/timetable_rows.h"
#include "model/screen.h"
#include "platform/neighbour_cache.h"
#include "support/test_support.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using P = ControllerParams;

class ControllerConfigTest : public testing::Test
{
protected:
    void SetUp() override { SetLanguage(Language::English); }
    void TearDown() override { SetNeighbourCacheFlusher({}); }

    void Start(QStringList extra = {})
    {
        ASSERT_TRUE(dir.isValid());
        extra << QStringLiteral("--state") << dir.path();
        sim = std::make_unique<SimProcess>(extra);
        ASSERT_TRUE(sim->Started()) << sim->Output().toStdString();
        project = std::make_unique<UdpProject>(sim->Port(), 1000);
    }
    void StartSilent() { project = std::make_unique<UdpProject>(peer.Port(), 150); }
    CScreen& Screen() { return *project->screen; }
    ControllerParams Card()
    {
        ControllerParams params;
        const QByteArray bytes = ReadFileBytes(dir.filePath(QStringLiteral("params.bin")));
        if (bytes.size() == P::kSize)
            std::copy(bytes.begin(), bytes.end(), params.Bytes().begin());
        return params;
    }
    bool CardWasWritten() { return sim->Output().contains(QStringLiteral("command 32")); }

    QTemporaryDir dir;
    SilentPeer peer;
    std::unique_ptr<SimProcess> sim;
    std::unique_ptr<UdpProject> project;
    RecordingOperationUi ui;
};

} // namespace

TEST_F(ControllerConfigTest, PanelSetupWritesRoundedSizesAndTheScanRow)
{
    Start();
    PanelSetupValues values = LoadPanelSetup(Screen());
    values.width = 100;
    values.height = 20;
    values.scanRow = 16;
    values.colourType = 3;
    values.blanking = 63;
    Screen().Params().SetU8(P::PanelFlags, 0x04); // replaced by what the card holds
    ASSERT_TRUE(RunPanelSetup(Screen(), values, ui)) << ui.warnings.join(u'|').toStdString();
    EXPECT_EQ(ui.informs, QStringList{QStringLiteral("Command succeed.")});
    EXPECT_EQ(values.width, 96);
    EXPECT_EQ(values.height, 16);
    const ControllerParams card = Card();
    EXPECT_EQ(card.PanelWidth(), 96);
    EXPECT_EQ(card.PanelHeight(), 16);
    EXPECT_EQ(card.U8(P::ColourType), 3);
    EXPECT_EQ(card.U8(P::Blanking), 63);
    EXPECT_EQ(card.U8(P::ScanMode), 0x22);
    EXPECT_EQ(card.U8(P::FoldMode), 0x90);
    EXPECT_EQ(card.U8(P::PanelFlags), 0x01);
    // Bytes the form does not cover keep the card's values.
    EXPECT_EQ(card.U8(P::Brightness), P().U8(P::Brightness));
    EXPECT_EQ(card, Screen().Params());
    EXPECT_EQ(LoadPanelSetup(Screen()).scanRow, 16);

    // One automatic trial step: store and write without reading.
    values.scanRow = 20;
    ASSERT_TRUE(StoreAndWritePanelSetup(Screen(), values));
    EXPECT_EQ(Card().U8(P::FoldMode), 0x89);
}

TEST_F(ControllerConfigTest, PanelSetupWithoutAnAnswerKeepsTheValuesAndSendsNothing)
{
    StartSilent();
    CModelInfo model;
    ASSERT_TRUE(model.AssignFromName(QStringLiteral("RZ-C2")));
    Screen().SetIdentity(model.Identity());
    PanelSetupValues values = LoadPanelSetup(Screen());
    values.width = 128;
    values.modelName = QStringLiteral("RZ-CU");
    EXPECT_FALSE(RunPanelSetup(Screen(), values, ui));
    EXPECT_EQ(Screen().Params().PanelWidth(), 128);
    CModelInfo stored;
    stored.AssignFromIdentity(Screen().Identity());
    EXPECT_EQ(stored.GetName(), QStringLiteral("RZ-CU"));
    // A U model whose link never answered: saved, but not sent.
    ASSERT_EQ(ui.warnings.size(), 1);
    EXPECT_EQ(ui.warnings[0],
              QStringLiteral("Parameters has saved,but failed on send to Controller:Timeout."));

    ui.warnings.clear();
    values.modelName = QStringLiteral("RI-ZA");
    EXPECT_FALSE(RunPanelSetup(Screen(), values, ui));
    EXPECT_EQ(ui.warnings, QStringList{QStringLiteral("Parameters has saved.")});
}

TEST_F(ControllerConfigTest, AdvancedSetupRebuildsFlagsAndFolds)
{
    Start();
    Screen().Params().SetU8(P::PanelFlags, 0xF8);
    AdvancedSetupValues values = LoadAdvancedSetup(Screen());
    values.rowOrder = -2;
    values.mirror8bit = true;
    values.pixelOrder = 2;
    values.scanIndex = 2;
    values.warpNumIndex = 0;
    values.warp16 = true;
    values.warpDown = true;
    ASSERT_TRUE(RunAdvancedSetup(Screen(), values, ui, 0));
    ControllerParams card = Card();
    EXPECT_EQ(card.U8(P::RowOrder), 0xFE);
    EXPECT_EQ(card.U8(P::PanelFlags), 0x02);
    EXPECT_EQ(card.U8(P::PixelOrder), 2);
    EXPECT_EQ(card.U8(P::ScanMode), 0x20);
    EXPECT_EQ(card.U8(P::FoldMode), 32 + 128); // no fold, whatever Warp bit says

    values.warpNumIndex = 2;
    values.warpDown = false;
    ASSERT_TRUE(RunAdvancedSetup(Screen(), values, ui, 0));
    card = Card();
    EXPECT_EQ(card.U8(P::ScanMode), 0x22);
    EXPECT_EQ(card.U8(P::FoldMode), 16);
    const AdvancedSetupValues loaded = LoadAdvancedSetup(Screen());
    EXPECT_EQ(loaded.rowOrder, -2);
    EXPECT_TRUE(loaded.warp16);
    EXPECT_FALSE(loaded.warpDown);
}

TEST_F(ControllerConfigTest, AdvancedSetupWithoutAnAnswerWritesNothing)
{
    StartSilent();
    CModelInfo model;
    ASSERT_TRUE(model.AssignFromName(QStringLiteral("RI-ZI")));
    Screen().SetIdentity(model.Identity());
    AdvancedSetupValues values = LoadAdvancedSetup(Screen());
    values.height = 64;
    EXPECT_FALSE(RunAdvancedSetup(Screen(), values, ui, 0));
    EXPECT_EQ(Screen().Params().PanelHeight(), 64);
    ASSERT_EQ(ui.warnings.size(), 1);
    EXPECT_TRUE(ui.warnings[0].startsWith(QStringLiteral("Parameters has saved,but failed")));
}

TEST_F(ControllerConfigTest, CommunicationSummaryNamesTheLink)
{
    StartSilent();
    Screen().Link().panelId = 3;
    EXPECT_EQ(
        CommunicationSummary(Screen()),
        QStringLiteral("Communication: Ethernet\nIP address: 127.0.0.1\nPort: %1\nPanel ID: 3")
            .arg(peer.Port()));
    Screen().SetLinkKind(0);
    Screen().Link().comPort = 4;
    Screen().Link().baudRate = 9600;
    EXPECT_EQ(
        CommunicationSummary(Screen()),
        QStringLiteral("Communication: Serial port\nPort number: 4\nBaudrate: 9600\nPanel ID: 3"));
}

TEST_F(ControllerConfigTest, SerialSetupTakesIdsFrom1To255)
{
    Start();
    SerialControllerSetup setup = LoadSerialControllerSetup(Screen());
    EXPECT_EQ(setup.panelId, 1);
    setup.panelId = 7;
    setup.baudRate = 9600;
    ASSERT_TRUE(RunSerialControllerSetup(Screen(), setup, ui));
    EXPECT_EQ(Card().U16(P::PanelId), 7);
    EXPECT_EQ(Card().U32(P::BaudRate), 9600u);
    EXPECT_EQ(Screen().Link().panelId, 7);
    EXPECT_EQ(Screen().Link().baudRate, 9600);

    // The card now answers as panel 7; an ID of 300 goes out as 1.
    setup.panelId = 300;
    ASSERT_TRUE(RunSerialControllerSetup(Screen(), setup, ui));
    EXPECT_EQ(Card().U16(P::PanelId), 1);
    EXPECT_EQ(Screen().Link().panelId, 1);
    EXPECT_EQ(ui.informs.size(), 2);
}

TEST_F(ControllerConfigTest, RefusedWriteKeepsTheControllersAddress)
{
    Start({QStringLiteral("--status"), QStringLiteral("32:3")});
    SerialControllerSetup setup;
    setup.panelId = 9;
    EXPECT_FALSE(RunSerialControllerSetup(Screen(), setup, ui));
    EXPECT_EQ(Screen().Params().U16(P::PanelId), 1);
    EXPECT_EQ(Screen().Link().panelId, 1);
    ASSERT_EQ(ui.warnings.size(), 1);
    EXPECT_TRUE(ui.warnings[0].startsWith(QStringLiteral("Command failed:")));
    // Still reachable where it was.
    EXPECT_TRUE(LinkOf(Screen()).ReadParams());
}

TEST_F(ControllerConfigTest, NetworkSetupParsesBeforeSending)
{
    Start();
    NetworkControllerSetup setup = LoadNetworkControllerSetup(Screen());
    EXPECT_EQ(setup.macText, QStringLiteral("00-00-00-00-00-00"));
    for (const char* ip : {"10.0.0", "10.0.0.256", "a.b.c.d", "10.0.0.9.1", ""}) {
        setup.ipText = QLatin1String(ip);
        EXPECT_EQ(RunNetworkControllerSetup(Screen(), setup, ui), ControllerSetupResult::BadIp)
            << ip;
    }
    EXPECT_TRUE(ui.warnings.isEmpty());
    setup.ipText = QStringLiteral("127.0.0.1");
    for (const char* mac : {"00-11-22-33-44", "00-11-22-33-44-100", "00-11-22-33-44-GG",
                            "00-11-22-33-44-55-66", "00:11:22:33:44:55"}) {
        setup.macText = QLatin1String(mac);
        EXPECT_EQ(RunNetworkControllerSetup(Screen(), setup, ui), ControllerSetupResult::BadMac)
            << mac;
    }
    EXPECT_EQ(ui.warnings.size(), 5);
    EXPECT_EQ(ui.warnings.value(0), QStringLiteral("MAC Error!"));
    EXPECT_FALSE(sim->Output().contains(QStringLiteral("command 33")));
    EXPECT_FALSE(CardWasWritten());
}

TEST_F(ControllerConfigTest, NetworkSetupMovesTheLinkWithTheController)
{
    Start();
    int flushes = 0;
    SetNeighbourCacheFlusher([&](const QString&) { ++flushes; });
    NetworkControllerSetup setup = LoadNetworkControllerSetup(Screen());
    setup.ipText = QStringLiteral("10.0.0.9");
    setup.macText = QStringLiteral("0a-1B-2c-3D-4e-5F");
    setup.macChanged = true;
    setup.assignIpToPc = true;
    setup.panelId = 0;
    ASSERT_EQ(RunNetworkControllerSetup(Screen(), setup, ui), ControllerSetupResult::Succeeded);
    const ControllerParams card = Card();
    EXPECT_EQ(ControllerIpText(card), QStringLiteral("10.0.0.9"));
    EXPECT_EQ(ControllerMacText(card), QStringLiteral("0A-1B-2C-3D-4E-5F"));
    EXPECT_EQ(card.U8(P::NetworkOptions), 0);
    EXPECT_EQ(card.U8(45), 1);
    EXPECT_EQ(card.U16(P::PanelId), 1);
    EXPECT_EQ(Screen().Link().remoteIp, QStringLiteral("10.0.0.9"));
    EXPECT_EQ(Screen().Params().U8(45), 0);
    EXPECT_EQ(flushes, 1);
    EXPECT_EQ(ui.informs, QStringList{QStringLiteral("Command succeed.")});
    // Nothing more goes out: the link now names an address off this machine.
}

TEST(TimetableRows, MinutesAndTheUnusedBit)
{
    TimetableRow row{6, 30, 18, 0, 12, true};
    ScheduleEntry entry = EncodeTimetableRow(row);
    EXPECT_EQ(entry.start, 390);
    EXPECT_EQ(entry.end, 1080);
    EXPECT_EQ(entry.value, 12);
    row.selected = false;
    entry = EncodeTimetableRow(row);
    EXPECT_EQ(entry.start, 33158);

    const TimetableRow shown = DecodeTimetableRow(ScheduleEntry{33158, 1080, 12});
    EXPECT_EQ(shown.startHour, 6);
    EXPECT_EQ(shown.startMinute, 30);
    EXPECT_FALSE(shown.selected);
    const TimetableRow beyond = DecodeTimetableRow(ScheduleEntry{0x7FFF, 0xFFFF, 1});
    EXPECT_EQ(beyond.startHour, 23);
    EXPECT_EQ(beyond.endMinute, 59);
    EXPECT_TRUE(beyond.selected);
}

TEST_F(ControllerConfigTest, TimetableRowsKeepTheirPlaces)
{
    Start();
    std::vector<TimetableRow> rows = BrightnessRows(Screen().Params());
    ASSERT_EQ(rows.size(), 6u);
    rows[0] = {1, 0, 2, 0, 3, false};
    rows[1] = {6, 30, 18, 0, 12, true};
    ASSERT_TRUE(SendBrightnessRows(Screen(), ui, rows));
    ControllerParams card = Card();
    EXPECT_EQ(card.BrightnessEntry(0).start, 60 | 0x8000);
    EXPECT_EQ(card.BrightnessEntry(1).start, 390);
    EXPECT_EQ(card.BrightnessEntry(1).value, 12);
    EXPECT_EQ(card.U8(P::BrightnessMode), 2);

    std::vector<TimetableRow> power = PowerRows(Screen().Params());
    ASSERT_EQ(power.size(), 4u);
    power[3] = {22, 0, 23, 30, 0, true};
    ASSERT_TRUE(SendPowerRows(Screen(), ui, power));
    card = Card();
    EXPECT_EQ(card.PowerEntry(3).start, 22 * 60);
    EXPECT_EQ(card.PowerEntry(3).end, 23 * 60 + 30);
    EXPECT_EQ(card.U8(P::PowerMode), 2);
}

TEST_F(ControllerConfigTest, BasicModelsStayManual)
{
    StartSilent();
    Screen().Params().SetU8(P::BrightnessMode, 2);
    Screen().Params().SetU8(P::PowerMode, 2);
    EXPECT_TRUE(KeepModesManualForBasicModel(Screen()));
    EXPECT_EQ(Screen().Params().U8(P::BrightnessMode), 2);
    CModelInfo model;
    ASSERT_TRUE(model.AssignFromName(QStringLiteral("RZ-S1")));
    Screen().SetIdentity(model.Identity());
    EXPECT_FALSE(KeepModesManualForBasicModel(Screen()));
    EXPECT_EQ(Screen().Params().U8(P::BrightnessMode), 1);
    EXPECT_EQ(Screen().Params().U8(P::PowerMode), 1);
}

TEST_F(ControllerConfigTest, LinkSetupStoresAndTests)
{
    Start();
    LinkSetupValues values = LoadLinkSetup(Screen());
    EXPECT_EQ(values.kind, LinkKind::Network);
    values.panelId.reset(); // not editable: nothing changes
    values.baudRate = 1234;
    values.timeoutMs = 200;
    StoreLinkSetup(Screen(), values);
    EXPECT_EQ(Screen().Link().panelId, 1);
    EXPECT_EQ(Screen().Link().baudRate, 57600);
    EXPECT_TRUE(TestLinkSetup(Screen()));

    for (int bad : {0, 70000}) {
        values.panelId = bad;
        StoreLinkSetup(Screen(), values);
        EXPECT_EQ(Screen().Link().panelId, 1);
        EXPECT_EQ(Screen().Params().U16(P::PanelId), 1);
    }
    values.panelId = 40;
    StoreLinkSetup(Screen(), values);
    EXPECT_EQ(Screen().Params().U16(P::PanelId), 40);
    EXPECT_FALSE(TestLinkSetup(Screen())); // the card is panel 1
    EXPECT_EQ(NoDeviceQuestion(Screen()),
              QStringLiteral("No device be detect in 127.0.0.1 @ %1, do you want to setup again ?")
                  .arg(sim->Port()));

    values.kind = LinkKind::Serial;
    values.comPort = 3;
    values.baudRate = 9600;
    StoreLinkSetup(Screen(), values);
    EXPECT_EQ(Screen().Link().linkKind, 0);
    EXPECT_EQ(NoDeviceQuestion(Screen()),
              QStringLiteral("No device be detect in COM3 @ 9600, do you want to setup again ?"));
}
