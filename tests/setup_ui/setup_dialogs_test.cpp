// The controller configuration dialogs driven with QTest against lumivant-sim on loopback
// UDP: what the simulated card holds afterwards and what the dialogs show.
#include "comm/comm_test_support.h"
#include "comm/maintenance_test_ui.h"

#include "app/dialogs/desktop_messages.h"
#include "app/setup_commands.h"
#include "base/app_settings.h"
#include "base/string_table.h"
#include "comm/controller_link.h"
#include "document/lumivant_doc.h"
#include "model/project_root.h"
#include "model/screen.h"
#include "setup_ui/advanced_setup_dlg.h"
#include "setup_ui/brightness_dlg.h"
#include "setup_ui/comm_setup_dlg.h"
#include "setup_ui/controller_setup_dlg.h"
#include "setup_ui/firmware_dlg.h"
#include "setup_ui/panel_setup_dlg.h"
#include "setup_ui/password_dlg.h"
#include "support/accessible_names.h"
#include "support/test_support.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeEdit>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace {

using P = ControllerParams;

template <typename T> T* Find(QWidget& parent, const char* name)
{
    T* child = parent.findChild<T*>(QLatin1String(name));
    EXPECT_NE(child, nullptr) << name;
    return child;
}

void Click(QWidget& parent, const char* name)
{
    if (auto* button = Find<QAbstractButton>(parent, name))
        button->click();
}

// Runs the step on the modal dialog of that name once it is open (a link's pumped wait may
// run timers before the dialog exists); gives up after about five seconds.
void WhenModal(const QString& name, const std::function<void(QWidget&)>& step, int tries = 500)
{
    QTimer::singleShot(10, [name, step, tries] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal && modal->objectName() == name)
            step(*modal);
        else if (tries > 0)
            WhenModal(name, step, tries - 1);
        else
            ADD_FAILURE() << "no dialog " << name.toStdString();
    });
}

// Closes the next message box once it is open.
void CloseMessageBox(int tries = 500)
{
    QTimer::singleShot(10, [tries] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
            box->accept();
        else if (tries > 0)
            CloseMessageBox(tries - 1);
        else
            ADD_FAILURE() << "no message box";
    });
}

// Types the code into the access-code prompt and confirms it.
void EnterCode(QWidget& prompt, const QString& code)
{
    prompt.findChild<QLineEdit*>(QStringLiteral("password"))->setText(code);
    static_cast<QDialog&>(prompt).accept();
}

class SetupDialogsTest : public testing::Test
{
protected:
    void SetUp() override { SetLanguage(Language::English); }

    void Start(QStringList extra = {})
    {
        ASSERT_TRUE(dir.isValid());
        extra << QStringLiteral("--state") << dir.path();
        sim = std::make_unique<SimProcess>(extra);
        ASSERT_TRUE(sim->Started()) << sim->Output().toStdString();
        Use(std::make_unique<UdpProject>(sim->Port(), 1000));
    }
    // The document holds the project; the forms change it through the document.
    void Use(std::unique_ptr<UdpProject> udp)
    {
        project = std::move(udp);
        doc.SetRoot(std::move(project->root), QString());
    }
    CScreen& Screen() { return *project->screen; }
    ControllerParams Card()
    {
        ControllerParams params;
        const QByteArray bytes = ReadFileBytes(dir.filePath(QStringLiteral("params.bin")));
        if (bytes.size() == P::kSize)
            std::copy(bytes.begin(), bytes.end(), params.Bytes().begin());
        return params;
    }
    int Writes() { return int(sim->Output().count(QStringLiteral("command 32 "))); }

    QTemporaryDir dir;
    std::unique_ptr<SimProcess> sim;
    CLumivantDoc doc;
    std::unique_ptr<UdpProject> project;
    RecordingOperationUi ui;
};

} // namespace

