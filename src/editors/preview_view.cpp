#include "editors/preview_view.h"

#include "base/app_settings.h"
#include "base/string_table.h"
#include "document/lumivant_doc.h"
#include "editors/preview_window_pane.h"
#include "editors/sign_view_options.h"
#include "model/effect_zone.h"
#include "model/play_window.h"
#include "model/program.h"
#include "model/project_root.h"
#include "model/screen.h"
#include "render/led_look.h"

#include <QEvent>
#include <QLabel>
#include <QPaintEvent>
#include <QPainter>
#include <QToolButton>

namespace {

constexpr int kButtonWidth = 28;
constexpr int kStripButtons = 6;
constexpr int kFitText = 62001;
constexpr int kFitTip = 62000;
constexpr int kButtonHeight = 18;

// A numbered text with "%d" placeholders filled in order.
QString FormatNumbers(QString text, std::initializer_list<int> numbers)
{
    for (int number : numbers) {
        const qsizetype at = text.indexOf(QLatin1String("%d"));
        if (at < 0)
            break;
        text.replace(at, 2, QString::number(number));
    }
    return text;
}

// The tool tip (a numbered text) is also the button's name, and follows the language.
void SetTip(QToolButton* button, int tipId)
{
    button->setProperty("tipId", tipId);
    button->setToolTip(LoadString(tipId));
    button->setAccessibleName(button->toolTip());
}

QToolButton* StripButton(QWidget* parent, const QString& text, int tipId, const char* name)
{
    auto* button = new QToolButton(parent);
    button->setText(text);
    SetTip(button, tipId);
    button->setObjectName(QLatin1String(name));
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

} // namespace

CPreView::CPreView(CLumivantDoc& doc, QWidget* parent)
    : QWidget(parent), m_doc(doc), m_zoom(PreviewZoom::FromSettings(Settings().mul, Settings().div))
{
    setWindowTitle(LoadString(41085));
    setAccessibleName(windowTitle());
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_zoomIn = StripButton(this, QStringLiteral("+"), 43123, "zoomIn");
    m_zoomOut = StripButton(this, QStringLiteral("-"), 43124, "zoomOut");
    m_fit = StripButton(this, LoadString(kFitText), kFitTip, "zoomToFit");
    m_play = StripButton(this, LoadString(41300), 43125, "play");
    m_previous = StripButton(this, QStringLiteral("<-"), 43122, "previousPage");
    m_next = StripButton(this, QStringLiteral("->"), 43121, "nextPage");
    m_pageStatus = new QLabel(this);
    m_pageStatus->setObjectName(QStringLiteral("pageStatus"));
    m_otherStatus = new QLabel(this);
    m_otherStatus->setObjectName(QStringLiteral("otherStatus"));
    connect(m_zoomIn, &QToolButton::clicked, this, &CPreView::ZoomIn);
    connect(m_zoomOut, &QToolButton::clicked, this, &CPreView::ZoomOut);
    connect(m_fit, &QToolButton::clicked, this, &CPreView::ZoomToFit);
    connect(m_play, &QToolButton::clicked, this, &CPreView::ToggleRunning);
    connect(m_previous, &QToolButton::clicked, this, &CPreView::PreviousPage);
    connect(m_next, &QToolButton::clicked, this, &CPreView::NextPage);

    m_timer.setInterval(kTickMs);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        for (CWindowPane* pane : m_panes)
            pane->Tick();
    });
    connect(&m_doc, &CLumivantDoc::objectRendered, this, [this] {
        for (CWindowPane* pane : m_panes)
            pane->update();
        UpdatePaging();
    });
    connect(&m_doc, &CLumivantDoc::objectChanged, this, &CPreView::OnObjectChanged);
    connect(&m_doc, &CLumivantDoc::currentChanged, this, &CPreView::OnCurrentChanged);
    connect(&m_doc, &CLumivantDoc::structureChanged, this, &CPreView::OnStructureChanged);
    // Windows and zones that leave the project are let go of before they go: the panes hold
    // them.
    connect(&m_doc, &CLumivantDoc::aboutToRemove, this, [this](CProjectObject* object) {
        bool held = CLumivantDoc::IsWithin(m_program, object);
        for (CWindowPane* pane : m_panes)
            held = held || CLumivantDoc::IsWithin(object, pane->Window()) ||
                   CLumivantDoc::IsWithin(pane->Window(), object);
        if (!held)
            return;
        if (CLumivantDoc::IsWithin(m_program, object)) {
            StopIfRunning();
            m_program = nullptr;
        }
        DropPanes();
        UpdatePaging();
        update();
    });
    connect(&m_doc, &CLumivantDoc::projectReplaced, this, [this] {
        StopIfRunning();
        m_program = nullptr;
        DropPanes();
        UpdatePaging();
        update();
    });
    // The form of the pages or the LED look switched in the View menu.
    connect(&CSignViewOptions::Instance(), &CSignViewOptions::changed, this, [this] {
        update();
        for (CWindowPane* pane : m_panes)
            pane->update();
    });
    UpdateZoomButtons();
    LayoutStrip();
    UpdatePaging();
}

