#include "editors/preview_view.h"

#include "app/lumivant_doc.h"
#include "base/app_settings.h"
#include "model/effect_zone.h"
#include "model/play_window.h"
#include "model/program.h"

#include <QPaintEvent>
#include <QPainter>

CPreView::CPreView(CLumivantDoc& doc, QWidget* parent) : QWidget(parent), m_doc(doc)
{
    setAutoFillBackground(false);
    connect(&m_doc, &CLumivantDoc::objectRendered, this, [this] { update(); });
    connect(&m_doc, &CLumivantDoc::objectChanged, this, [this] { update(); });
}

CPreView::~CPreView() = default;

void CPreView::ShowProgram(CProgram* program)
{
    m_program = program;
    if (m_program)
        m_doc.EnsurePrepared(*m_program);
    updateGeometry();
    update();
}

void CPreView::Refresh()
{
    ShowProgram(m_program);
}

void CPreView::StopIfRunning()
{
    if (!m_running)
        return;
    m_running = false;
    emit runningChanged(false);
}

QSize CPreView::sizeHint() const
{
    if (!m_program)
        return {256, 64};
    const int mul = Settings().mul, div = Settings().div;
    return {m_program->ScreenWidth() * mul / div, m_program->ScreenHeight() * mul / div + 20};
}

void CPreView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    if (!m_program)
        return;
    const int mul = Settings().mul, div = Settings().div;
    const QRect screen(0, 0, m_program->ScreenWidth() * mul / div,
                       m_program->ScreenHeight() * mul / div);
    painter.fillRect(screen, Qt::black);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    for (int i = 0; i < m_program->GetChildCount(); ++i) {
        CProjectObject* child = m_program->GetChild(i);
        if (child->GetKind() != KindWindow)
            continue;
        auto* window = static_cast<CPlayWindow*>(child);
        const LedRect& r = window->WindowRect();
        const QRect target(r.left * mul / div, r.top * mul / div, r.Width() * mul / div,
                           r.Height() * mul / div);
        auto* zone = dynamic_cast<CEffectZone*>(window->GetChild(0));
        if (zone && zone->GetPageCount() > 0)
            painter.drawImage(target, zone->GetPage(0)->Image());
    }
}