TEST_F(SetupDialogsTest, PanelSetupSendsRoundedSizesAndTheScanRow)
{
    Start();
    CPanelSetupDlg dialog(doc, Screen(), ui);
    Find<QSpinBox>(dialog, "width")->setValue(100);
    Find<QSpinBox>(dialog, "height")->setValue(20);
    Find<QComboBox>(dialog, "scanType")->setCurrentIndex(16);
    Find<QComboBox>(dialog, "colourType")->setCurrentIndex(2);
    Click(dialog, "setup");
    EXPECT_EQ(ui.informs, QStringList{QStringLiteral("Command succeed.")});
    EXPECT_EQ(Find<QSpinBox>(dialog, "width")->value(), 96);
    EXPECT_EQ(Find<QSpinBox>(dialog, "height")->value(), 16);
    const ControllerParams card = Card();
    EXPECT_EQ(card.PanelWidth(), 96);
    EXPECT_EQ(card.PanelHeight(), 16);
    EXPECT_EQ(card.U8(P::ColourType), 3);
    EXPECT_EQ(card.U8(P::FoldMode), 0x90);

    // Read Back shows what the card holds, and its model with the capability text.
    Find<QSpinBox>(dialog, "width")->setValue(512);
    Find<QComboBox>(dialog, "scanType")->setCurrentIndex(0);
    Click(dialog, "readBack");
    EXPECT_EQ(Find<QSpinBox>(dialog, "width")->value(), 96);
    EXPECT_EQ(Find<QComboBox>(dialog, "scanType")->currentIndex(), 16);
    EXPECT_EQ(Find<QComboBox>(dialog, "controller")->currentText(), QStringLiteral("RZ-C2"));
    EXPECT_EQ(Find<QLabel>(dialog, "properties")->text(), LoadString(42017));
}

TEST_F(SetupDialogsTest, PanelSetupModelChoiceShowsItsDetails)
{
    Start();
    CModelInfo unlisted;
    const std::array<std::uint8_t, 5> identity{0x90, 0x04, 1, 0, 0};
    ASSERT_TRUE(unlisted.AssignFromIdentity(identity));
    Screen().SetIdentity(identity);
    CPanelSetupDlg dialog(doc, Screen(), ui);
    EXPECT_EQ(Find<QComboBox>(dialog, "controller")->currentIndex(), -1); // RZ-B+
    EXPECT_TRUE(Find<QLabel>(dialog, "properties")->text().isEmpty());
    Find<QComboBox>(dialog, "controller")->setCurrentText(QStringLiteral("RI-ZA"));
    EXPECT_EQ(Find<QLabel>(dialog, "properties")->text(), LoadString(42019));
    EXPECT_TRUE(Find<QLabel>(dialog, "wiringDiagram")->isHidden());
    // The identity changes only on Setup.
    EXPECT_EQ(Screen().Identity(), identity);
}

TEST_F(SetupDialogsTest, AutoSwitchSkipsTheSeparatorAndWraps)
{
    Start();
    CPanelSetupDlg dialog(doc, Screen(), ui);
    dialog.SetAutoSwitchTiming(10, 60);
    auto* scan = Find<QComboBox>(dialog, "scanType");
    scan->setCurrentIndex(1);
    Click(dialog, "autoSwitch"); // shows the group and starts
    ASSERT_TRUE(dialog.IsAutoSwitchRunning());
    EXPECT_FALSE(Find<QPushButton>(dialog, "cancel")->isEnabled());
    EXPECT_FALSE(scan->isEnabled());
    ASSERT_TRUE(QTest::qWaitFor([&] { return scan->currentIndex() >= 3; }, 5000));
    EXPECT_TRUE(Find<QLabel>(dialog, "status")->text().contains(scan->currentText()));
    EXPECT_TRUE(Find<QLabel>(dialog, "status")->text().contains(QStringLiteral("after 1 seconds")));
    Click(dialog, "startStop");
    EXPECT_FALSE(dialog.IsAutoSwitchRunning());
    EXPECT_TRUE(scan->isEnabled());
    EXPECT_TRUE(Find<QLabel>(dialog, "status")->text().isEmpty());
    // Row 3 (16-8-2-1) reached the card; the separator (0x40, fold 0) never did.
    EXPECT_TRUE(QTest::qWaitFor([&] { return Card().U8(P::ScanMode) == 0x41; }, 3000));
    EXPECT_EQ(Card().U8(P::FoldMode), 0x88);

    scan->setCurrentIndex(37);
    Click(dialog, "startStop");
    ASSERT_TRUE(QTest::qWaitFor([&] { return scan->currentIndex() == 0; }, 5000));
    Click(dialog, "startStop");
    ASSERT_TRUE(QTest::qWaitFor([&] { return Card().U8(P::ScanMode) == 0x40; }, 3000));
    EXPECT_EQ(Card().U8(P::FoldMode), 32);
}

