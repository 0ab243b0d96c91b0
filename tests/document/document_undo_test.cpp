#include "document/lumivant_doc.h"
#include "model/play_window.h"
#include "model/program.h"
#include "model/project_root.h"
#include "model/screen.h"
#include "model/text_zone.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

CPlayWindow& AddWindow(CProgram& program)
{
    auto window = program.CreateChild(KindWindow);
    auto* raw = static_cast<CPlayWindow*>(window.get());
    raw->SetWindowRect(program.DefaultWindowRect());
    program.AddChild(std::move(window));
    return *raw;
}

class DocumentEditTest : public testing::Test
{
protected:
    CLumivantDoc doc;
    CProgram& program() { return *static_cast<CProgram*>(doc.Root().GetChild(0)->GetChild(0)); }
};

TEST_F(DocumentEditTest, UndoOfAnEditGivesBackTheSameFile)
{
    CPlayWindow& window = AddWindow(program());
    const QByteArray saved = doc.Root().SaveProjectBuffer();

    doc.EditObject(window, RefreshCode::Geometry, false, [&] {
        window.SetWindowRect({8, 0, 40, 16});
    });
    doc.EditObject(window, RefreshCode::Name, false, [&] { window.SetName("Prices"); });
    ASSERT_EQ(doc.UndoStack().count(), 2);
    EXPECT_TRUE(doc.IsModified());

    doc.UndoStack().undo();
    doc.UndoStack().undo();
    EXPECT_EQ(doc.Root().SaveProjectBuffer(), saved);
    EXPECT_FALSE(doc.IsModified());

    doc.UndoStack().redo();
    doc.UndoStack().redo();
    EXPECT_EQ(window.WindowRect(), (LedRect{8, 0, 40, 16}));
    EXPECT_EQ(window.GetName(), QStringLiteral("Prices"));
}

TEST_F(DocumentEditTest, MergedEditsMakeOneStepAndAnEditThatChangesNothingNone)
{
    CPlayWindow& window = AddWindow(program());
    for (const char* name : {"P", "Pr", "Pri"})
        doc.EditObject(
            window, RefreshCode::Name, false, [&] { window.SetName(name); }, 7);
    EXPECT_EQ(doc.UndoStack().count(), 1);
    doc.EditObject(window, RefreshCode::Name, false, [&] { window.SetName("Pri"); });
    EXPECT_EQ(doc.UndoStack().count(), 1);

    doc.UndoStack().undo();
    EXPECT_NE(window.GetName(), QStringLiteral("Pri"));
}

TEST_F(DocumentEditTest, QuickEditsRenderOnceAfterTheDelay)
{
    CPlayWindow& window = AddWindow(program());
    auto zone = window.CreateChild(KindText);
    auto* text = static_cast<CTextZone*>(zone.get());
    window.AddChild(std::move(zone));
    QSignalSpy rendered(&doc, &CLumivantDoc::objectRendered);

    for (int i = 0; i < 5; ++i)
        doc.EditObject(
            *text, RefreshCode::Content, true, [&, i] { text->SetSpeed(i); }, 3);
    EXPECT_EQ(rendered.count(), 0);
    EXPECT_TRUE(rendered.wait(CLumivantDoc::kRenderDelayMs * 5));
    QTest::qWait(CLumivantDoc::kRenderDelayMs * 2);
    EXPECT_EQ(rendered.count(), 1);

    doc.EditObject(*text, RefreshCode::Content, true, [&] { text->SetSpeed(9); });
    doc.FlushPendingRender();
    EXPECT_EQ(rendered.count(), 2);
    EXPECT_FALSE(doc.HasPendingRender());
}

} // namespace
