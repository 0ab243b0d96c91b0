#pragma once

#include <QByteArray>
#include <QString>

// Replaces a file with new contents so that a failure at any point leaves the old file
// whole: the bytes go to a temporary file beside the target, every write is checked, the
// file is flushed to the disk, renamed over the target and the folder is flushed after the
// rename. A replaced file keeps its permissions; a symbolic link is followed to the file
// it names.
//
// On failure returns false and leaves "PATH: REASON" in reason, the path the system
// refused and the system's own text ("No space left on device"); notCreated tells whether
// the file could not even be created (a missing folder, a folder in the way), as opposed
// to a failure while writing it.
[[nodiscard]] bool WriteFileDurably(const QString& path, const QByteArray& bytes,
                                    QString* reason = nullptr, bool* notCreated = nullptr);

// A failure text for the person: the system's text followed by the reason of
// WriteFileDurably ("Error on save project! /media/LED.prj: No space left on device").
QString SaveFailureText(const QString& systemText, const QString& reason);
