#include "setup_ui/controller_setup_dlg.h"

#include "comm/controller_setup.h"
#include "document/lumivant_doc.h"
#include "model/screen.h"
#include "setup_ui/setup_steps.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

QSpinBox* IdSpin(QWidget* parent, int value)
{
    auto* spin = new QSpinBox(parent);
    spin->setObjectName(QStringLiteral("newId"));
    spin->setRange(1, 255);
    spin->setValue(value);
    return spin;
}

QDialogButtonBox* SetupButtons(QDialog* dialog)
{
    auto* buttons = new QDialogButtonBox(dialog);
    QPushButton* setup = buttons->addButton(QObject::tr("Setup"), QDialogButtonBox::AcceptRole);
    setup->setObjectName(QStringLiteral("setup"));
    buttons->addButton(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cancel"));
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

QString CurrentIdText(const CScreen& screen)
{
    return QObject::tr("Current ID is %1").arg(screen.Params().U16(ControllerParams::PanelId));
}

} // namespace

CSerialControllerDlg::CSerialControllerDlg(CLumivantDoc& doc, CScreen& screen, IOperationUi& ui,
                                           QWidget* parent)
    : QDialog(parent), m_doc(doc), m_screen(screen), m_ui(ui)
{
    setWindowTitle(tr("Setup"));
    setObjectName(QStringLiteral("serialControllerDialog"));
    const SerialControllerSetup current = LoadSerialControllerSetup(screen);
    m_baud = new QComboBox(this);
    m_baud->setObjectName(QStringLiteral("newBaud"));
    m_baud->addItems({QStringLiteral("9600"), QStringLiteral("57600")});
    m_baud->setCurrentIndex(m_baud->findText(QString::number(screen.BaudRate())));
    m_panelId = IdSpin(this, current.panelId.value_or(1));

    auto* baudBox = new QGroupBox(tr("Baudrate"), this);
    auto* baudForm = new QFormLayout(baudBox);
    baudForm->addRow(new QLabel(tr("Current baudrate is %1").arg(screen.BaudRate()), this));
    baudForm->addRow(tr("New baudrate:"), m_baud);
    auto* idBox = new QGroupBox(tr("Panel ID"), this);
    auto* idForm = new QFormLayout(idBox);
    idForm->addRow(new QLabel(CurrentIdText(screen), this));
    idForm->addRow(tr("New ID:"), m_panelId);
    QDialogButtonBox* buttons = SetupButtons(this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CSerialControllerDlg::OnSetup);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(baudBox);
    layout->addWidget(idBox);
    layout->addWidget(buttons);
}

void CSerialControllerDlg::OnSetup()
{
    SerialControllerSetup setup;
    setup.baudRate = m_baud->currentText() == QStringLiteral("9600") ? 9600 : 57600;
    setup.panelId = m_panelId->value();
    const bool ok = m_doc.ChangeScreenSettings(
        m_screen, SetupSteps::Named(tr("Controller setup"), m_screen),
        [&] { return RunSerialControllerSetup(m_screen, setup, m_ui); },
        CLumivantDoc::CardWrite::WhenOk);
    done(ok ? QDialog::Accepted : QDialog::Rejected);
}

CNetworkControllerDlg::CNetworkControllerDlg(CLumivantDoc& doc, CScreen& screen, IOperationUi& ui,
                                             QWidget* parent)
    : QDialog(parent), m_doc(doc), m_screen(screen), m_ui(ui)
{
    setWindowTitle(tr("Setup"));
    setObjectName(QStringLiteral("networkControllerDialog"));
    const NetworkControllerSetup current = LoadNetworkControllerSetup(screen);
    m_assignIp = new QCheckBox(tr("Assign IP to PC"), this);
    m_assignIp->setObjectName(QStringLiteral("assignIp"));
    m_assignIp->setChecked(current.assignIpToPc.value_or(false));
    m_ip = new QLineEdit(current.ipText.value_or(QString()), this);
    m_ip->setObjectName(QStringLiteral("ip"));
    m_mac = new QLineEdit(current.macText.value_or(QString()), this);
    m_mac->setObjectName(QStringLiteral("mac"));
    m_ip->setAccessibleName(tr("Panel IP"));
    m_mac->setAccessibleName(tr("Panel MAC"));
    m_mac->setReadOnly(true);
    m_mac->installEventFilter(this);
    m_panelId = IdSpin(this, current.panelId.value_or(1));

    auto* ipBox = new QGroupBox(tr("IP Options"), this);
    auto* ipLayout = new QVBoxLayout(ipBox);
    ipLayout->addWidget(new QLabel(tr("Panel IP and MAC:"), this));
    ipLayout->addWidget(m_assignIp);
    ipLayout->addWidget(m_ip);
    ipLayout->addWidget(m_mac);
    auto* idBox = new QGroupBox(tr("Panel ID"), this);
    auto* idForm = new QFormLayout(idBox);
    idForm->addRow(new QLabel(CurrentIdText(screen), this));
    idForm->addRow(tr("New ID:"), m_panelId);
    QDialogButtonBox* buttons = SetupButtons(this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CNetworkControllerDlg::OnSetup);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(ipBox);
    layout->addWidget(idBox);
    layout->addWidget(buttons);
}

bool CNetworkControllerDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_mac && event->type() == QEvent::MouseButtonDblClick) {
        m_mac->setReadOnly(false);
        m_macChanged = true;
    }
    return QDialog::eventFilter(watched, event);
}

void CNetworkControllerDlg::OnSetup()
{
    NetworkControllerSetup setup;
    setup.panelId = m_panelId->value();
    setup.assignIpToPc = m_assignIp->isChecked();
    setup.ipText = m_ip->text();
    setup.macText = m_mac->text();
    setup.macChanged = m_macChanged;
    ControllerSetupResult result = ControllerSetupResult::Failed;
    m_doc.ChangeScreenSettings(
        m_screen, SetupSteps::Named(tr("Controller setup"), m_screen),
        [&] {
            result = RunNetworkControllerSetup(m_screen, setup, m_ui);
            return result == ControllerSetupResult::Succeeded;
        },
        CLumivantDoc::CardWrite::WhenOk);
    switch (result) {
    case ControllerSetupResult::BadIp:
    case ControllerSetupResult::BadMac:
        return; // the form stays open
    case ControllerSetupResult::Succeeded:
        m_macChanged = false;
        accept();
        return;
    case ControllerSetupResult::Failed:
        m_macChanged = false;
        reject();
        return;
    }
}
