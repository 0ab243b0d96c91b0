// What the desktop shows of the sign: the preview's still panes, the text editor's LED page
// and the "Load Image" dialog show what the card gets; the preview's zoom that fits a pane.
#include "base/app_settings.h"
#include "document/lumivant_doc.h"
#include "editors/image_page.h"
#include "editors/load_image_dialog.h"
#include "editors/preview_geometry.h"
#include "editors/preview_view.h"
#include "editors/preview_window_pane.h"
#include "editors/sign_view_options.h"
#include "editors/text_editor_dlg.h"
#include "model/image_zone.h"
#include "model/text_zone.h"
#include "page_fixture.h"
#include "render/led_look.h"
#include "render/renderer.h"
#include "support/test_support.h"

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// White lettering on black: on a sign with the default key colour the lettering is taken.
QImage WhiteOnBlack()
{
    QImage picture(64, 32, QImage::Format_RGB32);
    picture.fill(Qt::black);
    QPainter(&picture).fillRect(8, 8, 48, 16, Qt::white);
    return picture;
}

QImage Ramp(int width, int height)
{
    QImage ramp(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            ramp.setPixel(x, y, qRgb(x * 200 / width + 20, x * 150 / width + 20, 30));
    }
    return ramp;
}

int LitPixels(const QImage& image)
{
    int lit = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            lit += (image.pixel(x, y) & 0xFFFFFF) != 0 ? 1 : 0;
    }
    return lit;
}

class SignViewsTest : public PageTest
{
protected:
    void SetUp() override
    {
        InstallRenderer();
        SetScreen(128, 32, 1); // a red sign
    }

    CImageZone& PictureZone(const QImage& picture, const QString& name)
    {
        const QString path = dir.filePath(name);
        EXPECT_TRUE(picture.save(path));
        auto& zone = AddZone<CImageZone>(KindImage);
        zone.Key().sourcePath = path;
        doc.RenderNow(Program());
        return zone;
    }

    QTemporaryDir dir;
};

TEST(PreviewFitTest, TheLargestLevelThatShowsTheWholeScreen)
{
    EXPECT_EQ(PreviewZoom::LargestFitting({128, 32}, {700, 200}).numerator, 5);
    const PreviewZoom exact = PreviewZoom::LargestFitting({128, 32}, {128, 32});
    EXPECT_EQ(exact.numerator, 1);
    EXPECT_EQ(exact.denominator, 1);
    const PreviewZoom half = PreviewZoom::LargestFitting({128, 32}, {100, 100});
    EXPECT_EQ(half.denominator, 2);
    // Nothing fits: the smallest level there is.
    EXPECT_EQ(PreviewZoom::LargestFitting({8192, 512}, {100, 100}).denominator, 2);
    EXPECT_EQ(PreviewZoom::LargestFitting({16, 4}, {4000, 4000}).numerator, 8);
}

TEST_F(SignViewsTest, ThePreviewShowsThePictureAsTheCardDoes)
{
    PictureZone(WhiteOnBlack(), QStringLiteral("open.png"));
    AppSettings saved = Settings();
    Settings().mul = 2;
    Settings().div = 1;
    CPreView view(doc);
    view.resize(400, 200);
    view.show();
    view.ShowProgram(&Program());
    ASSERT_EQ(view.PaneCount(), 1);
    const QImage pane = view.Pane(0)->grab().toImage();
    // Inside the selection frame: the lettering the key takes stays dark.
    EXPECT_EQ(LitPixels(pane.copy(QRect(16, 16, 96, 32))), 0);
    Settings() = saved;
}

TEST_F(SignViewsTest, TheEditorsLedPageShowsTextTheScreenCannotShowDark)
{
    auto& text = AddZone<CTextZone>(KindText);
    text.SetRtf(QStringLiteral("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}{\\colortbl ;\\red0\\green255"
                               "\\blue0;}\\f0\\fs28\\cf1 Green\\par}"));
    text.SetAction(ActionDirect);
    doc.RenderNow(text);
    CTextEditorDlg editor(text, doc);
    editor.resize(500, 300);
    editor.show();
    const QPixmap led = Find<QLabel>(&editor, "ledPage")->pixmap();
    ASSERT_FALSE(led.isNull());
    EXPECT_EQ(LitPixels(led.toImage()), 0);            // green on a red sign
    EXPECT_GT(LitPixels(text.GetPage(0)->Image()), 0); // what was designed
}