CPreView::~CPreView()
{
    m_timer.stop();
}

int CPreView::ScreenWidth() const
{
    return m_program ? m_program->ScreenWidth() : 0;
}

int CPreView::ScreenHeight() const
{
    return m_program ? m_program->ScreenHeight() : 0;
}

int CPreView::Planes() const
{
    for (const CProjectObject* object = m_program; object; object = object->Parent()) {
        if (object->GetKind() == KindScreen)
            return static_cast<const CScreen*>(object)->ColourDepth();
    }
    return 1;
}

void CPreView::ShowProgram(CProgram* program)
{
    m_program = program;
    if (m_program)
        m_doc.EnsurePrepared(*m_program);
    setUpdatesEnabled(false);
    BuildPanes();
    LayoutStrip();
    UpdatePaging();
    setUpdatesEnabled(true);
    updateGeometry();
    update();
}

void CPreView::Refresh()
{
    ShowProgram(m_program);
}

void CPreView::DropPanes()
{
    // A pane may be the one whose click led here: it goes once its event is over.
    for (CWindowPane* pane : m_panes) {
        pane->hide();
        pane->deleteLater();
    }
    m_panes.clear();
}

void CPreView::BuildPanes()
{
    DropPanes();
    if (!m_program)
        return;
    const int planes = Planes();
    CWindowPane* selected = nullptr;
    for (int i = 0; i < m_program->GetChildCount(); ++i) {
        CProjectObject* child = m_program->GetChild(i);
        if (child->GetKind() != KindWindow)
            continue;
        auto* window = static_cast<CPlayWindow*>(child);
        auto* pane = new CWindowPane(*this, this);
        pane->setGeometry(ToScreen(window->WindowRect()));
        pane->Bind(window, planes);
        pane->show();
        m_panes.push_back(pane);
        if (IsSelected(window))
            selected = pane;
    }
    if (selected)
        selected->raise();
    OnCurrentChanged();
}

void CPreView::PlacePanes()
{
    for (CWindowPane* pane : m_panes)
        pane->setGeometry(ToScreen(pane->Window()->WindowRect()));
}

void CPreView::LayoutStrip()
{
    const int top = Scale(ScreenHeight()) + 1;
    const int w = kButtonWidth;
    QToolButton* order[kStripButtons] = {m_zoomIn, m_zoomOut, m_fit, m_play, m_previous, m_next};
    for (int i = 0; i < kStripButtons; ++i)
        order[i]->setGeometry(2 + i * (w + 2), top, w, kButtonHeight);
    const int statusLeft = 2 + kStripButtons * (w + 2);
    const int statusWidth = (w + 2) * 5;
    m_pageStatus->setGeometry(statusLeft, top, statusWidth, kButtonHeight);
    const int rest = qMax(1, width() - statusLeft - statusWidth);
    m_otherStatus->setGeometry(statusLeft + statusWidth, top, rest, kButtonHeight);
}

QSize CPreView::sizeHint() const
{
    const int stripWidth = 2 + (kStripButtons + 5) * (kButtonWidth + 2) + 40;
    return {qMax(Scale(ScreenWidth()), stripWidth), Scale(ScreenHeight()) + kStripHeight};
}

