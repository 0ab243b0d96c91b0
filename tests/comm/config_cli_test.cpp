// lumivant-cli panel-setup, controller-setup and link-setup against lumivant-sim on
// loopback UDP: what the card and the project file hold afterwards.
#include "comm_test_support.h"

#include "comm/controller_link.h"
#include "model/controller_params.h"
#include "model/project_root.h"
#include "model/screen.h"
#include "support/test_support.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using P = ControllerParams;

class ConfigCliTest : public testing::Test
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
    CliRun Run(const QString& command, const QStringList& words)
    {
        return RunCli(QStringList{command, project} + words + Link(), 30000);
    }
    ControllerParams Card()
    {
        ControllerParams params;
        const QByteArray bytes = ReadFileBytes(state + QStringLiteral("/params.bin"));
        if (bytes.size() == P::kSize)
            std::copy(bytes.begin(), bytes.end(), params.Bytes().begin());
        return params;
    }
    // The first screen of the project file as it is now.
    std::unique_ptr<CProjectRoot> Saved()
    {
        auto root = std::make_unique<CProjectRoot>();
        EXPECT_TRUE(root->LoadProject(project));
        return root;
    }
    static CScreen& First(CProjectRoot& root) { return *static_cast<CScreen*>(root.GetChild(0)); }

    QTemporaryDir dir;
    QString project;
    QString state;
    std::unique_ptr<SimProcess> sim;
};

} // namespace

TEST_F(ConfigCliTest, ListScansNeedsNoFile)
{
    const CliRun run = RunCli({QStringLiteral("panel-setup"), QStringLiteral("--list-scans")});
    EXPECT_EQ(run.exitCode, 0);
    const QList<QByteArray> lines = run.out.trimmed().split('\n');
    ASSERT_EQ(lines.size(), 38);
    EXPECT_TRUE(lines[16].contains("4-16-4-1-A")) << lines[16].toStdString();
    EXPECT_TRUE(lines[16].contains("4.5 A 1/4"));
    EXPECT_TRUE(lines[37].startsWith("37"));
}

