#pragma once

#include "document/refresh_code.h"
#include "model/object_snapshot.h"

#include <QByteArray>
#include <QUndoCommand>

class CLumivantDoc;

// One undo step of an edit of an object's own properties: the properties before and
// after, as the project file stores them.
class CPropertyEditCommand final : public QUndoCommand
{
public:
    CPropertyEditCommand(CLumivantDoc& doc, ObjectPath path, QByteArray before, QByteArray after,
                         RefreshCode code, bool rerender, int mergeId);

    void undo() override;
    void redo() override;
    int id() const override { return m_mergeId == 0 ? -1 : m_mergeId; }
    bool mergeWith(const QUndoCommand* other) override;

private:
    void Apply(const QByteArray& snapshot);

    CLumivantDoc& m_doc;
    ObjectPath m_path;
    QByteArray m_before;
    QByteArray m_after;
    RefreshCode m_code;
    bool m_rerender;
    int m_mergeId;
    bool m_pushed = false;
};
