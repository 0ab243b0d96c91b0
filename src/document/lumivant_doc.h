#pragma once

#include "document/refresh_code.h"
#include "model/project_object.h"

#include <QObject>
#include <QString>
#include <QTimer>
#include <QUndoStack>

#include <functional>
#include <memory>
#include <set>
#include <vector>

class CProjectRoot;
class CScreen;
class CProgram;
class CPlayWindow;

Q_DECLARE_OPAQUE_POINTER(CProjectObject*)
Q_DECLARE_METATYPE(CProjectObject*)

// The open project and what the views share about it: the current selection, the undo
// history, the delayed re-rendering of edited zones and the change notifications.
//
// The document is the only writer of the open project. Every change goes through one of
// the change functions below and becomes one named undo step (or part of the step group
// that is open); the views react only to the signals. Undo steps find their objects by
// identity (CProjectObject::GetId), never by position, and a removed object is kept by its
// step, so that undo puts back the very same object.
class CLumivantDoc : public QObject
{
    Q_OBJECT

public:
    // How long a re-render waits for more edits of the same zone.
    static constexpr int kRenderDelayMs = 300;

    // Whether a change of a screen's settings went to its controller as well.
    enum class CardWrite {
        None,   // the project only (values stored, read back from the card)
        WhenOk, // the operation wrote to the controller when it returns true
    };

    explicit CLumivantDoc(QObject* parent = nullptr);
    ~CLumivantDoc() override;

    CProjectRoot& Root() { return *m_root; }
    const CProjectRoot& Root() const { return *m_root; }
    // Replaces the project (New, Open, recovery); the history starts again. A project
    // without a screen gets one.
    void SetRoot(std::unique_ptr<CProjectRoot> root, const QString& path);
    // The object of the open project with that identity, or null.
    CProjectObject* FindObject(CProjectObject::Id id) const;
    // True when object stands in the open project (not in an undo step's keeping).
    bool Contains(const CProjectObject* object) const;

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

    // ---- Changes of the project -------------------------------------------------------

    // Edits of one object's own properties. Runs change(), and when it changed anything
    // records one undo step and tells the views. Consecutive edits of the same object
    // with the same non-zero mergeId (typing, dragging a spin box) make one step. The label
    // says what changed (by default worded from the refresh code and the object's name).
    void EditObject(CProjectObject& object, RefreshCode code, bool rerender,
                    const std::function<void()>& change, int mergeId = 0,
                    const QString& label = {});

    // Puts a new object (with everything below it) under parent at index (-1: last), renders
    // it for the editor when asked, and selects it (a hidden window: its first zone). Returns
    // the object, or null when the parent refuses it.
    CProjectObject* InsertObject(CProjectObject& parent, std::unique_ptr<CProjectObject> object,
                                 int index, bool render, const QString& label);
    // Takes the object (with everything below it) out of the project; the views let go of
    // it first. select is what the tree shows afterwards (null: the object's parent).
    bool RemoveObject(CProjectObject& object, CProjectObject* select, const QString& label);
    // Moves the object to another place among its siblings; the tree selects shown (null:
    // the object).
    bool MoveObject(CProjectObject& object, int toIndex, CProjectObject* shown,
                    const QString& label);

    // +Panel: a new screen (made by the project root, not yet in it) at the end.
    CScreen* AddScreen(std::unique_ptr<CProjectObject> screen);
    // -Panel: never the last screen.
    bool RemoveScreen(CScreen& screen);

    // What a setup form stores in a screen: runs operation (which may read from and write to
    // the controller and changes the screen's parameter block, link settings, identity or
    // send flag), and records what it changed as one undo step named what, with " (sent to
    // the panel)" when card is WhenOk and the operation returned true. Consecutive changes
    // of the same screen with the same non-zero mergeId make one step (the automatic
    // scan-type trial). A screen outside the project (a new screen of +Panel) is changed
    // without a step. Returns what operation returned.
    bool ChangeScreenSettings(CScreen& screen, const QString& what,
                              const std::function<bool()>& operation, CardWrite card,
                              int mergeId = 0);

    // A merge id of its own for a control or a form, so that its steps merge only with its
    // own.
    static int NewMergeId();

    // Several changes as one undo step; groups nest.
    void BeginGroup(const QString& label);
    void EndGroup();

    // ---- For the undo steps ----------------------------------------------------------

    // Takes a child out of the project after a pending render has run and the views have
    // let go of it (aboutToRemove); its link is closed.
    std::unique_ptr<CProjectObject> DetachChild(CProjectObject& parent, int index);
    // Puts a child (back) into the project.
    CProjectObject* AttachChild(CProjectObject& parent, std::unique_ptr<CProjectObject> child,
                                int index);
    // Tells the views that the object changed; rerender schedules a delayed re-render.
    void NotifyChanged(CProjectObject& object, RefreshCode code, bool rerender);
    // Tells the views that objects were added, removed or moved; select is what the
    // tree should select afterwards (may be null).
    void NotifyStructureChanged(CProjectObject* select);
    // Tells the views that a send of the screen ended (whatever its result) and left its
    // receipt in the delivery store.
    void NotifyDelivered(CScreen& screen);

    // ---- Rendering for the editor -----------------------------------------------------

    // A scheduled render runs after kRenderDelayMs without another request; several quick
    // requests render once.
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
    // The object and everything below it are about to leave the project (a delete, an
    // undo, -Panel, the whole project before it is replaced): views must let go of them.
    void aboutToRemove(CProjectObject* object);
    void modifiedChanged(bool modified);
    void delivered(CScreen* screen);
    void filePathChanged(const QString& path);

private:
    void RenderPending();
    void EmitModified();

    std::unique_ptr<CProjectRoot> m_root;
    QString m_path;
    QUndoStack m_undo;
    bool m_forcedModified = false;
    bool m_lastModified = false;
    CProjectObject* m_current = nullptr;
    QTimer m_renderTimer;
    std::vector<CProjectObject::Id> m_pendingRender;
    std::set<CProjectObject::Id> m_prepared;
};

// Groups the changes made while it lives into one undo step.
class CChangeGroup
{
public:
    CChangeGroup(CLumivantDoc& doc, const QString& label) : m_doc(doc) { m_doc.BeginGroup(label); }
    ~CChangeGroup() { m_doc.EndGroup(); }
    CChangeGroup(const CChangeGroup&) = delete;
    CChangeGroup& operator=(const CChangeGroup&) = delete;

private:
    CLumivantDoc& m_doc;
};
