#pragma once

// Helpers of the send tests: a recording operation face, small projects with content, and
// a UDP relay that can let a stranger answer.
#include "base/operation_ui.h"

#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

class CProjectRoot;
class CScreen;
class CPlayWindow;

// Records everything a send shows, and answers and cancels as told.
class RecordingUi final : public IOperationUi
{
public:
    struct Event
    {
        char kind; // 'U' update, 'A' ask, 'I' inform, 'W' warn, 'B' beep
        int position;
        QString text;
    };

    void SetRange(int maximum) override { range = maximum; }
    bool Update(int position, const QString& text) override;
    Answer Ask(const QString& text) override;
    void Inform(const QString& text) override { events.push_back({'I', 0, text}); }
    void Warn(const QString& text) override { events.push_back({'W', 0, text}); }
    void Beep(MessageKind kind) override
    {
        events.push_back({'B', kind == MessageKind::Warning ? 1 : 0, QString()});
    }

    // The positions of the updates with the text.
    std::vector<int> Positions(const QString& text) const;
    QStringList Texts(char kind) const;
    int Count(char kind) const;

    int range = -1;
    std::vector<Event> events;
    // Called on every update; true asks to cancel.
    std::function<bool(int, const QString&)> onUpdate;
    // Called on every question, before it is answered.
    std::function<void()> onAsk;
    // Answers of the questions in turn; No once they run out.
    std::vector<Answer> answers;
    std::size_t asked = 0;
};

// A screen of width × height with one window covering it and a text zone in it; link UDP
// to 127.0.0.1:port.
void AddWindowWithText(CScreen& screen, int left, int top, int right, int bottom);
std::unique_ptr<CProjectRoot> TextProject(int width, int height, int port, int screens = 1,
                                          int timeoutMs = 500);
void PointAt(CScreen& screen, int port, int timeoutMs);

// Sits between the link and a controller on 127.0.0.1 and passes datagrams both ways. The
// chosen data chunks are also answered at once with a success by a stranger on 127.0.0.2.
class UdpRelay
{
public:
    explicit UdpRelay(int controllerPort);
    ~UdpRelay();
    int Port() const { return m_port; }
    // The request numbers (from 1) of command 19 a stranger answers first.
    void StrangerAnswersChunks(std::vector<int> numbers);
    int StrangerReplies() const { return m_strangerReplies; }

private:
    void Run();

    int m_socket = -1;
    int m_stranger = -1;
    int m_port = 0;
    int m_controllerPort = 0;
    std::mutex m_mutex;
    std::vector<int> m_chunks;
    std::atomic<int> m_strangerReplies{0};
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

// The data the compiler makes apart from its random header: equal from byte 128 on, and
// both headers hold the same program count.
::testing::AssertionResult SameScreenData(const QByteArray& sent, const QByteArray& compiled);
