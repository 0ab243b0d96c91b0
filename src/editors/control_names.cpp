#include "editors/control_names.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QBoxLayout>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QRadioButton>
#include <QTextEdit>
#include <QTimer>
#include <QWidget>

#include <set>
#include <vector>

namespace {

// Sets a control's accessible name now and after every change of language (once the labels
// of the page, which the name may come from, have changed).
class CNameKeeper final : public QObject
{
public:
    CNameKeeper(QWidget* control, std::function<QString()> text)
        : QObject(control), m_control(control), m_text(std::move(text))
    {
        control->installEventFilter(this);
        Apply();
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == m_control && event->type() == QEvent::LanguageChange)
            QTimer::singleShot(0, this, [this] { Apply(); });
        return false;
    }

private:
    void Apply()
    {
        if (m_control)
            m_control->setAccessibleName(m_text().remove(u'&').trimmed());
    }

    QPointer<QWidget> m_control;
    std::function<QString()> m_text;
};

const char kRoleProperty[] = "lumivantNameRole";

QString RoleName(int role, const QString& row)
{
    switch (static_cast<NameRole>(role)) {
    case NameRole::Colour:
        return QCoreApplication::translate("ControlNames", "%1 color").arg(row);
    case NameRole::Size:
        return QCoreApplication::translate("ControlNames", "%1 size").arg(row);
    case NameRole::Shape:
        return QCoreApplication::translate("ControlNames", "%1 shape").arg(row);
    case NameRole::Unit:
        return QCoreApplication::translate("ControlNames", "%1 unit").arg(row);
    }
    return row;
}

// A label's or a switch's text without its trailing colon and accelerator.
QString Bare(const QWidget* namer)
{
    QString text;
    if (const auto* label = qobject_cast<const QLabel*>(namer))
        text = label->text();
    else if (const auto* button = qobject_cast<const QAbstractButton*>(namer))
        text = button->text();
    text.remove(u'&');
    text = text.trimmed();
    if (text.endsWith(u':') || text.endsWith(QChar(0xFF1A)))
        text.chop(1);
    return text;
}

bool IsNamer(const QWidget* widget)
{
    return qobject_cast<const QLabel*>(widget) || qobject_cast<const QCheckBox*>(widget) ||
           qobject_cast<const QRadioButton*>(widget);
}

bool IsControl(const QWidget* widget)
{
    return widget && !qobject_cast<const QAbstractButton*>(widget) &&
           (qobject_cast<const QComboBox*>(widget) ||
            qobject_cast<const QAbstractSpinBox*>(widget) ||
            qobject_cast<const QAbstractItemView*>(widget) ||
            qobject_cast<const QLineEdit*>(widget) || qobject_cast<const QTextEdit*>(widget));
}

// The first control an item holds (itself, or the first one of its layout).
QWidget* FirstControl(QLayoutItem* item)
{
    if (!item)
        return nullptr;
    if (QWidget* widget = item->widget())
        return IsControl(widget) ? widget : nullptr;
    if (QLayout* layout = item->layout()) {
        for (int i = 0; i < layout->count(); ++i) {
            if (QWidget* control = FirstControl(layout->itemAt(i)))
                return control;
        }
    }
    return nullptr;
}

class CLabeller
{
public:
    explicit CLabeller(QWidget* root)
    {
        for (const QLabel* label : root->findChildren<QLabel*>()) {
            if (label->buddy())
                m_named.insert(label->buddy());
        }
        for (const QWidget* widget : root->findChildren<QWidget*>()) {
            if (!widget->accessibleName().isEmpty())
                m_named.insert(widget);
        }
    }

