// lumivant-cli play: a program played with the preview's player, as the card shows it, as
// PNG frames or as an animated GIF a customer can be sent.
#include "cli/cli_command.h"
#include "cli/cli_operation_ui.h"
#include "cli/cli_project.h"

#include "model/program.h"
#include "model/project_root.h"
#include "model/screen.h"
#include "render/program_player.h"
#include "render/program_recording.h"
#include "render/random_source.h"

#include <QBuffer>
#include <QDir>
#include <QSaveFile>

#include <optional>

#include <unistd.h>

namespace {

struct PlayOptions
{
    int screen = 1;
    int program = 1;
    int ticks = 0; // 0: until every window has shown its zones once
    int zoom = 4;
    bool dots = false;
    QString gifPath;
    QString framesDir;
    std::optional<std::uint32_t> seed;
};

bool WritePng(const QImage& image, const QString& path, QString& error)
{
    QSaveFile file(path);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (!file.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG") ||
        file.write(buffer.data()) != buffer.data().size() || !file.commit()) {
        error = QStringLiteral("%1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

int ParseOptions(const QStringList& words, PlayOptions& options, QString& file)
{
    int status = CliOk;
    const auto arguments = CliArguments::ParseCommand(
        words,
        {QStringLiteral("screen"), QStringLiteral("program"), QStringLiteral("ticks"),
         QStringLiteral("seed"), QStringLiteral("gif"), QStringLiteral("zoom"),
         QStringLiteral("frames")},
        {QStringLiteral("dots")}, 1, QStringLiteral("play needs one project file"), status);
    if (!arguments)
        return status;
    QString error;
    if (!arguments->IntValue(QStringLiteral("screen"), 1, 0x7FFFFFFF, options.screen, error) ||
        !arguments->IntValue(QStringLiteral("program"), 1, 0x7FFFFFFF, options.program, error) ||
        !arguments->IntValue(QStringLiteral("ticks"), 1, CProgramPlayer::kMaxTicks, options.ticks,
                             error) ||
        !arguments->IntValue(QStringLiteral("zoom"), 1, 16, options.zoom, error))
        return CliUsageError(error);
    const bool gif = arguments->Has(QStringLiteral("gif"));
    const bool frames = arguments->Has(QStringLiteral("frames"));
    if (gif == frames)
        return CliUsageError(QStringLiteral("play needs either --gif OUT.gif or --frames DIR"));
    if (!gif && (arguments->Has(QStringLiteral("zoom")) || arguments->Has(QStringLiteral("dots"))))
        return CliUsageError(QStringLiteral("--zoom and --dots go with --gif"));
    options.dots = arguments->Has(QStringLiteral("dots"));
    options.gifPath = arguments->Value(QStringLiteral("gif"));
    options.framesDir = arguments->Value(QStringLiteral("frames"));
    if ((gif && options.gifPath.isEmpty()) || (frames && options.framesDir.isEmpty()))
        return CliUsageError(QStringLiteral("--gif and --frames need a path"));
    if (arguments->Has(QStringLiteral("seed"))) {
        bool ok = false;
        const qulonglong seed = arguments->Value(QStringLiteral("seed")).toULongLong(&ok);
        if (!ok || seed > 0xFFFFFFFFull)
            return CliUsageError(
                QStringLiteral("--seed takes a whole number from 0 to 4294967295"));
        options.seed = static_cast<std::uint32_t>(seed);
    }
    file = arguments->Positional().first();
    return -1;
}

CProgram* FindProgram(CScreen& screen, int number)
{
    int seen = 0;
    for (int i = 0; i < screen.GetChildCount(); ++i) {
        CProjectObject* child = screen.GetChild(i);
        if (child->GetKind() == KindProgram && ++seen == number)
            return static_cast<CProgram*>(child);
    }
    return nullptr;
}

} // namespace

int RunPlay(const QStringList& words)
{
    PlayOptions options;
    QString path;
    const int parsed = ParseOptions(words, options, path);
    if (parsed >= 0)
        return parsed;

    auto root = LoadProjectForCli(path);
    if (!root)
        return CliFailed;
    CProjectObject* screenObject = root->GetChild(options.screen - 1);
    if (!screenObject || screenObject->GetKind() != KindScreen)
        return CliFail(
            QStringLiteral("There is no screen %1 in %2.").arg(options.screen).arg(path));
    auto* screen = static_cast<CScreen*>(screenObject);
    CProgram* program = FindProgram(*screen, options.program);
    if (!program)
        return CliFail(QStringLiteral("There is no program %1 on screen %2.")
                           .arg(options.program)
                           .arg(options.screen));

    std::optional<CScopedRandomSeed> seed;
    if (options.seed)
        seed.emplace(*options.seed);
    CLedGif gif;
    int status = CliOk;
    const auto begin = [&](const QImage& first) {
        if (!options.gifPath.isEmpty()) {
            if (gif.Open(options.gifPath, first, options.zoom, options.dots))
                return true;
            status = CliFail(gif.Error());
            return false;
        }
        const QDir dir(options.framesDir);
        if (!dir.exists() && !QDir().mkpath(dir.path())) {
            status = CliFail(QStringLiteral("Cannot create the folder %1.").arg(dir.path()));
            return false;
        }
        return true;
    };

    const int limit = options.ticks > 0 ? options.ticks : CProgramPlayer::kMaxTicks;
    std::optional<CCliOperationUi> progress;
    QString error;
    const auto frame = [&](int tick, const QImage& screenImage) {
        if (!progress && isatty(STDERR_FILENO) && limit >= 1000) {
            progress.emplace(CCliOperationUi::Answers::AlwaysNo);
            progress->SetRange(limit);
        }
        bool written = true;
        if (!options.gifPath.isEmpty()) {
            written = gif.Add(tick, screenImage);
            error = gif.Error();
        } else {
            written = WritePng(
                screenImage,
                QDir(options.framesDir)
                    .filePath(QStringLiteral("tick-%1.png").arg(tick, 6, 10, QLatin1Char('0'))),
                error);
        }
        if (!written) {
            status = CliFail(error);
            return false;
        }
        if (progress && tick % 50 == 0 &&
            progress->Update(tick, QStringLiteral("tick %1").arg(tick))) {
            gif.Abandon();
            status = CliFail(QStringLiteral("Cancelled."));
            return false;
        }
        return true;
    };
    int tick = 0;
    switch (CProgramRecording::Play(*screen, *program, options.ticks, limit, begin, frame, tick)) {
    case CProgramRecording::Result::NothingToPlay:
        return CliFail(QStringLiteral("Program %1 of screen %2 has nothing to play.")
                           .arg(options.program)
                           .arg(options.screen));
    case CProgramRecording::Result::NoSize:
        return CliFail(QStringLiteral("The screen has no size."));
    case CProgramRecording::Result::Stopped:
        return status;
    case CProgramRecording::Result::Played:
        break;
    }
    if (progress)
        progress->Finish();
    if (!options.gifPath.isEmpty() && !gif.Finish(tick))
        return CliFail(gif.Error());
    CliPrint(QStringLiteral("%1 ticks (%2 s) played into %3")
                 .arg(tick)
                 .arg(tick * CWindowPlayer::kTickMs / 1000.0, 0, 'f', 3)
                 .arg(QDir::toNativeSeparators(!options.gifPath.isEmpty() ? options.gifPath
                                                                          : options.framesDir)));
    return CliOk;
}
