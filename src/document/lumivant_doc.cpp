#include "document/lumivant_doc.h"

#include "document/edit_properties_step.h"
#include "document/rename_step.h"
#include "document/screen_settings_step.h"
#include "document/structure_steps.h"
#include "model/effect_zone.h"
#include "model/object_snapshot.h"
#include "model/play_window.h"
#include "model/program.h"
#include "model/project_root.h"
#include "model/screen.h"
#include "model/screen_link.h"

#include <QCoreApplication>

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

CProjectObject* FindIn(const CProjectObject& object, CProjectObject::Id id)
{
    if (object.GetId() == id)
        return const_cast<CProjectObject*>(&object);
    for (int i = 0; i < object.GetChildCount(); ++i) {
        if (CProjectObject* found = FindIn(*object.GetChild(i), id))
            return found;
    }
    return nullptr;
}

// Closes the controller links of the screens in the subtree.
void CloseLinks(CProjectObject& subtree)
{
    if (subtree.GetKind() == KindScreen) {
        if (CScreenLink* link = static_cast<CScreen&>(subtree).LinkObject())
            link->CloseLink();
        return;
    }
    if (subtree.GetKind() == KindRoot) {
        for (int i = 0; i < subtree.GetChildCount(); ++i)
            CloseLinks(*subtree.GetChild(i));
    }
}

QString Translated(const char* text)
{
    return QCoreApplication::translate("CLumivantDoc", text);
}

QString EditLabel(const CProjectObject& object, RefreshCode code)
{
    switch (code) {
    case RefreshCode::Name:
        return Translated(QT_TRANSLATE_NOOP("CLumivantDoc", "Rename %1")).arg(object.GetName());
    case RefreshCode::Geometry:
        return Translated(QT_TRANSLATE_NOOP("CLumivantDoc", "Change the size or place of %1"))
            .arg(object.GetName());
    case RefreshCode::EffectSettings:
        return Translated(QT_TRANSLATE_NOOP("CLumivantDoc", "Change the effect of %1"))
            .arg(object.GetName());
    case RefreshCode::Content:
        break;
    }
    return Translated(QT_TRANSLATE_NOOP("CLumivantDoc", "Change %1")).arg(object.GetName());
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
    // Steps keep objects that may hold links: let them go before the project.
    m_undo.clear();
}

void CLumivantDoc::SetRoot(std::unique_ptr<CProjectRoot> root, const QString& path)
{
    m_renderTimer.stop();
    m_pendingRender.clear();
    SetCurrentObject(nullptr);
    emit aboutToRemove(m_root.get());
    CloseLinks(*m_root);
    m_undo.clear();
    m_prepared.clear();
    m_root = std::move(root);
    m_root->EnsureScreen();
    m_forcedModified = false;
    SetFilePath(path);
    m_undo.setClean();
    EmitModified();
    emit projectReplaced();
}

CProjectObject* CLumivantDoc::FindObject(CProjectObject::Id id) const
{
    return id == 0 ? nullptr : FindIn(*m_root, id);
}

bool CLumivantDoc::Contains(const CProjectObject* object) const
{
    // A new object knows its parent before the parent holds it.
    for (const CProjectObject* at = object; at; at = at->Parent()) {
        if (at == m_root.get())
            return true;
        if (!at->Parent() || at->Parent()->IndexOfChild(at) < 0)
            return false;
    }
    return false;
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
    CProjectObject* first = m_root->GetChild(0);
    return first && first->GetKind() == KindScreen ? static_cast<CScreen*>(first) : nullptr;
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
                              const std::function<void()>& change, int mergeId,
                              const QString& label)
{
    const QString stepLabel = label.isEmpty() ? EditLabel(object, code) : label;
    if (code == RefreshCode::Name) {
        // A name is one field: its step holds nothing else of the object.
        QString before = object.GetName();
        change();
        if (object.GetName() != before)
            m_undo.push(
                new CRenameStep(*this, object, before, object.GetName(), mergeId, stepLabel));
        NotifyChanged(object, code, rerender);
        return;
    }
    QByteArray before = SnapshotProperties(object);
    change();
    QByteArray after = SnapshotProperties(object);
    if (before != after) {
        m_undo.push(new CEditPropertiesStep(*this, object, std::move(before), std::move(after),
                                            code, rerender, mergeId, stepLabel));
    }
    NotifyChanged(object, code, rerender);
}