TEST_F(SetupDialogsTest, AutoSwitchStopsWhenTheCardFails)
{
    Start({QStringLiteral("--status"), QStringLiteral("32:3")});
    CPanelSetupDlg dialog(doc, Screen(), ui);
    dialog.SetAutoSwitchTiming(10, 60);
    Click(dialog, "autoSwitch");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !dialog.IsAutoSwitchRunning(); }, 5000));
    EXPECT_TRUE(
        Find<QLabel>(dialog, "status")->text().startsWith(QStringLiteral("Command failed:")));
    EXPECT_TRUE(Find<QPushButton>(dialog, "setup")->isEnabled());
}

TEST_F(SetupDialogsTest, AdvancedSetupAddsAndRemovesPanels)
{
    Start();
    ui.answer = Answer::No; // the new screen's port does not answer: keep it anyway
    CAdvancedSetupDlg dialog(doc, Screen(), ui);
    auto* panels = Find<QListWidget>(dialog, "panelList");
    ASSERT_EQ(panels->count(), 1);
    EXPECT_TRUE(Find<QLabel>(dialog, "communication")
                    ->text()
                    .startsWith(QStringLiteral("Communication: Ethernet\nIP address: 127.0.0.1")));

    Find<QComboBox>(dialog, "warpNum")->setCurrentIndex(0);
    EXPECT_FALSE(Find<QComboBox>(dialog, "warpMode")->isEnabled());
    EXPECT_FALSE(Find<QComboBox>(dialog, "warpBit")->isEnabled());
    Find<QComboBox>(dialog, "warpNum")->setCurrentIndex(2);
    EXPECT_TRUE(Find<QComboBox>(dialog, "warpBit")->isEnabled());

    // +Panel opens Communication Setup for the new screen: Cancel keeps nothing.
    QTimer::singleShot(0, [] {
        if (QWidget* modal = QApplication::activeModalWidget())
            Click(*modal, "cancel");
    });
    Click(dialog, "addPanel");
    EXPECT_EQ(panels->count(), 1);
    EXPECT_EQ(doc.UndoStack().count(), 0);

    QTimer::singleShot(0, [] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            EXPECT_TRUE(Find<QPushButton>(*modal, "config")->isHidden());
            Click(*modal, "save");
        }
    });
    Click(dialog, "addPanel");
    ASSERT_EQ(panels->count(), 2);
    EXPECT_EQ(doc.Root().GetChildCount(), 2);
    EXPECT_EQ(panels->currentRow(), 1);
    EXPECT_EQ(ui.questions.size(), 1);

    // Choosing a panel loads its values; Setup sends them to that panel's card.
    Find<QComboBox>(dialog, "scanType")->setCurrentIndex(1);
    panels->setCurrentRow(0);
    EXPECT_EQ(Find<QComboBox>(dialog, "scanType")->currentIndex(), 4);
    Find<QComboBox>(dialog, "scanType")->setCurrentIndex(2);
    Find<QComboBox>(dialog, "warpNum")->setCurrentIndex(0);
    Find<QComboBox>(dialog, "warpBit")->setCurrentIndex(0);
    Click(dialog, "setup");
    EXPECT_EQ(Card().U8(P::ScanMode), 0x20);
    EXPECT_EQ(Card().U8(P::FoldMode) & 0x7F, 32);

    Click(dialog, "removePanel");
    EXPECT_EQ(panels->count(), 1);
    EXPECT_EQ(doc.Root().GetChildCount(), 1);
    Click(dialog, "removePanel"); // the last screen stays
    EXPECT_EQ(doc.Root().GetChildCount(), 1);
}

