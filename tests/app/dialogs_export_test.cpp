// The export dialog writing into a folder that stands in for a removable drive.
#include "dialogs_test_support.h"
#include "support/accessible_names.h"

#include "app/dialogs/export_dialog.h"
#include "app/shell_commands.h"
#include "base/string_table.h"
#include "document/lumivant_doc.h"
#include "model/play_window.h"
#include "model/program.h"
#include "model/project_root.h"
#include "model/screen.h"
#include "render/export_usb.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

class DialogsExportTest : public testing::Test
{
protected:
    void SetUp() override
    {
        root = DialogsTextProject(9);
        screen = static_cast<CScreen*>(root->GetChild(0));
        RemovableDrive drive;
        drive.rootPath = folder.path();
        drive.label = QStringLiteral("STICK");
        drive.totalBytes = qint64(64) << 20;
        drive.fileSystem = QStringLiteral("vfat");
        drives = {drive};
    }

    CExportDialog::DriveLister Lister()
    {
        return [this] { return drives; };
    }
    template <typename T> static T* Child(QWidget& dialog, const char* name)
    {
        return dialog.findChild<T*>(QLatin1String(name));
    }
    static QColor StatusColour(QWidget& dialog)
    {
        return Child<QLabel>(dialog, "statusLabel")->palette().color(QPalette::WindowText);
    }

    QTemporaryDir folder;
    std::unique_ptr<CProjectRoot> root;
    CScreen* screen = nullptr;
    std::vector<RemovableDrive> drives;
};

TEST_F(DialogsExportTest, SaveWritesTheFileOnTheChosenDriveAndStaysOpen)
{
    CExportDialog dialog(*screen, nullptr, Lister());
    dialog.show();
    auto* list = Child<QComboBox>(dialog, "driveList");
    ASSERT_EQ(list->count(), 1);
    EXPECT_EQ(list->itemText(0), folder.path() + QStringLiteral(" STICK - [64MB vfat]"));
    EXPECT_EQ(Child<QLabel>(dialog, "statusLabel")->text(), QStringLiteral("Detected USB disk."));
    EXPECT_EQ(StatusColour(dialog), QColor(0, 0x46, 0xD5));
    auto* adjust = Child<QSpinBox>(dialog, "adjustSeconds");
    EXPECT_EQ(adjust->value(), 20);
    EXPECT_EQ(adjust->maximum(), kExportMaxAdjust);

    Child<QCheckBox>(dialog, "syncClock")->setChecked(true);
    Child<QPushButton>(dialog, "saveButton")->click();

    const QFileInfo file(QDir(folder.path()).filePath(QStringLiteral("LUMIVANT/LED.RZU")));
    ASSERT_TRUE(file.exists());
    EXPECT_EQ((file.size() - kExportHeaderSize) % kExportBlockSize, 0);
    EXPECT_GT(file.size(), kExportHeaderSize);
    EXPECT_TRUE(
        QFileInfo::exists(QDir(folder.path()).filePath(QStringLiteral("LUMIVANT/Readme.txt"))));
    EXPECT_EQ(Child<QLabel>(dialog, "statusLabel")->text(),
              QStringLiteral("Save project succeed."));
    EXPECT_TRUE(dialog.isVisible());
}

TEST_F(DialogsExportTest, WithoutDrivesSaveIsDisabledAndRefreshFindsANewOne)
{
    const std::vector<RemovableDrive> present = drives;
    drives.clear();
    CExportDialog dialog(*screen, nullptr, Lister());
    EXPECT_FALSE(Child<QPushButton>(dialog, "saveButton")->isEnabled());
    EXPECT_EQ(Child<QLabel>(dialog, "statusLabel")->text(),
              QStringLiteral("No USB disk be found."));
    EXPECT_EQ(StatusColour(dialog), QColor(128, 0, 0));

    drives = present;
    Child<QPushButton>(dialog, "refreshButton")->click();
    EXPECT_TRUE(Child<QPushButton>(dialog, "saveButton")->isEnabled());
    EXPECT_EQ(Child<QComboBox>(dialog, "driveList")->count(), 1);
}

TEST_F(DialogsExportTest, ParameterQuestionAnsweredNoUnchecksTheBox)
{
    CExportDialog dialog(*screen, nullptr, Lister());
    dialog.show();
    auto* params = Child<QCheckBox>(dialog, "includeParams");
    int answer = QMessageBox::No;
    BoxAnswerer boxes([&](QMessageBox&) { return answer; });
    params->click();
    EXPECT_FALSE(params->isChecked());
    answer = QMessageBox::Yes;
    params->click();
    EXPECT_TRUE(params->isChecked());
    EXPECT_EQ(boxes.texts.size(), 2);
    EXPECT_EQ(boxes.texts.value(0), ExportParamsQuestion());
}

} // namespace

