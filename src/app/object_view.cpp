#include "app/object_view.h"

#include "app/lumivant_doc.h"
#include "editors/page_factory.h"
#include "editors/property_page.h"

#include <QResizeEvent>

CObjectView::CObjectView(CLumivantDoc& doc, QWidget* parent) : QWidget(parent), m_doc(doc)
{
    setObjectName(QStringLiteral("objectView"));
    connect(&m_doc, &CLumivantDoc::aboutToRemove, this, [this](CProjectObject* object) {
        if (m_page && CLumivantDoc::IsWithin(&m_page->Object(), object))
            DropPage();
    });
}

CObjectView::~CObjectView() = default;

void CObjectView::ShowPage(CProjectObject* object)
{
    if (m_page && object && &m_page->Object() == object)
        return;
    m_doc.FlushPendingRender();
    if (m_page)
        m_page->Commit();
    DropPage();
    if (!object)
        return;
    m_page = CreatePropertyPage(*object, m_doc, this);
    if (m_page) {
        m_page->setGeometry(rect());
        m_page->show();
    }
}

void CObjectView::DropPage()
{
    if (!m_page)
        return;
    CPropertyPage* page = m_page;
    m_page = nullptr;
    page->hide();
    page->setParent(nullptr);
    page->deleteLater();
}

void CObjectView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (m_page)
        m_page->setGeometry(rect());
}
