#include "setup_ui/advanced_setup_dlg.h"

#include "comm/controller_link.h"
#include "document/lumivant_doc.h"
#include "model/program.h"
#include "model/project_root.h"
#include "model/screen.h"
#include "setup_ui/comm_setup_dlg.h"
#include "setup_ui/setup_lists.h"
#include "setup_ui/setup_steps.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

QComboBox* List(QWidget* parent, const char* name)
{
    auto* box = new QComboBox(parent);
    box->setObjectName(QLatin1String(name));
    return box;
}

QSpinBox* Spin(QWidget* parent, const char* name, int low, int high, int step)
{
    auto* spin = new QSpinBox(parent);
    spin->setObjectName(QLatin1String(name));
    spin->setRange(low, high);
    spin->setSingleStep(step);
    spin->setAccelerated(true);
    return spin;
}

QPushButton* Button(QWidget* parent, const QString& text, const char* name)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    return button;
}

std::vector<CScreen*> ScreensOf(const CProjectRoot& root)
{
    std::vector<CScreen*> screens;
    for (int i = 0; i < root.GetChildCount(); ++i) {
        if (root.GetChild(i)->GetKind() == KindScreen)
            screens.push_back(static_cast<CScreen*>(root.GetChild(i)));
    }
    return screens;
}

} // namespace

CAdvancedSetupDlg::CAdvancedSetupDlg(CLumivantDoc& doc, CScreen& screen, IOperationUi& ui,
                                     QWidget* parent)
    : QDialog(parent), m_doc(doc), m_screen(&screen), m_ui(ui)
{
    setWindowTitle(tr("Advanced Setup"));
    setObjectName(QStringLiteral("advancedSetupDialog"));
    BuildControls();
    FillPanelList();
    m_ready = true;
    LoadSelected();
}

