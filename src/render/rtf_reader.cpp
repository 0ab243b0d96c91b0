#include "render/rtf_reader.h"

#include "render/rtf_codepage.h"

#include <QBuffer>
#include <QColor>
#include <QImage>
#include <QImageReader>
#include <QStringDecoder>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QUrl>

#include <algorithm>
#include <map>
#include <vector>

namespace {

constexpr int kMaxDepth = 512;
constexpr int kMaxHalfPoints = 2 * 1638;
constexpr int kMaxPixelSize = 1024;
constexpr int kMaxSpacingTwips = 512 * 15;
constexpr qsizetype kMaxPictureBytes = 64 * 1024 * 1024;
constexpr int kMaxPictureSide = 8192;

enum class Dest { Text, FontTable, ColourTable, Picture, Skip };

enum class PictureKind { None, Png, Jpeg, Dib, Wbitmap, Other };

struct CharState
{
    int font = -1;
    int halfPoints = 24;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    int foreground = 0; // colour table index, 0 automatic
    int background = 0;
};

struct ParaState
{
    Qt::Alignment alignment = Qt::AlignLeft;
    int spaceBefore = 0; // twips
    int spaceAfter = 0;
    int lineSpacing = 0; // twips; negative exact, positive at least
    bool lineMultiple = false;
};

struct PictureState
{
    PictureKind kind = PictureKind::None;
    int width = 0;
    int height = 0;
    int goalWidth = 0; // twips
    int goalHeight = 0;
    int scaleX = 100;
    int scaleY = 100;
    int bitsPerPixel = 1;
    int widthBytes = 0;
    QByteArray data;
    bool highNibble = true;
    int pending = 0;
};

struct Group
{
    CharState ch;
    ParaState para;
    Dest dest = Dest::Text;
    int unicodeSkip = 1;
};

struct FontEntry
{
    QString name;
    int charset = 0;
};

int HexValue(QChar c)
{
    const ushort u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    return -1;
}

QImage DecodeDib(const QByteArray& dib)
{
    // A packed device-independent bitmap: header, colour table, bits. Prefix a file header
    // and let the BMP reader take it.
    if (dib.size() < 40)
        return QImage();
    const auto u8 = [&](int at) { return static_cast<quint32>(static_cast<uchar>(dib[at])); };
    const auto u32 = [&](int at) {
        return u8(at) | u8(at + 1) << 8 | u8(at + 2) << 16 | u8(at + 3) << 24;
    };
    const quint32 headerSize = u32(0);
    if (headerSize < 12 || headerSize > static_cast<quint32>(dib.size()))
        return QImage();
    quint32 paletteBytes = 0;
    if (headerSize >= 40) {
        const int bitCount = static_cast<int>(u8(14) | u8(15) << 8);
        quint32 used = u32(32);
        if (used == 0 && bitCount <= 8)
            used = 1u << bitCount;
        if (used > 256)
            used = 256;
        paletteBytes = used * 4;
        if (u32(16) == 3 && headerSize == 40) // BI_BITFIELDS masks
            paletteBytes += 12;
    }
    QByteArray file;
    const quint32 offset = 14 + headerSize + paletteBytes;
    const quint32 size = 14 + static_cast<quint32>(dib.size());
    file.append("BM", 2);
    for (quint32 value : {size, 0u, offset}) {
        for (int i = 0; i < 4; ++i)
            file.append(static_cast<char>((value >> (8 * i)) & 0xFF));
    }
    file.append(dib);
    QImage image;
    image.loadFromData(file, "BMP");
    return image;
}

QImage DecodeWbitmap(const PictureState& picture)
{
    const int width = picture.width;
    const int height = picture.height;
    if (width <= 0 || height <= 0 || width > kMaxPictureSide || height > kMaxPictureSide)
        return QImage();
    const int bpp = picture.bitsPerPixel;
    int stride = picture.widthBytes;
    if (stride <= 0)
        stride = ((width * bpp + 15) / 16) * 2;
    if (static_cast<qint64>(stride) * height > picture.data.size())
        return QImage();
    QImage image(width, height, QImage::Format_RGB32);
    if (image.isNull())
        return image;
    for (int y = 0; y < height; ++y) {
        const auto* row = reinterpret_cast<const uchar*>(picture.data.constData()) + stride * y;
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            switch (bpp) {
            case 1:
                out[x] = (row[x / 8] >> (7 - x % 8)) & 1 ? qRgb(255, 255, 255) : qRgb(0, 0, 0);
                break;
            case 24:
                out[x] = qRgb(row[x * 3 + 2], row[x * 3 + 1], row[x * 3]);
                break;
            case 32:
                out[x] = qRgb(row[x * 4 + 2], row[x * 4 + 1], row[x * 4]);
                break;
            default:
                return QImage();
            }
        }
    }
    return image;
}

