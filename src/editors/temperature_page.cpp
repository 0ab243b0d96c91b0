#include "editors/temperature_page.h"

#include "editors/control_names.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

CTemperaturePage::CTemperaturePage(CTemperatureZone& zone, CLumivantDoc& doc, QWidget* parent)
    : CZonePageBase(zone, doc, parent)
{
    m_sensor = MakeListCombo("sensor", 41105);
    m_singleLine = new QRadioButton(Content());
    m_singleLine->setObjectName(QStringLiteral("singleLine"));
    Relabel([this] { m_singleLine->setText(tr("Single line")); });
    m_multiLine = new QRadioButton(Content());
    m_multiLine->setObjectName(QStringLiteral("multiLine"));
    Relabel([this] { m_multiLine->setText(tr("Multi-line")); });
    m_showTemperature = new QCheckBox(Content());
    m_showTemperature->setObjectName(QStringLiteral("showTemperature"));
    Relabel([this] { m_showTemperature->setText(tr("Temp")); });
    m_temperatureLabel = MakeText("temperatureLabel", TemperatureSettings::kLabelCapacity,
                                  &TemperatureSettings::temperatureLabel);
    m_temperatureUnit = MakeText("temperatureUnit", TemperatureSettings::kUnitCapacity,
                                 &TemperatureSettings::temperatureUnit);
    m_temperatureLabelColour =
        MakeColour("temperatureLabelColour", &TemperatureSettings::temperatureLabelColour);
    m_temperatureDigitColour =
        MakeColour("temperatureDigitColour", &TemperatureSettings::temperatureDigitColour);
    m_showHumidity = new QCheckBox(Content());
    m_showHumidity->setObjectName(QStringLiteral("showHumidity"));
    Relabel([this] { m_showHumidity->setText(tr("Humi")); });
    m_humidityLabel = MakeText("humidityLabel", TemperatureSettings::kLabelCapacity,
                               &TemperatureSettings::humidityLabel);
    m_humidityUnit = MakeText("humidityUnit", TemperatureSettings::kUnitCapacity,
                              &TemperatureSettings::humidityUnit);
    m_humidityLabelColour =
        MakeColour("humidityLabelColour", &TemperatureSettings::humidityLabelColour);
    m_humidityDigitColour =
        MakeColour("humidityDigitColour", &TemperatureSettings::humidityDigitColour);
    m_font = MakeFontCombo("font");
    m_fontSize = MakeFontSizeCombo("fontSize", false);
    m_digitSize = MakeListCombo("digitSize", 41099);

    auto* box = new QGroupBox(Content());
    Relabel([box] { box->setTitle(tr("Temperature")); });
    auto* grid = new QGridLayout(box);
    grid->addWidget(MakeLabel([] { return tr("Senser:"); }), 0, 0);
    grid->addWidget(m_sensor, 0, 1, 1, 4);
    grid->addWidget(m_singleLine, 1, 1, 1, 2);
    grid->addWidget(m_multiLine, 1, 3, 1, 2);
    grid->addWidget(m_showTemperature, 2, 0);
    grid->addWidget(m_temperatureLabel, 2, 1);
    grid->addWidget(m_temperatureLabelColour, 2, 2);
    SetNameRole(m_temperatureUnit, NameRole::Unit);
    SetNameRole(m_humidityUnit, NameRole::Unit);
    grid->addWidget(m_temperatureUnit, 2, 3);
    grid->addWidget(m_temperatureDigitColour, 2, 4);
    grid->addWidget(m_showHumidity, 3, 0);
    grid->addWidget(m_humidityLabel, 3, 1);
    grid->addWidget(m_humidityLabelColour, 3, 2);
    grid->addWidget(m_humidityUnit, 3, 3);
    grid->addWidget(m_humidityDigitColour, 3, 4);
    grid->addWidget(MakeLabel([] { return tr("Text:"); }), 4, 0);
    grid->addWidget(m_font, 4, 1, 1, 2);
    grid->addWidget(m_fontSize, 4, 3);
    grid->addWidget(MakeLabel([] { return tr("Number:"); }), 5, 0);
    grid->addWidget(m_digitSize, 5, 1, 1, 2);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    auto* layout = new QVBoxLayout(Content());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(box);
    layout->addStretch();

    connect(m_sensor, &QComboBox::activated, this, [this] {
        EditContent([&] {
            TemperatureSettings& settings = Temperature().Settings();
            settings.sensor = m_sensor->CurrentData();
            if (settings.sensor == 0)
                settings.showHumidity = 0;
        });
        Load();
    });
    auto storeLines = [this] {
        EditContent(
            [this] { Temperature().Settings().oneLine = m_singleLine->isChecked() ? 1 : 0; });
    };
    connect(m_singleLine, &QRadioButton::clicked, this, storeLines);
    connect(m_multiLine, &QRadioButton::clicked, this, storeLines);
    connect(m_showTemperature, &QCheckBox::clicked, this, [this](bool on) {
        EditContent([&] { Temperature().Settings().showTemperature = on ? 1 : 0; });
    });
    connect(m_showHumidity, &QCheckBox::clicked, this, [this](bool on) {
        EditContent([&] { Temperature().Settings().showHumidity = on ? 1 : 0; });
    });
    connect(m_font, &QComboBox::textActivated, this, [this](const QString& font) {
        EditContent([&] {
            Temperature().Settings().fontName = font.left(TemperatureSettings::kFontCapacity);
        });
    });
    connect(m_fontSize, &QComboBox::activated, this, [this] {
        EditContent([&] { Temperature().Settings().labelFontSize = m_fontSize->CurrentData(); });
    });
    connect(m_digitSize, &QComboBox::activated, this, [this] {
        EditContent([&] { Temperature().Settings().digitSize = m_digitSize->CurrentData(); });
    });
    Load();
}

