#include "render/text_decoder.h"

#include <QStringDecoder>

#include <algorithm>

namespace {

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

// UTF-16 comes in whole pairs of bytes.
bool DecodeUtf16(const QByteArray& bytes, QStringDecoder::Encoding encoding, QString& text)
{
    return bytes.size() % 2 == 0 && DecodeStrictly(bytes, QStringDecoder(encoding), text);
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

// GBK's user-defined rows and the unassigned bytes of Big5 decode into the private use
// area: no real text has them.
bool HasPrivateUseCharacters(const QString& text)
{
    return std::any_of(text.begin(), text.end(),
                       [](QChar c) { return c.unicode() >= 0xE000 && c.unicode() <= 0xF8FF; });
}

bool Decode(const QByteArray& bytes, QString& text, TextEncoding& found)
{
    if (bytes.startsWith("\xFF\xFE")) {
        found = TextEncoding::Utf16LittleEndian;
        return DecodeUtf16(bytes.mid(2), QStringDecoder::Utf16LE, text);
    }
    if (bytes.startsWith("\xFE\xFF")) {
        found = TextEncoding::Utf16BigEndian;
        return DecodeUtf16(bytes.mid(2), QStringDecoder::Utf16BE, text);
    }
    if (bytes.contains('\0'))
        return false;
    const QByteArray body = bytes.startsWith("\xEF\xBB\xBF") ? bytes.mid(3) : bytes;
    found = TextEncoding::Utf8;
    if (DecodeStrictly(body, QStringDecoder(QStringDecoder::Utf8), text))
        return true;
    found = TextEncoding::Gb18030;
    if (LooksLikeGbk(body) && DecodeStrictly(body, QStringDecoder("GB18030"), text) &&
        !HasPrivateUseCharacters(text))
        return true;
    found = TextEncoding::Big5;
    if (DecodeStrictly(body, QStringDecoder("Big5"), text) && !HasPrivateUseCharacters(text))
        return true;
    found = TextEncoding::Gb18030;
    return DecodeStrictly(body, QStringDecoder("GB18030"), text) && !HasPrivateUseCharacters(text);
}

} // namespace

bool DecodePlainText(const QByteArray& bytes, QString& text, TextEncoding* found)
{
    TextEncoding encoding = TextEncoding::Utf8;
    QString decoded;
    if (!Decode(bytes, decoded, encoding))
        return false;
    decoded.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    decoded.replace(u'\r', u'\n');
    text = std::move(decoded);
    if (found)
        *found = encoding;
    return true;
}

QByteArray EncodePlainText(const QString& text)
{
    return text.toUtf8();
}
