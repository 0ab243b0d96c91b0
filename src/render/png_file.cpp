#include "render/png_file.h"

#include "base/durable_file.h"

#include <QBuffer>
#include <QDir>

bool SavePngDurably(const QImage& image, const QString& path, QString* reason)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (image.isNull() || !buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG")) {
        if (reason)
            *reason = QStringLiteral("%1: the picture cannot be encoded as PNG")
                          .arg(QDir::toNativeSeparators(path));
        return false;
    }
    return WriteFileDurably(path, bytes, reason);
}
