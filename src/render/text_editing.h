#pragma once

#include <QByteArray>
#include <QColor>
#include <QString>
#include <QVector>

// The rules of the rich-text editor that do not depend on its widgets.

// The characters a text zone may hold (other rich-text zones have no limit).
constexpr int kTextZoneCharacterLimit = 512;
// The largest text file the editor opens.
constexpr qint64 kTextFileByteLimit = 8 * 1024 * 1024;
// What the size field starts with, and what an impossible size becomes.
constexpr int kEditorDefaultFontSize = 20;
constexpr int kEditorFallbackFontSize = 9;
constexpr int kEditorMinFontSize = 4;
constexpr int kEditorMaxFontSize = 1024;

// The entries of the size list.
QVector<int> EditorFontSizes();
// The size typed or chosen in the size field: a number from 4 to 1024, anything else 9.
int EditorFontSize(const QString& text);

// Colour indexes (bit 0 red, bit 1 green, bit 2 blue) a screen of the colour depth (1 R,
// 2 RG, 3 RGB; anything else counts as 1) offers: fore colours without black, back colours
// from black.
QVector<int> ForeColourIndexes(int colourDepth);
QVector<int> BackColourIndexes(int colourDepth);
// The colour an index stands for as text colour (full channels) and as background (every
// lit channel lowered by 20, so that the text stays readable over it).
QColor ForeColour(int index);
QColor BackColour(int index);
// The index whose bits are the channels above the threshold (200 for text, 100 for the
// background).
int ColourIndexOf(const QColor& colour, int threshold);
constexpr int kForeColourThreshold = 200;
constexpr int kBackColourThreshold = 100;

// The "Line space" dialog: the box is checked when either value is set; checking it while
// both are 0 proposes half the zone's height and no top space; unchecked stores 0 and 0.
struct LineSpacing
{
    int lineSpace = 0; // 0: automatic
    int topSpace = 0;
};
constexpr int kMinLineSpace = 4;
constexpr int kMaxLineSpace = 512;
constexpr int kMinTopSpace = -64;
constexpr int kMaxTopSpace = 512;
bool IsCustomLineSpacing(const LineSpacing& spacing);
LineSpacing ProposedLineSpacing(const LineSpacing& current, int zoneHeight);