CProjectObject* CLumivantDoc::InsertObject(CProjectObject& parent,
                                           std::unique_ptr<CProjectObject> object, int index,
                                           bool render, const QString& label)
{
    if (!object || !Contains(&parent))
        return nullptr;
    if (index < 0 || index > parent.GetChildCount())
        index = parent.GetChildCount();
    const CProjectObject::Id id = object->GetId();
    m_undo.push(new CInsertObjectStep(*this, parent, index, std::move(object), render, label));
    CProjectObject* inserted = parent.GetChild(index);
    return inserted && inserted->GetId() == id ? inserted : nullptr;
}

bool CLumivantDoc::RemoveObject(CProjectObject& object, CProjectObject* select,
                                const QString& label)
{
    if (!Contains(&object) || !object.Parent())
        return false;
    FlushPendingRender();
    m_undo.push(new CRemoveObjectStep(*this, object, select ? select->GetId() : 0, label));
    return true;
}

bool CLumivantDoc::MoveObject(CProjectObject& object, int toIndex, CProjectObject* shown,
                              const QString& label)
{
    CProjectObject* parent = object.Parent();
    if (!Contains(&object) || !parent || toIndex < 0 || toIndex >= parent->GetChildCount() ||
        parent->IndexOfChild(&object) == toIndex)
        return false;
    m_undo.push(new CMoveObjectStep(*this, object, toIndex, shown ? shown->GetId() : 0, label));
    return true;
}

CScreen* CLumivantDoc::AddScreen(std::unique_ptr<CProjectObject> screen)
{
    if (!screen || screen->GetKind() != KindScreen)
        return nullptr;
    const QString label =
        Translated(QT_TRANSLATE_NOOP("CLumivantDoc", "Add %1")).arg(screen->GetName());
    CProjectObject* added = InsertObject(*m_root, std::move(screen), -1, true, label);
    return static_cast<CScreen*>(added);
}

bool CLumivantDoc::RemoveScreen(CScreen& screen)
{
    if (!Contains(&screen) || m_root->GetChildCount() <= 1)
        return false;
    return RemoveObject(
        screen, nullptr,
        Translated(QT_TRANSLATE_NOOP("CLumivantDoc", "Delete %1")).arg(screen.GetName()));
}

bool CLumivantDoc::ChangeScreenSettings(CScreen& screen, const QString& what,
                                        const std::function<bool()>& operation, CardWrite card,
                                        int mergeId)
{
    if (!Contains(&screen))
        return operation();
    const ScreenSettings before = ScreenSettings::Of(screen);
    const bool result = operation();
    const ScreenSettings after = ScreenSettings::Of(screen);
    if (after == before)
        return result;
    const bool sent = card == CardWrite::WhenOk && result;
    m_undo.push(new CScreenSettingsStep(*this, screen, before, after, mergeId, what, sent));
    const bool redraw = before.params.PanelWidth() != after.params.PanelWidth() ||
                        before.params.PanelHeight() != after.params.PanelHeight() ||
                        before.params.ColourDepth() != after.params.ColourDepth();
    NotifyChanged(screen, RefreshCode::Geometry, redraw);
    return result;
}

int CLumivantDoc::NewMergeId()
{
    static int next = 1000;
    return ++next;
}

void CLumivantDoc::BeginGroup(const QString& label)
{
    m_undo.beginMacro(label);
}

void CLumivantDoc::EndGroup()
{
    m_undo.endMacro();
}

std::unique_ptr<CProjectObject> CLumivantDoc::DetachChild(CProjectObject& parent, int index)
{
    CProjectObject* child = parent.GetChild(index);
    if (!child)
        return nullptr;
    FlushPendingRender();
    if (IsWithin(m_current, child))
        SetCurrentObject(nullptr);
    emit aboutToRemove(child);
    CloseLinks(*child);
    return parent.RemoveChildAt(index);
}

CProjectObject* CLumivantDoc::AttachChild(CProjectObject& parent,
                                          std::unique_ptr<CProjectObject> child, int index)
{
    CProjectObject* attached = child.get();
    if (!parent.InsertChild(std::move(child), index))
        return nullptr;
    return attached;
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

void CLumivantDoc::NotifyDelivered(CScreen& screen)
{
    emit delivered(&screen);
}

void CLumivantDoc::ScheduleRender(CProjectObject& object)
{
    const CProjectObject::Id id = object.GetId();
    if (std::find(m_pendingRender.begin(), m_pendingRender.end(), id) == m_pendingRender.end())
        m_pendingRender.push_back(id);
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
    std::vector<CProjectObject::Id> pending;
    pending.swap(m_pendingRender);
    for (const CProjectObject::Id id : pending) {
        if (CProjectObject* object = FindObject(id))
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
    if (!m_prepared.insert(program.GetId()).second)
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
