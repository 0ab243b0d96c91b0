#pragma once

#include <QByteArray>
#include <QString>

// The largest file of each kind the program reads: above anything real, far below what
// would strain the memory.
namespace file_limits {
// A project file: the largest real one is about 25 MB, and parsing a file of junk elements
// takes many times its size in memory.
constexpr qint64 kProjectFile = 256ll * 1024 * 1024;
// A picture or other file named inside a project (an image zone, a program border).
constexpr qint64 kNamedFile = 256ll * 1024 * 1024;
// Text or RTF for one zone.
constexpr qint64 kZoneText = 16ll * 1024 * 1024;
// Screen data or a USB disk file.
constexpr qint64 kScreenData = 256ll * 1024 * 1024;
} // namespace file_limits

// How long a pipe may stay silent before a read gives up on it.
constexpr int kPipeWaitMs = 10000;

// Reads the file at `path`, at most `maxBytes` bytes. A regular file or a pipe (a FIFO,
// a process substitution such as <(date)) is read; a folder, a device or a socket is
// refused without being opened. A regular file larger than `maxBytes` is refused before
// reading; a pipe or a file that grows is read up to `maxBytes` and then refused. A pipe
// that sends nothing for `pipeWaitMs` (no writer, or a silent one) is given up. On
// failure `bytes` is empty and `reason` holds the system's text (without the path).
[[nodiscard]] bool ReadFileBounded(const QString& path, qint64 maxBytes, QByteArray* bytes,
                                   QString* reason, int pipeWaitMs = kPipeWaitMs);

// For a path named inside a project, before anything opens it: true for a regular file
// (or a link to one) of at most `maxBytes`. A missing file, a folder, a FIFO, a device or
// a larger file gives false at once with the reason; nothing is opened.
[[nodiscard]] bool IsSafeNamedFile(const QString& path, QString* reason = nullptr,
                                   qint64 maxBytes = file_limits::kNamedFile);

// "N MB", "N KB" or "N bytes", in the largest unit that divides the size.
QString FileSizeText(qint64 bytes);

// The system's text for a file that could not be read: "Cannot read 'PATH': REASON".
QString CannotReadText(const QString& path, const QString& reason);
