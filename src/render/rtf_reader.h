#pragma once

#include <QString>

class QTextDocument;

// Reads an RTF document as Windows rich-edit controls write it into a QTextDocument:
// font and colour tables, character formats (\f \fs \b \i \ul \cf \highlight \cb), paragraph
// formats (\ql \qc \qr \qj \sb \sa \sl \slmult), \par and \line, \uN with its fallback,
// \'hh in the font's code page and embedded PNG, JPEG and bitmap pictures. Unknown control
// words are ignored, unknown destinations and \* groups skipped. Broken input yields
// whatever could be read. Text that is not RTF at all is taken as plain text.
//
// Text written as raw 8-bit bytes (an RTF file read byte for byte) is decoded like \'hh, and
// a double-byte character whose second byte is written as a plain character ("\'c5w") is
// read whole.
//
// The document's previous contents are replaced. Returns false when the text was not RTF.
struct RtfReadReport
{
    int undrawablePictures = 0; // pictures left out: metafiles and broken or unknown ones
};
bool ReadRtf(const QString& rtf, QTextDocument& document, RtfReadReport* report = nullptr);

// The text colour used for text whose colour is "automatic": red, the colour every LED
// screen can show (on the black LED background the platform's black would be invisible).
constexpr unsigned kRtfAutoColour = 0xFF0000u;
