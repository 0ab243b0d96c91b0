#pragma once

#include <QDialog>

class QComboBox;
class QDialogButtonBox;
class QLabel;
class QSpinBox;

// "Options": what closing asks, how messages are shown and the default hold of new
// clock-like zones. The dialog shows the settings in use; Apply puts its values into
// them.
class COptionsDialog final : public QDialog
{
    Q_OBJECT

public:
    static constexpr int kMinDelay = 2;
    static constexpr int kMaxDelay = 120;

    explicit COptionsDialog(QWidget* parent = nullptr);

    // Puts the chosen values into the settings in use and writes them to the settings
    // file; false when the file could not be written.
    bool Apply();

protected:
    void changeEvent(QEvent* event) override;

private:
    void retranslateUi();

    QLabel* m_exitLabel;
    QComboBox* m_exit;
    QLabel* m_tipLabel;
    QComboBox* m_tip;
    QLabel* m_delayLabel;
    QSpinBox* m_delay;
    QDialogButtonBox* m_buttons;
};
