#pragma once

#include "model/effect_zone.h"

#include <QString>

#include <vector>

struct TableRow
{
    std::int32_t height = 15;
    std::int32_t start = 0;
    std::int32_t end = 0;
};

struct TableCell
{
    static constexpr int kFontCapacity = 31;
    static constexpr int kTextCapacity = 127;

    std::uint32_t foreColour = 255; // 0x00BBGGRR
    std::uint32_t backColour = 0;
    std::int32_t fontSize = 9; // points
    std::int32_t bold = 0;
    std::int32_t underline = 0;
    std::int32_t italic = 0;
    std::int32_t alignment = 4; // the grid's cell alignment codes; 4 centre
    QString fontName;
    QString text;
};

// A grid of cells with row heights and column widths in pixels.
class CTableZone final : public CEffectZone
{
public:
    // Bounds on what a file may ask for, far above any table a screen can show.
    static constexpr int kMaxRows = 4096;
    static constexpr int kMaxColumns = 256;
    static constexpr int kMaxCells = 65536;

    explicit CTableZone(CProjectObject* parent);
    int GetKind() const override { return KindTable; }
    int GetImageIndex() const override { return 7; }
    void VisitProperties(CPropertyIo& io) override;

    int RowCount() const { return static_cast<int>(m_rows.size()); }
    int ColumnCount() const { return static_cast<int>(m_columnWidths.size()); }
    // Resizes the grid; new cells take the defaults of a new table.
    void SetSize(int rows, int columns);

    std::uint32_t GetLineColour() const { return m_lineColour; }
    void SetLineColour(std::uint32_t colour) { m_lineColour = colour; }
    std::vector<TableRow>& Rows() { return m_rows; }
    const std::vector<TableRow>& Rows() const { return m_rows; }
    std::vector<std::int32_t>& ColumnWidths() { return m_columnWidths; }
    const std::vector<std::int32_t>& ColumnWidths() const { return m_columnWidths; }
    TableCell& Cell(int row, int column);
    const TableCell& Cell(int row, int column) const;
    std::vector<TableCell>& Cells() { return m_cells; }
    const std::vector<TableCell>& Cells() const { return m_cells; }

private:
    TableCell NewCell() const;
    void ReadGridSize(CPropertyIo& io);

    std::uint32_t m_lineColour = 255;
    std::vector<TableRow> m_rows;
    std::vector<std::int32_t> m_columnWidths;
    std::vector<TableCell> m_cells; // row by row
};
