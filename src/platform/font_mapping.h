#pragma once

#include <QFont>
#include <QString>

// Face names stored in projects come from Windows machines ("宋体", "SimSun", "Arial",
// "Times New Roman", "黑体", ...). InstallFontMapping teaches Qt's font matching which
// installed faces stand in for them, with a CJK face as fallback for every name so that
// Chinese text always finds its glyphs. Safe to call more than once.
void InstallFontMapping();

// The installed family a stored face name resolves to (after InstallFontMapping).
QString ResolvedFontFamily(const QString& faceName);

// How this machine draws a stored face name: with the face itself, with the face the mapping
// stands in for it (a Windows face), or with whatever the system falls back to.
struct FaceOnThisMachine
{
    bool installed = false;
    bool stoodIn = false;
    QString used; // the family that draws it
};
FaceOnThisMachine FindFace(const QString& faceName);

// A font for LED pixels: the face, a pixel height, weight, slant, underline, and no
// anti-aliasing (every pixel is on or off).
QFont LedFont(const QString& faceName, int pixelHeight, bool bold = false, bool italic = false,
              bool underline = false);

// Pixel height of a point size at the 96 pixels per inch the LED bitmaps are drawn at.
int PointsToPixels(double points);
