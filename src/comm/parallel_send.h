#pragma once

#include "base/messages.h"
#include "comm/send_pipeline.h"

#include <QString>
#include <QStringList>

class CProjectRoot;
class CScreen;

// Screens behind the same serial port (several cards on one bus) or the same address cannot
// be talked to at once: their frames would mix on the line or in the card. Screens with the
// same key share a link.
QString SendLinkKey(const CScreen& screen);

// What a send to several screens at once shows. Every call comes from the thread that
// runs CParallelSend::SendAll; screen is the index of the screen among the marked ones
// (-1 for the run as a whole).
class IParallelSendUi
{
public:
    virtual ~IParallelSendUi() = default;

    // The names of the marked screens, once before any of them starts.
    virtual void Begin(const QStringList& screens) = 0;
    // One screen's bar (0 to CSendPipeline::kProgressRange) and text.
    virtual void Update(int screen, int position, const QString& text) = 0;
    virtual Answer Ask(int screen, const QString& text) = 0;
    virtual void Inform(int screen, const QString& text) = 0;
    virtual void Warn(int screen, const QString& text) = 0;
    // Polled while the screens are sent: true once every send is to be cancelled.
    virtual bool CancelAll() { return false; }
    // Polled for each screen being sent: true to cancel that one only.
    virtual bool CancelScreen(int /*screen*/) { return false; }
};

// Send All with up to `parallel` screens in flight at once, each on its own link and its
// own thread running the per-screen send. Rendering and compiling stay on the calling
// thread (the renderer is not made for threads), or go to the options' rendering when the
// renderer lives on yet another thread: a screen's thread hands them over and waits, so
// only the transfers overlap. A failure or cancel of one screen leaves the
// others alone; cancelling all ends each screen's send as a cancel ends it (end data
// telling the controller the data is incomplete) and starts no further screen.
class CParallelSend
{
public:
    static constexpr int kMaxParallel = 64;

    CParallelSend(SendOptions options, int parallel);

    SendAllResult SendAll(CProjectRoot& root, IParallelSendUi& ui);

private:
    SendOptions m_options;
    int m_parallel;
};
