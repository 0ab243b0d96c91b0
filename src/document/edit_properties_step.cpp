#include "document/edit_properties_step.h"

#include "document/lumivant_doc.h"
#include "model/object_snapshot.h"

#include <utility>

CEditPropertiesStep::CEditPropertiesStep(CLumivantDoc& doc, const CProjectObject& object,
                                         QByteArray before, QByteArray after, RefreshCode code,
                                         bool rerender, int mergeId, const QString& label)
    : QUndoCommand(label), m_doc(doc), m_object(object.GetId()), m_before(std::move(before)),
      m_after(std::move(after)), m_code(code), m_rerender(rerender), m_mergeId(mergeId)
{}

void CEditPropertiesStep::undo()
{
    Apply(m_before);
}

void CEditPropertiesStep::redo()
{
    if (std::exchange(m_done, false))
        return;
    Apply(m_after);
}

bool CEditPropertiesStep::mergeWith(const QUndoCommand* other)
{
    const auto* edit = dynamic_cast<const CEditPropertiesStep*>(other);
    if (!edit || edit->m_mergeId != m_mergeId || edit->m_object != m_object)
        return false;
    m_after = edit->m_after;
    setObsolete(m_after == m_before);
    return true;
}

void CEditPropertiesStep::Apply(const QByteArray& snapshot)
{
    m_doc.FlushPendingRender();
    CProjectObject* object = m_doc.FindObject(m_object);
    if (!object || !RestoreProperties(*object, snapshot))
        return;
    if (m_rerender)
        m_doc.RenderNow(*object);
    m_doc.NotifyChanged(*object, m_code, false);
}
