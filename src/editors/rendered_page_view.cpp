#include "editors/rendered_page_view.h"

#include "app/lumivant_doc.h"
#include "model/effect_zone.h"

#include <QPixmap>

namespace {

constexpr int kZoom = 4;
constexpr int kMaxShownWidth = 640;

} // namespace

CRenderedPageView::CRenderedPageView(CEffectZone& zone, CLumivantDoc& doc, QWidget* parent)
    : QLabel(parent), m_zone(zone)
{
    setObjectName(QStringLiteral("renderedPage"));
    setAlignment(Qt::AlignCenter);
    setMinimumHeight(64);
    setStyleSheet(QStringLiteral("background: #202020;"));
    connect(&doc, &CLumivantDoc::objectRendered, this, [this](CProjectObject* object) {
        for (CProjectObject* up = &m_zone; up; up = up->Parent()) {
            if (up == object) {
                ShowPage();
                return;
            }
        }
    });
    ShowPage();
}

void CRenderedPageView::ShowPage()
{
    const CLedBitmap* page = m_zone.GetPage(0);
    if (!page || page->IsNull()) {
        setPixmap(QPixmap());
        return;
    }
    const QImage& image = page->Image();
    const int zoom = std::max(1, std::min(kZoom, kMaxShownWidth / std::max(1, image.width())));
    setPixmap(QPixmap::fromImage(
        image.scaled(image.size() * zoom, Qt::IgnoreAspectRatio, Qt::FastTransformation)));
}
