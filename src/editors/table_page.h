#pragma once

#include "editors/zone_page_base.h"

class CTableZone;
class QLineEdit;
class QPushButton;
class QTableWidget;

// A table zone: the grid of cells edited in place, the selected cell's font and colours,
// the border colour, and the commands that add and delete columns and rows.
class CTablePage : public CZonePageBase
{
    Q_OBJECT

public:
    // How many screen pixels one LED pixel of the table takes in the grid.
    static constexpr int kGridZoom = 2;

    CTablePage(CTableZone& zone, CLumivantDoc& doc, QWidget* parent = nullptr);

    QTableWidget* Grid() const { return m_grid; }
    void AddColumn();
    void DeleteColumn();
    void AddRow();
    void DeleteRow();

protected:
    void LoadControls() override;

private:
    CTableZone& Table() const;
    void FillGrid();
    void ShowCell(int row, int column);
    void ShowCurrentCell();
    // Changes the current cell (the first when there is none) and shows it again.
    void EditCell(const std::function<void(struct TableCell&)>& change, int mergeId = 0);
    void EditShape(bool (*command)(CTableZone&));

    CGuardedCombo* m_font;
    CGuardedCombo* m_fontSize;
    CGuardedCombo* m_fore;
    CGuardedCombo* m_back;
    CGuardedCombo* m_border;
    QLineEdit* m_text;
    QTableWidget* m_grid;
    QPushButton* m_addColumn;
    QPushButton* m_deleteColumn;
    QPushButton* m_addRow;
    QPushButton* m_deleteRow;
    int m_textMerge = NewMergeId();
};
