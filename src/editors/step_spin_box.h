#pragma once

#include <QElapsedTimer>
#include <QSpinBox>

#include <utility>
#include <vector>

// A spin box whose arrows step faster the longer they are held: the step of each stage
// applies from its time on (for example 1, then 10 after 2 s, then 50 after 3 s).
class CStepSpinBox : public QSpinBox
{
    Q_OBJECT

public:
    struct Stage
    {
        int afterMs;
        int step;
    };

    explicit CStepSpinBox(QWidget* parent = nullptr);

    void SetStages(std::vector<Stage> stages) { m_stages = std::move(stages); }
    // The step the arrows use after they have been held for heldMs.
    int StepAfter(qint64 heldMs) const;

    void stepBy(int steps) override;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    std::vector<Stage> m_stages{{0, 1}};
    QElapsedTimer m_held;
};
