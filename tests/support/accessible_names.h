#pragma once

// Checks that every control a person can use has a name that a screen reader says and a
// test can find it by: its own accessible name, its text (buttons), or a label whose buddy
// it is (the label's text names it).
#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QWidget>

#include <QStringList>

// The controls under root that have no name, as "class objectName" lines.
inline QStringList ControlsWithoutName(QWidget* root)
{
    QStringList missing;
    QList<QLabel*> labels = root->findChildren<QLabel*>();
    const auto labelled = [&labels](const QWidget* control) {
        for (const QLabel* label : labels) {
            if (label->buddy() == control && !label->text().trimmed().isEmpty())
                return true;
        }
        return false;
    };
    for (QWidget* widget : root->findChildren<QWidget*>()) {
        const bool control =
            qobject_cast<QAbstractButton*>(widget) || qobject_cast<QComboBox*>(widget) ||
            qobject_cast<QAbstractSpinBox*>(widget) || qobject_cast<QAbstractItemView*>(widget) ||
            qobject_cast<QAbstractSlider*>(widget) || qobject_cast<QTextEdit*>(widget) ||
            qobject_cast<QPlainTextEdit*>(widget) ||
            (qobject_cast<QLineEdit*>(widget) &&
             !qobject_cast<QAbstractSpinBox*>(widget->parentWidget()) &&
             !qobject_cast<QComboBox*>(widget->parentWidget()));
        if (!control || !widget->isVisibleTo(root))
            continue;
        // Parts of other controls (a combo's popup list, a scroll bar, a spin box's edit).
        if (qobject_cast<QAbstractSlider*>(widget) && widget->parentWidget() &&
            !widget->parentWidget()->inherits("QGroupBox") && widget->objectName().isEmpty())
            continue;
        if (qobject_cast<QAbstractItemView*>(widget) && widget->parentWidget() &&
            widget->parentWidget()->inherits("QComboBoxPrivateContainer"))
            continue;
        if (widget->inherits("QComboBoxListView") || widget->inherits("QCalendarWidget") ||
            widget->inherits("QHeaderView") || widget->inherits("QTableCornerButton") ||
            widget->objectName().startsWith(QLatin1String("qt_")))
            continue;
        if (!widget->accessibleName().trimmed().isEmpty() || labelled(widget))
            continue;
        if (auto* button = qobject_cast<QAbstractButton*>(widget);
            button && !button->text().remove(u'&').trimmed().isEmpty())
            continue;
        missing << QStringLiteral("%1 %2").arg(QLatin1String(widget->metaObject()->className()),
                                               widget->objectName());
    }
    return missing;
}
