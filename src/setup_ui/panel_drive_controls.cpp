#include "setup_ui/panel_drive_controls.h"

#include "comm/panel_setup.h"

#include <QComboBox>
#include <QSpinBox>

#include <algorithm>

void PanelDriveControls::Show(const PanelDriveValues& values) const
{
    colourType->setCurrentIndex(values.colourType - 1);
    width->setValue(values.width);
    height->setValue(values.height);
    dataPolarity->setCurrentIndex(values.dataPolarity);
    oePolarity->setCurrentIndex(values.oePolarity);
    freq->setCurrentIndex(values.clockFreq);
    blanking->setCurrentIndex(values.blanking - 5);
}

void PanelDriveControls::Read(PanelDriveValues& values) const
{
    values.modelName = controller->currentText();
    values.colourType = colourType->currentIndex() + 1;
    values.width = width->value();
    values.height = height->value();
    values.dataPolarity = std::max(0, dataPolarity->currentIndex());
    values.oePolarity = std::max(0, oePolarity->currentIndex());
    values.clockFreq = std::max(0, freq->currentIndex());
    values.blanking = std::max(0, blanking->currentIndex()) + 5;
}