// Whether the byte starts a double-byte character in the code page.
bool IsLeadByte(const QString& codec, uchar byte)
{
    if (codec == QLatin1String("GBK") || codec == QLatin1String("GB18030") ||
        codec == QLatin1String("Big5") || codec == QLatin1String("windows-949"))
        return byte >= 0x81 && byte <= 0xFE;
    if (codec == QLatin1String("Shift_JIS"))
        return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
    return false;
}

class RtfReader
{
public:
    RtfReader(const QString& text, QTextDocument& document, RtfReadReport& report)
        : m_text(text), m_document(document), m_cursor(&document), m_report(report),
          m_rawBytes(
              std::none_of(text.begin(), text.end(), [](QChar c) { return c.unicode() > 0xFF; }))
    {
        m_colours.push_back(QColor());
    }

    void Run();

private:
    Group& Top() { return m_groups.back(); }
    const Group& Top() const { return m_groups.back(); }
    void PushGroup();
    void PopGroup();
    void ControlWord(const QString& word, bool hasParam, int param);
    void ControlSymbol(QChar symbol);
    void Text(QChar c);
    void Byte(uchar byte);
    bool TakesAsByte(QChar c) const;
    void FlushBytes();
    void FlushText();
    void EndParagraph();
    void ApplyParagraph();
    void FinishPicture();
    QTextCharFormat CurrentCharFormat() const;
    QString CodecNameForFont(int font) const;
    QString CodecNameHere() const;

    const QString& m_text;
    QTextDocument& m_document;
    QTextCursor m_cursor;
    RtfReadReport& m_report;
    // The text came as bytes (characters above 0x7F stand for themselves only up to 0xFF).
    const bool m_rawBytes;
    // The last byte was the first of a double-byte character.
    bool m_trailNeeded = false;
    std::vector<Group> m_groups;
    int m_overflowDepth = 0;
    bool m_nextIsDestination = false;
    int m_skipChars = 0;

    std::map<int, FontEntry> m_fonts;
    int m_fontEntry = -1;
    QString m_fontName;
    QByteArray m_fontNameBytes;
    int m_defaultFont = 0;
    QString m_defaultCodec = QStringLiteral("windows-1252");

    std::vector<QColor> m_colours;
    int m_red = -1, m_green = -1, m_blue = -1;

    PictureState m_picture;
    int m_pictureCount = 0;

    QByteArray m_bytes;
    QString m_pendingText;
    bool m_endedWithPar = false;
};

