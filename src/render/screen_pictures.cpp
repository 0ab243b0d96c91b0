#include "render/screen_pictures.h"

#include "model/effect_zone.h"
#include "model/play_window.h"
#include "model/program.h"
#include "model/screen.h"
#include "render/led_paint.h"

QString ZonePictureName(int screen, int program, int window, int zone, int page)
{
    return QStringLiteral("s%1-p%2-w%3-z%4-page%5")
        .arg(screen)
        .arg(program)
        .arg(window)
        .arg(zone)
        .arg(page);
}

void ForEachScreenPicture(const CScreen& screen, int screenNumber, const ScreenPictureSink& picture)
{
    for (int p = 0; p < screen.GetChildCount(); ++p) {
        const CProjectObject* object = screen.GetChild(p);
        if (object->GetKind() != KindProgram)
            continue;
        const auto* program = static_cast<const CProgram*>(object);
        QImage whole = BlackImage(screen.Width(), screen.Height());
        for (int w = 0; w < program->GetChildCount(); ++w) {
            const CProjectObject* child = program->GetChild(w);
            if (child->GetKind() != KindWindow)
                continue;
            const auto* window = static_cast<const CPlayWindow*>(child);
            for (int z = 0; z < window->GetChildCount(); ++z) {
                const CProjectObject* item = window->GetChild(z);
                if (!IsZoneKind(item->GetKind()))
                    continue;
                const auto* zone = static_cast<const CEffectZone*>(item);
                for (int page = 0; page < zone->GetPageCount(); ++page) {
                    const QImage& image = zone->GetPage(page)->Image();
                    if (!image.isNull() &&
                        !picture(ZonePictureName(screenNumber, p + 1, w + 1, z + 1, page + 1),
                                 image))
                        return;
                }
            }
            // The window's first page at its place on the screen.
            for (int z = 0; z < window->GetChildCount(); ++z) {
                const CProjectObject* item = window->GetChild(z);
                if (!IsZoneKind(item->GetKind()))
                    continue;
                const auto* zone = static_cast<const CEffectZone*>(item);
                if (zone->GetPageCount() == 0)
                    continue;
                const QImage& first = zone->GetPage(0)->Image();
                const LedRect& rect = window->WindowRect();
                if (!whole.isNull())
                    CopyRect(whole, rect.left, rect.top, first, 0, 0, rect.Width(), rect.Height());
                break;
            }
        }
        if (!whole.isNull()) {
            DrawProgramBorder(whole, *program);
            if (!picture(QStringLiteral("s%1-p%2").arg(screenNumber).arg(p + 1), whole))
                return;
        }
    }
}
