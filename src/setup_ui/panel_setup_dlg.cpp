#include "setup_ui/panel_setup_dlg.h"

#include "base/operation_ui.h"
#include "base/string_table.h"
#include "comm/controller_link.h"
#include "comm/maintenance_ops.h"
#include "config/model_info.h"
#include "config/scan_mode_table.h"
#include "document/lumivant_doc.h"
#include "model/screen.h"
#include "setup_ui/setup_lists.h"
#include "setup_ui/setup_steps.h"
#include "setup_ui/wiring_diagram.h"

#include <QApplication>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

constexpr int kStart = 41053;
constexpr int kStop = 41054;
constexpr int kCommandFailed = 43027;

QSpinBox* SizeSpin(QWidget* parent, const char* name, int low, int high, int step)
{
    auto* spin = new QSpinBox(parent);
    spin->setObjectName(QLatin1String(name));
    spin->setRange(low, high);
    spin->setSingleStep(step);
    spin->setAccelerated(true);
    return spin;
}

QComboBox* List(QWidget* parent, const char* name)
{
    auto* box = new QComboBox(parent);
    box->setObjectName(QLatin1String(name));
    return box;
}

CModelInfo ModelOf(const CScreen& screen)
{
    CModelInfo model;
    model.AssignFromIdentity(screen.Identity());
    return model;
}

} // namespace

CPanelSetupDlg::CPanelSetupDlg(CLumivantDoc& doc, CScreen& screen, IOperationUi& ui,
                               QWidget* parent)
    : QDialog(parent), m_doc(doc), m_screen(screen), m_ui(ui)
{
    setWindowTitle(tr("Panel Setup"));
    setObjectName(QStringLiteral("panelSetupDialog"));
    m_clock.start();
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &CPanelSetupDlg::OnTick);
    BuildControls();
    LoadControls();
    m_ready = true;
}

