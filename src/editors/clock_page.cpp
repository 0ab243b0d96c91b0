#include "editors/clock_page.h"

#include "editors/control_names.h"
#include "model/clock_zone.h"
#include "model/page_rules.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

CClockPage::CClockPage(CClockZone& zone, CLumivantDoc& doc, QWidget* parent)
    : CZonePageBase(zone, doc, parent)
{
    auto* layout = new QVBoxLayout(Content());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(BuildDial());
    layout->addWidget(BuildTitle());
    layout->addWidget(BuildTimeDiff());
    layout->addStretch();
    Load();
}

CClockZone& CClockPage::Clock() const
{
    return static_cast<CClockZone&>(Object());
}

QWidget* CClockPage::BuildDial()
{
    auto* box = new QGroupBox(Content());
    Relabel([box] { box->setTitle(tr("Dial plate")); });
    auto* grid = new QGridLayout(box);
    const char* sizeNames[] = {"hourMarkSize", "minuteMarkSize", "hourHandSize", "minuteHandSize",
                               "secondHandSize"};
    const char* colourNames[] = {"hourMarkColour", "minuteMarkColour", "hourHandColour",
                                 "minuteHandColour", "secondHandColour"};
    const std::function<QString()> labels[] = {
        [] { return tr("H dot:"); }, [] { return tr("M dot:"); }, [] { return tr("Hour:"); },
        [] { return tr("Min:"); }, [] { return tr("Sec:"); }};
    for (int part = 0; part < 5; ++part) {
        CGuardedCombo* size = MakeCombo(sizeNames[part]);
        for (int value = 0; value <= 10; ++value)
            size->addItem(QString::number(value), value);
        CGuardedCombo* colour = MakeColourCombo(colourNames[part]);
        m_sizes[static_cast<size_t>(part)] = size;
        m_colours[static_cast<size_t>(part)] = colour;
        grid->addWidget(MakeLabel(labels[part]), part, 0);
        grid->addWidget(size, part, 1);
        grid->addWidget(colour, part, 2);
        connect(size, &QComboBox::activated, this, [this, part, size] {
            EditContent([&] { Clock().Settings().size[part] = size->CurrentData(); });
        });
        connect(colour, &QComboBox::activated, this, [this, part, colour] {
            EditContent([&] { Clock().Settings().colour[part] = colour->CurrentData(); });
        });
    }
    m_hourShape = MakeListCombo("hourMarkShape", 41095);
    m_minuteShape = MakeListCombo("minuteMarkShape", 41096);
    SetNameRole(m_hourShape, NameRole::Shape);
    SetNameRole(m_minuteShape, NameRole::Shape);
    grid->addWidget(m_hourShape, 0, 3);
    grid->addWidget(m_minuteShape, 1, 3);
    connect(m_hourShape, &QComboBox::activated, this, [this] {
        EditContent([&] { Clock().Settings().hourMarkStyle = m_hourShape->CurrentData(); });
    });
    connect(m_minuteShape, &QComboBox::activated, this, [this] {
        EditContent([&] { Clock().Settings().minuteMarkStyle = m_minuteShape->CurrentData(); });
    });
    for (int column = 1; column <= 3; ++column)
        grid->setColumnStretch(column, 1);
    return box;
}

