#include "setup_ui/setup_lists.h"

#include "base/string_table.h"
#include "config/model_info.h"
#include "config/scan_mode_table.h"

#include <QComboBox>
#include <QSignalBlocker>

namespace SetupLists {

void FillModels(QComboBox& box)
{
    box.addItems(CModelInfo::ListedModelNames());
}

void FillFromString(QComboBox& box, int id)
{
    box.addItems(LoadStringList(id));
}

void FillColourTypes(QComboBox& box)
{
    FillFromString(box, 41106);
}

void FillPolarities(QComboBox& box)
{
    FillFromString(box, 41107);
}

void FillFrequencies(QComboBox& box, bool panelSetupSuffixes)
{
    QStringList items = {QStringLiteral("2.0M"), QStringLiteral("2.5M"), QStringLiteral("3.0M"),
                         QStringLiteral("3.5M"), QStringLiteral("4.0M"), QStringLiteral("4.5M"),
                         QStringLiteral("5.0M")};
    if (panelSetupSuffixes) {
        items.first() += QStringLiteral("(慢)");
        items.last() += QStringLiteral("(快)");
    }
    box.addItems(items);
}

void FillBlanking(QComboBox& box)
{
    for (int value = 5; value < 63; ++value)
        box.addItem(QString::number(value));
    box.addItem(QStringLiteral("63") + LoadString(41120));
}

void FillScanRows(QComboBox& box)
{
    for (int row = 0; row < ScanModeTable::kRowCount; ++row)
        box.addItem(ScanModeTable::Label(row));
}

void SelectModel(QComboBox& box, const QString& name)
{
    int found = -1;
    for (int i = 0; i < box.count() && !name.isEmpty(); ++i) {
        if (box.itemText(i).startsWith(name)) {
            found = i;
            break;
        }
    }
    SetIndexQuietly(box, found);
}

void SetIndexQuietly(QComboBox& box, int index)
{
    const QSignalBlocker blocker(box);
    box.setCurrentIndex(index);
}

} // namespace SetupLists
