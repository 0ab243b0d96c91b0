#pragma once

#include <QString>
#include <QStringList>

class CEffectZone;

// Replacing what a zone shows, for scripts: the text of a text or animate zone, its whole
// rich-text document, or the picture of an image zone. Each operation checks its input
// first and changes nothing when it fails (false, with the reason in error).
class CZoneContent
{
public:
    // Most characters a zone's text may hold: what the editor's rich-text control takes.
    static constexpr int kMaxTextLength = 32767;

    // Sets the text (lines separated by '\n'), keeping the format of the document's first
    // character and the alignment and spacing of its first paragraph.
    static bool SetText(CEffectZone& zone, const QString& text, QString& error);
    // Replaces the whole document with an RTF text.
    static bool SetRtf(CEffectZone& zone, const QString& rtf, QString& error);
    // Points an image zone at a picture file, which must load.
    static bool SetImage(CEffectZone& zone, const QString& path, QString& error);
    // The same with the picture dithered to the screen's colours at the zone's size and
    // written as a PNG into the folder (beside the project), which the zone then shows.
    static bool SetDitheredImage(CEffectZone& zone, const QString& path, const QString& folder,
                                 QString& error);

    // Renders the zone as the editor shows it and returns its page count, adding to
    // warnings what a person should know: a text that needs more than one page, characters
    // that no installed font can draw (they would show as boxes), and what the sign will
    // show otherwise than meant (the checker's findings about the zone's content).
    static int Render(CEffectZone& zone, QStringList& warnings);

    // The text a text or animate zone shows, lines separated by '\n'; empty for other zones.
    static QString PlainText(const CEffectZone& zone);

    // "\n" in a command-line text is a new line, "\\" a backslash.
    static QString UnescapeLineBreaks(const QString& text);
};