void CPreView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    if (!m_program)
        return;
    const QRect screen(0, 0, Scale(ScreenWidth()), Scale(ScreenHeight()));
    painter.fillRect(screen, Qt::black);
    if (ShowsLedLook())
        PaintLedGround(painter, screen);
}

bool CPreView::ShowsLedLook() const
{
    return CSignViewOptions::Instance().LedLook() &&
           LedLookFits(m_zoom.numerator, m_zoom.denominator);
}

void CPreView::PaintLedGround(QPainter& painter, const QRect& area) const
{
    const int zoom = m_zoom.numerator;
    if (m_ledCell.width() != zoom) {
        // Drawn over the LEDs at the zoom: the dots stay clear, the ground between them is
        // the LED look's.
        const CLedLook look(zoom, true);
        m_ledCell = QImage(zoom, zoom, QImage::Format_ARGB32_Premultiplied);
        for (int j = 0; j < zoom; ++j) {
            for (int i = 0; i < zoom; ++i)
                m_ledCell.setPixel(i, j, look.InDot(i, j) ? qRgba(0, 0, 0, 0) : CLedLook::kGround);
        }
    }
    painter.save();
    painter.setBrushOrigin(area.topLeft());
    painter.fillRect(area, QBrush(m_ledCell));
    painter.restore();
}

void CPreView::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        setWindowTitle(LoadString(41085));
        setAccessibleName(windowTitle());
        m_play->setText(LoadString(m_running ? 41301 : 41300));
        m_fit->setText(LoadString(kFitText));
        for (QToolButton* button : {m_zoomIn, m_zoomOut, m_fit, m_play, m_previous, m_next})
            SetTip(button, button->property("tipId").toInt());
    }
    QWidget::changeEvent(event);
}

void CPreView::resizeEvent(QResizeEvent*)
{
    LayoutStrip();
}

void CPreView::UpdateZoomButtons()
{
    m_zoomOut->setEnabled(m_zoom.CanZoomOut());
    m_zoomIn->setEnabled(m_zoom.CanZoomIn());
}

void CPreView::SetZoom(const PreviewZoom& zoom)
{
    m_zoom = zoom;
    Settings().mul = m_zoom.numerator;
    Settings().div = m_zoom.denominator;
    UpdateZoomButtons();
    Refresh();
    emit zoomChanged();
}

void CPreView::ZoomIn()
{
    if (!m_zoom.CanZoomIn())
        return;
    PreviewZoom zoom = m_zoom;
    zoom.ZoomIn();
    SetZoom(zoom);
}

void CPreView::ZoomOut()
{
    PreviewZoom zoom = m_zoom;
    zoom.ZoomOut();
    SetZoom(zoom);
}

void CPreView::ZoomToFit()
{
    if (!m_program)
        return;
    SetZoom(PreviewZoom::LargestFitting({ScreenWidth(), ScreenHeight()},
                                        {width(), height() - kStripHeight}));
}

void CPreView::ToggleRunning()
{
    m_running = !m_running;
    if (m_running) {
        m_play->setText(LoadString(41301));
        SetTip(m_play, 43126);
        m_timer.start();
        for (CWindowPane* pane : m_panes)
            pane->StartPlay();
    } else {
        m_timer.stop();
        m_play->setText(LoadString(41300));
        SetTip(m_play, 43125);
        for (CWindowPane* pane : m_panes)
            pane->ResetStill();
        OnCurrentChanged();
    }
    UpdatePaging();
    emit runningChanged(m_running);
}

void CPreView::StopIfRunning()
{
    if (m_running)
        ToggleRunning();
}

bool CPreView::IsSelected(const CPlayWindow* window) const
{
    return window && m_doc.CurrentObject() == window;
}

CWindowPane* CPreView::PaneOfSelectedZone(int* zoneIndex) const
{
    const CProjectObject* current = m_doc.CurrentObject();
    if (!current || !IsZoneKind(current->GetKind()))
        return nullptr;
    for (CWindowPane* pane : m_panes) {
        CPlayWindow* window = pane->Window();
        const int index = window ? window->IndexOfChild(current) : -1;
        if (index >= 0) {
            if (zoneIndex)
                *zoneIndex = index;
            return pane;
        }
    }
    return nullptr;
}

