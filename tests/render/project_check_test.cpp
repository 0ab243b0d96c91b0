// The project checker on hand-written projects: what the loader skips or fixes on its own,
// and what will not show as the project asks.
#include "model/datetime_zone.h"
#include "model/image_zone.h"
#include "model/load_check.h"
#include "model/play_window.h"
#include "model/program.h"
#include "model/project_root.h"
#include "model/screen.h"
#include "model/table_zone.h"
#include "model/text_zone.h"
#include "render/project_check.h"
#include "render/renderer.h"
#include "render/rtf_writer.h"
#include "support/test_support.h"

#include <QImage>
#include <QTemporaryDir>
#include <QTextDocument>

#include <gtest/gtest.h>

namespace {

QByteArray Document(const QByteArray& screens)
{
    return "<?xml version=\"1.0\"?><project><Varnolite><varno>0</varno><lite>NULL</lite>"
           "<fore>0</fore>" +
           screens + "</Varnolite></project>";
}

QByteArray Object(int kind, const QByteArray& name, const QByteArray& props,
                  const QByteArray& children = {})
{
    return "<Varnolite><varno>" + QByteArray::number(kind) + "</varno><lite>" + name + "</lite>" +
           props + children + "</Varnolite>";
}

QByteArray Screen(const QByteArray& programs)
{
    return Object(120, "S", "<fore>1</fore><pc>2</pc><ph1>32</ph1><pw>128</pw>", programs);
}

QByteArray Program(const QByteArray& children)
{
    return Object(110, "P", {}, children);
}

QByteArray Window(const QByteArray& name, const QByteArray& rect, const QByteArray& zones,
                  int fore = 1)
{
    return Object(100, name,
                  "<fore>" + QByteArray::number(fore) + "</fore><rect>" + rect + "</rect>", zones);
}

QByteArray Text(const QByteArray& name)
{
    return Object(1, name, "<action>1</action>");
}

std::vector<ProjectFinding> Loading(const QByteArray& bytes)
{
    ProjectFindings findings;
    EXPECT_TRUE(CheckProjectLoadingBuffer(bytes, findings));
    return findings;
}

QStringList Lines(const ProjectFindings& findings)
{
    QStringList lines;
    for (const ProjectFinding& finding : findings)
        lines << QStringLiteral("%1 %2: %3")
                     .arg(QLatin1String(FindingKindName(finding.kind)), finding.path, finding.text);
    return lines;
}

QString Rtf(const QString& text)
{
    QTextDocument document;
    document.setPlainText(text);
    return WriteRtf(document);
}

int CountOf(const ProjectFindings& findings, FindingKind kind)
{
    return static_cast<int>(std::count_if(findings.begin(), findings.end(),
                                          [kind](const auto& f) { return f.kind == kind; }));
}

} // namespace

TEST(LoadCheck, CleanProjectsHaveNoFindings)
{
    EXPECT_TRUE(Loading(CProjectRoot::NewProject()->SaveProjectBuffer()).empty());
    const QByteArray written = Document(Screen(
        Program(Window("W1", "0,0,64,32", Text("T1")) + Window("W2", "64,0,128,32", Text("T2")))));
    CProjectRoot root;
    ASSERT_TRUE(root.LoadProjectBuffer(written));
    EXPECT_TRUE(Loading(root.SaveProjectBuffer()).empty())
        << Lines(Loading(root.SaveProjectBuffer())).join('\n').toStdString();
}

TEST(LoadCheck, NamesWhatTheLoaderSkipsOrDrops)
{
    // The width before the colour type: the forward search passes it by.
    const QByteArray screen =
        Object(120, "S", "<fore>1</fore><pw>128</pw><pc>2</pc><ph1>32</ph1><bogus>1</bogus>",
               Program(Object(77, "Mystery", {}, Text("Inner")) +
                       Window("Pair", "0,0,64,32", Text("A") + Text("B"), 0) +
                       Window("Bent", "10,0,5,32", Text("C"))));
    const QByteArray bytes = Document(screen);
    const ProjectFindings findings = Loading(bytes);
    const QString all = Lines(findings).join('\n');
    EXPECT_EQ(findings.size(), 5u) << all.toStdString();
    EXPECT_TRUE(all.contains("key-order S: the key 'pw' is out of order and skipped; it would "
                             "have to stand after 'ps'"))
        << all.toStdString();
    EXPECT_TRUE(all.contains("unknown-key S: the screen has no key 'bogus'")) << all.toStdString();
    EXPECT_TRUE(all.contains("unknown-kind S/P: the unknown object 'Mystery' is dropped with its "
                             "content (1 objects inside): its kind 77 is unknown"))
        << all.toStdString();
    EXPECT_TRUE(all.contains("implicit-window S/P/Pair: an implicit window carries exactly one "
                             "zone; this one has 2"))
        << all.toStdString();
    EXPECT_TRUE(all.contains("invalid-rect S/P/Bent: the rectangle \"10,0,5,32\""))
        << all.toStdString();

    // The findings say what the loader really did.
    CProjectRoot root;
    ASSERT_TRUE(root.LoadProjectBuffer(bytes));
    const auto* loaded = static_cast<CScreen*>(root.GetChild(0));
    EXPECT_EQ(loaded->Width(), 256); // the default, not the skipped 128
    const CProjectObject* program = loaded->GetChild(0);
    ASSERT_EQ(program->GetChildCount(), 1);
    const auto* bent = static_cast<const CPlayWindow*>(program->GetChild(0));
    EXPECT_EQ(bent->GetName(), QStringLiteral("Bent"));
    EXPECT_TRUE(all.contains(QStringLiteral("the window uses %1,%2,%3,%4 instead")
                                 .arg(bent->WindowRect().left)
                                 .arg(bent->WindowRect().top)
                                 .arg(bent->WindowRect().right)
                                 .arg(bent->WindowRect().bottom)))
        << all.toStdString();
}

