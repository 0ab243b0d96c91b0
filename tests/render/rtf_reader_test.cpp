#include "base/string_table.h"
#include "render/led_paint.h"
#include "render/renderer.h"
#include "render/rich_text_render.h"
#include "render/rtf_reader.h"
#include "render/rtf_writer.h"

#include <QBuffer>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextImageFormat>
#include <QUrl>

#include <gtest/gtest.h>

namespace {

struct TextRun
{
    QString text;
    QTextCharFormat format;
};

std::vector<TextRun> Runs(const QTextDocument& document)
{
    std::vector<TextRun> runs;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it)
            runs.push_back({it.fragment().text(), it.fragment().charFormat()});
    }
    return runs;
}

QString PngHex(int w, int h, QRgb colour)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return QString::fromLatin1(png.toHex());
}

class RtfTest : public ::testing::Test
{
protected:
    void SetUp() override { InstallRenderer(); }
    QTextDocument document;
};

TEST_F(RtfTest, DefaultWelcomeDocumentIsOneRedArialParagraph)
{
    ASSERT_TRUE(ReadRtf(LoadString(41078, Language::English), document));
    EXPECT_EQ(document.toPlainText(), QStringLiteral("Welcome!"));
    EXPECT_EQ(document.blockCount(), 1);
    const std::vector<TextRun> runs = Runs(document);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].format.foreground().color(), QColor(255, 0, 0));
    EXPECT_EQ(runs[0].format.fontFamilies().toStringList().value(0), QStringLiteral("Arial"));
    EXPECT_EQ(runs[0].format.property(QTextFormat::FontPixelSize).toInt(), 13); // 10 pt
}

TEST_F(RtfTest, CharacterAndParagraphFormats)
{
    const QString rtf = QStringLiteral(
        "{\\rtf1\\ansi{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\froman Times New Roman;}}"
        "{\\colortbl ;\\red0\\green255\\blue0;\\red0\\green0\\blue255;}"
        "\\pard\\qc\\sb150\\sl-240\\slmult0 \\f1\\fs32\\b\\i\\ul\\cf1\\highlight2 Big"
        "\\b0\\i0\\ulnone\\cf0\\highlight0  small\\par"
        "\\pard\\qr right\\line next\\par}");
    ASSERT_TRUE(ReadRtf(rtf, document));
    ASSERT_EQ(document.blockCount(), 2);
    const QTextBlockFormat first = document.begin().blockFormat();
    EXPECT_TRUE(first.alignment() & Qt::AlignHCenter);
    EXPECT_DOUBLE_EQ(first.topMargin(), 10.0);
    EXPECT_EQ(first.lineHeightType(), QTextBlockFormat::FixedHeight);
    EXPECT_DOUBLE_EQ(first.lineHeight(), 16.0);
    EXPECT_TRUE(document.begin().next().blockFormat().alignment() & Qt::AlignRight);
    const std::vector<TextRun> runs = Runs(document);
    ASSERT_GE(runs.size(), 3u);
    EXPECT_EQ(runs[0].text, QStringLiteral("Big"));
    EXPECT_EQ(runs[0].format.fontWeight(), QFont::Bold);
    EXPECT_TRUE(runs[0].format.fontItalic());
    EXPECT_TRUE(runs[0].format.fontUnderline());
    EXPECT_EQ(runs[0].format.foreground().color(), QColor(0, 255, 0));
    EXPECT_EQ(runs[0].format.background().color(), QColor(0, 0, 255));
    EXPECT_EQ(runs[0].format.property(QTextFormat::FontPixelSize).toInt(), 21); // 16 pt
    EXPECT_EQ(runs[1].text, QStringLiteral(" small"));
    EXPECT_FALSE(runs[1].format.fontItalic());
    EXPECT_EQ(runs[1].format.foreground().color(), QColor(QRgb(kRtfAutoColour)));
    EXPECT_EQ(document.begin().next().text(),
              QStringLiteral("right") + QChar(QChar::LineSeparator) + QStringLiteral("next"));
}

