#include "document/edit_commands.h"

#include "base/messages.h"
#include "base/string_table.h"
#include "document/lumivant_doc.h"
#include "document/structure_steps.h"
#include "model/play_window.h"
#include "model/program.h"
#include "model/project_root.h"
#include "model/screen.h"

#include <QCoreApplication>

namespace {

constexpr int kTooManyWindows = 41064;
constexpr int kTooManyPrograms = 41066;
constexpr int kTooManyZones = 41067;

QString CommandText(const char* text)
{
    return QCoreApplication::translate("DocumentCommands", text);
}

void Insert(CLumivantDoc& doc, CProjectObject& parent, std::unique_ptr<CProjectObject> object,
            bool render)
{
    const int index = parent.GetChildCount();
    doc.UndoStack().push(
        new CInsertObjectCommand(doc, PathOf(parent), index, std::move(object), render));
}

// Appends a program to the screen as an undo step; null (with 41066) at the limit.
CProgram* AppendProgram(CLumivantDoc& doc, CScreen& screen)
{
    if (screen.GetChildCount() >= CScreen::kMaxPrograms) {
        ShowWarning(LoadString(kTooManyPrograms));
        return nullptr;
    }
    Insert(doc, screen, screen.CreateChild(KindProgram), false);
    return static_cast<CProgram*>(screen.GetChild(screen.GetChildCount() - 1));
}

std::unique_ptr<CProjectObject> NewWindow(CProgram& program, int fore)
{
    auto window = program.CreateChild(KindWindow);
    window->SetFore(fore);
    static_cast<CPlayWindow*>(window.get())->SetWindowRect(program.DefaultWindowRect());
    return window;
}

CProgram* FirstProgram(CScreen& screen)
{
    for (int i = 0; i < screen.GetChildCount(); ++i) {
        if (screen.GetChild(i)->GetKind() == KindProgram)
            return static_cast<CProgram*>(screen.GetChild(i));
    }
    return nullptr;
}

} // namespace

bool AddProgram(CLumivantDoc& doc)
{
    CScreen* screen = doc.CurrentScreen();
    if (!screen)
        return false;
    return AppendProgram(doc, *screen) != nullptr;
}

bool AddWindow(CLumivantDoc& doc)
{
    CProgram* program = doc.CurrentProgram();
    CScreen* screen = doc.CurrentScreen();
    if (!program && !screen)
        return false;
    if (program && program->GetChildCount() >= CProgram::kMaxWindows) {
        ShowWarning(LoadString(kTooManyWindows));
        return false;
    }
    doc.UndoStack().beginMacro(CommandText(QT_TRANSLATE_NOOP("DocumentCommands", "Add Window")));
    if (!program)
        program = AppendProgram(doc, *screen);
    if (program)
        Insert(doc, *program, NewWindow(*program, 1), false);
    doc.UndoStack().endMacro();
    return program != nullptr;
}

bool AddZone(CLumivantDoc& doc, int kind)
{
    CProjectObject* selected = doc.CurrentObject();
    if (!selected || !IsZoneKind(kind))
        return false;
    CPlayWindow* window = nullptr;
    CProgram* program = nullptr;
    CScreen* screen = nullptr;
    switch (selected->GetKind()) {
    case KindScreen:
        screen = static_cast<CScreen*>(selected);
        program = FirstProgram(*screen);
        break;
    case KindProgram:
        program = static_cast<CProgram*>(selected);
        break;
    case KindWindow:
        if (selected->GetFore() != 0)
            window = static_cast<CPlayWindow*>(selected);
        else
            program = doc.CurrentProgram();
        break;
    default:
        if (selected->Parent() && selected->Parent()->GetKind() == KindWindow &&
            selected->Parent()->GetFore() != 0)
            window = static_cast<CPlayWindow*>(selected->Parent());
        else
            program = doc.CurrentProgram();
        break;
    }

    if (window) {
        if (window->GetChildCount() >= CPlayWindow::kMaxZones) {
            ShowWarning(LoadString(kTooManyZones));
            return false;
        }
        auto zone = window->CreateChild(kind);
        if (!zone)
            return false;
        Insert(doc, *window, std::move(zone), kind != KindImage);
        return true;
    }
    if (!program && !screen)
        return false;
    // A new implicit window carries the zone; the program must have room for it.
    if (program && program->GetChildCount() >= CProgram::kMaxWindows) {
        ShowWarning(LoadString(kTooManyWindows));
        return false;
    }
    doc.UndoStack().beginMacro(CommandText(QT_TRANSLATE_NOOP("DocumentCommands", "Add Zone")));
    if (!program)
        program = AppendProgram(doc, *screen);
    if (program) {
        auto implicitWindow = NewWindow(*program, 0);
        implicitWindow->AddChild(implicitWindow->CreateChild(kind));
        Insert(doc, *program, std::move(implicitWindow), kind != KindImage);
    }
    doc.UndoStack().endMacro();
    return program != nullptr;
}

bool DeleteCurrentObject(CLumivantDoc& doc)
{
    CProjectObject* object = doc.CurrentObject();
    if (!object || !object->Parent() || object->GetKind() == KindScreen ||
        object->GetKind() == KindRoot)
        return false;
    doc.FlushPendingRender();
    CProjectObject* parent = object->Parent();
    if (parent->GetKind() == KindWindow && parent->GetFore() == 0 && parent->Parent()) {
        object = parent;
        parent = parent->Parent();
    }
    doc.SetCurrentObject(nullptr);
    doc.UndoStack().push(new CRemoveObjectCommand(doc, PathOf(*object), PathOf(*parent)));
    return true;
}

bool MoveCurrentObject(CLumivantDoc& doc, bool up)
{
    CProjectObject* object = doc.CurrentObject();
    if (!object || !object->Parent() || object->GetKind() == KindScreen ||
        object->GetKind() == KindRoot)
        return false;
    bool selectChild = false;
    if (object->Parent()->GetFore() == 0) {
        object = object->Parent();
        selectChild = true;
        if (!object->Parent())
            return false;
    }
    const int index = object->Parent()->IndexOfChild(object);
    const int last = object->Parent()->GetChildCount() - 1;
    if ((up && index == 0) || (!up && index >= last))
        return false;
    doc.UndoStack().push(
        new CSwapObjectsCommand(doc, PathOf(*object), up ? index - 1 : index + 1, selectChild));
    return true;
}
