#include "document/structure_steps.h"

#include "document/lumivant_doc.h"
#include "model/project_object.h"
#include "model/project_root.h"

namespace {

// The object the tree shows for path: a hidden window stands for its zone.
CProjectObject* VisibleAt(CProjectRoot& root, ObjectPath path)
{
    CProjectObject* object = ObjectAt(root, path);
    while (object && object->GetFore() == 0 && object->Parent())
        object = object->Parent();
    return object;
}

} // namespace

CInsertObjectCommand::CInsertObjectCommand(CLumivantDoc& doc, ObjectPath parent, int index,
                                           std::unique_ptr<CProjectObject> object, bool render)
    : m_doc(doc), m_parent(std::move(parent)), m_index(index), m_fresh(std::move(object)),
      m_render(render)
{}

void CInsertObjectCommand::redo()
{
    m_doc.FlushPendingRender();
    CProjectObject* parent = ObjectAt(m_doc.Root(), m_parent);
    if (!parent)
        return;
    std::unique_ptr<CProjectObject> object =
        m_fresh ? std::move(m_fresh) : RestoreSubtree(*parent, m_snapshot);
    if (!object)
        return;
    CProjectObject* inserted = object.get();
    if (!parent->InsertChild(std::move(object), m_index))
        return;
    if (m_render)
        inserted->Prepare(RenderForm::Display);
    // A new implicit window is shown as its zone.
    CProjectObject* shown = inserted;
    if (shown->GetFore() == 0 && shown->GetChildCount() > 0)
        shown = shown->GetChild(0);
    m_doc.NotifyStructureChanged(shown);
}

void CInsertObjectCommand::undo()
{
    CProjectObject* parent = ObjectAt(m_doc.Root(), m_parent);
    if (!parent || !parent->GetChild(m_index))
        return;
    m_snapshot = SnapshotSubtree(*parent->GetChild(m_index));
    m_doc.DetachChild(*parent, m_index);
    m_render = true;
    m_doc.NotifyStructureChanged(VisibleAt(m_doc.Root(), m_parent));
}

CRemoveObjectCommand::CRemoveObjectCommand(CLumivantDoc& doc, ObjectPath object, ObjectPath select)
    : m_doc(doc), m_object(std::move(object)), m_select(std::move(select))
{}

void CRemoveObjectCommand::redo()
{
    CProjectObject* object = ObjectAt(m_doc.Root(), m_object);
    if (!object || !object->Parent())
        return;
    m_snapshot = SnapshotSubtree(*object);
    CProjectObject& parent = *object->Parent();
    m_doc.DetachChild(parent, parent.IndexOfChild(object));
    m_doc.NotifyStructureChanged(VisibleAt(m_doc.Root(), m_select));
}

void CRemoveObjectCommand::undo()
{
    m_doc.FlushPendingRender();
    ObjectPath parentPath(m_object.begin(), m_object.end() - 1);
    CProjectObject* parent = ObjectAt(m_doc.Root(), parentPath);
    if (!parent)
        return;
    std::unique_ptr<CProjectObject> object = RestoreSubtree(*parent, m_snapshot);
    if (!object)
        return;
    CProjectObject* restored = object.get();
    if (!parent->InsertChild(std::move(object), m_object.back()))
        return;
    restored->Prepare(RenderForm::Display);
    CProjectObject* shown = restored;
    if (shown->GetFore() == 0 && shown->GetChildCount() > 0)
        shown = shown->GetChild(0);
    m_doc.NotifyStructureChanged(shown);
}

CSwapObjectsCommand::CSwapObjectsCommand(CLumivantDoc& doc, ObjectPath object, int toIndex,
                                         bool selectChild)
    : m_doc(doc), m_parent(object.begin(), object.end() - 1), m_from(object.back()), m_to(toIndex),
      m_selectChild(selectChild)
{}

void CSwapObjectsCommand::Swap(int from, int to)
{
    m_doc.FlushPendingRender();
    CProjectObject* parent = ObjectAt(m_doc.Root(), m_parent);
    if (!parent || !parent->GetChild(from) || !parent->GetChild(to))
        return;
    std::unique_ptr<CProjectObject> moved = parent->RemoveChildAt(from);
    CProjectObject* object = moved.get();
    parent->InsertChild(std::move(moved), to);
    CProjectObject* shown =
        m_selectChild && object->GetChildCount() > 0 ? object->GetChild(0) : object;
    m_doc.NotifyStructureChanged(shown);
}
