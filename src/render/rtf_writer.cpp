#include "render/rtf_writer.h"

#include "platform/font_mapping.h"

#include "render/rtf_codepage.h"
#include "render/rtf_reader.h"

#include <QBuffer>
#include <QColor>
#include <QImage>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextImageFormat>
#include <QUrl>

#include <cmath>
#include <vector>

namespace {

struct FontSlot
{
    QString name;
    int charset = 0;
};

bool IsAscii(const QString& text)
{
    for (QChar c : text) {
        if (c.unicode() >= 128)
            return false;
    }
    return true;
}

void AppendEscapedAscii(QString& out, QChar c)
{
    if (c == u'\\' || c == u'{' || c == u'}') {
        out += u'\\';
        out += c;
    } else {
        out += c;
    }
}

// Text as \uN? for everything outside ASCII; \line, \tab for the specials.
void AppendText(QString& out, const QString& text)
{
    for (QChar c : text) {
        const ushort u = c.unicode();
        if (c == QChar::LineSeparator) {
            out += QLatin1String("\\line ");
        } else if (u == '\t') {
            out += QLatin1String("\\tab ");
        } else if (u == 0x00A0) {
            out += QLatin1String("\\~");
        } else if (u == QChar::ObjectReplacementCharacter) {
            // pictures are written from their format
        } else if (u < 32) {
            // control characters have no place in the text
        } else if (u < 128) {
            AppendEscapedAscii(out, c);
        } else {
            out += QStringLiteral("\\u%1?").arg(static_cast<int>(static_cast<short>(u)));
        }
    }
}

int HalfPoints(const QTextCharFormat& format)
{
    const QVariant pixels = format.property(QTextFormat::FontPixelSize);
    const double points = format.fontPointSize();
    // The editor sets both; its point size is what the pixels came from, and exact.
    if (pixels.isValid() && pixels.toInt() > 0 &&
        !(points > 0 && PointsToPixels(points) == pixels.toInt()))
        return static_cast<int>(std::lround(pixels.toInt() * 144.0 / 96.0));
    if (points > 0)
        return static_cast<int>(std::lround(points * 2));
    return 24;
}

QString FamilyOf(const QTextCharFormat& format)
{
    const QStringList families = format.fontFamilies().toStringList();
    if (!families.isEmpty() && !families.first().isEmpty())
        return families.first();
    return QStringLiteral("Arial");
}

class RtfWriter
{
public:
    explicit RtfWriter(const QTextDocument& document) : m_document(document) {}
    QString Run();

private:
    int FontIndex(const QString& name);
    int ColourIndex(const QColor& colour);
    void WriteFragment(QString& body, const QTextFragment& fragment);
    void WritePicture(QString& body, const QTextImageFormat& format);

