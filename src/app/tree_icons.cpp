#include "app/tree_icons.h"

#include <QFile>
#include <QHash>
#include <QPainter>
#include <QPixmap>

#include <functional>

namespace {

QIcon Cached(const QString& key, const std::function<QIcon()>& make)
{
    static QHash<QString, QIcon> cache;
    auto it = cache.find(key);
    if (it == cache.end())
        it = cache.insert(key, make());
    return *it;
}

QString TreePath(int imageIndex)
{
    const QString path = QStringLiteral(":/icons/tree_%1.svg").arg(imageIndex);
    return QFile::exists(path) ? path : QStringLiteral(":/icons/tree_0.svg");
}

} // namespace

QIcon TreeIcon(int imageIndex)
{
    return Cached(QStringLiteral("tree%1").arg(imageIndex),
                  [&] { return QIcon(TreePath(imageIndex)); });
}

QIcon CommandIcon(const QString& name)
{
    return Cached(name, [&] { return QIcon(QStringLiteral(":/icons/%1.svg").arg(name)); });
}

QIcon AddIcon(int imageIndex)
{
    return Cached(QStringLiteral("add%1").arg(imageIndex), [&] {
        QIcon icon;
        for (int size : {16, 32}) {
            QPixmap pixmap = TreeIcon(imageIndex).pixmap(size, size);
            QPainter painter(&pixmap);
            painter.setRenderHint(QPainter::Antialiasing);
            const qreal unit = size / 16.0;
            const QRectF badge(9 * unit, 9 * unit, 7 * unit, 7 * unit);
            painter.setPen(Qt::NoPen);
            painter.setBrush(QColor(0x2e, 0x9e, 0x3e));
            painter.drawEllipse(badge);
            painter.setBrush(Qt::white);
            painter.drawRect(QRectF(10.5 * unit, 12 * unit, 4 * unit, 1 * unit));
            painter.drawRect(QRectF(12 * unit, 10.5 * unit, 1 * unit, 4 * unit));
            painter.end();
            icon.addPixmap(pixmap);
        }
        return icon;
    });
}
