#pragma once

#include "editors/zone_page_base.h"

#include <array>

class CCountdownZone;
class QCheckBox;
class QDateEdit;
class QLineEdit;
class QTimeEdit;

// A countdown's format, parts and colours, its static text and its target moment.
class CCountdownPage : public CZonePageBase
{
    Q_OBJECT

public:
    CCountdownPage(CCountdownZone& zone, CLumivantDoc& doc, QWidget* parent = nullptr);

protected:
    void LoadControls() override;

private:
    CCountdownZone& Countdown() const;
    QWidget* BuildPartsBox();
    QWidget* BuildMoreBox();
    void StoreTarget();

    CGuardedCombo* m_format;
    std::array<QCheckBox*, 4> m_shown{};
    std::array<CGuardedCombo*, 4> m_digitColours{};
    std::array<CGuardedCombo*, 4> m_unitColours{};
    QLineEdit* m_title;
    CGuardedCombo* m_titleColour;
    CGuardedCombo* m_titleFont;
    CGuardedCombo* m_titleSize;
    QDateEdit* m_targetDate;
    QTimeEdit* m_targetTime;
    CGuardedCombo* m_type;
    CGuardedCombo* m_digitSize;
    int m_titleMerge = NewMergeId();
    int m_targetMerge = NewMergeId();
};
