#include "editors/text_zone_page.h"
#include "editors/window_page.h"
#include "model/animate_zone.h"
#include "model/clock_zone.h"
#include "model/countdown_zone.h"
#include "model/datetime_zone.h"
#include "model/page_rules.h"
#include "model/temperature_zone.h"
#include "model/text_zone.h"
#include "page_fixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimeEdit>
#include <QWheelEvent>

namespace {

using ZonePageTest = PageTest;

TEST_F(ZonePageTest, EveryZonePageShowsItsWindowAndTheDateTimeControlsRoundTrip)
{
    CPlayWindow& window = AddWindow({0, 0, 128, 32});
    auto& zone = AddZone<CDateTimeZone>(KindDateTime, &window);
    zone.Settings().enabled[DateTimeWeekday] = 2;
    {
        auto page = Page(zone);
        ASSERT_TRUE(page);
        EXPECT_EQ(Find<CWindowPage>(page.get(), "windowPage")->Object().GetKind(), KindWindow);
        Find<QRadioButton>(page.get(), "singleLine")->click();
        Choose(page.get(), "size", 4);
        Choose(page.get(), "diffSign", 1);
        Find<QSpinBox>(page.get(), "diffHours")->setValue(5);
        Find<QSpinBox>(page.get(), "diffMinutes")->setValue(30);
        Find<QCheckBox>(page.get(), "showWeek")->click();
        Choose(page.get(), "timeFormat", 2);
        Choose(page.get(), "dateColour", 4);
        QTest::keyClicks(Find<QLineEdit>(page.get(), "text"), "Today");
    }
    const DateTimeSettings& settings = zone.Settings();
    EXPECT_EQ(settings.oneLine, 1);
    EXPECT_EQ(settings.size, 4);
    EXPECT_EQ(settings.timeDifference, -330);
    EXPECT_EQ(settings.enabled[DateTimeWeekday], 0);
    EXPECT_EQ(settings.format[DateTimeTime], 2);
    EXPECT_EQ(settings.colour[DateTimeDate], 4);
    EXPECT_EQ(settings.text, QStringLiteral("Today"));

    auto page = Page(zone);
    EXPECT_TRUE(Find<QRadioButton>(page.get(), "singleLine")->isChecked());
    EXPECT_EQ(Chosen(page.get(), "diffSign"), 1);
    EXPECT_EQ(Find<QSpinBox>(page.get(), "diffHours")->value(), 5);
    EXPECT_EQ(Find<QSpinBox>(page.get(), "diffMinutes")->value(), 30);
    EXPECT_FALSE(Find<QCheckBox>(page.get(), "showWeek")->isChecked());
    EXPECT_EQ(Chosen(page.get(), "timeFormat"), 2);
    EXPECT_EQ(Find<QLineEdit>(page.get(), "text")->text(), QStringLiteral("Today"));
}

TEST_F(ZonePageTest, ClockCountdownTemperatureAndAnimateControlsRoundTrip)
{
    auto& clock = AddZone<CClockZone>(KindClock);
    auto& countdown = AddZone<CCountdownZone>(KindCountdown);
    auto& temperature = AddZone<CTemperatureZone>(KindTemperature);
    auto& animate = AddZone<CAnimateZone>(KindAnimate);
    const QDate targetDay(2031, 3, 4);
    {
        auto page = Page(clock);
        Choose(page.get(), "hourHandSize", 7);
        Choose(page.get(), "hourMarkShape", 2);
        Choose(page.get(), "diffSign", 1);
        Find<QSpinBox>(page.get(), "diffHours")->setValue(2);
        Find<QPushButton>(page.get(), "titleDown")->click();
    }
    {
        auto page = Page(countdown);
        Find<QCheckBox>(page.get(), "showDays")->click();
        Choose(page.get(), "showHoursUnitColour", 2);
        Find<QDateEdit>(page.get(), "targetDate")->setDate(targetDay);
        Find<QTimeEdit>(page.get(), "targetTime")->setTime(QTime(8, 0, 0));
        Choose(page.get(), "type", 1);
    }
    {
        auto page = Page(temperature);
        Choose(page.get(), "sensor", 1);
        Find<QCheckBox>(page.get(), "showHumidity")->click();
        auto* unit = Find<QLineEdit>(page.get(), "humidityUnit");
        unit->selectAll();
        QTest::keyClicks(unit, "%RH");
    }
    {
        auto page = Page(animate);
        Choose(page.get(), "animationType", 6);
        Find<QSpinBox>(page.get(), "maxStep")->setValue(30);
        Find<QSpinBox>(page.get(), "hold2")->setValue(1000);
        EXPECT_NE(Find<QWidget>(page.get(), "editorSlot"), nullptr);
    }
    EXPECT_EQ(clock.Settings().size[ClockHourHand], 7);
    EXPECT_EQ(clock.Settings().hourMarkStyle, 2);
    EXPECT_EQ(clock.Settings().offsetSign, 1);
    EXPECT_EQ(clock.Settings().offsetMinutes, 120);
    EXPECT_EQ(clock.Settings().titleOffsetY, 1);
    EXPECT_EQ(countdown.Settings().show[0], 0);
    EXPECT_EQ(countdown.Settings().colour[CountdownUnits + 1], 2);
    EXPECT_EQ(countdown.Settings().target,
              PageRules::LocalSecondsFromDateTime(QDateTime(targetDay, QTime(8, 0, 0))));
    EXPECT_EQ(countdown.Settings().type, 1);
    EXPECT_EQ(temperature.Settings().sensor, 1);
    EXPECT_EQ(temperature.Settings().showHumidity, 1);
    EXPECT_EQ(temperature.Settings().humidityUnit, QStringLiteral("%RH"));
    EXPECT_EQ(animate.GetAnimationType(), 6);
    EXPECT_EQ(animate.GetMaxStep(), 28);
    EXPECT_EQ(animate.GetHold2(), 1000);

    auto clockPage = Page(clock);
    EXPECT_EQ(Find<QSpinBox>(clockPage.get(), "diffHours")->value(), 2);
    EXPECT_EQ(Chosen(clockPage.get(), "hourHandSize"), 7);
    auto countdownPage = Page(countdown);
    EXPECT_EQ(Find<QDateEdit>(countdownPage.get(), "targetDate")->date(), targetDay);
    EXPECT_EQ(Find<QTimeEdit>(countdownPage.get(), "targetTime")->time(), QTime(8, 0, 0));
    auto temperaturePage = Page(temperature);
    EXPECT_TRUE(Find<QCheckBox>(temperaturePage.get(), "showHumidity")->isEnabled());
    auto animatePage = Page(animate);
    EXPECT_EQ(Find<QSpinBox>(animatePage.get(), "maxStep")->value(), 28);
}

TEST_F(ZonePageTest, UndoGivesBackTheSameFileAndThePageFollowsIt)
{
    auto& zone = AddZone<CClockZone>(KindClock);
    const QByteArray saved = doc.Root().SaveProjectBuffer();
    auto page = Page(zone);
    Choose(page.get(), "secondHandColour", 2);
    auto* hours = Find<QSpinBox>(page.get(), "diffHours");
    hours->setValue(1);
    hours->setValue(2);
    hours->setValue(3);
    EXPECT_EQ(doc.UndoStack().count(), 2); // stepping the spin box is one step
    doc.UndoStack().undo();
    EXPECT_EQ(hours->value(), 0);
    doc.UndoStack().undo();
    EXPECT_EQ(Chosen(page.get(), "secondHandColour"), 1);
    EXPECT_EQ(doc.Root().SaveProjectBuffer(), saved);
    EXPECT_EQ(doc.UndoStack().count(), 2); // loading again wrote nothing
    EXPECT_EQ(doc.UndoStack().index(), 0);
}

TEST_F(ZonePageTest, QuickSuccessiveEditsRenderOnce)
{
    auto& zone = AddZone<CTemperatureZone>(KindTemperature);
    auto page = Page(zone);
    QSignalSpy rendered(&doc, &CLumivantDoc::objectRendered);
    auto* label = Find<QLineEdit>(page.get(), "temperatureLabel");
    label->selectAll();
    QTest::keyClicks(label, "Temp:");
    Choose(page.get(), "digitSize", 3);
    EXPECT_EQ(rendered.count(), 0);
    EXPECT_TRUE(rendered.wait(CLumivantDoc::kRenderDelayMs * 5));
    QTest::qWait(CLumivantDoc::kRenderDelayMs / 2);
    EXPECT_EQ(rendered.count(), 1);
    EXPECT_EQ(zone.Settings().temperatureLabel, QStringLiteral("Temp:"));
}

TEST_F(ZonePageTest, FullColourSettingsOnARedScreenShowAsRedAndStayUntilChanged)
{
    SetScreen(128, 32, 1);
    auto& zone = AddZone<CDateTimeZone>(KindDateTime);
    zone.Settings().colour[DateTimeTime] = 6; // cyan, from a hand-edited file
    auto page = Page(zone);
    auto* colour = Find<QComboBox>(page.get(), "timeColour");
    EXPECT_EQ(colour->count(), 2);
    EXPECT_EQ(colour->currentData().toInt(), 1);
    EXPECT_EQ(doc.UndoStack().count(), 0);
    EXPECT_EQ(zone.Settings().colour[DateTimeTime], 6);
    Choose(page.get(), "timeColour", 1);
    EXPECT_EQ(zone.Settings().colour[DateTimeTime], 1);
}

TEST_F(ZonePageTest, TheWheelDoesNotChangeControlsWithoutFocus)
{
    auto& zone = AddZone<CAnimateZone>(KindAnimate);
    auto page = Page(zone);
    auto* step = Find<QSpinBox>(page.get(), "maxStep");
    auto* type = Find<QComboBox>(page.get(), "animationType");
    for (QWidget* widget : {static_cast<QWidget*>(step), static_cast<QWidget*>(type)}) {
        QWheelEvent wheel(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, -120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(widget, &wheel);
    }
    EXPECT_EQ(step->value(), 16);
    EXPECT_EQ(type->currentIndex(), 0);
    EXPECT_EQ(doc.UndoStack().count(), 0);
}

} // namespace
