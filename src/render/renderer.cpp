#include "render/renderer.h"

#include "base/bounded_file.h"
#include "base/messages.h"
#include "model/animate_zone.h"
#include "model/clock_zone.h"
#include "model/countdown_zone.h"
#include "model/datetime_zone.h"
#include "model/image_zone.h"
#include "model/prepare_hooks.h"
#include "model/program.h"
#include "model/screen.h"
#include "model/source_path.h"
#include "model/table_zone.h"
#include "model/temperature_zone.h"
#include "model/text_zone.h"
#include "platform/font_mapping.h"
#include "render/compile_layout.h"
#include "render/led_paint.h"
#include "render/rich_text_render.h"
#include "render/text_pages.h"
#include "render/zone_renderers.h"

#include <QDir>
#include <QImageReader>
#include <QPainter>

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

namespace {

QDateTime g_renderTime;

void StorePages(CEffectZone& zone, std::vector<QImage>& pages)
{
    zone.ClearPages();
    for (QImage& page : pages)
        zone.AddPage(std::make_unique<CLedBitmap>(std::move(page)));
}

// A window larger than its screen cannot be shown whole, and its pages could take
// gigabytes (a file may say 65535 x 65535): it is not drawn.
bool FitsItsScreen(const CEffectZone& zone)
{
    const LedRect rect = zone.WindowRect();
    for (const CProjectObject* object = zone.Parent(); object; object = object->Parent()) {
        if (object->GetKind() == KindScreen) {
            const auto* screen = static_cast<const CScreen*>(object);
            return rect.Width() <= screen->Width() && rect.Height() <= screen->Height();
        }
    }
    return rect.Width() <= CScreen::kMaxWidth && rect.Height() <= CScreen::kMaxHeight;
}

// Threads to render a batch with: every core for a batch large enough to be worth them.
int g_zoneThreadLimit = 0;

int ZoneThreadCount(int zones)
{
    constexpr int kZonesPerThread = 8;
    const int cores = g_zoneThreadLimit > 0
                          ? g_zoneThreadLimit
                          : static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    return std::clamp(zones / kZonesPerThread, 1, std::min(cores, 16));
}

class Renderer final : public IPrepareHooks
{
public:
    void PrepareZone(CEffectZone& zone, RenderForm form) override
    {
        if (!FitsItsScreen(zone)) {
            zone.ClearPages();
            return;
        }
        const QDateTime now = RenderTime();
        switch (zone.GetKind()) {
        case KindText:
            RenderTextZone(static_cast<CTextZone&>(zone));
            break;
        case KindImage:
            RenderImageZone(static_cast<CImageZone&>(zone), form);
            break;
        case KindAnimate:
            RenderAnimateZone(static_cast<CAnimateZone&>(zone));
            break;
        case KindTable:
            RenderTableZone(static_cast<CTableZone&>(zone));
            break;
        case KindClock:
            RenderClockZone(static_cast<CClockZone&>(zone), form, now);
            break;
        case KindDateTime:
            RenderDateTimeZone(static_cast<CDateTimeZone&>(zone), form, now);
            break;
        case KindTemperature:
            RenderTemperatureZone(static_cast<CTemperatureZone&>(zone), form);
            break;
        case KindCountdown:
            RenderCountdownZone(static_cast<CCountdownZone&>(zone), form, now);
            break;
        default:
            zone.ClearPages();
            break;
        }
    }
    void PrepareBorder(CProgram& program, RenderForm) override { PrepareProgramBorder(program); }
    void PrepareZones(const std::vector<CEffectZone*>& zones, RenderForm form) override
    {
        const int threads = ZoneThreadCount(static_cast<int>(zones.size()));
        if (threads <= 1) {
            IPrepareHooks::PrepareZones(zones, form);
            return;
        }
        // Each zone is rendered by one thread into its own pages; which thread takes which
        // zone does not change what is drawn.
        std::atomic<size_t> next{0};
        const auto work = [&] {
            for (size_t i = next++; i < zones.size(); i = next++)
                PrepareZone(*zones[i], form);
        };
        std::vector<std::thread> helpers;
        for (int t = 1; t < threads; ++t)
            helpers.emplace_back(work);
        work();
        for (std::thread& helper : helpers)
            helper.join();
    }
};

Renderer g_renderer;

// The page a zone shows before it has content: its name at the top left.
void NamePage(CEffectZone& zone)
{
    const LedRect rect = zone.WindowRect();
    QImage page = BlackImage(rect.Width(), rect.Height());
    if (page.isNull())
        return;
    QPainter painter(&page);
    SetLedRenderHints(painter);
    painter.setFont(LedFont(QString(), 12));
    painter.setPen(ColourFromIndex(1));
    painter.drawText(QRect(0, 0, page.width(), page.height()), Qt::AlignLeft | Qt::AlignTop,
                     zone.GetName());
    painter.end();
    zone.ClearPages();
    zone.AddPage(std::make_unique<CLedBitmap>(std::move(page)));
}

} // namespace

void InstallRenderer()
{
    InstallFontMapping();
    SetPrepareHooks(&g_renderer);
}

void SetZoneThreadLimit(int threads)
{
    g_zoneThreadLimit = threads;
}

void SetRenderTime(const QDateTime& localTime)
{
    g_renderTime = localTime;
}

QDateTime RenderTime()
{
    return g_renderTime.isValid() ? g_renderTime : QDateTime::currentDateTime();
}

int TextLayoutMode(int action, int delay)
{
    if (action == 3)
        return RichTextWideStrip;
    if (action == 5 && delay == 0)
        return RichTextSingleLine;
    if ((action == 6 || action == 7) && delay == 0)
        return RichTextTallStrip;
    return RichTextLines;
}