void CPanelSetupDlg::BuildControls()
{
    m_drive.controller = List(this, "controller");
    m_drive.colourType = List(this, "colourType");
    m_drive.width = SizeSpin(this, "width", 32, 8192, 16);
    m_drive.height = SizeSpin(this, "height", 8, 512, 8);
    m_drive.dataPolarity = List(this, "dataPolarity");
    m_drive.oePolarity = List(this, "oePolarity");
    m_drive.freq = List(this, "freq");
    m_drive.blanking = List(this, "blanking");
    m_scanType = List(this, "scanType");
    SetupLists::FillModels(*m_drive.controller);
    SetupLists::FillColourTypes(*m_drive.colourType);
    SetupLists::FillPolarities(*m_drive.dataPolarity);
    SetupLists::FillPolarities(*m_drive.oePolarity);
    SetupLists::FillFrequencies(*m_drive.freq, true);
    SetupLists::FillBlanking(*m_drive.blanking);
    SetupLists::FillScanRows(*m_scanType);
    for (QSpinBox* spin : {m_drive.width, m_drive.height})
        spin->findChild<QLineEdit*>()->setMaxLength(4);

    auto* form = new QFormLayout;
    form->addRow(tr("Controller:"), m_drive.controller);
    form->addRow(tr("Color type:"), m_drive.colourType);
    form->addRow(tr("Width(px):"), m_drive.width);
    form->addRow(tr("Height(px):"), m_drive.height);
    form->addRow(tr("Data polar:"), m_drive.dataPolarity);
    form->addRow(tr("OE polar:"), m_drive.oePolarity);
    form->addRow(tr("Freq:"), m_drive.freq);
    form->addRow(tr("Blanking:"), m_drive.blanking);
    form->addRow(tr("Scan type:"), m_scanType);

    m_properties = new QLabel(this);
    m_properties->setObjectName(QStringLiteral("properties"));
    m_wiring = new QLabel(this);
    m_wiring->setObjectName(QStringLiteral("wiringDiagram"));
    m_wiring->setPixmap(WiringDiagramPixmap());
    auto* propertiesBox = new QGroupBox(tr("Properties"), this);
    (new QVBoxLayout(propertiesBox))->addWidget(m_properties);
    auto* wiringBox = new QGroupBox(tr("Wiring diagram"), this);
    (new QVBoxLayout(wiringBox))->addWidget(m_wiring);

    m_setup = new QPushButton(tr("Setup"), this);
    m_setup->setObjectName(QStringLiteral("setup"));
    m_cancel = new QPushButton(tr("Cancel"), this);
    m_cancel->setObjectName(QStringLiteral("cancel"));
    m_readBack = new QPushButton(tr("Read Back"), this);
    m_readBack->setObjectName(QStringLiteral("readBack"));
    m_autoSwitch = new QPushButton(tr("Auto Switch >>"), this);
    m_autoSwitch->setObjectName(QStringLiteral("autoSwitch"));
    m_setup->setAutoDefault(false);
    m_cancel->setAutoDefault(false);

    m_autoGroup = new QWidget(this);
    m_autoGroup->setObjectName(QStringLiteral("autoSwitchGroup"));
    m_interval = List(m_autoGroup, "interval");
    for (int seconds = 2; seconds <= 10; ++seconds)
        m_interval->addItem(QString::number(seconds));
    m_startStop = new QPushButton(LoadString(kStart), m_autoGroup);
    m_startStop->setObjectName(QStringLiteral("startStop"));
    m_status = new QLabel(m_autoGroup);
    m_status->setObjectName(QStringLiteral("status"));
    m_status->setStyleSheet(QStringLiteral("color: rgb(0, 70, 213); background: transparent;"));
    m_status->setMinimumHeight(48);
    auto* autoRow = new QHBoxLayout;
    auto* intervalLabel = new QLabel(tr("Interval:"), m_autoGroup);
    intervalLabel->setBuddy(m_interval);
    autoRow->addWidget(intervalLabel);
    autoRow->addWidget(m_interval);
    autoRow->addWidget(new QLabel(tr("Sec"), m_autoGroup));
    autoRow->addWidget(m_startStop);
    auto* autoLayout = new QVBoxLayout(m_autoGroup);
    autoLayout->addLayout(autoRow);
    autoLayout->addWidget(m_status);
    m_autoGroup->setVisible(false);
    m_statusTemplate =
        tr(" Current scan type is:\n %1\n , next type will set after %2 seconds.").left(255);

    auto* right = new QVBoxLayout;
    right->addWidget(propertiesBox);
    right->addWidget(wiringBox);
    auto* top = new QHBoxLayout;
    top->addLayout(form);
    top->addLayout(right);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* button : {m_setup, m_readBack, m_autoSwitch, m_cancel})
        buttons->addWidget(button);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(buttons);
    layout->addWidget(m_autoGroup);

    connect(m_drive.controller, &QComboBox::currentIndexChanged, this,
            &CPanelSetupDlg::OnControllerChanged);
    connect(m_setup, &QPushButton::clicked, this, &CPanelSetupDlg::OnSetup);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_readBack, &QPushButton::clicked, this, &CPanelSetupDlg::OnReadBack);
    connect(m_autoSwitch, &QPushButton::clicked, this, &CPanelSetupDlg::OnToggleAutoSwitch);
    connect(m_startStop, &QPushButton::clicked, this, &CPanelSetupDlg::OnStartStop);
}

void CPanelSetupDlg::LoadControls()
{
    const QScopedValueRollback<bool> notReady(m_ready, false);
    const PanelSetupValues values = LoadPanelSetup(m_screen);
    const CModelInfo model = ModelOf(m_screen);
    SetupLists::SelectModel(*m_drive.controller, model.GetName());
    m_drive.Show(values);
    m_scanType->setCurrentIndex(values.scanRow);
    m_interval->setCurrentIndex(3);
    ShowModelDetails(model);
}

void CPanelSetupDlg::ShowModelDetails(const CModelInfo& model)
{
    const int capability = model.GetCapabilityTextId();
    m_properties->setText(capability ? LoadString(capability) : QString());
    m_wiring->setVisible(model.ShowsWiringDiagram());
}

PanelSetupValues CPanelSetupDlg::ValuesFromControls() const
{
    PanelSetupValues values;
    m_drive.Read(values);
    values.scanRow = m_scanType->currentIndex();
    return values;
}

void CPanelSetupDlg::OnControllerChanged()
{
    if (!m_ready)
        return;
    const QString name = m_drive.controller->currentText();
    CModelInfo model;
    if (name.size() <= 4 || !model.AssignFromName(name))
        return;
    ShowModelDetails(model);
    // Every model takes the whole scan-mode table, so the list and its row stay.
}

QString CPanelSetupDlg::StepName() const
{
    return SetupSteps::Named(tr("Panel Setup"), m_screen);
}

