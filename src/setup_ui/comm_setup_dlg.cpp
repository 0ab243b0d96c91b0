#include "setup_ui/comm_setup_dlg.h"

#include "base/operation_ui.h"
#include "base/string_table.h"
#include "comm/controller_link.h"
#include "comm/link_setup.h"
#include "config/access_codes.h"
#include "document/lumivant_doc.h"
#include "model/screen.h"
#include "platform/serial_devices.h"
#include "setup_ui/controller_setup_dlg.h"
#include "setup_ui/password_dlg.h"
#include "setup_ui/setup_steps.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

constexpr int kNotReachable = 43008;
constexpr int kBadRemotePort = 61200;

QLineEdit* Edit(QWidget* parent, const char* name)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    return edit;
}

QPushButton* Button(QWidget* parent, const QString& text, const char* name)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    return button;
}

} // namespace

CCommSetupDlg::CCommSetupDlg(CLumivantDoc& doc, CScreen& screen, IOperationUi& ui, Opening opening,
                             QWidget* parent)
    : QDialog(parent), m_doc(doc), m_screen(screen), m_ui(ui), m_opening(opening)
{
    setWindowTitle(tr("Communication Setup"));
    setObjectName(QStringLiteral("commSetupDialog"));
    BuildControls();
    (screen.Link().Kind() == LinkKind::Network ? m_network : m_serial)->setChecked(true);
    for (int number : EnumerateSerialPorts())
        m_port->addItem(ComPortName(number));
    Refresh();
    m_panelId->setReadOnly(opening == Opening::ToolsMenu);
    m_config->setVisible(opening != Opening::NewScreen);
}