TEST_F(SetupDialogsTest, NetworkControllerSetupMovesTheLink)
{
    Start();
    ASSERT_TRUE(LinkOf(Screen()).ReadParams());
    CNetworkControllerDlg dialog(doc, Screen(), ui);
    auto* mac = Find<QLineEdit>(dialog, "mac");
    EXPECT_TRUE(mac->isReadOnly());
    Find<QLineEdit>(dialog, "ip")->setText(QStringLiteral("127.0.0.5"));
    QTest::mouseDClick(mac, Qt::LeftButton);
    EXPECT_FALSE(mac->isReadOnly());
    mac->setText(QStringLiteral("02-00-00-00-00"));
    Click(dialog, "setup");
    EXPECT_EQ(ui.warnings, QStringList{QStringLiteral("MAC Error!")});
    EXPECT_EQ(Writes(), 0);
    EXPECT_EQ(dialog.result(), 0);

    mac->setText(QStringLiteral("02-00-00-00-00-07"));
    Find<QSpinBox>(dialog, "newId")->setValue(5);
    Click(dialog, "setup");
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(Screen().Link().remoteIp, QStringLiteral("127.0.0.5"));
    EXPECT_EQ(Screen().Link().panelId, 5);
    const ControllerParams card = Card();
    EXPECT_EQ(card.U8(P::Ip + 3), 5);
    EXPECT_EQ(card.U8(P::Mac + 5), 7);
    EXPECT_EQ(card.U16(P::PanelId), 5);
}

TEST_F(SetupDialogsTest, BrightnessTimetableAndStatus)
{
    Start();
    CBrightnessDlg dialog(doc, Screen(), ui);
    EXPECT_EQ(Find<QLabel>(dialog, "status")->text(), QStringLiteral("Current brightness is: 15 "));
    Click(dialog, "timing");
    Find<QTimeEdit>(dialog, "start1")->setTime(QTime(6, 30));
    Find<QTimeEdit>(dialog, "end1")->setTime(QTime(18, 0));
    Find<QComboBox>(dialog, "value1")->setCurrentIndex(12);
    Click(dialog, "selected1");
    EXPECT_TRUE(Find<QComboBox>(dialog, "value1")->isEnabled());
    EXPECT_FALSE(Find<QComboBox>(dialog, "value2")->isEnabled());
    Click(dialog, "timingOk");
    EXPECT_EQ(ui.informs, QStringList{QStringLiteral("Command succeed.")});
    const ControllerParams card = Card();
    EXPECT_EQ(card.BrightnessEntry(0).start, 390);
    EXPECT_EQ(card.BrightnessEntry(0).end, 1080);
    EXPECT_EQ(card.BrightnessEntry(0).value, 12);
    EXPECT_FALSE(card.BrightnessEntry(1).InUse());
    EXPECT_EQ(card.U8(P::BrightnessMode), 2);

    Click(dialog, "manual");
    EXPECT_EQ(Find<QComboBox>(dialog, "value")->itemText(0), QStringLiteral("0(Min)"));
    Find<QComboBox>(dialog, "value")->setCurrentIndex(0);
    Click(dialog, "manualOk");
    EXPECT_EQ(Card().U8(P::Brightness), 0);
    EXPECT_EQ(Card().U8(P::BrightnessMode), 2); // the manual page sends only the value
}

TEST_F(SetupDialogsTest, TurnOffAndBasicModels)
{
    Start({QStringLiteral("--model"), QStringLiteral("RZ-S1")});
    CModelInfo basic;
    ASSERT_TRUE(basic.AssignFromName(QStringLiteral("RZ-S1")));
    Screen().SetIdentity(basic.Identity());
    Screen().Params().SetU8(P::PowerMode, 2);
    COnOffDlg dialog(doc, Screen(), ui);
    EXPECT_FALSE(Find<QRadioButton>(dialog, "timing")->isEnabled());
    EXPECT_TRUE(Find<QRadioButton>(dialog, "manual")->isChecked());
    EXPECT_EQ(Find<QLabel>(dialog, "status")->text(),
              QStringLiteral("The current status is : On "));
    Click(dialog, "turnOff");
    ASSERT_TRUE(sim->WaitForOutput(QStringLiteral("power off")));
    EXPECT_EQ(Screen().Params().U8(P::PowerState), 0);
    EXPECT_EQ(Screen().Params().U8(P::PowerMode), 1);

    CBrightnessDlg brightness(doc, Screen(), ui);
    EXPECT_FALSE(Find<QRadioButton>(brightness, "timing")->isEnabled());
}

