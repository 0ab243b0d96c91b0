#include "document/edit_commands.h"

#include "base/messages.h"
#include "base/string_table.h"
#include "document/lumivant_doc.h"
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

QString AddLabel(const CProjectObject& object)
{
    return CommandText(QT_TRANSLATE_NOOP("DocumentCommands", "Add %1")).arg(object.GetName());
}

// Appends a program to the screen as an undo step; null (with 41066) at the limit.
CProgram* AppendProgram(CLumivantDoc& doc, CScreen& screen)
{
    if (screen.GetChildCount() >= CScreen::kMaxPrograms) {
        ShowWarning(LoadString(kTooManyPrograms));
        return nullptr;
    }
    auto program = screen.CreateChild(KindProgram);
    const QString label = AddLabel(*program);
    return static_cast<CProgram*>(doc.InsertObject(screen, std::move(program), -1, false, label));
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

// The object Move up and Move down act on: a zone of an implicit window moves its window.
// Null for a screen, the root or nothing.
CProjectObject* MovedObject(const CLumivantDoc& doc)
{
    CProjectObject* object = doc.CurrentObject();
    if (!object || !object->Parent() || object->GetKind() == KindScreen ||
        object->GetKind() == KindRoot)
        return nullptr;
    if (object->Parent()->GetFore() == 0)
        object = object->Parent();
    return object->Parent() ? object : nullptr;
}

// The index Move up or Move down gives, or -1 when the object is already at that end.
int MoveTarget(const CProjectObject& object, bool up)
{
    const int index = object.Parent()->IndexOfChild(&object);
    const int last = object.Parent()->GetChildCount() - 1;
    if ((up && index == 0) || (!up && index >= last))
        return -1;
    return up ? index - 1 : index + 1;
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
    CChangeGroup group(doc, CommandText(QT_TRANSLATE_NOOP("DocumentCommands", "Add Window")));
    if (!program)
        program = AppendProgram(doc, *screen);
    if (!program)
        return false;
    auto window = NewWindow(*program, 1);
    const QString label = AddLabel(*window);
    return doc.InsertObject(*program, std::move(window), -1, false, label) != nullptr;
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

    const bool render = kind != KindImage; // an image renders once it has a file
    if (window) {
        if (window->GetChildCount() >= CPlayWindow::kMaxZones) {
            ShowWarning(LoadString(kTooManyZones));
            return false;
        }
        auto zone = window->CreateChild(kind);
        if (!zone)
            return false;
        const QString label = AddLabel(*zone);
        return doc.InsertObject(*window, std::move(zone), -1, render, label) != nullptr;
    }
    if (!program && !screen)
        return false;
    // A new implicit window carries the zone; the program must have room for it.
    if (program && program->GetChildCount() >= CProgram::kMaxWindows) {
        ShowWarning(LoadString(kTooManyWindows));
        return false;
    }
    CChangeGroup group(doc, CommandText(QT_TRANSLATE_NOOP("DocumentCommands", "Add Zone")));
    if (!program)
        program = AppendProgram(doc, *screen);
    if (!program)
        return false;
    auto implicitWindow = NewWindow(*program, 0);
    // The new window is not in the project yet: the zone goes into it directly.
    auto zone = implicitWindow->CreateChild(kind);
    if (!zone)
        return false;
    const QString label = AddLabel(*zone);
    implicitWindow->AddChild(std::move(zone));
    return doc.InsertObject(*program, std::move(implicitWindow), -1, render, label) != nullptr;
}

bool DeleteCurrentObject(CLumivantDoc& doc)
{
    if (!CanDeleteCurrentObject(doc))
        return false;
    CProjectObject* object = doc.CurrentObject();
    CProjectObject* parent = object->Parent();
    if (parent->GetKind() == KindWindow && parent->GetFore() == 0 && parent->Parent()) {
        object = parent;
        parent = parent->Parent();
    }
    const QString name = doc.CurrentObject()->GetName();
    return doc.RemoveObject(
        *object, parent, CommandText(QT_TRANSLATE_NOOP("DocumentCommands", "Delete %1")).arg(name));
}

bool CanDeleteCurrentObject(const CLumivantDoc& doc)
{
    const CProjectObject* object = doc.CurrentObject();
    return object && object->Parent() && object->GetKind() != KindScreen &&
           object->GetKind() != KindRoot;
}

bool MoveCurrentObject(CLumivantDoc& doc, bool up)
{
    CProjectObject* object = MovedObject(doc);
    if (!object)
        return false;
    const int target = MoveTarget(*object, up);
    if (target < 0)
        return false;
    const QString name = doc.CurrentObject()->GetName();
    const QString label =
        up ? CommandText(QT_TRANSLATE_NOOP("DocumentCommands", "Move %1 up")).arg(name)
           : CommandText(QT_TRANSLATE_NOOP("DocumentCommands", "Move %1 down")).arg(name);
    CProjectObject* shown = object == doc.CurrentObject() ? nullptr : doc.CurrentObject();
    return doc.MoveObject(*object, target, shown, label);
}

bool CanMoveCurrentObject(const CLumivantDoc& doc, bool up)
{
    const CProjectObject* object = MovedObject(doc);
    return object && MoveTarget(*object, up) >= 0;
}
