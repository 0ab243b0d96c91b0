#pragma once

// A recording IOperationUi for the maintenance, search and firmware tests, and a serial
// line pair made by socat.

#include "base/operation_ui.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QThread>

#include <utility>
#include <vector>

class RecordingOperationUi final : public IOperationUi
{
public:
    void SetRange(int maximum) override { ranges.push_back(maximum); }
    bool Update(int position, const QString& text) override
    {
        updates.emplace_back(position, text);
        return cancel;
    }
    Answer Ask(const QString& text) override
    {
        questions.append(text);
        return answer;
    }
    void Inform(const QString& text) override { informs.append(text); }
    void Warn(const QString& text) override { warnings.append(text); }

    std::vector<int> Positions(const QString& text) const
    {
        std::vector<int> positions;
        for (const auto& [position, shown] : updates) {
            if (shown == text)
                positions.push_back(position);
        }
        return positions;
    }

    std::vector<int> ranges;
    std::vector<std::pair<int, QString>> updates;
    QStringList questions;
    QStringList informs;
    QStringList warnings;
    Answer answer = Answer::Yes;
    bool cancel = false;
};

// Two pseudo-terminals joined by socat: the PC end and the controller end.
class PtyPair
{
public:
    PtyPair(const QString& pcEnd, const QString& controllerEnd)
        : pc(pcEnd), controller(controllerEnd)
    {
        m_socat.start(QStringLiteral("socat"),
                      {QStringLiteral("pty,raw,echo=0,link=%1").arg(controllerEnd),
                       QStringLiteral("pty,raw,echo=0,link=%1").arg(pcEnd)});
        if (!m_socat.waitForStarted(3000))
            return;
        QElapsedTimer timer;
        timer.start();
        while (!(QFileInfo::exists(pcEnd) && QFileInfo::exists(controllerEnd)) &&
               timer.elapsed() < 5000)
            QThread::msleep(20);
    }
    ~PtyPair()
    {
        m_socat.terminate();
        if (!m_socat.waitForFinished(2000)) {
            m_socat.kill();
            m_socat.waitForFinished(1000);
        }
    }
    bool Ready() const { return QFileInfo::exists(pc) && QFileInfo::exists(controller); }

    QString pc;
    QString controller;

private:
    QProcess m_socat;
};
