#include "editors/editor_icons.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

constexpr int kSize = 32; // drawn at twice the 16-pixel size, scaled down by Qt

void DrawLetter(QPainter& painter, const QString& letter, bool italic, bool underline)
{
    QFont font(QStringLiteral("DejaVu Serif"));
    font.setPixelSize(24);
    font.setBold(!italic && !underline);
    font.setItalic(italic);
    font.setUnderline(underline);
    painter.setFont(font);
    painter.drawText(QRect(0, 0, kSize, kSize), Qt::AlignCenter, letter);
}

void DrawLines(QPainter& painter, Qt::Alignment align)
{
    const int lengths[] = {24, 16, 24, 12};
    for (int i = 0; i < 4; ++i) {
        const int width = lengths[i];
        int left = 4;
        if (align & Qt::AlignHCenter)
            left = (kSize - width) / 2;
        else if (align & Qt::AlignRight)
            left = kSize - 4 - width;
        painter.fillRect(left, 6 + i * 6, width, 3, painter.pen().color());
    }
}

void DrawVertical(QPainter& painter, Qt::Alignment align)
{
    painter.drawRect(4, 3, kSize - 9, kSize - 7);
    int top = 6;
    if (align & Qt::AlignVCenter)
        top = kSize / 2 - 4;
    else if (align & Qt::AlignBottom)
        top = kSize - 14;
    painter.fillRect(9, top, kSize - 18, 3, painter.pen().color());
    painter.fillRect(9, top + 5, kSize - 22, 3, painter.pen().color());
}

} // namespace

QIcon MakeEditorIcon(EditorIcon icon)
{
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor ink(0x30, 0x34, 0x3c);
    painter.setPen(QPen(ink, 2));
    switch (icon) {
    case EditorIcon::Bold:
        DrawLetter(painter, QStringLiteral("B"), false, false);
        break;
    case EditorIcon::Italic:
        DrawLetter(painter, QStringLiteral("I"), true, false);
        break;
    case EditorIcon::Underline:
        DrawLetter(painter, QStringLiteral("U"), false, true);
        break;
    case EditorIcon::AlignLeft:
        DrawLines(painter, Qt::AlignLeft);
        break;
    case EditorIcon::AlignCenter:
        DrawLines(painter, Qt::AlignHCenter);
        break;
    case EditorIcon::AlignRight:
        DrawLines(painter, Qt::AlignRight);
        break;
    case EditorIcon::AlignTop:
        DrawVertical(painter, Qt::AlignTop);
        break;
    case EditorIcon::AlignMiddle:
        DrawVertical(painter, Qt::AlignVCenter);
        break;
    case EditorIcon::AlignBottom:
        DrawVertical(painter, Qt::AlignBottom);
        break;
    case EditorIcon::SaveFile:
        painter.drawRoundedRect(5, 5, 22, 22, 2, 2);
        painter.fillRect(10, 5, 12, 8, ink);
        painter.drawRect(10, 18, 12, 9);
        break;
    case EditorIcon::OpenFile: {
        QPainterPath folder;
        folder.moveTo(4, 9);
        folder.lineTo(12, 9);
        folder.lineTo(15, 12);
        folder.lineTo(28, 12);
        folder.lineTo(28, 26);
        folder.lineTo(4, 26);
        folder.closeSubpath();
        painter.setBrush(QColor(0xf2, 0xc1, 0x4e));
        painter.drawPath(folder);
        break;
    }
    case EditorIcon::InsertImage: {
        painter.drawRect(4, 6, 24, 20);
        QPainterPath hills;
        hills.moveTo(6, 24);
        hills.lineTo(13, 14);
        hills.lineTo(18, 20);
        hills.lineTo(21, 17);
        hills.lineTo(26, 24);
        hills.closeSubpath();
        painter.setBrush(QColor(0x3f, 0xa0, 0x5a));
        painter.drawPath(hills);
        painter.setBrush(QColor(0xff, 0xb2, 0x1e));
        painter.drawEllipse(QPointF(22, 11), 2.5, 2.5);
        break;
    }
    case EditorIcon::LineSpace:
        for (int i = 0; i < 3; ++i)
            painter.fillRect(13, 7 + i * 8, 15, 3, ink);
        painter.drawLine(7, 5, 7, 27);
        painter.drawLine(4, 9, 7, 5);
        painter.drawLine(10, 9, 7, 5);
        painter.drawLine(4, 23, 7, 27);
        painter.drawLine(10, 23, 7, 27);
        break;
    }
    painter.end();
    return QIcon(pixmap);
}
