#include "setup_ui/wiring_diagram.h"

#include <QPainter>

QPixmap WiringDiagramPixmap()
{
    QPixmap pixmap(220, 110);
    pixmap.fill(Qt::white);
    QPainter painter(&pixmap);
    painter.setPen(Qt::black);
    // The card with its output connector.
    painter.drawRect(8, 30, 60, 50);
    painter.drawText(QRect(8, 30, 60, 50), Qt::AlignCenter, QStringLiteral("Card"));
    // The module as a grid of LEDs.
    painter.drawRect(130, 10, 82, 90);
    painter.setBrush(QColor(200, 30, 30));
    for (int row = 0; row < 6; ++row) {
        for (int column = 0; column < 6; ++column)
            painter.drawEllipse(QPoint(140 + column * 13, 22 + row * 13), 3, 3);
    }
    painter.setBrush(Qt::NoBrush);
    // The ribbon cable with the signals of the connector.
    static const char* const kSignals[] = {"OE", "A", "B", "CLK", "STB", "R1"};
    for (int i = 0; i < 6; ++i) {
        const int y = 36 + i * 7;
        painter.drawLine(68, y, 130, y);
    }
    QFont font = painter.font();
    font.setPixelSize(7);
    painter.setFont(font);
    for (int i = 0; i < 6; ++i)
        painter.drawText(QPoint(76, 34 + i * 7), QString::fromLatin1(kSignals[i]));
    return pixmap;
}
