// The View menu's switches and Zoom to Fit, and the warnings list under the preview.
#include "app/frame_actions.h"
#include "app/left_view.h"
#include "app/main_frame.h"
#include "app/warnings_view.h"
#include "base/app_paths.h"
#include "base/app_settings.h"
#include "base/messages.h"
#include "base/string_table.h"
#include "document/lumivant_doc.h"
#include "document/project_warnings.h"
#include "editors/preview_geometry.h"
#include "editors/preview_view.h"
#include "editors/sign_view_options.h"
#include "model/effect_zone.h"
#include "model/program.h"
#include "model/project_root.h"
#include "model/rich_text_base.h"
#include "model/screen.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QApplication>
#include <QDockWidget>
#include <QListView>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

// Green text in an installed face: not shown by a red sign.
const char kGreenText[] = "{\\rtf1\\ansi{\\fonttbl{\\f0 DejaVu Sans;}}{\\colortbl ;\\red0\\green255"
                          "\\blue0;}\\f0\\fs24\\cf1 Green\\par}";

class ViewMenuTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        SetDataFolderOverride(dir.path());
        qputenv("XDG_STATE_HOME", dir.filePath("state").toUtf8());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.filePath("config"));
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir.filePath("config"));
        Settings() = AppSettings();
        SetLanguage(Language::English);
        frame = std::make_unique<CMainFrame>(doc);
        auto& screen = Screen();
        screen.Params().SetU16(ControllerParams::Width, 128);
        screen.Params().SetU16(ControllerParams::Height, 32);
        screen.Params().SetU8(ControllerParams::ColourType, 1);
    }
    void TearDown() override
    {
        frame.reset();
        SetLanguage(Language::English);
        Settings() = AppSettings();
        SetDataFolderOverride(QString());
    }

    CScreen& Screen() { return *static_cast<CScreen*>(doc.Root().GetChild(0)); }
    CProgram& FirstProgram() { return *static_cast<CProgram*>(Screen().GetChild(0)); }
    QAction* Action(int id) { return frame->Actions().Action(id); }
    bool WaitForChecks()
    {
        return QTest::qWaitFor([this] { return !frame->ProjectWarnings().IsChecking(); }, 5000);
    }
    // A text zone added as the person does, its text green.
    CEffectZone& AddGreenText()
    {
        frame->Tree().Select(&FirstProgram());
        frame->RunCommand(IdAddText);
        auto* zone = static_cast<CRichTextBase*>(doc.CurrentObject());
        doc.EditObject(*zone, RefreshCode::Content, true,
                       [zone] { zone->SetRtf(QString::fromLatin1(kGreenText)); });
        return *zone;
    }

    QTemporaryDir dir;
    CLumivantDoc doc;
    std::unique_ptr<CMainFrame> frame;
};

TEST_F(ViewMenuTest, TheSwitchesAreRememberedInTheSettingsFile)
{
    frame->show();
    QAction* designer = Action(IdDesignerColours);
    QAction* warnings = Action(IdWarnings);
    ASSERT_TRUE(designer && warnings && Action(IdLedLook) && Action(IdZoomToFit));
    EXPECT_FALSE(designer->isChecked());
    EXPECT_TRUE(warnings->isChecked());
    EXPECT_TRUE(frame->WarningsView().isVisible());

    designer->trigger();
    EXPECT_EQ(CSignViewOptions::Instance().Form(), SignForm::Designer);
    warnings->trigger();
    EXPECT_FALSE(frame->WarningsView().isVisible());
    EXPECT_FALSE(frame->ProjectWarnings().IsActive());
    // The dock's own close button is the same switch.
    warnings->trigger();
    ASSERT_TRUE(frame->WarningsView().isVisible());
    EXPECT_EQ(Settings().warnings, 1);
    frame->WarningsDock().close();
    EXPECT_FALSE(warnings->isChecked());
    EXPECT_FALSE(frame->WarningsView().isVisible());

    // Written with the zoom at exit; the next start begins with them.
    ASSERT_TRUE(Settings().SaveView(SettingsFilePath()));
    const AppSettings read = AppSettings::Load(SettingsFilePath());
    frame.reset();
    Settings() = read;
    CLumivantDoc again;
    CMainFrame next(again);
    next.show();
    EXPECT_TRUE(next.Actions().Action(IdDesignerColours)->isChecked());
    EXPECT_FALSE(next.Actions().Action(IdWarnings)->isChecked());
    EXPECT_FALSE(next.WarningsView().isVisible());
}

