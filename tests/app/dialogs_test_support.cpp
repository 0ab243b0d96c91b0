#include "dialogs_test_support.h"

#include "comm/controller_link.h"
#include "model/controller_params.h"
#include "model/play_window.h"
#include "model/program.h"
#include "model/project_root.h"
#include "model/screen.h"
#include "model/text_zone.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>

DialogsSim::DialogsSim(const QStringList& options)
{
    const QString path = QFileInfo(QStringLiteral(LUMIVANT_CLI_PATH))
                             .dir()
                             .absoluteFilePath(QStringLiteral("../sim/lumivant-sim"));
    m_process.setProcessChannelMode(QProcess::MergedChannels);
    m_process.start(path, QStringList(options)
                              << QStringLiteral("--udp") << QStringLiteral("127.0.0.1:0")
                              << QStringLiteral("--state") << m_state.path());
    if (!m_process.waitForStarted(3000) || !WaitForLog(QStringLiteral("listening on"), 5000))
        return;
    static const QRegularExpression kPort(
        QStringLiteral("listening on udp 127\\.0\\.0\\.1:(\\d+)"));
    const auto match = kPort.match(m_log);
    if (match.hasMatch())
        m_port = match.captured(1).toInt();
}

DialogsSim::~DialogsSim()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    if (!m_process.waitForFinished(3000)) {
        m_process.kill();
        m_process.waitForFinished(1000);
    }
}

QString DialogsSim::Log()
{
    m_log += QString::fromUtf8(m_process.readAll());
    return m_log;
}

bool DialogsSim::WaitForLog(const QString& text, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (!Log().contains(text)) {
        if (timer.elapsed() > timeoutMs || m_process.state() == QProcess::NotRunning)
            return Log().contains(text);
        m_process.waitForReadyRead(50);
    }
    return true;
}

std::unique_ptr<CProjectRoot> DialogsTextProject(int port, int timeoutMs)
{
    auto root = CProjectRoot::NewProject();
    auto* screen = static_cast<CScreen*>(root->GetChild(0));
    screen->SetName(QStringLiteral("Panel1"));
    screen->Params().SetU16(ControllerParams::Width, 64);
    screen->Params().SetU16(ControllerParams::Height, 16);
    screen->Params().SetU8(ControllerParams::ColourType, 1);
    auto* program = static_cast<CProgram*>(screen->GetChild(0));
    auto window = std::make_unique<CPlayWindow>(program);
    window->SetWindowRect({0, 0, 64, 16});
    auto zone = std::make_unique<CTextZone>(window.get());
    zone->SetRtf(QStringLiteral("{\\rtf1\\fs18 Lumivant}"));
    window->AddChild(std::move(zone));
    program->AddChild(std::move(window));

    LinkOf(*screen).SelectLink(1);
    screen->Link().remoteIp = QStringLiteral("127.0.0.1");
    screen->Link().remotePort = static_cast<std::uint16_t>(port);
    screen->Link().timeoutMs = timeoutMs;
    screen->Params().SetUdpPortNumber(static_cast<std::uint16_t>(port));
    return root;
}

BoxAnswerer::BoxAnswerer(Chooser chooser) : m_chooser(std::move(chooser))
{
    m_timer.setInterval(20);
    connect(&m_timer, &QTimer::timeout, this, [this] { Poll(); });
    m_timer.start();
}

void BoxAnswerer::Poll()
{
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box || !box->isVisible() || box->property("answered").toBool())
        return;
    box->setProperty("answered", true);
    texts.append(box->text());
    captions.append(box->windowTitle());
    icons.append(box->icon());
    const int chosen = m_chooser ? m_chooser(*box) : 0;
    QAbstractButton* button =
        chosen ? box->button(static_cast<QMessageBox::StandardButton>(chosen)) : nullptr;
    if (!button)
        button = box->escapeButton();
    if (!button)
        button = box->defaultButton();
    if (button)
        button->click();
    else
        box->done(0);
}