void RtfReader::Run()
{
    m_groups.push_back(Group{});
    const qsizetype length = m_text.size();
    qsizetype i = 0;
    while (i < length) {
        const QChar c = m_text[i];
        if (c == u'{') {
            FlushBytes();
            PushGroup();
            ++i;
            continue;
        }
        if (c == u'}') {
            FlushBytes();
            PopGroup();
            ++i;
            if (m_groups.empty())
                break; // the document's closing brace
            continue;
        }
        if (c == u'\r' || c == u'\n') {
            ++i;
            continue;
        }
        if (c != u'\\') {
            if (Top().dest == Dest::Picture) {
                const int nibble = HexValue(c);
                if (nibble >= 0 && m_picture.data.size() < kMaxPictureBytes) {
                    if (m_picture.highNibble) {
                        m_picture.pending = nibble << 4;
                    } else {
                        m_picture.data.append(static_cast<char>(m_picture.pending | nibble));
                    }
                    m_picture.highNibble = !m_picture.highNibble;
                }
            } else if (TakesAsByte(c)) {
                Byte(static_cast<uchar>(c.unicode()));
            } else {
                FlushBytes();
                Text(c);
            }
            ++i;
            continue;
        }
        // A backslash.
        ++i;
        if (i >= length)
            break;
        const QChar next = m_text[i];
        if (next.isLetter() && next.unicode() < 128) {
            qsizetype start = i;
            while (i < length && m_text[i].unicode() < 128 && m_text[i].isLetter() &&
                   i - start < 32)
                ++i;
            const QString word = m_text.mid(start, i - start);
            bool negative = false;
            bool hasParam = false;
            long long value = 0;
            if (i < length && m_text[i] == u'-') {
                negative = true;
                ++i;
            }
            int digits = 0;
            while (i < length && m_text[i].isDigit() && m_text[i].unicode() < 128) {
                if (digits < 10)
                    value = value * 10 + (m_text[i].unicode() - '0');
                ++digits;
                hasParam = true;
                ++i;
            }
            if (i < length && m_text[i] == u' ')
                ++i;
            value = std::clamp(negative ? -value : value, -2147483647LL, 2147483647LL);
            if (word == QLatin1String("bin") && hasParam) {
                // Raw bytes follow: take them as picture data or skip them.
                const qsizetype count = std::clamp<qsizetype>(value, 0, length - i);
                if (Top().dest == Dest::Picture) {
                    for (qsizetype k = 0; k < count && m_picture.data.size() < kMaxPictureBytes;
                         ++k)
                        m_picture.data.append(static_cast<char>(m_text[i + k].unicode() & 0xFF));
                }
                i += count;
                continue;
            }
            if (word != QLatin1String("u"))
                FlushBytes();
            ControlWord(word, hasParam, static_cast<int>(value));
            continue;
        }
        if (next == u'\'') {
            ++i;
            const int high = i < length ? HexValue(m_text[i]) : -1;
            const int low = i + 1 < length ? HexValue(m_text[i + 1]) : -1;
            if (high < 0 || low < 0) {
                // Truncated escape: drop it.
                if (high >= 0)
                    ++i;
                continue;
            }
            i += 2;
            Byte(static_cast<uchar>(high * 16 + low));
            continue;
        }
        // An escaped backslash or brace may be the second byte of a character.
        if (!m_trailNeeded || (next != u'\\' && next != u'{' && next != u'}'))
            FlushBytes();
        ++i;
        ControlSymbol(next);
    }
    FlushBytes();
    FlushText();
    // Close what the input left open.
    while (m_groups.size() > 1)
        PopGroup();
    ApplyParagraph();
    if (m_endedWithPar && m_cursor.block().length() <= 1 && m_cursor.block().previous().isValid()) {
        // The last \par of a rich-edit document ends the last paragraph; it does not
        // start an empty one.
        m_cursor.deletePreviousChar();
    }
}

void RtfReader::PushGroup()
{
    FlushText();
    if (m_groups.size() >= static_cast<size_t>(kMaxDepth)) {
        ++m_overflowDepth;
        return;
    }
    Group group = m_groups.empty() ? Group{} : Top();
    m_groups.push_back(group);
    m_nextIsDestination = false;
}

void RtfReader::PopGroup()
{
    FlushText();
    if (m_overflowDepth > 0) {
        --m_overflowDepth;
        return;
    }
    if (m_groups.empty())
        return;
    const Dest dest = Top().dest;
    m_groups.pop_back();
    const Dest outer = m_groups.empty() ? Dest::Text : Top().dest;
    if (dest == Dest::Picture && outer != Dest::Picture)
        FinishPicture();
    if (dest == Dest::FontTable && outer == Dest::FontTable && m_fontEntry >= 0 &&
        !m_fontName.isEmpty()) {
        // A font group closed without its ';'.
        FontEntry& entry = m_fonts[m_fontEntry];
        entry.name = m_fontName.trimmed();
        m_fontName.clear();
    }
    m_skipChars = 0;
}

QString RtfReader::CodecNameForFont(int font) const
{
    const auto it = m_fonts.find(font);
    if (it != m_fonts.end()) {
        const QString name = CodecNameForCharset(it->second.charset);
        if (!name.isEmpty())
            return name;
    }
    return m_defaultCodec;
}

