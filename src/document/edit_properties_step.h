#pragma once

#include "document/refresh_code.h"
#include "model/project_object.h"

#include <QByteArray>
#include <QUndoCommand>

class CLumivantDoc;

// An edit of an object's own properties (a page's control, a window dragged in the
// preview): the properties before and after, as the project file stores them.
class CEditPropertiesStep final : public QUndoCommand
{
public:
    CEditPropertiesStep(CLumivantDoc& doc, const CProjectObject& object, QByteArray before,
                        QByteArray after, RefreshCode code, bool rerender, int mergeId,
                        const QString& label);

    void undo() override;
    void redo() override;
    int id() const override { return m_mergeId == 0 ? -1 : m_mergeId; }
    bool mergeWith(const QUndoCommand* other) override;

private:
    void Apply(const QByteArray& snapshot);

    CLumivantDoc& m_doc;
    CProjectObject::Id m_object;
    QByteArray m_before;
    QByteArray m_after;
    RefreshCode m_code;
    bool m_rerender;
    int m_mergeId;
    bool m_done = true; // the edit itself happened before the step was pushed
};
