// What the desktop program needs of Qt's plugins: the SVG icon engine for every icon of the
// tree and the toolbar, and the TIFF reader for the pictures the dialogs offer.
#include "app/tree_icons.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QPixmap>

#include <gtest/gtest.h>

namespace {

// True when the icon draws at least one pixel that is not transparent.
bool DrawsSomething(const QIcon& icon)
{
    const QImage image = icon.pixmap(16, 16).toImage().convertToFormat(QImage::Format_ARGB32);
    if (image.isNull())
        return false;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(image.pixel(x, y)) > 0)
                return true;
        }
    }
    return false;
}

TEST(DesktopPlugins, EveryTreeAndToolbarIconDraws)
{
    for (int index : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 18})
        EXPECT_TRUE(DrawsSomething(TreeIcon(index))) << "tree icon " << index;
    for (const char* name : {"new", "open", "save", "send", "export", "delete", "up", "down",
                             "search", "sync", "setup", "about"})
        EXPECT_TRUE(DrawsSomething(CommandIcon(QString::fromLatin1(name)))) << name;
    EXPECT_TRUE(DrawsSomething(AddIcon(2)));
}

TEST(DesktopPlugins, TiffPicturesLoad)
{
    const QList<QByteArray> formats = QImageReader::supportedImageFormats();
    ASSERT_TRUE(formats.contains("tiff")) << "the image-formats plugins are not installed";
    QImage picture(8, 4, QImage::Format_RGB32);
    picture.fill(Qt::red);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(QImageWriter(&buffer, "tiff").write(picture));
    QImage loaded;
    ASSERT_TRUE(loaded.loadFromData(bytes, "TIF"));
    EXPECT_EQ(loaded.size(), QSize(8, 4));
    EXPECT_EQ(loaded.pixelColor(3, 2), QColor(Qt::red));
}

} // namespace