QWidget* CClockPage::BuildTitle()
{
    auto* box = new QGroupBox(Content());
    m_titleShown = new QCheckBox(box);
    m_titleShown->setObjectName(QStringLiteral("titleShown"));
    Relabel([this] { m_titleShown->setText(tr("Static text")); });
    m_title = new QLineEdit(box);
    m_title->setObjectName(QStringLiteral("title"));
    m_title->setMaxLength(ClockSettings::kTitleCapacity);
    m_titleFont = MakeFontCombo("titleFont");
    m_titleColour = MakeColourCombo("titleColour");
    m_titleSize = MakeFontSizeCombo("titleSize", false);
    auto* grid = new QGridLayout(box);
    grid->addWidget(m_titleShown, 0, 0, 1, 4);
    grid->addWidget(MakeLabel([] { return tr("Text:"); }), 1, 0);
    grid->addWidget(m_title, 1, 1, 1, 3);
    grid->addWidget(MakeLabel([] { return tr("Font:"); }), 2, 0);
    grid->addWidget(m_titleFont, 2, 1, 1, 3);
    grid->addWidget(MakeLabel([] { return tr("Color:"); }), 3, 0);
    grid->addWidget(m_titleColour, 3, 1);
    grid->addWidget(MakeLabel([] { return tr("Size:"); }), 3, 2);
    grid->addWidget(m_titleSize, 3, 3);
    auto* moves = new QHBoxLayout;
    const struct
    {
        const char* name;
        const char* text;
        int dx, dy;
    } kMoves[] = {{"titleLeft", "<-", -1, 0},
                  {"titleRight", "->", 1, 0},
                  {"titleUp", "U", 0, -1},
                  {"titleDown", "D", 0, 1}};
    for (const auto& move : kMoves) {
        auto* button = new QPushButton(QString::fromLatin1(move.text), box);
        button->setObjectName(QString::fromLatin1(move.name));
        button->setAutoRepeat(true);
        const int dx = move.dx, dy = move.dy;
        connect(button, &QPushButton::clicked, this, [this, dx, dy] { MoveTitle(dx, dy); });
        moves->addWidget(button);
    }
    grid->addLayout(moves, 4, 0, 1, 4);
    grid->setColumnStretch(1, 1);

    connect(m_titleShown, &QCheckBox::clicked, this,
            [this](bool on) { EditContent([&] { Clock().Settings().titleShown = on ? 1 : 0; }); });
    connect(m_title, &QLineEdit::textEdited, this, [this](const QString& text) {
        EditContent([&] { Clock().Settings().title = text; }, m_titleMerge);
    });
    connect(m_titleFont, &QComboBox::textActivated, this, [this](const QString& font) {
        EditContent(
            [&] { Clock().Settings().titleFont = font.left(ClockSettings::kFontCapacity); });
    });
    connect(m_titleColour, &QComboBox::activated, this, [this] {
        EditContent([&] { Clock().Settings().colour[ClockTitle] = m_titleColour->CurrentData(); });
    });
    connect(m_titleSize, &QComboBox::activated, this, [this] {
        EditContent([&] { Clock().Settings().size[ClockTitle] = m_titleSize->CurrentData(); });
    });
    return box;
}

QWidget* CClockPage::BuildTimeDiff()
{
    auto* box = new QGroupBox(Content());
    Relabel([box] { box->setTitle(tr("Time diff")); });
    m_sign = MakeCombo("diffSign");
    m_sign->addItem(QStringLiteral("+"), 0);
    m_sign->addItem(QStringLiteral("-"), 1);
    m_hours = MakeSpin("diffHours", 0, PageRules::kMaxDiffHours);
    m_minutes = MakeSpin("diffMinutes", 0, 59);
    NameTimeDiff(m_sign, m_hours, m_minutes);
    auto* row = new QHBoxLayout(box);
    row->addWidget(m_sign);
    row->addWidget(m_hours);
    row->addWidget(MakeLabel([] { return tr("H"); }));
    row->addWidget(m_minutes);
    row->addWidget(MakeLabel([] { return tr("M"); }));
    row->addStretch();
    connect(m_sign, &QComboBox::activated, this, [this] { StoreTimeDiff(); });
    connect(m_hours, &QSpinBox::valueChanged, this, [this] { StoreTimeDiff(); });
    connect(m_minutes, &QSpinBox::valueChanged, this, [this] { StoreTimeDiff(); });
    return box;
}

void CClockPage::StoreTimeDiff()
{
    const int minutes = PageRules::SignedMinutes(false, m_hours->value(), m_minutes->value());
    Edit(
        RefreshCode::Content, false,
        [&] {
            Clock().Settings().offsetSign = m_sign->CurrentData();
            Clock().Settings().offsetMinutes = minutes;
        },
        m_diffMerge);
}

void CClockPage::MoveTitle(int dx, int dy)
{
    EditContent(
        [&] {
            Clock().Settings().titleOffsetX += dx;
            Clock().Settings().titleOffsetY += dy;
        },
        m_moveMerge);
}

void CClockPage::LoadControls()
{
    const ClockSettings& settings = Clock().Settings();
    for (int part = 0; part < 5; ++part) {
        m_sizes[static_cast<size_t>(part)]->SelectData(settings.size[part]);
        SelectColour(m_colours[static_cast<size_t>(part)], settings.colour[part]);
    }
    m_hourShape->SelectData(settings.hourMarkStyle);
    m_minuteShape->SelectData(settings.minuteMarkStyle);
    QSignalBlocker b1(m_title), b2(m_titleFont), b3(m_hours), b4(m_minutes);
    m_titleShown->setChecked(settings.titleShown != 0);
    m_title->setText(settings.title);
    SelectText(m_titleFont, settings.titleFont);
    SelectColour(m_titleColour, settings.colour[ClockTitle]);
    m_titleSize->SelectData(settings.size[ClockTitle]);
    m_sign->SelectData(settings.offsetSign != 0 ? 1 : 0);
    m_hours->setValue(PageRules::DiffHours(settings.offsetMinutes));
    m_minutes->setValue(PageRules::DiffMinutes(settings.offsetMinutes));
}
