#pragma once

#include "editors/zone_page_base.h"

#include <array>

class CDateTimeZone;
class QCheckBox;
class QLineEdit;
class QRadioButton;

// The items of a date-time zone, their layout, formats and colours, and the time
// difference.
class CDateTimePage : public CZonePageBase
{
    Q_OBJECT

public:
    static constexpr int kTextLength = 50;

    CDateTimePage(CDateTimeZone& zone, CLumivantDoc& doc, QWidget* parent = nullptr);

protected:
    void LoadControls() override;

private:
    CDateTimeZone& DateTime() const;
    QWidget* BuildLayoutBox();
    QWidget* BuildItemsBox();
    void StoreTimeDiff();

    QRadioButton* m_singleLine;
    QRadioButton* m_multiLine;
    CGuardedCombo* m_size;
    CGuardedCombo* m_order;
    CGuardedCombo* m_sign;
    CStepSpinBox* m_hours;
    CStepSpinBox* m_minutes;
    std::array<QCheckBox*, 4> m_shown{};
    std::array<CGuardedCombo*, 4> m_formats{}; // none for the text
    std::array<CGuardedCombo*, 4> m_colours{};
    QLineEdit* m_text;
    int m_textMerge = NewMergeId();
    int m_diffMerge = NewMergeId();
};
