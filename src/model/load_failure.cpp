#include "model/load_failure.h"

#include "base/string_table.h"
#include "model/project_object.h"

#include <QFile>
#include <QFileInfo>

namespace {

QString Reason(LoadProblem problem, const QString& detail)
{
    switch (problem) {
    case LoadProblem::Missing:
        return QStringLiteral("The file does not exist.");
    case LoadProblem::Folder:
        return QStringLiteral("It is a folder, not a file.");
    case LoadProblem::Empty:
        return QStringLiteral("The file is empty.");
    case LoadProblem::Unreadable:
        return QStringLiteral("The file cannot be opened: %1.").arg(detail);
    case LoadProblem::NotXml:
        return QStringLiteral("The file is not XML: %1.").arg(detail);
    case LoadProblem::NoRoot:
        return QStringLiteral("The file holds no XML element.");
    case LoadProblem::NotAProject:
        return QStringLiteral("The root element <%1> holds no project (no <Varnolite> element).")
            .arg(detail);
    case LoadProblem::TooDeep:
        return QStringLiteral("Its objects nest deeper than %1 levels.")
            .arg(CProjectObject::kMaxObjectLevels);
    case LoadProblem::Unknown:
        break;
    }
    return {};
}

} // namespace

QString LoadFailureText(LoadProblem problem, const QString& detail)
{
    const QString reason = Reason(problem, detail);
    return reason.isEmpty() ? LoadString(59142) : LoadString(59142) + u' ' + reason;
}

LoadProblem FileProblem(const QString& path, QString& detail)
{
    const QFileInfo info(path);
    if (!info.exists())
        return LoadProblem::Missing;
    if (info.isDir())
        return LoadProblem::Folder;
    // Anything but a plain file is left to the loader (a pipe would block the open).
    if (!info.isFile())
        return LoadProblem::Unknown;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        detail = file.errorString();
        return LoadProblem::Unreadable;
    }
    if (file.size() == 0 && file.atEnd())
        return LoadProblem::Empty;
    return LoadProblem::Unknown;
}