TEST_F(SetupDialogsTest, SilentCardShowsDisconnected)
{
    SilentPeer peer;
    Use(std::make_unique<UdpProject>(peer.Port(), 100));
    COnOffDlg dialog(doc, Screen(), ui);
    EXPECT_EQ(Find<QLabel>(dialog, "status")->text(),
              QStringLiteral("The current status is : Unknow(Disconnected) "));
}

TEST(PasswordPrompt, AcceptsTheCodesWithoutRegardToCase)
{
    const auto answer = [](const QString& typed, bool ok) {
        QTimer::singleShot(0, [typed, ok] {
            QWidget* modal = QApplication::activeModalWidget();
            ASSERT_NE(modal, nullptr);
            modal->findChild<QLineEdit*>(QStringLiteral("password"))->setText(typed);
            if (ok)
                static_cast<QDialog*>(modal)->accept();
            else
                static_cast<QDialog*>(modal)->reject();
        });
    };
    answer(QStringLiteral("KX-204"), true);
    EXPECT_TRUE(
        CPasswordDlg::AskAccessCode(nullptr, {QStringLiteral("351"), QStringLiteral("kx-204")}));
    answer(QStringLiteral("274"), true);
    EXPECT_FALSE(CPasswordDlg::AskAccessCode(nullptr, {QStringLiteral("351")}));
    answer(QStringLiteral("351"), false);
    EXPECT_FALSE(CPasswordDlg::AskAccessCode(nullptr, {QStringLiteral("351")}));
}

TEST_F(SetupDialogsTest, CommunicationSetupStoresOnSaveOnly)
{
    Start();
    {
        CCommSetupDlg dialog(doc, Screen(), ui, CCommSetupDlg::Opening::ToolsMenu);
        EXPECT_TRUE(Find<QLineEdit>(dialog, "panelId")->isReadOnly());
        EXPECT_FALSE(Find<QPushButton>(dialog, "config")->isHidden());
        EXPECT_TRUE(Find<QRadioButton>(dialog, "network")->isChecked());
        Click(dialog, "serial");
        Click(dialog, "cancel");
        EXPECT_EQ(Screen().Link().linkKind, 1);
    }
    {
        CCommSetupDlg dialog(doc, Screen(), ui, CCommSetupDlg::Opening::ExistingScreen);
        EXPECT_FALSE(Find<QLineEdit>(dialog, "panelId")->isReadOnly());
        Find<QLineEdit>(dialog, "panelId")->setText(QStringLiteral("70000"));
        Click(dialog, "save");
        EXPECT_EQ(dialog.result(), QDialog::Accepted); // panel 1 answered the test
        EXPECT_EQ(Screen().Link().panelId, 1);
        EXPECT_TRUE(ui.questions.isEmpty());
    }
}

TEST_F(SetupDialogsTest, CommunicationSetupAsksAgainWhenNothingAnswers)
{
    SilentPeer peer;
    Use(std::make_unique<UdpProject>(peer.Port(), 100));
    CCommSetupDlg dialog(doc, Screen(), ui, CCommSetupDlg::Opening::ToolsMenu);
    ui.answer = Answer::Yes;
    Click(dialog, "save");
    EXPECT_EQ(dialog.result(), 0); // still open
    ASSERT_EQ(ui.questions.size(), 1);
    EXPECT_EQ(ui.questions[0], QStringLiteral("No device be detect in 127.0.0.1 @ %1, do you want "
                                              "to setup again ?")
                                   .arg(peer.Port()));
    ui.answer = Answer::No;
    Find<QLineEdit>(dialog, "remoteIp")->setText(QStringLiteral("127.0.0.3"));
    Click(dialog, "save");
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(Screen().Link().remoteIp, QStringLiteral("127.0.0.3")); // kept all the same
}

TEST_F(SetupDialogsTest, ConfigOpensTheControllerSetupBehindTheCode)
{
    Start();
    CCommSetupDlg dialog(doc, Screen(), ui, CCommSetupDlg::Opening::ToolsMenu);
    // A wrong code: nothing happens.
    WhenModal(QStringLiteral("passwordDialog"),
              [](QWidget& prompt) { EnterCode(prompt, QStringLiteral("999")); });
    Click(dialog, "config");
    EXPECT_FALSE(sim->Output().contains(QStringLiteral("command 33")));

    WhenModal(QStringLiteral("passwordDialog"), [](QWidget& prompt) {
        WhenModal(QStringLiteral("networkControllerDialog"), [](QWidget& setup) {
            setup.findChild<QSpinBox*>(QStringLiteral("newId"))->setValue(9);
            Click(setup, "setup");
        });
        EnterCode(prompt, QStringLiteral("351"));
    });
    Click(dialog, "config");
    EXPECT_EQ(Card().U16(P::PanelId), 9);
    EXPECT_EQ(Find<QLineEdit>(dialog, "panelId")->text(), QStringLiteral("9"));
}