void CPreView::OnCurrentChanged()
{
    int zoneIndex = 0;
    CWindowPane* selectedPane = PaneOfSelectedZone(&zoneIndex);
    for (CWindowPane* pane : m_panes) {
        if (pane == selectedPane && pane->StillZoneIndex() != zoneIndex)
            pane->SetStill(zoneIndex, 0);
        pane->update();
    }
    UpdatePaging();
}

void CPreView::UpdatePaging()
{
    CWindowPane* pane = m_running ? nullptr : PaneOfSelectedZone(nullptr);
    const CEffectZone* zone = pane ? pane->StillZone() : nullptr;
    const int count = zone ? zone->GetPageCount() : 0;
    if (count == 0) {
        m_pageStatus->clear();
        m_previous->hide();
        m_next->hide();
        return;
    }
    const int page = qBound(0, pane->StillPageIndex(), count - 1);
    if (page != pane->StillPageIndex())
        pane->SetStill(pane->StillZoneIndex(), page);
    m_pageStatus->setText(FormatNumbers(LoadString(41021), {page + 1, count}));
    m_previous->show();
    m_next->show();
    m_previous->setEnabled(page > 0);
    m_next->setEnabled(page < count - 1);
}

void CPreView::NextPage()
{
    if (CWindowPane* pane = PaneOfSelectedZone(nullptr))
        pane->SetStill(pane->StillZoneIndex(), pane->StillPageIndex() + 1);
    UpdatePaging();
}

void CPreView::PreviousPage()
{
    if (CWindowPane* pane = PaneOfSelectedZone(nullptr))
        pane->SetStill(pane->StillZoneIndex(), qMax(0, pane->StillPageIndex() - 1));
    UpdatePaging();
}

void CPreView::PaneClicked(CWindowPane& pane)
{
    CPlayWindow* window = pane.Window();
    if (!window)
        return;
    CProjectObject* object = window;
    if (window->GetFore() == 0) {
        if (CProjectObject* zone = CWindowPlayer::ZoneAt(window, 0))
            object = zone;
    }
    emit objectClicked(object);
}

void CPreView::MoveWindow(CPlayWindow& window, const LedRect& rect)
{
    const bool resized = rect.Width() != window.WindowRect().Width() ||
                         rect.Height() != window.WindowRect().Height();
    m_doc.EditObject(window, RefreshCode::Geometry, resized,
                     [&window, rect] { window.SetWindowRect(rect); });
}

void CPreView::OnObjectChanged(CProjectObject* object, int code)
{
    if (!m_program)
        return;
    if (code == static_cast<int>(RefreshCode::Geometry)) {
        // A window moved or resized (also by undo): the panes follow; a new size needs a
        // player of the new size.
        for (CWindowPane* pane : m_panes) {
            if (pane->Window() == object) {
                pane->setGeometry(ToScreen(pane->Window()->WindowRect()));
                pane->Bind(pane->Window(), Planes());
            }
        }
        if (object && (object->GetKind() == KindScreen || object->GetKind() == KindProgram)) {
            QMetaObject::invokeMethod(
                this, [this] { Refresh(); }, Qt::QueuedConnection);
            return;
        }
    }
    for (CWindowPane* pane : m_panes) {
        if (code == static_cast<int>(RefreshCode::Name))
            pane->UpdateName();
        pane->update();
    }
    UpdatePaging();
}

bool CPreView::ProgramStillExists() const
{
    const CProjectRoot& root = m_doc.Root();
    for (int s = 0; s < root.GetChildCount(); ++s) {
        const CProjectObject* screen = root.GetChild(s);
        if (screen->IndexOfChild(m_program) >= 0)
            return true;
    }
    return false;
}

void CPreView::OnStructureChanged()
{
    if (m_program && !ProgramStillExists()) {
        StopIfRunning();
        m_program = nullptr;
    }
    // Windows may have come or gone: build the panes again once the change is complete.
    DropPanes();
    QMetaObject::invokeMethod(
        this, [this] { Refresh(); }, Qt::QueuedConnection);
}
