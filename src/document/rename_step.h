#pragma once

#include "model/project_object.h"

#include <QString>
#include <QUndoCommand>

class CLumivantDoc;

// A new name for one object; typing into a name field makes one step.
class CRenameStep final : public QUndoCommand
{
public:
    CRenameStep(CLumivantDoc& doc, const CProjectObject& object, QString before, QString after,
                int mergeId, const QString& label);

    void undo() override { Apply(m_before); }
    void redo() override;
    int id() const override { return m_mergeId == 0 ? -1 : m_mergeId; }
    bool mergeWith(const QUndoCommand* other) override;

private:
    void Apply(const QString& name);

    CLumivantDoc& m_doc;
    CProjectObject::Id m_object;
    QString m_before;
    QString m_after;
    int m_mergeId;
    bool m_done = true; // the name was set before the step was pushed
};
