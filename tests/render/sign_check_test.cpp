// The checker's findings about what the sign shows otherwise than meant: each given where
// it applies and not given where it does not.
#include "model/animate_zone.h"
#include "model/image_zone.h"
#include "model/load_check.h"
#include "model/play_window.h"
#include "model/program.h"
#include "model/project_root.h"
#include "model/screen.h"
#include "model/table_zone.h"
#include "model/text_zone.h"
#include "render/dither.h"
#include "render/project_check.h"
#include "render/renderer.h"

#include <QPainter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QString Rtf(const QByteArray& body, const QByteArray& colours = {})
{
    return QString::fromLatin1("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}{\\f1 Comic Sans Nowhere;}"
                               "{\\f2\\fcharset136 \\'b7s\\'b2\\'d3\\'a9\\'fa\\'c5\\'e9;}}"
                               "{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green255\\blue0;"
                               "\\red0\\green0\\blue0;\\red255\\green255\\blue0;" +
                               colours + "}\\f0\\fs24 " + body + "}");
}

class SignCheckTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        InstallRenderer();
        root = CProjectRoot::NewProject();
        screen = static_cast<CScreen*>(root->GetChild(0));
        program = static_cast<CProgram*>(screen->GetChild(0));
        SetColours(1);
    }

    void SetColours(int colourType)
    {
        screen->Params().SetU8(ControllerParams::ColourType, static_cast<std::uint8_t>(colourType));
    }

    template <typename Zone> Zone& Add(int kind, const LedRect& rect)
    {
        auto window = std::make_unique<CPlayWindow>(program);
        window->SetWindowRect(rect);
        auto zone = window->CreateChild(kind);
        auto& added = static_cast<Zone&>(*zone);
        added.SetName(QStringLiteral("Z%1").arg(program->GetChildCount() + 1));
        window->AddChild(std::move(zone));
        program->AddChild(std::move(window));
        return added;
    }

    CTextZone& Text(const QString& rtf, int action = ActionDirect,
                    const LedRect& rect = {0, 0, 64, 32})
    {
        auto& zone = Add<CTextZone>(KindText, rect);
        zone.SetRtf(rtf);
        zone.SetAction(action);
        return zone;
    }

    CImageZone& Image(const QImage& picture, const QString& name)
    {
        const QString path = dir.filePath(name);
        EXPECT_TRUE(picture.save(path));
        auto& zone = Add<CImageZone>(KindImage, {0, 0, picture.width(), picture.height()});
        zone.Key().sourcePath = path;
        return zone;
    }

    // The findings of the one zone, as "kind: text".
    QStringList About(const CProjectObject& zone)
    {
        ProjectFindings findings;
        CheckProjectObject(zone, findings);
        QStringList lines;
        for (const ProjectFinding& finding : findings) {
            EXPECT_EQ(finding.path, ObjectPath(zone));
            EXPECT_EQ(ObjectAtPlace(*root, finding.place), &zone) << finding.place.toStdString();
            lines << QStringLiteral("%1: %2").arg(QLatin1String(FindingKindName(finding.kind)),
                                                  finding.text);
        }
        return lines;
    }

    static bool Has(const QStringList& lines, const QString& start)
    {
        return std::any_of(lines.begin(), lines.end(),
                           [&](const QString& line) { return line.startsWith(start); });
    }

    QTemporaryDir dir;
    std::unique_ptr<CProjectRoot> root;
    CScreen* screen = nullptr;
    CProgram* program = nullptr;
};

TEST_F(SignCheckTest, PictureContentTheKeyColourTakesIsNamedButARemovedBackgroundIsNot)
{
    QImage open(64, 32, QImage::Format_RGB32);
    open.fill(Qt::black);
    QPainter(&open).fillRect(10, 10, 40, 12, Qt::white); // white lettering inside
    const QStringList lost = About(Image(open, QStringLiteral("open.png")));
    ASSERT_EQ(lost.size(), 1) << lost.join('\n').toStdString();
    EXPECT_EQ(lost[0], QStringLiteral("key-colour-loss: 100% of the picture's lit pixels are near "
                                      "the remove colour 250,250,250 (tolerance 5) and stay dark; "
                                      "choose another remove colour or a smaller tolerance."));

    QImage logo(64, 32, QImage::Format_RGB32);
    logo.fill(Qt::white); // the background the key is there to remove
    QPainter(&logo).fillRect(10, 10, 40, 12, Qt::red);
    EXPECT_TRUE(About(Image(logo, QStringLiteral("logo.png"))).isEmpty());

    // Another remove colour keeps the lettering; the dark holes inside it are no loss.
    QPainter(&open).fillRect(20, 14, 8, 4, Qt::black);
    auto& again = Image(open, QStringLiteral("open2.png"));
    again.Key().keyColour = 0x000000;
    EXPECT_TRUE(About(again).isEmpty());
}

