#include "editors/table_page.h"

#include "base/string_table.h"
#include "model/page_rules.h"
#include "model/table_zone.h"
#include "render/led_paint.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

Qt::Alignment GridAlignment(int code)
{
    // The grid's codes: 0 to 2 left, 3 to 5 centre, 6 to 8 right; top, middle, bottom.
    const int column = std::clamp(code, 0, 8) / 3;
    const int row = std::clamp(code, 0, 8) % 3;
    const Qt::Alignment horizontal[] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight};
    const Qt::Alignment vertical[] = {Qt::AlignTop, Qt::AlignVCenter, Qt::AlignBottom};
    return horizontal[column] | vertical[row];
}

} // namespace

CTablePage::CTablePage(CTableZone& zone, CLumivantDoc& doc, QWidget* parent)
    : CZonePageBase(zone, doc, parent)
{
    m_font = MakeFontCombo("cellFont");
    m_fontSize = MakeFontSizeCombo("cellFontSize", true);
    m_fore = MakeColourCombo("foreColour");
    m_back = MakeColourCombo("backColour");
    m_border = MakeColourCombo("borderColour");
    Relabel([this] {
        m_font->setToolTip(LoadString(43114));
        m_fore->setToolTip(LoadString(43116));
        m_back->setToolTip(LoadString(43115));
        m_border->setToolTip(LoadString(43118));
    });
    m_text = new QLineEdit(Content());
    m_text->setObjectName(QStringLiteral("cellText"));
    m_text->setMaxLength(TableCell::kTextCapacity);
    m_grid = new QTableWidget(Content());
    m_grid->setObjectName(QStringLiteral("grid"));
    Name(m_text, [] { return tr("Cell text"); });
    Name(m_grid, [] { return tr("Table"); });
    Name(m_fontSize, [] { return tr("Font size"); });
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_grid->setStyleSheet(
        QStringLiteral("QTableWidget { background: black; gridline-color: red; }"));

    auto makeButton = [this](const char* name, std::function<QString()> text,
                             void (CTablePage::*slot)()) {
        auto* button = new QPushButton(Content());
        button->setObjectName(QString::fromLatin1(name));
        Relabel([button, text = std::move(text)] { button->setText(text()); });
        connect(button, &QPushButton::clicked, this, slot);
        return button;
    };
    m_addColumn = makeButton(
        "addColumn", [] { return tr("Add Col"); }, &CTablePage::AddColumn);
    m_deleteColumn = makeButton(
        "deleteColumn", [] { return tr("Delete Col"); }, &CTablePage::DeleteColumn);
    m_addRow = makeButton(
        "addRow", [] { return tr("Add Row"); }, &CTablePage::AddRow);
    m_deleteRow = makeButton(
        "deleteRow", [] { return tr("Delete Row"); }, &CTablePage::DeleteRow);

    auto* tools = new QHBoxLayout;
    tools->addWidget(m_font, 2);
    tools->addWidget(m_fontSize);
    tools->addWidget(m_fore);
    tools->addWidget(m_back);
    tools->addWidget(m_border);
    auto* commands = new QHBoxLayout;
    commands->addWidget(m_text, 1);
    for (QPushButton* button : {m_addColumn, m_deleteColumn, m_addRow, m_deleteRow})
        commands->addWidget(button);
    auto* layout = new QVBoxLayout(Content());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(tools);
    layout->addLayout(commands);
    layout->addWidget(m_grid, 1);

    connect(m_grid, &QTableWidget::currentCellChanged, this, [this] { ShowCurrentCell(); });
    connect(m_grid, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        const QString text = item->text().left(TableCell::kTextCapacity);
        const int row = item->row(), column = item->column();
        if (row >= Table().RowCount() || column >= Table().ColumnCount())
            return;
        EditContent([&] { Table().Cell(row, column).text = text; });
        ShowCell(row, column);
        ShowCurrentCell();
    });
    connect(m_text, &QLineEdit::textEdited, this, [this](const QString& text) {
        EditCell([&](TableCell& cell) { cell.text = text; }, m_textMerge);
    });
    connect(m_font, &QComboBox::textActivated, this, [this](const QString& font) {
        EditCell([&](TableCell& cell) { cell.fontName = font.left(TableCell::kFontCapacity); });
    });
    connect(m_fontSize, &QComboBox::activated, this, [this] {
        EditCell([&](TableCell& cell) { cell.fontSize = m_fontSize->CurrentData(); });
    });
    connect(m_fore, &QComboBox::activated, this, [this] {
        EditCell([&](TableCell& cell) {
            cell.foreColour = PageRules::ColorRefOfIndex(m_fore->CurrentData());
        });
    });
    connect(m_back, &QComboBox::activated, this, [this] {
        EditCell([&](TableCell& cell) {
            cell.backColour = PageRules::ColorRefOfIndex(m_back->CurrentData());
        });
    });
    connect(m_border, &QComboBox::activated, this, [this] {
        EditContent(
            [&] { Table().SetLineColour(PageRules::ColorRefOfIndex(m_border->CurrentData())); });
    });
    Load();
}