TEST_F(ConfigCliTest, PanelSetupChangesOnlyWhatIsGiven)
{
    Start();
    CliRun run =
        Run(QStringLiteral("panel-setup"),
            {QStringLiteral("--width"), QStringLiteral("100"), QStringLiteral("--height"),
             QStringLiteral("20"), QStringLiteral("--scan"), QStringLiteral("4-16-4-1-A"),
             QStringLiteral("--mirror-updown"), QStringLiteral("--no-138"),
             QStringLiteral("--oe-polarity"), QStringLiteral("-"), QStringLiteral("--row-order"),
             QStringLiteral("-1"), QStringLiteral("--save")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out.trimmed(), QByteArray("Command succeed."));
    const ControllerParams card = Card();
    const P defaults;
    EXPECT_EQ(card.PanelWidth(), 96);
    EXPECT_EQ(card.PanelHeight(), 16);
    EXPECT_EQ(card.U8(P::ScanMode), 0x22);
    EXPECT_EQ(card.U8(P::FoldMode), 0x90);
    EXPECT_EQ(card.U8(P::PanelFlags), 0x05);
    EXPECT_EQ(card.U8(P::OePolarity), 0);
    EXPECT_EQ(card.U8(P::RowOrder), 0xFF);
    EXPECT_EQ(card.U8(P::ColourType), defaults.U8(P::ColourType));
    EXPECT_EQ(card.U8(P::Blanking), defaults.U8(P::Blanking));
    // The file keeps the block and its own link settings.
    auto saved = Saved();
    EXPECT_EQ(First(*saved).Params(), card);
    EXPECT_NE(First(*saved).Link().remotePort, sim->Port());

    run = Run(QStringLiteral("panel-setup"), {QStringLiteral("--scan"), QStringLiteral("1")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(Card().U8(P::FoldMode), 0x88);
    EXPECT_EQ(Card().U8(P::PanelFlags), 0x04);
}

TEST_F(ConfigCliTest, PanelSetupRefusesBadInputBeforeSending)
{
    Start();
    for (const QStringList& words :
         {QStringList{QStringLiteral("--scan"), QStringLiteral("4-8-4-2")},
          QStringList{QStringLiteral("--scan"), QStringLiteral("38")},
          QStringList{QStringLiteral("--scan"), QStringLiteral("2")},
          QStringList{QStringLiteral("--model"), QStringLiteral("RZ-B+")},
          QStringList{QStringLiteral("--width"), QStringLiteral("0")},
          QStringList{QStringLiteral("--width"), QStringLiteral("65535")},
          QStringList{QStringLiteral("--height"), QStringLiteral("tall")},
          QStringList{QStringLiteral("--colors"), QStringLiteral("RGBW")},
          QStringList{QStringLiteral("--blanking"), QStringLiteral("4")},
          QStringList{QStringLiteral("--scan"), QStringLiteral("1"), QStringLiteral("--no-138")}}) {
        const CliRun run = Run(QStringLiteral("panel-setup"), words);
        EXPECT_EQ(run.exitCode, 2) << words.join(u' ').toStdString();
    }
    EXPECT_FALSE(sim->Output().contains(QStringLiteral("command")));
}

TEST_F(ConfigCliTest, PanelSetupOnASilentCardKeepsTheValuesInTheFile)
{
    SilentPeer peer;
    const CliRun run = RunCli(
        {QStringLiteral("panel-setup"), project, QStringLiteral("--width"), QStringLiteral("128"),
         QStringLiteral("--model"), QStringLiteral("RI-ZA"), QStringLiteral("--save"),
         QStringLiteral("--udp"), QStringLiteral("127.0.0.1:%1").arg(peer.Port()),
         QStringLiteral("--timeout"), QStringLiteral("150")},
        30000);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("Parameters has saved.")) << run.err.toStdString();
    auto saved = Saved();
    EXPECT_EQ(First(*saved).Width(), 128);
    EXPECT_EQ(LinkOf(First(*saved)).ModelInfo().GetName(), QStringLiteral("RI-ZA"));
}

TEST_F(ConfigCliTest, ControllerSetupOverTheNetwork)
{
    Start();
    CliRun run =
        Run(QStringLiteral("controller-setup"), {QStringLiteral("--ip"), QStringLiteral("1.2.3")});
    EXPECT_EQ(run.exitCode, 2);
    run = Run(QStringLiteral("controller-setup"),
              {QStringLiteral("--mac"), QStringLiteral("00-11-22-33-44")});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.err.contains("MAC Error!")) << run.err.toStdString();
    run =
        Run(QStringLiteral("controller-setup"), {QStringLiteral("--baud"), QStringLiteral("9600")});
    EXPECT_EQ(run.exitCode, 2); // a network link has no controller baud rate to set here
    EXPECT_FALSE(sim->Output().contains(QStringLiteral("command")));

    run = Run(QStringLiteral("controller-setup"),
              {QStringLiteral("--ip"), QStringLiteral("127.0.0.1"), QStringLiteral("--mac"),
               QStringLiteral("02-00-00-00-00-09"), QStringLiteral("--assign-ip-to-pc"),
               QStringLiteral("no"), QStringLiteral("--id"), QStringLiteral("300"),
               QStringLiteral("--save")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const ControllerParams card = Card();
    EXPECT_EQ(card.U8(P::Ip), 127);
    EXPECT_EQ(card.U8(P::Mac + 5), 9);
    EXPECT_EQ(card.U8(P::NetworkOptions), 1);
    EXPECT_EQ(card.U8(45), 1);
    EXPECT_EQ(card.U16(P::PanelId), 1);
    auto saved = Saved();
    EXPECT_EQ(First(*saved).Link().remoteIp, QStringLiteral("127.0.0.1"));
    EXPECT_EQ(First(*saved).Params().U8(45), 0);

    run = Run(QStringLiteral("controller-setup"), {QStringLiteral("--id"), QStringLiteral("12")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(Card().U16(P::PanelId), 12);
    EXPECT_EQ(Card().U8(P::Ip), 127); // kept
}

TEST_F(ConfigCliTest, LinkSetupKeepsTheSettingsWhetherOrNotTheCardAnswers)
{
    Start();
    CliRun run =
        RunCli({QStringLiteral("link-setup"), project, QStringLiteral("--udp"),
                QStringLiteral("127.0.0.1:%1").arg(sim->Port()), QStringLiteral("--panel-id"),
                QStringLiteral("70000"), QStringLiteral("--timeout"), QStringLiteral("400")},
               30000);
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    auto saved = Saved();
    EXPECT_EQ(First(*saved).Link().linkKind, 1);
    EXPECT_EQ(First(*saved).Link().remotePort, sim->Port());
    EXPECT_EQ(First(*saved).Link().panelId, 1);
    EXPECT_EQ(First(*saved).Link().timeoutMs, 400);

    SilentPeer peer;
    run = RunCli({QStringLiteral("link-setup"), project, QStringLiteral("--udp"),
                  QStringLiteral("127.0.0.2:%1").arg(peer.Port()), QStringLiteral("--timeout"),
                  QStringLiteral("150")},
                 30000);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(
        QStringLiteral("No device be detect in 127.0.0.2 @ %1.").arg(peer.Port()).toUtf8()))
        << run.err.toStdString();
    saved = Saved();
    EXPECT_EQ(First(*saved).Link().remoteIp, QStringLiteral("127.0.0.2"));

    for (const QStringList& words :
         {QStringList{QStringLiteral("--udp"), QStringLiteral("127.0.0:80")},
          QStringList{QStringLiteral("--serial"), QStringLiteral("/dev/null")},
          QStringList{QStringLiteral("--serial"), QStringLiteral("COM1"), QStringLiteral("--udp"),
                      QStringLiteral("127.0.0.1")},
          QStringList{}})
        EXPECT_EQ(RunCli(QStringList{QStringLiteral("link-setup"), project} + words).exitCode, 2)
            << words.join(u' ').toStdString();
}

TEST_F(ConfigCliTest, ControllerSetupOverASerialLine)
{
    PtyPair line(dir.filePath(QStringLiteral("pc")), dir.filePath(QStringLiteral("card")));
    ASSERT_TRUE(line.Ready());
    SimProcess card({QStringLiteral("--serial"), line.controller, QStringLiteral("--state"), state},
                    false);
    ASSERT_TRUE(card.Started()) << card.Output().toStdString();
    const QStringList link = {QStringLiteral("--serial"), line.pc, QStringLiteral("--timeout"),
                              QStringLiteral("1000")};
    CliRun run = RunCli(QStringList{QStringLiteral("controller-setup"), project,
                                    QStringLiteral("--ip"), QStringLiteral("127.0.0.1")} +
                            link,
                        30000);
    EXPECT_EQ(run.exitCode, 2); // an address needs a network link

    run = RunCli(QStringList{QStringLiteral("controller-setup"), project, QStringLiteral("--baud"),
                             QStringLiteral("9600"), QStringLiteral("--id"), QStringLiteral("300"),
                             QStringLiteral("--save")} +
                     link,
                 30000);
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out.trimmed(), QByteArray("Command succeed."));
    EXPECT_EQ(Card().U32(P::BaudRate), 9600u);
    EXPECT_EQ(Card().U16(P::PanelId), 1);
    auto saved = Saved();
    EXPECT_EQ(First(*saved).Link().baudRate, 9600);
    EXPECT_EQ(First(*saved).Link().comPort, 0); // the device of this command line stays out
}