TEST(LoadCheck, ObjectsBeforeTheirParentsKeysAreNeverRead)
{
    // The program's play time stands after its window: the search for the window starts
    // behind "time" and never sees it.
    const QByteArray bytes = Document(
        Screen(Object(110, "P", {}, Window("Early", "0,0,64,32", Text("T")) + "<time>30</time>")));
    const ProjectFindings findings = Loading(bytes);
    ASSERT_EQ(findings.size(), 1u) << Lines(findings).join('\n').toStdString();
    EXPECT_EQ(findings[0].kind, FindingKind::SkippedObject);
    EXPECT_EQ(findings[0].path, QStringLiteral("S/P"));
    EXPECT_TRUE(findings[0].text.contains("the window object 'Early' stands before the key 'time'"))
        << findings[0].text.toStdString();
    CProjectRoot root;
    ASSERT_TRUE(root.LoadProjectBuffer(bytes));
    EXPECT_EQ(root.GetChild(0)->GetChild(0)->GetChildCount(), 0);
}

TEST(LoadCheck, RefusesWhatTheLoaderRefuses)
{
    ProjectFindings findings;
    EXPECT_FALSE(CheckProjectLoadingBuffer("<project><Varno", findings));
    EXPECT_FALSE(CheckProjectLoadingBuffer("<other/>", findings));
    QByteArray nested;
    for (int i = 0; i < 40; ++i)
        nested += "<Varnolite><varno>1</varno>";
    for (int i = 0; i < 40; ++i)
        nested += "</Varnolite>";
    EXPECT_FALSE(CheckProjectLoadingBuffer(Document(nested), findings));
}

class TreeCheck : public ::testing::Test
{
protected:
    void SetUp() override
    {
        InstallRenderer();
        root = CProjectRoot::NewProject();
        screen = static_cast<CScreen*>(root->GetChild(0));
        screen->Params().SetU16(ControllerParams::Width, 128);
        screen->Params().SetU16(ControllerParams::Height, 32);
        program = static_cast<CProgram*>(screen->GetChild(0));
    }

    CPlayWindow* AddWindow(const LedRect& rect)
    {
        auto window = std::make_unique<CPlayWindow>(program);
        window->SetWindowRect(rect);
        CPlayWindow* raw = window.get();
        program->AddChild(std::move(window));
        return raw;
    }

    template <typename T> T* AddZone(CPlayWindow& window)
    {
        auto zone = std::make_unique<T>(&window);
        T* raw = zone.get();
        window.AddChild(std::move(zone));
        return raw;
    }

    ProjectFindings Check()
    {
        ProjectFindings findings;
        CheckProjectTree(*root, findings);
        return findings;
    }

    std::unique_ptr<CProjectRoot> root;
    CScreen* screen = nullptr;
    CProgram* program = nullptr;
};

TEST_F(TreeCheck, GeometryEffectsAndSizes)
{
    AddZone<CTextZone>(*AddWindow({0, 0, 64, 32}))->SetAction(1);
    AddZone<CTextZone>(*AddWindow({60, 0, 100, 32}))->SetAction(46);
    AddZone<CTextZone>(*AddWindow({100, 0, 140, 32}))->SetAction(45);
    EXPECT_TRUE(Check().size() == 3u) << Lines(Check()).join('\n').toStdString();
    const QString all = Lines(Check()).join('\n');
    EXPECT_TRUE(all.contains("overlap Panel1/Program1/Window1: the window 0,0,64,32 overlaps "
                             "Window2 at 60,0,100,32"))
        << all.toStdString();
    EXPECT_TRUE(all.contains("effect-code Panel1/Program1/Window2/Text2: the entry effect 46 "
                             "is not in the effect list (0 to 45)"))
        << all.toStdString();
    EXPECT_TRUE(all.contains("outside-screen Panel1/Program1/Window3: the window 100,0,140,32 "
                             "leaves the screen's area 0,0,128,32"))
        << all.toStdString();

    screen->Params().SetU16(ControllerParams::Width, 8200);
    EXPECT_EQ(CountOf(Check(), FindingKind::SizeLimit), 1);
    screen->Params().SetU16(ControllerParams::Width, 8192);
    screen->Params().SetU16(ControllerParams::Height, 512);
    EXPECT_EQ(CountOf(Check(), FindingKind::SizeLimit), 0);
}

