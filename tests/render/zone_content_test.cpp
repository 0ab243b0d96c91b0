// Replacing a zone's text, document or picture from a script, and what the change reports.
#include "model/clock_zone.h"
#include "model/image_zone.h"
#include "model/project_root.h"
#include "model/text_zone.h"
#include "render/renderer.h"
#include "render/rtf_reader.h"
#include "render/zone_content.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <gtest/gtest.h>

namespace {

// Green 12-point SimSun, centred, with a second paragraph in blue Arial.
const QString kFormatted =
    QStringLiteral("{\\rtf1\\ansi{\\fonttbl{\\f0\\fnil\\fcharset134 SimSun;}{\\f1 Arial;}}"
                   "{\\colortbl ;\\red0\\green255\\blue0;\\red0\\green0\\blue255;}"
                   "\\pard\\qc\\cf1\\f0\\fs24 Old price\\par\\ql\\cf2\\f1\\fs16 second\\par}");

class ZoneContentTest : public ::testing::Test
{
protected:
    void SetUp() override { InstallRenderer(); }

    QTemporaryDir dir;
    CProjectRoot root;
};

TEST_F(ZoneContentTest, TextKeepsTheFirstCharacterAndParagraphFormat)
{
    CTextZone zone(&root);
    zone.SetRtf(kFormatted);
    QString error;
    ASSERT_TRUE(CZoneContent::SetText(zone, QStringLiteral("1.99 €\n今日特价"), error))
        << error.toStdString();

    QTextDocument document;
    ASSERT_TRUE(ReadRtf(zone.GetRtf(), document));
    EXPECT_EQ(document.toPlainText(), QStringLiteral("1.99 €\n今日特价"));
    ASSERT_EQ(document.blockCount(), 2);
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        EXPECT_TRUE(block.blockFormat().alignment() & Qt::AlignHCenter);
        QTextCursor cursor(block);
        cursor.movePosition(QTextCursor::NextCharacter);
        const QTextCharFormat format = cursor.charFormat();
        EXPECT_EQ(format.fontFamilies().toStringList().value(0), QStringLiteral("SimSun"));
        // 12 points at 96 pixels per inch.
        EXPECT_EQ(format.property(QTextFormat::FontPixelSize).toInt(), 16);
        EXPECT_EQ(format.foreground().color(), QColor(0, 255, 0));
    }
    // The second paragraph's blue Arial is gone with its text.
    EXPECT_FALSE(zone.GetRtf().contains(QStringLiteral("Arial")));
}

TEST_F(ZoneContentTest, RefusalsChangeNothing)
{
    CTextZone zone(&root);
    zone.SetRtf(kFormatted);
    QString error;
    EXPECT_FALSE(CZoneContent::SetText(zone, QString(100000, u'x'), error));
    EXPECT_EQ(error, QStringLiteral("The text is too long: 100000 characters, a zone holds at "
                                    "most 32767."));
    EXPECT_TRUE(CZoneContent::SetText(zone, QString(32767, u'x'), error));
    zone.SetRtf(kFormatted);
    EXPECT_FALSE(CZoneContent::SetRtf(zone, QStringLiteral("plain words"), error));
    EXPECT_EQ(zone.GetRtf(), kFormatted);

    CClockZone clock(&root);
    EXPECT_FALSE(CZoneContent::SetText(clock, QStringLiteral("x"), error));
    EXPECT_TRUE(error.contains(QStringLiteral("not a text or animate zone")));
    EXPECT_FALSE(CZoneContent::SetImage(zone, dir.filePath(QStringLiteral("x.png")), error));
    EXPECT_TRUE(error.contains(QStringLiteral("not an image zone")));
    EXPECT_EQ(zone.GetRtf(), kFormatted);
}

TEST_F(ZoneContentTest, RtfReplacesTheWholeDocument)
{
    CTextZone zone(&root);
    QString error;
    const QString rtf = QStringLiteral("{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 A\\par B\\par}");
    ASSERT_TRUE(CZoneContent::SetRtf(zone, rtf, error));
    EXPECT_EQ(zone.GetRtf(), rtf);
}

TEST_F(ZoneContentTest, PicturesMustLoad)
{
    CImageZone zone(&root);
    QString error;
    EXPECT_FALSE(CZoneContent::SetImage(zone, dir.filePath(QStringLiteral("none.png")), error));
    EXPECT_TRUE(error.startsWith(QStringLiteral("There is no picture file")))
        << error.toStdString();

    const QString fake = dir.filePath(QStringLiteral("fake.png"));
    QFile file(fake);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("this is text, not a picture");
    file.close();
    EXPECT_FALSE(CZoneContent::SetImage(zone, fake, error));
    EXPECT_TRUE(error.contains(QStringLiteral("is not a picture"))) << error.toStdString();
    EXPECT_TRUE(zone.Key().sourcePath.isEmpty());

    const QString real = dir.filePath(QStringLiteral("real.png"));
    QImage picture(8, 8, QImage::Format_RGB32);
    picture.fill(Qt::red);
    ASSERT_TRUE(picture.save(real));
    ASSERT_TRUE(CZoneContent::SetImage(zone, real, error)) << error.toStdString();
    EXPECT_EQ(zone.Key().sourcePath, real);
    QStringList warnings;
    EXPECT_EQ(CZoneContent::Render(zone, warnings), 1);
    EXPECT_TRUE(warnings.isEmpty());
}

TEST_F(ZoneContentTest, RenderWarnsAboutExtraPagesAndMissingGlyphs)
{
    CTextZone zone(&root);
    zone.SetAction(1);
    QString error;
    ASSERT_TRUE(CZoneContent::SetText(zone, QStringLiteral("OK"), error));
    QStringList warnings;
    EXPECT_EQ(CZoneContent::Render(zone, warnings), 1);
    EXPECT_TRUE(warnings.isEmpty()) << warnings.join(u'\n').toStdString();

    ASSERT_TRUE(CZoneContent::SetText(zone, QStringLiteral("1\n2\n3\n4\n5\n6\n7\n8"), error));
    const int pages = CZoneContent::Render(zone, warnings);
    EXPECT_GT(pages, 1);
    ASSERT_EQ(warnings.size(), 1);
    EXPECT_EQ(warnings[0],
              QStringLiteral("The text no longer fits one page: it needs %1 pages.").arg(pages));

    warnings.clear();
    const char32_t unassigned[] = {0x10FFFD};
    ASSERT_TRUE(
        CZoneContent::SetText(zone, QStringLiteral("A") + QString::fromUcs4(unassigned, 1), error));
    CZoneContent::Render(zone, warnings);
    ASSERT_EQ(warnings.size(), 1);
    EXPECT_TRUE(warnings[0].contains(QStringLiteral("U+10FFFD"))) << warnings[0].toStdString();
}

TEST(ZoneContentText, CommandLineEscapes)
{
    EXPECT_EQ(CZoneContent::UnescapeLineBreaks(QStringLiteral("a\\nb\\\\nc\\x\\")),
              QStringLiteral("a\nb\\nc\\x\\"));
}

} // namespace
