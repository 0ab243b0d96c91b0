#pragma once

#include <QLabel>

class CEffectZone;
class CLumivantDoc;

// The zone's first rendered page as the LED shows it, enlarged, read-only; it follows
// the zone's re-renders.
class CRenderedPageView : public QLabel
{
    Q_OBJECT

public:
    CRenderedPageView(CEffectZone& zone, CLumivantDoc& doc, QWidget* parent = nullptr);

    void ShowPage();

private:
    CEffectZone& m_zone;
};
