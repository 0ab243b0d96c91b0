#pragma once

#include "comm/timetable_rows.h"

#include <QWidget>

#include <vector>

class QCheckBox;
class QComboBox;
class QTimeEdit;

// The timing page of the brightness and on/off forms: one row per timetable entry with its
// start and end, its value and whether it is in use; a row's controls are enabled only
// while it is in use.
class CTimetablePage final : public QWidget
{
    Q_OBJECT
public:
    // valueLabels: the entries of the value list, the list index being the value.
    CTimetablePage(const std::vector<TimetableRow>& rows, const QStringList& valueLabels,
                   const QString& valueHeader, QWidget* parent = nullptr);

    std::vector<TimetableRow> Rows() const;

signals:
    void okClicked();

private:
    struct RowControls
    {
        QTimeEdit* start;
        QTimeEdit* end;
        QComboBox* value;
        QCheckBox* selected;
    };
    void UpdateRow(const RowControls& row);

    std::vector<RowControls> m_rows;
};