TEST_F(SetupDialogsTest, FirmwareDialogReportsAMissingPackage)
{
    Start();
    CFirmwareDlg dialog(Screen(), ui);
    Find<QLineEdit>(dialog, "file")->setText(dir.filePath(QStringLiteral("none.rzbin")));
    Find<QLineEdit>(dialog, "password")->setText(QStringLiteral("pw"));
    Click(dialog, "start");
    EXPECT_EQ(ui.warnings, QStringList{LoadString(41058)});
    EXPECT_TRUE(dialog.isEnabled());
    EXPECT_FALSE(sim->Output().contains(QStringLiteral("command 202")));
}

TEST_F(SetupDialogsTest, AdvancedSetupCommandRemovesTheCurrentScreenAsAnUndoStep)
{
    Start();
    CScreen& first = Screen();
    doc.AddScreen(doc.Root().CreateChild(KindScreen));
    doc.UndoStack().clear();
    const QByteArray before = doc.Root().SaveProjectBuffer();
    doc.SetCurrentObject(first.GetChild(0));
    QSignalSpy removing(&doc, &CLumivantDoc::aboutToRemove);

    // The access code, then -Panel on the first screen and Cancel.
    WhenModal(QStringLiteral("passwordDialog"), [](QWidget& prompt) {
        WhenModal(QStringLiteral("advancedSetupDialog"), [](QWidget& setup) {
            Click(setup, "removePanel");
            Click(setup, "cancel");
        });
        EnterCode(prompt, QStringLiteral("ROM742"));
    });
    RunSetupCommand(SetupCommand::AdvancedSetup, first, doc, nullptr);
    EXPECT_EQ(doc.Root().GetChildCount(), 1);
    EXPECT_EQ(doc.CurrentObject(), nullptr);
    ASSERT_EQ(removing.count(), 1);
    EXPECT_EQ(removing[0][0].value<CProjectObject*>(), &first);
    EXPECT_TRUE(doc.IsModified());

    // Undo gives back the very same screen at its place, and the same file.
    ASSERT_EQ(doc.UndoStack().count(), 1);
    doc.UndoStack().undo();
    EXPECT_EQ(doc.Root().GetChild(0), &first);
    EXPECT_EQ(doc.Root().SaveProjectBuffer(), before);

    // A wrong code ends the command silently.
    WhenModal(QStringLiteral("passwordDialog"),
              [](QWidget& prompt) { static_cast<QDialog&>(prompt).reject(); });
    RunSetupCommand(SetupCommand::PanelSetup, first, doc, nullptr);
    EXPECT_EQ(doc.UndoStack().count(), 1);
}

TEST(DialogMessages, TipSettingSendsResultsToTheStatusBar)
{
    QMainWindow window;
    const int tip = Settings().tip;
    Settings().tip = 1;
    CDesktopOperationUi ui(&window);
    ui.Warn(QStringLiteral("Command failed:Timeout."));
    EXPECT_EQ(window.statusBar()->currentMessage(), QStringLiteral("Command failed:Timeout."));
    Settings().tip = tip;
}