TEST_F(SignViewsTest, DesignerColoursShowWhatWasDesignedUntilSwitchedOff)
{
    PictureZone(WhiteOnBlack(), QStringLiteral("open.png"));
    auto& text = AddZone<CTextZone>(KindText, &AddWindow({64, 0, 128, 32}));
    text.SetRtf(QStringLiteral("{\\rtf1\\ansi{\\fonttbl{\\f0 DejaVu Sans;}}{\\colortbl ;"
                               "\\red0\\green255\\blue0;}\\f0\\fs28\\cf1 Green\\par}"));
    text.SetAction(ActionDirect);
    doc.RenderNow(Program());
    AppSettings saved = Settings();
    Settings().mul = 2;
    Settings().div = 1;
    CPreView view(doc);
    view.resize(400, 200);
    view.show();
    view.ShowProgram(&Program());
    CTextEditorDlg editor(text, doc);
    editor.resize(500, 300);
    editor.show();
    const auto paneLit = [&] {
        return LitPixels(view.Pane(0)->grab().toImage().copy(QRect(16, 16, 96, 32)));
    };
    const auto ledLit = [&] {
        return LitPixels(Find<QLabel>(&editor, "ledPage")->pixmap().toImage());
    };
    ASSERT_EQ(view.PaneCount(), 2);
    EXPECT_EQ(paneLit(), 0);
    EXPECT_EQ(ledLit(), 0);

    CSignViewOptions::Instance().SetDesignerColours(true);
    EXPECT_GT(paneLit(), 0); // the white lettering
    EXPECT_GT(ledLit(), 0);  // the green text
    CSignViewOptions::Instance().SetDesignerColours(false);
    EXPECT_EQ(paneLit(), 0);
    EXPECT_EQ(ledLit(), 0);
    Settings() = saved;
}

TEST_F(SignViewsTest, TheLedLookLeavesAGroundBetweenTheLedsFromZoomFour)
{
    QImage lit(64, 32, QImage::Format_RGB32);
    lit.fill(qRgb(255, 0, 0));
    lit.save(dir.filePath(QStringLiteral("red.png")));
    PictureZone(lit, QStringLiteral("red.png"));
    AppSettings saved = Settings();
    Settings().mul = 4;
    Settings().div = 1;
    Settings().dots = 1;
    CPreView view(doc);
    view.resize(800, 300);
    view.show();
    view.ShowProgram(&Program());
    ASSERT_TRUE(view.ShowsLedLook());
    const auto countOf = [&](QRgb colour) {
        // Inside the frame: whole LEDs 2 to 13 of the first rows.
        const QImage pane = view.Pane(0)->grab().toImage().copy(QRect(8, 8, 48, 48));
        int count = 0;
        for (int y = 0; y < pane.height(); ++y) {
            for (int x = 0; x < pane.width(); ++x)
                count += (pane.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF) ? 1 : 0;
        }
        return count;
    };
    const CLedLook look(4, true);
    int dotPixels = 0;
    for (int j = 0; j < 4; ++j) {
        for (int i = 0; i < 4; ++i)
            dotPixels += look.InDot(i, j) ? 1 : 0;
    }
    // Every LED a round dot of the look's shape on its ground.
    EXPECT_EQ(countOf(qRgb(255, 0, 0)), 144 * dotPixels);
    EXPECT_EQ(countOf(CLedLook::kGround), 144 * (16 - dotPixels));
    // Below 4/1 square LEDs, as before.
    view.ZoomOut();
    EXPECT_FALSE(view.ShowsLedLook());
    Settings() = saved;
}

TEST_F(SignViewsTest, LoadImageDithersAStillPictureBesideTheProject)
{
    const QString project = dir.filePath(QStringLiteral("shop.ledprj"));
    ASSERT_TRUE(doc.Root().SaveProject(project));
    auto& zone = AddZone<CImageZone>(KindImage);
    auto page = Page(zone);
    auto* imagePage = qobject_cast<CImagePage*>(page.get());
    ASSERT_NE(imagePage, nullptr);
    ASSERT_TRUE(QDir().mkpath(dir.filePath(QStringLiteral("camera"))));
    const QString photo = dir.filePath(QStringLiteral("camera/photo.png"));
    ASSERT_TRUE(Ramp(200, 60).save(photo));

    std::unique_ptr<CLoadImageDialog> dialog(imagePage->MakeLoadDialog(photo));
    auto* dither = Find<QCheckBox>(dialog.get(), "dither");
    EXPECT_TRUE(dither->isEnabled());
    EXPECT_FALSE(dialog->DitherChosen());
    // Without dithering the ramp is one red block; dithered it keeps its tones.
    const int plain = LitPixels(dialog->Preview().shown);
    const int dithered = LitPixels(dialog->Preview().dithered);
    EXPECT_EQ(plain, 64 * 32);
    EXPECT_GT(dithered, 64 * 32 / 5);
    EXPECT_LT(dithered, 64 * 32 * 4 / 5);
    dither->setChecked(true);
    EXPECT_TRUE(dialog->DitherChosen());
    EXPECT_EQ(LitPixels(Find<QLabel>(dialog.get(), "image")->pixmap().toImage()),
              dithered * 36); // shown six times larger

    // Through the page: OK takes the dithered picture, written beside the project.
    dialog.reset();
    Find<QPushButton>(page.get(), "preview")->click();
    auto* open = page->findChild<CLoadImageDialog*>();
    ASSERT_NE(open, nullptr);
    ASSERT_TRUE(open->SetPath(photo));
    Find<QCheckBox>(open, "dither")->setChecked(true);
    RecordingMessageSink messages;
    Find<QPushButton>(open, "ok")->click();
    EXPECT_TRUE(messages.texts.isEmpty()) << messages.texts.join('\n').toStdString();
    EXPECT_EQ(zone.Key().sourcePath, dir.filePath(QStringLiteral("photo-dithered.png")));
    EXPECT_EQ(QImage(zone.Key().sourcePath).size(), QSize(64, 32));
}

} // namespace
