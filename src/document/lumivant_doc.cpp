#include "document/lumivant_doc.h"

#include "document/property_edit_step.h"
#include "model/effect_zone.h"
#include "model/play_window.h"
#include "model/program.h"
#include "model/project_root.h"
#include "model/screen.h"

#include <algorithm>

namespace {

template <typename T> T* AncestorOfKind(CProjectObject* object, int kind)
{
    for (CProjectObject* at = object; at; at = at->Parent()) {
        if (at->GetKind() == kind)
            return static_cast<T*>(at);
    }
    return nullptr;
}

} // namespace

CLumivantDoc::CLumivantDoc(QObject* parent) : QObject(parent), m_root(CProjectRoot::NewProject())
{
    qRegisterMetaType<CProjectObject*>();
    m_renderTimer.setSingleShot(true);
    m_renderTimer.setInterval(kRenderDelayMs);
    connect(&m_renderTimer, &QTimer::timeout, this, [this] { RenderPending(); });
    connect(&m_undo, &QUndoStack::cleanChanged, this, [this] { EmitModified(); });
    connect(&m_undo, &QUndoStack::indexChanged, this, [this] { EmitModified(); });
}

CLumivantDoc::~CLumivantDoc()
{
    // Commands refer to the root: let them go first.
    m_undo.clear();
}

void CLumivantDoc::SetRoot(std::unique_ptr<CProjectRoot> root, const QString& path)
{
    m_renderTimer.stop();
    m_pendingRender.clear();
    m_prepared.clear();
    m_current = nullptr;
    m_undo.clear();
    m_root = std::move(root);
    m_forcedModified = false;
    SetFilePath(path);
    m_undo.setClean();
    EmitModified();
    emit projectReplaced();
}

void CLumivantDoc::SetFilePath(const QString& path)
{
    if (m_path == path)
        return;
    m_path = path;
    emit filePathChanged(m_path);
}

void CLumivantDoc::SetClean()
{
    m_forcedModified = false;
    m_undo.setClean();
    EmitModified();
}

void CLumivantDoc::SetModified()
{
    m_forcedModified = true;
    EmitModified();
}

void CLumivantDoc::EmitModified()
{
    const bool modified = IsModified();
    if (modified == m_lastModified)
        return;
    m_lastModified = modified;
    emit modifiedChanged(modified);
}

void CLumivantDoc::SetCurrentObject(CProjectObject* object)
{
    if (m_current == object)
        return;
    m_current = object;
    emit currentChanged(object);
}

CScreen* CLumivantDoc::CurrentScreen() const
{
    if (CScreen* screen = AncestorOfKind<CScreen>(m_current, KindScreen))
        return screen;
    if (m_current)
        return nullptr;
    return static_cast<CScreen*>(m_root->GetChild(0));
}

CProgram* CLumivantDoc::CurrentProgram() const
{
    if (!m_current)
        return nullptr;
    if (m_current->GetKind() == KindScreen) {
        CProjectObject* first = m_current->GetChild(0);
        return first && first->GetKind() == KindProgram ? static_cast<CProgram*>(first) : nullptr;
    }
    return AncestorOfKind<CProgram>(m_current, KindProgram);
}

CPlayWindow* CLumivantDoc::CurrentWindow() const
{
    return AncestorOfKind<CPlayWindow>(m_current, KindWindow);
}

void CLumivantDoc::EditObject(CProjectObject& object, RefreshCode code, bool rerender,
                              const std::function<void()>& change, int mergeId)
{
    QByteArray before = SnapshotProperties(object);
    change();
    QByteArray after = SnapshotProperties(object);
    if (before != after) {
        m_undo.push(new CPropertyEditCommand(*this, PathOf(object), std::move(before),
                                             std::move(after), code, rerender, mergeId));
    }
    NotifyChanged(object, code, rerender);
}

void CLumivantDoc::NotifyChanged(CProjectObject& object, RefreshCode code, bool rerender)
{
    if (rerender)
        ScheduleRender(object);
    emit objectChanged(&object, static_cast<int>(code));
}

void CLumivantDoc::NotifyStructureChanged(CProjectObject* select)
{
    emit structureChanged(select);
}

void CLumivantDoc::ScheduleRender(CProjectObject& object)
{
    ObjectPath path = PathOf(object);
    if (std::find(m_pendingRender.begin(), m_pendingRender.end(), path) == m_pendingRender.end())
        m_pendingRender.push_back(std::move(path));
    m_renderTimer.start();
}

void CLumivantDoc::FlushPendingRender()
{
    if (m_pendingRender.empty())
        return;
    m_renderTimer.stop();
    RenderPending();
}

void CLumivantDoc::RenderPending()
{
    std::vector<ObjectPath> pending;
    pending.swap(m_pendingRender);
    for (const ObjectPath& path : pending) {
        if (CProjectObject* object = ObjectAt(*m_root, path))
            RenderNow(*object);
    }
}

void CLumivantDoc::RenderNow(CProjectObject& object)
{
    object.Prepare(RenderForm::Display);
    emit objectRendered(&object);
}

void CLumivantDoc::EnsurePrepared(CProgram& program)
{
    if (!m_prepared.insert(&program).second)
        return;
    program.Prepare(RenderForm::Display);
}

bool CLumivantDoc::IsWithin(const CProjectObject* object, const CProjectObject* ancestor)
{
    for (const CProjectObject* at = object; at; at = at->Parent()) {
        if (at == ancestor)
            return true;
    }
    return false;
}

void CLumivantDoc::DetachChild(CProjectObject& parent, int index)
{
    CProjectObject* child = parent.GetChild(index);
    if (!child)
        return;
    FlushPendingRender();
    if (IsWithin(m_current, child))
        SetCurrentObject(nullptr);
    emit aboutToRemove(child);
    ForgetRendering(*child);
    parent.RemoveChildAt(index);
}

void CLumivantDoc::ForgetRendering(const CProjectObject& subtree)
{
    if (subtree.GetKind() == KindProgram)
        m_prepared.erase(static_cast<const CProgram*>(&subtree));
    if (subtree.GetKind() == KindScreen || subtree.GetKind() == KindRoot)
        subtree.ForEachChild([this](const CProjectObject& child) { ForgetRendering(child); });
}
