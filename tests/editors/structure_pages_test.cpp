#include "base/string_table.h"
#include "config/model_info.h"
#include "editors/screen_page.h"
#include "editors/step_spin_box.h"
#include "model/effect_zone.h"
#include "model/page_rules.h"
#include "page_fixture.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

namespace {

using WindowPageTest = PageTest;

TEST_F(WindowPageTest, ControlsRoundTripAndTheRectangleFollowsTheStoreRules)
{
    CPlayWindow& window = AddWindow({0, 0, 64, 32});
    {
        auto page = Page(window);
        Find<QSpinBox>(page.get(), "windowX")->setValue(8);
        Find<QSpinBox>(page.get(), "windowWidth")->setValue(32);
        Choose(page.get(), "frameType", 5);
        Choose(page.get(), "frameSpeed", 1);
        Choose(page.get(), "frameColour", 3);
        auto* name = Find<QLineEdit>(page.get(), "windowName");
        name->selectAll();
        QTest::keyClicks(name, "Prices");
    }
    EXPECT_EQ(window.WindowRect(), (LedRect{8, 0, 40, 32}));
    EXPECT_EQ(window.GetName(), QStringLiteral("Prices"));
    EXPECT_EQ(window.Frame().type, 5);
    EXPECT_EQ(window.Frame().enabled, 1);
    EXPECT_EQ(window.Frame().colour, 3);

    auto page = Page(window);
    EXPECT_EQ(Find<QSpinBox>(page.get(), "windowX")->value(), 8);
    EXPECT_EQ(Find<QSpinBox>(page.get(), "windowWidth")->value(), 32);
    EXPECT_EQ(Chosen(page.get(), "frameType"), 5);
    EXPECT_EQ(Chosen(page.get(), "frameSpeed"), 1);
    EXPECT_EQ(Find<QLineEdit>(page.get(), "windowName")->text(), QStringLiteral("Prices"));
    // Name, geometry and frame: typing the name merged into one step.
    EXPECT_EQ(doc.UndoStack().count(), 5);

    // Moved so that it would leave the screen: the old rectangle stays.
    Find<QSpinBox>(page.get(), "windowX")->setValue(240);
    EXPECT_EQ(window.WindowRect(), (LedRect{8, 0, 40, 32}));
    EXPECT_EQ(Find<QSpinBox>(page.get(), "windowX")->value(), 8);
    // Text and out-of-range values typed into the number fields are refused.
    auto* width = Find<QSpinBox>(page.get(), "windowWidth");
    width->selectAll();
    QTest::keyClicks(width, "ab");
    QTest::keyClick(width, Qt::Key_Enter);
    width->setValue(10);
    EXPECT_EQ(width->value(), 16);
    EXPECT_EQ(window.WindowRect(), (LedRect{8, 0, 24, 32}));
}

using EffectPageTest = PageTest;

TEST_F(EffectPageTest, AlwaysHoldDisablesHoldAndHoldIsStoredInHundredths)
{
    auto& zone = AddZone<CEffectZone>(KindClock);
    auto page = std::unique_ptr<CPropertyPage>(CreateEffectPage(zone, doc, nullptr));
    ASSERT_TRUE(page);
    Choose(page.get(), "effectAction", ActionMoveLeft);
    auto* hold = Find<QSpinBox>(page.get(), "effectHold");
    EXPECT_TRUE(hold->isEnabled());
    hold->setValue(3);
    EXPECT_EQ(zone.GetHold(), 300);
    Choose(page.get(), "effectAction", ActionAlwaysHold);
    EXPECT_FALSE(hold->isEnabled());
    Choose(page.get(), "effectSpeed", 0);
    Choose(page.get(), "effectClear", 1);
    EXPECT_EQ(zone.GetAction(), ActionAlwaysHold);
    EXPECT_EQ(zone.GetClearMode(), 1);

    auto again = std::unique_ptr<CPropertyPage>(CreateEffectPage(zone, doc, nullptr));
    EXPECT_EQ(Find<QSpinBox>(again.get(), "effectHold")->value(), 3);
    EXPECT_FALSE(Find<QSpinBox>(again.get(), "effectHold")->isEnabled());
    EXPECT_EQ(Chosen(again.get(), "effectSpeed"), 0);
    EXPECT_TRUE(Find<QComboBox>(again.get(), "effectSpeed")->currentText().endsWith("(Fast)"));
}

TEST_F(EffectPageTest, OnlyChangesToOrFromContinuousMoveLeftRenderAgain)
{
    auto& zone = AddZone<CEffectZone>(KindText);
    zone.SetAction(ActionMoveLeft);
    auto page = std::unique_ptr<CPropertyPage>(CreateEffectPage(zone, doc, nullptr));
    Choose(page.get(), "effectSpeed", 5);
    Choose(page.get(), "effectAction", ActionMoveRight);
    EXPECT_FALSE(doc.HasPendingRender());
    Choose(page.get(), "effectAction", ActionContinuousMoveLeft);
    EXPECT_TRUE(doc.HasPendingRender());
    page->Commit();
    EXPECT_FALSE(doc.HasPendingRender());
    Choose(page.get(), "effectAction", ActionDirect);
    EXPECT_TRUE(doc.HasPendingRender());
}

TEST_F(EffectPageTest, ChangingTheLanguageRelabelsListsAndKeepsTheChoice)
{
    auto& zone = AddZone<CEffectZone>(KindClock);
    zone.SetAction(ActionAlwaysHold);
    auto page = std::unique_ptr<CPropertyPage>(CreateEffectPage(zone, doc, nullptr));
    auto* action = Find<QComboBox>(page.get(), "effectAction");
    EXPECT_EQ(action->currentText(), QStringLiteral("Always hold"));
    SetLanguage(Language::SimplifiedChinese);
    QEvent change(QEvent::LanguageChange);
    QApplication::sendEvent(page.get(), &change);
    SetLanguage(Language::English);
    EXPECT_EQ(action->currentText(), QStringLiteral("静止显示"));
    EXPECT_EQ(action->count(), 46);
    EXPECT_EQ(doc.UndoStack().count(), 0);
}

using ProgramPageTest = PageTest;

TEST_F(ProgramPageTest, PlayTimeIsClampedAndTheScheduleRoundTrips)
{
    auto page = Page(Program());
    auto* time = Find<QSpinBox>(page.get(), "playTime");
    time->setValue(3);
    EXPECT_EQ(Program().Schedule().playTime, 5);
    time->setValue(70000);
    EXPECT_EQ(Program().Schedule().playTime, 60000);
    // Text and an out-of-range number typed over the value leave a valid time.
    for (const char* typed : {"abc", "99999"}) {
        time->selectAll();
        QTest::keyClicks(time, typed);
        QTest::keyClick(time, Qt::Key_Return);
        EXPECT_GE(Program().Schedule().playTime, 5) << typed;
        EXPECT_LE(Program().Schedule().playTime, 60000) << typed;
    }
    time->setValue(60000);
    Find<QRadioButton>(page.get(), "playTiming")->click();
    EXPECT_EQ(Program().Schedule().playMode, 1);
    Find<QCheckBox>(page.get(), "week")->click();
    Find<QCheckBox>(page.get(), "sunday")->click();
    EXPECT_TRUE(PageRules::IsWeekFilterOn(Program().Schedule()));
    EXPECT_FALSE(PageRules::IsWeekdayOn(Program().Schedule(), Qt::Sunday));
    Find<QCheckBox>(page.get(), "borderOn")->click();
    Choose(page.get(), "borderPattern", 7);
    EXPECT_EQ(Program().Border().enabled, 1);
    EXPECT_EQ(Program().Border().pattern, 7);

    auto again = Page(Program());
    EXPECT_EQ(Find<QSpinBox>(again.get(), "playTime")->value(), 60000);
    EXPECT_TRUE(Find<QRadioButton>(again.get(), "playTiming")->isChecked());
    EXPECT_FALSE(Find<QCheckBox>(again.get(), "sunday")->isChecked());
    EXPECT_TRUE(Find<QCheckBox>(again.get(), "monday")->isChecked());
    EXPECT_EQ(Chosen(again.get(), "borderPattern"), 7);
    EXPECT_TRUE(Find<QComboBox>(again.get(), "borderAction")->isEnabled());
}

TEST_F(ProgramPageTest, ABasicModelHasNoScheduleFilters)
{
    CModelInfo model;
    ASSERT_TRUE(model.AssignFromName(QStringLiteral("RZ-S1")));
    ASSERT_TRUE(model.IsBasicModel());
    Screen().SetIdentity(model.Identity());
    PageRules::SetDateRangeOn(Program().Schedule(), true);
    PageRules::SetWeekFilterOn(Program().Schedule(), true);

    const QByteArray before = doc.Root().SaveProjectBuffer();

    auto page = Page(Program());
    for (const char* name : {"dateRange", "timeRange", "week"}) {
        EXPECT_FALSE(Find<QCheckBox>(page.get(), name)->isChecked()) << name;
        EXPECT_FALSE(Find<QCheckBox>(page.get(), name)->isEnabled()) << name;
    }
    // Showing the page is no edit: no step, nothing modified (the compiler leaves the
    // limits off for a basic model).
    EXPECT_EQ(doc.UndoStack().count(), 0);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(doc.Root().SaveProjectBuffer(), before);
}

TEST(StepSpinBoxTest, HeldArrowsStepFasterByStage)
{
    CStepSpinBox spin;
    spin.SetStages({{0, 1}, {2000, 10}, {3000, 50}});
    EXPECT_EQ(spin.StepAfter(0), 1);
    EXPECT_EQ(spin.StepAfter(1999), 1);
    EXPECT_EQ(spin.StepAfter(2000), 10);
    EXPECT_EQ(spin.StepAfter(60000), 50);
    spin.setRange(5, 60000);
    spin.setValue(5);
    spin.stepBy(-1); // not held: a single step, clamped at the bottom
    EXPECT_EQ(spin.value(), 5);
}

using ScreenPageTest = PageTest;

TEST_F(ScreenPageTest, ShowsThePanelAndItsButtonsRunTheGivenActions)
{
    QAction sync, setup, brightness, power;
    const ScreenCommands commands{&sync, &setup, &brightness, &power};
    auto page =
        std::unique_ptr<CPropertyPage>(CreatePropertyPage(Screen(), doc, nullptr, commands));
    ASSERT_TRUE(qobject_cast<CScreenPage*>(page.get()));
    EXPECT_TRUE(Find<QLabel>(page.get(), "panelSummary")->text().contains("Width(px): 256"));
    EXPECT_TRUE(Find<QLabel>(page.get(), "panelSummary")->text().contains("Color: RGB"));
    const std::pair<const char*, QAction*> buttons[] = {
        {"syncTimer", &sync}, {"setup", &setup}, {"brightness", &brightness}, {"power", &power}};
    for (const auto& [name, action] : buttons) {
        QSignalSpy triggered(action, &QAction::triggered);
        auto* button = Find<QPushButton>(page.get(), name);
        EXPECT_FALSE(button->accessibleName().isEmpty()) << name;
        button->click();
        EXPECT_EQ(triggered.count(), 1) << name;
        // A disabled command is a disabled button.
        action->setEnabled(false);
        EXPECT_FALSE(button->isEnabled()) << name;
        action->setEnabled(true);
        EXPECT_TRUE(button->isEnabled()) << name;
    }

    QTest::keyClicks(Find<QLineEdit>(page.get(), "screenName"), "X");
    EXPECT_TRUE(Screen().GetName().endsWith('X'));
}

} // namespace