CTemperatureZone& CTemperaturePage::Temperature() const
{
    return static_cast<CTemperatureZone&>(Object());
}

QLineEdit* CTemperaturePage::MakeText(const char* name, int capacity,
                                      QString TemperatureSettings::*field)
{
    auto* edit = new QLineEdit(Content());
    edit->setObjectName(QString::fromLatin1(name));
    edit->setMaxLength(capacity);
    const int merge = NewMergeId();
    connect(edit, &QLineEdit::textEdited, this, [this, field, merge](const QString& text) {
        EditContent([&] { Temperature().Settings().*field = text; }, merge);
    });
    return edit;
}

CGuardedCombo* CTemperaturePage::MakeColour(const char* name,
                                            std::int32_t TemperatureSettings::*field)
{
    CGuardedCombo* combo = MakeColourCombo(name);
    connect(combo, &QComboBox::activated, this, [this, combo, field] {
        EditContent([&] { Temperature().Settings().*field = combo->CurrentData(); });
    });
    return combo;
}

void CTemperaturePage::LoadControls()
{
    const TemperatureSettings& settings = Temperature().Settings();
    QSignalBlocker b1(m_temperatureLabel), b2(m_temperatureUnit), b3(m_humidityLabel),
        b4(m_humidityUnit), b5(m_font);
    m_sensor->SelectData(settings.sensor);
    m_singleLine->setChecked(settings.oneLine != 0);
    m_multiLine->setChecked(settings.oneLine == 0);
    m_showTemperature->setChecked(settings.showTemperature != 0);
    m_temperatureLabel->setText(settings.temperatureLabel);
    m_temperatureUnit->setText(settings.temperatureUnit);
    SelectColour(m_temperatureLabelColour, settings.temperatureLabelColour);
    SelectColour(m_temperatureDigitColour, settings.temperatureDigitColour);
    m_showHumidity->setChecked(settings.showHumidity != 0);
    m_humidityLabel->setText(settings.humidityLabel);
    m_humidityUnit->setText(settings.humidityUnit);
    SelectColour(m_humidityLabelColour, settings.humidityLabelColour);
    SelectColour(m_humidityDigitColour, settings.humidityDigitColour);
    SelectText(m_font, settings.fontName);
    m_fontSize->SelectData(settings.labelFontSize);
    m_digitSize->SelectData(settings.digitSize);
    EnableControls();
}

void CTemperaturePage::EnableControls()
{
    // Humidity needs the sensor that measures it.
    const bool humidity = m_sensor->CurrentData() == 1;
    for (QWidget* widget :
         std::initializer_list<QWidget*>{m_showHumidity, m_humidityLabel, m_humidityUnit,
                                         m_humidityLabelColour, m_humidityDigitColour})
        widget->setEnabled(humidity);
}