void CPanelSetupDlg::OnSetup()
{
    if (m_busy)
        return;
    const QScopedValueRollback<bool> busy(m_busy, true);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    PanelSetupValues values = ValuesFromControls();
    m_doc.ChangeScreenSettings(
        m_screen, StepName(), [&] { return RunPanelSetup(m_screen, values, m_ui); },
        CLumivantDoc::CardWrite::WhenOk);
    LinkOf(m_screen).CloseLink();
    QApplication::restoreOverrideCursor();
    const QScopedValueRollback<bool> notReady(m_ready, false);
    m_drive.width->setValue(values.width);
    m_drive.height->setValue(values.height);
}

void CPanelSetupDlg::OnReadBack()
{
    if (m_busy)
        return;
    const QScopedValueRollback<bool> busy(m_busy, true);
    CControllerLink& link = LinkOf(m_screen);
    const bool ok = SetupSteps::ReadParams(m_doc, m_screen);
    link.CloseLink();
    if (ok)
        LoadControls();
    ReportCommandResult(link, m_ui, ok);
}

void CPanelSetupDlg::OnToggleAutoSwitch()
{
    m_groupVisible = !m_groupVisible;
    m_autoGroup->setVisible(m_groupVisible);
    if (m_groupVisible)
        OnStartStop();
}

void CPanelSetupDlg::OnStartStop()
{
    if (m_running)
        StopAutoSwitch();
    else
        StartAutoSwitch();
}

void CPanelSetupDlg::SetAutoSwitchTiming(int tickMs, int intervalMs)
{
    m_tickMs = tickMs;
    m_intervalOverrideMs = intervalMs;
}

void CPanelSetupDlg::StartAutoSwitch()
{
    const int seconds = m_interval->currentText().toInt();
    const int intervalMs =
        m_intervalOverrideMs > 0 ? m_intervalOverrideMs : (seconds < 2 ? 5 : seconds) * 1000;
    m_nextRow = std::max(0, m_scanType->currentIndex());
    m_switchClock.Start(m_clock.elapsed(), intervalMs);
    m_trialMerge = CLumivantDoc::NewMergeId();
    m_running = true;
    m_startStop->setText(LoadString(kStop));
    SetControlsEnabled(false);
    m_timer.start(0);
}

void CPanelSetupDlg::StopAutoSwitch()
{
    m_timer.stop();
    m_running = false;
    m_status->clear();
    m_startStop->setText(LoadString(kStart));
    SetControlsEnabled(true);
}

void CPanelSetupDlg::SetControlsEnabled(bool enabled)
{
    for (QWidget* control : std::initializer_list<QWidget*>{
             m_drive.controller, m_drive.colourType, m_drive.width, m_drive.height,
             m_drive.dataPolarity, m_drive.oePolarity, m_drive.freq, m_drive.blanking, m_scanType,
             m_setup, m_cancel, m_readBack, m_interval, m_autoSwitch})
        control->setEnabled(enabled);
}

void CPanelSetupDlg::OnTick()
{
    if (!m_running)
        return;
    if (m_switchClock.TakeSwitch(m_clock.elapsed())) {
        if (m_nextRow >= m_scanType->count())
            m_nextRow = 0;
        int row = m_nextRow;
        if (ScanModeTable::IsSeparator(row))
            row = (row + 1) % m_scanType->count();
        m_scanType->setCurrentIndex(row);
        m_nextRow = row + 1;
        PanelSetupValues values = ValuesFromControls();
        const bool stored = m_doc.ChangeScreenSettings(
            m_screen, StepName(), [&] { return StoreAndWritePanelSetup(m_screen, values); },
            CLumivantDoc::CardWrite::WhenOk, m_trialMerge);
        if (!stored) {
            CControllerLink& link = LinkOf(m_screen);
            StopAutoSwitch();
            m_status->setText(LoadString(kCommandFailed) + link.GetErrorText());
            m_ui.Beep(MessageKind::Warning);
            return;
        }
        m_ui.Beep(MessageKind::Information);
    }
    const qint64 now = m_clock.elapsed();
    m_status->setText(
        m_statusTemplate.arg(m_scanType->currentText()).arg(m_switchClock.SecondsLeft(now)));
    m_timer.start(m_switchClock.NextTickMs(now, m_tickMs));
}
