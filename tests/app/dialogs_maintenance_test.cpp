// Panel Parameter Reset, the message sink and the Options dialog.
#include "dialogs_test_support.h"
#include "support/accessible_names.h"

#include "app/dialogs/earlier_versions_dialog.h"
#include "app/dialogs/options_dialog.h"

#include "app/shell_commands.h"
#include "base/app_paths.h"
#include "base/app_settings.h"
#include "base/messages.h"
#include "base/string_table.h"
#include "document/lumivant_doc.h"
#include "model/project_root.h"
#include "model/screen.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class DialogsMaintenanceTest : public testing::Test
{
protected:
    void SetUp() override
    {
        saved = Settings();
        Settings().tip = 0;
    }
    void TearDown() override
    {
        Settings() = saved;
        SetMessageSink(nullptr);
    }
    AppSettings saved;
};

TEST_F(DialogsMaintenanceTest, ParameterResetSendsOnlyAfterOk)
{
    DialogsSim sim;
    ASSERT_GT(sim.Port(), 0);
    CLumivantDoc doc;
    doc.SetRoot(DialogsTextProject(sim.Port()), QString());
    auto& screen = *static_cast<CScreen*>(doc.Root().GetChild(0));

    {
        BoxAnswerer cancel([](QMessageBox&) { return int(QMessageBox::Cancel); });
        RunParameterReset(doc, screen, nullptr);
        ASSERT_EQ(cancel.texts, QStringList{LoadString(41070)});
        EXPECT_EQ(cancel.icons.value(0), int(QMessageBox::Warning));
    }

    BoxAnswerer ok([](QMessageBox&) { return int(QMessageBox::Ok); });
    RunParameterReset(doc, screen, nullptr);
    EXPECT_TRUE(sim.WaitForLog(QStringLiteral("(parameter reset)")));
    // One reset and one identify in all: the cancelled one did not reach the controller.
    EXPECT_EQ(sim.Log().count(QStringLiteral("(parameter reset)")), 1) << sim.Log().toStdString();
    EXPECT_EQ(sim.Log().count(QStringLiteral("(identify)")), 1) << sim.Log().toStdString();
    EXPECT_EQ(ok.texts, QStringList({LoadString(41070), LoadString(43028)}));
}

TEST_F(DialogsMaintenanceTest, ClearPanelWithoutAnswerReportsTheLinkText)
{
    CLumivantDoc doc;
    doc.SetRoot(DialogsTextProject(9, 100), QString());
    auto& screen = *static_cast<CScreen*>(doc.Root().GetChild(0));
    screen.Link().remoteIp = QStringLiteral("127.0.0.1");
    screen.Link().remotePort = 1; // nothing listens there
    BoxAnswerer boxes;
    RunClearPanel(doc, screen, nullptr);
    ASSERT_EQ(boxes.texts.size(), 1);
    EXPECT_TRUE(boxes.texts[0].startsWith(LoadString(43027))) << boxes.texts[0].toStdString();
    EXPECT_GT(boxes.texts[0].size(), LoadString(43027).size());
    EXPECT_EQ(boxes.icons[0], int(QMessageBox::Warning));
}

TEST_F(DialogsMaintenanceTest, SinkShowsBoxesWithTipZeroAndStatusTextWithTipOne)
{
    QWidget owner;
    QStringList status;
    InstallDesktopMessageSink(&owner, [&](const QString& text) { status.append(text); });
    {
        BoxAnswerer boxes;
        ShowInfo(QStringLiteral("Saved."), QStringLiteral("Lumivant"));
        ShowWarning(QStringLiteral("Broken."));
        ShowMessage(QString());
        EXPECT_EQ(boxes.texts, QStringList({QStringLiteral("Saved."), QStringLiteral("Broken."),
                                            QStringLiteral("Runtime error : #001")}));
        EXPECT_EQ(boxes.captions.value(0), QStringLiteral("Lumivant"));
        EXPECT_EQ(boxes.icons, QList<int>({QMessageBox::Information, QMessageBox::Warning,
                                           QMessageBox::NoIcon}));
        EXPECT_TRUE(status.isEmpty());
    }
    Settings().tip = 1;
    {
        BoxAnswerer boxes;
        ShowWarning(QStringLiteral("Broken."));
        EXPECT_TRUE(boxes.texts.isEmpty());
        EXPECT_EQ(status, QStringList{QStringLiteral("Broken.")});
        // Questions stay boxes.
        CLumivantDoc doc;
        doc.SetRoot(DialogsTextProject(9), QString());
        RunParameterReset(doc, *static_cast<CScreen*>(doc.Root().GetChild(0)), nullptr);
        EXPECT_EQ(boxes.texts, QStringList{LoadString(41070)});
    }
}

TEST_F(DialogsMaintenanceTest, OptionsOkAppliesAndWritesTheThreeSettings)
{
    QTemporaryDir folder;
    SetDataFolderOverride(folder.path());
    Settings().exit = 0;
    Settings().delay = 2;
    QTimer::singleShot(0, [] {
        QWidget* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        auto* delay = dialog->findChild<QSpinBox*>(QStringLiteral("delaySeconds"));
        EXPECT_EQ(delay->minimum(), 2);
        EXPECT_EQ(delay->maximum(), 120);
        delay->setValue(300);
        dialog->findChild<QComboBox*>(QStringLiteral("exitChoice"))->setCurrentIndex(2);
        dialog->findChild<QComboBox*>(QStringLiteral("tipChoice"))->setCurrentIndex(1);
        dialog->findChild<QPushButton*>(QStringLiteral("okButton"))->click();
    });
    EXPECT_TRUE(RunOptionsDialog(nullptr));
    EXPECT_EQ(Settings().exit, 2);
    EXPECT_EQ(Settings().tip, 1);
    EXPECT_EQ(Settings().delay, 120);
    const AppSettings written = AppSettings::Load(SettingsFilePath());
    EXPECT_EQ(written.exit, 2);
    EXPECT_EQ(written.tip, 1);
    EXPECT_EQ(written.delay, 120);

    QTimer::singleShot(0, [] {
        QApplication::activeModalWidget()
            ->findChild<QPushButton*>(QStringLiteral("cancelButton"))
            ->click();
    });
    EXPECT_FALSE(RunOptionsDialog(nullptr));
    SetDataFolderOverride({});
}

} // namespace

namespace {

TEST(DesktopDialogNames, OptionsAndEarlierVersionsNameEveryControl)
{
    COptionsDialog options;
    options.show();
    EXPECT_TRUE(ControlsWithoutName(&options).isEmpty())
        << ControlsWithoutName(&options).join(u'\n').toStdString();
    CEarlierVersionsDialog versions(QStringLiteral("/nowhere/none.ledprj"));
    versions.show();
    EXPECT_EQ(versions.VersionCount(), 0);
    EXPECT_TRUE(ControlsWithoutName(&versions).isEmpty())
        << ControlsWithoutName(&versions).join(u'\n').toStdString();
}

} // namespace
