#pragma once

struct PanelDriveValues;
class QComboBox;
class QSpinBox;

// The controls both setup forms have for the shared display-driving fields.
struct PanelDriveControls
{
    QComboBox* controller = nullptr;
    QComboBox* colourType = nullptr;
    QSpinBox* width = nullptr;
    QSpinBox* height = nullptr;
    QComboBox* dataPolarity = nullptr;
    QComboBox* oePolarity = nullptr;
    QComboBox* freq = nullptr;
    QComboBox* blanking = nullptr;

    // Shows the values, all but the model (each form selects that its own way).
    void Show(const PanelDriveValues& values) const;
    void Read(PanelDriveValues& values) const;
};
