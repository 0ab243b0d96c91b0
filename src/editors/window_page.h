#pragma once

#include "editors/page_base.h"

class CPlayWindow;
class QLineEdit;

// The window's name, rectangle and frame.
class CWindowPage : public CPageBase
{
    Q_OBJECT

public:
    CWindowPage(CPlayWindow& window, CLumivantDoc& doc, QWidget* parent = nullptr);

protected:
    void LoadControls() override;

private:
    CPlayWindow& Window() const;
    void StoreGeometry();
    void StoreFrame();

    QLineEdit* m_name;
    CStepSpinBox* m_x;
    CStepSpinBox* m_y;
    CStepSpinBox* m_width;
    CStepSpinBox* m_height;
    CGuardedCombo* m_frameType;
    CGuardedCombo* m_frameMotion;
    CGuardedCombo* m_frameSpeed;
    CGuardedCombo* m_frameColour;
    int m_nameMerge = NewMergeId();
    int m_geometryMerge = NewMergeId();
};
