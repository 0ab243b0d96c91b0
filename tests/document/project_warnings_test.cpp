// The warnings of the open project: they follow the document's changes, check again only
// what a change touched, never point at what left the project, and keep the tree's order.
#include "document/edit_commands.h"
#include "document/lumivant_doc.h"
#include "document/project_warnings.h"
#include "model/effect_zone.h"
#include "model/play_window.h"
#include "model/program.h"
#include "model/project_root.h"
#include "model/rich_text_base.h"
#include "model/screen.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// An entry effect outside the effect list: a finding that needs no fonts and no pictures.
constexpr int kUnknownEffect = 99;

class ProjectWarningsTest : public testing::Test
{
protected:
    void SetUp() override { warnings.SetActive(true); }

    CScreen& Screen() { return *static_cast<CScreen*>(doc.Root().GetChild(0)); }
    CProgram& Program(int index = 0) { return *static_cast<CProgram*>(Screen().GetChild(index)); }

    // A text zone in a new implicit window of the program.
    CEffectZone& AddText(CProgram& program)
    {
        doc.SetCurrentObject(&program);
        EXPECT_TRUE(AddZone(doc, KindText));
        CProjectObject* window = program.GetChild(program.GetChildCount() - 1);
        return *static_cast<CEffectZone*>(window->GetChild(0));
    }
    void SetEffect(CEffectZone& zone, int effect)
    {
        doc.EditObject(zone, RefreshCode::EffectSettings, false, [&] { zone.SetAction(effect); });
    }
    int CountAbout(const CProjectObject* object, FindingKind kind)
    {
        int count = 0;
        for (const CProjectWarnings::Warning& warning : warnings.Warnings())
            count += warning.object == object && warning.kind == kind ? 1 : 0;
        return count;
    }
    // Every warning points at an object that stands in the project.
    void ExpectOnlyObjectsOfTheProject()
    {
        for (const CProjectWarnings::Warning& warning : warnings.Warnings())
            EXPECT_TRUE(!warning.object || doc.Contains(warning.object));
    }

    CLumivantDoc doc;
    CProjectWarnings warnings{doc};
};

TEST_F(ProjectWarningsTest, AnEditIsCheckedOnceTheChangesStopAndNotWhileNoOneShowsThem)
{
    CEffectZone& zone = AddText(Program());
    warnings.CheckPendingNow();
    EXPECT_EQ(CountAbout(&zone, FindingKind::EffectCode), 0);

    QSignalSpy changed(&warnings, &CProjectWarnings::warningsChanged);
    SetEffect(zone, kUnknownEffect);
    EXPECT_TRUE(warnings.IsChecking());
    // Nothing before the changes have settled; then the zone's finding.
    EXPECT_EQ(changed.count(), 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !warnings.IsChecking(); }, 5000));
    EXPECT_EQ(CountAbout(&zone, FindingKind::EffectCode), 1);
    EXPECT_EQ(changed.count(), 1);

    // Hidden: the change waits, and is checked when the list is shown again.
    warnings.SetActive(false);
    SetEffect(zone, 1);
    QTest::qWait(CProjectWarnings::kSettleMs + 100);
    EXPECT_EQ(CountAbout(&zone, FindingKind::EffectCode), 1);
    EXPECT_FALSE(warnings.IsChecking());
    warnings.SetActive(true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !warnings.IsChecking(); }, 5000));
    EXPECT_EQ(CountAbout(&zone, FindingKind::EffectCode), 0);
}

TEST_F(ProjectWarningsTest, AZoneEditChecksThatZoneAlone)
{
    CEffectZone& edited = AddText(Program());
    CEffectZone& other = AddText(Program());
    warnings.CheckPendingNow();
    // A change the document never heard of stays unchecked while another zone is edited...
    other.SetAction(kUnknownEffect);
    SetEffect(edited, kUnknownEffect);
    warnings.CheckPendingNow();
    EXPECT_EQ(CountAbout(&edited, FindingKind::EffectCode), 1);
    EXPECT_EQ(CountAbout(&other, FindingKind::EffectCode), 0);
    // ...and is found by a check of everything.
    warnings.RecheckAll();
    warnings.CheckPendingNow();
    EXPECT_EQ(CountAbout(&other, FindingKind::EffectCode), 1);
}

