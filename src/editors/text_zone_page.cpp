#include "editors/text_zone_page.h"

#include "editors/text_editor_dlg.h"
#include "model/text_zone.h"

#include <QVBoxLayout>

CTextZonePage::CTextZonePage(CTextZone& zone, CLumivantDoc& doc, QWidget* parent)
    : CZonePageBase(zone, doc, parent)
{
    m_editorSlot = new QWidget(Content());
    m_editorSlot->setObjectName(QStringLiteral("editorSlot"));
    m_editor = new CTextEditorDlg(zone, doc, m_editorSlot);
    auto* slotLayout = new QVBoxLayout(m_editorSlot);
    slotLayout->setContentsMargins(0, 0, 0, 0);
    slotLayout->addWidget(m_editor, 1);
    auto* layout = new QVBoxLayout(Content());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_editorSlot, 1);
    Load();
}

void CTextZonePage::LoadControls()
{
    // The editor follows the zone by itself.
}