void RtfReader::Byte(uchar byte)
{
    const Dest dest = Top().dest;
    if (dest == Dest::Skip || dest == Dest::ColourTable)
        return;
    if (dest == Dest::Picture) {
        if (m_picture.data.size() < kMaxPictureBytes)
            m_picture.data.append(static_cast<char>(byte));
        return;
    }
    if (m_skipChars > 0) {
        --m_skipChars;
        return;
    }
    m_trailNeeded = !m_trailNeeded && IsLeadByte(CodecNameHere(), byte);
    if (dest == Dest::FontTable) {
        m_fontNameBytes.append(static_cast<char>(byte));
        return;
    }
    m_bytes.append(static_cast<char>(byte));
}

bool RtfReader::TakesAsByte(QChar c) const
{
    const Dest dest = Top().dest;
    if (dest != Dest::Text && dest != Dest::FontTable)
        return false;
    const char16_t u = c.unicode();
    return (m_rawBytes && u >= 0x80 && u <= 0xFF) || (m_trailNeeded && u >= 0x20 && u < 0x80);
}

QString RtfReader::CodecNameHere() const
{
    if (Top().dest != Dest::FontTable)
        return CodecNameForFont(Top().ch.font);
    const auto it = m_fonts.find(m_fontEntry);
    const QString codec = CodecNameForCharset(it != m_fonts.end() ? it->second.charset : 0);
    return codec.isEmpty() ? m_defaultCodec : codec;
}

void RtfReader::FlushBytes()
{
    m_trailNeeded = false;
    if (m_groups.empty())
        return;
    if (Top().dest == Dest::FontTable && !m_fontNameBytes.isEmpty()) {
        int charset = 0;
        if (const auto it = m_fonts.find(m_fontEntry); it != m_fonts.end())
            charset = it->second.charset;
        QString codec = CodecNameForCharset(charset);
        if (codec.isEmpty())
            codec = m_defaultCodec;
        m_fontName += DecodeCodePage(m_fontNameBytes, codec);
        m_fontNameBytes.clear();
    }
    if (m_bytes.isEmpty())
        return;
    m_pendingText += DecodeCodePage(m_bytes, CodecNameForFont(Top().ch.font));
    m_bytes.clear();
}

void RtfReader::Text(QChar c)
{
    Group& group = Top();
    switch (group.dest) {
    case Dest::Skip:
    case Dest::Picture:
        return;
    case Dest::ColourTable:
        if (c == u';') {
            if (m_red < 0 && m_green < 0 && m_blue < 0)
                m_colours.push_back(QColor());
            else
                m_colours.push_back(QColor(std::clamp(m_red, 0, 255), std::clamp(m_green, 0, 255),
                                           std::clamp(m_blue, 0, 255)));
            m_red = m_green = m_blue = -1;
        }
        return;
    case Dest::FontTable:
        if (m_skipChars > 0) {
            --m_skipChars;
            return;
        }
        if (c == u';') {
            if (m_fontEntry >= 0)
                m_fonts[m_fontEntry].name = m_fontName.trimmed();
            m_fontName.clear();
        } else {
            m_fontName += c;
        }
        return;
    case Dest::Text:
        break;
    }
    if (m_skipChars > 0) {
        --m_skipChars;
        return;
    }
    m_pendingText += c;
}

QTextCharFormat RtfReader::CurrentCharFormat() const
{
    const CharState& ch = m_groups.back().ch;
    QTextCharFormat format;
    int font = ch.font >= 0 ? ch.font : m_defaultFont;
    const auto it = m_fonts.find(font);
    if (it != m_fonts.end() && !it->second.name.isEmpty())
        format.setFontFamilies(QStringList{it->second.name});
    const int pixels = std::clamp((ch.halfPoints * 96 + 72) / 144, 1, kMaxPixelSize);
    format.setProperty(QTextFormat::FontPixelSize, pixels);
    format.setFontWeight(ch.bold ? QFont::Bold : QFont::Normal);
    format.setFontItalic(ch.italic);
    format.setFontUnderline(ch.underline);
    format.setFontStyleStrategy(QFont::StyleStrategy(QFont::NoAntialias | QFont::PreferMatch));
    format.setFontKerning(false);
    QColor foreground;
    if (ch.foreground > 0 && ch.foreground < static_cast<int>(m_colours.size()))
        foreground = m_colours[static_cast<size_t>(ch.foreground)];
    format.setForeground(foreground.isValid() ? foreground : QColor(QRgb(kRtfAutoColour)));
    if (ch.background > 0 && ch.background < static_cast<int>(m_colours.size()) &&
        m_colours[static_cast<size_t>(ch.background)].isValid())
        format.setBackground(m_colours[static_cast<size_t>(ch.background)]);
    return format;
}

