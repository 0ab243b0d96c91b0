#pragma once

#include <QString>

class QTextDocument;

// Writes a QTextDocument as RTF that rich-edit controls and ReadRtf read: font table
// (names of non-Latin faces in their code page), colour table, character and paragraph
// formats, non-ASCII text as \uN with a '?' fallback, and pictures as PNG (\pngblip).
QString WriteRtf(const QTextDocument& document);
