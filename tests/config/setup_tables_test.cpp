// The scan-mode table, the module rounding and the wording of a failed parameter write.
#include "base/string_table.h"
#include "config/access_codes.h"
#include "config/model_info.h"
#include "config/scan_mode_table.h"
#include "config/setup_failure.h"

#include <gtest/gtest.h>

namespace {

CModelInfo Model(const char* name)
{
    CModelInfo model;
    EXPECT_TRUE(model.AssignFromName(QLatin1String(name))) << name;
    return model;
}

class ScanModeTableTest : public testing::Test
{
protected:
    void SetUp() override { SetLanguage(Language::English); }
};

} // namespace

TEST_F(ScanModeTableTest, StoredBytesSelectTheFirstRowWithTheirCode)
{
    EXPECT_EQ(ScanModeTable::RowOfBytes({0x22, 0x88, 0x00}), 1);
    EXPECT_EQ(ScanModeTable::Label(1), QStringLiteral("4.1  1/4(** General P10 **)"));
    // The same bytes without a 138 decoder are no row of the table.
    EXPECT_EQ(ScanModeTable::CodeOfBytes({0x22, 0x88, 0x01}), QStringLiteral("4-8-4-1-A"));
    EXPECT_EQ(ScanModeTable::RowOfBytes({0x22, 0x88, 0x01}), 0);
    // Fold lengths other than 8, 9 and 16 read as no fold.
    EXPECT_EQ(ScanModeTable::CodeOfBytes({0x30, 0x05, 0x00}), QStringLiteral("8-32-1-0"));
    EXPECT_EQ(ScanModeTable::RowOfBytes({0x30, 0x05, 0x00}), 4);
    EXPECT_EQ(ScanModeTable::RowOfBytes({0x22, 0x89, 0x00}), 20);
}

TEST_F(ScanModeTableTest, RowsBecomeBytesAndBack)
{
    ScanBytes bytes{0, 0, 0x06};
    ScanModeTable::ApplyRow(16, bytes);
    EXPECT_EQ(bytes.scanMode, 0x22);
    EXPECT_EQ(bytes.foldMode, 0x90);
    EXPECT_EQ(bytes.panelFlags, 0x07); // bit 0 set, the mirror bits kept
    ScanModeTable::ApplyRow(1, bytes);
    EXPECT_EQ(bytes.panelFlags, 0x06);

    // Every row comes back as itself, except the separator and row 7 (row 1's code).
    for (int row = 0; row < ScanModeTable::kRowCount; ++row) {
        ScanBytes stored;
        ScanModeTable::ApplyRow(row, stored);
        const int expected = row == 2 ? 0 : row == 7 ? 1 : row;
        EXPECT_EQ(ScanModeTable::RowOfBytes(stored), expected) << row;
    }

    ScanBytes separator;
    ScanModeTable::ApplyRow(2, separator);
    EXPECT_EQ(separator.scanMode, 0x40);
    EXPECT_EQ(separator.foldMode, 0);
    EXPECT_TRUE(ScanModeTable::IsSeparator(2));
    EXPECT_FALSE(ScanModeTable::IsSeparator(1));

    ScanBytes outside;
    ScanModeTable::ApplyRow(-1, outside);
    EXPECT_EQ(outside.scanMode, 0x40);
    EXPECT_EQ(outside.foldMode, 32);
}

TEST_F(ScanModeTableTest, CodesAndLabels)
{
    EXPECT_EQ(ScanModeTable::FindCode(QStringLiteral("4-16-4-1-a")), 16);
    EXPECT_EQ(ScanModeTable::FindCode(QStringLiteral("4-8-4-1")), 1);
    EXPECT_EQ(ScanModeTable::FindCode(QStringLiteral("4-8-4-2")), -1);
    EXPECT_EQ(ScanModeTable::FindCode(QStringLiteral("4-8-4")), -1);
    EXPECT_TRUE(ScanModeTable::Code(38).isEmpty());
    for (Language language :
         {Language::English, Language::SimplifiedChinese, Language::TraditionalChinese}) {
        SetLanguage(language);
        EXPECT_EQ(LoadStringList(41117).size(), ScanModeTable::kRowCount);
        EXPECT_TRUE(ScanModeTable::IsSeparator(2));
    }
}

TEST(PanelRounding, SizesAreCutToWholeModules)
{
    EXPECT_EQ(RoundPanelWidth(100), 96);
    EXPECT_EQ(RoundPanelHeight(20), 16);
    EXPECT_EQ(RoundPanelWidth(8192), 8192);
    EXPECT_EQ(RoundPanelHeight(512), 512);
    EXPECT_EQ(RoundPanelWidth(47), 32);
}

TEST(SetupFailure, WordingByModelFormAndLinkState)
{
    SetLanguage(Language::English);
    const QString error = QStringLiteral("Timeout.");
    const QString saved = QStringLiteral("Parameters has saved.");
    const QString failed = QStringLiteral("Command failed:Timeout.");
    const QString savedNotSent =
        QStringLiteral("Parameters has saved,but failed on send to Controller:Timeout.");

    EXPECT_EQ(SetupFailureText(Model("RI-ZA"), SetupForm::PanelSetup, false, error), saved);
    EXPECT_EQ(SetupFailureText(Model("RI-ZA"), SetupForm::AdvancedSetup, true, error), saved);
    EXPECT_EQ(SetupFailureText(Model("RI-ZI"), SetupForm::PanelSetup, true, error), saved);
    // Advanced Setup words RI-ZI like any other U model.
    EXPECT_EQ(SetupFailureText(Model("RI-ZI"), SetupForm::AdvancedSetup, false, error),
              savedNotSent);
    EXPECT_EQ(SetupFailureText(Model("RI-ZI"), SetupForm::AdvancedSetup, true, error), failed);
    EXPECT_EQ(SetupFailureText(Model("RZ-CU"), SetupForm::PanelSetup, false, error), savedNotSent);
    EXPECT_EQ(SetupFailureText(Model("RZ-CU"), SetupForm::PanelSetup, true, error), failed);
    EXPECT_EQ(SetupFailureText(Model("RZ-C2"), SetupForm::PanelSetup, false, error), failed);
    EXPECT_EQ(SetupFailureText(CModelInfo(), SetupForm::AdvancedSetup, false, error), failed);
}

TEST(AccessCodes, ComparedWithoutRegardToCase)
{
    EXPECT_TRUE(AccessCodes::Accepts(AccessCodes::AdvancedSetup(), QStringLiteral("ROM742")));
    EXPECT_TRUE(AccessCodes::Accepts(AccessCodes::AdvancedSetup(), QStringLiteral("Kx-204")));
    EXPECT_FALSE(AccessCodes::Accepts(AccessCodes::PanelSetup(), QStringLiteral("351")));
    EXPECT_TRUE(AccessCodes::Accepts(AccessCodes::ControllerSetup(), QStringLiteral("351")));
    EXPECT_FALSE(AccessCodes::Accepts(AccessCodes::FirmwareUpdate(), QString()));
    EXPECT_FALSE(AccessCodes::Accepts(AccessCodes::FirmwareUpdate(), QStringLiteral(" 351")));
}
