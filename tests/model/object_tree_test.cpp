#include "model_fixtures.h"

#include "base/app_settings.h"
#include "model/animate_zone.h"
#include "model/clock_zone.h"
#include "model/countdown_zone.h"
#include "model/datetime_zone.h"
#include "model/image_zone.h"
#include "model/table_zone.h"
#include "model/temperature_zone.h"
#include "model/text_zone.h"

#include <QDateTime>
#include <QTimeZone>

#include <gtest/gtest.h>

TEST(ObjectTree, NewProjectHasOneScreenWithOneProgram)
{
    auto root = CProjectRoot::NewProject();
    ASSERT_EQ(root->GetChildCount(), 1);
    EXPECT_EQ(root->GetName(), QStringLiteral("NULL"));
    EXPECT_EQ(root->GetFore(), 0);
    EXPECT_EQ(root->GetChild(0)->GetName(), QStringLiteral("Panel1"));
    ASSERT_EQ(root->GetChild(0)->GetChildCount(), 1);
    EXPECT_EQ(root->GetChild(0)->GetChild(0)->GetName(), QStringLiteral("Program1"));
}

TEST(ChildList, InsertAtCountAppendsAndBeyondIsRefused)
{
    OneProgram p;
    CPlayWindow* first = p.AddWindow();
    auto second = p.program->CreateChild(KindWindow);
    CProjectObject* secondRaw = second.get();
    EXPECT_TRUE(p.program->InsertChild(std::move(second), 1));
    EXPECT_EQ(p.program->GetChild(1), secondRaw);

    auto third = p.program->CreateChild(KindWindow);
    EXPECT_FALSE(p.program->InsertChild(std::move(third), 3));
    EXPECT_EQ(p.program->GetChildCount(), 2);

    auto front = p.program->CreateChild(KindWindow);
    CProjectObject* frontRaw = front.get();
    EXPECT_TRUE(p.program->InsertChild(std::move(front), 0));
    EXPECT_EQ(p.program->GetChild(0), frontRaw);
    EXPECT_EQ(p.program->GetChild(1), first);
    EXPECT_EQ(first->Parent(), p.program);
}

TEST(ChildList, OutOfRangeLookupsAndRemovals)
{
    OneProgram p;
    p.AddWindow();
    EXPECT_EQ(p.program->GetChild(-1), nullptr);
    EXPECT_EQ(p.program->GetChild(1), nullptr);
    EXPECT_EQ(p.program->RemoveChildAt(1), nullptr);
    EXPECT_EQ(p.program->GetChildCount(), 1);

    auto taken = p.program->RemoveChildAt(0);
    ASSERT_NE(taken, nullptr);
    EXPECT_EQ(p.program->GetChildCount(), 0);
    EXPECT_FALSE(p.program->DeleteChild(taken.get()));
}

TEST(ChildList, DeleteChildFindsByIdentityAndMovesLaterChildrenUp)
{
    OneProgram p;
    CPlayWindow* a = p.AddWindow();
    CPlayWindow* b = p.AddWindow();
    CPlayWindow* c = p.AddWindow();
    EXPECT_TRUE(p.program->DeleteChild(b));
    EXPECT_EQ(p.program->GetChild(0), a);
    EXPECT_EQ(p.program->GetChild(1), c);
    EXPECT_EQ(p.program->IndexOfChild(c), 1);
}

TEST(Factory, ZoneKindsThatNeedAWindow)
{
    OneProgram p;
    CPlayWindow* window = p.AddWindow();
    for (int kind :
         {KindImage, KindAnimate, KindTable, KindClock, KindTemperature, KindCountdown}) {
        EXPECT_EQ(p.program->CreateChild(kind), nullptr) << kind;
        auto zone = window->CreateChild(kind);
        ASSERT_NE(zone, nullptr) << kind;
        EXPECT_EQ(zone->GetKind(), kind);
        EXPECT_EQ(zone->Parent(), window);
    }
    for (int kind : {KindText, KindDateTime, KindWindow, KindProgram, KindScreen})
        EXPECT_NE(p.program->CreateChild(kind), nullptr) << kind;
    for (int kind : {0, 5, 14, 20, 99, 121, -1})
        EXPECT_EQ(window->CreateChild(kind), nullptr) << kind;
    // A new object is not yet in the list.
    EXPECT_EQ(window->GetChildCount(), 0);
}

TEST(DefaultNames, ZoneNumbersRunAcrossTheWindowsOfOneProgram)
{
    OneProgram p;
    CPlayWindow* left = p.AddWindow();
    CPlayWindow* right = p.AddWindow();
    EXPECT_EQ(p.AddZone<CClockZone>(left, KindClock)->GetName(), QStringLiteral("Clock1"));
    EXPECT_EQ(p.AddZone<CClockZone>(right, KindClock)->GetName(), QStringLiteral("Clock2"));
    EXPECT_EQ(p.AddZone<CTextZone>(right, KindText)->GetName(), QStringLiteral("Text1"));
    EXPECT_EQ(left->GetName(), QStringLiteral("Window1"));
    EXPECT_EQ(right->GetName(), QStringLiteral("Window2"));
}

