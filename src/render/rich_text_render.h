#pragma once

#include <QImage>
#include <QString>

#include <vector>

class QTextDocument;

// Layout modes of RenderRichText.
enum RichTextMode : int {
    RichTextWideStrip = 0,  // one strip as wide as the longest line (horizontal scrolling)
    RichTextTallStrip = 1,  // one strip as high as the wrapped text (vertical scrolling)
    RichTextLines = 2,      // one bitmap per wrapped line (pages of lines)
    RichTextSingleLine = 3, // like the wide strip
};

// Widest and highest strip drawn, in pixels.
constexpr int kMaxStripLength = 40960;

// Draws the RTF text at width x height pixels in the mode, with space before each
// paragraph and an exact line pitch in pixels (0 = natural; applied here in modes 0, 1
// and 3 only, the text zone's page packer applies them in mode 2). Every bitmap is 1.5
// times the window's height (the tall strip 1.5 times its own); lines without text give
// no bitmap. Returns nothing while another rendering runs on the same thread, or for a
// size of 0 or less. Renderings on different threads do not wait for each other.
// In mode 2 at most maxLines lines are laid out and drawn: the caller knows how many its
// pages can show.
std::vector<QImage> RenderRichText(int width, int height, int mode, const QString& rtf,
                                   int spaceBefore, int linePitch, int maxLines = kMaxStripLength);

// Sets a document up as RenderRichDocument lays it out in the mode (margins, wrapping, the
// text past what the bitmaps could show dropped, spacing, width); returns the mode it lays
// out in (0, 1 or 2). The strip's width is set for mode 0. Lets others measure what is drawn.
int PrepareRichDocument(QTextDocument& document, int width, int height, int mode, int spaceBefore,
                        int linePitch, int maxLines = kMaxStripLength);
// Rows left free above the text in every bitmap drawn.
constexpr int kRichTextTopPad = 4;

// The same from a document already read.
std::vector<QImage> RenderRichDocument(int width, int height, int mode, QTextDocument& document,
                                       int spaceBefore, int linePitch,
                                       int maxLines = kMaxStripLength);
