#include "app/warnings_view.h"

#include "document/lumivant_doc.h"
#include "document/project_warnings.h"
#include "model/object_kind.h"
#include "model/project_object.h"

#include <QApplication>
#include <QEvent>
#include <QFileInfo>
#include <QLabel>
#include <QListView>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

namespace {

// Rows as wide as the list, never scrolling sideways. A short list wraps its lines; a long
// one (hundreds of warnings) keeps one line a row, each ending in "..." where it is cut
// (its tip holds all of it), so that it stays quick to lay out after every edit.
class CWarningDelegate final : public QStyledItemDelegate
{
public:
    explicit CWarningDelegate(QListView* list) : QStyledItemDelegate(list), m_list(list) {}

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyleOptionViewItem wide(option);
        wide.rect.setWidth(m_list->viewport()->width());
        return {1, QStyledItemDelegate::sizeHint(wide, index).height()};
    }

private:
    QListView* m_list;
};

// The tree shows a hidden window as its zone.
CProjectObject& ShownObject(CProjectObject& object)
{
    if (object.GetKind() == KindWindow && object.GetFore() == 0 && object.GetChildCount() > 0)
        return *object.GetChild(0);
    return object;
}

} // namespace

CWarningsModel::CWarningsModel(CLumivantDoc& doc, CProjectWarnings& warnings, QObject* parent)
    : QAbstractListModel(parent), m_doc(doc), m_warnings(warnings)
{
    connect(&m_warnings, &CProjectWarnings::warningsChanged, this, [this] {
        beginResetModel();
        endResetModel();
    });
    connect(&m_warnings, &CProjectWarnings::namesChanged, this, [this] {
        if (rowCount() > 0)
            emit dataChanged(index(0), index(rowCount() - 1), {Qt::DisplayRole, Qt::ToolTipRole});
    });
}

int CWarningsModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_warnings.Warnings().size());
}

QVariant CWarningsModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const CProjectWarnings::Warning& warning =
        m_warnings.Warnings()[static_cast<size_t>(index.row())];
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole: {
        // The line names the object as the tree does; the tip tells where it stands.
        QString named = QFileInfo(m_doc.FilePath()).fileName();
        if (warning.object)
            named = role == Qt::DisplayRole ? ShownObject(*warning.object).GetName()
                                            : CProjectWarnings::ObjectLabel(*warning.object);
        return named.isEmpty() ? warning.text : named + QStringLiteral(": ") + warning.text;
    }
    case Qt::DecorationRole:
        return QApplication::style()->standardIcon(QStyle::SP_MessageBoxWarning);
    default:
        return {};
    }
}

CProjectObject* CWarningsModel::ObjectAt(int row) const
{
    if (row < 0 || row >= rowCount())
        return nullptr;
    return m_warnings.Warnings()[static_cast<size_t>(row)].object;
}

CWarningsView::CWarningsView(CLumivantDoc& doc, CProjectWarnings& warnings, QWidget* parent)
    : QWidget(parent), m_warnings(warnings), m_model(new CWarningsModel(doc, warnings, this)),
      m_summary(new QLabel(this)), m_list(new QListView(this))
{
    setObjectName(QStringLiteral("warnings"));
    m_summary->setObjectName(QStringLiteral("warningsSummary"));
    m_list->setObjectName(QStringLiteral("warningsList"));
    m_list->setModel(m_model);
    m_list->setIconSize({16, 16});
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setTextElideMode(Qt::ElideRight);
    m_list->setItemDelegate(new CWarningDelegate(m_list));
    m_list->setResizeMode(QListView::Adjust);
    m_list->setWordWrap(true);
    m_list->setSpacing(1);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 0);
    layout->setSpacing(2);
    layout->addWidget(m_summary);
    layout->addWidget(m_list, 1);
    connect(m_list, &QListView::clicked, this, &CWarningsView::Choose);
    connect(m_list, &QListView::activated, this, &CWarningsView::Choose);
    connect(&m_warnings, &CProjectWarnings::warningsChanged, this, [this] {
        const bool wrapped = m_model->rowCount() <= kWrappedRows;
        m_list->setWordWrap(wrapped);
        m_list->setUniformItemSizes(!wrapped);
        UpdateSummary();
    });
    connect(&m_warnings, &CProjectWarnings::checkingChanged, this, &CWarningsView::UpdateSummary);
    UpdateSummary();
}

QString CWarningsView::Summary() const
{
    return m_summary->text();
}

void CWarningsView::Choose(const QModelIndex& index)
{
    if (CProjectObject* object = m_model->ObjectAt(index.row()))
        emit objectChosen(&ShownObject(*object));
}

void CWarningsView::UpdateSummary()
{
    const int count = m_model->rowCount();
    QString text = count == 0 ? tr("No warnings") : tr("Warnings: %1").arg(count);
    if (m_warnings.IsChecking())
        text += QStringLiteral(" ") + tr("(checking...)");
    m_summary->setText(text);
    m_list->setAccessibleName(tr("Warnings"));
}

void CWarningsView::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    m_warnings.SetActive(true);
}

void CWarningsView::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    m_warnings.SetActive(false);
}

void CWarningsView::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        UpdateSummary();
        // The findings are worded in the language in use.
        m_warnings.RecheckAll();
    }
    QWidget::changeEvent(event);
}
