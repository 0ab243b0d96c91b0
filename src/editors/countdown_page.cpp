#include "editors/countdown_page.h"

#include "model/countdown_zone.h"
#include "model/page_rules.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QTimeEdit>
#include <QVBoxLayout>

CCountdownPage::CCountdownPage(CCountdownZone& zone, CLumivantDoc& doc, QWidget* parent)
    : CZonePageBase(zone, doc, parent)
{
    auto* layout = new QVBoxLayout(Content());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(BuildPartsBox());
    layout->addWidget(BuildMoreBox());
    layout->addStretch();
    Load();
}

CCountdownZone& CCountdownPage::Countdown() const
{
    return static_cast<CCountdownZone&>(Object());
}

QWidget* CCountdownPage::BuildPartsBox()
{
    auto* box = new QGroupBox(Content());
    Relabel([box] { box->setTitle(tr("Countdown")); });
    auto* grid = new QGridLayout(box);
    m_format = MakeListCombo("format", 41097);
    grid->addWidget(MakeLabel([] { return tr("Format:"); }), 0, 0);
    grid->addWidget(m_format, 0, 1, 1, 2);
    connect(m_format, &QComboBox::activated, this, [this] {
        EditContent([&] { Countdown().Settings().format = m_format->CurrentData(); });
    });
    const char* names[] = {"showDays", "showHours", "showMinutes", "showSeconds"};
    const std::function<QString()> labels[] = {[] { return tr("Day"); }, [] { return tr("Hour"); },
                                               [] { return tr("Min"); }, [] { return tr("Sec"); }};
    for (int part = 0; part < 4; ++part) {
        const auto i = static_cast<size_t>(part);
        auto* check = new QCheckBox(box);
        check->setObjectName(QString::fromLatin1(names[part]));
        Relabel([check, label = labels[part]] { check->setText(label()); });
        m_shown[i] = check;
        m_digitColours[i] = MakeColourCombo((std::string(names[part]) + "Colour").c_str());
        m_unitColours[i] = MakeColourCombo((std::string(names[part]) + "UnitColour").c_str());
        grid->addWidget(check, part + 1, 0);
        grid->addWidget(m_digitColours[i], part + 1, 1);
        grid->addWidget(m_unitColours[i], part + 1, 2);
        connect(check, &QCheckBox::clicked, this, [this, part](bool on) {
            EditContent([&] { Countdown().Settings().show[part] = on ? 1 : 0; });
        });
        connect(m_digitColours[i], &QComboBox::activated, this, [this, part, i] {
            EditContent([&] {
                Countdown().Settings().colour[CountdownDigits + part] =
                    m_digitColours[i]->CurrentData();
            });
        });
        connect(m_unitColours[i], &QComboBox::activated, this, [this, part, i] {
            EditContent([&] {
                Countdown().Settings().colour[CountdownUnits + part] =
                    m_unitColours[i]->CurrentData();
            });
        });
    }
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(2, 1);
    return box;
}

