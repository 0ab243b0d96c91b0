#pragma once

#include <QAbstractItemModel>
#include <QHash>

#include <deque>
#include <vector>

class CLumivantDoc;
class CProjectObject;

// The project as the tree shows it: screens, programs, windows and zones, with implicit
// windows left out and their zones standing directly under the program. The rows are
// worked out once per Rebuild (a reset), so even a project of tens of thousands of zones
// answers at once.
class CProjectTreeModel final : public QAbstractItemModel
{
    Q_OBJECT

public:
    explicit CProjectTreeModel(CLumivantDoc& doc, QObject* parent = nullptr);
    ~CProjectTreeModel() override;

    // Reads the project again.
    void Rebuild();
    // Shows nothing until the next Rebuild (objects are about to leave the project).
    void Clear();

    QModelIndex IndexOf(const CProjectObject* object) const;
    CProjectObject* ObjectOf(const QModelIndex& index) const;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    struct Node
    {
        CProjectObject* object = nullptr;
        Node* parent = nullptr;
        int row = 0;
        std::vector<Node*> children;
    };

    void AddChildren(Node& node, const CProjectObject& object);
    Node* NodeOf(const QModelIndex& index) const;

    CLumivantDoc& m_doc;
    std::deque<Node> m_nodes; // m_nodes[0] is the root
    QHash<const CProjectObject*, Node*> m_byObject;
};
