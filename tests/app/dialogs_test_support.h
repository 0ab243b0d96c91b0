#pragma once

// Helpers of the dialog tests: lumivant-sim on loopback, a small project that talks to it,
// and an answerer for the message boxes a command opens.
#include <QObject>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>

#include <functional>
#include <memory>

class CProjectRoot;
class QMessageBox;

// lumivant-sim on UDP 127.0.0.1 with a port chosen by the system and its state in a
// temporary folder; stopped when the object goes.
class DialogsSim
{
public:
    explicit DialogsSim(const QStringList& options = {});
    ~DialogsSim();
    int Port() const { return m_port; }
    QString StateFolder() const { return m_state.path(); }
    QString Log();
    // Waits (bounded) until the log holds the text.
    bool WaitForLog(const QString& text, int timeoutMs = 3000);

private:
    QTemporaryDir m_state;
    QProcess m_process;
    QString m_log;
    int m_port = 0;
};

// One screen of 64 x 16 with a window and a text zone, sending over UDP to the port.
std::unique_ptr<CProjectRoot> DialogsTextProject(int port, int timeoutMs = 500);

// Watches for modal message boxes while a command runs and answers each with the button
// the chooser gives (the box's escape or default button when it gives none), recording
// the texts and captions.
class BoxAnswerer : public QObject
{
public:
    using Chooser = std::function<int(QMessageBox&)>; // a QMessageBox::StandardButton or 0

    explicit BoxAnswerer(Chooser chooser = {});
    QStringList texts;
    QStringList captions;
    QList<int> icons;

private:
    void Poll();

    Chooser m_chooser;
    QTimer m_timer;
};
