#include "model/source_path.h"

#include "model/project_root.h"

#include <QDir>
#include <QFileInfo>

QString ResolveSourcePath(const CProjectObject& object, const QString& path)
{
    if (path.isEmpty() || QDir::isAbsolutePath(path))
        return path;
    const CProjectObject* top = &object;
    while (top->Parent())
        top = top->Parent();
    if (top->GetKind() != KindRoot)
        return path;
    const QString& projectPath = static_cast<const CProjectRoot*>(top)->ProjectPath();
    if (projectPath.isEmpty())
        return path;
    const QString beside = QFileInfo(projectPath).dir().filePath(path);
    return QFileInfo::exists(beside) ? beside : path;
}
