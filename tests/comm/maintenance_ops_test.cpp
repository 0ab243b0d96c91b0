// The maintenance commands against lumivant-sim on loopback UDP: what the controller
// received (its log and its saved parameter block) and what the person is told.
#include "comm_test_support.h"
#include "maintenance_test_ui.h"

#include "comm/controller_link.h"
#include "comm/maintenance_ops.h"
#include "comm/schedule_text.h"
#include "model/screen.h"
#include "support/test_support.h"

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using P = ControllerParams;

ControllerParams ParamsFromFile(const QString& path)
{
    ControllerParams params;
    const QByteArray bytes = ReadFileBytes(path);
    if (bytes.size() == P::kSize)
        std::copy(bytes.begin(), bytes.end(), params.Bytes().begin());
    return params;
}

class MaintenanceOpsTest : public testing::Test
{
protected:
    void Start(QStringList extra = {})
    {
        ASSERT_TRUE(dir.isValid());
        extra << QStringLiteral("--state") << dir.path();
        sim = std::make_unique<SimProcess>(extra);
        ASSERT_TRUE(sim->Started()) << sim->Output().toStdString();
        project = std::make_unique<UdpProject>(sim->Port(), 1000);
    }
    CScreen& Screen() { return *project->screen; }
    ControllerParams Saved() { return ParamsFromFile(dir.filePath(QStringLiteral("params.bin"))); }

    QTemporaryDir dir;
    std::unique_ptr<SimProcess> sim;
    std::unique_ptr<UdpProject> project;
    RecordingOperationUi ui;
};

} // namespace

TEST_F(MaintenanceOpsTest, SyncTimeSendsTheClock)
{
    Start();
    ASSERT_TRUE(SyncPanelTime(Screen(), ui));
    EXPECT_EQ(ui.informs, QStringList{QStringLiteral("Command succeed.")});
    ASSERT_TRUE(sim->WaitForOutput(QStringLiteral("command 37")));
    ASSERT_TRUE(sim->WaitForOutput(QStringLiteral("clock ")));
    // The card shows the seconds it received as a date: this PC's local time.
    static const QRegularExpression kClock(QStringLiteral("clock (\\S+)"));
    const auto match = kClock.match(sim->Output());
    ASSERT_TRUE(match.hasMatch()) << sim->Output().toStdString();
    const QDateTime received = QDateTime::fromString(match.captured(1), Qt::ISODate);
    const QDateTime now = QDateTime::currentDateTime();
    const QDateTime localAsUtc(now.date(), now.time(), Qt::UTC);
    EXPECT_LT(std::abs(received.secsTo(localAsUtc)), 120) << match.captured(1).toStdString();
}

TEST_F(MaintenanceOpsTest, ResetAsksAndSendsOnlyOnYes)
{
    Start();
    ui.answer = Answer::No;
    EXPECT_FALSE(ResetPanelParams(Screen(), ui));
    EXPECT_EQ(ui.questions,
              QStringList{QStringLiteral("This function only for professional, continue ?")});
    EXPECT_TRUE(ui.informs.isEmpty());
    EXPECT_TRUE(ui.warnings.isEmpty());
    ui.answer = Answer::Yes;
    ASSERT_TRUE(ResetPanelParams(Screen(), ui));
    EXPECT_EQ(ui.informs, QStringList{QStringLiteral("Command succeed.")});
    EXPECT_TRUE(sim->WaitForOutput(QStringLiteral("#1 command 35")));
    EXPECT_FALSE(sim->Output().contains(QStringLiteral("#2 command 35")));
}

TEST_F(MaintenanceOpsTest, ClearSendsAtOnce)
{
    Start();
    ASSERT_TRUE(ClearPanel(Screen(), ui));
    EXPECT_TRUE(ui.questions.isEmpty());
    EXPECT_TRUE(sim->WaitForOutput(QStringLiteral("command 39")));
}

TEST_F(MaintenanceOpsTest, ManualBrightnessKeepsTheMode)
{
    Start();
    ASSERT_TRUE(SetManualBrightness(Screen(), ui, 12));
    const ControllerParams saved = Saved();
    EXPECT_EQ(saved.U8(P::Brightness), 12);
    EXPECT_EQ(saved.U8(P::BrightnessMode), Screen().Params().U8(P::BrightnessMode));
    // Read first, then the whole block.
    ASSERT_TRUE(sim->WaitForOutput(QStringLiteral("command 32 (")));
    const QString output = sim->Output();
    EXPECT_LT(output.indexOf(QStringLiteral("command 33")),
              output.indexOf(QStringLiteral("command 32")));
}

TEST_F(MaintenanceOpsTest, BrightnessTimetableFillsSixRows)
{
    Start();
    std::vector<ScheduleEntry> entries;
    QString error;
    ASSERT_TRUE(ParseScheduleText(QStringLiteral("06:30-18:00=12, 20:00-23:59=3"),
                                  ScheduleKind::Brightness, entries, error));
    ASSERT_TRUE(SetBrightnessTimetable(Screen(), ui, entries));
    const ControllerParams saved = Saved();
    EXPECT_EQ(saved.U8(P::BrightnessMode), 2);
    EXPECT_EQ(saved.BrightnessEntry(0).start, 390);
    EXPECT_EQ(saved.BrightnessEntry(0).end, 1080);
    EXPECT_EQ(saved.BrightnessEntry(0).value, 12);
    EXPECT_EQ(saved.BrightnessEntry(1).start, 1200);
    EXPECT_EQ(saved.BrightnessEntry(1).end, 1439);
    EXPECT_EQ(saved.BrightnessEntry(1).value, 3);
    for (int row = 2; row < P::kBrightnessEntries; ++row)
        EXPECT_FALSE(saved.BrightnessEntry(row).InUse()) << row;
}

