#pragma once

#include <QString>

class QComboBox;

// The choice lists the controller setup forms share, filled from the string table.
namespace SetupLists {

void FillModels(QComboBox& box);      // the listed controller models
void FillColourTypes(QComboBox& box); // 41106
void FillPolarities(QComboBox& box);  // 41107
void FillFrequencies(QComboBox& box, bool panelSetupSuffixes);
void FillBlanking(QComboBox& box); // 5 .. 63 (Max)
void FillScanRows(QComboBox& box); // the scan-mode table
void FillFromString(QComboBox& box, int id);
// Selects the first model whose name starts with the text; nothing when none does.
void SelectModel(QComboBox& box, const QString& name);
// Sets the index while the box's signals are blocked.
void SetIndexQuietly(QComboBox& box, int index);

} // namespace SetupLists