TEST_F(SetupDialogsTest, PanelSetupIsOneStepThatTheCardKeeps)
{
    Start();
    CScreen& screen = Screen();
    doc.EditObject(screen, RefreshCode::Name, false, [&] { screen.SetName("Lobby"); });
    const QByteArray renamed = doc.Root().SaveProjectBuffer();
    QSignalSpy changes(&doc, &CLumivantDoc::objectChanged);
    WhenModal(QStringLiteral("passwordDialog"), [](QWidget& prompt) {
        WhenModal(QStringLiteral("panelSetupDialog"), [](QWidget& setup) {
            setup.findChild<QSpinBox*>(QStringLiteral("height"))->setValue(64);
            CloseMessageBox(); // "Command succeed."
            Click(setup, "setup");
            Click(setup, "cancel");
        });
        EnterCode(prompt, QStringLiteral("274"));
    });
    RunSetupCommand(SetupCommand::PanelSetup, screen, doc, nullptr);
    EXPECT_GE(changes.count(), 1);
    EXPECT_EQ(Card().PanelHeight(), 64);
    EXPECT_EQ(screen.Height(), 64);
    ASSERT_EQ(doc.UndoStack().count(), 2);
    EXPECT_EQ(doc.UndoStack().undoText(),
              QStringLiteral("Panel Setup of Lobby (sent to the panel)"));

    // Undo takes the project back; the card keeps what it was sent. The rename before it
    // holds the name only.
    doc.UndoStack().undo();
    EXPECT_EQ(screen.Height(), 32);
    EXPECT_EQ(doc.Root().SaveProjectBuffer(), renamed);
    EXPECT_EQ(Card().PanelHeight(), 64);
    doc.UndoStack().undo();
    EXPECT_EQ(screen.GetName(), QString(LoadString(41000) + QStringLiteral("1")));
    EXPECT_EQ(screen.Height(), 32);
    doc.UndoStack().redo();
    doc.UndoStack().redo();
    EXPECT_EQ(screen.Height(), 64);
    EXPECT_EQ(screen.GetName(), QStringLiteral("Lobby"));
}

TEST_F(SetupDialogsTest, AutoSwitchRunIsOneStep)
{
    Start();
    CPanelSetupDlg dialog(doc, Screen(), ui);
    dialog.SetAutoSwitchTiming(10, 40);
    auto* scan = Find<QComboBox>(dialog, "scanType");
    scan->setCurrentIndex(3);
    Click(dialog, "autoSwitch");
    ASSERT_TRUE(QTest::qWaitFor([&] { return scan->currentIndex() >= 6; }, 5000));
    Click(dialog, "startStop");
    EXPECT_EQ(doc.UndoStack().count(), 1);
    EXPECT_TRUE(doc.UndoStack().undoText().endsWith(QStringLiteral("(sent to the panel)")));
}

TEST(AutoSwitchClock, KeepsTheIntervalByElapsedTime)
{
    CAutoSwitchClock clock;
    clock.Start(0, 2000);
    EXPECT_TRUE(clock.TakeSwitch(0)); // the first switch at once
    EXPECT_EQ(clock.SecondsLeft(0), 2);
    // Ticks a little early or late: the switches stay 2 seconds apart, never 3.
    EXPECT_FALSE(clock.TakeSwitch(990));
    EXPECT_EQ(clock.SecondsLeft(990), 2);
    EXPECT_EQ(clock.NextTickMs(990), 10); // when the count turns to 1
    EXPECT_FALSE(clock.TakeSwitch(1950));
    EXPECT_EQ(clock.NextTickMs(1950), 50); // when the switch is due
    EXPECT_TRUE(clock.TakeSwitch(1990));   // a timer firing a little early
    EXPECT_FALSE(clock.TakeSwitch(3900));
    EXPECT_TRUE(clock.TakeSwitch(4120)); // a late tick (a slow store)
    EXPECT_EQ(clock.SecondsLeft(4120), 2);
    EXPECT_TRUE(clock.TakeSwitch(6000)); // still on the 2-second grid
    // More than an interval behind: the next one counts from now.
    EXPECT_TRUE(clock.TakeSwitch(13000));
    EXPECT_FALSE(clock.TakeSwitch(14000));
    EXPECT_TRUE(clock.TakeSwitch(15000));
    EXPECT_EQ(clock.NextTickMs(15000, 100), 100);
}

