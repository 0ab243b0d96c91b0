#include "render/sign_picture.h"

#include "model/effect_zone.h"
#include "model/image_zone.h"
#include "model/play_window.h"
#include "model/program.h"
#include "model/screen.h"
#include "render/compile_layout.h"
#include "render/compile_screen.h"
#include "render/led_paint.h"

#include <algorithm>

namespace {

bool IsCardKind(int kind)
{
    return kind == KindText || kind == KindImage || kind == KindAnimate || kind == KindTable ||
           kind == KindClock || kind == KindDateTime || kind == KindTemperature ||
           kind == KindCountdown;
}

// The pattern with every pixel reduced to the planes the card lights for it.
QImage CardBorderColours(const QImage& pattern, int colourType)
{
    QImage reduced = pattern.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < reduced.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(reduced.scanLine(y));
        for (int x = 0; x < reduced.width(); ++x) {
            bool bits[3];
            BorderPlaneBits(row[x], colourType, bits);
            row[x] = qRgb(bits[0] ? 255 : 0, bits[1] ? 255 : 0, bits[2] ? 255 : 0);
        }
    }
    return reduced;
}

} // namespace

bool NeedsKeyForCard(const CEffectZone& zone)
{
    return zone.GetKind() == KindImage && zone.PagesForm() == RenderForm::Display &&
           !static_cast<const CImageZone&>(zone).Key().sourcePath.isEmpty();
}

QImage CardPage(const CEffectZone& zone, const QImage& page)
{
    if (page.isNull())
        return QImage();
    QImage card = page.convertToFormat(QImage::Format_RGB32);
    ReduceForCard(card,
                  NeedsKeyForCard(zone) ? &static_cast<const CImageZone&>(zone).Key() : nullptr,
                  zone.ColourDepth());
    return card;
}

QImage ZonePagePicture(const CEffectZone& zone, int index, SignForm form)
{
    const CLedBitmap* page = zone.GetPage(index);
    if (!page || page->IsNull())
        return QImage();
    return form == SignForm::Card ? CardPage(zone, page->Image()) : page->Image();
}

int CardPageCount(const CEffectZone& zone)
{
    return IsCardKind(zone.GetKind()) ? std::min(zone.GetPageCount(), layout::kMaxPages) : 0;
}

int CardPageIndex(const CEffectZone& zone, int position)
{
    const int pages = CardPageCount(zone);
    if (position < 0 || position >= pages)
        return -1;
    const int kind = zone.GetKind();
    const bool reverse = (kind == KindText || kind == KindTable) &&
                         zone.GetAction() == ActionMoveRight && zone.GetHold() == 0;
    return reverse ? pages - 1 - position : position;
}

std::vector<int> CardPageOrder(const CEffectZone& zone)
{
    std::vector<int> order;
    const int pages = CardPageCount(zone);
    for (int position = 0; position < pages; ++position)
        order.push_back(CardPageIndex(zone, position));
    return order;
}

void BorderPlaneBits(QRgb pixel, int colourType, bool bits[3])
{
    const bool r = qRed(pixel) >= layout::kBorderThreshold;
    const bool g = qGreen(pixel) >= layout::kBorderThreshold;
    const bool b = qBlue(pixel) >= layout::kBorderThreshold;
    switch (colourType) {
    case 3:
        bits[0] = r, bits[1] = g, bits[2] = b;
        break;
    case 2:
        bits[0] = r, bits[1] = g || b, bits[2] = false;
        break;
    default:
        bits[0] = r || g || b, bits[1] = false, bits[2] = false;
        break;
    }
}

void DrawCardBorder(QImage& screen, const CProgram& program)
{
    const CScreen* owner = ScreenOf(program);
    const int colourType = owner ? owner->ColourDepth() : 1;
    DrawBorderPatterns(screen, program, CardBorderColours(program.BorderPattern(), colourType),
                       CardBorderColours(program.BorderStrip(), colourType));
}

QImage ProgramFramePicture(const CProgram& program, SignForm form)
{
    const CScreen* screen = ScreenOf(program);
    QImage frame = BlackImage(screen ? screen->Width() : 0, screen ? screen->Height() : 0);
    if (frame.isNull())
        return frame;
    program.ForEachChild([&](const CProjectObject& child) {
        if (child.GetKind() != KindWindow)
            return;
        const auto& window = static_cast<const CPlayWindow&>(child);
        for (int z = 0; z < window.GetChildCount(); ++z) {
            const CProjectObject* item = window.GetChild(z);
            if (!IsZoneKind(item->GetKind()))
                continue;
            const auto& zone = static_cast<const CEffectZone&>(*item);
            const std::vector<int> order = CardPageOrder(zone);
            const int first = form == SignForm::Card ? (order.empty() ? -1 : order.front()) : 0;
            const QImage page = ZonePagePicture(zone, first, form);
            if (page.isNull())
                continue;
            const LedRect& rect = window.WindowRect();
            CopyRect(frame, rect.left, rect.top, page, 0, 0, rect.Width(), rect.Height());
            break;
        }
    });
    if (form == SignForm::Card)
        DrawCardBorder(frame, program);
    else
        DrawProgramBorder(frame, program);
    return frame;
}

const QImage& CCardPageCache::Get(const CEffectZone& zone, int index, SignForm form)
{
    const CLedBitmap* page = zone.GetPage(index);
    if (!page || page->IsNull()) {
        m_picture = QImage();
        m_sourceKey = 0;
        return m_picture;
    }
    if (form == SignForm::Designer)
        return page->Image();
    const std::uint32_t keyColour =
        zone.GetKind() == KindImage ? static_cast<const CImageZone&>(zone).Key().keyColour : 0;
    const int tolerance =
        zone.GetKind() == KindImage ? static_cast<const CImageZone&>(zone).Key().tolerance : 0;
    const int pixelLimit =
        zone.GetKind() == KindImage ? static_cast<const CImageZone&>(zone).Key().pixelLimit : 0;
    const int depth = zone.ColourDepth();
    const int pagesForm = NeedsKeyForCard(zone) ? 1 : 0;
    if (m_picture.isNull() || m_sourceKey != page->Image().cacheKey() || m_keyColour != keyColour ||
        m_tolerance != tolerance || m_pixelLimit != pixelLimit || m_depth != depth ||
        m_pagesForm != pagesForm || m_form != form) {
        m_picture = CardPage(zone, page->Image());
        m_sourceKey = page->Image().cacheKey();
        m_keyColour = keyColour;
        m_tolerance = tolerance;
        m_pixelLimit = pixelLimit;
        m_depth = depth;
        m_pagesForm = pagesForm;
        m_form = form;
    }
    return m_picture;
}
