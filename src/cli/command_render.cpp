// lumivant-cli render: renders every zone of a screen into PNG files, as the card shows them
// unless another form is asked for.
#include "cli/cli_command.h"
#include "cli/cli_findings.h"
#include "cli/cli_project.h"

#include "model/effect_zone.h"
#include "model/play_window.h"
#include "model/program.h"
#include "model/project_root.h"
#include "model/screen.h"
#include "render/png_file.h"
#include "render/sign_picture.h"

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
    const auto save = [&](const QImage& image, const QString& name) {
        if (image.isNull() || !failure.isEmpty())
            return;
        if (SavePngDurably(image, out.filePath(name), &failure))
            ++written;
    };
    for (int p = 0; p < screen->GetChildCount(); ++p) {
        const CProjectObject* object = screen->GetChild(p);
        if (object->GetKind() != KindProgram)
            continue;
        const auto* program = static_cast<const CProgram*>(object);
        const QString programName = QStringLiteral("s%1-p%2").arg(screenNumber).arg(p + 1);
        for (int w = 0; w < program->GetChildCount(); ++w) {
            const CProjectObject* child = program->GetChild(w);
            if (child->GetKind() != KindWindow)
                continue;
            const auto* window = static_cast<const CPlayWindow*>(child);
            for (int z = 0; z < window->GetChildCount(); ++z) {
                const CProjectObject* item = window->GetChild(z);
                if (!IsZoneKind(item->GetKind()))
                    continue;
                const auto* zone = static_cast<const CEffectZone*>(item);
                // The card's pages in the order it plays them; the other forms as held.
                std::vector<int> pages = CardPageOrder(*zone);
                if (!card) {
                    pages.clear();
                    for (int page = 0; page < zone->GetPageCount(); ++page)
                        pages.push_back(page);
                }
                for (size_t position = 0; position < pages.size(); ++position) {
                    save(ZonePagePicture(*zone, pages[position], shown),
                         QStringLiteral("%1-w%2-z%3-page%4.png")
                             .arg(programName)
                             .arg(w + 1)
                             .arg(z + 1)
                             .arg(position + 1));
                }
            }
        }
        const QImage whole = ProgramFramePicture(*program, shown);
        save(whole, programName + QStringLiteral(".png"));
    }
    if (!failure.isEmpty())
        return CliFail(QStringLiteral("Cannot write the pictures into %1: %2")
                           .arg(QDir::toNativeSeparators(out.path()), failure));
    CliPrint(QStringLiteral("%1 pictures written to %2")
                 .arg(written)
                 .arg(QDir::toNativeSeparators(out.path())));
    return CliOk;
}
