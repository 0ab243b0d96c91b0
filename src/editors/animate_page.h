#pragma once

#include "editors/zone_page_base.h"

class CAnimateZone;
class CRenderedPageView;

// An animate zone: the animation, its steps and holds, beside the text editor of the
// animated text (EditorSlot(); until it is placed there, the first rendered page).
class CAnimatePage : public CZonePageBase
{
    Q_OBJECT

public:
    CAnimatePage(CAnimateZone& zone, CLumivantDoc& doc, QWidget* parent = nullptr);

    QWidget* EditorSlot() const { return m_editorSlot; }

protected:
    void LoadControls() override;

private:
    CAnimateZone& Animate() const;

    CGuardedCombo* m_type;
    CStepSpinBox* m_maxStep;
    CStepSpinBox* m_hold1;
    CStepSpinBox* m_hold2;
    QWidget* m_editorSlot;
    CRenderedPageView* m_rendered;
    int m_stepMerge = NewMergeId();
    int m_hold1Merge = NewMergeId();
    int m_hold2Merge = NewMergeId();
};
