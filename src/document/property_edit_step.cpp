#include "document/property_edit_step.h"

#include "document/lumivant_doc.h"
#include "model/project_root.h"

#include <utility>

CPropertyEditCommand::CPropertyEditCommand(CLumivantDoc& doc, ObjectPath path, QByteArray before,
                                           QByteArray after, RefreshCode code, bool rerender,
                                           int mergeId)
    : m_doc(doc), m_path(std::move(path)), m_before(std::move(before)), m_after(std::move(after)),
      m_code(code), m_rerender(rerender), m_mergeId(mergeId)
{}

void CPropertyEditCommand::undo()
{
    Apply(m_before);
}

void CPropertyEditCommand::redo()
{
    // The edit itself already happened when the command was pushed.
    if (!std::exchange(m_pushed, true))
        return;
    Apply(m_after);
}

bool CPropertyEditCommand::mergeWith(const QUndoCommand* other)
{
    const auto* edit = dynamic_cast<const CPropertyEditCommand*>(other);
    if (!edit || edit->m_mergeId != m_mergeId || edit->m_path != m_path)
        return false;
    m_after = edit->m_after;
    setObsolete(m_after == m_before);
    return true;
}

void CPropertyEditCommand::Apply(const QByteArray& snapshot)
{
    m_doc.FlushPendingRender();
    CProjectObject* object = ObjectAt(m_doc.Root(), m_path);
    if (!object || !RestoreProperties(*object, snapshot))
        return;
    if (m_rerender)
        m_doc.RenderNow(*object);
    m_doc.NotifyChanged(*object, m_code, false);
}