TEST_F(ProjectWarningsTest, WhatLeavesTheProjectLeavesTheWarningsAtOnceAndUndoBringsItBack)
{
    CEffectZone& zone = AddText(Program());
    SetEffect(zone, kUnknownEffect);
    warnings.CheckPendingNow();
    ASSERT_EQ(CountAbout(&zone, FindingKind::EffectCode), 1);

    QSignalSpy changed(&warnings, &CProjectWarnings::warningsChanged);
    doc.SetCurrentObject(&zone);
    ASSERT_TRUE(DeleteCurrentObject(doc));
    // Before any check runs: the list no longer holds the zone.
    EXPECT_GE(changed.count(), 1);
    EXPECT_EQ(CountAbout(&zone, FindingKind::EffectCode), 0);
    ExpectOnlyObjectsOfTheProject();

    doc.UndoStack().undo();
    warnings.CheckPendingNow();
    EXPECT_EQ(CountAbout(&zone, FindingKind::EffectCode), 1);

    // A whole program, and a whole project.
    doc.SetCurrentObject(&Program());
    ASSERT_TRUE(AddProgram(doc));
    CEffectZone& second = AddText(Program(1));
    SetEffect(second, kUnknownEffect);
    warnings.CheckPendingNow();
    EXPECT_EQ(CountAbout(&second, FindingKind::EffectCode), 1);
    doc.SetCurrentObject(&Program(1));
    ASSERT_TRUE(DeleteCurrentObject(doc));
    ExpectOnlyObjectsOfTheProject();
    doc.SetRoot(CProjectRoot::NewProject(), QString());
    EXPECT_TRUE(warnings.Warnings().empty());
    warnings.CheckPendingNow();
    EXPECT_TRUE(warnings.Warnings().empty());
}

TEST_F(ProjectWarningsTest, WindowsMovedOverEachOtherAndApartAreCheckedWithTheirProgram)
{
    doc.SetCurrentObject(&Program());
    ASSERT_TRUE(AddWindow(doc));
    ASSERT_TRUE(AddWindow(doc));
    ASSERT_EQ(Program().GetChildCount(), 2);
    auto* first = static_cast<CPlayWindow*>(Program().GetChild(0));
    auto* second = static_cast<CPlayWindow*>(Program().GetChild(1));
    const auto place = [&](CPlayWindow& window, const LedRect& rect) {
        doc.EditObject(window, RefreshCode::Geometry, true, [&] { window.SetWindowRect(rect); });
    };
    place(*first, {0, 0, 64, 32});
    place(*second, {64, 0, 128, 32});
    warnings.CheckPendingNow();
    EXPECT_EQ(CountAbout(first, FindingKind::Overlap), 0);

    place(*second, {32, 0, 96, 32});
    warnings.CheckPendingNow();
    EXPECT_EQ(CountAbout(first, FindingKind::Overlap), 1);
    doc.UndoStack().undo();
    warnings.CheckPendingNow();
    EXPECT_EQ(CountAbout(first, FindingKind::Overlap), 0);
}

