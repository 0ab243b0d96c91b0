#pragma once

#include "editors/zone_page_base.h"

class CAnimateZone;
class CTextEditorDlg;

// An animate zone: the animation, its steps and holds, beside the text editor of the
// animated text.
class CAnimatePage : public CZonePageBase
{
    Q_OBJECT

public:
    CAnimatePage(CAnimateZone& zone, CLumivantDoc& doc, QWidget* parent = nullptr);

    QWidget* EditorSlot() const { return m_editorSlot; }
    CTextEditorDlg* Editor() const { return m_editor; }

protected:
    void LoadControls() override;

private:
    CAnimateZone& Animate() const;

    CGuardedCombo* m_type;
    CStepSpinBox* m_maxStep;
    CStepSpinBox* m_hold1;
    CStepSpinBox* m_hold2;
    QWidget* m_editorSlot;
    CTextEditorDlg* m_editor;
    int m_stepMerge = NewMergeId();
    int m_hold1Merge = NewMergeId();
    int m_hold2Merge = NewMergeId();
};