// Lines beyond those that fill the pages a zone can hold are never shown. A page takes
// one line when the lines are centred at the window's height, else lines of at least one
// row (or of the fixed pitch) each; one more line tells whether the last page is full.
int LinesThePagesCanShow(const CTextZone& zone, int height)
{
    int perPage = 1;
    if (zone.GetTopSpace() != 0 || zone.GetLineSpace() != 0)
        perPage = height / std::max(zone.GetLineSpace(), 1) + 1;
    else if (zone.GetVerticalAlign() != 0)
        perPage = height;
    return static_cast<int>(std::min<long long>(
        static_cast<long long>(layout::kMaxPages) * perPage + 1, kMaxStripLength + 1));
}

void RenderTextZone(CTextZone& zone)
{
    const LedRect rect = zone.WindowRect();
    const int width = rect.Width();
    const int height = rect.Height();
    const int mode = TextLayoutMode(zone.GetAction(), zone.GetHold());
    std::vector<QImage> pages;
    const std::vector<QImage> strips =
        RenderRichText(width, height, mode, zone.GetRtf(), zone.GetTopSpace(), zone.GetLineSpace(),
                       LinesThePagesCanShow(zone, height));
    if (mode == RichTextTallStrip) {
        if (!strips.empty())
            pages = CutTallStrip(strips.front(), width, height);
    } else if (mode == RichTextWideStrip || mode == RichTextSingleLine) {
        if (!strips.empty())
            pages = CutWideStrip(strips.front(), width, height, zone.GetVerticalAlign());
    } else {
        pages = PackLines(strips, width, height, zone.GetVerticalAlign(), zone.GetTopSpace(),
                          zone.GetLineSpace());
    }
    DropBlankLastPage(pages);
    StorePages(zone, pages);
}

void RenderImageZone(CImageZone& zone, RenderForm form)
{
    const ImageKeyParams& key = zone.Key();
    if (key.sourcePath.isEmpty()) {
        // Nothing chosen yet: keep what the zone shows (its name on a new zone).
        if (zone.GetPageCount() == 0)
            NamePage(zone);
        return;
    }
    zone.ClearPages();
    zone.FrameDelays().clear();
    const LedRect rect = zone.WindowRect();
    const int width = rect.Width();
    const int height = rect.Height();
    // Only regular files of a sane size are read: a FIFO would block the reader for ever.
    const QString source = ResolveSourcePath(zone, key.sourcePath);
    if (width <= 0 || height <= 0 || !IsSafeNamedFile(source))
        return;
    QImageReader reader(source);
    reader.setAutoTransform(true);
    if (!reader.canRead())
        return;
    // Frames are decoded straight at the window's size where the format allows it.
    const QSize size = reader.size();
    if (size.isValid() && (size.width() > 4096 || size.height() > 4096))
        reader.setScaledSize(QSize(width, height));
    const int declared = reader.imageCount();
    std::vector<QImage> pages;
    std::vector<int> delays;
    for (int frame = 0; frame < CImageZone::kMaxFrames; ++frame) {
        if (declared > 0 && frame >= declared)
            break;
        QImage image;
        if (!reader.read(&image))
            break;
        const int delayMs = reader.nextImageDelay();
        QImage page = BlackImage(width, height);
        if (page.isNull())
            break;
        {
            QPainter painter(&page);
            painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
            painter.drawImage(QRect(0, 0, width, height), image);
        }
        if (form == RenderForm::Controller)
            ReduceColours(page, key);
        pages.push_back(std::move(page));
        delays.push_back(delayMs >= 0 ? (delayMs + 5) / 10 : 10);
        if (declared <= 0 && !reader.supportsAnimation())
            break;
        if (reader.supportsAnimation() && !reader.canRead())
            break;
    }
    const bool cut = pages.size() == std::size_t(CImageZone::kMaxFrames) &&
                     (declared > CImageZone::kMaxFrames || (declared <= 0 && reader.canRead()));
    // Said once per pass: the controller form is always followed by the display form.
    if (cut && form == RenderForm::Display)
        ShowWarning(QStringLiteral("%1 has more than %2 frames; only the first %2 are shown.")
                        .arg(QDir::toNativeSeparators(key.sourcePath))
                        .arg(CImageZone::kMaxFrames));
    if (pages.size() > 1)
        zone.FrameDelays() = delays;
    StorePages(zone, pages);
}

void RenderTableZone(CTableZone& zone)
{
    const LedRect rect = zone.WindowRect();
    std::vector<QImage> pages = CutTablePages(DrawTable(zone), rect.Width(), rect.Height());
    StorePages(zone, pages);
}

void RenderAnimateZone(CAnimateZone& zone)
{
    const LedRect rect = zone.WindowRect();
    const int width = rect.Width();
    const int height = rect.Height();
    zone.PageHolds().clear();
    zone.ClearPages();
    if (width <= 0 || height <= 0)
        return;
    const std::vector<QImage> strips = RenderRichText(
        width, height, RichTextWideStrip, zone.GetRtf(), zone.GetTopSpace(), zone.GetLineSpace());
    QImage text = BlackImage(width, height);
    if (!strips.empty()) {
        const std::vector<QImage> parts =
            CutWideStrip(strips.front(), width, height, zone.GetVerticalAlign());
        if (!parts.empty())
            text = parts.front();
    }
    std::vector<QImage> pages = AnimatePages(text, zone.GetAnimationType(), zone.GetMaxStep(),
                                             zone.GetHold1(), zone.GetHold2(), zone.PageHolds());
    StorePages(zone, pages);
}