TEST_F(ViewMenuTest, ZoomToFitAndTheFitButtonTakeTheLargestLevelThatShowsTheScreen)
{
    frame->show();
    frame->Tree().Select(&FirstProgram());
    CPreView& preview = frame->Preview();
    QApplication::processEvents();
    const PreviewZoom expected = PreviewZoom::LargestFitting(
        {128, 32}, {preview.width(), preview.height() - CPreView::kStripHeight});
    ASSERT_TRUE(Action(IdZoomToFit)->isEnabled());
    Action(IdZoomToFit)->trigger();
    EXPECT_EQ(preview.Zoom().numerator, expected.numerator);
    EXPECT_EQ(preview.Zoom().denominator, expected.denominator);
    EXPECT_EQ(Settings().mul, expected.numerator);
    EXPECT_EQ(Settings().div, expected.denominator);
    EXPECT_LE(preview.Scale(128), preview.width());

    preview.ZoomOut();
    auto* fit = preview.findChild<QToolButton*>(QStringLiteral("zoomToFit"));
    ASSERT_NE(fit, nullptr);
    EXPECT_FALSE(fit->accessibleName().isEmpty());
    fit->click();
    EXPECT_EQ(preview.Zoom().numerator, expected.numerator);
}

TEST_F(ViewMenuTest, TheLedLookIsOfferedFromZoomFourUp)
{
    frame->show();
    frame->Tree().Select(&FirstProgram());
    CPreView& preview = frame->Preview();
    while (preview.Zoom().denominator > 1 || preview.Zoom().numerator > 1)
        preview.ZoomOut();
    preview.ZoomIn(); // 1/1 from 1/2
    EXPECT_FALSE(Action(IdLedLook)->isEnabled());
    Action(IdLedLook)->setChecked(true); // remembered, not shown yet
    EXPECT_EQ(Settings().dots, 1);
    EXPECT_FALSE(preview.ShowsLedLook());
    while (preview.Zoom().numerator < 4)
        preview.ZoomIn();
    EXPECT_TRUE(Action(IdLedLook)->isEnabled());
    EXPECT_TRUE(preview.ShowsLedLook());
    Action(IdLedLook)->trigger();
    EXPECT_FALSE(preview.ShowsLedLook());
    EXPECT_EQ(Settings().dots, 0);
}

TEST_F(ViewMenuTest, TheWarningsFollowTheEditsAndAClickSelectsTheObject)
{
    frame->show();
    ASSERT_TRUE(WaitForChecks());
    CWarningsView& view = frame->WarningsView();
    QAbstractItemModelTester tester(&view.Model(),
                                    QAbstractItemModelTester::FailureReportingMode::Fatal);
    EXPECT_EQ(view.Model().rowCount(), 0);
    EXPECT_EQ(view.Summary(), QStringLiteral("No warnings"));

    CEffectZone& zone = AddGreenText();
    ASSERT_TRUE(WaitForChecks());
    ASSERT_EQ(view.Model().rowCount(), 1);
    const QString line = view.Model().data(view.Model().index(0)).toString();
    EXPECT_TRUE(line.startsWith(zone.GetName() + QStringLiteral(": "))) << line.toStdString();
    const QString tip = view.Model().data(view.Model().index(0), Qt::ToolTipRole).toString();
    EXPECT_TRUE(tip.startsWith(CProjectWarnings::ObjectLabel(zone) + QStringLiteral(": ")))
        << tip.toStdString();
    EXPECT_TRUE(line.contains(QStringLiteral("Green"))) << line.toStdString();
    EXPECT_EQ(view.Summary(), QStringLiteral("Warnings: 1"));

    // A click on the row selects the zone in the tree.
    frame->Tree().Select(&Screen());
    ASSERT_EQ(doc.CurrentObject(), &Screen());
    QListView& list = view.List();
    const QRect row = list.visualRect(view.Model().index(0));
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, row.center());
    EXPECT_EQ(doc.CurrentObject(), &zone);
    EXPECT_EQ(frame->Tree().SelectedObject(), &zone);

    // Deleted: the row goes with it at once.
    frame->Tree().Select(&zone);
    frame->RunCommand(IdDelete);
    EXPECT_EQ(view.Model().rowCount(), 0);
}

TEST_F(ViewMenuTest, TheWarningsAreWordedInTheLanguageInUse)
{
    frame->show();
    AddGreenText();
    ASSERT_TRUE(WaitForChecks());
    CWarningsView& view = frame->WarningsView();
    ASSERT_EQ(view.Model().rowCount(), 1);
    const QString english = view.Model().data(view.Model().index(0)).toString();
    frame->RunCommand(IdLangTraditional);
    ASSERT_TRUE(WaitForChecks());
    ASSERT_EQ(view.Model().rowCount(), 1);
    const QString chinese = view.Model().data(view.Model().index(0)).toString();
    EXPECT_NE(chinese, english);
    EXPECT_TRUE(chinese.contains(QStringLiteral("顯示屏"))) << chinese.toStdString();
    EXPECT_NE(view.Summary(), QStringLiteral("Warnings: 1"));
    EXPECT_EQ(frame->Preview().findChild<QToolButton*>(QStringLiteral("zoomToFit"))->text(),
              LoadString(62001));
}

} // namespace