    const QTextDocument& m_document;
    std::vector<FontSlot> m_fonts;
    std::vector<QColor> m_colours;
};

int RtfWriter::FontIndex(const QString& name)
{
    for (size_t i = 0; i < m_fonts.size(); ++i) {
        if (m_fonts[i].name == name)
            return static_cast<int>(i);
    }
    FontSlot slot;
    slot.name = name;
    slot.charset = IsAscii(name) ? 0 : 134;
    static const char* const kCjkLatinNames[] = {"SimSun", "NSimSun",  "SimHei",
                                                 "KaiTi",  "FangSong", "Microsoft YaHei"};
    for (const char* cjk : kCjkLatinNames) {
        if (name.compare(QLatin1String(cjk), Qt::CaseInsensitive) == 0)
            slot.charset = 134;
    }
    m_fonts.push_back(slot);
    return static_cast<int>(m_fonts.size() - 1);
}

int RtfWriter::ColourIndex(const QColor& colour)
{
    const QRgb rgb = colour.rgb() & 0xFFFFFF;
    for (size_t i = 0; i < m_colours.size(); ++i) {
        if ((m_colours[i].rgb() & 0xFFFFFF) == rgb)
            return static_cast<int>(i + 1);
    }
    m_colours.push_back(colour);
    return static_cast<int>(m_colours.size());
}

void RtfWriter::WritePicture(QString& body, const QTextImageFormat& format)
{
    const QVariant resource =
        m_document.resource(QTextDocument::ImageResource, QUrl(format.name()));
    QImage image = resource.value<QImage>();
    if (image.isNull())
        return;
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG"))
        return;
    const int width = format.width() > 0 ? static_cast<int>(format.width()) : image.width();
    const int height = format.height() > 0 ? static_cast<int>(format.height()) : image.height();
    body += QStringLiteral("{\\pict\\pngblip\\picw%1\\pich%2\\picwgoal%3\\pichgoal%4\n")
                .arg(image.width())
                .arg(image.height())
                .arg(width * 15)
                .arg(height * 15);
    const QByteArray hex = png.toHex();
    for (qsizetype i = 0; i < hex.size(); i += 128) {
        body += QString::fromLatin1(hex.mid(i, 128));
        body += u'\n';
    }
    body += u'}';
}

void RtfWriter::WriteFragment(QString& body, const QTextFragment& fragment)
{
    const QTextCharFormat format = fragment.charFormat();
    if (format.isImageFormat()) {
        WritePicture(body, format.toImageFormat());
        return;
    }
    body += QStringLiteral("\\f%1\\fs%2").arg(FontIndex(FamilyOf(format))).arg(HalfPoints(format));
    body += format.fontWeight() >= QFont::DemiBold ? QLatin1String("\\b") : QLatin1String("\\b0");
    body += format.fontItalic() ? QLatin1String("\\i") : QLatin1String("\\i0");
    body += format.fontUnderline() ? QLatin1String("\\ul") : QLatin1String("\\ulnone");
    const QColor foreground = format.foreground().style() != Qt::NoBrush
                                  ? format.foreground().color()
                                  : QColor(QRgb(kRtfAutoColour));
    body += QStringLiteral("\\cf%1").arg(ColourIndex(foreground));
    if (format.background().style() != Qt::NoBrush)
        body += QStringLiteral("\\highlight%1").arg(ColourIndex(format.background().color()));
    else
        body += QLatin1String("\\highlight0");
    body += u' ';
    AppendText(body, fragment.text());
}

QString RtfWriter::Run()
{
    QString body;
    bool firstBlock = true;
    for (QTextBlock block = m_document.begin(); block.isValid(); block = block.next()) {
        if (!firstBlock)
            body += QLatin1String("\\par\n");
        firstBlock = false;
        const QTextBlockFormat format = block.blockFormat();
        body += QLatin1String("\\pard");
        const Qt::Alignment alignment = format.alignment() & Qt::AlignHorizontal_Mask;
        if (alignment & Qt::AlignHCenter)
            body += QLatin1String("\\qc");
        else if (alignment & Qt::AlignRight)
            body += QLatin1String("\\qr");
        else if (alignment & Qt::AlignJustify)
            body += QLatin1String("\\qj");
        if (format.topMargin() > 0)
            body += QStringLiteral("\\sb%1").arg(std::lround(format.topMargin() * 15));
        if (format.bottomMargin() > 0)
            body += QStringLiteral("\\sa%1").arg(std::lround(format.bottomMargin() * 15));
        switch (format.lineHeightType()) {
        case QTextBlockFormat::FixedHeight:
            body += QStringLiteral("\\sl-%1\\slmult0").arg(std::lround(format.lineHeight() * 15));
            break;
        case QTextBlockFormat::MinimumHeight:
            body += QStringLiteral("\\sl%1\\slmult0").arg(std::lround(format.lineHeight() * 15));
            break;
        case QTextBlockFormat::ProportionalHeight:
            body +=
                QStringLiteral("\\sl%1\\slmult1").arg(std::lround(format.lineHeight() * 240 / 100));
            break;
        default:
            break;
        }
        bool any = false;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.isValid()) {
                WriteFragment(body, fragment);
                any = true;
            }
        }
        if (!any) {
            // Keep the size of an empty paragraph.
            const QTextCharFormat charFormat = block.charFormat();
            body += QStringLiteral("\\f%1\\fs%2 ")
                        .arg(FontIndex(FamilyOf(charFormat)))
                        .arg(HalfPoints(charFormat));
        }
    }
    body += QLatin1String("\\par\n}");

    QString out = QStringLiteral("{\\rtf1\\ansi\\ansicpg936\\deff0{\\fonttbl");
    if (m_fonts.empty())
        FontIndex(QStringLiteral("Arial"));
    for (size_t i = 0; i < m_fonts.size(); ++i) {
        const FontSlot& slot = m_fonts[i];
        out += QStringLiteral("{\\f%1\\fnil\\fcharset%2 ").arg(i).arg(slot.charset);
        if (IsAscii(slot.name)) {
            for (QChar c : slot.name)
                AppendEscapedAscii(out, c);
        } else {
            QByteArray bytes;
            if (EncodeCodePage(slot.name, QStringLiteral("GBK"), bytes) &&
                DecodeCodePage(bytes, QStringLiteral("GBK")) == slot.name) {
                for (char byte : bytes) {
                    const auto u = static_cast<uchar>(byte);
                    if (u < 128)
                        AppendEscapedAscii(out, QChar(u));
                    else
                        out += QStringLiteral("\\'%1").arg(u, 2, 16, QChar(u'0'));
                }
            } else {
                AppendText(out, slot.name);
            }
        }
        out += QLatin1String(";}");
    }
    out += QLatin1String("}\n{\\colortbl ;");
    for (const QColor& colour : m_colours)
        out += QStringLiteral("\\red%1\\green%2\\blue%3;")
                   .arg(colour.red())
                   .arg(colour.green())
                   .arg(colour.blue());
    out += QLatin1String("}\n\\viewkind4\\uc1\n");
    out += body;
    return out;
}

} // namespace

QString WriteRtf(const QTextDocument& document)
{
    return RtfWriter(document).Run();
}
