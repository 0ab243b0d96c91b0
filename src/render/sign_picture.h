#pragma once

#include <QImage>
#include <QRgb>

#include <cstdint>
#include <vector>

class CEffectZone;
class CProgram;

// What the sign shows. Zones hold their pages in one of the two render forms; the card
// reduces every page to the screen's colours (a channel it has is lit from 2 up, the others
// are dark) and an image zone's pages to the key colour's result first. Everything that
// shows the sign (the preview, the editor's LED page, render, play) draws through here, so
// that it shows what the card gets; the designer's form is the page in the colours it was
// designed in.
enum class SignForm { Card, Designer };

// The page as the card shows it, from a page the zone holds (in either render form).
QImage CardPage(const CEffectZone& zone, const QImage& page);
// Page `index` of the zone in the form; a null image outside the pages. The designer's form
// is the page as the zone holds it.
QImage ZonePagePicture(const CEffectZone& zone, int index, SignForm form);
// Whether the pages the zone holds need more than the screen reduction to look as on the
// card (an image zone's display form: the key colour is not applied yet).
bool NeedsKeyForCard(const CEffectZone& zone);

// The zone's page indexes in the order the card plays them: at most the pages a zone record
// carries, from the last page for a text or table zone moving right without a stay time;
// empty for a zone the card does not play.
std::vector<int> CardPageOrder(const CEffectZone& zone);
// The same one position at a time: how many pages the card plays, and the zone's page index
// at a position of that order (-1 outside it).
int CardPageCount(const CEffectZone& zone);
int CardPageIndex(const CEffectZone& zone, int position);

// The whole screen of the program: every window's first page at its place, the program's
// border around them.
QImage ProgramFramePicture(const CProgram& program, SignForm form);
// The program's border as the card draws it: each pattern pixel lit per colour plane as the
// compiler takes it (border bits below), bottom and right mirrored unless it is flat.
void DrawCardBorder(QImage& screen, const CProgram& program);
// The plane bits (red, green, blue) of a border pattern pixel on a screen of the colour
// type: a channel counts from 10 up; a screen without blue shows it green, a red-only
// screen shows every lit pixel red.
void BorderPlaneBits(QRgb pixel, int colourType, bool bits[3]);

// One picture of a zone's page kept for drawing it again: made again only when the page,
// the key or the screen's colours change.
class CCardPageCache
{
public:
    const QImage& Get(const CEffectZone& zone, int index, SignForm form);

private:
    qint64 m_sourceKey = 0;
    std::uint32_t m_keyColour = 0;
    int m_tolerance = 0;
    int m_pixelLimit = 0;
    int m_depth = 0;
    int m_pagesForm = -1;
    SignForm m_form = SignForm::Card;
    QImage m_picture;
};
