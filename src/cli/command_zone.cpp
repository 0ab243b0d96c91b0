// lumivant-cli set-text and set-image: change what one zone shows, from a script.
#include "cli/cli_command.h"
#include "cli/cli_project.h"

#include "base/bounded_file.h"
#include "base/last_error.h"
#include "model/effect_zone.h"
#include "model/project_root.h"
#include "model/zone_path.h"
#include "render/system_text.h"
#include "render/text_decoder.h"
#include "render/zone_content.h"
#include "render/zone_edit.h"

#include <QFileInfo>

#include <cstdio>

namespace {

// A text or RTF file, or a pipe (--text-file <(date)): at most what a zone's text can be.
bool ReadInputFile(const QString& path, QByteArray& bytes, QString& error)
{
    QString reason;
    if (ReadFileBounded(path, file_limits::kZoneText, &bytes, &reason))
        return true;
    error = CannotReadText(path, reason);
    return false;
}

bool DecodeText(const QByteArray& bytes, const QString& path, QString& text, QString& error)
{
    if (DecodePlainText(bytes, text))
        return true;
    error = SystemText(61605, {path});
    return false;
}

// Loads the project, finds the zone, applies the change, reports the pages and saves;
// the project file is written only when everything before succeeded, and no other program
// writes it in between.
int EditZone(const CliArguments& arguments, const CZoneEdit::Change& edit)
{
    const QString path = arguments.Positional().at(0);
    const QString target = arguments.Value(QStringLiteral("out"), path);
    CProjectLock lock;
    if (!LockProjectForCli(target, lock))
        return CliFailed;
    const auto root = LoadProjectForCli(path);
    if (!root)
        return CliFailed;
    QString error;
    CZoneEdit::Outcome outcome;
    CZoneEdit::Failure failure = CZoneEdit::Failure::None;
    if (!CZoneEdit::Apply(*root, arguments.Positional().at(1), edit, outcome, failure, error))
        return CliFail(error);
    for (const QString& warning : outcome.warnings)
        std::fprintf(stderr, "warning: %s\n", warning.toUtf8().constData());

    ClearLastError();
    if (!root->SaveProject(target)) {
        const QString reason =
            LastError().isEmpty() ? QStringLiteral("Error on save project!") : LastError();
        return CliFail(QStringLiteral("%1: %2").arg(target, reason));
    }
    const int pages = outcome.pages;
    CliPrint(QStringLiteral("%1: %2 page%3")
                 .arg(CZonePath::NameOf(*outcome.zone))
                 .arg(pages)
                 .arg(pages == 1 ? QString() : QStringLiteral("s")));
    return CliOk;
}

} // namespace

int RunSetText(const QStringList& words)
{
    int status = CliOk;
    const auto arguments = CliArguments::ParseCommand(
        words,
        {QStringLiteral("text"), QStringLiteral("text-file"), QStringLiteral("rtf"),
         QStringLiteral("out")},
        {QStringLiteral("keep-format")}, 2, QStringLiteral("set-text takes FILE and ZONE"), status);
    if (!arguments)
        return status;
    const int sources = int(arguments->Has(QStringLiteral("text"))) +
                        int(arguments->Has(QStringLiteral("text-file"))) +
                        int(arguments->Has(QStringLiteral("rtf")));
    if (sources != 1)
        return CliUsageError(QStringLiteral("set-text takes one of --text, --text-file, --rtf"));
    if (arguments->Has(QStringLiteral("rtf")) && arguments->Has(QStringLiteral("keep-format")))
        return CliUsageError(QStringLiteral("--rtf replaces the whole document; it does not "
                                            "go with --keep-format"));

    QString error;
    if (arguments->Has(QStringLiteral("rtf"))) {
        const QString file = arguments->Value(QStringLiteral("rtf"));
        QByteArray bytes;
        if (!ReadInputFile(file, bytes, error))
            return CliFail(error);
        // RTF is 7-bit text; anything above is taken byte for byte, as a reader of the
        // format does.
        const QString rtf = QString::fromLatin1(bytes);
        return EditZone(*arguments, [&](CEffectZone& zone, QString& reason) {
            if (CZoneContent::SetRtf(zone, rtf, reason))
                return true;
            reason = QStringLiteral("%1: %2").arg(file, reason);
            return false;
        });
    }
    QString text;
    if (arguments->Has(QStringLiteral("text"))) {
        text = CZoneContent::UnescapeLineBreaks(arguments->Value(QStringLiteral("text")));
    } else {
        const QString file = arguments->Value(QStringLiteral("text-file"));
        QByteArray bytes;
        if (!ReadInputFile(file, bytes, error) || !DecodeText(bytes, file, text, error))
            return CliFail(error);
        if (text.endsWith(u'\n'))
            text.chop(1);
    }
    return EditZone(*arguments, [&](CEffectZone& zone, QString& reason) {
        return CZoneContent::SetText(zone, text, reason);
    });
}

int RunSetImage(const QStringList& words)
{
    int status = CliOk;
    const auto arguments =
        CliArguments::ParseCommand(words, {QStringLiteral("out")}, {QStringLiteral("dither")}, 3,
                                   QStringLiteral("set-image takes FILE, ZONE and PATH"), status);
    if (!arguments)
        return status;
    const QString picture = arguments->Positional().at(2);
    // A dithered picture is written beside the project file that is saved.
    const QString folder =
        QFileInfo(arguments->Value(QStringLiteral("out"), arguments->Positional().at(0)))
            .absolutePath();
    const bool dither = arguments->Has(QStringLiteral("dither"));
    return EditZone(*arguments, [&](CEffectZone& zone, QString& reason) {
        return dither ? CZoneContent::SetDitheredImage(zone, picture, folder, reason)
                      : CZoneContent::SetImage(zone, picture, reason);
    });
}
