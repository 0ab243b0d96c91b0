#include "render/screen_pictures.h"

#include "model/effect_zone.h"
#include "model/play_window.h"
#include "model/program.h"
#include "model/screen.h"

QString ZonePictureName(int screen, int program, int window, int zone, int page)
{
    return QStringLiteral("s%1-p%2-w%3-z%4-page%5")
        .arg(screen)
        .arg(program)
        .arg(window)
        .arg(zone)
        .arg(page);
}

namespace {

// The zone's pages in the order they are shown in the form.
std::vector<int> PagesShown(const CEffectZone& zone, SignForm form)
{
    if (form == SignForm::Card)
        return CardPageOrder(zone);
    std::vector<int> pages;
    for (int page = 0; page < zone.GetPageCount(); ++page)
        pages.push_back(page);
    return pages;
}

} // namespace

void ForEachScreenPicture(const CScreen& screen, int screenNumber, const ScreenPictureSink& picture,
                          SignForm form)
{
    for (int p = 0; p < screen.GetChildCount(); ++p) {
        const CProjectObject* object = screen.GetChild(p);
        if (object->GetKind() != KindProgram)
            continue;
        const auto* program = static_cast<const CProgram*>(object);
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
                const std::vector<int> pages = PagesShown(*zone, form);
                for (size_t position = 0; position < pages.size(); ++position) {
                    const QImage image = ZonePagePicture(*zone, pages[position], form);
                    const int number = static_cast<int>(position) + 1;
                    if (!image.isNull() &&
                        !picture(ZonePictureName(screenNumber, p + 1, w + 1, z + 1, number),
                                 image))
                        return;
                }
            }
        }
        const QImage whole = ProgramFramePicture(*program, form);
        if (!whole.isNull() &&
            !picture(QStringLiteral("s%1-p%2").arg(screenNumber).arg(p + 1), whole))
            return;
    }
}
