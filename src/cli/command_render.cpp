// lumivant-cli render: renders every zone of a screen into PNG files.
#include "cli/cli_command.h"
#include "cli/cli_findings.h"
#include "cli/cli_project.h"

#include "model/effect_zone.h"
#include "model/play_window.h"
#include "model/program.h"
#include "model/project_root.h"
#include "model/screen.h"
#include "render/led_paint.h"
#include "render/png_file.h"

#include <QDir>
#include <QPainter>

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
        QImage whole = BlackImage(screen->Width(), screen->Height());
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
                for (int page = 0; page < zone->GetPageCount(); ++page) {
                    const QImage& image = zone->GetPage(page)->Image();
                    save(image, QStringLiteral("%1-w%2-z%3-page%4.png")
                                    .arg(programName)
                                    .arg(w + 1)
                                    .arg(z + 1)
                                    .arg(page + 1));
                }
            }
            // The window's first page at its place on the screen.
            for (int z = 0; z < window->GetChildCount(); ++z) {
                const CProjectObject* item = window->GetChild(z);
                if (!IsZoneKind(item->GetKind()))
                    continue;
                const auto* zone = static_cast<const CEffectZone*>(item);
                if (zone->GetPageCount() == 0)
                    continue;
                const QImage& first = zone->GetPage(0)->Image();
                const LedRect& rect = window->WindowRect();
                if (!whole.isNull())
                    CopyRect(whole, rect.left, rect.top, first, 0, 0, rect.Width(), rect.Height());
                break;
            }
        }
        if (!whole.isNull()) {
            DrawProgramBorder(whole, *program);
            save(whole, programName + QStringLiteral(".png"));
        }
    }
    if (!failure.isEmpty())
        return CliFail(QStringLiteral("Cannot write the pictures into %1: %2")
                           .arg(QDir::toNativeSeparators(out.path()), failure));
    CliPrint(QStringLiteral("%1 pictures written to %2")
                 .arg(written)
                 .arg(QDir::toNativeSeparators(out.path())));
    return CliOk;
}
