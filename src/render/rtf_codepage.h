#pragma once

#include <QByteArray>
#include <QString>

// Code pages of RTF text: \fcharsetN of a font and \ansicpgN of a document name a code
// page; \'hh bytes are decoded with it.
QString CodecNameForCharset(int charset);
QString CodecNameForCodePage(int codePage);
// Decodes the bytes; undecodable bytes (or an unknown code page) fall back to Windows-1252.
QString DecodeCodePage(const QByteArray& bytes, const QString& codecName);
// Encodes the text; false when the code page cannot hold every character.
bool EncodeCodePage(const QString& text, const QString& codecName, QByteArray& bytes);
