#include "model/table_zone.h"

#include "base/default_font.h"
#include "model/property_io.h"

#include "model/indexed_key.h"

#include <algorithm>

CTableZone::CTableZone(CProjectObject* parent) : CEffectZone(parent)
{
    AssignDefaultName(41076, KindTable);
    SetSize(2, 2);
    for (int i = 0; i < 4; ++i)
        m_cells[static_cast<size_t>(i)].text = QString::number(i);
}

TableCell CTableZone::NewCell() const
{
    TableCell cell;
    cell.fontName = DefaultFontName();
    return cell;
}

void CTableZone::SetSize(int rows, int columns)
{
    rows = std::clamp(rows, 0, kMaxRows);
    columns = std::clamp(columns, 0, kMaxColumns);
    if (columns > 0)
        rows = std::min(rows, kMaxCells / columns);
    std::vector<TableCell> cells(static_cast<size_t>(rows) * static_cast<size_t>(columns));
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            TableCell& cell = cells[static_cast<size_t>(r * columns + c)];
            cell = r < RowCount() && c < ColumnCount() ? Cell(r, c) : NewCell();
        }
    }
    m_cells = std::move(cells);
    m_rows.resize(static_cast<size_t>(rows));
    m_columnWidths.resize(static_cast<size_t>(columns), 60);
}

TableCell& CTableZone::Cell(int row, int column)
{
    return m_cells[static_cast<size_t>(row * ColumnCount() + column)];
}

const TableCell& CTableZone::Cell(int row, int column) const
{
    return m_cells[static_cast<size_t>(row * ColumnCount() + column)];
}

void CTableZone::ReadGridSize(CPropertyIo& io)
{
    std::int32_t rows = RowCount();
    std::int32_t columns = ColumnCount();
    io.Int("tbmrs", rows);
    io.Int("tbmcs", columns);
    if (!io.IsReading())
        return;
    // A file's lists are rebuilt with the counts it gives: missing column widths read as
    // 60 and every cell starts all zero before its keys are read.
    rows = std::clamp(rows, 0, kMaxRows);
    columns = std::clamp(columns, 0, kMaxColumns);
    if (columns > 0)
        rows = std::min(rows, kMaxCells / columns);
    m_rows.assign(static_cast<size_t>(rows), TableRow{});
    m_columnWidths.assign(static_cast<size_t>(columns), 60);
    TableCell zero;
    zero.foreColour = 0;
    zero.fontSize = 0;
    zero.alignment = 0;
    m_cells.assign(static_cast<size_t>(rows) * static_cast<size_t>(columns), zero);
}

void CTableZone::VisitProperties(CPropertyIo& io)
{
    CEffectZone::VisitProperties(io);
    io.Int("crl", m_lineColour);
    ReadGridSize(io);
    for (int i = 0; i < RowCount(); ++i) {
        TableRow& row = m_rows[static_cast<size_t>(i)];
        io.Int(IndexedKey("r_h", i), row.height);
        io.Int(IndexedKey("r_s", i), row.start);
        io.Int(IndexedKey("r_e", i), row.end);
    }
    for (int i = 0; i < ColumnCount(); ++i)
        io.Int(IndexedKey("c", i), m_columnWidths[static_cast<size_t>(i)]);
    for (int j = 0; j < static_cast<int>(m_cells.size()); ++j) {
        TableCell& cell = m_cells[static_cast<size_t>(j)];
        io.Int(IndexedKey("c_bb", j), cell.bold);
        io.Int(IndexedKey("c_bi", j), cell.italic);
        io.Int(IndexedKey("c_bu", j), cell.underline);
        io.Int(IndexedKey("c_cb", j), cell.backColour);
        io.Int(IndexedKey("c_cf", j), cell.foreColour);
        io.Int(IndexedKey("c_na", j), cell.alignment);
        io.Int(IndexedKey("c_ns", j), cell.fontSize);
        io.Text(IndexedKey("c_sf", j), cell.fontName, TableCell::kFontCapacity);
        io.Text(IndexedKey("c_st", j), cell.text, TableCell::kTextCapacity);
    }
}