TEST_F(SetupDialogsTest, CommunicationSetupStoresTheRemotePortAndTheLinkUsesIt)
{
    Start();
    const int cardPort = sim->Port();
    // The project points at a port where the card does not listen.
    SilentPeer elsewhere;
    Screen().Link().remotePort = static_cast<std::uint16_t>(elsewhere.Port());
    Screen().Link().timeoutMs = 200;
    CCommSetupDlg dialog(doc, Screen(), ui, CCommSetupDlg::Opening::ToolsMenu);
    auto* port = Find<QLineEdit>(dialog, "remotePort");
    EXPECT_EQ(port->text(), QString::number(elsewhere.Port()));

    // Not a port: the form says so, stays open and stores nothing.
    for (const char* text : {"70000", "0", "port"}) {
        ui.warnings.clear();
        port->setText(QLatin1String(text));
        Click(dialog, "save");
        EXPECT_EQ(ui.warnings, QStringList{LoadString(61200)}) << text;
        EXPECT_EQ(dialog.result(), 0);
    }
    EXPECT_EQ(doc.UndoStack().count(), 0);
    EXPECT_EQ(Screen().Link().remotePort, elsewhere.Port());

    // The card's port: the connection test reaches it there.
    port->setText(QString::number(cardPort));
    Click(dialog, "save");
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(ui.questions.isEmpty());
    EXPECT_EQ(Screen().Link().remotePort, cardPort);
    EXPECT_EQ(doc.UndoStack().undoText(), QStringLiteral("Communication Setup of Panel1"));
    CControllerLink& link = LinkOf(Screen());
    EXPECT_TRUE(link.ReadParams());
    link.CloseLink();

    // Undo takes the port back.
    doc.UndoStack().undo();
    EXPECT_EQ(Screen().Link().remotePort, elsewhere.Port());
}

TEST_F(SetupDialogsTest, BrightnessChosenForASilentCardStaysInTheProject)
{
    SilentPeer peer;
    Use(std::make_unique<UdpProject>(peer.Port(), 100));
    Screen().Params().SetU8(P::Brightness, 15);
    CBrightnessDlg dialog(doc, Screen(), ui);
    EXPECT_EQ(Find<QLabel>(dialog, "status")->text(),
              QStringLiteral("Current brightness is: Unknow(Disconnected) "));
    Click(dialog, "manual");
    Find<QComboBox>(dialog, "value")->setCurrentIndex(4);
    Click(dialog, "manualOk");
    ASSERT_EQ(ui.warnings.size(), 1);
    EXPECT_TRUE(ui.warnings[0].startsWith(QStringLiteral("Command failed:")));
    EXPECT_EQ(Screen().Params().U8(P::Brightness), 4);
    // One step, which does not claim that the card has it.
    ASSERT_EQ(doc.UndoStack().count(), 1);
    EXPECT_EQ(doc.UndoStack().undoText(), QStringLiteral("Brightness of Panel1"));
    doc.UndoStack().undo();
    EXPECT_EQ(Screen().Params().U8(P::Brightness), 15);
}

TEST_F(SetupDialogsTest, EveryControlOfTheSetupFormsHasAName)
{
    SilentPeer peer;
    Use(std::make_unique<UdpProject>(peer.Port(), 50));
    QStringList missing;
    const auto check = [&missing](QDialog& dialog) {
        dialog.show();
        for (const QString& control : ControlsWithoutName(&dialog))
            missing << dialog.objectName() + QStringLiteral(": ") + control;
    };
    {
        CPanelSetupDlg dialog(doc, Screen(), ui);
        Click(dialog, "autoSwitch");
        Click(dialog, "startStop");
        check(dialog);
    }
    {
        CAdvancedSetupDlg dialog(doc, Screen(), ui);
        check(dialog);
    }
    for (auto opening : {CCommSetupDlg::Opening::ToolsMenu, CCommSetupDlg::Opening::NewScreen}) {
        CCommSetupDlg dialog(doc, Screen(), ui, opening);
        check(dialog);
        Click(dialog, "serial");
        check(dialog);
    }
    {
        CSerialControllerDlg dialog(doc, Screen(), ui);
        check(dialog);
    }
    {
        CNetworkControllerDlg dialog(doc, Screen(), ui);
        check(dialog);
    }
    {
        CBrightnessDlg dialog(doc, Screen(), ui);
        check(dialog);
        Click(dialog, "timing");
        check(dialog);
    }
    {
        COnOffDlg dialog(doc, Screen(), ui);
        check(dialog);
        Click(dialog, "timing");
        check(dialog);
    }
    {
        CFirmwareDlg dialog(Screen(), ui);
        check(dialog);
    }
    {
        CPasswordDlg dialog;
        check(dialog);
    }
    missing.removeDuplicates();
    EXPECT_TRUE(missing.isEmpty()) << missing.join(u'\n').toStdString();
}
