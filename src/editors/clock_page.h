#pragma once

#include "editors/zone_page_base.h"

#include <array>

class CClockZone;
class QCheckBox;
class QLineEdit;

// The dial of an analogue clock, its static text and its time difference.
class CClockPage : public CZonePageBase
{
    Q_OBJECT

public:
    CClockPage(CClockZone& zone, CLumivantDoc& doc, QWidget* parent = nullptr);

protected:
    void LoadControls() override;

private:
    CClockZone& Clock() const;
    QWidget* BuildDial();
    QWidget* BuildTitle();
    QWidget* BuildTimeDiff();
    void StoreTimeDiff();
    void MoveTitle(int dx, int dy);

    // Hour marks, minute marks, hour, minute and second hands.
    std::array<CGuardedCombo*, 5> m_sizes{};
    std::array<CGuardedCombo*, 5> m_colours{};
    CGuardedCombo* m_hourShape;
    CGuardedCombo* m_minuteShape;
    QCheckBox* m_titleShown;
    QLineEdit* m_title;
    CGuardedCombo* m_titleFont;
    CGuardedCombo* m_titleColour;
    CGuardedCombo* m_titleSize;
    CGuardedCombo* m_sign;
    CStepSpinBox* m_hours;
    CStepSpinBox* m_minutes;
    int m_titleMerge = NewMergeId();
    int m_diffMerge = NewMergeId();
    int m_moveMerge = NewMergeId();
};
