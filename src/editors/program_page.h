#pragma once

#include "editors/page_base.h"

#include <array>

class CProgram;
class QCheckBox;
class QDateEdit;
class QLineEdit;
class QRadioButton;
class QTimeEdit;

// A program's name, play time, border and schedule.
class CProgramPage : public CPageBase
{
    Q_OBJECT

public:
    CProgramPage(CProgram& program, CLumivantDoc& doc, QWidget* parent = nullptr);

    // A basic model plays every program at all times: no schedule.
    bool IsBasicModel() const;

protected:
    void LoadControls() override;

private:
    CProgram& Program() const;
    QWidget* BuildPlayBox();
    QWidget* BuildBorderBox();
    QWidget* BuildScheduleBox();
    void ConnectPlay();
    void ConnectBorder();
    void ConnectSchedule();
    void EnableControls();
    void EditBorder(const std::function<void()>& change);
    void EditSchedule(const std::function<void()>& change, int mergeId = 0);

    QLineEdit* m_name;
    QRadioButton* m_inOrder;
    QRadioButton* m_timing;
    CStepSpinBox* m_playTime;
    QCheckBox* m_border;
    QRadioButton* m_patternSource;
    QRadioButton* m_imageSource;
    CGuardedCombo* m_pattern;
    QLineEdit* m_imagePath;
    class QPushButton* m_browse;
    CGuardedCombo* m_borderAction;
    CGuardedCombo* m_borderStep;
    CGuardedCombo* m_borderSpeed;
    QCheckBox* m_flat;
    QCheckBox* m_dateRange;
    QDateEdit* m_firstDay;
    QDateEdit* m_lastDay;
    QCheckBox* m_timeRange;
    QTimeEdit* m_startTime;
    QTimeEdit* m_endTime;
    QCheckBox* m_week;
    std::array<QCheckBox*, 7> m_days{}; // Monday first
    int m_nameMerge = NewMergeId();
    int m_timeMerge = NewMergeId();
    int m_dateMerge = NewMergeId();
};
