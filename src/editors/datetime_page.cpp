#include "editors/datetime_page.h"

#include "model/datetime_zone.h"
#include "model/page_rules.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

CDateTimePage::CDateTimePage(CDateTimeZone& zone, CLumivantDoc& doc, QWidget* parent)
    : CZonePageBase(zone, doc, parent)
{
    auto* layout = new QVBoxLayout(Content());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(BuildLayoutBox());
    layout->addWidget(BuildItemsBox());
    layout->addStretch();
    Load();
}

CDateTimeZone& CDateTimePage::DateTime() const
{
    return static_cast<CDateTimeZone&>(Object());
}

QWidget* CDateTimePage::BuildLayoutBox()
{
    auto* box = new QGroupBox(Content());
    m_singleLine = new QRadioButton(box);
    m_singleLine->setObjectName(QStringLiteral("singleLine"));
    Relabel([this] { m_singleLine->setText(tr("Single line")); });
    m_multiLine = new QRadioButton(box);
    m_multiLine->setObjectName(QStringLiteral("multiLine"));
    Relabel([this] { m_multiLine->setText(tr("Multi-line")); });
    m_size = MakeListCombo("size", 41099);
    m_order = MakeListCombo("order", 41100);
    m_sign = MakeCombo("diffSign");
    m_sign->addItem(QStringLiteral("+"), 0);
    m_sign->addItem(QStringLiteral("-"), 1);
    m_hours = MakeSpin("diffHours", 0, PageRules::kMaxDiffHours);
    m_minutes = MakeSpin("diffMinutes", 0, 59);
    NameTimeDiff(m_sign, m_hours, m_minutes);

    auto* grid = new QGridLayout(box);
    grid->addWidget(m_singleLine, 0, 0, 1, 2);
    grid->addWidget(m_multiLine, 0, 2, 1, 3);
    grid->addWidget(MakeLabel([] { return tr("Size:"); }), 1, 0);
    grid->addWidget(m_size, 1, 1, 1, 4);
    grid->addWidget(MakeLabel([] { return tr("Order:"); }), 2, 0);
    grid->addWidget(m_order, 2, 1, 1, 4);
    grid->addWidget(MakeLabel([] { return tr("Time diff:"); }), 3, 0);
    auto* diff = new QHBoxLayout;
    diff->addWidget(m_sign);
    diff->addWidget(m_hours);
    diff->addWidget(MakeLabel([] { return tr("H"); }));
    diff->addWidget(m_minutes);
    diff->addWidget(MakeLabel([] { return tr("M"); }));
    diff->addStretch();
    grid->addLayout(diff, 3, 1, 1, 4);
    grid->setColumnStretch(4, 1);

    auto storeLines = [this] {
        EditContent([this] { DateTime().Settings().oneLine = m_singleLine->isChecked() ? 1 : 0; });
    };
    connect(m_singleLine, &QRadioButton::clicked, this, storeLines);
    connect(m_multiLine, &QRadioButton::clicked, this, storeLines);
    connect(m_size, &QComboBox::activated, this, [this] {
        EditContent(
            [&] { DateTime().Settings().size = static_cast<std::uint8_t>(m_size->CurrentData()); });
    });
    connect(m_order, &QComboBox::activated, this, [this] {
        EditContent([&] {
            DateTime().Settings().order = static_cast<std::uint8_t>(m_order->CurrentData());
        });
    });
    connect(m_sign, &QComboBox::activated, this, [this] { StoreTimeDiff(); });
    connect(m_hours, &QSpinBox::valueChanged, this, [this] { StoreTimeDiff(); });
    connect(m_minutes, &QSpinBox::valueChanged, this, [this] { StoreTimeDiff(); });
    return box;
}

QWidget* CDateTimePage::BuildItemsBox()
{
    auto* box = new QGroupBox(Content());
    Relabel([box] { box->setTitle(tr("More options")); });
    auto* grid = new QGridLayout(box);
    const char* shownNames[] = {"showText", "showDate", "showWeek", "showTime"};
    const char* formatNames[] = {nullptr, "dateFormat", "weekFormat", "timeFormat"};
    const char* colourNames[] = {"textColour", "dateColour", "weekColour", "timeColour"};
    const int formatLists[] = {0, 41101, 41102, 41103};
    const std::function<QString()> labels[] = {[] { return tr("Text"); }, [] { return tr("Date"); },
                                               [] { return tr("Week"); },
                                               [] { return tr("Time"); }};
    m_text = new QLineEdit(box);
    m_text->setObjectName(QStringLiteral("text"));
    m_text->setMaxLength(kTextLength);
    for (int item = 0; item < DateTimeItemCount; ++item) {
        const auto i = static_cast<size_t>(item);
        auto* check = new QCheckBox(box);
        check->setObjectName(QString::fromLatin1(shownNames[item]));
        Relabel([check, label = labels[item]] { check->setText(label()); });
        m_shown[i] = check;
        m_colours[i] = MakeColourCombo(colourNames[item]);
        grid->addWidget(check, item, 0);
        if (formatLists[item] != 0) {
            m_formats[i] = MakeListCombo(formatNames[item], formatLists[item]);
            grid->addWidget(m_formats[i], item, 1);
            connect(m_formats[i], &QComboBox::activated, this, [this, item, i] {
                EditContent([&] {
                    DateTime().Settings().format[item] =
                        static_cast<std::uint8_t>(m_formats[i]->CurrentData());
                });
            });
        } else {
            grid->addWidget(m_text, item, 1);
        }
        grid->addWidget(m_colours[i], item, 2);
        connect(check, &QCheckBox::clicked, this, [this, item](bool on) {
            EditContent([&] {
                std::uint8_t& shown = DateTime().Settings().enabled[item];
                shown = on ? (shown != 0 ? shown : 1) : 0;
            });
        });
        connect(m_colours[i], &QComboBox::activated, this, [this, item, i] {
            EditContent([&] {
                DateTime().Settings().colour[item] =
                    static_cast<std::uint8_t>(m_colours[i]->CurrentData());
            });
        });
    }
    grid->setColumnStretch(1, 1);
    connect(m_text, &QLineEdit::textEdited, this, [this](const QString& text) {
        EditContent([&] { DateTime().Settings().text = text.left(kTextLength); }, m_textMerge);
    });
    return box;
}

void CDateTimePage::StoreTimeDiff()
{
    const int minutes =
        PageRules::SignedMinutes(m_sign->CurrentData() == 1, m_hours->value(), m_minutes->value());
    EditContent([&] { DateTime().Settings().timeDifference = static_cast<std::int16_t>(minutes); },
                m_diffMerge);
}

void CDateTimePage::LoadControls()
{
    const DateTimeSettings& settings = DateTime().Settings();
    QSignalBlocker b1(m_hours), b2(m_minutes), b3(m_text);
    m_singleLine->setChecked(settings.oneLine == 1);
    m_multiLine->setChecked(settings.oneLine != 1);
    m_size->SelectData(settings.size);
    m_order->SelectData(settings.order);
    m_sign->SelectData(PageRules::IsNegative16(settings.timeDifference) ? 1 : 0);
    m_hours->setValue(PageRules::DiffHours(settings.timeDifference));
    m_minutes->setValue(PageRules::DiffMinutes(settings.timeDifference));
    for (int item = 0; item < DateTimeItemCount; ++item) {
        const auto i = static_cast<size_t>(item);
        m_shown[i]->setChecked(settings.enabled[item] != 0);
        if (m_formats[i])
            m_formats[i]->SelectData(settings.format[item]);
        SelectColour(m_colours[i], settings.colour[item]);
    }
    m_text->setText(settings.text);
}
