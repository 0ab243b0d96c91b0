// lumivant-cli new and info.
#include "cli/cli_command.h"
#include "cli/cli_project.h"

#include "base/last_error.h"
#include "model/controller_params.h"
#include "model/play_window.h"
#include "model/program.h"
#include "model/project_root.h"
#include "model/project_tree_json.h"
#include "model/screen.h"

#include <QFileInfo>
#include <QJsonDocument>

namespace {

QString KindLabel(int kind)
{
    const QString word = KindWord(kind);
    return word.isEmpty() ? QStringLiteral("kind %1").arg(kind) : word;
}

QString Describe(const CProjectObject& object)
{
    // The root's name is a placeholder no one chose: the file names the project.
    const QString name =
        object.GetKind() == KindRoot
            ? QFileInfo(static_cast<const CProjectRoot&>(object).ProjectPath()).fileName()
            : object.GetName();
    QString line = QStringLiteral("%1 [%2]").arg(name, KindLabel(object.GetKind()));
    if (object.GetKind() == KindScreen) {
        const auto& screen = static_cast<const CScreen&>(object);
        static const char* const kColours[] = {"R", "R", "RG", "RGB"};
        line += QStringLiteral(" %1x%2 %3")
                    .arg(screen.Width())
                    .arg(screen.Height())
                    .arg(QLatin1String(kColours[screen.ColourDepth()]));
    } else if (object.GetKind() == KindWindow) {
        const LedRect& r = static_cast<const CPlayWindow&>(object).WindowRect();
        line += QStringLiteral(" %1,%2,%3,%4").arg(r.left).arg(r.top).arg(r.right).arg(r.bottom);
        if (object.GetFore() == 0)
            line += QStringLiteral(" implicit");
    }
    return line;
}

void PrintTree(const CProjectObject& object, int depth)
{
    CliPrint(QString(depth * 2, u' ') + Describe(object));
    object.ForEachChild([&](const CProjectObject& child) { PrintTree(child, depth + 1); });
}

} // namespace

int RunNew(const QStringList& words)
{
    QString error;
    int usageStatus = CliOk;
    const auto arguments = CliArguments::ParseCommand(
        words, {QStringLiteral("width"), QStringLiteral("height"), QStringLiteral("colors")},
        {QStringLiteral("force")}, 1, QStringLiteral("new takes one FILE"), usageStatus);
    if (!arguments)
        return usageStatus;
    int width = 256;
    int height = 32;
    int colours = 2;
    if (!arguments->IntValue(QStringLiteral("width"), 1, CScreen::kMaxWidth, width, error) ||
        !arguments->IntValue(QStringLiteral("height"), 1, CScreen::kMaxHeight, height, error) ||
        !arguments->IntValue(QStringLiteral("colors"), 1, 3, colours, error))
        return CliUsageError(error);

    const QString path = arguments->Positional().first();
    if (QFileInfo(path).isDir())
        return CliFail(QStringLiteral("%1 is a folder.").arg(path));
    CProjectLock lock;
    if (!LockProjectForCli(path, lock))
        return CliFailed;
    if (QFileInfo::exists(path) && !arguments->Has(QStringLiteral("force")))
        return CliFail(
            QStringLiteral("%1 already exists; --force replaces it with a new project.").arg(path));

    auto root = CProjectRoot::NewProject();
    auto* screen = static_cast<CScreen*>(root->GetChild(0));
    screen->Params().SetU16(ControllerParams::Width, static_cast<std::uint16_t>(width));
    screen->Params().SetU16(ControllerParams::Height, static_cast<std::uint16_t>(height));
    screen->Params().SetU8(ControllerParams::ColourType, static_cast<std::uint8_t>(colours));
    if (!root->SaveProject(path))
        return CliFail(LastError());
    return CliOk;
}

int RunInfo(const QStringList& words)
{
    int usageStatus = CliOk;
    const auto arguments = CliArguments::ParseCommand(
        words, {}, {QStringLiteral("json")}, 1, QStringLiteral("info takes one FILE"), usageStatus);
    if (!arguments)
        return usageStatus;
    const auto root = LoadProjectForCli(arguments->Positional().first());
    if (!root)
        return CliFailed;
    if (arguments->Has(QStringLiteral("json"))) {
        const QByteArray text =
            QJsonDocument(ProjectTreeJson(*root)).toJson(QJsonDocument::Indented);
        std::fwrite(text.constData(), 1, static_cast<size_t>(text.size()), stdout);
    } else {
        PrintTree(*root, 0);
    }
    return CliOk;
}