void CAdvancedSetupDlg::BuildControls()
{
    m_panels = new QListWidget(this);
    m_panels->setObjectName(QStringLiteral("panelList"));
    m_drive.controller = List(this, "controller");
    m_drive.colourType = List(this, "colourType");
    m_drive.width = Spin(this, "width", 32, 8192, 16);
    m_drive.height = Spin(this, "height", 8, 512, 8);
    m_drive.dataPolarity = List(this, "dataPolarity");
    m_drive.oePolarity = List(this, "oePolarity");
    m_drive.freq = List(this, "freq");
    m_drive.blanking = List(this, "blanking");
    m_rowOrder = Spin(this, "rowOrder", -2, 2, 1);
    m_rowOrder->findChild<QLineEdit*>()->setReadOnly(true);
    m_rowEncoder = List(this, "rowEncoder");
    m_mirror8bit = List(this, "mirror8bit");
    m_mirrorUpDown = List(this, "mirrorUpDown");
    m_pixels = List(this, "pixels");
    m_scanType = List(this, "scanType");
    m_warpMode = List(this, "warpMode");
    m_warpNum = List(this, "warpNum");
    m_warpBit = List(this, "warpBit");
    SetupLists::FillModels(*m_drive.controller);
    SetupLists::FillColourTypes(*m_drive.colourType);
    SetupLists::FillPolarities(*m_drive.dataPolarity);
    SetupLists::FillPolarities(*m_drive.oePolarity);
    SetupLists::FillFrequencies(*m_drive.freq, false);
    SetupLists::FillBlanking(*m_drive.blanking);
    SetupLists::FillFromString(*m_rowEncoder, 41109);
    SetupLists::FillFromString(*m_mirror8bit, 41110);
    SetupLists::FillFromString(*m_mirrorUpDown, 41111);
    SetupLists::FillFromString(*m_pixels, 41112);
    SetupLists::FillFromString(*m_scanType, 41113);
    SetupLists::FillFromString(*m_warpNum, 41114);
    SetupLists::FillFromString(*m_warpMode, 41115);
    SetupLists::FillFromString(*m_warpBit, 41116);
    for (QSpinBox* spin : {m_drive.width, m_drive.height})
        spin->findChild<QLineEdit*>()->setMaxLength(4);

    auto* addPanel = Button(this, tr("+Panel"), "addPanel");
    auto* removePanel = Button(this, tr("-Panel"), "removePanel");
    auto* panelButtons = new QHBoxLayout;
    panelButtons->addWidget(addPanel);
    panelButtons->addWidget(removePanel);
    auto* panelColumn = new QVBoxLayout;
    auto* panelLabel = new QLabel(tr("Panel list :"), this);
    panelLabel->setBuddy(m_panels);
    panelColumn->addWidget(panelLabel);
    panelColumn->addWidget(m_panels);
    panelColumn->addLayout(panelButtons);

    auto* form = new QFormLayout;
    form->addRow(tr("Controller:"), m_drive.controller);
    form->addRow(tr("Color type:"), m_drive.colourType);
    form->addRow(tr("Width(px):"), m_drive.width);
    form->addRow(tr("Height(px):"), m_drive.height);
    form->addRow(tr("Data polarity:"), m_drive.dataPolarity);
    form->addRow(tr("OE polarity:"), m_drive.oePolarity);
    form->addRow(tr("Freq:"), m_drive.freq);
    form->addRow(tr("Blacking:"), m_drive.blanking);
    form->addRow(tr("Row order:"), m_rowOrder);
    form->addRow(tr("Row encoder:"), m_rowEncoder);
    form->addRow(tr("Mirror 8bit:"), m_mirror8bit);
    form->addRow(tr("Mirror up-down:"), m_mirrorUpDown);
    form->addRow(tr("Pixels:"), m_pixels);

    m_communication = new QLabel(this);
    m_communication->setObjectName(QStringLiteral("communication"));
    auto* communicationSetup = Button(this, tr("Setup"), "communicationSetup");
    auto* communicationBox = new QGroupBox(tr("Communication"), this);
    auto* communicationLayout = new QVBoxLayout(communicationBox);
    communicationLayout->addWidget(m_communication);
    communicationLayout->addWidget(communicationSetup);

    auto* scanBox = new QGroupBox(tr("Scan config"), this);
    auto* scanForm = new QFormLayout(scanBox);
    scanForm->addRow(tr("Scan type:"), m_scanType);
    scanForm->addRow(tr("Warp mode:"), m_warpMode);
    scanForm->addRow(tr("Warp num:"), m_warpNum);
    scanForm->addRow(tr("Warp bit:"), m_warpBit);

    auto* right = new QVBoxLayout;
    right->addWidget(communicationBox);
    right->addWidget(scanBox);
    auto* top = new QHBoxLayout;
    top->addLayout(panelColumn);
    top->addLayout(form);
    top->addLayout(right);

    auto* setup = Button(this, tr("Setup"), "setup");
    auto* cancel = Button(this, tr("Cancel"), "cancel");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(setup);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(buttons);

    connect(m_panels, &QListWidget::currentRowChanged, this, [this] {
        if (m_ready)
            LoadSelected();
    });
    connect(m_warpNum, &QComboBox::currentIndexChanged, this,
            &CAdvancedSetupDlg::UpdateWarpControls);
    connect(addPanel, &QPushButton::clicked, this, &CAdvancedSetupDlg::OnAddPanel);
    connect(removePanel, &QPushButton::clicked, this, &CAdvancedSetupDlg::OnRemovePanel);
    connect(communicationSetup, &QPushButton::clicked, this,
            &CAdvancedSetupDlg::OnCommunicationSetup);
    connect(setup, &QPushButton::clicked, this, &CAdvancedSetupDlg::OnSetup);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void CAdvancedSetupDlg::FillPanelList()
{
    const QScopedValueRollback<bool> notReady(m_ready, false);
    m_panels->clear();
    const std::vector<CScreen*> screens = ScreensOf(m_doc.Root());
    for (size_t i = 0; i < screens.size(); ++i) {
        m_panels->addItem(screens[i]->GetName());
        if (screens[i] == m_screen)
            m_panels->setCurrentRow(int(i));
    }
}

CScreen* CAdvancedSetupDlg::SelectedScreen() const
{
    const std::vector<CScreen*> screens = ScreensOf(m_doc.Root());
    const int row = m_panels->currentRow();
    return row >= 0 && row < int(screens.size()) ? screens[size_t(row)] : nullptr;
}

void CAdvancedSetupDlg::LoadSelected()
{
    CScreen* screen = SelectedScreen();
    if (!screen)
        return;
    const QScopedValueRollback<bool> notReady(m_ready, false);
    const AdvancedSetupValues values = LoadAdvancedSetup(*screen);
    SetupLists::SelectModel(*m_drive.controller, values.modelName);
    m_drive.Show(values);
    m_rowOrder->setValue(values.rowOrder);
    m_rowEncoder->setCurrentIndex(values.no138 ? 1 : 0);
    m_mirror8bit->setCurrentIndex(values.mirror8bit ? 1 : 0);
    m_mirrorUpDown->setCurrentIndex(values.mirrorUpDown ? 1 : 0);
    m_pixels->setCurrentIndex(values.pixelOrder);
    m_scanType->setCurrentIndex(values.scanIndex);
    m_warpNum->setCurrentIndex(values.warpNumIndex);
    m_warpBit->setCurrentIndex(values.warp16 ? 1 : 0);
    m_warpMode->setCurrentIndex(values.warpDown ? 0 : 1);
    m_communication->setText(CommunicationSummary(*screen));
    UpdateWarpControls();
}

void CAdvancedSetupDlg::UpdateWarpControls()
{
    const bool folded = m_warpNum->currentIndex() > 0;
    m_warpMode->setEnabled(folded);
    m_warpBit->setEnabled(folded);
}

AdvancedSetupValues CAdvancedSetupDlg::ValuesFromControls() const
{
    AdvancedSetupValues values;
    m_drive.Read(values);
    values.rowOrder = m_rowOrder->value();
    values.no138 = m_rowEncoder->currentIndex() == 1;
    values.mirror8bit = m_mirror8bit->currentIndex() == 1;
    values.mirrorUpDown = m_mirrorUpDown->currentIndex() == 1;
    values.pixelOrder = std::max(0, m_pixels->currentIndex());
    values.scanIndex = std::max(0, m_scanType->currentIndex());
    values.warpNumIndex = std::max(0, m_warpNum->currentIndex());
    values.warpDown = m_warpMode->currentIndex() == 0;
    values.warp16 = m_warpBit->currentIndex() == 1;
    return values;
}

void CAdvancedSetupDlg::OnSetup()
{
    CScreen* screen = SelectedScreen();
    if (!screen)
        return;
    AdvancedSetupValues values = ValuesFromControls();
    m_doc.ChangeScreenSettings(
        *screen, SetupSteps::Named(tr("Advanced Setup"), *screen),
        [&] { return RunAdvancedSetup(*screen, values, m_ui); }, CLumivantDoc::CardWrite::WhenOk);
    LinkOf(*screen).CloseLink();
    const QScopedValueRollback<bool> notReady(m_ready, false);
    m_drive.width->setValue(values.width);
    m_drive.height->setValue(values.height);
}

void CAdvancedSetupDlg::OnAddPanel()
{
    // The new screen is the form's own until Communication Setup keeps it.
    std::unique_ptr<CProjectObject> created = m_doc.Root().CreateChild(KindScreen);
    if (!created)
        return;
    auto* screen = static_cast<CScreen*>(created.get());
    screen->AddChild(screen->CreateChild(KindProgram));
    CCommSetupDlg dialog(m_doc, *screen, m_ui, CCommSetupDlg::Opening::NewScreen, this);
    if (dialog.exec() != QDialog::Accepted)
        return; // the new screen goes with `created`
    CScreen* added = m_doc.AddScreen(std::move(created));
    if (!added)
        return;
    m_screen = added;
    FillPanelList();
    LoadSelected();
}

void CAdvancedSetupDlg::OnRemovePanel()
{
    CScreen* selected = SelectedScreen();
    if (!selected || !m_doc.RemoveScreen(*selected))
        return;
    m_screen = ScreensOf(m_doc.Root()).front();
    FillPanelList();
    LoadSelected();
}

void CAdvancedSetupDlg::OnCommunicationSetup()
{
    CScreen* screen = SelectedScreen();
    if (!screen)
        return;
    CCommSetupDlg dialog(m_doc, *screen, m_ui, CCommSetupDlg::Opening::ExistingScreen, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    SetupSteps::ReadParams(m_doc, *screen);
    LinkOf(*screen).CloseLink();
    LoadSelected();
}
