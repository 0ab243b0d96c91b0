#include "editors/program_page.h"

#include "base/string_table.h"
#include "config/model_info.h"
#include "document/lumivant_doc.h"
#include "model/page_rules.h"
#include "model/program.h"
#include "model/screen.h"
#include "render/zone_renderers.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QFileDialog>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTimeEdit>

namespace {

QIcon BorderPatternIcon(int index)
{
    const QImage pattern = BuiltInBorderPattern(index);
    if (pattern.isNull())
        return {};
    // A strip of the pattern repeated, large enough to see.
    QImage strip(48, pattern.height(), QImage::Format_RGB32);
    for (int x = 0; x < strip.width(); ++x) {
        for (int y = 0; y < strip.height(); ++y)
            strip.setPixel(x, y, pattern.pixel(x % pattern.width(), y));
    }
    return QIcon(QPixmap::fromImage(strip.scaled(96, pattern.height() * 2)));
}

template <typename... Widgets> void Block(bool block, Widgets*... widgets)
{
    (widgets->blockSignals(block), ...);
}

} // namespace

CProgramPage::CProgramPage(CProgram& program, CLumivantDoc& doc, QWidget* parent)
    : CPageBase(program, doc, parent)
{
    auto* name = new QHBoxLayout;
    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("programName"));
    m_name->setMaxLength(CProjectObject::kNameCapacity);
    name->addWidget(MakeLabel([] { return tr("Name:"); }));
    name->addWidget(m_name, 1);

    auto* grid = new QGridLayout(this);
    grid->addLayout(name, 0, 0);
    grid->addWidget(BuildPlayBox(), 1, 0);
    grid->addWidget(BuildBorderBox(), 2, 0);
    grid->addWidget(BuildScheduleBox(), 0, 1, 3, 1);
    grid->setRowStretch(3, 1);
    grid->setColumnStretch(2, 1);
    ConnectPlay();
    ConnectBorder();
    ConnectSchedule();
    Load();
}

CProgram& CProgramPage::Program() const
{
    return static_cast<CProgram&>(Object());
}

bool CProgramPage::IsBasicModel() const
{
    const CScreen* screen = Screen();
    if (!screen)
        return false;
    CModelInfo model;
    return model.AssignFromIdentity(screen->Identity()) && model.IsBasicModel();
}

QWidget* CProgramPage::BuildPlayBox()
{
    auto* box = new QGroupBox(this);
    Relabel([box] { box->setTitle(tr("Play")); });
    m_inOrder = new QRadioButton(box);
    m_inOrder->setObjectName(QStringLiteral("playInOrder"));
    Relabel([this] { m_inOrder->setText(tr("Default(order)")); });
    m_timing = new QRadioButton(box);
    m_timing->setObjectName(QStringLiteral("playTiming"));
    Relabel([this] { m_timing->setText(tr("Timing")); });
    m_playTime = MakeSpin("playTime", PageRules::kMinPlayTime, PageRules::kMaxPlayTime,
                          {{0, 1}, {2000, 10}, {3000, 50}});
    auto* layout = new QGridLayout(box);
    layout->addWidget(m_inOrder, 0, 0, 1, 3);
    layout->addWidget(m_timing, 1, 0, 1, 3);
    layout->addWidget(MakeLabel([] { return tr("Time:"); }), 2, 0);
    layout->addWidget(m_playTime, 2, 1);
    layout->addWidget(MakeLabel([] { return tr("Sec"); }), 2, 2);
    return box;
}

