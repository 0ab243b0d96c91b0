#pragma once

#include "editors/zone_page_base.h"

class CImageZone;
class CLoadImageDialog;
class CZoneEffectPage;
class QLineEdit;
class QPushButton;

// An image zone: the picture file, its colour keying and speed, and the zone's effect.
class CImagePage : public CZonePageBase
{
    Q_OBJECT

public:
    CImagePage(CImageZone& zone, CLumivantDoc& doc, QWidget* parent = nullptr);

    CZoneEffectPage* EffectPage() const { return m_effectPage; }
    // The "Load Image" dialog for the zone's window and keying, showing path.
    CLoadImageDialog* MakeLoadDialog(const QString& path);

protected:
    void LoadControls() override;

private:
    CImageZone& Image() const;
    void ShowKeyColour();
    void StoreSpeed();
    void OpenLoadDialog(bool browse);

    QPushButton* m_keyColour;
    CStepSpinBox* m_tolerance;
    CStepSpinBox* m_pixelLimit;
    CGuardedCombo* m_speedDirection;
    CGuardedCombo* m_speedValue;
    QLineEdit* m_path;
    QPushButton* m_browse;
    QPushButton* m_preview;
    CZoneEffectPage* m_effectPage;
    int m_toleranceMerge = NewMergeId();
    int m_limitMerge = NewMergeId();
};
