#pragma once

#include "document/refresh_code.h"
#include "model/object_snapshot.h"

#include <QObject>
#include <QString>
#include <QTimer>
#include <QUndoStack>

#include <functional>
#include <memory>
#include <set>
#include <vector>

class CProjectObject;
class CProjectRoot;
class CScreen;
class CProgram;
class CPlayWindow;

Q_DECLARE_OPAQUE_POINTER(CProjectObject*)
Q_DECLARE_METATYPE(CProjectObject*)

// The open project and what the views share about it: the current selection, the undo
// history, the delayed re-rendering of edited zones and the change notifications.
// Every change to the project goes through here, so that it can be undone and every view
// hears of it.
class CLumivantDoc : public QObject
{
    Q_OBJECT

public:
    // How long a re-render waits for more edits of the same zone.
    static constexpr int kRenderDelayMs = 300;

    explicit CLumivantDoc(QObject* parent = nullptr);
    ~CLumivantDoc() override;

    CProjectRoot& Root() { return *m_root; }
    const CProjectRoot& Root() const { return *m_root; }
    // Replaces the project (New, Open, recovery); the history starts again.
    void SetRoot(std::unique_ptr<CProjectRoot> root, const QString& path);

    const QString& FilePath() const { return m_path; }
    void SetFilePath(const QString& path);
    bool IsModified() const { return !m_undo.isClean() || m_forcedModified; }
    // Marks the present state as the saved one.
    void SetClean();
    // Marks the project modified without an undo step (a new project, a recovered one).
    void SetModified();

    QUndoStack& UndoStack() { return m_undo; }

    // The selection of the project tree, and the objects derived from it.
    CProjectObject* CurrentObject() const { return m_current; }
    void SetCurrentObject(CProjectObject* object);
    CScreen* CurrentScreen() const;
    CProgram* CurrentProgram() const;
    CPlayWindow* CurrentWindow() const;

    // Edits of one object's own properties. Runs change(), and when it changed anything
    // records one undo step and tells the views. Consecutive edits of the same object
    // with the same non-zero mergeId (typing, dragging a spin box) make one step.
    void EditObject(CProjectObject& object, RefreshCode code, bool rerender,
                    const std::function<void()>& change, int mergeId = 0);

    // Tells the views that the object changed; rerender schedules a delayed re-render.
    void NotifyChanged(CProjectObject& object, RefreshCode code, bool rerender);
    // Tells the views that objects were added, removed or moved; select is what the
    // tree should select afterwards (may be null).
    void NotifyStructureChanged(CProjectObject* select);

    // Rendering for the editor. A scheduled render runs after kRenderDelayMs without
    // another request; several quick requests render once.
    void ScheduleRender(CProjectObject& object);
    // Runs a pending render now (before a delete, a page switch, a send).
    void FlushPendingRender();
    bool HasPendingRender() const { return !m_pendingRender.empty(); }
    // Renders the zones of the program for the editor if that has not happened since
    // the project was loaded; what is not shown is rendered when it is needed.
    void EnsurePrepared(CProgram& program);
    // Forgets which programs are rendered (after the whole screen was rendered again).
    void ForgetPrepared() { m_prepared.clear(); }
    // Renders the object (and everything below it) for the editor at once.
    void RenderNow(CProjectObject& object);

    // Takes a child out of the project and destroys it, after a pending render has run and
    // the views have let go of it; its rendering state is forgotten.
    void DetachChild(CProjectObject& parent, int index);
    // True when object is below (or is) ancestor.
    static bool IsWithin(const CProjectObject* object, const CProjectObject* ancestor);

signals:
    // New, Open or recovery replaced the whole project.
    void projectReplaced();
    void structureChanged(CProjectObject* select);
    void objectChanged(CProjectObject* object, int refreshCode);
    // Pages of the object (a zone, a window, a program, a screen) were rendered again.
    void objectRendered(CProjectObject* object);
    void currentChanged(CProjectObject* object);
    // The object and everything below it are about to be destroyed.
    void aboutToRemove(CProjectObject* object);
    void modifiedChanged(bool modified);
    void filePathChanged(const QString& path);

private:
    void RenderPending();
    void ForgetRendering(const CProjectObject& subtree);
    void EmitModified();

    std::unique_ptr<CProjectRoot> m_root;
    QString m_path;
    QUndoStack m_undo;
    bool m_forcedModified = false;
    bool m_lastModified = false;
    CProjectObject* m_current = nullptr;
    QTimer m_renderTimer;
    std::vector<ObjectPath> m_pendingRender;
    std::set<const CProgram*> m_prepared;
};
