// lumivant-cli set-text and set-image: change what one zone shows, from a script.
#include "cli/cli_command.h"
#include "cli/cli_project.h"

#include "base/last_error.h"
#include "model/effect_zone.h"
#include "model/project_root.h"
#include "model/zone_path.h"
#include "render/zone_content.h"
#include "render/zone_edit.h"

#include <QFile>
#include <QStringDecoder>

#include <cstdio>

namespace {

// Largest text or RTF file read: well above what a zone may hold, far below what would
// strain the memory.
constexpr qint64 kMaxInputFileBytes = 16 * 1024 * 1024;

bool ReadInputFile(const QString& path, QByteArray& bytes, QString& error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("Cannot read '%1': %2").arg(path, file.errorString());
        return false;
    }
    if (file.size() > kMaxInputFileBytes) {
        error = QStringLiteral("'%1' is too large for a zone.").arg(path);
        return false;
    }
    bytes = file.readAll();
    return true;
}

bool DecodeUtf8(const QByteArray& bytes, const QString& path, QString& text, QString& error)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    text = decoder(bytes.startsWith("\xEF\xBB\xBF") ? bytes.mid(3) : bytes);
    if (decoder.hasError()) {
        error = QStringLiteral("'%1' is not UTF-8 text.").arg(path);
        return false;
    }
    return true;
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
        if (!ReadInputFile(file, bytes, error) || !DecodeUtf8(bytes, file, text, error))
            return CliFail(error);
        if (text.endsWith(u'\n'))
            text.chop(text.endsWith(QStringLiteral("\r\n")) ? 2 : 1);
    }
    return EditZone(*arguments, [&](CEffectZone& zone, QString& reason) {
        return CZoneContent::SetText(zone, text, reason);
    });
}

int RunSetImage(const QStringList& words)
{
    int status = CliOk;
    const auto arguments =
        CliArguments::ParseCommand(words, {QStringLiteral("out")}, {}, 3,
                                   QStringLiteral("set-image takes FILE, ZONE and PATH"), status);
    if (!arguments)
        return status;
    const QString picture = arguments->Positional().at(2);
    return EditZone(*arguments, [&](CEffectZone& zone, QString& reason) {
        return CZoneContent::SetImage(zone, picture, reason);
    });
}