namespace {

CPlayWindow& AddWindow(CScreen& screen, LedRect rect)
{
    auto* program = static_cast<CProgram*>(screen.GetChild(0));
    auto window = std::make_unique<CPlayWindow>(program);
    auto* raw = window.get();
    raw->SetWindowRect(rect);
    program->AddChild(std::move(window));
    return *raw;
}

bool SameRect(const LedRect& a, const LedRect& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST(DialogsExportCommand, FitsTheWindowsAsOneStepAndAnOverlapAnsweredYesStops)
{
    CLumivantDoc doc;
    doc.SetRoot(DialogsTextProject(9), {});
    auto& screen = *static_cast<CScreen*>(doc.Root().GetChild(0));
    // Beyond the 64 x 16 screen, and over the text window that covers all of it.
    CPlayWindow& outside = AddWindow(screen, {8, 4, 200, 90});
    const LedRect before = outside.WindowRect();

    bool dialogOpened = false;
    BoxAnswerer boxes([&](QMessageBox&) { return int(QMessageBox::Yes); });
    QTimer watch;
    watch.setInterval(20);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (auto* dialog = qobject_cast<CExportDialog*>(QApplication::activeModalWidget())) {
            dialogOpened = true;
            dialog->reject();
        }
    });
    watch.start();
    RunExportDialog(doc, screen, nullptr);

    EXPECT_FALSE(dialogOpened);
    ASSERT_EQ(boxes.texts.size(), 1);
    EXPECT_TRUE(boxes.texts[0].startsWith(QStringLiteral("Zone is overlap in: ")));
    EXPECT_LE(outside.WindowRect().right, 64);
    EXPECT_LE(outside.WindowRect().bottom, 16);
    ASSERT_EQ(doc.UndoStack().count(), 1);
    doc.UndoStack().undo();
    EXPECT_TRUE(SameRect(outside.WindowRect(), before));
}

} // namespace

namespace {

TEST_F(DialogsExportTest, FolderAddsAnyFolderAndTheSameFilesGoThere)
{
    drives.clear(); // a card reader the system does not mark removable
    CExportDialog dialog(*screen, nullptr, Lister());
    dialog.show();
    EXPECT_FALSE(Child<QPushButton>(dialog, "saveButton")->isEnabled());
    QTemporaryDir reader;
    QTimer::singleShot(0, [&reader] {
        auto* chooser = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(chooser, nullptr);
        chooser->setDirectory(reader.path());
        chooser->selectFile(reader.path());
        static_cast<QDialog*>(chooser)->accept();
    });
    Child<QPushButton>(dialog, "folderButton")->click();
    auto* list = Child<QComboBox>(dialog, "driveList");
    ASSERT_EQ(list->count(), 1);
    EXPECT_EQ(QDir(list->currentData().toString()), QDir(reader.path()));
    ASSERT_TRUE(Child<QPushButton>(dialog, "saveButton")->isEnabled());
    // Refresh keeps the chosen folder.
    Child<QPushButton>(dialog, "refreshButton")->click();
    EXPECT_EQ(list->count(), 1);

    Child<QPushButton>(dialog, "saveButton")->click();
    const QString file = reader.filePath(QStringLiteral("LUMIVANT/LED.RZU"));
    ASSERT_TRUE(QFileInfo::exists(file));
    EXPECT_TRUE(QFileInfo::exists(reader.filePath(QStringLiteral("LUMIVANT/Readme.txt"))));
    // The same bytes as on a removable drive.
    QTemporaryDir drive;
    ASSERT_EQ(ExportScreen(*screen, drive.path(), ExportOptions()).outcome,
              ExportOutcome::Succeeded);
    EXPECT_EQ(QFileInfo(file).size(),
              QFileInfo(drive.filePath(QStringLiteral("LUMIVANT/LED.RZU"))).size());
}

TEST_F(DialogsExportTest, EveryControlHasAName)
{
    CExportDialog dialog(*screen, nullptr, Lister());
    dialog.show();
    EXPECT_TRUE(ControlsWithoutName(&dialog).isEmpty())
        << ControlsWithoutName(&dialog).join(u'\n').toStdString();
}

} // namespace