void RtfReader::FlushText()
{
    if (m_pendingText.isEmpty() || m_groups.empty())
        return;
    m_cursor.insertText(m_pendingText, CurrentCharFormat());
    m_pendingText.clear();
    m_endedWithPar = false;
}

void RtfReader::ApplyParagraph()
{
    if (m_groups.empty())
        return;
    const ParaState& para = Top().para;
    QTextBlockFormat format;
    format.setAlignment(para.alignment | Qt::AlignAbsolute);
    format.setTopMargin(std::clamp(para.spaceBefore, 0, kMaxSpacingTwips) / 15.0);
    format.setBottomMargin(std::clamp(para.spaceAfter, 0, kMaxSpacingTwips) / 15.0);
    const int sl = std::clamp(para.lineSpacing, -kMaxSpacingTwips, kMaxSpacingTwips);
    if (sl != 0 && para.lineMultiple && sl > 0) {
        format.setLineHeight(sl * 100.0 / 240.0, QTextBlockFormat::ProportionalHeight);
    } else if (sl < 0) {
        format.setLineHeight(-sl / 15.0, QTextBlockFormat::FixedHeight);
    } else if (sl > 0) {
        format.setLineHeight(sl / 15.0, QTextBlockFormat::MinimumHeight);
    }
    m_cursor.setBlockFormat(format);
    // An empty paragraph still takes the height of its font.
    if (m_cursor.block().length() <= 1)
        m_cursor.setBlockCharFormat(CurrentCharFormat());
}

void RtfReader::EndParagraph()
{
    FlushText();
    ApplyParagraph();
    m_cursor.insertBlock();
    m_endedWithPar = true;
}

void RtfReader::ControlSymbol(QChar symbol)
{
    switch (symbol.unicode()) {
    case '*':
        m_nextIsDestination = true;
        return;
    case '\\':
    case '{':
    case '}':
        if (m_trailNeeded) {
            Byte(static_cast<uchar>(symbol.unicode()));
            return;
        }
        Text(symbol);
        return;
    case '~':
        Text(QChar(0x00A0));
        return;
    case '_':
        Text(u'-');
        return;
    case '\r':
    case '\n':
        if (Top().dest == Dest::Text)
            EndParagraph();
        return;
    default:
        return; // \- optional hyphen, \| and the rest
    }
}