QWidget* CProgramPage::BuildBorderBox()
{
    auto* box = new QGroupBox(this);
    m_border = new QCheckBox(box);
    m_border->setObjectName(QStringLiteral("borderOn"));
    Relabel([this] { m_border->setText(tr("Color border")); });
    m_patternSource = new QRadioButton(box);
    m_patternSource->setObjectName(QStringLiteral("borderPatternSource"));
    Relabel([this] { m_patternSource->setText(tr("Pattern:")); });
    m_imageSource = new QRadioButton(box);
    m_imageSource->setObjectName(QStringLiteral("borderImageSource"));
    Relabel([this] { m_imageSource->setText(tr("Image:")); });
    m_pattern = MakeCombo("borderPattern");
    m_pattern->setIconSize(QSize(96, 16));
    for (int i = 0; i < CProgram::kBorderPatternCount; ++i)
        m_pattern->addItem(BorderPatternIcon(i), QString(), i);
    m_imagePath = new QLineEdit(box);
    m_imagePath->setObjectName(QStringLiteral("borderImagePath"));
    m_imagePath->setReadOnly(true);
    m_browse = new QPushButton(QStringLiteral("..."), box);
    m_browse->setObjectName(QStringLiteral("borderBrowse"));
    m_borderAction = MakeListCombo("borderAction", 41122);
    m_borderStep = MakeCombo("borderStep");
    for (int step = 1; step <= 8; ++step)
        m_borderStep->addItem(QString::number(step), step);
    m_borderSpeed = MakeSpeedCombo("borderSpeed", 0, 63);
    m_flat = new QCheckBox(box);
    m_flat->setObjectName(QStringLiteral("borderFlat"));
    Relabel([this] { m_flat->setText(tr("Flat")); });

    auto* layout = new QGridLayout(box);
    layout->addWidget(m_border, 0, 0, 1, 3);
    layout->addWidget(m_patternSource, 1, 0);
    layout->addWidget(m_pattern, 1, 1, 1, 2);
    layout->addWidget(m_imageSource, 2, 0);
    layout->addWidget(m_imagePath, 2, 1);
    layout->addWidget(m_browse, 2, 2);
    layout->addWidget(MakeLabel([] { return tr("Action:"); }), 3, 0);
    layout->addWidget(m_borderAction, 3, 1, 1, 2);
    layout->addWidget(MakeLabel([] { return tr("Step:"); }), 4, 0);
    layout->addWidget(m_borderStep, 4, 1, 1, 2);
    layout->addWidget(MakeLabel([] { return tr("Speed:"); }), 5, 0);
    layout->addWidget(m_borderSpeed, 5, 1, 1, 2);
    layout->addWidget(m_flat, 6, 0, 1, 3);
    layout->setColumnStretch(1, 1);
    return box;
}

QWidget* CProgramPage::BuildScheduleBox()
{
    auto* box = new QGroupBox(this);
    Relabel([box] { box->setTitle(tr("Schedule")); });
    auto makeCheck = [this, box](const char* name, std::function<QString()> text) {
        auto* check = new QCheckBox(box);
        check->setObjectName(QString::fromLatin1(name));
        Relabel([check, text = std::move(text)] { check->setText(text()); });
        return check;
    };
    m_dateRange = makeCheck("dateRange", [] { return tr("Date range"); });
    m_firstDay = new QDateEdit(box);
    m_firstDay->setObjectName(QStringLiteral("firstDay"));
    m_lastDay = new QDateEdit(box);
    m_lastDay->setObjectName(QStringLiteral("lastDay"));
    for (QDateEdit* edit : {m_firstDay, m_lastDay}) {
        edit->setDateRange(QDate(2000, 1, 1), QDate(2099, 12, 31));
        edit->setCalendarPopup(true);
        edit->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    }
    m_timeRange = makeCheck("timeRange", [] { return tr("Time range"); });
    m_startTime = new QTimeEdit(box);
    m_startTime->setObjectName(QStringLiteral("startTime"));
    m_endTime = new QTimeEdit(box);
    m_endTime->setObjectName(QStringLiteral("endTime"));
    for (QTimeEdit* edit : {m_startTime, m_endTime})
        edit->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    m_week = makeCheck("week", [] { return tr("Week"); });
    const char* names[] = {"monday", "tuesday",  "wednesday", "thursday",
                           "friday", "saturday", "sunday"};
    const std::function<QString()> labels[] = {
        [] { return tr("Monday"); },   [] { return tr("Tuesday"); }, [] { return tr("Wednesday"); },
        [] { return tr("Thursday"); }, [] { return tr("Friday"); },  [] { return tr("Saturday"); },
        [] { return tr("Sunday"); }};
    for (int i = 0; i < 7; ++i)
        m_days[static_cast<size_t>(i)] = makeCheck(names[i], labels[i]);

    auto* layout = new QGridLayout(box);
    layout->addWidget(m_dateRange, 0, 0, 1, 2);
    layout->addWidget(MakeLabel([] { return tr("Start:"); }), 1, 0);
    layout->addWidget(m_firstDay, 1, 1);
    layout->addWidget(MakeLabel([] { return tr("End:"); }), 2, 0);
    layout->addWidget(m_lastDay, 2, 1);
    layout->addWidget(m_timeRange, 3, 0, 1, 2);
    layout->addWidget(MakeLabel([] { return tr("Start:"); }), 4, 0);
    layout->addWidget(m_startTime, 4, 1);
    layout->addWidget(MakeLabel([] { return tr("End:"); }), 5, 0);
    layout->addWidget(m_endTime, 5, 1);
    layout->addWidget(m_week, 6, 0, 1, 2);
    auto* days = new QGridLayout;
    for (int i = 0; i < 7; ++i)
        days->addWidget(m_days[static_cast<size_t>(i)], i / 2, i % 2);
    layout->addLayout(days, 7, 0, 1, 2);
    layout->setRowStretch(8, 1);
    return box;
}

