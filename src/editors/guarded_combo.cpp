#include "editors/guarded_combo.h"

#include <QWheelEvent>

CGuardedCombo::CGuardedCombo(QWidget* parent) : QComboBox(parent)
{
    setFocusPolicy(Qt::StrongFocus);
}

void CGuardedCombo::SelectData(int value)
{
    const int index = findData(value);
    setCurrentIndex(index >= 0 ? index : (count() > 0 ? 0 : -1));
}

void CGuardedCombo::wheelEvent(QWheelEvent* event)
{
    if (!hasFocus()) {
        event->ignore();
        return;
    }
    QComboBox::wheelEvent(event);
}
