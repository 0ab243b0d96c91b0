#include "editors/step_spin_box.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

CStepSpinBox::CStepSpinBox(QWidget* parent) : QSpinBox(parent)
{
    setFocusPolicy(Qt::StrongFocus);
}

int CStepSpinBox::StepAfter(qint64 heldMs) const
{
    int step = 1;
    for (const Stage& stage : m_stages) {
        if (heldMs >= stage.afterMs)
            step = stage.step;
    }
    return step;
}

void CStepSpinBox::stepBy(int steps)
{
    const qint64 held = m_held.isValid() ? m_held.elapsed() : 0;
    QSpinBox::stepBy(steps * StepAfter(held));
}

void CStepSpinBox::mousePressEvent(QMouseEvent* event)
{
    m_held.start();
    QSpinBox::mousePressEvent(event);
}

void CStepSpinBox::mouseReleaseEvent(QMouseEvent* event)
{
    m_held.invalidate();
    QSpinBox::mouseReleaseEvent(event);
}

void CStepSpinBox::keyPressEvent(QKeyEvent* event)
{
    if (!event->isAutoRepeat())
        m_held.start();
    QSpinBox::keyPressEvent(event);
}

void CStepSpinBox::keyReleaseEvent(QKeyEvent* event)
{
    if (!event->isAutoRepeat())
        m_held.invalidate();
    QSpinBox::keyReleaseEvent(event);
}

void CStepSpinBox::wheelEvent(QWheelEvent* event)
{
    // Scrolling the pane over a spin box without focus must not change its value.
    if (!hasFocus()) {
        event->ignore();
        return;
    }
    QSpinBox::wheelEvent(event);
}