void CProgramPage::ConnectPlay()
{
    connect(m_name, &QLineEdit::textEdited, this, [this](const QString& text) {
        if (!text.isEmpty())
            Edit(
                RefreshCode::Name, false, [&] { Program().SetName(text); }, m_nameMerge);
    });
    auto storeMode = [this] {
        Edit(RefreshCode::Content, false,
             [this] { Program().Schedule().playMode = m_timing->isChecked() ? 1 : 0; });
    };
    connect(m_inOrder, &QRadioButton::clicked, this, storeMode);
    connect(m_timing, &QRadioButton::clicked, this, storeMode);
    connect(m_playTime, &QSpinBox::valueChanged, this, [this](int seconds) {
        Edit(
            RefreshCode::Content, false,
            [&] {
                Program().Schedule().playTime =
                    static_cast<std::uint16_t>(PageRules::ClampPlayTime(seconds));
            },
            m_timeMerge);
    });
}

void CProgramPage::EditBorder(const std::function<void()>& change)
{
    // The border changes the inner area and everything renders again. The windows are
    // not moved here: an undo step holds the program's own properties only.
    Edit(RefreshCode::Geometry, true, change);
    EnableControls();
}

void CProgramPage::ConnectBorder()
{
    connect(m_border, &QCheckBox::clicked, this,
            [this](bool on) { EditBorder([&] { Program().Border().enabled = on ? 1 : 0; }); });
    connect(m_patternSource, &QRadioButton::clicked, this,
            [this] { EditBorder([&] { Program().Border().source = 0; }); });
    connect(m_imageSource, &QRadioButton::clicked, this,
            [this] { EditBorder([&] { Program().Border().source = 1; }); });
    connect(m_pattern, &QComboBox::activated, this,
            [this] { EditBorder([&] { Program().Border().pattern = m_pattern->CurrentData(); }); });
    connect(m_borderAction, &QComboBox::activated, this, [this] {
        EditBorder([&] { Program().Border().action = m_borderAction->CurrentData(); });
    });
    connect(m_borderStep, &QComboBox::activated, this,
            [this] { EditBorder([&] { Program().Border().step = m_borderStep->CurrentData(); }); });
    connect(m_borderSpeed, &QComboBox::activated, this, [this] {
        EditBorder([&] { Program().Border().speed = m_borderSpeed->CurrentData(); });
    });
    connect(m_flat, &QCheckBox::clicked, this,
            [this](bool on) { EditBorder([&] { Program().Border().flat = on ? 1 : 0; }); });
    connect(m_browse, &QPushButton::clicked, this, [this] {
        const QString path = QFileDialog::getOpenFileName(
            this, tr("Border image"), m_imagePath->text(),
            tr("Images (*.bmp *.gif *.tif *.tiff *.jpg *.jpeg *.ico *.png)"));
        if (path.isEmpty())
            return;
        EditBorder([&] {
            Program().Border().path = path.left(ImageKeyParams::kPathCapacity);
            Program().Border().source = 1;
        });
    });
}

void CProgramPage::EditSchedule(const std::function<void()>& change, int mergeId)
{
    Edit(RefreshCode::Content, false, change, mergeId);
    EnableControls();
}

