#include "document/rename_step.h"

#include "document/lumivant_doc.h"

#include <utility>

CRenameStep::CRenameStep(CLumivantDoc& doc, const CProjectObject& object, QString before,
                         QString after, int mergeId, const QString& label)
    : QUndoCommand(label), m_doc(doc), m_object(object.GetId()), m_before(std::move(before)),
      m_after(std::move(after)), m_mergeId(mergeId)
{}

void CRenameStep::redo()
{
    if (std::exchange(m_done, false))
        return;
    Apply(m_after);
}

bool CRenameStep::mergeWith(const QUndoCommand* other)
{
    const auto* rename = dynamic_cast<const CRenameStep*>(other);
    if (!rename || rename->m_mergeId != m_mergeId || rename->m_object != m_object)
        return false;
    m_after = rename->m_after;
    setObsolete(m_after == m_before);
    return true;
}

void CRenameStep::Apply(const QString& name)
{
    CProjectObject* object = m_doc.FindObject(m_object);
    if (!object)
        return;
    object->SetName(name);
    m_doc.NotifyChanged(*object, RefreshCode::Name, false);
}
