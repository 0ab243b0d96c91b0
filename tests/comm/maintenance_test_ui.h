#pragma once

// A recording IOperationUi for the maintenance, search and firmware tests.

#include "base/operation_ui.h"
#include "comm_test_support.h"

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
