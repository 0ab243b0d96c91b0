#pragma once

#include "editors/zone_page_base.h"

class CRenderedPageView;
class CTextZone;

// A text zone: its window beside the text editor. Until the editor is placed in
// EditorSlot(), the slot shows the zone's first page as the LED renders it.
class CTextZonePage : public CZonePageBase
{
    Q_OBJECT

public:
    CTextZonePage(CTextZone& zone, CLumivantDoc& doc, QWidget* parent = nullptr);

    // Where the text editor widget goes (its layout is a QVBoxLayout).
    QWidget* EditorSlot() const { return m_editorSlot; }

protected:
    void LoadControls() override;

private:
    QWidget* m_editorSlot;
    CRenderedPageView* m_rendered;
};