    void Walk(QLayout* layout)
    {
        if (!layout)
            return;
        if (auto* form = qobject_cast<QFormLayout*>(layout)) {
            for (int row = 0; row < form->rowCount(); ++row) {
                Pair(form->itemAt(row, QFormLayout::LabelRole),
                     form->itemAt(row, QFormLayout::FieldRole));
            }
        } else if (auto* grid = qobject_cast<QGridLayout*>(layout)) {
            for (int i = 0; i < grid->count(); ++i) {
                int row = 0, column = 0, rows = 0, columns = 0;
                grid->getItemPosition(i, &row, &column, &rows, &columns);
                // The next thing beside it, else what is below it.
                QLayoutItem* beside = nullptr;
                for (int next = column + columns; !beside && next < grid->columnCount(); ++next)
                    beside = grid->itemAtPosition(row, next);
                if (!Pair(grid->itemAt(i), beside))
                    Pair(grid->itemAt(i), grid->itemAtPosition(row + rows, column));
            }
            for (int row = 0; row < grid->rowCount(); ++row) {
                std::vector<QWidget*> widgets;
                for (int column = 0; column < grid->columnCount(); ++column) {
                    QLayoutItem* item = grid->itemAtPosition(row, column);
                    if (item && item->widget() &&
                        (widgets.empty() || widgets.back() != item->widget()))
                        widgets.push_back(item->widget());
                }
                NameByRoles(widgets);
            }
        } else {
            for (int i = 0; i + 1 < layout->count(); ++i)
                Pair(layout->itemAt(i), layout->itemAt(i + 1));
            auto* box = qobject_cast<QBoxLayout*>(layout);
            if (box && (box->direction() == QBoxLayout::LeftToRight ||
                        box->direction() == QBoxLayout::RightToLeft)) {
                std::vector<QWidget*> widgets;
                for (int i = 0; i < layout->count(); ++i) {
                    if (QWidget* widget = layout->itemAt(i)->widget())
                        widgets.push_back(widget);
                }
                NameByRoles(widgets);
            }
        }
        for (int i = 0; i < layout->count(); ++i) {
            QLayoutItem* item = layout->itemAt(i);
            if (item->layout())
                Walk(item->layout());
            else if (item->widget() && item->widget()->layout() && !IsControl(item->widget()))
                Walk(item->widget()->layout());
        }
    }

    // A control with a tool tip and no other name takes the tip.
    void NameByTips(QWidget* root)
    {
        for (QWidget* widget : root->findChildren<QWidget*>()) {
            if (IsControl(widget) && !m_named.count(widget) && !widget->toolTip().isEmpty()) {
                QPointer<QWidget> tipped(widget);
                KeepAccessibleName(widget,
                                   [tipped] { return tipped ? tipped->toolTip() : QString(); });
                m_named.insert(widget);
            }
        }
    }

private:
    // The controls of a row that have a role take their name from the row's label.
    void NameByRoles(const std::vector<QWidget*>& row)
    {
        QWidget* namer = nullptr;
        for (QWidget* widget : row) {
            if (!namer && IsNamer(widget)) {
                namer = widget;
                continue;
            }
            const QVariant role = widget->property(kRoleProperty);
            if (!namer || !role.isValid() || m_named.count(widget))
                continue;
            QPointer<QWidget> source(namer);
            KeepAccessibleName(widget, [source, role = role.toInt()] {
                return source ? RoleName(role, Bare(source)) : QString();
            });
            m_named.insert(widget);
        }
    }

    bool Pair(QLayoutItem* labelItem, QLayoutItem* controlItem)
    {
        QWidget* labelWidget = labelItem ? labelItem->widget() : nullptr;
        auto* label = qobject_cast<QLabel*>(labelWidget);
        // A check box or radio button that switches the control names it.
        QAbstractButton* switcher = qobject_cast<QCheckBox*>(labelWidget);
        if (!switcher)
            switcher = qobject_cast<QRadioButton*>(labelWidget);
        if (!label && !switcher)
            return false;
        if (label && (label->buddy() || label->text().trimmed().isEmpty()))
            return false;
        QWidget* control = FirstControl(controlItem);
        if (!control || m_named.count(control))
            return false;
        if (label) {
            label->setBuddy(control);
        } else {
            QPointer<QAbstractButton> button(switcher);
            KeepAccessibleName(control, [button] {
                QString text = button ? button->text() : QString();
                if (text.endsWith(u':') || text.endsWith(QChar(0xFF1A)))
                    text.chop(1);
                return text;
            });
        }
        m_named.insert(control);
        return true;
    }

    std::set<const QWidget*> m_named;
};

} // namespace

void NameControlsByTheirLabels(QWidget* root)
{
    if (!root)
        return;
    CLabeller labeller(root);
    labeller.Walk(root->layout());
    // Widgets placed in a layout of their own parent outside root's layout (group boxes).
    for (QWidget* child : root->findChildren<QWidget*>()) {
        if (child->layout())
            labeller.Walk(child->layout());
    }
    labeller.NameByTips(root);
}

void SetNameRole(QWidget* control, NameRole role)
{
    control->setProperty(kRoleProperty, static_cast<int>(role));
}

void KeepAccessibleName(QWidget* control, std::function<QString()> text)
{
    if (control)
        new CNameKeeper(control, std::move(text));
}
