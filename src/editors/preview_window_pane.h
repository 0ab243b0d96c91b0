#pragma once

#include "model/led_rect.h"
#include "render/sign_picture.h"
#include "render/window_player.h"

#include <QWidget>

class CEffectZone;
class CPlayWindow;
class CPreView;

// One window of the previewed program: at rest it shows a page of the window's zone with a
// selection frame and can be moved and resized with the mouse; while the preview runs it
// plays the window's zones.
class CWindowPane : public QWidget
{
    Q_OBJECT

public:
    CWindowPane(CPreView& view, QWidget* parent);

    // Remembers the window and sizes the player's picture; starts playing when the
    // preview runs.
    void Bind(CPlayWindow* window, int planes);
    CPlayWindow* Window() const { return m_window; }
    // The accessible name: the window's, or its zone's for a hidden window.
    void UpdateName();
    void StartPlay();
    void Tick();
    void ResetStill();
    const CWindowPlayer& Player() const { return m_player; }

    // The zone shown at rest and its page.
    int StillZoneIndex() const { return m_stillZone; }
    int StillPageIndex() const { return m_stillPage; }
    void SetStill(int zoneIndex, int pageIndex);
    CEffectZone* StillZone() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void PaintStill(class QPainter& painter);
    void ShowGripCursor(int grip);

    CPreView& m_view;
    CPlayWindow* m_window = nullptr;
    CWindowPlayer m_player;
    CCardPageCache m_cardPage;
    int m_stillZone = 0;
    int m_stillPage = 0;
    // A mouse drag in progress.
    bool m_dragging = false;
    bool m_dragMoved = false;
    int m_grip = 0;
    QPoint m_pressAt;
    LedRect m_startRect;
    LedRect m_dragRect;
};
