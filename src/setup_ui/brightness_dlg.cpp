#include "setup_ui/brightness_dlg.h"

#include "base/string_table.h"
#include "comm/controller_link.h"
#include "comm/maintenance_ops.h"
#include "comm/timetable_rows.h"
#include "document/lumivant_doc.h"
#include "model/screen.h"
#include "setup_ui/setup_steps.h"
#include "setup_ui/timetable_page.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

using P = ControllerParams;

constexpr int kMin = 41013;
constexpr int kMax = 41014;
constexpr int kOff = 41022;
constexpr int kOn = 41023;
constexpr int kDisconnected = 41061;
constexpr int kOnOffList = 41118;

QStringList BrightnessLabels()
{
    QStringList labels;
    for (int value = 0; value <= 15; ++value)
        labels.append(QString::number(value));
    labels.first() += LoadString(kMin);
    labels.last() += LoadString(kMax);
    return labels;
}

// The Mode group with its two radios; Manual is checked unless mode is 2.
QGroupBox* ModeGroup(QWidget* parent, QRadioButton*& manual, QRadioButton*& timing, int mode)
{
    auto* group = new QGroupBox(QObject::tr("Mode"), parent);
    manual = new QRadioButton(QObject::tr("Manual"), group);
    manual->setObjectName(QStringLiteral("manual"));
    timing = new QRadioButton(QObject::tr("Timing"), group);
    timing->setObjectName(QStringLiteral("timing"));
    (mode == 2 ? timing : manual)->setChecked(true);
    auto* layout = new QHBoxLayout(group);
    layout->addWidget(manual);
    layout->addWidget(timing);
    return group;
}

QLabel* StatusLine(QWidget* parent)
{
    auto* status = new QLabel(parent);
    status->setObjectName(QStringLiteral("status"));
    return status;
}

} // namespace

CBrightnessDlg::CBrightnessDlg(CLumivantDoc& doc, CScreen& screen, IOperationUi& ui,
                               QWidget* parent)
    : QDialog(parent), m_doc(doc), m_screen(screen), m_ui(ui)
{
    setWindowTitle(tr("Brightness"));
    setObjectName(QStringLiteral("brightnessDialog"));
    bool timetables = true;
    const bool read = doc.ChangeScreenSettings(
        screen, SetupSteps::Named(tr("Brightness"), screen),
        [&] {
            const bool answered = LinkOf(screen).ReadParams();
            timetables = KeepModesManualForBasicModel(screen);
            return answered;
        },
        CLumivantDoc::CardWrite::None);
    m_status = StatusLine(this);
    m_status->setText(tr("Current brightness is: %1 ")
                          .arg(read ? QString::number(screen.Params().U8(P::Brightness))
                                    : LoadString(kDisconnected)));
    QGroupBox* mode = ModeGroup(this, m_manual, m_timing, screen.Params().U8(P::BrightnessMode));
    m_timing->setEnabled(timetables);
    m_frame = new QWidget(this);
    m_frameLayout = new QVBoxLayout(m_frame);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(mode);
    layout->addWidget(m_frame);
    layout->addWidget(m_status);
    connect(m_manual, &QRadioButton::clicked, this, [this] { ShowPage(false); });
    connect(m_timing, &QRadioButton::clicked, this, [this] { ShowPage(true); });
    ShowPage(m_timing->isChecked());
}

void CBrightnessDlg::ShowPage(bool timing)
{
    delete m_page;
    if (timing) {
        auto* page = new CTimetablePage(BrightnessRows(m_screen.Params()), BrightnessLabels(),
                                        tr("Value"), m_frame);
        connect(page, &CTimetablePage::okClicked, this, [this, page] {
            Store([&] { return SendBrightnessRows(m_screen, m_ui, page->Rows()); });
        });
        m_page = page;
    } else {
        m_page = new QWidget(m_frame);
        m_page->setObjectName(QStringLiteral("manualPage"));
        auto* value = new QComboBox(m_page);
        value->setObjectName(QStringLiteral("value"));
        value->addItems(BrightnessLabels());
        value->setCurrentIndex(std::min<int>(m_screen.Params().U8(P::Brightness), 15));
        auto* ok = new QPushButton(tr("OK"), m_page);
        ok->setObjectName(QStringLiteral("manualOk"));
        auto* row = new QHBoxLayout(m_page);
        auto* label = new QLabel(tr("Value:"), m_page);
        label->setBuddy(value);
        row->addWidget(label);
        row->addWidget(value);
        row->addWidget(ok);
        connect(ok, &QPushButton::clicked, this, [this, value] {
            Store([&] { return SetManualBrightness(m_screen, m_ui, value->currentIndex()); });
        });
    }
    m_frameLayout->addWidget(m_page);
}

