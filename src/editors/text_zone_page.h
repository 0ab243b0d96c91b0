#pragma once

#include "editors/zone_page_base.h"

class CTextEditorDlg;
class CTextZone;

// A text zone: its window beside the text editor.
class CTextZonePage : public CZonePageBase
{
    Q_OBJECT

public:
    CTextZonePage(CTextZone& zone, CLumivantDoc& doc, QWidget* parent = nullptr);

    // The area holding the text editor.
    QWidget* EditorSlot() const { return m_editorSlot; }
    CTextEditorDlg* Editor() const { return m_editor; }

protected:
    void LoadControls() override;

private:
    QWidget* m_editorSlot;
    CTextEditorDlg* m_editor;
};