TEST_F(ProjectWarningsTest, TheListKeepsTheTreesOrder)
{
    doc.SetCurrentObject(&Program());
    ASSERT_TRUE(AddProgram(doc));
    CEffectZone& a = AddText(Program(0));
    CEffectZone& b = AddText(Program(0));
    CEffectZone& c = AddText(Program(1));
    for (CEffectZone* zone : {&c, &b, &a})
        SetEffect(*zone, kUnknownEffect);
    warnings.CheckPendingNow();
    // b checked again alone stays between a and c.
    SetEffect(b, kUnknownEffect + 1);
    warnings.CheckPendingNow();
    std::vector<const CProjectObject*> order;
    for (const CProjectWarnings::Warning& warning : warnings.Warnings()) {
        if (warning.kind == FindingKind::EffectCode)
            order.push_back(warning.object);
    }
    EXPECT_EQ(order, (std::vector<const CProjectObject*>{&a, &b, &c}));

    // Moving a program changes the order without a check.
    doc.SetCurrentObject(&Program(1));
    ASSERT_TRUE(MoveCurrentObject(doc, true));
    warnings.CheckPendingNow();
    order.clear();
    for (const CProjectWarnings::Warning& warning : warnings.Warnings()) {
        if (warning.kind == FindingKind::EffectCode)
            order.push_back(warning.object);
    }
    EXPECT_EQ(order, (std::vector<const CProjectObject*>{&c, &a, &b}));
}

TEST_F(ProjectWarningsTest, AScreensColoursAreCheckedWithEverythingItShows)
{
    CEffectZone& zone = AddText(Program());
    doc.EditObject(zone, RefreshCode::Content, false, [&] {
        static_cast<CRichTextBase&>(zone).SetRtf(QStringLiteral(
            "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}{\\colortbl ;\\red0\\green255\\blue0;}"
            "\\f0\\fs24\\cf1 Green\\par}"));
    });
    const auto setColours = [&](int type) {
        doc.ChangeScreenSettings(
            Screen(), QStringLiteral("Panel Setup"),
            [&] {
                Screen().Params().SetU8(ControllerParams::ColourType, std::uint8_t(type));
                return true;
            },
            CLumivantDoc::CardWrite::None);
    };
    setColours(1);
    warnings.CheckPendingNow();
    EXPECT_EQ(CountAbout(&zone, FindingKind::UnshownColour), 1); // green on a red sign
    setColours(2);
    warnings.CheckPendingNow();
    EXPECT_EQ(CountAbout(&zone, FindingKind::UnshownColour), 0);
}

TEST_F(ProjectWarningsTest, WhatTheLoaderFixedInTheFileIsListedUntilTheFileIsSaved)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("shop.ledprj"));
    ASSERT_TRUE(CProjectRoot::NewProject()->SaveProject(path));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QByteArray xml = file.readAll();
    file.close();
    xml.replace("<lite>Panel1</lite>", "<lite>Panel1</lite><bogus>1</bogus>");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(xml);
    file.close();

    auto root = std::make_unique<CProjectRoot>();
    ASSERT_TRUE(root->LoadProject(path));
    doc.SetRoot(std::move(root), path);
    warnings.CheckPendingNow();
    EXPECT_EQ(CountAbout(&Screen(), FindingKind::UnknownKey), 1);

    // Saved by the program: the file holds nothing to fix any more.
    ASSERT_TRUE(doc.Root().SaveProject(path));
    doc.SetModified();
    doc.SetClean();
    warnings.CheckPendingNow();
    EXPECT_EQ(CountAbout(&Screen(), FindingKind::UnknownKey), 0);
}

TEST(ProjectWarningsLabel, NamesTheObjectAsTheTreeShowsIt)
{
    CLumivantDoc doc;
    auto& program = *doc.Root().GetChild(0)->GetChild(0);
    doc.SetCurrentObject(&program);
    ASSERT_TRUE(AddZone(doc, KindText));
    CProjectObject* hidden = program.GetChild(program.GetChildCount() - 1);
    CProjectObject* zone = hidden->GetChild(0);
    ASSERT_EQ(hidden->GetFore(), 0);
    const QString expected =
        doc.Root().GetChild(0)->GetName() + u'/' + program.GetName() + u'/' + zone->GetName();
    EXPECT_EQ(CProjectWarnings::ObjectLabel(*zone), expected);
    EXPECT_EQ(CProjectWarnings::ObjectLabel(*hidden), expected);
}

} // namespace