void CBrightnessDlg::Store(const std::function<bool()>& operation)
{
    m_doc.ChangeScreenSettings(m_screen, SetupSteps::Named(tr("Brightness"), m_screen), operation,
                               CLumivantDoc::CardWrite::WhenOk);
}

COnOffDlg::COnOffDlg(CLumivantDoc& doc, CScreen& screen, IOperationUi& ui, QWidget* parent)
    : QDialog(parent), m_doc(doc), m_screen(screen), m_ui(ui)
{
    setWindowTitle(tr("On / Off"));
    setObjectName(QStringLiteral("onOffDialog"));
    m_manualPage = new QWidget(this);
    m_manualPage->setObjectName(QStringLiteral("manualPage"));
    auto* turnOn = new QPushButton(tr("Turn On"), m_manualPage);
    turnOn->setObjectName(QStringLiteral("turnOn"));
    auto* turnOff = new QPushButton(tr("Turn Off"), m_manualPage);
    turnOff->setObjectName(QStringLiteral("turnOff"));
    auto* manualLayout = new QHBoxLayout(m_manualPage);
    manualLayout->addWidget(turnOn);
    manualLayout->addWidget(turnOff);
    m_timingPage = new CTimetablePage(PowerRows(screen.Params()), LoadStringList(kOnOffList),
                                      tr("On/Off"), this);

    bool timetables = true;
    doc.ChangeScreenSettings(
        screen, SetupSteps::Named(tr("On / Off"), screen),
        [&] { return timetables = KeepModesManualForBasicModel(screen); },
        CLumivantDoc::CardWrite::None);
    QGroupBox* mode = ModeGroup(this, m_manual, m_timing, screen.Params().U8(P::PowerMode));
    m_timing->setEnabled(timetables);
    m_status = StatusLine(this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(mode);
    layout->addWidget(m_manualPage);
    layout->addWidget(m_timingPage);
    layout->addWidget(m_status);
    ShowPage(m_timing->isChecked());

    connect(m_manual, &QRadioButton::clicked, this, [this] { ShowPage(false); });
    connect(m_timing, &QRadioButton::clicked, this, [this] { ShowPage(true); });
    connect(turnOn, &QPushButton::clicked, this,
            [this] { Store([this] { return SetPanelPower(m_screen, m_ui, true); }); });
    connect(turnOff, &QPushButton::clicked, this,
            [this] { Store([this] { return SetPanelPower(m_screen, m_ui, false); }); });
    connect(m_timingPage, &CTimetablePage::okClicked, this, [this] {
        Store([this] { return SendPowerRows(m_screen, m_ui, m_timingPage->Rows()); });
    });

    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool read = SetupSteps::ReadParams(doc, screen);
    QApplication::restoreOverrideCursor();
    const QString state = !read                               ? LoadString(kDisconnected)
                          : screen.Params().U8(P::PowerState) ? LoadString(kOn)
                                                              : LoadString(kOff);
    m_status->setText(tr("The current status is : %1 ").arg(state));
}

void COnOffDlg::Store(const std::function<bool()>& operation)
{
    m_doc.ChangeScreenSettings(m_screen, SetupSteps::Named(tr("On / Off"), m_screen), operation,
                               CLumivantDoc::CardWrite::WhenOk);
}

void COnOffDlg::ShowPage(bool timing)
{
    m_manualPage->setVisible(!timing);
    m_timingPage->setVisible(timing);
}