TEST_F(RtfTest, ChineseInGbkBig5AndUnicodeForms)
{
    const QString rtf = QStringLiteral(
        "{\\rtf1\\ansi\\ansicpg936{\\fonttbl{\\f0\\fnil\\fcharset134 \\'cb\\'ce\\'cc\\'e5;}"
        "{\\f1\\fnil\\fcharset136 MingLiU;}}"
        "\\f0 \\'c4\\'e3\\'ba\\'c3 \\f1\\'a4\\'a4 \\uc1\\u20013?\\u-28805?\\uc2\\u25991\\'ce\\'c4 "
        "end}");
    ASSERT_TRUE(ReadRtf(rtf, document));
    EXPECT_EQ(document.toPlainText(), QStringLiteral("你好 中 中\u8F7B文 end"));
    const std::vector<TextRun> runs = Runs(document);
    EXPECT_EQ(runs[0].format.fontFamilies().toStringList().value(0), QStringLiteral("宋体"));
}

TEST_F(RtfTest, SkipsUnknownDestinationsAndKeepsFieldResults)
{
    const QString rtf = QStringLiteral(
        "{\\rtf1{\\*\\generator Riched20 10.0;}{\\stylesheet{\\s0 Normal;}}{\\info{\\title T}}"
        "{\\*\\unknownthing hidden}\\unknownword5 A{\\field{\\*\\fldinst HYPERLINK x}{\\fldrslt "
        "B}}C\\par}");
    ASSERT_TRUE(ReadRtf(rtf, document));
    EXPECT_EQ(document.toPlainText(), QStringLiteral("ABC"));
}

