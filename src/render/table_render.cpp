#include "model/table_zone.h"
#include "platform/font_mapping.h"
#include "render/led_paint.h"
#include "render/zone_renderers.h"

#include <QPainter>

#include <algorithm>

namespace {

// Largest table drawn, in pixels each way; a file may ask for more.
constexpr long long kMaxTableSide = 32768;

Qt::Alignment CellAlignment(int code)
{
    if (code < 0 || code > 8)
        code = 4;
    Qt::Alignment alignment;
    switch (code / 3) {
    case 0:
        alignment = Qt::AlignLeft;
        break;
    case 1:
        alignment = Qt::AlignHCenter;
        break;
    default:
        alignment = Qt::AlignRight;
        break;
    }
    switch (code % 3) {
    case 0:
        alignment |= Qt::AlignTop;
        break;
    case 1:
        alignment |= Qt::AlignVCenter;
        break;
    default:
        alignment |= Qt::AlignBottom;
        break;
    }
    return alignment;
}

} // namespace

QImage DrawTable(const CTableZone& zone)
{
    const int rows = zone.RowCount();
    const int columns = zone.ColumnCount();
    long long width = 1;
    long long height = 1;
    for (int column = 0; column < columns; ++column)
        width += std::max(0, zone.ColumnWidths()[static_cast<size_t>(column)]);
    for (int row = 0; row < rows; ++row)
        height += std::max(0, zone.Rows()[static_cast<size_t>(row)].height);
    width = std::min(width, kMaxTableSide);
    height = std::min(height, kMaxTableSide);
    QImage table(static_cast<int>(width), static_cast<int>(height), QImage::Format_RGB32);
    if (table.isNull())
        return table;
    table.fill(ColourFromColorRef(zone.GetLineColour()));
    if (zone.Cells().size() < static_cast<size_t>(rows) * static_cast<size_t>(columns))
        return table;
    QPainter painter(&table);
    SetLedRenderHints(painter);
    int y = 1;
    for (int row = 0; row < rows && y < height; ++row) {
        const int rowHeight = std::max(0, zone.Rows()[static_cast<size_t>(row)].height);
        int x = 1;
        for (int column = 0; column < columns && x < width; ++column) {
            const int columnWidth = std::max(0, zone.ColumnWidths()[static_cast<size_t>(column)]);
            const TableCell& cell = zone.Cell(row, column);
            // Right and bottom exclusive: the last pixel row and column stay grid lines.
            const QRect box(x, y, std::max(0, columnWidth - 1), std::max(0, rowHeight - 1));
            if (!box.isEmpty()) {
                painter.fillRect(box, ColourFromColorRef(cell.backColour));
                if (!cell.text.isEmpty()) {
                    painter.setFont(LedFont(cell.fontName,
                                            PointsToPixels(std::clamp(cell.fontSize, 1, 1000)),
                                            cell.bold != 0, cell.italic != 0, cell.underline != 0));
                    painter.setPen(ColourFromColorRef(cell.foreColour));
                    painter.setClipRect(box);
                    painter.drawText(box, CellAlignment(cell.alignment) | Qt::TextSingleLine,
                                     cell.text);
                    painter.setClipping(false);
                }
            }
            x += columnWidth;
        }
        y += rowHeight;
    }
    return table;
}

std::vector<QImage> CutTablePages(const QImage& table, int width, int height)
{
    std::vector<QImage> pages;
    if (table.isNull() || width <= 0 || height <= 0)
        return pages;
    const int tableWidth = table.width();
    const int tableHeight = table.height();
    if (tableHeight > height) {
        const int count = (tableHeight + height - 2) / height;
        const int x = std::max(0, (width - tableWidth) / 2);
        for (int page = 0; page < count; ++page) {
            QImage image = BlackImage(width, height);
            CopyRect(image, x, 0, table, 0, page * height, width, height);
            pages.push_back(std::move(image));
        }
        return pages;
    }
    const int count = std::max(1, (tableWidth + width - 2) / width);
    const int y = (height - tableHeight) / 2;
    const int x = count == 1 ? (width - tableWidth) / 2 : 0;
    for (int page = 0; page < count; ++page) {
        QImage image = BlackImage(width, height);
        CopyRect(image, x, y, table, page * width, 0, width, tableHeight);
        pages.push_back(std::move(image));
    }
    return pages;
}
