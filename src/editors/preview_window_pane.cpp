#include "editors/preview_window_pane.h"

#include "base/string_table.h"
#include "editors/preview_geometry.h"
#include "editors/preview_view.h"
#include "editors/sign_view_options.h"
#include "model/effect_zone.h"
#include "model/play_window.h"

#include <QMouseEvent>
#include <QPainter>

namespace {

constexpr QRgb kSelectedFrame = qRgb(255, 255, 255);
constexpr QRgb kOtherFrame = qRgb(0, 0, 192);
constexpr QRgb kCornerMarks = qRgb(127, 127, 127);
constexpr int kCornerMark = 6;

} // namespace

CWindowPane::CWindowPane(CPreView& view, QWidget* parent) : QWidget(parent), m_view(view)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setToolTip(LoadString(43113));
}

void CWindowPane::Bind(CPlayWindow* window, int planes)
{
    m_window = window;
    m_player.Bind(window, planes);
    UpdateName();
    if (m_view.IsRunning())
        StartPlay();
    update();
}

void CWindowPane::UpdateName()
{
    // A hidden window is its zone to the person.
    const CProjectObject* shown = m_window;
    if (m_window && m_window->GetFore() == 0 && m_window->GetChildCount() > 0)
        shown = m_window->GetChild(0);
    setAccessibleName(shown ? shown->GetName() : QString());
}

void CWindowPane::StartPlay()
{
    m_player.StartPlay();
    update();
}

void CWindowPane::Tick()
{
    if (m_player.Tick())
        update();
}

void CWindowPane::ResetStill()
{
    m_player.ResetStill();
    m_stillZone = 0;
    m_stillPage = 0;
    update();
}

void CWindowPane::SetStill(int zoneIndex, int pageIndex)
{
    m_stillZone = zoneIndex;
    m_stillPage = pageIndex;
    update();
}

CEffectZone* CWindowPane::StillZone() const
{
    return CWindowPlayer::ZoneAt(m_window, m_stillZone);
}

void CWindowPane::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    // LED pixels stay sharp at every zoom and on high-density screens.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.fillRect(rect(), Qt::black);
    if (m_view.IsRunning()) {
        if (!m_player.Output().isNull())
            painter.drawImage(rect(), m_player.Output());
        if (m_view.ShowsLedLook())
            m_view.PaintLedGround(painter, rect());
        return;
    }
    PaintStill(painter);
}

void CWindowPane::PaintStill(QPainter& painter)
{
    // The page as the card shows it (the screen's colours, an image's key applied), unless
    // the person asked for the colours it was designed in.
    if (const CEffectZone* zone = StillZone()) {
        const QImage& page =
            m_cardPage.Get(*zone, m_stillPage, CSignViewOptions::Instance().Form());
        if (!page.isNull())
            painter.drawImage(rect(), page);
    }
    if (m_view.ShowsLedLook())
        m_view.PaintLedGround(painter, rect());
    const bool selected = m_view.IsSelected(m_window);
    QPen frame(QColor(selected ? kSelectedFrame : kOtherFrame));
    frame.setStyle(Qt::DashLine);
    painter.setPen(frame);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    QPen marks{QColor(kCornerMarks)};
    marks.setStyle(Qt::DotLine);
    painter.setPen(marks);
    const int r = width() - 1;
    const int b = height() - 1;
    const int m = qMin(kCornerMark, qMin(width(), height()) / 2);
    painter.drawLine(0, 0, m, m);
    painter.drawLine(r, 0, r - m, m);
    painter.drawLine(0, b, m, b - m);
    painter.drawLine(r, b, r - m, b - m);
}

void CWindowPane::ShowGripCursor(int grip)
{
    const bool horizontal = grip & (GripLeft | GripRight);
    const bool vertical = grip & (GripTop | GripBottom);
    if (grip == GripMove)
        setCursor(Qt::SizeAllCursor);
    else if (horizontal && vertical)
        setCursor(((grip & GripLeft) != 0) == ((grip & GripTop) != 0) ? Qt::SizeFDiagCursor
                                                                      : Qt::SizeBDiagCursor);
    else
        setCursor(horizontal ? Qt::SizeHorCursor : Qt::SizeVerCursor);
}

void CWindowPane::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !m_window)
        return;
    raise();
    m_view.PaneClicked(*this);
    if (m_view.IsRunning())
        return;
    m_dragging = true;
    m_dragMoved = false;
    m_grip = PaneGripAt(event->position().toPoint(), size());
    m_pressAt = event->globalPosition().toPoint();
    m_startRect = m_window->WindowRect();
    m_dragRect = m_startRect;
}

void CWindowPane::mouseMoveEvent(QMouseEvent* event)
{
    if (m_view.IsRunning()) {
        unsetCursor();
        return;
    }
    if (!m_dragging) {
        ShowGripCursor(PaneGripAt(event->position().toPoint(), size()));
        return;
    }
    const QPoint delta = event->globalPosition().toPoint() - m_pressAt;
    const PreviewZoom& zoom = m_view.Zoom();
    m_dragRect = DraggedRect(m_startRect, m_grip, zoom.Unscale(delta.x()), zoom.Unscale(delta.y()),
                             m_view.ScreenWidth(), m_view.ScreenHeight());
    m_dragMoved = m_dragMoved || !(m_dragRect == m_startRect);
    setGeometry(zoom.ToScreen(m_dragRect));
}

void CWindowPane::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !m_dragging)
        return;
    m_dragging = false;
    if (m_dragMoved && m_dragRect.IsValid() && !(m_dragRect == m_startRect))
        m_view.MoveWindow(*m_window, m_dragRect);
}