TEST_F(RtfTest, EmbeddedPicturesOfEveryKindBecomeImages)
{
    // PNG with a goal size, and a packed DIB of 2 x 1 pixels at 24 bits.
    const QString dib = QStringLiteral("28000000"
                                       "02000000"
                                       "01000000"
                                       "0100"
                                       "1800"
                                       "00000000"
                                       "08000000"
                                       "00000000"
                                       "00000000"
                                       "00000000"
                                       "00000000"
                                       "0000ff"
                                       "00ff00"
                                       "0000");
    const QString rtf =
        QStringLiteral("{\\rtf1 a{\\pict\\pngblip\\picw4\\pich3\\picwgoal120\\pichgoal90 %1}b"
                       "{\\*\\shppict{\\pict\\dibitmap0\\picw2\\pich1 "
                       "%2}}{\\nonshppict{\\pict\\wmetafile8 00}}c\\par}")
            .arg(PngHex(4, 3, qRgb(0, 255, 0)), dib);
    ASSERT_TRUE(ReadRtf(rtf, document));
    std::vector<QTextImageFormat> images;
    for (const TextRun& run : Runs(document)) {
        if (run.format.isImageFormat())
            images.push_back(run.format.toImageFormat());
    }
    ASSERT_EQ(images.size(), 2u);
    EXPECT_DOUBLE_EQ(images[0].width(), 8.0);
    EXPECT_DOUBLE_EQ(images[0].height(), 6.0);
    const QImage png =
        document.resource(QTextDocument::ImageResource, QUrl(images[0].name())).value<QImage>();
    EXPECT_EQ(png.pixel(0, 0), qRgb(0, 255, 0));
    const QImage bmp =
        document.resource(QTextDocument::ImageResource, QUrl(images[1].name())).value<QImage>();
    ASSERT_EQ(bmp.size(), QSize(2, 1));
    EXPECT_EQ(bmp.pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(bmp.pixel(1, 0), qRgb(0, 255, 0));
}

TEST_F(RtfTest, BrokenInputGivesWhatCouldBeRead)
{
    const char* const broken[] = {
        "{\\rtf1 open {\\b never closed",
        "{\\rtf1 extra}}}} braces}",
        "{\\rtf1 hex \\'4",
        "{\\rtf1 hex \\'",
        "{\\rtf1 \\fs999999999999 huge \\sl-99999999\\sb99999999 x\\par}",
        "{\\rtf1 \\u99999999999 \\uc99999 \\bin99999999999 }",
        "{\\rtf1 {\\pict\\pngblip 89504e470d0a1a0a0000}}",
        "{\\rtf1 {\\pict\\wbitmap0\\picw60000\\pich60000\\wbmbitspixel24 00}}",
        "{\\rtf1 \\",
        "",
    };
    for (const char* text : broken) {
        QTextDocument doc;
        ReadRtf(QString::fromLatin1(text), doc);
        RenderRichDocument(64, 32, 2, doc, 0, 0);
    }
    QTextDocument deep;
    ReadRtf(QStringLiteral("{\\rtf1 ") + QString(5000, u'{') + QStringLiteral("x"), deep);
    EXPECT_EQ(deep.toPlainText(), QStringLiteral("x"));
    QTextDocument open;
    ReadRtf(QStringLiteral("{\\rtf1 open {\\b bold"), open);
    EXPECT_EQ(open.toPlainText(), QStringLiteral("open bold"));
}

TEST_F(RtfTest, PlainTextIsTakenAsIs)
{
    EXPECT_FALSE(ReadRtf(QStringLiteral("just text"), document));
    EXPECT_EQ(document.toPlainText(), QStringLiteral("just text"));
}

TEST_F(RtfTest, WriterOutputReadsBackTheSameDocument)
{
    const QString rtf =
        QStringLiteral("{\\rtf1\\ansi\\ansicpg936{\\fonttbl{\\f0\\fnil\\fcharset134 "
                       "\\'cb\\'ce\\'cc\\'e5;}{\\f1 Arial;}}"
                       "{\\colortbl ;\\red255\\green0\\blue0;\\red255\\green255\\blue0;}"
                       "\\pard\\qc\\sb30 \\f0\\fs24\\cf1 "
                       "\\'c4\\'e3\\'ba\\'c3\\f1\\b\\cf2\\highlight1  {\\}\\\\ x"
                       "{\\pict\\pngblip\\picw2\\pich2 %1}\\par\\pard\\qr\\sl-300\\slmult0\\i "
                       "\\u-28805?\\par}")
            .arg(PngHex(2, 2, qRgb(0, 0, 255)));
    ASSERT_TRUE(ReadRtf(rtf, document));
    const QString written = WriteRtf(document);
    for (QChar c : written)
        ASSERT_LT(c.unicode(), 128) << "RTF is 7-bit text";
    QTextDocument again;
    ASSERT_TRUE(ReadRtf(written, again));
    EXPECT_EQ(again.toPlainText(), document.toPlainText());
    EXPECT_EQ(again.blockCount(), document.blockCount());
    const std::vector<TextRun> before = Runs(document);
    const std::vector<TextRun> after = Runs(again);
    ASSERT_EQ(after.size(), before.size());
    for (size_t i = 0; i < before.size(); ++i) {
        EXPECT_EQ(after[i].text, before[i].text);
        EXPECT_EQ(after[i].format.fontFamilies(), before[i].format.fontFamilies()) << i;
        EXPECT_EQ(after[i].format.property(QTextFormat::FontPixelSize),
                  before[i].format.property(QTextFormat::FontPixelSize));
        EXPECT_EQ(after[i].format.fontWeight(), before[i].format.fontWeight());
        EXPECT_EQ(after[i].format.fontItalic(), before[i].format.fontItalic());
        EXPECT_EQ(after[i].format.foreground(), before[i].format.foreground());
        EXPECT_EQ(after[i].format.background(), before[i].format.background());
        EXPECT_EQ(after[i].format.isImageFormat(), before[i].format.isImageFormat());
    }
    const QTextBlockFormat second = again.begin().next().blockFormat();
    EXPECT_TRUE(second.alignment() & Qt::AlignRight);
    EXPECT_DOUBLE_EQ(second.lineHeight(), 20.0);
    EXPECT_DOUBLE_EQ(again.begin().blockFormat().topMargin(), 2.0);
}

} // namespace