TEST_F(MaintenanceOpsTest, PowerOffSendsThePowerGroup)
{
    Start();
    ASSERT_TRUE(SetPanelPower(Screen(), ui, false));
    EXPECT_TRUE(sim->WaitForOutput(QStringLiteral("command 36 (")));
    EXPECT_TRUE(sim->Output().contains(QStringLiteral("payload 24 bytes")));
    EXPECT_TRUE(sim->Output().contains(QStringLiteral("power off")));
    const ControllerParams saved = Saved();
    EXPECT_EQ(saved.U8(P::PowerState), 0);
    EXPECT_EQ(saved.U8(P::PowerMode), 1);
    ASSERT_TRUE(SetPanelPower(Screen(), ui, true));
    EXPECT_TRUE(sim->WaitForOutput(QStringLiteral("power on")));
    EXPECT_EQ(Saved().U8(P::PowerState), 1);
}

TEST_F(MaintenanceOpsTest, PowerTimetableWritesTheBlock)
{
    Start();
    std::vector<ScheduleEntry> entries;
    QString error;
    ASSERT_TRUE(
        ParseScheduleText(QStringLiteral("07:00-22:00=on"), ScheduleKind::Power, entries, error));
    ASSERT_TRUE(SetPowerTimetable(Screen(), ui, entries));
    const ControllerParams saved = Saved();
    EXPECT_EQ(saved.U8(P::PowerMode), 2);
    EXPECT_EQ(saved.PowerEntry(0).start, 420);
    EXPECT_EQ(saved.PowerEntry(0).end, 1320);
    EXPECT_EQ(saved.PowerEntry(0).value, 1);
    for (int row = 1; row < P::kPowerEntries; ++row)
        EXPECT_FALSE(saved.PowerEntry(row).InUse()) << row;
}

TEST_F(MaintenanceOpsTest, BasicModelHasNoTimetable)
{
    Start({QStringLiteral("--model"), QStringLiteral("RZ-S1")});
    std::vector<ScheduleEntry> entries{ScheduleEntry{60, 120, 5}};
    EXPECT_FALSE(SetBrightnessTimetable(Screen(), ui, entries));
    ASSERT_EQ(ui.warnings.size(), 1);
    EXPECT_TRUE(ui.warnings[0].startsWith(QStringLiteral("Command failed:")));
    EXPECT_EQ(Screen().Params().U8(P::BrightnessMode), 1);
    ASSERT_TRUE(sim->WaitForOutput(QStringLiteral("command 33 (")));
    EXPECT_FALSE(sim->Output().contains(QStringLiteral("command 32 (")));
}

TEST(MaintenanceOpsOffline, FailureIsReportedAndTheChoiceStays)
{
    SilentPeer peer;
    UdpProject project(peer.Port(), 200);
    RecordingOperationUi ui;
    EXPECT_FALSE(SetManualBrightness(*project.screen, ui, 7));
    EXPECT_EQ(ui.warnings, QStringList{QStringLiteral("Command failed:Timeout.")});
    // The read failed: nothing was sent, and the chosen value stays in the project.
    EXPECT_EQ(project.screen->Params().U8(P::Brightness), 7);
    EXPECT_FALSE(LinkOf(*project.screen).Udp().IsOpen());
}

TEST(ScheduleText, ParsesAndRejects)
{
    std::vector<ScheduleEntry> entries;
    QString error;
    ASSERT_TRUE(ParseScheduleText(QStringLiteral("0:05-23:59=off,12:00-13:00=1"),
                                  ScheduleKind::Power, entries, error));
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].start, 5);
    EXPECT_EQ(entries[0].value, 0);
    EXPECT_EQ(ScheduleEntryText(entries[0], ScheduleKind::Power),
              QStringLiteral("00:05-23:59=off"));
    EXPECT_EQ(entries[1].value, 1);
    for (const char* bad :
         {"", "24:00-01:00=3", "01:60-02:00=3", "01:00-02:00=16", "01:00=3", "01:00-02:00=on",
          "1:00-2:00=1,1:00-2:00=1,1:00-2:00=1,1:00-2:00=1,"
          "1:00-2:00=1,1:00-2:00=1,1:00-2:00=1"}) {
        EXPECT_FALSE(
            ParseScheduleText(QString::fromLatin1(bad), ScheduleKind::Brightness, entries, error))
            << bad;
        EXPECT_FALSE(error.isEmpty());
    }
    EXPECT_FALSE(
        ParseScheduleText(QStringLiteral("01:00-02:00=5"), ScheduleKind::Power, entries, error));
}

TEST(ScheduleText, FillKeepsTimesOfUnusedRows)
{
    ControllerParams params;
    params.SetBrightnessEntry(3, ScheduleEntry{100, 200, 9});
    FillTimetable(params, false, {ScheduleEntry{390, 1080, 12}});
    EXPECT_EQ(params.BrightnessEntry(0).start, 390);
    EXPECT_EQ(params.BrightnessEntry(3).start, 100 | 0x8000);
    EXPECT_EQ(params.BrightnessEntry(3).end, 200);
}