void RtfReader::ControlWord(const QString& word, bool hasParam, int param)
{
    Group& group = Top();
    const bool destinationMark = m_nextIsDestination;
    m_nextIsDestination = false;
    if (group.dest == Dest::Skip)
        return;
    // A control word counts as one character of a \u fallback.
    if (m_skipChars > 0 && word != QLatin1String("u")) {
        --m_skipChars;
        return;
    }
    const auto is = [&](const char* name) { return word == QLatin1String(name); };
    const int value = hasParam ? param : 1;

    if (group.dest == Dest::Picture) {
        PictureState& p = m_picture;
        if (is("pngblip"))
            p.kind = PictureKind::Png;
        else if (is("jpegblip"))
            p.kind = PictureKind::Jpeg;
        else if (is("dibitmap"))
            p.kind = PictureKind::Dib;
        else if (is("wbitmap"))
            p.kind = PictureKind::Wbitmap;
        else if (is("emfblip") || is("wmetafile") || is("macpict") || is("pmmetafile"))
            p.kind = PictureKind::Other;
        else if (is("picw"))
            p.width = param;
        else if (is("pich"))
            p.height = param;
        else if (is("picwgoal"))
            p.goalWidth = param;
        else if (is("pichgoal"))
            p.goalHeight = param;
        else if (is("picscalex"))
            p.scaleX = param;
        else if (is("picscaley"))
            p.scaleY = param;
        else if (is("wbmbitspixel"))
            p.bitsPerPixel = param;
        else if (is("wbmwidthbytes"))
            p.widthBytes = param;
        else if (destinationMark)
            group.dest = Dest::Skip; // {\*\blipuid ...} and the like
        return;
    }

    if (group.dest == Dest::FontTable) {
        if (is("f")) {
            if (!m_fontName.trimmed().isEmpty() && m_fontEntry >= 0)
                m_fonts[m_fontEntry].name = m_fontName.trimmed();
            m_fontName.clear();
            m_fontNameBytes.clear();
            m_fontEntry = param;
            m_fonts[m_fontEntry];
        } else if (is("fcharset")) {
            if (m_fontEntry >= 0)
                m_fonts[m_fontEntry].charset = param;
        } else if (is("u")) {
            m_fontName += QChar(static_cast<char16_t>(param < 0 ? param + 65536 : param));
            m_skipChars = group.unicodeSkip;
        } else if (destinationMark || is("panose") || is("falt")) {
            group.dest = Dest::Skip;
        }
        return;
    }

    if (group.dest == Dest::ColourTable) {
        if (is("red"))
            m_red = param;
        else if (is("green"))
            m_green = param;
        else if (is("blue"))
            m_blue = param;
        return;
    }

    // Destinations.
    if (is("fonttbl")) {
        group.dest = Dest::FontTable;
        m_fontEntry = -1;
        m_fontName.clear();
        return;
    }
    if (is("colortbl")) {
        group.dest = Dest::ColourTable;
        m_colours.clear();
        m_red = m_green = m_blue = -1;
        return;
    }
    if (is("pict")) {
        FlushText();
        group.dest = Dest::Picture;
        m_picture = PictureState{};
        return;
    }
    if (is("shppict") || is("fldrslt") || is("field"))
        return; // their contents are read as usual
    static const char* const kSkipped[] = {"stylesheet",
                                           "info",
                                           "header",
                                           "footer",
                                           "headerl",
                                           "headerr",
                                           "headerf",
                                           "footerl",
                                           "footerr",
                                           "footerf",
                                           "footnote",
                                           "annotation",
                                           "nonshppict",
                                           "fldinst",
                                           "listtable",
                                           "listoverridetable",
                                           "rsidtbl",
                                           "generator",
                                           "xmlnstbl",
                                           "themedata",
                                           "colorschememapping",
                                           "latentstyles",
                                           "datastore",
                                           "pntext",
                                           "pntxta",
                                           "pntxtb",
                                           "filetbl",
                                           "revtbl",
                                           "object",
                                           "objdata",
                                           "private",
                                           "mmathPr",
                                           "bkmkstart",
                                           "bkmkend",
                                           "title",
                                           "author",
                                           "operator",
                                           "company",
                                           "comment",
                                           "doccomm",
                                           "keywords",
                                           "subject",
                                           "shpinst",
                                           "sp",
                                           "sn",
                                           "sv",
                                           "pgdsctbl"};
    for (const char* name : kSkipped) {
        if (is(name)) {
            FlushText();
            group.dest = Dest::Skip;
            return;
        }
    }
    if (destinationMark) {
        FlushText();
        group.dest = Dest::Skip;
        return;
    }

    // Document settings.
    if (is("deff")) {
        m_defaultFont = param;
        return;
    }
    if (is("ansicpg")) {
        const QString name = CodecNameForCodePage(param);
        if (!name.isEmpty())
            m_defaultCodec = name;
        return;
    }
    if (is("uc")) {
        group.unicodeSkip = std::clamp(param, 0, 16);
        return;
    }
    if (is("u")) {
        FlushBytes();
        m_pendingText += QChar(static_cast<char16_t>(param < 0 ? param + 65536 : param));
        m_skipChars = group.unicodeSkip;
        return;
    }

    // Paragraph breaks and special characters.
    if (is("par")) {
        EndParagraph();
        return;
    }
    if (is("line")) {
        Text(QChar(QChar::LineSeparator));
        return;
    }
    if (is("tab") || is("cell") || is("nestcell")) {
        Text(u'\t'); // table cells read as tab-separated text
        return;
    }
    if (is("row")) {
        EndParagraph();
        return;
    }
    static const std::pair<const char*, char16_t> kSpecial[] = {
        {"emdash", 0x2014},  {"endash", 0x2013},    {"bullet", 0x2022},    {"lquote", 0x2018},
        {"rquote", 0x2019},  {"ldblquote", 0x201C}, {"rdblquote", 0x201D}, {"emspace", 0x2003},
        {"enspace", 0x2002}, {"qmspace", 0x2005}};
    for (const auto& [name, code] : kSpecial) {
        if (is(name)) {
            Text(QChar(code));
            return;
        }
    }

    // Formats: flush what was written with the old ones first.
    FlushText();
    CharState& ch = group.ch;
    ParaState& para = group.para;
    if (is("plain")) {
        ch = CharState{};
    } else if (is("f")) {
        ch.font = param;
    } else if (is("fs")) {
        ch.halfPoints = std::clamp(hasParam ? param : 24, 2, kMaxHalfPoints);
    } else if (is("b")) {
        ch.bold = value != 0;
    } else if (is("i")) {
        ch.italic = value != 0;
    } else if (is("ul") || is("uld") || is("uldb") || is("ulw") || is("ulth") || is("uldash")) {
        ch.underline = value != 0;
    } else if (is("ulnone")) {
        ch.underline = false;
    } else if (is("cf")) {
        ch.foreground = param;
    } else if (is("highlight") || is("cb") || is("chcbpat")) {
        ch.background = param;
    } else if (is("pard")) {
        para = ParaState{};
    } else if (is("ql")) {
        para.alignment = Qt::AlignLeft;
    } else if (is("qc")) {
        para.alignment = Qt::AlignHCenter;
    } else if (is("qr")) {
        para.alignment = Qt::AlignRight;
    } else if (is("qj")) {
        para.alignment = Qt::AlignJustify;
    } else if (is("sb")) {
        para.spaceBefore = param;
    } else if (is("sa")) {
        para.spaceAfter = param;
    } else if (is("sl")) {
        para.lineSpacing = param;
    } else if (is("slmult")) {
        para.lineMultiple = value != 0;
    }
}

