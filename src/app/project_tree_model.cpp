#include "app/project_tree_model.h"

#include "app/tree_icons.h"
#include "document/lumivant_doc.h"
#include "model/project_root.h"
#include "model/screen.h"

CProjectTreeModel::CProjectTreeModel(CLumivantDoc& doc, QObject* parent)
    : QAbstractItemModel(parent), m_doc(doc)
{
    connect(&m_doc, &CLumivantDoc::objectChanged, this, [this](CProjectObject* object) {
        const QModelIndex at = IndexOf(object);
        if (at.isValid())
            emit dataChanged(at, at);
    });
    Rebuild();
}

CProjectTreeModel::~CProjectTreeModel() = default;

void CProjectTreeModel::Rebuild()
{
    beginResetModel();
    m_nodes.clear();
    m_byObject.clear();
    m_nodes.emplace_back();
    m_nodes.front().object = &m_doc.Root();
    AddChildren(m_nodes.front(), m_doc.Root());
    endResetModel();
}

void CProjectTreeModel::Clear()
{
    beginResetModel();
    m_nodes.resize(1);
    m_nodes.front().children.clear();
    m_byObject.clear();
    endResetModel();
}

void CProjectTreeModel::AddChildren(Node& node, const CProjectObject& object)
{
    if (IsZoneKind(object.GetKind()))
        return;
    object.ForEachChild([&](const CProjectObject& child) {
        if (child.GetFore() == 0) {
            AddChildren(node, child);
            return;
        }
        Node& added = m_nodes.emplace_back();
        added.object = const_cast<CProjectObject*>(&child);
        added.parent = &node;
        added.row = static_cast<int>(node.children.size());
        node.children.push_back(&added);
        m_byObject.insert(&child, &added);
        AddChildren(added, child);
    });
}

CProjectTreeModel::Node* CProjectTreeModel::NodeOf(const QModelIndex& index) const
{
    if (!index.isValid())
        return const_cast<Node*>(&m_nodes.front());
    return static_cast<Node*>(index.internalPointer());
}

QModelIndex CProjectTreeModel::IndexOf(const CProjectObject* object) const
{
    const Node* node = m_byObject.value(object, nullptr);
    return node ? createIndex(node->row, 0, node) : QModelIndex();
}

CProjectObject* CProjectTreeModel::ObjectOf(const QModelIndex& index) const
{
    return index.isValid() ? NodeOf(index)->object : nullptr;
}

QModelIndex CProjectTreeModel::index(int row, int column, const QModelIndex& parent) const
{
    const Node* node = NodeOf(parent);
    if (column != 0 || row < 0 || row >= static_cast<int>(node->children.size()))
        return {};
    return createIndex(row, 0, node->children[row]);
}

QModelIndex CProjectTreeModel::parent(const QModelIndex& child) const
{
    if (!child.isValid())
        return {};
    const Node* up = NodeOf(child)->parent;
    if (!up || !up->parent)
        return {};
    return createIndex(up->row, 0, up);
}

int CProjectTreeModel::rowCount(const QModelIndex& parent) const
{
    if (parent.column() > 0)
        return 0;
    return static_cast<int>(NodeOf(parent)->children.size());
}

int CProjectTreeModel::columnCount(const QModelIndex&) const
{
    return 1;
}

QVariant CProjectTreeModel::data(const QModelIndex& index, int role) const
{
    const CProjectObject* object = ObjectOf(index);
    if (!object)
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return object->GetName();
    case Qt::DecorationRole:
        return TreeIcon(object->GetImageIndex());
    case Qt::CheckStateRole:
        if (object->GetKind() == KindScreen)
            return static_cast<const CScreen*>(object)->GetSelected() ? Qt::Checked : Qt::Unchecked;
        return {};
    default:
        return {};
    }
}

bool CProjectTreeModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    CProjectObject* object = ObjectOf(index);
    if (role != Qt::CheckStateRole || !object || object->GetKind() != KindScreen)
        return false;
    auto* screen = static_cast<CScreen*>(object);
    const int selected = value.value<Qt::CheckState>() == Qt::Checked ? 1 : 0;
    const QString what = selected ? tr("Mark %1 for sending").arg(screen->GetName())
                                  : tr("Do not send %1").arg(screen->GetName());
    m_doc.ChangeScreenSettings(
        *screen, what,
        [&] {
            screen->SetSelected(selected);
            return true;
        },
        CLumivantDoc::CardWrite::None);
    return true;
}

Qt::ItemFlags CProjectTreeModel::flags(const QModelIndex& index) const
{
    const CProjectObject* object = ObjectOf(index);
    if (!object)
        return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (object->GetKind() == KindScreen)
        flags |= Qt::ItemIsUserCheckable;
    return flags;
}