void CProgramPage::ConnectSchedule()
{
    connect(m_dateRange, &QCheckBox::clicked, this, [this](bool on) {
        EditSchedule([&] { PageRules::SetDateRangeOn(Program().Schedule(), on); });
    });
    connect(m_timeRange, &QCheckBox::clicked, this, [this](bool on) {
        EditSchedule([&] { PageRules::SetTimeRangeOn(Program().Schedule(), on); });
    });
    connect(m_week, &QCheckBox::clicked, this, [this](bool on) {
        EditSchedule([&] { PageRules::SetWeekFilterOn(Program().Schedule(), on); });
    });
    connect(m_firstDay, &QDateEdit::dateChanged, this, [this](const QDate& date) {
        EditSchedule([&] { PageRules::SetFirstDay(Program().Schedule(), date); }, m_dateMerge);
    });
    connect(m_lastDay, &QDateEdit::dateChanged, this, [this](const QDate& date) {
        EditSchedule([&] { PageRules::SetLastDay(Program().Schedule(), date); }, m_dateMerge);
    });
    connect(m_startTime, &QTimeEdit::timeChanged, this, [this](const QTime& time) {
        EditSchedule([&] { PageRules::SetStartTime(Program().Schedule(), time); }, m_dateMerge);
    });
    connect(m_endTime, &QTimeEdit::timeChanged, this, [this](const QTime& time) {
        EditSchedule([&] { PageRules::SetEndTime(Program().Schedule(), time); }, m_dateMerge);
    });
    for (int i = 0; i < 7; ++i) {
        connect(m_days[static_cast<size_t>(i)], &QCheckBox::clicked, this, [this, i](bool on) {
            EditSchedule([&] { PageRules::SetWeekdayOn(Program().Schedule(), i + 1, on); });
        });
    }
}

void CProgramPage::LoadControls()
{
    const CProgram& program = Program();
    // A basic model has no date, time or week limits: the page shows them off without
    // changing the project (showing a page is no edit).
    ProgramSchedule schedule = program.Schedule();
    if (IsBasicModel())
        PageRules::ApplyBasicModelSchedule(schedule);
    const ProgramBorder& border = program.Border();
    Block(true, m_name, m_playTime, m_firstDay, m_lastDay, m_startTime, m_endTime);
    m_name->setText(program.GetName());
    m_inOrder->setChecked(schedule.playMode == 0);
    m_timing->setChecked(schedule.playMode != 0);
    m_playTime->setValue(PageRules::ClampPlayTime(schedule.playTime));
    m_border->setChecked(border.enabled != 0);
    m_patternSource->setChecked(border.source == 0);
    m_imageSource->setChecked(border.source != 0);
    m_pattern->SelectData(border.pattern);
    m_imagePath->setText(border.path);
    m_borderAction->SelectData(border.action);
    m_borderStep->SelectData(border.step);
    m_borderSpeed->SelectData(border.speed);
    m_flat->setChecked(border.flat != 0);
    m_dateRange->setChecked(PageRules::IsDateRangeOn(schedule));
    m_firstDay->setDate(PageRules::DateFromDays(schedule.firstDay));
    m_lastDay->setDate(PageRules::DateFromDays(schedule.lastDay));
    m_timeRange->setChecked(PageRules::IsTimeRangeOn(schedule));
    m_startTime->setTime(PageRules::TimeFromSeconds(schedule.startTime));
    m_endTime->setTime(PageRules::TimeFromSeconds(schedule.endTime));
    m_week->setChecked(PageRules::IsWeekFilterOn(schedule));
    for (int i = 0; i < 7; ++i)
        m_days[static_cast<size_t>(i)]->setChecked(PageRules::IsWeekdayOn(schedule, i + 1));
    Block(false, m_name, m_playTime, m_firstDay, m_lastDay, m_startTime, m_endTime);
    EnableControls();
}

void CProgramPage::EnableControls()
{
    const bool basic = IsBasicModel();
    const bool border = m_border->isChecked();
    for (QWidget* widget :
         std::initializer_list<QWidget*>{m_patternSource, m_imageSource, m_pattern, m_borderAction,
                                         m_borderStep, m_borderSpeed, m_flat})
        widget->setEnabled(border);
    m_imagePath->setEnabled(border && m_imageSource->isChecked());
    m_browse->setEnabled(border);
    m_pattern->setEnabled(border && m_patternSource->isChecked());
    m_dateRange->setEnabled(!basic);
    m_timeRange->setEnabled(!basic);
    m_week->setEnabled(!basic);
    const bool dates = !basic && m_dateRange->isChecked();
    m_firstDay->setEnabled(dates);
    m_lastDay->setEnabled(dates);
    const bool times = !basic && m_timeRange->isChecked();
    m_startTime->setEnabled(times);
    m_endTime->setEnabled(times);
    const bool week = !basic && m_week->isChecked();
    for (QCheckBox* day : m_days)
        day->setEnabled(week);
}
