#pragma once

#include "model/object_snapshot.h"

#include <QByteArray>
#include <QUndoCommand>

#include <memory>

class CLumivantDoc;
class CProjectObject;

// Undo steps of the tree commands. They find their objects by path, and a removed subtree
// is kept as it would be saved, so undo gives back exactly the same project.

// An object (with everything below it) put into the project.
class CInsertObjectCommand final : public QUndoCommand
{
public:
    CInsertObjectCommand(CLumivantDoc& doc, ObjectPath parent, int index,
                         std::unique_ptr<CProjectObject> object, bool render);

    void redo() override;
    void undo() override;

private:
    CLumivantDoc& m_doc;
    ObjectPath m_parent;
    int m_index;
    std::unique_ptr<CProjectObject> m_fresh; // the new object until the first redo
    QByteArray m_snapshot;
    bool m_render;
};

// An object taken out of the project; select is what the tree shows afterwards.
class CRemoveObjectCommand final : public QUndoCommand
{
public:
    CRemoveObjectCommand(CLumivantDoc& doc, ObjectPath object, ObjectPath select);

    void redo() override;
    void undo() override;

private:
    CLumivantDoc& m_doc;
    ObjectPath m_object;
    ObjectPath m_select;
    QByteArray m_snapshot;
};

// Two neighbours of one parent exchanged; selectChild selects the first child of the
// moved object (a zone in its implicit window) instead of the object itself.
class CSwapObjectsCommand final : public QUndoCommand
{
public:
    CSwapObjectsCommand(CLumivantDoc& doc, ObjectPath object, int toIndex, bool selectChild);

    void redo() override { Swap(m_from, m_to); }
    void undo() override { Swap(m_to, m_from); }

private:
    void Swap(int from, int to);

    CLumivantDoc& m_doc;
    ObjectPath m_parent;
    int m_from;
    int m_to;
    bool m_selectChild;
};
