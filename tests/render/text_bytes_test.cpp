// Text as people have it: plain-text files of every common encoding, RTF with raw 8-bit
// bytes and double-byte characters in the code pages of Chinese Windows, and the faces of
// Chinese Windows.
#include "platform/font_mapping.h"
#include "render/renderer.h"
#include "render/rtf_reader.h"
#include "render/text_decoder.h"

#include <QTextBlock>
#include <QTextDocument>

#include <gtest/gtest.h>

namespace {

QString Read(const QByteArray& rtf)
{
    QTextDocument document;
    EXPECT_TRUE(ReadRtf(QString::fromLatin1(rtf), document));
    return document.toPlainText();
}

TEST(RtfBytesTest, RawBytesAreReadInTheDocumentsCodePage)
{
    // 欢迎 in GBK, written byte for byte (as an RTF file read from disk arrives).
    EXPECT_EQ(Read("{\\rtf1\\ansi\\ansicpg936 \xBB\xB6\xD3\xAD}"), QStringLiteral("欢迎"));
    // Latin text of a Western document.
    EXPECT_EQ(Read("{\\rtf1\\ansi\\ansicpg1252 caf\xE9 \x80"
                   "5}"),
              QStringLiteral("café €5"));
    // A document already decoded to characters keeps them.
    QTextDocument document;
    ReadRtf(QStringLiteral("{\\rtf1\\ansi\\ansicpg936 café 欢迎}"), document);
    EXPECT_EQ(document.toPlainText(), QStringLiteral("café 欢迎"));
}

TEST(RtfBytesTest, ATrailByteWrittenAsAPlainCharacterCompletesItsCharacter)
{
    // 歡 is C5 77 in Big5: its second byte is the letter w.
    EXPECT_EQ(Read("{\\rtf1\\ansi\\ansicpg950 \\'c5w\\'aa\\'ef}"), QStringLiteral("歡迎"));
    // 許 ends with a backslash (B3 5C), 功 (A5 5C) too; \{ and \} may end one as well.
    EXPECT_EQ(Read("{\\rtf1\\ansi\\ansicpg950 \\'b3\\\\\\'a5\\\\}"), QStringLiteral("許功"));
    // The font's character set decides, whatever the document says.
    EXPECT_EQ(Read("{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0\\fcharset134 SimSun;}"
                   "{\\f1\\fcharset136 PMingLiU;}}\\f0\\'d6\\'d0 \\f1\\'c5w}"),
              QStringLiteral("中 歡"));
    // A lead byte before a control word or the end stays what the fallback makes of it;
    // ASCII after a complete character is text again.
    EXPECT_EQ(Read("{\\rtf1\\ansi\\ansicpg950 \\'a4\\'a4w}"), QStringLiteral("中w"));
    EXPECT_FALSE(Read("{\\rtf1\\ansi\\ansicpg950 \\'c5\\par w}").contains(QStringLiteral("歡")));
}

TEST(RtfBytesTest, FontNamesInRawBytesAreDecodedByTheirCharacterSet)
{
    QTextDocument document;
    ReadRtf(QString::fromLatin1("{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset134 \xCB\xCE\xCC\xE5;}}"
                                "\\f0 x}"),
            document);
    const QTextCharFormat format = document.begin().begin().fragment().charFormat();
    EXPECT_EQ(format.fontFamilies().toStringList().value(0), QStringLiteral("宋体"));
}

TEST(TextDecoderTest, EveryEncodingOfNotepadAndChineseWindows)
{
    QString text;
    TextEncoding found = TextEncoding::Utf8;
    // Notepad's "Unicode": UTF-16 little endian with its mark and Windows line ends.
    ASSERT_TRUE(
        DecodePlainText(QByteArray("\xFF\xFE\x22\x4E\x0D\x00\x0A\x00\x41\x00", 10), text, &found));
    EXPECT_EQ(text, QStringLiteral("丢\nA"));
    EXPECT_EQ(found, TextEncoding::Utf16LittleEndian);
    ASSERT_TRUE(DecodePlainText(QByteArray("\xFE\xFF\x4E\x22\x00\x41", 6), text, &found));
    EXPECT_EQ(text, QStringLiteral("丢A"));
    EXPECT_EQ(found, TextEncoding::Utf16BigEndian);
    ASSERT_TRUE(DecodePlainText(QByteArray("\xEF\xBB\xBF\xE6\xAC\xA2\r\n"), text, &found));
    EXPECT_EQ(text, QStringLiteral("欢\n"));
    EXPECT_EQ(found, TextEncoding::Utf8);
    ASSERT_TRUE(DecodePlainText(QByteArray("\xBB\xB6\xD3\xAD\r\n\xBC\xDB\xB8\xF1"), text, &found));
    EXPECT_EQ(text, QStringLiteral("欢迎\n价格"));
    EXPECT_EQ(found, TextEncoding::Gb18030);
    // A character outside GBK: GB18030's four bytes.
    ASSERT_TRUE(DecodePlainText(QByteArray("\x95\x32\x82\x36"), text, &found));
    EXPECT_EQ(text, QString::fromUcs4(U"\U00020000"));
    ASSERT_TRUE(DecodePlainText(QByteArray("\xC5\x77\xAA\xEF\r"), text, &found));
    EXPECT_EQ(text, QStringLiteral("歡迎\n"));
    EXPECT_EQ(found, TextEncoding::Big5);
    // What is no text.
    EXPECT_FALSE(DecodePlainText(QByteArray("PK\x03\x04\x00\x00", 6), text));
    EXPECT_FALSE(DecodePlainText(QByteArray("\xFF\xFE\x41", 3), text));
    EXPECT_FALSE(DecodePlainText(QByteArray("\xFF\xFF\xFF\xFF"), text));
}

TEST(FontMappingTest, TheFacesOfChineseWindowsAreStoodInForByAChineseFace)
{
    InstallRenderer();
    for (const char* face : {"新細明體", "細明體",  "標楷體",   "微軟正黑體",         "宋体",
                             "黑体",     "楷体",    "仿宋",     "微软雅黑",           "等线",
                             "PMingLiU", "MingLiU", "DFKai-SB", "Microsoft JhengHei", "SimSun",
                             "SimHei",   "KaiTi",   "FangSong", "Microsoft YaHei",    "DengXian"}) {
        const FaceOnThisMachine found = FindFace(QString::fromUtf8(face));
        EXPECT_TRUE(found.installed || found.stoodIn) << face;
        EXPECT_TRUE(found.used.contains(QStringLiteral("WenQuanYi")))
            << face << " " << found.used.toStdString();
    }
    const FaceOnThisMachine missing = FindFace(QStringLiteral("No Such Face Anywhere"));
    EXPECT_FALSE(missing.installed);
    EXPECT_FALSE(missing.stoodIn);
    EXPECT_FALSE(missing.used.isEmpty());
    EXPECT_TRUE(FindFace(QStringLiteral("DejaVu Sans")).installed);
}

} // namespace