void RtfReader::FinishPicture()
{
    const PictureState p = std::move(m_picture);
    QImage image;
    const auto readLimited = [](const QByteArray& bytes, const char* format) {
        QBuffer buffer;
        buffer.setData(bytes);
        buffer.open(QIODevice::ReadOnly);
        QImageReader reader(&buffer, format);
        const QSize size = reader.size();
        if (size.isValid() && (size.width() > kMaxPictureSide || size.height() > kMaxPictureSide))
            return QImage();
        return reader.read();
    };
    switch (p.kind) {
    case PictureKind::Png:
        image = readLimited(p.data, "PNG");
        break;
    case PictureKind::Jpeg:
        image = readLimited(p.data, "JPEG");
        break;
    case PictureKind::Dib:
        image = DecodeDib(p.data);
        break;
    case PictureKind::Wbitmap:
        image = DecodeWbitmap(p);
        break;
    default:
        break;
    }
    m_picture = PictureState{};
    if (image.isNull()) {
        ++m_report.undrawablePictures;
        return;
    }
    int width = image.width();
    int height = image.height();
    if (p.goalWidth > 0 && p.goalHeight > 0) {
        width = p.goalWidth / 15;
        height = p.goalHeight / 15;
    }
    width = static_cast<int>(static_cast<long long>(width) * std::clamp(p.scaleX, 1, 1000) / 100);
    height = static_cast<int>(static_cast<long long>(height) * std::clamp(p.scaleY, 1, 1000) / 100);
    width = std::clamp(width, 1, kMaxPictureSide);
    height = std::clamp(height, 1, kMaxPictureSide);
    const QString name = QStringLiteral("rtfpicture:%1").arg(++m_pictureCount);
    m_document.addResource(QTextDocument::ImageResource, QUrl(name), image);
    QTextImageFormat format;
    format.setName(name);
    format.setWidth(width);
    format.setHeight(height);
    m_cursor.insertImage(format);
    m_endedWithPar = false;
}

} // namespace

bool ReadRtf(const QString& rtf, QTextDocument& document, RtfReadReport* report)
{
    RtfReadReport ignored;
    document.clear();
    const QString trimmed = rtf.trimmed();
    if (!trimmed.startsWith(QLatin1String("{\\rtf"))) {
        QTextCursor cursor(&document);
        QTextCharFormat format;
        format.setForeground(QColor(QRgb(kRtfAutoColour)));
        format.setFontStyleStrategy(QFont::StyleStrategy(QFont::NoAntialias | QFont::PreferMatch));
        format.setProperty(QTextFormat::FontPixelSize, 16);
        cursor.insertText(rtf, format);
        return false;
    }
    RtfReader reader(trimmed, document, report ? *report : ignored);
    reader.Run();
    return true;
}
