#pragma once

#include "model/project_object.h"

#include <QUndoCommand>

#include <memory>

class CLumivantDoc;

// Undo steps of the changes of the tree. They find their objects by identity; an object
// out of the project is kept by its step, so undo and redo put back the very same object.

// An object (with everything below it) put into the project.
class CInsertObjectStep final : public QUndoCommand
{
public:
    CInsertObjectStep(CLumivantDoc& doc, const CProjectObject& parent, int index,
                      std::unique_ptr<CProjectObject> object, bool render, const QString& label);
    ~CInsertObjectStep() override;

    void redo() override;
    void undo() override;
    // The object the step puts in.
    CProjectObject::Id ObjectId() const { return m_object; }

private:
    CLumivantDoc& m_doc;
    CProjectObject::Id m_parent;
    CProjectObject::Id m_object;
    int m_index;
    std::unique_ptr<CProjectObject> m_kept; // while the object is out of the project
    bool m_render;
};

// An object taken out of the project; the tree then selects select (0: the parent).
class CRemoveObjectStep final : public QUndoCommand
{
public:
    CRemoveObjectStep(CLumivantDoc& doc, const CProjectObject& object, CProjectObject::Id select,
                      const QString& label);
    ~CRemoveObjectStep() override;

    void redo() override;
    void undo() override;

private:
    CLumivantDoc& m_doc;
    CProjectObject::Id m_object;
    CProjectObject::Id m_parent;
    CProjectObject::Id m_select;
    int m_index;
    std::unique_ptr<CProjectObject> m_kept;
};

// An object moved among its siblings; the tree selects shown (0: the object).
class CMoveObjectStep final : public QUndoCommand
{
public:
    CMoveObjectStep(CLumivantDoc& doc, const CProjectObject& object, int toIndex,
                    CProjectObject::Id shown, const QString& label);

    void redo() override { Move(m_to); }
    void undo() override { Move(m_from); }

private:
    void Move(int index);

    CLumivantDoc& m_doc;
    CProjectObject::Id m_object;
    CProjectObject::Id m_shown;
    int m_from;
    int m_to;
};
