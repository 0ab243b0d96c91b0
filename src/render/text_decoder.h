#pragma once

#include <QByteArray>
#include <QString>

// The text files people have, from any editor: UTF-8 with or without a byte-order mark,
// UTF-16 (little or big endian) with its mark as Notepad writes "Unicode", and the Chinese
// code pages of Windows: GB18030 (which GBK and GB2312 are part of) and Big5. The editor's
// Open and set-text --text-file read through here.
enum class TextEncoding { Utf8, Utf16LittleEndian, Utf16BigEndian, Gb18030, Big5 };

// Decodes the bytes; the line ends of Windows and old Macs become '\n'. False for what is
// no text: NUL bytes outside UTF-16, or bytes that none of these encodings reads.
bool DecodePlainText(const QByteArray& bytes, QString& text, TextEncoding* found = nullptr);
// Plain text is written as UTF-8.
QByteArray EncodePlainText(const QString& text);
