#include "render/text_editing.h"

#include <QStringDecoder>

#include <algorithm>

namespace {

int ColourBits(int colourDepth)
{
    return colourDepth >= 1 && colourDepth <= 3 ? colourDepth : 1;
}

bool DecodeStrictly(const QByteArray& bytes, QStringDecoder decoder, QString& text)
{
    if (!decoder.isValid())
        return false;
    QString decoded = decoder.decode(bytes);
    if (decoder.hasError())
        return false;
    text = std::move(decoded);
    return true;
}

// Big5 text usually reads as GBK too, as rare characters. Text written in GBK keeps most
// of its characters in the common GB2312 rows; Big5 text does not.
bool LooksLikeGbk(const QByteArray& bytes)
{
    int pairs = 0;
    int common = 0;
    for (qsizetype i = 0; i + 1 < bytes.size(); ++i) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        if (lead < 0x81)
            continue;
        const auto trail = static_cast<unsigned char>(bytes[i + 1]);
        ++pairs;
        if (lead >= 0xA1 && lead <= 0xF7 && trail >= 0xA1 && trail <= 0xFE)
            ++common;
        ++i;
    }
    return pairs == 0 || common * 10 >= pairs * 9;
}

// GBK's user-defined rows decode into the private use area: no real text has them.
bool HasPrivateUseCharacters(const QString& text)
{
    return std::any_of(text.begin(), text.end(),
                       [](QChar c) { return c.unicode() >= 0xE000 && c.unicode() <= 0xF8FF; });
}

} // namespace

QVector<int> EditorFontSizes()
{
    return {8,  9,  10, 11, 12, 14, 16, 18, 20, 22, 24,  26,  28, 30,
            32, 36, 40, 48, 56, 64, 72, 80, 88, 96, 104, 112, 128};
}

int EditorFontSize(const QString& text)
{
    bool ok = false;
    const int size = text.trimmed().toInt(&ok);
    if (!ok || size < kEditorMinFontSize || size > kEditorMaxFontSize)
        return kEditorFallbackFontSize;
    return size;
}

QVector<int> ForeColourIndexes(int colourDepth)
{
    QVector<int> indexes;
    for (int i = 1; i < (1 << ColourBits(colourDepth)); ++i)
        indexes.append(i);
    return indexes;
}

QVector<int> BackColourIndexes(int colourDepth)
{
    QVector<int> indexes{0};
    indexes.append(ForeColourIndexes(colourDepth));
    return indexes;
}

QColor ForeColour(int index)
{
    return QColor(index & 1 ? 255 : 0, index & 2 ? 255 : 0, index & 4 ? 255 : 0);
}

QColor BackColour(int index)
{
    const auto lowered = [](int channel) { return channel ? channel - 20 : 0; };
    const QColor full = ForeColour(index);
    return QColor(lowered(full.red()), lowered(full.green()), lowered(full.blue()));
}

int ColourIndexOf(const QColor& colour, int threshold)
{
    return (colour.red() > threshold ? 1 : 0) | (colour.green() > threshold ? 2 : 0) |
           (colour.blue() > threshold ? 4 : 0);
}

bool IsCustomLineSpacing(const LineSpacing& spacing)
{
    return spacing.lineSpace != 0 || spacing.topSpace != 0;
}

LineSpacing ProposedLineSpacing(const LineSpacing& current, int zoneHeight)
{
    if (IsCustomLineSpacing(current))
        return current;
    return {std::clamp(zoneHeight / 2, kMinLineSpace, kMaxLineSpace), 0};
}

bool DecodePlainText(const QByteArray& bytes, QString& text)
{
    if (bytes.startsWith("\xFF\xFE"))
        return DecodeStrictly(bytes.mid(2), QStringDecoder(QStringDecoder::Utf16LE), text);
    if (bytes.startsWith("\xFE\xFF"))
        return DecodeStrictly(bytes.mid(2), QStringDecoder(QStringDecoder::Utf16BE), text);
    if (bytes.contains('\0'))
        return false;
    const QByteArray body = bytes.startsWith("\xEF\xBB\xBF") ? bytes.mid(3) : bytes;
    if (DecodeStrictly(body, QStringDecoder(QStringDecoder::Utf8), text))
        return true;
    if (LooksLikeGbk(body) && DecodeStrictly(body, QStringDecoder("GBK"), text) &&
        !HasPrivateUseCharacters(text))
        return true;
    return DecodeStrictly(body, QStringDecoder("Big5"), text) ||
           DecodeStrictly(body, QStringDecoder("GBK"), text);
}

QByteArray EncodePlainText(const QString& text)
{
    return text.toUtf8();
}
