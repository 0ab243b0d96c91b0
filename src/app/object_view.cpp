#include "app/object_view.h"

#include "document/lumivant_doc.h"
#include "editors/page_factory.h"
#include "editors/property_page.h"

#include "model/project_object.h"

#include <QResizeEvent>

#include <algorithm>

CObjectView::CObjectView(CLumivantDoc& doc, const ScreenCommands& commands, QWidget* parent)
    : QWidget(parent), m_doc(doc), m_commands(commands)
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
    for (CPropertyPage* page : {m_page.data(), m_effectPage.data()}) {
        if (page)
            page->Commit();
    }
    DropPage();
    if (!object)
        return;
    m_page = CreatePropertyPage(*object, m_doc, this, m_commands);
    // The image page holds its effect settings itself.
    if (m_page && object->GetKind() != KindImage)
        m_effectPage = CreateEffectPage(*object, m_doc, this);
    // The host grows to what the page needs, so that no control is squeezed.
    int needed = kMinimumHeight;
    for (CPropertyPage* page : {m_page.data(), m_effectPage.data()}) {
        if (page)
            needed = std::max(needed, page->minimumSizeHint().height());
    }
    setMinimumHeight(std::min(needed, kMaximumNeededHeight));
    LayOutPages();
    for (CPropertyPage* page : {m_page.data(), m_effectPage.data()}) {
        if (page)
            page->show();
    }
}

void CObjectView::LayOutPages()
{
    if (!m_page)
        return;
    if (!m_effectPage) {
        m_page->setGeometry(rect());
        return;
    }
    const int effectWidth = std::min(m_effectPage->sizeHint().width(), width() / 2);
    m_page->setGeometry(0, 0, width() - effectWidth, height());
    m_effectPage->setGeometry(width() - effectWidth, 0, effectWidth, height());
}

void CObjectView::DropPage()
{
    for (QPointer<CPropertyPage>* slot : {&m_page, &m_effectPage}) {
        CPropertyPage* page = *slot;
        *slot = nullptr;
        if (!page)
            continue;
        // The page (and the editor inside it) may outlive its object until it is deleted:
        // they hear nothing more.
        disconnect(&m_doc, nullptr, page, nullptr);
        for (QObject* child : page->findChildren<QObject*>())
            disconnect(&m_doc, nullptr, child, nullptr);
        page->hide();
        page->setParent(nullptr);
        page->deleteLater();
    }
}

void CObjectView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    LayOutPages();
}
