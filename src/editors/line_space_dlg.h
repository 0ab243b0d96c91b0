#pragma once

#include "render/text_editing.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QSpinBox;

// "Line space": a custom line space and top space for a rich-text zone, or automatic.
class CLineSpaceDlg : public QDialog
{
    Q_OBJECT

public:
    CLineSpaceDlg(const LineSpacing& spacing, int zoneHeight, QWidget* parent = nullptr);

    // What OK stores: both values when the box is checked, 0 and 0 otherwise.
    LineSpacing Result() const;

protected:
    void changeEvent(QEvent* event) override;

private:
    void retranslateUi();
    void OnCustomToggled(bool checked);

    LineSpacing m_initial;
    int m_zoneHeight;
    QCheckBox* m_custom;
    QLabel* m_lineLabel;
    QLabel* m_topLabel;
    QSpinBox* m_lineSpace;
    QSpinBox* m_topSpace;
};
