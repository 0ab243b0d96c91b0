#include "editors/zone_page_base.h"

#include "editors/window_page.h"
#include "model/effect_zone.h"
#include "model/play_window.h"

#include <QHBoxLayout>

CZonePageBase::CZonePageBase(CEffectZone& zone, CLumivantDoc& doc, QWidget* parent)
    : CPageBase(zone, doc, parent), m_content(new QWidget(this))
{
    auto* layout = new QHBoxLayout(this);
    if (auto* window = dynamic_cast<CPlayWindow*>(zone.Parent())) {
        m_windowPage = new CWindowPage(*window, doc, this);
        m_windowPage->setObjectName(QStringLiteral("windowPage"));
        layout->addWidget(m_windowPage, 0, Qt::AlignTop);
    }
    layout->addWidget(m_content, 1);
}

CEffectZone& CZonePageBase::Zone() const
{
    return static_cast<CEffectZone&>(Object());
}
