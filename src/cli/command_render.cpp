// lumivant-cli render: renders every zone of a screen into PNG files.
#include "cli/cli_command.h"
#include "cli/cli_findings.h"
#include "cli/cli_project.h"

#include "model/project_root.h"
#include "model/screen.h"
#include "render/png_file.h"
#include "render/screen_pictures.h"

#include <QDir>

int RunRender(const QStringList& words)
{
    int usageStatus = CliOk;
    const auto arguments = CliArguments::ParseCommand(
        words, {QStringLiteral("screen"), QStringLiteral("form"), QStringLiteral("out")}, {}, 1,
        QStringLiteral("render needs one project file"), usageStatus);
    if (!arguments)
        return usageStatus;
    if (!arguments->Has(QStringLiteral("out")))
        return CliUsageError(QStringLiteral("render needs --out DIR"));
    const QString formText = arguments->Value(QStringLiteral("form"), QStringLiteral("display"));
    RenderForm form;
    if (formText == QLatin1String("display"))
        form = RenderForm::Display;
    else if (formText == QLatin1String("controller"))
        form = RenderForm::Controller;
    else
        return CliUsageError(QStringLiteral("--form takes display or controller"));

    std::unique_ptr<CProjectRoot> root;
    int status = CliOk;
    CScreen* screen = LoadScreenForCli(arguments->Positional().first(), *arguments, root, status);
    if (!screen)
        return status;
    int screenNumber = 1;
    for (int i = 0; i < root->GetChildCount(); ++i) {
        if (root->GetChild(i) == screen)
            screenNumber = i + 1;
    }
    const QDir out(arguments->Value(QStringLiteral("out")));
    if (!out.exists() && !QDir().mkpath(out.path()))
        return CliFail(QStringLiteral("Cannot create the folder %1.").arg(out.path()));

    QString reason;
    if (!screen->SizeAllowed(&reason))
        return CliFail(reason);
    screen->Prepare(form);
    WarnAboutProject(arguments->Positional().first(), *root, screen);
    int written = 0;
    QString failure;
    ForEachScreenPicture(*screen, screenNumber, [&](const QString& name, const QImage& image) {
        if (!SavePngDurably(image, out.filePath(name + QStringLiteral(".png")), &failure))
            return false;
        ++written;
        return true;
    });
    if (!failure.isEmpty())
        return CliFail(QStringLiteral("Cannot write the pictures into %1: %2")
                           .arg(QDir::toNativeSeparators(out.path()), failure));
    CliPrint(QStringLiteral("%1 pictures written to %2")
                 .arg(written)
                 .arg(QDir::toNativeSeparators(out.path())));
    return CliOk;
}