CTableZone& CTablePage::Table() const
{
    return static_cast<CTableZone&>(Object());
}

void CTablePage::LoadControls()
{
    FillGrid();
    m_border->SelectData(PageRules::ColourIndexOfColorRef(Table().GetLineColour(), ColourDepth()));
    ShowCurrentCell();
}

void CTablePage::FillGrid()
{
    QSignalBlocker blocker(m_grid);
    const CTableZone& table = Table();
    const int currentRow = std::max(m_grid->currentRow(), 0);
    const int currentColumn = std::max(m_grid->currentColumn(), 0);
    m_grid->clear();
    m_grid->setRowCount(table.RowCount());
    m_grid->setColumnCount(table.ColumnCount());
    for (int c = 0; c < table.ColumnCount(); ++c)
        m_grid->setColumnWidth(c, std::max(table.ColumnWidths()[static_cast<size_t>(c)], 1) *
                                      kGridZoom);
    for (int r = 0; r < table.RowCount(); ++r) {
        m_grid->setRowHeight(r,
                             std::max(table.Rows()[static_cast<size_t>(r)].height, 1) * kGridZoom);
        for (int c = 0; c < table.ColumnCount(); ++c)
            ShowCell(r, c);
    }
    if (table.RowCount() > 0 && table.ColumnCount() > 0)
        m_grid->setCurrentCell(std::min(currentRow, table.RowCount() - 1),
                               std::min(currentColumn, table.ColumnCount() - 1));
}

void CTablePage::ShowCell(int row, int column)
{
    QSignalBlocker blocker(m_grid);
    const TableCell& cell = Table().Cell(row, column);
    auto* item = m_grid->item(row, column);
    if (!item) {
        item = new QTableWidgetItem;
        m_grid->setItem(row, column, item);
    }
    const int depth = ColourDepth();
    item->setText(cell.text);
    item->setForeground(ColourFromIndex(PageRules::ColourIndexOfColorRef(cell.foreColour, depth)));
    item->setBackground(ColourFromIndex(PageRules::ColourIndexOfColorRef(cell.backColour, depth)));
    QFont font(cell.fontName);
    font.setPointSize(std::clamp(cell.fontSize, 1, 128));
    font.setBold(cell.bold != 0);
    font.setItalic(cell.italic != 0);
    font.setUnderline(cell.underline != 0);
    item->setFont(font);
    item->setTextAlignment(GridAlignment(cell.alignment));
}

void CTablePage::ShowCurrentCell()
{
    const CTableZone& table = Table();
    if (table.RowCount() == 0 || table.ColumnCount() == 0)
        return;
    const int row = std::clamp(m_grid->currentRow(), 0, table.RowCount() - 1);
    const int column = std::clamp(m_grid->currentColumn(), 0, table.ColumnCount() - 1);
    const TableCell& cell = table.Cell(row, column);
    const bool ready = IsReady();
    SetReady(false);
    QSignalBlocker b1(m_text), b2(m_font);
    m_text->setText(cell.text);
    SelectText(m_font, cell.fontName);
    m_fontSize->SelectData(cell.fontSize);
    m_fore->SelectData(PageRules::ColourIndexOfColorRef(cell.foreColour, ColourDepth()));
    m_back->SelectData(PageRules::ColourIndexOfColorRef(cell.backColour, ColourDepth()));
    SetReady(ready);
}

void CTablePage::EditCell(const std::function<void(TableCell&)>& change, int mergeId)
{
    CTableZone& table = Table();
    if (table.RowCount() == 0 || table.ColumnCount() == 0)
        return;
    const int row = std::clamp(m_grid->currentRow(), 0, table.RowCount() - 1);
    const int column = std::clamp(m_grid->currentColumn(), 0, table.ColumnCount() - 1);
    EditContent([&] { change(table.Cell(row, column)); }, mergeId);
    ShowCell(row, column);
}

void CTablePage::EditShape(bool (*command)(CTableZone&))
{
    bool changed = false;
    EditContent([&] { changed = command(Table()); });
    if (changed)
        Load();
}

void CTablePage::AddColumn()
{
    EditShape(&PageRules::AddTableColumn);
}

void CTablePage::DeleteColumn()
{
    EditShape(&PageRules::DeleteTableColumn);
}

void CTablePage::AddRow()
{
    EditShape(&PageRules::AddTableRow);
}

void CTablePage::DeleteRow()
{
    EditShape(&PageRules::DeleteTableRow);
}
