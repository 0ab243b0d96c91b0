// lumivant-cli render: renders every zone of a screen into PNG files, as the card shows them
// unless another form is asked for.
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
    const QString formText = arguments->Value(QStringLiteral("form"), QStringLiteral("card"));
    // The card's form starts from the display form: the card draws the live values itself.
    RenderForm form = RenderForm::Display;
    const bool card = formText == QLatin1String("card");
    if (formText == QLatin1String("controller"))
        form = RenderForm::Controller;
    else if (!card && formText != QLatin1String("display"))
        return CliUsageError(QStringLiteral("--form takes card, display or controller"));
    const SignForm shown = card ? SignForm::Card : SignForm::Designer;

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
    }, shown);
    if (!failure.isEmpty())
        return CliFail(QStringLiteral("Cannot write the pictures into %1: %2")
                           .arg(QDir::toNativeSeparators(out.path()), failure));
    CliPrint(QStringLiteral("%1 pictures written to %2")
                 .arg(written)
                 .arg(QDir::toNativeSeparators(out.path())));
    return CliOk;
}
