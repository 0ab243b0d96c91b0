#include "cli/cli_project.h"

#include "base/last_error.h"
#include "base/string_table.h"
#include "model/project_root.h"
#include "model/screen.h"

#include <QDir>
#include <QFileInfo>

std::unique_ptr<CProjectRoot> LoadProjectForCli(const QString& path)
{
    auto root = std::make_unique<CProjectRoot>();
    if (!root->LoadProject(path)) {
        const QString reason =
            LastError().isEmpty() ? QStringLiteral("Failed on load project.") : LastError();
        CliFail(QStringLiteral("%1: %2").arg(path, reason));
        return nullptr;
    }
    if (!root->EnsureScreen()) {
        CliFail(QStringLiteral("%1: %2 The first object of the project is not a screen.")
                    .arg(path, LoadString(59142)));
        return nullptr;
    }
    return root;
}

CScreen* ScreenForCli(CProjectRoot& root, const CliArguments& arguments, int& status)
{
    int number = 1;
    QString error;
    if (!arguments.IntValue(QStringLiteral("screen"), 1, root.GetChildCount(), number, error)) {
        status = CliUsageError(error);
        return nullptr;
    }
    CProjectObject* object = root.GetChild(number - 1);
    if (!object || object->GetKind() != KindScreen) {
        // The file is at fault, not the command line.
        status = CliFail(QStringLiteral("object %1 of the project is not a screen").arg(number));
        return nullptr;
    }
    return static_cast<CScreen*>(object);
}

CScreen* LoadScreenForCli(const QString& path, const CliArguments& arguments,
                          std::unique_ptr<CProjectRoot>& root, int& status)
{
    root = LoadProjectForCli(path);
    if (!root) {
        status = CliFailed;
        return nullptr;
    }
    return ScreenForCli(*root, arguments, status);
}

bool LockProjectForCli(const QString& path, CProjectLock& lock)
{
    if (lock.Acquire(path))
        return true;
    CliFail(lock.Error());
    return false;
}

bool SaveProjectForCli(CProjectRoot& root, const QString& path, const FileStamp& readStamp)
{
    CProjectLock lock;
    if (!LockProjectForCli(path, lock))
        return false;
    if (FileStamp::Of(path) != readStamp) {
        CliFail(LoadString(61802).arg(QDir::toNativeSeparators(path)));
        return false;
    }
    ClearLastError();
    if (!root.SaveProject(path)) {
        CliFail(LastError());
        return false;
    }
    return true;
}
