#include "document/structure_steps.h"

#include "document/lumivant_doc.h"

#include <utility>

namespace {

// What the tree shows for an object: a hidden window stands for its first zone.
CProjectObject* ShownFor(CProjectObject* object)
{
    if (object && object->GetFore() == 0 && object->GetChildCount() > 0)
        return object->GetChild(0);
    return object;
}

// The object the tree can select for object: a hidden window is not in the tree.
CProjectObject* VisibleAt(CProjectObject* object)
{
    while (object && object->GetFore() == 0 && object->Parent())
        object = object->Parent();
    return object;
}

} // namespace

CInsertObjectStep::CInsertObjectStep(CLumivantDoc& doc, const CProjectObject& parent, int index,
                                     std::unique_ptr<CProjectObject> object, bool render,
                                     const QString& label)
    : QUndoCommand(label), m_doc(doc), m_parent(parent.GetId()), m_object(object->GetId()),
      m_index(index), m_kept(std::move(object)), m_render(render)
{}

CInsertObjectStep::~CInsertObjectStep() = default;

void CInsertObjectStep::redo()
{
    m_doc.FlushPendingRender();
    CProjectObject* parent = m_doc.FindObject(m_parent);
    if (!parent || !m_kept)
        return;
    CProjectObject* inserted = m_doc.AttachChild(*parent, std::move(m_kept), m_index);
    if (!inserted)
        return;
    // Only a new object needs rendering; one that comes back kept its pages.
    if (std::exchange(m_render, false))
        m_doc.RenderNow(*inserted);
    m_doc.NotifyStructureChanged(ShownFor(inserted));
}

void CInsertObjectStep::undo()
{
    CProjectObject* object = m_doc.FindObject(m_object);
    if (!object || !object->Parent())
        return;
    CProjectObject* parent = object->Parent();
    m_kept = m_doc.DetachChild(*parent, parent->IndexOfChild(object));
    m_doc.NotifyStructureChanged(VisibleAt(parent));
}

CRemoveObjectStep::CRemoveObjectStep(CLumivantDoc& doc, const CProjectObject& object,
                                     CProjectObject::Id select, const QString& label)
    : QUndoCommand(label), m_doc(doc), m_object(object.GetId()),
      m_parent(object.Parent() ? object.Parent()->GetId() : 0), m_select(select),
      m_index(object.Parent() ? object.Parent()->IndexOfChild(&object) : -1)
{}

CRemoveObjectStep::~CRemoveObjectStep() = default;

void CRemoveObjectStep::redo()
{
    CProjectObject* object = m_doc.FindObject(m_object);
    CProjectObject* parent = object ? object->Parent() : nullptr;
    if (!parent)
        return;
    m_index = parent->IndexOfChild(object);
    m_kept = m_doc.DetachChild(*parent, m_index);
    CProjectObject* select = m_select ? m_doc.FindObject(m_select) : nullptr;
    m_doc.NotifyStructureChanged(VisibleAt(select ? select : parent));
}

void CRemoveObjectStep::undo()
{
    m_doc.FlushPendingRender();
    CProjectObject* parent = m_doc.FindObject(m_parent);
    if (!parent || !m_kept)
        return;
    CProjectObject* restored = m_doc.AttachChild(*parent, std::move(m_kept), m_index);
    m_doc.NotifyStructureChanged(ShownFor(restored));
}

CMoveObjectStep::CMoveObjectStep(CLumivantDoc& doc, const CProjectObject& object, int toIndex,
                                 CProjectObject::Id shown, const QString& label)
    : QUndoCommand(label), m_doc(doc), m_object(object.GetId()), m_shown(shown),
      m_from(object.Parent() ? object.Parent()->IndexOfChild(&object) : -1), m_to(toIndex)
{}

void CMoveObjectStep::Move(int index)
{
    m_doc.FlushPendingRender();
    CProjectObject* object = m_doc.FindObject(m_object);
    CProjectObject* parent = object ? object->Parent() : nullptr;
    if (!parent || index < 0 || index >= parent->GetChildCount())
        return;
    const int from = parent->IndexOfChild(object);
    if (from == index)
        return;
    std::unique_ptr<CProjectObject> moved = parent->RemoveChildAt(from);
    parent->InsertChild(std::move(moved), index);
    CProjectObject* shown = m_shown ? m_doc.FindObject(m_shown) : nullptr;
    m_doc.NotifyStructureChanged(shown ? shown : object);
}
