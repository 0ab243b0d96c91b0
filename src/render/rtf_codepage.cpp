#include "render/rtf_codepage.h"

#include <QStringDecoder>
#include <QStringEncoder>

QString CodecNameForCharset(int charset)
{
    switch (charset) {
    case 0:
        return QStringLiteral("windows-1252");
    case 128:
        return QStringLiteral("Shift_JIS");
    case 129:
        return QStringLiteral("windows-949");
    case 134:
        return QStringLiteral("GBK");
    case 136:
        return QStringLiteral("Big5");
    case 161:
        return QStringLiteral("windows-1253");
    case 162:
        return QStringLiteral("windows-1254");
    case 163:
        return QStringLiteral("windows-1258");
    case 177:
        return QStringLiteral("windows-1255");
    case 178:
        return QStringLiteral("windows-1256");
    case 186:
        return QStringLiteral("windows-1257");
    case 204:
        return QStringLiteral("windows-1251");
    case 222:
        return QStringLiteral("windows-874");
    case 238:
        return QStringLiteral("windows-1250");
    default:
        return QString(); // 1 default, 2 symbol, 77 Mac...: the document's code page
    }
}

QString CodecNameForCodePage(int codePage)
{
    switch (codePage) {
    case 932:
        return QStringLiteral("Shift_JIS");
    case 936:
        return QStringLiteral("GBK");
    case 949:
        return QStringLiteral("windows-949");
    case 950:
        return QStringLiteral("Big5");
    case 65001:
        return QStringLiteral("UTF-8");
    default:
        if (codePage >= 874 && codePage <= 1258)
            return QStringLiteral("windows-%1").arg(codePage);
        return QString();
    }
}

QString DecodeCodePage(const QByteArray& bytes, const QString& codecName)
{
    if (!codecName.isEmpty()) {
        QStringDecoder decoder(codecName.toLatin1().constData());
        if (decoder.isValid()) {
            QString text = decoder.decode(bytes);
            if (!decoder.hasError())
                return text;
        }
    }
    QStringDecoder fallback("windows-1252");
    if (fallback.isValid())
        return fallback.decode(bytes);
    return QString::fromLatin1(bytes);
}

bool EncodeCodePage(const QString& text, const QString& codecName, QByteArray& bytes)
{
    QStringEncoder encoder(codecName.toLatin1().constData());
    if (!encoder.isValid())
        return false;
    bytes = encoder.encode(text);
    return !encoder.hasError();
}