void CCommSetupDlg::BuildControls()
{
    m_serial = new QRadioButton(tr("COM(RS232)"), this);
    m_serial->setObjectName(QStringLiteral("serial"));
    m_network = new QRadioButton(tr("Net"), this);
    m_network->setObjectName(QStringLiteral("network"));
    m_port = new QComboBox(this);
    m_port->setObjectName(QStringLiteral("port"));
    m_baud = new QComboBox(this);
    m_baud->setObjectName(QStringLiteral("baud"));
    m_baud->addItems({QStringLiteral("9600"), QStringLiteral("57600")});
    m_remoteIp = Edit(this, "remoteIp");
    m_remoteIp->setMaxLength(31);
    m_remotePort = Edit(this, "remotePort");
    m_panelId = Edit(this, "panelId");
    m_timeout = Edit(this, "timeout");
    m_package = new QComboBox(this);
    m_package->setObjectName(QStringLiteral("package"));
    m_package->addItems({QStringLiteral("128"), QStringLiteral("256"), QStringLiteral("512")});

    m_serialGroup = new QWidget(this);
    auto* serialForm = new QFormLayout(m_serialGroup);
    serialForm->addRow(tr("COM Port:"), m_port);
    serialForm->addRow(tr("Baudrate:"), m_baud);
    m_networkGroup = new QWidget(this);
    auto* networkForm = new QFormLayout(m_networkGroup);
    networkForm->addRow(tr("Remote IP:"), m_remoteIp);
    networkForm->addRow(tr("Remote Port:"), m_remotePort);
    auto* common = new QFormLayout;
    common->addRow(tr("Panel ID:"), m_panelId);
    common->addRow(tr("Timeout:"), m_timeout);
    common->addRow(tr("Package:"), m_package);

    auto* radios = new QHBoxLayout;
    radios->addWidget(m_serial);
    radios->addWidget(m_network);
    auto* setup = Button(this, tr("Setup"), "setupButton");
    m_config = Button(this, tr("Config..."), "config");
    auto* save = Button(this, tr("Save"), "save");
    auto* cancel = Button(this, tr("Cancel"), "cancel");
    auto* buttons = new QHBoxLayout;
    for (QPushButton* button : {setup, m_config, save, cancel})
        buttons->addWidget(button);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(radios);
    layout->addWidget(m_serialGroup);
    layout->addWidget(m_networkGroup);
    layout->addLayout(common);
    layout->addLayout(buttons);

    connect(m_serial, &QRadioButton::clicked, this, &CCommSetupDlg::Refresh);
    connect(m_network, &QRadioButton::clicked, this, &CCommSetupDlg::Refresh);
    connect(m_config, &QPushButton::clicked, this, &CCommSetupDlg::OnConfig);
    connect(save, &QPushButton::clicked, this, &CCommSetupDlg::OnSave);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void CCommSetupDlg::Refresh()
{
    const bool serial = m_serial->isChecked();
    m_serialGroup->setVisible(serial);
    m_networkGroup->setVisible(!serial);
    const LinkSetupValues values = LoadLinkSetup(m_screen);
    m_remoteIp->setText(values.remoteIp);
    m_port->setCurrentIndex(m_port->findText(ComPortName(values.comPort)));
    m_baud->setCurrentIndex(values.baudRate == 57600 ? 1 : 0);
    m_remotePort->setText(QString::number(values.remotePort.value_or(0)));
    m_panelId->setText(QString::number(values.panelId.value_or(1)));
    m_timeout->setText(QString::number(values.timeoutMs.value_or(0)));
    m_package->setCurrentIndex(1);
}

bool CCommSetupDlg::ReadControls(LinkSetupValues& values)
{
    values = LoadLinkSetup(m_screen);
    values.kind = m_serial->isChecked() ? LinkKind::Serial : LinkKind::Network;
    values.remoteIp = m_remoteIp->text();
    const QString port = m_port->currentText();
    values.comPort = port.startsWith(QStringLiteral("COM")) ? port.mid(3).toInt() : 0;
    values.baudRate = m_baud->currentText() == QStringLiteral("9600") ? 9600 : 57600;
    values.panelId.reset();
    if (m_opening != Opening::ToolsMenu)
        values.panelId = m_panelId->text().toInt();
    // The remote port is where the controller listens: a link to anything else reaches
    // nothing, so a number outside 1..65535 keeps the form open.
    bool number = false;
    const int remotePort = m_remotePort->text().trimmed().toInt(&number);
    if (!number || remotePort < 1 || remotePort > 65535) {
        m_ui.Beep(MessageKind::Warning);
        m_ui.Warn(LoadString(kBadRemotePort));
        m_remotePort->setFocus();
        m_remotePort->selectAll();
        return false;
    }
    values.remotePort = remotePort;
    // The time-out is shown, not stored.
    values.timeoutMs.reset();
    return true;
}

bool CCommSetupDlg::StoreAndTest(const LinkSetupValues& values)
{
    return m_doc.ChangeScreenSettings(
        m_screen, SetupSteps::Named(tr("Communication Setup"), m_screen),
        [&] {
            StoreLinkSetup(m_screen, values);
            return TestLinkSetup(m_screen);
        },
        CLumivantDoc::CardWrite::None);
}

void CCommSetupDlg::OnSave()
{
    LinkSetupValues values;
    if (!ReadControls(values))
        return;
    if (!StoreAndTest(values)) {
        m_ui.Beep(MessageKind::Warning);
        if (m_ui.Ask(NoDeviceQuestion(m_screen)) == Answer::Yes)
            return;
    }
    accept();
}

void CCommSetupDlg::OnConfig()
{
    if (!CPasswordDlg::AskAccessCode(this, AccessCodes::ControllerSetup()))
        return;
    CControllerLink& link = LinkOf(m_screen);
    if (!link.IsLinkConnected()) {
        LinkSetupValues values;
        if (!ReadControls(values))
            return;
        if (!StoreAndTest(values)) {
            m_ui.Beep(MessageKind::Warning);
            m_ui.Warn(LoadString(kNotReachable));
            return;
        }
    }
    bool changed = false;
    if (m_screen.Link().Kind() == LinkKind::Network) {
        CNetworkControllerDlg dialog(m_doc, m_screen, m_ui, this);
        changed = dialog.exec() == QDialog::Accepted;
    } else {
        CSerialControllerDlg dialog(m_doc, m_screen, m_ui, this);
        changed = dialog.exec() == QDialog::Accepted;
    }
    if (changed) {
        SetupSteps::ReadParams(m_doc, m_screen);
        link.CloseLink();
        Refresh();
    }
}
