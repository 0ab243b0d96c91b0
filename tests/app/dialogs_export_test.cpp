// The export dialog writing into a folder that stands in for a removable drive.
#include "dialogs_test_support.h"

#include "app/dialogs/export_dialog.h"
#include "base/string_table.h"
#include "model/project_root.h"
#include "model/screen.h"
#include "render/export_usb.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>

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

TEST_F(DialogsExportTest, AFailedCreateIsReportedInDarkRed)
{
    // A plain file where the folder should go.
    QFile blocker(QDir(folder.path()).filePath(QStringLiteral("LUMIVANT")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    CExportDialog dialog(*screen, nullptr, Lister());
    Child<QPushButton>(dialog, "saveButton")->click();
    EXPECT_EQ(Child<QLabel>(dialog, "statusLabel")->text(),
              QStringLiteral("Failed on create file."));
    EXPECT_EQ(StatusColour(dialog), QColor(128, 0, 0));
}

} // namespace
