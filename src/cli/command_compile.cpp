// lumivant-cli compile, export, drives and decode: the screen data a controller plays,
// the USB disk file, and the controller's reading of both.
#include "cli/cli_command.h"
#include "cli/cli_findings.h"
#include "cli/cli_project.h"

#include "base/bounded_file.h"
#include "base/durable_file.h"
#include "base/last_error.h"
#include "base/string_table.h"
#include "model/project_root.h"
#include "model/screen.h"
#include "platform/drives_removable.h"
#include "render/byte_buffer.h"
#include "render/compile_layout.h"
#include "render/compile_screen.h"
#include "render/decode_screen.h"
#include "render/export_usb.h"
#include "render/png_file.h"
#include "render/random_source.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QTimeZone>

#include <memory>
#include <optional>

namespace {

// --seed S installs a seeded generator for the rest of the command.
bool SeedFromArguments(const CliArguments& arguments, std::optional<CScopedRandomSeed>& seed,
                       QString& error)
{
    if (!arguments.Has(QStringLiteral("seed")))
        return true;
    bool ok = false;
    const qulonglong value = arguments.Value(QStringLiteral("seed")).toULongLong(&ok);
    if (!ok || value > 0xFFFFFFFFull) {
        error = QStringLiteral("--seed takes a whole number from 0 to 4294967295");
        return false;
    }
    seed.emplace(static_cast<std::uint32_t>(value));
    return true;
}

QString ZoneKindName(int kind)
{
    switch (kind) {
    case layout::kDataText:
        return QStringLiteral("text");
    case layout::kDataImage:
        return QStringLiteral("image");
    case layout::kDataTable:
        return QStringLiteral("table");
    case layout::kDataClock:
        return QStringLiteral("clock");
    case layout::kDataDateTime:
        return QStringLiteral("date-time");
    case layout::kDataTemperature:
        return QStringLiteral("temperature");
    case layout::kDataCountdown:
        return QStringLiteral("countdown");
    default:
        return QStringLiteral("kind %1").arg(kind);
    }
}

QString Hex(const std::uint8_t* bytes, int count)
{
    QStringList parts;
    for (int i = 0; i < count; ++i)
        parts.append(QStringLiteral("%1").arg(bytes[i], 2, 16, QLatin1Char('0')));
    return parts.join(u' ');
}

QString Limit(std::int32_t first, std::int32_t last, const char* what)
{
    if (first == 0 && last == -1)
        return QStringLiteral("no %1 limit").arg(QLatin1String(what));
    return QStringLiteral("%1 %2 to %3").arg(QLatin1String(what)).arg(first).arg(last);
}

QString FrameText(std::uint16_t code)
{
    if (code == 0)
        return QStringLiteral("no frame");
    return QStringLiteral("frame 0x%1 (type %2, colour %3, speed %4, direction %5)")
        .arg(code, 4, 16, QLatin1Char('0'))
        .arg((code & 0xF) + 1)
        .arg((code >> 5) & 7)
        .arg((code >> 8) & 0xF)
        .arg((code >> 13) & 7);
}

bool SavePng(const QString& folder, const QString& name, const QImage& image, QString& error)
{
    if (image.isNull())
        return true;
    const QString path = QDir(folder).filePath(name);
    QString reason;
    if (!SavePngDurably(image, path, &reason)) {
        error = QStringLiteral("Failed on write file: %1").arg(reason);
        return false;
    }
    return true;
}

bool PrintScreen(const DecodedScreen& screen, const QString& pngFolder, QString& error)
{
    CliPrint(QStringLiteral("screen data: %1 bytes, %2 program(s)")
                 .arg(screen.length)
                 .arg(screen.programCount));
    int programNumber = 0;
    for (const DecodedProgram& program : screen.programs) {
        ++programNumber;
        CliPrint(QStringLiteral("program %1 at %2: play %3 s, mode %4, weekdays 0x%5, %6, %7")
                     .arg(programNumber)
                     .arg(program.offset)
                     .arg(program.playTime)
                     .arg(program.playMode)
                     .arg(program.weekdays, 2, 16, QLatin1Char('0'))
                     .arg(Limit(program.firstDay, program.lastDay, "date"),
                          Limit(program.startTime, program.endTime, "time")));
        const DecodedBorder& border = program.border;
        if (border.thickness == 0) {
            CliPrint(QStringLiteral("  border off"));
        } else {
            CliPrint(QStringLiteral("  border %1 px, action %2, step %3%4, speed %5")
                         .arg(border.thickness)
                         .arg(border.action)
                         .arg(border.step & 0x7F)
                         .arg((border.step & 0x80) ? QStringLiteral(" (flat)") : QString())
                         .arg(border.speed));
            const QString prefix = QStringLiteral("p%1-border-").arg(programNumber);
            if (!pngFolder.isEmpty() &&
                (!SavePng(pngFolder, prefix + QStringLiteral("pattern.png"), border.pattern,
                          error) ||
                 !SavePng(pngFolder, prefix + QStringLiteral("strip.png"), border.strip, error)))
                return false;
        }
        int windowNumber = 0;
        for (const DecodedWindow& window : program.windows) {
            ++windowNumber;
            CliPrint(
                QStringLiteral("  window %1 at %2: %3,%4 %5x%6, %7%8")
                    .arg(windowNumber)
                    .arg(window.offset)
                    .arg(window.left)
                    .arg(window.top)
                    .arg(window.width)
                    .arg(window.height)
                    .arg(FrameText(window.frameCode))
                    .arg(window.chainRunsOn ? QStringLiteral(", zone chain runs on") : QString()));
            int zoneNumber = 0;
            for (const DecodedZone& zone : window.zones) {
                ++zoneNumber;
                QString line = QStringLiteral("    zone %1 at %2: %3, %4 page(s), hold %5")
                                   .arg(zoneNumber)
                                   .arg(zone.offset)
                                   .arg(ZoneKindName(zone.kind))
                                   .arg(zone.pageCount)
                                   .arg(zone.hold);
                if (zone.IsLive())
                    line += QStringLiteral(", live bytes %1").arg(Hex(zone.bytes.data(), 12));
                else
                    line += QStringLiteral(", effect %1, speed %2, clear %3")
                                .arg(zone.Action())
                                .arg(zone.Speed())
                                .arg(zone.ClearMode());
                CliPrint(line);
                QStringList holds;
                int pageNumber = 0;
                for (const DecodedPage& page : zone.pages) {
                    ++pageNumber;
                    holds.append(QString::number(page.hold));
                    if (!pngFolder.isEmpty() && !SavePng(pngFolder,
                                                         QStringLiteral("p%1-w%2-z%3-page%4.png")
                                                             .arg(programNumber)
                                                             .arg(windowNumber)
                                                             .arg(zoneNumber)
                                                             .arg(pageNumber),
                                                         page.image, error))
                        return false;
                }
                CliPrint(QStringLiteral("      page holds: %1").arg(holds.join(u' ')));
            }
        }
    }
    return true;
}

QString ClockText(std::int32_t seconds)
{
    return QDateTime::fromSecsSinceEpoch(seconds, QTimeZone::utc())
        .toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

// The colour count is the controller's setting, not in the data: when another count makes
// the data whole, say which.
QString ColourCountHint(const QByteArray& bytes, int colours, int polarity, bool exportFile)
{
    for (int other = 1; other <= 3; ++other) {
        if (other == colours)
            continue;
        QString ignored;
        DecodedScreen screen;
        DecodedExportFile file;
        const bool fits = exportFile ? DecodeExportFile(bytes, other, polarity, file, ignored)
                                     : DecodeScreenData(bytes, other, polarity, screen, ignored);
        if (fits)
            return QStringLiteral(" (the data fits --colors %1)").arg(other);
    }
    return {};
}

} // namespace

int RunCompile(const QStringList& words)
{
    QString error;
    int usageStatus = CliOk;
    const auto arguments = CliArguments::ParseCommand(
        words, {QStringLiteral("screen"), QStringLiteral("seed"), QStringLiteral("out")}, {}, 1,
        QStringLiteral("compile takes one FILE"), usageStatus);
    if (!arguments)
        return usageStatus;
    const QString out = arguments->Value(QStringLiteral("out"));
    if (out.isEmpty())
        return CliUsageError(QStringLiteral("compile needs --out DATA"));
    std::optional<CScopedRandomSeed> seed;
    if (!SeedFromArguments(*arguments, seed, error))
        return CliUsageError(error);
    std::unique_ptr<CProjectRoot> root;
    int status = CliOk;
    CScreen* screen = LoadScreenForCli(arguments->Positional().first(), *arguments, root, status);
    if (!screen)
        return status;

    screen->Prepare(RenderForm::Controller);
    WarnAboutProject(arguments->Positional().first(), *root, screen);
    CByteBuffer buffer(kScreenBufferCapacity, kScreenBufferGrowth);
    ClearLastError();
    WriteData(*screen, buffer);
    int programs = 0;
    if (!buffer.IsEmpty())
        programs =
            (buffer.Data()[layout::kHeaderCheck2] + buffer.Data()[layout::kHeaderCheck2 + 1]) &
            0xFF;
    // No editor shows the screen afterwards: the display rendering is not needed.
    const QString reason = LastError();
    if (buffer.IsEmpty())
        return CliFail(reason.isEmpty() ? LoadString(41069) : reason);

    QString writeReason;
    if (!WriteFileDurably(out,
                          QByteArray(reinterpret_cast<const char*>(buffer.Data()),
                                     static_cast<qsizetype>(buffer.Length())),
                          &writeReason))
        return CliFail(QStringLiteral("Failed on write file: %1").arg(writeReason));
    CliPrint(QStringLiteral("%1 bytes, %2 program(s)").arg(buffer.Length()).arg(programs));
    return CliOk;
}

int RunExport(const QStringList& words)
{
    QString error;
    int usageStatus = CliOk;
    const auto arguments = CliArguments::ParseCommand(
        words,
        {QStringLiteral("screen"), QStringLiteral("drive"), QStringLiteral("sync-clock"),
         QStringLiteral("seed")},
        {QStringLiteral("params")}, 1, QStringLiteral("export takes one FILE"), usageStatus);
    if (!arguments)
        return usageStatus;
    const QString drive = arguments->Value(QStringLiteral("drive"));
    if (drive.isEmpty())
        return CliUsageError(QStringLiteral("export needs --drive DIR"));
    if (!QFileInfo(drive).isDir())
        return CliUsageError(QStringLiteral("--drive %1 is not an existing folder").arg(drive));
    ExportOptions options;
    options.includeParams = arguments->Has(QStringLiteral("params"));
    if (arguments->Has(QStringLiteral("sync-clock"))) {
        options.syncClock = true;
        if (!arguments->IntValue(QStringLiteral("sync-clock"), 0, kExportMaxAdjust,
                                 options.adjustSeconds, error))
            return CliUsageError(error);
    }
    std::optional<CScopedRandomSeed> seed;
    if (!SeedFromArguments(*arguments, seed, error))
        return CliUsageError(error);
    std::unique_ptr<CProjectRoot> root;
    int status = CliOk;
    CScreen* screen = LoadScreenForCli(arguments->Positional().first(), *arguments, root, status);
    if (!screen)
        return status;

    WarnAboutProject(arguments->Positional().first(), *root, screen);
    // "Project is empty." is a message of its own; it reaches stderr through the sink.
    const ExportResult result = ExportScreen(*screen, drive, options);
    switch (result.outcome) {
    case ExportOutcome::Succeeded:
        CliPrint(result.status);
        CliPrint(QStringLiteral("%1: %2 bytes of screen data")
                     .arg(QDir::toNativeSeparators(result.filePath))
                     .arg(result.dataLength));
        return CliOk;
    case ExportOutcome::Failed:
        return CliFail(result.status);
    case ExportOutcome::Empty:
    case ExportOutcome::Nothing:
        break;
    }
    return CliFailed;
}

int RunDrives(const QStringList& words)
{
    int usageStatus = CliOk;
    const auto arguments = CliArguments::ParseCommand(
        words, {}, {}, 0, QStringLiteral("drives takes no argument"), usageStatus);
    if (!arguments)
        return usageStatus;
    const auto drives = ListRemovableDrives();
    if (drives.empty())
        return CliFail(ExportStatusNoDisk());
    for (const RemovableDrive& drive : drives)
        CliPrint(DriveLine(drive));
    CliPrint(ExportStatusDetected());
    return CliOk;
}

int RunDecode(const QStringList& words)
{
    QString error;
    int usageStatus = CliOk;
    const auto arguments = CliArguments::ParseCommand(
        words, {QStringLiteral("colors"), QStringLiteral("polarity"), QStringLiteral("png")}, {}, 1,
        QStringLiteral("decode takes one DATA or LED.RZU file"), usageStatus);
    if (!arguments)
        return usageStatus;
    if (!arguments->Has(QStringLiteral("colors")))
        return CliUsageError(QStringLiteral("decode needs --colors 1|2|3"));
    int colours = 1;
    int polarity = 0;
    if (!arguments->IntValue(QStringLiteral("colors"), 1, 3, colours, error) ||
        !arguments->IntValue(QStringLiteral("polarity"), 0, 1, polarity, error))
        return CliUsageError(error);
    const QString png = arguments->Value(QStringLiteral("png"));
    if (!png.isEmpty() && !QDir().mkpath(png))
        return CliFail(QStringLiteral("Failed on create file: %1").arg(png));

    const QString path = arguments->Positional().first();
    QByteArray bytes;
    QString reason;
    if (!ReadFileBounded(path, file_limits::kScreenData, &bytes, &reason))
        return CliFail(CannotReadText(path, reason));

    const bool exportFile =
        QFileInfo(path).fileName().compare(QStringLiteral("LED.RZU"), Qt::CaseInsensitive) == 0 ||
        LooksLikeExportFile(bytes);
    if (exportFile) {
        DecodedExportFile decoded;
        if (!DecodeExportFile(bytes, colours, polarity, decoded, error))
            return CliFail(QStringLiteral("%1: %2%3")
                               .arg(path, error, ColourCountHint(bytes, colours, polarity, true)));
        CliPrint(QStringLiteral("USB disk file: %1 bytes of screen data, frame buffer %2 bytes")
                     .arg(decoded.dataLength)
                     .arg(decoded.frameBuffer));
        CliPrint(QStringLiteral("clock flag %1: %2")
                     .arg(decoded.clockFlag)
                     .arg(decoded.ClockRequested()
                              ? QStringLiteral("set the clock to %1").arg(ClockText(decoded.clock))
                              : QStringLiteral("clock not set")));
        CliPrint(QStringLiteral("parameter flag %1: %2")
                     .arg(decoded.paramFlag)
                     .arg(decoded.ParamsIncluded()
                              ? QStringLiteral("parameters included (%1x%2, colour type %3)")
                                    .arg(layout::GetU16(decoded.params.data() + 6))
                                    .arg(layout::GetU16(decoded.params.data() + 8))
                                    .arg(decoded.params[10])
                              : QStringLiteral("no parameters")));
        if (!decoded.hasScreen)
            return CliOk;
        return PrintScreen(decoded.screen, png, error) ? CliOk : CliFail(error);
    }
    DecodedScreen decoded;
    if (!DecodeScreenData(bytes, colours, polarity, decoded, error))
        return CliFail(QStringLiteral("%1: %2%3")
                           .arg(path, error, ColourCountHint(bytes, colours, polarity, false)));
    return PrintScreen(decoded, png, error) ? CliOk : CliFail(error);
}
