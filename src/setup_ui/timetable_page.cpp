#include "setup_ui/timetable_page.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QTime>
#include <QTimeEdit>

CTimetablePage::CTimetablePage(const std::vector<TimetableRow>& rows,
                               const QStringList& valueLabels, const QString& valueHeader,
                               QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("timingPage"));
    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(tr("Start"), this), 0, 1);
    grid->addWidget(new QLabel(tr("End"), this), 0, 2);
    grid->addWidget(new QLabel(valueHeader, this), 0, 3);
    grid->addWidget(new QLabel(tr("Selected"), this), 0, 4);
    for (size_t i = 0; i < rows.size(); ++i) {
        const TimetableRow& row = rows[i];
        const int line = int(i) + 1;
        const QString suffix = QString::number(line);
        RowControls controls{new QTimeEdit(this), new QTimeEdit(this), new QComboBox(this),
                             new QCheckBox(this)};
        controls.start->setObjectName(QStringLiteral("start") + suffix);
        controls.end->setObjectName(QStringLiteral("end") + suffix);
        controls.value->setObjectName(QStringLiteral("value") + suffix);
        controls.selected->setObjectName(QStringLiteral("selected") + suffix);
        // Each control of a row is named by its column and the row's number.
        const auto name = [&suffix](const QString& column) {
            return tr("%1, row %2").arg(column, suffix);
        };
        controls.start->setAccessibleName(name(tr("Start")));
        controls.end->setAccessibleName(name(tr("End")));
        controls.value->setAccessibleName(name(valueHeader));
        controls.selected->setAccessibleName(name(tr("Selected")));
        for (QTimeEdit* edit : {controls.start, controls.end})
            edit->setDisplayFormat(QStringLiteral("HH:mm"));
        controls.start->setTime(QTime(row.startHour, row.startMinute));
        controls.end->setTime(QTime(row.endHour, row.endMinute));
        controls.value->addItems(valueLabels);
        controls.value->setCurrentIndex(row.value < valueLabels.size() ? row.value : 0);
        controls.selected->setChecked(row.selected);
        grid->addWidget(new QLabel(suffix, this), line, 0);
        grid->addWidget(controls.start, line, 1);
        grid->addWidget(controls.end, line, 2);
        grid->addWidget(controls.value, line, 3);
        grid->addWidget(controls.selected, line, 4);
        connect(controls.selected, &QCheckBox::clicked, this,
                [this, controls] { UpdateRow(controls); });
        UpdateRow(controls);
        m_rows.push_back(controls);
    }
    auto* ok = new QPushButton(tr("OK"), this);
    ok->setObjectName(QStringLiteral("timingOk"));
    grid->addWidget(ok, int(rows.size()) + 1, 4);
    connect(ok, &QPushButton::clicked, this, &CTimetablePage::okClicked);
}

void CTimetablePage::UpdateRow(const RowControls& row)
{
    const bool inUse = row.selected->isChecked();
    row.start->setEnabled(inUse);
    row.end->setEnabled(inUse);
    row.value->setEnabled(inUse);
}

std::vector<TimetableRow> CTimetablePage::Rows() const
{
    std::vector<TimetableRow> rows;
    for (const RowControls& controls : m_rows) {
        TimetableRow row;
        row.startHour = controls.start->time().hour();
        row.startMinute = controls.start->time().minute();
        row.endHour = controls.end->time().hour();
        row.endMinute = controls.end->time().minute();
        row.value = std::max(0, controls.value->currentIndex());
        row.selected = controls.selected->isChecked();
        rows.push_back(row);
    }
    return rows;
}