TEST_F(SignCheckTest, PicturesInColoursTheScreenLacksAndPhotosThatCollapse)
{
    QImage sky(64, 32, QImage::Format_RGB32);
    sky.fill(qRgb(0, 0, 200));
    auto& blue = Image(sky, QStringLiteral("sky.png"));
    EXPECT_EQ(About(blue), QStringList{QStringLiteral(
                               "unshown-colour: 100% of the picture's lit pixels have only "
                               "colours a R screen lacks and stay dark.")});
    SetColours(3);
    EXPECT_TRUE(About(blue).isEmpty());

    QImage photo(96, 48, QImage::Format_RGB32);
    for (int y = 0; y < photo.height(); ++y) {
        for (int x = 0; x < photo.width(); ++x)
            photo.setPixel(x, y, qRgb(20 + x * 2, 30 + y * 4, 60 + (x + y) % 90));
    }
    auto& collapsing = Image(photo, QStringLiteral("photo.png"));
    EXPECT_TRUE(
        Has(About(collapsing), QStringLiteral("photo-collapse: The photo's tones collapse")));
    // Dithered, the same photo keeps its tones as a mix of LEDs.
    const QImage dithered = DitherToScreenColours(photo, 3, ImageKeyParams{});
    EXPECT_TRUE(About(Image(dithered, QStringLiteral("photo-dithered.png"))).isEmpty());
}

TEST_F(SignCheckTest, TextInColoursTheScreenCannotShowAndHighlightsThatTurnIntoBars)
{
    auto& text = Text(Rtf("\\cf1 Red \\cf3 Black \\cf2 Green\\par"));
    EXPECT_EQ(About(text),
              QStringList{QStringLiteral("unshown-colour: Text in Black cannot be seen on this "
                                         "screen: \"Black Green\".")});
    SetColours(2);
    EXPECT_EQ(About(text),
              QStringList{QStringLiteral("unshown-colour: Text in Black cannot be seen on this "
                                         "screen: \"Black\".")});

    // Red text on a yellow highlight: a red sign shows a red bar; a red and green sign
    // shows the text.
    auto& marked = Text(Rtf("\\cf1\\highlight4 Sale\\highlight0  now\\par"));
    EXPECT_TRUE(About(marked).isEmpty());
    SetColours(1);
    EXPECT_EQ(About(marked), QStringList{QStringLiteral(
                                 "unshown-colour: Highlighted text shows as a solid Red bar: "
                                 "\"Sale\".")});
    EXPECT_TRUE(About(Text(Rtf("\\cf1 Fine\\par"))).isEmpty());

    // A table cell whose text is the colour of its background.
    auto& table = Add<CTableZone>(KindTable, {0, 0, 64, 32});
    table.Cell(0, 0).foreColour = 0x0000FF;
    table.Cell(0, 0).backColour = 0x00FFFF; // yellow: red on a red sign
    EXPECT_TRUE(Has(About(table), QStringLiteral("unshown-colour: Text in Red cannot be seen")));
}

TEST_F(SignCheckTest, LinesAndPartsAZoneNeverShows)
{
    const QString threeLines = Rtf("One\\par Two\\par Three\\par");
    auto& scrolling = Text(threeLines, ActionContinuousMoveLeft, {0, 0, 64, 16});
    EXPECT_EQ(About(scrolling),
              QStringList{QStringLiteral("never-shown: It scrolls as one strip: 2 of its 3 lines "
                                         "do not fit the window's height and never show whole.")});
    // Two small lines fit a window of 48 rows and scroll together.
    EXPECT_TRUE(About(Text(threeLines, ActionContinuousMoveLeft, {0, 0, 64, 64})).isEmpty());
    EXPECT_TRUE(
        About(Text(Rtf("One line\\par"), ActionContinuousMoveLeft, {0, 0, 64, 16})).isEmpty());
    // Page by page every line shows; a line taller than the window is cut.
    EXPECT_TRUE(About(Text(threeLines, ActionDirect, {0, 0, 64, 16})).isEmpty());
    EXPECT_TRUE(Has(About(Text(Rtf("\\fs96 Big\\par"), ActionDirect, {0, 0, 64, 16})),
                    QStringLiteral("never-shown: A line ")));

    auto& animate = Add<CAnimateZone>(KindAnimate, {0, 0, 32, 16});
    animate.SetRtf(Rtf("A long greeting that does not fit\\par"));
    EXPECT_EQ(About(animate), QStringList{QStringLiteral(
                                  "never-shown: The animation shows the first 32 x 16 pixels of "
                                  "the text; the rest never shows.")});
    animate.SetRtf(Rtf("Hi\\par"));
    EXPECT_TRUE(About(animate).isEmpty());
}

