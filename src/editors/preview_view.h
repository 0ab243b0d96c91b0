#pragma once

#include "editors/preview_geometry.h"

#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <vector>

class CLumivantDoc;
class CPlayWindow;
class CProgram;
class CProjectObject;
class CWindowPane;
class QLabel;
class QToolButton;

// The preview pane: the program's windows at their places on the screen, zoomed, with the
// pages they show; it also plays the program with its entry effects.
class CPreView : public QWidget
{
    Q_OBJECT

public:
    // One tick of the animation.
    static constexpr int kTickMs = 8;
    static constexpr int kStripHeight = 20;

    explicit CPreView(CLumivantDoc& doc, QWidget* parent = nullptr);
    ~CPreView() override;

    // Shows the program (or nothing); renders its zones first when they have not been.
    void ShowProgram(CProgram* program);
    CProgram* Program() const { return m_program; }
    // Shows the current program again (after its content or geometry changed).
    void Refresh();
    bool IsRunning() const { return m_running; }
    // Stops playing, as the stop button does; nothing when it is not playing.
    void StopIfRunning();
    // Starts or stops playing (the "PV" / "SP" button).
    void ToggleRunning();

    // Zoom: the levels 1/2 to 8/1, kept in the settings ("mul", "div").
    const PreviewZoom& Zoom() const { return m_zoom; }
    void ZoomIn();
    void ZoomOut();
    // The largest level that shows the whole screen in the pane as it is now ("Fit").
    void ZoomToFit();
    // Whether the LED look is switched on and the zoom allows it (4/1 and up).
    bool ShowsLedLook() const;
    // Covers the area (whose top left is an LED's) with the ground between round LEDs.
    void PaintLedGround(class QPainter& painter, const QRect& area) const;
    QRect ToScreen(const LedRect& rect) const { return m_zoom.ToScreen(rect); }
    LedRect ToPanel(const QRect& rect) const { return m_zoom.ToPanel(rect); }
    int Scale(int value) const { return m_zoom.Scale(value); }
    // The scaled screen and the strip below it.
    QSize sizeHint() const override;

    // Pages of the selected zone at rest.
    void NextPage();
    void PreviousPage();

    int PaneCount() const { return static_cast<int>(m_panes.size()); }
    CWindowPane* Pane(int index) const { return m_panes[static_cast<size_t>(index)]; }
    int ScreenWidth() const;
    int ScreenHeight() const;
    bool IsSelected(const CPlayWindow* window) const;

    // Used by the panes: a click on one, and a window moved or resized with the mouse
    // (written through the document, so that it can be undone).
    void PaneClicked(CWindowPane& pane);
    void MoveWindow(CPlayWindow& window, const LedRect& rect);

signals:
    // Playing started or stopped: the main window disables its menus and toolbar while
    // the preview plays.
    void runningChanged(bool running);
    // The person clicked a window of the preview: select it (or its first zone) in the tree.
    void objectClicked(CProjectObject* object);
    // The zoom changed (the LED look depends on it).
    void zoomChanged();

protected:
    void paintEvent(class QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(class QResizeEvent* event) override;

private:
    void BuildPanes();
    void DropPanes();
    void LayoutStrip();
    void PlacePanes();
    void UpdateZoomButtons();
    void UpdatePaging();
    void OnCurrentChanged();
    void OnObjectChanged(CProjectObject* object, int code);
    void OnStructureChanged();
    CWindowPane* PaneOfSelectedZone(int* zoneIndex) const;
    bool ProgramStillExists() const;
    int Planes() const;
    void SetZoom(const PreviewZoom& zoom);

    CLumivantDoc& m_doc;
    CProgram* m_program = nullptr;
    bool m_running = false;
    PreviewZoom m_zoom;
    std::vector<CWindowPane*> m_panes;
    // One LED's cell of the LED look: the ground around a clear dot (made for the zoom).
    mutable QImage m_ledCell;
    QTimer m_timer;
    QToolButton* m_zoomIn;
    QToolButton* m_zoomOut;
    QToolButton* m_fit;
    QToolButton* m_play;
    QToolButton* m_previous;
    QToolButton* m_next;
    QLabel* m_pageStatus;
    QLabel* m_otherStatus;
};