TEST_F(TreeCheck, MissingAndUnreadableImagesAndTooManyPages)
{
    QTemporaryDir dir;
    auto* missing = AddZone<CImageZone>(*AddWindow({0, 0, 64, 32}));
    missing->Key().sourcePath = dir.filePath(QStringLiteral("gone.png"));
    auto* broken = AddZone<CImageZone>(*AddWindow({64, 0, 128, 32}));
    broken->Key().sourcePath = dir.filePath(QStringLiteral("broken.png"));
    ASSERT_TRUE(WriteFileBytes(broken->Key().sourcePath, "not a picture"));
    ProjectFindings findings = Check();
    ASSERT_EQ(CountOf(findings, FindingKind::MissingImage), 2)
        << Lines(findings).join('\n').toStdString();
    EXPECT_TRUE(findings[0].text.contains("does not exist")) << findings[0].text.toStdString();
    EXPECT_TRUE(findings[1].text.contains("cannot be read")) << findings[1].text.toStdString();

    // A relative name is found beside the project file.
    const QString project = dir.filePath(QStringLiteral("p.ledprj"));
    ASSERT_TRUE(root->SaveProject(project));
    QImage(4, 4, QImage::Format_RGB32).save(dir.filePath(QStringLiteral("here.png")));
    missing->Key().sourcePath = QStringLiteral("here.png");
    broken->Key().sourcePath = QStringLiteral("here.png");
    EXPECT_EQ(CountOf(Check(), FindingKind::MissingImage), 0);
    screen->Prepare(RenderForm::Controller);
    EXPECT_EQ(missing->GetPageCount(), 1);

    for (int i = 0; i < 256; ++i)
        missing->AddPage(std::make_unique<CLedBitmap>(QImage(64, 32, QImage::Format_RGB32)));
    findings = Check();
    ASSERT_EQ(CountOf(findings, FindingKind::TooManyPages), 1);
    EXPECT_TRUE(findings.back().text.contains("needs 257 pages; a zone carries 255"));
}

TEST_F(TreeCheck, GlyphsLayoutsAndTableRows)
{
    CPlayWindow* textWindow = AddWindow({0, 16, 64, 32});
    auto* text = AddZone<CTextZone>(*textWindow);
    text->SetRtf(Rtf(QStringLiteral("ok ") + QString::fromUcs4(U"\U0010FFFD")));
    ProjectFindings findings = Check();
    ASSERT_EQ(findings.size(), 1u) << Lines(findings).join('\n').toStdString();
    EXPECT_EQ(findings[0].kind, FindingKind::MissingGlyph);
    EXPECT_TRUE(findings[0].text.startsWith("no installed font has U+10FFFD"))
        << findings[0].text.toStdString();
    text->SetRtf(Rtf(QStringLiteral("plain text")));
    EXPECT_TRUE(Check().empty()) << Lines(Check()).join('\n').toStdString();

    // A date, a weekday and a time in three rows do not fit 16 pixels.
    auto* clock = AddZone<CDateTimeZone>(*AddWindow({0, 0, 128, 16}));
    EXPECT_EQ(CountOf(Check(), FindingKind::LayoutCut), 1)
        << Lines(Check()).join('\n').toStdString();
    clock->Settings().oneLine = 1;
    clock->Settings().enabled[DateTimeDate] = 0;
    clock->Settings().enabled[DateTimeWeekday] = 0;
    EXPECT_EQ(CountOf(Check(), FindingKind::LayoutCut), 0)
        << Lines(Check()).join('\n').toStdString();

    auto* table = AddZone<CTableZone>(*AddWindow({64, 16, 128, 32}));
    table->SetSize(2, 2);
    table->Cell(1, 0).text = QStringLiteral("tall");
    table->Cell(1, 0).fontSize = 30;
    findings = Check();
    ASSERT_EQ(CountOf(findings, FindingKind::TableRowHeight), 1)
        << Lines(findings).join('\n').toStdString();
    EXPECT_TRUE(findings.back().text.contains("1 cell(s)")) << findings.back().text.toStdString();
    EXPECT_TRUE(findings.back().text.contains("row 2, column 1"));
}
