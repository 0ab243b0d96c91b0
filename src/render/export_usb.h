#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>

class CByteBuffer;
class CScreen;

// The USB disk export: the screen data of one screen, with a 512-byte header that may ask
// the controller to set its clock and may carry the screen's parameter block, written as
// "LUMIVANT/LED.RZU" at the root of a removable drive beside a warning "Readme.txt".

struct ExportOptions
{
    bool includeParams = false; // "Include panel parameters"
    bool syncClock = false;     // "Sync timer, adjust"
    int adjustSeconds = 20;     // added to the clock value, 0 to 36000
    // The local time of the export in seconds since 1970-01-01 00:00; the current time
    // when not given.
    std::optional<std::int64_t> localNow;
};

enum class ExportOutcome {
    Nothing,   // no drive chosen: nothing happened
    Empty,     // "Project is empty." was shown; nothing was written
    Failed,    // status text in dark red, error beep
    Succeeded, // status text in blue, information beep
};

struct ExportResult
{
    ExportOutcome outcome = ExportOutcome::Nothing;
    QString status; // the dialog's status line after the export
    QString filePath;
    std::uint32_t dataLength = 0; // padded screen data in the file
};

constexpr int kExportHeaderSize = 512;
constexpr int kExportBlockSize = 4096;
constexpr int kExportMaxAdjust = 36000;

// Texts of the export dialog's status line.
QString ExportStatusDetected();     // "Detected USB disk."
QString ExportStatusNoDisk();       // "No USB disk be found."
QString ExportStatusCreateFailed(); // "Failed on create file."
QString ExportStatusWriteFailed();  // "Failed on write file."
QString ExportStatusSucceeded();    // "Save project succeed."
// The question asked before the parameter block is included.
QString ExportParamsQuestion();

// The whole file for compiled screen data (which is padded with random bytes to a multiple
// of 4096 first). Random values are drawn in file order after the padding.
QByteArray BuildExportFile(CByteBuffer& screenData, const CScreen& screen,
                           const ExportOptions& options);

// The warning text file: UTF-16 little-endian with its byte-order mark.
QByteArray ExportReadmeBytes();

// Compiles the screen as it was last prepared and writes the files under driveRoot, which
// must be the root of a mounted drive (or a folder standing in for one). "Project is
// empty." goes to the message sink.
ExportResult ExportScreenData(const CScreen& screen, const QString& driveRoot,
                              const ExportOptions& options);
// The "Save" button: renders the screen for the controller, exports, and renders it again
// for the editor.
ExportResult ExportScreen(CScreen& screen, const QString& driveRoot, const ExportOptions& options);