TEST(DefaultNames, ImplicitWindowsAreNotCounted)
{
    OneProgram p;
    p.AddWindow()->SetFore(0);
    EXPECT_EQ(p.AddWindow()->GetName(), QStringLiteral("Window1"));
    auto second = std::make_unique<CProgram>(p.screen);
    EXPECT_EQ(second->GetName(), QStringLiteral("Program2"));
}

TEST(DefaultNames, NamesAreCutToTheNameField)
{
    OneProgram p;
    p.program->SetName(QString(40, u'x'));
    EXPECT_EQ(p.program->GetName().size(), CProjectObject::kNameCapacity);
}

TEST(ZoneDefaults, EffectSettingsOfEachKind)
{
    Settings().delay = 3;
    OneProgram p;
    CPlayWindow* w = p.AddWindow();
    struct Expected
    {
        int kind, action, speed, hold, clearMode;
    };
    const Expected table[] = {
        {KindText, 3, 1, 100, 0},        {KindImage, 1, 1, 100, 0},
        {KindAnimate, 1, 1, 20, 0},      {KindTable, 3, 1, 100, 0},
        {KindClock, 1, 1, 300, 0},       {KindDateTime, 1, 15, 300, 1},
        {KindTemperature, 1, 1, 600, 0}, {KindCountdown, 1, 1, 300, 0},
    };
    for (const Expected& e : table) {
        auto object = w->CreateChild(e.kind);
        auto* zone = static_cast<CEffectZone*>(object.get());
        EXPECT_EQ(zone->GetAction(), e.action) << e.kind;
        EXPECT_EQ(zone->GetSpeed(), e.speed) << e.kind;
        EXPECT_EQ(zone->GetHold(), e.hold) << e.kind;
        EXPECT_EQ(zone->GetClearMode(), e.clearMode) << e.kind;
        EXPECT_EQ(zone->GetRepeat(), 1) << e.kind;
    }
    Settings() = AppSettings{};
}

TEST(ZoneDefaults, DateTimeInALowWindowHasNoWeekday)
{
    OneProgram p(256, 64);
    auto* low = p.AddZone<CDateTimeZone>(p.AddWindow({0, 0, 64, 32}), KindDateTime);
    auto* high = p.AddZone<CDateTimeZone>(p.AddWindow({64, 0, 128, 48}), KindDateTime);
    EXPECT_EQ(low->Settings().enabled[DateTimeWeekday], 0);
    EXPECT_NE(high->Settings().enabled[DateTimeWeekday], 0);
}

TEST(ZoneDefaults, CountdownTargetsTheEndOfTheThirtiethDay)
{
    const std::int32_t target = CCountdownZone::DefaultTarget();
    const QDateTime local = QDateTime::fromSecsSinceEpoch(target, QTimeZone::utc());
    EXPECT_EQ(local.time(), QTime(23, 59, 59));
    EXPECT_EQ(QDate::currentDate().daysTo(local.date()), 30);
}

TEST(ZoneDefaults, TableStartsWithTwoByTwoNumberedCells)
{
    OneProgram p;
    auto* table = p.AddZone<CTableZone>(p.AddWindow(), KindTable);
    ASSERT_EQ(table->RowCount(), 2);
    ASSERT_EQ(table->ColumnCount(), 2);
    EXPECT_EQ(table->Cell(1, 0).text, QStringLiteral("2"));
    EXPECT_EQ(table->Cell(1, 1).alignment, 4);
    EXPECT_EQ(table->ColumnWidths()[1], 60);
    EXPECT_EQ(table->Rows()[0].height, 15);
}

TEST(PageHold, ActionCodesWithRulesOfTheirOwn)
{
    OneProgram p;
    CPlayWindow* w = p.AddWindow();
    auto* text = p.AddZone<CTextZone>(w, KindText);
    text->SetHold(250);
    text->SetAction(ActionAlwaysHold);
    EXPECT_EQ(text->GetPageHold(0), 0xFFFFu);
    text->SetAction(ActionContinuousMoveLeft);
    EXPECT_EQ(text->GetPageHold(0), 0u);
    text->SetAction(ActionMoveLeft);
    EXPECT_EQ(text->GetPageHold(7), 250u);

    auto* animate = p.AddZone<CAnimateZone>(w, KindAnimate);
    animate->PageHolds() = {5, 6};
    EXPECT_EQ(animate->GetPageHold(1), 6u);
    EXPECT_EQ(animate->GetPageHold(2), 20u); // hold 1 beyond the list

    auto* image = p.AddZone<CImageZone>(w, KindImage);
    image->SetHold(70);
    EXPECT_EQ(image->GetPageHold(0), 70u); // a still image
    image->FrameDelays() = {8, 12};
    image->Key().extra = -1;
    EXPECT_EQ(image->GetPageHold(1), 2u);
    EXPECT_EQ(image->GetPageHold(0), 0u); // never below 0
    EXPECT_EQ(image->GetPageHold(2), 10u);
}

TEST(Prepare, PlaceholderPagesTakeTheWindowSize)
{
    OneProgram p;
    auto* text = p.AddZone<CTextZone>(p.AddWindow({8, 0, 40, 16}), KindText);
    p.root->Prepare(RenderForm::Display);
    ASSERT_EQ(text->GetPageCount(), 1);
    EXPECT_EQ(text->GetPage(0)->Width(), 32);
    EXPECT_EQ(text->GetPage(0)->Height(), 16);
    EXPECT_EQ(text->GetPage(1), nullptr);
}
