#pragma once

#include "editors/zone_page_base.h"

#include "model/temperature_zone.h"

class QCheckBox;
class QLineEdit;
class QRadioButton;

// The sensor, the temperature and humidity items with their texts and colours, and the
// fonts of a temperature zone.
class CTemperaturePage : public CZonePageBase
{
    Q_OBJECT

public:
    CTemperaturePage(CTemperatureZone& zone, CLumivantDoc& doc, QWidget* parent = nullptr);

protected:
    void LoadControls() override;

private:
    CTemperatureZone& Temperature() const;
    QLineEdit* MakeText(const char* name, int capacity, QString TemperatureSettings::*field);
    CGuardedCombo* MakeColour(const char* name, std::int32_t TemperatureSettings::*field);
    void EnableControls();

    CGuardedCombo* m_sensor;
    QRadioButton* m_singleLine;
    QRadioButton* m_multiLine;
    QCheckBox* m_showTemperature;
    QLineEdit* m_temperatureLabel;
    QLineEdit* m_temperatureUnit;
    CGuardedCombo* m_temperatureLabelColour;
    CGuardedCombo* m_temperatureDigitColour;
    QCheckBox* m_showHumidity;
    QLineEdit* m_humidityLabel;
    QLineEdit* m_humidityUnit;
    CGuardedCombo* m_humidityLabelColour;
    CGuardedCombo* m_humidityDigitColour;
    CGuardedCombo* m_font;
    CGuardedCombo* m_fontSize;
    CGuardedCombo* m_digitSize;
    int m_textMerge = NewMergeId();
};
