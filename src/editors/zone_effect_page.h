#pragma once

#include "editors/page_base.h"

class CEffectZone;

// A zone's entry effect, its speed, hold time and clear mode.
class CZoneEffectPage : public CPageBase
{
    Q_OBJECT

public:
    CZoneEffectPage(CEffectZone& zone, CLumivantDoc& doc, QWidget* parent = nullptr);

protected:
    void LoadControls() override;

private:
    CEffectZone& Zone() const;
    void EnableHold();

    CGuardedCombo* m_action;
    CGuardedCombo* m_speed;
    CStepSpinBox* m_hold;
    CGuardedCombo* m_clear;
    int m_holdMerge = NewMergeId();
};