TEST_F(SignCheckTest, PicturesInRichTextThatCannotBeDrawnAndFacesThatAreMissing)
{
    auto& metafile = Text(Rtf("Logo {\\pict\\wmetafile8\\picw100\\pich100 0100090000}\\par"));
    EXPECT_EQ(About(metafile),
              QStringList{QStringLiteral("undrawable-picture: 1 picture(s) in the text cannot be "
                                         "drawn (Windows metafiles and the like) and are left "
                                         "out.")});
    // The same picture offered as PNG as well, as word processors write it: drawn.
    EXPECT_TRUE(About(Text(Rtf("Logo {\\*\\shppict{\\pict\\pngblip 89504e47}}"
                               "{\\nonshppict{\\pict\\wmetafile8 0100}}\\par")))
                    .filter(QStringLiteral("undrawable"))
                    .size() == 1); // the PNG here is broken: said once, not twice

    const QStringList missing = About(Text(Rtf("\\f1 Hello\\par")));
    ASSERT_EQ(missing.size(), 1) << missing.join('\n').toStdString();
    EXPECT_TRUE(missing[0].startsWith(
        QStringLiteral("missing-face: The face 'Comic Sans Nowhere' is not installed; '")))
        << missing[0].toStdString();
    EXPECT_FALSE(missing[0].endsWith(QStringLiteral("'' is used instead.")));
    // Windows faces the mapping stands in for are no news; 新細明體 among them.
    EXPECT_TRUE(About(Text(Rtf("\\f0 Hello \\f2\\'a4\\'a4\\par"))).isEmpty());

    auto& table = Add<CTableZone>(KindTable, {0, 0, 64, 32});
    table.Cell(1, 1).fontName = QStringLiteral("Comic Sans Nowhere");
    EXPECT_TRUE(Has(About(table), QStringLiteral("missing-face: ")));
}

TEST_F(SignCheckTest, TheWholeTreeNamesEveryObjectByPlace)
{
    Text(Rtf("\\cf3 Black\\par"));
    Text(Rtf("\\cf1 Red\\par"));
    auto& third = Text(Rtf("\\cf3 Dark\\par"));
    ProjectFindings all;
    CheckProjectTree(*root, all);
    ProjectFindings findings; // the windows overlap too: that is another finding
    std::copy_if(all.begin(), all.end(), std::back_inserter(findings),
                 [](const ProjectFinding& f) { return f.kind == FindingKind::UnshownColour; });
    ASSERT_EQ(findings.size(), 2u);
    EXPECT_EQ(findings[0].place, QStringLiteral("s1/p1/w1/z1"));
    EXPECT_EQ(findings[1].place, QStringLiteral("s1/p1/w3/z1"));
    EXPECT_EQ(ObjectAtPlace(*root, findings[1].place), &third);
    EXPECT_EQ(ObjectAtPlace(*root, QStringLiteral("s1/p1")), program);
    EXPECT_EQ(ObjectAtPlace(*root, QStringLiteral("s1/p1/w4")), nullptr);
    EXPECT_EQ(ObjectAtPlace(*root, QStringLiteral("s1/px")), nullptr);
    EXPECT_EQ(ObjectAtPlace(*root, QString()), nullptr);
    // Checking a window checks its zones; the program its windows.
    ProjectFindings ofProgram;
    CheckProjectObject(*program, ofProgram);
    EXPECT_EQ(ofProgram.size(), all.size());
    ProjectFindings ofWindow;
    CheckProjectObject(*third.Parent(), ofWindow);
    ASSERT_EQ(ofWindow.size(), 1u);
    EXPECT_EQ(ofWindow[0].place, QStringLiteral("s1/p1/w3/z1"));
}

TEST(LoadingPlaceTest, FindingsOfTheFileNameTheObjectsOfTheLoadedProject)
{
    const QByteArray file =
        "<?xml version=\"1.0\"?><project><Varnolite><varno>0</varno><lite>NULL</lite>"
        "<Varnolite><varno>120</varno><lite>S</lite><fore>1</fore>"
        "<Varnolite><varno>110</varno><lite>P1</lite></Varnolite>"
        "<Varnolite><varno>110</varno><lite>P2</lite><bogus>1</bogus>"
        "<Varnolite><varno>100</varno><lite>Pair</lite><fore>0</fore>"
        "<Varnolite><varno>1</varno><lite>A</lite></Varnolite>"
        "<Varnolite><varno>1</varno><lite>B</lite></Varnolite></Varnolite>"
        "</Varnolite></Varnolite></Varnolite></project>";
    ProjectFindings findings;
    ASSERT_TRUE(CheckProjectLoadingBuffer(file, findings));
    ASSERT_EQ(findings.size(), 2u);
    EXPECT_EQ(findings[0].kind, FindingKind::UnknownKey);
    EXPECT_EQ(findings[0].place, QStringLiteral("s1/p2"));
    // The implicit window is dropped by the loader: its program stands for it.
    EXPECT_EQ(findings[1].kind, FindingKind::ImplicitWindow);
    EXPECT_EQ(findings[1].path, QStringLiteral("S/P2/Pair"));
    EXPECT_EQ(findings[1].place, QStringLiteral("s1/p2"));
    CProjectRoot root;
    ASSERT_TRUE(root.LoadProjectBuffer(file));
    EXPECT_EQ(ObjectAtPlace(root, findings[0].place)->GetName(), QStringLiteral("P2"));
}

} // namespace
