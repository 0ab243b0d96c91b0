#pragma once

#include <QComboBox>

// A drop-down list that ignores the mouse wheel until it has focus, so that scrolling
// the property pane does not change values.
class CGuardedCombo : public QComboBox
{
    Q_OBJECT

public:
    explicit CGuardedCombo(QWidget* parent = nullptr);

    // Selects the entry whose data is value; the first entry when none has it.
    void SelectData(int value);
    int CurrentData() const { return currentData().toInt(); }

protected:
    void wheelEvent(QWheelEvent* event) override;
};
