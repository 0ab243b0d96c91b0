#include "app/left_view.h"

#include "app/project_tree_model.h"
#include "document/lumivant_doc.h"
#include "model/project_root.h"

#include <QContextMenuEvent>
#include <QEvent>
#include <QHeaderView>
#include <QMenu>

CLeftView::CLeftView(CLumivantDoc& doc, QWidget* parent)
    : QTreeView(parent), m_doc(doc), m_model(new CProjectTreeModel(doc, this))
{
    setObjectName(QStringLiteral("projectTree"));
    setAccessibleName(tr("Project"));
    setHeaderHidden(true);
    setRootIsDecorated(true);
    setUniformRowHeights(true);
    setIconSize({16, 16});
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setModel(m_model);
    // What leaves the project leaves the tree at once; the rebuild after the change selects
    // again.
    connect(&m_doc, &CLumivantDoc::aboutToRemove, this, [this] {
        m_rebuilding = true;
        m_model->Clear();
        m_rebuilding = false;
    });
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (!m_rebuilding)
                    emit selectionChangedTo(m_model->ObjectOf(current));
            });
}

CLeftView::~CLeftView() = default;

void CLeftView::Rebuild(CProjectObject* select)
{
    m_rebuilding = true;
    m_model->Rebuild();
    QModelIndex at = m_model->IndexOf(select);
    if (!at.isValid()) {
        const QModelIndex screen = m_model->index(0, 0);
        const QModelIndex program = m_model->index(0, 0, screen);
        at = program.isValid() ? program : screen;
    }
    if (at.isValid()) {
        for (QModelIndex up = at.parent(); up.isValid(); up = up.parent())
            expand(up);
        expand(at);
        selectionModel()->setCurrentIndex(at, QItemSelectionModel::ClearAndSelect);
        scrollTo(at);
    }
    setFocus();
    m_rebuilding = false;
    emit selectionChangedTo(m_model->ObjectOf(at));
}

CProjectObject* CLeftView::SelectedObject() const
{
    return m_model->ObjectOf(selectionModel()->currentIndex());
}

void CLeftView::Select(CProjectObject* object)
{
    const QModelIndex at = m_model->IndexOf(object);
    if (!at.isValid())
        return;
    for (QModelIndex up = at.parent(); up.isValid(); up = up.parent())
        expand(up);
    selectionModel()->setCurrentIndex(at, QItemSelectionModel::ClearAndSelect);
    scrollTo(at);
}

void CLeftView::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        setAccessibleName(tr("Project"));
    QTreeView::changeEvent(event);
}

void CLeftView::contextMenuEvent(QContextMenuEvent* event)
{
    const QModelIndex at = indexAt(event->pos());
    if (at.isValid())
        selectionModel()->setCurrentIndex(at, QItemSelectionModel::ClearAndSelect);
    if (m_contextMenu)
        m_contextMenu->exec(event->globalPos());
}