QWidget* CCountdownPage::BuildMoreBox()
{
    auto* box = new QGroupBox(Content());
    Relabel([box] { box->setTitle(tr("More options")); });
    m_title = new QLineEdit(box);
    m_title->setObjectName(QStringLiteral("title"));
    m_title->setMaxLength(CountdownSettings::kTitleCapacity);
    m_titleColour = MakeColourCombo("titleColour");
    m_titleFont = MakeFontCombo("titleFont");
    m_titleSize = MakeFontSizeCombo("titleSize", false);
    m_targetDate = new QDateEdit(box);
    m_targetDate->setObjectName(QStringLiteral("targetDate"));
    m_targetDate->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    m_targetDate->setDateRange(QDate(1970, 1, 1), QDate(2037, 12, 31));
    m_targetDate->setCalendarPopup(true);
    m_targetTime = new QTimeEdit(box);
    Name(m_targetTime, [] { return tr("Target time"); });
    m_targetTime->setObjectName(QStringLiteral("targetTime"));
    m_targetTime->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    m_type = MakeListCombo("type", 41098);
    m_digitSize = MakeListCombo("digitSize", 41099);

    auto* grid = new QGridLayout(box);
    grid->addWidget(MakeLabel([] { return tr("Static text:"); }), 0, 0);
    grid->addWidget(m_title, 0, 1, 1, 2);
    grid->addWidget(m_titleColour, 0, 3);
    grid->addWidget(MakeLabel([] { return tr("Font:"); }), 1, 0);
    grid->addWidget(m_titleFont, 1, 1, 1, 2);
    grid->addWidget(m_titleSize, 1, 3);
    grid->addWidget(MakeLabel([] { return tr("Target:"); }), 2, 0);
    grid->addWidget(m_targetDate, 2, 1);
    grid->addWidget(m_targetTime, 2, 2);
    grid->addWidget(MakeLabel([] { return tr("Type:"); }), 3, 0);
    grid->addWidget(m_type, 3, 1, 1, 2);
    grid->addWidget(MakeLabel([] { return tr("Size:"); }), 4, 0);
    grid->addWidget(m_digitSize, 4, 1, 1, 2);
    grid->setColumnStretch(1, 1);

    connect(m_title, &QLineEdit::textEdited, this, [this](const QString& text) {
        EditContent([&] { Countdown().Settings().title = text; }, m_titleMerge);
    });
    connect(m_titleColour, &QComboBox::activated, this, [this] {
        EditContent(
            [&] { Countdown().Settings().colour[CountdownTitle] = m_titleColour->CurrentData(); });
    });
    connect(m_titleFont, &QComboBox::textActivated, this, [this](const QString& font) {
        EditContent([&] {
            Countdown().Settings().titleFont = font.left(CountdownSettings::kFontCapacity);
        });
    });
    connect(m_titleSize, &QComboBox::activated, this, [this] {
        EditContent([&] { Countdown().Settings().titleFontSize = m_titleSize->CurrentData(); });
    });
    connect(m_targetDate, &QDateEdit::dateChanged, this, [this] { StoreTarget(); });
    connect(m_targetTime, &QTimeEdit::timeChanged, this, [this] { StoreTarget(); });
    connect(m_type, &QComboBox::activated, this,
            [this] { EditContent([&] { Countdown().Settings().type = m_type->CurrentData(); }); });
    connect(m_digitSize, &QComboBox::activated, this, [this] {
        EditContent([&] { Countdown().Settings().digitSize = m_digitSize->CurrentData(); });
    });
    return box;
}

void CCountdownPage::StoreTarget()
{
    const QDateTime local(m_targetDate->date(), m_targetTime->time(), Qt::LocalTime);
    EditContent([&] { Countdown().Settings().target = PageRules::LocalSecondsFromDateTime(local); },
                m_targetMerge);
}

void CCountdownPage::LoadControls()
{
    const CountdownSettings& settings = Countdown().Settings();
    m_format->SelectData(settings.format);
    for (int part = 0; part < 4; ++part) {
        const auto i = static_cast<size_t>(part);
        m_shown[i]->setChecked(settings.show[part] != 0);
        SelectColour(m_digitColours[i], settings.colour[CountdownDigits + part]);
        SelectColour(m_unitColours[i], settings.colour[CountdownUnits + part]);
    }
    QSignalBlocker b1(m_title), b2(m_titleFont), b3(m_targetDate), b4(m_targetTime);
    m_title->setText(settings.title);
    SelectColour(m_titleColour, settings.colour[CountdownTitle]);
    SelectText(m_titleFont, settings.titleFont);
    m_titleSize->SelectData(settings.titleFontSize);
    const QDateTime target = PageRules::DateTimeFromLocalSeconds(settings.target);
    m_targetDate->setDate(target.date());
    m_targetTime->setTime(target.time());
    m_type->SelectData(settings.type);
    m_digitSize->SelectData(settings.digitSize);
}
