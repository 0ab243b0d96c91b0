#pragma once

#include <QImage>
#include <QString>

// Writes the picture as a PNG file through WriteFileDurably: a full disk leaves an older
// file whole. False with "PATH: REASON" in reason when it fails.
[[nodiscard]] bool SavePngDurably(const QImage& image, const QString& path,
                                  QString* reason = nullptr);
