#include "render/export_usb.h"

#include "base/durable_file.h"
#include "base/last_error.h"
#include "base/messages.h"
#include "base/string_table.h"
#include "model/screen.h"
#include "render/byte_buffer.h"
#include "render/compile_layout.h"
#include "render/compile_screen.h"
#include "render/random_source.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace {

const char kFolderName[] = "LUMIVANT";
const char kFileName[] = "LED.RZU";
const char kReadmeName[] = "Readme.txt";

// Draws until the value lies on the asked side of 64 (64 itself when a generator keeps
// missing that side).
std::uint8_t FlagByte(bool on)
{
    for (int attempt = 0; attempt < 4096; ++attempt) {
        const std::uint8_t value = NextRandomByte();
        if (on ? value >= 64 : value <= 64)
            return value;
    }
    return 64;
}

std::int64_t LocalSecondsNow()
{
    // Controller times are local wall-clock seconds counted as if they were UTC.
    const QDateTime now = QDateTime::currentDateTime();
    const std::int64_t ms =
        now.toMSecsSinceEpoch() + static_cast<std::int64_t>(now.offsetFromUtc()) * 1000;
    return (ms + 500) / 1000;
}

ExportResult Failure(const QString& status, const QString& path = {})
{
    ExportResult result;
    result.outcome = ExportOutcome::Failed;
    result.status = status;
    result.filePath = path;
    return result;
}

} // namespace

QString ExportStatusDetected()
{
    return QStringLiteral("Detected USB disk.");
}
QString ExportStatusNoDisk()
{
    return QStringLiteral("No USB disk be found.");
}
QString ExportStatusCreateFailed()
{
    return QStringLiteral("Failed on create file.");
}
QString ExportStatusWriteFailed()
{
    return QStringLiteral("Failed on write file.");
}
QString ExportStatusSucceeded()
{
    return QStringLiteral("Save project succeed.");
}
QString ExportParamsQuestion()
{
    return QStringLiteral("This function is limited to professionals, continue?");
}

QByteArray BuildExportFile(CByteBuffer& screenData, const CScreen& screen,
                           const ExportOptions& options)
{
    if (!screenData.IsEmpty()) {
        const std::size_t rest = screenData.Length() % kExportBlockSize;
        if (rest != 0) {
            for (std::size_t i = rest; i < static_cast<std::size_t>(kExportBlockSize); ++i)
                screenData.AppendByte(NextRandomByte());
        }
    }
    std::uint8_t header[kExportHeaderSize];
    for (std::uint8_t& byte : header)
        byte = NextRandomByte();
    header[50] = FlagByte(options.syncClock);
    header[51] = FlagByte(options.includeParams);
    layout::PutU32(header + 52, static_cast<std::uint32_t>(screenData.Length()));
    layout::PutU32(header + 56, GetFrameBufferSize(screen));
    if (options.syncClock) {
        const std::int64_t now = options.localNow ? *options.localNow : LocalSecondsNow();
        const int adjust = std::clamp(options.adjustSeconds, 0, kExportMaxAdjust);
        layout::PutU32(header + 128, static_cast<std::uint32_t>(now + adjust));
    }
    if (options.includeParams) {
        const auto& params = screen.Params().Bytes();
        std::copy(params.begin(), params.end(), header + 144);
    }
    QByteArray file(reinterpret_cast<const char*>(header), kExportHeaderSize);
    file.append(reinterpret_cast<const char*>(screenData.Data()),
                static_cast<qsizetype>(screenData.Length()));
    return file;
}

QByteArray ExportReadmeBytes()
{
    const QString text =
        QStringLiteral("Warning: this folder saved data with Lumivant , Do not modify any data !"
                       "\r\n") +
        QString(61, u'-') + QStringLiteral("\r\n") +
        QStringLiteral("警告，该目录内保存了显示屏播放数据，请勿修改任何内容！");
    QByteArray bytes("\xFF\xFE", 2);
    for (const QChar c : text) {
        bytes.append(static_cast<char>(c.unicode() & 0xFF));
        bytes.append(static_cast<char>(c.unicode() >> 8));
    }
    return bytes;
}

ExportResult ExportScreenData(const CScreen& screen, const QString& driveRoot,
                              const ExportOptions& options)
{
    if (driveRoot.isEmpty())
        return {};
    CByteBuffer data(kScreenBufferCapacity, kScreenBufferGrowth);
    ClearLastError();
    WriteData(screen, data);
    // Data that exists but cannot be built (far too large) is a failure, not an empty
    // project.
    if (data.IsEmpty() && GetScreenDataLength(screen) > 0)
        return Failure(LastError().isEmpty() ? ExportStatusWriteFailed() : LastError());
    if (data.IsEmpty() && !options.includeParams && !options.syncClock) {
        ShowWarning(LoadString(41069));
        ExportResult result;
        result.outcome = ExportOutcome::Empty;
        return result;
    }
    const QByteArray file = BuildExportFile(data, screen, options);

    const QString folder = QDir(driveRoot).filePath(QLatin1String(kFolderName));
    if (!QFileInfo(folder).isDir() &&
        (!QFileInfo(driveRoot).isDir() || !QDir(driveRoot).mkdir(QLatin1String(kFolderName))))
        return Failure(ExportStatusCreateFailed());
    const QString path = QDir(folder).filePath(QLatin1String(kFileName));
    // Written beside its final name and renamed at the end, so that a controller never finds
    // half a file and a full disk leaves the older export whole.
    QString reason;
    bool notCreated = false;
    if (!WriteFileDurably(path, file, &reason, &notCreated))
        return Failure(
            SaveFailureText(notCreated ? ExportStatusCreateFailed() : ExportStatusWriteFailed(),
                            reason),
            path);
    ExportResult result;
    result.outcome = ExportOutcome::Succeeded;
    result.status = ExportStatusSucceeded();
    result.filePath = path;
    result.dataLength = static_cast<std::uint32_t>(file.size() - kExportHeaderSize);

    // The warning file. A disk too full for it is full for the next export as well: that is
    // reported rather than leaving an empty or cut warning behind a success.
    const QString readme = QDir(folder).filePath(QLatin1String(kReadmeName));
    if (!WriteFileDurably(readme, ExportReadmeBytes(), &reason, &notCreated))
        return Failure(
            SaveFailureText(notCreated ? ExportStatusCreateFailed() : ExportStatusWriteFailed(),
                            reason),
            readme);
    return result;
}

ExportResult ExportScreen(CScreen& screen, const QString& driveRoot, const ExportOptions& options)
{
    screen.Prepare(RenderForm::Controller);
    ExportResult result = ExportScreenData(screen, driveRoot, options);
    screen.Prepare(RenderForm::Display);
    return result;
}
