#pragma once

#include <QTreeView>

class CLumivantDoc;
class CProjectObject;
class CProjectTreeModel;
class QMenu;

// The project tree: screens with their send check boxes, programs, windows and zones (the
// zones of implicit windows directly under their program). Selecting an item makes it the
// document's current object.
class CLeftView final : public QTreeView
{
    Q_OBJECT

public:
    explicit CLeftView(CLumivantDoc& doc, QWidget* parent = nullptr);
    ~CLeftView() override;

    // Reads the project again and selects the object (or, when it is null or gone, the
    // first program of the first screen, or the first screen).
    void Rebuild(CProjectObject* select);
    // The object selected in the tree, or null.
    CProjectObject* SelectedObject() const;
    void Select(CProjectObject* object);
    CProjectTreeModel& Model() { return *m_model; }
    // The menu shown on a right click (the main window fills it with its actions).
    void SetContextMenu(QMenu* menu) { m_contextMenu = menu; }

signals:
    // The person (or a rebuild) selected another object.
    void selectionChangedTo(CProjectObject* object);

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    CLumivantDoc& m_doc;
    CProjectTreeModel* m_model;
    QMenu* m_contextMenu = nullptr;
    bool m_rebuilding = false;
};
